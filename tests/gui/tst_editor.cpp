// Project documents in the running application: New, Open, Save, Close through the main window,
// one editor per document, tab titles, the canvas page address and the recent-projects list.
#include "plugin/KVDesignerPlugin.h"
#include "plugin/KVEditor.h"
#include "plugin/KVLocationManager.h"
#include "plugin/KVNewProjectDialog.h"

#include "document/KVDocument.h"
#include "document/KVPreloader.h"

#include "ActionManager.h"
#include "DocumentManager.h"
#include "EditorManager.h"
#include "ICore.h"
#include "IDocumentFactory.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QDesktopServices>
#include <QImage>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWebEngineView>

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
    void tabTitles();
    void exampleOpensWithTheRulesApplied();

private:
    IDocument *newProject(const QString &name);
    IDocumentFactory *factory() const { return PluginManager::getObject<IDocumentFactory>(); }

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
};

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
    QVERIFY(m_window->saveDocument());
    QVERIFY(QFileInfo(file).size() > 0);
    QVERIFY(doc->getUndoStack()->isClean());
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
    const QString folder = m_dir.filePath(QStringLiteral("example"));
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"),
                        folder + QStringLiteral("/banner.kavio")));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"),
                        folder + QStringLiteral("/banner_res/logo.png")));
    QVERIFY(m_window->openDocument(folder + QStringLiteral("/banner.kavio")));
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
    // Elements have no clipboard yet: Copy and Paste are not offered, and their shortcuts stay
    // with the page (text being edited on the stage copies and pastes itself).
    QVERIFY(!am->getAction(QStringLiteral("Edit.Copy"))->isEnabled());
    QVERIFY(!am->getAction(QStringLiteral("Edit.Paste"))->isEnabled());
    QTest::qWait(300);
    const QString out = KVTestEnvironment::binaryDir() + QStringLiteral("/test-artifacts/editor-with-example.png");
    QDir().mkpath(QFileInfo(out).absolutePath());
    const QImage shot = m_window->grab().toImage();
    QVERIFY(shot.save(out));
    QVERIFY(m_window->getMdiArea()->activeSubWindow());
    QCOMPARE(m_window->getMdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("banner[*]"));
    QVERIFY(m_window->closeAllDocuments());
}

KAVIO_WEBENGINE_TEST_MAIN(tst_Editor)
#include "tst_editor.moc"
