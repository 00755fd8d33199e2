#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVActionKey.h"
#include "interaction/KVEventCatalogue.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVSceneProperty.h"
#include "model/KVSceneTransition.h"

#include "KVPlayerFormTestKit.h"
#include "KVTestMain.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QVariantAnimation>

#include <memory>

using Cat = KVPropertyCatalogue;

namespace {
using KVPlayerFormTestKit::exportLayout;

const KVLayoutKey kWide(1, 0);

QString compact(const QJsonValue &value)
{
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
}

QJsonObject projectJson(const KVElement &element)
{
    QJsonObject jo;
    element.toJson(jo);
    return jo;
}

QJsonObject playerJson(KVScene &scene, bool bForCanvas)
{
    QJsonObject jo;
    scene.toPlayerJson(jo, bForCanvas);
    return jo;
}


// A track of the property with linear segments between the keys.
KVKeyframe *track(KVElement *pElement, int nCode, const QList<QPair<int, QVariant>> &keys,
                  const KVLayoutKey &layout = KVLayoutKey::base())
{
    KVKeyframe *pTrack = KVKeyframe::create(pElement, nCode, layout);
    if (!pTrack)
        qFatal("no track for code %d", nCode);
    for (const auto &key : keys)
        pTrack->addKeyValue(new KVKeyValue(key.first, key.second), QEasingCurve::Linear, true);
    return pTrack;
}

KVAnimation *animation(KVElement *pElement, int nCode, const QList<QPair<int, QVariant>> &keys)
{
    auto *pAnimation = new KVAnimation(pElement);
    pAnimation->addKeyframe(track(pElement, nCode, keys));
    return pAnimation;
}

KVScene *newScene(const QString &strName = QString())
{
    auto *pScene = new KVScene;
    pScene->init();
    pScene->setName(strName);
    return pScene;
}

// Names of the list's scenes in order, for example "A B C".
QString order(const KVSceneList &list)
{
    QStringList names;
    for (const KVScene *pScene : list.scenes())
        names << pScene->name();
    return names.join(QLatin1Char(' '));
}

QString selectedNames(const KVSceneList &list)
{
    QStringList names;
    for (const KVScene *pScene : list.selectedScenes())
        names << pScene->name();
    return names.join(QLatin1Char(' '));
}

// A list of scenes named by the words of strNames.
void fill(KVSceneList &list, const QString &strNames)
{
    for (const QString &strName : strNames.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        list.addScene(newScene(strName));
}

// A scene with one rectangle "Box" (id 1) whose opacity runs 0.2 -> 1.0 over the first second of
// the main timeline.
KVScene *animatedScene(KVElement **ppBox = nullptr)
{
    KVScene *pScene = newScene(QStringLiteral("Intro"));
    KVElement *pBox = KVElementFactory::createElement(KVElementType::Div);
    pBox->setName(QStringLiteral("Box"));
    pScene->addElement(pBox);
    pScene->mainTimeline()->addAnimation(animation(pBox, Cat::Opacity, {{0, 0.2}, {1000, 1.0}}),
                                         KVLayoutKey::base());
    if (ppBox)
        *ppBox = pBox;
    return pScene;
}

// An element that reports a kind without a class of its own here (audio, say), for the playback rule.
class KindElement : public KVElement
{
public:
    explicit KindElement(int nType) : m_nType(nType) {}
    int type() const override { return m_nType; }

private:
    int m_nType;
};

} // namespace

class ScenesTest : public QObject
{
    Q_OBJECT

private slots:
    void newSceneDefaults();
    void transitionPlayerArray_data();
    void transitionPlayerArray();
    void sceneNames_data();
    void sceneNames();
    void sceneIds_data();
    void sceneIds();
    void addSceneIndex_data();
    void addSceneIndex();
    void moveScene_data();
    void moveScene();
    void removeScene();
    void selectionInStep();
    void selectionReadFromJson_data();
    void selectionReadFromJson();
    void totalDuration_data();
    void totalDuration();
    void labelTime_data();
    void labelTime();
    void nextChildIdOnRead_data();
    void nextChildIdOnRead();
    void readerDefaults();
    void projectRoundTrip();
    void cloneIsIndependent();
    void perspectiveDrivenByName();
    void perspectivePlayerKey_data();
    void perspectivePlayerKey();
    void threeD_data();
    void threeD();
    void playerForms();
    void exportWritesTimeZero();
    void exportUsesFirstAnimatedTimeline();
    void playbackCountsAsContent_data();
    void playbackCountsAsContent();
    void layoutReachesTimelines();
    void handlersOfTimelinesRemapped();
};

void ScenesTest::newSceneDefaults()
{
    // Scenes come from the scene list, sized to its stage, not from the element factory.
    QVERIFY(!KVElementFactory::createElement(KVElementType::Scene));
    KVSceneList list;
    list.setStageSize(QSize(1024, 768));
    std::unique_ptr<KVScene> pScene(list.createScene());
    QCOMPARE(pScene->widthPixels(), 1024.0);
    QCOMPARE(pScene->heightPixels(), 768.0);
    QCOMPARE(pScene->timelines()->count(), 1);
    QCOMPARE(pScene->currentTimeline(), pScene->mainTimeline());
    QCOMPARE(pScene->mainTimeline()->owner(), pScene.get());
    // Scene events 50..56 besides the element events.
    QVERIFY(!pScene->isEventTypeSupported(49) && pScene->isEventTypeSupported(50)
            && pScene->isEventTypeSupported(56) && !pScene->isEventTypeSupported(57)
            && pScene->isEventTypeSupported(100));

    // init() brings a used scene back to the defaults, with new timelines.
    pScene->setNextChildId(40);
    pScene->setTransitionType(3);
    pScene->mainTimeline()->addLabel(QStringLiteral("x"), 10);
    pScene->init();
    QCOMPARE(pScene->nextChildId(), 1);
    QCOMPARE(pScene->transitionType(), 0);
    QVERIFY(pScene->mainTimeline()->labels().isEmpty());
    // Codes past the known transitions name nothing and take no settings.
    for (int nCode : {-1, 6, 8})
        QVERIFY(KVSceneTransition::typeName(nCode).isEmpty() && !KVSceneTransition::hasEasing(nCode)
                && !KVSceneTransition::hasDirection(nCode));
}

void ScenesTest::transitionPlayerArray_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("st");

