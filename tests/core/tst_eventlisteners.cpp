#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "interaction/KVActionCatalogue.h"
#include "interaction/KVActionClipboard.h"
#include "interaction/KVEventCatalogue.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {
QJsonObject obj(const char *psz)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(psz), &error);
    if (!doc.isObject())
        qFatal("bad object literal in test: %s (%s)", psz, qPrintable(error.errorString()));
    return doc.object();
}

QJsonArray arr(const char *psz)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(psz), &error);
    if (!doc.isArray())
        qFatal("bad array literal in test: %s (%s)", psz, qPrintable(error.errorString()));
    return doc.array();
}

QString compact(const QJsonArray &array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// A list filled with one handler per (event, action, data) triple.
void fill(KVEventListenerList &list, const QList<std::tuple<int, int, QJsonObject>> &handlers)
{
    for (const auto &[nEvent, nAction, data] : handlers)
        list.insert(new KVEventListener(nEvent, nAction, data));
}

// One row per case of the action-array table: every action code, then unknown codes and missing data.
struct ActionRow {
    const char *pszName;
    int nAction;
    QJsonObject data;
    QJsonArray expected;
};

QList<ActionRow> actionRows()
{
    return {
        // Timelines: |speed| / 100 plus a reverse flag; times may name labels.
        {"1 start timeline", 1, obj(R"({"timeline_id": 3, "speed": 100})"), arr("[1, 3, 1, false]")},
        {"1 start timeline at -200", 1, obj(R"({"timeline_id": 3, "speed": -200})"), arr("[1, 3, 2, true]")},
        {"2 play timeline at 50", 2, obj(R"({"timeline_id": -1, "speed": 50})"), arr("[2, -1, 0.5, false]")},
        {"3 play from time", 3, obj(R"({"timeline_id": 2, "time": 1500, "speed": -100})"), arr("[3, 2, 1500, 1, true]")},
        {"3 play from label", 3, obj(R"({"timeline_id": 2, "time": "intro", "speed": 100})"), arr(R"([3, 2, "intro", 1, false])")},
        {"4 pause timeline", 4, obj(R"({"timeline_id": 5, "speed": 300})"), arr("[4, 5]")},
        {"5 pause at label", 5, obj(R"({"timeline_id": 1, "time": "end"})"), arr(R"([5, 1, "end"])")},
        {"6 toggle timeline", 6, obj(R"({"timeline_id": 7})"), arr("[6, 7]")},
        {"7 seek timeline", 7, obj(R"({"timeline_id": 1, "time": 250})"), arr("[7, 1, 250]")},
        // Symbols: same split speed.
        {"20 start symbol", 20, obj(R"({"element_id": 9, "speed": -100})"), arr("[20, 9, 1, true]")},
        {"21 play symbol", 21, obj(R"({"element_id": -2, "speed": 150})"), arr("[21, -2, 1.5, false]")},
        {"22 play symbol from label", 22, obj(R"({"element_id": -1, "time": "loop", "speed": -50})"), arr(R"([22, -1, "loop", 0.5, true])")},
        {"23 pause symbol", 23, obj(R"({"element_id": 4})"), arr("[23, 4]")},
        {"24 pause symbol at", 24, obj(R"({"element_id": 4, "time": 10})"), arr("[24, 4, 10]")},
        {"25 toggle symbol", 25, obj(R"({"element_id": -3})"), arr("[25, -3]")},
        {"26 seek symbol to label", 26, obj(R"({"element_id": 4, "time": "mid"})"), arr(R"([26, 4, "mid"])")},
        // Media: signed speed / 100, times are numbers.
        {"40 start media", 40, obj(R"({"element_id": 6, "speed": -100})"), arr("[40, 6, -1]")},
        {"41 play media at -50", 41, obj(R"({"element_id": 6, "speed": -50})"), arr("[41, 6, -0.5]")},
        {"42 play media from", 42, obj(R"({"element_id": 6, "time": 3000, "speed": 200})"), arr("[42, 6, 3000, 2]")},
        {"43 pause media", 43, obj(R"({"element_id": 6})"), arr("[43, 6]")},
        {"44 pause media at", 44, obj(R"({"element_id": 6, "time": 20})"), arr("[44, 6, 20]")},
        {"45 mute media", 45, obj(R"({"element_id": 6})"), arr("[45, 6]")},
        {"46 media volume", 46, obj(R"({"element_id": 6, "volume": 35})"), arr("[46, 6, 35]")},
        {"47 toggle mute", 47, obj(R"({"element_id": 6})"), arr("[47, 6]")},
        {"48 mute all media", 48, obj(R"({"element_id": 6})"), arr("[48]")},
        {"49 toggle play media", 49, obj(R"({"element_id": 6})"), arr("[49, 6]")},
        {"50 seek media", 50, obj(R"({"element_id": 6, "time": 99})"), arr("[50, 6, 99]")},
        {"51 full screen", 51, obj(R"({"element_id": 8})"), arr("[51, 8]")},
        // Visibility.
        {"70 hide", 70, obj(R"({"element_id": 2})"), arr("[70, 2]")},
        {"71 show", 71, obj(R"({"element_id": 2})"), arr("[71, 2]")},
        {"72 toggle", 72, obj(R"({"element_id": -20})"), arr("[72, -20]")},
        // Scenes: the transition only when it is not the scene's own; a direction only for Push.
        {"100 default transition", 100, obj(R"({"scene_id": 4, "trans_default": true, "trans_type": 2, "trans_duration": 500, "trans_easing": 3, "trans_direction": 1})"), arr("[100, 4]")},
        {"100 next scene", 100, obj(R"({"scene_id": -2, "trans_default": true})"), arr("[100, -2]")},
        {"100 previous scene fade", 100, obj(R"({"scene_id": -3, "trans_default": false, "trans_type": 1, "trans_duration": 800, "trans_easing": 3, "trans_direction": 2})"), arr("[100, -3, 1, 800, 3]")},
        {"100 last scene push", 100, obj(R"({"scene_id": -4, "trans_default": false, "trans_type": 2, "trans_duration": 400, "trans_easing": 6, "trans_direction": 2})"), arr("[100, -4, 2, 400, 6, 2]")},
        {"100 first scene wipe", 100, obj(R"({"scene_id": -5, "trans_default": false, "trans_type": 3, "trans_duration": 400, "trans_easing": 6, "trans_direction": 2})"), arr("[100, -5, 3, 400, 6]")},
        // Other actions.
        {"101 url same window", 101, obj(R"({"url": "https://example.org/a?b=1", "new_window": false})"), arr(R"([101, "https://example.org/a?b=1", false])")},
        {"101 url new window", 101, obj(R"({"url": "x.html", "new_window": true})"), arr(R"([101, "x.html", true])")},
        {"102 change text", 102, obj("{\"element_id\": 3, \"text\": \"Hello \\\"you\\\"\"}"), arr("[102, 3, \"Hello \\\"you\\\"\"]")},
        {"103 run javascript", 103, obj(R"({"function_id": 12})"), arr("[103, 12]")},
        {"104 click tag, fallback", 104, obj(R"({"url": "https://example.org/", "new_window": false})"), arr(R"([104, "https://example.org/", false])")},
        // Unknown codes carry no parameters in the player form.
        {"unknown 0", 0, obj(R"({"element_id": 3})"), arr("[0]")},
        {"unknown 8", 8, obj(R"({"timeline_id": 3, "speed": 100})"), arr("[8]")},
        {"unknown 777", 777, obj(R"({"whatever": [1, 2]})"), arr("[777]")},
        // Missing or mistyped parameters take the defaults of a newly picked action.
        {"1 empty data", 1, QJsonObject(), arr("[1, -1, 1, false]")},
        {"22 empty data", 22, QJsonObject(), arr("[22, -20, 0, 1, false]")},
        {"42 label in media time", 42, obj(R"({"element_id": 6, "time": "x", "speed": 100})"), arr("[42, 6, 0, 1]")},
        {"46 mistyped volume", 46, obj(R"({"element_id": 6, "volume": "loud"})"), arr("[46, 6, 100]")},
        {"100 empty data", 100, QJsonObject(), arr("[100, -2]")},
        {"100 custom, no fields", 100, obj(R"({"trans_default": false})"), arr("[100, -2, 0, 0, -1]")},
        {"101 empty data", 101, QJsonObject(), arr(R"([101, "", true])")},
        {"103 empty data", 103, QJsonObject(), arr("[103, -1]")},
    };
}
} // namespace

class TestEventListeners : public QObject
{
    Q_OBJECT

private slots:
    void newHandlerDefaults();

    void playerAction_data();
    void playerAction();
    void playerActionTableCoversEveryCode();

    void playerEvents_data();
    void playerEvents();
    void playerEventsNotWrittenForCanvasOrEmpty();
    void triggerForm();

    void projectRoundTrip_data();
    void projectRoundTrip();
    void projectReadIsTolerant();

    void insertIndexRules_data();
    void insertIndexRules();
    void removeIndexOfReplace();
    void appendCopiesIsDeep();

    void remapElements_data();
    void remapElements();
    void collectAndRemapFunctions();
    void carryFunctionsAcrossDocuments();

    void clipboardRoundTrip();
    void clipboardRefusesOtherData_data();
    void clipboardRefusesOtherData();
};

void TestEventListeners::newHandlerDefaults()
{
    const KVEventListener handler;
    QCOMPARE(handler.event(), 100);
    QCOMPARE(handler.action(), 100);
    QCOMPARE(handler.eventValue(), QJsonObject());
    QCOMPARE(handler.actionData(), obj(R"({"scene_id": -2})"));
    QCOMPARE(compact(handler.toPlayerAction()), QStringLiteral("[100,-2]"));
}

void TestEventListeners::playerAction_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QJsonObject>("data");
    QTest::addColumn<QJsonArray>("expected");
    for (const ActionRow &row : actionRows())
        QTest::newRow(row.pszName) << row.nAction << row.data << row.expected;
}

void TestEventListeners::playerAction()
{
    QFETCH(int, action);
    QFETCH(QJsonObject, data);
    QFETCH(QJsonArray, expected);
    const KVEventListener handler(100, action, data);
    QCOMPARE(compact(handler.toPlayerAction()), compact(expected));
    // The reverse flag must be a JSON boolean, not a number that happens to compare alike.
    QCOMPARE(handler.toPlayerAction(), expected);
}

void TestEventListeners::playerActionTableCoversEveryCode()
{
    QSet<int> covered;
    for (const ActionRow &row : actionRows())
        covered.insert(row.nAction);
    const QList<int> known = KVActionCatalogue::knownCodes();
    QCOMPARE(known.size(), 34);
    for (int nCode : known)
        QVERIFY2(covered.contains(nCode), qPrintable(QStringLiteral("no row for action %1").arg(nCode)));
}

void TestEventListeners::playerEvents_data()
{
    QTest::addColumn<QJsonArray>("handlers"); // [event, action, data]
    QTest::addColumn<QJsonArray>("expected");

    QTest::newRow("two clicks and an over")
        << arr(R"([[100, 70, {"element_id": 1}], [102, 71, {"element_id": 2}], [100, 72, {"element_id": 3}]])")
        << arr("[[100, [70, 1], [72, 3]], [102, [71, 2]]]");
    QTest::newRow("ascending event codes")
        << arr(R"([[156, 4, {"timeline_id": 1}], [20, 48, {}], [53, 103, {"function_id": 2}], [1, 48, {}]])")
        << arr("[[1, [48]], [20, [48]], [53, [103, 2]], [156, [4, 1]]]");
    QTest::newRow("only triggers") << arr(R"([[200, 48, {}], [200, 4, {"timeline_id": -1}]])") << QJsonArray();
    QTest::newRow("playback items left out")
        << arr(R"([[201, 40, {"element_id": 3, "speed": 100}], [101, 45, {"element_id": 3}]])")
        << arr("[[101, [45, 3]]]");
    QTest::newRow("codes outside 1..199 left out")
        << arr(R"([[0, 48, {}], [-5, 48, {}], [199, 48, {}], [250, 48, {}]])") << arr("[[199, [48]]]");
    QTest::newRow("unknown codes kept") << arr(R"([[57, 999, {"x": 1}]])") << arr("[[57, [999]]]");
}

void TestEventListeners::playerEvents()
{
    QFETCH(QJsonArray, handlers);
    QFETCH(QJsonArray, expected);
    KVEventListenerList list;
    for (const QJsonValue &value : handlers) {
        const QJsonArray h = value.toArray();
        list.insert(new KVEventListener(h.at(0).toInt(), h.at(1).toInt(), h.at(2).toObject()));
    }
    QCOMPARE(compact(list.toPlayerEvents()), compact(expected));

    QJsonObject owner{{"id", 4}};
    list.writePlayerEvents(owner, false);
    QCOMPARE(owner.contains("e"), !expected.isEmpty());
    if (!expected.isEmpty())
        QCOMPARE(owner.value("e").toArray(), expected);
}

void TestEventListeners::playerEventsNotWrittenForCanvasOrEmpty()
{
    KVEventListenerList list;
    QJsonObject owner;
    list.writePlayerEvents(owner, false);
    QVERIFY(owner.isEmpty());

    fill(list, {{100, 48, QJsonObject()}});
    list.writePlayerEvents(owner, true);
    QVERIFY(owner.isEmpty());
    list.writePlayerEvents(owner, false);
    QCOMPARE(compact(owner.value("e").toArray()), QStringLiteral("[[100,[48]]]"));
}

void TestEventListeners::triggerForm()
{
    KVEventListenerList trigger;
    QCOMPARE(compact(trigger.toPlayerTrigger()), QStringLiteral("[0,[]]"));

    auto *pFirst = new KVEventListener(200, 4, obj(R"({"timeline_id": -1})"), obj(R"({"action_time": 1200})"));
    auto *pSecond = new KVEventListener(200, 103, obj(R"({"function_id": 3})"), obj(R"({"action_time": 50})"));
    trigger.insert(pFirst);
    trigger.insert(pSecond);
    // The first handler's time is the trigger's.
    QCOMPARE(trigger.triggerTime(), 1200);
    QCOMPARE(compact(trigger.toPlayerTrigger()), QStringLiteral("[1200,[[4,-1],[103,3]]]"));

    trigger.setTriggerTime(700);
    QCOMPARE(pFirst->eventValue(), obj(R"({"action_time": 700})"));
    QCOMPARE(pSecond->eventValue(), obj(R"({"action_time": 700})"));
    QCOMPARE(trigger.triggerTime(), 700);
}

void TestEventListeners::projectRoundTrip_data()
{
    QTest::addColumn<QJsonArray>("project");
    QTest::newRow("empty") << QJsonArray();
    QTest::newRow("element handlers")
        << arr(R"([{"event": 100, "action": 3, "event_value": {}, "action_data": {"timeline_id": 2, "time": "intro", "speed": -150}},
                   {"event": 102, "action": 100, "event_value": {}, "action_data": {"scene_id": -5, "trans_default": false, "trans_type": 2, "trans_duration": 300, "trans_easing": 7, "trans_direction": 3}}])");
    QTest::newRow("trigger") << arr(R"([{"event": 200, "action": 48, "event_value": {"action_time": 4500}, "action_data": {}}])");
    QTest::newRow("unknown codes and keys")
        << arr(R"([{"event": 999, "action": 777, "event_value": {"future": [1, {"a": null}]}, "action_data": {"mystery": "kept", "n": 1.25}},
                   {"event": 0, "action": 0, "event_value": {}, "action_data": {}},
                   {"event": -7, "action": 104, "event_value": {}, "action_data": {"element_id": 5}}])");
    QTest::newRow("order kept")
        << arr(R"([{"event": 101, "action": 72, "event_value": {}, "action_data": {"element_id": 9}},
                   {"event": 100, "action": 71, "event_value": {}, "action_data": {"element_id": 8}},
                   {"event": 101, "action": 70, "event_value": {}, "action_data": {"element_id": 7}}])");
}

