#include "KVCheckCommand.h"

#include "Reporter.h"
#include "document/KVHeadlessProject.h"
#include "KVExportCommand.h"
#include "document/KVPackageReader.h"
#include "output/KVAdCheck.h"
#include "output/KVHeadlessPlayerSource.h"
#include "output/KVHtml5Exporter.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

QString KVCheckCommand::summary()
{
    return QStringLiteral("Open a project as the editor would and list its problems.");
}

QString KVCheckCommand::usage()
{
    return QStringLiteral("Usage: kavio check [--ad PROFILE] PROJECT\n\n"
                          "Opens PROJECT (a .kavio file, or a .kaviopack package, unpacked into a\n"
                          "temporary folder that is removed afterwards) as the editor would and prints\n"
                          "  scenes=N elements=N timelines=N animations=N resources=N functions=N\n"
                          "then one line per problem found: missing resource files, event and action\n"
                          "codes this version does not know (kept as they are), elements that cannot\n"
                          "be read, and every repair made while reading (repeated element ids,\n"
                          "animations of no element). Symbol files are read as the export reads them;\n"
                          "one that cannot be read, or a symbol that contains itself, stops the open.\n"
                          "Questions the editor would ask take their default answer.\n"
                          "With --ad PROFILE the project is also exported as a ZIP into a temporary\n"
                          "folder and checked against an ad network's limits (%1): one line per\n"
                          "finding, naming the file or element and what to do.\n"
                          "Exit code: 0 when the project opens (and passes the profile), 1 when it\n"
                          "cannot, 2 for a usage error, 3 when it fails the ad profile.\n")
        .arg(KVAdCheck::profiles().join(QStringLiteral(", ")));
}

int KVCheckCommand::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QStringList positional = arguments;
    QString strProfile;
    const int nAd = positional.indexOf(QStringLiteral("--ad"));
    if (nAd >= 0) {
        strProfile = positional.value(nAd + 1);
        if (!KVAdCheck::hasProfile(strProfile)) {
            Reporter::error(QStringLiteral("--ad wants an ad profile: %1").arg(KVAdCheck::profiles().join(QStringLiteral(", "))));
            return 2;
        }
        positional.removeAt(nAd);
        positional.removeAt(nAd);
    }
    if (positional.size() != 1) {
        std::fputs(usage().toLocal8Bit().constData(), stderr);
        return 2;
    }

    QString strProject = QFileInfo(positional.first()).absoluteFilePath();
    // A package is checked as the project the editor would unpack from it.
    QTemporaryDir unpacked;
    if (QFileInfo(strProject).suffix().compare(QLatin1String("kaviopack"), Qt::CaseInsensitive) == 0) {
        const QString strUnpacked = unpacked.filePath(QFileInfo(strProject).completeBaseName() + QStringLiteral(".kavio"));
        KVPackageReader reader;
        if (!unpacked.isValid() || !reader.extract(strProject, strUnpacked))
            return 1;
        strProject = strUnpacked;
    }

    // Opened exactly as the export opens it: the symbol files are read with it.
    KVHeadlessPlayerSource source;
    if (!source.open(strProject))
        return 1;

    QString strOut = source.project()->summary() + QLatin1Char('\n');
    for (const QString &strProblem : source.problems())
        strOut += strProblem + QLatin1Char('\n');
    std::fputs(strOut.toUtf8().constData(), stdout);
    std::fflush(stdout);
    if (strProfile.isEmpty())
        return 0;
    QTemporaryDir work;
    KVHtml5Exporter exporter(&source.source());
    if (!work.isValid() || !exporter.exportTo(work.filePath(source.source().baseName() + QStringLiteral(".zip"))))
        return 1;
    return KVExportCommand::runAdCheck(strProfile, exporter, source.source(), QString());
}
