#pragma once

#include <QJsonArray>

#include "commands/KVCmdParam.h"

class IKVCommandTarget;
class KVCommandAction;

// The actions on the project's document-level settings and on its preloader. Each is an exchange:
// the value before is written back into the parameter.
//
//  68 autoplay [4]            70 preloader kind [1]         71 loading indicator [7] (its saved
//  72 custom preloader on [4] 73 preloader shows the         form; the preloader's own while it
//  94 embed fonts [4]            loading indicator [4]       is edited, else the project's)
//  95 resource folder of the HTML5 output [5]     98 preloader resource folder of the output [5]
//  96 viewport width and height values [1, 1]     97 container id [5] (a valid CSS name)
//  99 custom HTML of the output [5]               100 custom CSS of the output [5]
//  62 the symbol being edited [1]: a symbol resource's id, -1 for the project itself
//  64 the click-tag variable an ad's "Open Click Tag URL" actions read [5] (a JavaScript name)
namespace KVDocumentActions {

bool handles(int nType);
bool apply(KVCommandAction &action);
// The page messages of 71-73 (the preloader's data); bPrepared false for the other types.
QJsonArray pageParams(int nType, const KVCmdParamList &params, IKVCommandTarget *pDocument,
                      bool &bPrepared);

} // namespace KVDocumentActions
