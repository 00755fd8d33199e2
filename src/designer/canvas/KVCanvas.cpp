#include "canvas/KVCanvas.h"

#include "canvas/KVCanvasContextMenu.h"
#include "canvas/KVCanvasOperations.h"
#include "canvas/KVCanvasUpdateRules.h"
#include "canvas/KVHTMLExposingCanvas.h"
#include "canvas/KVResourceSchemeHandler.h"
#include "canvas/WebEnginePage.h"
#include "commands/KVArrangeOperation.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVElementCommandAction.h"
#include "commands/KVEventLoopLocker.h"
#include "commands/KVPageCommandBuilder.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"
#include "model/KVAutoShape.h"
#include "model/KVAutoShapeCatalogue.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVMedia.h"
#include "model/KVText.h"
#include "model/KVBreakpointSet.h"
#include "model/KVScene.h"
#include "output/KVCanvasSceneData.h"
#include "output/KVSymbolResources.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"
#include "ui/text/KVTextEditor.h"

#include "ActionManager.h"
#include "ICore.h"
#include "IEditor.h"
#include "MainWindow.h"

#include <QAction>
#include <QChildEvent>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTimer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include <cmath>

// Page requests and console output; off unless asked for (QT_LOGGING_RULES="kavio.canvas.debug=true").
Q_LOGGING_CATEGORY(lcCanvas, "kavio.canvas", QtInfoMsg)

namespace {
int nextCanvasId()
{
    static int s_nLastId = 0;
    return ++s_nLastId;
}

const int kMetaTypeRegistered
    = qRegisterMetaType<QWebEnginePage::RenderProcessTerminationStatus>("QWebEnginePage::RenderProcessTerminationStatus");

constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 4.0;
} // namespace

KVCanvas::KVCanvas(IEditor *pEditor, QWidget *pParent)
    : QWebEngineView(pParent), m_pEditor(pEditor), m_nCanvasId(nextCanvasId())
{
    Q_UNUSED(kMetaTypeRegistered)
    setObjectName(QStringLiteral("CanvasView"));
    // Each canvas has a profile of its own so that "resource://" reaches its own project's folder.
    m_pProfile = new QWebEngineProfile(this);
    m_pSchemeHandler = new KVResourceSchemeHandler([this] {
        return m_pDocument ? m_pDocument->resourceFolderPath() : QString();
    }, this);
    m_pProfile->installUrlSchemeHandler(KVResourceSchemeHandler::schemeName(), m_pSchemeHandler);
    m_pPage = new WebEnginePage(m_pProfile, this);
    setPage(m_pPage);
    connect(m_pPage, &WebEnginePage::consoleMessage, this,
            [this](QWebEnginePage::JavaScriptConsoleMessageLevel, const QString &strMessage, int nLine,
                   const QString &strSource) {
                qCDebug(lcCanvas).noquote() << QStringLiteral("%1:%2: %3").arg(strSource).arg(nLine).arg(strMessage);
                emit pageConsoleMessage(strMessage);
            });
    m_pExposing = new KVHTMLExposingCanvas(this);
    // The page gets its channel in-process; it holds the canvas's own object and nothing else.
    m_pPage->setWebChannel(m_pExposing->channel());
    // The stage shows received projects: it reads no local file but its own page's (the project's
    // files come through "resource://"), and its page allows none but its own scripts.
    QWebEngineSettings *pSettings = m_pPage->settings();
    pSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    pSettings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);

    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    ICore *pCore = ICore::instance();
    m_pContextMenu = new KVCanvasContextMenu(this, pCore ? pCore->actionManager() : nullptr);
    m_pTextEditor = new KVTextEditor(this);
    connect(m_pTextEditor, &KVTextEditor::execCommand, m_pExposing, &KVHTMLExposingCanvas::execTextEditorCommand);
    connect(this, &KVCanvas::fontsReloaded, m_pTextEditor, [this] { m_pTextEditor->loadFonts(m_pDocument); });

    connect(m_pPage, &QWebEnginePage::renderProcessTerminated, this, &KVCanvas::reloadOnCrashed);
    connect(this, &QWebEngineView::loadFinished, this, &KVCanvas::onPageLoaded);
    if (m_pEditor) {
        connect(m_pEditor, &IEditor::aboutToActivate, this, &KVCanvas::onEditorActivated);
        connect(m_pEditor, &IEditor::aboutToDeactivate, this, &KVCanvas::onEditorDeactivated);
    }
}

KVCanvas::~KVCanvas()
{
    // The page goes before the profile it was made with.
    setPage(nullptr);
    delete m_pPage;
    m_pPage = nullptr;
}

