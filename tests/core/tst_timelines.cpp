#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVEventCatalogue.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include "KVTestMain.h"

#include <QJsonDocument>
#include <QPointF>
#include <QSequentialAnimationGroup>
#include <QSignalSpy>
#include <QVariantAnimation>

#include <memory>

using Cat = KVPropertyCatalogue;

namespace {

const KVLayoutKey kBase = KVLayoutKey::base();
const KVLayoutKey kWide(1, 0);

QString compact(const QJsonObject &jo)
{
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

QJsonObject parse(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

// An 800 x 600 stage with two rectangles (ids 1 and 2); everything also has the wide layout.
struct Stage
{
    std::unique_ptr<KVElementContainer> pRoot = std::make_unique<KVElementContainer>();
    KVElement *pFirst = KVElementFactory::createElement(KVElementType::Div);
    KVElement *pSecond = KVElementFactory::createElement(KVElementType::Div);

    Stage()
    {
        pRoot->init();
        pRoot->setSizeW(800);
        pRoot->setSizeH(600);
        pRoot->addElement(pFirst);
        pRoot->addElement(pSecond);
        for (KVElement *pElement : {static_cast<KVElement *>(pRoot.get()), pFirst, pSecond})
            pElement->addProperty(KVElementFactory::createProperty(pElement->type()), kWide);
    }
};

// An animation with one linear track from (0, from) to (nEnd, to).
KVAnimation *animation(KVElement *pElement, int nCode, const KVLayoutKey &layout, const QVariant &from,
                       const QVariant &to, int nEnd = 1000)
{
    auto *pAnimation = new KVAnimation(pElement);
    KVKeyframe *pTrack = nCode == Cat::Location ? KVMotionPathKeyframe::create(pElement, layout)
                                                : KVKeyframe::create(pElement, nCode, layout);
    pTrack->addKeyValue(new KVKeyValue(0, from), QEasingCurve::Linear, true);
    pTrack->addKeyValue(new KVKeyValue(nEnd, to), QEasingCurve::Linear, true);
    pAnimation->addKeyframe(pTrack);
    return pAnimation;
}

// A trigger of one "Pause Timeline" action; the timeline id tells triggers apart in player data.
KVEventListenerList *trigger(int nTime, int nTag)
{
    auto *pTrigger = new KVEventListenerList;
    pTrigger->insert(new KVEventListener(KVEventCatalogue::Trigger, KVActionCatalogue::PauseTimeline,
                                         QJsonObject{{QStringLiteral("timeline_id"), nTag}}));
    pTrigger->setTriggerTime(nTime);
    return pTrigger;
}

int playerDuration(const KVTimeline &timeline)
{
    QJsonObject jo;
    timeline.toPlayerJson(jo, false, true);
    return jo.value("dur").toInt(-1);
}

// "h,v:n" per layout of the map, for example "0,0:2 1,0:1".
QString layoutCounts(const KVTimeline &timeline)
{
    QStringList parts;
    const auto &map = timeline.layoutAnimations();
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        parts << QStringLiteral("%1,%2:%3").arg(it.key().nHLayoutId).arg(it.key().nVLayoutId).arg(it.value().size());
    return parts.join(' ');
}

// The group's children other than the two keepers.
QList<QAbstractAnimation *> animationChildren(const KVTimeline &timeline)
{
    QList<QAbstractAnimation *> list;
    for (int n = 0; n < timeline.animationCount(); ++n) {
        if (qobject_cast<KVAnimation *>(timeline.animationAt(n)))
            list.append(timeline.animationAt(n));
    }
    return list;
}

// Records every time the group passes on to it.
class TimeProbe : public QVariantAnimation
{
public:
    QList<int> times;

protected:
    void updateCurrentTime(int nTime) override { times.append(nTime); }
};

} // namespace

class TimelinesTest : public QObject
{
    Q_OBJECT

private slots:
    void keepers_data();
    void keepers();
    void triggersInTimeOrder_data();
    void triggersInTimeOrder();
    void seek_data();
    void seek();
    void seekNeverShowsChildrenTimeZero();
    void layouts();
    void projectRoundTrip();
    void readerDefaults_data();
    void readerDefaults();
    void readAnimations_data();
    void readAnimations();
    void playerForm_data();
    void playerForm();
    void listIds_data();
    void listIds();
    void listEditing();
    void listJson_data();
    void listJson();
    void listReadAppliesLayoutAndTime();
};

// Steps: "L <name> <time>" adds a label, "L- <name>" removes it, "Lt <name> <time>" moves it;
// "T <time>" adds a new trigger, "T= <k>" adds trigger k again, "T- <k>" removes it, "Tt <k> <time>"
// moves it. Each step is checked for its result and the player "dur" after it.
void TimelinesTest::keepers_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<bool>>("results");
    QTest::addColumn<QList<int>>("durations");
    QTest::newRow("label 3000, trigger 5000, then each removed")
        << QStringList{"L intro 3000", "T 5000", "T- 0", "L- intro"} << QList<bool>{1, 1, 1, 1}
        << QList<int>{3000, 5000, 3000, 0};
    QTest::newRow("labels shrink to the largest remaining")
        << QStringList{"L a 1000", "L b 4000", "L c 2000", "L- b", "Lt c 500", "Lt a 3000"}
        << QList<bool>{1, 1, 1, 1, 1, 1} << QList<int>{1000, 4000, 4000, 2000, 1000, 3000};
    QTest::newRow("unknown labels change nothing")
        << QStringList{"L a 1000", "Lt x 9000", "L- x"} << QList<bool>{1, 0, 0} << QList<int>{1000, 1000, 1000};
    QTest::newRow("adding an existing label replaces its time; names are case-sensitive")
        << QStringList{"L a 5000", "L A 1000", "L a 2000"} << QList<bool>{1, 1, 1} << QList<int>{5000, 5000, 2000};
    QTest::newRow("triggers grow and shrink")
        << QStringList{"T 2000", "T 6000", "Tt 1 1000", "T- 0", "Tt 0 9000"} << QList<bool>{1, 1, 1, 1, 0}
        << QList<int>{2000, 6000, 2000, 1000, 1000};
    QTest::newRow("the same list twice is one trigger")
        << QStringList{"T 3000", "T= 0", "T- 0", "T- 0"} << QList<bool>{1, 0, 1, 0} << QList<int>{3000, 3000, 0, 0};
}

void TimelinesTest::keepers()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<bool>, results);
    QFETCH(QList<int>, durations);
    KVTimeline timeline;
    std::vector<KVEventListenerList *> made;
    std::vector<std::unique_ptr<KVEventListenerList>> removed;
    for (int n = 0; n < steps.size(); ++n) {
        const QStringList p = steps.at(n).split(' ');
        const size_t nIndex = p.size() > 1 ? size_t(p[1].toInt()) : 0;
        KVEventListenerList *pTrigger = nIndex < made.size() ? made[nIndex] : nullptr;
        bool bResult = true;
        if (p[0] == "L") {
            timeline.addLabel(p[1], p[2].toInt());
        } else if (p[0] == "L-") {
            bResult = timeline.removeLabel(p[1]);
        } else if (p[0] == "Lt") {
            bResult = timeline.setLabelTime(p[1], p[2].toInt());
        } else if (p[0] == "T") {
            made.push_back(trigger(p[1].toInt(), n));
            bResult = timeline.addTrigger(made.back());
        } else if (p[0] == "T=") {
            bResult = timeline.addTrigger(pTrigger);
        } else if (p[0] == "Tt") {
            bResult = timeline.setTriggerTime(pTrigger, p[2].toInt());
        } else if ((bResult = timeline.removeTrigger(pTrigger))) {
            removed.emplace_back(pTrigger);  // the caller owns a removed trigger
        }
        QVERIFY2(bResult == results.at(n), qPrintable(steps.at(n)));
        QVERIFY2(playerDuration(timeline) == durations.at(n),
                 qPrintable(QStringLiteral("%1 -> %2").arg(steps.at(n)).arg(playerDuration(timeline))));
    }
    QCOMPARE(timeline.triggers().size(), int(made.size() - removed.size()));
}

