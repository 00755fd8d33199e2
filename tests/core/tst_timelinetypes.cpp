// The timeline-wide action types (ripples, the main timeline, auto-orient, whole motion paths,
// playback items) and the override types of a responsive layout.

#include "KVCommandTypesKit.h"

#include "animation/KVPlayback.h"
#include "animation/KVPlaybackAnimation.h"
#include "commands/KVCommandItem.h"
#include "interaction/KVEventListener.h"
#include "model/KVElementProperty.h"
#include "model/KVMedia.h"

#include "KVTestMain.h"

using P = KVCmdParam;
using A = KVCommandAction;
using E = KVElementCommandAction;

namespace {

// The types fixture plus a second timeline, a label at 800 ms, and an audio element with a
// playback animation holding a "Start Media" at 0 and a "Pause Media" at 400.
struct TimelineFixture : TypesFixture
{
    KVTimeline *pSecond = nullptr;
    KVMedia *pAudio = nullptr;
    KVPlaybackAnimation *pPlayback = nullptr;
    KVEventListener *pPause = nullptr;

    TimelineFixture()
    {
        pSecond = new KVTimeline(pScene);
        pSecond->setName(QStringLiteral("Second"));
        pScene->timelines()->insert(pSecond);
        pTimeline->addLabel(QStringLiteral("mid"), 800);
        pAudio = qobject_cast<KVMedia *>(KVElementFactory::createElement(1));
        pScene->addElement(pAudio);
        // No medium: the content length is 0, so every item's own duration is 0.
        pPlayback = new KVPlaybackAnimation(pAudio);
        pTimeline->addAnimation(pPlayback, kBase);
        pPlayback->playback()->addItem(40, 0);
        pPause = pPlayback->playback()->addItem(43, 400);
    }

