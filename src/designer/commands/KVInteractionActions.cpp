#include "commands/KVInteractionActions.h"

#include "animation/KVTimeline.h"
#include "commands/IKVCommandTarget.h"
#include "commands/KVCommandAction.h"
#include "commands/KVCommandItem.h"
#include "document/KVSymbol.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"

#include <QJsonArray>

namespace {

using P = KVCmdParam;

KVCommandItem *itemOf(const KVCmdParam *p, int nKind)
{
    return p && p->kind() == nKind ? qobject_cast<KVCommandItem *>(p->object()) : nullptr;
}

KVEventListenerList *listOf(const KVCmdParam *p)
{
    return p && p->kind() == P::OwnedObject ? qobject_cast<KVEventListenerList *>(p->object()) : nullptr;
}

bool applyHandler(KVCommandAction &a, bool bForward)
{
    const bool bChange = a.type() == 37;
    if (!a.hasKinds({P::OwnedObject, P::ActionItem, bChange ? P::JsonObject : P::Int}))
        return false;
    KVEventListenerList *pList = listOf(a.param(0));
    KVCommandItem *pItem = itemOf(a.param(1), P::ActionItem);
    KVEventListener *pHandler = pItem ? pItem->handler() : nullptr;
    if (!pList || !pHandler)
        return false;
    const int nIndexNow = pList->indexOf(pHandler);
    if (bChange) {
        if (nIndexNow < 0 || a.param(2)->toJsonObject().isEmpty())
            return false;
        const QJsonObject joOld = pHandler->toJson();
        pHandler->fromJson(a.param(2)->toJsonObject());
        a.param(2)->setValue(joOld);
        return true;
    }
    if (a.type() == 36) {
        const int nTo = a.param(2)->toInt();
        if (nIndexNow < 0 || nTo < 0 || nTo >= pList->count())
            return false;
        pList->remove(pHandler);
        pList->insert(pHandler, nTo);
        a.param(2)->setValue(nIndexNow);
        return true;
    }
    const bool bAdd = (a.type() == 34) == bForward;
    if (bAdd) {
        if (nIndexNow >= 0) {
            // Already there: an addition that did not happen, which its undo must not take back.
            if (a.type() == 34)
                a.param(2)->setValue(-1);
            return false;
        }
        a.param(2)->setValue(pList->insert(pHandler, a.param(2)->toInt()));
        pItem->setOwnsItem(false);
        return true;
    }
    // Taking back an addition removes the handler only from where the addition put it.
    if (nIndexNow < 0 || (a.type() == 34 && a.param(2)->toInt() != nIndexNow))
        return false;
    a.param(2)->setValue(pList->remove(pHandler));
    pItem->setOwnsItem(true);
    return true;
}

bool applyTrigger(KVCommandAction &a)
{
    if (!a.hasKinds({P::Timeline, P::OwnedObject, P::Int}) || !a.param(0)->timeline())
        return false;
    KVTimeline *pTimeline = a.param(0)->timeline();
    KVEventListenerList *pTrigger = listOf(a.param(1));
    if (!pTrigger || !pTimeline->triggers().contains(pTrigger) || a.param(2)->toInt() < 0)
        return false;
    const int nOld = pTrigger->triggerTime();
    if (!pTimeline->setTriggerTime(pTrigger, a.param(2)->toInt()))
        return false;
    a.param(2)->setValue(nOld);
    return true;
}

KVFunctionContainer *functionsOf(const KVCommandAction &a)
{
    KVSymbol *pProject = a.document() ? a.document()->commandProject() : nullptr;
    return pProject ? pProject->functions() : nullptr;
}

bool applyFunction(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::FunctionList, P::Function, P::Int}))
        return false;
    KVFunctionContainer *pList = functionsOf(a);
    KVCommandItem *pItem = itemOf(a.param(1), P::Function);
    KVFunction *pFunction = pItem ? pItem->function() : nullptr;
    if (!pList || !pFunction)
        return false;
    const bool bAdd = (a.type() == 44) == bForward;
    if (bAdd) {
        const int nIndex = pList->indexOf(pFunction) >= 0 ? -1 : pList->insert(pFunction, a.param(2)->toInt());
        if (nIndex < 0) {
            // An addition that did not happen, which its undo must not take back.
            if (a.type() == 44)
                a.param(2)->setValue(-1);
            return false;
        }
        a.param(2)->setValue(nIndex);
        pItem->setOwnsItem(false);
        return true;
    }
    const int nIndexNow = pList->indexOf(pFunction);
    if (nIndexNow < 0 || (a.type() == 44 && a.param(2)->toInt() != nIndexNow))
        return false;
    a.param(2)->setValue(pList->remove(pFunction));
    pItem->setOwnsItem(true);
    return true;
}

bool applyFunctionChange(KVCommandAction &a)
{
    if (!a.hasKinds({P::FunctionList, P::Int, P::String, P::JsonArray, P::String}))
        return false;
    KVFunctionContainer *pList = functionsOf(a);
    KVFunction *pFunction = pList ? pList->findById(a.param(1)->toInt()) : nullptr;
    const QString strName = a.param(2)->toString();
    if (!pFunction || !KVFunction::isValidName(strName) || pList->isNameTaken(strName, pFunction))
        return false;
    QStringList params;
    for (const QJsonValue &jv : a.param(3)->toJsonArray()) {
        if (!jv.isString())
            return false;
        params.append(jv.toString());
    }
    const QString strOldName = pFunction->name();
    const QJsonArray jaOld = QJsonArray::fromStringList(pFunction->params());
    const QString strOldContent = pFunction->content();
    pFunction->setName(strName);
    pFunction->setParams(params);
    pFunction->setContent(a.param(4)->toString());
    a.param(2)->setValue(strOldName);
    a.param(3)->setValue(jaOld);
    a.param(4)->setValue(strOldContent);
    return true;
}

} // namespace

bool KVInteractionActions::handles(int nType)
{
    return (nType >= 34 && nType <= 38) || (nType >= 44 && nType <= 46);
}

bool KVInteractionActions::apply(KVCommandAction &a, bool bForward)
{
    switch (a.type()) {
    case 34:
    case 35:
    case 36:
    case 37: return applyHandler(a, bForward);
    case 38: return applyTrigger(a);
    case 44:
    case 45: return applyFunction(a, bForward);
    case 46: return applyFunctionChange(a);
    default: return false;
    }
}
