#include "KVBezierPath.h"

#include "model/KVJsonUtil.h"

#include <QLineF>

#include <algorithm>
#include <cmath>

using namespace KVJsonUtil;

bool operator==(const KVPathPoint &a, const KVPathPoint &b)
{
    return a.x == b.x && a.y == b.y && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2
        && a.nTime == b.nTime && a.bStartPoint == b.bStartPoint;
}

KVBezierPath::~KVBezierPath() = default;

void KVBezierPath::toJson(QJsonObject &jo) const
{
    QJsonArray jaPoints;
    for (const KVPathPoint &point : m_listPoints) {
        QJsonObject joPoint;
        joPoint.insert(QStringLiteral("x"), point.x);
        joPoint.insert(QStringLiteral("y"), point.y);
        joPoint.insert(QStringLiteral("x1"), point.x1);
        joPoint.insert(QStringLiteral("y1"), point.y1);
        joPoint.insert(QStringLiteral("x2"), point.x2);
        joPoint.insert(QStringLiteral("y2"), point.y2);
        if (point.nTime != -1)
            joPoint.insert(QStringLiteral("time"), point.nTime);
        joPoint.insert(QStringLiteral("startpoint"), point.bStartPoint);
        jaPoints.append(joPoint);
    }
    jo.insert(QStringLiteral("points"), jaPoints);
}

void KVBezierPath::fromJson(const QJsonObject &jo)
{
    m_listPoints.clear();
    const QJsonArray jaPoints = readArray(jo, QStringLiteral("points"));
    for (const QJsonValue &value : jaPoints) {
        const QJsonObject joPoint = value.toObject();
        KVPathPoint point;
        point.x = readDouble(joPoint, QStringLiteral("x"), 0.0);
        point.y = readDouble(joPoint, QStringLiteral("y"), 0.0);
        point.x1 = readDouble(joPoint, QStringLiteral("x1"), 0.0);
        point.y1 = readDouble(joPoint, QStringLiteral("y1"), 0.0);
        point.x2 = readDouble(joPoint, QStringLiteral("x2"), 0.0);
        point.y2 = readDouble(joPoint, QStringLiteral("y2"), 0.0);
        point.nTime = readInt(joPoint, QStringLiteral("time"), -1);
        point.bStartPoint = readBool(joPoint, QStringLiteral("startpoint"), false);
        m_listPoints.append(point);
    }
    rebuildPolylines();
}

void KVBezierPath::toPlayerJson(QJsonArray &ja) const
{
    for (const KVPathPoint &point : m_listPoints)
        ja.append(QJsonArray{point.x, point.y, point.x1, point.y1, point.x2, point.y2, point.bStartPoint});
}

void KVBezierPath::setPoints(const QList<KVPathPoint> &points)
{
    m_listPoints = points;
    rebuildPolylines();
}

void KVBezierPath::appendPoint(const KVPathPoint &point)
{
    m_listPoints.append(point);
    rebuildPolylines();
}

void KVBezierPath::insertPoint(int nIndex, const KVPathPoint &point)
{
    m_listPoints.insert(qBound(0, nIndex, m_listPoints.size()), point);
    rebuildPolylines();
}

void KVBezierPath::removePoint(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_listPoints.size())
        return;
    m_listPoints.removeAt(nIndex);
    rebuildPolylines();
}

void KVBezierPath::replacePoint(int nIndex, const KVPathPoint &point)
{
    if (nIndex < 0 || nIndex >= m_listPoints.size())
        return;
    m_listPoints[nIndex] = point;
    rebuildPolylines();
}

void KVBezierPath::clear()
{
    m_listPoints.clear();
    m_listPolylines.clear();
    m_listCumulative.clear();
    m_vecOffsets.clear();
}

const QVector<QPointF> &KVBezierPath::polyline(int nIndex) const
{
    static const QVector<QPointF> empty;
    return nIndex >= 0 && nIndex < m_listPolylines.size() ? m_listPolylines.at(nIndex) : empty;
}

void KVBezierPath::rebuildPolylines()
{
    m_listPolylines.clear();
    m_listCumulative.clear();
    m_vecOffsets.clear();
    m_vecOffsets.reserve(m_listPoints.size());
    double dOffset = 0.0;
    for (int i = 0; i < m_listPoints.size(); ++i) {
        QVector<QPointF> polyline = i + 1 < m_listPoints.size()
            ? flatten(m_listPoints.at(i), m_listPoints.at(i + 1))
            : QVector<QPointF>();
        QVector<double> cumulative;
        cumulative.reserve(polyline.size());
        double dLength = 0.0;
        for (int k = 0; k < polyline.size(); ++k) {
            if (k > 0)
                dLength += QLineF(polyline.at(k - 1), polyline.at(k)).length();
            cumulative.append(dLength);
        }
        m_vecOffsets.append(dOffset);
        dOffset += dLength;
        m_listPolylines.append(std::move(polyline));
        m_listCumulative.append(std::move(cumulative));
    }
}

