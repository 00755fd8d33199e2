#pragma once

#include "IReporter.h"

#include <QPointer>

class QWidget;

// Modal message boxes over the main window, titled "Kavio Studio".
class MessageBoxReporter : public IReporter
{
public:
    explicit MessageBoxReporter(QWidget *pParent = nullptr);
    void setParentWidget(QWidget *pParent);

    void report(Severity severity, const QString &title, const QString &text) override;
    Button ask(const QString &title, const QString &text, int buttons, Button defaultButton) override;
    int choose(const QString &title, const QString &text, const QStringList &buttons,
               int defaultIndex) override;

private:
    QPointer<QWidget> m_pParent;
};
