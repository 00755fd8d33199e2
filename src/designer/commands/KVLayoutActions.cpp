#include "commands/KVLayoutActions.h"

#include "commands/IKVCommandTarget.h"
#include "commands/KVCommandAction.h"
#include "document/KVSymbol.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementProperty.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <QJsonObject>
#include <QPointer>

#include <algorithm>

namespace {

using P = KVCmdParam;

// The property objects of the layouts of a removed breakpoint, kept for the undo.
class KVRemovedLayouts : public QObject
{
public:
    struct Entry
    {
        QPointer<KVElement> pElement;
        KVLayoutKey layout;
        KVElementProperty *pProperty = nullptr;
    };

    ~KVRemovedLayouts() override
    {
        for (const Entry &e : m_listEntries)
            delete e.pProperty;
    }

    QList<Entry> m_listEntries;
    KVLayoutKey m_previous;
};

struct Container
{
    KVBreakpointSet *pSet = nullptr;
    KVSymbol *pSymbol = nullptr;
    KVSceneList *pScenes = nullptr;
};

bool containerOf(const KVCommandAction &a, Container &c)
{
    if (!a.param(0) || a.param(0)->kind() != P::LayoutData || !a.document())
        return false;
    c.pSet = qobject_cast<KVBreakpointSet *>(a.param(0)->object());
    c.pSymbol = c.pSet ? a.document()->layoutContainer(c.pSet) : nullptr;
    c.pScenes = a.document()->layoutScenes(c.pSymbol);
    return c.pSymbol != nullptr;
}

// The elements first: whoever hears of the set's change finds them at the layout already.
void showLayout(Container &c, const KVLayoutKey &layout)
{
    if (c.pScenes)
        c.pScenes->setCurrentLayout(layout);
    c.pSet->setCurrentLayout(layout);
}

void syncScenes(Container &c)
{
    if (!c.pScenes)
        return;
    const QList<KVLayoutKey> keys = c.pSet->layouts();
    for (int i = 0; i < c.pScenes->count(); ++i)
        c.pScenes->at(i)->syncLayouts(keys, true, KVLayoutKey::base());
}

bool usesId(const KVLayoutKey &layout, bool bVertical, int nId)
{
    return (bVertical ? layout.nVLayoutId : layout.nHLayoutId) == nId;
}

// Leaves a layout that uses the breakpoint for the base in that direction.
void leaveLayout(Container &c, bool bVertical, int nId)
{
    KVLayoutKey layout = c.pSet->currentLayout();
    if (!usesId(layout, bVertical, nId))
        return;
    (bVertical ? layout.nVLayoutId : layout.nHLayoutId) = 0;
    showLayout(c, layout);
}

bool applyStageValue(KVCommandAction &a)
{
    Container c;
    const bool bFlag = a.type() == 102;
    if (!a.hasKinds({P::LayoutData, bFlag ? P::Bool : P::Int}) || !containerOf(a, c))
        return false;
    KVCmdParam *pValue = a.param(1);
    switch (a.type()) {
    case 59: {
        if (pValue->toInt() < 1)
            return false;
        const int nOld = c.pSymbol->width();
        c.pSymbol->setWidth(pValue->toInt());
        pValue->setValue(nOld);
        break;
    }
    case 60: {
        if (pValue->toInt() < 1)
            return false;
        const int nOld = c.pSymbol->height();
        c.pSymbol->setHeight(pValue->toInt());
        pValue->setValue(nOld);
        break;
    }
    case 61: {
        const int nOld = c.pSymbol->align();
        c.pSymbol->setAlign(pValue->toInt());
        pValue->setValue(nOld);
        break;
    }
    default: {
        const bool bOld = c.pSymbol->autofit();
        c.pSymbol->setAutofit(pValue->toBool());
        pValue->setValue(bOld);
        break;
    }
    }
    return true;
}

bool addBreakpoint(KVCommandAction &a, Container &c, bool bVertical, int nValue, int nIdParam)
{
    const KVBreakpoint bp = c.pSet->addBreakpoint(bVertical, nValue, a.param(nIdParam)->toInt());
    if (!bp.isValid()) {
        // An addition that did not happen, which its undo must not take back.
        a.param(nIdParam)->setValue(0);
        return false;
    }
    a.param(nIdParam)->setValue(bp.nId);
    syncScenes(c);
    return true;
}

bool dropBreakpoint(Container &c, bool bVertical, int nId)
{
    if (c.pSet->valueOf(bVertical, nId) < 0)
        return false;
    leaveLayout(c, bVertical, nId);
    c.pSet->removeBreakpoint(bVertical, nId);
    syncScenes(c);
    return true;
}

// 89 forwards, 90 backwards.
bool applyAdd(KVCommandAction &a, bool bForward)
{
    Container c;
    if (!a.hasKinds({P::LayoutData, P::Int, P::Int, P::Int}) || !containerOf(a, c))
        return false;
    const bool bVertical = a.param(1)->toInt() != 0;
    if (bForward)
        return addBreakpoint(a, c, bVertical, a.param(2)->toInt(), 3);
    return dropBreakpoint(c, bVertical, a.param(3)->toInt());
}

bool applyRemove(KVCommandAction &a, bool bForward)
{
    Container c;
    if (!a.hasLeadingKinds({P::LayoutData, P::Int, P::Int, P::Int}, 4, 5) || !containerOf(a, c))
        return false;
    if (a.paramCount() == 5 && a.param(4)->kind() != P::OwnedObject)
        return false;
    const bool bVertical = a.param(1)->toInt() != 0;
    const int nId = a.param(2)->toInt();
    if (bForward) {
        const int nValue = c.pSet->valueOf(bVertical, nId);
        if (nValue < 0)
            return false;
        auto *pKept = new KVRemovedLayouts;
        pKept->m_previous = c.pSet->currentLayout();
        leaveLayout(c, bVertical, nId);
        if (c.pScenes) {
            for (int i = 0; i < c.pScenes->count(); ++i) {
                c.pScenes->at(i)->forEachInSubtree([&](const KVElement *pConst) {
                    auto *pElement = const_cast<KVElement *>(pConst);
                    for (const KVLayoutKey &layout : pElement->properties().keys()) {
                        if (usesId(layout, bVertical, nId))
                            pKept->m_listEntries.append({pElement, layout, pElement->takeProperty(layout)});
                    }
                });
            }
        }
        c.pSet->removeBreakpoint(bVertical, nId);
        a.param(3)->setValue(nValue);
        if (a.paramCount() == 5)
            a.param(4)->setObject(pKept, true);
        else
            a.addParam(P::makeObject(P::OwnedObject, pKept, true));
        return true;
    }
    auto *pKept = a.paramCount() == 5 ? dynamic_cast<KVRemovedLayouts *>(a.param(4)->object()) : nullptr;
    if (!c.pSet->addBreakpoint(bVertical, a.param(3)->toInt(), nId).isValid())
        return false;
    if (pKept) {
        for (KVRemovedLayouts::Entry &e : pKept->m_listEntries) {
            if (e.pElement && e.pElement->addProperty(e.pProperty, e.layout))
                e.pProperty = nullptr;
        }
        pKept->m_listEntries.erase(std::remove_if(pKept->m_listEntries.begin(), pKept->m_listEntries.end(),
                                                  [](const KVRemovedLayouts::Entry &e) { return !e.pProperty; }),
                                   pKept->m_listEntries.end());
    }
    syncScenes(c);
    if (pKept)
        showLayout(c, pKept->m_previous);
    return true;
}

bool applyUpdate(KVCommandAction &a)
{
    Container c;
    if (!a.hasKinds({P::LayoutData, P::Int, P::Int, P::Int}) || !containerOf(a, c))
        return false;
    const int nOld = c.pSet->setBreakpointValue(a.param(1)->toInt() != 0, a.param(2)->toInt(), a.param(3)->toInt());
    if (nOld < 0)
        return false;
    a.param(3)->setValue(nOld);
    return true;
}

bool applyCurrent(KVCommandAction &a)
{
    Container c;
    if (!a.hasKinds({P::LayoutData, P::Int, P::Int}) || !containerOf(a, c))
        return false;
    const bool bVertical = a.param(1)->toInt() != 0;
    const int nId = a.param(2)->toInt();
    if (nId != 0 && c.pSet->valueOf(bVertical, nId) < 0)
        return false;
    KVLayoutKey layout = c.pSet->currentLayout();
    int &nCurrent = bVertical ? layout.nVLayoutId : layout.nHLayoutId;
    const int nOld = nCurrent;
    nCurrent = nId;
    showLayout(c, layout);
    a.param(2)->setValue(nOld);
    return true;
}

bool applyElementLayout(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Element, P::Int, P::Int, P::Bool}) || !a.param(0)->element())
        return false;
    KVElement *pElement = a.param(0)->element();
    const KVLayoutKey layout(a.param(1)->toInt(), a.param(2)->toInt());
    if (layout.isBase() || layout.isCurrent())
        return false;
    if (bForward) {
        KVElementProperty *pBase = pElement->property(KVLayoutKey::base());
        const bool bAdd = !pElement->property(layout) && pBase;
        if (bAdd) {
            KVElementProperty *pCopy = pBase->clone();
            pCopy->setInheritFlags(QMap<int, bool>());
            pElement->addProperty(pCopy, layout);
        }
        a.param(3)->setValue(bAdd);
        return true;
    }
    if (a.param(3)->toBool())
        delete pElement->takeProperty(layout);
    return true;
}

