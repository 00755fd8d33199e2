#include "KVTimelineRows.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "model/KVElement.h"
#include "model/KVScene.h"

#include <algorithm>

namespace {

void addElement(QList<KVTimelineRow> &rows, KVElement *pElement, const KVTimeline *pTimeline,
                const QSet<int> &collapsedIds, bool bAnimatedOnly, int nDepth)
{
    const KVAnimation *pAnimation = pTimeline ? pTimeline->findAnimation(pElement, pTimeline->currentLayout()) : nullptr;
    QList<KVKeyframe *> tracks = pAnimation ? pAnimation->keyframes() : QList<KVKeyframe *>();
    if (!bAnimatedOnly || !tracks.isEmpty()) {
        KVTimelineRow row;
        row.kind = KVTimelineRow::Element;
        row.pElement = pElement;
        row.nDepth = nDepth;
        row.bExpanded = !collapsedIds.contains(pElement->id());
        rows.append(row);
        if (row.bExpanded) {
            std::sort(tracks.begin(), tracks.end(), [](const KVKeyframe *a, const KVKeyframe *b) {
                return KVPropertyCatalogue::orderOf(a->type()) < KVPropertyCatalogue::orderOf(b->type());
            });
            for (KVKeyframe *pTrack : qAsConst(tracks)) {
                KVTimelineRow sub;
                sub.kind = KVTimelineRow::Property;
                sub.pElement = pElement;
                sub.pTrack = pTrack;
                sub.nDepth = nDepth + 1;
                rows.append(sub);
            }
        }
    }
    const QList<KVElement *> &children = pElement->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        addElement(rows, *it, pTimeline, collapsedIds, bAnimatedOnly, nDepth + 1);
}

} // namespace

QList<KVTimelineRow> KVTimelineRows::build(const KVScene *pScene, const KVTimeline *pTimeline,
                                           const QSet<int> &collapsedIds, bool bAnimatedOnly)
{
    QList<KVTimelineRow> rows;
    if (!pScene)
        return rows;
    rows.reserve(64);
    KVTimelineRow scene;
    scene.kind = KVTimelineRow::Scene;
    scene.pElement = const_cast<KVScene *>(pScene);
    rows.append(scene);
    const QList<KVElement *> &children = pScene->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it)
        addElement(rows, *it, pTimeline, collapsedIds, bAnimatedOnly, 0);
    return rows;
}
