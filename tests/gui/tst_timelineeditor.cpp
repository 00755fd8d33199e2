// The timeline dock of the real plug-in on the example banner: zooming, snapping, the timeline
// names and the only timeline, and an animation made through the timeline with the mouse and the
// keyboard, saved and taken back step by step.
#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVKeyframeSegment.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "document/KVDocument.h"
#include "model/KVElement.h"
#include "model/KVScene.h"
#include "plugin/KVDesignerPlugin.h"
#include "plugin/KVEditor.h"
#include "ui/timeline/KVEasingCurvePicker.h"
#include "ui/timeline/KVKeyValueGraphicsItem.h"
#include "ui/timeline/KVTimeEditor.h"
#include "ui/timeline/KVTimelineCaptionPanel.h"
#include "ui/timeline/KVTimelineRulerPanel.h"
#include "ui/timeline/KVTimelineScale.h"
#include "ui/timeline/KVTimelineScenePanel.h"
#include "ui/timeline/KVTimelineView.h"
#include "ui/timeline/KVTimelineWindow.h"

#include "ActionManager.h"
#include "EditorManager.h"
#include "ICore.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "PluginSpec.h"

#include "KVEditorWindow.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QDockWidget>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>

using ExtensionSystem::PluginManager;

class tst_TimelineEditor : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void zoom_data();
    void zoom();
    void snapping_data();
    void snapping();
    void timelineNames();
    void animateTheHeadline();

private:
    KVEditor *openExample(const QString &strName);
    KVTimelineWindow *window() const
    {
        ExtensionSystem::PluginSpec *spec = PluginManager::specForName(QStringLiteral("designer"));
        auto *plugin = spec ? qobject_cast<KVDesignerPlugin *>(spec->plugin()) : nullptr;
        return plugin ? plugin->timelineWindow() : nullptr;
    }
    static int rowOf(const KVTimelineWindow *w, const KVElement *pElement, int nCode = -1)
    {
        for (int i = 0; i < w->rows().size(); ++i) {
            const KVTimelineRow &row = w->rows().at(i);
            if (row.pElement == pElement && (nCode < 0 ? row.kind == KVTimelineRow::Element
                                                       : row.pTrack && row.pTrack->type() == nCode)) {
                return i;
            }
        }
        return -1;
    }
    static QPoint viewPoint(const KVTimelineWindow *w, int nTime, int nRow)
    {
        return w->view()->mapFromScene(QPointF(w->scale().xForTime(nTime), KVTimelineView::laneCentre(nRow)));
    }

    // Presses at one point of the widget, moves with the button held and releases at another.
    static void drag(QWidget *pWidget, const QPoint &from, const QPoint &to)
    {
        QTest::mousePress(pWidget, Qt::LeftButton, Qt::NoModifier, from);
        for (const QPoint &at : {from + QPoint(to.x() > from.x() ? 4 : -4, 0), to}) {
            QMouseEvent move(QEvent::MouseMove, at, pWidget->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(pWidget, &move);
        }
        QTest::mouseRelease(pWidget, Qt::LeftButton, Qt::NoModifier, to);
    }

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
};

void tst_TimelineEditor::initTestCase()
{
    const QString strStarted = kvStartEditorWindow(m_manager, m_window, m_core);
    QVERIFY2(strStarted.isEmpty(), qPrintable(strStarted));
    QVERIFY(window());
}

void tst_TimelineEditor::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

KVEditor *tst_TimelineEditor::openExample(const QString &strName)
{
    const QString folder = m_dir.filePath(strName);
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"),
                folder + QStringLiteral("/banner.kavio"));
    QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"),
                folder + QStringLiteral("/banner_res/logo.png"));
    if (!m_window->openDocument(folder + QStringLiteral("/banner.kavio")))
        return nullptr;
    return qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
}

void tst_TimelineEditor::zoom_data()
{
    QTest::addColumn<int>("nStart");
    QTest::addColumn<QList<int>>("wheel");  // +1 forward, -1 backward, with Ctrl
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("in twice from 50 px/s") << 5000 << QList<int>{1, 1} << QList<int>{7500, 11250};
    QTest::newRow("out rounds") << 5000 << QList<int>{-1, -1} << QList<int>{3333, 2222};
    QTest::newRow("stops at 1000 px/s") << 90000 << QList<int>{1, 1} << QList<int>{100000, 100000};
    QTest::newRow("stops at 0.5 px/s") << 60 << QList<int>{-1, 1} << QList<int>{50, 75};
}

