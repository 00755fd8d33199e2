#include "KVScene.h"

#include <limits>

#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"
#include "model/KVSceneList.h"
#include "model/KVSceneProperty.h"
#include "model/KVSceneTransition.h"

#include <QColor>

#include <algorithm>

using namespace KVJsonUtil;

namespace {

const QString kNextChildId = QStringLiteral("nextChildId");
const QString kIsSelected = QStringLiteral("isSelected");
const QString kAutoAdvance = QStringLiteral("autoAdvance");
const QString kTsType = QStringLiteral("tsType");
const QString kTsDuration = QStringLiteral("tsDuration");
const QString kTsEasing = QStringLiteral("tsEasing");
const QString kTsDirection = QStringLiteral("tsDirection");
const QString kTimelines = QStringLiteral("timelines");

// The counter a scene read without "nextChildId" continues from.
constexpr int kReadNextChildId = 1000;
constexpr int kStageWidth = 800;
constexpr int kStageHeight = 600;

// Scene events: 50..56.
constexpr int kFirstSceneEvent = 50;
constexpr int kLastSceneEvent = 56;

bool isPlaybackKind(int nType)
{
    return nType == KVElementType::Audio || nType == KVElementType::Video
        || nType == KVElementType::Symbol;
}

// A child of a media or symbol animation that is not a property track is its playback: it has
// something to play when its list holds items (its length is then that of the list).
bool hasPlaybackItems(const KVAnimation *pAnimation)
{
    for (int n = 0; n < pAnimation->animationCount(); ++n) {
        const QAbstractAnimation *pChild = pAnimation->animationAt(n);
        if (qobject_cast<const KVKeyframe *>(pChild))
            continue;
        if (pChild->duration() > 0)
            return true;
        const auto lists = pChild->findChildren<KVEventListenerList *>();
        for (const KVEventListenerList *pList : lists) {
            if (!pList->isEmpty())
                return true;
        }
    }
    return false;
}

} // namespace

KVScene::KVScene()
    : m_pTimelines(new KVTimelineList(this))
{
}

KVScene::~KVScene()
{
    if (m_pSceneList)
        m_pSceneList->removeScene(this);
    // The animations refer to the elements: they go first.
    delete m_pTimelines;
    m_pTimelines = nullptr;
}

KVElement *KVScene::clone() const
{
    auto *pCopy = new KVScene;
    copyContainerInto(pCopy);
    pCopy->m_pSceneList = m_pSceneList;
    pCopy->m_bAutoAdvance = m_bAutoAdvance;
    pCopy->m_nTransitionType = m_nTransitionType;
    pCopy->m_nTransitionDuration = m_nTransitionDuration;
    pCopy->m_nTransitionEasing = m_nTransitionEasing;
    pCopy->m_nTransitionDirection = m_nTransitionDirection;
    // Read back into the copy, the animations find the copy's elements by their (same) ids.
    QJsonObject joTimelines;
    m_pTimelines->toJson(joTimelines);
    pCopy->m_pTimelines->fromJson(joTimelines);
    return pCopy;
}

int KVScene::type() const
{
    return KVElementType::Scene;
}

void KVScene::init()
{
    KVElementContainer::init();
    if (KVElementProperty *pBase = property(KVLayoutKey::base())) {
        pBase->setPositionX(0.0);
        pBase->setPositionY(0.0);
        pBase->setSizeW(kStageWidth);
        pBase->setSizeH(kStageHeight);
        pBase->setUnitX(0);
        pBase->setUnitY(0);
        pBase->setUnitW(0);
        pBase->setUnitH(0);
        pBase->background()->setFillStyle(KVBackground::SolidFill);
        pBase->background()->setSolidColor(QColor(Qt::white));
        pBase->border()->setStyle(0);
    }
    delete m_pTimelines;
    m_pTimelines = new KVTimelineList(this);
    m_pSceneList = nullptr;
    m_bAutoAdvance = true;
    m_nTransitionType = 0;
    m_nTransitionDuration = 0;
    m_nTransitionEasing = 0;
    m_nTransitionDirection = 0;
}

void KVScene::makeUniqueName()
{
    if (m_pSceneList)
        setName(m_pSceneList->uniqueSceneName(this));
    else if (name().isEmpty())
        setName(firstNameCandidate());
    for (KVElement *pChild : children())
        pChild->makeUniqueName();
}

bool KVScene::isEventTypeSupported(int nEventType) const
{
    return (nEventType >= kFirstSceneEvent && nEventType <= kLastSceneEvent)
        || KVElementContainer::isEventTypeSupported(nEventType);
}

