#include "commands/KVMotionPathActions.h"

#include "animation/KVAnimation.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVTimeline.h"
#include "commands/KVCommandAction.h"

#include <QJsonObject>

namespace {

using P = KVCmdParam;

QJsonObject pointJson(const KVPathPoint &pt)
{
    QJsonObject jo{{QStringLiteral("x"), pt.x},   {QStringLiteral("y"), pt.y},
                   {QStringLiteral("x1"), pt.x1}, {QStringLiteral("y1"), pt.y1},
                   {QStringLiteral("x2"), pt.x2}, {QStringLiteral("y2"), pt.y2}};
    if (pt.nTime != -1)
        jo.insert(QStringLiteral("time"), pt.nTime);
    jo.insert(QStringLiteral("startpoint"), pt.bStartPoint);
    return jo;
}

// False when the object has no position.
bool pointFromJson(const QJsonObject &jo, KVPathPoint &pt)
{
    if (!jo.value(QStringLiteral("x")).isDouble() || !jo.value(QStringLiteral("y")).isDouble())
        return false;
    pt.x = jo.value(QStringLiteral("x")).toDouble();
    pt.y = jo.value(QStringLiteral("y")).toDouble();
    pt.x1 = jo.value(QStringLiteral("x1")).toDouble(pt.x);
    pt.y1 = jo.value(QStringLiteral("y1")).toDouble(pt.y);
    pt.x2 = jo.value(QStringLiteral("x2")).toDouble(pt.x);
    pt.y2 = jo.value(QStringLiteral("y2")).toDouble(pt.y);
    pt.nTime = jo.value(QStringLiteral("time")).toInt(-1);
    pt.bStartPoint = jo.value(QStringLiteral("startpoint")).toBool(false);
    return true;
}

KVMotionPathKeyframe *trackOf(const KVCommandAction &a)
{
    const KVCmdParam *p = a.param(0);
    return p && p->kind() == P::MotionPath ? qobject_cast<KVMotionPathKeyframe *>(p->object()) : nullptr;
}

bool insertPoint(KVCommandAction &a, KVMotionPathKeyframe *pTrack)
{
    QList<KVPathPoint> points = pTrack->path().points();
    const int nIndex = a.param(1)->toInt();
    KVPathPoint pt;
    if (nIndex < 0 || nIndex > points.size() || !pointFromJson(a.param(2)->toJsonObject(), pt))
        return false;
    points.insert(nIndex, pt);
    pTrack->setPathPoints(points);
    return true;
}

bool removePoint(KVCommandAction &a, KVMotionPathKeyframe *pTrack)
{
    QList<KVPathPoint> points = pTrack->path().points();
    const int nIndex = a.param(1)->toInt();
    if (nIndex < 0 || nIndex >= points.size())
        return false;
    a.param(2)->setValue(pointJson(points.takeAt(nIndex)));
    pTrack->setPathPoints(points);
    return true;
}

bool applyInsertRemove(KVCommandAction &a, bool bInsert)
{
    KVMotionPathKeyframe *pTrack = trackOf(a);
    if (!pTrack || !a.hasKinds({P::MotionPath, P::Int, P::JsonObject}))
        return false;
    if (bInsert && !insertPoint(a, pTrack)) {
        // An insertion that did not happen, which its undo must not take back.
        if (a.type() == 29)
            a.param(1)->setValue(-1);
        return false;
    }
    return bInsert || removePoint(a, pTrack);
}

bool applyTime(KVCommandAction &a)
{
    KVMotionPathKeyframe *pTrack = trackOf(a);
    if (!pTrack || !a.hasKinds({P::MotionPath, P::Int, P::Int}))
        return false;
    const int nIndex = a.param(1)->toInt();
    if (nIndex < 0 || nIndex >= pTrack->path().count())
        return false;
    const int nOld = pTrack->path().points().at(nIndex).nTime;
    if (!pTrack->setPointTime(nIndex, a.param(2)->toInt()))
        return false;
    a.param(2)->setValue(nOld);
    return true;
}

bool applyMove(KVCommandAction &a)
{
    KVMotionPathKeyframe *pTrack = trackOf(a);
    if (!pTrack || !a.hasKinds({P::MotionPath, P::Int, P::Point, P::Point, P::Point}))
        return false;
    QList<KVPathPoint> points = pTrack->path().points();
    const int nIndex = a.param(1)->toInt();
    if (nIndex < 0 || nIndex >= points.size())
        return false;
    KVPathPoint &pt = points[nIndex];
    const QPointF old[3] = {pt.position(), pt.controlIn(), pt.controlOut()};
    const QPointF position = a.param(2)->toPoint();
    const QPointF in = a.param(3)->toPoint();
    const QPointF out = a.param(4)->toPoint();
    pt.x = position.x();
    pt.y = position.y();
    pt.x1 = in.x();
    pt.y1 = in.y();
    pt.x2 = out.x();
    pt.y2 = out.y();
    pTrack->setPathPoints(points);
    for (int i = 0; i < 3; ++i)
        a.param(2 + i)->setValue(old[i]);
    return true;
}

bool applyRefresh(KVCommandAction &a)
{
    if (!a.hasKinds({P::Animation, P::Timeline}) || !a.param(0)->animation() || !a.param(1)->timeline())
        return false;
    KVTimeline *pTimeline = a.param(1)->timeline();
    const int nTime = pTimeline->currentTimeMs();
    const bool bBlocked = pTimeline->blockSignals(true);
    pTimeline->seek(pTimeline->duration() + 1);
    pTimeline->seek(nTime);
    pTimeline->blockSignals(bBlocked);
    return true;
}

} // namespace

bool KVMotionPathActions::handles(int nType)
{
    return (nType >= 29 && nType <= 32) || nType == 93;
}

bool KVMotionPathActions::apply(KVCommandAction &a, bool bForward)
{
    switch (a.type()) {
    case 29: return applyInsertRemove(a, bForward);
    case 30: return applyInsertRemove(a, !bForward);
    case 31: return applyTime(a);
    case 32: return applyMove(a);
    case 93: return applyRefresh(a);
    default: return false;
    }
}
