#include "KVTestMain.h"

#include "interaction/IKVActionContext.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVActionDescription.h"
#include "interaction/KVEventCatalogue.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <climits>
#include <optional>

namespace {
QJsonObject obj(const char *psz)
{
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(psz));
    if (!doc.isObject())
        qFatal("bad object literal in test: %s", psz);
    return doc.object();
}

QString compact(const QJsonObject &jo)
{
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

// A scene with a symbol instance 11, an audio element 12 and a video element 13, timelines 1
// ("Main") and 2 ("Intro"), scenes 1 ("Start") and 2 ("End"), function 5 ("onClick").
class SceneContext : public IKVActionContext
{
public:
    bool bEditingSymbol = false;
    bool bEmptyScene = false;

    QString timelineName(int nId) const override { return nId == 2 ? QStringLiteral("Intro") : QString(); }
    QString elementName(int nId) const override
    {
        switch (nId) {
        case 11: return QStringLiteral("Spinner");
        case 12: return QStringLiteral("Music");
        case 13: return QStringLiteral("Clip");
        default: return QString();
        }
    }
    QString sceneName(int nId) const override { return nId == 2 ? QStringLiteral("End") : QString(); }
    QString functionName(int nId) const override { return nId == 5 ? QStringLiteral("onClick") : QString(); }
    QString documentBaseName() const override { return QStringLiteral("banner"); }
    bool isEditingSymbol() const override { return bEditingSymbol; }
    int firstSymbolInstanceId() const override { return bEmptyScene ? -20 : 11; }
    int firstMediaElementId() const override { return bEmptyScene ? -20 : 12; }
    int firstVideoElementId() const override { return bEmptyScene ? -20 : 13; }
};
} // namespace

Q_DECLARE_METATYPE(std::optional<int>)

class TestActionCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void eventNames();
    void offeredEvents_data();
    void offeredEvents();
    void handlerGroupTitles();

    void actionNamesAndGroups();
    void menuGroups();

    void defaultActionData_data();
    void defaultActionData();

    void descriptions_data();
    void descriptions();
    void targets_data();
    void targets();
    void formatTime_data();
    void formatTime();
};

void TestActionCatalogue::eventNames()
{
    // Every known code has a name; every other code, hostile ones too, reads as unknown.
    for (int nCode = -1; nCode <= 260; ++nCode) {
        const QString strName = KVEventCatalogue::name(nCode);
        QCOMPARE(KVEventCatalogue::isKnown(nCode), KVEventCatalogue::knownCodes().contains(nCode));
        QVERIFY(!strName.isEmpty());
        QCOMPARE(strName == QLatin1String("Unknown Event"), !KVEventCatalogue::isKnown(nCode));
    }
    QCOMPARE(KVEventCatalogue::name(101), QStringLiteral("Mouse Double Click"));
    QCOMPARE(KVEventCatalogue::name(200), QStringLiteral("Trigger"));
    QCOMPARE(KVEventCatalogue::name(INT_MIN), QStringLiteral("Unknown Event"));
}

void TestActionCatalogue::offeredEvents_data()
{
    QTest::addColumn<int>("owner");
    QTest::addColumn<QList<int>>("codes");
    QTest::newRow("preloader") << int(KVEventCatalogue::PreloaderOwner) << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("document") << int(KVEventCatalogue::DocumentOwner)
                              << QList<int>{20, 21, 22, 23, 50, 51, 53, 54, 100, 101, 103, 105, 104, 107, 108, 102, 106, 55, 56};
    QTest::newRow("scene") << int(KVEventCatalogue::SceneOwner)
                           << QList<int>{50, 51, 53, 54, 100, 101, 103, 105, 104, 107, 108, 102, 106, 110, 111, 109, 52, 55, 56};
    QTest::newRow("element") << int(KVEventCatalogue::ElementOwner)
                             << QList<int>{100, 101, 103, 105, 104, 107, 108, 102, 106, 110, 111, 109};
    QTest::newRow("timeline") << int(KVEventCatalogue::TimelineOwner) << QList<int>{150, 151, 152, 153, 154, 155, 156};
    QTest::newRow("triggers") << int(KVEventCatalogue::TriggerOwner) << QList<int>{200};
}

void TestActionCatalogue::offeredEvents()
{
    QFETCH(int, owner);
    QFETCH(QList<int>, codes);
    const auto eOwner = KVEventCatalogue::Owner(owner);
    QCOMPARE(KVEventCatalogue::offeredCodes(eOwner), codes);
    for (int nCode : codes) {
        QVERIFY(KVEventCatalogue::isKnown(nCode));
        QVERIFY(KVEventCatalogue::isOffered(eOwner, nCode));
    }
    QVERIFY(!KVEventCatalogue::isOffered(eOwner, 201));
}

