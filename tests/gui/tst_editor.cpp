// Project documents in the running application: New, Open, Save, Close through the main window,
// one editor per document, tab titles, the canvas page address and the recent-projects list; the
// question before unsaved work is closed, and the backup an ended process leaves.
#include "plugin/KVDesignerPlugin.h"
#include "plugin/KVEditor.h"
#include "plugin/KVLocationManager.h"
#include "plugin/KVNewProjectDialog.h"

#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "document/KVDocument.h"
#include "document/KVPreloader.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include "ActionManager.h"
#include "DocumentManager.h"
#include "FileDialogs.h"
#include "EditorManager.h"
#include "ICore.h"
#include "IDocumentFactory.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QSignalSpy>
#include <QWebSocket>
#include <QDesktopServices>
#include <QImage>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWebEngineView>

#include <algorithm>
#include <csignal>

using ExtensionSystem::PluginManager;

class tst_Editor : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void newProjectGetsAnEditor();
    void openSaveCloseAndRecentFiles();
    void oneEditorPerDocument();
    void previewActionServesTheProject();
    void exportAsZipIsCheckedForAds();
    void tabTitles();
    void exampleOpensWithTheRulesApplied();
    void closingAsksBeforeLosingWork_data();
    void closingAsksBeforeLosingWork();
    void endedProcessLeavesABackup_data();
    void endedProcessLeavesABackup();

private:
    IDocument *newProject(const QString &name);
    QString copyExample(const QString &folderName);
    IDocumentFactory *factory() const { return PluginManager::getObject<IDocumentFactory>(); }

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    int m_nProjects = 0;
};

namespace {
QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A change of the project through the command framework, as the inspector makes it.
void changeTitle(KVDocument *doc, const QString &title)
{
    auto *command = new KVCommand(doc, QStringLiteral("Change Title"));
    auto *action = new KVCommandAction(KVCommandAction::DocumentTitle, doc, 1);
    action->addParam(KVCmdParam::makeString(title));
    command->addAction(action);
    doc->submitCommand(command, true);
}
} // namespace

void tst_Editor::initTestCase()
{
    QFile::remove(KVTestEnvironment::settingsPath());
    m_manager.reset(new PluginManager);
    PluginManager::setSettingsPath(KVTestEnvironment::settingsPath());
    PluginManager::setPluginPaths({KVTestEnvironment::binaryDir() + QStringLiteral("/lib/kavio/plugins")});
    m_window.reset(new MainWindow);
    m_core.reset(new ICore(m_window.data()));
    QVERIFY2(PluginManager::loadPlugins(), qPrintable(PluginManager::errors().join('\n')));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
}

void tst_Editor::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

IDocument *tst_Editor::newProject(const QString &name)
{
    KVNewProjectDialog dialog;
    dialog.locationEdit()->setText(m_dir.path());
    dialog.nameEdit()->setText(name);
    dialog.accept();
    if (dialog.result() != QDialog::Accepted)
        return nullptr;
    IDocument *doc = factory()->createDocument();
    if (!doc->createNew(&dialog)) {
        delete doc;
        return nullptr;
    }
    return doc;
}

void tst_Editor::newProjectGetsAnEditor()
{
    RecordingReporter rec;
    IDocument *doc = newProject(QStringLiteral("promo"));
    QVERIFY(doc);
    QCOMPARE(doc->getFileName(), m_dir.filePath(QStringLiteral("promo/promo.kavio")));
    QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("promo/promo_res"))).isDir());
    auto *editor = qobject_cast<KVEditor *>(m_window->loadOpenedDocument(doc, true));
    QVERIFY(editor);
    QCOMPARE(m_core->editorManager()->activeEditor(), editor);
    QTRY_VERIFY(m_window->getMdiArea()->activeSubWindow());
    QMdiSubWindow *sub = m_window->getMdiArea()->activeSubWindow();
    QTRY_COMPARE(sub->windowTitle(), QStringLiteral("promo[*]"));
    QVERIFY(!sub->isWindowModified());
    // the canvas page address is the page alone: its channel comes in-process
    const QUrl url = editor->canvasUrl();
    QVERIFY(url.path().endsWith(QStringLiteral("/resources/canvas/index.html")));
    QVERIFY(!url.hasQuery());
    QCOMPARE(editor->canvasView()->page()->requestedUrl(), url);
    // a change marks the tab, an undo clears it
    doc->getUndoStack()->push(new QUndoCommand(QStringLiteral("Change")));
    QTRY_VERIFY(sub->isWindowModified());
    doc->getUndoStack()->undo();
    QTRY_VERIFY(!sub->isWindowModified());
    QVERIFY(rec.entries().isEmpty());
    QVERIFY(m_window->closeDocument(doc));
    QTRY_VERIFY(m_core->editorManager()->getEditors().isEmpty());
}

