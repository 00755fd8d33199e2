#pragma once

class KVCommandAction;

// A resource entering the project (type 39): the resource. The first run adds it to the project's
// resource manager when it is not there yet; undo marks it deleted and redo brings it back, so
// the resource object stays with the manager throughout. Creators that added the resource before
// pushing (an import that needed the file in place) set skip next redo.
namespace KVResourceActions {

// False (nothing changed) without a resource or a resource manager.
bool apply(KVCommandAction &action, bool bForward);

} // namespace KVResourceActions
