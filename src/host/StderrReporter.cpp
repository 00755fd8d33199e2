#include "StderrReporter.h"

#include <cstdio>

namespace {
QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' ')).trimmed();
}
} // namespace

StderrReporter::StderrReporter(const QString &strProgram)
    : m_strProgram(strProgram)
{
}

void StderrReporter::report(Severity severity, const QString &, const QString &text)
{
    const char *kind = severity == Critical ? "error" : severity == Warning ? "warning" : "note";
    const QString prefix = m_strProgram.isEmpty() ? QString() : m_strProgram + QStringLiteral(": ");
    std::fprintf(stderr, "%s%s: %s\n", qPrintable(prefix), kind, qPrintable(oneLine(text)));
    std::fflush(stderr);
}

IReporter::Button StderrReporter::ask(const QString &title, const QString &text, int, Button defaultButton)
{
    report(Warning, title, text);
    return defaultButton;
}

int StderrReporter::choose(const QString &title, const QString &text, const QStringList &, int defaultIndex)
{
    report(Warning, title, text);
    return defaultIndex;
}
