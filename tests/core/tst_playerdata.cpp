#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "document/KVDocumentSettings.h"
#include "document/KVHeadlessProject.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVEventCatalogue.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVLoadScript.h"
#include "output/KVOutputPaths.h"
#include "output/KVPlayerData.h"
#include "output/KVScopeInjection.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

// A project in a temporary folder with nScenes scenes of which the first holds nTopLevel
// rectangles (the last one with a child).
struct SmallProject
{
    QTemporaryDir dir;
    KVHeadlessProject project;
    KVPlayerSource source;

    explicit SmallProject(int nScenes = 2, int nTopLevel = 3)
        : project(dir.path() + QStringLiteral("/my show.kavio"))
    {
        QDir(dir.path()).mkpath(QStringLiteral("my show_res"));
        project.setWidth(640);
        project.setHeight(360);
        KVSceneList *pScenes = project.sceneList();
        for (int i = 0; i < nScenes; ++i) {
            KVScene *pScene = pScenes->createScene();
            pScenes->addScene(pScene);
            if (i == 1) {
                pScene->setTransitionType(1);
                pScene->setTransitionDuration(500);
            }
        }
        KVScene *pFirst = pScenes->at(0);
        for (int i = 0; i < nTopLevel; ++i) {
            KVElement *pElement = KVElementFactory::createElement(5);
            pElement->setName(QStringLiteral("box%1").arg(i));
            pFirst->addElement(pElement);
            if (i == nTopLevel - 1) {
                KVElement *pChild = KVElementFactory::createElement(5);
                pChild->setName(QStringLiteral("inner"));
                pFirst->addElement(pChild, -1, pElement);
            }
        }
        project.setCurrentScene(pFirst);
        source.pSymbol = &project;
        source.pSettings = &project.settings();
        source.strProjectFile = project.fileName();
        source.strExportResourceFolder = QStringLiteral("./assets//img/");
    }
};

QJsonObject parseObject(const QString &strText)
{
    return QJsonDocument::fromJson(strText.toUtf8()).object();
}

} // namespace

class tst_PlayerData : public QObject
{
    Q_OBJECT

private slots:
    void stripComments_data();
    void stripComments();
    void scopeInjectionFile();

    void centerName_data();
    void centerName();
    void preloaderLoadScript();
    void projectLoadScript_data();
    void projectLoadScript();
    void fileNameApostrophe();

    void dataFileText();
    void normalizeFolder_data();
    void normalizeFolder();
    void loadingIndicator();

    void documentKeys();
    void optionalKeys();
    void resourceFolder_data();
    void resourceFolder();
    void dataFileParses();
    void dataFileWriteFailure();
    void containerIdKept();
    void preloaderInScript();
    void symbolResource();
};

void tst_PlayerData::stripComments_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("line") << "var a = 1; // one\nvar b = 2;" << "var a = 1;\nvar b = 2;";
    QTest::newRow("comment lines go") << "// head\n// more\nvar a;\n\n// tail" << "var a;";
    QTest::newRow("block") << "var /* x */a = 1;" << "var a = 1;";
    QTest::newRow("block between words") << "var/**/a;" << "var a;";
    QTest::newRow("multi-line block") << "a();\n/* one\n two */\nb();" << "a();\nb();";
    QTest::newRow("url in double quotes") << "var u = \"http://x.org/a\"; // c" << "var u = \"http://x.org/a\";";
    QTest::newRow("url in single quotes") << "var u = 'https://x//y';" << "var u = 'https://x//y';";
    QTest::newRow("escaped quote") << "var s = 'it\\'s // here'; // c" << "var s = 'it\\'s // here';";
    QTest::newRow("template") << "var t = `a\n// b /* c */`;" << "var t = `a\n// b /* c */`;";
    QTest::newRow("regex with slashes") << "var r = /\\/\\//g; // c" << "var r = /\\/\\//g;";
    QTest::newRow("regex class") << "x = s.replace(/[/]/, ''); // c" << "x = s.replace(/[/]/, '');";
    QTest::newRow("division") << "var h = w / 2; // half" << "var h = w / 2;";
    QTest::newRow("block in string") << "var s = \"/* no */\";" << "var s = \"/* no */\";";
    QTest::newRow("only comments") << "// a\n/* b */\n" << "";
    QTest::newRow("unterminated block") << "a(); /* open" << "a();";
    QTest::newRow("crlf") << "a(); // x\r\nb();" << "a();\nb();";
}