QUrl KVCanvas::pageUrl()
{
    ICore *pCore = ICore::instance();
    return QUrl::fromLocalFile((pCore ? pCore->resourcePath() : QString())
                               + QStringLiteral("/resources/canvas/index.html"));
}

void KVCanvas::loadPage()
{
    const QUrl url = pageUrl();
    qDebug().noquote() << "Canvas WebView URL: " + url.toString();
    m_pPage->setHomeUrl(url);
    load(url);
    runCanvasIdScript();
    settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, true);
}

void KVCanvas::runCanvasIdScript()
{
    page()->runJavaScript(QStringLiteral("window.canvasId = %1;").arg(m_nCanvasId));
}

void KVCanvas::onPageLoaded()
{
    runCanvasIdScript();
}

void KVCanvas::reloadOnCrashed(QWebEnginePage::RenderProcessTerminationStatus terminationStatus, int exitCode)
{
    if (terminationStatus == QWebEnginePage::NormalTerminationStatus)
        return;
    qCDebug(lcCanvas) << "The canvas page's render process ended with status" << terminationStatus
                      << "and exit code" << exitCode << "- reloading it";
    QTimer::singleShot(0, this, [this] { reload(); });
}

KVDocument *KVCanvas::document() const
{
    return m_pDocument.data();
}

KVScene *KVCanvas::currentScene() const
{
    return m_pCurrentScene.data();
}

KVSymbol *KVCanvas::container() const
{
    return m_pDocument.data();
}

// ---- Document -------------------------------------------------------------------------------

void KVCanvas::handleDocumentLoaded()
{
    KVDocument *pDocument = m_pEditor ? qobject_cast<KVDocument *>(m_pEditor->getDocument()) : nullptr;
    if (m_pDocument)
        disconnect(m_pDocument, nullptr, this, nullptr);
    m_pDocument = pDocument;
    m_pCurrentScene = pDocument ? pDocument->currentScene() : nullptr;
    if (!pDocument)
        return;
    connect(pDocument, &KVDocument::changeAutoKeyframeMode, m_pExposing,
            &KVHTMLExposingCanvas::autoKeyframeModeChanged);
    connect(pDocument, &KVDocument::locationChanged, this, &KVCanvas::sendSceneDataToJS);
    KVCanvasOperations::refreshLockHideLabels(this);
    m_pTextEditor->loadFonts(pDocument);
}

void KVCanvas::handleDocumentClosing()
{
    if (m_pDocument)
        disconnect(m_pDocument, nullptr, this, nullptr);
    m_pDocument = nullptr;
    m_pCurrentScene = nullptr;
}

void KVCanvas::sendSceneDataToJS()
{
    KVScene *pScene = currentScene();
    if (!m_pDocument || !pScene) {
        emit m_pExposing->currentSceneChanged(false, QString());
        return;
    }
    KVCanvasSceneData::ViewFlags flags;
    flags.strOutputCss = m_pDocument->settings().m_strCssDoc;
    flags.bAutoAddKeyframe = m_pDocument->isAutoKeyframeMode();
    flags.bShowContainerHandler = m_bShowContainerHandler;
    flags.nTransformTool = m_nTransformTool;
    flags.nContainerW = m_nContainerW;
    flags.nContainerH = m_nContainerH;
    if (KVSymbol *pContainer = container())
        m_sentLayout = pContainer->breakpoints()->currentLayout();
    // Symbol instances show their symbol's content: the symbol files are read for the page (a file
    // that cannot be read leaves its instances empty, with a warning in the log).
    KVSymbolResources symbols;
    symbols.load(m_pDocument->resourceManager(), m_pDocument.data());
    emit m_pExposing->currentSceneChanged(
        true, KVCanvasSceneData::buildText(*m_pDocument, pScene, m_pDocument->resourceManager(), flags,
                                           symbols.writer()));
}

void KVCanvas::emitDataChangedToJS(const KVUpdateViewInfo &info)
{
    QJsonObject jo;
    if (!info.toPageJson(jo, m_pDocument.data(), m_pDocument ? m_pDocument->resourceManager() : nullptr))
        return;
    emit m_pExposing->dataChangedToJS(QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact)));
}

