#pragma once

#include <QJsonArray>

#include "commands/KVCmdParam.h"

class IKVCommandTarget;
class KVCommandAction;
class KVResourceManager;

// The actions on the project's resources. Resources belong to the resource manager: adding and
// removing mark them live or deleted there, so a removed resource comes back as the same object.
// Each change writes the value before back into its parameter.
//
//  39  resource [23]: the resource is live (the undo marks it deleted again)
//  40  resource [23]: the resource is deleted; refused while anything uses it
//  47  media resource [23], format [5] (the file extension), file name [5]: the group's file of
//      that format (an empty name takes the format out of the group)
//  48  resource [23], name [5]: renames the resource; a name another resource has is refused
//  49  script or style sheet [23], included [4]: whether the exported page's head includes it
//  50  script or style sheet [23], position [1]: its place in the include order
//  52  resource [23], URL [5]: the address of a resource kept as an address or a linked file
// 103  resource [23]: only tells the views that a resource editor dropped its changes (actions
//      run types 1 to 102 only); the page gets the resource again
namespace KVResourceActions {

bool handles(int nType);
bool apply(KVCommandAction &action, bool bForward);
// The page messages of 39, 40, 47, 49, 50, 52 and 103; bPrepared false for the other types.
QJsonArray pageParams(int nType, bool bUndo, const KVCmdParamList &params, IKVCommandTarget *pDocument,
                      KVResourceManager *pResources, bool &bPrepared);

} // namespace KVResourceActions
