#include "commands/KVTimelineActions.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVPlayback.h"
#include "animation/KVPlaybackAnimation.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommandAction.h"
#include "commands/KVCommandItem.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "model/KVScene.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

using P = KVCmdParam;

constexpr int NotDone = -2;

// Whether the keys at or after nTime can move by nDelta without passing the keys before nTime.
bool canRipple(const QList<KVKeyValue *> &keys, int nTime, int nDelta)
{
    for (const KVKeyValue *pKey : keys) {
        if (pKey->time() >= nTime && pKey->time() + nDelta < 0)
            return false;
        if (nDelta < 0 && pKey->time() < nTime && pKey->time() >= nTime + nDelta)
            return false;
    }
    return true;
}

void ripple(KVKeyframe *pTrack, int nTime, int nDelta)
{
    QList<KVKeyValue *> keys = pTrack->keyValues();
    // Moving away from the fixed keys first, no key meets a neighbour that has not moved yet.
    if (nDelta > 0)
        std::reverse(keys.begin(), keys.end());
    for (KVKeyValue *pKey : keys) {
        if (pKey->time() >= nTime)
            pTrack->setKeyValueTime(pKey, pKey->time() + nDelta);
    }
}

bool applyTrackRipple(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Keyframe, P::Int, P::Int}) || !a.param(0)->keyframe())
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    const int nDelta = bForward ? a.param(2)->toInt() : -a.param(2)->toInt();
    const int nTime = bForward ? a.param(1)->toInt() : a.param(1)->toInt() + a.param(2)->toInt();
    if (!canRipple(pTrack->keyValues(), nTime, nDelta)) {
        // A ripple that did not happen, which its undo must not take back.
        if (bForward)
            a.param(2)->setValue(0);
        return false;
    }
    ripple(pTrack, nTime, nDelta);
    return true;
}

QList<KVKeyframe *> tracksOf(const KVTimeline *pTimeline)
{
    QList<KVKeyframe *> tracks;
    for (const QList<KVAnimation *> &animations : pTimeline->layoutAnimations()) {
        for (const KVAnimation *pAnimation : animations)
            tracks += pAnimation->keyframes();
    }
    return tracks;
}

// 86 (and 87 as the take-out of a span): every track and, when asked, the labels.
bool rippleTimeline(KVTimeline *pTimeline, int nTime, int nDelta, bool bLabels)
{
    const QList<KVKeyframe *> tracks = tracksOf(pTimeline);
    for (const KVKeyframe *pTrack : tracks) {
        if (!canRipple(pTrack->keyValues(), nTime, nDelta))
            return false;
    }
    QMap<QString, int> labels = pTimeline->labels();
    if (bLabels) {
        for (auto it = labels.cbegin(); it != labels.cend(); ++it) {
            if ((it.value() >= nTime && it.value() + nDelta < 0)
                || (nDelta < 0 && it.value() < nTime && it.value() >= nTime + nDelta)) {
                return false;
            }
        }
    }
    for (KVKeyframe *pTrack : tracks)
        ripple(pTrack, nTime, nDelta);
    if (bLabels) {
        for (auto it = labels.cbegin(); it != labels.cend(); ++it) {
            if (it.value() >= nTime)
                pTimeline->setLabelTime(it.key(), it.value() + nDelta);
        }
    }
    return true;
}

bool applyTimelineRipple(KVCommandAction &a, bool bForward)
{
    if (!a.hasKinds({P::Timeline, P::Int, P::Int, P::Int}) || !a.param(0)->timeline())
        return false;
    KVTimeline *pTimeline = a.param(0)->timeline();
    const int nTime = a.param(1)->toInt();
    const int nAmount = a.param(2)->toInt();
    const bool bLabels = a.param(3)->toInt() != 0;
    if (nTime < 0 || (a.type() == 87 && nAmount < 0))
        return false;
    // 86 moves what is at or after the time by delta; 87 is 86 at the span's end by -length.
    int nFrom = a.type() == 86 ? nTime : nTime + nAmount;
    int nDelta = a.type() == 86 ? nAmount : -nAmount;
    if (!bForward) {
        nFrom += nDelta;
        nDelta = -nDelta;
    }
    if (!rippleTimeline(pTimeline, nFrom, nDelta, bLabels)) {
        if (bForward)
            a.param(2)->setValue(0);
        return false;
    }
    return true;
}

KVPlayback *playbackOf(const KVCmdParam *p)
{
    auto *pAnimation = p ? qobject_cast<KVPlaybackAnimation *>(p->animation()) : nullptr;
    return pAnimation ? pAnimation->playback() : nullptr;
}