void TestEventListeners::projectRoundTrip()
{
    QFETCH(QJsonArray, project);
    KVEventListenerList list;
    list.fromJson(project);
    QCOMPARE(list.count(), project.size());
    QCOMPARE(compact(list.toJson()), compact(project));

    // Reading again replaces what was there.
    KVEventListenerList second;
    fill(second, {{105, 48, QJsonObject()}});
    second.fromJson(list.toJson());
    QVERIFY(second.hasSameHandlers(list));
}

void TestEventListeners::projectReadIsTolerant()
{
    KVEventListenerList list;
    list.fromJson(arr(R"([{"action_data": {"scene_id": 3}},
                          17, "text", null, [1, 2],
                          {"event": "100", "action": 2.0, "event_value": [1], "action_data": "x"}])"));
    // Non-objects create nothing; the two objects make two handlers.
    QCOMPARE(list.count(), 2);
    // A missing code reads as 0 (not as the new-handler code), a missing object as empty.
    QCOMPARE(list.at(0)->event(), 0);
    QCOMPARE(list.at(0)->action(), 0);
    QCOMPARE(list.at(0)->eventValue(), QJsonObject());
    QCOMPARE(list.at(0)->actionData(), obj(R"({"scene_id": 3})"));
    QCOMPARE(list.at(1)->event(), 0);
    QCOMPARE(list.at(1)->action(), 2);
    QCOMPARE(list.at(1)->eventValue(), QJsonObject());
    QCOMPARE(list.at(1)->actionData(), QJsonObject());
}

