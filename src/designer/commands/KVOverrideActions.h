#pragma once

class KVCommandAction;

// Giving a layout's properties of an element back to inheritance (type 85): element, h layout id,
// v layout id, and the property object that takes the layout's place (owned by the parameter). The
// action is an exchange: the object the layout had goes into the parameter, so running it again
// puts the overrides back with their values and flags.
namespace KVOverrideActions {

// False (nothing changed) when the parameters do not fit or the layout is the base or has no
// property object.
bool apply(KVCommandAction &action, bool bForward);

} // namespace KVOverrideActions
