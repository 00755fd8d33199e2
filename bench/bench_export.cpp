// Exporting a large project: 10 scenes of 1,000 rectangles (10,000 elements), each animated by an
// opacity and a left-position track of five keys (100,000 keys), with 150 images of 1 MiB and five
// videos of 10 MiB (200 MiB). First the resource copy as the exporter makes it and "cp -r" of the
// same files, by wall clock, in alternate rounds of the same run (min and median of each, and the
// ratio of the medians); then the time of building the player data and of a whole export.
#include "KVLargeProject.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "document/KVHeadlessProject.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVSceneList.h"
#include "output/KVHtml5Exporter.h"
#include "output/KVPlayerData.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVFileCopier.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEasingCurve>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kImages = 150;
constexpr int kVideos = 5;
constexpr qint64 kVideoSize = 10 * 1048576;
constexpr qint64 kResourceBytes = kImages * qint64(1048576) + kVideos * kVideoSize;
constexpr int kCopyRounds = 5;

QTemporaryDir *g_pDir = nullptr;
KVHeadlessProject *g_pProject = nullptr;
KVPlayerSource g_source;

QString playerFolder()
{
    return g_pDir->filePath(QStringLiteral("player"));
}

void writeBytes(const QString &strPath, const QByteArray &data)
{
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        std::fprintf(stderr, "bench_export: cannot write %s\n", qPrintable(strPath));
}

void generate()
{
    const QString strFile = g_pDir->filePath(QStringLiteral("project/large.kavio"));
    QDir().mkpath(g_pDir->filePath(QStringLiteral("project/large_res")));
    QDir().mkpath(playerFolder());
    writeBytes(playerFolder() + QStringLiteral("/kvplayer.js"), QByteArray(200000, 'p'));
    writeBytes(playerFolder() + QStringLiteral("/kvplayer.html"),
               "<div id=\"{$containerID}\"></div><script>{$loadDocumentScript}</script>");
    writeBytes(playerFolder() + QStringLiteral("/kvplayer.css"), "{$systemFonts}");

    g_pProject = new KVHeadlessProject(strFile);
    KVLargeProject::fill(*g_pProject);
    const QByteArray image(1048576, 'i');
    for (int i = 0; i < kImages; ++i) {
        const QString strName = QStringLiteral("image%1.png").arg(i);
        writeBytes(g_pDir->filePath(QStringLiteral("project/large_res/") + strName), image);
        KVResource *pImage = KVResource::create(0);
        pImage->setName(QStringLiteral("image%1").arg(i));
        pImage->setFileName(strName);
        g_pProject->resourceManager()->addResource(pImage);
    }
    const QByteArray video(int(kVideoSize), 'v');
    for (int i = 0; i < kVideos; ++i) {
        const QString strName = QStringLiteral("video%1.mp4").arg(i);
        writeBytes(g_pDir->filePath(QStringLiteral("project/large_res/") + strName), video);
        KVResource *pVideo = KVResource::create(0);
        pVideo->setName(QStringLiteral("video%1").arg(i));
        pVideo->setFileName(strName);
        g_pProject->resourceManager()->addResource(pVideo);
    }
    g_source.pSymbol = g_pProject;
    g_source.pSettings = &g_pProject->settings();
    g_source.strProjectFile = strFile;
    g_source.strExportResourceFolder = QStringLiteral("resources");
}

void BM_BuildPlayerData(benchmark::State &state)
{
    qint64 nBytes = 0;
    for (auto _ : state) {
        KVPlayerData data(&g_source);
        const QString strText = data.buildText(KVPlayerData::Options());
        nBytes = strText.toUtf8().size();
        benchmark::DoNotOptimize(nBytes);
    }
    state.counters["data_bytes"] = double(nBytes);
}
BENCHMARK(BM_BuildPlayerData)->Unit(benchmark::kMillisecond)->Iterations(3);

// The resource copy as the exporter makes it (1 MiB blocks through a temporary file), in
// milliseconds of wall clock; -1 when a file failed.
double copyWithCopier()
{
    const QString strSource = g_pDir->filePath(QStringLiteral("project/large_res"));
    const QString strTarget = g_pDir->filePath(QStringLiteral("copy"));
    QDir().mkpath(strTarget);
    const QStringList names = QDir(strSource).entryList(QDir::Files, QDir::Name);
    QElapsedTimer timer;
    timer.start();
    KVFileCopier copier(nullptr, QString(), QString(), kResourceBytes);
    for (const QString &strName : names) {
        if (copier.copy(strSource + QLatin1Char('/') + strName, strTarget + QLatin1Char('/') + strName)
            != KVFileCopier::Copied)
            return -1;
    }
    const double dMs = timer.nsecsElapsed() / 1e6;
    QDir(strTarget).removeRecursively();
    return dMs;
}

// The same files copied by "cp -r", waited for, in milliseconds of wall clock.
double copyWithCp()
{
    const QString strTarget = g_pDir->filePath(QStringLiteral("cp"));
    QProcess cp;
    QElapsedTimer timer;
    timer.start();
    cp.start(QStringLiteral("cp"), {QStringLiteral("-r"), g_pDir->filePath(QStringLiteral("project/large_res")),
                                    strTarget});
    if (!cp.waitForFinished(120000) || cp.exitStatus() != QProcess::NormalExit || cp.exitCode() != 0)
        return -1;
    const double dMs = timer.nsecsElapsed() / 1e6;
    QDir(strTarget).removeRecursively();
    return dMs;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Alternate rounds, so that both copies meet the same state of the disk and its cache.
bool compareCopies()
{
    QVector<double> ours;
    QVector<double> cp;
    copyWithCp(); // warms the cache of the source files for both
    for (int i = 0; i < kCopyRounds; ++i) {
        ours.append(copyWithCopier());
        cp.append(copyWithCp());
        if (ours.last() < 0 || cp.last() < 0) {
            std::fprintf(stderr, "bench_export: a copy failed\n");
            return false;
        }
    }
    const double dMiB = double(kResourceBytes) / 1048576.0;
    const auto print = [dMiB](const char *pName, const QVector<double> &values) {
        const double dMin = *std::min_element(values.begin(), values.end());
        const double dMedian = median(values);
        std::printf("%-28s min %8.1f ms  median %8.1f ms  (%.0f MiB/s at the median)\n", pName, dMin,
                    dMedian, dMiB / (dMedian / 1000.0));
    };
    std::printf("resource copy, %d files, %.0f MiB, %d rounds, wall clock:\n", kImages + kVideos, dMiB,
                kCopyRounds);
    print("  exporter's copy", ours);
    print("  cp -r", cp);
    std::printf("  ratio exporter / cp -r (medians): %.2fx (target <= 1.2x)\n", median(ours) / median(cp));
    return true;
}

void BM_WholeExport(benchmark::State &state)
{
    const QString strOut = g_pDir->filePath(QStringLiteral("out"));
    qint64 nBytes = 0;
    for (auto _ : state) {
        KVHtml5Exporter exporter(&g_source);
        exporter.setPlayerFolder(playerFolder());
        exporter.setResourcePath(g_pDir->path());
        if (!exporter.exportTo(strOut))
            state.SkipWithError("the export failed");
        nBytes = exporter.writtenBytes();
    }
    state.counters["written_bytes"] = double(nBytes);
}
BENCHMARK(BM_WholeExport)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_pDir = &dir;
    generate();
    std::printf("project: %s\n", qPrintable(g_pProject->summary()));
    if (!compareCopies())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_pProject;
    return 0;
}