void TestEventListeners::insertIndexRules_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("expectedIndex");
    QTest::newRow("front") << 0 << 0;
    QTest::newRow("middle") << 2 << 2;
    QTest::newRow("at count") << 3 << 3;
    QTest::newRow("past count appends") << 4 << 3;
    QTest::newRow("negative appends") << -1 << 3;
    QTest::newRow("far negative appends") << -100 << 3;
}

void TestEventListeners::insertIndexRules()
{
    QFETCH(int, index);
    QFETCH(int, expectedIndex);
    KVEventListenerList list;
    fill(list, {{100, 70, QJsonObject()}, {100, 71, QJsonObject()}, {100, 72, QJsonObject()}});
    auto *pHandler = new KVEventListener(101, 48);
    QCOMPARE(list.insert(pHandler, index), expectedIndex);
    QCOMPARE(list.count(), 4);
    QCOMPARE(list.indexOf(pHandler), expectedIndex);
    QCOMPARE(list.at(expectedIndex), pHandler);
}

void TestEventListeners::removeIndexOfReplace()
{
    KVEventListenerList list;
    auto *pA = new KVEventListener(100, 70);
    auto *pB = new KVEventListener(100, 71);
    auto *pC = new KVEventListener(100, 72);
    list.insert(pA);
    list.insert(pB);
    list.insert(pC);

    // The same handler cannot be held twice; null is refused.
    QCOMPARE(list.insert(pB, 0), -1);
    QCOMPARE(list.insert(nullptr, 0), -1);
    QCOMPARE(list.count(), 3);

    QCOMPARE(list.remove(pB), 1);
    QCOMPARE(list.remove(pB), -1);
    QCOMPARE(list.indexOf(pB), -1);
    QCOMPARE(list.indexOf(pC), 1);

    // Replacing hands back the old handler; out of range nothing changes.
    KVEventListener *pOld = list.replace(0, pB);
    QCOMPARE(pOld, pA);
    QCOMPARE(list.handlers(), (QList<KVEventListener *>{pB, pC}));
    auto *pD = new KVEventListener(100, 45);
    QCOMPARE(list.replace(2, pD), nullptr);
    QCOMPARE(list.replace(-1, pD), nullptr);
    QCOMPARE(list.replace(1, pB), nullptr); // already held
    QCOMPARE(list.handlers(), (QList<KVEventListener *>{pB, pC}));
    QCOMPARE(list.handlersOfEvent(100).size(), 2);
    QVERIFY(list.handlersOfEvent(101).isEmpty());
    delete pA;
    delete pD;
}

