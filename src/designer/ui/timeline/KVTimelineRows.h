#pragma once

#include <QList>
#include <QSet>

class KVElement;
class KVKeyframe;
class KVScene;
class KVTimeline;

// One row of the timeline: the scene row, an element row or the sub-row of one animated property.
struct KVTimelineRow
{
    enum Kind { Scene, Element, Property };
    Kind kind = Scene;
    KVElement *pElement = nullptr;
    KVKeyframe *pTrack = nullptr;
    int nDepth = 0;
    // Whether the element's property rows are listed.
    bool bExpanded = true;
};

// The rows the scene panel lists and the view draws lanes for, read from the scene and its
// timeline at the timeline's layout: the scene row, then every element in display order (the
// topmost first, children below their group), each followed by its property rows in the order of
// the property catalogue unless it is collapsed.
class KVTimelineRows
{
public:
    static constexpr int RowHeight = 22;

    static QList<KVTimelineRow> build(const KVScene *pScene, const KVTimeline *pTimeline,
                                      const QSet<int> &collapsedIds, bool bAnimatedOnly = false);
};