void tst_Editor::openSaveCloseAndRecentFiles()
{
    RecordingReporter rec;
    IDocument *doc = newProject(QStringLiteral("saved"));
    QVERIFY(doc);
    const QString file = doc->getFileName();
    QVERIFY(m_window->loadOpenedDocument(doc, true));
    doc->getUndoStack()->push(new QUndoCommand(QStringLiteral("Change")));
    QVERIFY(!m_window->recentFiles().contains(file)); // nothing on disk yet
    QVERIFY(m_window->saveDocument());
    QVERIFY(QFileInfo(file).size() > 0);
    QVERIFY(doc->getUndoStack()->isClean());
    QCOMPARE(m_window->recentFiles().value(0), file); // a new project joins the list at its first save
    QVERIFY(m_window->closeDocument(doc));
    QTRY_VERIFY(m_core->documentManager()->getDocuments().isEmpty());

    // open it again through the main window, as File > Open or a recent project does
    QVERIFY(m_window->openDocument(file));
    QCOMPARE(m_core->documentManager()->getDocuments().size(), 1);
    QCOMPARE(QFileInfo(m_core->documentManager()->getDocuments().first()->getFileName()).canonicalFilePath(),
             QFileInfo(file).canonicalFilePath());
    QVERIFY(m_window->recentFiles().contains(QFileInfo(file).absoluteFilePath()));
    QVERIFY(m_window->closeAllDocuments());
    QTRY_VERIFY(m_core->editorManager()->getEditors().isEmpty());

    // a file that is not a project: a clear message, nothing opened
    const QString garbage = m_dir.filePath(QStringLiteral("garbage.kavio"));
    QFile f(garbage);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is not JSON");
    f.close();
    QVERIFY(!m_window->openDocument(garbage));
    QCOMPARE(rec.lastText(), QStringLiteral("The project file format is invalid."));
    QVERIFY(m_core->documentManager()->getDocuments().isEmpty());
}

void tst_Editor::oneEditorPerDocument()
{
    RecordingReporter rec;
    IDocument *doc = newProject(QStringLiteral("single"));
    QVERIFY(doc);
    const QString file = doc->getFileName();
    QVERIFY(doc->save());
    IEditor *first = m_window->loadOpenedDocument(doc, true);
    QVERIFY(first);
    // opening the same project again activates its editor instead of making a second one
    QVERIFY(m_window->openDocument(file));
    QCOMPARE(m_core->editorManager()->getEditors().size(), 1);
    QCOMPARE(m_core->editorManager()->activeEditor(), first);
    QVERIFY(m_window->closeAllDocuments());
}

// Stands in for the desktop's browser: keeps the address it was asked to open.
class BrowserStandIn : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

