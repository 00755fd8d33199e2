// Player-form and project-form writing of event handlers, and the functions table, at the sizes
// of a large project: a scene with a few hundred interactive elements and a few hundred functions.
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"

#include <benchmark/benchmark.h>

#include <QJsonObject>

namespace {
void fillList(KVEventListenerList &list, int nCount)
{
    const int actions[] = {1, 3, 22, 41, 46, 70, 100, 101, 103};
    for (int i = 0; i < nCount; ++i) {
        QJsonObject data{{"timeline_id", i % 5}, {"element_id", i}, {"speed", (i % 3 - 1) * 150},
                         {"time", i % 2 ? QJsonValue(i * 10) : QJsonValue(QStringLiteral("label"))},
                         {"scene_id", -2}, {"trans_default", i % 4 == 0}, {"trans_type", 2},
                         {"url", "https://example.org"}, {"function_id", i % 50}};
        list.insert(new KVEventListener(100 + i % 12, actions[i % 9], data));
    }
}

void BM_PlayerEvents(benchmark::State &state)
{
    KVEventListenerList list;
    fillList(list, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(list.toPlayerEvents());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlayerEvents)->Arg(10)->Arg(1000);

void BM_ProjectRoundTrip(benchmark::State &state)
{
    KVEventListenerList list;
    fillList(list, int(state.range(0)));
    KVEventListenerList read;
    for (auto _ : state) {
        read.fromJson(list.toJson());
        benchmark::DoNotOptimize(read.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ProjectRoundTrip)->Arg(10)->Arg(1000);

void BM_FunctionsTable(benchmark::State &state)
{
    KVFunctionContainer container;
    for (int i = 0; i < state.range(0); ++i) {
        KVFunction *pFunction = KVFunction::create(KVFunction::ElementHandler);
        pFunction->setContent(QStringLiteral("var x = e.target;\nx.style.opacity = 0.5;\nreturn x;"));
        container.insert(pFunction);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(container.functionsTable());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FunctionsTable)->Arg(10)->Arg(500);

// Inserting new functions that all want the same name: each insert walks the growing name chain.
void BM_UniqueNameInsert(benchmark::State &state)
{
    for (auto _ : state) {
        KVFunctionContainer container;
        for (int i = 0; i < state.range(0); ++i)
            container.insert(KVFunction::create(KVFunction::ElementHandler));
        benchmark::DoNotOptimize(container.count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UniqueNameInsert)->Arg(10)->Arg(200);
} // namespace

BENCHMARK_MAIN();
