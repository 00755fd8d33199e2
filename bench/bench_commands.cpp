// Pushing, undoing and redoing commands on a stage of 10,000 elements: a geometry change of one
// element, the insertion of one element, and one command that deletes 100 elements.
#include "commands/IKVCommandTarget.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QUndoStack>

namespace {

constexpr int kElementCount = 10000;

using P = KVCmdParam;

// A project of one scene; views count the notifications.
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
        for (int i = 0; i < kElementCount; ++i) {
            KVElement *p = KVElementFactory::createElement(5);
            p->setPositionX(i % 700, KVLayoutKey::base());
            pScene->addElement(p);
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

void BM_GeometryChange(benchmark::State &state)
{
    Target &t = target();
    KVElement *pElement = t.pScene->children().at(kElementCount / 2);
    for (auto _ : state) {
        auto *pCommand = new KVCommand(&t, QStringLiteral("Change Geometry"));
        auto *pAction = new KVElementCommandAction(1000, &t, 7);
        for (P *p : {P::makeObject(P::Element, pElement), P::makeInt(0), P::makeInt(0), P::makeVariant(QVariant()),
                     P::makeIntList({0, 2}), P::makeDouble(12), P::makeDouble(34)}) {
            pAction->addParam(p);
        }
        pCommand->addAction(pAction);
        KVCommand::push(pCommand);
        t.stack.undo();
        t.stack.redo();
    }
    t.stack.clear();
}
BENCHMARK(BM_GeometryChange)->Unit(benchmark::kMicrosecond);

void BM_InsertElement(benchmark::State &state)
{
    Target &t = target();
    for (auto _ : state) {
        auto *pCommand = new KVCommand(&t, QStringLiteral("Insert Element"));
        auto *pAction = new KVCommandAction(1, &t, 3);
        pAction->addParam(P::makeObject(P::Element, KVElementFactory::createElement(5), true));
        pAction->addParam(P::makeInt(-1));
        pAction->addParam(P::makeObject(P::Scene, t.pScene));
        pCommand->addAction(pAction);
        KVCommand::push(pCommand);
        t.stack.undo();
        t.stack.redo();
        t.stack.undo();
    }
    t.stack.clear();
}
BENCHMARK(BM_InsertElement)->Unit(benchmark::kMicrosecond);

// One command removing 100 elements spread over the stage: push, undo, redo, undo.
void BM_Delete100(benchmark::State &state)
{
    Target &t = target();
    for (auto _ : state) {
        auto *pCommand = new KVCommand(&t, QStringLiteral("Delete"));
        for (int i = 0; i < 100; ++i) {
            auto *pAction = new KVCommandAction(2, &t, 3);
            pAction->addParam(P::makeObject(P::Element, t.pScene->children().at(i * 97)));
            pAction->addParam(P::makeInt(-1));
            pAction->addParam(P::makeObject(P::Scene, t.pScene));
            pCommand->addAction(pAction);
        }
        KVCommand::push(pCommand);
        t.stack.undo();
        t.stack.redo();
        t.stack.undo();
    }
    t.stack.clear();
}
BENCHMARK(BM_Delete100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