void KVCanvas::handleDocumentChanged(QObject *pUpdateInfo)
{
    auto *pInfo = qobject_cast<KVUpdateViewInfo *>(pUpdateInfo);
    if (!pInfo || !m_pDocument)
        return;
    const int nType = pInfo->type();
    // The lock and hide entries name what they would do now; read once per command.
    if (nType == KVCommandAction::CommandDone)
        KVCanvasOperations::refreshLockHideLabels(this);
    // The page made this change itself. Notifications that never carry parameters (end of command,
    // selection changed) still count.
    const bool bBareNotice = nType == KVCommandAction::CommandDone || nType == KVCommandAction::SelectionChanged;
    if (pInfo->sender() == this || (!pInfo->params() && !bBareNotice))
        return;

    KVScene *pScene = currentScene();
    const bool bConcerns = KVCanvasUpdateRules::concernsPage(*pInfo, pScene, container());
    if (bConcerns && nType != KVCommandAction::CommandDone) {
        m_bNeedsRepaint = m_bNeedsRepaint || KVCanvasUpdateRules::needsRepaint(nType);
        m_bNeedsScenePosUpdate = m_bNeedsScenePosUpdate || KVCanvasUpdateRules::needsScenePosUpdate(nType);
    }
    if (bConcerns && KVCanvasUpdateRules::needsFullReload(*pInfo)) {
        sendSceneDataToJS();
        return;
    }
    switch (nType) {
    case KVCommandAction::InsertScene:
    case KVCommandAction::RemoveScene:
    case KVCommandAction::SelectScene:
    case KVCommandAction::SelectionChanged:
        m_nFocusedItemId = -1;
        if (m_pDocument->currentScene() != pScene) {
            m_pCurrentScene = m_pDocument->currentScene();
            sendSceneDataToJS();
        }
        break;
    case 39:
    case 40:
        m_bFontsChanged = true;
        break;
    case KVCommandAction::PlayNotice:
    case KVCommandAction::PauseNotice:
    case KVCommandAction::TimeNotice: {
        if (!pScene || !pScene->currentTimeline())
            break;
        const KVCmdParamList &params = *pInfo->params();
        if (nType == KVCommandAction::TimeNotice) {
            const KVCmdParam *pTime = params.value(0);
            const KVCmdParam *pSeeking = params.value(1);
            emit m_pExposing->setCurrentTime(pTime ? pTime->toInt() : 0, pSeeking && pSeeking->toBool());
        } else {
            // Play and pause carry the timeline and its time.
            const KVCmdParam *pTime = params.value(1);
            const int nTime = pTime ? pTime->toInt() : 0;
            if (nType == KVCommandAction::PlayNotice)
                emit m_pExposing->play(nTime);
            else
                emit m_pExposing->pause(nTime);
        }
        return;
    }
    case KVCommandAction::FinishTasksNotice:
        emit m_pExposing->finishAllTask();
        break;
    case KVCommandAction::TextCommandNotice: {
        const KVCmdParamList &params = *pInfo->params();
        emit m_pExposing->execTextEditorCommand(params.value(0) ? params.value(0)->toString() : QString(),
                                                params.value(1) ? params.value(1)->toString() : QString());
        break;
    }
    default:
        break;
    }
    if (bConcerns)
        emitDataChangedToJS(*pInfo);
    if (nType == KVCommandAction::CommandDone) {
        if (m_bNeedsScenePosUpdate)
            emit m_pExposing->needUpdateScenePos();
        if (m_bNeedsRepaint)
            emit m_pExposing->needRepaint();
        m_bNeedsScenePosUpdate = false;
        m_bNeedsRepaint = false;
        if (m_bFontsChanged) {
            // The text tool reads the document's fonts again once it is there; the page has
            // already been told of the font resources themselves.
            m_bFontsChanged = false;
            emit fontsReloaded();
        }
    }
}

void KVCanvas::submitCommandFromJS(const QString &strJson, bool bRunCmdOnly)
{
    if (!m_pDocument)
        return;
    qCDebug(lcCanvas).noquote() << "Page request:" << strJson;
    KVCommand *pCommand = KVPageCommandBuilder::build(m_pDocument, strJson, this);
    if (!pCommand)
        return;
    if (bRunCmdOnly) {
        pCommand->execute();
        delete pCommand;
    } else {
        m_pDocument->submitCommand(pCommand);
    }
}

// ---- View state reported by the page ----------------------------------------------------------

void KVCanvas::setZoomFactor(double dFactor, bool bNotifyJS, bool bNotifyZoomCtrl)
{
    if (std::isnan(dFactor))
        return;
    pauseTimeline();
    m_dZoomFactor = qBound(kMinZoom, dFactor, kMaxZoom);
    if (bNotifyJS)
        emit m_pExposing->zoomFactorChanged(m_dZoomFactor);
    if (bNotifyZoomCtrl)
        emit zoomInfoChanged(m_dZoomFactor, m_bFitToViewport);
    emit viewStateChanged();
}

