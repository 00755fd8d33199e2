// The document-level action types: project settings and the preloader.

#include "KVCommandTypesKit.h"

#include "commands/KVCommandItem.h"
#include "document/KVDocumentSettings.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"

#include "KVTestMain.h"

using P = KVCmdParam;
using A = KVCommandAction;

namespace {

// A settings field as text, for comparing before and after.
QString settingsText(const KVDocumentSettings &s)
{
    QJsonObject jo;
    s.toJson(jo);
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

// The fixture with a function "go" in the project, a click handler on A and a trigger at 500 ms.
struct InteractionFixture : TypesFixture
{
    KVFunction *pFunction = nullptr;
    KVEventListener *pClick = nullptr;
    KVEventListenerList *pTrigger = nullptr;

    InteractionFixture()
    {
        pFunction = KVFunction::create(0);
        pFunction->setName(QStringLiteral("go"));
        pFunction->setContent(QStringLiteral("return 1;"));
        t.project.functions()->insert(pFunction);
        pClick = new KVEventListener(100, 1);
        pA->insert(pClick);
        pTrigger = new KVEventListenerList;
        pTrigger->insert(new KVEventListener(200, 1, QJsonObject(), QJsonObject{{"action_time", 500}}));
        pTimeline->addTrigger(pTrigger);
    }

    P *functionList() { return P::makeObject(P::FunctionList, nullptr); }
    static P *item(KVFunction *p, bool bNew) { return P::makeObject(P::Function, new KVCommandItem(p, bNew), true); }
    static P *item(KVEventListener *p, bool bNew) { return P::makeObject(P::ActionItem, new KVCommandItem(p, bNew), true); }
    static P *list(KVEventListenerList *p) { return P::makeObject(P::OwnedObject, p); }
    QStringList functionNames() const
    {
        QStringList names;
        for (const KVFunction *p : t.project.functions()->functions())
            names << p->name() + '(' + p->params().join(',') + ')';
        return names;
    }
    QList<int> handlerEvents() const
    {
        QList<int> events;
        for (const KVEventListener *p : pA->handlers())
            events << p->event();
        return events;
    }
};

struct InteractionCase
{
    const char *pName;
    std::function<QList<A *>(InteractionFixture &)> build;
    std::function<bool(InteractionFixture &, bool)> state;
    bool bFormChanges;
};

QList<InteractionCase> interactionCases()
{
    using F = InteractionFixture;
    return {
        {"34 add a handler first",
         [](F &f) { return QList<A *>{f.action(34, {F::list(f.pA), F::item(new KVEventListener(103, 2), true), P::makeInt(0)})}; },
         [](F &f, bool b) { return f.handlerEvents() == (b ? QList<int>{103, 100} : QList<int>{100}); }, true},
        {"35 remove a handler",
         [](F &f) { return QList<A *>{f.action(35, {F::list(f.pA), F::item(f.pClick, false), P::makeInt(-1)})}; },
         [](F &f, bool b) { return f.handlerEvents() == (b ? QList<int>{} : QList<int>{100}); }, true},
        {"36 move a handler down",
         [](F &f) {
             f.pA->insert(new KVEventListener(105, 1));
             return QList<A *>{f.action(36, {F::list(f.pA), F::item(f.pClick, false), P::makeInt(1)})};
         },
         [](F &f, bool b) { return f.handlerEvents() == (b ? QList<int>{105, 100} : QList<int>{100, 105}); }, true},
        {"37 change a handler",
         [](F &f) {
             KVEventListener changed(101, 3, QJsonObject{{"url", "https://x"}});
             return QList<A *>{f.action(37, {F::list(f.pA), F::item(f.pClick, false), P::makeJsonObject(changed.toJson())})};
         },
         [](F &f, bool b) { return f.pClick->event() == (b ? 101 : 100) && f.pClick->action() == (b ? 3 : 1); }, true},
        {"38 move a trigger",
         [](F &f) { return QList<A *>{f.action(38, {P::makeObject(P::Timeline, f.pTimeline), F::list(f.pTrigger), P::makeInt(1200)})}; },
         [](F &f, bool b) { return f.pTrigger->triggerTime() == (b ? 1200 : 500); }, true},
        {"44 add a function",
         [](F &f) {
             KVFunction *p = KVFunction::create(0);
             p->setName(QStringLiteral("stop"));
             return QList<A *>{f.action(44, {f.functionList(), F::item(p, true), P::makeInt(0)})};
         },
         [](F &f, bool b) { return f.functionNames() == (b ? QStringList{"stop()", "go()"} : QStringList{"go()"}); }, false},
        {"45 remove a function",
         [](F &f) { return QList<A *>{f.action(45, {f.functionList(), F::item(f.pFunction, false), P::makeInt(-1)})}; },
         [](F &f, bool b) { return f.functionNames() == (b ? QStringList{} : QStringList{"go()"}); }, false},
        {"46 change a function",
         [](F &f) {
             return QList<A *>{f.action(46, {f.functionList(), P::makeInt(f.pFunction->id()), P::makeString("run"),
                                             P::makeJsonArray({"a", "b"}), P::makeString("return a + b;")})};
         },
         [](F &f, bool b) {
             return f.functionNames() == QStringList{b ? "run(a,b)" : "go()"}
                    && f.pFunction->content() == QLatin1String(b ? "return a + b;" : "return 1;");
         },
         false},
    };
}

} // namespace

class TestDocumentTypes : public QObject
{
    Q_OBJECT

private slots:
    void settings_data();
    void settings();
    void unfittingChangeNothing_data();
    void unfittingChangeNothing();
    void preloaderMessage();
    void interaction_data();
    void interaction();
    void unfittingInteraction_data();
    void unfittingInteraction();
    void removedItemsGoWithTheCommand();
};

void TestDocumentTypes::settings_data()
{
    QTest::addColumn<int>("nType");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("strKey");
    QTest::newRow("68 autoplay") << 68 << QVariantList{false} << "autoplay";
    QTest::newRow("70 preloader kind") << 70 << QVariantList{2} << "loaderType";
    QTest::newRow("72 custom preloader") << 72 << QVariantList{true} << "hasCustomLoader";
    QTest::newRow("94 embed fonts") << 94 << QVariantList{true} << "embedSytemFont";
    QTest::newRow("95 resource folder") << 95 << QVariantList{"media"} << "resFolderHtml5Output";
    QTest::newRow("96 viewport") << 96 << QVariantList{320, 480} << "viewportWMeta";
    QTest::newRow("97 container id") << 97 << QVariantList{"stageOne"} << "containerID";
    QTest::newRow("98 preloader folder") << 98 << QVariantList{"pre"} << "preResFolderHtml5Output";
    QTest::newRow("99 HTML output") << 99 << QVariantList{"<div></div>"} << "htmlOutput";
    QTest::newRow("100 CSS output") << 100 << QVariantList{"body{}"} << "cssDoc";
}

void TestDocumentTypes::settings()
{
    QFETCH(int, nType);
    QFETCH(QVariantList, values);
    QFETCH(QString, strKey);
    TypesFixture f;
    f.t.settings.m_strContainerId = QStringLiteral("abcdefgh");
    const QString strBefore = settingsText(f.t.settings);
    auto *pAction = new A(nType, &f.t, values.size());
    for (const QVariant &v : values) {
        switch (v.userType()) {
        case QMetaType::Bool: pAction->addParam(P::makeBool(v.toBool())); break;
        case QMetaType::Int: pAction->addParam(P::makeInt(v.toInt())); break;
        default: pAction->addParam(P::makeString(v.toString())); break;
        }
    }
    f.push({pAction});
    QJsonObject jo;
    f.t.settings.toJson(jo);
    QVERIFY2(jo.contains(strKey), qPrintable(strKey));
    QCOMPARE(jo.value(strKey).toVariant(), values.first());
    const QString strAfter = settingsText(f.t.settings);
    QVERIFY(strAfter != strBefore);
    for (int i = 0; i < 2; ++i) {
        f.t.stack.undo();
        QCOMPARE(settingsText(f.t.settings), strBefore);
        f.t.stack.redo();
        QCOMPARE(settingsText(f.t.settings), strAfter);
    }
}

void TestDocumentTypes::unfittingChangeNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("68 an int for the flag") << 0;
    QTest::newRow("96 one value") << 1;
    QTest::newRow("97 an id that is no CSS name") << 2;
    QTest::newRow("71 an empty indicator") << 3;
    QTest::newRow("73 without a preloader") << 4;
    QTest::newRow("99 two strings") << 5;
}

