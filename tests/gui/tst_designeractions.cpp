// The designer's action catalogue as the running application has it: ids, texts, shortcuts,
// menus, toolbars, and commands reaching the active editor's canvas.
#include "plugin/KVDesignerActions.h"
#include "plugin/KVDesignerPlugin.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "ContextAction.h"
#include "EditorManager.h"
#include "ICore.h"
#include "IEditor.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "PluginSpec.h"

#include "KVTestMain.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

using ExtensionSystem::PluginManager;

namespace {
// Stands in for the editing canvas: records what it is asked to do.
class RecordingCanvas : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool alignToParent MEMBER m_bAlign)
    Q_PROPERTY(bool fluidLayout MEMBER m_bFluid)
public:
    QStringList calls;
    bool m_bAlign = true;
    bool m_bFluid = false;
public slots:
    void addRectangle() { calls << QStringLiteral("addRectangle"); }
    void addShape(int n) { calls << QStringLiteral("addShape(%1)").arg(n); }
    void setAlignLeft() { calls << QStringLiteral("setAlignLeft"); }
    void setZoom(double d) { calls << QStringLiteral("setZoom(%1)").arg(d); }
    void showRuler(bool b) { calls << QStringLiteral("showRuler(%1)").arg(b ? "true" : "false"); }
    void changeStageView(int n) { calls << QStringLiteral("changeStageView(%1)").arg(n); }
    void groupElements() { calls << QStringLiteral("groupElements"); }
    void ungroupElement() { calls << QStringLiteral("ungroupElement"); }
    void setAlignHCenter() { calls << QStringLiteral("setAlignHCenter"); }
    void hideAllElements() { calls << QStringLiteral("hideAllElements"); }
    void zoomOut() { calls << QStringLiteral("zoomOut"); }
    void zoomFit() { calls << QStringLiteral("zoomFit"); }
};

class EditorWithCanvas : public IEditor
{
    Q_OBJECT
    Q_PROPERTY(QObject *canvas READ canvas)
public:
    QObject *canvas() const { return m_pCanvas; }
    QWidget *widget() const override { return nullptr; }
    QObject *m_pCanvas = nullptr;
public slots:
    void saveAsPackage() {}
};
} // namespace

class tst_DesignerActions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void actions_data();
    void actions();
    void everyCatalogueEntryIsRegistered();
    void menusAndTheirOrder();
    void toolbars();
    void shapeAndKeyframeMenus();
    void commandsReachTheCanvas();
    void actionsFollowWhatTheCanvasCanDo();
    void layoutCheckBoxesFollowTheCanvas();

private:
    ActionManager *am() const { return m_core->actionManager(); }
    KVDesignerPlugin *plugin() const
    {
        return qobject_cast<KVDesignerPlugin *>(PluginManager::specForName(QStringLiteral("designer"))->plugin());
    }
    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
};

void tst_DesignerActions::initTestCase()
{
    QFile::remove(KVTestEnvironment::settingsPath());
    m_manager.reset(new PluginManager);
    PluginManager::setSettingsPath(KVTestEnvironment::settingsPath());
    PluginManager::setPluginPaths({KVTestEnvironment::binaryDir() + QStringLiteral("/lib/kavio/plugins")});
    m_window.reset(new MainWindow);
    m_core.reset(new ICore(m_window.data()));
    QVERIFY2(PluginManager::loadPlugins(), qPrintable(PluginManager::errors().join('\n')));
}

