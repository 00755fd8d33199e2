#include "KVDesignerPlugin.h"
#include "KVEditor.h"
#include "canvas/KVCanvas.h"

#include "KVDesignerActions.h"
#include "KVDesignerFactory.h"
#include "KVDocumentHost.h"
#include "KVInteractionTools.h"

#include "document/KVDocument.h"
#include "KVLocationManager.h"
#include "KVWelcomeBridge.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "ContextAction.h"
#include "ContextManager.h"
#include "DocumentManager.h"
#include "EditorManager.h"
#include "ICore.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "Reporter.h"
#include "Updater.h"
#include "canvas/KVTextHelperPage.h"
#include "commands/KVTextCommandValidator.h"

#include "ui/IUi.h"
#include "ui/inspector/KVPropertiesTabsWidget.h"
#include "ui/timeline/KVTimelineWindow.h"
#include "ui/panels/KVPanelSet.h"

#include "commands/KVClipBoard.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QClipboard>
#include <QGuiApplication>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUndoGroup>
#include <QVBoxLayout>
#include <QUrlQuery>
#include <QWebChannel>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
struct DockSpec {
    const char *title;
    const char *objectName;
    const char *actionId;
    Qt::DockWidgetArea area;
    const char *contextId; // empty: no context
    const char *tabbedWith; // object name, or empty
};

// The dock windows, in the order they are made.
const DockSpec kDocks[] = {
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Properties"), "spInspectorDockWidget", "View.Properties",
     Qt::RightDockWidgetArea, "", ""},
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Scenes"), "spScenesDockWidget", "View.Scenes", Qt::LeftDockWidgetArea,
     "Scene", ""},
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Document"), "spDocPropertiesWidget", "View.Document",
     Qt::LeftDockWidgetArea, "Document", "spScenesDockWidget"},
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Timeline"), "spTimelineDockWidget", "View.Timeline",
     Qt::BottomDockWidgetArea, "Timeline", ""},
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Elements"), "spElementsWidget", "View.Elements", Qt::RightDockWidgetArea,
     "Element", ""},
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Resources"), "spResourcesWidget", "View.Resources",
     Qt::RightDockWidgetArea, "", "spElementsWidget"},
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Functions"), "spFunctionsWidget", "View.Functions",
     Qt::RightDockWidgetArea, "", "spResourcesWidget"},
    {QT_TRANSLATE_NOOP("KVDesignerPlugin", "Breakpoints"), "spBreakpointsWidget", "View.Breakpoints",
     Qt::RightDockWidgetArea, "Breakpoint", "spResourcesWidget"},
};

// Docks are removed at shut-down in this order.
const char *const kDockRemovalOrder[] = {"spInspectorDockWidget", "spTimelineDockWidget", "spScenesDockWidget",
                                         "spDocPropertiesWidget", "spElementsWidget",     "spResourcesWidget",
                                         "spFunctionsWidget",     "spBreakpointsWidget"};

const QString kWindowState = QStringLiteral("Designer/windowState");
const QString kWindowGeometry = QStringLiteral("Designer/windowGeometry");
const QString kAutoUpdate = QStringLiteral("Kavio/AutoUpdate");
const QString kLanguage = QStringLiteral("Kavio/Language");
const QString kUpdateUrl = QStringLiteral("Kavio/UpdateUrl");

ActionManager *actions()
{
    return ICore::instance()->actionManager();
}
} // namespace

KVDesignerPlugin::KVDesignerPlugin()
    : m_pUpdateTimer(new QTimer(this))
{
    m_pUpdateTimer->setSingleShot(true);
    connect(m_pUpdateTimer, &QTimer::timeout, this, [this] { checkUpdates(true); });
}

KVDesignerPlugin::~KVDesignerPlugin()
{
    if (KVDocument::host() == m_pDocumentHost.data())
        KVDocument::setHost(nullptr);
    qDeleteAll(m_docks);
    KVLocationManager::destroyInstance();
    KVTextCommandValidator::destroyInstance();
    KVClipBoard::destroyInstance();
}

