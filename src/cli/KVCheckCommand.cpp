#include "KVCheckCommand.h"

#include "Reporter.h"
#include "document/KVHeadlessProject.h"

#include <QFileInfo>

#include <cstdio>

QString KVCheckCommand::summary()
{
    return QStringLiteral("Open a project as the editor would and list its problems.");
}

QString KVCheckCommand::usage()
{
    return QStringLiteral("Usage: kavio check PROJECT\n\n"
                          "Opens PROJECT (a .kavio file) as the editor would and prints\n"
                          "  scenes=N elements=N timelines=N animations=N resources=N functions=N\n"
                          "then one line per problem found: missing resource files, event and action\n"
                          "codes this version does not know (kept as they are), elements that cannot\n"
                          "be read. Questions the editor would ask take their default answer.\n"
                          "Exit code: 0 when the project opens, 1 when it cannot, 2 for a usage error.\n");
}

int KVCheckCommand::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (arguments.size() != 1) {
        std::fputs(usage().toLocal8Bit().constData(), stderr);
        return 2;
    }

    KVHeadlessProject project(QFileInfo(arguments.first()).absoluteFilePath());
    if (!project.open())
        return 1;

    QString strOut = project.summary() + QLatin1Char('\n');
    for (const QString &strProblem : project.problems())
        strOut += strProblem + QLatin1Char('\n');
    std::fputs(strOut.toUtf8().constData(), stdout);
    std::fflush(stdout);
    return 0;
}
