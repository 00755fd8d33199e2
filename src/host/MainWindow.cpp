#include "MainWindow.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "DocumentManager.h"
#include "EditorManager.h"
#include "ICore.h"
#include "ICreateDocumentDlg.h"
#include "IDocument.h"
#include "IDocumentFactory.h"
#include "IEditor.h"
#include "ContextAction.h"
#include "IOptionsDlg.h"
#include "PluginManager.h"
#include "Reporter.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QToolBar>
#include <QUndoGroup>
#include <QUndoStack>

namespace {
const QString kRecentFiles = QStringLiteral("RecentFiles/List");
}

MainWindow::MainWindow(QWidget *pParent)
    : QMainWindow(pParent)
    , m_pMdiArea(new QMdiArea(this))
    , m_pFileToolbar(new QToolBar(tr("File"), this))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Kavio Studio"));
    m_pMdiArea->setViewMode(QMdiArea::TabbedView);
    m_pMdiArea->setTabsClosable(true);
    m_pMdiArea->setTabsMovable(true);
    m_pMdiArea->setDocumentMode(true);
    setCentralWidget(m_pMdiArea);
    m_pFileToolbar->setObjectName(QStringLiteral("FileToolbar"));
    addToolBar(Qt::TopToolBarArea, m_pFileToolbar);
    connect(m_pMdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::onSubWindowActivated);
    resize(1280, 800);
}

MainWindow::~MainWindow() = default;

void MainWindow::createFileActions()
{
    if (m_pFileMenu)
        return;
    ICore *core = ICore::instance();
    ActionManager *am = core ? core->actionManager() : nullptr;
    if (!am)
        return;
    ActionContainer *bar = am->createMenuBarContainer(QStringLiteral("MenuBar"), menuBar());
    ActionContainer *file = am->createMenuContainer(QStringLiteral("MenuBar.File"), tr("&File"));
    ActionContainer *edit = am->createMenuContainer(QStringLiteral("MenuBar.Edit"), tr("&Edit"));
    ActionContainer *view = am->createMenuContainer(QStringLiteral("MenuBar.View"), tr("&View"));
    ActionContainer *help = am->createMenuContainer(QStringLiteral("MenuBar.Help"), tr("&Help"));
    for (ActionContainer *c : {file, edit, view, help})
        bar->addMenu(c);
    m_pFileMenu = file->menu();

    auto make = [&](ActionContainer *into, const QString &id, const QString &text, const QKeySequence &key,
                    auto slot) {
        auto *a = new QAction(text, this);
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        if (into)
            into->addAction(a);
        am->registerAction(a, id);
        return a;
    };
    auto plain = [&](ActionContainer *into, const QString &id, const QString &text) {
        auto *a = new QAction(text, this);
        if (into)
            into->addAction(a);
        am->registerAction(a, id);
        return a;
    };
    QAction *aNew = make(file, QStringLiteral("File.New"), tr("&New Project..."), QKeySequence::New,
                         [this] { newDocument(); });
    QAction *aOpen = make(file, QStringLiteral("File.Open"), tr("&Open..."), QKeySequence::Open,
                          [this] { openDocument(); });
    m_pRecentMenu = m_pFileMenu->addMenu(tr("Open &Recent"));
    m_pRecentMenu->setObjectName(QStringLiteral("File.RecentFiles"));
    for (int i = 0; i < maxRecentFiles(); ++i) {
        auto *a = new QAction(this);
        a->setVisible(false);
        connect(a, &QAction::triggered, this, [this, a] { openDocument(a->data().toString()); });
        m_pRecentMenu->addAction(a);
        m_recentActions << a;
    }
    file->addSeparator();
    QAction *aSave = make(file, QStringLiteral("File.Save"), tr("&Save"), QKeySequence::Save, [this] { saveDocument(); });
    ActionContainer *saveAs = am->createMenuContainer(QStringLiteral("File.SaveAs"), tr("Save &As"));
    file->addMenu(saveAs);
    make(saveAs, QStringLiteral("File.SaveAs.Project"), tr("Project..."), QKeySequence::SaveAs,
         [this] { saveDocumentAs(); });
    saveAs->setEnabled(false);
    file->addSeparator();
    plain(file, QStringLiteral("File.Preview_Current_Scene_In_Browser"), tr("Preview Current Scene in Browser"));
    plain(file, QStringLiteral("File.Preview_Project_In_Browser"), tr("Preview Project in Browser"));
    plain(file, QStringLiteral("File.Export_To_HTML5"), tr("Export to HTML5..."));
    file->addSeparator();
    make(file, QStringLiteral("File.Close"), tr("&Close"), QKeySequence::Close, [this] { closeDocument(); });
    make(file, QStringLiteral("File.Close_All"), tr("Close A&ll"), QKeySequence(), [this] { closeAllDocuments(); });
    make(file, QStringLiteral("File.Close_All_But_This"), tr("Close All &But This"), QKeySequence(),
         [this] { closeAllButActive(); });
    file->addSeparator();
    make(file, QStringLiteral("File.Exit"), tr("E&xit"), QKeySequence::Quit, [this] { close(); });

    QUndoGroup *undo = core->documentManager()->getUndoGroup();
    QAction *aUndo = undo->createUndoAction(this, tr("Undo"));
    aUndo->setShortcut(QKeySequence::Undo);
    QAction *aRedo = undo->createRedoAction(this, tr("Redo"));
    aRedo->setShortcut(QKeySequence::Redo);
    am->registerAction(aUndo, QStringLiteral("Edit.Undo"))->setDescription(tr("Undo"));
    am->registerAction(aRedo, QStringLiteral("Edit.Redo"))->setDescription(tr("Redo"));
    edit->addAction(aUndo);
    edit->addAction(aRedo);
    edit->addSeparator();
    // The Edit menu holds Preferences; where the platform keeps it elsewhere the menu role moves it there.
    QAction *aPreferences = make(edit, QStringLiteral("Edit.Preferences"), tr("Preferences..."), QKeySequence::Preferences,
         [this] {
             if (IOptionsDlg *dlg = getOptionsDialog()) {
                 dlg->initValues();
                 if (dlg->exec() == QDialog::Accepted)
                     dlg->saveChanges();
             }
         });
    aPreferences->setMenuRole(QAction::PreferencesRole);

    plain(help, QStringLiteral("Help.About"), tr("&About Kavio Studio"));
    plain(help, QStringLiteral("Help.Community"), tr("Community"));
    plain(help, QStringLiteral("Help.CheckUpdates"), tr("Check for Updates..."));

    m_pFileToolbar->addAction(aNew);
    m_pFileToolbar->addAction(aOpen);
    m_pFileToolbar->addAction(aSave);
    updateRecentFileActions();
}

