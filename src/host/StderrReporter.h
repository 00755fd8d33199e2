#pragma once

#include "IReporter.h"

// Writes each report as one line on stderr; questions take their default answer, since a
// command-line run has nobody to ask.
class StderrReporter : public IReporter
{
public:
    explicit StderrReporter(const QString &strProgram = QString());

    void report(Severity severity, const QString &title, const QString &text) override;
    Button ask(const QString &title, const QString &text, int buttons, Button defaultButton) override;
    int choose(const QString &title, const QString &text, const QStringList &buttons,
               int defaultIndex) override;

private:
    QString m_strProgram;
};
