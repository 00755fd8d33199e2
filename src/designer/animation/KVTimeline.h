#pragma once

#include "model/KVLayoutKey.h"

#include <QEasingCurve>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QParallelAnimationGroup>
#include <QString>

class KVAnimation;
class KVElement;
class KVEventListenerList;
class QVariantAnimation;

// One playable time axis of a scene or a symbol. Times are milliseconds from the start of the
// timeline.
//
// The timeline is a parallel animation group: the animations of the current responsive layout are
// its children and run from 0 together, so setting the group's time makes every animated property
// of the stage take its value at that time. The animations of every layout (the current one
// included) are kept in a map by layout key; switching the layout swaps the group's children.
//
// Two zero-valued keepers are children as well: their durations follow the largest label time and
// the largest trigger time, so the group lasts at least up to its last label and its last trigger.
//
// The timeline owns its animations (of all layouts), its triggers and its events list.
class KVTimeline : public QParallelAnimationGroup
{
    Q_OBJECT

public:
    // pOwner is the scene or symbol element whose elements are animated (not owned; may be null).
    explicit KVTimeline(KVElement *pOwner = nullptr, QObject *pParent = nullptr);
    ~KVTimeline() override;

    KVTimeline(const KVTimeline &) = delete;
    KVTimeline &operator=(const KVTimeline &) = delete;

    // --- Identity --------------------------------------------------------------------------------
    int id() const { return m_nId; }
    void setId(int nId) { m_nId = nId; }
    QString name() const { return m_strName; }
    void setName(const QString &strName) { m_strName = strName; }
    KVElement *owner() const { return m_pOwner; }
    // The owner's element with that id (the owner itself is not searched); null when there is none.
    KVElement *findElement(int nElementId) const;

    // --- Time ------------------------------------------------------------------------------------
    // The last time the timeline was set to.
    int currentTimeMs() const { return m_nCurrentTime; }
    // Sets the time with the group at rest (stopped): every child applies its value at nTime.
    void seek(int nTime);
    // Starts playing from nTime (a plain start() would begin at 0).
    void playFrom(int nTime);
    // Whether the group shows a time it was set to: sought, playing or paused. Edited tracks then
    // show their new value at once.
    bool showsTime() const { return m_bShowsTime || state() != QAbstractAnimation::Stopped; }
    // The timeline that a track or an animation of it belongs to, if any (through the groups).
    static KVTimeline *of(const QAbstractAnimation *pAnimation);

    // The easing given to the new keyframe segments of this timeline's tracks.
    QEasingCurve defaultEasing() const { return m_defaultEasing; }
    void setDefaultEasing(const QEasingCurve &easing) { m_defaultEasing = easing; }

    // --- Labels ----------------------------------------------------------------------------------
    // Inserts the label or gives an existing one the new time.
    void addLabel(const QString &strName, int nTime);
    // False when there is no such label.
    bool removeLabel(const QString &strName);
    // Does nothing (false) when the name is unknown.
    bool setLabelTime(const QString &strName, int nTime);
    // Name -> time, in name order.
    const QMap<QString, int> &labels() const { return m_mapLabels; }

    // --- Triggers and events ---------------------------------------------------------------------
    // Takes the action list over; a null list or one already held is ignored (false).
    bool addTrigger(KVEventListenerList *pTrigger);
    // Takes the list out without destroying it (the caller owns it again); false when it is not one
    // of the timeline's triggers.
    bool removeTrigger(KVEventListenerList *pTrigger);
    // Moves every handler of the list to nTime; false when the list is not one of the triggers.
    bool setTriggerTime(KVEventListenerList *pTrigger, int nTime);
    const QList<KVEventListenerList *> &triggers() const { return m_listTriggers; }
    // Ascending times; triggers at equal times keep their order in the trigger list.
    QList<KVEventListenerList *> triggersSortedByTime() const;
    // Sets both keepers again from the labels and the triggers' present times (for a caller that
    // changed a trigger's handlers directly).
    void updateKeepers();
    // The timeline's own event handlers.
    KVEventListenerList *events() const { return m_pEvents; }

    // --- Animations ------------------------------------------------------------------------------
    // Appends the animation to the layout's list and, for the current layout, to the group. Takes
    // it over; a null animation or one the layout already holds is ignored (false).
    bool addAnimation(KVAnimation *pAnimation, const KVLayoutKey &layout);
    // Takes the animation out of the layout's list (and out of the group for the current layout)
    // without destroying it; false when the layout does not hold it.
    bool removeAnimation(KVAnimation *pAnimation, const KVLayoutKey &layout);
    QList<KVAnimation *> animations(const KVLayoutKey &layout) const { return m_mapAnimations.value(layout); }
    const QMap<KVLayoutKey, QList<KVAnimation *>> &layoutAnimations() const { return m_mapAnimations; }
    // Animations the last fromJson() left out (they named no element of the owner).
    int droppedAnimations() const { return m_nDroppedAnimations; }
    // The element's animation at that layout, or null.
    KVAnimation *findAnimation(const KVElement *pElement, const KVLayoutKey &layout) const;
    KVLayoutKey currentLayout() const { return m_currentLayout; }
    // Makes the animations of that layout the group's children.
    void setCurrentLayout(const KVLayoutKey &layout);
    // Whether the property may carry a track on the element when edited at one layout against a
    // reference layout.
    static bool isAnimatable(const KVElement *pElement, int nPropertyCode,
                             const KVLayoutKey &referenceLayout, const KVLayoutKey &editedLayout);

