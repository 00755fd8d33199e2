#include "commands/KVOverrideOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "model/KVElementProperty.h"
#include "model/KVScene.h"

using P = KVCmdParam;

bool KVOverrideOperation::hasOverrides(const KVEditContext &c, const KVElement *pElement,
                                       const KVLayoutKey &layout)
{
    if (layout.isBase() || !pElement->property(layout))
        return false;
    const QMap<int, bool> flags = pElement->property(layout)->inheritFlags();
    for (auto it = flags.constBegin(); it != flags.constEnd(); ++it) {
        if (!it.value())
            return true;
    }
    for (KVTimeline *pTimeline : c.pScene->timelines()->timelines()) {
        if (pTimeline->findAnimation(pElement, layout))
            return true;
    }
    return false;
}

KVCommand *KVOverrideOperation::removeAllOverrides(const KVEditContext &c)
{
    if (!c.isUsable())
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, tr("Remove All Overrides"), c.pSender);
    for (const KVLayoutKey &l : c.editedLayouts()) {
        for (KVElement *pElement : c.selectedElements()) {
            if (!hasOverrides(c, pElement, l))
                continue;
            for (KVTimeline *pTimeline : c.pScene->timelines()->timelines()) {
                if (KVAnimation *pAnimation = pTimeline->findAnimation(pElement, l)) {
                    auto *pAction = new KVCommandAction(KVCommandAction::RemoveAnimation, c.pTarget, 4);
                    pAction->addParam(P::makeObject(P::Animation, pAnimation));
                    pAction->addParam(P::makeObject(P::Timeline, pTimeline));
                    pAction->addParam(P::makeInt(l.nHLayoutId));
                    pAction->addParam(P::makeInt(l.nVLayoutId));
                    pCommand->addAction(pAction);
                }
            }
            // The first run gives the layout a copy of the base values with no flag of its own and
            // keeps the replaced object in the last parameter.
            auto *pAction = new KVCommandAction(KVCommandAction::RemoveOverrides, c.pTarget, 4);
            pAction->addParam(P::makeObject(P::Element, pElement));
            pAction->addParam(P::makeInt(l.nHLayoutId));
            pAction->addParam(P::makeInt(l.nVLayoutId));
            pAction->addParam(P::makeObject(P::Overrides, nullptr));
            pCommand->addAction(pAction);
        }
    }
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    return pCommand;
}
