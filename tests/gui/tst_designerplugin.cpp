// Starts the host as the application does (main window, core services, the real designer plug-in
// loaded from the plug-in folder) on a real X display.
#include "plugin/KVDesignerPlugin.h"
#include "plugin/KVWelcomeBridge.h"

#include "ActionManager.h"
#include "EditorManager.h"
#include "ICore.h"
#include "IDocumentFactory.h"
#include "IEditor.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "PluginSpec.h"
#include "Updater.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QDockWidget>
#include <QImage>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>

using ExtensionSystem::PluginManager;

namespace {
class FakeEditor : public IEditor
{
public:
    QWidget *widget() const override { return nullptr; }
};
} // namespace

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startsWithDocksHiddenAndNoEditorState();
    void updateCheckIsScheduled_data();
    void updateCheckIsScheduled();
    void editorActivationShowsEditorActions();
    void shutdownSavesTheWindowLayout();
    void welcomePageShowsAndConnects();

private:
    KVDesignerPlugin *plugin() const;
    void start();

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
};

void tst_DesignerPlugin::init()
{
    QFile::remove(KVTestEnvironment::settingsPath());
    m_manager.reset(new PluginManager);
    PluginManager::setSettingsPath(KVTestEnvironment::settingsPath());
    PluginManager::setPluginPaths({KVTestEnvironment::binaryDir() + QStringLiteral("/lib/kavio/plugins")});
}

void tst_DesignerPlugin::start()
{
    m_window.reset(new MainWindow);
    m_core.reset(new ICore(m_window.data()));
    QVERIFY2(PluginManager::loadPlugins(), qPrintable(PluginManager::errors().join('\n')));
    QVERIFY(plugin());
}

