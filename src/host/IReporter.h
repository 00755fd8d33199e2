#pragma once

#include <QString>
#include <QStringList>

// Where failures and questions go. The application shows a message box titled "Kavio Studio",
// the command-line tool writes a line on stderr, tests record them and answer from a script.
// Model code reports through this interface only; it never includes a widget header.
class IReporter
{
public:
    // The values match QMessageBox::StandardButton so the widget reporter can pass them through.
    enum Button {
        NoButton = 0x0,
        Ok = 0x400,
        Save = 0x800,
        Yes = 0x4000,
        No = 0x10000,
        Cancel = 0x400000,
        Discard = 0x800000,
    };

    enum Severity { Information, Warning, Critical };

    virtual ~IReporter() = default;

    virtual void report(Severity severity, const QString &title, const QString &text) = 0;
    // A question with standard buttons (a combination of Button values); returns the button chosen.
    virtual Button ask(const QString &title, const QString &text, int buttons, Button defaultButton) = 0;
    // A question with named buttons; returns the index of the chosen one, or -1 when dismissed.
    virtual int choose(const QString &title, const QString &text, const QStringList &buttons,
                       int defaultIndex) = 0;
};
