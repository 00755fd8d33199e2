#pragma once

class KVCommandAction;

// The actions on the structure of a stage: elements entering, leaving and moving inside their
// scene (types 1-4), scenes entering, leaving and moving in their list (5, 6, 8), and the selection
// of scenes (7) and elements (33).
namespace KVStructureActions {

// Applies the action forwards or backwards; false (nothing changed) when its parameters do not fit.
bool apply(KVCommandAction &action, bool bForward);

} // namespace KVStructureActions
