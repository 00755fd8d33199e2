#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVBackground.h"
#include "model/KVElement.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include "KVTestMain.h"

#include <QColor>
#include <QJsonDocument>
#include <QMetaEnum>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <memory>

using Cat = KVPropertyCatalogue;

namespace {

// One key of a test track: time, value and (when valid) a different value before.
struct Key
{
    int nTime;
    QVariant value;
    QVariant valueMinus = QVariant();
};

KVKeyValue *newKey(const Key &key)
{
    return key.valueMinus.isValid() ? new KVKeyValue(key.nTime, key.value, key.valueMinus)
                                    : new KVKeyValue(key.nTime, key.value);
}

// A track without target, enough for the model operations and valueAt().
std::unique_ptr<KVKeyframe> makeTrack(int nType, const QString &strUnit, const QList<Key> &keys,
                                      int nEasing = 3, bool bAuto = true, QObject *pTarget = nullptr)
{
    auto pTrack = std::make_unique<KVKeyframe>(nType, strUnit, pTarget);
    for (const Key &key : keys)
        pTrack->addKeyValue(newKey(key), nEasing, bAuto);
    return pTrack;
}

QList<int> times(const KVKeyframe &track)
{
    QList<int> list;
    for (const KVKeyValue *pKey : track.keyValues())
        list.append(pKey->time());
    return list;
}

// The segments' ends, as "start>end" times, from the leading to the trailing segment, checking
// that every segment points at the key values the track holds.
QString segmentChain(const KVKeyframe &track)
{
    QStringList parts;
    for (int n = 0; n < track.animationCount(); ++n) {
        const auto *pSegment = qobject_cast<const KVKeyframeSegment *>(track.animationAt(n));
        if (!pSegment || !pSegment->startKey() || !pSegment->endKey())
            return QStringLiteral("broken");
        const bool bInner = n > 0 && n < track.animationCount() - 1;
        if (bInner && (pSegment->startKey() != track.keyValues().at(n - 1)
                       || pSegment->endKey() != track.keyValues().at(n)))
            return QStringLiteral("misplaced");
        if (pSegment->duration() != std::max(0, pSegment->endKey()->time() - pSegment->startKey()->time()))
            return QStringLiteral("stale duration");
        const QVariant expectedEnd = pSegment->hasTransition() ? pSegment->endKey()->valueMinus()
                                                               : pSegment->startKey()->value();
        if (pSegment->startValue() != pSegment->startKey()->value() || pSegment->endValue() != expectedEnd)
            return QStringLiteral("stale value");
        parts << QStringLiteral("%1>%2").arg(pSegment->startKey()->time()).arg(pSegment->endKey()->time());
    }
    if (track.animationCount() > 0) {
        const auto *pLead = static_cast<const KVKeyframeSegment *>(track.animationAt(0));
        const auto *pTrail = static_cast<const KVKeyframeSegment *>(track.animationAt(track.animationCount() - 1));
        if (pLead->hasTransition() || pTrail->hasTransition() || pLead->startKey()->time() != 0
            || pLead->startKey()->value() != track.keyValues().first()->valueMinus()
            || pTrail->endKey()->time() != track.keyValues().last()->time()
            || pTrail->endKey()->value() != track.keyValues().last()->value())
            return QStringLiteral("loose ends");
    }
    return parts.join(QLatin1Char(' '));
}

QString compact(const QJsonObject &jo)
{
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

// Puts a top-level animation at a time from a fresh start (stopped, started, paused), so that every
// track writes its value, also one that had ended before the previous time: a paused parallel group
// does not wake a child that it stopped at its end when the time goes back.
void seekTo(KVAnimation &animation, int nTime)
{
    animation.stop();
    animation.start();
    if (animation.state() == QAbstractAnimation::Running)
        animation.pause();
    animation.setCurrentTime(nTime);
}

// y of the cubic Bezier (0,0) (0.4,0.1) (0.6,0.9) (1,1) at x, found by bisection on the parameter.
double bezierAt(double dX)
{
    auto coord = [](double t, double p1, double p2) {
        const double u = 1.0 - t;
        return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
    };
    double lo = 0.0;
    double hi = 1.0;
    for (int n = 0; n < 60; ++n) {
        const double mid = (lo + hi) / 2;
        (coord(mid, 0.4, 0.6) < dX ? lo : hi) = mid;
    }
    return coord((lo + hi) / 2, 0.1, 0.9);
}

// Collects the warnings of the framework while it lives, so that a test can require none.
class WarningCollector
{
public:
    WarningCollector() { m_previous = qInstallMessageHandler(&WarningCollector::handle); }
    ~WarningCollector() { qInstallMessageHandler(m_previous); }
    static QStringList &warnings()
    {
        static QStringList list;
        return list;
    }

private:
    static void handle(QtMsgType eType, const QMessageLogContext &, const QString &strText)
    {
        if (eType == QtWarningMsg)
            warnings().append(strText);
    }
    QtMessageHandler m_previous = nullptr;
};

} // namespace

Q_DECLARE_METATYPE(Key)

class tst_Keyframes : public QObject
{
    Q_OBJECT

private slots:
    void easingEqualsFramework_data();
    void easingEqualsFramework();
    void fixedEasingShapes_data();
    void fixedEasingShapes();
    void unknownEasingIsLinear_data();
    void unknownEasingIsLinear();

    void addSplitsSegments_data();
    void addSplitsSegments();
    void splitKeepsFirstHalf();
    void transitionFlags_data();
    void transitionFlags();
    void removeKeyValue_data();
    void removeKeyValue();
    void restoreUndoesRemove_data();
    void restoreUndoesRemove();
    void setKeyValue_data();
    void setKeyValue();
    void setKeyValueTimeClamps_data();
    void setKeyValueTimeClamps();
    void offsetValues_data();
    void offsetValues();
    void shiftTimes();
    void convertUnit_data();
    void convertUnit();
    void valueAt_data();
    void valueAt();
    void editSequenceKeepsSegmentsInStep_data();
    void editSequenceKeepsSegmentsInStep();

    void seekMatchesValueAt_data();
    void seekMatchesValueAt();
    void editsShowAtPausedTime_data();
    void editsShowAtPausedTime();

    void keyValueJson_data();
    void keyValueJson();
    void trackJsonRoundTrip();
    void trackJsonTolerant();
    void animationJsonRoundTrip();
    void animationSkipsForeignTracks();

