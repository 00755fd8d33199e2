// Opening and saving a large project: 10 scenes of 1,000 rectangles each (10,000 elements), every
// rectangle animated on its scene's main timeline by an opacity and a left-position track of five
// keys each (100,000 keys in all). Prints the time of one open and of one save, headless and
// through the editor's document, and the file size.
// First it opens projects of 1,000 and of 10,000 elements in one scene and prints the growth of
// the open time (linear growth is 10).
#include "KVLargeProject.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "document/KVDocument.h"
#include "document/KVHeadlessProject.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVSceneList.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEasingCurve>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QVector>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

QTemporaryDir *g_pDir = nullptr;

QString projectPath()
{
    return g_pDir->filePath(QStringLiteral("large.kavio"));
}

// Writes the project once; the benchmarks open and save it.
void generate()
{
    KVHeadlessProject project(projectPath());
    KVLargeProject::fill(project);
    if (!project.save())
        std::fprintf(stderr, "bench_project: the project could not be written\n");
}

void BM_OpenProject(benchmark::State &state)
{
    for (auto _ : state) {
        auto pProject = std::make_unique<KVHeadlessProject>(projectPath());
        if (!pProject->open())
            state.SkipWithError("the project did not open");
        benchmark::DoNotOptimize(pProject->elementCount());
        // Closing is not part of opening.
        state.PauseTiming();
        pProject.reset();
        state.ResumeTiming();
    }
    state.counters["file_bytes"] = double(QFileInfo(projectPath()).size());
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveProject(benchmark::State &state)
{
    KVHeadlessProject project(projectPath());
    if (!project.open()) {
        state.SkipWithError("the project did not open");
        return;
    }
    const QString strTarget = g_pDir->filePath(QStringLiteral("saved.kavio"));
    for (auto _ : state) {
        if (!project.save(strTarget))
            state.SkipWithError("the project was not saved");
    }
    state.counters["file_bytes"] = double(QFileInfo(strTarget).size());
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same project through the editor's document, as File > Open and File > Save do it (the
// document also reads its resources and preloader, and keeps a lock on the file).
void BM_OpenInEditor(benchmark::State &state)
{
    for (auto _ : state) {
        auto pDocument = std::make_unique<KVDocument>();
        if (!pDocument->load(projectPath()))
            state.SkipWithError("the document did not open");
        state.PauseTiming();
        pDocument->close();
        pDocument.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenInEditor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SaveInEditor(benchmark::State &state)
{
    const QString strCopy = g_pDir->filePath(QStringLiteral("editor/large.kavio"));
    QDir().mkpath(QFileInfo(strCopy).absolutePath());
    QFile::remove(strCopy);
    QFile::copy(projectPath(), strCopy);
    KVDocument document;
    if (!document.load(strCopy)) {
        state.SkipWithError("the document did not open");
        return;
    }
    for (auto _ : state) {
        if (!document.save())
            state.SkipWithError("the document was not saved");
    }
    document.close();
}
BENCHMARK(BM_SaveInEditor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The parts of a save: the model's project form, then its compact text.
void BM_SaveParts(benchmark::State &state)
{
    KVHeadlessProject project(projectPath());
    if (!project.open()) {
        state.SkipWithError("the project did not open");
        return;
    }
    const bool bText = state.range(0) == 1;
    QJsonObject joTop;
    project.projectFile().toJson(joTop);
    for (auto _ : state) {
        if (bText) {
            benchmark::DoNotOptimize(QJsonDocument(joTop).toJson(QJsonDocument::Compact));
        } else {
            QJsonObject jo;
            benchmark::DoNotOptimize(project.projectFile().toJson(jo));
        }
    }
    state.SetLabel(bText ? "JSON text" : "project form");
}
BENCHMARK(BM_SaveParts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The parts of an open: parsing the text, then reading the model from the parsed object.
void BM_OpenParts(benchmark::State &state)
{
    QFile file(projectPath());
    file.open(QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    const bool bParse = state.range(0) == 0;
    const QJsonObject joTop = QJsonDocument::fromJson(data).object();
    for (auto _ : state) {
        if (bParse) {
            benchmark::DoNotOptimize(QJsonDocument::fromJson(data));
        } else {
            auto pProject = std::make_unique<KVHeadlessProject>(projectPath());
            benchmark::DoNotOptimize(pProject->projectFile().read(joTop));
            state.PauseTiming();
            pProject.reset();
            state.ResumeTiming();
        }
    }
    state.SetLabel(bParse ? "JSON parse" : "project form");
}
BENCHMARK(BM_OpenParts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Median wall time in milliseconds of opening a project of nElements in one scene.
double openOneScene(int nElements)
{
    const QString strPath = g_pDir->filePath(QStringLiteral("one%1.kavio").arg(nElements));
    if (!QFileInfo::exists(strPath)) {
        KVHeadlessProject project(strPath);
        KVLargeProject::fill(project, 1, nElements);
        if (!project.save())
            return -1;
    }
    QVector<double> times;
    for (int i = 0; i < 5; ++i) {
        auto pProject = std::make_unique<KVHeadlessProject>(strPath);
        QElapsedTimer timer;
        timer.start();
        if (!pProject->open() || pProject->elementCount() != nElements)
            return -1;
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_pDir = &dir;
    generate();
    {
        KVHeadlessProject check(projectPath());
        if (check.open())
            std::printf("project: %s, %lld bytes\n", qPrintable(check.summary()),
                        static_cast<long long>(QFileInfo(projectPath()).size()));
    }
    const double dSmall = openOneScene(1000);
    const double dLarge = openOneScene(10000);
    if (dSmall <= 0 || dLarge <= 0) {
        std::fprintf(stderr, "bench_project: a one-scene project did not open\n");
        return 1;
    }
    std::printf("one scene, open (median of 5): 1,000 elements %.1f ms, 10,000 elements %.1f ms, growth %.2f\n",
                dSmall, dLarge, dLarge / dSmall);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
