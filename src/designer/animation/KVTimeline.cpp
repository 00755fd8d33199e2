#include "animation/KVTimeline.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVPlaybackAnimation.h"
#include "animation/KVPropertyCatalogue.h"
#include "interaction/KVEventListenerList.h"
#include "model/KVElement.h"
#include "model/KVElementContainer.h"
#include "model/KVJsonUtil.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QHash>
#include <QSet>
#include <QVariantAnimation>

#include <algorithm>

namespace {

const QString kId = QStringLiteral("id");
const QString kName = QStringLiteral("name");
const QString kDuration = QStringLiteral("duration");
const QString kCurrentTime = QStringLiteral("current_time");
const QString kLoopTimeline = QStringLiteral("loop_timeline");
const QString kOnlyShowAnimElement = QStringLiteral("only_show_anim_element");
const QString kShowSnapping = QStringLiteral("show_snapping");
const QString kSnapToGrid = QStringLiteral("snap_to_grid");
const QString kSnapToPlayhead = QStringLiteral("snap_to_playhead");
const QString kSnapToKeyframes = QStringLiteral("snap_to_keyframes");
const QString kShowGrid = QStringLiteral("show_grid");
const QString kGridSize = QStringLiteral("grid_size");
const QString kPixelPerSecond = QStringLiteral("pixel_per_second");
const QString kLabels = QStringLiteral("map_label_to_ts");
const QString kLabelName = QStringLiteral("label_name");
const QString kLabelValue = QStringLiteral("label_value");
const QString kTriggers = QStringLiteral("triggers");
const QString kEvents = QStringLiteral("events");
const QString kRespAnims = QStringLiteral("respAnims");
const QString kHLayoutId = QStringLiteral("hLayoutId");
const QString kVLayoutId = QStringLiteral("vLayoutId");
const QString kSceneAnimation = QStringLiteral("scene_animation");
const QString kAnimations = QStringLiteral("animations");
const QString kElementId = QStringLiteral("element_id");

// Grid lines per second of the timeline view's grid, by grid_size index.
constexpr int kGridRates[] = {1, 2, 4, 10, 15, 24, 30};

QVariantAnimation *newKeeper(QParallelAnimationGroup *pGroup)
{
    auto *pKeeper = new QVariantAnimation;
    pKeeper->setDuration(0);
    pGroup->addAnimation(pKeeper);
    return pKeeper;
}

// A timeline at rest gives every child the time, as the framework's parallel groups do when
// stopped, without their bookkeeping on every level; each track and each other animation then
// sets its own time.
void applyAtRest(QAbstractAnimation *pAnimation, int nTime)
{
    auto *pGroup = qobject_cast<KVAnimation *>(pAnimation);
    if (!pGroup) {
        pAnimation->setCurrentTime(nTime);
        return;
    }
    for (int n = 0, nCount = pGroup->animationCount(); n < nCount; ++n)
        pGroup->animationAt(n)->setCurrentTime(nTime);
}

} // namespace

KVTimeline::KVTimeline(KVElement *pOwner, QObject *pParent)
    : QParallelAnimationGroup(pParent),
      m_strName(QStringLiteral("Timeline")),
      m_pOwner(pOwner),
      m_defaultEasing(QEasingCurve::Linear),
      m_pEvents(new KVEventListenerList)
{
    m_pLabelKeeper = newKeeper(this);
    m_pTriggerKeeper = newKeeper(this);
}

KVTimeline::~KVTimeline()
{
    m_bTimeUpdatesEnabled = false;
    stop();
    deleteAnimations();
    deleteTriggers();
    delete m_pEvents;
}

KVElement *KVTimeline::findElement(int nElementId) const
{
    if (!m_pOwner)
        return nullptr;
    if (const KVElementContainer *pContainer = m_pOwner->asContainer())
        return pContainer->findElement(nElementId);
    // A symbol's own tree: depth first, each element before its children.
    QList<KVElement *> stack;
    const QList<KVElement *> &roots = m_pOwner->children();
    for (auto it = roots.crbegin(); it != roots.crend(); ++it)
        stack.append(*it);
    while (!stack.isEmpty()) {
        KVElement *pElement = stack.takeLast();
        if (pElement->id() == nElementId)
            return pElement;
        const QList<KVElement *> &children = pElement->children();
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            stack.append(*it);
    }
    return nullptr;
}