    QString keyTimes(const KVKeyframe *pTrack) const
    {
        QStringList times;
        for (const KVKeyValue *p : pTrack->keyValues())
            times << QString::number(p->time());
        return times.join(',');
    }
    QList<int> playbackActions() const
    {
        QList<int> actions;
        for (const KVEventListener *p : pPlayback->playback()->list()->handlers())
            actions << p->action();
        return actions;
    }
    static P *item(KVEventListener *p, bool bNew) { return P::makeObject(P::ActionItem, new KVCommandItem(p, bNew), true); }
    P *animation(KVAnimation *p) { return P::makeObject(P::Animation, p); }
};

P *track(TimelineFixture &f)
{
    return P::makeObject(P::Keyframe, f.pTrack);
}

P *timeline(TimelineFixture &f)
{
    return P::makeObject(P::Timeline, f.pTimeline);
}

struct TimelineCase
{
    const char *pName;
    std::function<QList<A *>(TimelineFixture &)> build;
    std::function<bool(TimelineFixture &, bool)> state;
};

QList<TimelineCase> timelineCases()
{
    using F = TimelineFixture;
    return {
        {"24 ripple a track later",
         [](F &f) { return QList<A *>{f.action(24, {track(f), P::makeInt(500), P::makeInt(300)})}; },
         [](F &f, bool b) { return f.keyTimes(f.pTrack) == QLatin1String(b ? "0,1300" : "0,1000"); }},
        {"24 ripple a track earlier",
         [](F &f) { return QList<A *>{f.action(24, {track(f), P::makeInt(1000), P::makeInt(-400)})}; },
         [](F &f, bool b) { return f.keyTimes(f.pTrack) == QLatin1String(b ? "0,600" : "0,1000"); }},
        {"86 insert time with the labels",
         [](F &f) { return QList<A *>{f.action(86, {timeline(f), P::makeInt(500), P::makeInt(250), P::makeInt(1)})}; },
         [](F &f, bool b) {
             return f.keyTimes(f.pTrack) == QLatin1String(b ? "0,1250" : "0,1000")
                    && f.keyTimes(f.pPath) == QLatin1String(b ? "0,1250" : "0,1000")
                    && f.pTimeline->labels().value("mid") == (b ? 1050 : 800);
         }},
        {"87 take a span out, labels stay",
         [](F &f) { return QList<A *>{f.action(87, {timeline(f), P::makeInt(100), P::makeInt(200), P::makeInt(0)})}; },
         [](F &f, bool b) {
             return f.keyTimes(f.pTrack) == QLatin1String(b ? "0,800" : "0,1000") && f.pTimeline->labels().value("mid") == 800;
         }},
        {"56 add a playback item",
         [](F &f) {
             auto *pPlay = new KVEventListener(201, 41, QJsonObject(), QJsonObject{{"action_time", 900}});
             return QList<A *>{f.action(56, {f.animation(f.pPlayback), F::item(pPlay, true)})};
         },
         [](F &f, bool b) {
             return f.playbackActions() == (b ? QList<int>{40, 43, 41} : QList<int>{40, 43})
                    && f.pPlayback->playback()->duration() == (b ? 900 : 400);
         }},
        {"57 remove a playback item",
         [](F &f) { return QList<A *>{f.action(57, {f.animation(f.pPlayback), F::item(f.pPause, false)})}; },
         [](F &f, bool b) {
             return f.playbackActions() == (b ? QList<int>{40} : QList<int>{40, 43})
                    && f.pPlayback->playback()->duration() == (b ? 0 : 400);
         }},
        {"58 change a playback item",
         [](F &f) {
             return QList<A *>{f.action(58, {f.animation(f.pPlayback), F::item(f.pPause, false), P::makeInt(700), P::makeInt(44),
                                             P::makeJsonObject({{"time", 100}})})};
         },
         [](F &f, bool b) { return f.pPause->actionTime() == (b ? 700 : 400) && f.pPause->action() == (b ? 44 : 43); }},
        {"69 auto-orient",
         [](F &f) { return QList<A *>{f.action(69, {f.animation(f.pPathAnimation), P::makeBool(true)})}; },
         [](F &f, bool b) { return f.pPathAnimation->autoOrient() == b; }},
        {"81 offset a track's values",
         [](F &f) { return QList<A *>{f.action(81, {track(f), P::makeVariant(0.5), P::makeVariant(0.25)})}; },
         [](F &f, bool b) {
             // 1.0 and 0.5 move down by 0.25; undone they come back exactly.
             return f.pTrack->keyValues().first()->value().toDouble() == (b ? 0.75 : 1.0)
                    && f.pTrack->keyValues().last()->value().toDouble() == (b ? 0.25 : 0.5);
         }},
        {"81 offset clamped at the range",
         [](F &f) { return QList<A *>{f.action(81, {track(f), P::makeVariant(0.0), P::makeVariant(0.8)})}; },
         [](F &f, bool b) { return f.pTrack->keyValues().first()->value().toDouble() == 1.0
                                   && f.pTrack->keyValues().last()->value().toDouble() == (b ? 1.0 : 0.5); }},
        {"78 a left track into percent",
         [](F &f) {
             KVKeyframe *pLeft = KVKeyframe::create(f.pA, KVPropertyCatalogue::Left, kBase);
             pLeft->setUnit(QStringLiteral("px"));
             pLeft->addKeyValue(new KVKeyValue(0, 10.0), 3, true);
             pLeft->addKeyValue(new KVKeyValue(500, 33.0), 3, true);
             f.pAnimation->addKeyframe(pLeft);
             return QList<A *>{f.action(78, {P::makeObject(P::Keyframe, pLeft), P::makeString("%"), P::makeDouble(300)})};
         },
         [](F &f, bool b) {
             KVKeyframe *pLeft = f.pAnimation->keyframe(KVPropertyCatalogue::Left);
             return pLeft->unit() == QLatin1String(b ? "%" : "px")
                    && pLeft->keyValues().last()->value().toDouble() == (b ? 0.11 : 33.0);
         }},
        {"79 the second timeline becomes the main one",
         [](F &f) {
             return QList<A *>{f.action(79, {P::makeObject(P::TimelineListOwner, f.pScene), P::makeObject(P::Timeline, f.pSecond)})};
         },
         [](F &f, bool b) {
             return f.pScene->timelines()->mainTimeline() == (b ? f.pSecond : f.pTimeline)
                    && f.pScene->currentTimeline() == f.pTimeline;
         }},
        {"80 replace a motion path",
         [](F &f) {
             return QList<A *>{f.action(80, {f.motionPath(), P::makeJsonArray({QJsonObject{{"x", 0}, {"y", 0}, {"time", 0}},
                                                                                QJsonObject{{"x", 50}, {"y", 50}, {"time", 1000}}})})};
         },
         [](F &f, bool b) { return f.pathText() == QLatin1String(b ? "0,0@0 50,50@1000" : "0,0@0 60,80@-1 100,40@1000"); }},
        {"83 a layout takes other values",
         [](F &f) {
             // The carried object holds x 999 and its override.
             KVElementProperty *pCarried = f.pA->property(KVLayoutKey(1, 0))->clone();
             pCarried->setProperty("m_dPositionX", 999.0);
             pCarried->setInheritFlags({{0, false}});
             return QList<A *>{f.action(83, {P::makeObject(P::Element, f.pA), P::makeInt(1), P::makeInt(0),
                                             P::makeObject(P::Overrides, pCarried, true)})};
         },
         [](F &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return (f.pA->positionX(layout) == 999.0) == b && f.pA->isInherited(0, layout) != b;
         }},
        {"84 a layout stops overriding",
         [](F &f) {
             const KVLayoutKey layout(1, 0);
             f.pA->setPositionX(55, layout);
             f.pA->setInherited(0, false, layout);
             return QList<A *>{f.action(84, {P::makeObject(P::Element, f.pA), P::makeInt(1), P::makeInt(0),
                                             P::makeObject(P::Overrides, nullptr)})};
         },
         [](F &f, bool b) { return f.pA->isInherited(0, KVLayoutKey(1, 0)) == b; }},
        {"85 remove all overrides",
         [](F &f) {
             const KVLayoutKey layout(1, 0);
             f.pA->setPositionX(55, layout);
             f.pA->setInherited(0, false, layout);
             return QList<A *>{f.action(85, {P::makeObject(P::Element, f.pA), P::makeInt(1), P::makeInt(0),
                                             P::makeObject(P::Overrides, nullptr)})};
         },
         [](F &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return f.pA->isInherited(0, layout) == b && (f.pA->property(layout)->property("m_dPositionX").toDouble() == 55.0) != b;
         }},
        {"1045 remove a property override",
         [](F &f) {
             const KVLayoutKey layout(1, 0);
             f.pA->setInherited(16, false, layout);
             f.pA->setInherited(17, false, layout);
             auto *p = new E(1045, &f.t, 6);
             for (P *pParam : {P::makeObject(P::Element, f.pA), P::makeInt(1), P::makeInt(0), P::makeInt(16),
                               P::makeIntList({16, 17, 45}), P::makeVariant(QVariant())}) {
                 p->addParam(pParam);
             }
             return QList<A *>{p};
         },
         [](F &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return f.pA->isInherited(16, layout) == b && f.pA->isInherited(17, layout) == b;
         }},
    };
}

} // namespace

