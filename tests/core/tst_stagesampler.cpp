#include "KVTestMain.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVStageSampler.h"

#include <QEasingCurve>
#include <QJsonArray>
#include <QJsonObject>
#include <QtMath>

namespace {

KVElement *addBox(KVScene *pScene, const QString &strName, double dX, double dY, double dW, double dH,
                  KVElement *pParent = nullptr)
{
    KVElement *pElement = KVElementFactory::createElement(5);
    pElement->setName(strName);
    pElement->setPositionX(dX);
    pElement->setPositionY(dY);
    pElement->setSizeW(dW);
    pElement->setSizeH(dH);
    pScene->addElement(pElement, -1, pParent);
    return pElement;
}

QJsonArray boxOf(const QJsonObject &joSample, const QString &strName)
{
    return joSample.value(QStringLiteral("elements")).toObject().value(strName).toObject().value(QStringLiteral("box")).toArray();
}

bool near(const QJsonArray &actual, const QList<double> &expected)
{
    if (actual.size() != expected.size())
        return false;
    for (int i = 0; i < expected.size(); ++i) {
        if (qAbs(actual.at(i).toDouble() - expected.at(i)) > 1e-3)
            return false;
    }
    return true;
}

QString text(const QJsonArray &ja)
{
    QStringList parts;
    for (const QJsonValue &v : ja)
        parts << QString::number(v.toDouble());
    return parts.join(QLatin1Char(','));
}

} // namespace

class tst_StageSampler : public QObject
{
    Q_OBJECT

private slots:
    void boxes_data();
    void boxes();
    void nested();
    void seeksTheModel();
};

void tst_StageSampler::boxes_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QList<double>>("box");
    // A 100 x 50 box at (10, 20) on an 800 x 600 stage, changed one way per row.
    QTest::newRow("plain") << "" << QList<double>{10, 20, 100, 50};
    QTest::newRow("percent position") << "percent" << QList<double>{400, 150, 100, 50};
    QTest::newRow("right anchored") << "right" << QList<double>{690, 20, 100, 50};
    QTest::newRow("right bottom") << "rightbottom" << QList<double>{690, 530, 100, 50};
    QTest::newRow("left bottom") << "leftbottom" << QList<double>{10, 530, 100, 50};
    QTest::newRow("turned 90 about the centre") << "rotate90" << QList<double>{35, -5, 50, 100};
    QTest::newRow("scaled 2 about the top-left") << "scale2" << QList<double>{10, 20, 200, 100};
    QTest::newRow("scaled 2 about the centre") << "scale2centre" << QList<double>{-40, -5, 200, 100};
    QTest::newRow("translated") << "translate" << QList<double>{15, 13, 100, 50};
    QTest::newRow("motion offset") << "motion" << QList<double>{110, 20, 100, 50};
    // skewX(45deg) about the centre moves the top edge left by 25 and the bottom right by 25.
    QTest::newRow("skewed") << "skew" << QList<double>{-15, 20, 150, 50};
    QTest::newRow("auto width") << "autowidth" << QList<double>{10, 20, 150, 50};
}

