// bench_canvas: how fast the editing stage follows the model, measured in the running editor with
// the staged canvas page (a display is needed: run it under Xvfb).
//
//   open       time from opening a project to the page showing a node for every element of the
//              current scene, for the bundled example and for a generated scene of 2,000 elements
//   move       one move gesture played through the page's pointer handling until its command is on
//              the undo stack (page -> editor), and its undo until the page shows the node back
//              (editor -> page)
//
// Usage: bench_canvas [RUNS]   (default 5; the median and the range of the runs are printed;
// BENCH_CANVAS_TRACE=1 prints each move, QT_LOGGING_RULES="kavio.canvas.debug=true" the page requests)
#include "canvas/KVCanvas.h"
#include "document/KVDocument.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "plugin/KVEditor.h"

#include "EditorManager.h"
#include "ICore.h"
#include "IDocumentFactory.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "ResourceUrlScheme.h"

#include <QApplication>
#include <QHash>
#include <QRectF>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <functional>

using ExtensionSystem::PluginManager;

namespace {

void spin(int nMs)
{
    QEventLoop loop;
    QTimer::singleShot(nMs, &loop, &QEventLoop::quit);
    loop.exec();
}

QVariant evaluate(KVCanvas *pCanvas, const QString &strScript)
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
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    return result;
}

// Milliseconds until the condition holds (checked every 2 ms), or -1 after 60 s.
double waitFor(const std::function<bool()> &condition, const QElapsedTimer &since)
{
    while (since.elapsed() < 15000) {
        if (condition())
            return since.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    return -1;
}

int elementCount(const KVScene *pScene)
{
    int n = 0;
    pScene->forEachInSubtree([&n](const KVElement *) { ++n; });
    return n - 1;
}

void report(const char *pszName, QList<double> ms)
{
    std::sort(ms.begin(), ms.end());
    if (ms.isEmpty() || ms.first() < 0) {
        std::printf("%-44s failed\n", pszName);
        return;
    }
    std::printf("%-44s median %8.1f ms   min %8.1f   max %8.1f   (%d runs)\n", pszName, ms.at(ms.size() / 2),
                ms.first(), ms.last(), int(ms.size()));
}

} // namespace

