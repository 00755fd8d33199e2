// Building, reading, writing and playing keyframe tracks: an animation of 20 property tracks with
// 500 key values each (10,000 keys) on one rectangle, the size of a long, busy scene; and a single
// track grown key by key in time order (the reading order) and by inserts into its middle.
#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include <benchmark/benchmark.h>

#include <QColor>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

using Cat = KVPropertyCatalogue;

constexpr int kKeysPerTrack = 500;
const int kCodes[] = {Cat::Left,    Cat::Top,     Cat::Width,   Cat::Height,  Cat::ScaleX,
                      Cat::ScaleY,  Cat::SkewX,   Cat::SkewY,   Cat::RotateZ, Cat::OriginX,
                      Cat::OriginY, Cat::Opacity, Cat::Display, Cat::OriginZ, Cat::TranslateZ,
                      Cat::RotateX, Cat::RotateY, Cat::ScaleZ,  Cat::BackgroundColor, Cat::BorderWidth};
constexpr int kTrackCount = int(sizeof(kCodes) / sizeof(kCodes[0]));

QVariant valueFor(int nCode, int n)
{
    if (nCode == Cat::BackgroundColor)
        return QColor::fromRgb(n % 256, (n * 7) % 256, (n * 13) % 256);
    if (nCode == Cat::Display)
        return double(n % 2);
    return double((n * 37) % 100) / 100.0;
}

void fill(KVAnimation &animation, KVElement *pElement)
{
    for (int nCode : kCodes) {
        KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, KVLayoutKey::base());
        if (!pTrack)
            continue;
        for (int n = 0; n < kKeysPerTrack; ++n)
            pTrack->addKeyValue(new KVKeyValue(n * 40, valueFor(nCode, n)), n % 41, true);
        animation.addKeyframe(pTrack);
    }
}

std::unique_ptr<KVElement> makeElement()
{
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    pElement->setId(1);
    return pElement;
}

void setRate(benchmark::State &state, int nPerIteration, const char *pszName)
{
    state.SetItemsProcessed(state.iterations() * nPerIteration);
    state.counters[pszName] =
        benchmark::Counter(double(state.iterations()) * nPerIteration, benchmark::Counter::kIsRate);
}

void BM_TrackAppendKeys(benchmark::State &state)
{
    const int nKeys = int(state.range(0));
    for (auto _ : state) {
        KVKeyframe track(Cat::Opacity, QStringLiteral("%"), nullptr);
        for (int n = 0; n < nKeys; ++n)
            track.addKeyValue(new KVKeyValue(n * 10, (n % 10) / 10.0), 3, true);
        benchmark::DoNotOptimize(track.totalDuration());
    }
    setRate(state, nKeys, "keys/s");
}
BENCHMARK(BM_TrackAppendKeys)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_TrackInsertMiddle(benchmark::State &state)
{
    const int nKeys = int(state.range(0));
    for (auto _ : state) {
        KVKeyframe track(Cat::Opacity, QStringLiteral("%"), nullptr);
        track.addKeyValue(new KVKeyValue(0, 0.0), 3, true);
        track.addKeyValue(new KVKeyValue(nKeys * 10 + 10, 1.0), 3, true);
        // Every new key splits the segment just after the first key.
        for (int n = nKeys; n > 0; --n)
            track.addKeyValue(new KVKeyValue(n * 10, (n % 10) / 10.0), 3, true);
        benchmark::DoNotOptimize(track.totalDuration());
    }
    setRate(state, nKeys, "keys/s");
}
BENCHMARK(BM_TrackInsertMiddle)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_AnimationWrite(benchmark::State &state)
{
    auto pElement = makeElement();
    KVAnimation animation(pElement.get());
    fill(animation, pElement.get());
    for (auto _ : state) {
        QJsonObject jo;
        animation.toJson(jo);
        benchmark::DoNotOptimize(QJsonDocument(jo).toJson(QJsonDocument::Compact).size());
    }
    setRate(state, kTrackCount * kKeysPerTrack, "keys/s");
}
BENCHMARK(BM_AnimationWrite)->Unit(benchmark::kMillisecond);

void BM_AnimationRead(benchmark::State &state)
{
    auto pElement = makeElement();
    KVAnimation source(pElement.get());
    fill(source, pElement.get());
    QJsonObject jo;
    source.toJson(jo);
    const QByteArray data = QJsonDocument(jo).toJson(QJsonDocument::Compact);
    for (auto _ : state) {
        KVAnimation animation(pElement.get());
        animation.fromJson(QJsonDocument::fromJson(data).object(), nullptr, KVLayoutKey::base());
        benchmark::DoNotOptimize(animation.length());
    }
    setRate(state, kTrackCount * kKeysPerTrack, "keys/s");
}
BENCHMARK(BM_AnimationRead)->Unit(benchmark::kMillisecond);

void BM_AnimationPlayerEntries(benchmark::State &state)
{
    auto pElement = makeElement();
    KVAnimation animation(pElement.get());
    fill(animation, pElement.get());
    for (auto _ : state) {
        QJsonArray entries;
        animation.toPlayerJson(entries);
        benchmark::DoNotOptimize(entries.size());
    }
    setRate(state, kTrackCount * kKeysPerTrack, "keys/s");
}
BENCHMARK(BM_AnimationPlayerEntries)->Unit(benchmark::kMillisecond);

// Seeking through the animation framework: every track writes its property into the element.
void BM_AnimationSeek(benchmark::State &state)
{
    auto pElement = makeElement();
    KVAnimation animation(pElement.get());
    fill(animation, pElement.get());
    animation.start();
    animation.pause();
    int nTime = 0;
    const int nLength = animation.length();
    for (auto _ : state) {
        nTime = (nTime + 997) % nLength;
        animation.setCurrentTime(nTime);
        benchmark::DoNotOptimize(pElement->opacity());
    }
    setRate(state, 1, "seeks/s");
}
BENCHMARK(BM_AnimationSeek)->Unit(benchmark::kMicrosecond);

void BM_TrackValueAt(benchmark::State &state)
{
    auto pElement = makeElement();
    KVAnimation animation(pElement.get());
    fill(animation, pElement.get());
    const KVKeyframe *pTrack = animation.keyframe(Cat::Opacity);
    int nTime = 0;
    for (auto _ : state) {
        nTime = (nTime + 997) % (kKeysPerTrack * 40);
        benchmark::DoNotOptimize(pTrack->valueAt(nTime));
    }
    setRate(state, 1, "values/s");
}
BENCHMARK(BM_TrackValueAt)->Unit(benchmark::kMicrosecond);

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
