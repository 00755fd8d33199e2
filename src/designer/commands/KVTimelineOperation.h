#pragma once

#include "model/KVLayoutKey.h"

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

class KVAnimation;
class KVCommand;
class KVEditContext;
class KVElement;
class KVKeyValue;
class KVKeyframe;
class KVTimeline;
class KVTimelineList;

// The edits of the timeline editor, computed here and handed back as one command each (null when
// nothing would change): keyframes added, recorded, moved and removed, the easing and transition
// state of segments, segments inverted, and timelines added, removed, renamed, made main and
// selected. The context names the project, the scene, its current timeline (at its current layout),
// the current time and the view that asks.
class KVTimelineOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVTimelineOperation)
public:
    // One key value of a track (a segment is named by the key it starts at).
    struct KeyRef
    {
        KVKeyframe *pTrack = nullptr;
        KVKeyValue *pKey = nullptr;
    };
    // A key value and the time it moves to.
    struct KeyMove
    {
        KVKeyframe *pTrack = nullptr;
        KVKeyValue *pKey = nullptr;
        int nTime = 0;
    };

    // The value the property shows now on the element at the layout (what the stage shows at the
    // current time); invalid when the element has no holder for it.
    static QVariant currentValue(const KVElement *pElement, int nCode, const KVLayoutKey &layout);
    // The element's track of the property on the timeline at the layout, or null.
    static KVKeyframe *trackOf(const KVTimeline *pTimeline, const KVElement *pElement, int nCode,
                               const KVLayoutKey &layout);

    // "Add Keyframe: %1": a key value at the current time holding the value the property shows
    // now, on each selected element that can animate the property and has no key there yet (a new
    // track, and a new animation of the element when needed, where there is none).
    static KVCommand *addKeyframe(const KVEditContext &context, int nCode);
    // Adds to the command what records a new value of the property at the current time: the key
    // value there takes it, or a new key is added; a property without a track gets one (and the
    // element an animation when it has none at the layout, remembered in created) with a key at 0
    // holding valueBefore when the current time is later. False when the property cannot carry a
    // track there (only at the timeline's own layout, where new tracks live).
    static bool recordValue(KVCommand *pCommand, const KVEditContext &context, KVElement *pElement,
                            const KVLayoutKey &layout, int nCode, const QVariant &value,
                            const QVariant &valueBefore, QHash<KVElement *, KVAnimation *> &created);
    // A value typed into a property row of an animated property: recorded at the current time.
    static KVCommand *setPropertyValue(const KVEditContext &context, KVElement *pElement, int nCode,
                                       const QVariant &value);

    // "Move Timeline Items": every key value to its new time, as one step. Keys of one track are
    // moved in the order that never lets one pass its neighbour. Null when no key would move or a
    // key would land on another key of its track that does not move away.
    static KVCommand *moveKeyValues(const KVEditContext &context, const QList<KeyMove> &moves);
    // "Remove Timeline Item": the key values; a track that loses all of them goes as a whole,
    // leaving its property at the value it shows now.
    static KVCommand *removeKeyValues(const KVEditContext &context, const QList<KeyRef> &keys);
    // "Change Easing Curve" of the segments that start at the keys.
    static KVCommand *changeEasing(const KVEditContext &context, const QList<KeyRef> &segments, int nCode);
    // "Create Transition" (bOn) or "Remove Transition" for the segments.
    static KVCommand *setTransition(const KVEditContext &context, const QList<KeyRef> &segments, bool bOn);
    // "Invert Animation Segment": each segment runs from the value it ended at to the value it
    // started from.
    static KVCommand *invertSegments(const KVEditContext &context, const QList<KeyRef> &segments);

    // The name "New Timeline" proposes: "Timeline", else the first free "Timeline_%1".
    static QString proposedTimelineName(const KVTimelineList *pList);
    // "New Timeline": a timeline of that name added to the scene and made current.
    static KVCommand *newTimeline(const KVEditContext &context, const QString &strName);
    // "Remove Timeline"; null with the reason in *pError for the only timeline of the scene.
    static KVCommand *removeTimeline(const KVEditContext &context, KVTimeline *pTimeline, QString *pError);
    // "Change Timeline Name"; null with the reason in *pError for an empty name or one another
    // timeline of the scene has.
    static KVCommand *renameTimeline(const KVEditContext &context, KVTimeline *pTimeline,
                                     const QString &strName, QString *pError);
    // "Change Main Timeline"; null when it is the main one already.
    static KVCommand *setMainTimeline(const KVEditContext &context, KVTimeline *pTimeline);
    // "Change Timeline Selection"; null when it is current already.
    static KVCommand *selectTimeline(const KVEditContext &context, KVTimeline *pTimeline);
};
