// Timeline work at the sizes of a busy scene: scrubbing the playhead over a few hundred to a few
// thousand animated elements, switching responsive layouts, and writing and reading the timeline.
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
#include <QJsonObject>

#include <memory>

namespace {

const KVLayoutKey kWide(1, 0);

// nCount rectangles, each with an opacity and a rotation track of three keys over 0..3000 ms, in
// the base layout and in the wide layout.
struct Scene
{
    std::unique_ptr<KVElementContainer> pRoot = std::make_unique<KVElementContainer>();
    std::unique_ptr<KVTimeline> pTimeline;

    explicit Scene(int nCount)
    {
        pRoot->init();
        pRoot->setSizeW(1280);
        pRoot->setSizeH(720);
        pTimeline = std::make_unique<KVTimeline>(pRoot.get());
        for (int n = 0; n < nCount; ++n) {
            KVElement *pElement = KVElementFactory::createElement(KVElementType::Div);
            pRoot->addElement(pElement);
            pElement->addProperty(KVElementFactory::createProperty(KVElementType::Div), kWide);
            for (const KVLayoutKey &layout : {KVLayoutKey::base(), kWide}) {
                auto *pAnimation = new KVAnimation(pElement);
                for (int nCode : {int(KVPropertyCatalogue::Opacity), int(KVPropertyCatalogue::RotateZ)}) {
                    KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, layout);
                    const double dScale = nCode == KVPropertyCatalogue::Opacity ? 0.001 : 1.0;
                    pTrack->addKeyValue(new KVKeyValue(0, 0.0), 3, true);
                    pTrack->addKeyValue(new KVKeyValue(1000 + n % 500, 400 * dScale), 3, true);
                    pTrack->addKeyValue(new KVKeyValue(3000, 900 * dScale), 3, true);
                    pAnimation->addKeyframe(pTrack);
                }
                pTimeline->addAnimation(pAnimation, layout);
            }
        }
        pTimeline->addLabel(QStringLiteral("middle"), 1500);
    }
};

void setRate(benchmark::State &state, int64_t nPerIteration, const char *pszName)
{
    state.counters[pszName] = benchmark::Counter(double(state.iterations() * nPerIteration),
                                                 benchmark::Counter::kIsRate);
}

// One seek applies every track of every animated element.
void BM_Seek(benchmark::State &state)
{
    Scene scene(int(state.range(0)));
    int nTime = 0;
    for (auto _ : state) {
        nTime = (nTime + 37) % 3200;
        scene.pTimeline->seek(nTime);
    }
    setRate(state, 1, "seeks/s");
    setRate(state, state.range(0), "elements/s");
}
BENCHMARK(BM_Seek)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_LayoutSwitch(benchmark::State &state)
{
    Scene scene(int(state.range(0)));
    bool bWide = false;
    for (auto _ : state) {
        bWide = !bWide;
        scene.pTimeline->setCurrentLayout(bWide ? kWide : KVLayoutKey::base());
    }
    setRate(state, 1, "switches/s");
}
BENCHMARK(BM_LayoutSwitch)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_PlayerExport(benchmark::State &state)
{
    Scene scene(int(state.range(0)));
    for (auto _ : state) {
        QJsonObject jo;
        scene.pTimeline->toPlayerJson(jo, false, true);
        benchmark::DoNotOptimize(jo);
    }
    setRate(state, state.range(0), "elements/s");
}
BENCHMARK(BM_PlayerExport)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_ProjectRoundTrip(benchmark::State &state)
{
    Scene scene(int(state.range(0)));
    QJsonObject jo;
    scene.pTimeline->toJson(jo);
    KVTimeline read(scene.pRoot.get());
    for (auto _ : state) {
        QJsonObject joOut;
        read.fromJson(jo);
        read.toJson(joOut);
        benchmark::DoNotOptimize(joOut);
    }
    setRate(state, state.range(0), "elements/s");
}
BENCHMARK(BM_ProjectRoundTrip)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

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
