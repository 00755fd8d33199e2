// The document-level action types: project settings and the preloader.

#include "KVCommandTypesKit.h"
#include "RecordingReporter.h"

#include "commands/KVCommandItem.h"
#include "document/KVDocumentSettings.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResourceManager.h"
#include "resources/MediaResource.h"

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

// The fixture with resources: an image used by nothing, a video with an mp4 file, two scripts, a
// style sheet kept as an address and a font.
struct ResourceFixture : TypesFixture
{
    KVResourceManager *pManager = nullptr;
    KVResource *pImage = nullptr;
    MediaResource *pVideo = nullptr;
    KVOtherResource *pScript = nullptr;
    KVOtherResource *pScript2 = nullptr;
    KVOtherResource *pSheet = nullptr;
    KVResource *pFont = nullptr;

    ResourceFixture()
    {
        pManager = t.project.resourceManager();
        pImage = new KVResource(0, QStringLiteral("pic"), QStringLiteral("pic.png"));
        pVideo = new MediaResource(2, QStringLiteral("film"));
        pVideo->setFormatFile(QStringLiteral("film.mp4"));
        pScript = new KVOtherResource(5, QStringLiteral("a.js"), QStringLiteral("a.js"));
        pScript->setSavedContent(QStringLiteral("var a;"));
        pScript2 = new KVOtherResource(5, QStringLiteral("b.js"), QStringLiteral("b.js"));
        pSheet = new KVOtherResource(6, QStringLiteral("cdn"), QStringLiteral("https://cdn/x.css"));
        pSheet->setResourceType(KVOtherResource::Address);
        pFont = KVResource::create(4);
        pFont->setName(QStringLiteral("Sans"));
        for (KVResource *p : QList<KVResource *>{pImage, pVideo, pScript, pScript2, pSheet, pFont})
            pManager->addResource(p);
    }

    QString resourcesText() const
    {
        QJsonArray ja = pManager->toJson();
        for (KVResource *p : pManager->resources())
            ja.append(QStringLiteral("%1:%2:%3").arg(p->id()).arg(p->isDeleted()).arg(p->name()));
        ja.append(QJsonArray::fromVariantList({QVariant::fromValue(pManager->includeOrderIds(5))}));
        ja.append(pScript->content());
        return QString::fromUtf8(QJsonDocument(ja).toJson(QJsonDocument::Compact));
    }
    static P *res(KVResource *p) { return P::makeResource(p); }
};

struct ResourceCase
{
    const char *pName;
    std::function<A *(ResourceFixture &)> build;
    std::function<bool(ResourceFixture &, bool)> state;
};