    void playerEntries_data();
    void playerEntries();
    void playerValueFormats_data();
    void playerValueFormats();
    void animationPlayerEntries();
};

// --- Easing ---------------------------------------------------------------------------------

void tst_Keyframes::easingEqualsFramework_data()
{
    QTest::addColumn<int>("code");
    const QMetaEnum me = QMetaEnum::fromType<QEasingCurve::Type>();
    // Every code the picker offers but the two spline shapes (fixedEasingShapes).
    for (int n = 0; n <= KVKeyframeSegment::LastPickerCode; ++n) {
        if (n != KVKeyframeSegment::BezierCode && n != KVKeyframeSegment::TcbCode)
            QTest::newRow(me.valueToKey(n)) << n;
    }
}

void tst_Keyframes::easingEqualsFramework()
{
    QFETCH(int, code);
    const QEasingCurve expected{QEasingCurve::Type(code)};
    const QEasingCurve curve = KVKeyframeSegment::curveForCode(code);
    QCOMPARE(int(curve.type()), code);
    QCOMPARE(KVKeyframeSegment::easingName(code),
             QString::fromLatin1(QMetaEnum::fromType<QEasingCurve::Type>().valueToKey(code)));

    // A segment from 10 to 30 over 1000 ms moves by the curve's progress.
    KVKeyValue from(0, 10.0);
    KVKeyValue to(1000, 30.0);
    KVKeyframeSegment segment(&from, &to, nullptr, QByteArray());
    segment.setEasingCode(code);
    QCOMPARE(segment.easingCode(), code);
    for (int n = 0; n <= 20; ++n) {
        const double dProgress = n / 20.0;
        QCOMPARE(curve.valueForProgress(dProgress), expected.valueForProgress(dProgress));
        QVERIFY(qFuzzyCompare(1.0 + segment.valueAtFraction(dProgress).toDouble(),
                              1.0 + 10.0 + 20.0 * expected.valueForProgress(dProgress)));
    }
}

void tst_Keyframes::fixedEasingShapes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    // The Bezier curve is checked against its own formula, the TCB spline at its points.
    for (double x : {0.1, 0.25, 0.5, 0.8, 0.95})
        QTest::addRow("bezier %.2f", x) << 45 << x << bezierAt(x);
    QTest::newRow("tcb start") << 46 << 0.0 << 0.0;
    QTest::newRow("tcb 0.3") << 46 << 0.3 << 0.4;
    QTest::newRow("tcb 0.7") << 46 << 0.7 << 0.6;
    QTest::newRow("tcb end") << 46 << 1.0 << 1.0;
}

void tst_Keyframes::fixedEasingShapes()
{
    QFETCH(int, code);
    QFETCH(double, x);
    QFETCH(double, y);
    const QEasingCurve curve = KVKeyframeSegment::curveForCode(code);
    QCOMPARE(int(curve.type()), code);
    QVERIFY2(std::abs(curve.valueForProgress(x) - y) < 0.01,
             qPrintable(QStringLiteral("%1 at %2, expected %3").arg(curve.valueForProgress(x)).arg(x).arg(y)));
    // The shapes are not the linear default.
    QVERIFY(std::abs(curve.valueForProgress(0.2) - 0.2) > 0.01);
}

void tst_Keyframes::unknownEasingIsLinear_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("negative") << -1;
    QTest::newRow("custom") << 47;
    QTest::newRow("far") << 1000;
}

void tst_Keyframes::unknownEasingIsLinear()
{
    QFETCH(int, code);
    QCOMPARE(KVKeyframeSegment::curveForCode(code).type(), QEasingCurve::Linear);
    QVERIFY(KVKeyframeSegment::easingName(code).isEmpty());
}

// --- Track editing ----------------------------------------------------------------------------

void tst_Keyframes::addSplitsSegments_data()
{
    QTest::addColumn<QList<int>>("existing");
    QTest::addColumn<int>("newTime");
    QTest::addColumn<QList<int>>("expectedTimes");
    QTest::addColumn<QString>("expectedChain");

    QTest::newRow("first key") << QList<int>{} << 300 << QList<int>{300} << "0>300 300>300";
    QTest::newRow("middle") << QList<int>{0, 1000} << 400 << QList<int>{0, 400, 1000}
                            << "0>0 0>400 400>1000 1000>1000";
    QTest::newRow("before first") << QList<int>{500, 1000} << 200 << QList<int>{200, 500, 1000}
                                  << "0>200 200>500 500>1000 1000>1000";
    QTest::newRow("after last") << QList<int>{0, 1000} << 1500 << QList<int>{0, 1000, 1500}
                                << "0>0 0>1000 1000>1500 1500>1500";
    QTest::newRow("same time goes first") << QList<int>{0, 1000} << 1000 << QList<int>{0, 1000, 1000}
                                          << "0>0 0>1000 1000>1000 1000>1000";
}

void tst_Keyframes::addSplitsSegments()
{
    QFETCH(QList<int>, existing);
    QFETCH(int, newTime);
    QFETCH(QList<int>, expectedTimes);
    QFETCH(QString, expectedChain);

    QList<Key> keys;
    for (int nTime : existing)
        keys.append({nTime, nTime / 1000.0});
    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), keys);
    auto *pKey = new KVKeyValue(newTime, 0.25);
    pTrack->addKeyValue(pKey, 7, true);
    QCOMPARE(times(*pTrack), expectedTimes);
    QCOMPARE(segmentChain(*pTrack), expectedChain);
    QCOMPARE(pTrack->animationCount(), expectedTimes.size() + 1);
    QCOMPARE(pTrack->totalDuration(), expectedTimes.last());

    // Adding the same key again changes nothing.
    pTrack->addKeyValue(pKey, 7, true);
    QCOMPARE(segmentChain(*pTrack), expectedChain);
    // The leading segment holds the first key's value before; the trailing one the last value.
    QCOMPARE(pTrack->leadingSegment()->startValue(), pTrack->keyValues().first()->valueMinus());
    QCOMPARE(pTrack->trailingSegment()->endValue(), pTrack->keyValues().last()->value());
}

void tst_Keyframes::splitKeepsFirstHalf()
{
    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), {{0, 0.0}, {1000, 1.0}}, 5);
    KVKeyframeSegment *pOld = pTrack->innerSegment(0);
    QCOMPARE(pOld->easingCode(), 5);
    pOld->setEasingCode(9);

    pTrack->addKeyValue(new KVKeyValue(400, 0.2), 7, true);
    QCOMPARE(pTrack->innerSegments().size(), 2);
    QCOMPARE(pTrack->innerSegment(0), pOld);
    QCOMPARE(pOld->easingCode(), 9);
    QCOMPARE(pOld->duration(), 400);
    QCOMPARE(pOld->endValue().toDouble(), 0.2);
    QCOMPARE(pTrack->innerSegment(1)->easingCode(), 7);
    QCOMPARE(pTrack->innerSegment(1)->duration(), 600);
    QVERIFY(pTrack->innerSegment(1)->hasTransition());
}

void tst_Keyframes::transitionFlags_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("autoTransition");
    QTest::addColumn<QVariant>("second");
    QTest::addColumn<bool>("expected");

    QTest::newRow("values differ") << int(Cat::Opacity) << true << QVariant(0.5) << true;
    QTest::newRow("values equal") << int(Cat::Opacity) << true << QVariant(1.0) << false;
    QTest::newRow("no auto transition") << int(Cat::Opacity) << false << QVariant(0.5) << false;
    QTest::newRow("display never moves") << int(Cat::Display) << true << QVariant(0.0) << false;
}

