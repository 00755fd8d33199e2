#pragma once

#include "model/KVLayoutKey.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QParallelAnimationGroup>

class KVElement;
class KVKeyframe;
class KVTimeline;

// The animation of one element on one timeline at one responsive layout: its property tracks, at
// most one per property code, all running together from time 0. Setting the animation's time makes
// every track write its property's value at that time into the element's model.
//
// The inherit flags are the animation's per-property responsive flags: a code that is absent is
// inherited from the base layout, a code mapped to false is animated on its own at this layout.
class KVAnimation : public QParallelAnimationGroup
{
    Q_OBJECT

public:
    // The animation's length, remembered between changes (see KVKeyframe::duration).
    int duration() const override;
    void invalidateDuration();
    // A child animation changed its length: every remembered length above it is cleared.
    static void invalidateGroupDurations(QAbstractAnimation *pChanged);
    // pElement is not owned; it may be the scene itself.
    explicit KVAnimation(KVElement *pElement, QObject *pParent = nullptr);
    ~KVAnimation() override;

    KVAnimation(const KVAnimation &) = delete;
    KVAnimation &operator=(const KVAnimation &) = delete;

    KVElement *element() const { return m_pElement; }
    bool autoOrient() const { return m_bAutoOrient; }
    void setAutoOrient(bool b) { m_bAutoOrient = b; }

    bool isInherited(int nPropertyCode) const { return m_mapInherit.value(nPropertyCode, true); }
    // Returns the former flag.
    bool setInherited(int nPropertyCode, bool bInherited);
    // Only the codes that are not inherited are kept (all mapped to false).
    const QMap<int, bool> &inheritFlags() const { return m_mapInherit; }

    // Takes the track over; false (and nothing taken) for null or when a track of its property
    // code is already there.
    bool addKeyframe(KVKeyframe *pKeyframe);
    // Takes the track out without deleting it (it goes back to the caller); false when it is not
    // one of this animation's tracks.
    bool removeKeyframe(KVKeyframe *pKeyframe);
    KVKeyframe *keyframe(int nPropertyCode) const;
    QList<KVKeyframe *> keyframes() const;

    // The largest time of the last key value over the tracks; 0 without tracks.
    int length() const;

    // A new animation of the same element, made by writing this one to a project object and
    // reading that object back.
    virtual KVAnimation *clone(KVTimeline *pTimeline, const KVLayoutKey &layout) const;
    // Project-file form: "element_id", "auto_orient", "keyframes", "inherit".
    virtual void toJson(QJsonObject &jo) const;
    // Replaces the tracks by those of the object. A track whose property cannot be animated on the
    // element at that layout, a second track of a property and a track whose target does not
    // exist are skipped. pTimeline is the timeline that will hold the animation.
    virtual void fromJson(const QJsonObject &jo, KVTimeline *pTimeline, const KVLayoutKey &layout);
    // Appends the player entries of every track, in track order; the element id is 0 for the
    // scene's own animation.
    virtual void toPlayerJson(QJsonArray &entries, bool bCanvasMode = false) const;

protected:
    bool event(QEvent *pEvent) override;

private:
    mutable int m_nCachedDuration = -2; // -2: not known
    void deleteKeyframes();

    KVElement *m_pElement = nullptr;
    bool m_bAutoOrient = false;
    QMap<int, bool> m_mapInherit;
};