void KVScene::collectFunctions(QMap<int, const KVFunction *> &map,
                               const KVFunctionContainer &container) const
{
    KVElementContainer::collectFunctions(map, container);
    for (const KVTimeline *pTimeline : m_pTimelines->timelines()) {
        for (const KVEventListenerList *pTrigger : pTimeline->triggers())
            pTrigger->collectFunctions(map, container);
        if (pTimeline->events())
            pTimeline->events()->collectFunctions(map, container);
    }
}

void KVScene::remapFunctions(const QHash<int, int> &functionIdMap)
{
    KVElementContainer::remapFunctions(functionIdMap);
    for (KVTimeline *pTimeline : m_pTimelines->timelines()) {
        for (KVEventListenerList *pTrigger : pTimeline->triggers())
            pTrigger->remapFunctions(functionIdMap);
        if (pTimeline->events())
            pTimeline->events()->remapFunctions(functionIdMap);
    }
}

void KVScene::remapElements(const QHash<int, int> &elementIdMap, const KVElementScope &scope)
{
    KVElementContainer::remapElements(elementIdMap, scope);
    for (KVTimeline *pTimeline : m_pTimelines->timelines()) {
        for (KVEventListenerList *pTrigger : pTimeline->triggers())
            pTrigger->remapElements(elementIdMap, scope);
        if (pTimeline->events())
            pTimeline->events()->remapElements(elementIdMap, scope);
    }
}

void KVScene::collectFonts(KVFontFaces &fonts) const
{
    for (const KVElement *pChild : children())
        pChild->collectFonts(fonts);
}

void KVScene::setCurrentLayout(const KVLayoutKey &layout)
{
    KVElementContainer::setCurrentLayout(layout);
    if (!m_pTimelines)
        return;
    for (KVTimeline *pTimeline : m_pTimelines->timelines())
        pTimeline->setCurrentLayout(layout);
}

void KVScene::toJson(QJsonObject &jo) const
{
    KVElementContainer::toJson(jo);
    jo.insert(kNextChildId, nextChildId());
    jo.insert(kIsSelected, isSelected());
    jo.insert(kAutoAdvance, m_bAutoAdvance);
    jo.insert(kTsType, m_nTransitionType);
    jo.insert(kTsDuration, m_nTransitionDuration);
    jo.insert(kTsEasing, m_nTransitionEasing);
    jo.insert(kTsDirection, m_nTransitionDirection);
    QJsonObject joTimelines;
    m_pTimelines->toJson(joTimelines);
    jo.insert(kTimelines, joTimelines);
}

bool KVScene::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    KVElementContainer::fromJson(jo, pContext);

    // Ids already in the tree are never handed out again, whatever the file says.
    int nNext = readInt(jo, kNextChildId, kReadNextChildId);
    // (The scene's own id belongs to the scene list's numbering.)
    for (const KVElement *pChild : children()) {
        pChild->forEachInSubtree([&nNext](const KVElement *pElement) {
            // The counter stops at the largest id an int holds (only a damaged file gets there).
            if (pElement->id() >= nNext)
                nNext = pElement->id() < std::numeric_limits<int>::max() ? pElement->id() + 1 : pElement->id();
        });
    }
    setNextChildId(nNext);
    // Ids the file gives several elements are made unique before the timelines name them.
    m_readRepairs = renumberRepeatedIds();

    const bool bSelected = readBool(jo, kIsSelected, false);
    if (bSelected != isSelected()) {
        // A scene outside the list (a copy that knows it) only changes its flag.
        if (!m_pSceneList || !m_pSceneList->setSceneSelected(this, bSelected))
            setSelected(bSelected);
    }
    m_bAutoAdvance = readBool(jo, kAutoAdvance, true);
    m_nTransitionType = readInt(jo, kTsType, 0);
    m_nTransitionDuration = readInt(jo, kTsDuration, 0);
    m_nTransitionEasing = readInt(jo, kTsEasing, 0);
    m_nTransitionDirection = readInt(jo, kTsDirection, 0);
    m_pTimelines->fromJson(readObject(jo, kTimelines));
    forgetReadIds();
    for (const KVTimeline *pTimeline : m_pTimelines->timelines()) {
        if (pTimeline->droppedAnimations() > 0) {
            m_readRepairs << tr("Timeline \"%1\": %2 animations name no element of the scene and were left out.")
                                 .arg(pTimeline->name())
                                 .arg(pTimeline->droppedAnimations());
        }
    }
    return true;
}

