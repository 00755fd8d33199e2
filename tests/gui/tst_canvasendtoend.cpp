// The editor with the real canvas page: the page draws the example's scene from what the canvas
// sends it, and a move made with the page's own pointer handling comes back as one command whose
// undo moves the node back.
#include "canvas/KVCanvas.h"
#include "animation/KVTimeline.h"
#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVScene.h"
#include "plugin/KVEditor.h"

#include "EditorManager.h"
#include "ICore.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QElapsedTimer>
#include <QRectF>
#include <QTemporaryDir>
#include <QUndoStack>

using ExtensionSystem::PluginManager;

class tst_CanvasEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void pageDrawsTheModelAndMovesThroughCommands();

private:
    // Runs a script in the page and waits for its value.
    static QVariant evaluate(KVCanvas *pCanvas, const QString &strScript);

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
};

void tst_CanvasEndToEnd::initTestCase()
{
    QFile::remove(KVTestEnvironment::settingsPath());
    m_manager.reset(new PluginManager);
    PluginManager::setSettingsPath(KVTestEnvironment::settingsPath());
    PluginManager::setPluginPaths({KVTestEnvironment::binaryDir() + QStringLiteral("/lib/kavio/plugins")});
    m_window.reset(new MainWindow);
    m_core.reset(new ICore(m_window.data()));
    m_core->setResourcePath(KVTestEnvironment::binaryDir() + QStringLiteral("/share/kavio"));
    QVERIFY2(QFileInfo::exists(m_core->resourcePath() + QStringLiteral("/resources/canvas/kvcanvas.js")),
             "the canvas page is not staged");
    QVERIFY2(PluginManager::loadPlugins(), qPrintable(PluginManager::errors().join('\n')));
    m_window->resize(1400, 900);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
}

void tst_CanvasEndToEnd::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

QVariant tst_CanvasEndToEnd::evaluate(KVCanvas *pCanvas, const QString &strScript)
{
    QVariant result;
    bool bDone = false;
    pCanvas->page()->runJavaScript(strScript, [&](const QVariant &v) {
        result = v;
        bDone = true;
    });
    QElapsedTimer timer;
    timer.start();
    while (!bDone && timer.elapsed() < 10000)
        QTest::qWait(10);
    return result;
}

void tst_CanvasEndToEnd::pageDrawsTheModelAndMovesThroughCommands()
{
    RecordingReporter rec;
    const QString folder = m_dir.filePath(QStringLiteral("example"));
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"),
                        folder + QStringLiteral("/banner.kavio")));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"),
                        folder + QStringLiteral("/banner_res/logo.png")));
    QVERIFY(m_window->openDocument(folder + QStringLiteral("/banner.kavio")));
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVScene *scene = editor->document()->currentScene();
    QVERIFY(scene);
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(canvas, QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool(),
                             20000);

    // one node per element of the scene, at the model's pixel position
    QSet<int> modelIds;
    for (KVElement *element : scene->children())
        element->forEachInSubtree([&modelIds](const KVElement *e) { modelIds.insert(e->id()); });
    QSet<int> pageIds;
    for (const QVariant &id : evaluate(canvas, QStringLiteral("window.kvCanvasPage.ids()")).toList())
        pageIds.insert(id.toInt());
    QCOMPARE(pageIds, modelIds);
    const QVariantMap positions = evaluate(canvas, QStringLiteral("window.kvCanvasPage.positions()")).toMap();
    int nCompared = 0;
    KVElement *moved = nullptr;
    for (KVElement *element : scene->children()) {
        // animated elements show their value at the page's time; the others their model position
        const bool bAnimated = scene->currentTimeline()
            && scene->currentTimeline()->findAnimation(element, element->currentLayout()) != nullptr;
        if (bAnimated || element->unitX() != 0 || element->unitY() != 0 || element->isLocked() || !element->isVisible())
            continue;
        const QVariantMap box = positions.value(QString::number(element->id())).toMap();
        QVERIFY2(!box.isEmpty(), qPrintable(QString::number(element->id())));
        QCOMPARE(qRound(box.value(QStringLiteral("x")).toDouble()), qRound(element->positionX()));
        QCOMPARE(qRound(box.value(QStringLiteral("y")).toDouble()), qRound(element->positionY()));
        // the topmost one is moved, so that the press at its centre reaches it
        if (element->sizeW() >= 20 && element->sizeH() >= 20)
            moved = element;
        ++nCompared;
    }
    QVERIFY(nCompared > 0);
    QVERIFY(moved);

    // a move through the page's own pointer handling
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nSteps = stack->count();
    const double dLeft = moved->positionX();
    const double dTop = moved->positionY();
    // pressed at a point of the element that no other element covers
    const auto boxOf = [&positions](int nId) {
        const QVariantMap b = positions.value(QString::number(nId)).toMap();
        return QRectF(b.value(QStringLiteral("x")).toDouble(), b.value(QStringLiteral("y")).toDouble(),
                      b.value(QStringLiteral("w")).toDouble(), b.value(QStringLiteral("h")).toDouble());
    };
    const QRectF box = boxOf(moved->id());
    QPointF press(-1, -1);
    for (double fy = 0.05; fy < 1 && press.x() < 0; fy += 0.05) {
        for (double fx = 0.05; fx < 1 && press.x() < 0; fx += 0.05) {
            const QPointF p(box.x() + box.width() * fx, box.y() + box.height() * fy);
            bool bCovered = false;
            for (int nId : qAsConst(pageIds))
                bCovered = bCovered || (nId != moved->id() && boxOf(nId).contains(p));
            if (!bCovered)
                press = p;
        }
    }
    QVERIFY2(press.x() >= 0, "every point of the element is covered");
    evaluate(canvas, QStringLiteral("window.kvCanvasPage.page.snap = false;"
                                    " window.kvCanvasPage.drag({x: %1, y: %2}, {x: %3, y: %4}); true")
                         .arg(press.x()).arg(press.y()).arg(press.x() + 30).arg(press.y() + 20));
    // the press may select the element first (a step of its own); the move is the last step
    QTRY_COMPARE_WITH_TIMEOUT(stack->count() > nSteps ? stack->text(stack->count() - 1) : QString(),
                              QStringLiteral("Change Geometry"), 10000);
    QVERIFY(stack->count() <= nSteps + 2);
    QCOMPARE(qRound(moved->positionX() - dLeft), 30);
    QCOMPARE(qRound(moved->positionY() - dTop), 20);
    const QString position = QStringLiteral("(function () { var b = window.kvCanvasPage.position(%1); return b ? Math.round(b.x) + ',' + Math.round(b.y) : ''; })()")
                                 .arg(moved->id());
    QCOMPARE(evaluate(canvas, position).toString(), QStringLiteral("%1,%2").arg(qRound(dLeft) + 30).arg(qRound(dTop) + 20));
    // the undo goes to the page, which moves the node back
    stack->undo();
    QCOMPARE(qRound(moved->positionX()), qRound(dLeft));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(canvas, position).toString(), QStringLiteral("%1,%2").arg(qRound(dLeft)).arg(qRound(dTop)), 10000);
    QVERIFY(rec.entries().isEmpty());
    QVERIFY(m_window->closeAllDocuments());
}

KAVIO_WEBENGINE_TEST_MAIN(tst_CanvasEndToEnd)
#include "tst_canvasendtoend.moc"
