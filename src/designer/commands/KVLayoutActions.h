#pragma once

#include <QJsonArray>

#include "commands/KVCmdParam.h"

class IKVCommandTarget;
class KVCommandAction;

// The actions on the responsive layout of a container (the project or a symbol being edited). The
// layout data parameter (kind 27) is the container's breakpoint set; the target names the container
// that holds it.
//
//  59, 60  layout data, value [1]: container (stage) width, height; the value before is written back
//  61      layout data, value [1]: alignment of the exported stage
//  89      layout data, direction [1] (0 horizontal, 1 vertical), value [1], id [1]: adds a
//          breakpoint (id 0 takes a new one; the id it got is written back so a redo reuses it);
//          every element gets property objects for the new layouts
//  90      layout data, direction, id, value [1] (written back): removes a breakpoint; the property
//          objects of its layouts are kept by the action (an owned parameter appended by the first
//          removal) and come back with the undo; a removed current layout falls back to the base
//  91      layout data, direction, id, value [1]: a breakpoint's new value (the old one written back)
//  92      layout data, direction, id [1]: makes the breakpoint (0: the base) current in that
//          direction; every scene shows the layout; the id before is written back
// 102      layout data, flag [4]: auto-fit of the exported stage
// 101      element [11], h layout id, v layout id [1], added [4]: gives the element a property
//          object for the layout when it has none (a copy of the base's, inheriting everything); the
//          flag records whether one was added, and the undo takes it away again
namespace KVLayoutActions {

bool handles(int nType);
bool apply(KVCommandAction &action, bool bForward);
// The page message parameters of 59-61 and 92; bPrepared false for the other types.
QJsonArray pageParams(int nType, const KVCmdParamList &params, IKVCommandTarget *pDocument,
                      bool &bPrepared);

} // namespace KVLayoutActions
