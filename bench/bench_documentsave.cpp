// Saving a project through the document: a save in place of a project with many scenes, and a save
// under another name that copies 64 MiB of resource files into the new resource folder (and the
// clean-up of that copy). Prints the time per save and the copy rate.
#include "document/KVDocument.h"
#include "model/KVSceneList.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {
QTemporaryDir *g_pDir = nullptr;
constexpr int kResources = 16;
constexpr qint64 kResourceSize = 4 * 1048576;

QString path(const QString &strRelative)
{
    return g_pDir->path() + QLatin1Char('/') + strRelative;
}

// A saved project with nScenes scenes and kResources files of kResourceSize bytes.
QString makeProject(const QString &strName, int nScenes)
{
    const QString strFile = path(strName + QStringLiteral("/") + strName + QStringLiteral(".kavio"));
    QDir().mkpath(QFileInfo(strFile).absolutePath());
    KVDocument doc;
    doc.setFileName(strFile);
    doc.create(1280, 720, nScenes, false);
    QByteArray data(int(kResourceSize), 'x');
    for (int i = 0; i < kResources; ++i) {
        const QString strSource = path(QStringLiteral("source%1.mp4").arg(i));
        data[0] = char(i);
        QFile file(strSource);
        if (file.open(QIODevice::WriteOnly))
            file.write(data);
        file.close();
        if (KVResource *pResource = doc.resourceManager()->importFile(strSource))
            doc.resourceManager()->addResource(pResource);
        QFile::remove(strSource);
    }
    doc.save();
    doc.close();
    return strFile;
}

void BM_SaveInPlace(benchmark::State &state)
{
    const QString strFile = makeProject(QStringLiteral("inplace%1").arg(state.range(0)), int(state.range(0)));
    KVDocument doc;
    doc.load(strFile);
    for (auto _ : state) {
        if (!doc.save())
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = double(QFileInfo(strFile).size());
    doc.close();
}
BENCHMARK(BM_SaveInPlace)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_SaveElsewhere(benchmark::State &state)
{
    const QString strFile = makeProject(QStringLiteral("source"), 5);
    int nRun = 0;
    for (auto _ : state) {
        KVDocument doc;
        doc.load(strFile);
        const QString strTarget = path(QStringLiteral("copy%1/copy.kavio").arg(nRun++));
        QDir().mkpath(QFileInfo(strTarget).absolutePath());
        if (!doc.save(strTarget))
            state.SkipWithError("save elsewhere failed");
        state.PauseTiming();
        doc.setIsTempDocument(true);
        doc.close();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * kResources * kResourceSize);
}
BENCHMARK(BM_SaveElsewhere)->Unit(benchmark::kMillisecond)->Iterations(5);
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_pDir = &dir;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