void tst_Keyframes::transitionFlags()
{
    QFETCH(int, type);
    QFETCH(bool, autoTransition);
    QFETCH(QVariant, second);
    QFETCH(bool, expected);

    for (bool bAfter : {true, false}) {
        // The second key is added after the first, then in front of it.
        auto pTrack = makeTrack(type, QString(), {{500, 1.0}}, 3, autoTransition);
        pTrack->addKeyValue(new KVKeyValue(bAfter ? 1000 : 0, second), 3, autoTransition);
        QCOMPARE(pTrack->innerSegments().size(), 1);
        QCOMPARE(pTrack->innerSegment(0)->hasTransition(), expected);
        QVERIFY(!pTrack->leadingSegment()->hasTransition());
        QVERIFY(!pTrack->trailingSegment()->hasTransition());
    }
}

void tst_Keyframes::removeKeyValue_data()
{
    QTest::addColumn<int>("removeIndex");
    QTest::addColumn<QString>("takenChain");
    QTest::addColumn<QString>("expectedChain");

    QTest::newRow("first") << 0 << "0>500" << "0>500 500>1000 1000>1000";
    QTest::newRow("middle") << 1 << "500>1000" << "0>0 0>1000 1000>1000";
    QTest::newRow("last") << 2 << "500>1000" << "0>0 0>500 500>500";
}

void tst_Keyframes::removeKeyValue()
{
    QFETCH(int, removeIndex);
    QFETCH(QString, takenChain);
    QFETCH(QString, expectedChain);

    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), {{0, 0.0}, {500, 0.5}, {1000, 1.0}});
    std::unique_ptr<KVKeyValue> pKey(pTrack->keyValues().at(removeIndex));
    std::unique_ptr<KVKeyframeSegment> pTaken(pTrack->removeKeyValue(pKey.get()));
    QVERIFY(pTaken);
    QVERIFY(!pTaken->parent());
    QCOMPARE(QStringLiteral("%1>%2").arg(pTaken->startKey()->time()).arg(pTaken->endKey()->time()), takenChain);
    QCOMPARE(segmentChain(*pTrack), expectedChain);
    QVERIFY(!pTrack->keyValues().contains(pKey.get()));
    QCOMPARE(pTrack->leadingSegment()->startValue(), pTrack->keyValues().first()->valueMinus());
    QCOMPARE(pTrack->trailingSegment()->startValue(), pTrack->keyValues().last()->value());

    // A key that is not in the track is refused.
    QVERIFY(!pTrack->removeKeyValue(pKey.get()));
    // Emptying the track leaves no segments behind.
    while (!pTrack->keyValues().isEmpty()) {
        std::unique_ptr<KVKeyValue> pNext(pTrack->keyValues().first());
        delete pTrack->removeKeyValue(pNext.get());
    }
    QCOMPARE(pTrack->animationCount(), 0);
    QVERIFY(pTrack->isEmpty());
    QVERIFY(!pTrack->valueAt(0).isValid());
}

void tst_Keyframes::restoreUndoesRemove_data()
{
    QTest::addColumn<int>("keyCount");
    QTest::addColumn<int>("removeIndex");

    QTest::newRow("first") << 3 << 0;
    QTest::newRow("middle") << 3 << 1;
    QTest::newRow("last") << 3 << 2;
    QTest::newRow("only") << 1 << 0;
}

void tst_Keyframes::restoreUndoesRemove()
{
    QFETCH(int, keyCount);
    QFETCH(int, removeIndex);

    QList<Key> keys;
    for (int n = 0; n < keyCount; ++n)
        keys.append({n * 500 + 100, n * 0.4, n * 0.4 + 0.1});
    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), keys, 0);
    for (int n = 0; n < pTrack->innerSegments().size(); ++n)
        pTrack->innerSegment(n)->setEasingCode(10 + n);
    QJsonObject joBefore;
    pTrack->toJson(joBefore);
    const QList<KVKeyframeSegment *> innerBefore = pTrack->innerSegments();

    KVKeyValue *pKey = pTrack->keyValues().at(removeIndex);
    KVKeyframeSegment *pTaken = pTrack->removeKeyValue(pKey);
    QCOMPARE(pTrack->keyValues().size(), keyCount - 1);
    pTrack->restoreKeyValue(pKey, pTaken);

    QJsonObject joAfter;
    pTrack->toJson(joAfter);
    QCOMPARE(compact(joAfter), compact(joBefore));
    QCOMPARE(pTrack->innerSegments(), innerBefore);
    QCOMPARE(pTrack->keyValues().at(removeIndex), pKey);
    QVERIFY(!segmentChain(*pTrack).contains(QLatin1String("stale")));
    QVERIFY(!segmentChain(*pTrack).contains(QLatin1String("loose")));
}

void tst_Keyframes::setKeyValue_data()
{
    QTest::addColumn<QVariant>("oldMinus");
    QTest::addColumn<QVariant>("newBefore");
    QTest::addColumn<double>("expectedMinus");

    QTest::newRow("no jump follows") << QVariant() << QVariant() << 0.8;
    QTest::newRow("jump is kept") << QVariant(0.1) << QVariant() << 0.1;
    QTest::newRow("given value before") << QVariant(0.1) << QVariant(0.3) << 0.3;
}

void tst_Keyframes::setKeyValue()
{
    QFETCH(QVariant, oldMinus);
    QFETCH(QVariant, newBefore);
    QFETCH(double, expectedMinus);

    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), {{200, 0.5, oldMinus}, {1000, 1.0}});
    KVKeyValue *pKey = pTrack->keyValues().first();
    pTrack->setKeyValue(pKey, 0.8, newBefore);
    QCOMPARE(pKey->value().toDouble(), 0.8);
    QCOMPARE(pKey->valueMinus().toDouble(), expectedMinus);
    // Both sides follow: the leading segment holds the value before, the next one starts at 0.8.
    QCOMPARE(pTrack->valueAt(0).toDouble(), expectedMinus);
    QCOMPARE(pTrack->leadingSegment()->endValue().toDouble(), expectedMinus);
    QCOMPARE(pTrack->innerSegment(0)->startValue().toDouble(), 0.8);
}

void tst_Keyframes::setKeyValueTimeClamps_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("newTime");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("inside") << 1 << 700 << QList<int>{0, 700, 1000};
    QTest::newRow("past the next") << 1 << 5000 << QList<int>{0, 1000, 1000};
    QTest::newRow("before the previous") << 1 << -50 << QList<int>{0, 0, 1000};
    QTest::newRow("last moves freely") << 2 << 3000 << QList<int>{0, 500, 3000};
    QTest::newRow("first moves later") << 0 << 300 << QList<int>{300, 500, 1000};
}

