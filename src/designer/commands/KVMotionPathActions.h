#pragma once

class KVCommandAction;

// The actions on the path of a motion-path track, and the refresh of an animation after keyframe
// edits. The motion-path parameter (kind 19) holds the track that owns the path.
//
//  29  track [19], index [1], point [7]: inserts the point at the index (the undo removes it)
//  30  track [19], index [1], point [7]: removes the point at the index; the point is written back
//  31  track [19], index [1], time [1]: gives the timed point a new time, moving its key value with
//      it; the time before is written back
//  32  track [19], index [1], position, control in, control out [3]: moves a point and its control
//      points; the values before are written back
//  93  animation [16], timeline [15]: the timeline applies its current time again, so that the
//      animation's element shows the value its tracks give it now (both directions)
//
// A point is the project form of a path point: "x", "y", "x1", "y1", "x2", "y2", "time" (-1 or
// missing for none), "startpoint".
namespace KVMotionPathActions {

bool handles(int nType);
bool apply(KVCommandAction &action, bool bForward);

} // namespace KVMotionPathActions
