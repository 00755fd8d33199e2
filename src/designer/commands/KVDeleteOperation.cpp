#include "commands/KVDeleteOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "model/KVScene.h"

using P = KVCmdParam;

KVCommand *KVDeleteOperation::removeSelected(const KVEditContext &c)
{
    if (!c.isUsable())
        return nullptr;
    const QList<KVElement *> elements = c.selectedTopLevel();
    if (elements.isEmpty())
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, tr("Delete"), c.pSender);
    for (KVElement *pElement : elements) {
        // The animations go first: undo puts the element back before them.
        for (KVTimeline *pTimeline : c.pScene->timelines()->timelines()) {
            const auto &map = pTimeline->layoutAnimations();
            for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
                for (KVAnimation *pAnimation : it.value()) {
                    if (!pAnimation->element() || !pAnimation->element()->isInSubtreeOf(pElement))
                        continue;
                    auto *pAction = new KVCommandAction(KVCommandAction::RemoveAnimation, c.pTarget, 2);
                    pAction->addParam(P::makeObject(P::Animation, pAnimation));
                    pAction->addParam(P::makeObject(P::Timeline, pTimeline));
                    pCommand->addAction(pAction);
                }
            }
        }
        KVElement *pParent = pElement->parent();
        const bool bNested = pParent && pParent != c.pScene;
        auto *pAction = new KVCommandAction(KVCommandAction::RemoveElement, c.pTarget, bNested ? 4 : 3);
        pAction->addParam(P::makeObject(P::Element, pElement));
        pAction->addParam(P::makeInt(pParent ? pParent->children().indexOf(pElement) : -1));
        pAction->addParam(P::makeObject(P::Scene, c.pScene));
        if (bNested)
            pAction->addParam(P::makeObject(P::Element, pParent));
        pCommand->addAction(pAction);
    }
    return pCommand;
}