// --- Time ----------------------------------------------------------------------------------------

void KVTimeline::seek(int nTime)
{
    // At rest every child of every group takes the time (a paused group would skip the children
    // that ran to their end, and restarting them all costs more than the seek), and the segments
    // write their values themselves. Leaving play or pause must not rewind the children.
    if (state() != QAbstractAnimation::Stopped) {
        m_bTimeUpdatesEnabled = false;
        stop();
        m_bTimeUpdatesEnabled = true;
    }
    m_bShowsTime = true;
    applyTime(nTime);
}

void KVTimeline::playFrom(int nTime)
{
    // Starting from the stopped state rewinds the group to 0; the children must not see that.
    m_bTimeUpdatesEnabled = false;
    if (state() != QAbstractAnimation::Stopped)
        stop();
    start();
    if (state() == QAbstractAnimation::Running)
        pause();
    m_bTimeUpdatesEnabled = true;
    applyTime(nTime);
    if (state() == QAbstractAnimation::Paused)
        resume();
}

void KVTimeline::applyTime(int nTime)
{
    KVKeyframeSegment::WriteScope scope;
    m_bSeeking = true;
    if (state() == QAbstractAnimation::Stopped) {
        for (int n = 0, nCount = animationCount(); n < nCount; ++n)
            applyAtRest(animationAt(n), std::max(0, nTime));
    } else {
        setCurrentTime(nTime);
    }
    m_bSeeking = false;
    storeTime(nTime);
}

KVTimeline *KVTimeline::of(const QAbstractAnimation *pAnimation)
{
    for (const QAbstractAnimation *p = pAnimation; p; p = p->group()) {
        if (auto *pTimeline = qobject_cast<const KVTimeline *>(p))
            return const_cast<KVTimeline *>(pTimeline);
    }
    return nullptr;
}

void KVTimeline::updateCurrentTime(int nCurrentTime)
{
    if (!m_bTimeUpdatesEnabled)
        return;
    QParallelAnimationGroup::updateCurrentTime(nCurrentTime);
    if (!m_bSeeking)
        storeTime(nCurrentTime);
}

void KVTimeline::storeTime(int nTime)
{
    if (m_nCurrentTime == nTime)
        return;
    m_nCurrentTime = nTime;
    emit timeChanged();
}

// --- Labels --------------------------------------------------------------------------------------

void KVTimeline::addLabel(const QString &strName, int nTime)
{
    m_mapLabels.insert(strName, nTime);
    updateLabelKeeper();
}

bool KVTimeline::removeLabel(const QString &strName)
{
    if (m_mapLabels.remove(strName) == 0)
        return false;
    updateLabelKeeper();
    return true;
}

bool KVTimeline::setLabelTime(const QString &strName, int nTime)
{
    auto it = m_mapLabels.find(strName);
    if (it == m_mapLabels.end())
        return false;
    it.value() = nTime;
    updateLabelKeeper();
    return true;
}

void KVTimeline::updateLabelKeeper()
{
    int nLast = 0;
    for (int nTime : qAsConst(m_mapLabels))
        nLast = std::max(nLast, nTime);
    m_pLabelKeeper->setDuration(nLast);
}

// --- Triggers ------------------------------------------------------------------------------------

bool KVTimeline::addTrigger(KVEventListenerList *pTrigger)
{
    if (!pTrigger || m_listTriggers.contains(pTrigger))
        return false;
    m_listTriggers.append(pTrigger);
    updateTriggerKeeper();
    return true;
}

bool KVTimeline::removeTrigger(KVEventListenerList *pTrigger)
{
    if (!m_listTriggers.removeOne(pTrigger))
        return false;
    updateTriggerKeeper();
    return true;
}