class TestTimelineTypes : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void unfittingChangeNothing_data();
    void unfittingChangeNothing();
    void playbackMessage();
};

void TestTimelineTypes::roundTrip_data()
{
    QTest::addColumn<int>("nCase");
    const QList<TimelineCase> cases = timelineCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).pName) << i;
}

void TestTimelineTypes::roundTrip()
{
    QFETCH(int, nCase);
    const TimelineCase c = timelineCases().at(nCase);
    checkRoundTrip<TimelineFixture>(c.build, c.state, true);
}

void TestTimelineTypes::unfittingChangeNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("24 a key would pass another") << 0;
    QTest::newRow("24 before the start") << 1;
    QTest::newRow("87 a key inside the span") << 2;
    QTest::newRow("56 an item that is no playback item") << 3;
    QTest::newRow("56 on a plain animation") << 4;
    QTest::newRow("57 an item of no list") << 5;
    QTest::newRow("79 a timeline of another scene") << 6;
    QTest::newRow("80 a number among the points") << 7;
    QTest::newRow("83 without an object") << 8;
    QTest::newRow("84 at the base layout") << 9;
    QTest::newRow("1045 a code out of range") << 10;
    QTest::newRow("69 a string for the flag") << 11;
    QTest::newRow("78 an unknown unit") << 12;
    QTest::newRow("81 an int for the value before") << 13;
}

