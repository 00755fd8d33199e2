#pragma once

class KVCommandAction;

// The timeline actions beyond single keys: rippling a track or a whole timeline in time, the main
// timeline, the auto-orient flag, motion paths replaced whole and the playback items of media and
// symbol instances.
//
//  24  track [17], time [1], delta [1]: every key value of the track at or after the time moves by
//      delta ms; refused when a key would pass another. The undo moves them back.
//  56  animation [16] (a playback animation), item [21]: adds the playback item (at the index it
//      had when an undo of its removal brings it back)
//  57  animation [16], item [21]: removes the playback item; the index it had is appended
//  58  animation [16], item [21], time [1], action code [1], action data [7]: changes the item;
//      the values before are written back
//  69  animation [16], flag [4]: auto-orient along the motion path; the flag before is written back
//  78  track [17], unit [5], reference length [2]: the track's values turn into the unit ("px" or
//      "%") against the reference length in pixels; the unit before is written back, and the values
//      before are appended (kind 30) so that the undo puts them back exactly
//  79  timeline list owner [14], timeline [15]: makes the timeline the main one; the index it had
//      is appended so that the undo puts it back
//  80  motion path [19], points [8] (project forms of path points): the path's points; the points
//      before are written back
//  81  track [17], value before [9], value now [9]: every key value of the track moves by the
//      difference (a static value edited under an animation); the values before are appended
//      (kind 30) for an exact undo
//  86  timeline [15], time [1], delta [1], labels too [1] (0 or 1): every key value of every track
//      of the timeline at or after the time moves by delta ms (and the labels there when asked);
//      refused when a key or label would pass another
//  87  timeline [15], time [1], length [1], labels too [1]: takes the span [time, time + length)
//      out of the timeline: what follows moves back by the length; refused when a key lies inside
namespace KVTimelineActions {

bool handles(int nType);
bool apply(KVCommandAction &action, bool bForward);

} // namespace KVTimelineActions
