#include "KVEditor.h"
#include "commands/KVSceneOperation.h"

#include "canvas/KVCanvas.h"
#include "commands/KVCommand.h"
#include "canvas/KVCanvasOperations.h"
#include "commands/KVClipBoard.h"
#include "commands/KVCommandAction.h"
#include "commands/KVCmdParam.h"
#include "commands/KVEditContext.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "document/KVPreloader.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVAdCheck.h"
#include "output/KVHtml5Exporter.h"
#include "output/KVHttpServer.h"
#include "output/KVPreviewer.h"
#include "KVLocationManager.h"
#include "KVResponsiveToolbar.h"

#include "ContextManager.h"
#include "FileDialogs.h"
#include "DocumentManager.h"
#include "ICore.h"
#include "MainWindow.h"
#include "Reporter.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QUndoGroup>
#include <QUndoStack>
#include <QVBoxLayout>

KVEditor::KVEditor(QObject *pParent)
    : IEditor(pParent)
    , m_pContainer(new QWidget)
    , m_pSymbolBar(new QWidget(m_pContainer))
{
    m_pContainer->setObjectName(QStringLiteral("KVEditorContainer"));
    m_pContainer->setFocusPolicy(Qt::ClickFocus);
    auto *layout = new QVBoxLayout(m_pContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_pSymbolBar->setObjectName(QStringLiteral("SymbolStackBar"));
    m_pSymbolBar->hide();
    layout->addWidget(m_pSymbolBar);
    m_pResponsiveToolbar = new KVResponsiveToolbar(m_pContainer);
    layout->addWidget(m_pResponsiveToolbar);

    m_pCanvasView = new KVCanvas(this, m_pContainer);
    layout->addWidget(m_pCanvasView, 1);
    m_pCanvasView->loadPage();

    connect(this, &IEditor::documentLoaded, this, &KVEditor::onDocumentLoaded);
    connect(this, &IEditor::documentUnloading, this, &KVEditor::onDocumentUnloaded);
    connect(this, &IEditor::documentDataChanged, this, &KVEditor::onDocumentDataChanged);
    connect(this, &IEditor::aboutToActivate, this, &KVEditor::setUndoStackIndex);
    connect(this, &IEditor::aboutToActivate, m_pResponsiveToolbar, &KVResponsiveToolbar::onEditorActivated);
    connect(m_pResponsiveToolbar, &KVResponsiveToolbar::transformToolsChanged, m_pCanvasView, &KVCanvas::setTransformTool);
    // The ruler menu's breakpoint entries.
    connect(m_pCanvasView, &KVCanvas::addBreakpointRequested, m_pResponsiveToolbar,
            [this](bool bVertical, int nValue) {
                if (bVertical)
                    m_pResponsiveToolbar->onAddVertical(nValue);
                else
                    m_pResponsiveToolbar->onAddHorizontal(nValue);
            });
    connect(m_pCanvasView, &KVCanvas::removeBreakpointRequested, m_pResponsiveToolbar,
            &KVResponsiveToolbar::removeBreakpoint);
    connect(m_pCanvasView, &KVCanvas::viewStateChanged, this, &KVEditor::editorStateChanged);
    // A click on a ruler shows the layout at its position; the stage follows the container.
    connect(m_pCanvasView, &KVCanvas::currentBreakpointRequested, m_pResponsiveToolbar,
            [this](bool bVertical, int nPosition) {
                if (bVertical)
                    m_pResponsiveToolbar->onContainerHChanged(qMax(1, nPosition));
                else
                    m_pResponsiveToolbar->onContainerWChanged(qMax(1, nPosition));
            });
    connect(m_pResponsiveToolbar, &KVResponsiveToolbar::containerSizeChanged, m_pCanvasView,
            &KVCanvas::setContainerSize);
}

KVEditor::~KVEditor()
{
    if (!m_pContainer)
        return;
    if (ICore *core = ICore::instance())
        core->contextManager()->unregisterContext(m_pContainer, QStringLiteral("Canvas"));
    if (!m_pContainer->parent())
        delete m_pContainer;
}

KVEditorState KVEditor::editorState() const
{
    KVEditorState state;
    state.bEditingText = m_pCanvasView->isEditingText();
    state.bAlignToParent = m_pCanvasView->alignToParent();
    state.dZoom = m_pCanvasView->zoomFactor();
    state.bFitToViewport = m_pCanvasView->fitToViewport();
    state.bRulerVisible = m_pCanvasView->rulerVisible();
    state.bSnapEnabled = m_pCanvasView->snapEnabled();
    const KVDocument *doc = document();
    if (!doc)
        return state;
    state.bHasDocument = true;
    const KVSceneList *scenes = doc->sceneList();
    state.bTopLevelHasScene = scenes && scenes->count() > 0;
    state.bEditedHasScene = state.bTopLevelHasScene;
    KVScene *scene = doc->currentScene();
    state.bHasCurrentScene = scene != nullptr;
    state.bHasTimeline = scene && scene->currentTimeline();
    state.bClipboardElements = KVClipBoard::hasElements(QGuiApplication::clipboard()->mimeData());
    if (scenes) {
        const int nIndex = scenes->indexOf(scene);
        state.bHasPreviousScene = nIndex > 0;
        state.bHasNextScene = nIndex + 1 < scenes->count();
    }
    state.nSelectedScenes = scenes ? scenes->selectedScenes().size() : 0;
    state.bPreloaderDocument = qobject_cast<const KVPreloader *>(doc) != nullptr;
    if (doc->breakpoints())
        state.bHasBreakpoints = !doc->breakpoints()->hBreakpoints().isEmpty() || !doc->breakpoints()->vBreakpoints().isEmpty();
    if (!scene)
        return state;
    // The stage's selection as the editing operations see it (whether or not the scene itself is
    // selected in the scene list).
    scene->forEachInSubtree([&state, scene](const KVElement *p) {
        if (p != scene)
            ++state.nElements;
    });
    KVEditContext context;
    context.pScene = scene;
    const QList<KVElement *> selected = context.selectedElements();
    state.nSelected = selected.size();
    state.bSameParent = !selected.isEmpty();
    for (KVElement *element : qAsConst(selected)) {
        if (element->parent() != selected.first()->parent())
            state.bSameParent = false;
        if (const KVElement *parent = element->parent()) {
            const int nIndex = parent->children().indexOf(element);
            state.bCanGoBack = state.bCanGoBack || nIndex > 0;
            state.bCanGoFront = state.bCanGoFront || (nIndex >= 0 && nIndex < parent->children().size() - 1);
        }
        if (element->type() == KVElementType::Group) {
            state.bGroupSelected = true;
            for (KVElement *other : qAsConst(selected)) {
                if (other != element && other->parent() == element->parent())
                    state.bGroupWithSibling = true;
            }
        }
        if (element->parent() && element->parent()->type() == KVElementType::Group)
            state.bInsideGroup = true;
        if (element->type() == KVElementType::Image || element->type() == KVElementType::Video) {
            state.bImageOrVideoSelected = true;
            const QSize natural = KVCanvasOperations::naturalSize(doc->resourceManager(), element);
            if (natural.isValid()
                && (qRound(element->sizeW()) != natural.width() || qRound(element->sizeH()) != natural.height()))
                state.bResizedMediaSelected = true;
        }
    }
    return state;
}

QWidget *KVEditor::widget() const
{
    return m_pContainer.data();
}

KVDocument *KVEditor::document() const
{
    return qobject_cast<KVDocument *>(getDocument());
}

QUrl KVEditor::canvasUrl() const
{
    return KVCanvas::pageUrl();
}

QString KVEditor::tabTitle(const KVDocument *pDocument, bool *pbModified)
{
    if (!pDocument)
        return QString();
    QString title = QFileInfo(pDocument->getFileName()).completeBaseName();
    if (const auto *preloader = qobject_cast<const KVPreloader *>(pDocument)) {
        // A custom preloader belongs to the project document that made it.
        const auto *owner = qobject_cast<const KVDocument *>(preloader->parent());
        title = tr("%1 - preloader").arg(QFileInfo(owner ? owner->getFileName() : QString()).completeBaseName());
    } else if (pDocument->isOpenAsBackup()) {
        title = tr("%1 - backup").arg(title);
    }
    const bool bModified = pDocument->isModified() || pDocument->isTempDocument() || pDocument->isOpenAsBackup();
    if (pbModified)
        *pbModified = bModified;
    return title + QStringLiteral("[*]");
}

QString KVEditor::title() const
{
    return tabTitle(document());
}

QMdiSubWindow *KVEditor::subWindow() const
{
    // Null once the window is gone: a document deleted with the main window still announces its
    // undo stack's last change.
    return m_pContainer ? qobject_cast<QMdiSubWindow *>(m_pContainer->parentWidget()) : nullptr;
}

void KVEditor::onDocumentLoaded()
{
    KVDocument *doc = document();
    if (!doc)
        return;
    connect(doc, &IDocument::modifyChanged, this, &KVEditor::onDocumentModifyChanged);
    connect(doc, &IDocument::titleChanged, this, &KVEditor::updateDocumentTabName);
    connect(doc->getUndoStack(), &QUndoStack::indexChanged, this, &KVEditor::updateUndoRedoMenu);
    m_pCanvasView->handleDocumentLoaded();
    m_pResponsiveToolbar->setDocument(doc);
    // The preview server serves the project's resource folder while the editor shows it.
    m_strServedFolder = doc->resourceFolderPath();
    KVHttpServer::getInstance()->addRoot(m_strServedFolder);
    connect(doc, &KVDocument::locationChanged, this, [this, doc] { m_strServedFolder = doc->resourceFolderPath(); });
    if (ICore *core = ICore::instance())
        core->contextManager()->registerContext(m_pContainer, QStringLiteral("Canvas"), QStringLiteral("Canvas"));
    // The sub-window exists once the host has placed the editor; the menu and title follow then.
    QMetaObject::invokeMethod(this, [this] {
        initSystemMenu();
        updateDocumentTabName();
        selfActivate();
    }, Qt::QueuedConnection);
}

void KVEditor::onDocumentUnloaded()
{
    if (!m_strServedFolder.isEmpty() && KVHttpServer::hasInstance())
        KVHttpServer::getInstance()->removeRoot(m_strServedFolder);
    m_strServedFolder.clear();
    m_pCanvasView->handleDocumentClosing();
    m_pResponsiveToolbar->setDocument(nullptr);
    if (KVDocument *doc = document())
        disconnect(doc, nullptr, this, nullptr);
}

void KVEditor::onDocumentDataChanged(QObject *pInfo)
{
    m_pCanvasView->handleDocumentChanged(pInfo);
    updateDocumentTabName();
    const auto *pUpdate = qobject_cast<const KVUpdateViewInfo *>(pInfo);
    if (pUpdate && pUpdate->type() == KVCommandAction::CommandDone)
        emit editorStateChanged();
}

void KVEditor::onDocumentModifyChanged(bool)
{
    updateDocumentTabName();
}

void KVEditor::updateDocumentTabName()
{
    bool bModified = false;
    const QString title = tabTitle(document(), &bModified);
    if (QMdiSubWindow *sub = subWindow()) {
        sub->setWindowTitle(title);
        sub->setWindowModified(bModified);
    }
    ICore *core = ICore::instance();
    MainWindow *mw = core ? core->getMainWindow() : nullptr;
    if (mw && subWindow() && mw->getMdiArea()->activeSubWindow() == subWindow()) {
        // The main window's title names the active project and carries its modified mark.
        QString name = title;
        name.chop(3);
        mw->setWindowTitle(QStringLiteral("%1[*] - Kavio Studio").arg(name));
        mw->setWindowModified(bModified);
        if (document())
            mw->setWindowFilePath(document()->getFileName());
    }
}

void KVEditor::initSystemMenu()
{
    QMdiSubWindow *sub = subWindow();
    if (!sub || m_bMenuBuilt)
        return;
    m_bMenuBuilt = true;
    auto *menu = new QMenu(sub);
    menu->addAction(tr("Save"), this, [this] {
        if (KVDocument *doc = document())
            doc->save();
    });
    menu->addAction(tr("&Open Location"), this, &KVEditor::openProjectFolder);
    menu->addSeparator();
    menu->addAction(tr("Close All"), this, &KVEditor::closeAll);
    menu->addAction(tr("Close All But This"), this, &KVEditor::closeAllButThis);
    menu->addAction(tr("Close"), this, [this] {
        if (ICore *core = ICore::instance())
            core->getMainWindow()->closeDocument(getDocument());
    });
    sub->setSystemMenu(menu);
}

void KVEditor::selfActivate()
{
    if (QMdiSubWindow *sub = subWindow()) {
        sub->show();
        sub->setFocus();
        if (QMdiArea *area = sub->mdiArea())
            area->setActiveSubWindow(sub);
    }
}

void KVEditor::activateDocumentTab()
{
    selfActivate();
}

void KVEditor::updateUndoRedoMenu()
{
    updateDocumentTabName();
}

void KVEditor::setUndoStackIndex()
{
    ICore *core = ICore::instance();
    if (core && getDocument())
        core->documentManager()->getUndoGroup()->setActiveStack(getDocument()->getUndoStack());
}

void KVEditor::openProjectFolder()
{
    if (KVDocument *doc = document())
        openWithDesktop(QUrl::fromLocalFile(QFileInfo(doc->getFileName()).absolutePath()));
}

bool KVEditor::openWithDesktop(const QUrl &url, const QString &strFailure)
{
    // The desktop's own opener (xdg-open on Linux) starts the browser or the file manager.
    if (QDesktopServices::openUrl(url))
        return true;
    Reporter::error(strFailure.isEmpty() ? tr("Unable to open %1.").arg(url.toDisplayString(QUrl::PreferLocalFile))
                                         : strFailure);
    return false;
}

void KVEditor::onPreview()
{
    previewInBrowser(false);
}

void KVEditor::onCurrentPreview()
{
    previewInBrowser(true);
}

void KVEditor::previewInBrowser(bool bCurrentScene)
{
    KVDocument *doc = document();
    if (!doc)
        return;
    const QUrl url = KVPreviewer::previewDocument(doc, bCurrentScene);
    if (url.isEmpty())
        return;
    openWithDesktop(url, tr("Unable to preview %1 in default browser.")
                             .arg(bCurrentScene ? tr("current scene") : tr("project")));
}

void KVEditor::onExport()
{
    KVDocument *doc = document();
    if (!doc)
        return;
    KVLocationManager *lm = KVLocationManager::getInstance();
    // A folder of files, or one ZIP as ad networks take it.
    const int nForm = Reporter::instance()->choose(
        tr("Export to HTML5"), tr("Export the project as a folder of files, or as one ZIP file for an ad network?"),
        {tr("Folder"), tr("As ZIP"), tr("Cancel")}, 0);
    if (nForm != 0 && nForm != 1)
        return;
    const bool bZip = nForm == 1;
    QString strStart = lm->ownerLocation(doc, KVLocationManager::Document);
    if (strStart.isEmpty() || !QFileInfo(strStart).isDir())
        strStart = QFileInfo(doc->getFileName()).absolutePath();
    QString folder;
    if (bZip) {
        const QString strZip = FileDialogs::getSaveFileName(
            m_pContainer, tr("Export to HTML5 as ZIP"),
            strStart + QLatin1Char('/') + QFileInfo(doc->getFileName()).completeBaseName() + QStringLiteral(".zip"),
            tr("ZIP files (*.zip)"));
        if (strZip.isEmpty())
            return;
        folder = strZip.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive) ? strZip : strZip + QStringLiteral(".zip");
        lm->setOwnerLocation(doc, KVLocationManager::Document, QFileInfo(folder).absolutePath());
    } else {
        folder = FileDialogs::getExistingDirectory(m_pContainer, tr("Export to HTML5"), strStart);
        if (folder.isEmpty())
            return;
        lm->setOwnerLocation(doc, KVLocationManager::Document, folder);
    }
    QString page;
    if (!KVHtml5Exporter::exportDocument(doc, folder, &page))
        return;
    if (bZip) {
        // The ad check: what each network would say about the ZIP, before it is uploaded.
        KVDocumentPlayerSource source(doc);
        bool bPassed = false;
        const QString strSummary = KVAdCheck::summary(folder, KVAdCheck::projectOf(source.source()), &bPassed);
        Reporter::instance()->report(bPassed ? IReporter::Information : IReporter::Warning, tr("Ad check"),
                                     tr("%1 was checked against the ad networks' limits:\n\n%2")
                                         .arg(QFileInfo(folder).fileName(), strSummary));
        if (Reporter::instance()->choose(tr("Export to HTML5"), tr("The project was exported as %1.").arg(folder),
                                         {tr("Open Folder"), tr("Close")}, 0)
            == 0)
            openWithDesktop(QUrl::fromLocalFile(QFileInfo(folder).absolutePath()));
        return;
    }
    switch (KVHtml5Exporter::askToOpen()) {
    case 0: // Open
        openWithDesktop(QUrl::fromLocalFile(page));
        break;
    case 1: // Open Folder
        openWithDesktop(QUrl::fromLocalFile(folder));
        break;
    default:
        break;
    }
}