KVCommandItem *itemOf(const KVCmdParam *p)
{
    return p && p->kind() == P::ActionItem ? qobject_cast<KVCommandItem *>(p->object()) : nullptr;
}

bool applyPlaybackItem(KVCommandAction &a, bool bForward)
{
    if (!a.hasLeadingKinds({P::Animation, P::ActionItem}, 2, 3))
        return false;
    if (a.paramCount() == 3 && a.param(2)->kind() != P::Int)
        return false;
    KVPlayback *pPlayback = playbackOf(a.param(0));
    KVCommandItem *pItem = itemOf(a.param(1));
    KVEventListener *pHandler = pItem ? pItem->handler() : nullptr;
    if (!pPlayback || !pHandler)
        return false;
    KVEventListenerList *pList = pPlayback->list();
    const bool bAdd = (a.type() == 56) == bForward;
    // -2 in the index marks a first execution that did nothing, which the undo leaves alone.
    if (!bForward && a.paramCount() == 3 && a.param(2)->toInt() == NotDone)
        return false;
    auto markNotDone = [&a, bForward] {
        if (!bForward)
            return;
        if (a.paramCount() == 3)
            a.param(2)->setValue(NotDone);
        else
            a.addParam(P::makeInt(NotDone));
    };
    if (bAdd) {
        if (pList->indexOf(pHandler) >= 0 || pHandler->event() != 201) {
            markNotDone();
            return false;
        }
        pList->insert(pHandler, a.paramCount() == 3 ? a.param(2)->toInt() : -1);
        pItem->setOwnsItem(false);
    } else {
        const int nIndex = pList->indexOf(pHandler);
        if (nIndex < 0 || !pPlayback->takeItem(pHandler)) {
            markNotDone();
            return false;
        }
        if (a.paramCount() == 3)
            a.param(2)->setValue(nIndex);
        else
            a.addParam(P::makeInt(nIndex));
        pItem->setOwnsItem(true);
    }
    pPlayback->recompute();
    return true;
}

bool applyPlaybackChange(KVCommandAction &a)
{
    if (!a.hasKinds({P::Animation, P::ActionItem, P::Int, P::Int, P::JsonObject}))
        return false;
    KVPlayback *pPlayback = playbackOf(a.param(0));
    KVCommandItem *pItem = itemOf(a.param(1));
    KVEventListener *pHandler = pItem ? pItem->handler() : nullptr;
    if (!pPlayback || !pHandler || pPlayback->list()->indexOf(pHandler) < 0 || a.param(2)->toInt() < 0)
        return false;
    const int nOldTime = pHandler->actionTime();
    const int nOldAction = pHandler->action();
    const QJsonObject joOld = pHandler->actionData();
    pHandler->setActionTime(a.param(2)->toInt());
    pHandler->setAction(a.param(3)->toInt());
    pHandler->setActionData(a.param(4)->toJsonObject());
    pPlayback->recompute();
    a.param(2)->setValue(nOldTime);
    a.param(3)->setValue(nOldAction);
    a.param(4)->setValue(joOld);
    return true;
}

bool applyAutoOrient(KVCommandAction &a)
{
    if (!a.hasKinds({P::Animation, P::Bool}) || !a.param(0)->animation())
        return false;
    KVAnimation *pAnimation = a.param(0)->animation();
    const bool bOld = pAnimation->autoOrient();
    pAnimation->setAutoOrient(a.param(1)->toBool());
    a.param(1)->setValue(bOld);
    return true;
}

KVTimelineList *timelineListOf(const KVCmdParam *p)
{
    QObject *pOwner = p->timelineListOwner();
    if (auto *pList = qobject_cast<KVTimelineList *>(pOwner))
        return pList;
    auto *pScene = qobject_cast<KVScene *>(pOwner);
    return pScene ? pScene->timelines() : nullptr;
}

bool applyMainTimeline(KVCommandAction &a, bool bForward)
{
    if (!a.hasLeadingKinds({P::TimelineListOwner, P::Timeline}, 2, 3))
        return false;
    if (a.paramCount() == 3 && a.param(2)->kind() != P::Int)
        return false;
    KVTimelineList *pList = timelineListOf(a.param(0));
    KVTimeline *pTimeline = a.param(1)->timeline();
    const int nIndex = pList && pTimeline ? pList->indexOf(pTimeline) : -1;
    if (nIndex < 0)
        return false;
    if (bForward) {
        pList->moveToFront(pTimeline);
        if (a.paramCount() == 3)
            a.param(2)->setValue(nIndex);
        else
            a.addParam(P::makeInt(nIndex));
        return true;
    }
    if (a.paramCount() != 3 || nIndex != 0)
        return false;
    KVTimeline *pCurrent = pList->currentTimeline();
    pList->remove(pTimeline);
    pList->insert(pTimeline, a.param(2)->toInt());
    pList->setCurrentTimeline(pCurrent);
    return true;
}