void TimelinesTest::triggersInTimeOrder_data()
{
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QList<int>>("expectedTags");
    QTest::newRow("reversed") << QList<int>{300, 200, 100} << QList<int>{2, 1, 0};
    QTest::newRow("equal times keep list order") << QList<int>{500, 100, 500, 100} << QList<int>{1, 3, 0, 2};
    // Enough triggers for an unstable sort to show.
    QList<int> times, tags;
    for (int n = 0; n < 60; ++n)
        times << (n * 7) % 3 * 100;
    for (int nTime : {0, 100, 200}) {
        for (int n = 0; n < times.size(); ++n) {
            if (times.at(n) == nTime)
                tags << n;
        }
    }
    QTest::newRow("many at three times") << times << tags;
}

void TimelinesTest::triggersInTimeOrder()
{
    QFETCH(QList<int>, times);
    QFETCH(QList<int>, expectedTags);
    KVTimeline timeline;
    for (int n = 0; n < times.size(); ++n)
        timeline.addTrigger(trigger(times.at(n), n));
    // One empty trigger writes nothing.
    timeline.addTrigger(new KVEventListenerList);
    QJsonObject jo;
    timeline.toPlayerJson(jo, false, true);
    QList<int> tags;
    for (const QJsonValue &value : jo.value("t").toArray()) {
        // [time, [[4, timeline id]]]
        const QJsonArray entry = value.toArray();
        QCOMPARE(entry.at(0).toInt(), times.at(entry.at(1)[0][1].toInt()));
        tags << entry.at(1)[0][1].toInt();
    }
    QCOMPARE(tags, expectedTags);
}