    // Duration 750, easing 7, direction 3 on every row.
    QTest::newRow("none") << 0 << "[0,750]";
    QTest::newRow("fade") << 1 << "[1,750,7]";
    QTest::newRow("push") << 2 << "[2,750,7,3]";
    QTest::newRow("wipe") << 3 << "[3,750]";
    QTest::newRow("cover") << 4 << "[4,750]";
    QTest::newRow("uncover") << 5 << "[5,750]";
}

void ScenesTest::transitionPlayerArray()
{
    QFETCH(int, type);
    QFETCH(QString, st);
    std::unique_ptr<KVScene> pScene(newScene());
    pScene->setTransitionType(type);
    pScene->setTransitionDuration(750);
    pScene->setTransitionEasing(7);
    pScene->setTransitionDirection(3);
    QCOMPARE(compact(playerJson(*pScene, false).value("st")), st);
    // The editing page never gets the transition.
    QVERIFY(!playerJson(*pScene, true).contains("st"));
}

void ScenesTest::sceneNames_data()
{
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("added");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first scene") << "" << "" << "Scene_1";
    QTest::newRow("second scene") << "Scene_1" << "" << "Scene_2";
    QTest::newRow("gap is used") << "Scene_1 Scene_3" << "" << "Scene_2";
    QTest::newRow("pasted copy") << "Intro" << "Intro" << "Intro_1";
    QTest::newRow("second copy") << "Intro Intro_1" << "Intro" << "Intro_2";
    QTest::newRow("free name kept") << "Intro" << "Outro" << "Outro";
    QTest::newRow("numbered copy") << "Scene_1" << "Scene_1" << "Scene_1_1";
}

void ScenesTest::sceneNames()
{
    QFETCH(QString, present);
    QFETCH(QString, added);
    QFETCH(QString, expected);

    KVSceneList list;
    fill(list, present);
    KVScene *pScene = newScene(added);
    list.addScene(pScene);
    QCOMPARE(pScene->name(), expected);
    QVERIFY(list.isSceneNameTaken(expected));
    QVERIFY(!list.isSceneNameTaken(expected, pScene));
    QCOMPARE(list.uniqueSceneName(pScene), expected);
}

void ScenesTest::sceneIds_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QList<int>>("expected");
    QTest::addColumn<int>("next");

    QTest::newRow("new scenes") << QList<int>{-1, -1, 0} << QList<int>{1, 2, 3} << 4;
    QTest::newRow("kept id raises the counter") << QList<int>{7, -1} << QList<int>{7, 8} << 9;
    QTest::newRow("lower kept id") << QList<int>{-1, -1, 1} << QList<int>{1, 2, 3} << 4;
    QTest::newRow("kept ids") << QList<int>{5, 2} << QList<int>{5, 2} << 6;
}

void ScenesTest::sceneIds()
{
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, expected);
    QFETCH(int, next);

    KVSceneList list;
    QList<int> got;
    for (int nId : ids) {
        KVScene *pScene = newScene();
        pScene->setId(nId);
        list.addScene(pScene);
        got << pScene->id();
    }
    QCOMPARE(got, expected);
    QCOMPARE(list.nextSceneId(), next);
    QCOMPARE(list.findScene(expected.last()), list.at(list.count() - 1));

    // Removing a scene lowers nothing until the ids are counted again.
    std::unique_ptr<KVScene> pLast(list.at(list.count() - 1));
    list.removeScene(pLast.get());
    QCOMPARE(list.nextSceneId(), next);
    list.recountSceneIds();
    int nLargest = 0;
    for (const KVScene *pScene : list.scenes())
        nLargest = std::max(nLargest, pScene->id());
    QCOMPARE(list.nextSceneId(), nLargest + 1);

    KVSceneList empty;
    empty.setNextSceneId(12);
    empty.recountSceneIds();
    QCOMPARE(empty.nextSceneId(), 1);
}

void ScenesTest::addSceneIndex_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("used");
    QTest::addColumn<QString>("order");

    QTest::newRow("front") << 0 << 0 << "N A B";
    QTest::newRow("middle") << 1 << 1 << "A N B";
    QTest::newRow("at count") << 2 << 2 << "A B N";
    QTest::newRow("past count") << 3 << 2 << "A B N";
    QTest::newRow("negative") << -1 << 2 << "A B N";
}

void ScenesTest::addSceneIndex()
{
    QFETCH(int, index);
    QFETCH(int, used);
    QFETCH(QString, order);

    KVSceneList list;
    fill(list, QStringLiteral("A B"));
    KVScene *pScene = newScene(QStringLiteral("N"));
    QCOMPARE(list.addScene(pScene, index), used);
    QCOMPARE(::order(list), order);
    QCOMPARE(pScene->sceneList(), &list);
    // A scene is in the list once.
    QCOMPARE(list.addScene(pScene), -1);
    QCOMPARE(list.addScene(nullptr), -1);
    QCOMPARE(list.count(), 3);
}

