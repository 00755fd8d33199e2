// The canvas bridge in the running application: the page address and ids, zoom from the page,
// crash recovery, which model changes reach the page, and edits coming back from the page. The
// page here is a small stand-in that opens the channel like the real one and records what it hears.
#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVTimeline.h"
#include "canvas/KVCanvas.h"
#include "canvas/KVHTMLExposingCanvas.h"
#include "canvas/KVResourceSchemeHandler.h"
#include "canvas/KVWebEngineView.h"
#include "canvas/WebEnginePage.h"
#include "commands/KVCmdParam.h"
#include "commands/KVCommandAction.h"
#include "commands/KVTextCommandValidator.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVAutoShape.h"
#include "model/KVFreeFormShape.h"
#include "model/KVMedia.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVText.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "plugin/KVEditor.h"
#include "resources/KVResource.h"
#include "plugin/KVNewProjectDialog.h"

#include "DocumentManager.h"
#include "EditorManager.h"
#include "ActionManager.h"
#include "ICore.h"
#include "IDocumentFactory.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWebChannel>
#include <QWebEngineSettings>

#include <cmath>

using ExtensionSystem::PluginManager;

namespace {
// Debug lines of the process, kept while a test looks for one.
QStringList g_debugLines;
QtMessageHandler g_previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &msg)
{
    if (type == QtDebugMsg)
        g_debugLines << msg;
    if (g_previousHandler)
        g_previousHandler(type, context, msg);
}

// A stand-in for the canvas page: it waits for its canvas id, opens the channel over the transport
// the canvas hands its page, binds its canvas object, records what the canvas tells it and asks for
// the scene; its title names the objects the channel offers.
const char kStandInPage[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><script src="qwebchannel.js"></script></head>
<body><script>
window.kvHeard = [];
function start() {
  if (window.canvasId === undefined) { setTimeout(start, 20); return; }
  if (typeof qt === 'undefined') { document.title = 'no transport'; return; }
  new QWebChannel(qt.webChannelTransport, function (channel) {
    var canvas = channel.objects['kvcanvas_' + window.canvasId];
    window.kvCanvas = canvas;
    canvas.currentSceneChanged.connect(function (has, data) { window.kvHeard.push({scene: has, size: data.length}); });
    canvas.dataChangedToJS.connect(function (json) { window.kvHeard.push(JSON.parse(json)); });
    canvas.sendSceneDataToJS();
    document.title = 'bound ' + window.canvasId + ': ' + Object.keys(channel.objects).join(',');
  });
}
start();
</script></body></html>
)";

// The inodes of the TCP sockets this process listens on (IPv4 and IPv6).
QSet<QString> listeningSocketInodes()
{
    QSet<QString> owned;
    QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const QString target = QFile::symLinkTarget(fds.filePath(fd));
        if (target.contains(QStringLiteral("socket:[")))
            owned.insert(target.section(QLatin1Char('['), 1).chopped(1));
    }
    QSet<QString> listening;
    for (const char *table : {"/proc/self/net/tcp", "/proc/self/net/tcp6"}) {
        QFile file(QString::fromLatin1(table));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        file.readLine();
        while (!file.atEnd()) {
            const QStringList f = QString::fromLatin1(file.readLine()).simplified().split(QLatin1Char(' '));
            // "0A" is the listening state; the inode is the tenth field
            if (f.size() > 9 && f.at(3) == QLatin1String("0A") && owned.contains(f.at(9)))
                listening.insert(f.at(9));
        }
    }
    return listening;
}

QJsonObject intParam(int n)
{
    return {{QStringLiteral("type"), KVCmdParam::Int}, {QStringLiteral("value"), n}};
}
} // namespace

class tst_Canvas : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void twoEditorsRegisterTheirCanvases();
    void exampleLogsTheCanvasAddress();
    void zoomFromThePageIsClamped_data();
    void zoomFromThePageIsClamped();
    void crashedPageIsReloadedAndAsksForTheScene();
    void normalTerminationDoesNotReload();
    void changesThatReachThePage_data();
    void changesThatReachThePage();
    void endOfCommandFlushesRepaintAndPosition();
    void sceneSwitchSendsTheNewScene_data();
    void sceneSwitchSendsTheNewScene();
    void fontsReloadOnceAtTheEnd();
    void notificationsForwardedToThePage();
    void moveFromThePageIsOneUndoStep();
    void pageEditIsNotEchoedButItsUndoIs();
    void moveWithAutoKeyframingRecordsKeyValues();
    void symbolInstancesShowTheirContent();
    void undoOfAMoveKeepsTheSelection();
    void insertAndSelectFromThePage();
    void pageFormsBecomeActions_data();
    void pageFormsBecomeActions();
    void geometryAtAResponsiveLayoutIsAnOverride();
    void badRequestsAreIgnored_data();
    void badRequestsAreIgnored();
    void resourceSchemeServesProjectFilesOnly();
    void thumbnailViewTellsWhenContentIsPainted();
    void mediaMeasuredByThePage();
    void textEditedInThePage();
    void textActionsReachThePage_data();
    void textActionsReachThePage();
    void nothingListensForPages();

private:
    KVEditor *openProject(const QString &name);
    // A project with a div at (10, 20) and a symbol instance in its current scene, and a second scene.
    KVEditor *openPopulatedProject(const QString &name);
    static QString submitMove(KVScene *pScene, int nElementId, double dLeft, double dTop);

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    QTemporaryDir m_resources;
    KVElement *m_pDiv = nullptr;
    KVElement *m_pSymbol = nullptr;
    KVElement *m_pOtherSceneDiv = nullptr;
};