void TimelinesTest::seek_data()
{
    QTest::addColumn<QList<int>>("seeks");
    QTest::addColumn<int>("labelTime");
    QTest::addColumn<double>("opacity");
    // Opacity runs linearly from 0.5 at 0 to 1.0 at 1000.
    QTest::newRow("forward") << QList<int>{250} << 0 << 0.625;
    QTest::newRow("at the end then back") << QList<int>{1000, 400} << 0 << 0.7;
    QTest::newRow("beyond the end then back") << QList<int>{5000, 100} << 0 << 0.55;
    QTest::newRow("back to the start") << QList<int>{800, 0} << 0 << 0.5;
    QTest::newRow("beyond the end") << QList<int>{5000} << 0 << 1.0;
    QTest::newRow("label lengthens: past the track") << QList<int>{3000} << 4000 << 1.0;
    QTest::newRow("label lengthens: past then inside") << QList<int>{3000, 200} << 4000 << 0.6;
    QTest::newRow("many steps") << QList<int>{900, 100, 4000, 600, 600, 300} << 4000 << 0.65;
}

void TimelinesTest::seek()
{
    QFETCH(QList<int>, seeks);
    QFETCH(int, labelTime);
    QFETCH(double, opacity);
    Stage stage;
    KVTimeline timeline(stage.pRoot.get());
    timeline.addAnimation(animation(stage.pFirst, Cat::Opacity, kBase, 0.5, 1.0), kBase);
    if (labelTime > 0)
        timeline.addLabel(QStringLiteral("end"), labelTime);
    // A zero-length animation: the second element's opacity is 0.3 at any time.
    auto *pConstant = new KVAnimation(stage.pSecond);
    KVKeyframe *pTrack = KVKeyframe::create(stage.pSecond, Cat::Opacity, kBase);
    pTrack->addKeyValue(new KVKeyValue(0, 0.3), QEasingCurve::Linear, true);
    pConstant->addKeyframe(pTrack);
    timeline.addAnimation(pConstant, kBase);
    QSignalSpy spy(&timeline, &KVTimeline::timeChanged);
    for (int nTime : qAsConst(seeks)) {
        // Every seek sets every animated property, also after a change made elsewhere.
        stage.pSecond->setOpacity(1.0);
        timeline.seek(nTime);
        QCOMPARE(stage.pSecond->opacity(), 0.3);
    }
    // The stored time is the time asked for, also beyond the duration; repeats are not signalled.
    int nChanges = 0;
    for (int n = 0; n < seeks.size(); ++n)
        nChanges += seeks.at(n) != (n > 0 ? seeks.at(n - 1) : 0);
    QCOMPARE(timeline.currentTimeMs(), seeks.last());
    QCOMPARE(spy.count(), nChanges);
    QVERIFY2(qAbs(stage.pFirst->opacity() - opacity) < 1e-9, qPrintable(QString::number(stage.pFirst->opacity())));
}

void TimelinesTest::seekNeverShowsChildrenTimeZero()
{
    KVTimeline timeline;
    auto *pProbe = new TimeProbe;
    pProbe->setDuration(2000);
    // Straight into the group, as a symbol's playback child would be.
    static_cast<QAnimationGroup &>(timeline).addAnimation(pProbe);
    timeline.seek(1500);
    // Seeking to the end stops the group; the next seek starts it again.
    timeline.seek(2000);
    timeline.seek(700);
    QCOMPARE(pProbe->times, (QList<int>{1500, 2000, 700}));
}