QJsonObject intParam(int n)
{
    return QJsonObject{{QStringLiteral("type"), P::Int}, {QStringLiteral("value"), n}};
}

QJsonObject arrayParam(const QJsonArray &ja)
{
    return QJsonObject{{QStringLiteral("type"), P::JsonArray}, {QStringLiteral("value"), ja}};
}

} // namespace

bool KVLayoutActions::handles(int nType)
{
    return (nType >= 59 && nType <= 61) || (nType >= 89 && nType <= 92) || nType == 101 || nType == 102;
}

bool KVLayoutActions::apply(KVCommandAction &a, bool bForward)
{
    switch (a.type()) {
    case 59:
    case 60:
    case 61:
    case 102:
        return applyStageValue(a);
    case 89: return applyAdd(a, bForward);
    case 90: return applyRemove(a, bForward);
    case 91: return applyUpdate(a);
    case 92: return applyCurrent(a);
    case 101: return applyElementLayout(a, bForward);
    default: return false;
    }
}

QJsonArray KVLayoutActions::pageParams(int nType, const KVCmdParamList &params, IKVCommandTarget *pDocument,
                                       bool &bPrepared)
{
    QJsonArray ja;
    bPrepared = false;
    if ((nType < 59 || nType > 61) && nType != 92)
        return ja;
    bPrepared = true;
    auto *pSet = params.isEmpty() ? nullptr : qobject_cast<KVBreakpointSet *>(params.first()->object());
    KVSymbol *pSymbol = pSet && pDocument ? pDocument->layoutContainer(pSet) : nullptr;
    if (!pSymbol)
        return ja;
    if (nType != 92) {
        ja.append(intParam(pSymbol->width()));
        ja.append(intParam(pSymbol->height()));
        ja.append(intParam(pSymbol->align()));
        return ja;
    }
    // {"r"}, the current ids, the layout values [container width, height, then the low and high
    // ends of the current horizontal and vertical ranges], and per breakpoint [direction, id, value].
    ja.append(QJsonObject{{QStringLiteral("type"), P::JsonObject},
                          {QStringLiteral("value"), QJsonObject{{QStringLiteral("r"), pSet->isResponsiveMode()}}}});
    const KVLayoutKey layout = pSet->currentLayout();
    ja.append(intParam(layout.nHLayoutId));
    ja.append(intParam(layout.nVLayoutId));
    const KVBreakpointSet::Range h = pSet->rangeOf(false, layout.nHLayoutId);
    const KVBreakpointSet::Range v = pSet->rangeOf(true, layout.nVLayoutId);
    ja.append(arrayParam({pSymbol->width(), pSymbol->height(), h.first, h.second, v.first, v.second}));
    for (int nDirection : {0, 1}) {
        for (const KVBreakpoint &bp : pSet->breakpoints(nDirection == 1))
            ja.append(arrayParam({nDirection, bp.nId, bp.nValue}));
    }
    return ja;
}
