#pragma once

#include "model/KVBezierPath.h"

class KVMotionPathKeyframe;

// The Bezier path of a motion-path track. Its points that carry a time are the track's key
// positions; the points without one only shape the curve.
class KVMotionPath : public KVBezierPath
{
public:
    // pTrack is the track that owns the path (not owned; may be null).
    explicit KVMotionPath(KVMotionPathKeyframe *pTrack = nullptr) : m_pTrack(pTrack) {}
    ~KVMotionPath() override;

    KVMotionPathKeyframe *track() const { return m_pTrack; }

    // Index of the first / last point carrying the time; -1 when none does.
    int firstPointAt(int nTime) const;
    int lastPointAt(int nTime) const;
    // Moves every point (positions and control points) by the offset.
    void translate(const QPointF &offset);
    // Adds nDelta to the time of every point that carries one.
    void shiftTimes(int nDelta);

private:
    KVMotionPathKeyframe *m_pTrack = nullptr;
};
