// Grouping on a stage of 10,000 elements in two layouts: making a group of the first N elements
// (building the command, pushing it, undoing it) and dissolving a group of N children.
#include "commands/IKVCommandTarget.h"
#include "commands/KVCommand.h"
#include "commands/KVGroupOperation.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QUndoStack>

namespace {

constexpr int kElementCount = 10000;
const KVLayoutKey kNarrow(1, 0);

class Target : public IKVCommandTarget
{
public:
    KVSceneList list;
    QUndoStack stack;
    KVScene *pScene = nullptr;
    long long nNotes = 0;

    Target()
    {
        pScene = list.createScene();
        list.addScene(pScene);
        pScene->syncLayouts({KVLayoutKey::base(), kNarrow}, true, KVLayoutKey::base());
        for (int i = 0; i < kElementCount; ++i) {
            KVElement *p = KVElementFactory::createElement(5);
            pScene->addElement(p);
            p->syncLayouts({KVLayoutKey::base(), kNarrow}, true, KVLayoutKey::base());
            p->setPositionX(i % 700, KVLayoutKey::base());
            p->setPositionY(i % 500, KVLayoutKey::base());
            p->setUnitX(1, kNarrow);
            p->setPositionX((i % 90) / 100.0, kNarrow);
            p->setInherited(0, false, kNarrow);
        }
    }
    KVSceneList *commandSceneList() const override { return const_cast<KVSceneList *>(&list); }
    QUndoStack *commandUndoStack() const override { return const_cast<QUndoStack *>(&stack); }
    void emitDataChanged(QObject *) override { ++nNotes; }
};

Target &target()
{
    static Target t;
    return t;
}

void BM_GroupAndUndo(benchmark::State &state)
{
    Target &t = target();
    const QList<KVElement *> selection = t.pScene->children().mid(0, int(state.range(0)));
    for (auto _ : state) {
        KVCommand *pCommand = KVGroupOperation::group(&t, selection);
        KVCommand::push(pCommand);
        t.stack.undo();
    }
    t.stack.clear();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GroupAndUndo)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_UngroupAndUndo(benchmark::State &state)
{
    Target &t = target();
    const QList<KVElement *> selection = t.pScene->children().mid(0, int(state.range(0)));
    KVCommand::push(KVGroupOperation::group(&t, selection));
    KVElement *pGroup = selection.first()->parent();
    for (auto _ : state) {
        KVCommand::push(KVGroupOperation::ungroup(&t, pGroup));
        t.stack.undo();
    }
    t.stack.undo();
    t.stack.clear();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UngroupAndUndo)->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