void tst_PlayerData::stripComments()
{
    QFETCH(QString, source);
    QFETCH(QString, expected);
    QCOMPARE(KVScopeInjection::stripComments(source), expected);
}

void tst_PlayerData::scopeInjectionFile()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("resources/canvas")));
    const QString strFile = KVScopeInjection::filePath(dir.path());
    QCOMPARE(strFile, dir.path() + QStringLiteral("/resources/canvas/kvscopeinjection.js"));
    // Missing, then comments only: a single space.
    QCOMPARE(KVScopeInjection::readFile(strFile), QStringLiteral(" "));
    QFile file(strFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("// nothing but a note\n");
    file.close();
    QCOMPARE(KVScopeInjection::readFile(strFile), QStringLiteral(" "));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("// names\nvar a = 'http://h';\n/* b */\nvar b = 2;\n");
    file.close();
    QCOMPARE(KVScopeInjection::readFile(strFile), QStringLiteral("var a = 'http://h';\nvar b = 2;"));

    // Read once: a change to the file after the first read is not seen.
    const QString strFirst = KVScopeInjection::text(dir.path());
    QCOMPARE(strFirst, QStringLiteral("var a = 'http://h';\nvar b = 2;"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("var changed;\n");
    file.close();
    QCOMPARE(KVScopeInjection::text(dir.path()), strFirst);
}

void tst_PlayerData::centerName_data()
{
    QTest::addColumn<int>("align");
    QTest::addColumn<QString>("center");
    QTest::newRow("4") << 4 << "horizontal";
    QTest::newRow("128") << 128 << "vertical";
    QTest::newRow("132") << 132 << "both";
    QTest::newRow("0") << 0 << "none";
    QTest::newRow("other") << 5 << "none";
}

void tst_PlayerData::centerName()
{
    QFETCH(int, align);
    QFETCH(QString, center);
    QCOMPARE(KVLoadScript::centerName(align), center);
}

void tst_PlayerData::preloaderLoadScript()
{
    QCOMPARE(KVLoadScript::forPreloader(QStringLiteral("preloader.js"), QStringLiteral("abcdEFGH"), true, 132, false),
             QStringLiteral("(function(Kavio) {\n\tKavio.openDoc('preloader.js', 'abcdEFGH', {paused:false, "
                            "center:'both'});\n})(DorunKavio);"));
    QCOMPARE(KVLoadScript::forPreloader(QStringLiteral("p.js"), QStringLiteral("x"), false, 0, true),
             QStringLiteral("(function(Kavio) {\n\tKavio.openDoc('p.js', 'x', {paused:true, center:'none', "
                            "autofit: true});\n})(DorunKavio);"));
}

void tst_PlayerData::projectLoadScript_data()
{
    QTest::addColumn<int>("loaderType");
    QTest::addColumn<bool>("hasPreloader");
    QTest::addColumn<bool>("usesIndicator");
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("expected");

    const QString strOpenLi = QStringLiteral("Kavio.openDoc('show.js', 'cid', {paused:false, preloaderOptions: li, "
                                             "center: 'horizontal', autofit: true});");
    const QString strOpenDoc = QStringLiteral("Kavio.openDoc('show.js', 'cid', {paused:false, preloaderDoc: "
                                              "preloaderDocData, center: 'horizontal', autofit: true});");
    QTest::newRow("indicator") << 0 << false << false << QString()
                               << "(function(Kavio) {\n\tvar li = {\"a\":1};\n\t" + strOpenLi + "\n})(DorunKavio);";
    QTest::newRow("no preloader") << 1 << false << false << QString()
                                  << "(function(Kavio) {\n\tpreloaderDocData = {};\n\t" + strOpenDoc
                                         + "\n})(DorunKavio);";
    QTest::newRow("preloader with indicator")
        << 1 << true << true << QStringLiteral("var s;\nvar t;")
        << "(function(Kavio) {\n\tpreloaderDocData = {\"v\":4};\n\tvar s;\n\tvar t;\n\tvar f = [];\n\tf.push(1);"
           "\n\tpreloaderDocData.f = f;\n\tpreloaderDocData.li = {\"b\":2};\n\t"
               + strOpenDoc + "\n})(DorunKavio);";
    QTest::newRow("preloader without indicator")
        << 1 << true << false << QString()
        << "(function(Kavio) {\n\tpreloaderDocData = {\"v\":4};\n\t\n\tvar f = [];\n\tf.push(1);"
           "\n\tpreloaderDocData.f = f;\n\tpreloaderDocData.li = false;\n\t"
               + strOpenDoc + "\n})(DorunKavio);";
}

void tst_PlayerData::projectLoadScript()
{
    QFETCH(int, loaderType);
    QFETCH(bool, hasPreloader);
    QFETCH(bool, usesIndicator);
    QFETCH(QString, scope);
    QFETCH(QString, expected);
    KVLoadScript::Project p;
    p.strDataFile = QStringLiteral("show.js");
    p.strContainerId = QStringLiteral("cid");
    p.bAutoplay = true;
    p.nAlign = 4;
    p.bAutofit = true;
    p.nLoaderType = loaderType;
    p.strLoadingIndicator = QStringLiteral("{\"a\":1}");
    p.bHasPreloader = hasPreloader;
    p.strPreloaderData = QStringLiteral("{\"v\":4}");
    p.strScopeInjection = scope;
    p.strPreloaderFunctions = QStringLiteral("var f = [];\nf.push(1);");
    p.bPreloaderUsesIndicator = usesIndicator;
    p.strPreloaderIndicator = QStringLiteral("{\"b\":2}");
    QCOMPARE(KVLoadScript::forProject(p), expected);
}

void tst_PlayerData::fileNameApostrophe()
{
    QCOMPARE(KVLoadScript::escapeFileName(QStringLiteral("it's o'k.js")), QStringLiteral("it\\'s o\\'k.js"));
    KVLoadScript::Project p;
    p.strDataFile = QStringLiteral("Bob's show.js");
    p.strContainerId = QStringLiteral("c");
    p.strLoadingIndicator = QStringLiteral("{}");
    QVERIFY(KVLoadScript::forProject(p).contains(QStringLiteral("Kavio.openDoc('Bob\\'s show.js', 'c',")));
    QVERIFY(KVLoadScript::forPreloader(p.strDataFile, p.strContainerId, true, 0, false)
                .contains(QStringLiteral("'Bob\\'s show.js'")));
    QCOMPARE(KVLoadScript::escapeForPage(QStringLiteral("a = \"</script>\";")), QStringLiteral("a = \"<\\/script>\";"));
}

void tst_PlayerData::dataFileText()
{
    QCOMPARE(KVPlayerData::dataFileText(QStringLiteral("{\"v\":4}"), QStringLiteral("var a;\nvar b;"),
                                        QStringLiteral("var f = [];\nvar g = function g() {\n}\n;")),
             QStringLiteral("(function(Kavio) {\n\tvar docData = {\"v\":4};\n\tvar a;\n\tvar b;var f = [];\n\t"
                            "var g = function g() {\n\t}\n\t;\n\tdocData.f = f;\n\tKavio.loadedDocs.push(docData);"
                            "\n}(DorunKavio)); "));
    // With the text of a missing scope file.
    QCOMPARE(KVPlayerData::dataFileText(QStringLiteral("{}"), QStringLiteral(" "), QStringLiteral("var f = [];")),
             QStringLiteral("(function(Kavio) {\n\tvar docData = {};\n\t var f = [];\n\tdocData.f = f;\n\t"
                            "Kavio.loadedDocs.push(docData);\n}(DorunKavio)); "));
}

void tst_PlayerData::normalizeFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("normalized");
    QTest::newRow("plain") << "resources" << "resources";
    QTest::newRow("backslashes") << "a\\b\\c" << "a/b/c";
    QTest::newRow("empty parts") << "/a//b/" << "a/b";
    QTest::newRow("three dots dropped") << "a/.../b/...." << "a/b";
    QTest::newRow("two dots kept") << "../a" << "../a";
    QTest::newRow("one dot kept") << "./a" << "./a";
    QTest::newRow("empty") << "" << "";
}

void tst_PlayerData::normalizeFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, normalized);
    QCOMPARE(KVOutputPaths::normalizeFolder(folder), normalized);
    QCOMPARE(KVOutputPaths::folderProblem(QStringLiteral("../out")).isEmpty(), false);
    QCOMPARE(KVOutputPaths::folderProblem(QStringLiteral("/abs")).isEmpty(), false);
    QCOMPARE(KVOutputPaths::folderProblem(QStringLiteral("a/b")).isEmpty(), true);
}

