#include "animation/KVMotionPathKeyframe.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVTimeline.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVElement.h"
#include "model/KVJsonUtil.h"

#include <QJsonArray>
#include <QLineF>
#include <QVariant>
#include <QtMath>

#include <algorithm>

namespace {

// The direction (degrees) at a fraction of the length of the polyline joined from the curves
// between path points given as [x, y, x1, y1, x2, y2]: the direction of the piece of the polyline
// that holds that point, pieces without length passed over; 0 for a path without length.
double directionAlong(const QJsonArray &jaPoints, double dFraction)
{
    QVector<QPointF> points;
    for (int n = 0; n + 1 < jaPoints.size(); ++n) {
        auto pathPoint = [](const QJsonArray &ja) {
            KVPathPoint point;
            point.x = ja.at(0).toDouble();
            point.y = ja.at(1).toDouble();
            point.x1 = ja.at(2).toDouble();
            point.y1 = ja.at(3).toDouble();
            point.x2 = ja.at(4).toDouble();
            point.y2 = ja.at(5).toDouble();
            point.nTime = -1;
            return point;
        };
        points += KVBezierPath::flatten(pathPoint(jaPoints.at(n).toArray()), pathPoint(jaPoints.at(n + 1).toArray()));
    }
    if (points.size() < 2)
        return 0.0;
    QVector<double> lengths{0.0};
    for (int n = 1; n < points.size(); ++n)
        lengths.append(lengths.last() + QLineF(points.at(n - 1), points.at(n)).length());
    if (!(lengths.last() > 0.0))
        return 0.0;
    const double dDistance = std::clamp(dFraction, 0.0, 1.0) * lengths.last();
    int n = int(std::lower_bound(lengths.cbegin() + 1, lengths.cend() - 1, dDistance) - lengths.cbegin());
    while (n < points.size() - 1 && lengths.at(n) == lengths.at(n - 1))
        ++n;
    while (n > 1 && lengths.at(n) == lengths.at(n - 1))
        --n;
    const QPointF d = points.at(n) - points.at(n - 1);
    return qRadiansToDegrees(std::atan2(d.y(), d.x()));
}

const QString kMotionPath = QStringLiteral("motionPath");
const QString kLegacyMotionPath = QStringLiteral("motion_path");

} // namespace

KVMotionPathKeyframe::KVMotionPathKeyframe(QObject *pTarget, KVElement *pElement,
                                           const KVLayoutKey &layout, QObject *pParent)
    : KVKeyframe(KVPropertyCatalogue::Location, QString(), pTarget, pElement, pParent),
      m_path(this),
      m_layout(layout)
{
}

KVMotionPathKeyframe::~KVMotionPathKeyframe() = default;

KVMotionPathKeyframe *KVMotionPathKeyframe::create(KVElement *pElement, const KVLayoutKey &layout,
                                                   QObject *pParent)
{
    if (!pElement)
        return nullptr;
    QObject *pTarget = KVPropertyCatalogue::holder(pElement, KVPropertyCatalogue::Location, layout);
    if (!pTarget)
        return nullptr;
    return new KVMotionPathKeyframe(pTarget, pElement, layout, pParent);
}

void KVMotionPathKeyframe::applyAtCurrentTime()
{
    const KVTimeline *pTimeline = KVTimeline::of(this);
    if (state() != QAbstractAnimation::Stopped || (pTimeline && pTimeline->showsTime())) {
        KVKeyframeSegment::WriteScope scope;
        setCurrentTime(currentTime());
    }
}

void KVMotionPathKeyframe::setPathPoints(const QList<KVPathPoint> &points)
{
    m_path.setPoints(points);
    applyAtCurrentTime();
}

bool KVMotionPathKeyframe::setPointTime(int nIndex, int nTime)
{
    if (nIndex < 0 || nIndex >= m_path.count())
        return false;
    QList<KVPathPoint> points = m_path.points();
    const int nOldTime = points.at(nIndex).nTime;
    if (nOldTime == -1)
        return false;
    bool bShared = false;
    for (int n = 0; n < points.size(); ++n)
        bShared = bShared || (n != nIndex && points.at(n).nTime == nOldTime);
    if (!bShared) {
        if (KVKeyValue *pKey = keyValueAt(nOldTime)) {
            setKeyValueTime(pKey, nTime);
            nTime = pKey->time();
        }
    }
    points[nIndex].nTime = nTime;
    setPathPoints(points);
    return true;
}