QJsonArray pointsJson(const KVBezierPath &path)
{
    QJsonObject jo;
    path.toJson(jo);
    return jo.value(QStringLiteral("points")).toArray();
}

// The values and values before of every key value, in order.
QVariantList keySnapshot(const KVKeyframe *pTrack)
{
    QVariantList list;
    for (const KVKeyValue *pKey : pTrack->keyValues())
        list << QVariant(QVariantList{pKey->value(), pKey->valueMinus()});
    return list;
}

bool restoreKeys(KVKeyframe *pTrack, const QVariantList &snapshot)
{
    const QList<KVKeyValue *> keys = pTrack->keyValues();
    if (keys.size() != snapshot.size())
        return false;
    for (int i = 0; i < keys.size(); ++i) {
        const QVariantList pair = snapshot.at(i).toList();
        pTrack->setKeyValue(keys.at(i), pair.value(0), pair.value(1));
    }
    return true;
}

// 78 and 81 change every value of the track; the first execution appends what they were.
bool applyTrackValues(KVCommandAction &a, bool bForward)
{
    const bool bUnit = a.type() == 78;
    if (!a.hasLeadingKinds({P::Keyframe, bUnit ? P::String : P::Variant, bUnit ? P::Double : P::Variant}, 3, 4))
        return false;
    if (a.paramCount() == 4 && a.param(3)->kind() != P::ValueList)
        return false;
    KVKeyframe *pTrack = a.param(0)->keyframe();
    if (!pTrack)
        return false;
    if (!bForward) {
        if (a.paramCount() != 4 || !restoreKeys(pTrack, a.param(3)->value().toList()))
            return false;
        if (bUnit) {
            const QString strNow = pTrack->unit();
            pTrack->setUnit(a.param(1)->toString());
            a.param(1)->setValue(strNow);
        }
        return true;
    }
    const QVariantList snapshot = keySnapshot(pTrack);
    if (bUnit) {
        const QString strUnit = a.param(1)->toString();
        const QString strOld = pTrack->unit();
        if ((strUnit != QLatin1String("px") && strUnit != QLatin1String("%")) || a.param(2)->toDouble() <= 0.0)
            return false;
        pTrack->convertUnit(strOld, strUnit, a.param(2)->toDouble());
        pTrack->setUnit(strUnit);
        a.param(1)->setValue(strOld);
    } else {
        pTrack->offsetValues(a.param(1)->value(), a.param(2)->value());
    }
    if (a.paramCount() == 4)
        a.param(3)->setValue(snapshot);
    else
        a.addParam(P::makeValue(P::ValueList, snapshot));
    return true;
}

bool applyPathPoints(KVCommandAction &a)
{
    auto *pTrack = a.hasKinds({P::MotionPath, P::JsonArray})
                       ? qobject_cast<KVMotionPathKeyframe *>(a.param(0)->object()) : nullptr;
    if (!pTrack)
        return false;
    const QJsonArray ja = a.param(1)->toJsonArray();
    for (const QJsonValue &jv : ja) {
        if (!jv.isObject())
            return false;
    }
    KVBezierPath path;
    path.fromJson(QJsonObject{{QStringLiteral("points"), ja}});
    const QJsonArray jaOld = pointsJson(pTrack->path());
    pTrack->setPathPoints(path.points());
    a.param(1)->setValue(jaOld);
    return true;
}

} // namespace

bool KVTimelineActions::handles(int nType)
{
    switch (nType) {
    case 24: case 56: case 57: case 58: case 69: case 78: case 79: case 80: case 81: case 86: case 87:
        return true;
    default:
        return false;
    }
}

bool KVTimelineActions::apply(KVCommandAction &a, bool bForward)
{
    switch (a.type()) {
    case 24: return applyTrackRipple(a, bForward);
    case 56:
    case 57: return applyPlaybackItem(a, bForward);
    case 58: return applyPlaybackChange(a);
    case 69: return applyAutoOrient(a);
    case 78:
    case 81: return applyTrackValues(a, bForward);
    case 79: return applyMainTimeline(a, bForward);
    case 80: return applyPathPoints(a);
    case 86:
    case 87: return applyTimelineRipple(a, bForward);
    default: return false;
    }
}
