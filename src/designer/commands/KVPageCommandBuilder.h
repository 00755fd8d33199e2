#pragma once

#include <QJsonObject>
#include <QString>

class KVCommand;
class KVCommandAction;
class KVDocument;
class KVElement;
class KVScene;
class KVSymbol;
class KVUpdateViewInfo;
class QObject;

// Turns an edit made in the canvas page into one command of the project. The page sends
// {"actions": [page requests], "sceneId", "symbolResourceId", "responsive", "hLayoutId",
// "vLayoutId", "text"}; each request is read like a view-update message ({"cmd", "isUndoCmd",
// "params"}) and becomes the model actions of its type:
//
//   1            [element drawn in the page (kind 11), index?, parent id?]   insert ("Insert %1")
//   33           [element id, selected]                                      select
//   1000, 92     [element id, (h, v, x)?, property codes (kind 33), values]  geometry ("Change Geometry")
//   1008, 1009,  [element id, the group's values...]                         element groups, the id
//   1037, 1038                                                               standing for the element
//   29, 30, 32   [the motion path's values...]                               anchor points
//   59, 60, 91   [values...]                                                 container size, breakpoint
//
// The geometry values land at the layout the page edits ("hLayoutId", "vLayoutId"); while the
// command is built the container's current layout and responsive flag are those of the page, and
// they are put back afterwards. Requests naming a scene, symbol or element that does not exist, and
// malformed JSON, build nothing (a debug line says why).
class KVPageCommandBuilder
{
public:
    // The command (sender pSender, text from the request or from its first action's type), or null
    // when nothing is to be done. The caller submits or runs it.
    static KVCommand *build(KVDocument *pDocument, const QString &strJson, QObject *pSender);
    static KVCommand *build(KVDocument *pDocument, const QJsonObject &joRequest, QObject *pSender);

    // The text a command gets for a request type when the page gives none.
    static QString defaultText(int nType, const KVElement *pElement = nullptr);

private:
    struct Context;
    static bool addActions(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *insertAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *selectAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *geometryAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *elementAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *plainAction(Context &ctx, KVUpdateViewInfo &request);
};
