#include "commands/KVResourceActions.h"

#include "commands/IKVCommandTarget.h"
#include "commands/KVCommandAction.h"
#include "document/KVSymbol.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

bool KVResourceActions::apply(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({KVCmdParam::Resource}) || !a.param(0)->resource() || !a.document())
        return false;
    KVSymbol *pProject = a.document()->commandProject();
    KVResourceManager *pManager = pProject ? pProject->resourceManager() : nullptr;
    if (!pManager)
        return false;
    KVResource *pResource = a.param(0)->resource();
    KVResource *pHeld = pManager->resource(pResource->id());
    if (pHeld && pHeld != pResource)
        return false;
    if (!pHeld)
        return bForward && pManager->addResource(pResource);
    return pManager->setResourceDeleted(pResource->id(), !bForward);
}