void TestTimelineTypes::unfittingChangeNothing()
{
    QFETCH(int, nCase);
    using F = TimelineFixture;
    F f;
    auto *pOther = new KVTimeline(f.pScene2);
    f.pScene2->timelines()->insert(pOther);
    KVEventListener loose(201, 41);
    const QString strBefore = f.form();
    const QList<int> playback = f.playbackActions();
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.action(24, {track(f), P::makeInt(1000), P::makeInt(-1000)}); break;
    case 1: pAction = f.action(24, {track(f), P::makeInt(0), P::makeInt(-5)}); break;
    case 2: pAction = f.action(87, {timeline(f), P::makeInt(900), P::makeInt(200), P::makeInt(0)}); break;
    case 3: pAction = f.action(56, {f.animation(f.pPlayback), F::item(new KVEventListener(100, 1), true)}); break;
    case 4: pAction = f.action(56, {f.animation(f.pAnimation), F::item(new KVEventListener(201, 41), true)}); break;
    case 5: pAction = f.action(57, {f.animation(f.pPlayback), F::item(&loose, false)}); break;
    case 6:
        pAction = f.action(79, {P::makeObject(P::TimelineListOwner, f.pScene), P::makeObject(P::Timeline, pOther)});
        break;
    case 7: pAction = f.action(80, {f.motionPath(), P::makeJsonArray({1})}); break;
    case 8:
        pAction = f.action(83, {P::makeObject(P::Element, f.pA), P::makeInt(1), P::makeInt(0), P::makeObject(P::Overrides, nullptr)});
        break;
    case 9:
        pAction = f.action(84, {P::makeObject(P::Element, f.pA), P::makeInt(0), P::makeInt(0), P::makeObject(P::Overrides, nullptr)});
        break;
    case 10: {
        auto *p = new E(1045, &f.t, 6);
        for (P *pParam : {P::makeObject(P::Element, f.pA), P::makeInt(1), P::makeInt(0), P::makeInt(16),
                          P::makeIntList({16, 400}), P::makeVariant(QVariant())}) {
            p->addParam(pParam);
        }
        pAction = p;
        break;
    }
    case 11: pAction = f.action(69, {f.animation(f.pPathAnimation), P::makeString("true")}); break;
    case 12: pAction = f.action(78, {track(f), P::makeString("em"), P::makeDouble(100)}); break;
    case 13: pAction = f.action(81, {track(f), P::makeInt(0), P::makeVariant(0.5)}); break;
    }
    f.push({pAction});
    QCOMPARE(f.form(), strBefore);
    QCOMPARE(f.playbackActions(), playback);
    f.t.stack.undo();
    QCOMPARE(f.form(), strBefore);
    QCOMPARE(f.playbackActions(), playback);
}

void TestTimelineTypes::playbackMessage()
{
    using F = TimelineFixture;
    F f;
    f.push({f.action(57, {f.animation(f.pPlayback), F::item(f.pPause, false)})});
    QJsonObject jo;
    for (const KVNote &n : f.t.notes) {
        if (n.nType == 57)
            jo = n.joPage.value("params").toArray().at(0).toObject().value("value").toObject();
    }
    QCOMPARE(jo.value("el").toInt(), f.pAudio->id());
    QCOMPARE(jo.value("p").toString(), QStringLiteral("pb"));
    // Only the start is left: one entry.
    const QJsonArray jaEntries = jo.value("anims").toArray();
    QCOMPARE(jaEntries.size(), 1);
    QCOMPARE(jaEntries.at(0).toObject().value("t").toInt(), 0);
}

KAVIO_TEST_MAIN(TestTimelineTypes)
#include "tst_timelinetypes.moc"
