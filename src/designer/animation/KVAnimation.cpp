#include "animation/KVAnimation.h"
#include <QEvent>

#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"

KVAnimation::KVAnimation(KVElement *pElement, QObject *pParent)
    : QParallelAnimationGroup(pParent), m_pElement(pElement)
{
}

KVAnimation::~KVAnimation()
{
    stop();
}

bool KVAnimation::setInherited(int nPropertyCode, bool bInherited)
{
    const bool bOld = isInherited(nPropertyCode);
    if (bInherited)
        m_mapInherit.remove(nPropertyCode);
    else
        m_mapInherit.insert(nPropertyCode, false);
    return bOld;
}

bool KVAnimation::addKeyframe(KVKeyframe *pKeyframe)
{
    if (!pKeyframe || keyframe(pKeyframe->type()))
        return false;
    addAnimation(pKeyframe);
    return true;
}

bool KVAnimation::removeKeyframe(KVKeyframe *pKeyframe)
{
    const int nIndex = indexOfAnimation(pKeyframe);
    if (nIndex < 0)
        return false;
    takeAnimation(nIndex);
    return true;
}

KVKeyframe *KVAnimation::keyframe(int nPropertyCode) const
{
    for (int n = 0; n < animationCount(); ++n) {
        auto *pKeyframe = qobject_cast<KVKeyframe *>(animationAt(n));
        if (pKeyframe && pKeyframe->type() == nPropertyCode)
            return pKeyframe;
    }
    return nullptr;
}

QList<KVKeyframe *> KVAnimation::keyframes() const
{
    QList<KVKeyframe *> list;
    for (int n = 0; n < animationCount(); ++n) {
        if (auto *pKeyframe = qobject_cast<KVKeyframe *>(animationAt(n)))
            list.append(pKeyframe);
    }
    return list;
}

int KVAnimation::length() const
{
    int nLength = 0;
    for (const KVKeyframe *pKeyframe : keyframes()) {
        if (!pKeyframe->isEmpty())
            nLength = std::max(nLength, pKeyframe->lastTime());
    }
    return nLength;
}

KVAnimation *KVAnimation::clone(KVTimeline *pTimeline, const KVLayoutKey &layout) const
{
    QJsonObject jo;
    toJson(jo);
    auto *pClone = new KVAnimation(m_pElement);
    pClone->fromJson(jo, pTimeline, layout);
    return pClone;
}

void KVAnimation::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("element_id"), m_pElement ? m_pElement->id() : -1);
    jo.insert(QStringLiteral("auto_orient"), m_bAutoOrient);
    QJsonArray jaKeyframes;
    for (const KVKeyframe *pKeyframe : keyframes()) {
        QJsonObject joKeyframe;
        pKeyframe->toJson(joKeyframe);
        jaKeyframes.append(joKeyframe);
    }
    jo.insert(QStringLiteral("keyframes"), jaKeyframes);
    QJsonArray jaInherit;
    for (auto it = m_mapInherit.cbegin(); it != m_mapInherit.cend(); ++it) {
        if (!it.value())
            jaInherit.append(it.key());
    }
    jo.insert(QStringLiteral("inherit"), jaInherit);
}

void KVAnimation::deleteKeyframes()
{
    stop();
    for (KVKeyframe *pKeyframe : keyframes()) {
        takeAnimation(indexOfAnimation(pKeyframe));
        delete pKeyframe;
    }
}

void KVAnimation::fromJson(const QJsonObject &jo, KVTimeline *pTimeline, const KVLayoutKey &layout)
{
    Q_UNUSED(pTimeline)
    deleteKeyframes();
    m_mapInherit.clear();
    m_bAutoOrient = KVJsonUtil::readBool(jo, QStringLiteral("auto_orient"), false);

    const QJsonArray jaKeyframes = KVJsonUtil::readArray(jo, QStringLiteral("keyframes"));
    for (const QJsonValue &v : jaKeyframes) {
        if (!v.isObject())
            continue;
        const QJsonObject joKeyframe = v.toObject();
        const int nType = KVJsonUtil::readInt(joKeyframe, QStringLiteral("type"), -1);
        if (keyframe(nType) || !KVPropertyCatalogue::isAnimatable(m_pElement, nType, layout, layout))
            continue;
        // Location tracks move the element along a motion path.
        KVKeyframe *pKeyframe = nType == KVPropertyCatalogue::Location
            ? KVMotionPathKeyframe::create(m_pElement, layout)
            : KVKeyframe::create(m_pElement, nType, layout);
        if (!pKeyframe)
            continue;
        pKeyframe->fromJson(joKeyframe);
        addKeyframe(pKeyframe);
    }
    // A path of the older absolute form has placed the element in pixels.
    auto *pPath = qobject_cast<KVMotionPathKeyframe *>(keyframe(KVPropertyCatalogue::Location));
    if (pPath && pPath->readLegacyPath())
        pPath->setElementUnitsToPixels();

    const QJsonArray jaInherit = KVJsonUtil::readArray(jo, QStringLiteral("inherit"));
    for (const QJsonValue &v : jaInherit) {
        const int nCode = KVJsonUtil::intFromJson(v, -1);
        if (KVPropertyCatalogue::isValidCode(nCode))
            m_mapInherit.insert(nCode, false);
    }
}

void KVAnimation::toPlayerJson(QJsonArray &entries, bool bCanvasMode) const
{
    int nElementId = -1;
    if (m_pElement)
        nElementId = m_pElement->type() == KVElementType::Scene ? 0 : m_pElement->id();
    for (const KVKeyframe *pKeyframe : keyframes())
        pKeyframe->toPlayerJson(entries, nElementId, bCanvasMode);
}

int KVAnimation::duration() const
{
    if (m_nCachedDuration == -2)
        m_nCachedDuration = QParallelAnimationGroup::duration();
    return m_nCachedDuration;
}

void KVAnimation::invalidateDuration()
{
    m_nCachedDuration = -2;
}

void KVAnimation::invalidateGroupDurations(QAbstractAnimation *pChanged)
{
    for (QAnimationGroup *pGroup = pChanged ? pChanged->group() : nullptr; pGroup; pGroup = pGroup->group()) {
        if (auto *pTrack = qobject_cast<KVKeyframe *>(pGroup))
            pTrack->invalidateDuration();
        else if (auto *pAnimation = qobject_cast<KVAnimation *>(pGroup))
            pAnimation->invalidateDuration();
    }
}

bool KVAnimation::event(QEvent *pEvent)
{
    const bool bResult = QParallelAnimationGroup::event(pEvent);
    if (pEvent->type() == QEvent::ChildAdded || pEvent->type() == QEvent::ChildRemoved) {
        m_nCachedDuration = -2;
        invalidateGroupDurations(this);
    }
    return bResult;
}