void KVCanvas::setFitToViewport(bool bFit, bool bNotifyJS, bool bNotifyZoomCtrl)
{
    pauseTimeline();
    m_bFitToViewport = bFit;
    if (bNotifyJS)
        emit m_pExposing->fitToViewportChanged(m_bFitToViewport);
    if (bNotifyZoomCtrl)
        emit zoomInfoChanged(m_dZoomFactor, m_bFitToViewport);
    emit viewStateChanged();
}

const QList<double> &KVCanvas::zoomSteps()
{
    static const QList<double> steps = {0.1, 0.25, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0};
    return steps;
}

void KVCanvas::zoomIn()
{
    for (double dStep : zoomSteps()) {
        if (dStep > m_dZoomFactor + 1e-6) {
            setZoomPercent(qRound(dStep * 100));
            return;
        }
    }
}

void KVCanvas::zoomOut()
{
    for (int i = zoomSteps().size() - 1; i >= 0; --i) {
        if (zoomSteps().at(i) < m_dZoomFactor - 1e-6) {
            setZoomPercent(qRound(zoomSteps().at(i) * 100));
            return;
        }
    }
}

void KVCanvas::zoomFit()
{
    // The page works out the factor that fits and reports it back.
    setFitToViewport(true, true, true);
}

void KVCanvas::setZoomPercent(int nPercent)
{
    if (nPercent <= 0)
        return;
    if (m_bFitToViewport)
        setFitToViewport(false, true, false);
    setZoomFactor(nPercent / 100.0, true, true);
}

void KVCanvas::showRuler(bool bShow)
{
    m_bRulerVisible = bShow;
    emit m_pExposing->rulerVisibilityChanged(bShow);
    emit viewStateChanged();
}

void KVCanvas::enableSnap(bool bEnabled)
{
    m_bSnapEnabled = bEnabled;
    emit m_pExposing->snapEnabledChanged(bEnabled);
    emit viewStateChanged();
}

void KVCanvas::setAlignToParent(bool bAlign)
{
    m_bAlignToParent = bAlign;
    emit viewStateChanged();
}

void KVCanvas::setFluidLayout(bool bFluid)
{
    m_bFluidLayout = bFluid;
    emit viewStateChanged();
}

void KVCanvas::sendViewStateToJS()
{
    emit m_pExposing->rulerVisibilityChanged(m_bRulerVisible);
    emit m_pExposing->snapEnabledChanged(m_bSnapEnabled);
    if (m_bFitToViewport)
        emit m_pExposing->fitToViewportChanged(true);
    else
        emit m_pExposing->zoomFactorChanged(m_dZoomFactor);
}

bool KVCanvas::holdsText(int nType)
{
    return nType == KVElementType::Text || nType == KVElementType::Div || nType == KVElementType::Shape
           || nType == KVElementType::Freeform;
}

void KVCanvas::setSceneOffset(double dScenePosX, double dScenePosY)
{
    m_ptSceneOffset = QPointF(dScenePosX, dScenePosY);
}

void KVCanvas::setScrollValue(double dScrollX, double dScrollY)
{
    m_ptScrollValue = QPointF(dScrollX, dScrollY);
}

void KVCanvas::setFocusedItemId(int nId)
{
    // Point editing belongs to the shape that had the focus.
    if (nId != m_nFocusedItemId)
        m_bEditingPoints = false;
    m_nFocusedItemId = nId;
}

void KVCanvas::setEditingBreakpoint(int nDirection, int nValue, int nRulerPos)
{
    m_bEditingBreakpoint = true;
    m_nBreakpointDirection = nDirection;
    m_nBreakpointValue = nValue;
    m_nBreakpointRulerPos = nRulerPos;
}

void KVCanvas::setCurrentBreakpoint(int nDirection, int nPos)
{
    if (m_pDocument)
        emit currentBreakpointRequested(nDirection == 1, nPos);
}

void KVCanvas::setContainerSize(int nWidth, int nHeight)
{
    KVSymbol *pContainer = container();
    const KVLayoutKey layout = pContainer ? pContainer->breakpoints()->currentLayout() : KVLayoutKey::base();
    if (nWidth == m_nContainerW && nHeight == m_nContainerH && layout == m_sentLayout)
        return;
    m_nContainerW = nWidth;
    m_nContainerH = nHeight;
    sendSceneDataToJS();
}

