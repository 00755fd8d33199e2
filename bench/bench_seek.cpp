// A scrub of the playhead: a scene of 1,000 elements, each with 5 tracks of 10 keys, sought to 600
// times forward (order 0), backward (1) and at random (2). Prints milliseconds per seek.
#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <QVector>

#include <chrono>
#include <memory>
#include <random>

namespace {

constexpr int kElements = 1000;
constexpr int kKeys = 10;
constexpr int kTimes = 600;
const int kCodes[] = {KVPropertyCatalogue::Opacity, KVPropertyCatalogue::RotateZ, KVPropertyCatalogue::ScaleX,
                      KVPropertyCatalogue::ScaleY, KVPropertyCatalogue::SkewX};
constexpr int kTracks = int(sizeof(kCodes) / sizeof(kCodes[0]));

struct ScrubScene
{
    std::unique_ptr<KVElementContainer> pRoot = std::make_unique<KVElementContainer>();
    std::unique_ptr<KVTimeline> pTimeline;

    ScrubScene()
    {
        pRoot->init();
        pRoot->setSizeW(1280);
        pRoot->setSizeH(720);
        pTimeline = std::make_unique<KVTimeline>(pRoot.get());
        for (int n = 0; n < kElements; ++n) {
            KVElement *pElement = KVElementFactory::createElement(KVElementType::Div);
            pRoot->addElement(pElement);
            auto *pAnimation = new KVAnimation(pElement);
            for (int nCode : kCodes) {
                KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, KVLayoutKey::base());
                for (int k = 0; k < kKeys; ++k) {
                    const int nTime = k * 600 + (n % 7) * 10;
                    const double dValue = nCode == KVPropertyCatalogue::Opacity ? (k % 2 ? 0.2 : 1.0)
                                          : nCode == KVPropertyCatalogue::SkewX ? (k % 5) * 4.0
                                          : nCode == KVPropertyCatalogue::RotateZ ? k * 36.0
                                                                                  : 0.5 + 0.1 * k;
                    pTrack->addKeyValue(new KVKeyValue(nTime, dValue), (k * 3 + n) % 41, true);
                }
                pAnimation->addKeyframe(pTrack);
            }
            pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
        }
    }
};

// The playhead in three ways over the same 5,000 tracks: stepping forward, stepping backward and
// jumping to random times. Each row prints milliseconds per seek.
enum Order { Forward, Backward, Random };

void BM_Seek(benchmark::State &state)
{
    static ScrubScene scene;
    const int nDuration = scene.pTimeline->duration();
    QVector<int> times(kTimes);
    std::mt19937 random(7);
    for (int i = 0; i < kTimes; ++i) {
        const int nStep = int(int64_t(i) * nDuration / kTimes);
        times[i] = state.range(0) == Forward    ? nStep
                   : state.range(0) == Backward ? nDuration - nStep
                                                : int(random() % uint32_t(nDuration + 1));
    }
    int64_t nSeeks = 0;
    std::chrono::steady_clock::duration elapsed{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int nTime : qAsConst(times))
            scene.pTimeline->seek(nTime);
        elapsed += std::chrono::steady_clock::now() - start;
        nSeeks += kTimes;
    }
    state.counters["ms_per_seek"] = std::chrono::duration<double, std::milli>(elapsed).count() / double(nSeeks);
}
BENCHMARK(BM_Seek)->Arg(Forward)->Arg(Backward)->Arg(Random)->ArgName("order")->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