void ScenesTest::moveScene_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("order");

    QTest::newRow("0 to 2") << 0 << 2 << true << "B A C";
    QTest::newRow("0 to end") << 0 << 3 << true << "B C A";
    QTest::newRow("2 to 0") << 2 << 0 << true << "C A B";
    QTest::newRow("2 to 1") << 2 << 1 << true << "A C B";
    QTest::newRow("1 to 2 stays") << 1 << 2 << true << "A B C";
    QTest::newRow("1 to 1 stays") << 1 << 1 << true << "A B C";
    QTest::newRow("0 to 4") << 0 << 4 << false << "A B C";
    QTest::newRow("-1 to 0") << -1 << 0 << false << "A B C";
    QTest::newRow("0 to -1") << 0 << -1 << false << "A B C";
    QTest::newRow("from past last") << 3 << 0 << false << "A B C";
}

void ScenesTest::moveScene()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, result);
    QFETCH(QString, order);

    KVSceneList list;
    fill(list, QStringLiteral("A B C"));
    QCOMPARE(list.moveScene(from, to), result);
    QCOMPARE(::order(list), order);
}

void ScenesTest::removeScene()
{
    KVSceneList list;
    fill(list, QStringLiteral("A B C"));
    KVScene *pB = list.at(1);
    list.setSceneSelected(pB, true);
    std::unique_ptr<KVScene> pOwned(pB);
    QCOMPARE(list.removeScene(pB), 1);
    QCOMPARE(order(list), QStringLiteral("A C"));
    QVERIFY(!pB->sceneList());
    QVERIFY(list.selectedScenes().isEmpty());
    QCOMPARE(list.removeScene(pB), -1);
    QCOMPARE(list.removeScene(nullptr), -1);
    // Put back (as undo does), it keeps its id and its selection.
    const int nId = pB->id();
    QCOMPARE(list.addScene(pOwned.release(), 1), 1);
    QCOMPARE(pB->id(), nId);
    QCOMPARE(selectedNames(list), QStringLiteral("B"));
    // A scene destroyed while in the list leaves it.
    delete pB;
    QCOMPARE(order(list), QStringLiteral("A C"));
    QVERIFY(list.selectedScenes().isEmpty());
}

void ScenesTest::selectionInStep()
{
    KVSceneList list;
    fill(list, QStringLiteral("A B C"));
    QVERIFY(list.setSceneSelected(list.at(2), true));
    QVERIFY(list.setSceneSelected(list.at(0), true));
    QVERIFY(list.setSceneSelected(list.at(2), true));
    QCOMPARE(selectedNames(list), QStringLiteral("C A"));
    QVERIFY(list.at(0)->isSelected() && list.at(2)->isSelected() && !list.at(1)->isSelected());
    QVERIFY(list.setSceneSelected(list.at(2), false));
    QCOMPARE(selectedNames(list), QStringLiteral("A"));
    QVERIFY(!list.at(2)->isSelected());

    // A selected scene that enters the list is selected there.
    KVScene *pD = newScene(QStringLiteral("D"));
    pD->setSelected(true);
    list.addScene(pD);
    QCOMPARE(selectedNames(list), QStringLiteral("A D"));

    std::unique_ptr<KVScene> pOutside(newScene(QStringLiteral("X")));
    QVERIFY(!list.setSceneSelected(pOutside.get(), true));
    QVERIFY(!pOutside->isSelected());

    list.clearSelection();
    QVERIFY(list.selectedScenes().isEmpty());
    QVERIFY(!list.at(0)->isSelected() && !pD->isSelected());
}

void ScenesTest::selectionReadFromJson_data()
{
    QTest::addColumn<bool>("before");
    QTest::addColumn<QJsonValue>("isSelected");
    QTest::addColumn<QString>("selected");

    // B is selected after A (when A was selected before the read).
    QTest::newRow("becomes selected") << false << QJsonValue(true) << "B A";
    QTest::newRow("stays selected") << true << QJsonValue(true) << "A B";
    QTest::newRow("becomes unselected") << true << QJsonValue(false) << "B";
    QTest::newRow("missing reads as unselected") << true << QJsonValue(QJsonValue::Undefined) << "B";
    QTest::newRow("mistyped reads as unselected") << true << QJsonValue("yes") << "B";
}

void ScenesTest::selectionReadFromJson()
{
    QFETCH(bool, before);
    QFETCH(QJsonValue, isSelected);
    QFETCH(QString, selected);

    KVSceneList list;
    fill(list, QStringLiteral("A B"));
    KVScene *pA = list.at(0);
    if (before)
        list.setSceneSelected(pA, true);
    list.setSceneSelected(list.at(1), true);

    QJsonObject jo = projectJson(*pA);
    jo.remove(QStringLiteral("isSelected"));
    if (!isSelected.isUndefined())
        jo.insert(QStringLiteral("isSelected"), isSelected);
    QVERIFY(pA->fromJson(jo));
    QCOMPARE(selectedNames(list), selected);
    QCOMPARE(pA->isSelected(), selected.contains(QLatin1Char('A')));
}