void tst_DesignerActions::cleanupTestCase()
{
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

void tst_DesignerActions::actions_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("data");
    QTest::newRow("package") << "File.SaveAs.Package" << "Package" << QKeySequence("Ctrl+Shift+P") << true << "";
    QTest::newRow("cut") << "Edit.Cut" << "Cu&t" << QKeySequence(QKeySequence::Cut) << false << "";
    QTest::newRow("paste anim") << "Edit.Paste_With_Animation" << "Paste with Animation" << QKeySequence() << false << "";
    QTest::newRow("rename") << "Edit.Rename" << "Rename" << QKeySequence("F2") << false << "";
    QTest::newRow("group") << "Edit.Group_Elements.Group" << "Group" << QKeySequence("Ctrl+G") << true << "";
    QTest::newRow("ungroup") << "Edit.Group_Elements.Ungroup" << "Ungroup" << QKeySequence("Ctrl+Shift+G") << true << "";
    QTest::newRow("align center") << "Edit.Alignment.Center" << "Align Center" << QKeySequence("Shift+E") << true << "";
    QTest::newRow("hide all id") << "Edit.Hide ALL" << "Hide All" << QKeySequence() << true << "";
    QTest::newRow("zoom out id") << "View.Canvas.Zoom_nOut" << "Zoom Out" << QKeySequence("Ctrl+-") << true << "";
    QTest::newRow("zoom 75") << "View.Canvas.Zoom_75%" << "75%" << QKeySequence() << true << "75";
    QTest::newRow("fit") << "View.Canvas.Zoom_Fit_on_Screen" << "&Fit on Screen" << QKeySequence("Ctrl+0") << true << "";
    QTest::newRow("play") << "Timeline.Play" << "Play/Stop" << QKeySequence("Space") << true << "";
    QTest::newRow("snapping") << "Timeline.Snapping" << "Snapping" << QKeySequence("Alt+;") << true << "";
    QTest::newRow("expand") << "Timeline.Expand_Collapse_All" << "Expand/Collapse All" << QKeySequence("Ctrl+Shift+.") << true << "";
    QTest::newRow("grid 24") << "Timeline.Grid.24 / second" << "24 / second" << QKeySequence() << true << "";
    QTest::newRow("bold") << "Text.Bold" << "Bold" << QKeySequence("Ctrl+B") << true << "bold";
    QTest::newRow("justify") << "Text.Align_Justify" << "Justify" << QKeySequence("Ctrl+J") << true << "justifyfull";
    // hidden until text is edited, and a hidden action is never enabled
    QTest::newRow("plain paste") << "Text.Paste_As_Plain" << "Paste as Plain Text" << QKeySequence() << false << "insertText";
}

void tst_DesignerActions::actions()
{
    QFETCH(QString, id);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    QFETCH(QString, data);
    // In the editor state, so that only the catalogue's own starting state decides.
    RecordingCanvas canvas;
    EditorWithCanvas editor;
    editor.m_pCanvas = &canvas;
    m_core->editorManager()->addEditor(&editor);
    m_core->editorManager()->activateEditor(&editor);
    auto cleanup = qScopeGuard([&] {
        m_core->editorManager()->activateEditor(nullptr);
        m_core->editorManager()->removeEditor(&editor);
    });
    QAction *a = am()->getAction(id);
    QVERIFY2(a, qPrintable(id));
    QCOMPARE(a->text(), text);
    QCOMPARE(a->shortcut(), shortcut);
    QCOMPARE(a->isEnabled(), enabled);
    QCOMPARE(a->data().toString(), data);
}

void tst_DesignerActions::everyCatalogueEntryIsRegistered()
{
    QSet<QString> ids;
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        const QString id = QString::fromLatin1(spec.id);
        QVERIFY2(!ids.contains(id), qPrintable("twice: " + id));
        ids.insert(id);
        QAction *a = am()->getAction(id);
        QVERIFY2(a, qPrintable(id));
        if (spec.icon)
            QVERIFY2(!a->icon().isNull(), qPrintable("no icon file for " + id));
    }
    QVERIFY(!am()->getAction(QStringLiteral("Text.Paste_As_Plain"))->isVisible());
    QVERIFY(am()->getAction(QStringLiteral("View.Ruler"))->isCheckable());
    QVERIFY(!am()->getAction(QStringLiteral("File.Export_To_HTML5"))->icon().isNull());
}