double KVBezierPath::polylineLength(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_listCumulative.size() || m_listCumulative.at(nIndex).isEmpty())
        return 0.0;
    return m_listCumulative.at(nIndex).last();
}

double KVBezierPath::lengthTo(int nIndex) const
{
    if (m_vecOffsets.isEmpty())
        return 0.0;
    return m_vecOffsets.at(qBound(0, nIndex, m_vecOffsets.size() - 1));
}

QPointF KVBezierPath::pointBetween(int nFrom, int nTo, double dFraction) const
{
    const int nCount = m_listPoints.size();
    if (nCount == 0)
        return QPointF();
    nFrom = qBound(0, nFrom, nCount - 1);
    nTo = qBound(nFrom, nTo, nCount - 1);
    const double dStart = m_vecOffsets.at(nFrom);
    const double dEnd = m_vecOffsets.at(nTo);
    if (!(dEnd > dStart))
        return m_listPoints.at(nFrom).position();
    const double dTarget = dStart + qBound(0.0, dFraction, 1.0) * (dEnd - dStart);

    // The polyline that holds the target: the last point in nFrom..nTo - 1 whose offset is not
    // above it; a polyline without length has the same offset as its successor and is passed over.
    const auto itBegin = m_vecOffsets.cbegin() + nFrom + 1;
    const auto itEnd = m_vecOffsets.cbegin() + nTo + 1;
    const auto it = std::upper_bound(itBegin, itEnd, dTarget);
    if (it == itEnd)
        return m_listPoints.at(nTo).position();
    const int nPolyline = int(it - m_vecOffsets.cbegin()) - 1;
    const QVector<QPointF> &polyline = m_listPolylines.at(nPolyline);
    const QVector<double> &cumulative = m_listCumulative.at(nPolyline);
    const double dLocal = dTarget - m_vecOffsets.at(nPolyline);
    const auto itPoint = std::upper_bound(cumulative.cbegin(), cumulative.cend(), dLocal);
    if (itPoint == cumulative.cbegin())
        return polyline.first();
    if (itPoint == cumulative.cend())
        return polyline.last();
    const int k = int(itPoint - cumulative.cbegin());
    const double dSpan = cumulative.at(k) - cumulative.at(k - 1);
    const double dRatio = dSpan > 0.0 ? (dLocal - cumulative.at(k - 1)) / dSpan : 0.0;
    return polyline.at(k - 1) + (polyline.at(k) - polyline.at(k - 1)) * dRatio;
}

QVector<QPointF> KVBezierPath::flatten(const KVPathPoint &a, const KVPathPoint &b)
{
    if (a.nTime != -1 && b.nTime == a.nTime)
        return {};
    const QPointF p0 = a.position();
    const QPointF p1 = a.controlOut();
    const QPointF p2 = b.controlIn();
    const QPointF p3 = b.position();
    const double dLength = QLineF(p0, p1).length() + QLineF(p1, p2).length() + QLineF(p2, p3).length();
    // A damaged file must not make one curve swallow the memory: the count is kept finite and bounded.
    constexpr double kMaxInnerPoints = 100000.0;
    const int n = std::isfinite(dLength) ? int(std::lround(qMin(dLength / 4.0, kMaxInnerPoints))) : 0;

    QVector<QPointF> points;
    points.reserve(n + 2);
    points.append(p0);
    if (n > 0) {
        // f(t) = A t^3 + B t^2 + C t + P0, stepped by forward differences with h = 1 / (n + 1).
        const QPointF coefA = -p0 + 3.0 * p1 - 3.0 * p2 + p3;
        const QPointF coefB = 3.0 * p0 - 6.0 * p1 + 3.0 * p2;
        const QPointF coefC = -3.0 * p0 + 3.0 * p1;
        const double h = 1.0 / (n + 1);
        const double h2 = h * h;
        const double h3 = h2 * h;
        QPointF d1 = coefA * h3 + coefB * h2 + coefC * h;
        QPointF d2 = 6.0 * coefA * h3 + 2.0 * coefB * h2;
        const QPointF d3 = 6.0 * coefA * h3;
        QPointF point = p0;
        for (int k = 0; k < n; ++k) {
            point += d1;
            d1 += d2;
            d2 += d3;
            points.append(point);
        }
    }
    points.append(p3);
    return points;
}