bool KVTimeline::setTriggerTime(KVEventListenerList *pTrigger, int nTime)
{
    if (!m_listTriggers.contains(pTrigger))
        return false;
    pTrigger->setTriggerTime(nTime);
    updateTriggerKeeper();
    return true;
}

QList<KVEventListenerList *> KVTimeline::triggersSortedByTime() const
{
    QList<KVEventListenerList *> sorted = m_listTriggers;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const KVEventListenerList *pA, const KVEventListenerList *pB) {
                         return pA->triggerTime() < pB->triggerTime();
                     });
    return sorted;
}

void KVTimeline::updateTriggerKeeper()
{
    int nLast = 0;
    for (const KVEventListenerList *pTrigger : qAsConst(m_listTriggers))
        nLast = std::max(nLast, pTrigger->triggerTime());
    m_pTriggerKeeper->setDuration(nLast);
}

void KVTimeline::updateKeepers()
{
    updateLabelKeeper();
    updateTriggerKeeper();
}

void KVTimeline::deleteTriggers()
{
    const QList<KVEventListenerList *> triggers = m_listTriggers;
    m_listTriggers.clear();
    qDeleteAll(triggers);
    m_pTriggerKeeper->setDuration(0);
}

// --- Animations ----------------------------------------------------------------------------------

bool KVTimeline::addAnimation(KVAnimation *pAnimation, const KVLayoutKey &layout)
{
    if (!pAnimation)
        return false;
    if (m_mapAnimations.value(layout).contains(pAnimation))
        return false;
    appendAnimation(pAnimation, layout);
    return true;
}

void KVTimeline::appendAnimation(KVAnimation *pAnimation, const KVLayoutKey &layout)
{
    m_mapAnimations[layout].append(pAnimation);
    if (layout == m_currentLayout)
        QParallelAnimationGroup::addAnimation(pAnimation);
    watch(pAnimation);
}

bool KVTimeline::removeAnimation(KVAnimation *pAnimation, const KVLayoutKey &layout)
{
    auto it = m_mapAnimations.find(layout);
    if (it == m_mapAnimations.end() || !it.value().removeOne(pAnimation))
        return false;
    // A layout left without animations is dropped, so taking back the first animation of a layout
    // leaves the timeline as it was.
    if (it.value().isEmpty())
        m_mapAnimations.erase(it);
    if (layout == m_currentLayout && pAnimation->group() == this) {
        takeAnimation(indexOfAnimation(pAnimation));
        pAnimation->stop();
    }
    // An animation may be held by more than one layout only by mistake; keep watching it then.
    bool bElsewhere = false;
    for (const QList<KVAnimation *> &other : qAsConst(m_mapAnimations))
        bElsewhere = bElsewhere || other.contains(pAnimation);
    if (!bElsewhere)
        unwatch(pAnimation);
    return true;
}

KVAnimation *KVTimeline::findAnimation(const KVElement *pElement, const KVLayoutKey &layout) const
{
    const auto it = m_mapAnimations.constFind(layout);
    if (it == m_mapAnimations.cend())
        return nullptr;
    for (KVAnimation *pAnimation : it.value()) {
        if (pAnimation->element() == pElement)
            return pAnimation;
    }
    return nullptr;
}

void KVTimeline::setCurrentLayout(const KVLayoutKey &layout)
{
    if (layout == m_currentLayout)
        return;
    // Every animation child leaves the group; the keepers stay.
    for (int n = animationCount() - 1; n >= 0; --n) {
        QAbstractAnimation *pChild = animationAt(n);
        if (pChild == m_pLabelKeeper || pChild == m_pTriggerKeeper)
            continue;
        takeAnimation(n);
        pChild->stop();
    }
    for (KVAnimation *pAnimation : m_mapAnimations.value(layout))
        QParallelAnimationGroup::addAnimation(pAnimation);
    m_currentLayout = layout;
}

