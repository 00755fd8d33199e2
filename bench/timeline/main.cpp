// Building the timeline dock's rows, scene panel and view for one scene of 1,000 elements with 5
// animated properties each (5,000 property rows, 25,000 key values), and moving the playhead over
// it (what the rows show follows the time). Prints the median of a few runs; run under a display
// or with QT_QPA_PLATFORM=offscreen.
#include "../KVLargeProject.h"

#include "ui/timeline/KVTimelineRows.h"
#include "ui/timeline/KVTimelineScale.h"
#include "ui/timeline/KVTimelineScenePanel.h"
#include "ui/timeline/KVTimelineView.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double medianMs(int nRuns, const std::function<void()> &run)
{
    QList<double> times;
    for (int i = 0; i < nRuns; ++i) {
        // The application runs its event loop between two builds (the scene polishes new items).
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
    const int kElements = qEnvironmentVariableIntValue("KAVIO_BENCH_ELEMENTS") > 0 ? qEnvironmentVariableIntValue("KAVIO_BENCH_ELEMENTS") : 1000;
    KVHeadlessProject project;
    project.setWidth(1280);
    project.setHeight(720);
    KVScene *pScene = project.sceneList()->createScene();
    project.sceneList()->addScene(pScene);
    KVTimeline *pTimeline = pScene->mainTimeline();
    for (int n = 0; n < kElements; ++n) {
        KVElement *pElement = KVElementFactory::createElement(KVElementType::Div);
        pScene->addElement(pElement);
        auto *pAnimation = new KVAnimation(pElement);
        KVLargeProject::addTrack(pAnimation, pElement, KVPropertyCatalogue::Opacity, 0.0, 0.25);
        KVLargeProject::addTrack(pAnimation, pElement, KVPropertyCatalogue::Left, n % 500, 10.0);
        KVLargeProject::addTrack(pAnimation, pElement, KVPropertyCatalogue::Top, n % 300, 5.0);
        KVLargeProject::addTrack(pAnimation, pElement, KVPropertyCatalogue::RotateZ, 0.0, 30.0);
        KVLargeProject::addTrack(pAnimation, pElement, KVPropertyCatalogue::ScaleX, 1.0, 0.1);
        pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
    }
    KVTimelineScenePanel panel;
    KVTimelineView view;
    panel.resize(300, 600);
    view.resize(900, 600);
    const KVTimelineScale scale(50.0);
    QList<KVTimelineRow> rows;
    const double dRows = medianMs(7, [&] { rows = KVTimelineRows::build(pScene, pTimeline, {}); });
    const double dPanel = medianMs(7, [&] { panel.build(rows, 0); });
    const double dFirst = medianMs(1, [&] { view.build(rows, pTimeline, scale); });
    const double dView = medianMs(7, [&] { view.build(rows, pTimeline, scale); });
    const double dAll = medianMs(7, [&] {
        rows = KVTimelineRows::build(pScene, pTimeline, {});
        panel.build(rows, 0);
        view.build(rows, pTimeline, scale);
    });
    int nTime = 0;
    const double dSeek = medianMs(31, [&] {
        nTime = (nTime + 37) % 1600;
        pTimeline->seek(nTime);
        panel.refreshValues(nTime);
        view.setPlayheadTime(nTime);
    });
    std::printf("timeline view, %d elements x 5 properties (%d rows, %d key values)\n", kElements, int(rows.size()),
                kElements * 5 * KVLargeProject::kKeysPerTrack);
    std::printf("  rows %.1f ms, scene panel %.1f ms, view items %.1f ms (first build %.1f ms); whole build %.1f ms"
                " (target <= 100 ms)\n", dRows, dPanel, dView, dFirst, dAll);
    std::printf("  playhead moved: model seek + every row's value + playhead %.1f ms\n", dSeek);
    return 0;
}