void tst_PlayerData::loadingIndicator()
{
    KVLoadingIndicator li;
    li.m_clColor = QColor(0x12, 0xab, 0xef, 0x80);
    li.m_nShape = 4;
    li.m_nDiameter = 40;
    const QJsonObject jo = KVPlayerData::loadingIndicatorJson(li);
    QCOMPARE(jo.size(), 6);
    QCOMPARE(jo.value(QStringLiteral("color")).toString(), QStringLiteral("#12abef"));
    QCOMPARE(jo.value(QStringLiteral("shape")).toString(), QStringLiteral("roundRect"));
    QCOMPARE(jo.value(QStringLiteral("diameter")).toInt(), 40);
    QVERIFY(jo.contains(QStringLiteral("density")) && jo.contains(QStringLiteral("range"))
            && jo.contains(QStringLiteral("speed")));
}

void tst_PlayerData::documentKeys()
{
    SmallProject p(3, 4);
    KVPlayerData data(&p.source);
    const QJsonObject jo = data.build(KVPlayerData::Options());
    QCOMPARE(jo.value(QStringLiteral("v")).toInt(), 4);
    QCOMPARE(jo.value(QStringLiteral("mpv")).toInt(), 2);
    QCOMPARE(jo.value(QStringLiteral("w")).toInt(), 640);
    QCOMPARE(jo.value(QStringLiteral("h")).toInt(), 360);
    QCOMPARE(jo.value(QStringLiteral("dur")).toInt(), p.project.sceneList()->totalDuration());
    QVERIFY(jo.value(QStringLiteral("dur")).toInt() >= 500); // the transition counts
    QCOMPARE(jo.value(QStringLiteral("mm")).toArray(), (QJsonArray{0, 0}));
    QCOMPARE(jo.value(QStringLiteral("scenes")).toArray().size(), 3);
    const int nKey = jo.value(QStringLiteral("k")).toInt();
    QCOMPARE(nKey >> 16, 3);
    QCOMPARE(nKey & 0xff, 4);
    QCOMPARE(jo.value(QStringLiteral("resourceFolder")).toString(), QStringLiteral("./assets/img"));
    QCOMPARE(jo.value(QStringLiteral("cssUrl")).toString(), QStringLiteral("my show.css"));
    QVERIFY(jo.value(QStringLiteral("resources")).isArray());

    KVPlayerData::Options current;
    current.bCurrentSceneOnly = true;
    p.project.setCurrentScene(p.project.sceneList()->at(1));
    const QJsonObject joCurrent = data.build(current);
    QCOMPARE(joCurrent.value(QStringLiteral("scenes")).toArray().size(), 1);
    QCOMPARE(joCurrent.value(QStringLiteral("scenes")).toArray().at(0).toObject().value(QStringLiteral("id")).toInt(),
             p.project.sceneList()->at(1)->id());
    QCOMPARE(joCurrent.value(QStringLiteral("k")).toInt() >> 16, 1);
    QCOMPARE(joCurrent.value(QStringLiteral("k")).toInt() & 0xff, 0);
    QCOMPARE(KVPlayerData::documentKey(2, 255, 7), 2 * 65536 + 255 * 256 + 7);
}