void tst_Editor::previewActionServesTheProject()
{
    RecordingReporter rec;
    BrowserStandIn browser;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
    auto cleanup = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); });
    IDocument *doc = newProject(QStringLiteral("previewed"));
    QVERIFY(doc);
    QVERIFY(m_window->loadOpenedDocument(doc, true));
    QAction *preview = m_core->actionManager()->getAction(QStringLiteral("File.Preview_Project_In_Browser"));
    QVERIFY(preview && preview->isVisible());
    preview->trigger();
    QCOMPARE(browser.opened.size(), 1);
    const QUrl url = browser.opened.first();
    QCOMPARE(url.host(), QStringLiteral("127.0.0.1"));
    QVERIFY2(url.path().endsWith(QStringLiteral("/previewed_res/preview/previewed.html")), qPrintable(url.toString()));
    QVERIFY(QFileInfo::exists(m_dir.filePath(QStringLiteral("previewed/previewed_res/preview/kvplayer.js"))));
    // the preview server answers for the page
    QNetworkAccessManager nam;
    QNetworkReply *reply = nam.get(QNetworkRequest(url));
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    QVERIFY(reply->readAll().contains("openDoc('previewed.js'"));
    delete reply;
    QVERIFY(rec.entries().isEmpty());

    // Without an opener for the address, the preview says the browser could not be started.
    cleanup.dismiss();
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    const QByteArray path = qgetenv("PATH");
    const QByteArray browserVariable = qgetenv("BROWSER");
    qputenv("PATH", "/nonexistent");
    qunsetenv("BROWSER");
    m_core->actionManager()->getAction(QStringLiteral("File.Preview_Current_Scene_In_Browser"))->trigger();
    qputenv("PATH", path);
    if (!browserVariable.isEmpty())
        qputenv("BROWSER", browserVariable);
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("Unable to preview current scene in default browser.")});

    // Once the project is closed, its folder is no longer served and its preview files are gone.
    QVERIFY(m_window->closeAllDocuments());
    reply = nam.get(QNetworkRequest(url));
    QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 403);
    delete reply;
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("previewed/previewed_res/preview/kvplayer.js"))));
}

