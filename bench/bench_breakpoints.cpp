// Responsive layouts on a large stage: bringing 5,000 elements in line with the twelve layouts of
// three horizontal and two vertical breakpoints and back to the base alone, and picking the layout
// for container sizes in a set of 40 breakpoints per direction.
#include "model/KVBreakpointSet.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementProperty.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kElementCount = 5000;

// Groups of ten divs, with a few overrides at one layout so that clones carry flags.
std::unique_ptr<KVElementContainer> makeStage()
{
    auto pStage = std::make_unique<KVElementContainer>();
    pStage->init();
    KVElement *pGroup = nullptr;
    for (int i = 0; i < kElementCount; ++i) {
        if (i % 10 == 0) {
            pGroup = KVElementFactory::createElement(6);
            pStage->addElement(pGroup);
            continue;
        }
        KVElement *pDiv = KVElementFactory::createElement(5);
        pDiv->setOpacity(0.5 + (i % 5) * 0.1);
        pStage->addElement(pDiv, -1, pGroup);
    }
    return pStage;
}

void setRate(benchmark::State &state, int nPerIteration)
{
    state.SetItemsProcessed(state.iterations() * nPerIteration);
    state.counters["elements/s"] =
        benchmark::Counter(double(state.iterations()) * nPerIteration, benchmark::Counter::kIsRate);
}

void BM_SyncLayoutsGrowAndShrink(benchmark::State &state)
{
    KVBreakpointSet set;
    set.addHBreakpoint(320);
    set.addHBreakpoint(768);
    set.addHBreakpoint(1024);
    set.addVBreakpoint(480);
    set.addVBreakpoint(900);
    const QList<KVLayoutKey> all = set.layouts();
    const QList<KVLayoutKey> baseOnly{KVLayoutKey::base()};
    auto pStage = makeStage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pStage->syncLayouts(all, true, KVLayoutKey::base()));
        benchmark::DoNotOptimize(pStage->syncLayouts(baseOnly, true, KVLayoutKey::base()));
    }
    setRate(state, kElementCount + 1);
    state.counters["layouts"] = all.size();
}
BENCHMARK(BM_SyncLayoutsGrowAndShrink)->Unit(benchmark::kMillisecond);

// What the editor does when the user adds one breakpoint to a stage of 5,000 elements: the set
// gets the breakpoint and every element a property object for the new layout. The timed part is
// the addition; taking it back again is left out.
void BM_AddOneBreakpoint(benchmark::State &state)
{
    KVBreakpointSet set;
    auto pStage = makeStage();
    const QList<KVLayoutKey> baseOnly{KVLayoutKey::base()};
    for (auto _ : state) {
        set.addHBreakpoint(768);
        benchmark::DoNotOptimize(pStage->syncLayouts(set.layouts(), true, KVLayoutKey::base()));
        state.PauseTiming();
        set.removeHBreakpoint(set.hBreakpoints().first().nId);
        pStage->syncLayouts(baseOnly, true, KVLayoutKey::base());
        state.ResumeTiming();
    }
    setRate(state, kElementCount + 1);
}
BENCHMARK(BM_AddOneBreakpoint)->Unit(benchmark::kMillisecond);

void BM_LayoutFor(benchmark::State &state)
{
    KVBreakpointSet set;
    for (int i = 1; i <= 40; ++i) {
        set.addHBreakpoint(i * 97);
        set.addVBreakpoint(i * 61);
    }
    int nWidth = 0;
    for (auto _ : state) {
        nWidth = (nWidth + 37) % 4200;
        benchmark::DoNotOptimize(set.layoutFor(nWidth, nWidth / 2));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LayoutFor);

} // namespace

BENCHMARK_MAIN();