void TestDocumentTypes::unfittingChangeNothing()
{
    QFETCH(int, nCase);
    TypesFixture f;
    const QString strBefore = settingsText(f.t.settings);
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.action(68, {P::makeInt(0)}); break;
    case 1: pAction = f.action(96, {P::makeInt(5)}); break;
    case 2: pAction = f.action(97, {P::makeString("1 bad")}); break;
    case 3: pAction = f.action(71, {P::makeJsonObject({})}); break;
    case 4: pAction = f.action(73, {P::makeBool(true)}); break;
    case 5: pAction = f.action(99, {P::makeString("a"), P::makeString("b")}); break;
    }
    f.push({pAction});
    QCOMPARE(settingsText(f.t.settings), strBefore);
    f.t.stack.undo();
    QCOMPARE(settingsText(f.t.settings), strBefore);
}

void TestDocumentTypes::preloaderMessage()
{
    TypesFixture f;
    KVLoadingIndicator indicator;
    indicator.m_nDiameter = 90;
    f.push({f.action(71, {P::makeJsonObject(indicator.toJson())})});
    QCOMPARE(f.t.settings.m_defaultLoadingIndicator.m_nDiameter, 90);
    f.t.stack.undo();
    QCOMPARE(f.t.settings.m_defaultLoadingIndicator.m_nDiameter, 60);
    f.t.notes.clear();
    f.push({f.action(72, {P::makeBool(true)})});
    const QJsonObject jo = f.t.notes.first().joPage.value("params").toArray().at(0).toObject().value("value").toObject();
    QCOMPARE(jo.value("custom").toBool(), true);
    QCOMPARE(jo.value("indicator").toObject().value("diameter").toInt(), 60);
}