void ScenesTest::totalDuration_data()
{
    QTest::addColumn<QList<int>>("lengths");
    QTest::addColumn<QList<int>>("types");
    QTest::addColumn<QList<int>>("durations");
    QTest::addColumn<int>("total");

    QTest::newRow("no scenes") << QList<int>{} << QList<int>{} << QList<int>{} << 0;
    QTest::newRow("one scene") << QList<int>{3000} << QList<int>{0} << QList<int>{0} << 3000;
    QTest::newRow("fade counts") << QList<int>{3000, 500} << QList<int>{0, 1} << QList<int>{0, 1000}
                                 << 4500;
    QTest::newRow("no transition, duration ignored")
        << QList<int>{3000, 500} << QList<int>{0, 0} << QList<int>{0, 1000} << 3500;
    QTest::newRow("every scene's transition")
        << QList<int>{1000, 0, 2000} << QList<int>{2, 5, 3} << QList<int>{100, 200, 300} << 3600;
}

void ScenesTest::totalDuration()
{
    QFETCH(QList<int>, lengths);
    QFETCH(QList<int>, types);
    QFETCH(QList<int>, durations);
    QFETCH(int, total);

    KVSceneList list;
    for (int n = 0; n < lengths.size(); ++n) {
        KVScene *pScene = newScene();
        // A label at the end makes the main timeline last that long.
        pScene->mainTimeline()->addLabel(QStringLiteral("end"), lengths.at(n));
        pScene->setTransitionType(types.at(n));
        pScene->setTransitionDuration(durations.at(n));
        list.addScene(pScene);
    }
    QCOMPARE(list.totalDuration(), total);
}

void ScenesTest::labelTime_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("firstTransition");
    QTest::addColumn<int>("time");

    // Scene 1: main timeline of 3000 ms with "a" at 100 and "twice" at 200, and a Push of the
    // given duration (0: no transition). Scene 2: a Fade of 1000 ms, "go" at 500 and "twice" at 50;
    // a second timeline with "hidden".
    QTest::newRow("worked example") << "go" << 0 << 4500;
    QTest::newRow("after both transitions") << "go" << 200 << 4700;
    QTest::newRow("first scene") << "a" << 0 << 100;
    QTest::newRow("first scene after its transition") << "a" << 200 << 300;
    QTest::newRow("first scene that has it") << "twice" << 0 << 200;
    QTest::newRow("other timelines do not count") << "hidden" << 0 << -1;
    QTest::newRow("unknown") << "nowhere" << 200 << -1;
}

void ScenesTest::labelTime()
{
    QFETCH(QString, label);
    QFETCH(int, firstTransition);
    QFETCH(int, time);

    KVSceneList list;
    KVScene *pFirst = newScene();
    pFirst->mainTimeline()->addLabel(QStringLiteral("a"), 100);
    pFirst->mainTimeline()->addLabel(QStringLiteral("twice"), 200);
    pFirst->mainTimeline()->addAnimation(
        animation(pFirst, Cat::Width, {{0, 800.0}, {3000, 900.0}}), KVLayoutKey::base());
    pFirst->setTransitionType(firstTransition > 0 ? KVSceneTransition::Push : KVSceneTransition::None);
    pFirst->setTransitionDuration(firstTransition > 0 ? firstTransition : 999);
    KVScene *pSecond = newScene();
    pSecond->mainTimeline()->addLabel(QStringLiteral("go"), 500);
    pSecond->mainTimeline()->addLabel(QStringLiteral("twice"), 50);
    pSecond->setTransitionType(KVSceneTransition::Fade);
    pSecond->setTransitionDuration(1000);
    auto *pOther = new KVTimeline(pSecond);
    pOther->addLabel(QStringLiteral("hidden"), 10);
    pSecond->timelines()->insert(pOther);
    list.addScene(pFirst);
    list.addScene(pSecond);
    QCOMPARE(pFirst->mainTimeline()->totalDuration(), 3000);

    QCOMPARE(list.labelTime(label), time);
}

void ScenesTest::nextChildIdOnRead_data()
{
    QTest::addColumn<QJsonValue>("nextChildId");
    QTest::addColumn<int>("childId");
    QTest::addColumn<int>("newId");

    QTest::newRow("missing key") << QJsonValue(QJsonValue::Undefined) << 3 << 1000;
    QTest::newRow("mistyped key") << QJsonValue("12") << 3 << 1000;
    QTest::newRow("missing, larger id present") << QJsonValue(QJsonValue::Undefined) << 1500 << 1501;
    QTest::newRow("stored") << QJsonValue(37) << 3 << 37;
    QTest::newRow("stored below an id present") << QJsonValue(5) << 9 << 10;
}

void ScenesTest::nextChildIdOnRead()
{
    QFETCH(QJsonValue, nextChildId);
    QFETCH(int, childId);
    QFETCH(int, newId);

    std::unique_ptr<KVScene> pSource(newScene(QStringLiteral("S")));
    KVElement *pChild = KVElementFactory::createElement(KVElementType::Div);
    pChild->setId(childId);
    pSource->addElement(pChild);
    QJsonObject jo = projectJson(*pSource);
    jo.remove(QStringLiteral("nextChildId"));
    if (!nextChildId.isUndefined())
        jo.insert(QStringLiteral("nextChildId"), nextChildId);

    std::unique_ptr<KVScene> pRead(newScene());
    QVERIFY(pRead->fromJson(jo));
    KVElement *pNew = KVElementFactory::createElement(KVElementType::Div);
    pRead->addElement(pNew);
    QCOMPARE(pNew->id(), newId);
    QCOMPARE(pRead->findElement(childId)->name(), pChild->name());
}

