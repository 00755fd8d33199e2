#include "commands/IKVCommandTarget.h"

#include "model/KVScene.h"
#include "model/KVSceneList.h"

KVScene *IKVCommandTarget::commandCurrentScene() const
{
    KVSceneList *pList = commandSceneList();
    if (!pList)
        return nullptr;
    if (!pList->selectedScenes().isEmpty())
        return pList->selectedScenes().constFirst();
    return pList->at(0);
}

KVSceneList *IKVCommandTarget::sceneListOf(QObject *pOwner) const
{
    if (!pOwner)
        return nullptr;
    if (auto *pList = qobject_cast<KVSceneList *>(pOwner))
        return pList;
    KVSceneList *pCurrent = commandSceneList();
    if (pCurrent && pCurrent->owner() == pOwner)
        return pCurrent;
    return nullptr;
}