void tst_Canvas::initTestCase()
{
    // The stand-in page and the channel's script, in a resource folder of the test's own.
    const QString canvasDir = m_resources.filePath(QStringLiteral("resources/canvas"));
    QVERIFY(QDir().mkpath(canvasDir));
    QFile page(canvasDir + QStringLiteral("/index.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(kStandInPage);
    page.close();
    QVERIFY(QFile::copy(QStringLiteral(":/qtwebchannel/qwebchannel.js"), canvasDir + QStringLiteral("/qwebchannel.js")));

    QFile::remove(KVTestEnvironment::settingsPath());
    m_manager.reset(new PluginManager);
    PluginManager::setSettingsPath(KVTestEnvironment::settingsPath());
    PluginManager::setPluginPaths({KVTestEnvironment::binaryDir() + QStringLiteral("/lib/kavio/plugins")});
    m_window.reset(new MainWindow);
    m_core.reset(new ICore(m_window.data()));
    m_core->setResourcePath(m_resources.path());
    // The stand-in resource folder has no text helper page: text edits wait only briefly for it.
    KVTextCommandValidator::getInstance()->setTimeLimit(300);
    QVERIFY2(PluginManager::loadPlugins(), qPrintable(PluginManager::errors().join('\n')));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
}

void tst_Canvas::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

KVEditor *tst_Canvas::openProject(const QString &name)
{
    KVNewProjectDialog dialog;
    dialog.locationEdit()->setText(m_dir.path());
    dialog.nameEdit()->setText(name);
    dialog.accept();
    IDocument *doc = PluginManager::getObject<IDocumentFactory>()->createDocument();
    if (!doc->createNew(&dialog)) {
        delete doc;
        return nullptr;
    }
    return qobject_cast<KVEditor *>(m_window->loadOpenedDocument(doc, true));
}

KVEditor *tst_Canvas::openPopulatedProject(const QString &name)
{
    KVEditor *editor = openProject(name);
    if (!editor)
        return nullptr;
    KVDocument *doc = editor->document();
    KVSceneList *scenes = doc->sceneList();
    while (scenes->count() < 2)
        scenes->addScene(scenes->createScene());
    KVScene *scene = doc->currentScene();
    KVScene *other = scenes->at(0) == scene ? scenes->at(1) : scenes->at(0);
    m_pDiv = KVElementFactory::createElement(KVElementType::Div);
    m_pDiv->setPositionX(10, KVLayoutKey::base());
    m_pDiv->setPositionY(20, KVLayoutKey::base());
    m_pDiv->setSizeW(100, KVLayoutKey::base());
    m_pDiv->setSizeH(50, KVLayoutKey::base());
    scene->addElement(m_pDiv);
    m_pSymbol = KVElementFactory::createElement(KVElementType::Symbol);
    scene->addElement(m_pSymbol);
    m_pOtherSceneDiv = KVElementFactory::createElement(KVElementType::Div);
    other->addElement(m_pOtherSceneDiv);
    return editor;
}

QString tst_Canvas::submitMove(KVScene *pScene, int nElementId, double dLeft, double dTop)
{
    const QJsonObject codes{{QStringLiteral("type"), KVCmdParam::IntList}, {QStringLiteral("value"), QJsonArray{0, 2}}};
    const QJsonObject move{{QStringLiteral("cmd"), 1000},
                           {QStringLiteral("params"), QJsonArray{intParam(nElementId), codes,
                                                                  QJsonObject{{QStringLiteral("type"), 2}, {QStringLiteral("value"), dLeft}},
                                                                  QJsonObject{{QStringLiteral("type"), 2}, {QStringLiteral("value"), dTop}}}}};
    const QJsonObject request{{QStringLiteral("actions"), QJsonArray{move}},
                              {QStringLiteral("sceneId"), pScene->id()},
                              {QStringLiteral("symbolResourceId"), -1},
                              {QStringLiteral("responsive"), false},
                              {QStringLiteral("hLayoutId"), 0},
                              {QStringLiteral("vLayoutId"), 0},
                              {QStringLiteral("text"), QString()}};
    return QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact));
}

void tst_Canvas::twoEditorsRegisterTheirCanvases()
{
    RecordingReporter rec;
    KVEditor *first = openProject(QStringLiteral("first"));
    KVEditor *second = openProject(QStringLiteral("second"));
    QVERIFY(first && second);
    QCOMPARE(first->canvasView()->canvasId(), 1);
    QCOMPARE(second->canvasView()->canvasId(), 2);
    // each page has a channel of its own, holding its canvas's object alone
    for (KVEditor *editor : {first, second}) {
        KVCanvas *canvas = editor->canvasView();
        const QString name = QStringLiteral("kvcanvas_%1").arg(canvas->canvasId());
        QCOMPARE(canvas->page()->webChannel()->registeredObjects(), (QHash<QString, QObject *>{{name, canvas->exposingObject()}}));
    }
    QVERIFY(first->canvasView()->page()->webChannel() != second->canvasView()->page()->webChannel());
    // each page binds its own object, sees no other, and asks for its scene
    QTRY_COMPARE_WITH_TIMEOUT(first->canvasView()->page()->title(), QStringLiteral("bound 1: kvcanvas_1"), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(second->canvasView()->page()->title(), QStringLiteral("bound 2: kvcanvas_2"), 20000);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::exampleLogsTheCanvasAddress()
{
    RecordingReporter rec;
    const QString folder = m_dir.filePath(QStringLiteral("example"));
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"),
                        folder + QStringLiteral("/banner.kavio")));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"),
                        folder + QStringLiteral("/banner_res/logo.png")));
    g_debugLines.clear();
    g_previousHandler = qInstallMessageHandler(recordMessage);
    const bool bOpened = m_window->openDocument(folder + QStringLiteral("/banner.kavio"));
    qInstallMessageHandler(g_previousHandler);
    QVERIFY(bOpened);
    const QString expected = QStringLiteral("Canvas WebView URL: ")
        + QUrl::fromLocalFile(m_resources.path() + QStringLiteral("/resources/canvas/index.html")).toString();
    QVERIFY2(g_debugLines.contains(expected), qPrintable(g_debugLines.join('\n')));
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QCOMPARE(canvas->page()->requestedUrl().toString(), expected.mid(QStringLiteral("Canvas WebView URL: ").size()));
    // the page's scripts may use the clipboard
    QVERIFY(canvas->settings()->testAttribute(QWebEngineSettings::JavascriptCanAccessClipboard));
    // the page binds its object, asks for the example's scene and receives it
    QSignalSpy scenes(canvas->exposingObject(), &KVHTMLExposingCanvas::currentSceneChanged);
    QTRY_COMPARE_WITH_TIMEOUT(scenes.count(), 1, 20000);
    QVERIFY(scenes.first().at(0).toBool());
    const QJsonObject sent = QJsonDocument::fromJson(scenes.first().at(1).toString().toUtf8()).object();
    QCOMPARE(sent.value(QStringLiteral("containerW")).toInt(), editor->document()->width());
    QCOMPARE(sent.value(QStringLiteral("symbolResourceId")).toInt(), -1);
    QVERIFY(sent.value(QStringLiteral("scene")).isObject());
    QVariant heard;
    canvas->page()->runJavaScript(QStringLiteral("window.kvHeard.length ? window.kvHeard[0].size : 0"),
                                  [&heard](const QVariant &v) { heard = v; });
    QTRY_COMPARE_WITH_TIMEOUT(heard.toInt(), scenes.first().at(1).toString().size(), 10000);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::zoomFromThePageIsClamped_data()
{
    QTest::addColumn<double>("requested");
    QTest::addColumn<double>("stored");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("too large") << 5.0 << 4.0 << true;
    QTest::newRow("too small") << 0.05 << 0.1 << true;
    QTest::newRow("inside") << 1.5 << 1.5 << true;
    QTest::newRow("edge") << 4.0 << 4.0 << true;
    QTest::newRow("not a number") << std::nan("") << 1.0 << false;
}

