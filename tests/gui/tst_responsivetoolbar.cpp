// The responsive toolbar of a real editor: adding and removing breakpoints brings the set and every
// element in line, picking a layout switches the scenes and fits the container size, bad values
// are refused with a message, and every change can be undone.
#include "plugin/KVEditor.h"
#include "plugin/KVNewProjectDialog.h"
#include "plugin/KVResponsiveToolbar.h"

#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVDiv.h"
#include "model/KVDivProperty.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include "DocumentManager.h"
#include "ICore.h"
#include "IDocumentFactory.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QUndoStack>

using ExtensionSystem::PluginManager;

class tst_ResponsiveToolbar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void addingBringsEveryElementInLine();
    void selectingLayoutSwitchesScenesAndFitsContainer_data();
    void selectingLayoutSwitchesScenesAndFitsContainer();
    void containerWidthPicksLayout_data();
    void containerWidthPicksLayout();
    void badValuesAreRefused_data();
    void badValuesAreRefused();
    void removingAsks();
    void presetsComeFromTheHost();

private:
    KVBreakpointSet *set() const { return m_pDoc->breakpoints(); }
    QList<int> hValues() const;
    // Every element of every scene has exactly the set's layouts.
    void verifyElementsHaveLayouts();

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    int m_nProject = 0;
    KVDocument *m_pDoc = nullptr;
    KVEditor *m_pEditor = nullptr;
    KVResponsiveToolbar *m_pBar = nullptr;
    KVDiv *m_pDiv = nullptr;
};

void tst_ResponsiveToolbar::initTestCase()
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

void tst_ResponsiveToolbar::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

void tst_ResponsiveToolbar::init()
{
    RecordingReporter rec;
    KVNewProjectDialog dialog;
    dialog.locationEdit()->setText(m_dir.path());
    dialog.nameEdit()->setText(QStringLiteral("resp%1").arg(++m_nProject));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    IDocument *doc = PluginManager::getObject<IDocumentFactory>()->createDocument();
    QVERIFY(doc->createNew(&dialog));
    m_pEditor = qobject_cast<KVEditor *>(m_window->loadOpenedDocument(doc, true));
    QVERIFY(m_pEditor);
    m_pDoc = m_pEditor->document();
    m_pBar = m_pEditor->responsiveToolbar();
    QVERIFY(m_pBar);
    QCOMPARE(m_pBar->document(), m_pDoc);
    QVERIFY(m_pDoc->sceneList()->count() > 0);
    // A rectangle in the first scene, so that the tree has more than its root.
    m_pDiv = new KVDiv;
    QVERIFY(m_pDiv->addProperty(new KVDivProperty, KVLayoutKey::base()));
    m_pDoc->sceneList()->at(0)->insertChild(m_pDiv, -1);
    QVERIFY(!set()->isResponsiveMode());
    m_pBar->onToggleResponsiveMode();
    QVERIFY(set()->isResponsiveMode());
    m_pDoc->getUndoStack()->clear();
    m_pDoc->getUndoStack()->setClean();
}

void tst_ResponsiveToolbar::cleanup()
{
    if (m_pDoc) {
        m_pDoc->getUndoStack()->setClean();
        m_window->closeDocument(m_pDoc);
    }
    m_pDoc = nullptr;
}

QList<int> tst_ResponsiveToolbar::hValues() const
{
    QList<int> values;
    for (const KVBreakpoint &bp : set()->hBreakpoints())
        values.append(bp.nValue);
    return values;
}

void tst_ResponsiveToolbar::verifyElementsHaveLayouts()
{
    const QList<KVLayoutKey> keys = set()->layouts();
    const KVSceneList *scenes = m_pDoc->sceneList();
    for (int i = 0; i < scenes->count(); ++i) {
        QList<KVElement *> pending{scenes->at(i)};
        while (!pending.isEmpty()) {
            KVElement *element = pending.takeFirst();
            QCOMPARE(element->properties().keys(), keys);
            pending.append(element->children());
        }
    }
}

void tst_ResponsiveToolbar::addingBringsEveryElementInLine()
{
    RecordingReporter rec;
    m_pBar->onAddHorizontal(320);
    m_pBar->onAddHorizontal(768);
    QCOMPARE(hValues(), (QList<int>{320, 768}));
    QCOMPARE(set()->hBreakpoints().at(0).nId, 1);
    QCOMPARE(set()->hBreakpoints().at(1).nId, 2);
    QCOMPARE(set()->layouts(), (QList<KVLayoutKey>{{0, 0}, {1, 0}, {2, 0}}));
    verifyElementsHaveLayouts();
    QVERIFY(m_pDiv->properties().contains(KVLayoutKey(2, 0)));
    // each addition is one step on the document's undo stack and marks it modified
    QCOMPARE(m_pDoc->getUndoStack()->count(), 2);
    QVERIFY(!m_pDoc->getUndoStack()->isClean());
    // a vertical one multiplies the layouts
    m_pBar->onAddVertical(600);
    QCOMPARE(set()->vBreakpoints().size(), 1);
    QCOMPARE(set()->layouts().size(), 6);
    verifyElementsHaveLayouts();
    QVERIFY(rec.texts().isEmpty());
}