void tst_Keyframes::setKeyValueTimeClamps()
{
    QFETCH(int, index);
    QFETCH(int, newTime);
    QFETCH(QList<int>, expected);

    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), {{0, 0.0}, {500, 0.5}, {1000, 1.0}});
    pTrack->setKeyValueTime(pTrack->keyValues().at(index), newTime);
    QCOMPARE(times(*pTrack), expected);
    QCOMPARE(pTrack->totalDuration(), expected.last());
    QVERIFY(!segmentChain(*pTrack).contains(QLatin1String("stale")));
    QCOMPARE(pTrack->trailingSegment()->endKey()->time(), expected.last());
}

void tst_Keyframes::offsetValues_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QVariant>("oldValue");
    QTest::addColumn<QVariant>("newValue");
    QTest::addColumn<QVariantList>("expected");

    // Opacity is stored as a fraction: its range 0..100 % becomes 0..1.
    QTest::newRow("opacity up clamps at 1") << int(Cat::Opacity) << "%" << QVariantList{0.2, 0.9}
                                            << QVariant(0.5) << QVariant(0.8) << QVariantList{0.5, 1.0};
    QTest::newRow("opacity down clamps at 0") << int(Cat::Opacity) << "%" << QVariantList{0.2, 0.9}
                                              << QVariant(0.5) << QVariant(0.1) << QVariantList{0.0, 0.5};
    QTest::newRow("left in pixels") << int(Cat::Left) << "px" << QVariantList{100.0, 9990.0}
                                    << QVariant(0.0) << QVariant(20.0) << QVariantList{120.0, 10000.0};
    QTest::newRow("left in percent") << int(Cat::Left) << "%" << QVariantList{0.5, 99.0}
                                     << QVariant(0.0) << QVariant(2.0) << QVariantList{2.5, 100.0};
    QTest::newRow("skew in degrees") << int(Cat::SkewX) << "deg" << QVariantList{10.0, -50.0}
                                     << QVariant(0.0) << QVariant(-20.0) << QVariantList{-10.0, -60.0};
    QTest::newRow("unbounded rotation") << int(Cat::RotateZ) << "deg" << QVariantList{0.0, 720.0}
                                        << QVariant(0.0) << QVariant(90.0) << QVariantList{90.0, 810.0};
    QTest::newRow("location by point") << int(Cat::Location) << "" << QVariantList{QPointF(1, 2), QPointF(10, 20)}
                                       << QVariant(QPointF(0, 0)) << QVariant(QPointF(5, -5))
                                       << QVariantList{QPointF(6, -3), QPointF(15, 15)};
    QTest::newRow("colour by packed difference")
        << int(Cat::BackgroundColor) << "color" << QVariantList{QColor(0x10, 0x20, 0x30), QColor(0, 0, 0, 0)}
        << QVariant(QColor(0, 0, 0, 0)) << QVariant(QColor(0, 1, 2, 0))
        << QVariantList{QColor(0x10, 0x21, 0x32), QColor(0, 1, 2, 0)};
    QTest::newRow("colour stays in 32 bits")
        << int(Cat::BackgroundColor) << "color" << QVariantList{QColor(0xff, 0xff, 0xff, 0xff)}
        << QVariant(QColor(0, 0, 0, 0)) << QVariant(QColor(0, 0, 1, 0))
        << QVariantList{QColor(0xff, 0xff, 0xff, 0xff)};
    QTest::newRow("mismatched kinds change nothing") << int(Cat::Opacity) << "%" << QVariantList{0.2, 0.9}
                                                     << QVariant(QPointF(0, 0)) << QVariant(0.5)
                                                     << QVariantList{0.2, 0.9};
}

void tst_Keyframes::offsetValues()
{
    QFETCH(int, type);
    QFETCH(QString, unit);
    QFETCH(QVariantList, values);
    QFETCH(QVariant, oldValue);
    QFETCH(QVariant, newValue);
    QFETCH(QVariantList, expected);

    QList<Key> keys;
    for (int n = 0; n < values.size(); ++n)
        keys.append({n * 1000, values.at(n)});
    auto pTrack = makeTrack(type, unit, keys);
    pTrack->offsetValues(oldValue, newValue);
    for (int n = 0; n < expected.size(); ++n) {
        const KVKeyValue *pKey = pTrack->keyValues().at(n);
        if (expected.at(n).userType() == QMetaType::Double) {
            QVERIFY2(qFuzzyCompare(1.0 + pKey->value().toDouble(), 1.0 + expected.at(n).toDouble()),
                     qPrintable(QString::number(pKey->value().toDouble())));
            QCOMPARE(pKey->valueMinus(), pKey->value());
        } else {
            QCOMPARE(pKey->value(), KVKeyValue::normalized(expected.at(n)));
            QCOMPARE(pKey->valueMinus(), pKey->value());
        }
    }
    // The segments play the moved values.
    QCOMPARE(pTrack->valueAt(0), pTrack->keyValues().first()->value());
}

void tst_Keyframes::shiftTimes()
{
    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), {{100, 0.0}, {600, 1.0}});
    pTrack->shiftTimes(250);
    QCOMPARE(times(*pTrack), (QList<int>{350, 850}));
    QCOMPARE(segmentChain(*pTrack), QStringLiteral("0>350 350>850 850>850"));
    QCOMPARE(pTrack->valueAt(349).toDouble(), 0.0);
    QCOMPARE(pTrack->valueAt(850).toDouble(), 1.0);
    pTrack->shiftTimes(-350);
    QCOMPARE(segmentChain(*pTrack), QStringLiteral("0>0 0>500 500>500"));
}

void tst_Keyframes::convertUnit_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<double>("reference");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("percent to pixels") << "%" << "px" << 800.0 << 0.25 << 200.0;
    QTest::newRow("pixels to percent") << "px" << "%" << 800.0 << 200.0 << 0.25;
    QTest::newRow("no reference length") << "px" << "%" << 0.0 << 200.0 << 0.0;
    QTest::newRow("same unit") << "px" << "px" << 800.0 << 200.0 << 200.0;
}

void tst_Keyframes::convertUnit()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(double, reference);
    QFETCH(double, value);
    QFETCH(double, expected);

    auto pTrack = makeTrack(Cat::Width, from, {{0, value, value / 2}, {1000, value * 2}});
    pTrack->convertUnit(from, to, reference);
    QCOMPARE(pTrack->unit(), to);
    QCOMPARE(pTrack->keyValues().at(0)->value().toDouble(), expected);
    QCOMPARE(pTrack->keyValues().at(0)->valueMinus().toDouble(), expected / 2);
    QCOMPARE(pTrack->keyValues().at(1)->value().toDouble(), expected * 2);
    QCOMPARE(pTrack->innerSegment(0)->endValue().toDouble(), expected * 2);
}

