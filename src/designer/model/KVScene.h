#pragma once

#include "model/KVElementContainer.h"
#include "model/KVSceneList.h"

#include <QPointer>

class KVSceneProperty;
class KVTimeline;
class KVTimelineList;

// One stage of a project: the root of an element tree (ids and names as in KVElementContainer),
// with the stage's size, fill and perspective per layout, the scene's timelines, and the transition
// with which the player enters it. With auto advance the player goes on to the next scene at the end
// of the main timeline.
//
// A scene belongs to at most one scene list (a back pointer, not owned), which gives it its id and
// keeps its name unique among the list's scenes. Unlike other elements a scene saves its selected
// flag, which is its selection in the list.
//
// The perspective origin of the current layout is offered as Qt properties under the model names,
// so that the scene's own animation can drive it.
class KVScene : public KVElementContainer
{
    Q_OBJECT
    Q_PROPERTY(double m_dPerspectiveOrgX READ perspectiveOrgX WRITE setPerspectiveOrgX)
    Q_PROPERTY(double m_dPerspectiveOrgY READ perspectiveOrgY WRITE setPerspectiveOrgY)
    Q_PROPERTY(double m_dPerspectiveOrgZ READ perspectiveOrgZ WRITE setPerspectiveOrgZ)

public:
    // A scene with its main timeline; init() gives it the stage defaults.
    KVScene();
    // Leaves its scene list, then deletes its timelines before its elements.
    ~KVScene() override;

    // --- Element operations ------------------------------------------------------------------
    // The element copy plus the counter, the list pointer, auto advance and the transition; the
    // timelines are copied through their project form, so the copy animates its own elements.
    KVElement *clone() const override;
    int type() const override;
    // The element reset, then: counter 1, a stage of 800 x 600 pixels at (0, 0) with a white solid
    // fill and no border, a new timeline list, no list, auto advance on, no transition.
    void init() override;
    // The scene's name is made unique among the scenes of its list ("<name>_<n>", or "Scene_<n>"
    // for an empty name), then the names of its elements within the scene.
    void makeUniqueName() override;
    // Also the scene events 50..56.
    bool isEventTypeSupported(int nEventType) const override;
    // Also over the timelines' triggers and events.
    void collectFunctions(QMap<int, const KVFunction *> &map,
                          const KVFunctionContainer &container) const override;
    void remapFunctions(const QHash<int, int> &functionIdMap) override;
    void remapElements(const QHash<int, int> &elementIdMap,
                       const KVElementScope &scope = KVElementScope()) override;
    // Fonts of the elements of the stage.
    void collectFonts(KVFontFaces &fonts) const override;
    // The layout goes to every timeline as well.
    void setCurrentLayout(const KVLayoutKey &layout) override;
    // Adds "nextChildId", "isSelected", "autoAdvance", "tsType", "tsDuration", "tsEasing",
    // "tsDirection" and "timelines" after the element keys.
    void toJson(QJsonObject &jo) const override;
    // Reads the element keys, then the scene keys (a missing "nextChildId" reads as 1000; the
    // counter is in any case raised past the largest id of the tree, so new ids never repeat one).
    // A selected flag that changes is reported to the scene list.
    bool fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext = nullptr) override;
    // The element's player data, then "aa", for export "st", "timelines", "currentTime" and, when
    // the stage uses 3D, "t3d". For export the stage's values are written as they are at time 0 of
    // the first timeline with animated content; the model is left at the time it was at.
    void toPlayerJson(QJsonObject &jo, bool bForCanvas,
                      const KVLayoutKey &layout = KVLayoutKey::current()) override;

    // --- Scene fields --------------------------------------------------------------------------
    // Never null.
    KVTimelineList *timelines() const { return m_pTimelines; }
    KVTimeline *mainTimeline() const;
    KVTimeline *currentTimeline() const;
    KVSceneList *sceneList() const { return m_pSceneList; }
    // Set by the scene list; the scene is not added to the list by this.
    void setSceneList(KVSceneList *pList) { m_pSceneList = pList; }
    bool autoAdvance() const { return m_bAutoAdvance; }
    void setAutoAdvance(bool b) { m_bAutoAdvance = b; }
    // Transition: type and direction codes of KVSceneTransition, duration in milliseconds, easing
    // code of the toolkit's easing curves.
    int transitionType() const { return m_nTransitionType; }
    void setTransitionType(int n) { m_nTransitionType = n; }
    int transitionDuration() const { return m_nTransitionDuration; }
    void setTransitionDuration(int n) { m_nTransitionDuration = n; }
    int transitionEasing() const { return m_nTransitionEasing; }
    void setTransitionEasing(int n) { m_nTransitionEasing = n; }
    int transitionDirection() const { return m_nTransitionDirection; }
    void setTransitionDirection(int n) { m_nTransitionDirection = n; }
    // The transition duration when there is a transition (type not 0), else 0.
    int effectiveTransitionDuration() const;

    // --- Perspective per layout ----------------------------------------------------------------
    // The scene property of the layout, or null when it has none.
    KVSceneProperty *sceneProperty(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    double perspectiveOrgX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setPerspectiveOrgX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double perspectiveOrgY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setPerspectiveOrgY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double perspectiveOrgZ(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setPerspectiveOrgZ(double d, const KVLayoutKey &layout = KVLayoutKey::current());

    // True when the timeline has something to play: a property track with key values, or a
    // playback with items on an audio, video or symbol element.
    static bool holdsAnimatedContent(const KVTimeline *pTimeline);

    // What the last fromJson() repaired (repeated element ids, animations left out), one message each.
    const QStringList &readRepairs() const { return m_readRepairs; }

private:
    // The timeline whose time 0 gives the values written for export, or null.
    KVTimeline *firstAnimatedTimeline() const;
    // Seeks the timeline with its signals blocked.
    static void quietSeek(KVTimeline *pTimeline, int nTime);

    KVTimelineList *m_pTimelines = nullptr;
    // A copy keeps the pointer without being in the list; it must not outlive the list unnoticed.
    QPointer<KVSceneList> m_pSceneList;
    bool m_bAutoAdvance = true;
    int m_nTransitionType = 0;
    int m_nTransitionDuration = 0;
    int m_nTransitionEasing = 0;
    int m_nTransitionDirection = 0;
    QStringList m_readRepairs;
};
