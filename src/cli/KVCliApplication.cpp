#include "KVCliApplication.h"

#include "KVCheckCommand.h"
#include "KVExportCommand.h"
#include "KVPreviewCommand.h"
#include "KVSampleCommand.h"
#include "KVSaveAsCommand.h"

#include "Reporter.h"
#include "StderrReporter.h"

#include <cstdio>

namespace {
StderrReporter g_reporter(QStringLiteral("kavio"));

void out(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}
} // namespace

KVCliApplication::KVCliApplication()
{
    Reporter::setInstance(&g_reporter);
    addVerb(QStringLiteral("version"), QStringLiteral("Print the version of Kavio Studio."),
            [](const QStringList &) {
                out(QStringLiteral("kavio %1\n").arg(QStringLiteral(KAVIO_VERSION)));
                return 0;
            });
    addVerb(KVCheckCommand::verb(), KVCheckCommand::summary(), &KVCheckCommand::run);
    addVerb(KVSaveAsCommand::verb(), KVSaveAsCommand::summary(), &KVSaveAsCommand::run);
    addVerb(KVExportCommand::verb(), KVExportCommand::summary(), &KVExportCommand::run);
    addVerb(KVSampleCommand::verb(), KVSampleCommand::summary(), &KVSampleCommand::run);
    addVerb(QStringLiteral("preview"), KVPreviewCommand::summary(), &KVPreviewCommand::run);
}

KVCliApplication::~KVCliApplication()
{
    Reporter::setInstance(nullptr);
}

void KVCliApplication::addVerb(const QString &strVerb, const QString &strSummary, const Handler &handler)
{
    m_verbs.insert(strVerb, {strSummary, handler});
}

QString KVCliApplication::helpText() const
{
    QString text = QStringLiteral("Usage: kavio <command> [options]\n\n"
                                  "Kavio Studio's command-line tool: works on projects without a window.\n\n"
                                  "Commands:\n");
    int width = 0;
    for (auto it = m_verbs.cbegin(); it != m_verbs.cend(); ++it)
        width = qMax(width, it.key().size());
    for (auto it = m_verbs.cbegin(); it != m_verbs.cend(); ++it)
        text += QStringLiteral("  %1  %2\n").arg(it.key().leftJustified(width), it->summary);
    text += QStringLiteral("\nOptions:\n  -h, --help     Show this help.\n  -v, --version  Show the version.\n"
                           "\n\"kavio <command> --help\" describes one command.\n");
    return text;
}

int KVCliApplication::run(const QStringList &arguments)
{
    const QStringList args = arguments.mid(1);
    if (args.isEmpty()) {
        std::fputs(helpText().toLocal8Bit().constData(), stderr);
        return 2;
    }
    const QString verb = args.first();
    if (verb == QLatin1String("--help") || verb == QLatin1String("-h") || verb == QLatin1String("help")) {
        out(helpText());
        return 0;
    }
    if (verb == QLatin1String("--version") || verb == QLatin1String("-v"))
        return m_verbs.value(QStringLiteral("version")).handler(QStringList());
    auto it = m_verbs.constFind(verb);
    if (it == m_verbs.cend()) {
        Reporter::error(QStringLiteral("unknown command \"%1\"; \"kavio --help\" lists the commands").arg(verb));
        return 2;
    }
    return it->handler(args.mid(1));
}
