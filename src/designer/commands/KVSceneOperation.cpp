#include "commands/KVSceneOperation.h"

#include "commands/IKVCommandTarget.h"
#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "document/KVSymbol.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

using P = KVCmdParam;

void KVSceneOperation::selectOnly(KVCommand *pCommand, KVSceneList *pList, KVScene *pWanted)
{
    IKVCommandTarget *pTarget = pCommand->document();
    for (KVScene *pScene : pList->scenes()) {
        if (pScene == pWanted || !pScene->isSelected())
            continue;
        auto *pAction = new KVCommandAction(KVCommandAction::SelectScene, pTarget, 2);
        pAction->addParam(P::makeObject(P::Scene, pScene));
        pAction->addParam(P::makeBool(false));
        pCommand->addAction(pAction);
    }
    if (!pWanted)
        return;
    auto *pAction = new KVCommandAction(KVCommandAction::SelectScene, pTarget, 2);
    pAction->addParam(P::makeObject(P::Scene, pWanted));
    pAction->addParam(P::makeBool(true));
    pCommand->addAction(pAction);
}

KVCommand *KVSceneOperation::insert(IKVCommandTarget *pTarget, KVScene *pScene, int nIndex,
                                    const QString &strText, QObject *pSender)
{
    KVSceneList *pList = pTarget->commandSceneList();
    // The new scene comes in unselected; the selection actions then make it the only one.
    pScene->setSelected(false);
    auto *pCommand = new KVCommand(pTarget, strText, pSender);
    auto *pAction = new KVCommandAction(KVCommandAction::InsertScene, pTarget, 3);
    pAction->addParam(P::makeObject(P::Scene, pScene, true));
    pAction->addParam(P::makeInt(nIndex));
    pAction->addParam(P::makeObject(P::SceneListOwner, pList));
    pCommand->addAction(pAction);
    selectOnly(pCommand, pList, pScene);
    return pCommand;
}

KVCommand *KVSceneOperation::blankScene(IKVCommandTarget *pTarget, KVScene *pAfter, QObject *pSender)
{
    KVSceneList *pList = pTarget ? pTarget->commandSceneList() : nullptr;
    if (!pList)
        return nullptr;
    const int nIndex = pAfter && pList->indexOf(pAfter) >= 0 ? pList->indexOf(pAfter) + 1 : pList->count();
    return insert(pTarget, pList->createScene(), nIndex, tr("Blank Scene"), pSender);
}

KVCommand *KVSceneOperation::duplicateScene(IKVCommandTarget *pTarget, KVScene *pScene, QObject *pSender)
{
    KVSceneList *pList = pTarget ? pTarget->commandSceneList() : nullptr;
    if (!pList || !pScene || pList->indexOf(pScene) < 0)
        return nullptr;
    auto *pCopy = static_cast<KVScene *>(pScene->clone());
    // The list gives the copy its own id and a free name ("<name>_1").
    pCopy->setId(-1);
    return insert(pTarget, pCopy, pList->indexOf(pScene) + 1, tr("Duplicate Scene"), pSender);
}

KVCommand *KVSceneOperation::removeScenes(IKVCommandTarget *pTarget, const QList<KVScene *> &scenes,
                                          QObject *pSender)
{
    KVSceneList *pList = pTarget ? pTarget->commandSceneList() : nullptr;
    if (!pList)
        return nullptr;
    QList<KVScene *> removed;
    for (KVScene *pScene : pList->scenes()) {
        if (scenes.contains(pScene))
            removed.append(pScene);
    }
    if (removed.isEmpty() || removed.size() >= pList->count())
        return nullptr;
    // The scene after the last removed one takes the stage, else the one before the first.
    KVScene *pNext = nullptr;
    for (int i = pList->indexOf(removed.constLast()) + 1; i < pList->count() && !pNext; ++i) {
        if (!removed.contains(pList->at(i)))
            pNext = pList->at(i);
    }
    for (int i = pList->indexOf(removed.constFirst()) - 1; i >= 0 && !pNext; --i) {
        if (!removed.contains(pList->at(i)))
            pNext = pList->at(i);
    }
    auto *pCommand = new KVCommand(pTarget, tr("Delete Scene"), pSender);
    selectOnly(pCommand, pList, pNext);
    // From the back, so that each recorded index still holds when undo puts them back in order.
    for (int i = removed.size() - 1; i >= 0; --i) {
        auto *pAction = new KVCommandAction(KVCommandAction::RemoveScene, pTarget, 3);
        pAction->addParam(P::makeObject(P::Scene, removed.at(i)));
        pAction->addParam(P::makeInt(pList->indexOf(removed.at(i))));
        pAction->addParam(P::makeObject(P::SceneListOwner, pList));
        pCommand->addAction(pAction);
    }
    return pCommand;
}

KVCommand *KVSceneOperation::moveScene(IKVCommandTarget *pTarget, int nFrom, int nTo, QObject *pSender)
{
    KVSceneList *pList = pTarget ? pTarget->commandSceneList() : nullptr;
    if (!pList || nFrom == nTo || nFrom < 0 || nTo < 0 || nFrom >= pList->count() || nTo >= pList->count())
        return nullptr;
    auto *pCommand = new KVCommand(pTarget, tr("Change Scene Index"), pSender);
    auto *pAction = new KVCommandAction(KVCommandAction::MoveScene, pTarget, 3);
    pAction->addParam(P::makeObject(P::SceneListOwner, pList));
    pAction->addParam(P::makeInt(nFrom));
    // The list's move puts the scene before the one that stood at the slot.
    pAction->addParam(P::makeInt(nTo > nFrom ? nTo + 1 : nTo));
    pCommand->addAction(pAction);
    return pCommand;
}

bool KVSceneOperation::show(IKVCommandTarget *pTarget, KVScene *pScene)
{
    KVSceneList *pList = pTarget ? pTarget->commandSceneList() : nullptr;
    if (!pList || pList->indexOf(pScene) < 0)
        return false;
    pTarget->pausePlayback();
    if (KVSymbol *pProject = pTarget->commandProject()) {
        if (pProject->sceneList() == pList)
            pProject->setCurrentScene(pScene);
    }
    KVCommand command(pTarget, QString());
    command.setPausePlaybackFirst(false);
    selectOnly(&command, pList, pScene);
    command.execute();
    return true;
}