    // --- Timeline view settings ------------------------------------------------------------------
    bool loopTimeline() const { return m_bLoopTimeline; }
    void setLoopTimeline(bool b) { m_bLoopTimeline = b; }
    bool onlyShowAnimElement() const { return m_bOnlyShowAnimElement; }
    void setOnlyShowAnimElement(bool b) { m_bOnlyShowAnimElement = b; }
    bool showSnapping() const { return m_bShowSnapping; }
    void setShowSnapping(bool b) { m_bShowSnapping = b; }
    bool snapToGrid() const { return m_bSnapToGrid; }
    void setSnapToGrid(bool b) { m_bSnapToGrid = b; }
    bool snapToPlayhead() const { return m_bSnapToPlayhead; }
    void setSnapToPlayhead(bool b) { m_bSnapToPlayhead = b; }
    bool snapToKeyframes() const { return m_bSnapToKeyframes; }
    void setSnapToKeyframes(bool b) { m_bSnapToKeyframes = b; }
    bool showGrid() const { return m_bShowGrid; }
    void setShowGrid(bool b) { m_bShowGrid = b; }
    int gridSize() const { return m_nGridSize; }
    void setGridSize(int n) { m_nGridSize = n; }
    double pixelPerSecond() const { return m_dPixelPerSecond; }
    void setPixelPerSecond(double d) { m_dPixelPerSecond = d; }

    // Grid lines per second for a grid_size index (1, 2, 4, 10, 15, 24, 30; 1 for any other index)
    // and the grid menu's text for it ("2 / second").
    static int gridLinesPerSecond(int nGridSize);
    static QString gridRateLabel(int nGridSize);

    // --- JSON ------------------------------------------------------------------------------------
    // Project-file form.
    void toJson(QJsonObject &jo) const;
    // Reads the project-file form (animations of every layout, or the older form with the base
    // layout's animations directly in the object). Labels, triggers and animations replace the
    // present ones; animations of elements the owner does not have are dropped. The current layout
    // becomes (0, 0).
    void fromJson(const QJsonObject &jo);
    // Player form. bCanvasMode: only the current layout, for the editing page; otherwise every
    // layout and, with bWithActions, the triggers and the timeline events.
    void toPlayerJson(QJsonObject &jo, bool bCanvasMode, bool bWithActions) const;

signals:
    // The current time changed (by seek() or while the group plays).
    void timeChanged();
    // For views that follow the stage size; the timeline itself never emits it.
    void sceneSizeChanged();

protected:
    void updateCurrentTime(int nCurrentTime) override;

private:
    // Sets the keeper's duration to the largest label time / trigger time (0 when none).
    void updateLabelKeeper();
    void updateTriggerKeeper();
    void storeTime(int nTime);
    // Sets the group's own time as seek() asked for it, storing the time asked for.
    void applyTime(int nTime);
    void deleteAnimations();
    void deleteTriggers();
    // Reads the animations of one layout ("animations" and "scene_animation" of jo) into the map.
    void readLayoutAnimations(const QJsonObject &jo, const KVLayoutKey &layout);
    // addAnimation() without its check that the animation is not in the layout's list yet.
    void appendAnimation(KVAnimation *pAnimation, const KVLayoutKey &layout);
    // Keeps the map free of an animation that someone else destroys.
    void watch(KVAnimation *pAnimation);
    void unwatch(KVAnimation *pAnimation);

    int m_nId = -1;
    QString m_strName;
    KVElement *m_pOwner = nullptr;
    int m_nCurrentTime = 0;
    QEasingCurve m_defaultEasing;
    QMap<QString, int> m_mapLabels;
    QList<KVEventListenerList *> m_listTriggers;
    KVEventListenerList *m_pEvents = nullptr;
    bool m_bTimeUpdatesEnabled = true;
    bool m_bLoopTimeline = false;
    bool m_bOnlyShowAnimElement = false;
    bool m_bShowSnapping = true;
    bool m_bSnapToGrid = true;
    bool m_bSnapToPlayhead = true;
    bool m_bSnapToKeyframes = true;
    bool m_bShowGrid = false;
    int m_nGridSize = 1;
    double m_dPixelPerSecond = 50.0;
    QMap<KVLayoutKey, QList<KVAnimation *>> m_mapAnimations;
    int m_nDroppedAnimations = 0;
    KVLayoutKey m_currentLayout;
    QVariantAnimation *m_pLabelKeeper = nullptr;
    QVariantAnimation *m_pTriggerKeeper = nullptr;
    // Set while seek() sets the group's time itself (it stores the time it was asked for).
    bool m_bSeeking = false;
    bool m_bShowsTime = false;
};