void KVCanvas::setEditingText(bool bEditing, int nToolBarX, int nToolBarY)
{
    // The page gives the top left of the edited text in its own (the view's) pixels; the toolbar
    // goes above it, and the page learns which keys the editor's format actions take.
    if (bEditing) {
        m_pTextEditor->beginEditing(QPoint(nToolBarX, nToolBarY));
        if (!m_bEditingText)
            emit m_pExposing->textEditShortcutsChanged(m_pTextEditor->shortcutList());
    } else {
        m_pTextEditor->endEditing();
    }
    if (bEditing == m_bEditingText)
        return;
    m_bEditingText = bEditing;
    emit viewStateChanged();
}

void KVCanvas::setEditingText(bool bEditing, int nToolBarX)
{
    setEditingText(bEditing, nToolBarX, 0);
}

void KVCanvas::setEditingText(bool bEditing)
{
    setEditingText(bEditing, 0, 0);
}

void KVCanvas::onTextFormatChanged(const QString &strFormat)
{
    if (!m_bEditingText || !m_pDocument)
        return;
    const QJsonDocument jd = QJsonDocument::fromJson(strFormat.toUtf8());
    if (!jd.isObject()) {
        qCDebug(lcCanvas) << "Ignored a text format that is not a JSON object";
        return;
    }
    m_pTextEditor->applyFormat(jd.object());
    // Only tells the views (the inspector's text page follows); nothing is recorded.
    KVCommand command(m_pDocument, QString());
    auto *pAction = new KVCommandAction(KVCommandAction::TextFormatNotice, m_pDocument, 1, true);
    pAction->addParam(KVCmdParam::makeJsonObject(jd.object()));
    command.addAction(pAction);
    command.execute();
}

void KVCanvas::editTextInnerHTML(const QString &strHtml)
{
    KVScene *pScene = currentScene();
    if (!m_pDocument || !pScene)
        return;
    // The text edited is the focused element's, else that of the one selected text element.
    KVElement *pElement = pScene->findElement(m_nFocusedItemId);
    if (!qobject_cast<KVText *>(pElement)) {
        QList<KVElement *> listSelected;
        pScene->forEachInSubtree([&listSelected, pScene](const KVElement *p) {
            if (p != pScene && p->isSelected() && qobject_cast<const KVText *>(p))
                listSelected.append(const_cast<KVElement *>(p));
        });
        pElement = listSelected.size() == 1 ? listSelected.first() : nullptr;
    }
    if (!pElement) {
        qCDebug(lcCanvas) << "Edited text HTML without a text element to take it";
        return;
    }
    const KVBreakpointSet *pLayouts = m_pDocument->breakpoints();
    const QJsonObject joText{{QStringLiteral("cmd"), 1008},
                             {QStringLiteral("params"), QJsonArray{
                                  QJsonObject{{QStringLiteral("type"), KVCmdParam::Int}, {QStringLiteral("value"), pElement->id()}},
                                  QJsonObject{{QStringLiteral("type"), KVCmdParam::String}, {QStringLiteral("value"), strHtml}}}}};
    const QJsonObject joRequest{{QStringLiteral("actions"), QJsonArray{joText}},
                                {QStringLiteral("sceneId"), pScene->id()},
                                {QStringLiteral("symbolResourceId"), -1},
                                {QStringLiteral("responsive"), pLayouts->isResponsiveMode()},
                                {QStringLiteral("hLayoutId"), pLayouts->currentHId()},
                                {QStringLiteral("vLayoutId"), pLayouts->currentVId()},
                                {QStringLiteral("text"), tr("Change Text")}};
    // The page already shows the text; the queue normalises its HTML before it is recorded.
    if (KVCommand *pCommand = KVPageCommandBuilder::build(m_pDocument, joRequest, this))
        m_pDocument->submitCommand(pCommand);
}

void KVCanvas::updateMediaProps(int nElementId, int nVideoWidth, int nVideoHeight, int nDuration)
{
    KVScene *pScene = currentScene();
    auto *pMedia = pScene ? qobject_cast<KVMedia *>(pScene->findElement(nElementId)) : nullptr;
    if (!m_pDocument || !pMedia)
        return;
    const bool bVideo = pMedia->type() == KVElementType::Video;
    const bool bSized = bVideo && nVideoWidth >= 1 && nVideoHeight >= 1;
    if (auto *pResource = dynamic_cast<MediaResource *>(pMedia->media())) {
        if (bSized)
            pResource->setMediaSize(QSize(nVideoWidth, nVideoHeight));
    }
    // What the page measured is no edit of the user's: it runs without an undo step.
    KVCommand command(m_pDocument, QString());
    const bool bFirstReport = !pMedia->isMediaInfoLoaded();
    auto *pInfo = new KVElementCommandAction(1020, m_pDocument, 2);
    pInfo->addParam(KVCmdParam::makeObject(KVCmdParam::Element, pMedia));
    pInfo->addParam(KVCmdParam::makeJsonObject({{QStringLiteral("duration"), nDuration},
                                                {QStringLiteral("loaded"), true}}));
    command.addAction(pInfo);
    // A video that had no size of its own yet takes its natural size.
    if (bSized && bFirstReport) {
        const KVLayoutKey layout = pMedia->currentLayout();
        auto *pSize = new KVElementCommandAction(KVElementCommandAction::Geometry, m_pDocument, 7);
        pSize->addParam(KVCmdParam::makeObject(KVCmdParam::Element, pMedia));
        pSize->addParam(KVCmdParam::makeInt(layout.nHLayoutId));
        pSize->addParam(KVCmdParam::makeInt(layout.nVLayoutId));
        pSize->addParam(KVCmdParam::makeVariant(QVariant()));
        pSize->addParam(KVCmdParam::makeIntList({4, 5}));
        pSize->addParam(KVCmdParam::makeDouble(nVideoWidth));
        pSize->addParam(KVCmdParam::makeDouble(nVideoHeight));
        command.addAction(pSize);
    }
    command.execute();
}

