#pragma once

class KVCommandAction;

// The actions on timelines and their animations: timelines entering, leaving, becoming current and
// being renamed (types 9-12), labels (13-16), element animations (17, 18), property tracks (19-23)
// and key values (25-28).
namespace KVAnimationActions {

// Applies the action forwards or backwards; false (nothing changed) when its parameters do not fit.
bool apply(KVCommandAction &action, bool bForward);

} // namespace KVAnimationActions