void tst_Keyframes::valueAt_data()
{
    QTest::addColumn<int>("time");
    QTest::addColumn<double>("expected");

    // Keys: 200 (0.2, jumping from 0.1), 600 (0.6), 1000 (1.0, held from 0.6).
    QTest::newRow("before first holds value before") << 0 << 0.1;
    QTest::newRow("at first key") << 200 << 0.2;
    QTest::newRow("halfway, in-out quad") << 400 << 0.4;
    QTest::newRow("quarter, in-out quad") << 300 << 0.2 + 0.4 * 0.125;
    QTest::newRow("hold segment") << 800 << 0.6;
    QTest::newRow("last key") << 1000 << 1.0;
    QTest::newRow("after last") << 5000 << 1.0;
}

void tst_Keyframes::valueAt()
{
    QFETCH(int, time);
    QFETCH(double, expected);

    auto pTrack = makeTrack(Cat::Opacity, QStringLiteral("%"), {{200, 0.2, 0.1}, {600, 0.6}, {1000, 1.0, 0.6}});
    QVERIFY(pTrack->innerSegment(0)->hasTransition());
    QVERIFY(!pTrack->innerSegment(1)->hasTransition());
    QVERIFY(qFuzzyCompare(1.0 + pTrack->valueAt(time).toDouble(), 1.0 + expected));
}

void tst_Keyframes::editSequenceKeepsSegmentsInStep_data()
{
    QTest::addColumn<uint>("seed");
    for (uint nSeed : {1u, 7u, 42u, 1234u, 99991u})
        QTest::addRow("seed %u", nSeed) << nSeed;
}

void tst_Keyframes::editSequenceKeepsSegmentsInStep()
{
    QFETCH(uint, seed);
    // A fixed pseudo-random series of edits; after each one every segment must point at the right
    // keys with fresh values and durations, and the element must show what valueAt() computes.
    quint32 nState = seed;
    auto next = [&nState](int nRange) {
        nState = nState * 1664525u + 1013904223u;
        return int((nState >> 8) % quint32(nRange));
    };

    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    KVAnimation animation(pElement.get());
    KVKeyframe *pTrack = KVKeyframe::create(pElement.get(), Cat::RotateZ, KVLayoutKey::base());
    QVERIFY(pTrack);
    QVERIFY(animation.addKeyframe(pTrack));
    QList<KVKeyValue *> removed;
    WarningCollector::warnings().clear();
    const WarningCollector collector;

    for (int nStep = 0; nStep < 200; ++nStep) {
        const QList<KVKeyValue *> keys = pTrack->keyValues();
        const int nOp = keys.isEmpty() ? 0 : next(6);
        QString strOp;
        if (nOp <= 1) {
            auto *pKey = new KVKeyValue(next(40) * 50, double(next(9) * 45), double(next(2) ? next(9) * 45 : -1));
            if (pKey->valueMinus().toDouble() < 0)
                pKey->setValueMinus(pKey->value());
            strOp = QStringLiteral("add at %1").arg(pKey->time());
            pTrack->addKeyValue(pKey, next(41), next(4) != 0);
        } else if (nOp == 2) {
            KVKeyValue *pKey = keys.at(next(keys.size()));
            strOp = QStringLiteral("remove at %1").arg(pKey->time());
            delete pTrack->removeKeyValue(pKey);
            removed.append(pKey);
        } else if (nOp == 3) {
            KVKeyValue *pKey = keys.at(next(keys.size()));
            strOp = QStringLiteral("move %1").arg(pKey->time());
            pTrack->setKeyValueTime(pKey, next(40) * 50);
        } else if (nOp == 4) {
            KVKeyValue *pKey = keys.at(next(keys.size()));
            strOp = QStringLiteral("set %1").arg(pKey->time());
            pTrack->setKeyValue(pKey, double(next(9) * 45), next(2) ? QVariant(double(next(9) * 45)) : QVariant());
        } else {
            KVKeyframeSegment *pSegment = pTrack->innerSegment(next(std::max(1, keys.size() - 1)));
            strOp = QStringLiteral("toggle");
            if (pSegment)
                pSegment->setHasTransition(!pSegment->hasTransition());
        }
        const QString strChain = segmentChain(*pTrack);
        QVERIFY2(!strChain.contains(QLatin1String("broken")) && !strChain.contains(QLatin1String("misplaced"))
                     && !strChain.contains(QLatin1String("stale")) && !strChain.contains(QLatin1String("loose")),
                 qPrintable(QStringLiteral("step %1 (%2): %3").arg(nStep).arg(strOp, strChain)));
        QList<int> sorted = times(*pTrack);
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(times(*pTrack), sorted);
        if (pTrack->isEmpty())
            continue;
        const int nTime = next(2200);
        seekTo(animation, nTime);
        QVERIFY2(qFuzzyCompare(1.0 + pElement->rotateZ(), 1.0 + pTrack->valueAt(nTime).toDouble()),
                 qPrintable(QStringLiteral("step %1 (%2) at %3 ms: %4, expected %5").arg(nStep).arg(strOp)
                                .arg(nTime).arg(pElement->rotateZ()).arg(pTrack->valueAt(nTime).toDouble())));
    }
    qDeleteAll(removed);
    // Keys went in before and after the paused position without upsetting the framework.
    QVERIFY2(WarningCollector::warnings().isEmpty(),
             qPrintable(WarningCollector::warnings().mid(0, 3).join(QLatin1Char('\n'))));
}

// --- Driving the element ----------------------------------------------------------------------

void tst_Keyframes::seekMatchesValueAt_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<Key>>("keys");

    QTest::newRow("opacity with jump and hold")
        << int(Cat::Opacity)
        << QList<Key>{{200, 0.2, 0.1}, {600, 0.7}, {900, 0.7}, {1200, 0.3, 0.9}, {1500, 0.0}};
    QTest::newRow("single key at zero") << int(Cat::Opacity) << QList<Key>{{0, 0.3}};
    QTest::newRow("single key later") << int(Cat::Opacity) << QList<Key>{{400, 0.3, 0.8}};
    QTest::newRow("rotation in degrees")
        << int(Cat::RotateZ) << QList<Key>{{0, 0.0}, {500, 360.0}, {1000, -90.0}};
    QTest::newRow("location point")
        << int(Cat::Location) << QList<Key>{{100, QPointF(0, 0)}, {700, QPointF(300, -150)}};
    QTest::newRow("background colour")
        << int(Cat::BackgroundColor)
        << QList<Key>{{0, QColor(255, 0, 0)}, {800, QColor(0, 0, 255, 128)}, {1200, QColor(10, 200, 30)}};
}