QStringList KVDesignerPlugin::editorStateActionIds()
{
    return {QStringLiteral("File.Preview_Current_Scene_In_Browser"), QStringLiteral("File.Preview_Project_In_Browser"),
            QStringLiteral("File.Export_To_HTML5"), QStringLiteral("Edit.Undo"), QStringLiteral("Edit.Redo"),
            QStringLiteral("Edit.Copy"), QStringLiteral("Edit.Cut"), QStringLiteral("Edit.Paste"),
            QStringLiteral("Edit.Paste_With_Animation"), QStringLiteral("Edit.Delete"),
            QStringLiteral("Edit.Select_All"), QStringLiteral("Edit.Group_Elements.Group"),
            QStringLiteral("Edit.Group_Elements.Ungroup"), QStringLiteral("Edit.Group_Elements.Add_To_Group"),
            QStringLiteral("Edit.Group_Elements.Remove_From_Group"),
            QStringLiteral("Edit.Group_Elements.Layout_Group"), QStringLiteral("Edit.Convert_To_Symbol"),
            QStringLiteral("Edit.Restore_Original_Size"), QStringLiteral("View.Ruler"),
            QStringLiteral("View.Canvas.Snap"), QStringLiteral("View.Scenes"), QStringLiteral("View.Timeline"),
            QStringLiteral("View.Resources"), QStringLiteral("View.Functions"), QStringLiteral("View.Elements"),
            QStringLiteral("View.Properties"), QStringLiteral("View.Breakpoints"), QStringLiteral("View.Document")};
}

QStringList KVDesignerPlugin::editorStateMenuIds()
{
    return {QStringLiteral("View.Stage"),          QStringLiteral("MenuBar.Scene"),   QStringLiteral("MenuBar.Element"),
            QStringLiteral("MenuBar.Timeline"),    QStringLiteral("Timeline.Zoom"),   QStringLiteral("Edit.Group_Elements"),
            QStringLiteral("Edit.Size"),           QStringLiteral("Edit.Alignment"),  QStringLiteral("Edit.DisplayOrder"),
            QStringLiteral("View.Toolbars")};
}

bool KVDesignerPlugin::initialize(const QStringList &, QString *errorString)
{
    ICore *core = ICore::instance();
    if (!core || !core->getMainWindow()) {
        if (errorString)
            *errorString = tr("The designer needs the host's main window.");
        return false;
    }
    MainWindow *mw = core->getMainWindow();

    m_pFactory = new KVDesignerFactory;
    addAutoReleasedObject(m_pFactory);
    m_pDocumentHost.reset(new KVDocumentHost(mw));
    KVDocument::setHost(m_pDocumentHost.data());
    // Text edits wait in the command queue for the hidden helper page to normalise their HTML.
    KVTextHelperPage::install(KVTextCommandValidator::getInstance());

    createWelcomePage();
    createActions();
    mw->setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    createDocks();

    KVLocationManager *lm = KVLocationManager::getInstance();
    lm->setDefaults();
    lm->setSettings(ExtensionSystem::PluginManager::settings());
    lm->readHistory();

    // The canvas zoom control lives in the status bar and shows while a canvas is active.
    m_pZoom = new QComboBox(mw);
    m_pZoom->setObjectName(QStringLiteral("CanvasZoom"));
    m_pZoom->setEditable(true);
    for (int percent : {10, 25, 50, 75, 100, 150, 200, 300, 400})
        m_pZoom->addItem(QStringLiteral("%1%").arg(percent), percent);
    m_pZoom->setCurrentIndex(4);
    m_pZoom->setInsertPolicy(QComboBox::NoInsert);
    connect(m_pZoom, &QComboBox::textActivated, this, &KVDesignerPlugin::onZoomEntered);
    connect(m_pZoom->lineEdit(), &QLineEdit::returnPressed, this, [this] { onZoomEntered(m_pZoom->currentText()); });
    mw->statusBar()->addPermanentWidget(m_pZoom);
    m_pZoom->hide();

    for (QDockWidget *dock : qAsConst(m_docks))
        dock->hide();
    QSettings *settings = ExtensionSystem::PluginManager::settings();
    // A first start shows the timeline with the first project; later starts keep the saved docks.
    m_bShowTimelineWithEditor = !settings->contains(kWindowState);
    mw->restoreState(settings->value(kWindowState).toByteArray());
    mw->restoreGeometry(settings->value(kWindowGeometry).toByteArray());

    EditorManager *em = core->editorManager();
    connect(em, &EditorManager::editorActivated, this, &KVDesignerPlugin::updateEditorActivated);
    connect(em, &EditorManager::editorDeactivated, this, &KVDesignerPlugin::updateEditorDeactivated);
    // Paste follows what the system clipboard holds, whoever put it there.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &KVDesignerPlugin::updateActionAvailability);

    setEditorState(false);
    updateActionAvailability();
    return true;
}