bool MainWindow::saveDocumentAs()
{
    IEditor *editor = ICore::instance() ? ICore::instance()->editorManager()->activeEditor() : nullptr;
    return editor && editor->getDocument() && editor->getDocument()->saveAs();
}

void MainWindow::setWelcomeWidget(QWidget *pWidget)
{
    createFileActions();
    if (m_pWelcome == pWidget)
        return;
    delete m_pWelcome;
    m_pWelcome = pWidget;
    if (!pWidget)
        return;
    QWidget *viewport = m_pMdiArea->viewport();
    auto *layout = qobject_cast<QHBoxLayout *>(viewport->layout());
    if (!layout) {
        layout = new QHBoxLayout(viewport);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    layout->addWidget(pWidget);
    updateWelcomeVisibility();
}

void MainWindow::updateWelcomeVisibility()
{
    if (m_pWelcome)
        m_pWelcome->setVisible(m_pMdiArea->subWindowList().isEmpty());
}

IDocumentFactory *MainWindow::factory() const
{
    return ExtensionSystem::PluginManager::getObject<IDocumentFactory>();
}

QMdiSubWindow *MainWindow::subWindowOf(IDocument *pDocument) const
{
    for (QMdiSubWindow *sub : m_pMdiArea->subWindowList()) {
        IEditor *e = editorOfSubWindow(sub);
        if (e && e->getDocument() == pDocument)
            return sub;
    }
    return nullptr;
}

IEditor *MainWindow::editorOfSubWindow(QMdiSubWindow *pSub) const
{
    return pSub ? pSub->property("kavioEditor").value<IEditor *>() : nullptr;
}

IEditor *MainWindow::loadOpenedDocument(IDocument *pDocument, bool bActivate)
{
    ICore *core = ICore::instance();
    if (!pDocument || !core)
        return nullptr;
    if (QMdiSubWindow *existing = subWindowOf(pDocument)) {
        if (bActivate)
            m_pMdiArea->setActiveSubWindow(existing);
        return editorOfSubWindow(existing);
    }
    IDocumentFactory *f = factory();
    IEditor *editor = f ? f->createEditor() : nullptr;
    if (!editor) {
        Reporter::error(tr("No plug-in can show this document."));
        return nullptr;
    }
    core->documentManager()->addDocument(pDocument);
    pDocument->setParent(this);
    editor->setParent(this);
    editor->setDocument(pDocument);
    core->editorManager()->addEditor(editor);
    QMdiSubWindow *sub = m_pMdiArea->addSubWindow(editor->widget());
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    sub->setProperty("kavioEditor", QVariant::fromValue(editor));
    sub->setWindowTitle(editor->title());
    connect(pDocument, &IDocument::titleChanged, sub, [sub, editor] { sub->setWindowTitle(editor->title()); });
    connect(pDocument, &IDocument::modifyChanged, sub, [sub](bool m) { sub->setWindowModified(m); });
    sub->installEventFilter(this);
    // A project joins the recent projects once its file exists: at once when it was opened, at its
    // first save when it is new, and under its new name after a save elsewhere.
    auto remember = [this, doc = QPointer<IDocument>(pDocument)] {
        if (doc && !doc->isTempDocument() && QFileInfo(doc->getFileName()).isFile())
            addRecentFile(doc->getFileName());
    };
    connect(pDocument, &IDocument::changesSaved, sub, remember);
    connect(pDocument, &IDocument::titleChanged, sub, remember);
    remember();
    sub->showMaximized();
    if (bActivate)
        m_pMdiArea->setActiveSubWindow(sub);
    updateWelcomeVisibility();
    return editor;
}

void MainWindow::onSubWindowActivated(QMdiSubWindow *pSub)
{
    ICore *core = ICore::instance();
    if (!core)
        return;
    IEditor *editor = editorOfSubWindow(pSub);
    core->editorManager()->activateEditor(editor);
    if (editor && editor->getDocument()) {
        core->documentManager()->getUndoGroup()->setActiveStack(editor->getDocument()->getUndoStack());
        setWindowFilePath(editor->getDocument()->getFileName());
        setWindowModified(editor->getDocument()->isModified());
    }
}

bool MainWindow::newDocument()
{
    IDocumentFactory *f = factory();
    if (!f)
        return false;
    QScopedPointer<ICreateDocumentDlg> dlg(f->createNewDocumentDialog(this));
    if (!dlg || dlg->exec() != QDialog::Accepted)
        return false;
    IDocument *doc = f->createDocument();
    if (!doc || !doc->createNew(dlg.data())) {
        delete doc;
        return false;
    }
    return loadOpenedDocument(doc, true) != nullptr;
}

bool MainWindow::openDocument(const QString &strFile)
{
    IDocumentFactory *f = factory();
    if (!f)
        return false;
    const QString file = strFile.isEmpty() ? f->askFileToOpen(this) : strFile;
    if (file.isEmpty())
        return false;
    if (IDocument *open = ICore::instance()->documentManager()->documentForFile(file))
        return loadOpenedDocument(open, true) != nullptr;
    IDocument *doc = f->createDocument();
    if (!doc || !doc->load(file)) {
        delete doc;
        return false;
    }
    return loadOpenedDocument(doc, true) != nullptr;
}

bool MainWindow::saveDocument()
{
    IEditor *editor = ICore::instance() ? ICore::instance()->editorManager()->activeEditor() : nullptr;
    return editor && editor->getDocument() && editor->getDocument()->save();
}

bool MainWindow::closeDocument(IDocument *pDocument)
{
    ICore *core = ICore::instance();
    if (!pDocument) {
        IEditor *active = core ? core->editorManager()->activeEditor() : nullptr;
        pDocument = active ? active->getDocument() : nullptr;
    }
    QMdiSubWindow *sub = subWindowOf(pDocument);
    if (!pDocument || !sub)
        return false;
    if (!pDocument->requestClosing(true))
        return false;
    IEditor *editor = editorOfSubWindow(sub);
    emit editor->documentUnloading();
    core->editorManager()->removeEditor(editor);
    core->documentManager()->removeDocument(pDocument);
    sub->removeEventFilter(this);
    m_pMdiArea->removeSubWindow(sub);
    pDocument->close();
    sub->deleteLater();
    editor->deleteLater();
    pDocument->deleteLater();
    updateWelcomeVisibility();
    if (m_pMdiArea->subWindowList().isEmpty())
        setWindowTitle(QStringLiteral("Kavio Studio"));
    return true;
}

bool MainWindow::closeAllDocuments()
{
    return closeSubWindows(nullptr);
}

bool MainWindow::closeAllButActive()
{
    return closeSubWindows(m_pMdiArea->activeSubWindow());
}

bool MainWindow::closeSubWindows(QMdiSubWindow *pKeep)
{
    // Each document asks its own questions; a Cancel, or a save that fails, stops the whole round.
    for (QMdiSubWindow *sub : m_pMdiArea->subWindowList()) {
        // Closing one document may have closed another (a project closes its custom preloader).
        if (sub == pKeep || !m_pMdiArea->subWindowList().contains(sub))
            continue;
        IEditor *e = editorOfSubWindow(sub);
        if (e && !closeDocument(e->getDocument()))
            return false;
    }
    return true;
}

bool MainWindow::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    // A tab's close button closes the document through the same questions as File > Close.
    auto *sub = qobject_cast<QMdiSubWindow *>(pWatched);
    if (sub && pEvent->type() == QEvent::Close && editorOfSubWindow(sub)) {
        pEvent->ignore();
        if (IEditor *e = editorOfSubWindow(sub))
            QMetaObject::invokeMethod(this, [this, doc = QPointer<IDocument>(e->getDocument())] {
                if (doc)
                    closeDocument(doc);
            }, Qt::QueuedConnection);
        return true;
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}

void MainWindow::closeEvent(QCloseEvent *pEvent)
{
    if (!closeAllDocuments()) {
        pEvent->ignore();
        return;
    }
    pEvent->accept();
}

QStringList MainWindow::recentFiles() const
{
    return ExtensionSystem::PluginManager::settings()->value(kRecentFiles).toStringList();
}

void MainWindow::addRecentFile(const QString &strFile)
{
    const QString path = QFileInfo(strFile).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > maxRecentFiles())
        files.removeLast();
    ExtensionSystem::PluginManager::settings()->setValue(kRecentFiles, files);
    updateRecentFileActions();
}

void MainWindow::updateRecentFileActions()
{
    QStringList files = recentFiles();
    // Projects that were moved or deleted leave the list.
    QStringList existing;
    for (const QString &f : files) {
        if (QFileInfo::exists(f))
            existing << f;
    }
    if (existing != files)
        ExtensionSystem::PluginManager::settings()->setValue(kRecentFiles, existing);
    for (int i = 0; i < m_recentActions.size(); ++i) {
        QAction *a = m_recentActions.at(i);
        if (i < existing.size()) {
            a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(existing.at(i)).fileName()));
            a->setData(existing.at(i));
            a->setToolTip(existing.at(i));
            a->setVisible(true);
        } else {
            a->setVisible(false);
        }
    }
    if (m_pRecentMenu)
        m_pRecentMenu->setEnabled(!existing.isEmpty());
}

QString MainWindow::getDefaultTempPath() const
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QStringLiteral("/Kavio Studio");
    QDir().mkpath(path);
    return path;
}

IOptionsDlg *MainWindow::getOptionsDialog()
{
    if (!m_pOptions) {
        if (IDocumentFactory *f = factory())
            m_pOptions = f->createOptionsDialog(this);
    }
    return m_pOptions;
}
