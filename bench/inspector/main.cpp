// How long the property inspector takes to follow a new selection: the selection command runs (the
// inspector re-reads the selection and shows or hides its pages) and the refresh that its pause
// timer would start runs at once, with every page of every tab open. One rectangle, then 100
// rectangles and texts selected together, in a project of 200 elements. Prints the median of a few
// runs in milliseconds; run under a display or with QT_QPA_PLATFORM=offscreen.
#include "IEditor.h"
#include "commands/KVEditContext.h"
#include "commands/KVSelectOperation.h"
#include "document/KVDocument.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "ui/inspector/KVInspector.h"
#include "ui/inspector/KVInspectorPageInfo.h"
#include "ui/inspector/KVInspectorPageTitle.h"
#include "ui/inspector/KVPropertiesTabsWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

class BenchEditor : public IEditor
{
public:
    QWidget *widget() const override { return nullptr; }
};

double medianMs(int nRuns, const std::function<void()> &prepare, const std::function<void()> &run)
{
    QList<double> times;
    for (int i = 0; i < nRuns; ++i) {
        prepare();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        run();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    KVDocument document;
    document.setFileName(dir.filePath(QStringLiteral("bench.kavio")));
    if (!document.create(1280, 720, 1, false)) {
        std::fprintf(stderr, "could not create the project\n");
        return 1;
    }
    KVScene *pScene = document.currentScene();
    if (!pScene) {
        std::fprintf(stderr, "the project has no scene\n");
        return 1;
    }
    QList<KVElement *> elements;
    for (int n = 0; n < 200; ++n) {
        KVElement *pElement = KVElementFactory::createElement(n % 2 ? KVElementType::Text : KVElementType::Div);
        pElement->setPositionX((n * 37) % 1200);
        pScene->addElement(pElement);
        elements.append(pElement);
    }
    KVPropertiesTabsWidget tabs;
    tabs.resize(320, 900);
    tabs.show();
    BenchEditor editor;
    editor.setDocument(&document);
    tabs.updateEditorActivated(&editor);
    // Every page open, so that each refresh fills every page that applies.
    for (KVInspector *pInspector : tabs.inspectors()) {
        for (KVInspectorPageInfo *pInfo : pInspector->pageInfos()) {
            if (!pInfo->isExpanded())
                emit pInfo->titleBar()->clicked(pInfo->titleBar());
        }
    }
    KVEditContext c;
    c.pTarget = &document;
    c.pScene = pScene;
    const auto selectAndRefresh = [&](const QList<KVElement *> &selection) {
        KVSelectOperation::run(KVSelectOperation::select(c, selection));
        for (KVInspector *pInspector : tabs.inspectors())
            pInspector->refreshNow();
    };
    const auto deselect = [&] { KVSelectOperation::run(KVSelectOperation::deselectAll(c)); };
    int nNext = 0;
    const double dOne = medianMs(21, deselect, [&] { selectAndRefresh({elements.at(2 * (nNext++ % 100))}); });
    const double dHundred = medianMs(11, deselect, [&] { selectAndRefresh(elements.mid((nNext++ % 2) * 100, 100)); });
    std::printf("inspector selection refresh, 1 element:    %.2f ms (target 16 ms)\n", dOne);
    std::printf("inspector selection refresh, 100 elements: %.2f ms (target 50 ms)\n", dHundred);
    tabs.updateEditorDeactivated(&editor);
    return 0;
}