void ScenesTest::readerDefaults()
{
    std::unique_ptr<KVScene> pScene(newScene(QStringLiteral("Old")));
    pScene->setAutoAdvance(false);
    pScene->setTransitionType(2);
    pScene->setTransitionDirection(5);
    pScene->mainTimeline()->addLabel(QStringLiteral("x"), 10);
    // Mistyped keys read as their defaults; the scene keeps a main timeline and a base layout.
    const QJsonObject jo{{"type", 8},
                         {"name", "Read"},
                         {"autoAdvance", "no"},
                         {"tsType", "3"},
                         {"tsDuration", QJsonArray{1}},
                         {"timelines", 5},
                         {"respProps", QJsonArray{QJsonObject{{"hLayoutId", 0},
                                                              {"vLayoutId", 0},
                                                              {"values", QJsonObject{}}}}},
                         {"children", QJsonArray{7, "x"}}};
    QVERIFY(pScene->fromJson(jo));
    QCOMPARE(pScene->name(), QStringLiteral("Read"));
    QVERIFY(pScene->autoAdvance());
    QCOMPARE(pScene->transitionType(), 0);
    QCOMPARE(pScene->transitionDuration(), 0);
    QCOMPARE(pScene->transitionDirection(), 0);
    QCOMPARE(pScene->nextChildId(), 1000);
    QCOMPARE(pScene->timelines()->count(), 1);
    QVERIFY(pScene->mainTimeline()->labels().isEmpty());
    QVERIFY(pScene->children().isEmpty());
    QVERIFY(pScene->sceneProperty());
    QCOMPARE(pScene->perspectiveOrgX(), 0.5);
    QCOMPARE(pScene->perspectiveOrgY(), 0.5);
    QCOMPARE(pScene->perspectiveOrgZ(), 1200.0);
}

void ScenesTest::projectRoundTrip()
{
    KVElement *pBox = nullptr;
    std::unique_ptr<KVScene> pScene(animatedScene(&pBox));
    pScene->setId(4);
    pScene->setAutoAdvance(false);
    pScene->setTransitionType(KVSceneTransition::Cover);
    pScene->setTransitionDuration(640);
    pScene->setTransitionEasing(12);
    pScene->setTransitionDirection(KVSceneTransition::FromBottomRight);
    pScene->setPerspectiveOrgX(0.25);
    pScene->setPerspectiveOrgZ(900);
    pScene->addProperty(pScene->property()->clone(), kWide);
    pScene->setPerspectiveOrgY(0.75, kWide);
    pScene->setInherited(Cat::PerspectiveOriginY, false, kWide);
    pScene->mainTimeline()->addLabel(QStringLiteral("mid"), 400);
    pScene->mainTimeline()->addAnimation(
        animation(pScene.get(), Cat::PerspectiveOriginZ, {{0, 900.0}, {500, 600.0}}), KVLayoutKey::base());
    pScene->timelines()->insert(new KVTimeline(pScene.get()));
    // Reading seeks the current timeline to its stored time: the model is written at that time.
    pScene->mainTimeline()->seek(0);

    const QJsonObject jo = projectJson(*pScene);
    QCOMPARE(jo.value("type").toInt(), 8);
    QCOMPARE(jo.value("nextChildId").toInt(), 2);
    QCOMPARE(jo.value("isSelected").toBool(), false);
    QCOMPARE(jo.value("autoAdvance").toBool(), false);
    QCOMPARE(jo.value("tsType").toInt(), 4);
    QCOMPARE(jo.value("tsDuration").toInt(), 640);
    QCOMPARE(jo.value("tsEasing").toInt(), 12);
    QCOMPARE(jo.value("tsDirection").toInt(), 7);
    QCOMPARE(jo.value("timelines").toObject().value("timelines").toArray().size(), 2);
    const QJsonObject joBase =
        jo.value("respProps").toArray().at(0).toObject().value("values").toObject();
    QCOMPARE(joBase.value("perspectiveOrgX").toDouble(), 0.25);
    QCOMPARE(joBase.value("perspectiveOrgY").toDouble(), 0.5);
    QCOMPARE(joBase.value("perspectiveOrgZ").toDouble(), 900.0);

    std::unique_ptr<KVScene> pRead(new KVScene);
    pRead->init();
    QVERIFY(pRead->fromJson(jo));
    QCOMPARE(projectJson(*pRead), jo);
    QCOMPARE(pRead->perspectiveOrgY(kWide), 0.75);
    QVERIFY(!pRead->isInherited(Cat::PerspectiveOriginY, kWide));
    // The read animations drive the read elements.
    pRead->mainTimeline()->seek(500);
    QCOMPARE(pRead->findElement(pBox->id())->opacity(), 0.6);
    QCOMPARE(pRead->perspectiveOrgZ(), 600.0);
    QCOMPARE(pBox->opacity(), 0.2);
    QCOMPARE(pScene->perspectiveOrgZ(), 900.0);
}