void TestEventListeners::appendCopiesIsDeep()
{
    KVEventListenerList source;
    fill(source, {{100, 70, obj(R"({"element_id": 1})")}, {102, 103, obj(R"({"function_id": 4})")}});
    KVEventListenerList copy;
    copy.appendCopies(source);
    QVERIFY(copy.hasSameHandlers(source));
    QVERIFY(copy.at(0) != source.at(0));
    copy.at(0)->setActionData(obj(R"({"element_id": 2})"));
    QCOMPARE(source.at(0)->actionData(), obj(R"({"element_id": 1})"));
    QVERIFY(!copy.hasSameHandlers(source));

    source.appendCopies(source);
    QCOMPARE(source.count(), 4);
    QCOMPARE(*source.at(2), *source.at(0));
}

void TestEventListeners::remapElements_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<QJsonObject>("data");
    QTest::addColumn<bool>("withScope");
    QTest::addColumn<QJsonObject>("expected");

    // Map: 5 -> 50, 6 -> 60. Scope holds 7 and 50.
    QTest::newRow("copied element") << 70 << obj(R"({"element_id": 5})") << true << obj(R"({"element_id": 50})");
    QTest::newRow("copied, no scope") << 70 << obj(R"({"element_id": 6})") << false << obj(R"({"element_id": 60})");
    QTest::newRow("not copied, in scope") << 102 << obj(R"({"element_id": 7, "text": "t"})") << true << obj(R"({"element_id": 7, "text": "t"})");
    QTest::newRow("not copied, not in scope") << 71 << obj(R"({"element_id": 8})") << true << obj(R"({"element_id": -1})");
    QTest::newRow("not copied, no scope") << 71 << obj(R"({"element_id": 7})") << false << obj(R"({"element_id": -1})");
    QTest::newRow("current symbol kept") << 20 << obj(R"({"element_id": -1, "speed": 100})") << true << obj(R"({"element_id": -1, "speed": 100})");
    QTest::newRow("parent symbol kept") << 20 << obj(R"({"element_id": -2, "speed": 100})") << false << obj(R"({"element_id": -2, "speed": 100})");
    QTest::newRow("top level kept") << 23 << obj(R"({"element_id": -3})") << false << obj(R"({"element_id": -3})");
    QTest::newRow("no target kept") << 70 << obj(R"({"element_id": -20})") << false << obj(R"({"element_id": -20})");
    QTest::newRow("no element id") << 4 << obj(R"({"timeline_id": 5})") << false << obj(R"({"timeline_id": 5})");
    QTest::newRow("scene id untouched") << 100 << obj(R"({"scene_id": 5})") << false << obj(R"({"scene_id": 5})");
}

