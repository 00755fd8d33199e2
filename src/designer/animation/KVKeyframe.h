#pragma once

#include "model/KVLayoutKey.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPointer>
#include <QSequentialAnimationGroup>

#include <vector>
#include <QString>
#include <QVariant>

#include <limits>

class KVElement;
class KVKeyValue;
class KVKeyframeSegment;

// One property track of an element's animation: the key values of one property code, in time
// order, joined by segments that run one after the other.
//
// A track with n key values has n + 1 segments: the leading segment holds the first key's value
// before from time 0 up to the first key; inner segment i runs from key i to key i + 1 and is the
// only kind that carries user-visible easing and transition state; the trailing segment is a
// zero-length segment at the last key, so that the property keeps the last key's value after it.
// The leading segment starts at a key value of the track's own at time 0 holding the first key's
// value before; the trailing segment ends at one holding the last key's time and value.
//
// Edits of a track that is paused or running (its timeline rests at a time) write the property's
// new value at that time at once.
//
// The track owns its key values while they are in it. A key value taken out by removeKeyValue()
// goes back to the caller, and so does the segment it returns (commands keep both for undo).
class KVKeyframe : public QSequentialAnimationGroup
{
    Q_OBJECT

public:
    // The track's length, remembered between changes: Qt asks a group for it at every step of a
    // seek, and each answer would walk all the segments again.
    int duration() const override;
    void invalidateDuration();
    // pTarget is the object that holds the property (the element or one of its visual groups);
    // pElement the animated element, used for the ids written to the project and player forms.
    KVKeyframe(int nType, const QString &strUnit, QObject *pTarget, KVElement *pElement = nullptr,
               QObject *pParent = nullptr);
    ~KVKeyframe() override;

    KVKeyframe(const KVKeyframe &) = delete;
    KVKeyframe &operator=(const KVKeyframe &) = delete;

    // A track of the property code on the element at the layout, with the catalogue's target object
    // and unit for that layout. Null when the code names no field or the layout has no holder.
    static KVKeyframe *create(KVElement *pElement, int nType, const KVLayoutKey &layout,
                              QObject *pParent = nullptr);

    int type() const { return m_nType; }
    QString unit() const { return m_strUnit; }
    void setUnit(const QString &strUnit) { m_strUnit = strUnit; }
    QObject *target() const { return m_pTarget; }
    KVElement *element() const { return m_pElement; }
    QByteArray fieldName() const { return m_fieldName; }

    const QList<KVKeyValue *> &keyValues() const { return m_listKeys; }
    bool isEmpty() const { return m_listKeys.isEmpty(); }
    // The key at exactly that time, or null.
    KVKeyValue *keyValueAt(int nTime) const;
    // Time of the last key value; 0 for an empty track.
    int lastTime() const;
    KVKeyframeSegment *leadingSegment() const;
    KVKeyframeSegment *trailingSegment() const;
    // Inner segment i runs from key value i to key value i + 1.
    QList<KVKeyframeSegment *> innerSegments() const;
    KVKeyframeSegment *innerSegment(int nIndex) const;