void ScenesTest::cloneIsIndependent()
{
    KVSceneList list;
    KVElement *pBox = nullptr;
    KVScene *pScene = animatedScene(&pBox);
    pScene->setTransitionType(KVSceneTransition::Push);
    pScene->setTransitionDuration(300);
    pScene->setTransitionEasing(6);
    pScene->setTransitionDirection(2);
    pScene->setAutoAdvance(false);
    list.addScene(pScene);
    list.setSceneSelected(pScene, true);

    std::unique_ptr<KVScene> pCopy(qobject_cast<KVScene *>(pScene->clone()));
    QVERIFY(pCopy);
    QCOMPARE(pCopy->id(), pScene->id());
    QCOMPARE(pCopy->name(), pScene->name());
    QCOMPARE(pCopy->nextChildId(), pScene->nextChildId());
    QCOMPARE(pCopy->sceneList(), &list);
    QVERIFY(!pCopy->isSelected());
    QVERIFY(!pCopy->autoAdvance());
    QCOMPARE(pCopy->transitionType(), 2);
    QCOMPARE(pCopy->transitionDuration(), 300);
    QCOMPARE(pCopy->transitionEasing(), 6);
    QCOMPARE(pCopy->transitionDirection(), 2);
    QCOMPARE(list.count(), 1);

    // Its timelines are its own and animate its own elements.
    QVERIFY(pCopy->mainTimeline() != pScene->mainTimeline());
    QCOMPARE(pCopy->mainTimeline()->owner(), pCopy.get());
    KVElement *pCopiedBox = pCopy->findElement(pBox->id());
    QVERIFY(pCopiedBox && pCopiedBox != pBox);
    pScene->mainTimeline()->seek(0);
    pCopy->mainTimeline()->seek(500);
    QCOMPARE(pCopiedBox->opacity(), 0.6);
    QCOMPARE(pBox->opacity(), 0.2);

    pCopy->setTransitionType(0);
    pCopy->mainTimeline()->addLabel(QStringLiteral("copy"), 5);
    pCopiedBox->setName(QStringLiteral("Other"));
    QCOMPARE(pScene->transitionType(), 2);
    QVERIFY(pScene->mainTimeline()->labels().isEmpty());
    QCOMPARE(pBox->name(), QStringLiteral("Box"));

    // A copy outside the list reads its selection without joining the list's.
    QJsonObject joSelected = projectJson(*pCopy);
    joSelected.insert(QStringLiteral("isSelected"), true);
    QVERIFY(pCopy->fromJson(joSelected));
    QVERIFY(pCopy->isSelected());
    QCOMPARE(list.selectedScenes(), QList<KVScene *>{pScene});
    pCopy->setSelected(false);

    // Pasted into the list, the copy gets an id and a name of its own.
    KVScene *pPasted = pCopy.release();
    list.addScene(pPasted);
    QCOMPARE(pPasted->name(), QStringLiteral("Intro_1"));
    QVERIFY(pPasted->id() != pScene->id());

    // A copy may outlive its list.
    std::unique_ptr<KVScene> pOrphan;
    {
        KVSceneList shortLived;
        KVScene *pInList = newScene();
        shortLived.addScene(pInList);
        pOrphan.reset(qobject_cast<KVScene *>(pInList->clone()));
        QCOMPARE(pOrphan->sceneList(), &shortLived);
    }
    QVERIFY(!pOrphan->sceneList());
}

void ScenesTest::perspectiveDrivenByName()
{
    std::unique_ptr<KVScene> pScene(newScene());
    pScene->addProperty(pScene->property()->clone(), kWide);
    pScene->setCurrentLayout(kWide);
    QVERIFY(pScene->setProperty("m_dPerspectiveOrgX", 0.1));
    QVERIFY(pScene->setProperty("m_dPerspectiveOrgY", 0.2));
    QVERIFY(pScene->setProperty("m_dPerspectiveOrgZ", 300.0));
    QCOMPARE(pScene->perspectiveOrgX(kWide), 0.1);
    QCOMPARE(pScene->perspectiveOrgY(kWide), 0.2);
    QCOMPARE(pScene->perspectiveOrgZ(kWide), 300.0);
    QCOMPARE(pScene->perspectiveOrgZ(KVLayoutKey::base()), 1200.0);
    QCOMPARE(pScene->QObject::property("m_dPerspectiveOrgZ").toDouble(), 300.0);
    QCOMPARE(pScene->sceneProperty(kWide)->QObject::property("m_dPerspectiveOrgX").toDouble(), 0.1);
    // A layout without a property object has no perspective to set.
    pScene->setPerspectiveOrgX(0.9, KVLayoutKey(7, 7));
    QCOMPARE(pScene->perspectiveOrgX(KVLayoutKey(7, 7)), 0.0);
}

void ScenesTest::perspectivePlayerKey_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("responsive");
    QTest::addColumn<int>("overridden");
    QTest::addColumn<QString>("pso");

    QTest::newRow("base, neutral") << 0.5 << false << -1 << "[50,50,1200,1]";
    QTest::newRow("base, moved") << 0.07 << false << -1 << "[7,50,1200,1]";
    QTest::newRow("layout inheriting") << 0.07 << true << -1 << "";
    QTest::newRow("layout overriding Y") << 0.07 << true << 95 << "[7,50,1200,1]";
    QTest::newRow("layout overriding Z") << 0.5 << true << 96 << "[50,50,1200,1]";
    QTest::newRow("layout overriding width") << 0.07 << true << 4 << "";
}

void ScenesTest::perspectivePlayerKey()
{
    QFETCH(double, x);
    QFETCH(bool, responsive);
    QFETCH(int, overridden);
    QFETCH(QString, pso);

    KVSceneProperty property;
    property.setPerspectiveOrgX(x);
    if (overridden >= 0)
        property.setInherited(overridden, false);
    QJsonArray reset;
    QJsonObject jo;
    property.toPlayerJson(reset, jo, false, responsive);
    QCOMPARE(jo.contains("pso") ? compact(jo.value("pso")) : QString(), pso);
    QVERIFY(!reset.contains(QStringLiteral("pso")));
}

void ScenesTest::threeD_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("t3d");

    QTest::newRow("neutral") << "" << false;
    QTest::newRow("perspective X") << "px" << true;
    QTest::newRow("perspective Z at a layout") << "pzLayout" << true;
    QTest::newRow("child rotated in X") << "childRotateX" << true;
    QTest::newRow("child rotated in Z only") << "childRotateZ" << false;
}