bool KVTimeline::isAnimatable(const KVElement *pElement, int nPropertyCode,
                              const KVLayoutKey &referenceLayout, const KVLayoutKey &editedLayout)
{
    return KVPropertyCatalogue::isAnimatable(pElement, nPropertyCode, referenceLayout, editedLayout);
}

void KVTimeline::watch(KVAnimation *pAnimation)
{
    // The lambda compares the stored pointer only; the object is half destroyed by then.
    connect(pAnimation, &QObject::destroyed, this, [this, pAnimation]() {
        for (QList<KVAnimation *> &list : m_mapAnimations)
            list.removeAll(pAnimation);
    });
}

void KVTimeline::unwatch(KVAnimation *pAnimation)
{
    disconnect(pAnimation, &QObject::destroyed, this, nullptr);
}

void KVTimeline::deleteAnimations()
{
    const QMap<KVLayoutKey, QList<KVAnimation *>> map = m_mapAnimations;
    m_mapAnimations.clear();
    QList<KVAnimation *> all;
    QSet<KVAnimation *> seen;
    for (const QList<KVAnimation *> &list : map) {
        for (KVAnimation *pAnimation : list) {
            if (!seen.contains(pAnimation)) {
                seen.insert(pAnimation);
                all.append(pAnimation);
            }
        }
    }
    for (KVAnimation *pAnimation : qAsConst(all)) {
        unwatch(pAnimation);
        // Deleting a child also takes it out of the group.
        delete pAnimation;
    }
}

// --- Grid ----------------------------------------------------------------------------------------

int KVTimeline::gridLinesPerSecond(int nGridSize)
{
    constexpr int nCount = int(sizeof(kGridRates) / sizeof(kGridRates[0]));
    return nGridSize >= 0 && nGridSize < nCount ? kGridRates[nGridSize] : kGridRates[0];
}

QString KVTimeline::gridRateLabel(int nGridSize)
{
    return QCoreApplication::translate("KVTimeline", "%1 / second").arg(gridLinesPerSecond(nGridSize));
}

// --- Project form --------------------------------------------------------------------------------

void KVTimeline::toJson(QJsonObject &jo) const
{
    jo.insert(kId, m_nId);
    jo.insert(kName, m_strName);
    jo.insert(kDuration, duration());
    jo.insert(kCurrentTime, m_nCurrentTime);
    jo.insert(kLoopTimeline, m_bLoopTimeline);
    jo.insert(kOnlyShowAnimElement, m_bOnlyShowAnimElement);
    jo.insert(kShowSnapping, m_bShowSnapping);
    jo.insert(kSnapToGrid, m_bSnapToGrid);
    jo.insert(kSnapToPlayhead, m_bSnapToPlayhead);
    jo.insert(kSnapToKeyframes, m_bSnapToKeyframes);
    jo.insert(kShowGrid, m_bShowGrid);
    jo.insert(kGridSize, m_nGridSize);
    jo.insert(kPixelPerSecond, m_dPixelPerSecond);

    QJsonArray jaLabels;
    for (auto it = m_mapLabels.cbegin(); it != m_mapLabels.cend(); ++it)
        jaLabels.append(QJsonObject{{kLabelName, it.key()}, {kLabelValue, it.value()}});
    jo.insert(kLabels, jaLabels);

    QJsonArray jaTriggers;
    for (const KVEventListenerList *pTrigger : m_listTriggers)
        jaTriggers.append(pTrigger->toJson());
    jo.insert(kTriggers, jaTriggers);

    if (m_pEvents)
        jo.insert(kEvents, m_pEvents->toJson());

    QJsonArray jaLayouts;
    for (auto it = m_mapAnimations.cbegin(); it != m_mapAnimations.cend(); ++it) {
        QJsonObject joLayout;
        joLayout.insert(kHLayoutId, it.key().nHLayoutId);
        joLayout.insert(kVLayoutId, it.key().nVLayoutId);
        QJsonArray jaAnimations;
        bool bSceneWritten = false;
        for (const KVAnimation *pAnimation : it.value()) {
            QJsonObject joAnimation;
            pAnimation->toJson(joAnimation);
            if (!bSceneWritten && m_pOwner && pAnimation->element() == m_pOwner) {
                joLayout.insert(kSceneAnimation, joAnimation);
                bSceneWritten = true;
            } else {
                jaAnimations.append(joAnimation);
            }
        }
        joLayout.insert(kAnimations, jaAnimations);
        jaLayouts.append(joLayout);
    }
    jo.insert(kRespAnims, jaLayouts);
}

