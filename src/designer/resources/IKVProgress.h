#pragma once

#include <QString>
#include <QtGlobal>

// Progress of a long operation with a cancel button. The editor shows it as a modal progress
// dialog; core code only reports figures and asks whether the user cancelled. setValue() is where
// the dialog gets a chance to process the user's click, so callers check wasCanceled() after it.
class IKVProgress
{
public:
    virtual ~IKVProgress() = default;

    // Opens the progress with a label, the text of the cancel button and the range 0..nTotal.
    virtual void begin(const QString &strText, const QString &strCancelText, qint64 nTotal) = 0;
    virtual void setValue(qint64 nValue) = 0;
    virtual bool wasCanceled() const = 0;
    // Closes the progress (also after a cancel).
    virtual void end() = 0;
};