void TimelinesTest::layouts()
{
    Stage stage;
    KVTimeline timeline(stage.pRoot.get());
    KVAnimation *pBase = animation(stage.pFirst, Cat::Opacity, kBase, 0.0, 0.4);
    KVAnimation *pOther = animation(stage.pSecond, Cat::Opacity, kBase, 0.0, 1.0, 3000);
    KVAnimation *pWide = animation(stage.pFirst, Cat::Opacity, kWide, 0.6, 0.8, 2000);
    QVERIFY(timeline.addAnimation(pBase, kBase));
    QVERIFY(!timeline.addAnimation(pBase, kBase));
    QVERIFY(!timeline.addAnimation(nullptr, kBase));
    QVERIFY(timeline.addAnimation(pOther, kBase));
    QVERIFY(timeline.addAnimation(pWide, kWide));
    QCOMPARE(animationChildren(timeline), (QList<QAbstractAnimation *>{pBase, pOther}));
    QCOMPARE(timeline.findAnimation(stage.pFirst, kWide), pWide);
    QCOMPARE(timeline.findAnimation(stage.pSecond, kWide), nullptr);
    QCOMPARE(timeline.duration(), 3000);

    // Taking an animation out hands it back without destroying it.
    QVERIFY(!timeline.removeAnimation(pOther, kWide));
    QVERIFY(timeline.removeAnimation(pOther, kBase));
    std::unique_ptr<KVAnimation> pTaken(pOther);
    QVERIFY(!pOther->parent() && !pOther->group());
    QCOMPARE(timeline.duration(), 1000);

    stage.pRoot->setCurrentLayout(kWide);
    timeline.setCurrentLayout(kWide);
    QCOMPARE(animationChildren(timeline), QList<QAbstractAnimation *>{pWide});
    QVERIFY(!pBase->group());
    QCOMPARE(timeline.duration(), 2000);
    timeline.seek(1000);
    QCOMPARE(stage.pFirst->opacity(kWide), 0.7);
    QCOMPARE(stage.pFirst->opacity(kBase), 1.0);

    // A layout without animations leaves only the keepers.
    timeline.setCurrentLayout(KVLayoutKey(2, 3));
    QCOMPARE(timeline.animationCount(), 2);
    QCOMPARE(timeline.animations(KVLayoutKey(2, 3)), QList<KVAnimation *>());

    stage.pRoot->setCurrentLayout(kBase);
    timeline.setCurrentLayout(kBase);
    timeline.seek(500);
    QCOMPARE(stage.pFirst->opacity(kBase), 0.2);
    QCOMPARE(stage.pFirst->opacity(kWide), 0.7);

    // An animation destroyed by someone else leaves the map and the group.
    delete pBase;
    delete pWide;
    QCOMPARE(layoutCounts(timeline), QStringLiteral("0,0:0 1,0:0"));
    QCOMPARE(timeline.animationCount(), 2);
    timeline.seek(100);
}

void TimelinesTest::projectRoundTrip()
{
    Stage stage;
    KVTimeline timeline(stage.pRoot.get());
    timeline.setId(4);
    timeline.setName(QStringLiteral("Intro \"2\""));
    timeline.setLoopTimeline(true);
    timeline.setShowSnapping(false);
    timeline.setSnapToKeyframes(false);
    timeline.setShowGrid(true);
    timeline.setGridSize(5);
    timeline.setPixelPerSecond(125.5);
    timeline.addLabel(QStringLiteral("b"), 1500);
    timeline.addLabel(QStringLiteral("a"), 4500);
    timeline.addTrigger(trigger(2500, 7));
    timeline.addTrigger(trigger(500, 8));
    timeline.events()->insert(new KVEventListener(KVEventCatalogue::TimelineComplete, KVActionCatalogue::PlayTimeline));
    timeline.addAnimation(animation(stage.pFirst, Cat::Opacity, kBase, 0.25, 0.75), kBase);
    // The scene may animate its width (not its opacity).
    timeline.addAnimation(animation(stage.pRoot.get(), Cat::Width, kBase, 800, 1200), kBase);
    timeline.addAnimation(animation(stage.pSecond, Cat::Opacity, kWide, 0.1, 0.9, 6000), kWide);
    timeline.seek(1200);

    QJsonObject jo;
    timeline.toJson(jo);
    QCOMPARE(jo.value("duration").toInt(), 4500);
    QCOMPARE(compact(jo.value("map_label_to_ts").toArray().at(0).toObject()),
             QStringLiteral("{\"label_name\":\"a\",\"label_value\":4500}"));
    const QJsonArray respAnims = jo.value("respAnims").toArray();
    QCOMPARE(respAnims.size(), 2);
    const QJsonObject joBase = respAnims.at(0).toObject();
    QCOMPARE(joBase.value("animations").toArray().size(), 1);
    QCOMPARE(joBase.value("animations")[0].toObject().value("element_id").toInt(), stage.pFirst->id());
    QCOMPARE(joBase.value("scene_animation").toObject().value("keyframes").toArray().size(), 1);
    QCOMPARE(respAnims.at(1).toObject().value("hLayoutId").toInt(), 1);
    QVERIFY(!respAnims.at(1).toObject().contains("scene_animation"));

    // Reading twice replaces what the first read gave.
    KVTimeline copy(stage.pRoot.get());
    copy.fromJson(jo);
    copy.fromJson(jo);
    QJsonObject joCopy;
    copy.toJson(joCopy);
    QCOMPARE(compact(joCopy), compact(jo));
    QCOMPARE(layoutCounts(copy), QStringLiteral("0,0:2 1,0:1"));
    QCOMPARE(animationChildren(copy).size(), 2);
    QCOMPARE(copy.triggers().size(), 2);
    QCOMPARE(copy.events()->count(), 1);
}

