#include "animation/KVMotionPath.h"

KVMotionPath::~KVMotionPath() = default;

int KVMotionPath::firstPointAt(int nTime) const
{
    if (nTime == -1)
        return -1;
    const QList<KVPathPoint> &list = points();
    for (int n = 0; n < list.size(); ++n) {
        if (list.at(n).nTime == nTime)
            return n;
    }
    return -1;
}

int KVMotionPath::lastPointAt(int nTime) const
{
    if (nTime == -1)
        return -1;
    const QList<KVPathPoint> &list = points();
    for (int n = list.size() - 1; n >= 0; --n) {
        if (list.at(n).nTime == nTime)
            return n;
    }
    return -1;
}

void KVMotionPath::translate(const QPointF &offset)
{
    QList<KVPathPoint> list = points();
    for (KVPathPoint &point : list) {
        point.x += offset.x();
        point.y += offset.y();
        point.x1 += offset.x();
        point.y1 += offset.y();
        point.x2 += offset.x();
        point.y2 += offset.y();
    }
    setPoints(list);
}

void KVMotionPath::shiftTimes(int nDelta)
{
    QList<KVPathPoint> list = points();
    for (KVPathPoint &point : list) {
        if (point.nTime != -1)
            point.nTime += nDelta;
    }
    setPoints(list);
}
