// A scrub of the playhead: a scene of 1,000 elements, each with 5 tracks of 10 keys, sought to 600
// successive times. Prints microseconds per seek and track evaluations per second.
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

#include <memory>

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

void BM_Scrub(benchmark::State &state)
{
    ScrubScene scene;
    const int nDuration = scene.pTimeline->duration();
    int64_t nSeeks = 0;
    for (auto _ : state) {
        for (int i = 0; i < kTimes; ++i)
            scene.pTimeline->seek(int(int64_t(i) * nDuration / kTimes));
        nSeeks += kTimes;
    }
    // kIsRate | kInvert gives seconds per seek; scaled to microseconds.
    state.counters["us_per_seek"] =
        benchmark::Counter(double(nSeeks) / 1e6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["track_evals_per_s"] =
        benchmark::Counter(double(nSeeks) * kElements * kTracks, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Scrub)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