void TimelinesTest::readerDefaults_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("expected");
    // id name time | loop only snapping grid playhead keyframes showGrid | size pps | duration
    QTest::newRow("new timeline") << QByteArray() << "-1 Timeline 0|0011110|1 50|0";
    QTest::newRow("empty object") << QByteArray("{}") << "-1 Timeline 0|0000000|0 0|0";
    QTest::newRow("mistyped values")
        << QByteArray(R"({"id":"3","name":7,"current_time":"9","show_snapping":"yes","grid_size":true,)"
                      R"("pixel_per_second":"fast","map_label_to_ts":{"a":1},"triggers":5,"respAnims":3})")
        << "-1 Timeline 0|0000000|0 0|0";
    QTest::newRow("written values")
        << QByteArray(R"({"id":3,"name":"Loop","current_time":250.4,"loop_timeline":true,)"
                      R"("only_show_anim_element":true,"show_snapping":true,"snap_to_grid":true,)"
                      R"("snap_to_playhead":true,"snap_to_keyframes":true,"show_grid":true,)"
                      R"("grid_size":6,"pixel_per_second":80.5,"duration":99999})")
        << "3 Loop 250|1111111|6 80.5|0";
    QTest::newRow("label and trigger entries")
        << QByteArray(R"({"map_label_to_ts":[{"label_name":"x","label_value":800},7,)"
                      R"({"label_name":"y","label_value":"no"}],)"
                      R"("triggers":[[{"event":200,"action":4,"event_value":{"action_time":1700}}],{},[]]})")
        << "-1 Timeline 0|0000000|0 0|1700";
}

void TimelinesTest::readerDefaults()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, expected);
    KVTimeline t;
    if (!json.isEmpty())
        t.fromJson(parse(json));
    const QString actual = QStringLiteral("%1 %2 %3|%4%5%6%7%8%9%10|%11 %12|%13")
        .arg(t.id()).arg(t.name()).arg(t.currentTimeMs())
        .arg(int(t.loopTimeline())).arg(int(t.onlyShowAnimElement())).arg(int(t.showSnapping()))
        .arg(int(t.snapToGrid())).arg(int(t.snapToPlayhead())).arg(int(t.snapToKeyframes())).arg(int(t.showGrid()))
        .arg(t.gridSize()).arg(t.pixelPerSecond()).arg(t.duration());
    QCOMPARE(actual, expected);
}

void TimelinesTest::readAnimations_data()
{
    // Element ids on the test stage: 1 and 2; 99 names nothing.
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("layouts");
    QTest::addColumn<int>("children");
    QTest::addColumn<double>("halfway");
    const QByteArray opacity = R"("keyframes":[{"type":14,"unit":"%","keyValues":[)"
                               R"({"time":0,"type":6,"value":{"val":0.5}},{"time":900,"type":6,"value":{"val":1}}]}])";
    const QByteArray width = R"("keyframes":[{"type":4,"unit":"px","keyValues":[)"
                             R"({"time":0,"type":6,"value":{"val":800}},{"time":900,"type":6,"value":{"val":1000}}]}])";
    QTest::newRow("older form: animations")
        << QByteArray(R"({"animations":[{"element_id":1,)" + opacity + R"(},{"element_id":2,)" + opacity + "}]}")
        << "0,0:2" << 2 << 0.75;
    QTest::newRow("older form: scene animation")
        << QByteArray(R"({"scene_animation":{"element_id":0,)" + width + "}}") << "0,0:1" << 1 << 900.0;
    QTest::newRow("older form: unknown and mistyped elements dropped")
        << QByteArray(R"({"animations":[{"element_id":99,)" + opacity + R"(},"x",{"element_id":"1"},)"
                      R"({"element_id":2,)" + opacity + "}]}")
        << "0,0:1" << 1 << 0.75;
    QTest::newRow("older form: empty scene animation") << QByteArray(R"({"scene_animation":{}})") << "0,0:0" << 0 << 0.0;
    QTest::newRow("layouts")
        << QByteArray(R"({"respAnims":[{"hLayoutId":0,"vLayoutId":0,"animations":[{"element_id":1,)" + opacity
                      + R"(}]},{"hLayoutId":1,"vLayoutId":0,"animations":[{"element_id":2,)" + opacity
                      + R"(},{"element_id":99}]},{"vLayoutId":4,"animations":[]}]})")
        << "0,0:1 0,4:0 1,0:1" << 1 << 0.75;
    QTest::newRow("layouts win over the older keys")
        << QByteArray(R"({"respAnims":[{"hLayoutId":1,"animations":[{"element_id":2,)" + opacity
                      + R"(}]}],"animations":[{"element_id":1,)" + opacity + "}]}")
        << "1,0:1" << 0 << 0.0;
}

