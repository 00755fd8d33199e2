// Building, pushing and undoing the stage's arranging commands over many selected elements: align
// left, distribute horizontal centres, bring to front, and delete, each over N selected elements of a
// stage of N elements, at the base layout; and building the alignment alone.
#include "commands/IKVCommandTarget.h"
#include "commands/KVArrangeOperation.h"
#include "commands/KVCommand.h"
#include "commands/KVDeleteOperation.h"
#include "commands/KVEditContext.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QUndoStack>

#include <memory>

namespace {

class Target : public IKVCommandTarget
{
public:
    KVSceneList list;
    QUndoStack stack;
    KVScene *pScene = nullptr;

    explicit Target(int nCount)
    {
        pScene = list.createScene();
        list.addScene(pScene);
        list.setSceneSelected(pScene, true);
        for (int i = 0; i < nCount; ++i) {
            KVElement *p = KVElementFactory::createElement(5);
            p->setPositionX((i * 37) % 700, KVLayoutKey::base());
            p->setPositionY((i * 13) % 500, KVLayoutKey::base());
            p->setSizeW(20 + i % 50, KVLayoutKey::base());
            pScene->addElement(p);
            p->setSelected(true);
        }
    }
    KVSceneList *commandSceneList() const override { return const_cast<KVSceneList *>(&list); }
    QUndoStack *commandUndoStack() const override { return const_cast<QUndoStack *>(&stack); }
    void emitDataChanged(QObject *) override {}

    KVEditContext context() const
    {
        KVEditContext c;
        c.pTarget = const_cast<Target *>(this);
        c.pScene = pScene;
        c.nFocusedId = pScene->children().constFirst()->id();
        return c;
    }
};

// Builds the command, pushes it (which runs it) and undoes it, so every round starts alike.
template <typename Build>
void runRounds(benchmark::State &state, Build build)
{
    Target t(int(state.range(0)));
    for (auto _ : state) {
        KVCommand *pCommand = build(t.context());
        if (!pCommand) {
            state.SkipWithError("nothing to do");
            return;
        }
        KVCommand::push(pCommand);
        t.stack.undo();
        state.PauseTiming();
        t.stack.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_AlignLeft(benchmark::State &state)
{
    runRounds(state, [](const KVEditContext &c) { return KVArrangeOperation::align(c, KVArrangeOperation::AlignLeft); });
}

// Only working out the command (no push): what the operation itself costs.
void BM_AlignLeftBuildOnly(benchmark::State &state)
{
    Target t(int(state.range(0)));
    for (auto _ : state)
        delete KVArrangeOperation::align(t.context(), KVArrangeOperation::AlignLeft);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_DistributeCentres(benchmark::State &state)
{
    runRounds(state, [](const KVEditContext &c) { return KVArrangeOperation::align(c, KVArrangeOperation::DistHCenter); });
}

void BM_BringToFront(benchmark::State &state)
{
    // Every other element, so that each one really moves.
    runRounds(state, [](const KVEditContext &c) {
        KVEditContext half = c;
        const QList<KVElement *> &children = c.pScene->children();
        for (int i = 0; i < children.size(); i += 2)
            half.selection.append(children.at(i));
        return KVArrangeOperation::displayOrder(half, KVArrangeOperation::ToFront);
    });
}

void BM_Delete(benchmark::State &state)
{
    runRounds(state, [](const KVEditContext &c) { return KVDeleteOperation::removeSelected(c); });
}

} // namespace

BENCHMARK(BM_AlignLeft)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AlignLeftBuildOnly)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DistributeCentres)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BringToFront)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Delete)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