void KVTimeline::fromJson(const QJsonObject &jo)
{
    m_nId = KVJsonUtil::readInt(jo, kId, -1);
    m_strName = KVJsonUtil::readString(jo, kName, QStringLiteral("Timeline"));
    m_nCurrentTime = KVJsonUtil::readInt(jo, kCurrentTime, 0);
    m_bLoopTimeline = KVJsonUtil::readBool(jo, kLoopTimeline, false);
    m_bOnlyShowAnimElement = KVJsonUtil::readBool(jo, kOnlyShowAnimElement, false);
    m_bShowSnapping = KVJsonUtil::readBool(jo, kShowSnapping, false);
    m_bSnapToGrid = KVJsonUtil::readBool(jo, kSnapToGrid, false);
    m_bSnapToPlayhead = KVJsonUtil::readBool(jo, kSnapToPlayhead, false);
    m_bSnapToKeyframes = KVJsonUtil::readBool(jo, kSnapToKeyframes, false);
    m_bShowGrid = KVJsonUtil::readBool(jo, kShowGrid, false);
    m_nGridSize = KVJsonUtil::readInt(jo, kGridSize, 0);
    m_dPixelPerSecond = KVJsonUtil::readDouble(jo, kPixelPerSecond, 0.0);

    m_mapLabels.clear();
    for (const QJsonValue &value : KVJsonUtil::readArray(jo, kLabels)) {
        if (!value.isObject())
            continue;
        const QJsonObject joLabel = value.toObject();
        m_mapLabels.insert(KVJsonUtil::readString(joLabel, kLabelName),
                           KVJsonUtil::readInt(joLabel, kLabelValue, 0));
    }
    updateLabelKeeper();

    deleteTriggers();
    for (const QJsonValue &value : KVJsonUtil::readArray(jo, kTriggers)) {
        if (!value.isArray())
            continue;
        auto *pTrigger = new KVEventListenerList;
        pTrigger->fromJson(value.toArray());
        addTrigger(pTrigger);
    }

    const QJsonValue events = jo.value(kEvents);
    if (!events.isUndefined() && !events.isNull())
        m_pEvents->fromJson(events.toArray());

    // The animations of every layout are replaced; the base layout becomes current.
    for (int n = animationCount() - 1; n >= 0; --n) {
        QAbstractAnimation *pChild = animationAt(n);
        if (pChild != m_pLabelKeeper && pChild != m_pTriggerKeeper)
            takeAnimation(n);
    }
    deleteAnimations();
    m_currentLayout = KVLayoutKey::base();
    m_nDroppedAnimations = 0;

    const QJsonValue respAnims = jo.value(kRespAnims);
    if (respAnims.isArray()) {
        for (const QJsonValue &value : respAnims.toArray()) {
            if (!value.isObject())
                continue;
            const QJsonObject joLayout = value.toObject();
            readLayoutAnimations(joLayout, KVLayoutKey(KVJsonUtil::readInt(joLayout, kHLayoutId, 0),
                                                       KVJsonUtil::readInt(joLayout, kVLayoutId, 0)));
        }
    } else {
        // Older projects keep the base layout's animations in the timeline object itself.
        readLayoutAnimations(jo, KVLayoutKey::base());
    }
}

