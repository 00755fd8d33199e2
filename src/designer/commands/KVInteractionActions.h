#pragma once

class KVCommandAction;

// The actions on event handlers, triggers and user functions. Handlers and functions travel in a
// KVCommandItem (kinds 21 and 26), which owns its item while the item is out of the model.
//
//  34  handler list [22] (an element, a timeline's events or a trigger), handler [21], index [1]:
//      adds the handler at the index (the index it got is written back)
//  35  handler list [22], handler [21], index [1]: removes the handler; its index is written back
//  36  handler list [22], handler [21], index [1]: moves the handler there; the index before is
//      written back
//  37  handler list [22], handler [21], handler data [7] (its saved form): changes the handler; the
//      data before is written back
//  38  timeline [15], trigger [22], time [1]: a trigger's new time; the time before is written back
//  44  function list [25], function [26], index [1]: adds a user function to the project
//  45  function list [25], function [26], index [1]: removes it; its index is written back
//  46  function list [25], function id [1], name [5], parameter names [8], code [5]: changes the
//      function with that id; the values before are written back
//
// The function list parameter stands for the project's functions (the one list there is; the
// function container is no object, so the parameter holds none).
namespace KVInteractionActions {

bool handles(int nType);
bool apply(KVCommandAction &action, bool bForward);

} // namespace KVInteractionActions