void tst_TimelineEditor::zoom()
{
    QFETCH(int, nStart);
    QFETCH(QList<int>, wheel);
    QFETCH(QList<int>, expected);
    KVEditor *editor = openExample(QStringLiteral("zoom%1").arg(QTest::currentDataTag()));
    QVERIFY(editor);
    KVTimelineWindow *w = window();
    QTRY_VERIFY(w->timeline());
    QCOMPARE(w->captionPanel()->zoomSlider()->value(), 5000);
    // 50 pixels per second: one second is 50 pixels on the ruler and in the view
    QCOMPARE(w->scale().xForTime(1000), 50);
    w->captionPanel()->zoomSlider()->setValue(nStart);
    for (int i = 0; i < wheel.size(); ++i) {
        const QPoint at = w->view()->viewport()->rect().center();
        QWheelEvent event(at, w->view()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * wheel.at(i)),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->view()->viewport(), &event);
        QCOMPARE(w->captionPanel()->zoomSlider()->value(), expected.at(i));
        QCOMPARE(w->timeline()->pixelPerSecond(), expected.at(i) / 100.0);
        // the key values stand where the new scale puts them
        const KVKeyframe *pTrack = w->rows().value(rowOf(w, w->timeline()->findElement(4), 0)).pTrack;
        QVERIFY(pTrack);
        QCOMPARE(int(w->view()->keyItem(pTrack->keyValues().last())->pos().x()), w->scale().xForTime(900));
    }
    QVERIFY(m_window->closeAllDocuments());
}

void tst_TimelineEditor::snapping_data()
{
    QTest::addColumn<bool>("bShowSnapping");
    QTest::addColumn<bool>("bKeyframes");
    QTest::addColumn<bool>("bGrid");
    QTest::addColumn<int>("nDropX");  // where the key at 900 ms is dropped, in pixels at 50 px/s
    QTest::addColumn<int>("nExpected");
    // At 50 px/s the other key values nearby stand at x 35 (700 ms), 40 (800 ms) and 60 (1200 ms),
    // the playhead at 0, the fine lines every 25 px and the grid (1 / second) every 50 px.
    QTest::newRow("3 px from a key value") << true << true << false << 32 << 700;
    QTest::newRow("snapping off") << false << true << false << 32 << 640;
    QTest::newRow("5 px from a key value") << true << true << false << 65 << 1200;
    QTest::newRow("6 px from everything") << true << true << false << 66 << 1320;
    QTest::newRow("keys off: a fine line") << true << false << false << 52 << 1000;
    QTest::newRow("fine line at 25 px") << true << true << false << 27 << 500;
    QTest::newRow("the grid replaces fine lines") << true << true << true << 27 << 540;
}