void KVScene::toPlayerJson(QJsonObject &jo, bool bForCanvas, const KVLayoutKey &layout)
{
    // The exported stage starts from the values at time 0; the editor stays where it was.
    KVTimeline *pAtZero = bForCanvas ? nullptr : firstAnimatedTimeline();
    const int nRemembered = pAtZero ? pAtZero->currentTimeMs() : 0;
    if (pAtZero)
        quietSeek(pAtZero, 0);

    KVElementContainer::toPlayerJson(jo, bForCanvas, layout);
    jo.insert(QStringLiteral("aa"), m_bAutoAdvance);
    if (!bForCanvas) {
        jo.insert(QStringLiteral("st"),
                  KVSceneTransition::toPlayerArray(m_nTransitionType, m_nTransitionDuration,
                                                   m_nTransitionEasing, m_nTransitionDirection));
    }

    if (pAtZero) {
        quietSeek(pAtZero, nRemembered);
        if (KVTimeline *pCurrent = currentTimeline())
            quietSeek(pCurrent, pCurrent->currentTimeMs());
    }

    QJsonArray jaTimelines;
    if (bForCanvas) {
        if (const KVTimeline *pCurrent = currentTimeline()) {
            QJsonObject joTimeline;
            pCurrent->toPlayerJson(joTimeline, true, false);
            jaTimelines.append(joTimeline);
        }
    } else {
        for (const KVTimeline *pTimeline : m_pTimelines->timelines()) {
            QJsonObject joTimeline;
            pTimeline->toPlayerJson(joTimeline, false, true);
            jaTimelines.append(joTimeline);
        }
    }
    jo.insert(QStringLiteral("timelines"), jaTimelines);
    const KVTimeline *pCurrent = currentTimeline();
    jo.insert(QStringLiteral("currentTime"), pCurrent ? pCurrent->currentTimeMs() : 0);
    if (uses3D())
        jo.insert(QStringLiteral("t3d"), true);
}

KVTimeline *KVScene::mainTimeline() const
{
    return m_pTimelines->mainTimeline();
}

KVTimeline *KVScene::currentTimeline() const
{
    return m_pTimelines->currentTimeline();
}

int KVScene::effectiveTransitionDuration() const
{
    return m_nTransitionType != KVSceneTransition::None ? m_nTransitionDuration : 0;
}

KVSceneProperty *KVScene::sceneProperty(const KVLayoutKey &layout) const
{
    return qobject_cast<KVSceneProperty *>(property(layout));
}

#define KV_PERSPECTIVE_VALUE(getter, setter, neutral)                                              \
    double KVScene::getter(const KVLayoutKey &layout) const                                        \
    {                                                                                              \
        const KVSceneProperty *pProperty = sceneProperty(layout);                                  \
        return pProperty ? pProperty->getter() : (neutral);                                        \
    }                                                                                              \
    void KVScene::setter(double d, const KVLayoutKey &layout)                                      \
    {                                                                                              \
        if (KVSceneProperty *pProperty = sceneProperty(layout))                                    \
            pProperty->setter(d);                                                                  \
    }

KV_PERSPECTIVE_VALUE(perspectiveOrgX, setPerspectiveOrgX, 0.0)
KV_PERSPECTIVE_VALUE(perspectiveOrgY, setPerspectiveOrgY, 0.0)
KV_PERSPECTIVE_VALUE(perspectiveOrgZ, setPerspectiveOrgZ, 0.0)

#undef KV_PERSPECTIVE_VALUE

bool KVScene::holdsAnimatedContent(const KVTimeline *pTimeline)
{
    if (!pTimeline)
        return false;
    for (const QList<KVAnimation *> &animations : pTimeline->layoutAnimations()) {
        for (const KVAnimation *pAnimation : animations) {
            const QList<KVKeyframe *> tracks = pAnimation->keyframes();
            if (std::any_of(tracks.cbegin(), tracks.cend(),
                            [](const KVKeyframe *pTrack) { return !pTrack->isEmpty(); }))
                return true;
            if (pAnimation->element() && isPlaybackKind(pAnimation->element()->type())
                && hasPlaybackItems(pAnimation))
                return true;
        }
    }
    return false;
}

KVTimeline *KVScene::firstAnimatedTimeline() const
{
    for (KVTimeline *pTimeline : m_pTimelines->timelines()) {
        if (holdsAnimatedContent(pTimeline))
            return pTimeline;
    }
    return nullptr;
}

void KVScene::quietSeek(KVTimeline *pTimeline, int nTime)
{
    const bool bWasBlocked = pTimeline->blockSignals(true);
    pTimeline->seek(nTime);
    pTimeline->blockSignals(bWasBlocked);
}