void tst_StageSampler::boxes()
{
    QFETCH(QString, change);
    QFETCH(QList<double>, box);
    KVSceneList list;
    KVScene *pScene = list.createScene();
    list.addScene(pScene);
    KVElement *pBox = addBox(pScene, QStringLiteral("box"), 10, 20, 100, 50);
    pBox->setOriginRatioX(0.5);
    pBox->setOriginRatioY(0.5);
    if (change == QLatin1String("percent")) {
        pBox->setUnitX(1);
        pBox->setUnitY(1);
        pBox->setPositionX(0.5);
        pBox->setPositionY(0.25);
    } else if (change == QLatin1String("right")) {
        pBox->setCoordinateType(1);
    } else if (change == QLatin1String("rightbottom")) {
        pBox->setCoordinateType(2);
    } else if (change == QLatin1String("leftbottom")) {
        pBox->setCoordinateType(3);
    } else if (change == QLatin1String("rotate90")) {
        pBox->setRotateZ(90);
    } else if (change == QLatin1String("scale2")) {
        pBox->setOriginRatioX(0);
        pBox->setOriginRatioY(0);
        pBox->setScaleX(2);
        pBox->setScaleY(2);
    } else if (change == QLatin1String("scale2centre")) {
        pBox->setScaleX(2);
        pBox->setScaleY(2);
    } else if (change == QLatin1String("translate")) {
        pBox->setTranslateX(5);
        pBox->setTranslateY(-7);
    } else if (change == QLatin1String("motion")) {
        pBox->setTranslateXY(QPointF(100, 0));
    } else if (change == QLatin1String("skew")) {
        pBox->setSkewX(45);
    } else if (change == QLatin1String("autowidth")) {
        pBox->setUnitW(2);
        pBox->setSizeW(3.0);
    }
    KVStageSampler sampler(pScene);
    const QJsonArray jaBox = boxOf(sampler.sampleJson(0), QStringLiteral("box"));
    QVERIFY2(near(jaBox, box), qPrintable(text(jaBox)));
}

void tst_StageSampler::nested()
{
    KVSceneList list;
    KVScene *pScene = list.createScene();
    list.addScene(pScene);
    // A 200 x 100 group at (100, 100) turned 90 degrees about its centre (200, 150); its child
    // 20 x 10 at (0, 0) sits at the group's top-left corner, which the turn takes to (250, 50).
    KVElement *pGroup = addBox(pScene, QStringLiteral("group"), 100, 100, 200, 100);
    pGroup->setRotateZ(90);
    KVElement *pChild = addBox(pScene, QStringLiteral("child"), 0, 0, 20, 10, pGroup);
    pChild->setOpacity(0.25);
    pChild->setDisplay(0);
    KVStageSampler sampler(pScene);
    const QJsonObject jo = sampler.sampleJson(0);
    QVERIFY2(near(boxOf(jo, QStringLiteral("group")), {150, 50, 100, 200}), qPrintable(text(boxOf(jo, "group"))));
    QVERIFY2(near(boxOf(jo, QStringLiteral("child")), {240, 50, 10, 20}), qPrintable(text(boxOf(jo, "child"))));
    const QJsonObject joChild = jo.value(QStringLiteral("elements")).toObject().value(QStringLiteral("child")).toObject();
    QCOMPARE(joChild.value(QStringLiteral("opacity")).toDouble(), 0.25);
    QCOMPARE(joChild.value(QStringLiteral("visible")).toBool(), false);
    QCOMPARE(jo.value(QStringLiteral("t")).toInt(), 0);
}

void tst_StageSampler::seeksTheModel()
{
    KVSceneList list;
    KVScene *pScene = list.createScene();
    list.addScene(pScene);
    KVElement *pBox = addBox(pScene, QStringLiteral("box"), 0, 0, 100, 100);
    KVTimeline *pTimeline = pScene->mainTimeline();
    KVKeyframe *pTrack = KVKeyframe::create(pBox, KVPropertyCatalogue::Left, KVLayoutKey::base());
    pTrack->addKeyValue(new KVKeyValue(0, 0.0), QEasingCurve::Linear, true);
    pTrack->addKeyValue(new KVKeyValue(1000, 200.0), QEasingCurve::Linear, true);
    auto *pAnimation = new KVAnimation(pBox);
    pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
    pAnimation->addKeyframe(pTrack);

    KVStageSampler sampler(pScene);
    QVERIFY(near(boxOf(sampler.sampleJson(0), QStringLiteral("box")), {0, 0, 100, 100}));
    QVERIFY(near(boxOf(sampler.sampleJson(500), QStringLiteral("box")), {100, 0, 100, 100}));
    QVERIFY(near(boxOf(sampler.sampleJson(1000), QStringLiteral("box")), {200, 0, 100, 100}));
    QCOMPARE(pTimeline->currentTimeMs(), 1000);
}

KAVIO_TEST_MAIN(tst_StageSampler)
#include "tst_stagesampler.moc"