void tst_TimelineEditor::snapping()
{
    QFETCH(bool, bShowSnapping);
    QFETCH(bool, bKeyframes);
    QFETCH(bool, bGrid);
    QFETCH(int, nDropX);
    QFETCH(int, nExpected);
    KVEditor *editor = openExample(QStringLiteral("snap%1").arg(QTest::currentDataTag()));
    QVERIFY(editor);
    KVTimelineWindow *w = window();
    QTRY_VERIFY(w->timeline());
    KVTimeline *pTimeline = w->timeline();
    pTimeline->setShowSnapping(bShowSnapping);
    pTimeline->setSnapToKeyframes(bKeyframes);
    pTimeline->setShowGrid(bGrid);
    pTimeline->setGridSize(0);
    KVElement *pHeadline = pTimeline->findElement(4);
    const int nRow = rowOf(w, pHeadline, KVPropertyCatalogue::Left);
    KVKeyframe *pTrack = w->rows().at(nRow).pTrack;
    KVKeyValue *pKey = pTrack->keyValues().last();
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nSteps = stack->count();
    // the dragged key goes from x 45 to nDropX
    const QPoint from = viewPoint(w, 900, nRow);
    QWidget *viewport = w->view()->viewport();
    drag(viewport, from, from + QPoint(nDropX - 45, 0));
    QCOMPARE(pKey->time(), nExpected);
    QCOMPARE(stack->count(), nSteps + 1);
    QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Move Timeline Items"));
    stack->undo();
    QCOMPARE(pKey->time(), 900);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_TimelineEditor::timelineNames()
{
    RecordingReporter rec;
    KVEditor *editor = openExample(QStringLiteral("names"));
    QVERIFY(editor);
    KVTimelineWindow *w = window();
    QTRY_VERIFY(w->timeline());
    KVTimelineList *pList = editor->document()->currentScene()->timelines();
    auto *remove = w->captionPanel()->findChild<QToolButton *>(QStringLiteral("RemoveTimeline"));
    auto *add = w->captionPanel()->findChild<QToolButton *>(QStringLiteral("NewTimeline"));
    // the only timeline stays
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(pList->count(), 1);
    QCOMPARE(rec.lastText(), QStringLiteral("Cannot delete the only timeline of the scene."));
    // Timeline is taken, then Timeline_1: the next is Timeline_2, each made current
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(pList->count(), 3);
    QCOMPARE(pList->at(1)->name(), QStringLiteral("Timeline_1"));
    QCOMPARE(pList->currentTimeline()->name(), QStringLiteral("Timeline_2"));
    QComboBox *selector = w->captionPanel()->timelineSelector();
    QCOMPARE(selector->itemText(0), QStringLiteral("Main Timeline"));
    QCOMPARE(selector->currentText(), QStringLiteral("Timeline_2 (%1)").arg(pList->currentTimeline()->id()));
    // the new timeline has no animation: only the scene and element rows
    for (const KVTimelineRow &row : w->rows())
        QVERIFY(row.kind != KVTimelineRow::Property);
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(pList->count(), 2);
    editor->document()->getUndoStack()->undo();
    QCOMPARE(pList->count(), 3);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_TimelineEditor::animateTheHeadline()
{
    RecordingReporter rec;
    KVEditor *editor = openExample(QStringLiteral("scenario"));
    QVERIFY(editor);
    KVTimelineWindow *w = window();
    QTRY_VERIFY(w->timeline());
    KVDocument *pDocument = editor->document();
    KVTimeline *pTimeline = w->timeline();
    KVElement *pHeadline = pTimeline->findElement(4);
    QUndoStack *stack = pDocument->getUndoStack();
    const int nSteps = stack->count();

    // select the headline by its row, move the playhead to 1 s on the ruler, auto keyframe on
    KVTimelineScenePanel *panel = w->scenePanel();
    const QRect headlineRow = panel->visualItemRect(panel->rowItem(rowOf(w, pHeadline)));
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, Qt::NoModifier, headlineRow.center());
    QVERIFY(pHeadline->isSelected());
    QTest::mouseClick(w->rulerPanel(), Qt::LeftButton, Qt::NoModifier, QPoint(w->scale().xForTime(1000), 12));
    QCOMPARE(pTimeline->currentTimeMs(), 1000);
    QCOMPARE(w->timeEditor()->value(), 1000);
    QTest::mouseClick(w->captionPanel()->autoKeyframeButton(), Qt::LeftButton);
    QVERIFY(pDocument->isAutoKeyframeMode());

    // the headline's left, 20 px at 1 s, becomes 120 px: typed into its property row
    const int nLeftRow = rowOf(w, pHeadline, KVPropertyCatalogue::Left);
    QTreeWidgetItem *leftItem = panel->rowItem(nLeftRow);
    QCOMPARE(leftItem->text(KVTimelineScenePanel::ValueColumn), QStringLiteral("20 px"));
    const QPoint value(panel->columnWidth(0) + 20, panel->visualItemRect(leftItem).center().y());
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, Qt::NoModifier, value);
    QTest::mouseDClick(panel->viewport(), Qt::LeftButton, Qt::NoModifier, value);
    auto *edit = panel->viewport()->findChild<QLineEdit *>();
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("120"));
    QTest::keyClick(edit, Qt::Key_Return);
    // the editor hands its text over once the key has been handled
    QTRY_COMPARE(stack->count(), nSteps + 1);
    KVKeyframe *pLeft = pTimeline->findAnimation(pHeadline, pTimeline->currentLayout())->keyframe(KVPropertyCatalogue::Left);
    QCOMPARE(pLeft->keyValues().size(), 3);
    KVKeyValue *pNew = pLeft->keyValues().last();
    QCOMPARE(pNew->time(), 1000);
    QCOMPARE(pNew->value().toDouble(), 120.0);
    QCOMPARE(panel->rowItem(nLeftRow)->text(KVTimelineScenePanel::ValueColumn), QStringLiteral("120 px"));

    // Add Keyframe from the menu: Rotate Z of the headline at 1 s
    const QString addId = QStringLiteral("Timeline.Add_Keyframe.%1.%2")
                              .arg(KVPropertyCatalogue::group(KVPropertyCatalogue::RotateZ, false),
                                   KVPropertyCatalogue::secondName(KVPropertyCatalogue::RotateZ));
    QAction *addRotate = m_core->actionManager()->getAction(addId);
    QVERIFY(addRotate && addRotate->isEnabled());
    addRotate->trigger();
    QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Add Keyframe: Rotate Z"));

    // zoomed to 400 px/s, the new segment (900 to 1000 ms) gets OutBack from the easing picker
    w->captionPanel()->zoomSlider()->setValue(40000);
    QCOMPARE(w->scale().xForTime(100), 40);
    const int nRow = rowOf(w, pHeadline, KVPropertyCatalogue::Left);
    QTest::mouseClick(w->view()->viewport(), Qt::LeftButton, Qt::NoModifier,
                      (viewPoint(w, 900, nRow) + viewPoint(w, 1000, nRow)) / 2);
    QCOMPARE(w->view()->selectedSegments().size(), 1);
    w->showEasingCurvePicker();
    auto *picker = w->findChild<KVEasingCurvePicker *>();
    QVERIFY(picker);
    QCOMPARE(picker->findChildren<QToolButton *>().size(), 47);
    QTest::mouseClick(picker->button(QEasingCurve::OutBack), Qt::LeftButton);
    QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Change Easing Curve"));
    QCOMPARE(pLeft->innerSegment(1)->easingCode(), int(QEasingCurve::OutBack));

    // the new key dragged from 1 s to 1.2 s
    QWidget *viewport = w->view()->viewport();
    const QPoint from = viewPoint(w, 1000, nRow);
    drag(viewport, from, from + QPoint(w->scale().xForTime(200), 0));
    QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Move Timeline Items"));
    QCOMPARE(pNew->time(), 1200);
    QCOMPARE(stack->count(), nSteps + 4);

    // saved: the track has the key, its segment OutBack
    QVERIFY(pDocument->save());
    QFile file(pDocument->getFileName());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QJsonObject scene = QJsonDocument::fromJson(file.readAll())
                                  .object()["document"].toObject()["scenes"].toArray().at(0).toObject();
    const QJsonArray animations = scene["timelines"].toObject()["timelines"].toArray().at(0).toObject()["respAnims"]
                                      .toArray().at(0).toObject()["animations"].toArray();
    QJsonObject savedLeft;
    for (const QJsonValue &animation : animations) {
        if (animation.toObject()["element_id"].toInt() != 4)
            continue;
        for (const QJsonValue &track : animation.toObject()["keyframes"].toArray()) {
            if (track.toObject()["type"].toInt() == KVPropertyCatalogue::Left)
                savedLeft = track.toObject();
        }
    }
    const QJsonArray keys = savedLeft["keyValues"].toArray();
    QCOMPARE(keys.size(), 3);
    QCOMPARE(keys.at(2).toObject()["time"].toInt(), 1200);
    QCOMPARE(keys.at(2).toObject()["value"].toObject()["val"].toDouble(), 120.0);
    QCOMPARE(savedLeft["keyframeSegments"].toArray().at(1).toObject()["easing_curve"].toInt(), int(QEasingCurve::OutBack));

    // each undo takes one step back
    stack->undo();
    QCOMPARE(pNew->time(), 1000);
    stack->undo();
    QCOMPARE(pLeft->innerSegment(1)->easingCode(), 0);
    stack->undo();
    QVERIFY(!pTimeline->findAnimation(pHeadline, pTimeline->currentLayout())->keyframe(KVPropertyCatalogue::RotateZ));
    stack->undo();
    QCOMPARE(pLeft->keyValues().size(), 2);
    // the view follows: the Left row shows the value at 1 s again
    QCOMPARE(panel->rowItem(rowOf(w, pHeadline, KVPropertyCatalogue::Left))->text(KVTimelineScenePanel::ValueColumn),
             QStringLiteral("20 px"));
    QVERIFY(rec.entries().isEmpty());
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

KAVIO_WEBENGINE_TEST_MAIN(tst_TimelineEditor)
#include "tst_timelineeditor.moc"