void KVDesignerPlugin::createWelcomePage()
{
    ICore *core = ICore::instance();
    MainWindow *mw = core->getMainWindow();
    auto *holder = new QWidget;
    holder->setObjectName(QStringLiteral("WelcomePage"));
    auto *layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pWelcomeView = new QWebEngineView(holder);
    m_pWelcomeView->setContextMenuPolicy(Qt::NoContextMenu);
    layout->addWidget(m_pWelcomeView);
    mw->setWelcomeWidget(holder);

    // The page's own channel, handed in-process: it holds the welcome bridge alone, and no socket
    // leads to it. The page reads no local file beyond its own.
    auto *bridge = new KVWelcomeBridge(mw, m_pWelcomeView);
    auto *channel = new QWebChannel(m_pWelcomeView);
    channel->registerObject(QStringLiteral("kvwelcome"), bridge);
    m_pWelcomeView->page()->setWebChannel(channel);
    m_pWelcomeView->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);

    QUrl url = QUrl::fromLocalFile(core->resourcePath() + QStringLiteral("/resources/welcome/kvwelcome.html"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("lang"), ExtensionSystem::PluginManager::settings()->value(kLanguage).toString());
    url.setQuery(query);
    m_pWelcomeView->load(url);
}

void KVDesignerPlugin::createActions()
{
    ICore *core = ICore::instance();
    MainWindow *mw = core->getMainWindow();
    ActionManager *am = actions();
    // Host actions the designer gives icons to (the preview and export actions are connected with
    // the designer's commands).
    static const QList<QPair<const char *, const char *>> kIcons = {
        {"Edit.Undo", "undo"}, {"Edit.Redo", "redo"}, {"File.Preview_Current_Scene_In_Browser", "c_preview"},
        {"File.Preview_Project_In_Browser", "preview"}, {"File.Export_To_HTML5", "export"}};
    for (const auto &icon : kIcons) {
        if (QAction *a = am->getAction(QString::fromLatin1(icon.first)))
            a->setIcon(IUi::getInstance()->icon(QString::fromLatin1(icon.second)));
    }
    if (QAction *a = am->getAction(QStringLiteral("Help.About")))
        connect(a, &QAction::triggered, this, &KVDesignerPlugin::showAbout);
    if (QAction *a = am->getAction(QStringLiteral("Help.Community")))
        connect(a, &QAction::triggered, this, &KVDesignerPlugin::openCommunity);
    if (QAction *a = am->getAction(QStringLiteral("Help.CheckUpdates")))
        connect(a, &QAction::triggered, this, qOverload<>(&KVDesignerPlugin::checkUpdates));
    // Ctrl+Y redoes too, beside the platform's own key.
    if (ContextAction *redo = am->getContextAction(QStringLiteral("Edit.Redo"))) {
        QList<QKeySequence> keys = redo->shortcuts();
        const QKeySequence ctrlY(QStringLiteral("Ctrl+Y"));
        if (!keys.contains(ctrlY))
            keys.append(ctrlY);
        redo->setDefaultShortcuts(keys);
    }

    m_pActions = new KVDesignerActions(am, mw, this);
    m_pActions->create();
    m_toolbars = m_pActions->toolbars();
    connectCommands();
    am->readFromSettings();
}

