#pragma once

#include "animation/KVKeyframe.h"
#include "animation/KVMotionPath.h"

#include <QPointF>

// A location track (property code 6) that moves its element along a Bezier path instead of a
// straight line. The key values hold the element's location; each corresponds to the path points
// that carry its time. Between two timed points the element travels along the curve by arc length,
// at the pace of the inner segment's easing; a segment without transition holds the earlier point.
//
// The track's unit is always empty. It writes the location into the element's m_ptTranslateXY.
class KVMotionPathKeyframe : public KVKeyframe
{
    Q_OBJECT

public:
    // pTarget holds m_ptTranslateXY (normally the element itself); layout is the responsive layout
    // the track belongs to, used when an older project's absolute path moves the element.
    KVMotionPathKeyframe(QObject *pTarget, KVElement *pElement = nullptr,
                         const KVLayoutKey &layout = KVLayoutKey::base(), QObject *pParent = nullptr);
    ~KVMotionPathKeyframe() override;

    // A motion-path track of the element at the layout; null when the element has no holder there.
    static KVMotionPathKeyframe *create(KVElement *pElement, const KVLayoutKey &layout,
                                        QObject *pParent = nullptr);

    const KVMotionPath &path() const { return m_path; }
    // Replaces the path's points; the element shows the new location at once when the track rests
    // at a time.
    void setPathPoints(const QList<KVPathPoint> &points);
    // Gives the path point a new time and moves the key value of its old time with it, unless
    // another point still carries the old time. The key never passes a neighbouring key, and the
    // point takes the time the key ends up with. False for an index out of range or an untimed point.
    bool setPointTime(int nIndex, int nTime);

    // The element's location at a time, as playing the track applies it.
    QPointF locationAt(int nTime) const;
    // The direction of travel in degrees at a time, as the page turns an element whose animation
    // auto-orients: along the path of the entry of the player data that is running (or that ran
    // last, or the first one before it starts), 0 for an entry without a path.
    double orientationAt(int nTime) const;

    // True when the last read took the path from the older "motion_path" key.
    bool readLegacyPath() const { return m_bLegacyPath; }
    // Turns the element's left and top units at the track's layout into pixels, keeping the
    // position where it is (a percent left becomes its pixel equivalent).
    void setElementUnitsToPixels();

    KVLayoutKey layout() const { return m_layout; }

    // Key values and the timed path points move together.
    void shiftTimes(int nDelta) override;
    // The track's keys followed by "motionPath".
    void toJson(QJsonObject &jo) const override;
    // Reads the path from "motionPath" or, when that is absent, from the older "motion_path", whose
    // coordinates are absolute: such a path is made relative to its first point and the element's
    // left and top are moved there (see readLegacyPath()). Then the rest of the track.
    void fromJson(const QJsonObject &jo) override;
    // The entries of the keys, with their path points; a path whose last point has no time parks
    // the element on that point (see locationAt), which one set entry tells the player instead.
    void toPlayerJson(QJsonArray &entries, int nElementId, bool bCanvasMode = false) const override;

protected:
    void updateCurrentTime(int nCurrentTime) override;
    // "cp": the path points the entry runs through; "ao": the animation's auto-orient flag.
    void addPlayerEntryKeys(QJsonObject &joEntry, int nFromIndex, int nToIndex,
                            bool bCanvasMode) const override;

private:
    void applyAtCurrentTime();
    void makeLegacyPathRelative();

    KVMotionPath m_path;
    KVLayoutKey m_layout;
    bool m_bLegacyPath = false;
};