void TestEventListeners::remapElements()
{
    QFETCH(int, action);
    QFETCH(QJsonObject, data);
    QFETCH(bool, withScope);
    QFETCH(QJsonObject, expected);
    const QHash<int, int> map{{5, 50}, {6, 60}};
    const KVElementScope scope = [](int nId) { return nId == 7 || nId == 50; };

    KVEventListenerList list;
    fill(list, {{100, action, data}});
    list.remapElements(map, withScope ? scope : KVElementScope());
    QCOMPARE(list.at(0)->actionData(), expected);
}

void TestEventListeners::collectAndRemapFunctions()
{
    KVFunctionContainer container;
    KVFunction *pOne = KVFunction::create(KVFunction::ElementHandler);
    KVFunction *pTwo = KVFunction::create(KVFunction::General);
    container.insert(pOne); // id 1
    container.insert(pTwo); // id 2

    KVEventListenerList list;
    fill(list, {{100, 103, obj(R"({"function_id": 1})")},
                {101, 103, obj(R"({"function_id": 9})")},  // no such function
                {102, 70, obj(R"({"function_id": 2})")},   // not a "Run JavaScript" action
                {103, 103, obj(R"({"function_id": 1})")}});

    QMap<int, const KVFunction *> collected;
    list.collectFunctions(collected, container);
    QCOMPARE(collected.keys(), QList<int>{1});
    QCOMPARE(collected.value(1), pOne);

    list.remapFunctions({{1, 11}});
    QCOMPARE(list.at(0)->actionData(), obj(R"({"function_id": 11})"));
    QCOMPARE(list.at(1)->actionData(), obj(R"({"function_id": -1})"));
    QCOMPARE(list.at(2)->actionData(), obj(R"({"function_id": 2})"));
    QCOMPARE(list.at(3)->actionData(), obj(R"({"function_id": 11})"));
}

