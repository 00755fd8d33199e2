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
// "params"}) and becomes the model actions of its type. In the page's forms an element id stands
// for the element:
//
//   1      [element drawn in the page (kind 11), index?, parent id?]   insert ("Insert %1"); a parent
//                                                                      id naming the scene inserts
//                                                                      at the top level
//   33     [element id, selected]                                      select
//   1000   [element id, (h, v, x)?, property codes (kind 33), values]  geometry ("Change Geometry"),
//          (92 in this form too)                                       at the layout being edited;
//                                                                      there a layout action (101)
//                                                                      comes first, and an animated
//                                                                      element's refresh (93) after
//   1008   [element id, HTML] or the group's full list                 text ("Change Text")
//   1009   [element id, adjustments (kind 8)] or the full list         "Change Shape Adjustment"
//   1037   [element id, outline (kind 7)] or the full list             free-form outline, the points
//   1038   [element id, outline (kind 7)]                              given as objects or arrays
//   29, 30, 32  [element id, index, point...]                          the element's motion path on
//                                                                      the current timeline
//   59, 60, 91, 92  [values...]                                        container size, breakpoints:
//                                                                      the container's layout data
//                                                                      goes first; 91 is already
//                                                                      done in the page
//
// While the command is built the container's current layout and responsive flag are those of the
// page, and they are put back afterwards. Requests naming a scene, symbol or element that does not
// exist, and malformed JSON, build nothing (a debug line says why).
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
    static bool readRequest(Context &ctx, QJsonObject joRequest, KVUpdateViewInfo &request, QString *pError);
    static QList<class KVCmdParam *> takeParams(Context &ctx, KVUpdateViewInfo &request);
    static bool addActions(Context &ctx, KVUpdateViewInfo &request);
    static bool recordsKeyframes(const Context &ctx);
    static void addAutoKeyframes(Context &ctx, KVCommandAction *pGeometry);
    static KVCommandAction *insertAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *selectAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *geometryAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *elementAction(Context &ctx, KVUpdateViewInfo &request);
    static KVCommandAction *plainAction(Context &ctx, KVUpdateViewInfo &request);
};