QList<ResourceCase> resourceCases()
{
    using F = ResourceFixture;
    return {
        {"40 remove an unused image",
         [](F &f) { return f.action(40, {F::res(f.pImage)}); },
         [](F &f, bool b) { return f.pImage->isDeleted() == b && f.pManager->resource(f.pImage->id()) == f.pImage; }},
        {"39 bring a deleted image back",
         [](F &f) {
             f.pManager->setResourceDeleted(f.pImage->id(), true);
             return f.action(39, {F::res(f.pImage)});
         },
         [](F &f, bool b) { return f.pImage->isDeleted() != b; }},
        {"47 add a format to a media group",
         [](F &f) { return f.action(47, {F::res(f.pVideo), P::makeString("webm"), P::makeString("film.webm")}); },
         [](F &f, bool b) { return f.pVideo->hasFormat("webm") == b && f.pVideo->hasFormat("mp4"); }},
        {"47 take a format out",
         [](F &f) { return f.action(47, {F::res(f.pVideo), P::makeString("mp4"), P::makeString("")}); },
         [](F &f, bool b) { return f.pVideo->hasFormat("mp4") != b; }},
        {"48 rename",
         [](F &f) { return f.action(48, {F::res(f.pImage), P::makeString("logo")}); },
         [](F &f, bool b) { return (f.pImage->name() == QLatin1String("logo")) == b; }},
        {"49 leave a script out of the head",
         [](F &f) { return f.action(49, {F::res(f.pScript), P::makeBool(false)}); },
         [](F &f, bool b) { return f.pScript->includeHeader() != b; }},
        {"50 move a script in the include order",
         [](F &f) { return f.action(50, {F::res(f.pScript), P::makeInt(1)}); },
         [](F &f, bool b) {
             const QList<int> order = f.pManager->includeOrderIds(5);
             return order == (b ? QList<int>{f.pScript2->id(), f.pScript->id()} : QList<int>{f.pScript->id(), f.pScript2->id()});
         }},
        {"52 the address of a style sheet",
         [](F &f) { return f.action(52, {F::res(f.pSheet), P::makeString("https://cdn/y.css")}); },
         [](F &f, bool b) { return (f.pSheet->fileName() == QLatin1String("https://cdn/y.css")) == b; }},
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
    void editedSymbol();
    void interaction_data();
    void interaction();
    void unfittingInteraction_data();
    void unfittingInteraction();
    void removedItemsGoWithTheCommand();
    void resources_data();
    void resources();
    void unfittingResources_data();
    void unfittingResources();
    void resourceMessages();
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
    QTest::newRow("97 any HTML id") << 97 << QVariantList{"kv-stage_2"} << "containerID";
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
    QTest::newRow("97 an id that closes the attribute") << 6;
}

void TestDocumentTypes::unfittingChangeNothing()
{
    QFETCH(int, nCase);
    TypesFixture f;
    const QString strBefore = settingsText(f.t.settings);
    A *pAction = nullptr;
    QString strId;
    switch (nCase) {
    case 0: pAction = f.action(68, {P::makeInt(0)}); break;
    case 1: pAction = f.action(96, {P::makeInt(5)}); break;
    case 2: strId = QStringLiteral("1 bad"); break;
    case 3: pAction = f.action(71, {P::makeJsonObject({})}); break;
    case 4: pAction = f.action(73, {P::makeBool(true)}); break;
    case 5: pAction = f.action(99, {P::makeString("a"), P::makeString("b")}); break;
    case 6: strId = QStringLiteral("a\"><img src=x>"); break;
    }
    if (!strId.isEmpty())
        pAction = f.action(97, {P::makeString(strId)});
    RecordingReporter rec;
    f.push({pAction});
    QCOMPARE(settingsText(f.t.settings), strBefore);
    // A container id the page cannot use is refused with the reason.
    if (!strId.isEmpty())
        QCOMPARE(rec.texts(), QStringList{KVDocumentSettings::containerIdMessage(strId)});
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

// A target that can open symbols: the resource ids it knows.
class SymbolTarget : public KVTestCommandTarget
{
public:
    QList<KVResource *> symbols;
    bool setEditedSymbol(int nResourceId) override
    {
        if (nResourceId == -1) {
            pSymbol = nullptr;
            return true;
        }
        for (KVResource *p : symbols) {
            if (p->id() == nResourceId) {
                pSymbol = p;
                return true;
            }
        }
        return false;
    }
};

void TestDocumentTypes::editedSymbol()
{
    SymbolTarget t;
    t.list.addScene(t.list.createScene());
    KVResource button(3, QStringLiteral("Button"));
    button.setId(4);
    t.symbols = {&button};
    auto push = [&t](int nId) {
        auto *pCommand = new KVCommand(&t, QStringLiteral("Change Current Symbol"));
        auto *pAction = new A(62, &t, 1);
        pAction->addParam(P::makeInt(nId));
        pCommand->addAction(pAction);
        KVCommand::push(pCommand);
    };
    push(4);
    QCOMPARE(t.pSymbol, &button);
    // Entering and leaving a symbol is view state: no new content id for the symbol.
    QCOMPARE(static_cast<const KVCommand *>(t.stack.command(0))->actions().size(), 1);
    push(-1);
    QCOMPARE(t.pSymbol, nullptr);
    t.stack.undo();
    QCOMPARE(t.pSymbol, &button);
    t.stack.undo();
    QCOMPARE(t.pSymbol, nullptr);
    t.stack.redo();
    QCOMPARE(t.pSymbol, &button);
    // An unknown symbol changes nothing, also when undone.
    push(9);
    QCOMPARE(t.pSymbol, &button);
    t.stack.undo();
    QCOMPARE(t.pSymbol, &button);
    t.stack.clear();
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

void TestDocumentTypes::resources_data()
{
    QTest::addColumn<int>("nCase");
    const QList<ResourceCase> cases = resourceCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).pName) << i;
}

void TestDocumentTypes::resources()
{
    QFETCH(int, nCase);
    const ResourceCase c = resourceCases().at(nCase);
    ResourceFixture f;
    A *pAction = c.build(f);
    const QString strBefore = f.resourcesText();
    QVERIFY(c.state(f, false));
    f.push({pAction});
    const QString strAfter = f.resourcesText();
    QVERIFY(c.state(f, true));
    QVERIFY(strAfter != strBefore);
    for (int i = 0; i < 2; ++i) {
        f.t.stack.undo();
        QVERIFY(c.state(f, false));
        QCOMPARE(f.resourcesText(), strBefore);
        f.t.stack.redo();
        QCOMPARE(f.resourcesText(), strAfter);
    }
}

void TestDocumentTypes::unfittingResources_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("40 a resource in use") << 0;
    QTest::newRow("39 a resource that is live") << 1;
    QTest::newRow("48 a name another resource has") << 2;
    QTest::newRow("48 a resource of no manager") << 3;
    QTest::newRow("49 an image") << 4;
    QTest::newRow("50 position past the end") << 5;
    QTest::newRow("52 a script with a file") << 6;
    QTest::newRow("47 a file of another format") << 7;
    QTest::newRow("47 on an image") << 8;
}

