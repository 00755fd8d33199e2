#include "KVExportCommand.h"

#include "Reporter.h"
#include "document/KVHeadlessProject.h"
#include "model/KVSceneList.h"
#include "output/KVHeadlessPlayerSource.h"
#include "output/KVHtml5Exporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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
    return QStringLiteral("Usage: kavio export PROJECT OUTDIR [--scene N]\n\n"
                          "Writes PROJECT (a .kavio file) into OUTDIR (created when missing) as a web\n"
                          "site that plays in any browser: <base>.html, <base>.css, <base>.js,\n"
                          "kvplayer.js and the resource folders. With --scene N only the N-th scene\n"
                          "(counting from 1) is exported. Files already in OUTDIR are replaced.\n"
                          "Prints \"files=N bytes=N page=PATH\" when done.\n"
                          "Exit code: 0 when exported, 1 when not, 2 for a usage error.\n");
}

int KVExportCommand::run(const QStringList &arguments)
{
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(usage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    QStringList positional;
    int nScene = 0;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &strArg = arguments.at(i);
        if (strArg == QLatin1String("--scene")) {
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
    const QString strOut = QStringLiteral("files=%1 bytes=%2 page=%3\n")
                               .arg(exporter.writtenFiles().size())
                               .arg(exporter.writtenBytes())
                               .arg(QDir::toNativeSeparators(exporter.pagePath()));
    std::fputs(strOut.toUtf8().constData(), stdout);
    std::fflush(stdout);
    return 0;
}
