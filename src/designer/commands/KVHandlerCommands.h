#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

class IKVCommandTarget;
class KVEventListener;
class KVEventListenerList;
class KVFunction;

// Builds and pushes the undoable commands of the event-action dialog and the functions panel: the
// handler actions 34 to 37 and the function actions 44 to 46, with the texts the user sees in the
// undo history. Every function returns false, and pushes nothing, when there is nothing to do.
class KVHandlerCommands
{
    Q_DECLARE_TR_FUNCTIONS(KVHandlerCommands)

public:
    // "Add Action": the new handler (taken over) at nIndex of the list, appended when -1.
    static bool addAction(IKVCommandTarget *pDocument, KVEventListenerList *pList, KVEventListener *pHandler,
                          int nIndex = -1);
    // "Change Action" (or strText, such as "Change Function"): the handler gets the action code and
    // data (its event stays).
    static bool changeAction(IKVCommandTarget *pDocument, KVEventListenerList *pList, KVEventListener *pHandler,
                             int nAction, const QJsonObject &joActionData, const QString &strText = QString());
    // "Move Action Up" / "Move Action Down": swaps the handler with the previous or next handler of
    // the same event in the list.
    static bool moveAction(IKVCommandTarget *pDocument, KVEventListenerList *pList, KVEventListener *pHandler,
                           bool bUp);
    // "Remove Action": the handlers leave the list in one step.
    static bool removeActions(IKVCommandTarget *pDocument, KVEventListenerList *pList,
                              const QList<KVEventListener *> &handlers);
    // Appends the new handlers (taken over) in one step named strText ("Paste Action", "Paste Event
    // Actions").
    static bool appendActions(IKVCommandTarget *pDocument, KVEventListenerList *pList,
                              const QList<KVEventListener *> &handlers, const QString &strText);

    // "Add Function": the new function (taken over) joins the project; with a handler given, the
    // same step points that "Run JavaScript" action at it.
    static bool addFunction(IKVCommandTarget *pDocument, KVFunction *pFunction, KVEventListenerList *pList = nullptr,
                            KVEventListener *pHandler = nullptr);
    // "Remove Function": the functions leave the project in one step.
    static bool removeFunctions(IKVCommandTarget *pDocument, const QList<KVFunction *> &functions);
    // "Modify Function" when the body or parameters change, "Change Function Name" when only the
    // name does; false when nothing changes or the project holds no such function.
    static bool changeFunction(IKVCommandTarget *pDocument, int nFunctionId, const QString &strName,
                               const QStringList &params, const QString &strContent);
};