void TimelinesTest::readAnimations()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, layouts);
    QFETCH(int, children);
    QFETCH(double, halfway);
    Stage stage;
    KVTimeline timeline(stage.pRoot.get());
    // Whatever was there goes.
    timeline.addAnimation(animation(stage.pSecond, Cat::Opacity, kWide, 0.0, 1.0, 8000), kWide);
    timeline.setCurrentLayout(kWide);
    timeline.fromJson(parse(json));
    QCOMPARE(layoutCounts(timeline), layouts);
    QCOMPARE(timeline.currentLayout(), kBase);
    QCOMPARE(animationChildren(timeline).size(), children);
    if (children > 0) {
        // The reader's segments ease InOutQuad over 0..900: halfway is the middle value.
        QCOMPARE(timeline.duration(), 900);
        timeline.seek(450);
        const KVKeyframe *pTrack = static_cast<KVAnimation *>(animationChildren(timeline)[0])->keyframes()[0];
        QCOMPARE(pTrack->target()->property(pTrack->fieldName().constData()).toDouble(), halfway);
    }

    // Written back, every layout is under "respAnims" (the older form becomes the base layout).
    QJsonObject jo;
    timeline.toJson(jo);
    QVERIFY(!jo.contains("animations") && !jo.contains("scene_animation"));
    KVTimeline again(stage.pRoot.get());
    again.fromJson(jo);
    QCOMPARE(layoutCounts(again), layouts);
    const KVAnimation *pScene = again.findAnimation(stage.pRoot.get(), kBase);
    QCOMPARE(bool(pScene), QTest::currentDataTag() == QLatin1String("older form: scene animation"));
}

void TimelinesTest::playerForm_data()
{
    QTest::addColumn<bool>("canvas");
    QTest::addColumn<bool>("actions");
    QTest::addColumn<int>("layout");  // 0 base, 1 wide, 2 a layout whose animation has no track
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("export") << false << true << 0 << QStringList{"dur", "e", "id", "l", "n", "ra", "t"};
    QTest::newRow("export without actions") << false << false << 0 << QStringList{"dur", "id", "l", "n", "ra"};
    QTest::newRow("canvas base") << true << true << 0 << QStringList{"anims", "dur", "id", "l", "motionElems", "n"};
    QTest::newRow("canvas wide") << true << true << 1 << QStringList{"anims", "dur", "id", "l", "n"};
    QTest::newRow("canvas empty layout") << true << true << 2 << QStringList{"dur", "id", "l", "n"};
}

