#include "commands/KVSelectOperation.h"

#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "model/KVScene.h"

namespace {

void addSelect(KVCommand *pCommand, const KVEditContext &c, KVElement *p, bool bSelected)
{
    auto *pAction = new KVCommandAction(KVCommandAction::SelectElement, c.pTarget, 2);
    pAction->addParam(KVCmdParam::makeObject(KVCmdParam::Element, p));
    pAction->addParam(KVCmdParam::makeBool(bSelected));
    pCommand->addAction(pAction);
}

KVCommand *orNull(KVCommand *pCommand)
{
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    return pCommand;
}

} // namespace

KVCommand *KVSelectOperation::selectAll(const KVEditContext &c)
{
    if (!c.isUsable())
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, tr("Select All"), c.pSender);
    for (KVElement *pChild : c.pScene->children()) {
        for (KVElement *pInner : pChild->children()) {
            pInner->forEachInSubtree([&](const KVElement *p) {
                if (p->isSelected())
                    addSelect(pCommand, c, const_cast<KVElement *>(p), false);
            });
        }
        if (!pChild->isSelected())
            addSelect(pCommand, c, pChild, true);
    }
    return orNull(pCommand);
}

KVCommand *KVSelectOperation::deselectAll(const KVEditContext &c)
{
    if (!c.isUsable())
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, tr("deselect all"), c.pSender);
    for (KVElement *pChild : c.pScene->children()) {
        pChild->forEachInSubtree([&](const KVElement *p) {
            if (p->isSelected())
                addSelect(pCommand, c, const_cast<KVElement *>(p), false);
        });
    }
    return orNull(pCommand);
}

KVCommand *KVSelectOperation::select(const KVEditContext &c, const QList<KVElement *> &elements)
{
    if (!c.isUsable())
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, tr("Change Selection"), c.pSender);
    for (KVElement *pChild : c.pScene->children()) {
        pChild->forEachInSubtree([&](const KVElement *p) {
            const bool bWanted = elements.contains(const_cast<KVElement *>(p));
            if (p->isSelected() != bWanted)
                addSelect(pCommand, c, const_cast<KVElement *>(p), bWanted);
        });
    }
    return orNull(pCommand);
}

bool KVSelectOperation::run(KVCommand *pCommand)
{
    if (!pCommand)
        return false;
    pCommand->execute();
    delete pCommand;
    return true;
}