void tst_Canvas::zoomFromThePageIsClamped()
{
    QFETCH(double, requested);
    QFETCH(double, stored);
    QFETCH(bool, accepted);
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("zoom"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QSignalSpy toControl(canvas, &KVCanvas::zoomInfoChanged);
    QSignalSpy toPage(canvas->exposingObject(), &KVHTMLExposingCanvas::zoomFactorChanged);
    canvas->exposingObject()->setZoomFactor(requested);
    QCOMPARE(canvas->zoomFactor(), stored);
    QCOMPARE(toControl.count(), accepted ? 1 : 0);
    if (accepted)
        QCOMPARE(toControl.first().first().toDouble(), stored);
    QCOMPARE(toPage.count(), 0);
    // a zoom made on the system side does tell the page
    canvas->setZoomFactor(2.0, true, false);
    QCOMPARE(toPage.count(), 1);
    // so does the transform tool the toolbar picks, once per change
    QSignalSpy tools(canvas->exposingObject(), &KVHTMLExposingCanvas::transformToolChanged);
    canvas->setTransformTool(2);
    canvas->setTransformTool(2);
    QCOMPARE(tools.count(), 1);
    QCOMPARE(canvas->transformTool(), 2);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::crashedPageIsReloadedAndAsksForTheScene()
{
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("crash"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QSignalSpy scenes(canvas->exposingObject(), &KVHTMLExposingCanvas::currentSceneChanged);
    QTRY_COMPARE_WITH_TIMEOUT(scenes.count(), 1, 20000);
    QVERIFY(scenes.first().first().toBool());
    QSignalSpy loads(canvas, &QWebEngineView::loadStarted);
    // the render process crashed
    emit canvas->page()->renderProcessTerminated(QWebEnginePage::CrashedTerminationStatus, 11);
    QTRY_COMPARE_WITH_TIMEOUT(loads.count(), 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(scenes.count(), 2, 20000);
    QVERIFY(scenes.last().first().toBool());
    emit canvas->page()->renderProcessTerminated(QWebEnginePage::KilledTerminationStatus, 9);
    QTRY_COMPARE_WITH_TIMEOUT(scenes.count(), 3, 20000);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::normalTerminationDoesNotReload()
{
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("normal"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QTRY_VERIFY_WITH_TIMEOUT(canvas->page()->title().startsWith(QStringLiteral("bound")), 20000);
    QSignalSpy loads(canvas, &QWebEngineView::loadStarted);
    emit canvas->page()->renderProcessTerminated(QWebEnginePage::NormalTerminationStatus, 0);
    QTest::qWait(500);
    QCOMPARE(loads.count(), 0);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::changesThatReachThePage_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<bool>("fromCanvas");
    QTest::addColumn<int>("messages");
    QTest::addColumn<int>("reloads");
    QTest::newRow("geometry of a div") << 1000 << "div" << false << 1 << 0;
    QTest::newRow("geometry of a symbol instance") << 1000 << "symbol" << false << 0 << 1;
    QTest::newRow("geometry in another scene") << 1000 << "other" << false << 0 << 0;
    QTest::newRow("geometry made by the page") << 1000 << "div" << true << 0 << 0;
    QTest::newRow("selection") << 33 << "div" << false << 1 << 0;
    QTest::newRow("name") << 1007 << "div" << false << 0 << 0;
    QTest::newRow("border") << 1001 << "div" << false << 1 << 0;
    QTest::newRow("freeform outline replaced") << 1038 << "div" << false << 0 << 1;
    QTest::newRow("container width") << 59 << "layout" << false << 0 << 1;
    QTest::newRow("container alignment") << 61 << "layout" << false << 1 << 0;
    QTest::newRow("breakpoint of another container") << 89 << "foreign layout" << false << 0 << 0;
    QTest::newRow("custom CSS output") << 100 << "none" << false << 0 << 1;
    QTest::newRow("document title") << 65 << "none" << false << 0 << 0;
    QTest::newRow("timeline switched in the scene") << 11 << "timeline list" << false << 1 << 0;
    QTest::newRow("timeline switched in another scene") << 11 << "other timeline list" << false << 0 << 0;
    QTest::newRow("label on the current timeline") << 13 << "current timeline" << false << 1 << 0;
    QTest::newRow("label on another scene's timeline") << 13 << "other timeline" << false << 0 << 0;
    QTest::newRow("animation at the shown layout") << 17 << "animation here" << false << 1 << 0;
    QTest::newRow("animation at another layout") << 17 << "animation elsewhere" << false << 0 << 0;
    QTest::newRow("resource in use") << 50 << "resource in use" << false << 1 << 0;
    QTest::newRow("resource not in use") << 50 << "resource unused" << false << 0 << 0;
    QTest::newRow("element value at the shown layout") << 1040 << "div" << false << 1 << 0;
    // the page keeps fonts only: resources that bring it none tell it nothing
    QTest::newRow("resources with nothing for the page") << 39 << "none" << false << 0 << 0;
    QTest::newRow("breakpoint added") << 89 << "layout" << false << 0 << 1;
    QTest::newRow("breakpoint moved") << 91 << "layout" << false << 0 << 1;
    QTest::newRow("overrides removed") << 85 << "div" << false << 0 << 1;
    QTest::newRow("timeline times moved") << 86 << "current timeline" << false << 0 << 1;
    QTest::newRow("another scene's timeline times moved") << 87 << "other timeline" << false << 0 << 0;
    QTest::newRow("overrides of another scene removed") << 85 << "other" << false << 0 << 0;
}

void tst_Canvas::changesThatReachThePage()
{
    QFETCH(int, type);
    QFETCH(QString, subject);
    QFETCH(bool, fromCanvas);
    QFETCH(int, messages);
    QFETCH(int, reloads);
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("changes"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVBreakpointSet foreign;
    KVCmdParamList params;
    if (subject == QLatin1String("div"))
        params << KVCmdParam::makeObject(KVCmdParam::Element, m_pDiv);
    else if (subject == QLatin1String("symbol"))
        params << KVCmdParam::makeObject(KVCmdParam::Element, m_pSymbol);
    else if (subject == QLatin1String("other"))
        params << KVCmdParam::makeObject(KVCmdParam::Element, m_pOtherSceneDiv);
    else if (subject == QLatin1String("layout"))
        params << KVCmdParam::makeObject(KVCmdParam::LayoutData, editor->document()->breakpoints());
    else if (subject == QLatin1String("foreign layout"))
        params << KVCmdParam::makeObject(KVCmdParam::LayoutData, &foreign);
    KVScene *scene = editor->document()->currentScene();
    KVScene *otherScene = m_pOtherSceneDiv->root() == scene ? nullptr : qobject_cast<KVScene *>(m_pOtherSceneDiv->root());
    QVERIFY(otherScene && scene->currentTimeline() && otherScene->currentTimeline());
    KVResource resource(0, QStringLiteral("logo.png"), QStringLiteral("logo.png"));
    QScopedPointer<KVAnimation> animation(new KVAnimation(m_pDiv));
    if (subject == QLatin1String("timeline list"))
        params << KVCmdParam::makeObject(KVCmdParam::TimelineListOwner, scene)
               << KVCmdParam::makeObject(KVCmdParam::Timeline, scene->currentTimeline());
    else if (subject == QLatin1String("other timeline list"))
        params << KVCmdParam::makeObject(KVCmdParam::TimelineListOwner, otherScene)
               << KVCmdParam::makeObject(KVCmdParam::Timeline, otherScene->currentTimeline());
    else if (subject == QLatin1String("current timeline"))
        params << KVCmdParam::makeObject(KVCmdParam::Timeline, scene->currentTimeline()) << KVCmdParam::makeString("intro");
    else if (subject == QLatin1String("other timeline"))
        params << KVCmdParam::makeObject(KVCmdParam::Timeline, otherScene->currentTimeline()) << KVCmdParam::makeString("intro");
    else if (subject.startsWith(QLatin1String("animation")))
        params << KVCmdParam::makeObject(KVCmdParam::Animation, animation.data())
               << KVCmdParam::makeObject(KVCmdParam::Timeline, scene->currentTimeline())
               << KVCmdParam::makeInt(subject == QLatin1String("animation here") ? 0 : 7) << KVCmdParam::makeInt(0);
    else if (subject.startsWith(QLatin1String("resource")))
        params << KVCmdParam::makeResource(&resource);
    if (subject == QLatin1String("resource in use"))
        resource.retain();
    params << KVCmdParam::makeInt(640);
    KVUpdateViewInfo info;
    info.setType(type);
    info.setParams(&params);
    if (fromCanvas)
        info.setSender(canvas);
    QSignalSpy toPage(canvas->exposingObject(), &KVHTMLExposingCanvas::dataChangedToJS);
    QSignalSpy scenes(canvas->exposingObject(), &KVHTMLExposingCanvas::currentSceneChanged);
    canvas->handleDocumentChanged(&info);
    QCOMPARE(toPage.count(), messages);
    QCOMPARE(scenes.count(), reloads);
    if (messages) {
        const QJsonObject jo = QJsonDocument::fromJson(toPage.first().first().toString().toUtf8()).object();
        QCOMPARE(jo.value(QStringLiteral("cmd")).toInt(), type);
        QCOMPARE(jo.value(QStringLiteral("isUndoCmd")).toBool(), false);
    }
    if (reloads)
        QVERIFY(scenes.first().first().toBool());
    info.setParams(nullptr);
    qDeleteAll(params);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::endOfCommandFlushesRepaintAndPosition()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("flush"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QSignalSpy repaints(canvas->exposingObject(), &KVHTMLExposingCanvas::needRepaint);
    QSignalSpy positions(canvas->exposingObject(), &KVHTMLExposingCanvas::needUpdateScenePos);
    QSignalSpy toPage(canvas->exposingObject(), &KVHTMLExposingCanvas::dataChangedToJS);
    KVCmdParamList params{KVCmdParam::makeObject(KVCmdParam::Element, m_pDiv), KVCmdParam::makeBool(true)};
    KVUpdateViewInfo info;
    info.setParams(&params);
    KVUpdateViewInfo done;
    done.setType(KVCommandAction::CommandDone);
    // a selection repaints but leaves the stage where it is
    info.setType(33);
    canvas->handleDocumentChanged(&info);
    canvas->handleDocumentChanged(&done);
    QCOMPARE(repaints.count(), 1);
    QCOMPARE(positions.count(), 0);
    // a geometry change needs both, once, at the end only
    info.setType(1000);
    canvas->handleDocumentChanged(&info);
    canvas->handleDocumentChanged(&info);
    QCOMPARE(repaints.count(), 1);
    canvas->handleDocumentChanged(&done);
    QCOMPARE(repaints.count(), 2);
    QCOMPARE(positions.count(), 1);
    // the marks are cleared: another end of command flushes nothing
    canvas->handleDocumentChanged(&done);
    QCOMPARE(repaints.count(), 2);
    QCOMPARE(positions.count(), 1);
    // the end of a command is no message of its own for the page
    QCOMPARE(toPage.count(), 3);
    info.setParams(nullptr);
    qDeleteAll(params);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::sceneSwitchSendsTheNewScene_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("scene selected") << 7;
    QTest::newRow("document selection") << 43;
    QTest::newRow("scene inserted") << 5;
}

void tst_Canvas::sceneSwitchSendsTheNewScene()
{
    QFETCH(int, type);
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("switch"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVDocument *doc = editor->document();
    canvas->setFocusedItemId(m_pDiv->id());
    KVCmdParamList params{KVCmdParam::makeObject(KVCmdParam::Scene, doc->currentScene()), KVCmdParam::makeBool(true)};
    KVUpdateViewInfo info;
    info.setType(type);
    if (type != 43)
        info.setParams(&params);
    QSignalSpy scenes(canvas->exposingObject(), &KVHTMLExposingCanvas::currentSceneChanged);
    // the same scene: nothing to send, but the focus is gone
    canvas->handleDocumentChanged(&info);
    QCOMPARE(scenes.count(), 0);
    QCOMPARE(canvas->focusedItemId(), -1);
    auto *other = qobject_cast<KVScene *>(m_pOtherSceneDiv->root());
    QVERIFY(doc->setCurrentScene(other));
    canvas->handleDocumentChanged(&info);
    QCOMPARE(canvas->currentScene(), other);
    QCOMPARE(scenes.count(), 1);
    QVERIFY(scenes.first().at(0).toBool());
    const QJsonObject sent = QJsonDocument::fromJson(scenes.first().at(1).toString().toUtf8()).object();
    QCOMPARE(sent.value(QStringLiteral("scene")).toObject().value(QStringLiteral("id")).toInt(), other->id());
    info.setParams(nullptr);
    qDeleteAll(params);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::fontsReloadOnceAtTheEnd()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("fonts"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QSignalSpy reloads(canvas, &KVCanvas::fontsReloaded);
    KVCmdParamList params{KVCmdParam::makeInt(1)};
    KVUpdateViewInfo info;
    info.setParams(&params);
    KVUpdateViewInfo done;
    done.setType(KVCommandAction::CommandDone);
    // a resource removed and added again in one command
    info.setType(40);
    canvas->handleDocumentChanged(&info);
    info.setType(39);
    canvas->handleDocumentChanged(&info);
    QCOMPARE(reloads.count(), 0);
    canvas->handleDocumentChanged(&done);
    QCOMPARE(reloads.count(), 1);
    canvas->handleDocumentChanged(&done);
    QCOMPARE(reloads.count(), 1);
    info.setParams(nullptr);
    qDeleteAll(params);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::notificationsForwardedToThePage()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("notices"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVHTMLExposingCanvas *exposing = canvas->exposingObject();
    KVTimeline *timeline = editor->document()->currentScene()->currentTimeline();
    QSignalSpy plays(exposing, &KVHTMLExposingCanvas::play);
    QSignalSpy pauses(exposing, &KVHTMLExposingCanvas::pause);
    QSignalSpy times(exposing, &KVHTMLExposingCanvas::setCurrentTime);
    QSignalSpy finishes(exposing, &KVHTMLExposingCanvas::finishAllTask);
    QSignalSpy textCommands(exposing, &KVHTMLExposingCanvas::execTextEditorCommand);
    QSignalSpy toPage(exposing, &KVHTMLExposingCanvas::dataChangedToJS);
    const auto notify = [canvas](int nType, KVCmdParamList params) {
        KVUpdateViewInfo info;
        info.setType(nType);
        info.setParams(&params);
        canvas->handleDocumentChanged(&info);
        info.setParams(nullptr);
        qDeleteAll(params);
    };
    notify(KVCommandAction::PlayNotice, {KVCmdParam::makeObject(KVCmdParam::Timeline, timeline), KVCmdParam::makeInt(1200)});
    notify(KVCommandAction::PauseNotice, {KVCmdParam::makeObject(KVCmdParam::Timeline, timeline), KVCmdParam::makeInt(1500)});
    notify(KVCommandAction::TimeNotice, {KVCmdParam::makeInt(500), KVCmdParam::makeBool(true)});
    notify(KVCommandAction::FinishTasksNotice, {});
    notify(KVCommandAction::TextCommandNotice, {KVCmdParam::makeString("bold"), KVCmdParam::makeString("true")});
    QCOMPARE(plays.count(), 1);
    QCOMPARE(plays.first().first().toInt(), 1200);
    QCOMPARE(pauses.count(), 1);
    QCOMPARE(pauses.first().first().toInt(), 1500);
    QCOMPARE(times.count(), 1);
    QCOMPARE(times.first().at(0).toInt(), 500);
    QCOMPARE(times.first().at(1).toBool(), true);
    QCOMPARE(finishes.count(), 1);
    QCOMPARE(textCommands.count(), 1);
    QCOMPARE(textCommands.first().at(0).toString(), QStringLiteral("bold"));
    QCOMPARE(textCommands.first().at(1).toString(), QStringLiteral("true"));
    // they are signals of their own, no view-update message
    QCOMPARE(toPage.count(), 0);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::moveFromThePageIsOneUndoStep()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("move"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nBefore = stack->count();
    canvas->exposingObject()->submitCommandFromJS(submitMove(editor->document()->currentScene(), m_pDiv->id(), 140, 75.5), false);
    QCOMPARE(stack->count(), nBefore + 1);
    QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Change Geometry"));
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 140.0);
    QCOMPARE(m_pDiv->positionY(KVLayoutKey::base()), 75.5);
    stack->undo();
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 10.0);
    QCOMPARE(m_pDiv->positionY(KVLayoutKey::base()), 20.0);
    stack->redo();
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 140.0);
    // run once without an undo step
    canvas->submitCommandFromJS(submitMove(editor->document()->currentScene(), m_pDiv->id(), 1, 2), true);
    QCOMPARE(stack->count(), nBefore + 1);
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 1.0);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

// With auto keyframing on, a move made in the page at 500 ms becomes key values on new left and top
// tracks (the old place at 0, the new one at 500 ms) in one step; undo takes the tracks away.
void tst_Canvas::moveWithAutoKeyframingRecordsKeyValues()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("autokey"));
    QVERIFY(editor);
    KVDocument *doc = editor->document();
    KVScene *scene = doc->currentScene();
    KVTimeline *timeline = scene->currentTimeline();
    QVERIFY(timeline);
    timeline->addLabel(QStringLiteral("later"), 1000);
    timeline->seek(500);
    doc->setAutoKeyframeMode(true);
    const double dLeft = m_pDiv->positionX(KVLayoutKey::base());
    QUndoStack *stack = doc->getUndoStack();
    const int nBefore = stack->count();
    editor->canvasView()->submitCommandFromJS(submitMove(scene, m_pDiv->id(), dLeft + 100, 60), false);
    QCOMPARE(stack->count(), nBefore + 1);
    QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Change Geometry"));
    KVAnimation *animation = timeline->findAnimation(m_pDiv, KVLayoutKey::base());
    QVERIFY(animation);
    KVKeyframe *left = nullptr;
    for (KVKeyframe *track : animation->keyframes()) {
        if (track->type() == 0)
            left = track;
    }
    QVERIFY(left);
    QCOMPARE(left->valueAt(0).toDouble(), dLeft);
    QCOMPARE(left->valueAt(500).toDouble(), dLeft + 100);
    stack->undo();
    QVERIFY(!timeline->findAnimation(m_pDiv, KVLayoutKey::base()));
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), dLeft);
    doc->setAutoKeyframeMode(false);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

// The scene the page receives carries the content of the symbols its instances play, read from the
// symbol files (the generated playback project: "badge" holds a "dot" and an instance of "spark",
// which holds a "flare").
void tst_Canvas::symbolInstancesShowTheirContent()
{
    RecordingReporter rec;
    QTemporaryDir dir;
    QProcess gen;
    gen.start(KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio-genplayback"), {dir.path()});
    QVERIFY(gen.waitForFinished(30000));
    QCOMPARE(gen.exitCode(), 0);
    QVERIFY(m_window->openDocument(dir.filePath(QStringLiteral("playback.kavio"))));
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    QVERIFY(editor);
    QSignalSpy scenes(editor->canvasView()->exposingObject(), &KVHTMLExposingCanvas::currentSceneChanged);
    editor->canvasView()->sendSceneDataToJS();
    QCOMPARE(scenes.count(), 1);
    const QString data = scenes.first().at(1).toString();
    QVERIFY(data.contains(QStringLiteral("\"badge\"")));
    QVERIFY2(data.contains(QStringLiteral("\"dot\"")), "the badge symbol's own element");
    QVERIFY2(data.contains(QStringLiteral("\"flare\"")), "the nested spark symbol's element");
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::pageEditIsNotEchoedButItsUndoIs()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("echo"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QSignalSpy toPage(canvas->exposingObject(), &KVHTMLExposingCanvas::dataChangedToJS);
    QSignalSpy repaints(canvas->exposingObject(), &KVHTMLExposingCanvas::needRepaint);
    canvas->submitCommandFromJS(submitMove(editor->document()->currentScene(), m_pDiv->id(), 30, 40), false);
    QCOMPARE(toPage.count(), 0);
    QCOMPARE(repaints.count(), 0);
    editor->document()->getUndoStack()->undo();
    QStringList types;
    QJsonObject geometry;
    for (const QList<QVariant> &args : qAsConst(toPage)) {
        const QJsonObject jo = QJsonDocument::fromJson(args.first().toString().toUtf8()).object();
        types << QString::number(jo.value(QStringLiteral("cmd")).toInt());
        if (jo.value(QStringLiteral("cmd")).toInt() == 1000)
            geometry = jo;
    }
    QVERIFY2(types.contains(QStringLiteral("1000")), qPrintable(types.join(',')));
    QVERIFY(geometry.value(QStringLiteral("isUndoCmd")).toBool());
    QCOMPARE(repaints.count(), 1);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::undoOfAMoveKeepsTheSelection()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("keepselection"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVScene *scene = editor->document()->currentScene();
    const QJsonObject select{{QStringLiteral("actions"), QJsonArray{QJsonObject{
                                 {QStringLiteral("cmd"), 33},
                                 {QStringLiteral("params"), QJsonArray{intParam(m_pDiv->id()),
                                                                       QJsonObject{{QStringLiteral("type"), KVCmdParam::Bool},
                                                                                   {QStringLiteral("value"), true}}}}}}},
                             {QStringLiteral("sceneId"), scene->id()},
                             {QStringLiteral("text"), QStringLiteral("Change Selection")}};
    canvas->submitCommandFromJS(QString::fromUtf8(QJsonDocument(select).toJson()), false);
    QVERIFY(m_pDiv->isSelected());
    // the scene itself is not selected in the scene list
    QVERIFY(!scene->isSelected());
    canvas->submitCommandFromJS(submitMove(scene, m_pDiv->id(), 70, 80), false);
    QVERIFY(m_pDiv->isSelected());
    editor->document()->getUndoStack()->undo();
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 10.0);
    QVERIFY(m_pDiv->isSelected());
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::insertAndSelectFromThePage()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("insert"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVScene *scene = editor->document()->currentScene();
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nChildren = scene->children().size();
    const QJsonObject drawn{{QStringLiteral("type"), KVCmdParam::Element},
                            {QStringLiteral("value"), QJsonObject{{QStringLiteral("shapeType"), KVElementType::Div},
                                                                   {QStringLiteral("l"), 5}, {QStringLiteral("t"), 6},
                                                                   {QStringLiteral("w"), 70}, {QStringLiteral("h"), 80}}}};
    QJsonObject request{{QStringLiteral("actions"), QJsonArray{QJsonObject{{QStringLiteral("cmd"), 1},
                                                                            {QStringLiteral("params"), QJsonArray{drawn}}}}},
                        {QStringLiteral("sceneId"), scene->id()},
                        {QStringLiteral("symbolResourceId"), -1}};
    canvas->submitCommandFromJS(QString::fromUtf8(QJsonDocument(request).toJson()), false);
    QCOMPARE(scene->children().size(), nChildren + 1);
    QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Insert Div"));
    KVElement *inserted = scene->children().last();
    QCOMPARE(inserted->sizeW(KVLayoutKey::base()), 70.0);
    QVERIFY(inserted->id() > 0);
    stack->undo();
    QCOMPARE(scene->children().size(), nChildren);
    // a selection runs once, without an undo step
    const int nSteps = stack->count();
    request[QStringLiteral("actions")] = QJsonArray{QJsonObject{
        {QStringLiteral("cmd"), 33},
        {QStringLiteral("params"), QJsonArray{intParam(m_pDiv->id()),
                                              QJsonObject{{QStringLiteral("type"), KVCmdParam::Bool}, {QStringLiteral("value"), true}}}}}};
    canvas->submitCommandFromJS(QString::fromUtf8(QJsonDocument(request).toJson()), true);
    QVERIFY(m_pDiv->isSelected());
    QCOMPARE(stack->count(), nSteps);
    // deselect all from the editor's side tells the page
    QSignalSpy toPage(canvas->exposingObject(), &KVHTMLExposingCanvas::dataChangedToJS);
    canvas->deselectAll();
    QVERIFY(!m_pDiv->isSelected());
    QCOMPARE(toPage.count(), 1);
    QCOMPARE(stack->count(), nSteps);
    canvas->onSelectAll();
    QVERIFY(m_pDiv->isSelected() && m_pSymbol->isSelected());
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::pageFormsBecomeActions_data()
{
    QTest::addColumn<int>("elementType");
    QTest::addColumn<int>("cmd");
    QTest::addColumn<QString>("params"); // JSON array after the element id
    QTest::addColumn<QString>("text");
    QTest::newRow("text edited in the page") << int(KVElementType::Text) << 1008
        << R"([{"type":5,"value":"<b>Sale</b>"}])" << "Change Text";
    QTest::newRow("shape adjustment") << int(KVElementType::Shape) << 1009
        << R"([{"type":8,"value":[0.25]}])" << "Change Shape Adjustment";
    QTest::newRow("outline point by point") << int(KVElementType::Freeform) << 1037
        << R"([{"type":7,"value":{"value":[{"x":0,"y":0},{"x":40,"y":0},{"x":40,"y":30}]}}])" << "Move Anchor Point";
    QTest::newRow("outline replaced") << int(KVElementType::Freeform) << 1038
        << R"([{"type":7,"value":{"value":[[0,0],[10,10]]}}])" << "";
}

void tst_Canvas::pageFormsBecomeActions()
{
    QFETCH(int, elementType);
    QFETCH(int, cmd);
    QFETCH(QString, params);
    QFETCH(QString, text);
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("forms"));
    QVERIFY(editor);
    KVScene *scene = editor->document()->currentScene();
    KVElement *element = KVElementFactory::createElement(elementType);
    if (auto *shape = qobject_cast<KVAutoShape *>(element))
        shape->setAdjustments({0.5}, KVLayoutKey::base());
    scene->addElement(element);
    // what the element shows, read the same way before, after and after the undo
    const auto state = [element] {
        // shapes are text boxes too: the most special kind first
        if (auto *freeform = qobject_cast<KVFreeFormShape *>(element))
            return QString::number(freeform->freeFormProperty(KVLayoutKey::base())->path().count());
        if (auto *shape = qobject_cast<KVAutoShape *>(element))
            return QString::number(shape->adjustments(KVLayoutKey::base()).value(0));
        return qobject_cast<KVText *>(element)->innerHtml(KVLayoutKey::base());
    };
    const QString before = state();
    QJsonArray jaParams = QJsonDocument::fromJson(params.toUtf8()).array();
    jaParams.prepend(intParam(element->id()));
    const QJsonObject request{{QStringLiteral("actions"), QJsonArray{QJsonObject{{QStringLiteral("cmd"), cmd},
                                                                                  {QStringLiteral("params"), jaParams}}}},
                              {QStringLiteral("sceneId"), scene->id()},
                              {QStringLiteral("symbolResourceId"), -1},
                              {QStringLiteral("text"), text}};
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nSteps = stack->count();
    editor->canvasView()->submitCommandFromJS(QString::fromUtf8(QJsonDocument(request).toJson()), false);
    // a text edit waits in the queue for its HTML to be normalised (here no helper page answers)
    QTRY_COMPARE_WITH_TIMEOUT(stack->count(), nSteps + 1, 5000);
    if (!text.isEmpty())
        QCOMPARE(stack->text(nSteps), text);
    const QString after = state();
    QVERIFY2(after != before, qPrintable(after));
    stack->undo();
    QCOMPARE(state(), before);
    stack->redo();
    QCOMPARE(state(), after);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::geometryAtAResponsiveLayoutIsAnOverride()
{
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("responsive"));
    QVERIFY(editor);
    KVDocument *doc = editor->document();
    const int nId = doc->breakpoints()->addHBreakpoint(500).nId;
    QVERIFY(nId > 0);
    const KVLayoutKey shown = doc->breakpoints()->currentLayout();
    QJsonObject request = QJsonDocument::fromJson(submitMove(doc->currentScene(), m_pDiv->id(), 300, 200).toUtf8()).object();
    request[QStringLiteral("responsive")] = true;
    request[QStringLiteral("hLayoutId")] = nId;
    editor->canvasView()->submitCommandFromJS(QString::fromUtf8(QJsonDocument(request).toJson()), false);
    const KVLayoutKey layout(nId, 0);
    QCOMPARE(m_pDiv->positionX(layout), 300.0);
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 10.0);
    // the container shows the layout it showed before the request
    QCOMPARE(doc->breakpoints()->currentLayout(), shown);
    QVERIFY(!doc->breakpoints()->isResponsiveMode());
    doc->getUndoStack()->undo();
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 10.0);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::badRequestsAreIgnored_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not JSON") << "{\"actions\": [" << "not a JSON object";
    QTest::newRow("array") << "[1, 2]" << "not a JSON object";
    QTest::newRow("unknown scene") << "SCENE=9999" << "scene 9999";
    QTest::newRow("unknown symbol") << "SYMBOL=77" << "symbol 77";
    QTest::newRow("unknown element") << "ELEMENT=4242" << "element 4242";
    QTest::newRow("no actions") << "NOACTIONS" << "without an action list";
    QTest::newRow("type not from the page") << "TYPE=65" << "type 65";
    QTest::newRow("codes without values") << "SHORT" << "1 codes and 0 values";
}

void tst_Canvas::badRequestsAreIgnored()
{
    QFETCH(QString, request);
    QFETCH(QString, reason);
    RecordingReporter rec;
    KVEditor *editor = openPopulatedProject(QStringLiteral("bad"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVScene *scene = editor->document()->currentScene();
    QJsonObject jo = QJsonDocument::fromJson(submitMove(scene, m_pDiv->id(), 500, 500).toUtf8()).object();
    QJsonObject move = jo.value(QStringLiteral("actions")).toArray().first().toObject();
    if (request.startsWith(QLatin1String("SCENE="))) {
        jo[QStringLiteral("sceneId")] = request.mid(6).toInt();
    } else if (request.startsWith(QLatin1String("SYMBOL="))) {
        jo[QStringLiteral("symbolResourceId")] = request.mid(7).toInt();
    } else if (request.startsWith(QLatin1String("ELEMENT="))) {
        QJsonArray params = move.value(QStringLiteral("params")).toArray();
        params[0] = intParam(request.mid(8).toInt());
        move[QStringLiteral("params")] = params;
    } else if (request == QLatin1String("NOACTIONS")) {
        jo.remove(QStringLiteral("actions"));
    } else if (request.startsWith(QLatin1String("TYPE="))) {
        move[QStringLiteral("cmd")] = request.mid(5).toInt();
    } else if (request == QLatin1String("SHORT")) {
        move[QStringLiteral("params")] = QJsonArray{intParam(m_pDiv->id()),
                                                    QJsonObject{{QStringLiteral("type"), KVCmdParam::IntList},
                                                                {QStringLiteral("value"), QJsonArray{0}}}};
    }
    if (!request.startsWith(QLatin1Char('{')) && !request.startsWith(QLatin1Char('['))) {
        if (jo.contains(QStringLiteral("actions")))
            jo[QStringLiteral("actions")] = QJsonArray{move};
        request = QString::fromUtf8(QJsonDocument(jo).toJson());
    }
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nSteps = stack->count();
    g_debugLines.clear();
    g_previousHandler = qInstallMessageHandler(recordMessage);
    canvas->submitCommandFromJS(request, false);
    qInstallMessageHandler(g_previousHandler);
    QCOMPARE(stack->count(), nSteps);
    QCOMPARE(m_pDiv->positionX(KVLayoutKey::base()), 10.0);
    QVERIFY2(g_debugLines.filter(reason).size() == 1, qPrintable(g_debugLines.join('\n')));
    QVERIFY(rec.entries().isEmpty());
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::resourceSchemeServesProjectFilesOnly()
{
    QTemporaryDir project;
    const QString folder = project.filePath(QStringLiteral("p_res"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/fonts")));
    QFile file(folder + QStringLiteral("/Logo.png"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("png");
    file.close();
    QFile secret(project.filePath(QStringLiteral("secret.txt")));
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.close();
    QCOMPARE(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://Logo.png")), folder),
             folder + QStringLiteral("/Logo.png"));
    // an address read as a host name comes lower-cased
    QCOMPARE(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://logo.png")), folder),
             folder + QStringLiteral("/Logo.png"));
    QCOMPARE(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource:Logo.png")), folder),
             folder + QStringLiteral("/Logo.png"));
    QVERIFY(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://../secret.txt")), folder).isEmpty());
    QVERIFY(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://fonts/../../secret.txt")), folder).isEmpty());
    QVERIFY(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://missing.png")), folder).isEmpty());
    QVERIFY(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://fonts")), folder).isEmpty());
    QVERIFY(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://Logo.png")), QString()).isEmpty());
    // nor through a link in the folder that leads out of it
    QVERIFY(QFile::link(project.filePath(QStringLiteral("secret.txt")), folder + QStringLiteral("/Link.png")));
    QVERIFY(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://Link.png")), folder).isEmpty());
    QVERIFY(KVResourceSchemeHandler::filePathFor(QUrl(QStringLiteral("resource://link.png")), folder).isEmpty());

    // the page of a project reads its project's file through the scheme
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("scheme"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QTRY_VERIFY_WITH_TIMEOUT(canvas->page()->title().startsWith(QStringLiteral("bound")), 20000);
    QImage image(7, 3, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(editor->document()->resourceFolderPath() + QStringLiteral("/note.png")));
    const QString load = QStringLiteral(
        "var i = new Image(); i.onload = () => { document.title = 'image ' + i.naturalWidth; };"
        " i.onerror = () => { document.title = 'refused'; }; i.src = '%1';");
    canvas->page()->runJavaScript(load.arg(QStringLiteral("resource://note.png")));
    QTRY_COMPARE_WITH_TIMEOUT(canvas->page()->title(), QStringLiteral("image 7"), 10000);
    canvas->page()->runJavaScript(load.arg(QStringLiteral("resource://nothing.png")));
    QTRY_COMPARE_WITH_TIMEOUT(canvas->page()->title(), QStringLiteral("refused"), 10000);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::thumbnailViewTellsWhenContentIsPainted()
{
    KVWebEngineView view;
    view.resize(200, 150);
    QSignalSpy rendered(&view, &KVWebEngineView::webContentRendered);
    QSignalSpy thumbnails(&view, &KVWebEngineView::requestCreateThumbnail);
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.setHtml(QStringLiteral("<body style='background:#c33'>thumbnail</body>"));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 10000);
    QTest::qWait(300);
    // nothing is told while the notification is off
    QCOMPARE(rendered.count(), 0);
    view.setRenderNotification(true);
    view.page()->runJavaScript(QStringLiteral("document.body.style.background = '#3c3';"));
    QTRY_VERIFY_WITH_TIMEOUT(rendered.count() > 0, 10000);
    QCOMPARE(thumbnails.count(), rendered.count());
    view.setRenderNotification(false);
    const int nRendered = rendered.count();
    const int nThumbnails = thumbnails.count();
    view.page()->runJavaScript(QStringLiteral("document.body.style.background = '#33c';"));
    QTest::qWait(300);
    QCOMPARE(rendered.count(), nRendered);
    QCOMPARE(thumbnails.count(), nThumbnails);
}

void tst_Canvas::mediaMeasuredByThePage()
{
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("media"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    auto *video = qobject_cast<KVMedia *>(KVElementFactory::createElement(KVElementType::Video));
    QVERIFY(video);
    editor->document()->currentScene()->addElement(video);
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nSteps = stack->count();
    // the first report sizes the video to its natural size
    canvas->exposingObject()->updateMediaProps(video->id(), 320, 180, 5000);
    QCOMPARE(video->duration(), 5000);
    QVERIFY(video->isMediaInfoLoaded());
    QCOMPARE(video->sizeW(), 320.0);
    QCOMPARE(video->sizeH(), 180.0);
    // a later one (the user may have resized it) only records the length
    canvas->exposingObject()->updateMediaProps(video->id(), 640, 360, 6000);
    QCOMPARE(video->duration(), 6000);
    QCOMPARE(video->sizeW(), 320.0);
    // nothing of it is an undo step; an unknown element changes nothing
    QCOMPARE(stack->count(), nSteps);
    canvas->exposingObject()->updateMediaProps(9999, 1, 1, 1);
    QCOMPARE(video->duration(), 6000);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::textEditedInThePage()
{
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("text"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    auto *textBox = qobject_cast<KVText *>(KVElementFactory::createElement(KVElementType::Text));
    QVERIFY(textBox);
    editor->document()->currentScene()->addElement(textBox);
    textBox->setInnerHtml(QStringLiteral("Old"), KVLayoutKey::base());
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nSteps = stack->count();
    QSignalSpy toPage(canvas->exposingObject(), &KVHTMLExposingCanvas::dataChangedToJS);
    // without a focused or selected text element nothing happens
    canvas->exposingObject()->editTextInnerHTML(QStringLiteral("Lost"));
    QTest::qWait(50);
    QCOMPARE(stack->count(), nSteps);
    canvas->exposingObject()->setFocusedItemId(textBox->id());
    canvas->exposingObject()->editTextInnerHTML(QStringLiteral("New <b>text</b>"));
    QTRY_COMPARE_WITH_TIMEOUT(stack->count(), nSteps + 1, 5000);
    QCOMPARE(stack->text(nSteps), QStringLiteral("Change Text"));
    QCOMPARE(textBox->innerHtml(KVLayoutKey::base()), QStringLiteral("New <b>text</b>"));
    // the page shows it already: no echo; its undo goes to the page
    QCOMPARE(toPage.count(), 0);
    stack->undo();
    QCOMPARE(textBox->innerHtml(KVLayoutKey::base()), QStringLiteral("Old"));
    QVERIFY(toPage.count() > 0);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::textActionsReachThePage_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("value");
    const QList<QPair<QString, QString>> commands = {
        {"Text.Align_Left", "justifyleft"},     {"Text.Align_Right", "justifyright"},
        {"Text.Align_Justify", "justifyfull"},  {"Text.Align_Center", "justifycenter"},
        {"Text.Bold", "bold"},                  {"Text.Italic", "italic"},
        {"Text.Underline", "underline"},        {"Text.Strike_through", "strikethrough"},
        {"Text.Super_script", "superscript"},   {"Text.Sub_script", "subscript"}};
    for (const auto &command : commands)
        QTest::newRow(qPrintable(command.first)) << command.first << true << command.second << QString();
    QTest::newRow("Paste as Plain Text") << "Text.Paste_As_Plain" << true << "insertText" << "plain <b>words</b>";
    QTest::newRow("bold while no text is edited") << "Text.Bold" << false << QString() << QString();
}

void tst_Canvas::textActionsReachThePage()
{
    QFETCH(QString, action);
    QFETCH(bool, editing);
    QFETCH(QString, command);
    QFETCH(QString, value);
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("textactions"));
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QGuiApplication::clipboard()->setText(QStringLiteral("plain <b>words</b>"));
    canvas->exposingObject()->setEditingText(editing, 10, 20);
    QSignalSpy toPage(canvas->exposingObject(), &KVHTMLExposingCanvas::execTextEditorCommand);
    QAction *pAction = ICore::instance()->actionManager()->getAction(action);
    QVERIFY(pAction);
    pAction->trigger();
    if (command.isEmpty()) {
        QCOMPARE(toPage.count(), 0);
    } else {
        QCOMPARE(toPage.count(), 1);
        QCOMPARE(toPage.at(0).at(0).toString(), command);
        QCOMPARE(toPage.at(0).at(1).toString(), value);
    }
    canvas->exposingObject()->setEditingText(false);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Canvas::nothingListensForPages()
{
    // Pages get their channels in-process: with the welcome page and a canvas page connected, the
    // application listens on no port a local process could reach them through.
    RecordingReporter rec;
    KVEditor *editor = openProject(QStringLiteral("listening"));
    QVERIFY(editor);
    QTRY_VERIFY_WITH_TIMEOUT(editor->canvasView()->page()->title().startsWith(QStringLiteral("bound ")), 20000);
    QVERIFY(QFileInfo::exists(QStringLiteral("/proc/self/net/tcp")));
    QCOMPARE(listeningSocketInodes(), QSet<QString>());
    // the check sees a listening socket when there is one
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QCOMPARE(listeningSocketInodes().size(), 1);
    server.close();
    QVERIFY(m_window->closeAllDocuments());
}

KAVIO_WEBENGINE_TEST_MAIN(tst_Canvas)
#include "tst_canvas.moc"
