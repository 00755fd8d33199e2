#pragma once

#include <QSet>

class KVElement;
class KVScene;
class KVSymbol;
class KVTimeline;
class KVUpdateViewInfo;

// Which model changes the canvas page has to hear about, and what the canvas does with them at the
// end of the command. Every rule is a set of type codes; the page is told of a change only when its
// type's condition holds for the scene the page shows and the container it belongs to.
class KVCanvasUpdateRules
{
public:
    enum Condition {
        Never,
        SceneOrParentInScene,     // 1, 2
        ElementInScene,           // 3, 4, 33, element groups
        ElementAtCurrentLayout,   // 1040
        TimelineListOfScene,      // 11
        CurrentTimeline,          // timeline and track edits
        CurrentTimelineAndLayout, // 17-20
        CurrentTimelineMotionPath, // 69
        Always,
        ResourceInUse,            // 50, 52, 103
        ContainerLayoutData       // 59-61, 89-92
    };

    static Condition conditionOf(int nType);
    // Whether the change concerns a page that shows pScene of pContainer (never without a scene).
    static bool concernsPage(const KVUpdateViewInfo &info, KVScene *pScene, KVSymbol *pContainer);
    // Types after which the page repaints, and after which it recomputes the stage position.
    static bool needsRepaint(int nType) { return repaintTypes().contains(nType); }
    static bool needsScenePosUpdate(int nType) { return scenePosTypes().contains(nType); }
    // Whether the page reloads the whole scene for the change instead of applying it.
    static bool needsFullReload(const KVUpdateViewInfo &info);

    static const QSet<int> &repaintTypes();
    static const QSet<int> &scenePosTypes();

    // The timeline a change concerns: a timeline parameter, or the timeline holding the animation,
    // track or motion path it names; null when there is none.
    static KVTimeline *timelineOf(const KVUpdateViewInfo &info);
    // The first element the change names; null when there is none.
    static KVElement *elementOf(const KVUpdateViewInfo &info);
};
