#include "canvas/KVCanvasUpdateRules.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVTimeline.h"
#include "commands/KVCmdParam.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVSymbol.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "resources/KVResource.h"

#include <QHash>

namespace {
using P = KVCmdParam;
using R = KVCanvasUpdateRules;

QSet<int> range(int nFirst, int nLast)
{
    QSet<int> set;
    for (int n = nFirst; n <= nLast; ++n)
        set.insert(n);
    return set;
}

// Type code -> the condition under which the page hears of it. Types not listed never concern it.
const QHash<int, R::Condition> &conditions()
{
    static const QHash<int, R::Condition> table = [] {
        QHash<int, R::Condition> map;
        const auto put = [&map](const QSet<int> &types, R::Condition condition) {
            for (int n : types)
                map.insert(n, condition);
        };
        put({1, 2}, R::SceneOrParentInScene);
        put({3, 4, 33, 1000, 1001, 1002, 1003, 1005, 1006, 1008, 1009, 1010, 1011, 1012, 1016, 1017,
             1019, 1021, 1023, 1024, 1026, 1031, 1032, 1033, 1034, 1035, 1042, 1043, 1044, 1045},
            R::ElementInScene);
        put({1040}, R::ElementAtCurrentLayout);
        // Overrides of a layout put back or taken away: the stage shows the element again.
        put({83, 84, 85}, R::ElementInScene);
        put({86, 87}, R::CurrentTimeline);
        put({11}, R::TimelineListOfScene);
        put(range(13, 16) + range(21, 32) + QSet<int>{56, 57, 58, 78, 80, 81}, R::CurrentTimeline);
        put(range(17, 20), R::CurrentTimelineAndLayout);
        put({69}, R::CurrentTimelineMotionPath);
        put({39, 40, 47, 49, 72, 73, 100, 1037, 1038, 1039}, R::Always);
        put({50, 52, 103}, R::ResourceInUse);
        put(range(59, 61) + range(89, 92), R::ContainerLayoutData);
        return map;
    }();
    return table;
}

// Types after which the page reloads the whole scene (1000 only for some elements, see below). A
// breakpoint added, removed or moved changes the rulers and may change the layout shown.
const QSet<int> kFullReloadTypes = {59, 60, 83, 84, 85, 86, 87, 89, 90, 91, 92, 100, 1038};

KVCmdParam *firstOfKind(const KVUpdateViewInfo &info, int nKind)
{
    if (!info.params())
        return nullptr;
    for (KVCmdParam *pParam : *info.params()) {
        if (pParam && pParam->kind() == nKind)
            return pParam;
    }
    return nullptr;
}

bool hasSymbolInstanceBelow(const KVElement *pElement)
{
    for (const KVElement *pChild : pElement->children()) {
        if (pChild->type() == KVElementType::Symbol || hasSymbolInstanceBelow(pChild))
            return true;
    }
    return false;
}

// The layout an animation belongs to within its timeline; false when the timeline does not hold it.
bool layoutOfAnimation(const KVTimeline *pTimeline, const KVAnimation *pAnimation, KVLayoutKey &layout)
{
    const auto &map = pTimeline->layoutAnimations();
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        if (it.value().contains(const_cast<KVAnimation *>(pAnimation))) {
            layout = it.key();
            return true;
        }
    }
    return false;
}

KVAnimation *animationOf(const KVUpdateViewInfo &info)
{
    if (KVCmdParam *pParam = firstOfKind(info, P::Animation))
        return pParam->animation();
    if (KVCmdParam *pParam = firstOfKind(info, P::Keyframe)) {
        for (QObject *p = pParam->object(); p; p = p->parent()) {
            if (auto *pAnimation = qobject_cast<KVAnimation *>(p))
                return pAnimation;
        }
    }
    return nullptr;
}
} // namespace

const QSet<int> &KVCanvasUpdateRules::repaintTypes()
{
    static const QSet<int> set = QSet<int>{1, 2, 3, 11} + range(17, 30)
        + QSet<int>{32, 33, 56, 57, 58, 59, 60, 61, 69, 75, 76, 78, 80, 89, 90, 91, 92, 1000, 1001,
                    1005, 1006, 1009, 1037, 1038, 1039};
    return set;
}

const QSet<int> &KVCanvasUpdateRules::scenePosTypes()
{
    static const QSet<int> set = {1, 2, 11, 17, 18, 19, 20, 23, 24, 25, 26, 29, 30, 32, 59, 60, 61,
                                  80, 1000, 1037, 1038, 1039};
    return set;
}