void tst_DesignerActions::menusAndTheirOrder()
{
    QStringList titles;
    for (QAction *a : m_window->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&View", "&Scene", "&Element", "&Timeline", "&Help"}));
    QCOMPARE(KVDesignerActions::menuIds(),
             QStringList({"Edit.Group_Elements", "Edit.Size", "Edit.Alignment", "Edit.DisplayOrder", "View.Stage",
                          "Timeline.Zoom", "View.Toolbars", "MenuBar.Scene", "MenuBar.Element", "MenuBar.Timeline",
                          "Timeline.Snap_To", "Timeline.Grid"}));
    for (const QString &id : KVDesignerActions::menuIds())
        QVERIFY2(am()->getActionContainer(id), qPrintable(id));
    QStringList group;
    for (QAction *a : am()->getActionContainer(QStringLiteral("Edit.Group_Elements"))->menu()->actions())
        group << a->objectName();
    QCOMPARE(group, QStringList({"Edit.Group_Elements.Group", "Edit.Group_Elements.Ungroup",
                                 "Edit.Group_Elements.Add_To_Group", "Edit.Group_Elements.Remove_From_Group",
                                 "Edit.Group_Elements.Layout_Group"}));
}

void tst_DesignerActions::toolbars()
{
    const QList<QToolBar *> bars = plugin()->designerActions()->toolbars();
    QStringList names;
    for (QToolBar *tb : bars)
        names << tb->objectName() + ":" + tb->windowTitle();
    QCOMPARE(names, QStringList({"toolbar_edit:Edit", "toolbar_insert:Insert", "toolbar_alignment:Modify"}));
    QVERIFY(bars.at(0)->findChild<QToolButton *>(QStringLiteral("undo_button")));
    QVERIFY(bars.at(0)->findChild<QToolButton *>(QStringLiteral("redo_button")));
    // the host's file toolbar toggle comes first in View.Toolbars
    const QList<QAction *> toggles = am()->getActionContainer(QStringLiteral("View.Toolbars"))->menu()->actions();
    QCOMPARE(toggles.size(), 4);
    QCOMPARE(toggles.first(), m_window->getFileToolbar()->toggleViewAction());
    QCheckBox *align = bars.at(2)->findChild<QCheckBox *>(QStringLiteral("alignToParent"));
    QVERIFY(align);
    QCOMPARE(align->text(), QStringLiteral("Align to Parent"));
    QCOMPARE(align->toolTip(), QStringLiteral("Align/Distribute/Space within parent"));
    QCOMPARE(bars.at(2)->findChild<QCheckBox *>(QStringLiteral("flexibleLayout"))->toolTip(),
             QStringLiteral("Percentage-based positions"));
    // toolbars hide with the no-editor state
    for (QToolBar *tb : bars)
        QVERIFY(tb->isHidden());
}

void tst_DesignerActions::shapeAndKeyframeMenus()
{
    QMenu *shapes = plugin()->designerActions()->shapeMenu();
    QStringList categories;
    int count = 0;
    for (QAction *a : shapes->actions()) {
        categories << a->text();
        count += a->menu()->actions().size();
    }
    QCOMPARE(categories, QStringList({"Basic Shapes", "Callouts", "Freeforms", "Block Arrows", "Stars"}));
    QCOMPARE(count, 48);
    // one add-keyframe action per animatable property, under its group
    int keyframeActions = 0;
    for (ContextAction *ca : am()->getActions()) {
        if (ca->id().startsWith(QStringLiteral("Timeline.Add_Keyframe.")))
            ++keyframeActions;
    }
    QCOMPARE(keyframeActions, 66);
    QVERIFY(am()->getAction(QStringLiteral("Timeline.Add_Keyframe.General.Opacity")));
    QVERIFY(am()->getAction(QStringLiteral("Timeline.Add_Keyframe.Text.Letter Space")));
}

void tst_DesignerActions::commandsReachTheCanvas()
{
    RecordingCanvas canvas;
    EditorWithCanvas editor;
    // no active editor: nothing happens
    am()->getAction(QStringLiteral("Element.Rectangle"))->trigger();
    QVERIFY(canvas.calls.isEmpty());
    m_core->editorManager()->addEditor(&editor);
    m_core->editorManager()->activateEditor(&editor);
    // an editor without a canvas: nothing either
    am()->getAction(QStringLiteral("Element.Rectangle"))->trigger();
    QVERIFY(canvas.calls.isEmpty());
    editor.m_pCanvas = &canvas;
    am()->getAction(QStringLiteral("Element.Rectangle"))->trigger();
    am()->getAction(QStringLiteral("Edit.Alignment.Left"))->trigger();
    am()->getAction(QStringLiteral("View.Canvas.Zoom_75%"))->trigger();
    am()->getAction(QStringLiteral("View.Ruler"))->trigger();
    am()->getAction(QStringLiteral("View.Stage.Side_View"))->trigger();
    plugin()->designerActions()->shapeMenu()->actions().first()->menu()->actions().first()->trigger();
    QCOMPARE(canvas.calls.mid(0, 5), QStringList({"addRectangle", "setAlignLeft", "setZoom(0.75)", "showRuler(true)",
                                                  "changeStageView(2)"}));
    QVERIFY(canvas.calls.value(5).startsWith(QStringLiteral("addShape(")));
    m_core->editorManager()->activateEditor(nullptr);
    m_core->editorManager()->removeEditor(&editor);
}

void tst_DesignerActions::actionsFollowWhatTheCanvasCanDo()
{
    // The stand-in canvas can draw rectangles but not insert text: only what it can do is offered.
    RecordingCanvas canvas;
    EditorWithCanvas editor;
    editor.m_pCanvas = &canvas;
    m_core->editorManager()->addEditor(&editor);
    m_core->editorManager()->activateEditor(&editor);
    QVERIFY(am()->getAction(QStringLiteral("Element.Rectangle"))->isEnabled());
    QVERIFY(!am()->getAction(QStringLiteral("Element.Text"))->isEnabled());
    QVERIFY(am()->getAction(QStringLiteral("Element.Shape_On_ToolBar"))->isEnabled());
    QVERIFY(!am()->getAction(QStringLiteral("Edit.DisplayOrder.Bring_To_Front"))->isEnabled());
    // the editor has no preview: the host's preview action is not offered
    QVERIFY(!am()->getAction(QStringLiteral("File.Preview_Project_In_Browser"))->isEnabled());
    // a disabled action does nothing even when triggered by hand
    am()->getAction(QStringLiteral("Element.Text"))->trigger();
    QVERIFY(canvas.calls.isEmpty());
    m_core->editorManager()->activateEditor(nullptr);
    m_core->editorManager()->removeEditor(&editor);
}

void tst_DesignerActions::layoutCheckBoxesFollowTheCanvas()
{
    QCheckBox *align = plugin()->designerActions()->alignToParentBox();
    QCheckBox *fluid = plugin()->designerActions()->flexibleLayoutBox();
    RecordingCanvas canvas;
    EditorWithCanvas editor;
    editor.m_pCanvas = &canvas;
    m_core->editorManager()->addEditor(&editor);
    m_core->editorManager()->activateEditor(&editor);
    QVERIFY(align->isChecked());
    QVERIFY(align->isEnabled());
    QVERIFY(fluid->isEnabled());
    align->setChecked(false);
    QVERIFY(!fluid->isEnabled());
    QCOMPARE(canvas.property("alignToParent").toBool(), false);
    m_core->editorManager()->activateEditor(nullptr);
    m_core->editorManager()->removeEditor(&editor);
}

KAVIO_WEBENGINE_TEST_MAIN(tst_DesignerActions)
#include "tst_designeractions.moc"