void tst_DesignerPlugin::cleanup()
{
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

KVDesignerPlugin *tst_DesignerPlugin::plugin() const
{
    ExtensionSystem::PluginSpec *spec = PluginManager::specForName(QStringLiteral("designer"));
    return spec ? qobject_cast<KVDesignerPlugin *>(spec->plugin()) : nullptr;
}

void tst_DesignerPlugin::startsWithDocksHiddenAndNoEditorState()
{
    start();
    QVERIFY(PluginManager::getObject<IDocumentFactory>());
    const QList<QDockWidget *> docks = plugin()->docks();
    QStringList titles, names;
    for (QDockWidget *d : docks) {
        titles << d->windowTitle();
        names << d->objectName();
        QVERIFY2(d->isHidden(), qPrintable(d->objectName()));
    }
    QCOMPARE(titles, QStringList({"Properties", "Scenes", "Document", "Timeline", "Elements", "Resources",
                                  "Functions", "Breakpoints"}));
    QCOMPARE(names, QStringList({"spInspectorDockWidget", "spScenesDockWidget", "spDocPropertiesWidget",
                                 "spTimelineDockWidget", "spElementsWidget", "spResourcesWidget",
                                 "spFunctionsWidget", "spBreakpointsWidget"}));
    QCOMPARE(m_window->dockWidgetArea(plugin()->dock("spInspectorDockWidget")), Qt::RightDockWidgetArea);
    QCOMPARE(m_window->dockWidgetArea(plugin()->dock("spScenesDockWidget")), Qt::LeftDockWidgetArea);
    QCOMPARE(m_window->dockWidgetArea(plugin()->dock("spTimelineDockWidget")), Qt::BottomDockWidgetArea);
    QCOMPARE(m_window->corner(Qt::BottomRightCorner), Qt::RightDockWidgetArea);

    ActionManager *am = m_core->actionManager();
    QAction *toggle = am->getAction(QStringLiteral("View.Timeline"));
    QVERIFY(toggle);
    QVERIFY(!toggle->isVisible()); // no-editor state
    QVERIFY(!am->getAction(QStringLiteral("Edit.Undo"))->isVisible());
    QVERIFY(!plugin()->isEditorState());
    // the toggle shows its dock
    toggle->trigger();
    QVERIFY(!plugin()->dock("spTimelineDockWidget")->isHidden());
    // docks that share a place are tabbed together once shown
    for (QDockWidget *d : docks)
        d->show();
    QCOMPARE(m_window->tabifiedDockWidgets(plugin()->dock("spScenesDockWidget")),
             QList<QDockWidget *>{plugin()->dock("spDocPropertiesWidget")});
    QList<QDockWidget *> withResources = m_window->tabifiedDockWidgets(plugin()->dock("spResourcesWidget"));
    std::sort(withResources.begin(), withResources.end());
    QList<QDockWidget *> expected = {plugin()->dock("spElementsWidget"), plugin()->dock("spFunctionsWidget"),
                                     plugin()->dock("spBreakpointsWidget")};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(withResources, expected);
}

void tst_DesignerPlugin::updateCheckIsScheduled_data()
{
    QTest::addColumn<QVariant>("autoUpdate");
    QTest::addColumn<bool>("scheduled");
    QTest::newRow("first start") << QVariant() << true;
    QTest::newRow("enabled") << QVariant(true) << true;
    QTest::newRow("disabled") << QVariant(false) << false;
}

void tst_DesignerPlugin::updateCheckIsScheduled()
{
    QFETCH(QVariant, autoUpdate);
    QFETCH(bool, scheduled);
    if (autoUpdate.isValid())
        PluginManager::settings()->setValue(QStringLiteral("Kavio/AutoUpdate"), autoUpdate);
    start();
    QTimer *timer = plugin()->updateTimer();
    QCOMPARE(timer->isActive(), scheduled);
    if (scheduled) {
        QVERIFY(timer->isSingleShot());
        QVERIFY(timer->interval() >= 20000 && timer->interval() <= 60000);
        QCOMPARE(timer->interval() % 1000, 0);
    }
    QCOMPARE(KVDesignerPlugin::randomUpdateDelay(0), 20000);
    QCOMPARE(KVDesignerPlugin::randomUpdateDelay(40), 60000);
    QCOMPARE(KVDesignerPlugin::randomUpdateDelay(41), 20000);
    // a check by hand stops the timer; with no feed configured nothing is fetched, and the user
    // is told why, while the scheduled check stays quiet
    RecordingReporter rec;
    plugin()->checkUpdates();
    QVERIFY(!timer->isActive());
    QVERIFY(!m_core->updater()->isChecking());
    plugin()->checkUpdates(true);
    QCOMPARE(rec.texts().size(), 1);
    QVERIFY(rec.lastText().startsWith(QStringLiteral("No update source is configured")));
}

void tst_DesignerPlugin::editorActivationShowsEditorActions()
{
    start();
    FakeEditor editor;
    m_core->editorManager()->addEditor(&editor);
    m_core->editorManager()->activateEditor(&editor);
    QVERIFY(plugin()->isEditorState());
    QVERIFY(m_core->actionManager()->getAction(QStringLiteral("View.Properties"))->isVisible());
    m_window->setWindowTitle(QStringLiteral("something[*]"));
    m_core->editorManager()->activateEditor(nullptr);
    QVERIFY(!plugin()->isEditorState());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Kavio Studio"));
    m_core->editorManager()->removeEditor(&editor);
}

void tst_DesignerPlugin::shutdownSavesTheWindowLayout()
{
    start();
    m_window->resize(900, 700);
    plugin()->dock("spElementsWidget")->show();
    PluginManager::shutdown();
    QSettings *s = PluginManager::settings();
    QVERIFY(!s->value(QStringLiteral("Designer/windowState")).toByteArray().isEmpty());
    QVERIFY(!s->value(QStringLiteral("Designer/windowGeometry")).toByteArray().isEmpty());
    QVERIFY(m_window->findChildren<QDockWidget *>().isEmpty());
}

void tst_DesignerPlugin::welcomePageShowsAndConnects()
{
    start();
    QWebEngineView *view = plugin()->welcomeView();
    QVERIFY(view);
    QCOMPARE(view->contextMenuPolicy(), Qt::NoContextMenu);
    const QUrl url = view->page()->requestedUrl();
    QVERIFY(url.isLocalFile());
    QVERIFY(url.path().endsWith(QStringLiteral("/resources/welcome/kvwelcome.html")));
    // the page's own channel, handed in-process, holds the welcome bridge alone
    QVERIFY(view->page()->webChannel());
    const QHash<QString, QObject *> objects = view->page()->webChannel()->registeredObjects();
    QCOMPARE(objects.keys(), QStringList{QStringLiteral("kvwelcome")});
    auto *bridge = qobject_cast<KVWelcomeBridge *>(objects.value(QStringLiteral("kvwelcome")));
    QVERIFY(bridge);
    QSignalSpy ready(bridge, &KVWelcomeBridge::ready);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
    // the page reaches the application through the channel
    QTRY_VERIFY_WITH_TIMEOUT(!ready.isEmpty(), 30000);
    QTest::qWait(500);
    const QImage shot = m_window->grab().toImage();
    const QString out = KVTestEnvironment::binaryDir() + QStringLiteral("/test-artifacts/main-window-welcome.png");
    QDir().mkpath(QFileInfo(out).absolutePath());
    QVERIFY(shot.save(out));
    // the welcome page's dark background fills the middle of the window
    const QImage page = view->grab().toImage();
    QVERIFY(!page.isNull());
    const QColor middle = page.pixelColor(page.width() / 2, page.height() - 10);
    QCOMPARE(middle.name(), QStringLiteral("#1f2933"));
}

KAVIO_WEBENGINE_TEST_MAIN(tst_DesignerPlugin)
#include "tst_designerplugin.moc"