void KVEditor::saveAsPackage()
{
    KVDocument *doc = document();
    if (!doc)
        return;
    KVLocationManager *lm = KVLocationManager::getInstance();
    const QString strStart = QDir(lm->lastLocation(KVLocationManager::SavePackage))
                                 .filePath(QFileInfo(doc->getFileName()).completeBaseName()
                                           + QStringLiteral(".kaviopack"));
    QString strFile = FileDialogs::getSaveFileName(
        m_pContainer, tr("Save as Package"), strStart,
        tr("%1 Package File").arg(QStringLiteral("Kavio Studio")) + QStringLiteral(" (*.%1)").arg(QStringLiteral("kaviopack")));
    if (strFile.isEmpty())
        return;
    if (QFileInfo(strFile).suffix().compare(QLatin1String("kaviopack"), Qt::CaseInsensitive) != 0)
        strFile += QStringLiteral(".kaviopack");
    const QString strFolder = QFileInfo(strFile).absolutePath();
    if (strFolder != lm->lastLocation(KVLocationManager::SavePackage))
        lm->setLastLocation(KVLocationManager::SavePackage, strFolder);
    doc->saveToPackage(strFile);
}

bool KVEditor::showAdjacentScene(int nStep)
{
    KVDocument *doc = document();
    KVSceneList *pList = doc ? doc->sceneList() : nullptr;
    if (!pList)
        return false;
    KVScene *pTarget = pList->at(pList->indexOf(doc->currentScene()) + nStep);
    if (!pTarget || pTarget == doc->currentScene())
        return false;
    // The playing timeline belongs to the scene left behind; the stage loads the scene on the
    // selection notices. Showing a scene is no undo step.
    doc->pause();
    return KVSceneOperation::show(doc, pTarget);
}

void KVEditor::closeAll()
{
    if (ICore *core = ICore::instance())
        core->getMainWindow()->closeAllDocuments();
}

void KVEditor::closeAllButThis()
{
    if (ICore *core = ICore::instance()) {
        selfActivate();
        core->getMainWindow()->closeAllButActive();
    }
}