void tst_ResponsiveToolbar::selectingLayoutSwitchesScenesAndFitsContainer_data()
{
    QTest::addColumn<int>("nWidthBefore");
    QTest::addColumn<int>("nIndex");
    QTest::addColumn<int>("nExpectedId");
    QTest::addColumn<int>("nExpectedWidth");
    // 320 has id 1, 768 id 2; a width already inside the range stays
    QTest::newRow("320 from wide") << 1000 << 1 << 1 << 668;
    QTest::newRow("320 from inside") << 500 << 1 << 1 << 500;
    QTest::newRow("768 from narrow") << 500 << 2 << 2 << 868;
    QTest::newRow("768 from wide") << 1200 << 2 << 2 << 1200;
    QTest::newRow("base from wide") << 1000 << 0 << 0 << 220;
    QTest::newRow("base from inside") << 200 << 0 << 0 << 200;
}

void tst_ResponsiveToolbar::selectingLayoutSwitchesScenesAndFitsContainer()
{
    QFETCH(int, nWidthBefore);
    QFETCH(int, nIndex);
    QFETCH(int, nExpectedId);
    QFETCH(int, nExpectedWidth);
    RecordingReporter rec;
    m_pBar->onAddHorizontal(320);
    m_pBar->onAddHorizontal(768);
    m_pBar->onContainerWChanged(nWidthBefore);
    QCOMPARE(m_pBar->containerWidth(), nWidthBefore);

    m_pBar->onHorizontalMenuSelected(nIndex);
    const KVLayoutKey expected(nExpectedId, 0);
    QCOMPARE(set()->currentLayout(), expected);
    QCOMPARE(m_pDoc->sceneList()->currentLayout(), expected);
    for (int i = 0; i < m_pDoc->sceneList()->count(); ++i)
        QCOMPARE(m_pDoc->sceneList()->at(i)->currentLayout(), expected);
    QCOMPARE(m_pDiv->currentLayout(), expected);
    QCOMPARE(m_pBar->containerWidth(), nExpectedWidth);
    // the fitted size shows the layout that was picked
    QCOMPARE(set()->layoutFor(m_pBar->containerWidth(), m_pBar->containerHeight()), expected);
    // the layout menu offers the base, then the list
    const QList<QAction *> items = m_pBar->populateLayoutMenu(false)->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items.at(1)->text(), QStringLiteral("320px"));
    // an index beyond the list changes nothing
    m_pBar->onHorizontalMenuSelected(3);
    QCOMPARE(set()->currentLayout(), expected);
    QVERIFY(rec.texts().isEmpty());
}

void tst_ResponsiveToolbar::containerWidthPicksLayout_data()
{
    QTest::addColumn<int>("nWidth");
    QTest::addColumn<int>("nExpectedId");
    QTest::newRow("below all") << 100 << 0;
    QTest::newRow("on 320") << 320 << 1;
    QTest::newRow("just below 768") << 767 << 1;
    QTest::newRow("above 768") << 800 << 2;
}

void tst_ResponsiveToolbar::containerWidthPicksLayout()
{
    QFETCH(int, nWidth);
    QFETCH(int, nExpectedId);
    RecordingReporter rec;
    m_pBar->onAddHorizontal(320);
    m_pBar->onAddHorizontal(768);
    m_pBar->onContainerWChanged(nWidth);
    QCOMPARE(set()->currentHId(), nExpectedId);
    QCOMPARE(m_pDiv->currentLayout(), KVLayoutKey(nExpectedId, 0));
    QCOMPARE(m_pDoc->sceneList()->at(0)->currentLayout(), KVLayoutKey(nExpectedId, 0));
}

void tst_ResponsiveToolbar::badValuesAreRefused_data()
{
    QTest::addColumn<bool>("bVertical");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<QString>("strMessage");
    const QString range = QStringLiteral("The new breakpoint must be in the range (0, 10000]");
    QTest::newRow("zero") << false << 0 << range;
    QTest::newRow("negative") << false << -20 << range;
    QTest::newRow("too wide") << false << 10001 << range;
    QTest::newRow("too high") << true << 10001 << range;
    QTest::newRow("duplicate") << false << 320 << QStringLiteral("The breakpoint \"320\" already exists.");
    QTest::newRow("duplicate vertical") << true << 500 << QStringLiteral("The breakpoint \"500\" already exists.");
}