QPointF KVMotionPathKeyframe::locationAt(int nTime) const
{
    const QList<KVPathPoint> &points = m_path.points();
    if (points.isEmpty())
        return QPointF(0.0, 0.0);
    // Raw times: an untimed last point (-1) is where the element stays at every time.
    if (nTime < points.first().nTime)
        return points.first().position();
    if (nTime >= points.last().nTime)
        return points.last().position();

    // Only the timed points mark times. A run of points carrying the time asked for resolves to
    // its last point; otherwise A is the last timed point before the time and B the next one.
    int nA = -1;
    int nB = -1;
    int nDistinctTimes = 0;
    int nLastSeenTime = -1;
    for (int n = 0; n < points.size(); ++n) {
        const int nPointTime = points.at(n).nTime;
        if (nPointTime == -1)
            continue;
        if (nPointTime == nTime) {
            int nLast = n;
            for (int m = n + 1; m < points.size(); ++m) {
                if (points.at(m).nTime == -1)
                    continue;
                if (points.at(m).nTime != nTime)
                    break;
                nLast = m;
            }
            return points.at(nLast).position();
        }
        if (nPointTime > nTime) {
            nB = n;
            break;
        }
        nA = n;
        if (nPointTime != nLastSeenTime) {
            ++nDistinctTimes;
            nLastSeenTime = nPointTime;
        }
    }
    if (nA < 0)
        return points.first().position();
    const KVPathPoint &a = points.at(nA);
    if (nB < 0)
        return a.position();

    // The n-th distinct time is key value n - 1; the inner segment leaving it moves the element.
    const KVKeyframeSegment *pSegment = innerSegment(nDistinctTimes - 1);
    if (!pSegment || !pSegment->hasTransition())
        return a.position();
    const KVPathPoint &b = points.at(nB);
    const double dFraction = double(nTime - a.nTime) / double(b.nTime - a.nTime);
    const double dProgress = pSegment->easingCurve().valueForProgress(dFraction);
    return m_path.pointBetween(nA, nB, dProgress);
}

double KVMotionPathKeyframe::orientationAt(int nTime) const
{
    // The entries the page plays, in time order (entries of one time keep their order).
    QJsonArray jaEntries;
    toPlayerJson(jaEntries, 0, false);
    QList<QJsonObject> entries;
    for (const QJsonValue &value : qAsConst(jaEntries))
        entries.append(value.toObject());
    std::stable_sort(entries.begin(), entries.end(), [](const QJsonObject &a, const QJsonObject &b) {
        return a.value(QLatin1String("t")).toInt() < b.value(QLatin1String("t")).toInt();
    });
    if (entries.isEmpty())
        return 0.0;
    const QJsonObject *pEntry = &entries.first();
    double dFraction = 0.0;
    if (nTime >= pEntry->value(QLatin1String("t")).toInt()) {
        for (const QJsonObject &entry : qAsConst(entries)) {
            if (entry.value(QLatin1String("t")).toInt() <= nTime)
                pEntry = &entry;
        }
        const int nStart = pEntry->value(QLatin1String("t")).toInt();
        const int nDuration = pEntry->value(QLatin1String("d")).toInt();
        dFraction = 1.0;
        if (nDuration > 0 && nTime < nStart + nDuration) {
            const QEasingCurve curve = KVKeyframeSegment::curveForCode(pEntry->value(QLatin1String("es")).toInt());
            dFraction = curve.valueForProgress(double(nTime - nStart) / double(nDuration));
        }
    }
    return directionAlong(pEntry->value(QLatin1String("cp")).toArray(), dFraction);
}

void KVMotionPathKeyframe::updateCurrentTime(int nCurrentTime)
{
    // The segments would move the element in a straight line; the path decides instead.
    if (QObject *pTarget = target())
        pTarget->setProperty(fieldName().constData(), QVariant(locationAt(nCurrentTime)));
    if (KVElement *pElement = element()) {
        const auto *pAnimation = qobject_cast<const KVAnimation *>(parent());
        pElement->setPathAngle(pAnimation && pAnimation->autoOrient() ? orientationAt(nCurrentTime) : 0.0);
    }
}

void KVMotionPathKeyframe::shiftTimes(int nDelta)
{
    m_path.shiftTimes(nDelta);
    KVKeyframe::shiftTimes(nDelta);
}

void KVMotionPathKeyframe::toJson(QJsonObject &jo) const
{
    KVKeyframe::toJson(jo);
    QJsonObject joPath;
    m_path.toJson(joPath);
    jo.insert(kMotionPath, joPath);
}

void KVMotionPathKeyframe::fromJson(const QJsonObject &jo)
{
    m_bLegacyPath = false;
    QJsonObject joPath;
    if (jo.contains(kMotionPath)) {
        joPath = KVJsonUtil::readObject(jo, kMotionPath);
    } else if (jo.contains(kLegacyMotionPath)) {
        joPath = KVJsonUtil::readObject(jo, kLegacyMotionPath);
        m_bLegacyPath = true;
    }
    m_path.fromJson(joPath);
    KVKeyframe::fromJson(jo);
    setUnit(QString());
    if (m_bLegacyPath)
        makeLegacyPathRelative();
    applyAtCurrentTime();
}