void TestEventListeners::carryFunctionsAcrossDocuments()
{
    // Source project: functions "shared" (id 1) and "onlyHere" (id 2).
    KVFunctionContainer source;
    KVFunction *pShared = KVFunction::create(KVFunction::General);
    pShared->setName("shared");
    pShared->setContent("return 1;");
    source.insert(pShared);
    KVFunction *pOnlyHere = KVFunction::create(KVFunction::ElementHandler);
    pOnlyHere->setName("onlyHere");
    source.insert(pOnlyHere);

    // Target project: a copy of "shared" (same uuid) under id 7, and an unrelated "onlyHere".
    KVFunctionContainer target;
    target.setCurrentId(6);
    KVFunction *pSharedThere = pShared->clone();
    pSharedThere->setId(-1);
    target.insert(pSharedThere);
    QCOMPARE(pSharedThere->id(), 7);
    KVFunction *pOther = KVFunction::create(KVFunction::General);
    pOther->setName("onlyHere");
    target.insert(pOther);
    QCOMPARE(pOther->id(), 8);

    KVEventListenerList copied;
    fill(copied, {{100, 103, obj(R"({"function_id": 1})")},
                  {101, 103, obj(R"({"function_id": 2})")},
                  {102, 103, obj(R"({"function_id": 2})")}});

    QMap<int, const KVFunction *> collected;
    copied.collectFunctions(collected, source);
    QCOMPARE(collected.size(), 2);
    const QHash<int, int> idMap = target.carryFunctions(collected);
    copied.remapFunctions(idMap);

    // "shared" is recognised by its uuid: no copy. "onlyHere" comes over once, renamed.
    QCOMPARE(target.count(), 3);
    KVFunction *pCarried = target.functions().last();
    QCOMPARE(pCarried->id(), 9);
    QCOMPARE(pCarried->name(), QStringLiteral("onlyHere_0"));
    QCOMPARE(pCarried->uuid(), pOnlyHere->uuid());
    QCOMPARE(pCarried->params(), pOnlyHere->params());
    QCOMPARE(copied.at(0)->actionData(), obj(R"({"function_id": 7})"));
    QCOMPARE(copied.at(1)->actionData(), obj(R"({"function_id": 9})"));
    QCOMPARE(copied.at(2)->actionData(), obj(R"({"function_id": 9})"));

    // Pasting the same actions again adds nothing more.
    QHash<int, int> again = target.carryFunctions(collected);
    QCOMPARE(target.count(), 3);
    QCOMPARE(again.value(2), 9);
}

