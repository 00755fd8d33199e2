#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPointF>
#include <QVector>

// One point of a Bezier path: its position, the control point of the curve arriving at it (x1, y1),
// the control point of the curve leaving it (x2, y2), an optional time (ms, -1 = none; motion paths
// use it) and the start-point flag (a free-form outline starts a new figure there).
struct KVPathPoint
{
    double x = 0.0;
    double y = 0.0;
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
    int nTime = -1;
    bool bStartPoint = false;

    QPointF position() const { return QPointF(x, y); }
    QPointF controlIn() const { return QPointF(x1, y1); }
    QPointF controlOut() const { return QPointF(x2, y2); }
};

bool operator==(const KVPathPoint &a, const KVPathPoint &b);
inline bool operator!=(const KVPathPoint &a, const KVPathPoint &b) { return !(a == b); }

// A chain of cubic Bezier curves through its points, shared by free-form shape outlines and motion
// paths. Beside the points it keeps, per point, the flattened curve to the next point (a polyline;
// empty for the last point), rebuilt whenever the points change.
class KVBezierPath
{
public:
    KVBezierPath() = default;
    KVBezierPath(const KVBezierPath &) = default;
    KVBezierPath &operator=(const KVBezierPath &) = default;
    virtual ~KVBezierPath();

    // Project form: "points", an array of {x, y, x1, y1, x2, y2, time (only when set), startpoint}.
    virtual void toJson(QJsonObject &jo) const;
    // Missing coordinates read 0, a missing time -1, a missing start flag false.
    virtual void fromJson(const QJsonObject &jo);
    // Player form: one [x, y, x1, y1, x2, y2, startpoint] array per point.
    void toPlayerJson(QJsonArray &ja) const;

    const QList<KVPathPoint> &points() const { return m_listPoints; }
    void setPoints(const QList<KVPathPoint> &points);
    void appendPoint(const KVPathPoint &point);
    void insertPoint(int nIndex, const KVPathPoint &point);
    void removePoint(int nIndex);
    void replacePoint(int nIndex, const KVPathPoint &point);
    void clear();
    int count() const { return m_listPoints.size(); }
    bool isEmpty() const { return m_listPoints.isEmpty(); }

    // The flattened curve from point nIndex to the next one; empty for the last point.
    const QVector<QPointF> &polyline(int nIndex) const;
    int polylineCount() const { return m_listPolylines.size(); }

    // From A to B: empty when both carry the same time; otherwise A's position, n inner points at
    // the parameters k / (n + 1) (n = control polygon length / 4, rounded) and B's position.
    static QVector<QPointF> flatten(const KVPathPoint &a, const KVPathPoint &b);

    // Arc lengths along the flattened path, kept with the polylines so that finding a point by its
    // distance costs two binary searches and no summing.
    // Length of the polyline of point nIndex (0 for an empty one or an index out of range).
    double polylineLength(int nIndex) const;
    // Length from the first point to point nIndex (an index out of range is clamped).
    double lengthTo(int nIndex) const;
    double totalLength() const { return m_vecOffsets.isEmpty() ? 0.0 : m_vecOffsets.last(); }
    // The point at a fraction (0..1, clamped) of the flattened path from point nFrom to point nTo
    // (nFrom < nTo, both in range); point nFrom's position when that stretch has no length.
    QPointF pointBetween(int nFrom, int nTo, double dFraction) const;

    bool operator==(const KVBezierPath &other) const { return m_listPoints == other.m_listPoints; }
    bool operator!=(const KVBezierPath &other) const { return !(*this == other); }

protected:
    void rebuildPolylines();

private:
    QList<KVPathPoint> m_listPoints;
    QList<QVector<QPointF>> m_listPolylines;
    // Per polyline, the length from its first point to each of its points.
    QList<QVector<double>> m_listCumulative;
    // Per point, the length of the flattened path from the first point to it.
    QVector<double> m_vecOffsets;
};