void KVDesignerPlugin::createDocks()
{
    ICore *core = ICore::instance();
    MainWindow *mw = core->getMainWindow();
    ActionContainer *view = actions()->getActionContainer(QStringLiteral("MenuBar.View"));
    for (const DockSpec &spec : kDocks) {
        auto *dock = new QDockWidget(tr(spec.title), mw);
        dock->setObjectName(QString::fromLatin1(spec.objectName));
        auto *panel = new QWidget(dock);
        panel->setObjectName(QString::fromLatin1(spec.objectName) + QStringLiteral("Panel"));
        dock->setWidget(panel);
        if (qstrcmp(spec.objectName, "spTimelineDockWidget") == 0) {
            panel->setProperty("closeButtonHint", true);
            auto *layout = new QVBoxLayout(panel);
            layout->setContentsMargins(0, 0, 0, 0);
            m_pTimelineWindow = new KVTimelineWindow(panel);
            layout->addWidget(m_pTimelineWindow);
            dock->setTitleBarWidget(new QWidget(dock));
            connect(dock, &QDockWidget::topLevelChanged, panel,
                    [panel](bool bFloating) { panel->setProperty("floating", bFloating); });
        } else if (KVPanelSet::holds(spec.objectName)) {
            if (!m_pPanels)
                m_pPanels = new KVPanelSet(this);
            m_pPanels->install(spec.objectName, panel);
        } else if (qstrcmp(spec.objectName, "spInspectorDockWidget") == 0) {
            // The inspector follows the active editor by itself.
            auto *layout = new QVBoxLayout(panel);
            layout->setContentsMargins(0, 0, 0, 0);
            auto *inspector = new KVPropertiesTabsWidget(panel);
            layout->addWidget(inspector);
            EditorManager *em = core->editorManager();
            connect(em, &EditorManager::editorActivated, inspector, &KVPropertiesTabsWidget::updateEditorActivated);
            connect(em, &EditorManager::editorDeactivated, inspector, &KVPropertiesTabsWidget::updateEditorDeactivated);
            connect(dock, &QDockWidget::visibilityChanged, inspector, &KVPropertiesTabsWidget::onToggleShowHide);
        }
        if (qstrcmp(spec.objectName, "spFunctionsWidget") == 0 && m_pInteraction)
            m_pInteraction->installFunctionsPanel(panel);
        mw->addDockWidget(spec.area, dock);
        if (spec.tabbedWith[0]) {
            if (QDockWidget *other = this->dock(QString::fromLatin1(spec.tabbedWith)))
                mw->tabifyDockWidget(other, dock);
        }
        QAction *toggle = dock->toggleViewAction();
        actions()->registerAction(toggle, QString::fromLatin1(spec.actionId));
        view->addAction(toggle);
        if (spec.contextId[0]) {
            core->contextManager()->registerContext(panel, QString::fromLatin1(spec.contextId),
                                                    QString::fromLatin1(spec.contextId));
            m_contexts.append({panel, QString::fromLatin1(spec.contextId)});
        }
        m_docks.append(dock);
    }
    if (m_pPanels) {
        for (const QString &id : m_pPanels->connectActions(actions()))
            m_connectedIds.insert(id);
    }
}

QDockWidget *KVDesignerPlugin::dock(const QString &strObjectName) const
{
    for (QDockWidget *d : m_docks) {
        if (d->objectName() == strObjectName)
            return d;
    }
    return nullptr;
}

void KVDesignerPlugin::extensionsInitialized()
{
    QSettings *settings = ExtensionSystem::PluginManager::settings();
    if (settings && !settings->value(kAutoUpdate, true).toBool())
        return;
    m_pUpdateTimer->start(randomUpdateDelay(int(QRandomGenerator::global()->bounded(1u << 30))));
}

bool KVDesignerPlugin::delayedInitialize()
{
    return true;
}

QObject *KVDesignerPlugin::remoteCommand(const QStringList &, const QString &, const QStringList &)
{
    return nullptr;
}

void KVDesignerPlugin::checkUpdates(bool bSilentIfNoUpdate)
{
    if (m_pUpdateTimer->isActive())
        m_pUpdateTimer->stop();
    ICore *core = ICore::instance();
    if (!core)
        return;
    qInfo("Checking updates for version %s ...", qPrintable(core->version()));
    QString url = qEnvironmentVariable("KAVIO_UPDATE_URL");
    if (url.isEmpty())
        url = ExtensionSystem::PluginManager::settings()->value(kUpdateUrl).toString();
    if (!QUrl(url).isValid() || QUrl(url).isEmpty()) {
        // The check the user asked for says why nothing happens; the timer's check stays quiet.
        if (!bSilentIfNoUpdate)
            Reporter::information(tr("No update source is configured, so Kavio Studio cannot check for updates.\n"
                                     "Set the address of an update feed under \"%1\" in the settings file.")
                                      .arg(kUpdateUrl));
        return;
    }
    Updater *updater = core->updater();
    updater->setDownloaderEnabled(true);
    updater->setNotifyOnUpdate(true);
    updater->setNotifyOnFinish(true);
    updater->checkForUpdates(QUrl(url), bSilentIfNoUpdate);
}

void KVDesignerPlugin::checkUpdates()
{
    checkUpdates(false);
}

