#include "Reporter.h"

#include "StderrReporter.h"

#include <QCoreApplication>

namespace {
IReporter *g_pReporter = nullptr;

IReporter *fallback()
{
    static StderrReporter reporter;
    return &reporter;
}
} // namespace

QString Reporter::title()
{
    return QStringLiteral("Kavio Studio");
}

IReporter *Reporter::instance()
{
    return g_pReporter ? g_pReporter : fallback();
}

IReporter *Reporter::setInstance(IReporter *pReporter)
{
    IReporter *previous = g_pReporter;
    g_pReporter = pReporter;
    return previous;
}

void Reporter::error(const QString &text)
{
    instance()->report(IReporter::Critical, title(), text);
}

void Reporter::warning(const QString &text)
{
    instance()->report(IReporter::Warning, title(), text);
}

void Reporter::information(const QString &text)
{
    instance()->report(IReporter::Information, title(), text);
}

IReporter::Button Reporter::question(const QString &text, int buttons, IReporter::Button defaultButton)
{
    return instance()->ask(title(), text, buttons, defaultButton);
}

int Reporter::choose(const QString &text, const QStringList &buttons, int defaultIndex)
{
    return instance()->choose(title(), text, buttons, defaultIndex);
}