void TestActionCatalogue::handlerGroupTitles()
{
    using E = KVEventCatalogue;
    QCOMPARE(E::handlerGroupTitle(E::PreloaderOwner), QStringLiteral("Preloader Event Handlers"));
    QCOMPARE(E::handlerGroupTitle(E::DocumentOwner), QStringLiteral("Document Event Handlers"));
    QCOMPARE(E::handlerGroupTitle(E::SceneOwner, "Scene_1"), QStringLiteral("Scene Event Handlers (Scene_1)"));
    QCOMPARE(E::handlerGroupTitle(E::ElementOwner, "Button"), QStringLiteral("Element Event Handlers (Button)"));
    QCOMPARE(E::handlerGroupTitle(E::TimelineOwner, "Timeline"), QStringLiteral("Timeline Event Handlers (Timeline)"));
    QCOMPARE(E::handlerGroupTitle(E::TriggerOwner, "Intro"), QStringLiteral("Timeline Triggers (Intro)"));
}

void TestActionCatalogue::actionNamesAndGroups()
{
    using A = KVActionCatalogue;
    for (int nCode = -1; nCode <= 120; ++nCode) {
        const bool bKnown = A::knownCodes().contains(nCode);
        QCOMPARE(A::isKnown(nCode), bKnown);
        QCOMPARE(A::name(nCode) == QLatin1String("Unknown"), !bKnown);
        QCOMPARE(A::group(nCode) == A::NoGroup, !bKnown);
        if (bKnown)
            QVERIFY2(A::codes(A::group(nCode)).contains(nCode), qPrintable(A::name(nCode)));
    }
    QCOMPARE(A::name(6), QStringLiteral("Toggle Play/Pause Timeline"));
    QCOMPARE(A::name(103), QStringLiteral("Run JavaScript"));
    QCOMPARE(A::name(104), QStringLiteral("Open Click Tag URL"));
}

void TestActionCatalogue::menuGroups()
{
    using A = KVActionCatalogue;
    QCOMPARE(A::groups().size(), 5);
    QStringList titles;
    QList<int> all;
    for (A::Group eGroup : A::groups()) {
        titles << A::groupTitle(eGroup);
        all += A::codes(eGroup);
    }
    QCOMPARE(titles, (QStringList{"Timeline", "Symbol", "Media", "Hide/Show", "Other Actions"}));
    QCOMPARE(A::codes(A::TimelineGroup), (QList<int>{1, 2, 3, 4, 5, 6, 7}));
    QCOMPARE(A::codes(A::HideShowGroup), (QList<int>{70, 71, 72}));
    QCOMPARE(A::codes(A::OtherGroup), (QList<int>{100, 101, 102, 103, 104}));
    // Every action is offered exactly once.
    QCOMPARE(all, A::knownCodes());
}