ExtensionSystem::IPlugin::ShutdownFlag KVDesignerPlugin::aboutToShutdown()
{
    ICore *core = ICore::instance();
    if (!core || !core->getMainWindow())
        return SynchronousShutdown;
    MainWindow *mw = core->getMainWindow();
    for (const auto &context : qAsConst(m_contexts))
        core->contextManager()->unregisterContext(context.first, context.second);
    m_contexts.clear();
    if (QDockWidget *timeline = dock(QStringLiteral("spTimelineDockWidget")))
        timeline->setFloating(false);
    QSettings *settings = ExtensionSystem::PluginManager::settings();
    settings->setValue(kWindowState, mw->saveState());
    settings->setValue(kWindowGeometry, mw->saveGeometry());
    settings->sync();
    for (const char *name : kDockRemovalOrder) {
        QDockWidget *d = dock(QString::fromLatin1(name));
        if (!d)
            continue;
        actions()->unregisterAction(d->toggleViewAction()->objectName());
        mw->removeDockWidget(d);
        m_docks.removeAll(d);
        delete d;
    }
    return SynchronousShutdown;
}

void KVDesignerPlugin::setEditorState(bool bEditor)
{
    m_bEditorState = bEditor;
    ActionManager *am = actions();
    for (const QString &id : editorStateActionIds()) {
        if (QAction *a = am->getAction(id))
            a->setVisible(bEditor);
    }
    for (const QString &id : editorStateMenuIds()) {
        if (ActionContainer *c = am->getActionContainer(id))
            c->setVisible(bEditor);
    }
    for (QToolBar *tb : qAsConst(m_toolbars))
        tb->setVisible(bEditor);
}

void KVDesignerPlugin::updateEditorActivated(IEditor *pEditor)
{
    ActionManager *am = actions();
    if (m_pTimelineWindow)
        m_pTimelineWindow->updateEditorActivated(pEditor);
    if (m_pInteraction)
        m_pInteraction->updateEditorActivated(pEditor);
    if (m_bShowTimelineWithEditor && pEditor) {
        m_bShowTimelineWithEditor = false;
        if (QDockWidget *timeline = dock(QStringLiteral("spTimelineDockWidget")))
            timeline->show();
    }
    // Every command the editor's document runs may enable or disable actions.
    if (auto *pKVEditor = qobject_cast<KVEditor *>(pEditor))
        connect(pKVEditor, &KVEditor::editorStateChanged, this, &KVDesignerPlugin::updateActionAvailability,
                Qt::UniqueConnection);
    // The layout check boxes follow the canvas of the editor.
    if (m_pActions && m_pActions->alignToParentBox()) {
        QCheckBox *align = m_pActions->alignToParentBox();
        QCheckBox *fluid = m_pActions->flexibleLayoutBox();
        if (KVCanvas *canvas = activeCanvas()) {
            const QSignalBlocker b1(align), b2(fluid);
            align->setChecked(canvas->alignToParent());
            fluid->setChecked(canvas->fluidLayout());
            fluid->setEnabled(align->isChecked());
            align->setEnabled(true);
        } else {
            align->setEnabled(false);
            fluid->setEnabled(false);
        }
    }
    if (ActionContainer *saveAs = am->getActionContainer(QStringLiteral("File.SaveAs")))
        saveAs->setEnabled(true);
    if (QAction *close = am->getAction(QStringLiteral("File.Close")))
        close->setEnabled(true);
    setEditorState(true);
    updateActionAvailability();
}

void KVDesignerPlugin::updateEditorDeactivated(IEditor *pEditor)
{
    if (m_pTimelineWindow)
        m_pTimelineWindow->updateEditorDeactivated(pEditor);
    if (m_pInteraction)
        m_pInteraction->updateEditorActivated(activeEditor());
    ICore *core = ICore::instance();
    ActionManager *am = actions();
    if (ActionContainer *saveAs = am->getActionContainer(QStringLiteral("File.SaveAs")))
        saveAs->setEnabled(false);
    if (QAction *close = am->getAction(QStringLiteral("File.Close")))
        close->setEnabled(false);
    MainWindow *mw = core->getMainWindow();
    mw->setWindowModified(false);
    mw->setWindowTitle(QStringLiteral("Kavio Studio"));
    mw->updateRecentFileActions();
    setEditorState(false);
    updateActionAvailability();
}