void TestEventListeners::clipboardRoundTrip()
{
    KVEventListener jump(100, 100, obj(R"({"scene_id": 3, "trans_default": true})"));
    KVEventListener unknown(102, 555, obj(R"({"opaque": {"deep": [1, 2, 3]}})"));
    KVEventListener text(100, 102, obj(R"({"element_id": 4, "text": "äöü €"})"));

    const QByteArray bytes = KVActionClipboard::encode({&jump, &unknown, &text});
    QCOMPARE(KVActionClipboard::mimeType(), QStringLiteral("action-data"));
    QVERIFY(bytes.startsWith("qbjs")); // Qt's binary JSON, not text

    QString strError = "stale";
    const QList<KVEventListener *> pasted = KVActionClipboard::decode(bytes, 200, obj(R"({"action_time": 900})"), &strError);
    QVERIFY(strError.isEmpty());
    QCOMPARE(pasted.size(), 3);
    const QList<const KVEventListener *> originals{&jump, &unknown, &text};
    for (int i = 0; i < pasted.size(); ++i) {
        QCOMPARE(pasted.at(i)->event(), 200); // the paste target's event, not the source's
        QCOMPARE(pasted.at(i)->eventValue(), obj(R"({"action_time": 900})"));
        QCOMPARE(pasted.at(i)->action(), originals.at(i)->action());
        QCOMPARE(pasted.at(i)->actionData(), originals.at(i)->actionData());
    }
    qDeleteAll(pasted);
}

void TestEventListeners::clipboardRefusesOtherData_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<bool>("expectError");

    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    const QByteArray objectDoc = QJsonDocument(obj(R"({"actionType": 4})")).toBinaryData();
    const QByteArray mixedDoc = QJsonDocument(arr(R"([1, "x", {"actionData": {}}, {"actionType": "4"}, {"actionType": 71, "actionData": {"element_id": 2}}])")).toBinaryData();
    QT_WARNING_POP

    QTest::newRow("empty") << QByteArray() << 0 << true;
    QTest::newRow("text json") << QByteArray(R"([{"actionType": 4, "actionData": {}}])") << 0 << true;
    QTest::newRow("garbage") << QByteArray("qbjs\x01\x00\x00\x00garbage", 15) << 0 << true;
    QTest::newRow("object, not array") << objectDoc << 0 << true;
    QTest::newRow("entries without action skipped") << mixedDoc << 1 << false;
}

void TestEventListeners::clipboardRefusesOtherData()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expectedCount);
    QFETCH(bool, expectError);
    QString strError;
    const QList<KVEventListener *> pasted = KVActionClipboard::decode(bytes, 100, QJsonObject(), &strError);
    QCOMPARE(pasted.size(), expectedCount);
    QCOMPARE(!strError.isEmpty(), expectError);
    if (expectError)
        QCOMPARE(strError, QStringLiteral("The clipboard does not hold actions that can be pasted."));
    if (expectedCount == 1) {
        QCOMPARE(pasted.first()->action(), 71);
        QCOMPARE(pasted.first()->actionData(), obj(R"({"element_id": 2})"));
    }
    qDeleteAll(pasted);
}

KAVIO_TEST_MAIN(TestEventListeners)
#include "tst_eventlisteners.moc"
