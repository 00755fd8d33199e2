#include "commands/KVStructureActions.h"

#include "commands/IKVCommandTarget.h"
#include "commands/KVCommandAction.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

namespace {

using P = KVCmdParam;

// Parameters of 1 and 2: element, index, scene, then the parent element when it is not the scene,
// then (written by the first insertion) the scene's id counter from before the insertion, which a
// removal puts back: taking out an element that a command added leaves the counter as it was.
struct ElementSlot
{
    KVElement *pElement = nullptr;
    KVScene *pScene = nullptr;
    KVElement *pParent = nullptr;
    int nCounterParam = -1;  // index of the recorded counter, -1 while there is none
};

bool elementSlot(const KVCommandAction &a, ElementSlot &slot)
{
    const int nCount = a.paramCount();
    if (nCount < 3 || nCount > 5 || !a.hasLeadingKinds({P::Element, P::Int, P::Scene}, 3, 5))
        return false;
    int nNext = 3;
    KVElement *pParent = nullptr;
    if (nCount > nNext && a.param(nNext)->kind() == P::Element)
        pParent = a.param(nNext++)->element();
    if (nCount > nNext && a.param(nNext)->kind() == P::Int)
        slot.nCounterParam = nNext++;
    if (nNext != nCount)
        return false;
    slot.pElement = a.param(0)->element();
    slot.pScene = a.param(2)->scene();
    slot.pParent = nNext > 3 && a.param(3)->kind() == P::Element ? pParent : slot.pScene;
    // A stage root never goes into another stage.
    if (!slot.pElement || !slot.pScene || !slot.pParent || slot.pParent->root() != slot.pScene
        || slot.pElement == slot.pParent || slot.pElement->asContainer()) {
        return false;
    }
    return true;
}

bool insertElement(KVCommandAction &a)
{
    ElementSlot slot;
    if (!elementSlot(a, slot) || slot.pElement->parent())
        return false;
    const int nCounter = slot.pScene->nextChildId();
    const int nIndex = slot.pScene->addElement(slot.pElement, a.param(1)->toInt(), slot.pParent);
    a.param(1)->setValue(nIndex);
    if (slot.nCounterParam < 0)
        a.addParam(P::makeInt(nCounter));
    else
        a.param(slot.nCounterParam)->setValue(nCounter);
    a.param(0)->setOwned(false);
    return true;
}

bool removeElement(KVCommandAction &a)
{
    ElementSlot slot;
    if (!elementSlot(a, slot) || slot.pElement->parent() != slot.pParent)
        return false;
    const int nIndex = slot.pParent->removeChild(slot.pElement);
    a.param(1)->setValue(nIndex);
    if (slot.nCounterParam >= 0)
        slot.pScene->setNextChildId(a.param(slot.nCounterParam)->toInt());
    a.param(0)->setOwned(true);
    return true;
}

// Type 3: element, old parent, old index (written back), new parent, new index.
bool moveElement(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Element, P::Element, P::Int, P::Element, P::Int}))
        return false;
    KVElement *pElement = a.param(0)->element();
    KVElement *pFrom = a.param(bForward ? 1 : 3)->element();
    KVElement *pTo = a.param(bForward ? 3 : 1)->element();
    if (!pElement || !pFrom || !pTo || pElement->parent() != pFrom || pTo->isInSubtreeOf(pElement)
        || pElement->asContainer() || pTo->root() != pFrom->root()) {
        return false;
    }
    const int nOld = pFrom->removeChild(pElement);
    a.param(bForward ? 2 : 4)->setValue(nOld);
    pTo->insertChild(pElement, a.param(bForward ? 4 : 2)->toInt());
    return true;
}

// Type 4, an exchange: the element goes to the index and its former index is written back.
bool displayOrder(KVCommandAction &a)
{
    if (!a.hasKinds({P::Element, 0, P::Int}))
        return false;
    KVElement *pElement = a.param(0)->element();
    KVElement *pParent = pElement ? pElement->parent() : nullptr;
    if (!pParent)
        return false;
    const int nOld = pParent->removeChild(pElement);
    const int nNew = pParent->insertChild(pElement, a.param(2)->toInt());
    Q_UNUSED(nNew)
    a.param(2)->setValue(nOld);
    return true;
}

KVSceneList *sceneListOf(const KVCommandAction &a, int nIndex)
{
    IKVCommandTarget *pTarget = a.document();
    QObject *pOwner = a.param(nIndex)->sceneListOwner();
    if (auto *pList = qobject_cast<KVSceneList *>(pOwner))
        return pList;
    return pTarget ? pTarget->sceneListOf(pOwner) : nullptr;
}