void TestDocumentTypes::unfittingResources()
{
    QFETCH(int, nCase);
    using F = ResourceFixture;
    F f;
    KVResource stranger(0, QStringLiteral("stranger"));
    f.pImage->retain();
    const QString strBefore = f.resourcesText();
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.action(40, {F::res(f.pImage)}); break;
    case 1: pAction = f.action(39, {F::res(f.pImage)}); break;
    case 2: pAction = f.action(48, {F::res(f.pImage), P::makeString("film")}); break;
    case 3: pAction = f.action(48, {F::res(&stranger), P::makeString("x")}); break;
    case 4: pAction = f.action(49, {F::res(f.pImage), P::makeBool(false)}); break;
    case 5: pAction = f.action(50, {F::res(f.pScript), P::makeInt(2)}); break;
    case 6: pAction = f.action(52, {F::res(f.pScript), P::makeString("https://x")}); break;
    case 7: pAction = f.action(47, {F::res(f.pVideo), P::makeString("webm"), P::makeString("film.ogg")}); break;
    case 8: pAction = f.action(47, {F::res(f.pImage), P::makeString("png"), P::makeString("pic.png")}); break;
    }
    f.push({pAction});
    QCOMPARE(f.resourcesText(), strBefore);
    f.t.stack.undo();
    QCOMPARE(f.resourcesText(), strBefore);
    f.pImage->release();
}

void TestDocumentTypes::resourceMessages()
{
    // Removing an image tells the page nothing; removing a font hands it the font; adding an image
    // hands it the image, and undoing that tells nothing again.
    using F = ResourceFixture;
    F f;
    auto lastParams = [&f](int nType) {
        QJsonArray ja;
        for (const KVNote &n : f.t.notes) {
            if (n.nType == nType)
                ja = n.joPage.value("params").toArray();
        }
        return ja;
    };
    f.push({f.action(40, {F::res(f.pImage)})});
    QVERIFY(lastParams(40).isEmpty());
    f.push({f.action(40, {F::res(f.pFont)})});
    QJsonArray ja = lastParams(40);
    QCOMPARE(ja.size(), 1);
    QCOMPARE(ja.at(0).toObject().value("value").toArray().at(0).toArray().at(0).toInt(), f.pFont->id());
    f.push({f.action(39, {F::res(f.pImage)})});
    QCOMPARE(lastParams(39).size(), 1);
    f.t.notes.clear();
    f.t.stack.undo();
    QVERIFY(lastParams(39).isEmpty());
    // The fonts are reloaded before the command ends.
    QCOMPARE(f.t.noteTypes(), (QList<int>{39, KVTestCommandTarget::FontReloadMark, 41}));
    f.push({f.action(48, {F::res(f.pSheet), P::makeString("cdn2")})});
    f.push({f.action(52, {F::res(f.pSheet), P::makeString("https://cdn/z.css")})});
    ja = lastParams(52);
    QCOMPARE(ja.size(), 2);
    QCOMPARE(ja.at(1).toObject().value("value").toInt(), f.pSheet->id());
    // Dropping an editor's changes only tells the views, with the resource as the page knows it.
    const QString strBefore = f.resourcesText();
    f.push({f.action(103, {F::res(f.pScript)})});
    QCOMPARE(f.resourcesText(), strBefore);
    ja = lastParams(103);
    QCOMPARE(ja.size(), 2);
    QCOMPARE(ja.at(0).toObject().value("value").toArray().at(0).toArray().at(2).toString(), QStringLiteral("a.js"));
}

KAVIO_TEST_MAIN(TestDocumentTypes)
#include "tst_documenttypes.moc"