void tst_Keyframes::seekMatchesValueAt()
{
    QFETCH(int, type);
    QFETCH(QList<Key>, keys);

    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    KVAnimation animation(pElement.get());
    KVKeyframe *pTrack = KVKeyframe::create(pElement.get(), type, KVLayoutKey::base());
    QVERIFY(pTrack);
    for (const Key &key : keys)
        pTrack->addKeyValue(newKey(key), 5, true);
    QVERIFY(animation.addKeyframe(pTrack));
    QVERIFY(!animation.addKeyframe(pTrack));

    // Forwards and backwards, landing on keys and between them.
    const QList<int> seekTimes{0, 150, 200, 201, 450, 600, 750, 1000, 1199, 1200, 1350, 2000, 650, 100, 0};
    for (int nTime : seekTimes) {
        seekTo(animation, nTime);
        const QVariant actual = pTrack->target()->property(pTrack->fieldName().constData());
        const QVariant expected = pTrack->valueAt(nTime);
        if (expected.userType() == QMetaType::Double) {
            QVERIFY2(qFuzzyCompare(1.0 + actual.toDouble(), 1.0 + expected.toDouble()),
                     qPrintable(QStringLiteral("%1 ms: %2, expected %3").arg(nTime).arg(actual.toDouble())
                                    .arg(expected.toDouble())));
        } else {
            QVERIFY2(actual == expected, qPrintable(QStringLiteral("%1 ms").arg(nTime)));
        }
    }
}

void tst_Keyframes::editsShowAtPausedTime_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<double>("expected");

    // Keys 0 (0.0) and 1000 (1.0), linear, paused at 500 ms where the element shows 0.5.
    QTest::newRow("add a key before the paused time") << "add" << 1.0;
    QTest::newRow("remove the last key") << "remove" << 0.0;
    QTest::newRow("set a value") << "set" << 0.75;
    QTest::newRow("move a key") << "time" << 1.0;
    QTest::newRow("offset the values, clamped at 1") << "offset" << 0.6;
    QTest::newRow("shift the times") << "shift" << 0.25;
}

void tst_Keyframes::editsShowAtPausedTime()
{
    QFETCH(QString, edit);
    QFETCH(double, expected);

    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    KVAnimation animation(pElement.get());
    KVKeyframe *pTrack = KVKeyframe::create(pElement.get(), Cat::Opacity, KVLayoutKey::base());
    pTrack->addKeyValue(new KVKeyValue(0, 0.0), 0, true);
    pTrack->addKeyValue(new KVKeyValue(1000, 1.0), 0, true);
    animation.addKeyframe(pTrack);
    seekTo(animation, 500);
    QCOMPARE(pElement->opacity(), 0.5);

    KVKeyValue *pFirst = pTrack->keyValues().first();
    KVKeyValue *pLast = pTrack->keyValues().last();
    std::unique_ptr<KVKeyValue> pRemoved;
    if (edit == QLatin1String("add")) {
        pTrack->addKeyValue(new KVKeyValue(250, 1.0), 0, true);
    } else if (edit == QLatin1String("remove")) {
        pRemoved.reset(pLast);
        delete pTrack->removeKeyValue(pLast);
    } else if (edit == QLatin1String("set")) {
        pTrack->setKeyValue(pFirst, 0.5);
    } else if (edit == QLatin1String("time")) {
        pTrack->setKeyValueTime(pLast, 400);
    } else if (edit == QLatin1String("offset")) {
        pTrack->offsetValues(0.0, 0.2);
    } else if (edit == QLatin1String("shift")) {
        pTrack->shiftTimes(250);
    }
    QVERIFY2(qFuzzyCompare(pElement->opacity(), expected), qPrintable(QString::number(pElement->opacity())));
    QVERIFY(qFuzzyCompare(pTrack->valueAt(500).toDouble(), expected));
}

// --- Project form -----------------------------------------------------------------------------

void tst_Keyframes::keyValueJson_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("time");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("valueMinus");

    QTest::newRow("number")
        << R"({"time":250,"type":6,"value":{"val":0.5},"value_minus":{"val":0.25}})" << 250
        << QVariant(0.5) << QVariant(0.25);
    QTest::newRow("point")
        << R"({"time":0,"type":26,"value":{"x":1.5,"y":-2},"value_minus":{"x":0,"y":0}})" << 0
        << QVariant(QPointF(1.5, -2)) << QVariant(QPointF(0, 0));
    QTest::newRow("integer point")
        << R"({"time":10,"type":25,"value":{"x":3,"y":4},"value_minus":{"x":3,"y":4}})" << 10
        << QVariant(QPoint(3, 4)) << QVariant(QPoint(3, 4));
    QTest::newRow("colour, signed form too")
        << R"({"time":5,"type":67,"value":{"rgba":4294901760},"value_minus":{"rgba":-16776961}})" << 5
        << QVariant(QColor(255, 0, 0)) << QVariant(QColor(0, 0, 255));
    QTest::newRow("unknown type is a number")
        << R"({"time":1,"type":2,"value":{"val":7},"value_minus":{"val":7}})" << 1 << QVariant(7.0)
        << QVariant(7.0);
    QTest::newRow("missing value before follows the value")
        << R"({"time":1,"type":6,"value":{"val":3}})" << 1 << QVariant(3.0) << QVariant(3.0);
    QTest::newRow("mistyped keys read as 0")
        << R"({"time":"x","type":6,"value":{"val":"big"},"value_minus":{"val":1}})" << 0 << QVariant(0.0)
        << QVariant(1.0);
}

void tst_Keyframes::keyValueJson()
{
    QFETCH(QString, json);
    QFETCH(int, time);
    QFETCH(QVariant, value);
    QFETCH(QVariant, valueMinus);

    const KVKeyValue key = KVKeyValue::fromJson(QJsonDocument::fromJson(json.toUtf8()).object());
    QCOMPARE(key.time(), time);
    QCOMPARE(key.value(), KVKeyValue::normalized(value));
    QCOMPARE(key.valueMinus(), KVKeyValue::normalized(valueMinus));

    // Written and read again, the key is the same.
    const KVKeyValue again = KVKeyValue::fromJson(key.toJson());
    QCOMPARE(again.time(), key.time());
    QCOMPARE(again.value(), key.value());
    QCOMPARE(again.valueMinus(), key.valueMinus());
    QCOMPARE(again.toJson(), key.toJson());
}

void tst_Keyframes::trackJsonRoundTrip()
{
    auto pTrack = makeTrack(Cat::BackgroundColor, QStringLiteral("color"),
                            {{0, QColor(255, 0, 0)}, {400, QColor(0, 255, 0), QColor(1, 2, 3)}, {900, QColor(0, 0, 255)}});
    pTrack->innerSegment(0)->setEasingCode(45);
    pTrack->innerSegment(1)->setEasingCode(29);
    pTrack->innerSegment(1)->setHasTransition(false);

    QJsonObject jo;
    pTrack->toJson(jo);
    QCOMPARE(jo.value(QStringLiteral("type")).toInt(), int(Cat::BackgroundColor));
    QCOMPARE(jo.value(QStringLiteral("duration")).toInt(), 900);
    QCOMPARE(jo.value(QStringLiteral("keyValues")).toArray().size(), 3);
    QCOMPARE(jo.value(QStringLiteral("keyframeSegments")).toArray().size(), 2);

    KVKeyframe copy(Cat::BackgroundColor, QString(), nullptr);
    copy.fromJson(jo);
    QCOMPARE(copy.unit(), QStringLiteral("color"));
    QCOMPARE(copy.innerSegment(0)->easingCode(), 45);
    QVERIFY(copy.innerSegment(0)->hasTransition());
    QCOMPARE(copy.innerSegment(1)->easingCode(), 29);
    QVERIFY(!copy.innerSegment(1)->hasTransition());
    QJsonObject joAgain;
    copy.toJson(joAgain);
    QCOMPARE(compact(joAgain), compact(jo));
    for (int nTime : {0, 100, 399, 400, 700, 900, 2000})
        QCOMPARE(copy.valueAt(nTime), pTrack->valueAt(nTime));
}