bool insertScene(KVCommandAction &a)
{
    if (!a.hasKinds({P::Scene, P::Int, P::SceneListOwner}))
        return false;
    KVScene *pScene = a.param(0)->scene();
    KVSceneList *pList = sceneListOf(a, 2);
    if (!pScene || !pList || pList->indexOf(pScene) >= 0)
        return false;
    const int nIndex = pList->addScene(pScene, a.param(1)->toInt());
    a.param(1)->setValue(nIndex);
    a.param(0)->setOwned(false);
    return true;
}

bool removeScene(KVCommandAction &a)
{
    if (!a.hasKinds({P::Scene, P::Int, P::SceneListOwner}))
        return false;
    KVScene *pScene = a.param(0)->scene();
    KVSceneList *pList = sceneListOf(a, 2);
    if (!pScene || !pList || pList->indexOf(pScene) < 0)
        return false;
    const int nIndex = pList->removeScene(pScene);
    a.param(1)->setValue(nIndex);
    a.param(0)->setOwned(true);
    return true;
}

// Types 7 and 33: object, requested state, then (written by each forward run) the state before.
// Forwards sets the requested state, backwards the recorded one. Neither a plain exchange nor a
// written-back negation would do: a request for the state the object already has would then be
// undone into the opposite state, and the selection restored before the actions would become
// what the next run applies.
bool selectionParams(const KVCommandAction &a, int nObjectKind)
{
    return a.hasKinds({nObjectKind, P::Bool}) || a.hasKinds({nObjectKind, P::Bool, P::Bool});
}

bool selectionTarget(KVCommandAction &a, bool bForward, bool bBefore)
{
    if (bForward) {
        if (a.paramCount() == 2)
            a.addParam(P::makeBool(bBefore));
        else
            a.param(2)->setValue(bBefore);
        return a.param(1)->toBool();
    }
    return a.paramCount() == 3 ? a.param(2)->toBool() : bBefore;
}

bool selectScene(KVCommandAction &a, bool bForward)
{
    if (!selectionParams(a, P::Scene))
        return false;
    KVScene *pScene = a.param(0)->scene();
    KVSceneList *pList = pScene ? pScene->sceneList() : nullptr;
    if (!pList)
        return false;
    pList->setSceneSelected(pScene, selectionTarget(a, bForward, pScene->isSelected()));
    return true;
}

// Type 8: the scene at "from" ends up before the scene that stood at "to"; backwards it goes home.
bool moveScene(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::SceneListOwner, P::Int, P::Int}))
        return false;
    KVSceneList *pList = sceneListOf(a, 0);
    if (!pList)
        return false;
    const int nFrom = a.param(1)->toInt();
    const int nTo = a.param(2)->toInt();
    if (bForward)
        return pList->moveScene(nFrom, nTo);
    // Where the scene landed, and the slot that puts it back at nFrom.
    const int nLanded = nFrom < nTo ? nTo - 1 : nTo;
    return pList->moveScene(nLanded, nFrom < nTo ? nFrom : nFrom + 1);
}

bool selectElement(KVCommandAction &a, bool bForward)
{
    if (!selectionParams(a, P::Element))
        return false;
    KVElement *pElement = a.param(0)->element();
    if (!pElement)
        return false;
    pElement->setSelected(selectionTarget(a, bForward, pElement->isSelected()));
    return true;
}

} // namespace

bool KVStructureActions::apply(KVCommandAction &a, bool bForward)
{
    switch (a.type()) {
    case KVCommandAction::InsertElement:
        return bForward ? insertElement(a) : removeElement(a);
    case KVCommandAction::RemoveElement:
        return bForward ? removeElement(a) : insertElement(a);
    case KVCommandAction::MoveElement:
        return moveElement(a, bForward);
    case KVCommandAction::DisplayOrder:
        return displayOrder(a);
    case KVCommandAction::InsertScene:
        return bForward ? insertScene(a) : removeScene(a);
    case KVCommandAction::RemoveScene:
        return bForward ? removeScene(a) : insertScene(a);
    case KVCommandAction::SelectScene:
        return selectScene(a, bForward);
    case KVCommandAction::MoveScene:
        return moveScene(a, bForward);
    case KVCommandAction::SelectElement:
        return selectElement(a, bForward);
    default:
        return false;
    }
}
