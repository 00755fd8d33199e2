// Exporting a large project: 10 scenes of 1,000 rectangles (10,000 elements), each animated by an
// opacity and a left-position track of five keys (100,000 keys), with 50 images of 1 MiB each
// (50 MiB). Prints the time of building the player data, of copying the resources through the
// exporter, of the same copy by "cp", and of a whole export.
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
#include <QEasingCurve>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

constexpr int kImages = 50;

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

// The resource copy as the exporter makes it (1 MiB blocks through a temporary file).
void BM_CopyResources(benchmark::State &state)
{
    const QString strTarget = g_pDir->filePath(QStringLiteral("copy"));
    QDir().mkpath(strTarget);
    for (auto _ : state) {
        KVFileCopier copier(nullptr, QString(), QString(), qint64(kImages) * 1048576);
        for (int i = 0; i < kImages; ++i) {
            const QString strName = QStringLiteral("image%1.png").arg(i);
            copier.copy(g_pDir->filePath(QStringLiteral("project/large_res/") + strName),
                        strTarget + QLatin1Char('/') + strName);
        }
    }
    state.SetBytesProcessed(state.iterations() * qint64(kImages) * 1048576);
}
BENCHMARK(BM_CopyResources)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same files copied by cp, for the disk's speed in this run.
void BM_CopyWithCp(benchmark::State &state)
{
    const QString strTarget = g_pDir->filePath(QStringLiteral("cp"));
    for (auto _ : state) {
        QProcess cp;
        cp.start(QStringLiteral("cp"), {QStringLiteral("-r"), g_pDir->filePath(QStringLiteral("project/large_res")),
                                        strTarget});
        if (!cp.waitForFinished(120000) || cp.exitCode() != 0)
            state.SkipWithError("cp failed");
        state.PauseTiming();
        QDir(strTarget).removeRecursively();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * qint64(kImages) * 1048576);
}
BENCHMARK(BM_CopyWithCp)->Unit(benchmark::kMillisecond)->Iterations(3);

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
BENCHMARK(BM_WholeExport)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_pDir = &dir;
    generate();
    std::printf("project: %s\n", qPrintable(g_pProject->summary()));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete g_pProject;
    return 0;
}