void KVCanvas::onAllTaskFinished()
{
    // The wait before playback ends when it is waiting.
    KVEventLoopLocker::getInstance()->unlock();
    emit allTasksFinished();
}

void KVCanvas::pauseTimeline()
{
    if (m_pDocument)
        m_pDocument->pause();
}

void KVCanvas::changeStageView(int eViewMode)
{
    emit m_pExposing->changeStageView(eViewMode);
}

void KVCanvas::setTransformTool(int nTool)
{
    if (nTool == m_nTransformTool)
        return;
    m_nTransformTool = nTool;
    emit m_pExposing->transformToolChanged(nTool);
}

void KVCanvas::play(int nTime)
{
    emit m_pExposing->play(nTime);
}

void KVCanvas::pause(int nTime)
{
    emit m_pExposing->pause(nTime);
}

void KVCanvas::setCurrentTime(int nTime, bool bSeeking)
{
    emit m_pExposing->setCurrentTime(nTime, bSeeking);
}

void KVCanvas::focusToMe()
{
    if (ICore *pCore = ICore::instance()) {
        if (MainWindow *pWindow = pCore->getMainWindow())
            pWindow->activateWindow();
    }
    setFocus(Qt::OtherFocusReason);
}

void KVCanvas::changeCursor(Qt::CursorShape eShape)
{
    setCursor(eShape);
}

// ---- Tools and selection ------------------------------------------------------------------------

void KVCanvas::addRectangle()
{
    emit m_pExposing->insertRectangle();
}

void KVCanvas::addRoundedRect()
{
    emit m_pExposing->insertRoundedRect();
}

void KVCanvas::addEllipse()
{
    emit m_pExposing->insertEllipse();
}

void KVCanvas::addShape(int nId)
{
    emit m_pExposing->insertShape(nId);
}

void KVCanvas::editPoint()
{
    // Point editing is for free-form shapes; the entry switches it on and off.
    KVElement *pFocused = m_pCurrentScene ? m_pCurrentScene->findElement(m_nFocusedItemId) : nullptr;
    if (!pFocused || pFocused->type() != 11)
        return;
    m_bEditingPoints = !m_bEditingPoints;
    emit m_pExposing->editPoint(m_nFocusedItemId, m_bEditingPoints);
}

void KVCanvas::endEditPoint()
{
    if (!m_bEditingPoints)
        return;
    m_bEditingPoints = false;
    emit m_pExposing->editPoint(m_nFocusedItemId, false);
}

void KVCanvas::editText()
{
    KVElement *pFocused = m_pCurrentScene ? m_pCurrentScene->findElement(m_nFocusedItemId) : nullptr;
    if (pFocused && holdsText(pFocused->type()))
        emit m_pExposing->startEditText(m_nFocusedItemId);
}

void KVCanvas::addBreakpoint()
{
    if (m_pDocument)
        emit addBreakpointRequested(m_nBreakpointDirection == 1, m_nBreakpointRulerPos);
}

void KVCanvas::removeBreakpoint()
{
    if (m_pDocument)
        emit removeBreakpointRequested(m_nBreakpointDirection);
}

void KVCanvas::showContextMenu()
{
    if (m_bEditingText) {
        m_pTextEditor->contextMenu()->popup(QCursor::pos());
        return;
    }
    m_pContextMenu->popup(QCursor::pos());
}

void KVCanvas::reloadCanvas()
{
    reload();
}

void KVCanvas::refreshLockAndHideActions()
{
    KVCanvasOperations::refreshLockHideLabels(this);
}

