#include "commands/KVHandlerCommands.h"

#include "commands/IKVCommandTarget.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVCommandItem.h"
#include "document/KVSymbol.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVActionKey.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"

#include <QJsonArray>

namespace {

using P = KVCmdParam;

KVCommandAction *handlerAction(int nType, IKVCommandTarget *pDocument, KVEventListenerList *pList,
                               KVEventListener *pHandler, bool bOwned, P *pLast)
{
    auto *pAction = new KVCommandAction(nType, pDocument, 3);
    pAction->addParam(P::makeObject(P::OwnedObject, pList));
    pAction->addParam(P::makeObject(P::ActionItem, new KVCommandItem(pHandler, bOwned), true));
    pAction->addParam(pLast);
    return pAction;
}

KVCommandAction *changeHandlerAction(IKVCommandTarget *pDocument, KVEventListenerList *pList,
                                     KVEventListener *pHandler, int nAction, const QJsonObject &joData)
{
    KVEventListener changed(*pHandler);
    changed.setAction(nAction);
    changed.setActionData(joData);
    return handlerAction(37, pDocument, pList, pHandler, false, P::makeJsonObject(changed.toJson()));
}

KVFunctionContainer *functionsOf(IKVCommandTarget *pDocument)
{
    KVSymbol *pProject = pDocument ? pDocument->commandProject() : nullptr;
    return pProject ? pProject->functions() : nullptr;
}

P *functionList()
{
    return P::makeObject(P::FunctionList, nullptr);
}

} // namespace

bool KVHandlerCommands::addAction(IKVCommandTarget *pDocument, KVEventListenerList *pList, KVEventListener *pHandler,
                                  int nIndex)
{
    if (!pDocument || !pList || !pHandler) {
        delete pHandler;
        return false;
    }
    auto *pCommand = new KVCommand(pDocument, tr("Add Action"));
    pCommand->addAction(handlerAction(34, pDocument, pList, pHandler, true, P::makeInt(nIndex)));
    return KVCommand::push(pCommand);
}

bool KVHandlerCommands::changeAction(IKVCommandTarget *pDocument, KVEventListenerList *pList,
                                     KVEventListener *pHandler, int nAction, const QJsonObject &joActionData,
                                     const QString &strText)
{
    if (!pDocument || !pList || pList->indexOf(pHandler) < 0)
        return false;
    if (pHandler->action() == nAction && pHandler->actionData() == joActionData)
        return false;
    auto *pCommand = new KVCommand(pDocument, strText.isEmpty() ? tr("Change Action") : strText);
    pCommand->addAction(changeHandlerAction(pDocument, pList, pHandler, nAction, joActionData));
    return KVCommand::push(pCommand);
}

bool KVHandlerCommands::moveAction(IKVCommandTarget *pDocument, KVEventListenerList *pList, KVEventListener *pHandler,
                                   bool bUp)
{
    if (!pDocument || !pList || pList->indexOf(pHandler) < 0)
        return false;
    const QList<KVEventListener *> same = pList->handlersOfEvent(pHandler->event());
    const int nAt = same.indexOf(pHandler);
    const int nOther = bUp ? nAt - 1 : nAt + 1;
    if (nOther < 0 || nOther >= same.size())
        return false;
    auto *pCommand = new KVCommand(pDocument, bUp ? tr("Move Action Up") : tr("Move Action Down"));
    pCommand->addAction(handlerAction(36, pDocument, pList, pHandler, false, P::makeInt(pList->indexOf(same.at(nOther)))));
    return KVCommand::push(pCommand);
}

bool KVHandlerCommands::removeActions(IKVCommandTarget *pDocument, KVEventListenerList *pList,
                                      const QList<KVEventListener *> &handlers)
{
    if (!pDocument || !pList)
        return false;
    auto *pCommand = new KVCommand(pDocument, tr("Remove Action"));
    // From the back, so that each recorded index still holds when the removals are taken back.
    QList<KVEventListener *> ordered;
    for (KVEventListener *pHandler : pList->handlers()) {
        if (handlers.contains(pHandler))
            ordered.prepend(pHandler);
    }
    for (KVEventListener *pHandler : ordered)
        pCommand->addAction(handlerAction(35, pDocument, pList, pHandler, false, P::makeInt(-1)));
    return KVCommand::push(pCommand);
}

