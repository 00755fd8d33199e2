#include "commands/IKVCommandTarget.h"

#include "document/KVSymbol.h"
#include "model/KVBreakpointSet.h"
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

KVSymbol *IKVCommandTarget::layoutContainer(QObject *pLayoutData) const
{
    KVSymbol *pProject = commandProject();
    if (pLayoutData && pProject && pProject->breakpoints() == pLayoutData)
        return pProject;
    return nullptr;
}

KVSceneList *IKVCommandTarget::layoutScenes(KVSymbol *pContainer) const
{
    if (!pContainer)
        return nullptr;
    if (pContainer == commandProject() && !editedSymbolResource())
        return commandSceneList();
    return pContainer->sceneList();
}