void TestActionCatalogue::defaultActionData_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<std::optional<int>>("target");
    QTest::addColumn<bool>("withContext");
    QTest::addColumn<bool>("emptyScene");
    QTest::addColumn<QJsonObject>("expected");
    const std::optional<int> none;

    QTest::newRow("1 no target") << 1 << none << true << false << obj(R"({"timeline_id": -1, "speed": 100})");
    QTest::newRow("2 target") << 2 << std::optional<int>(4) << true << false << obj(R"({"timeline_id": 4, "speed": 100})");
    QTest::newRow("3") << 3 << none << false << false << obj(R"({"timeline_id": -1, "time": 0, "speed": 100})");
    QTest::newRow("4") << 4 << none << false << false << obj(R"({"timeline_id": -1})");
    QTest::newRow("5") << 5 << none << false << false << obj(R"({"timeline_id": -1, "time": 0})");
    QTest::newRow("6") << 6 << std::optional<int>(2) << false << false << obj(R"({"timeline_id": 2})");
    QTest::newRow("7") << 7 << none << false << false << obj(R"({"timeline_id": -1, "time": 0})");
    QTest::newRow("20 first symbol") << 20 << none << true << false << obj(R"({"element_id": 11, "speed": 100})");
    QTest::newRow("21 target") << 21 << std::optional<int>(30) << true << false << obj(R"({"element_id": 30, "speed": 100})");
    QTest::newRow("22 no symbol") << 22 << none << true << true << obj(R"({"element_id": -20, "time": 0, "speed": 100})");
    QTest::newRow("23 no context") << 23 << none << false << false << obj(R"({"element_id": -20})");
    QTest::newRow("24") << 24 << none << true << false << obj(R"({"element_id": 11, "time": 0})");
    QTest::newRow("25") << 25 << none << true << false << obj(R"({"element_id": 11})");
    QTest::newRow("26") << 26 << none << true << false << obj(R"({"element_id": 11, "time": 0})");
    QTest::newRow("40 first media") << 40 << none << true << false << obj(R"({"element_id": 12, "speed": 100})");
    QTest::newRow("41") << 41 << none << true << false << obj(R"({"element_id": 12, "speed": 100})");
    QTest::newRow("42") << 42 << none << true << false << obj(R"({"element_id": 12, "time": 0, "speed": 100})");
    QTest::newRow("43 no media") << 43 << none << true << true << obj(R"({"element_id": -20})");
    QTest::newRow("44") << 44 << none << true << false << obj(R"({"element_id": 12, "time": 0})");
    QTest::newRow("46") << 46 << none << true << false << obj(R"({"element_id": 12, "volume": 100})");
    QTest::newRow("48 not the first media") << 48 << none << true << false << obj(R"({"element_id": -20})");
    QTest::newRow("50") << 50 << none << true << false << obj(R"({"element_id": 12, "time": 0})");
    QTest::newRow("51 first video") << 51 << none << true << false << obj(R"({"element_id": 13})");
    QTest::newRow("51 target") << 51 << std::optional<int>(14) << true << false << obj(R"({"element_id": 14})");
    QTest::newRow("70") << 70 << none << true << false << obj(R"({"element_id": -20})");
    QTest::newRow("72 target") << 72 << std::optional<int>(3) << true << false << obj(R"({"element_id": 3})");
    QTest::newRow("100") << 100 << none << true << false
                         << obj(R"({"scene_id": -2, "trans_default": true, "trans_type": 0, "trans_duration": 0, "trans_easing": -1, "trans_direction": -1})");
    QTest::newRow("100 target") << 100 << std::optional<int>(2) << false << false
                                << obj(R"({"scene_id": 2, "trans_default": true, "trans_type": 0, "trans_duration": 0, "trans_easing": -1, "trans_direction": -1})");
    QTest::newRow("101") << 101 << none << false << false << obj(R"({"url": "https://", "new_window": true})");
    QTest::newRow("102") << 102 << none << true << false << obj(R"({"element_id": -20})");
    QTest::newRow("103") << 103 << none << false << false << obj(R"({"function_id": -1})");
    QTest::newRow("unknown") << 999 << std::optional<int>(1) << true << false << QJsonObject();
}

void TestActionCatalogue::defaultActionData()
{
    QFETCH(int, code);
    QFETCH(std::optional<int>, target);
    QFETCH(bool, withContext);
    QFETCH(bool, emptyScene);
    QFETCH(QJsonObject, expected);
    SceneContext context;
    context.bEmptyScene = emptyScene;
    const QJsonObject data = KVActionCatalogue::defaultActionData(code, target, withContext ? &context : nullptr);
    QCOMPARE(compact(data), compact(expected));
    // The defaults name only parameters the action uses (48 keeps a target it does not use).
    const QStringList keys = KVActionCatalogue::parameterKeys(code);
    for (const QString &strKey : data.keys()) {
        if (code != 48)
            QVERIFY2(keys.contains(strKey), qPrintable(strKey));
    }
}

void TestActionCatalogue::descriptions_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QJsonObject>("data");
    QTest::addColumn<QString>("text");

    QTest::newRow("1 forward") << 1 << obj(R"({"speed": 100})") << "Direction: Forward, Speed: 100%";
    QTest::newRow("21 backward") << 21 << obj(R"({"speed": -250})") << "Direction: Backward, Speed: 250%";
    QTest::newRow("3 time") << 3 << obj(R"({"time": 61500, "speed": 50})") << "Time: 00:01:01.500, Direction: Forward, Speed: 50%";
    QTest::newRow("22 label") << 22 << obj(R"({"time": "loop", "speed": -100})") << "Label: loop, Direction: Backward, Speed: 100%";
    QTest::newRow("5 label") << 5 << obj(R"({"time": "end"})") << "Label: end";
    QTest::newRow("26 time") << 26 << obj(R"({"time": 3723004})") << "Time: 01:02:03.004";
    QTest::newRow("40 signed speed") << 40 << obj(R"({"speed": -50})") << "Speed: -50%";
    QTest::newRow("42") << 42 << obj(R"({"time": 1000, "speed": 150})") << "Time: 00:00:01.000, Speed: 150%";
    QTest::newRow("50") << 50 << obj(R"({"time": 5})") << "Time: 00:00:00.005";
    QTest::newRow("46") << 46 << obj(R"({"volume": 40})") << "Volume: 40%";
    QTest::newRow("101 new window") << 101 << obj(R"({"url": "https://a.b", "new_window": true})") << "URL: https://a.b, New Window: True";
    QTest::newRow("101 same window") << 101 << obj(R"({"url": "x", "new_window": false})") << "URL: x, New Window: False";
    QTest::newRow("102") << 102 << obj(R"({"text": "Hi there"})") << "Text: \"Hi there\"";
    QTest::newRow("103") << 103 << obj(R"({"function_id": 5})") << "Function: onClick";
    QTest::newRow("103 none") << 103 << obj(R"({"function_id": -1})") << "Function: ";
    QTest::newRow("100 default") << 100 << obj(R"({"trans_default": true, "trans_type": 2})") << "Default Scene Transition";
    QTest::newRow("100 none") << 100 << obj(R"({"trans_default": false, "trans_type": 0})") << "Transition Type: None";
    QTest::newRow("100 fade") << 100 << obj(R"({"trans_default": false, "trans_type": 1, "trans_duration": 600, "trans_easing": 3, "trans_direction": 2})")
                              << "Transition Type: Fade, Duration: 600ms, Easing Type: InOutQuad";
    QTest::newRow("100 push") << 100 << obj(R"({"trans_default": false, "trans_type": 2, "trans_duration": 400, "trans_easing": 0, "trans_direction": 3})")
                              << "Transition Type: Push, Duration: 400ms, Easing Type: Linear, Direction: From Bottom";
    QTest::newRow("4 nothing") << 4 << obj(R"({"timeline_id": 1})") << "";
    QTest::newRow("48 nothing") << 48 << QJsonObject() << "";
    QTest::newRow("unknown") << 777 << obj(R"({"speed": 3})") << "";
}