void TimelinesTest::playerForm()
{
    QFETCH(bool, canvas);
    QFETCH(bool, actions);
    QFETCH(int, layout);
    QFETCH(QStringList, keys);
    Stage stage;
    KVTimeline timeline(stage.pRoot.get());
    timeline.setId(3);
    timeline.addLabel(QStringLiteral("go"), 250);
    timeline.addTrigger(trigger(100, 1));
    timeline.events()->insert(new KVEventListener(KVEventCatalogue::TimelinePlay, KVActionCatalogue::PauseTimeline));
    timeline.addAnimation(animation(stage.pFirst, Cat::Location, kBase, QPointF(0, 0), QPointF(100, 50), 400), kBase);
    timeline.addAnimation(animation(stage.pSecond, Cat::Opacity, kBase, 0.5, 1.0), kBase);
    timeline.addAnimation(animation(stage.pSecond, Cat::Opacity, kWide, 0.0, 1.0, 2000), kWide);
    timeline.addAnimation(new KVAnimation(stage.pFirst), KVLayoutKey(2, 0));
    timeline.setCurrentLayout(layout == 0 ? kBase : layout == 1 ? kWide : KVLayoutKey(2, 0));

    QJsonObject jo;
    timeline.toPlayerJson(jo, canvas, actions);
    QCOMPARE(jo.keys(), keys);
    QCOMPARE(jo.value("id").toInt(), 3);
    QCOMPARE(jo.value("n").toString(), QStringLiteral("Timeline"));
    QCOMPARE(compact(jo.value("l").toObject()), QStringLiteral("{\"go\":250}"));
    QCOMPARE(jo.value("dur").toInt(), layout == 1 ? 2000 : layout == 0 ? 1000 : 250);
    const QString first = QString::number(stage.pFirst->id());
    const QString second = QString::number(stage.pSecond->id());
    // Element ids of the entries, per layout.
    auto elements = [](const QJsonArray &entries) {
        QStringList ids;
        for (const QJsonValue &entry : entries)
            ids << QString::number(entry.toObject().value("el").toInt());
        return ids.join(',');
    };
    if (!canvas) {
        // Only the layouts that yield entries, in layout order.
        const QJsonArray ra = jo.value("ra").toArray();
        QCOMPARE(ra.size(), 2);
        QCOMPARE(QStringLiteral("%1,%2:").arg(ra[0][0].toInt()).arg(ra[0][1].toInt()) + elements(ra[0][2].toArray()),
                 "0,0:" + first + ',' + second);
        QCOMPARE(QStringLiteral("%1,%2:").arg(ra[1][0].toInt()).arg(ra[1][1].toInt()) + elements(ra[1][2].toArray()),
                 "1,0:" + second);
        if (actions) {
            QCOMPARE(compact(QJsonObject{{"t", jo.value("t")}}), QStringLiteral("{\"t\":[[100,[[4,1]]]]}"));
            QCOMPARE(jo.value("e")[0][0].toInt(), int(KVEventCatalogue::TimelinePlay));
        }
    } else if (layout == 0) {
        QCOMPARE(elements(jo.value("anims").toArray()), first + ',' + second);
        QCOMPARE(jo.value("motionElems").toArray(), QJsonArray{stage.pFirst->id()});
    } else if (layout == 1) {
        QCOMPARE(elements(jo.value("anims").toArray()), second);
    }
}

void TimelinesTest::listIds_data()
{
    QTest::addColumn<QList<int>>("incoming");
    QTest::addColumn<QList<int>>("assigned");
    QTest::addColumn<int>("nextId");
    // The main timeline has taken id 1.
    QTest::newRow("new timelines") << QList<int>{-1, 0, -5} << QList<int>{2, 3, 4} << 5;
    QTest::newRow("kept ids raise the counter") << QList<int>{7, -1, 3} << QList<int>{7, 8, 3} << 9;
    QTest::newRow("a taken id gets a new one") << QList<int>{1, 5, 5} << QList<int>{2, 5, 6} << 7;
}

void TimelinesTest::listIds()
{
    QFETCH(QList<int>, incoming);
    QFETCH(QList<int>, assigned);
    QFETCH(int, nextId);
    KVTimelineList list;
    QCOMPARE(list.mainTimeline()->id(), 1);
    QCOMPARE(list.mainTimeline()->name(), QStringLiteral("Timeline"));
    QCOMPARE(list.currentTimeline(), list.mainTimeline());
    QList<int> ids;
    for (int nId : qAsConst(incoming)) {
        auto *pTimeline = new KVTimeline;
        pTimeline->setId(nId);
        list.insert(pTimeline);
        ids << pTimeline->id();
    }
    QCOMPARE(ids, assigned);
    QCOMPARE(list.nextId(), nextId);
    QCOMPARE(list.findById(assigned.last()), list.at(list.count() - 1));
    QCOMPARE(list.findById(1000), nullptr);
}