void tst_PlayerData::optionalKeys()
{
    SmallProject p(1, 1);
    KVPlayerData data(&p.source);
    KVPlayerData::Options preloader;
    preloader.bPreloader = true;
    QJsonObject jo = data.build(KVPlayerData::Options());
    QVERIFY(!jo.contains(QStringLiteral("b")));
    QVERIFY(!jo.contains(QStringLiteral("e")));
    QVERIFY(!data.build(preloader).contains(QStringLiteral("pe")));

    p.project.breakpoints()->addHBreakpoint(480);
    p.project.eventHandlers()->insert(new KVEventListener(
        KVEventCatalogue::DocumentReady, KVActionCatalogue::PlayTimeline,
        QJsonObject{{QStringLiteral("timeline_id"), KVActionCatalogue::MainTimeline}}));
    jo = data.build(KVPlayerData::Options());
    QCOMPARE(jo.value(QStringLiteral("b")).toObject(), p.project.breakpoints()->toPlayerJson());
    QCOMPARE(jo.value(QStringLiteral("e")).toArray(), p.project.eventHandlers()->toPlayerEvents());
    QVERIFY(!jo.contains(QStringLiteral("pe")));
    const QJsonObject joPre = data.build(preloader);
    QVERIFY(!joPre.contains(QStringLiteral("e")));
    QCOMPARE(joPre.value(QStringLiteral("pe")).toArray(), p.project.eventHandlers()->toPlayerEvents());
}