// The application loads the web engine, which brings a ZIP library of its own: the export's
// archive must still be written and read in that company.
void tst_Editor::exportAsZipIsCheckedForAds()
{
    RecordingReporter rec;
    const QString file = copyExample(QStringLiteral("zipped"));
    QVERIFY(!file.isEmpty());
    // An ad goes without embedded fonts (its networks take no font files).
    QFile project(file);
    QVERIFY(project.open(QIODevice::ReadWrite));
    const QByteArray text = project.readAll().replace("\"embedSytemFont\":true", "\"embedSytemFont\":false");
    QVERIFY(project.resize(0) && project.write(text) == text.size());
    project.close();
    QVERIFY(m_window->openDocument(file));
    QStringList captions;
    const QString zip = m_dir.filePath(QStringLiteral("delivery/spring"));
    FileDialogs::setAnswerer([&](FileDialogs::Kind eKind, const QString &caption) {
        captions << caption;
        return eKind == FileDialogs::SaveFile ? QStringList{zip} : QStringList();
    });
    auto cleanup = qScopeGuard([] { FileDialogs::setAnswerer(FileDialogs::Answerer()); });
    rec.answerNamed(QStringLiteral("As ZIP"));
    rec.answerNamed(QStringLiteral("Close"));
    m_core->actionManager()->getAction(QStringLiteral("File.Export_To_HTML5"))->trigger();
    QCOMPARE(captions, QStringList{QStringLiteral("Export to HTML5 as ZIP")});
    QCOMPARE(rec.unansweredQuestions(), 0);
    // The name gets its ".zip"; the example passes the Google Ads and IAB profiles and lacks a click tag.
    QVERIFY(QFileInfo(zip + QStringLiteral(".zip")).isFile());
    const auto report = std::find_if(rec.entries().cbegin(), rec.entries().cend(),
                                     [](const RecordingReporter::Entry &e) { return e.title == QLatin1String("Ad check"); });
    QVERIFY(report != rec.entries().cend());
    QCOMPARE(report->severity, IReporter::Warning);
    QVERIFY2(report->text.contains(QStringLiteral("google-ads: passed\niab: passed"))
                 && report->text.contains(QStringLiteral("campaign-manager: 1 problem(s)\n  - banner.html: the page "
                                                         "declares no click tag")),
             qPrintable(report->text));
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Editor::tabTitles()
{
    RecordingReporter rec;
    IDocument *doc = newProject(QStringLiteral("titled"));
    QVERIFY(doc);
    auto *kv = qobject_cast<KVDocument *>(doc);
    QVERIFY(kv);
    bool bModified = true;
    QCOMPARE(KVEditor::tabTitle(kv, &bModified), QStringLiteral("titled[*]"));
    QVERIFY(!bModified);
    doc->getUndoStack()->push(new QUndoCommand(QStringLiteral("Change")));
    QCOMPARE(KVEditor::tabTitle(kv, &bModified), QStringLiteral("titled[*]"));
    QVERIFY(bModified);
    doc->getUndoStack()->setClean();
    kv->setOpenAsBackup(true);
    QCOMPARE(KVEditor::tabTitle(kv, &bModified), QStringLiteral("titled - backup[*]"));
    QVERIFY(bModified);
    kv->setOpenAsBackup(false);
    kv->setIsTempDocument(true);
    KVEditor::tabTitle(kv, &bModified);
    QVERIFY(bModified);
    kv->setIsTempDocument(false);
    QVERIFY(kv->loadPreloader());
    QVERIFY(kv->preloaderDocument());
    QCOMPARE(KVEditor::tabTitle(kv->preloaderDocument(), &bModified), QStringLiteral("titled - preloader[*]"));
    delete doc;
}

void tst_Editor::exampleOpensWithTheRulesApplied()
{
    RecordingReporter rec;
    const QString file = copyExample(QStringLiteral("example"));
    QVERIFY(!file.isEmpty());
    QVERIFY(m_window->openDocument(file));
    ActionManager *am = m_core->actionManager();
    // the example has scenes: preview and export are offered; nothing is selected: no sizing
    QTRY_VERIFY(am->getAction(QStringLiteral("File.Preview_Project_In_Browser"))->isEnabled());
    QVERIFY(am->getAction(QStringLiteral("File.Export_To_HTML5"))->isEnabled());
    QVERIFY(!am->getAction(QStringLiteral("Edit.Size.Same_Width"))->isEnabled());
    QVERIFY(!am->getAction(QStringLiteral("Edit.Group_Elements.Group"))->isEnabled());
    // A selection made on the stage (no undo step) offers sizing, grouping and aligning at once.
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    QVERIFY(editor);
    editor->canvasView()->onSelectAll();
    QVERIFY(am->getAction(QStringLiteral("Edit.Size.Same_Width"))->isEnabled());
    QVERIFY(am->getAction(QStringLiteral("Edit.Group_Elements.Group"))->isEnabled());
    QVERIFY(am->getAction(QStringLiteral("Edit.Alignment.Left"))->isEnabled());
    editor->canvasView()->deselectAll();
    QVERIFY(!am->getAction(QStringLiteral("Edit.Size.Same_Width"))->isEnabled());
    // Next Scene and Previous Scene walk the project's two scenes on the stage, no undo step.
    KVDocument *doc = editor->document();
    QAction *next = am->getAction(QStringLiteral("Scene.Next_Scene"));
    QAction *previous = am->getAction(QStringLiteral("Scene.Previous_Scene"));
    QVERIFY(next->isEnabled() && !previous->isEnabled());
    next->trigger();
    QCOMPARE(editor->canvasView()->currentScene(), doc->sceneList()->at(1));
    QCOMPARE(doc->sceneList()->selectedScenes(), QList<KVScene *>{doc->sceneList()->at(1)});
    QVERIFY(!next->isEnabled() && previous->isEnabled());
    previous->trigger();
    QCOMPARE(editor->canvasView()->currentScene(), doc->sceneList()->at(0));
    QVERIFY(!doc->isModified());
    // Nothing is selected and the clipboard holds no elements: Copy and Paste are not offered.
    QVERIFY(!am->getAction(QStringLiteral("Edit.Copy"))->isEnabled());
    QVERIFY(!am->getAction(QStringLiteral("Edit.Paste"))->isEnabled());
    QTest::qWait(300);
    const QString out = KVTestEnvironment::binaryDir() + QStringLiteral("/test-artifacts/editor-with-example.png");
    QDir().mkpath(QFileInfo(out).absolutePath());
    const QImage shot = m_window->grab().toImage();
    QVERIFY(shot.save(out));
    // The current sub-window, which stays so while another program's window has the focus.
    QVERIFY(m_window->getMdiArea()->currentSubWindow());
    QCOMPARE(m_window->getMdiArea()->currentSubWindow()->windowTitle(), QStringLiteral("banner[*]"));
    QVERIFY(m_window->closeAllDocuments());
}

QString tst_Editor::copyExample(const QString &folderName)
{
    const QString folder = m_dir.filePath(folderName);
    const QString from = KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/");
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    for (const char *name : {"banner.kavio", "banner_res/logo.png"}) {
        if (!QFile::copy(from + QLatin1String(name), folder + QLatin1Char('/') + QLatin1String(name)))
            return QString();
    }
    return folder + QStringLiteral("/banner.kavio");
}

void tst_Editor::closingAsksBeforeLosingWork_data()
{
    // How the user closes a modified project, the answer to "Save changes to ...", and whether the
    // save fails (a save refused at the format question).
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveFails");
    QTest::addColumn<bool>("temporary"); // unmodified, but a copy that goes at close (as "Open Both" makes)
    for (const char *route : {"File.Close", "File.Close_All", "File.Close_All_But_This", "tab", "window", "File.Exit"}) {
        QTest::addRow("%s save", route) << route << int(IReporter::Save) << false << false;
        QTest::addRow("%s discard", route) << route << int(IReporter::Discard) << false << false;
        QTest::addRow("%s cancel", route) << route << int(IReporter::Cancel) << false << false;
        QTest::addRow("%s save fails", route) << route << int(IReporter::Save) << true << false;
    }
    QTest::addRow("temporary save") << "File.Close" << int(IReporter::Save) << false << true;
    QTest::addRow("temporary discard") << "File.Close" << int(IReporter::Discard) << false << true;
}

void tst_Editor::closingAsksBeforeLosingWork()
{
    QFETCH(QString, route);
    QFETCH(int, answer);
    QFETCH(bool, saveFails);
    QFETCH(bool, temporary);
    const bool bCloses = answer != IReporter::Cancel && !saveFails;
    RecordingReporter rec;
    QApplication::setQuitOnLastWindowClosed(false);
    const QString name = QStringLiteral("work%1").arg(++m_nProjects);
    // A saved, untouched project beside it, which asks nothing: the one "Close All But This" keeps.
    IDocument *kept = newProject(name + QStringLiteral("-kept"));
    QVERIFY(kept && kept->save() && m_window->loadOpenedDocument(kept, true));
    auto *work = qobject_cast<KVDocument *>(newProject(name));
    QVERIFY(work && work->save() && m_window->loadOpenedDocument(work, true));
    const QString file = work->getFileName();
    const QByteArray before = fileBytes(file);
    if (temporary)
        work->setIsTempDocument(true);
    else
        changeTitle(work, QStringLiteral("Spring sale"));
    rec.answer(IReporter::Button(answer));
    if (saveFails) {
        work->setDocVersion(2); // the save asks before writing the current format; No fails it
        rec.answer(IReporter::No);
    }
    if (route == QLatin1String("tab"))
        m_window->getMdiArea()->activeSubWindow()->close();
    else if (route == QLatin1String("window"))
        m_window->close(); // as the window manager's close button does
    else if (route == QLatin1String("File.Close_All_But_This"))
        m_window->loadOpenedDocument(kept, true);
    if (route.startsWith(QLatin1String("File.")))
        m_core->actionManager()->getAction(route)->trigger();
    QTRY_COMPARE(rec.pendingAnswers(), 0);
    QCOMPARE(rec.entries().first().text, QStringLiteral("Save changes to %1.kavio before closing?").arg(name));
    QCOMPARE(m_core->documentManager()->documentForFile(file) != nullptr, !bCloses);
    const QByteArray after = fileBytes(file);
    if (temporary)
        QCOMPARE(QFileInfo::exists(file), answer == IReporter::Save);
    else if (!after.contains("Spring sale"))
        QCOMPARE(after, before);
    QCOMPARE(after.contains("Spring sale"), answer == IReporter::Save && !saveFails && !temporary);
    // Closing the window closes every project, unless one stays open.
    if (route == QLatin1String("window") || route == QLatin1String("File.Exit"))
        QCOMPARE(m_window->isVisible(), !bCloses);
    m_window->show();
    rec.clear();
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

namespace {
// Runs a script in the canvas page of another process through Chromium's remote debugging.
QVariant evaluateRemote(QWebSocket &socket, const QString &script)
{
    const QJsonObject params{{QStringLiteral("expression"), script}, {QStringLiteral("returnByValue"), true}};
    socket.sendTextMessage(QString::fromUtf8(QJsonDocument(QJsonObject{
        {QStringLiteral("id"), 1}, {QStringLiteral("method"), QStringLiteral("Runtime.evaluate")},
        {QStringLiteral("params"), params}}).toJson(QJsonDocument::Compact)));
    QSignalSpy replies(&socket, &QWebSocket::textMessageReceived);
    if (!replies.wait(10000))
        return QVariant();
    return QJsonDocument::fromJson(replies.first().first().toString().toUtf8())
        .object().value(QStringLiteral("result")).toObject().value(QStringLiteral("result")).toObject()
        .value(QStringLiteral("value")).toVariant();
}
} // namespace

void tst_Editor::endedProcessLeavesABackup_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

void tst_Editor::endedProcessLeavesABackup()
{
    QFETCH(int, signalNumber);
    const QString file = copyExample(QStringLiteral("ended%1").arg(signalNumber));
    const QByteArray saved = fileBytes(file);
    QTemporaryDir home;
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 nPort = probe.serverPort();
    probe.close();
    // The application, in a home of its own, its pages open to remote debugging on 127.0.0.1.
    QProcess studio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("KAVIO_SETTINGS_PATH"), home.filePath(QStringLiteral("settings.ini")));
    env.insert(QStringLiteral("QTWEBENGINE_REMOTE_DEBUGGING"), QStringLiteral("127.0.0.1:%1").arg(nPort));
    studio.setProcessEnvironment(env);
    studio.start(KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio-studio"), {file});
    auto stop = qScopeGuard([&studio] { studio.kill(); studio.waitForFinished(); });
    QNetworkAccessManager nam;
    QUrl debugger;
    QTRY_VERIFY_WITH_TIMEOUT([&] {
        QScopedPointer<QNetworkReply> reply(nam.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/json").arg(nPort)))));
        QSignalSpy(reply.data(), &QNetworkReply::finished).wait(2000);
        for (const QJsonValue &v : QJsonDocument::fromJson(reply->readAll()).array()) {
            if (v[QStringLiteral("url")].toString().endsWith(QStringLiteral("/canvas/index.html")))
                debugger = QUrl(v[QStringLiteral("webSocketDebuggerUrl")].toString());
        }
        return debugger.isValid();
    }(), 60000);
    QWebSocket socket;
    socket.open(debugger);
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::ConnectedState, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(evaluateRemote(socket, QStringLiteral("!!(window.kvCanvasPage && kvCanvasPage.ids().length)")).toBool(), 30000);
    // The user draws a rectangle on the stage: once the editor has it, the page shows it.
    const QString count = QStringLiteral("kvCanvasPage.ids().length");
    const int nElements = evaluateRemote(socket, count).toInt();
    evaluateRemote(socket, QStringLiteral("kvCanvasPage.draw('insertRectangle', {x: 20, y: 20}, {x: 80, y: 60})"));
    QTRY_COMPARE_WITH_TIMEOUT(evaluateRemote(socket, count).toInt(), nElements + 1, 10000);

    ::kill(pid_t(studio.processId()), signalNumber);
    QVERIFY(studio.waitForFinished(30000));
    QCOMPARE(studio.exitCode(), 128 + signalNumber);
    QCOMPARE(fileBytes(file), saved);
    const QByteArray backup = fileBytes(QFileInfo(file).path() + QStringLiteral("/banner.kaviobak"));
    QVERIFY(QJsonDocument::fromJson(backup).isObject() && backup != saved);

    // The next open offers the backup, which holds the rectangle; given up, the saved project is back.
    RecordingReporter rec;
    rec.answerNamed(QStringLiteral("Open Backup"));
    QVERIFY(m_window->openDocument(file));
    QVERIFY(rec.lastText().startsWith(QStringLiteral("The project was closed unexpectedly")));
    QCOMPARE(fileBytes(file), backup);
    rec.answer(IReporter::No);
    QVERIFY(m_window->closeAllDocuments());
    QCOMPARE(fileBytes(file), saved);
}

KAVIO_WEBENGINE_TEST_MAIN(tst_Editor)
#include "tst_editor.moc"