void TestActionCatalogue::descriptions()
{
    QFETCH(int, code);
    QFETCH(QJsonObject, data);
    QFETCH(QString, text);
    SceneContext context;
    QCOMPARE(KVActionDescription::parameters(code, data, &context), text);
}

void TestActionCatalogue::targets_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QJsonObject>("data");
    QTest::addColumn<bool>("editingSymbol");
    QTest::addColumn<QString>("text");

    QTest::newRow("main timeline") << 1 << obj(R"({"timeline_id": -1})") << false << "Main Timeline";
    QTest::newRow("named timeline") << 7 << obj(R"({"timeline_id": 2})") << false << "Intro";
    QTest::newRow("element") << 70 << obj(R"({"element_id": 12})") << false << "Music";
    QTest::newRow("no target") << 70 << obj(R"({"element_id": -20})") << false << "";
    QTest::newRow("symbol instance") << 20 << obj(R"({"element_id": 11})") << false << "Spinner";
    QTest::newRow("current symbol, editing") << 20 << obj(R"({"element_id": -1})") << true << "Current Symbol";
    QTest::newRow("current symbol, project") << 20 << obj(R"({"element_id": -1})") << false << "banner";
    QTest::newRow("parent symbol") << 23 << obj(R"({"element_id": -2})") << false << "Parent Symbol";
    QTest::newRow("top level") << 26 << obj(R"({"element_id": -3})") << true << "banner";
    QTest::newRow("next scene") << 100 << obj(R"({"scene_id": -2})") << false << "Next Scene";
    QTest::newRow("previous scene") << 100 << obj(R"({"scene_id": -3})") << false << "Previous Scene";
    QTest::newRow("last scene") << 100 << obj(R"({"scene_id": -4})") << false << "Last Scene";
    QTest::newRow("first scene") << 100 << obj(R"({"scene_id": -5})") << false << "First Scene";
    QTest::newRow("named scene") << 100 << obj(R"({"scene_id": 2})") << false << "End";
    QTest::newRow("mute all") << 48 << obj(R"({"element_id": 12})") << false << "";
    QTest::newRow("url") << 101 << obj(R"({"url": "x"})") << false << "";
}

void TestActionCatalogue::targets()
{
    QFETCH(int, code);
    QFETCH(QJsonObject, data);
    QFETCH(bool, editingSymbol);
    QFETCH(QString, text);
    SceneContext context;
    context.bEditingSymbol = editingSymbol;
    QCOMPARE(KVActionDescription::target(code, data, &context), text);
}

void TestActionCatalogue::formatTime_data()
{
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << "00:00:00.000";
    QTest::newRow("ms") << 7 << "00:00:00.007";
    QTest::newRow("minutes") << 754321 << "00:12:34.321";
    QTest::newRow("past a day") << 90000000 << "25:00:00.000";
    QTest::newRow("negative") << -1500 << "-00:00:01.500";
}

void TestActionCatalogue::formatTime()
{
    QFETCH(int, ms);
    QFETCH(QString, text);
    QCOMPARE(KVActionDescription::formatTime(ms), text);
}

KAVIO_TEST_MAIN(TestActionCatalogue)
#include "tst_actioncatalogue.moc"
