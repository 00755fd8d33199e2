#pragma once

#include <QJsonArray>

#include "commands/KVCmdParam.h"

class KVElementCommandAction;

// Element actions on the visual groups and kind settings that the property inspector edits. Each
// is an exchange (the values before go back into the same parameters); the groups held per layout
// end with inherited [4], h layout id [1], v layout id [1], and at a responsive layout the group's
// inherit flags take the given state (the state before is written back).
//
// 1002 fill (16): element, style, gradient type, image resource id, solid ARGB [1], gradient stops
//      [8] ([[position, ARGB], ...]), linear angle [1], radial origin x, y, radius [2], radial size,
//      radial shape, image fill type [1], inherited, h, v
// 1003 corner group (5): element, corner [7] (its project form), inherited, h, v
// 1012 overflow (6): element, overflow [1], scroll position kept by the page [9] (passed through),
//      inherited, h, v
// 1019 background image place (12): element, x, y, width, height [2], their four units [1],
//      inherited, h, v
// 1031 corners (12): element, top-left, top-right, bottom-left, bottom-right radius [2], their four
//      units [1], inherited, h, v
// 1042 clip (19): element, style [1], rectangle top, right, bottom, left [2], their units [1], oval
//      vertex, co-vertex [2], their units [1], circle radius [2], its unit [1], inherited, h, v
// 1043 shadow (9): element, style, blur radius, angle, distance, ARGB [1], inherited, h, v
// 1044 filter (12): element, invert [2], hue [1], contrast, brightness, saturate, sepia,
//      grayscale [2], blur [1], inherited, h, v
// 1017 image source, 1026 media source (2): element, resource id [1] (-1 none)
// 1020 media information from the page (2): element, {"duration", "loaded"} [7]; only the keys
//      present change
// 1032 widget URL (3): element, URL [5], use the resource [4]
// 1036 element properties (2): element, {Qt property name: value} [7], at the layout shown
// 1040 value of a property code (4): element, code [1], value [9], inherited [4], at the layout
//      shown (the object that holds the code's field takes the value)
// 1041 element property (3): element, Qt property name [5], value [9], at the layout shown
namespace KVElementGroupActions {

bool handles(int nType);
bool apply(KVElementCommandAction &action);
// The page message parameters of 1002, 1017, 1019, 1026, 1031, 1032, 1042-1044, and of the
// per-layout groups 1003, 1010-1012 and 1045 (the element id, then its layouts' player entries);
// bPrepared false for the other types.
QJsonArray pageParams(int nType, const KVCmdParamList &params, bool &bPrepared);

} // namespace KVElementGroupActions
