#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVMotionPath.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVBezierPath.h"
#include "model/KVBorder.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include "KVTestMain.h"

#include <QJsonDocument>
#include <QLineF>
#include <QPointF>

#include <cmath>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(KVPathPoint)

namespace {

// A point whose control points sit on the point itself: the curves through it are straight.
KVPathPoint pt(double x, double y, int nTime = -1)
{
    KVPathPoint p;
    p.x = p.x1 = p.x2 = x;
    p.y = p.y1 = p.y2 = y;
    p.nTime = nTime;
    return p;
}

KVPathPoint curvePt(double x, double y, double x1, double y1, double x2, double y2, int nTime = -1)
{
    KVPathPoint p;
    p.x = x;
    p.y = y;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    p.nTime = nTime;
    return p;
}

// A track over the path with one key value per distinct time, valued at the last point of that
// time, so that every inner segment has a transition with the given easing.
void fillTrack(KVMotionPathKeyframe &track, const QList<KVPathPoint> &points, int nEasing = 0)
{
    track.setPathPoints(points);
    for (int n = 0; n < points.size(); ++n) {
        const KVPathPoint &p = points.at(n);
        if (p.nTime == -1)
            continue;
        const int nLast = track.path().lastPointAt(p.nTime);
        if (KVKeyValue *pKey = track.keyValueAt(p.nTime)) {
            track.setKeyValue(pKey, points.at(nLast).position());
            continue;
        }
        track.addKeyValue(new KVKeyValue(p.nTime, points.at(nLast).position()), nEasing, true);
    }
}

bool near(const QPointF &a, const QPointF &b, double dTolerance = 1e-6)
{
    return std::abs(a.x() - b.x()) <= dTolerance && std::abs(a.y() - b.y()) <= dTolerance;
}

QString str(const QPointF &p)
{
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

QJsonObject pointJson(const KVPathPoint &p)
{
    QJsonObject jo{{"x", p.x}, {"y", p.y}, {"x1", p.x1}, {"y1", p.y1}, {"x2", p.x2}, {"y2", p.y2},
                   {"startpoint", p.bStartPoint}};
    if (p.nTime != -1)
        jo.insert("time", p.nTime);
    return jo;
}

QJsonArray parseArray(const char *pszJson)
{
    return QJsonDocument::fromJson(QByteArray(pszJson)).array();
}

} // namespace

class tst_MotionPaths : public QObject
{
    Q_OBJECT

private slots:
    void flattening_data();
    void flattening();
    void lengthsFollowEdits();
    void halfArcLengthMatchesIntegration();
    void location_data();
    void location();
    void playingMovesTheElement();
    void animationReadsLocationAsMotionPath();
    void projectRoundTrip();
    void damagedPathReadsEmpty();
    void legacyPath_data();
    void legacyPath();
    void playerEntries_data();
    void playerEntries();
    void setEntryListsEveryPointOfItsTime();
    void shiftTimesMovesTimedPoints();
    void movingAPointTimeMovesItsKey();
};

void tst_MotionPaths::flattening_data()
{
    QTest::addColumn<KVPathPoint>("a");
    QTest::addColumn<KVPathPoint>("b");
    QTest::addColumn<int>("count");

    // Control points at the thirds make a straight curve that advances evenly with its parameter.
    QTest::newRow("polygon 40 gives 12 points") << curvePt(0, 0, 0, 0, 40 / 3.0, 0) << curvePt(40, 0, 80 / 3.0, 0, 0, 0) << 12;
    QTest::newRow("uneven polygon 40 gives 12 points") << curvePt(0, 0, 0, 0, 10, 0) << curvePt(40, 0, 30, 0, 0, 0) << 12;
    QTest::newRow("polygon 42 rounds 10.5 up") << curvePt(0, 0, 0, 0, 14, 0) << curvePt(42, 0, 28, 0, 0, 0) << 13;
    QTest::newRow("polygon 41.8 rounds down") << curvePt(0, 0, 0, 0, 13.9, 0) << curvePt(41.8, 0, 27.9, 0, 0, 0) << 12;
    QTest::newRow("zero length keeps the ends") << pt(5, 5) << pt(5, 5) << 2;
    QTest::newRow("two untimed points are flattened") << curvePt(0, 0, 0, 0, 40 / 3.0, 0) << curvePt(40, 0, 80 / 3.0, 0, 0, 0) << 12;
    QTest::newRow("same time gives nothing") << pt(0, 0, 300) << pt(40, 0, 300) << 0;
    QTest::newRow("different times are flattened") << pt(0, 0, 300) << pt(40, 0, 400) << 12;
}

void tst_MotionPaths::flattening()
{
    QFETCH(KVPathPoint, a);
    QFETCH(KVPathPoint, b);
    QFETCH(int, count);

    const QVector<QPointF> line = KVBezierPath::flatten(a, b);
    QCOMPARE(line.size(), count);
    if (count == 0)
        return;
    QCOMPARE(line.first(), a.position());
    QCOMPARE(line.last(), b.position());
    // The inner points sit at the parameters k / (n + 1); on an even straight curve that is the
    // same fraction of the way.
    const bool bEven = a.controlOut() == a.position() + (b.position() - a.position()) / 3.0;
    for (int k = 1; bEven && k + 1 < count; ++k) {
        const QPointF expected = a.position() + (b.position() - a.position()) * (double(k) / (count - 1));
        QVERIFY2(near(line.at(k), expected, 1e-9), qPrintable(QStringLiteral("point %1: %2").arg(k).arg(str(line.at(k)))));
    }
}

void tst_MotionPaths::lengthsFollowEdits()
{
    KVBezierPath path;
    path.setPoints({curvePt(0, 0, 0, 0, 0, 60), curvePt(100, 0, 100, 60, 100, -60), pt(200, 0)});
    auto polylineLength = [&path](int n) {
        double d = 0.0;
        const QVector<QPointF> &line = path.polyline(n);
        for (int k = 1; k < line.size(); ++k)
            d += QLineF(line.at(k - 1), line.at(k)).length();
        return d;
    };
    QCOMPARE(path.lengthTo(0), 0.0);
    QVERIFY(qFuzzyCompare(path.lengthTo(1), polylineLength(0)));
    QVERIFY(qFuzzyCompare(path.lengthTo(2), polylineLength(0) + polylineLength(1)));
    QVERIFY(qFuzzyCompare(path.totalLength(), path.lengthTo(2)));
    QCOMPARE(path.polylineLength(2), 0.0);
    QVERIFY(path.polylineLength(0) > 100.0); // the curve bulges, so it is longer than the chord

    // An edit rebuilds the cached lengths: the last stretch becomes a straight 300.
    path.replacePoint(2, pt(400, 0));
    path.replacePoint(1, pt(100, 0));
    QVERIFY(qFuzzyCompare(path.totalLength(), polylineLength(0) + 300.0));
    QVERIFY(near(path.pointBetween(1, 2, 0.5), QPointF(250, 0)));

    path.clear();
    QCOMPARE(path.totalLength(), 0.0);
    QCOMPARE(path.pointBetween(0, 1, 0.5), QPointF());
}

void tst_MotionPaths::halfArcLengthMatchesIntegration()
{
    // One S-shaped curve; the element moves at constant speed (linear easing) from 0 to 1000 ms.
    const KVPathPoint a = curvePt(0, 0, 0, 0, 50, 300, 0);
    const KVPathPoint b = curvePt(400, 100, 250, -250, 400, 100, 1000);
    KVMotionPathKeyframe track(nullptr);
    fillTrack(track, {a, b}, QEasingCurve::Linear);

    // The arc length of the cubic by Simpson's rule on |B'(t)|, and the parameter at half of it by
    // bisection, independently of the flattening.
    const QPointF p0 = a.position(), p1 = a.controlOut(), p2 = b.controlIn(), p3 = b.position();
    auto bezier = [&](double t) {
        const double u = 1.0 - t;
        return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
    };
    auto speed = [&](double t) {
        const double u = 1.0 - t;
        const QPointF d = 3 * u * u * (p1 - p0) + 6 * u * t * (p2 - p1) + 3 * t * t * (p3 - p2);
        return std::hypot(d.x(), d.y());
    };
    auto arcLength = [&](double tEnd) {
        const int nSteps = 2000;
        const double h = tEnd / nSteps;
        double dSum = speed(0) + speed(tEnd);
        for (int k = 1; k < nSteps; ++k)
            dSum += speed(k * h) * (k % 2 ? 4 : 2);
        return dSum * h / 3.0;
    };
    const double dHalf = arcLength(1.0) / 2.0;
    double lo = 0.0, hi = 1.0;
    for (int n = 0; n < 60; ++n) {
        const double mid = (lo + hi) / 2.0;
        (arcLength(mid) < dHalf ? lo : hi) = mid;
    }
    const QPointF expected = bezier((lo + hi) / 2.0);

    const QPointF actual = track.locationAt(500);
    QVERIFY2(near(actual, expected, 0.5), qPrintable(str(actual) + QStringLiteral(" vs ") + str(expected)));
    // The curve's parameter midpoint is somewhere else: the test tells arc length from parameter.
    QVERIFY(!near(actual, bezier(0.5), 5.0));
}

void tst_MotionPaths::location_data()
{
    QTest::addColumn<QList<KVPathPoint>>("points");
    QTest::addColumn<int>("easing");
    QTest::addColumn<QList<int>>("holdSegments");
    QTest::addColumn<int>("time");
    QTest::addColumn<QPointF>("expected");

    const QList<KVPathPoint> line{pt(0, 0, 0), pt(100, 0, 1000)};
    const QList<KVPathPoint> late{pt(10, 10, 200), pt(110, 10, 1200)};
    const QList<KVPathPoint> run{pt(0, 0, 0), pt(100, 0, 500), pt(100, 80, 500), pt(200, 80, 1000)};
    const QList<KVPathPoint> corner{pt(0, 0, 0), pt(100, 0), pt(100, 100, 1000)};

    QTest::newRow("empty path") << QList<KVPathPoint>() << 0 << QList<int>() << 500 << QPointF(0, 0);
    QTest::newRow("before the first time") << late << 0 << QList<int>() << 100 << QPointF(10, 10);
    QTest::newRow("at the last time") << late << 0 << QList<int>() << 1200 << QPointF(110, 10);
    QTest::newRow("after the last time") << late << 0 << QList<int>() << 5000 << QPointF(110, 10);
    QTest::newRow("untimed last point wins")
        << QList<KVPathPoint>{pt(0, 0, 0), pt(100, 0, 1000), pt(300, 0)} << 0 << QList<int>() << 500 << QPointF(300, 0);
    QTest::newRow("linear quarter") << line << 0 << QList<int>() << 250 << QPointF(25, 0);
    QTest::newRow("in-quad halfway is a quarter") << line << int(QEasingCurve::InQuad) << QList<int>() << 500 << QPointF(25, 0);
    QTest::newRow("at a run time: its last point") << run << 0 << QList<int>() << 500 << QPointF(100, 80);
    QTest::newRow("after a run: second segment") << run << 0 << QList<int>() << 750 << QPointF(150, 80);
    QTest::newRow("before a run: first segment") << run << 0 << QList<int>() << 250 << QPointF(50, 0);
    QTest::newRow("hold after a run") << run << 0 << QList<int>{1} << 750 << QPointF(100, 80);
    QTest::newRow("hold before a run") << run << 0 << QList<int>{0} << 250 << QPointF(0, 0);
    QTest::newRow("hold elsewhere keeps moving") << run << 0 << QList<int>{0} << 750 << QPointF(150, 80);
    QTest::newRow("untimed point shapes the way") << corner << 0 << QList<int>() << 500 << QPointF(100, 0);
    QTest::newRow("untimed point, three quarters") << corner << 0 << QList<int>() << 750 << QPointF(100, 50);
}

void tst_MotionPaths::location()
{
    QFETCH(QList<KVPathPoint>, points);
    QFETCH(int, easing);
    QFETCH(QList<int>, holdSegments);
    QFETCH(int, time);
    QFETCH(QPointF, expected);

    KVMotionPathKeyframe track(nullptr);
    fillTrack(track, points, easing);
    for (int n : holdSegments)
        track.innerSegment(n)->setHasTransition(false);
    const QPointF actual = track.locationAt(time);
    QVERIFY2(near(actual, expected, 1e-6), qPrintable(str(actual)));
}

void tst_MotionPaths::playingMovesTheElement()
{
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    std::unique_ptr<KVMotionPathKeyframe> pTrack(KVMotionPathKeyframe::create(pElement.get(), KVLayoutKey::base()));
    QVERIFY(pTrack);
    QCOMPARE(pTrack->type(), int(KVPropertyCatalogue::Location));
    QVERIFY(pTrack->unit().isEmpty());
    fillTrack(*pTrack, {pt(0, 0, 0), pt(100, 0), pt(100, 100, 1000)});

    // A straight track would cut the corner to (50, 50); the path goes round it.
    pTrack->setCurrentTime(500);
    QCOMPARE(pElement->translateXY(KVLayoutKey::base()), QPointF(100, 0));
    pTrack->setCurrentTime(1000);
    QCOMPARE(pElement->translateXY(KVLayoutKey::base()), QPointF(100, 100));

    // A track resting at a time shows an edited path at once.
    pTrack->start();
    pTrack->pause();
    pTrack->setCurrentTime(500);
    pTrack->setPathPoints({pt(0, 0, 0), pt(0, 100), pt(100, 100, 1000)});
    QCOMPARE(pElement->translateXY(KVLayoutKey::base()), QPointF(0, 100));
    pTrack->stop();
}

void tst_MotionPaths::animationReadsLocationAsMotionPath()
{
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    pElement->setId(3);
    KVMotionPathKeyframe source(pElement.get(), pElement.get());
    fillTrack(source, {pt(0, 0, 0), pt(100, 0), pt(100, 100, 1000)});
    QJsonObject joTrack;
    source.toJson(joTrack);

    KVAnimation animation(pElement.get());
    animation.fromJson(QJsonObject{{"element_id", 3}, {"keyframes", QJsonArray{joTrack}}}, nullptr, KVLayoutKey::base());
    auto *pRead = qobject_cast<KVMotionPathKeyframe *>(animation.keyframe(KVPropertyCatalogue::Location));
    QVERIFY(pRead);
    QCOMPARE(pRead->path(), source.path());
    QVERIFY(!pRead->readLegacyPath());
    QCOMPARE(pRead->locationAt(500), QPointF(100, 0));
    QCOMPARE(animation.length(), 1000);

    // Cloning keeps the path.
    std::unique_ptr<KVAnimation> pClone(animation.clone(nullptr, KVLayoutKey::base()));
    auto *pCloned = qobject_cast<KVMotionPathKeyframe *>(pClone->keyframe(KVPropertyCatalogue::Location));
    QVERIFY(pCloned);
    QCOMPARE(pCloned->path(), source.path());
}

void tst_MotionPaths::projectRoundTrip()
{
    KVMotionPathKeyframe track(nullptr);
    QList<KVPathPoint> points{curvePt(0, 0, -5, 1, 20, 30, 0), curvePt(40, 60, 30, 50, 60, 70),
                              curvePt(90, 10, 80, 0, 90, 10, 800)};
    points[1].bStartPoint = true;
    fillTrack(track, points, QEasingCurve::OutCubic);

    QJsonObject jo;
    track.toJson(jo);
    QCOMPARE(jo.value("type").toInt(), 6);
    QCOMPARE(jo.value("unit").toString(), QString());
    const QJsonArray jaPoints = jo.value("motionPath").toObject().value("points").toArray();
    QCOMPARE(jaPoints.size(), 3);
    QVERIFY(!jaPoints.at(1).toObject().contains("time"));
    QCOMPARE(jaPoints.at(2).toObject().value("time").toInt(), 800);
    QCOMPARE(jaPoints.at(1).toObject().value("startpoint").toBool(), true);

    // The unit is always empty, whatever the file says.
    jo.insert("unit", "px");
    KVMotionPathKeyframe read(nullptr);
    read.fromJson(jo);
    QCOMPARE(read.path(), track.path());
    QVERIFY(read.unit().isEmpty());
    QCOMPARE(read.keyValues().size(), 2);
    QCOMPARE(read.innerSegment(0)->easingCode(), int(QEasingCurve::OutCubic));
    QCOMPARE(read.locationAt(400), track.locationAt(400));
}

void tst_MotionPaths::damagedPathReadsEmpty()
{
    // A mistyped path reads as no path; the key values are kept.
    KVMotionPathKeyframe track(nullptr);
    fillTrack(track, {pt(0, 0, 0), pt(100, 0, 1000)});
    QJsonObject jo;
    track.toJson(jo);
    jo.insert("motionPath", "garbage");

    KVMotionPathKeyframe read(nullptr);
    read.fromJson(jo);
    QVERIFY(read.path().isEmpty());
    QCOMPARE(read.keyValues().size(), 2);
    QCOMPARE(read.locationAt(500), QPointF(0, 0));
    QVERIFY(!read.readLegacyPath());

    // Points with mistyped coordinates read them as 0.
    jo.insert("motionPath", QJsonObject{{"points", QJsonArray{QJsonObject{{"x", "a"}, {"y", 7}, {"time", 0}}}}});
    read.fromJson(jo);
    QCOMPARE(read.path().count(), 1);
    QCOMPARE(read.path().points().first().position(), QPointF(0, 7));
}

void tst_MotionPaths::legacyPath_data()
{
    QTest::addColumn<QList<KVPathPoint>>("points");
    QTest::addColumn<bool>("newKeyToo");
    QTest::addColumn<int>("border");
    QTest::addColumn<double>("originX");
    QTest::addColumn<double>("originY");
    QTest::addColumn<QPointF>("expectedLeftTop");
    QTest::addColumn<QPointF>("expectedSecond");
    QTest::addColumn<bool>("expectedPixels");

    const QList<KVPathPoint> absolute{curvePt(300, 200, 290, 190, 310, 210, 0), pt(400, 200, 1000)};
    // The rectangle is 256 x 128; its left and top start at 10, 20 in percent.
    QTest::newRow("absolute path made relative") << absolute << false << 0 << 0.5 << 0.5 << QPointF(172, 136) << QPointF(100, 0) << true;
    QTest::newRow("border counts twice") << absolute << false << 5 << 0.5 << 0.5 << QPointF(167, 131) << QPointF(100, 0) << true;
    QTest::newRow("origin at the corner") << absolute << false << 0 << 0.0 << 0.0 << QPointF(300, 200) << QPointF(100, 0) << true;
    QTest::newRow("path at (0, 0) is not moved")
        << QList<KVPathPoint>{pt(0, 0, 0), pt(50, 60, 1000)} << false << 0 << 0.5 << 0.5 << QPointF(40, 40) << QPointF(50, 60) << true;
    QTest::newRow("new key wins") << absolute << true << 0 << 0.5 << 0.5 << QPointF(0.1, 0.2) << QPointF(400, 200) << false;
}

void tst_MotionPaths::legacyPath()
{
    QFETCH(QList<KVPathPoint>, points);
    QFETCH(bool, newKeyToo);
    QFETCH(int, border);
    QFETCH(double, originX);
    QFETCH(double, originY);
    QFETCH(QPointF, expectedLeftTop);
    QFETCH(QPointF, expectedSecond);
    QFETCH(bool, expectedPixels);

    const KVLayoutKey base = KVLayoutKey::base();
    std::unique_ptr<KVElement> pGroup(KVElementFactory::createElement(KVElementType::Group));
    pGroup->setSizeW(400, base);
    pGroup->setSizeH(200, base);
    KVElement *pElement = KVElementFactory::createElement(KVElementType::Div);
    QVERIFY(pGroup->insertChild(pElement, 0) >= 0);
    pElement->setId(5);
    pElement->setUnitX(1, base);
    pElement->setUnitY(1, base);
    pElement->setPositionX(0.1, base);
    pElement->setPositionY(0.2, base);
    pElement->setOriginRatioX(originX, base);
    pElement->setOriginRatioY(originY, base);
    if (border > 0) {
        pElement->border(base)->setStyle(1);
        pElement->border(base)->setWidth(border);
    }

    QJsonObject joPath;
    QJsonArray jaPoints;
    for (const KVPathPoint &p : points)
        jaPoints.append(pointJson(p));
    joPath.insert("points", jaPoints);
    QJsonObject joTrack{{"type", 6}, {"unit", ""}, {"motion_path", joPath},
                        {"keyValues", QJsonArray{KVKeyValue(0, QPointF(0, 0)).toJson(), KVKeyValue(1000, QPointF(100, 0)).toJson()}}};
    if (newKeyToo)
        joTrack.insert("motionPath", joPath);

    KVAnimation animation(pElement);
    animation.fromJson(QJsonObject{{"element_id", 5}, {"keyframes", QJsonArray{joTrack}}}, nullptr, base);
    auto *pTrack = qobject_cast<KVMotionPathKeyframe *>(animation.keyframe(KVPropertyCatalogue::Location));
    QVERIFY(pTrack);
    QCOMPARE(pTrack->readLegacyPath(), !newKeyToo);
    QCOMPARE(pTrack->path().count(), points.size());
    QCOMPARE(pTrack->path().points().at(1).position(), expectedSecond);
    if (!newKeyToo && points.first().position() != QPointF(0, 0)) {
        // The control points moved with their point.
        const KVPathPoint &first = pTrack->path().points().first();
        QCOMPARE(QPointF(first.x1, first.y1), QPointF(-10, -10));
        QCOMPARE(QPointF(first.x2, first.y2), QPointF(10, 10));
    }
    QCOMPARE(pElement->unitX(base) == 0 && pElement->unitY(base) == 0, expectedPixels);
    const QPointF leftTop(pElement->positionX(base), pElement->positionY(base));
    QVERIFY2(near(leftTop, expectedLeftTop, 1e-9), qPrintable(str(leftTop)));
}

void tst_MotionPaths::playerEntries_data()
{
    QTest::addColumn<bool>("canvas");
    QTest::addColumn<bool>("autoOrient");
    QTest::addColumn<QJsonArray>("expectedFirstCp");
    QTest::addColumn<QJsonArray>("expectedSecondCp");

    QTest::newRow("export") << false << true
                            << parseArray("[[0,0,0,0,5,0],[50,0,45,0,55,0],[100,0,100,0,100,0]]")
                            << parseArray("[[100,20,100,20,100,20],[100,80,100,80,100,80]]");
    QTest::newRow("canvas adds index and time") << true << false
                            << parseArray("[[0,0,0,0,5,0,0,0],[50,0,45,0,55,0,1,-1],[100,0,100,0,100,0,2,1000]]")
                            << parseArray("[[100,20,100,20,100,20,3,1000],[100,80,100,80,100,80,4,2000]]");
}

void tst_MotionPaths::playerEntries()
{
    QFETCH(bool, canvas);
    QFETCH(bool, autoOrient);
    QFETCH(QJsonArray, expectedFirstCp);
    QFETCH(QJsonArray, expectedSecondCp);

    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    pElement->setId(9);
    auto *pTrack = new KVMotionPathKeyframe(pElement.get(), pElement.get());
    // The entry from 0 to 1000 runs from the last point of 0 to the first point of 1000; the jump
    // between the two points of 1000 belongs to neither transition's start.
    fillTrack(*pTrack, {curvePt(0, 0, 0, 0, 5, 0, 0), curvePt(50, 0, 45, 0, 55, 0), pt(100, 0, 1000),
                        pt(100, 20, 1000), pt(100, 80, 2000)});
    KVAnimation animation(pElement.get());
    animation.setAutoOrient(autoOrient);
    QVERIFY(animation.addKeyframe(pTrack));

    QJsonArray entries;
    animation.toPlayerJson(entries, canvas);
    QCOMPARE(entries.size(), 2);
    const QJsonObject first = entries.at(0).toObject();
    const QJsonObject second = entries.at(1).toObject();
    QCOMPARE(first.value("p").toString(), QStringLiteral("pos"));
    QCOMPARE(first.value("el").toInt(), 9);
    QCOMPARE(first.value("s").toArray(), parseArray("[0,0]"));
    QCOMPARE(first.value("e").toArray(), parseArray("[100,20]"));
    QCOMPARE(first.value("es").toInt(), 0);
    QCOMPARE(first.value("cp").toArray(), expectedFirstCp);
    QCOMPARE(second.value("cp").toArray(), expectedSecondCp);
    QCOMPARE(first.value("ao").toBool(true), autoOrient);
    QCOMPARE(second.value("ao").toBool(true), autoOrient);
    QVERIFY(first.contains("ao"));
}

void tst_MotionPaths::setEntryListsEveryPointOfItsTime()
{
    KVMotionPathKeyframe track(nullptr);
    fillTrack(track, {pt(1, 2, 0), pt(3, 4, 0), pt(5, 6, 0)});
    QCOMPARE(track.keyValues().size(), 1);
    QJsonArray entries;
    track.toPlayerJson(entries, 2);
    QCOMPARE(entries.size(), 1);
    const QJsonObject jo = entries.at(0).toObject();
    QCOMPARE(jo.value("d").toInt(), 0);
    QCOMPARE(jo.value("cp").toArray(), parseArray("[[1,2,1,2,1,2],[3,4,3,4,3,4],[5,6,5,6,5,6]]"));
    // Outside an animation there is no auto-orient.
    QCOMPARE(jo.value("ao").toBool(true), false);
    // One key at time 0 holds at every time: the last point of that time.
    QCOMPARE(track.locationAt(700), QPointF(5, 6));
}

void tst_MotionPaths::shiftTimesMovesTimedPoints()
{
    KVMotionPathKeyframe track(nullptr);
    fillTrack(track, {pt(0, 0, 0), pt(50, 50), pt(100, 0, 1000)});
    track.shiftTimes(250);
    QCOMPARE(track.path().points().at(0).nTime, 250);
    QCOMPARE(track.path().points().at(1).nTime, -1);
    QCOMPARE(track.path().points().at(2).nTime, 1250);
    QCOMPARE(track.keyValues().first()->time(), 250);
    QCOMPARE(track.keyValues().last()->time(), 1250);
    QCOMPARE(track.locationAt(100), QPointF(0, 0));
    QCOMPARE(track.locationAt(750), QPointF(50, 50));
}

void tst_MotionPaths::movingAPointTimeMovesItsKey()
{
    KVMotionPathKeyframe track(nullptr);
    fillTrack(track, {pt(0, 0, 0), pt(100, 0, 1000), pt(200, 0, 2000)});
    QVERIFY(track.setPointTime(1, 500));
    QCOMPARE(track.keyValues().at(1)->time(), 500);
    QCOMPARE(track.path().points().at(1).nTime, 500);
    QCOMPARE(track.locationAt(500), QPointF(100, 0));
    QCOMPARE(track.locationAt(1250), QPointF(150, 0));

    // A key never passes its neighbour; the point takes the time the key ends up with.
    QVERIFY(track.setPointTime(1, 3000));
    QCOMPARE(track.keyValues().at(1)->time(), 2000);
    QCOMPARE(track.path().points().at(1).nTime, 2000);

    QVERIFY(!track.setPointTime(7, 100));
    KVMotionPathKeyframe shaped(nullptr);
    fillTrack(shaped, {pt(0, 0, 0), pt(50, 0), pt(100, 0, 1000)});
    QVERIFY(!shaped.setPointTime(1, 100));
}

KAVIO_TEST_MAIN(tst_MotionPaths)
#include "tst_motionpaths.moc"
