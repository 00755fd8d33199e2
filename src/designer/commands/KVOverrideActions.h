#pragma once

class KVCommandAction;
class KVElementCommandAction;

// The actions on an element's overrides at a responsive layout. The overrides parameter (kind 28)
// carries a property object of the element: the action puts it in place of the layout's own and
// keeps the one it replaced (owned by the parameter), so undo and redo are one exchange.
//
//   83  element [11], h layout id [1], v layout id [1], property object [28]: the layout's values
//       and overrides become those of the object
//   84  element, h, v, overrides [28] (none to start with): the layout keeps its values but
//       overrides nothing (all its inherit flags cleared)
//   85  element, h, v, overrides [28] (none to start with): the layout's values become a copy of
//       the base layout's and it overrides nothing ("Remove All Overrides")
// 1045  element, h, v, group [1] (a property code naming the group), codes [33], states [9]: the
//       inherit states of the codes at the layout (a map from code to -1 no flag, 0 overridden, 1
//       inherited; an invalid value removes every flag, "Remove Property Override"); the states
//       before are written back
namespace KVOverrideActions {

bool handles(int nType);
bool apply(KVCommandAction &action);
bool applyGroup(KVElementCommandAction &action);

} // namespace KVOverrideActions