void ScenesTest::threeD()
{
    QFETCH(QString, change);
    QFETCH(bool, t3d);

    std::unique_ptr<KVScene> pScene(newScene());
    KVElement *pChild = KVElementFactory::createElement(KVElementType::Div);
    pScene->addElement(pChild);
    pScene->addProperty(pScene->property()->clone(), kWide);
    if (change == "px")
        pScene->setPerspectiveOrgX(0.4);
    else if (change == "pzLayout")
        pScene->setPerspectiveOrgZ(800, kWide);
    else if (change == "childRotateX")
        pChild->setRotateX(10);
    else if (change == "childRotateZ")
        pChild->setRotateZ(10);
    QCOMPARE(pScene->uses3D(), t3d);
    for (bool bCanvas : {true, false}) {
        const QJsonObject jo = playerJson(*pScene, bCanvas);
        QCOMPARE(jo.contains("t3d"), t3d);
        if (t3d)
            QCOMPARE(jo.value("t3d"), QJsonValue(true));
    }
}

void ScenesTest::playerForms()
{
    KVElement *pBox = nullptr;
    std::unique_ptr<KVScene> pScene(animatedScene(&pBox));
    pScene->setId(3);
    auto *pSecond = new KVTimeline(pScene.get());
    pSecond->setName(QStringLiteral("Loop"));
    pScene->timelines()->insert(pSecond);
    pScene->timelines()->setCurrentTimeline(pSecond);
    pSecond->seek(250);

    const QJsonObject joCanvas = playerJson(*pScene, true);
    QCOMPARE(joCanvas.value("id").toInt(), 3);
    QCOMPARE(joCanvas.value("n").toString(), QStringLiteral("Intro"));
    QCOMPARE(joCanvas.value("k").toInt(), 8);
    QCOMPARE(joCanvas.value("aa"), QJsonValue(true));
    QCOMPARE(joCanvas.value("currentTime").toInt(), 250);
    QCOMPARE(joCanvas.value("elems").toArray().size(), 1);
    QVERIFY(!joCanvas.contains("rp") && !joCanvas.contains("st"));
    // The canvas shows the current timeline only.
    const QJsonArray jaCanvasTimelines = joCanvas.value("timelines").toArray();
    QCOMPARE(jaCanvasTimelines.size(), 1);
    QCOMPARE(jaCanvasTimelines.at(0).toObject().value("n").toString(), QStringLiteral("Loop"));
    QCOMPARE(exportLayout(joCanvas, KVLayoutKey::base()), QJsonObject());
    QCOMPARE(compact(joCanvas.value("pso")), QStringLiteral("[50,50,1200,1]"));

    pScene->setAutoAdvance(false);
    const QJsonObject joExport = playerJson(*pScene, false);
    QCOMPARE(joExport.value("aa"), QJsonValue(false));
    QCOMPARE(compact(joExport.value("st")), QStringLiteral("[0,0]"));
    QCOMPARE(joExport.value("currentTime").toInt(), 250);
    const QJsonArray jaTimelines = joExport.value("timelines").toArray();
    QCOMPARE(jaTimelines.size(), 2);
    QCOMPARE(jaTimelines.at(0).toObject().value("n").toString(), pScene->mainTimeline()->name());
    QVERIFY(jaTimelines.at(0).toObject().contains("ra"));
    QCOMPARE(jaTimelines.at(1).toObject().value("n").toString(), QStringLiteral("Loop"));
    QCOMPARE(compact(exportLayout(joExport, KVLayoutKey::base()).value("pso")),
             QStringLiteral("[50,50,1200,1]"));
    QVERIFY(!joExport.contains("t3d"));
}

void ScenesTest::exportWritesTimeZero()
{
    KVElement *pBox = nullptr;
    std::unique_ptr<KVScene> pScene(animatedScene(&pBox));
    KVTimeline *pMain = pScene->mainTimeline();
    pMain->seek(700);
    QCOMPARE(pBox->opacity(), 0.76);
    QSignalSpy spy(pMain, &KVTimeline::timeChanged);

    const QJsonObject jo = playerJson(*pScene, false);
    const QJsonObject joBox = jo.value("elems").toArray().at(0).toObject();
    QCOMPARE(exportLayout(joBox, KVLayoutKey::base()).value("o").toDouble(), 20.0);
    QCOMPARE(jo.value("currentTime").toInt(), 700);
    // The model is back where it was, and nobody was told of the excursion.
    QCOMPARE(pMain->currentTimeMs(), 700);
    QCOMPARE(pBox->opacity(), 0.76);
    QCOMPARE(spy.count(), 0);
    QVERIFY(!pMain->signalsBlocked());

    // The canvas gets the values being shown.
    const QJsonObject joCanvas = playerJson(*pScene, true);
    QCOMPARE(joCanvas.value("elems").toArray().at(0).toObject().value("o").toDouble(), 76.0);
    QCOMPARE(spy.count(), 0);
}