bool KVHandlerCommands::appendActions(IKVCommandTarget *pDocument, KVEventListenerList *pList,
                                      const QList<KVEventListener *> &handlers, const QString &strText)
{
    if (!pDocument || !pList || handlers.isEmpty()) {
        qDeleteAll(handlers);
        return false;
    }
    auto *pCommand = new KVCommand(pDocument, strText);
    int nIndex = pList->count();
    for (KVEventListener *pHandler : handlers)
        pCommand->addAction(handlerAction(34, pDocument, pList, pHandler, true, P::makeInt(nIndex++)));
    return KVCommand::push(pCommand);
}

bool KVHandlerCommands::addFunction(IKVCommandTarget *pDocument, KVFunction *pFunction, KVEventListenerList *pList,
                                    KVEventListener *pHandler)
{
    KVFunctionContainer *pFunctions = functionsOf(pDocument);
    if (!pFunctions || !pFunction || !KVFunction::isValidName(pFunction->name())) {
        delete pFunction;
        return false;
    }
    // The id is given now, so that the action can point at the function in the same step.
    pFunction->setName(pFunctions->uniqueName(pFunction->name()));
    if (pFunction->id() == -1)
        pFunction->setId(pFunctions->currentId() + 1);
    auto *pCommand = new KVCommand(pDocument, tr("Add Function"));
    auto *pAdd = new KVCommandAction(44, pDocument, 3);
    pAdd->addParam(functionList());
    pAdd->addParam(P::makeObject(P::Function, new KVCommandItem(pFunction, true), true));
    pAdd->addParam(P::makeInt(-1));
    pCommand->addAction(pAdd);
    if (pList && pList->indexOf(pHandler) >= 0) {
        QJsonObject data = pHandler->actionData();
        data.insert(KVActionKey::FunctionId, pFunction->id());
        pCommand->addAction(changeHandlerAction(pDocument, pList, pHandler, KVActionCatalogue::RunJavaScript, data));
    }
    return KVCommand::push(pCommand);
}

bool KVHandlerCommands::removeFunctions(IKVCommandTarget *pDocument, const QList<KVFunction *> &functions)
{
    KVFunctionContainer *pFunctions = functionsOf(pDocument);
    if (!pFunctions)
        return false;
    auto *pCommand = new KVCommand(pDocument, tr("Remove Function"));
    QList<KVFunction *> ordered;
    for (KVFunction *pFunction : pFunctions->functions()) {
        if (functions.contains(pFunction))
            ordered.prepend(pFunction);
    }
    for (KVFunction *pFunction : ordered) {
        auto *pRemove = new KVCommandAction(45, pDocument, 3);
        pRemove->addParam(functionList());
        pRemove->addParam(P::makeObject(P::Function, new KVCommandItem(pFunction, false), true));
        pRemove->addParam(P::makeInt(-1));
        pCommand->addAction(pRemove);
    }
    return KVCommand::push(pCommand);
}

bool KVHandlerCommands::changeFunction(IKVCommandTarget *pDocument, int nFunctionId, const QString &strName,
                                       const QStringList &params, const QString &strContent)
{
    KVFunctionContainer *pFunctions = functionsOf(pDocument);
    const KVFunction *pFunction = pFunctions ? pFunctions->findById(nFunctionId) : nullptr;
    if (!pFunction || !pFunctions->nameProblem(strName, pFunction).isEmpty())
        return false;
    const bool bBody = pFunction->params() != params || pFunction->content() != strContent;
    if (!bBody && pFunction->name() == strName)
        return false;
    auto *pCommand = new KVCommand(pDocument, bBody ? tr("Modify Function") : tr("Change Function Name"));
    auto *pChange = new KVCommandAction(46, pDocument, 5);
    pChange->addParam(functionList());
    pChange->addParam(P::makeInt(nFunctionId));
    pChange->addParam(P::makeString(strName));
    pChange->addParam(P::makeJsonArray(QJsonArray::fromStringList(params)));
    pChange->addParam(P::makeString(strContent));
    pCommand->addAction(pChange);
    return KVCommand::push(pCommand);
}