void KVTimeline::readLayoutAnimations(const QJsonObject &jo, const KVLayoutKey &layout)
{
    // The key is there even when the layout holds no animation, so that it is written back.
    m_mapAnimations[layout];
    const KVElementContainer *pRoot = m_pOwner ? m_pOwner->asContainer() : nullptr;
    // How often each element id was named so far: an id the file gave several elements names
    // them one after the other.
    QHash<int, int> occurrences;
    for (const QJsonValue &value : KVJsonUtil::readArray(jo, kAnimations)) {
        if (!value.isObject())
            continue;
        const QJsonObject joAnimation = value.toObject();
        const QJsonValue elementId = joAnimation.value(kElementId);
        // An animation of an element that the owner does not hold is dropped.
        KVElement *pElement = nullptr;
        if (elementId.isDouble()) {
            const int nId = KVJsonUtil::intFromJson(elementId, -1);
            pElement = pRoot ? pRoot->elementReadAs(nId, occurrences[nId]++) : findElement(nId);
        }
        if (!pElement) {
            ++m_nDroppedAnimations;
            continue;
        }
        // Audio, video and symbol instances get a playback animation.
        KVAnimation *pAnimation = KVPlaybackAnimation::createFor(pElement);
        pAnimation->fromJson(joAnimation, this, layout);
        // A new animation is in no list yet: no search through the ones read before.
        appendAnimation(pAnimation, layout);
    }
    const QJsonObject joScene = KVJsonUtil::readObject(jo, kSceneAnimation);
    if (m_pOwner && !joScene.isEmpty()) {
        auto *pAnimation = new KVAnimation(m_pOwner);
        pAnimation->fromJson(joScene, this, layout);
        if (!addAnimation(pAnimation, layout))
            delete pAnimation;
    }
}

// --- Player form ---------------------------------------------------------------------------------

void KVTimeline::toPlayerJson(QJsonObject &jo, bool bCanvasMode, bool bWithActions) const
{
    jo.insert(QStringLiteral("id"), m_nId);
    jo.insert(QStringLiteral("n"), m_strName);
    jo.insert(QStringLiteral("dur"), duration());

    if (bCanvasMode) {
        QJsonArray jaEntries;
        QJsonArray jaMotionElements;
        for (const KVAnimation *pAnimation : m_mapAnimations.value(m_currentLayout)) {
            pAnimation->toPlayerJson(jaEntries, true);
            if (pAnimation->element()
                && qobject_cast<KVMotionPathKeyframe *>(pAnimation->keyframe(KVPropertyCatalogue::Location)))
                jaMotionElements.append(pAnimation->element()->id());
        }
        if (!jaEntries.isEmpty())
            jo.insert(QStringLiteral("anims"), jaEntries);
        if (!jaMotionElements.isEmpty())
            jo.insert(QStringLiteral("motionElems"), jaMotionElements);
    } else {
        QJsonArray jaLayouts;
        for (auto it = m_mapAnimations.cbegin(); it != m_mapAnimations.cend(); ++it) {
            QJsonArray jaEntries;
            for (const KVAnimation *pAnimation : it.value())
                pAnimation->toPlayerJson(jaEntries, false);
            if (!jaEntries.isEmpty())
                jaLayouts.append(QJsonArray{it.key().nHLayoutId, it.key().nVLayoutId, jaEntries});
        }
        if (!jaLayouts.isEmpty())
            jo.insert(QStringLiteral("ra"), jaLayouts);
    }

    if (!m_mapLabels.isEmpty()) {
        QJsonObject joLabels;
        for (auto it = m_mapLabels.cbegin(); it != m_mapLabels.cend(); ++it)
            joLabels.insert(it.key(), it.value());
        jo.insert(QStringLiteral("l"), joLabels);
    }

    if (bCanvasMode || !bWithActions)
        return;
    QJsonArray jaTriggers;
    for (const KVEventListenerList *pTrigger : triggersSortedByTime()) {
        if (!pTrigger->isEmpty())
            jaTriggers.append(pTrigger->toPlayerTrigger());
    }
    if (!jaTriggers.isEmpty())
        jo.insert(QStringLiteral("t"), jaTriggers);
    if (m_pEvents) {
        const QJsonArray jaEvents = m_pEvents->toPlayerEvents();
        if (!jaEvents.isEmpty())
            jo.insert(QStringLiteral("e"), jaEvents);
    }
}