    // Takes pKey over and places it by its time, splitting the segment it falls into; the new
    // segment gets the easing and, with bAutoTransition, a transition when the values on its two
    // ends differ (never for display).
    virtual void addKeyValue(KVKeyValue *pKey, int nEasingCode, bool bAutoTransition);
    // Takes pKey out (it goes back to the caller) and returns the segment taken out with it, or null
    // when pKey was the only key (the track is then empty) or is not in the track.
    virtual KVKeyframeSegment *removeKeyValue(KVKeyValue *pKey);
    // Undoes removeKeyValue(): puts the key and the segment it returned (taken over; may be null)
    // back, so that every segment is the one it was before. Nothing is taken when the key is
    // already in the track.
    void restoreKeyValue(KVKeyValue *pKey, KVKeyframeSegment *pSegment);
    // Sets the key's value; its value before becomes valueBefore when valid, else follows the new
    // value when the key had no jump.
    virtual void setKeyValue(KVKeyValue *pKey, const QVariant &value,
                             const QVariant &valueBefore = QVariant());
    // Moves the key in time; it never passes a neighbouring key (the time is clamped to it).
    virtual void setKeyValueTime(KVKeyValue *pKey, int nTime);
    // Adds (newValue - oldValue) to every value and value before, clamped to the property's range.
    virtual void offsetValues(const QVariant &oldValue, const QVariant &newValue);
    // Adds nDelta to every key's time.
    virtual void shiftTimes(int nDelta);
    // Converts the stored values between "px" and "%" against a reference length in pixels.
    virtual void convertUnit(const QString &strOldUnit, const QString &strNewUnit, double dReferenceLength);
    // Project-file form: "elementId", "duration", "type", "unit", "keyValues", "keyframeSegments".
    virtual void toJson(QJsonObject &jo) const;
    // Replaces the keys by those of "keyValues" (each added with easing 3 and automatic
    // transitions), then applies "keyframeSegments" to the inner segments in order; reads "unit".
    virtual void fromJson(const QJsonObject &jo);

    // Appends the player entries of the track ({el, p, t, d, s, e, es}); canvas mode is passed on
    // to the keys that location tracks add.
    virtual void toPlayerJson(QJsonArray &entries, int nElementId, bool bCanvasMode = false) const;
    // The value as the player writes it under "s" and "e".
    QJsonValue playerValue(const QVariant &value) const;

    // The property's value at a time, as playing the track applies it; invalid for an empty track.
    QVariant valueAt(int nTime) const;

protected:
    bool event(QEvent *pEvent) override;
    // A track of a timeline at rest finds its segment by a binary search over their end times;
    // playing goes through the framework's own walk.
    void updateCurrentTime(int nCurrentTime) override;
    // Lets a location track add its motion-path keys ("cp", "ao") to the entry from key nFromIndex
    // to key nToIndex (equal for a set entry). Plain tracks add nothing.
    virtual void addPlayerEntryKeys(QJsonObject &joEntry, int nFromIndex, int nToIndex,
                                    bool bCanvasMode) const;

private:
    mutable int m_nCachedDuration = -2; // -2: not known
    // The segments and the end time of each within the track, built when first needed after a
    // change (a seek then touches only the segment it needs).
    std::vector<QAbstractAnimation *> m_vecSegments;
    std::vector<int> m_vecSegmentEnds;
    void deleteKeys();
    // Reassigns the keys of the segments at child indexes nFirst..nLast by position and refreshes
    // them, together with the leading and trailing segments and their own keys.
    void relink(int nFirst = 0, int nLast = std::numeric_limits<int>::max());
    // relink() for the two segments that meet at the key.
    void relinkAround(const KVKeyValue *pKey);
    void placeKeyValue(KVKeyValue *pKey, KVKeyframeSegment *pSegment, int nEasingCode,
                       bool bUseTransitions);
    KVKeyframeSegment *newSegment(int nEasingCode, bool bHasTransition);
    void insertSegment(int nIndex, KVKeyframeSegment *pSegment);
    // Fills an empty track with keys already in time order (taken over).
    void appendSorted(const QList<KVKeyValue *> &keys, int nEasingCode, bool bAutoTransition);
    void reapply();
    QJsonObject playerEntry(int nElementId, const KVKeyValue &from, const KVKeyValue &to,
                            bool bSet) const;

    int m_nType = -1;
    QString m_strUnit;
    QPointer<QObject> m_pTarget;
    KVElement *m_pElement = nullptr;
    QByteArray m_fieldName;
    QList<KVKeyValue *> m_listKeys;
    // The first key of the leading segment and the last key of the trailing segment.
    KVKeyValue *m_pLeadStart = nullptr;
    KVKeyValue *m_pTrailEnd = nullptr;
};