bool KVCanvas::isFocusedPathOpen() const
{
    const auto *pShape = m_pCurrentScene ? qobject_cast<const KVAutoShape *>(m_pCurrentScene->findElement(m_nFocusedItemId))
                                         : nullptr;
    return pShape && pShape->type() == KVElementType::Freeform
           && KVAutoShapeCatalogue::isOpenFreeform(pShape->shapeType());
}

void KVCanvas::openPath()
{
    // "Open Path" opens a closed outline, "Close Path" closes an open one.
    KVElement *pFocused = m_pCurrentScene ? m_pCurrentScene->findElement(m_nFocusedItemId) : nullptr;
    if (pFocused && pFocused->type() == KVElementType::Freeform)
        emit m_pExposing->openPath(m_nFocusedItemId, !isFocusedPathOpen());
}

void KVCanvas::straightSegment()
{
    if (m_nFocusedItemId >= 0)
        emit m_pExposing->straightSegment(m_nFocusedItemId);
}

void KVCanvas::stopEditText(bool bImmediately)
{
    emit m_pExposing->stopEditText(bImmediately);
}

void KVCanvas::stopEditText()
{
    emit m_pExposing->stopEditText();
}

void KVCanvas::deselectAll()
{
    KVCanvasOperations::deselectAll(this);
}

void KVCanvas::onSelectAll()
{
    KVCanvasOperations::selectAll(this);
}

// ---- Editing operations -----------------------------------------------------------------------

void KVCanvas::setAlignLeft() { KVCanvasOperations::align(this, KVArrangeOperation::AlignLeft); }
void KVCanvas::setAlignRight() { KVCanvasOperations::align(this, KVArrangeOperation::AlignRight); }
void KVCanvas::setAlignTop() { KVCanvasOperations::align(this, KVArrangeOperation::AlignTop); }
void KVCanvas::setAlignBottom() { KVCanvasOperations::align(this, KVArrangeOperation::AlignBottom); }
void KVCanvas::setAlignHCenter() { KVCanvasOperations::align(this, KVArrangeOperation::AlignHCenter); }
void KVCanvas::setAlignVCenter() { KVCanvasOperations::align(this, KVArrangeOperation::AlignVCenter); }
void KVCanvas::setDistLeftEdge() { KVCanvasOperations::align(this, KVArrangeOperation::DistLeft); }
void KVCanvas::setDistHorzCenter() { KVCanvasOperations::align(this, KVArrangeOperation::DistHCenter); }
void KVCanvas::setDistRightEdge() { KVCanvasOperations::align(this, KVArrangeOperation::DistRight); }
void KVCanvas::setDistTopEdge() { KVCanvasOperations::align(this, KVArrangeOperation::DistTop); }
void KVCanvas::setDistVertCenter() { KVCanvasOperations::align(this, KVArrangeOperation::DistVCenter); }
void KVCanvas::setDistBottomEdge() { KVCanvasOperations::align(this, KVArrangeOperation::DistBottom); }
void KVCanvas::setDistHorzSpace() { KVCanvasOperations::align(this, KVArrangeOperation::DistHSpace); }
void KVCanvas::setDistVertSpace() { KVCanvasOperations::align(this, KVArrangeOperation::DistVSpace); }
void KVCanvas::setSameWidth() { KVCanvasOperations::sameSize(this, KVArrangeOperation::SameWidth); }
void KVCanvas::setSameHeight() { KVCanvasOperations::sameSize(this, KVArrangeOperation::SameHeight); }
void KVCanvas::setSameSize() { KVCanvasOperations::sameSize(this, KVArrangeOperation::SameBoth); }
void KVCanvas::bringToFront() { KVCanvasOperations::displayOrder(this, KVArrangeOperation::ToFront); }
void KVCanvas::sendToBack() { KVCanvasOperations::displayOrder(this, KVArrangeOperation::ToBack); }
void KVCanvas::bringForward() { KVCanvasOperations::displayOrder(this, KVArrangeOperation::Forward); }
void KVCanvas::sendBackward() { KVCanvasOperations::displayOrder(this, KVArrangeOperation::Backward); }
void KVCanvas::restoreOriginalSize() { KVCanvasOperations::restoreOriginalSize(this); }
void KVCanvas::removeAllOverrides() { KVCanvasOperations::removeAllOverrides(this); }
void KVCanvas::removeSelectedItems() { KVCanvasOperations::removeSelected(this); }
void KVCanvas::onDelete()
{
    // While text is edited on the stage, the Delete key belongs to the text, never to the element.
    if (!m_bEditingText)
        KVCanvasOperations::removeSelected(this);
}
void KVCanvas::onCopy()
{
    if (m_bEditingText)
        page()->triggerAction(QWebEnginePage::Copy);
    else
        KVCanvasOperations::copy(this, false);
}

