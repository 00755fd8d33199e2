// Tracks and animations remember their length between changes; every edit that changes a length
// must be seen by the groups above it, or seeks would stop short or run past the end.
#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include "KVTestMain.h"

class tst_DurationCache : public QObject
{
    Q_OBJECT
private slots:
    void lengthsFollowEveryEdit();
    void shiftAndReadFollow();
};

namespace {
struct Fixture
{
    KVElementContainer root;
    KVElement *pElement = nullptr;
    KVTimeline *pTimeline = nullptr;
    KVAnimation *pAnimation = nullptr;
    KVKeyframe *pOpacity = nullptr;
    KVKeyframe *pRotation = nullptr;

    Fixture()
    {
        root.init();
        root.setSizeW(800);
        root.setSizeH(600);
        pElement = KVElementFactory::createElement(KVElementType::Div);
        root.addElement(pElement);
        pTimeline = new KVTimeline(&root);
        pAnimation = new KVAnimation(pElement);
        pOpacity = KVKeyframe::create(pElement, KVPropertyCatalogue::Opacity, KVLayoutKey::base());
        pOpacity->addKeyValue(new KVKeyValue(0, 0.0), 0, true);
        pOpacity->addKeyValue(new KVKeyValue(1000, 1.0), 0, true);
        pRotation = KVKeyframe::create(pElement, KVPropertyCatalogue::RotateZ, KVLayoutKey::base());
        pRotation->addKeyValue(new KVKeyValue(0, 0.0), 0, true);
        pRotation->addKeyValue(new KVKeyValue(500, 90.0), 0, true);
        pAnimation->addKeyframe(pOpacity);
        pAnimation->addKeyframe(pRotation);
        pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
    }
    ~Fixture() { delete pTimeline; }
};
} // namespace

void tst_DurationCache::lengthsFollowEveryEdit()
{
    Fixture f;
    QCOMPARE(f.pOpacity->duration(), f.pOpacity->lastTime() >= 0 ? f.pOpacity->QSequentialAnimationGroup::duration() : 0);
    const int nBefore = f.pTimeline->duration();
    QVERIFY(nBefore >= 1000);

    // moving the last key later lengthens track, animation and timeline
    f.pOpacity->setKeyValueTime(f.pOpacity->keyValueAt(1000), 2500);
    QCOMPARE(f.pOpacity->duration(), f.pOpacity->QSequentialAnimationGroup::duration());
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
    QVERIFY(f.pTimeline->duration() >= 2500);
    f.pTimeline->seek(1250);
    QCOMPARE(f.pElement->opacity(), 0.5);

    // a new key further on, then its removal
    auto *pLate = new KVKeyValue(4000, 0.25);
    f.pOpacity->addKeyValue(pLate, 0, true);
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
    QVERIFY(f.pTimeline->duration() >= 4000);
    KVKeyframeSegment *pTaken = f.pOpacity->removeKeyValue(pLate);
    QCOMPARE(f.pOpacity->duration(), f.pOpacity->QSequentialAnimationGroup::duration());
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
    f.pOpacity->restoreKeyValue(pLate, pTaken);
    QCOMPARE(f.pOpacity->duration(), f.pOpacity->QSequentialAnimationGroup::duration());
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
    f.pTimeline->seek(3250);
    QCOMPARE(f.pElement->opacity(), 0.625);

    // a whole track leaving the animation shortens it to the other track
    f.pAnimation->removeAnimation(f.pOpacity);
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
    f.pAnimation->addAnimation(f.pOpacity);
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
}

void tst_DurationCache::shiftAndReadFollow()
{
    Fixture f;
    f.pRotation->shiftTimes(3000);
    QCOMPARE(f.pRotation->duration(), f.pRotation->QSequentialAnimationGroup::duration());
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
    f.pTimeline->seek(3250);
    QCOMPARE(f.pElement->rotateZ(), 45.0);

    QJsonObject jo;
    f.pOpacity->toJson(jo);
    QJsonArray keys = jo.value(QStringLiteral("keyValues")).toArray();
    QJsonObject last = keys.last().toObject();
    last.insert(QStringLiteral("time"), 6000);
    keys.replace(keys.size() - 1, last);
    jo.insert(QStringLiteral("keyValues"), keys);
    f.pOpacity->fromJson(jo);
    QCOMPARE(f.pOpacity->duration(), f.pOpacity->QSequentialAnimationGroup::duration());
    QCOMPARE(f.pAnimation->duration(), f.pAnimation->QParallelAnimationGroup::duration());
}

KAVIO_TEST_MAIN(tst_DurationCache)
#include "tst_durationcache.moc"