void ScenesTest::exportUsesFirstAnimatedTimeline()
{
    std::unique_ptr<KVScene> pScene(newScene());
    KVElement *pBox = KVElementFactory::createElement(KVElementType::Div);
    pScene->addElement(pBox);
    // The main timeline holds an animation whose only track has no key values: nothing to play.
    auto *pEmpty = new KVAnimation(pBox);
    pEmpty->addKeyframe(KVKeyframe::create(pBox, Cat::Width, KVLayoutKey::base()));
    pScene->mainTimeline()->addAnimation(pEmpty, KVLayoutKey::base());
    QVERIFY(!KVScene::holdsAnimatedContent(pScene->mainTimeline()));

    auto *pFade = new KVTimeline(pScene.get());
    pFade->addAnimation(animation(pBox, Cat::Opacity, {{0, 0.0}, {1000, 1.0}}), KVLayoutKey::base());
    auto *pGrow = new KVTimeline(pScene.get());
    pGrow->addAnimation(animation(pBox, Cat::Width, {{0, 100.0}, {1000, 300.0}}), KVLayoutKey::base());
    pScene->timelines()->insert(pFade);
    pScene->timelines()->insert(pGrow);
    QVERIFY(KVScene::holdsAnimatedContent(pFade));

    // The user looks at the growing timeline after having left the fading one at 400.
    pFade->seek(400);
    pScene->timelines()->setCurrentTimeline(pGrow);
    pGrow->seek(500);
    QCOMPARE(pBox->opacity(), 0.4);
    QCOMPARE(pBox->sizeW(), 200.0);

    const QJsonObject jo = playerJson(*pScene, false);
    const QJsonObject joBase =
        exportLayout(jo.value("elems").toArray().at(0).toObject(), KVLayoutKey::base());
    // Time 0 of the first timeline with content: the fading one.
    QCOMPARE(joBase.value("o").toDouble(), 0.0);
    QCOMPARE(joBase.value("r").toArray().at(2).toDouble(), 200.0);
    QCOMPARE(jo.value("currentTime").toInt(), 500);
    QCOMPARE(pFade->currentTimeMs(), 400);
    QCOMPARE(pGrow->currentTimeMs(), 500);
    QCOMPARE(pBox->opacity(), 0.4);
    QCOMPARE(pBox->sizeW(), 200.0);
}

void ScenesTest::playbackCountsAsContent_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("content");

    QTest::newRow("audio with an item") << int(KVElementType::Audio) << 1 << 0 << true;
    QTest::newRow("video with a length") << int(KVElementType::Video) << 0 << 800 << true;
    QTest::newRow("symbol with an item") << int(KVElementType::Symbol) << 2 << 500 << true;
    QTest::newRow("audio without items") << int(KVElementType::Audio) << 0 << 0 << false;
    QTest::newRow("group never plays") << int(KVElementType::Group) << 1 << 800 << false;
}

void ScenesTest::playbackCountsAsContent()
{
    QFETCH(int, kind);
    QFETCH(int, items);
    QFETCH(int, length);
    QFETCH(bool, content);

    std::unique_ptr<KVScene> pScene(newScene());
    auto *pMedia = new KindElement(kind);
    pMedia->init();
    pScene->addElement(pMedia);
    // A playback: a child of the element's animation besides its tracks, holding the items.
    auto *pAnimation = new KVAnimation(pMedia);
    auto *pPlayback = new QVariantAnimation;
    pPlayback->setDuration(length);
    auto *pItems = new KVEventListenerList(pPlayback);
    for (int n = 0; n < items; ++n) {
        pItems->insert(new KVEventListener(KVEventCatalogue::Playback, KVActionCatalogue::PlayMedia,
                                           QJsonObject(), QJsonObject{{KVActionKey::ActionTime, n}}));
    }
    pAnimation->addAnimation(pPlayback);
    pScene->mainTimeline()->addAnimation(pAnimation, KVLayoutKey::base());
    QCOMPARE(KVScene::holdsAnimatedContent(pScene->mainTimeline()), content);
}

void ScenesTest::layoutReachesTimelines()
{
    KVSceneList list;
    list.setCurrentLayout(kWide);
    KVScene *pScene = newScene();
    list.addScene(pScene);
    QCOMPARE(pScene->currentLayout(), kWide);
    QCOMPARE(pScene->mainTimeline()->currentLayout(), kWide);

    auto *pSecond = new KVTimeline(pScene);
    pScene->timelines()->insert(pSecond);
    QCOMPARE(pSecond->currentLayout(), kWide);
    KVElement *pChild = KVElementFactory::createElement(KVElementType::Div);
    pScene->addElement(pChild);

    list.setCurrentLayout(KVLayoutKey::base());
    for (const KVTimeline *pTimeline : pScene->timelines()->timelines())
        QCOMPARE(pTimeline->currentLayout(), KVLayoutKey::base());
    QCOMPARE(pChild->currentLayout(), KVLayoutKey::base());
}

void ScenesTest::handlersOfTimelinesRemapped()
{
    std::unique_ptr<KVScene> pScene(newScene());
    auto *pTrigger = new KVEventListenerList;
    pTrigger->insert(new KVEventListener(KVEventCatalogue::Trigger, KVActionCatalogue::HideElement,
                                         QJsonObject{{KVActionKey::ElementId, 4}}));
    pScene->mainTimeline()->addTrigger(pTrigger);
    auto *pSecond = new KVTimeline(pScene.get());
    pSecond->events()->insert(new KVEventListener(151, KVActionCatalogue::ShowElement,
                                                  QJsonObject{{KVActionKey::ElementId, 9}}));
    pScene->timelines()->insert(pSecond);

    pScene->remapElements({{4, 14}, {9, 19}});
    QCOMPARE(pTrigger->at(0)->actionData().value(KVActionKey::ElementId).toInt(), 14);
    QCOMPARE(pSecond->events()->at(0)->actionData().value(KVActionKey::ElementId).toInt(), 19);
}

KAVIO_TEST_MAIN(ScenesTest)
#include "tst_scenes.moc"