void tst_Keyframes::trackJsonTolerant()
{
    // No segment list: transitions where the values differ, easing 3. Junk entries are skipped.
    const QJsonObject jo = QJsonDocument::fromJson(R"({
        "unit": 5,
        "keyValues": [
            {"time": 0, "type": 6, "value": {"val": 0}, "value_minus": {"val": 0}},
            "junk",
            {"time": 500, "type": 6, "value": {"val": 0}, "value_minus": {"val": 0}},
            {"time": 1000, "type": 6, "value": {"val": 1}, "value_minus": {"val": 1}}
        ],
        "keyframeSegments": {"not": "an array"}
    })").object();
    KVKeyframe track(Cat::Opacity, QStringLiteral("%"), nullptr);
    track.fromJson(jo);
    QCOMPARE(track.unit(), QString());
    QCOMPARE(times(track), (QList<int>{0, 500, 1000}));
    QVERIFY(!track.innerSegment(0)->hasTransition());
    QVERIFY(track.innerSegment(1)->hasTransition());
    QCOMPARE(track.innerSegment(1)->easingCode(), 3);

    // A segment object with missing keys reads as linear without transition.
    KVKeyframe other(Cat::Opacity, QStringLiteral("%"), nullptr);
    QJsonObject joOther = jo;
    joOther.insert(QStringLiteral("keyframeSegments"), QJsonArray{QJsonObject(), QJsonObject{{"easing_curve", 33}, {"has_transition", true}}});
    other.fromJson(joOther);
    QCOMPARE(other.innerSegment(0)->easingCode(), 0);
    QVERIFY(!other.innerSegment(0)->hasTransition());
    QCOMPARE(other.innerSegment(1)->easingCode(), 33);
}

void tst_Keyframes::animationJsonRoundTrip()
{
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    pElement->setId(7);
    KVAnimation animation(pElement.get());
    animation.setAutoOrient(true);
    animation.setInherited(Cat::Opacity, false);
    animation.setInherited(Cat::Left, false);
    QVERIFY(!animation.setInherited(Cat::Left, false));
    animation.setInherited(Cat::Top, true);
    for (int nCode : {int(Cat::Opacity), int(Cat::Left), int(Cat::BackgroundColor)}) {
        KVKeyframe *pTrack = KVKeyframe::create(pElement.get(), nCode, KVLayoutKey::base());
        QVERIFY(pTrack);
        const QVariant v0 = nCode == Cat::BackgroundColor ? QVariant(QColor(Qt::red)) : QVariant(0.0);
        const QVariant v1 = nCode == Cat::BackgroundColor ? QVariant(QColor(Qt::blue)) : QVariant(0.75);
        pTrack->addKeyValue(new KVKeyValue(100, v0), 3, true);
        pTrack->addKeyValue(new KVKeyValue(nCode * 10 + 500, v1), 21, true);
        QVERIFY(animation.addKeyframe(pTrack));
    }
    QCOMPARE(animation.length(), 680);

    QJsonObject jo;
    animation.toJson(jo);
    QCOMPARE(jo.value(QStringLiteral("element_id")).toInt(), 7);
    QCOMPARE(jo.value(QStringLiteral("inherit")).toArray(), (QJsonArray{0, 14}));
    QCOMPARE(jo.value(QStringLiteral("keyframes")).toArray().size(), 3);

    std::unique_ptr<KVAnimation> pClone(animation.clone(nullptr, KVLayoutKey::base()));
    QCOMPARE(pClone->element(), pElement.get());
    QVERIFY(pClone->autoOrient());
    QVERIFY(!pClone->isInherited(Cat::Left));
    QVERIFY(pClone->isInherited(Cat::Top));
    QCOMPARE(pClone->keyframes().size(), 3);
    QCOMPARE(pClone->keyframe(Cat::BackgroundColor)->target(), animation.keyframe(Cat::BackgroundColor)->target());
    QJsonObject joClone;
    pClone->toJson(joClone);
    QCOMPARE(compact(joClone), compact(jo));

    // The clone's tracks are its own.
    pClone->keyframe(Cat::Opacity)->shiftTimes(10);
    QCOMPARE(animation.keyframe(Cat::Opacity)->keyValues().first()->time(), 100);
}

void tst_Keyframes::animationSkipsForeignTracks()
{
    // A group has no fill: its background colour track, an unknown code, a second opacity track and
    // a junk entry are dropped; everything else is read.
    std::unique_ptr<KVElement> pGroup(KVElementFactory::createElement(KVElementType::Group));
    QVERIFY(pGroup);
    const QJsonObject jo = QJsonDocument::fromJson(R"({
        "element_id": 3, "auto_orient": "yes",
        "keyframes": [
            {"type": 14, "unit": "%", "keyValues": [{"time": 0, "type": 6, "value": {"val": 0.5}}]},
            {"type": 18, "unit": "color", "keyValues": [{"time": 0, "type": 67, "value": {"rgba": 1}}]},
            {"type": 50, "keyValues": [{"time": 0, "type": 6, "value": {"val": 1}}]},
            {"type": 14, "unit": "%", "keyValues": [{"time": 9, "type": 6, "value": {"val": 0.1}}]},
            17,
            {"type": 11, "unit": "deg", "keyValues": [{"time": 300, "type": 6, "value": {"val": 45}}]}
        ],
        "inherit": [14, 50, "x", 11, -3]
    })").object();
    KVAnimation animation(pGroup.get());
    animation.fromJson(jo, nullptr, KVLayoutKey::base());
    QVERIFY(!animation.autoOrient());
    QCOMPARE(animation.keyframes().size(), 2);
    QCOMPARE(animation.keyframe(Cat::Opacity)->keyValues().first()->value().toDouble(), 0.5);
    QCOMPARE(animation.keyframe(Cat::RotateZ)->valueAt(1000).toDouble(), 45.0);
    QVERIFY(!animation.keyframe(Cat::BackgroundColor));
    QCOMPARE(animation.inheritFlags().keys(), (QList<int>{11, 14}));

    // Reading again replaces what was there.
    animation.fromJson(QJsonObject(), nullptr, KVLayoutKey::base());
    QCOMPARE(animation.keyframes().size(), 0);
    QCOMPARE(animation.length(), 0);
    QVERIFY(animation.inheritFlags().isEmpty());
}

// --- Player data ------------------------------------------------------------------------------