int main(int argc, char **argv)
{
    registerResourceUrlScheme();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    const int nRuns = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    QTemporaryDir work;
    const QString bin = QCoreApplication::applicationDirPath();

    PluginManager manager;
    PluginManager::setSettingsPath(work.filePath(QStringLiteral("settings.ini")));
    PluginManager::setPluginPaths({QDir::cleanPath(bin + QStringLiteral("/../lib/kavio/plugins"))});
    MainWindow window;
    ICore core(&window);
    core.setResourcePath(QDir::cleanPath(bin + QStringLiteral("/../share/kavio")));
    if (!PluginManager::loadPlugins()) {
        std::fprintf(stderr, "bench_canvas: %s\n", qPrintable(PluginManager::errors().join('\n')));
        return 1;
    }
    window.resize(1400, 900);
    window.show();
    spin(200);

    // The example, and a generated project whose scene holds 2,000 rectangles.
    const QString example = work.filePath(QStringLiteral("banner/banner.kavio"));
    QDir().mkpath(work.filePath(QStringLiteral("banner/banner_res")));
    QFile::copy(QStringLiteral(KAVIO_SOURCE_DIR "/examples/banner/banner.kavio"), example);
    QFile::copy(QStringLiteral(KAVIO_SOURCE_DIR "/examples/banner/banner_res/logo.png"),
                work.filePath(QStringLiteral("banner/banner_res/logo.png")));
    const QString large = work.filePath(QStringLiteral("large/large.kavio"));
    {
        QDir().mkpath(work.filePath(QStringLiteral("large/large_res")));
        auto *pDoc = qobject_cast<KVDocument *>(PluginManager::getObject<IDocumentFactory>()->createDocument());
        pDoc->setFileName(large);
        pDoc->create(1280, 720, 1, false);
        KVScene *pScene = pDoc->currentScene();
        // one panel large enough to be dragged by its middle, then a grid of small rectangles
        for (int i = 0; i < 2000; ++i) {
            KVElement *pElement = KVElementFactory::createElement(KVElementType::Div);
            const int n = i - 1;
            pElement->setPositionX(i == 0 ? 0 : (n % 50) * 25, KVLayoutKey::base());
            pElement->setPositionY(i == 0 ? 0 : 100 + (n / 50) * 15, KVLayoutKey::base());
            pElement->setSizeW(i == 0 ? 160 : 20, KVLayoutKey::base());
            pElement->setSizeH(i == 0 ? 90 : 12, KVLayoutKey::base());
            pScene->addElement(pElement);
        }
        if (!pDoc->save()) {
            std::fprintf(stderr, "bench_canvas: cannot write the generated project\n");
            return 1;
        }
        delete pDoc;
    }

    const auto openAndWait = [&window, &core](const QString &file, KVEditor **ppEditor) {
        QElapsedTimer timer;
        timer.start();
        if (!window.openDocument(file))
            return -1.0;
        auto *pEditor = qobject_cast<KVEditor *>(core.editorManager()->activeEditor());
        *ppEditor = pEditor;
        KVCanvas *pCanvas = pEditor->canvasView();
        const int nCount = elementCount(pEditor->document()->currentScene());
        const QString probe = QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene()"
                                             " && window.kvCanvasPage.ids().length >= %1)").arg(nCount);
        return waitFor([&] { return evaluate(pCanvas, probe).toBool(); }, timer);
    };

    for (const QString &file : {example, large}) {
        QList<double> open;
        QList<double> toEditor;
        QList<double> toPage;
        for (int r = 0; r < nRuns; ++r) {
            KVEditor *pEditor = nullptr;
            open << openAndWait(file, &pEditor);
            if (!pEditor)
                break;
            KVCanvas *pCanvas = pEditor->canvasView();
            KVScene *pScene = pEditor->document()->currentScene();
            // the first element that nothing else covers at its centre (near the stage's corner,
            // where the view shows it)
            const QVariantMap positions = evaluate(pCanvas, QStringLiteral("window.kvCanvasPage.positions()")).toMap();
            QHash<int, QRectF> boxes;
            for (auto it = positions.cbegin(); it != positions.cend(); ++it) {
                const QVariantMap b = it.value().toMap();
                boxes.insert(it.key().toInt(), QRectF(b.value(QStringLiteral("x")).toDouble(), b.value(QStringLiteral("y")).toDouble(),
                                                      b.value(QStringLiteral("w")).toDouble(), b.value(QStringLiteral("h")).toDouble()));
            }
            int nId = -1;
            QPointF centre;
            for (KVElement *pElement : pScene->children()) {
                const QRectF box = boxes.value(pElement->id());
                if (box.width() < 10 || box.height() < 10 || pElement->isLocked())
                    continue;
                bool bCovered = false;
                for (auto it = boxes.cbegin(); it != boxes.cend() && !bCovered; ++it)
                    bCovered = it.key() != pElement->id() && it.value().contains(box.center());
                if (!bCovered) {
                    nId = pElement->id();
                    centre = box.center();
                    break;
                }
            }
            QUndoStack *pStack = pEditor->document()->getUndoStack();
            evaluate(pCanvas, QStringLiteral("window.kvCanvasPage.page.snap = false; true"));
            // a click selects first, so that the gesture measured is the move alone
            evaluate(pCanvas, QStringLiteral("window.kvCanvasPage.click({x: %1, y: %2}); true").arg(centre.x()).arg(centre.y()));
            KVElement *pMoved = pScene->findElement(nId);
            QElapsedTimer settle;
            settle.start();
            waitFor([&] { return pMoved->isSelected(); }, settle);
            spin(100);
            const int nBefore = pStack->count();
            const int nStartX = qRound(pMoved->positionX());
            QElapsedTimer timer;
            timer.start();
            pCanvas->page()->runJavaScript(QStringLiteral("window.kvCanvasPage.drag({x: %1, y: %2}, {x: %3, y: %4}, {steps: 3})")
                                               .arg(centre.x()).arg(centre.y()).arg(centre.x() + 12).arg(centre.y() + 8));
            toEditor << waitFor([&] { return pStack->count() > nBefore && qRound(pMoved->positionX()) != nStartX; },
                                timer);
            const QString position = QStringLiteral("(function () { var b = window.kvCanvasPage.position(%1);"
                                                    " return b ? Math.round(b.x) : -1; })()").arg(nId);
            // the page shows the move, then the undo takes the node back to where the model has it
            const int nMovedX = qRound(pMoved->positionX());
            waitFor([&] { return evaluate(pCanvas, position).toInt() == nMovedX; }, timer);
            timer.restart();
            pStack->undo();
            const int nBackX = qRound(pMoved->positionX());
            toPage << waitFor([&] { return evaluate(pCanvas, position).toInt() == nBackX; }, timer);
            if (qEnvironmentVariableIsSet("BENCH_CANVAS_TRACE"))
                std::printf("element %d moved to %d, back to %d, page shows %d\n", nId, nMovedX, nBackX,
                            evaluate(pCanvas, position).toInt());
            window.closeAllDocuments();
            spin(100);
        }
        const QString name = QFileInfo(file).completeBaseName();
        report(qPrintable(QStringLiteral("open %1 until every node shows").arg(name)), open);
        report(qPrintable(QStringLiteral("move in %1: gesture -> undo step").arg(name)), toEditor);
        report(qPrintable(QStringLiteral("move in %1: undo -> node back").arg(name)), toPage);
    }
    PluginManager::shutdown();
    return 0;
}