void KVMotionPathKeyframe::makeLegacyPathRelative()
{
    if (m_path.isEmpty())
        return;
    const QPointF first = m_path.points().first().position();
    if (first == QPointF(0.0, 0.0))
        return;
    m_path.translate(-first);

    // The old path ran through the element's transform origin; the element now starts there.
    KVElement *pElement = element();
    if (!pElement || !pElement->property(m_layout))
        return;
    const double dBorder = 2.0 * pElement->borderWidth(m_layout);
    const double dOuterWidth = pElement->widthPixels(m_layout) + dBorder;
    const double dOuterHeight = pElement->heightPixels(m_layout) + dBorder;
    pElement->setUnitX(0, m_layout);
    pElement->setUnitY(0, m_layout);
    pElement->setPositionX(first.x() - dOuterWidth * pElement->originRatioX(m_layout), m_layout);
    pElement->setPositionY(first.y() - dOuterHeight * pElement->originRatioY(m_layout), m_layout);
}

void KVMotionPathKeyframe::setElementUnitsToPixels()
{
    KVElement *pElement = element();
    if (!pElement || !pElement->property(m_layout))
        return;
    if (pElement->unitX(m_layout) != 0) {
        const double dLeft = pElement->leftPixels(m_layout);
        pElement->setUnitX(0, m_layout);
        pElement->setPositionX(dLeft, m_layout);
    }
    if (pElement->unitY(m_layout) != 0) {
        const double dTop = pElement->topPixels(m_layout);
        pElement->setUnitY(0, m_layout);
        pElement->setPositionY(dTop, m_layout);
    }
}

void KVMotionPathKeyframe::toPlayerJson(QJsonArray &entries, int nElementId, bool bCanvasMode) const
{
    const QList<KVPathPoint> &points = m_path.points();
    if (points.isEmpty() || points.last().nTime != -1) {
        KVKeyframe::toPlayerJson(entries, nElementId, bCanvasMode);
        return;
    }
    // From the first point's time on the element stands on the untimed last point, before it on
    // the first point. The entry's path is the curve that arrives there, for the direction an
    // element turned along the path takes.
    const KVPathPoint &first = points.first();
    const KVPathPoint &last = points.last();
    QJsonArray jaPoints;
    for (int n = qMax(0, int(points.size()) - 2); n < points.size(); ++n) {
        const KVPathPoint &point = points.at(n);
        QJsonArray jaPoint{point.x, point.y, point.x1, point.y1, point.x2, point.y2};
        if (bCanvasMode) {
            jaPoint.append(n);
            jaPoint.append(point.nTime);
        }
        jaPoints.append(jaPoint);
    }
    const auto *pAnimation = qobject_cast<const KVAnimation *>(parent());
    QJsonObject jo;
    jo.insert(QStringLiteral("el"), nElementId);
    jo.insert(QStringLiteral("p"), KVPropertyCatalogue::shortKey(KVPropertyCatalogue::Location));
    jo.insert(QStringLiteral("t"), qMax(0, first.nTime));
    jo.insert(QStringLiteral("d"), 0);
    jo.insert(QStringLiteral("s"), QJsonArray{first.x, first.y});
    jo.insert(QStringLiteral("e"), QJsonArray{last.x, last.y});
    jo.insert(QStringLiteral("cp"), jaPoints);
    jo.insert(QStringLiteral("ao"), pAnimation && pAnimation->autoOrient());
    entries.append(jo);
}

void KVMotionPathKeyframe::addPlayerEntryKeys(QJsonObject &joEntry, int nFromIndex, int nToIndex,
                                              bool bCanvasMode) const
{
    const QList<KVKeyValue *> &keys = keyValues();
    if (nFromIndex < 0 || nFromIndex >= keys.size() || nToIndex < 0 || nToIndex >= keys.size())
        return;
    const int nStartTime = keys.at(nFromIndex)->time();
    const int nEndTime = keys.at(nToIndex)->time();
    const QList<KVPathPoint> &points = m_path.points();

    int nFirst = -1;
    int nLast = -1;
    if (nFromIndex == nToIndex) {
        nFirst = m_path.firstPointAt(nStartTime);
        nLast = m_path.lastPointAt(nStartTime);
    } else {
        nFirst = m_path.lastPointAt(nStartTime);
        for (int n = qMax(nFirst, 0); nFirst >= 0 && n < points.size(); ++n) {
            if (points.at(n).nTime == nEndTime) {
                nLast = n;
                break;
            }
        }
    }

    QJsonArray jaPoints;
    for (int n = nFirst; n >= 0 && n <= nLast; ++n) {
        const KVPathPoint &point = points.at(n);
        // Points of other times inside a set entry's range are not its points.
        if (nFromIndex == nToIndex && point.nTime != nStartTime)
            continue;
        QJsonArray jaPoint{point.x, point.y, point.x1, point.y1, point.x2, point.y2};
        if (bCanvasMode) {
            jaPoint.append(n);
            jaPoint.append(point.nTime);
        }
        jaPoints.append(jaPoint);
    }
    joEntry.insert(QStringLiteral("cp"), jaPoints);
    const auto *pAnimation = qobject_cast<const KVAnimation *>(parent());
    joEntry.insert(QStringLiteral("ao"), pAnimation && pAnimation->autoOrient());
}
