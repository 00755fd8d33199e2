// Moving an element along a motion path: 10,000 location evaluations on a 100-point path (every
// other point timed, curved segments of some 100 to 200 pixels each), evaluated directly and by
// playing the track into a rectangle; and rebuilding the flattened path after an edit.
#include "animation/KVKeyValue.h"
#include "animation/KVMotionPathKeyframe.h"
#include "model/KVBezierPath.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEasingCurve>

#include <cmath>
#include <memory>

namespace {

constexpr int kPoints = 100;
constexpr int kEvaluations = 10000;
constexpr int kStepMs = 100;

QList<KVPathPoint> wavyPath()
{
    QList<KVPathPoint> points;
    for (int n = 0; n < kPoints; ++n) {
        KVPathPoint p;
        p.x = n * 120.0;
        p.y = (n % 2 ? 80.0 : -80.0) + 40.0 * std::sin(n);
        p.x1 = p.x - 40.0;
        p.y1 = p.y + 60.0;
        p.x2 = p.x + 40.0;
        p.y2 = p.y - 60.0;
        p.nTime = n % 2 ? -1 : (n / 2) * kStepMs;
        points.append(p);
    }
    // The last point carries the last time.
    points.last().nTime = (kPoints / 2) * kStepMs;
    return points;
}

void fillTrack(KVMotionPathKeyframe &track)
{
    const QList<KVPathPoint> points = wavyPath();
    track.setPathPoints(points);
    for (const KVPathPoint &p : points) {
        if (p.nTime != -1)
            track.addKeyValue(new KVKeyValue(p.nTime, p.position()), QEasingCurve::InOutQuad, true);
    }
}

int lastTime()
{
    return (kPoints / 2) * kStepMs;
}

void setRate(benchmark::State &state, int nPerIteration, const char *pszName)
{
    state.SetItemsProcessed(state.iterations() * nPerIteration);
    state.counters[pszName] =
        benchmark::Counter(double(state.iterations()) * nPerIteration, benchmark::Counter::kIsRate);
}

void BM_MotionPathLocation(benchmark::State &state)
{
    KVMotionPathKeyframe track(nullptr);
    fillTrack(track);
    const int nLast = lastTime();
    for (auto _ : state) {
        for (int n = 0; n < kEvaluations; ++n)
            benchmark::DoNotOptimize(track.locationAt(int((qint64(n) * 7919) % nLast)));
    }
    setRate(state, kEvaluations, "evaluations/s");
}
BENCHMARK(BM_MotionPathLocation)->Unit(benchmark::kMillisecond);

void BM_MotionPathPlayIntoElement(benchmark::State &state)
{
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    std::unique_ptr<KVMotionPathKeyframe> pTrack(KVMotionPathKeyframe::create(pElement.get(), KVLayoutKey::base()));
    fillTrack(*pTrack);
    const int nLast = lastTime();
    for (auto _ : state) {
        for (int n = 0; n < kEvaluations; ++n)
            pTrack->setCurrentTime(int((qint64(n) * nLast) / kEvaluations));
        benchmark::DoNotOptimize(pElement->translateXY());
    }
    setRate(state, kEvaluations, "evaluations/s");
}
BENCHMARK(BM_MotionPathPlayIntoElement)->Unit(benchmark::kMillisecond);

void BM_MotionPathRebuild(benchmark::State &state)
{
    const QList<KVPathPoint> points = wavyPath();
    KVBezierPath path;
    for (auto _ : state) {
        path.setPoints(points);
        benchmark::DoNotOptimize(path.totalLength());
    }
    setRate(state, 1, "rebuilds/s");
}
BENCHMARK(BM_MotionPathRebuild)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