void tst_Keyframes::playerEntries_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QList<Key>>("keys");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("opacity transition")
        << int(Cat::Opacity) << "%" << QList<Key>{{0, 0.5}, {1000, 1.0}}
        << QStringList{R"({"d":1000,"e":100,"el":4,"es":3,"p":"o","s":50,"t":0})"};
    QTest::newRow("equal values hold")
        << int(Cat::Opacity) << "%" << QList<Key>{{0, 0.5}, {1000, 0.5}}
        << QStringList{R"({"d":0,"e":50,"el":4,"p":"o","s":50,"t":0})",
                       R"({"d":0,"e":50,"el":4,"p":"o","s":50,"t":1000})"};
    QTest::newRow("jump between two transitions")
        << int(Cat::Opacity) << "%" << QList<Key>{{0, 0.0}, {500, 0.8, 0.4}, {1000, 0.0}}
        << QStringList{R"({"d":500,"e":40,"el":4,"es":3,"p":"o","s":0,"t":0})",
                       R"({"d":500,"e":0,"el":4,"es":3,"p":"o","s":80,"t":500})"};
    QTest::newRow("jump after a hold")
        << int(Cat::Opacity) << "%" << QList<Key>{{0, 0.4}, {500, 0.8, 0.4}, {1000, 0.0}}
        << QStringList{R"({"d":0,"e":40,"el":4,"p":"o","s":40,"t":0})",
                       R"({"d":0,"e":80,"el":4,"p":"o","s":40,"t":500})",
                       R"({"d":500,"e":0,"el":4,"es":3,"p":"o","s":80,"t":500})"};
    QTest::newRow("left in pixels is text")
        << int(Cat::Left) << "px" << QList<Key>{{200, 10.4}}
        << QStringList{R"({"d":0,"e":"10.4px","el":4,"p":"lt","s":"10.4px","t":200})"};
    QTest::newRow("display never moves")
        << int(Cat::Display) << "" << QList<Key>{{0, 1.0}, {300, 0.0}}
        << QStringList{R"({"d":0,"e":"1","el":4,"p":"d","s":"1","t":0})",
                       R"({"d":0,"e":"0","el":4,"p":"d","s":"0","t":300})"};
}

void tst_Keyframes::playerEntries()
{
    QFETCH(int, type);
    QFETCH(QString, unit);
    QFETCH(QList<Key>, keys);
    QFETCH(QStringList, expected);

    auto pTrack = makeTrack(type, unit, keys);
    QJsonArray entries;
    pTrack->toPlayerJson(entries, 4);
    QStringList actual;
    for (const QJsonValue &v : entries)
        actual << compact(v.toObject());
    QCOMPARE(actual, expected);
}

void tst_Keyframes::playerValueFormats_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("scale is a number") << int(Cat::ScaleX) << "%" << QVariant(1.25) << "[125]";
    QTest::newRow("origin is percent text") << int(Cat::OriginX) << "%" << QVariant(0.125) << R"(["12.5%"])";
    QTest::newRow("width in percent") << int(Cat::Width) << "%" << QVariant(1.0 / 3) << R"(["33.3333%"])";
    QTest::newRow("colour") << int(Cat::BackgroundColor) << "color" << QVariant(QColor(1, 2, 3, 4)) << "[[1,2,3,4]]";
    QTest::newRow("location") << int(Cat::Location) << "" << QVariant(QPointF(1.5, -2)) << "[[1.5,-2]]";
    QTest::newRow("gradient angle") << int(Cat::GradientAngle) << "deg" << QVariant(44.6) << "[45]";
    // Fractions are kept to a hundredth, but in whole-number fields (font size).
    QTest::newRow("rotation") << int(Cat::RotateZ) << "deg" << QVariant(-89.6) << R"(["-89.6deg"])";
    QTest::newRow("rotation to a hundredth") << int(Cat::RotateZ) << "deg" << QVariant(33.456) << R"(["33.46deg"])";
    QTest::newRow("left to a hundredth") << int(Cat::Left) << "px" << QVariant(420.4) << R"(["420.4px"])";
    QTest::newRow("whole left") << int(Cat::Left) << "px" << QVariant(-3.0) << R"(["-3px"])";
    QTest::newRow("font size") << int(Cat::FontSize) << "px" << QVariant(120.4) << R"(["120px"])";
}

void tst_Keyframes::playerValueFormats()
{
    QFETCH(int, type);
    QFETCH(QString, unit);
    QFETCH(QVariant, value);
    QFETCH(QString, expected);

    KVKeyframe track(type, unit, nullptr);
    const QJsonArray ja{track.playerValue(KVKeyValue::normalized(value))};
    QCOMPARE(QString::fromUtf8(QJsonDocument(ja).toJson(QJsonDocument::Compact)), expected);
}

void tst_Keyframes::animationPlayerEntries()
{
    // The scene's own animation writes element id 0; other elements their id; tracks in order.
    KVElementContainer scene;
    scene.init();
    scene.setId(12);
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(KVElementType::Div));
    pElement->setId(4);

    KVAnimation sceneAnimation(&scene);
    KVKeyframe *pFill = KVKeyframe::create(&scene, Cat::BackgroundColor, KVLayoutKey::base());
    QVERIFY(pFill);
    pFill->addKeyValue(new KVKeyValue(0, QColor(255, 0, 0)), 3, true);
    pFill->addKeyValue(new KVKeyValue(500, QColor(0, 0, 255, 128)), 24, true);
    QVERIFY(sceneAnimation.addKeyframe(pFill));

    KVAnimation animation(pElement.get());
    for (int nCode : {int(Cat::Opacity), int(Cat::Width)}) {
        KVKeyframe *pTrack = KVKeyframe::create(pElement.get(), nCode, KVLayoutKey::base());
        pTrack->addKeyValue(new KVKeyValue(100, nCode == Cat::Width ? 200.0 : 0.25), 3, true);
        QVERIFY(animation.addKeyframe(pTrack));
    }

    QJsonArray entries;
    sceneAnimation.toPlayerJson(entries);
    animation.toPlayerJson(entries);
    QStringList actual;
    for (const QJsonValue &v : entries)
        actual << compact(v.toObject());
    QCOMPARE(actual, (QStringList{
        R"({"d":500,"e":[0,0,255,128],"el":0,"es":24,"p":"fc","s":[255,0,0,255],"t":0})",
        R"({"d":0,"e":25,"el":4,"p":"o","s":25,"t":100})",
        R"({"d":0,"e":"200px","el":4,"p":"w","s":"200px","t":100})"}));

    // A track taken out goes back to the caller and no longer writes entries.
    std::unique_ptr<KVKeyframe> pTaken(animation.keyframe(Cat::Opacity));
    QVERIFY(animation.removeKeyframe(pTaken.get()));
    QVERIFY(!animation.removeKeyframe(pTaken.get()));
    QVERIFY(!pTaken->parent());
    QJsonArray rest;
    animation.toPlayerJson(rest);
    QCOMPARE(rest.size(), 1);
}

KAVIO_TEST_MAIN(tst_Keyframes)
#include "tst_keyframes.moc"