void KVCanvas::onCut()
{
    if (m_bEditingText)
        page()->triggerAction(QWebEnginePage::Cut);
    else
        KVCanvasOperations::copy(this, true);
}

void KVCanvas::onPaste()
{
    if (m_bEditingText)
        page()->triggerAction(QWebEnginePage::Paste);
    else
        KVCanvasOperations::paste(this, QGuiApplication::clipboard()->mimeData(), false, false);
}

void KVCanvas::onPasteAtCursor()
{
    const QPoint pt = m_pContextMenu ? m_pContextMenu->menuPosition() : mapFromGlobal(QCursor::pos());
    KVCanvasOperations::paste(this, QGuiApplication::clipboard()->mimeData(), false, true, pt);
}

void KVCanvas::onPasteWithAnimation()
{
    KVCanvasOperations::paste(this, QGuiApplication::clipboard()->mimeData(), true, false);
}

void KVCanvas::groupElements() { KVCanvasOperations::group(this); }
void KVCanvas::ungroupElement() { KVCanvasOperations::ungroup(this); }
void KVCanvas::addToGroup() { KVCanvasOperations::addToGroup(this); }
void KVCanvas::removeFromGroup() { KVCanvasOperations::removeFromGroup(this); }
void KVCanvas::lockAllElements() { KVCanvasOperations::lockAll(this); }
void KVCanvas::lockElements() { KVCanvasOperations::lockSelected(this); }
void KVCanvas::hideAllElements() { KVCanvasOperations::hideAll(this); }
void KVCanvas::hideElements() { KVCanvasOperations::hideSelected(this); }
void KVCanvas::addText() { KVCanvasOperations::insertText(this); }
void KVCanvas::addHtmlWidget() { KVCanvasOperations::insertHtmlWidget(this); }
void KVCanvas::addImage() { KVCanvasOperations::insertFiles(this, KVResourceType::Image); }
void KVCanvas::addAudio() { KVCanvasOperations::insertFiles(this, KVResourceType::Audio); }
void KVCanvas::addVideo() { KVCanvasOperations::insertFiles(this, KVResourceType::Video); }
void KVCanvas::addSymbol() { KVCanvasOperations::insertFiles(this, KVResourceType::Symbol); }

bool KVCanvas::event(QEvent *pEvent)
{
    // The view's keys arrive at the widget it adds for the page.
    if (pEvent->type() == QEvent::ChildAdded) {
        if (QObject *pChild = static_cast<QChildEvent *>(pEvent)->child(); pChild && pChild->isWidgetType())
            pChild->installEventFilter(this);
    }
    return QWebEngineView::event(pEvent);
}

bool KVCanvas::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pEvent->type() == QEvent::ShortcutOverride && !m_bEditingText) {
        auto *pKey = static_cast<QKeyEvent *>(pEvent);
        if (pKey->matches(QKeySequence::Copy) || pKey->matches(QKeySequence::Cut) || pKey->matches(QKeySequence::Paste)) {
            pEvent->ignore();
            return true;
        }
    }
    return QWebEngineView::eventFilter(pWatched, pEvent);
}

void KVCanvas::dragEnterEvent(QDragEnterEvent *pEvent)
{
    if (KVCanvasOperations::acceptsDrag(this, pEvent->mimeData()))
        pEvent->acceptProposedAction();
    else
        QWebEngineView::dragEnterEvent(pEvent);
}

void KVCanvas::dragMoveEvent(QDragMoveEvent *pEvent)
{
    if (KVCanvasOperations::acceptsDrag(this, pEvent->mimeData()))
        pEvent->acceptProposedAction();
    else
        QWebEngineView::dragMoveEvent(pEvent);
}

void KVCanvas::dropEvent(QDropEvent *pEvent)
{
    if (KVCanvasOperations::drop(this, pEvent->mimeData(), pEvent->pos()))
        pEvent->acceptProposedAction();
    else
        QWebEngineView::dropEvent(pEvent);
}

// ---- Activation -----------------------------------------------------------------------------------

void KVCanvas::onEditorActivated()
{
    if (m_bEditingText) {
        m_pTextEditor->showFloatTools(m_pTextEditor->floatingToggle()->isChecked());
        emit m_pExposing->requestSendCurrentTextFormat();
    }
}

void KVCanvas::onEditorDeactivated()
{
    pauseTimeline();
    if (m_bEditingText)
        m_pTextEditor->showFloatTools(false);
}