void tst_PlayerData::resourceFolder_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<bool>("preloader");
    QTest::addColumn<QString>("folder");
    QTest::newRow("export") << false << false << "./assets/img";
    QTest::newRow("preview") << true << false << "../";
    QTest::newRow("preloader preview") << true << true << "../preloader/preloader_res";
    QTest::newRow("preloader export") << false << true << "./assets/img";
}

void tst_PlayerData::resourceFolder()
{
    QFETCH(bool, preview);
    QFETCH(bool, preloader);
    QFETCH(QString, folder);
    SmallProject p(1, 0);
    KVPlayerData::Options options;
    options.bPreview = preview;
    options.bPreloader = preloader;
    QCOMPARE(KVPlayerData::resourceFolder(p.source, options), folder);
}

void tst_PlayerData::dataFileParses()
{
    SmallProject p(2, 2);
    auto *pFunction = new KVFunction;
    pFunction->setName(QStringLiteral("greet"));
    pFunction->setParams({QStringLiteral("doc"), QStringLiteral("e")});
    pFunction->setContent(QStringLiteral("return 'http://x';"));
    p.project.functions()->insert(pFunction);
    KVResource *pImage = KVResource::create(0);
    pImage->setName(QStringLiteral("pic"));
    pImage->setFileName(QStringLiteral("pic_1.png"));
    p.project.resourceManager()->addResource(pImage);

    KVPlayerData data(&p.source);
    const QString strPath = p.dir.path() + QStringLiteral("/my show.js");
    QVERIFY(data.writeDataFile(strPath, false, false));
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString strText = QString::fromUtf8(file.readAll());
    QVERIFY(strText.startsWith(QStringLiteral("(function(Kavio) {\n\tvar docData = {")));
    QVERIFY(strText.endsWith(QStringLiteral("\n\tKavio.loadedDocs.push(docData);\n}(DorunKavio)); ")));
    QVERIFY(strText.contains(QStringLiteral("\n\tvar greet = function greet(doc, e) {\n\treturn 'http://x';\n\t};"
                                            "\n\tf.push([1, \"greet\", greet]);\n\tdocData.f = f;")));
    const int nStart = strText.indexOf(QStringLiteral("var docData = ")) + 14;
    const int nEnd = strText.indexOf(QStringLiteral(";\n\t"), nStart);
    const QJsonObject jo = parseObject(strText.mid(nStart, nEnd - nStart));
    QCOMPARE(jo.value(QStringLiteral("v")).toInt(), 4);
    QCOMPARE(jo.value(QStringLiteral("k")).toInt() >> 16, 2);
    QCOMPARE(jo.value(QStringLiteral("k")).toInt() & 0xff, 2);
    QCOMPARE(jo.value(QStringLiteral("resources")).toArray(),
             (QJsonArray{QJsonArray{pImage->id(), 0, QStringLiteral("pic"), QStringLiteral("pic.png")}}));
}

void tst_PlayerData::dataFileWriteFailure()
{
    RecordingReporter rec;
    SmallProject p(1, 1);
    KVPlayerData data(&p.source);
    QVERIFY(!data.writeDataFile(p.dir.path() + QStringLiteral("/missing/folder/x.js"), false, false));
    QCOMPARE(rec.lastText(), QStringLiteral("Cannot write data file."));
}

void tst_PlayerData::containerIdKept()
{
    SmallProject p(1, 1);
    p.project.settings().m_strContainerId.clear();
    p.project.setAlign(132);
    KVPlayerData data(&p.source);
    const QString strScript = data.loadScript(false);
    const QString strId = p.project.settings().m_strContainerId;
    QVERIFY(QRegularExpression(QStringLiteral("^[a-zA-Z]{8}$")).match(strId).hasMatch());
    QVERIFY(strScript.contains(QStringLiteral("Kavio.openDoc('my show.js', '%1', {paused:false, preloaderOptions: "
                                              "li, center: 'both'});").arg(strId)));
    QVERIFY(strScript.startsWith(QStringLiteral("(function(Kavio) {\n\tvar li = {")));
    // The id is kept: a second script uses the same.
    QVERIFY(data.loadScript(false).contains(QStringLiteral("'%1'").arg(strId)));
    QCOMPARE(p.project.settings().m_strContainerId, strId);
}

