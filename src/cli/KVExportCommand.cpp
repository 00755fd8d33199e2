#include "KVExportCommand.h"

#include "Reporter.h"
#include "document/KVHeadlessProject.h"
#include "model/KVSceneList.h"
#include "output/KVHeadlessPlayerSource.h"
#include "output/KVAdCheck.h"
#include "output/KVExportArchive.h"
#include "output/KVHtml5Exporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {
QString tr(const char *psz)
{
    return QCoreApplication::translate("KVExportCommand", psz);
}
} // namespace

QString KVExportCommand::summary()
{
    return QStringLiteral("Export a project to a folder of HTML, CSS, JavaScript and resources.");
}

QString KVExportCommand::usage()
{
    return QStringLiteral("Usage: kavio export PROJECT OUTDIR|OUT.zip [--scene N] [--ad PROFILE]\n\n"
                          "Writes PROJECT (a .kavio file) into OUTDIR (created when missing) as a web\n"
                          "site that plays in any browser: <base>.html, <base>.css, <base>.js,\n"
                          "kvplayer.js and the resource folders. A target ending with .zip gets the\n"
                          "same files as one ZIP, the page at its root. With --scene N only the N-th\n"
                          "scene (counting from 1) is exported. Files already in OUTDIR are replaced.\n"
                          "Prints \"files=N bytes=N page=PATH\" (with \" zip=PATH\" for a ZIP) when done.\n"
                          "With --ad PROFILE the export is then checked against an ad network's limits\n"
                          "(%1), one finding a line.\n"
                          "Exit code: 0 when exported, 1 when not, 2 for a usage error, 3 when the\n"
                          "export fails the ad profile.\n")
        .arg(KVAdCheck::profiles().join(QStringLiteral(", ")));
}

int KVExportCommand::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QStringList positional;
    int nScene = 0;
    QString strProfile;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &strArg = arguments.at(i);
        if (strArg == QLatin1String("--ad")) {
            strProfile = i + 1 < arguments.size() ? arguments.at(i + 1) : QString();
            if (!KVAdCheck::hasProfile(strProfile)) {
                Reporter::error(tr("--ad wants an ad profile: %1").arg(KVAdCheck::profiles().join(QStringLiteral(", "))));
                return 2;
            }
            ++i;
        } else if (strArg == QLatin1String("--scene")) {
            bool bOk = false;
            nScene = i + 1 < arguments.size() ? arguments.at(i + 1).toInt(&bOk) : 0;
            if (!bOk || nScene < 1) {
                Reporter::error(tr("--scene wants a scene number from 1"));
                return 2;
            }
            ++i;
        } else {
            positional << strArg;
        }
    }
    if (positional.size() != 2) {
        std::fputs(usage().toLocal8Bit().constData(), stderr);
        return 2;
    }

    KVHeadlessPlayerSource source;
    if (!source.open(positional.at(0)))
        return 1;
    KVHtml5Exporter exporter(&source.source());
    if (nScene > 0) {
        KVSceneList *pScenes = source.project()->sceneList();
        if (nScene > pScenes->count()) {
            Reporter::error(tr("The project has %1 scenes; there is no scene %2.").arg(pScenes->count()).arg(nScene));
            return 1;
        }
        source.project()->setCurrentScene(pScenes->at(nScene - 1));
        exporter.setCurrentSceneOnly(true);
    }
    if (!exporter.exportTo(positional.at(1))) {
        if (exporter.wasCanceled())
            Reporter::error(tr("The export was cancelled."));
        return 1;
    }
    QString strOut = QStringLiteral("files=%1 bytes=%2 page=%3")
                         .arg(exporter.writtenFiles().size())
                         .arg(exporter.writtenBytes())
                         .arg(QDir::toNativeSeparators(exporter.pagePath()));
    if (!exporter.archivePath().isEmpty())
        strOut += QStringLiteral(" zip=") + QDir::toNativeSeparators(exporter.archivePath());
    std::fputs((strOut + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
    return strProfile.isEmpty() ? 0 : runAdCheck(strProfile, exporter, source.source(), positional.at(1));
}

int KVExportCommand::runAdCheck(const QString &strProfile, const KVHtml5Exporter &exporter,
                                const KVPlayerSource &source, const QString &strFolder)
{
    // A folder export is checked as the ZIP it would make.
    QTemporaryDir work;
    QString strZip = exporter.archivePath();
    if (strZip.isEmpty()) {
        strZip = work.filePath(source.baseName() + QStringLiteral(".zip"));
        if (!work.isValid() || !KVExportArchive::write(strFolder, exporter.writtenFiles(), strZip))
            return 1;
    }
    QStringList findings;
    if (!KVAdCheck::check(strProfile, strZip, KVAdCheck::projectOf(source), findings))
        return 1;
    QString strOut = findings.isEmpty()
        ? QStringLiteral("ad check %1: passed\n").arg(strProfile)
        : QStringLiteral("ad check %1: failed, %2 problem(s)\n").arg(strProfile).arg(findings.size());
    for (const QString &strFinding : findings)
        strOut += QStringLiteral("  ") + strFinding + QLatin1Char('\n');
    std::fputs(strOut.toUtf8().constData(), stdout);
    std::fflush(stdout);
    return findings.isEmpty() ? 0 : 3;
}