void tst_ResponsiveToolbar::badValuesAreRefused()
{
    QFETCH(bool, bVertical);
    QFETCH(int, nValue);
    QFETCH(QString, strMessage);
    RecordingReporter rec;
    m_pBar->onAddHorizontal(320);
    m_pBar->onAddVertical(500);
    const QJsonObject before = set()->toJson();
    const int nSteps = m_pDoc->getUndoStack()->count();
    QVERIFY(rec.texts().isEmpty());

    if (bVertical)
        m_pBar->onAddVertical(nValue);
    else
        m_pBar->onAddHorizontal(nValue);
    QCOMPARE(rec.texts(), QStringList{strMessage});
    // nothing is lost and no step is recorded
    QCOMPARE(set()->toJson(), before);
    QCOMPARE(m_pDoc->getUndoStack()->count(), nSteps);
    verifyElementsHaveLayouts();
}

void tst_ResponsiveToolbar::removingAsks()
{
    RecordingReporter rec;
    m_pBar->onAddHorizontal(320);
    m_pBar->onAddHorizontal(768);
    m_pBar->onHorizontalMenuSelected(2); // 768, id 2
    QCOMPARE(set()->currentHId(), 2);
    const int nSteps = m_pDoc->getUndoStack()->count();

    // "No" keeps everything
    rec.answer(IReporter::No);
    m_pBar->removeBreakpoint(KVResponsiveToolbar::Horizontal);
    QCOMPARE(rec.lastText(), QStringLiteral("Are you sure you want to remove the current breakpoint?"));
    QCOMPARE(rec.entries().last().kind, RecordingReporter::Entry::Question);
    QCOMPARE(hValues(), (QList<int>{320, 768}));
    QCOMPARE(m_pDoc->getUndoStack()->count(), nSteps);

    // "Yes" removes it; the base is shown in its place, in a container that lies in it (the undo
    // is the stage test's)
    rec.answer(IReporter::Yes);
    m_pBar->removeBreakpoint(KVResponsiveToolbar::Horizontal);
    QCOMPARE(hValues(), QList<int>{320});
    verifyElementsHaveLayouts();
    QCOMPARE(m_pDiv->currentLayout(), KVLayoutKey(0, 0));
    QVERIFY(m_pBar->containerWidth() < 320);

    // at the base there is nothing to remove and nothing is asked
    const int nEntries = rec.entries().size();
    m_pBar->removeBreakpoint(KVResponsiveToolbar::Horizontal);
    QCOMPARE(rec.entries().size(), nEntries);
    QCOMPARE(hValues(), QList<int>{320});
}

void tst_ResponsiveToolbar::presetsComeFromTheHost()
{
    RecordingReporter rec;
    DocumentManager *manager = ICore::instance()->documentManager();
    const DocumentManager::Breakpoints savedH = manager->getHBreakpoints();
    const DocumentManager::Breakpoints savedV = manager->getVBreakpoints();
    manager->setHBreakpoints({{480, true}, {1280, false}});
    manager->setVBreakpoints({{720, true}});
    QMenu *menu = m_pBar->populateAddMenu();
    manager->setHBreakpoints(savedH);
    manager->setVBreakpoints(savedV);

    QMenu *horizontal = nullptr;
    QMenu *vertical = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == QStringLiteral("Horizontal Preset"))
            horizontal = action->menu();
        else if (action->text() == QStringLiteral("Vertical Preset"))
            vertical = action->menu();
    }
    QVERIFY(horizontal && vertical);
    QCOMPARE(horizontal->actions().size(), 2);
    QCOMPARE(vertical->actions().size(), 1);

    m_pBar->onAddPreset(horizontal->actions().at(1));
    m_pBar->onAddPreset(vertical->actions().at(0));
    QCOMPARE(hValues(), QList<int>{1280});
    QCOMPARE(set()->vBreakpoints().size(), 1);
    QCOMPARE(set()->vBreakpoints().at(0).nValue, 720);
    verifyElementsHaveLayouts();
    // a preset already in the set is refused like a typed value
    m_pBar->onAddPreset(horizontal->actions().at(1));
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("The breakpoint \"1280\" already exists.")});
    QCOMPARE(hValues(), QList<int>{1280});
}

KAVIO_WEBENGINE_TEST_MAIN(tst_ResponsiveToolbar)
#include "tst_responsivetoolbar.moc"
