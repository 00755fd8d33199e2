#include "KVCommandTestKit.h"

#include "commands/KVElementCommandAction.h"
#include "animation/KVKeyframeSegment.h"
#include "model/KVBorder.h"
#include "model/KVElementProperty.h"
#include "model/KVHTMLWidget.h"
#include "model/KVMedia.h"
#include "resources/KVResource.h"

#include "KVTestMain.h"

#include <QRandomGenerator>

#include <functional>

using P = KVCmdParam;
using A = KVCommandAction;
using E = KVElementCommandAction;
using Cat = KVPropertyCatalogue;

namespace {

struct RoundTripCase
{
    const char *pName;
    // Builds the action(s) of the command on the fixture.
    std::function<QList<A *>(KVCommandFixture &)> build;
    // True when the model shows the change (bApplied) or shows it not (after the undo).
    std::function<bool(KVCommandFixture &, bool bApplied)> state;
    // Whether the project form changes (selection of elements is not saved).
    bool bFormChanges;
};

A *elementAction(KVCommandFixture &f, int nType, const QList<P *> &params)
{
    auto *p = new E(nType, &f.t, params.size());
    for (P *pParam : params)
        p->addParam(pParam);
    return p;
}

P *el(KVElement *p) { return P::makeObject(P::Element, p); }
P *scene(KVScene *p) { return P::makeObject(P::Scene, p); }
P *timeline(KVTimeline *p) { return P::makeObject(P::Timeline, p); }
P *track(KVKeyframe *p) { return P::makeObject(P::Keyframe, p); }

QList<RoundTripCase> roundTripCases()
{
    const KVLayoutKey base = KVLayoutKey::base();
    return {
        {"1 insert at top level",
         [](KVCommandFixture &f) {
             KVElement *pNew = KVCommandFixture::rectangle(1, 2);
             pNew->setId(f.pScene->nextChildId());
             f.pScene->setNextChildId(pNew->id() + 1);
             return QList<A *>{f.action(1, {P::makeObject(P::Element, pNew, true), P::makeInt(1), scene(f.pScene)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pScene->children().size() == 4) == b
                    && (!b || f.pScene->children().at(1)->positionX(KVLayoutKey::base()) == 1.0);
         },
         true},
        {"1 insert into a group",
         [](KVCommandFixture &f) {
             KVElement *pNew = KVCommandFixture::rectangle(1, 2);
             pNew->setId(f.pScene->nextChildId());
             f.pScene->setNextChildId(pNew->id() + 1);
             return QList<A *>{f.action(1, {P::makeObject(P::Element, pNew, true), P::makeInt(0),
                                            scene(f.pScene), el(f.pGroup)})};
         },
         [](KVCommandFixture &f, bool b) {
             return f.pGroup->children().size() == (b ? 2 : 1) && f.pGroup->children().last() == f.pC;
         },
         true},
        {"2 remove from the middle",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(2, {el(f.pB), P::makeInt(-1), scene(f.pScene)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pB->parent() == nullptr) == b && (b || f.pScene->children().indexOf(f.pB) == 1);
         },
         true},
        {"2 remove from a group",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(2, {el(f.pC), P::makeInt(-1), scene(f.pScene), el(f.pGroup)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pGroup->children().isEmpty() == b; }, true},
        {"3 move into a group",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(3, {el(f.pA), el(f.pScene), P::makeInt(-1), el(f.pGroup), P::makeInt(0)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pA->parent() == f.pGroup) == b && (b || f.pScene->children().indexOf(f.pA) == 0);
         },
         true},
        {"4 display order to the front",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(4, {el(f.pA), P::makeVariant(QVariant()), P::makeInt(2)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pScene->children().indexOf(f.pA) == (b ? 2 : 0); },
         true},
        {"5 insert a scene",
         [](KVCommandFixture &f) {
             KVScene *pNew = f.t.list.createScene();
             pNew->setName(QStringLiteral("Extra"));
             pNew->setId(f.t.list.nextSceneId());
             f.t.list.setNextSceneId(pNew->id() + 1);
             return QList<A *>{f.action(5, {P::makeObject(P::Scene, pNew, true), P::makeInt(0),
                                            P::makeObject(P::SceneListOwner, &f.t.list)})};
         },
         [](KVCommandFixture &f, bool b) {
             return f.t.list.count() == (b ? 3 : 2) && (!b || f.t.list.at(0)->name() == QLatin1String("Extra"));
         },
         true},
        {"6 remove the first scene",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(6, {scene(f.pScene), P::makeInt(-1),
                                            P::makeObject(P::SceneListOwner, &f.t.list)})};
         },
         [](KVCommandFixture &f, bool b) { return f.t.list.indexOf(f.pScene) == (b ? -1 : 0); }, true},
        {"7 select a scene",
         [](KVCommandFixture &f) { return QList<A *>{f.action(7, {scene(f.pScene2), P::makeBool(true)})}; },
         [](KVCommandFixture &f, bool b) { return f.pScene2->isSelected() == b; }, true},
        {"8 move a scene to the end",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(8, {P::makeObject(P::SceneListOwner, &f.t.list), P::makeInt(0), P::makeInt(2)})};
         },
         [](KVCommandFixture &f, bool b) { return f.t.list.indexOf(f.pScene) == (b ? 1 : 0); }, true},
        {"8 move a scene to the front",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(8, {P::makeObject(P::SceneListOwner, &f.t.list), P::makeInt(1), P::makeInt(0)})};
         },
         [](KVCommandFixture &f, bool b) { return f.t.list.indexOf(f.pScene2) == (b ? 0 : 1); }, true},
        {"9 add a timeline",
         [](KVCommandFixture &f) {
             auto *pNew = new KVTimeline(f.pScene);
             pNew->setName(QStringLiteral("Second"));
             return QList<A *>{f.action(9, {P::makeObject(P::TimelineListOwner, f.pScene),
                                            P::makeObject(P::Timeline, pNew, true), P::makeInt(-1)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pScene->timelines()->count() == (b ? 2 : 1); }, true},
        {"11 make a timeline current",
         [](KVCommandFixture &f) {
             auto *pNew = new KVTimeline(f.pScene);
             pNew->setName(QStringLiteral("Second"));
             f.pScene->timelines()->insert(pNew);
             return QList<A *>{f.action(11, {P::makeObject(P::TimelineListOwner, f.pScene), timeline(pNew)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pScene->currentTimeline() == f.pTimeline) != b;
         },
         true},
        {"12 rename a timeline",
         [](KVCommandFixture &f) { return QList<A *>{f.action(12, {timeline(f.pTimeline), P::makeString("Intro")})}; },
         [](KVCommandFixture &f, bool b) { return (f.pTimeline->name() == QLatin1String("Intro")) == b; }, true},
        {"13 insert a label",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(13, {timeline(f.pTimeline), P::makeString("go"), P::makeInt(700)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pTimeline->labels().contains(QStringLiteral("go")) == b; },
         true},
        {"14 remove a label",
         [](KVCommandFixture &f) {
             f.pTimeline->addLabel(QStringLiteral("go"), 700);
             return QList<A *>{f.action(14, {timeline(f.pTimeline), P::makeString("go")})};
         },
         [](KVCommandFixture &f, bool b) {
             return f.pTimeline->labels().value(QStringLiteral("go"), -1) == (b ? -1 : 700);
         },
         true},
        {"15 rename a label",
         [](KVCommandFixture &f) {
             f.pTimeline->addLabel(QStringLiteral("go"), 700);
             return QList<A *>{f.action(15, {timeline(f.pTimeline), P::makeString("go"), P::makeString("start")})};
         },
         [](KVCommandFixture &f, bool b) {
             const QString strNow = QLatin1String(b ? "start" : "go");
             const QString strGone = QLatin1String(b ? "go" : "start");
             return f.pTimeline->labels().value(strNow, -1) == 700 && !f.pTimeline->labels().contains(strGone);
         },
         true},
        {"16 move a label",
         [](KVCommandFixture &f) {
             f.pTimeline->addLabel(QStringLiteral("go"), 700);
             return QList<A *>{f.action(16, {timeline(f.pTimeline), P::makeString("go"), P::makeInt(300)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pTimeline->labels().value(QStringLiteral("go")) == (b ? 300 : 700); },
         true},
        {"17 add an animation with a track",
         [](KVCommandFixture &f) {
             auto *pAnimation = new KVAnimation(f.pB);
             KVKeyframe *pTrack = KVKeyframe::create(f.pB, Cat::RotateZ, KVLayoutKey::base());
             pTrack->addKeyValue(new KVKeyValue(500, 90.0), 3, true);
             pAnimation->addKeyframe(pTrack);
             return QList<A *>{f.action(17, {P::makeObject(P::Animation, pAnimation, true), timeline(f.pTimeline)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pTimeline->findAnimation(f.pB, KVLayoutKey::base()) != nullptr) == b;
         },
         true},
        {"18 remove an animation",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(18, {P::makeObject(P::Animation, f.pAnimation), timeline(f.pTimeline)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pTimeline->findAnimation(f.pA, KVLayoutKey::base()) == nullptr) == b;
         },
         true},
        {"19 add a track",
         [](KVCommandFixture &f) {
             KVKeyframe *pTrack = KVKeyframe::create(f.pA, Cat::RotateZ, KVLayoutKey::base());
             pTrack->addKeyValue(new KVKeyValue(500, 45.0), 3, true);
             return QList<A *>{f.action(19, {P::makeObject(P::Keyframe, pTrack, true), el(f.pA),
                                             timeline(f.pTimeline), P::makeValue(P::ValueList, QVariant())})};
         },
         [](KVCommandFixture &f, bool b) { return (f.pAnimation->keyframe(Cat::RotateZ) != nullptr) == b; },
         true},
        {"20 remove a track and set the static value",
         [](KVCommandFixture &f) {
             f.pTimeline->seek(500);
             return QList<A *>{f.action(20, {track(f.pTrack), el(f.pA), timeline(f.pTimeline),
                                             P::makeValue(P::ValueList, QVariant()), P::makeVariant(0.25)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pAnimation->keyframe(Cat::Opacity) == nullptr) == b
                    && qFuzzyCompare(f.pA->opacity(KVLayoutKey::base()), b ? 0.25 : 0.75);
         },
         true},
        {"21 shift a track",
         [](KVCommandFixture &f) { return QList<A *>{f.action(21, {track(f.pTrack), P::makeInt(250)})}; },
         [](KVCommandFixture &f, bool b) { return f.pTrack->keyValues().first()->time() == (b ? 250 : 0); },
         true},
        {"22 change an easing",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(22, {track(f.pTrack), P::makeKeyValue(f.pTrack->keyValues().first()), P::makeInt(7)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pTrack->innerSegment(0)->easingCode() == (b ? 7 : 3); },
         true},
        {"23 switch a transition off",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(23, {track(f.pTrack), P::makeKeyValue(f.pTrack->keyValues().first()), P::makeBool(false)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pTrack->innerSegment(0)->hasTransition() != b; }, true},
        {"25 add a key value in the middle",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(25, {track(f.pTrack), P::makeKeyValue(new KVKeyValue(400, 0.1), true),
                                             P::makeInt(7), P::makeBool(true)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pTrack->keyValues().size() == (b ? 3 : 2); }, true},
        {"26 remove the first key value",
         [](KVCommandFixture &f) {
             f.pTrack->innerSegment(0)->setEasingCode(7);
             return QList<A *>{f.action(26, {track(f.pTrack), P::makeKeyValue(f.pTrack->keyValues().first())})};
         },
         [](KVCommandFixture &f, bool b) {
             return f.pTrack->keyValues().size() == (b ? 1 : 2) && (b || f.pTrack->innerSegment(0)->easingCode() == 7);
         },
         true},
        {"27 set a key's value",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(27, {track(f.pTrack), P::makeKeyValue(f.pTrack->keyValues().last()), P::makeVariant(0.2)})};
         },
         [](KVCommandFixture &f, bool b) { return qFuzzyCompare(f.pTrack->keyValues().last()->value().toDouble(), b ? 0.2 : 0.5); },
         true},
        {"27 set a key's value with a jump",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(27, {track(f.pTrack), P::makeKeyValue(f.pTrack->keyValues().last()),
                                             P::makeVariant(0.2), P::makeVariant(0.9)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pTrack->keyValues().last()->jumps() == b; }, true},
        {"28 move a key in time",
         [](KVCommandFixture &f) {
             return QList<A *>{f.action(28, {track(f.pTrack), P::makeKeyValue(f.pTrack->keyValues().last()), P::makeInt(1500)})};
         },
         [](KVCommandFixture &f, bool b) { return f.pTrack->keyValues().last()->time() == (b ? 1500 : 1000); },
         true},
        {"33 select an element",
         [](KVCommandFixture &f) { return QList<A *>{f.action(33, {el(f.pB), P::makeBool(true)})}; },
         [](KVCommandFixture &f, bool b) { return f.pB->isSelected() == b; }, false},
        {"1000 geometry at the base layout",
         [base](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1000, {el(f.pB), P::makeInt(0), P::makeInt(0), P::makeVariant(QVariant()),
                                                        P::makeIntList({0, 4, 11, E::UnitWCode}), P::makeDouble(33),
                                                        P::makeDouble(120), P::makeDouble(45), P::makeInt(1)})};
         },
         [base](KVCommandFixture &f, bool b) {
             return f.pB->positionX(base) == (b ? 33.0 : 200.0) && f.pB->rotateZ(base) == (b ? 45.0 : 0.0)
                    && f.pB->unitW(base) == (b ? 1 : 0);
         },
         true},
        {"1001 border",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1001, {el(f.pA), P::makeInt(4), P::makeInt(1), P::makeInt(int(0xff112233)),
                                                        P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
         },
         [base](KVCommandFixture &f, bool b) { return (f.pA->border(base)->width() == 4) == b; }, true},
        {"1007 name and lock",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1007, {el(f.pA), P::makeJsonObject({{"name", "Logo"}, {"locked", true}})})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pA->name() == QLatin1String("Logo")) == b && f.pA->isLocked() == b;
         },
         true},
        {"1010 class name",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1010, {el(f.pA), P::makeString("hero"), P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
         },
         [base](KVCommandFixture &f, bool b) { return (f.pA->className(base) == QLatin1String("hero")) == b; }, true},
        {"1011 display",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1011, {el(f.pA), P::makeInt(0), P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
         },
         [base](KVCommandFixture &f, bool b) { return f.pA->display(base) == (b ? 0 : 1); }, true},
        {"1014 title",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1014, {el(f.pA), P::makeString("Tip"), P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
         },
         [base](KVCommandFixture &f, bool b) { return (f.pA->title(base) == QLatin1String("Tip")) == b; }, true},
        {"1015 tab index",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1015, {el(f.pA), P::makeInt(3), P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
         },
         [base](KVCommandFixture &f, bool b) { return (f.pA->tabIndex(base) == 3) == b; }, true},
        {"1016 cursor",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1016, {el(f.pA), P::makeString("pointer"), P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
         },
         [base](KVCommandFixture &f, bool b) { return (f.pA->cursor(base) == QLatin1String("pointer")) == b; }, true},
        {"1013 auto advance",
         [](KVCommandFixture &f) { return QList<A *>{elementAction(f, 1013, {el(f.pScene), P::makeBool(false)})}; },
         [](KVCommandFixture &f, bool b) { return f.pScene->autoAdvance() != b; }, true},
        {"1027-1030 transition",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1027, {el(f.pScene), P::makeInt(2)}),
                               elementAction(f, 1028, {el(f.pScene), P::makeInt(800)}),
                               elementAction(f, 1029, {el(f.pScene), P::makeInt(6)}),
                               elementAction(f, 1030, {el(f.pScene), P::makeInt(1)})};
         },
         [](KVCommandFixture &f, bool b) {
             return f.pScene->transitionType() == (b ? 2 : 0) && f.pScene->transitionDuration() == (b ? 800 : 0)
                    && f.pScene->transitionEasing() == (b ? 6 : 0) && f.pScene->transitionDirection() == (b ? 1 : 0);
         },
         true},
        {"1021-1025 media settings",
         [](KVCommandFixture &f) {
             KVElement *pAudio = KVElementFactory::createElement(1);
             f.pScene->addElement(pAudio);
             return QList<A *>{elementAction(f, 1021, {el(pAudio), P::makeDouble(0.25)}),
                               elementAction(f, 1022, {el(pAudio), P::makeBool(true)}),
                               elementAction(f, 1023, {el(pAudio), P::makeBool(true)}),
                               elementAction(f, 1024, {el(pAudio), P::makeBool(false)}),
                               elementAction(f, 1025, {el(pAudio), P::makeBool(false)})};
         },
         [](KVCommandFixture &f, bool b) {
             auto *p = qobject_cast<KVMedia *>(f.pScene->children().last());
             return p && (p->volume() == 0.25) == b && p->autoplay() == b && p->loop() == b;
         },
         true},
        {"1033 widget source",
         [](KVCommandFixture &f) {
             KVElement *pWidget = KVElementFactory::createElement(3);
             f.pScene->addElement(pWidget);
             return QList<A *>{elementAction(f, 1033, {el(pWidget), P::makeString("<p>hi</p>")})};
         },
         [](KVCommandFixture &f, bool b) {
             auto *p = qobject_cast<KVHTMLWidget *>(f.pScene->children().last());
             return p && (p->srcdoc() == QLatin1String("<p>hi</p>")) == b;
         },
         true},
        {"10 remove the current timeline",
         [](KVCommandFixture &f) {
             auto *pNew = new KVTimeline(f.pScene);
             pNew->setName(QStringLiteral("Second"));
             f.pScene->timelines()->insert(pNew, 0);
             // Another timeline becomes current first, so that the undo makes the removed one
             // current again after it is back.
             return QList<A *>{f.action(11, {P::makeObject(P::TimelineListOwner, f.pScene), timeline(pNew)}),
                               f.action(10, {P::makeObject(P::TimelineListOwner, f.pScene), timeline(f.pTimeline)})};
         },
         [](KVCommandFixture &f, bool b) {
             return (f.pScene->timelines()->indexOf(f.pTimeline) < 0) == b
                    && (f.pScene->currentTimeline() == f.pTimeline) != b;
         },
         true},
        {"1000 right and bottom with the coordinate type",
         [](KVCommandFixture &f) {
             return QList<A *>{elementAction(f, 1000, {el(f.pA), P::makeInt(0), P::makeInt(0), P::makeVariant(QVariant()),
                                                        P::makeIntList({E::CoordinateTypeCode, 1, 3}), P::makeInt(3),
                                                        P::makeDouble(7), P::makeDouble(8)})};
         },
         [base](KVCommandFixture &f, bool b) {
             return f.pA->coordinateType(base) == (b ? 3 : 0) && f.pA->positionX(base) == (b ? 7.0 : 10.0)
                    && f.pA->positionY(base) == (b ? 8.0 : 20.0);
         },
         true},
        {"1035 lock aspect ratio",
         [](KVCommandFixture &f) { return QList<A *>{elementAction(f, 1035, {el(f.pA), P::makeBool(true)})}; },
         [](KVCommandFixture &f, bool b) { return f.pA->isAspectRatioLocked() == b; }, true},
    };
}

// Counts the destruction of one object.
struct DestroyCounter
{
    int n = 0;
    void watch(QObject *p)
    {
        QObject::connect(p, &QObject::destroyed, [this] { ++n; });
    }
};

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void accessorsCheckTheKind_data();
    void accessorsCheckTheKind();
    void ownedObjectIsDestroyedOnce_data();
    void ownedObjectIsDestroyedOnce();
    void ownedFlagFollowsTheModel();
    void actionOrder_data();
    void actionOrder();
    void pausesBeforeAnything();
    void restoresTheRecordedSelection();
    void senderOnlyOnFirstExecution();
    void skipNextRedo();
    void roundTrip_data();
    void roundTrip();
    void elementActionTwiceIsIdentity();
    void geometryOverridesAtLayout();
    void unfittingActionsChangeNothing_data();
    void unfittingActionsChangeNothing();
    void animationChangesReseekAndReloadFonts();
    void symbolContentIdRule_data();
    void symbolContentIdRule();
    void emptyCommandIsNotPushed();
    void documentTexts_data();
    void executeWithoutRecording();
    void replacingAnOwnedObjectDestroysIt();
    void documentTexts();
    void randomCommandsUndoAndRedoExactly_data();
    void randomCommandsUndoAndRedoExactly();
};

void TestCommands::accessorsCheckTheKind_data()
{
    QTest::addColumn<int>("nKind");
    QTest::newRow("int") << int(P::Int);
    QTest::newRow("double") << int(P::Double);
    QTest::newRow("point") << int(P::Point);
    QTest::newRow("bool") << int(P::Bool);
    QTest::newRow("string") << int(P::String);
    QTest::newRow("object") << int(P::JsonObject);
    QTest::newRow("array") << int(P::JsonArray);
    QTest::newRow("int list") << int(P::IntList);
    QTest::newRow("element") << int(P::Element);
    QTest::newRow("scene") << int(P::Scene);
    QTest::newRow("timeline") << int(P::Timeline);
    QTest::newRow("key value") << int(P::KeyValue);
}

void TestCommands::accessorsCheckTheKind()
{
    QFETCH(int, nKind);
    KVCommandFixture f;
    KVKeyValue key(5, 1.0);
    std::unique_ptr<P> p;
    switch (nKind) {
    case P::Int: p.reset(P::makeInt(7)); break;
    case P::Double: p.reset(P::makeDouble(2.5)); break;
    case P::Point: p.reset(P::makePoint(QPointF(1, 2))); break;
    case P::Bool: p.reset(P::makeBool(true)); break;
    case P::String: p.reset(P::makeString("x")); break;
    case P::JsonObject: p.reset(P::makeJsonObject({{"a", 1}})); break;
    case P::JsonArray: p.reset(P::makeJsonArray({1, 2})); break;
    case P::IntList: p.reset(P::makeIntList({4, 5})); break;
    case P::Element: p.reset(P::makeObject(P::Element, f.pA)); break;
    case P::Scene: p.reset(P::makeObject(P::Scene, f.pScene)); break;
    case P::Timeline: p.reset(P::makeObject(P::Timeline, f.pTimeline)); break;
    case P::KeyValue: p.reset(P::makeKeyValue(&key)); break;
    }
    QCOMPARE(p->kind(), nKind);
    QCOMPARE(p->toInt(), nKind == P::Int ? 7 : 0);
    QCOMPARE(p->toDouble(), nKind == P::Double ? 2.5 : 0.0);
    QCOMPARE(p->toPoint(), nKind == P::Point ? QPointF(1, 2) : QPointF());
    QCOMPARE(p->toBool(), nKind == P::Bool);
    QCOMPARE(p->toString(), nKind == P::String ? QStringLiteral("x") : QString());
    QCOMPARE(p->toJsonObject().isEmpty(), nKind != P::JsonObject);
    QCOMPARE(p->toJsonArray().isEmpty(), nKind != P::JsonArray);
    QCOMPARE(p->toIntList(), nKind == P::IntList ? QList<int>({4, 5}) : QList<int>());
    // A scene is an element, but only the element kind hands out elements.
    QCOMPARE(p->element(), nKind == P::Element ? f.pA : nullptr);
    QCOMPARE(p->scene(), nKind == P::Scene ? f.pScene : nullptr);
    QCOMPARE(p->timeline(), nKind == P::Timeline ? f.pTimeline : nullptr);
    QCOMPARE(p->keyValue(), nKind == P::KeyValue ? &key : nullptr);
    QCOMPARE(p->keyframe(), nullptr);
    QCOMPARE(p->animation(), nullptr);
    QCOMPARE(p->resource(), nullptr);
    // Values cannot be written into object parameters and objects not into value parameters.
    QCOMPARE(p->setValue(3), P::isValueKind(nKind));
    QCOMPARE(p->setObject(f.pB, false), P::isObjectKind(nKind) && nKind != P::KeyValue);
    // Ownership is for objects only; the parameters above do not own what they hold.
    p->setOwned(true);
    QCOMPARE(p->isOwned(), P::isObjectKind(nKind));
    p->setOwned(false);
}

void TestCommands::ownedObjectIsDestroyedOnce_data()
{
    QTest::addColumn<QString>("strObject");
    QTest::addColumn<bool>("bRemove");
    QTest::addColumn<int>("nUndoRedoCycles");
    QTest::addColumn<bool>("bEndUndone");
    QTest::addColumn<int>("nDestroyedWithStack");
    for (const char *pObject : {"element", "scene", "timeline", "animation", "track"}) {
        const QByteArray prefix = QByteArray(pObject) + ", ";
        // An added object lives in the model while the command is done: the stack does not take it.
        QTest::newRow((prefix + "add, left done").constData()) << pObject << false << 0 << false << 0;
        QTest::newRow((prefix + "add, undone").constData()) << pObject << false << 1 << true << 1;
        QTest::newRow((prefix + "add, undone after cycles").constData()) << pObject << false << 3 << true << 1;
        QTest::newRow((prefix + "add, redone after cycles").constData()) << pObject << false << 3 << false << 0;
        QTest::newRow((prefix + "remove, left done").constData()) << pObject << true << 0 << false << 1;
        QTest::newRow((prefix + "remove, undone").constData()) << pObject << true << 2 << true << 0;
        QTest::newRow((prefix + "remove, redone after cycles").constData()) << pObject << true << 2 << false << 1;
    }
}

void TestCommands::ownedObjectIsDestroyedOnce()
{
    QFETCH(QString, strObject);
    QFETCH(bool, bRemove);
    QFETCH(int, nUndoRedoCycles);
    QFETCH(bool, bEndUndone);
    QFETCH(int, nDestroyedWithStack);

    DestroyCounter counter;
    {
        KVCommandFixture f;
        QObject *pObject = nullptr;
        A *pAction = nullptr;
        const bool bNew = !bRemove;
        if (strObject == QLatin1String("element")) {
            KVElement *p = bNew ? KVCommandFixture::rectangle(0, 0) : f.pB;
            pObject = p;
            pAction = f.action(bNew ? 1 : 2, {P::makeObject(P::Element, p, bNew), P::makeInt(-1), scene(f.pScene)});
        } else if (strObject == QLatin1String("scene")) {
            KVScene *p = bNew ? f.t.list.createScene() : f.pScene2;
            pObject = p;
            pAction = f.action(bNew ? 5 : 6, {P::makeObject(P::Scene, p, bNew), P::makeInt(-1),
                                              P::makeObject(P::SceneListOwner, &f.t.list)});
        } else if (strObject == QLatin1String("timeline")) {
            KVTimeline *p = new KVTimeline(f.pScene);
            if (!bNew)
                f.pScene->timelines()->insert(p);
            pObject = p;
            pAction = bNew ? f.action(9, {P::makeObject(P::TimelineListOwner, f.pScene), P::makeObject(P::Timeline, p, true), P::makeInt(-1)})
                           : f.action(10, {P::makeObject(P::TimelineListOwner, f.pScene), timeline(p)});
        } else if (strObject == QLatin1String("animation")) {
            KVAnimation *p = bNew ? new KVAnimation(f.pB) : f.pAnimation;
            pObject = p;
            pAction = f.action(bNew ? 17 : 18, {P::makeObject(P::Animation, p, bNew), timeline(f.pTimeline)});
        } else {
            KVKeyframe *p = bNew ? KVKeyframe::create(f.pA, Cat::RotateZ, KVLayoutKey::base()) : f.pTrack;
            pObject = p;
            if (bNew) {
                pAction = f.action(19, {P::makeObject(P::Keyframe, p, true), el(f.pA), timeline(f.pTimeline),
                                        P::makeValue(P::ValueList, QVariant())});
            } else {
                pAction = f.action(20, {track(p), el(f.pA), timeline(f.pTimeline), P::makeValue(P::ValueList, QVariant()),
                                        P::makeVariant(1.0)});
            }
        }
        counter.watch(pObject);
        const QString strBefore = f.form();
        f.push({pAction});
        QVERIFY(f.form() != strBefore);
        for (int i = 0; i < nUndoRedoCycles; ++i) {
            f.t.stack.undo();
            if (i + 1 < nUndoRedoCycles || !bEndUndone)
                f.t.stack.redo();
        }
        QCOMPARE(counter.n, 0);
        f.t.stack.clear();
        QCOMPARE(counter.n, nDestroyedWithStack);
    }
    // Whatever the stack left was in the model, which went with the fixture.
    QCOMPARE(counter.n, 1);
}

void TestCommands::ownedFlagFollowsTheModel()
{
    KVCommandFixture f;
    KVElement *pNew = KVCommandFixture::rectangle(0, 0);
    KVCommand *pCommand = f.push({f.action(1, {P::makeObject(P::Element, pNew, true), P::makeInt(-1), scene(f.pScene)})});
    P *pParam = pCommand->actions().first()->param(0);
    QVERIFY(!pParam->isOwned());
    QCOMPARE(pNew->parent(), f.pScene);
    QVERIFY(pNew->id() > 0);
    f.t.stack.undo();
    QVERIFY(pParam->isOwned());
    QCOMPARE(pNew->parent(), nullptr);
    const int nId = pNew->id();
    f.t.stack.redo();
    // The same object comes back with its id, at the same place.
    QVERIFY(!pParam->isOwned());
    QCOMPARE(f.pScene->findElement(nId), pNew);
    QCOMPARE(f.pScene->children().last(), pNew);
}

void TestCommands::actionOrder_data()
{
    QTest::addColumn<bool>("bUndoRecorded");
    QTest::addColumn<bool>("bRedoReverse");
    QTest::addColumn<QString>("strRedo");
    QTest::addColumn<QString>("strUndo");
    QTest::newRow("default") << false << false << "ABC" << "CBA";
    QTest::newRow("undo in recorded order") << true << false << "ABC" << "ABC";
    QTest::newRow("redo reversed") << false << true << "CBA" << "CBA";
}

void TestCommands::actionOrder()
{
    QFETCH(bool, bUndoRecorded);
    QFETCH(bool, bRedoReverse);
    QFETCH(QString, strRedo);
    QFETCH(QString, strUndo);

    KVCommandFixture f;
    auto *pCommand = new KVCommand(&f.t, QStringLiteral("Paste Timeline Items"));
    int nTime = 100;
    for (const char *pName : {"A", "B", "C"})
        pCommand->addAction(f.action(13, {timeline(f.pTimeline), P::makeString(pName), P::makeInt(nTime += 100)}));
    pCommand->setUndoInRecordedOrder(bUndoRecorded);
    pCommand->setRedoInReverseOrder(bRedoReverse);

    auto order = [&f](bool bUndo) {
        QString str;
        for (const KVNote &n : f.t.notes) {
            if (n.nType == 13 && n.bUndo == bUndo) {
                const QJsonObject jo = n.joPage.value("params").toArray().at(0).toObject().value("value").toObject();
                str += jo.value("labelName").toString();
            }
        }
        return str;
    };
    QVERIFY(KVCommand::push(pCommand));
    QCOMPARE(order(false), strRedo);
    QCOMPARE(f.t.notes.last().nType, 41);
    f.t.notes.clear();
    f.t.stack.undo();
    QCOMPARE(order(true), strUndo);
    QCOMPARE(f.t.noteTypes(), (QList<int>{13, 13, 13, 41}));
    QVERIFY(f.pTimeline->labels().isEmpty());
}

void TestCommands::pausesBeforeAnything()
{
    KVCommandFixture f;
    f.t.bPlaying = true;
    f.pTimeline->seek(400);
    f.push({f.action(33, {el(f.pA), P::makeBool(true)}), f.action(12, {timeline(f.pTimeline), P::makeString("T")})});
    QCOMPARE(f.t.nPauses, 1);
    QCOMPARE(f.t.noteTypes(), (QList<int>{75, 33, 12, 41}));
    const QJsonArray jaPause = f.t.notes.first().joPage.value("params").toArray();
    QCOMPARE(jaPause.size(), 2);
    QCOMPARE(jaPause.at(1).toObject().value("value").toInt(), 400);

    // Not playing: no pause, and a command that asks for none never pauses.
    f.t.notes.clear();
    f.t.stack.undo();
    // The recorded selection (nothing selected) comes back first, then the actions backwards.
    QCOMPARE(f.t.noteTypes(), (QList<int>{33, 12, 33, 41}));
    QVERIFY(!f.pA->isSelected());
    f.t.bPlaying = true;
    auto *pCommand = new KVCommand(&f.t, QStringLiteral("Play along"));
    pCommand->setPausePlaybackFirst(false);
    pCommand->addAction(f.action(33, {el(f.pB), P::makeBool(true)}));
    KVCommand::push(pCommand);
    QCOMPARE(f.t.nPauses, 1);
    QVERIFY(f.t.bPlaying);
}

void TestCommands::restoresTheRecordedSelection()
{
    KVCommandFixture f;
    f.pA->setSelected(true);
    f.t.list.setSceneSelected(f.pScene, true);
    f.t.selection = {f.pA};
    f.push({f.action(12, {timeline(f.pTimeline), P::makeString("T")})});

    // Someone changes the selection outside any command.
    f.pA->setSelected(false);
    f.pB->setSelected(true);
    f.t.selection = {f.pB};
    f.t.notes.clear();
    f.t.stack.undo();
    // 43 for the document selection, then 33 for A and B in tree order, then the action.
    QCOMPARE(f.t.noteTypes(), (QList<int>{43, 33, 33, 12, 41}));
    QVERIFY(f.pA->isSelected());
    QVERIFY(!f.pB->isSelected());
    QCOMPARE(f.t.selection, QList<QObject *>{f.pA});

    // Nothing differs: only the action and the end.
    f.t.notes.clear();
    f.t.stack.redo();
    QCOMPARE(f.t.noteTypes(), (QList<int>{12, 41}));
}

void TestCommands::senderOnlyOnFirstExecution()
{
    KVCommandFixture f;
    QObject view;
    f.push({f.action(33, {el(f.pA), P::makeBool(true)})}, &view);
    QCOMPARE(f.t.notes.first().pSender, &view);
    QCOMPARE(f.t.notes.last().pSender, &view);
    f.t.notes.clear();
    f.t.stack.undo();
    f.t.stack.redo();
    for (const KVNote &n : f.t.notes)
        QCOMPARE(n.pSender, nullptr);
}

void TestCommands::skipNextRedo()
{
    KVCommandFixture f;
    // The creator already renamed the timeline; the action holds the name before.
    f.pTimeline->setName(QStringLiteral("New"));
    auto *pAction = new A(12, &f.t, 2, true);
    pAction->addParam(timeline(f.pTimeline));
    pAction->addParam(P::makeString("New"));
    f.push({pAction});
    QCOMPARE(f.pTimeline->name(), QStringLiteral("New"));
    QVERIFY(!pAction->skipNextRedo());
    // The flag made the first redo a no-op, so the parameter still holds what the undo must set:
    // here it is the same name, which the builder supplies as the value the redo should apply.
    pAction->param(1)->setValue(QStringLiteral("Old"));
    f.t.stack.undo();
    QCOMPARE(f.pTimeline->name(), QStringLiteral("Old"));
    f.t.stack.redo();
    QCOMPARE(f.pTimeline->name(), QStringLiteral("New"));
}

void TestCommands::roundTrip_data()
{
    QTest::addColumn<int>("nCase");
    const QList<RoundTripCase> cases = roundTripCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).pName) << i;
}

void TestCommands::roundTrip()
{
    QFETCH(int, nCase);
    const RoundTripCase c = roundTripCases().at(nCase);
    KVCommandFixture f;
    const QList<A *> actions = c.build(f);
    const QString strBefore = f.form();
    QVERIFY(c.state(f, false));

    f.push(actions);
    const QString strAfter = f.form();
    QVERIFY2(c.state(f, true), "redo did not change the model");
    QCOMPARE(strAfter != strBefore, c.bFormChanges);
    QCOMPARE(f.t.notes.last().nType, 41);

    for (int i = 0; i < 2; ++i) {
        f.t.stack.undo();
        QVERIFY2(c.state(f, false), "undo did not restore the model");
        QCOMPARE(f.form(), strBefore);
        f.t.stack.redo();
        QVERIFY2(c.state(f, true), "redo after undo did not change the model");
        QCOMPARE(f.form(), strAfter);
    }
    f.t.stack.undo();
    f.t.stack.clear();
    QCOMPARE(f.form(), strBefore);
}

void TestCommands::elementActionTwiceIsIdentity()
{
    KVCommandFixture f;
    const QString strBefore = f.form();
    E action(1000, &f.t, 7);
    for (P *p : {el(f.pA), P::makeInt(0), P::makeInt(0), P::makeVariant(QVariant()), P::makeIntList({0, 2}),
                 P::makeDouble(-5), P::makeDouble(-6)}) {
        action.addParam(p);
    }
    action.redo();
    QCOMPARE(f.pA->positionX(KVLayoutKey::base()), -5.0);
    QCOMPARE(action.param(5)->toDouble(), 10.0);
    action.redo();
    QCOMPARE(f.form(), strBefore);
    action.undo();
    QCOMPARE(f.pA->positionY(KVLayoutKey::base()), -6.0);
}

void TestCommands::geometryOverridesAtLayout()
{
    KVCommandFixture f;
    const KVLayoutKey wide(1, 0);
    f.pA->addProperty(f.pA->property(KVLayoutKey::base())->clone(), wide);
    const QString strBefore = f.form();
    QVERIFY(f.pA->isInherited(0, wide));
    f.push({elementAction(f, 1000, {el(f.pA), P::makeInt(1), P::makeInt(0), P::makeVariant(QVariant()),
                                    P::makeIntList({0}), P::makeDouble(99)})});
    // A change at a responsive layout overrides there and leaves the base alone.
    QVERIFY(!f.pA->isInherited(0, wide));
    QCOMPARE(f.pA->positionX(wide), 99.0);
    QCOMPARE(f.pA->positionX(KVLayoutKey::base()), 10.0);
    f.t.stack.undo();
    QVERIFY(f.pA->isInherited(0, wide));
    QCOMPARE(f.form(), strBefore);
    f.t.stack.redo();
    QVERIFY(!f.pA->isInherited(0, wide));
    QCOMPARE(f.pA->positionX(wide), 99.0);

    // A layout the element has no values for changes nothing.
    const QString strNow = f.form();
    f.push({elementAction(f, 1000, {el(f.pA), P::makeInt(2), P::makeInt(0), P::makeVariant(QVariant()),
                                    P::makeIntList({0}), P::makeDouble(1)})});
    QCOMPARE(f.form(), strNow);
}

void TestCommands::unfittingActionsChangeNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("unknown type") << 0;
    QTest::newRow("insert without scene") << 1;
    QTest::newRow("insert with a scene as the element kind") << 2;
    QTest::newRow("remove of an element not in the parent") << 3;
    QTest::newRow("geometry with one value too few") << 4;
    QTest::newRow("geometry with a double for a unit") << 5;
    QTest::newRow("label with a string time") << 6;
    QTest::newRow("scene move out of range") << 7;
    QTest::newRow("border with a missing layout") << 8;
    QTest::newRow("key value of another track") << 9;
}

void TestCommands::unfittingActionsChangeNothing()
{
    QFETCH(int, nCase);
    KVCommandFixture f;
    KVKeyValue stranger(300, 0.3);
    const QString strBefore = f.form();
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.action(64, {P::makeInt(1)}); break;
    case 1: pAction = f.action(1, {el(KVCommandFixture::rectangle(0, 0)), P::makeInt(0)}); break;
    case 2: pAction = f.action(1, {el(f.pScene2), P::makeInt(0), scene(f.pScene)}); break;
    case 3: pAction = f.action(2, {el(f.pC), P::makeInt(0), scene(f.pScene)}); break;
    case 4:
        pAction = elementAction(f, 1000, {el(f.pA), P::makeInt(0), P::makeInt(0), P::makeVariant(QVariant()),
                                          P::makeIntList({0, 2}), P::makeDouble(1)});
        break;
    case 5:
        pAction = elementAction(f, 1000, {el(f.pA), P::makeInt(0), P::makeInt(0), P::makeVariant(QVariant()),
                                          P::makeIntList({E::UnitXCode}), P::makeDouble(1)});
        break;
    case 6: pAction = f.action(13, {timeline(f.pTimeline), P::makeString("x"), P::makeString("10")}); break;
    case 7:
        pAction = f.action(8, {P::makeObject(P::SceneListOwner, &f.t.list), P::makeInt(0), P::makeInt(9)});
        break;
    case 8:
        pAction = elementAction(f, 1001, {el(f.pA), P::makeInt(4), P::makeInt(1), P::makeInt(0), P::makeBool(false),
                                          P::makeInt(0)});
        break;
    case 9:
        pAction = f.action(28, {track(f.pTrack), P::makeKeyValue(&stranger), P::makeInt(10)});
        break;
    }
    KVElement *pLoose = nCase == 1 ? pAction->param(0)->element() : nullptr;
    const int nType = pAction->type();
    f.push({pAction});
    QCOMPARE(f.form(), strBefore);
    // Announced as usual (animation types also re-seek, with 76) and closed with 41.
    QCOMPARE(f.t.noteTypes().first(), nType);
    QCOMPARE(f.t.noteTypes().last(), 41);
    QVERIFY(f.t.noteTypes().size() <= 3);
    f.t.stack.undo();
    QCOMPARE(f.form(), strBefore);
    delete pLoose;
}

void TestCommands::animationChangesReseekAndReloadFonts()
{
    KVCommandFixture f;
    f.pTimeline->seek(500);
    f.push({f.action(21, {track(f.pTrack), P::makeInt(500)})});
    // The shifted track shows its value at the current time at once: the first key now sits at 500.
    QCOMPARE(f.pA->opacity(KVLayoutKey::base()), 1.0);
    QCOMPARE(f.t.noteTypes(), (QList<int>{21, 76, 41}));
    const QJsonArray jaTime = f.t.notes.at(1).joPage.value("params").toArray();
    QCOMPARE(jaTime.at(0).toObject().value("value").toInt(), 500);
    QCOMPARE(jaTime.at(1).toObject().value("value").toBool(), false);

    // Resource types reload the fonts after the last action and before the end.
    f.t.notes.clear();
    f.push({f.action(33, {el(f.pA), P::makeBool(true)}), f.action(39, {})});
    QCOMPARE(f.t.noteTypes(), (QList<int>{33, 39, KVTestCommandTarget::FontReloadMark, 41}));
}

void TestCommands::symbolContentIdRule_data()
{
    QTest::addColumn<bool>("bInSymbol");
    QTest::addColumn<bool>("bMove");
    QTest::addColumn<bool>("bExpect63");
    QTest::newRow("selection inside a symbol") << true << false << false;
    QTest::newRow("move inside a symbol") << true << true << true;
    QTest::newRow("move in the project") << false << true << false;
}

void TestCommands::symbolContentIdRule()
{
    QFETCH(bool, bInSymbol);
    QFETCH(bool, bMove);
    QFETCH(bool, bExpect63);
    KVCommandFixture f;
    KVResource symbol(3, QStringLiteral("Button"));
    symbol.setUuid(QUuid::createUuid());
    const QUuid before = symbol.uuid();
    if (bInSymbol)
        f.t.pSymbol = &symbol;
    A *pAction = bMove ? f.action(4, {el(f.pA), P::makeVariant(QVariant()), P::makeInt(1)})
                       : f.action(33, {el(f.pA), P::makeBool(true)});
    KVCommand *pCommand = f.push({pAction});
    QCOMPARE(pCommand->actions().size(), bExpect63 ? 2 : 1);
    QCOMPARE(symbol.uuid() != before, bExpect63);
    if (bExpect63) {
        QCOMPARE(pCommand->actions().last()->type(), 63);
        f.t.stack.undo();
        QCOMPARE(symbol.uuid(), before);
    }
    f.t.stack.clear();
}

void TestCommands::emptyCommandIsNotPushed()
{
    KVCommandFixture f;
    QVERIFY(!KVCommand::push(new KVCommand(&f.t, QStringLiteral("Nothing"))));
    QCOMPARE(f.t.stack.count(), 0);
    QVERIFY(f.t.notes.isEmpty());
    // The status is cleared when a command goes onto a clean stack only.
    f.push({f.action(33, {el(f.pA), P::makeBool(true)})});
    f.push({f.action(33, {el(f.pB), P::makeBool(true)})});
    QCOMPARE(f.t.nStatusClears, 1);
    QCOMPARE(f.t.stack.count(), 2);
}

void TestCommands::executeWithoutRecording()
{
    KVCommandFixture f;
    QObject view;
    auto *pCommand = new KVCommand(&f.t, QStringLiteral("Run"), &view);
    pCommand->addAction(f.action(12, {timeline(f.pTimeline), P::makeString("Run")}));
    pCommand->execute();
    delete pCommand;
    // Changed and announced, but nothing went on the stack and no selection was restored.
    QCOMPARE(f.pTimeline->name(), QStringLiteral("Run"));
    QCOMPARE(f.t.stack.count(), 0);
    QCOMPARE(f.t.noteTypes(), (QList<int>{12, 41}));
    QCOMPARE(f.t.notes.first().pSender, &view);
}

void TestCommands::replacingAnOwnedObjectDestroysIt()
{
    DestroyCounter counter;
    auto *pFirst = new QObject;
    counter.watch(pFirst);
    std::unique_ptr<P> p(P::makeObject(P::OwnedObject, pFirst, true));
    QObject second;
    // Replacing with the same object keeps it; another object makes the owned one go.
    QVERIFY(p->setObject(pFirst, true));
    QCOMPARE(counter.n, 0);
    QVERIFY(p->setObject(&second, false));
    QCOMPARE(counter.n, 1);
    QCOMPARE(p->object(), &second);
    // Not owned: the parameter leaves it alone (destroying this stack object would be fatal).
    p.reset();

    // An owned object destroyed elsewhere is not destroyed again.
    auto *pThird = new QObject;
    std::unique_ptr<P> pParam(P::makeObject(P::OwnedObject, pThird, true));
    delete pThird;
    QCOMPARE(pParam->object(), nullptr);
    pParam.reset();
}

void TestCommands::documentTexts_data()
{
    QTest::addColumn<int>("nType");
    QTest::newRow("title") << 65;
    QTest::newRow("description") << 66;
    QTest::newRow("author") << 67;
    QTest::newRow("keywords") << 77;
}

void TestCommands::documentTexts()
{
    QFETCH(int, nType);
    KVCommandFixture f;
    KVSymbol &project = f.t.project;
    project.setTitle(QStringLiteral("t0"));
    project.setDescription(QStringLiteral("d0"));
    project.setAuthor(QStringLiteral("a0"));
    project.setKeywords(QStringLiteral("k0"));
    auto texts = [&project] {
        return QStringList{project.title(), project.description(), project.author(), project.keywords()};
    };
    const QStringList before = texts();
    f.push({f.action(nType, {P::makeString("new")})});
    QStringList expected = before;
    expected[nType == 77 ? 3 : nType - 65] = QStringLiteral("new");
    QCOMPARE(texts(), expected);
    f.t.stack.undo();
    QCOMPARE(texts(), before);
    f.t.stack.redo();
    QCOMPARE(texts(), expected);
}

void TestCommands::randomCommandsUndoAndRedoExactly_data()
{
    QTest::addColumn<quint32>("nSeed");
    QTest::addColumn<int>("nCommands");
    // Short runs compare the project form after every single undo; the long run only the start
    // and the end, as a user's long session would come back.
    QTest::addColumn<bool>("bEveryStep");
    QTest::newRow("seed 1") << quint32(1) << 400 << true;
    QTest::newRow("seed 77") << quint32(77) << 400 << true;
    QTest::newRow("seed 4242") << quint32(4242) << 400 << true;
    QTest::newRow("10,000 commands, seed 9") << quint32(9) << 10000 << false;
}

// Random commands of one to three random actions, each built against the model as it is; then
// every undo must give back the form before its command, and redoing all the final form.
void TestCommands::randomCommandsUndoAndRedoExactly()
{
    QFETCH(quint32, nSeed);
    QFETCH(int, nCommands);
    QFETCH(bool, bEveryStep);
    QRandomGenerator rng(nSeed);
    KVCommandFixture f;
    auto pick = [&rng](int n) { return int(rng.bounded(quint32(qMax(1, n)))); };
    int nLabel = 0;

    auto randomAction = [&]() -> A * {
        const QList<KVElement *> &top = f.pScene->children();
        KVElement *pAny = top.value(pick(top.size()));
        switch (pick(15)) {
        case 0:
            return pAny ? f.action(33, {el(pAny), P::makeBool(rng.bounded(2) == 1)}) : nullptr;
        case 1:
            return pAny ? f.action(4, {el(pAny), P::makeVariant(QVariant()), P::makeInt(pick(top.size()))}) : nullptr;
        case 2: {
            if (!pAny)
                return nullptr;
            // Not opacity: A animates it, and an animated value follows its track, not the edit.
            const QList<int> codes = {0, 2, 4, 11, 83, E::UnitXCode};
            const int nCode = codes.at(pick(codes.size()));
            P *pValue = E::isIntGeometryCode(nCode) ? P::makeInt(pick(2)) : P::makeDouble(pick(500) / 4.0);
            return elementAction(f, 1000, {el(pAny), P::makeInt(0), P::makeInt(0), P::makeVariant(QVariant()),
                                           P::makeIntList({nCode}), pValue});
        }
        case 3:
            return f.action(13, {timeline(f.pTimeline), P::makeString(QStringLiteral("L%1").arg(++nLabel)),
                                 P::makeInt(pick(3000))});
        case 4: {
            const QStringList names = f.pTimeline->labels().keys();
            if (names.isEmpty())
                return nullptr;
            const QString strName = names.at(pick(names.size()));
            return rng.bounded(2) ? f.action(16, {timeline(f.pTimeline), P::makeString(strName), P::makeInt(pick(3000))})
                                  : f.action(14, {timeline(f.pTimeline), P::makeString(strName)});
        }
        case 5: {
            const QList<KVKeyValue *> &keys = f.pTrack->keyValues();
            KVKeyValue *pKey = keys.value(pick(keys.size()));
            if (!pKey)
                return nullptr;
            switch (pick(3)) {
            case 0: {
                // Strictly between the neighbours: two keys at one time come back from a removal
                // in either order (the track places a restored key by its time).
                const int nIndex = keys.indexOf(pKey);
                const int nLow = nIndex > 0 ? keys.at(nIndex - 1)->time() + 1 : 0;
                const int nHigh = nIndex + 1 < keys.size() ? keys.at(nIndex + 1)->time() - 1 : 3000;
                if (nHigh < nLow)
                    return nullptr;
                return f.action(28, {track(f.pTrack), P::makeKeyValue(pKey), P::makeInt(nLow + pick(nHigh - nLow + 1))});
            }
            case 1: return f.action(27, {track(f.pTrack), P::makeKeyValue(pKey), P::makeVariant(pick(100) / 100.0)});
            default: return f.action(22, {track(f.pTrack), P::makeKeyValue(pKey), P::makeInt(pick(41))});
            }
        }
        case 6: {
            const int nTime = pick(3000);
            if (f.pTrack->keyValueAt(nTime))
                return nullptr;
            return f.action(25, {track(f.pTrack), P::makeKeyValue(new KVKeyValue(nTime, pick(100) / 100.0), true),
                                 P::makeInt(pick(41)), P::makeBool(rng.bounded(2) == 1)});
        }
        case 7: {
            const QList<KVKeyValue *> &keys = f.pTrack->keyValues();
            if (keys.size() < 2)
                return nullptr;
            return f.action(26, {track(f.pTrack), P::makeKeyValue(keys.at(pick(keys.size())))});
        }
        case 8:
            // Elements without animation leave and enter the stage.
            if (pAny && pAny != f.pA)
                return f.action(2, {el(pAny), P::makeInt(-1), scene(f.pScene)});
            return nullptr;
        case 9: {
            // The page names new elements with the scene's next id; the insertion raises the
            // counter past it and its undo lowers it again.
            KVElement *pNew = KVCommandFixture::rectangle(pick(100), pick(100));
            pNew->setId(f.pScene->nextChildId());
            return f.action(1, {P::makeObject(P::Element, pNew, true), P::makeInt(pick(top.size() + 1)), scene(f.pScene)});
        }
        case 10:
            return f.action(8, {P::makeObject(P::SceneListOwner, &f.t.list), P::makeInt(pick(2)), P::makeInt(pick(3))});
        case 12:
            // A shadow at the base layout; elements without one leave the action without effect.
            return pAny ? elementAction(f, 1043, {el(pAny), P::makeInt(pick(2)), P::makeInt(pick(50)), P::makeInt(pick(360)),
                                                  P::makeInt(pick(100)), P::makeInt(int(rng.generate())), P::makeBool(false),
                                                  P::makeInt(0), P::makeInt(0)})
                        : nullptr;
        case 13:
            return pAny ? elementAction(f, 1012, {el(pAny), P::makeInt(pick(4)), P::makeVariant(QVariant()), P::makeBool(false),
                                                  P::makeInt(0), P::makeInt(0)})
                        : nullptr;
        case 14:
            // A ripple of the animated track that may be refused (keys passing each other).
            return f.action(24, {track(f.pTrack), P::makeInt(pick(1500)), P::makeInt(pick(1000) - 500)});
        default:
            return f.action(7, {scene(f.t.list.at(pick(2))), P::makeBool(rng.bounded(2) == 1)});
        }
    };

    QStringList forms{f.form()};
    const QString strStart = forms.first();
    int nPushed = 0;
    for (int i = 0; i < nCommands; ++i) {
        QList<A *> actions;
        const int nActions = 1 + pick(3);
        for (int n = 0; n < nActions; ++n) {
            // Later actions of a command are built on the model before the command runs, so keep
            // commands of several actions to kinds that do not disturb each other.
            if (A *p = randomAction())
                actions.append(p);
            if (!actions.isEmpty() && actions.last()->type() != 33 && actions.last()->type() != 13)
                break;
        }
        if (actions.isEmpty())
            continue;
        f.push(actions);
        ++nPushed;
        if (bEveryStep)
            forms.append(f.form());
    }
    const int nSteps = f.t.stack.count();
    QCOMPARE(nSteps, nPushed);
    if (!bEveryStep) {
        const QString strEnd = f.form();
        while (f.t.stack.canUndo())
            f.t.stack.undo();
        QCOMPARE(f.form(), strStart);
        while (f.t.stack.canRedo())
            f.t.stack.redo();
        QCOMPARE(f.form(), strEnd);
        f.t.stack.clear();
        return;
    }
    for (int i = nSteps; i > 0; --i) {
        f.t.stack.undo();
        const QString strNow = f.form();
        if (strNow != forms.at(i - 1)) {
            auto *pCommand = static_cast<const KVCommand *>(f.t.stack.command(i - 1));
            QStringList types;
            for (const A *p : pCommand->actions())
                types.append(QString::number(p->type()));
            int nAt = 0;
            while (nAt < strNow.size() && strNow.at(nAt) == forms.at(i - 1).at(nAt))
                ++nAt;
            QFAIL(qPrintable(QStringLiteral("undo of command %1 (types %2) differs at: %3 / expected %4")
                                 .arg(i - 1).arg(types.join(','), strNow.mid(qMax(0, nAt - 80), 160),
                                      forms.at(i - 1).mid(qMax(0, nAt - 80), 160))));
        }
    }
    while (f.t.stack.canRedo())
        f.t.stack.redo();
    QCOMPARE(f.form(), forms.last());
    // Half way back again, then the stack goes (taking the removed elements with it).
    for (int i = 0; i < nSteps / 2; ++i)
        f.t.stack.undo();
    QCOMPARE(f.form(), forms.at(nSteps - nSteps / 2));
    f.t.stack.clear();
}

KAVIO_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