KVCanvasUpdateRules::Condition KVCanvasUpdateRules::conditionOf(int nType)
{
    return conditions().value(nType, Never);
}

KVTimeline *KVCanvasUpdateRules::timelineOf(const KVUpdateViewInfo &info)
{
    if (KVCmdParam *pParam = firstOfKind(info, P::Timeline))
        return pParam->timeline();
    if (!info.params())
        return nullptr;
    for (KVCmdParam *pParam : *info.params()) {
        for (QObject *p = pParam ? pParam->object() : nullptr; p; p = p->parent()) {
            if (auto *pTimeline = qobject_cast<KVTimeline *>(p))
                return pTimeline;
        }
    }
    return nullptr;
}

KVElement *KVCanvasUpdateRules::elementOf(const KVUpdateViewInfo &info)
{
    KVCmdParam *pParam = firstOfKind(info, P::Element);
    return pParam ? pParam->element() : nullptr;
}

bool KVCanvasUpdateRules::concernsPage(const KVUpdateViewInfo &info, KVScene *pScene, KVSymbol *pContainer)
{
    if (!pScene || !pContainer)
        return false;
    const KVCmdParamList *pParams = info.params();
    auto at = [pParams](int i) { return pParams ? pParams->value(i) : nullptr; };
    switch (conditionOf(info.type())) {
    case Never:
        return false;
    case Always:
        return true;
    case SceneOrParentInScene: {
        KVCmdParam *pScenePar = at(2);
        if (pScenePar && pScenePar->kind() == P::Scene && pScenePar->scene() == pScene)
            return true;
        KVCmdParam *pParent = at(3);
        return pParent && pParent->kind() == P::Element && pParent->element()
            && pParent->element()->root() == pScene;
    }
    case ElementInScene: {
        KVElement *pElement = elementOf(info);
        return pElement && pElement->root() == pScene;
    }
    case ElementAtCurrentLayout: {
        KVElement *pElement = elementOf(info);
        return pElement && pElement->root() == pScene
            && pElement->currentLayout() == pContainer->breakpoints()->currentLayout();
    }
    case TimelineListOfScene: {
        KVCmdParam *pOwner = firstOfKind(info, P::TimelineListOwner);
        return pOwner && pOwner->timelineListOwner() == pScene;
    }
    case CurrentTimeline:
    case CurrentTimelineAndLayout:
    case CurrentTimelineMotionPath: {
        KVTimeline *pTimeline = timelineOf(info);
        if (!pTimeline || pTimeline != pScene->currentTimeline())
            return false;
        if (conditionOf(info.type()) == CurrentTimeline)
            return true;
        KVAnimation *pAnimation = animationOf(info);
        if (!pAnimation)
            return false;
        if (conditionOf(info.type()) == CurrentTimelineMotionPath) {
            for (KVKeyframe *pTrack : pAnimation->keyframes()) {
                if (qobject_cast<KVMotionPathKeyframe *>(pTrack))
                    return true;
            }
            return false;
        }
        KVLayoutKey layout;
        // An animation added or removed names its layout; one in the timeline is looked up there.
        if (info.type() <= 18 && at(2) && at(3) && at(2)->kind() == P::Int && at(3)->kind() == P::Int)
            layout = KVLayoutKey(at(2)->toInt(), at(3)->toInt());
        else if (!layoutOfAnimation(pTimeline, pAnimation, layout))
            layout = pTimeline->currentLayout();
        return layout == pContainer->breakpoints()->currentLayout();
    }
    case ResourceInUse: {
        KVCmdParam *pResource = firstOfKind(info, P::Resource);
        return pResource && pResource->resource() && pResource->resource()->isInUse();
    }
    case ContainerLayoutData: {
        KVCmdParam *pData = firstOfKind(info, P::LayoutData);
        return pData && pData->object() && pData->object() == pContainer->breakpoints();
    }
    }
    return false;
}

bool KVCanvasUpdateRules::needsFullReload(const KVUpdateViewInfo &info)
{
    if (kFullReloadTypes.contains(info.type()))
        return true;
    if (info.type() != 1000)
        return false;
    const KVElement *pElement = elementOf(info);
    return pElement
        && (pElement->type() == KVElementType::Symbol || pElement->type() == KVElementType::Scene
            || hasSymbolInstanceBelow(pElement));
}