void tst_PlayerData::preloaderInScript()
{
    SmallProject p(1, 1);
    SmallProject pre(1, 2);
    pre.source.bUseLoadingIndicator = true;
    pre.source.loadingIndicator.m_clColor = QColor(1, 2, 3);
    pre.project.eventHandlers()->insert(new KVEventListener(
        KVEventCatalogue::DocumentReady, KVActionCatalogue::PlayTimeline,
        QJsonObject{{QStringLiteral("timeline_id"), KVActionCatalogue::MainTimeline}}));
    p.source.pPreloader = &pre.source;
    p.project.settings().m_nLoaderType = 1;
    p.project.settings().m_strContainerId = QStringLiteral("stage");
    KVPlayerData data(&p.source);
    const QString strScript = data.loadScript(true);
    const int nStart = strScript.indexOf(QStringLiteral("preloaderDocData = ")) + 19;
    const QJsonObject jo = parseObject(strScript.mid(nStart, strScript.indexOf(QStringLiteral(";\n\t"), nStart) - nStart));
    QCOMPARE(jo.value(QStringLiteral("resourceFolder")).toString(), QStringLiteral("../preloader/preloader_res"));
    QVERIFY(jo.contains(QStringLiteral("pe")));
    QVERIFY(!jo.contains(QStringLiteral("e")));
    QCOMPARE(jo.value(QStringLiteral("k")).toInt() & 0xff, 2);
    QVERIFY(strScript.contains(QStringLiteral("\n\tpreloaderDocData.f = f;\n\tpreloaderDocData.li = {")));
    QVERIFY(strScript.contains(QStringLiteral("\"color\":\"#010203\"")));
    QVERIFY(strScript.endsWith(QStringLiteral("Kavio.openDoc('my show.js', 'stage', {paused:false, preloaderDoc: "
                                              "preloaderDocData, center: 'horizontal'});\n})(DorunKavio);")));
    pre.source.bUseLoadingIndicator = false;
    QVERIFY(data.loadScript(true).contains(QStringLiteral("\n\tpreloaderDocData.li = false;\n\t")));

    // The preloader document previewed on its own opens itself, with its own container id.
    pre.source.bIsPreloaderDocument = true;
    pre.project.settings().m_strContainerId = QStringLiteral("pre");
    pre.project.settings().m_bAutoplay = false;
    KVPlayerData own(&pre.source);
    QCOMPARE(own.loadScript(true), QStringLiteral("(function(Kavio) {\n\tKavio.openDoc('my show.js', 'pre', "
                                                  "{paused:true, center:'horizontal'});\n})(DorunKavio);"));
}

void tst_PlayerData::symbolResource()
{
    SmallProject symbol(2, 1);
    symbol.project.setAlign(128);
    symbol.project.setAutofit(true);
    QJsonObject jo = KVPlayerData::symbolResourceJson(symbol.project);
    QCOMPARE(jo.keys(), (QStringList{"af", "align", "dur", "scenes"}));
    QCOMPARE(jo.value(QStringLiteral("align")).toInt(), 128);
    QCOMPARE(jo.value(QStringLiteral("af")).toBool(), true);
    QCOMPARE(jo.value(QStringLiteral("scenes")).toArray().size(), 2);
    QCOMPARE(jo.value(QStringLiteral("dur")).toInt(), symbol.project.sceneList()->totalDuration());
    symbol.project.breakpoints()->addHBreakpoint(300);
    symbol.project.eventHandlers()->insert(new KVEventListener(
        KVEventCatalogue::DocumentReady, KVActionCatalogue::PlayTimeline,
        QJsonObject{{QStringLiteral("timeline_id"), KVActionCatalogue::MainTimeline}}));
    jo = KVPlayerData::symbolResourceJson(symbol.project);
    QVERIFY(jo.contains(QStringLiteral("b")) && jo.contains(QStringLiteral("e")));

    // Plugged into a project's source, it is the symbol resource's item.
    SmallProject p(1, 1);
    KVResource *pSymbol = KVResource::create(3);
    pSymbol->setName(QStringLiteral("badge"));
    pSymbol->setFileName(QStringLiteral("badge.kaviosym"));
    p.project.resourceManager()->addResource(pSymbol);
    p.source.symbolData = [&](const KVResource &) { return KVPlayerData::symbolResourceJson(symbol.project); };
    KVPlayerData data(&p.source);
    const QJsonArray jaItem = data.build(KVPlayerData::Options()).value(QStringLiteral("resources")).toArray().at(0).toArray();
    QCOMPARE(jaItem.at(1).toInt(), 3);
    QCOMPARE(jaItem.at(3).toObject().value(QStringLiteral("align")).toInt(), 128);
}

KAVIO_TEST_MAIN(tst_PlayerData)
#include "tst_playerdata.moc"