void TimelinesTest::listEditing()
{
    KVTimelineList list;
    KVTimeline *pMain = list.mainTimeline();
    auto *pA = new KVTimeline;
    auto *pB = new KVTimeline;
    auto *pC = new KVTimeline;
    QCOMPARE(list.insert(pA, 5), 1);  // outside 0..count: appended
    QCOMPARE(list.insert(pB, 0), 0);
    QCOMPARE(list.insert(pC, -1), 3);
    QCOMPARE(list.insert(pC, 0), -1);
    QCOMPARE(list.insert(nullptr), -1);
    QVERIFY(list.moveToFront(pA));
    QCOMPARE(list.timelines(), (QList<KVTimeline *>{pA, pB, pMain, pC}));

    QSignalSpy spy(&list, &KVTimelineList::currentTimelineChanged);
    QVERIFY(list.setCurrentTimeline(pB));
    QVERIFY(list.setCurrentTimeline(pMain));
    QVERIFY(list.setCurrentTimeline(pMain));
    QVERIFY(!list.setCurrentTimeline(nullptr));
    QCOMPARE(list.remove(pMain), 2);
    std::unique_ptr<KVTimeline> pRemoved(pMain);
    QCOMPARE(list.remove(pMain), -1);
    QVERIFY(!list.moveToFront(pMain));
    // The removed current timeline hands over to the main one.
    QCOMPARE(list.currentTimeline(), pA);
    QCOMPARE(spy.count(), 3);

    // A timeline destroyed elsewhere leaves the list.
    delete pA;
    QCOMPARE(list.timelines(), (QList<KVTimeline *>{pB, pC}));
    QCOMPARE(list.currentTimeline(), pB);
}

void TimelinesTest::listJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("expected");  // ids in order | current id
    QTest::newRow("current by id")
        << QByteArray(R"({"timelines":[{"id":1,"name":"a"},{"id":4,"name":"b"},{"name":"c"}],"current_timeline":4})")
        << "1,4,5|4";
    QTest::newRow("unknown current selects the first")
        << QByteArray(R"({"timelines":[{"id":3},{"id":2}],"current_timeline":9})") << "3,2|3";
    QTest::newRow("missing current selects the first") << QByteArray(R"({"timelines":[{"id":3},{"id":2}]})") << "3,2|3";
    QTest::newRow("duplicate ids are made unique")
        << QByteArray(R"({"timelines":[{"id":2},{"id":2},"bad",{"id":-4}],"current_timeline":2})") << "2,3,4|2";
    QTest::newRow("no timelines keeps a main one") << QByteArray(R"({"timelines":[]})") << "1|1";
    QTest::newRow("wrong type keeps a main one") << QByteArray(R"({"timelines":{}})") << "1|1";
}

void TimelinesTest::listJson()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, expected);
    KVTimelineList list;
    list.insert(new KVTimeline);
    list.fromJson(parse(json));
    QStringList ids;
    for (const KVTimeline *pTimeline : list.timelines())
        ids << QString::number(pTimeline->id());
    QCOMPARE(ids.join(',') + '|' + QString::number(list.currentTimeline()->id()), expected);

    QJsonObject jo;
    list.toJson(jo);
    KVTimelineList again;
    again.fromJson(jo);
    QJsonObject joAgain;
    again.toJson(joAgain);
    QCOMPARE(compact(joAgain), compact(jo));
}

void TimelinesTest::listReadAppliesLayoutAndTime()
{
    Stage stage;
    KVTimelineList source(stage.pRoot.get());
    auto *pSecond = new KVTimeline(stage.pRoot.get());
    source.insert(pSecond);
    pSecond->addAnimation(animation(stage.pFirst, Cat::Opacity, kBase, 0.0, 1.0), kBase);
    pSecond->addAnimation(animation(stage.pFirst, Cat::Opacity, kWide, 0.2, 0.4), kWide);
    pSecond->seek(250);
    source.setCurrentTimeline(pSecond);
    QJsonObject jo;
    source.toJson(jo);
    QCOMPARE(jo.value("current_timeline").toInt(), 2);

    // The owner shows the wide layout now: the timelines are read into it, and the current one is
    // sought to its stored time.
    stage.pRoot->setCurrentLayout(kWide);
    stage.pFirst->setOpacity(1.0, kWide);
    KVTimelineList list(stage.pRoot.get());
    // A symbol instance plays the current timeline: the new one takes its place in the group.
    QSequentialAnimationGroup holder;
    holder.addAnimation(new QVariantAnimation);
    holder.addAnimation(list.currentTimeline());
    list.fromJson(jo);
    KVTimeline *pCurrent = list.currentTimeline();
    QCOMPARE(pCurrent->id(), 2);
    QCOMPARE(pCurrent->currentTimeMs(), 250);
    QCOMPARE(list.mainTimeline()->currentLayout(), kWide);
    QCOMPARE(pCurrent->currentLayout(), kWide);
    QCOMPARE(stage.pFirst->opacity(kWide), 0.25);
    QCOMPARE(holder.animationCount(), 2);
    QCOMPARE(holder.animationAt(1), pCurrent);
    holder.takeAnimation(1);
}

KAVIO_TEST_MAIN(TimelinesTest)
#include "tst_timelines.moc"