void TestDocumentTypes::interaction_data()
{
    QTest::addColumn<int>("nCase");
    const QList<InteractionCase> cases = interactionCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).pName) << i;
}

void TestDocumentTypes::interaction()
{
    QFETCH(int, nCase);
    const InteractionCase c = interactionCases().at(nCase);
    checkRoundTrip<InteractionFixture>(c.build, c.state, c.bFormChanges);
}

void TestDocumentTypes::unfittingInteraction_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("34 a handler already in the list") << 0;
    QTest::newRow("36 index past the end") << 1;
    QTest::newRow("37 empty data") << 2;
    QTest::newRow("38 a trigger of no timeline") << 3;
    QTest::newRow("44 an invalid name") << 4;
    QTest::newRow("46 a name that is taken") << 5;
    QTest::newRow("46 an unknown id") << 6;
    QTest::newRow("46 a number among the parameter names") << 7;
    QTest::newRow("35 a function item as the handler") << 8;
}

void TestDocumentTypes::unfittingInteraction()
{
    QFETCH(int, nCase);
    using F = InteractionFixture;
    F f;
    KVFunction *pOther = KVFunction::create(0);
    pOther->setName(QStringLiteral("other"));
    f.t.project.functions()->insert(pOther);
    KVEventListenerList stranger;
    auto state = [&f] {
        return f.form() + f.functionNames().join(' ') + QString::number(f.pTrigger->triggerTime());
    };
    const QString strBefore = state();
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.action(34, {F::list(f.pA), F::item(f.pClick, false), P::makeInt(0)}); break;
    case 1: pAction = f.action(36, {F::list(f.pA), F::item(f.pClick, false), P::makeInt(3)}); break;
    case 2: pAction = f.action(37, {F::list(f.pA), F::item(f.pClick, false), P::makeJsonObject({})}); break;
    case 3: pAction = f.action(38, {P::makeObject(P::Timeline, f.pTimeline), F::list(&stranger), P::makeInt(9)}); break;
    case 4: {
        KVFunction *p = KVFunction::create(0);
        p->setName(QStringLiteral("1 bad name"));
        pAction = f.action(44, {f.functionList(), F::item(p, true), P::makeInt(0)});
        break;
    }
    case 5:
        pAction = f.action(46, {f.functionList(), P::makeInt(f.pFunction->id()), P::makeString("other"),
                                P::makeJsonArray({}), P::makeString("")});
        break;
    case 6:
        pAction = f.action(46, {f.functionList(), P::makeInt(77), P::makeString("x"), P::makeJsonArray({}), P::makeString("")});
        break;
    case 7:
        pAction = f.action(46, {f.functionList(), P::makeInt(f.pFunction->id()), P::makeString("x"), P::makeJsonArray({1}),
                                P::makeString("")});
        break;
    case 8: pAction = f.action(35, {F::list(f.pA), F::item(f.pFunction, false), P::makeInt(0)}); break;
    }
    f.push({pAction});
    QCOMPARE(state(), strBefore);
    f.t.stack.undo();
    QCOMPARE(state(), strBefore);
}

void TestDocumentTypes::removedItemsGoWithTheCommand()
{
    // A removed function lives in the command; an added one that was undone too; each goes once.
    using F = InteractionFixture;
    F f;
    KVFunction *pNew = KVFunction::create(0);
    pNew->setName(QStringLiteral("fresh"));
    f.push({f.action(45, {f.functionList(), F::item(f.pFunction, false), P::makeInt(-1)}),
            f.action(44, {f.functionList(), F::item(pNew, true), P::makeInt(-1)})});
    QCOMPARE(f.functionNames(), QStringList{"fresh()"});
    f.t.stack.undo();
    QCOMPARE(f.functionNames(), QStringList{"go()"});
    f.t.stack.redo();
    f.t.stack.undo();
    // The stack goes with the added function (out of the model) and leaves "go" to the project.
    f.t.stack.clear();
    QCOMPARE(f.functionNames(), QStringList{"go()"});
    QCOMPARE(f.t.project.functions()->functions().first(), f.pFunction);
}

KAVIO_TEST_MAIN(TestDocumentTypes)
#include "tst_documenttypes.moc"
