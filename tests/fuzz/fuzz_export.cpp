// libFuzzer harness of the export path: any bytes given as a project file are opened the way
// "kavio export" opens them (with the symbol files and the custom preloader), and a project that
// opens is exported with the real player folder: its player data, data file, page and style sheet,
// once as an export and once as the browser preview of one scene. An export may fail with a
// message; it must not crash, hang or leave the page or the data file out when it succeeds.
// The project lives in a temporary folder whose resource folder holds the bundled example's
// resources, so that the seeds made from the example export real files.

#include "FuzzReporter.h"
#include "Reporter.h"
#include "document/KVHeadlessProject.h"
#include "output/KVHeadlessPlayerSource.h"
#include "output/KVHtml5Exporter.h"
#include "model/KVSceneList.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QCoreApplication *g_pApp = nullptr;
QTemporaryDir *g_pDir = nullptr;
FuzzReporter g_reporter;
QString g_strProject;
QString g_strOut;
const QString g_strResources = QStringLiteral(KAVIO_BINARY_DIR "/share/kavio");

void copyFolder(const QString &strFrom, const QString &strTo)
{
    QDirIterator it(strFrom, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString strFile = it.next();
        const QString strTarget = strTo + QLatin1Char('/') + QDir(strFrom).relativeFilePath(strFile);
        QDir().mkpath(QFileInfo(strTarget).path());
        QFile::copy(strFile, strTarget);
    }
}

bool exportOnce(KVHeadlessPlayerSource &source, bool bPreview)
{
    QDir(g_strOut).removeRecursively();
    KVHtml5Exporter exporter(&source.source());
    exporter.setResourcePath(g_strResources);
    exporter.setPreview(bPreview);
    exporter.setCurrentSceneOnly(bPreview);
    if (!exporter.exportTo(g_strOut))
        return true; // refused with a message
    const QString strBase = QFileInfo(g_strProject).completeBaseName();
    return exporter.writtenFiles().contains(strBase + QStringLiteral(".html"))
           && exporter.writtenFiles().contains(strBase + QStringLiteral(".js"))
           && QFileInfo(exporter.pagePath()).isFile();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *pArgc, char ***pArgv)
{
    g_pApp = new QCoreApplication(*pArgc, *pArgv);
    g_pDir = new QTemporaryDir;
    g_strProject = g_pDir->filePath(QStringLiteral("fuzz.kavio"));
    g_strOut = g_pDir->filePath(QStringLiteral("out"));
    copyFolder(QStringLiteral(KAVIO_SOURCE_DIR "/examples/banner/banner_res"), g_pDir->filePath(QStringLiteral("fuzz_res")));
    Reporter::setInstance(&g_reporter);
    if (!QFileInfo::exists(g_strResources + QStringLiteral("/resources/canvas/player/kvplayer.html"))) {
        std::fprintf(stderr, "the player folder is not staged in %s (build kavio-player-companions)\n",
                     qPrintable(g_strResources));
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t nSize)
{
    {
        QFile file(g_strProject);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(pData), qint64(nSize)) != qint64(nSize)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(g_strProject));
            std::abort();
        }
    }
    KVHeadlessPlayerSource source;
    if (!source.open(g_strProject))
        return 0;
    // Packing an installed font takes seconds per face (its own tests cover it); the fuzzed family
    // names still reach the page's style text.
    source.project()->settings().m_bEmbedSystemFont = false;
    // The preview shows one of the scenes, as "kavio export --scene" does.
    KVSceneList *pScenes = source.project()->sceneList();
    if (pScenes->count() > 0)
        source.project()->setCurrentScene(pScenes->at(int(nSize % size_t(pScenes->count()))));
    for (const bool bPreview : {false, true}) {
        if (!exportOnce(source, bPreview)) {
            std::fprintf(stderr, "an export that succeeded left out its page or its data file\n");
            std::abort();
        }
    }
    return 0;
}
