#include "commands/KVDeleteOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "model/KVScene.h"

#include <QHash>
#include <QPair>
#include <QSet>

using P = KVCmdParam;

KVCommand *KVDeleteOperation::removeSelected(const KVEditContext &c)
{
    if (!c.isUsable())
        return nullptr;
    const QList<KVElement *> elements = c.selectedTopLevel();
    if (elements.isEmpty())
        return nullptr;
    // The animations of each deleted subtree, found in one pass over the timelines.
    const QSet<const KVElement *> deleted(elements.cbegin(), elements.cend());
    QHash<const KVElement *, QList<QPair<KVAnimation *, KVTimeline *>>> animations;
    for (KVTimeline *pTimeline : c.pScene->timelines()->timelines()) {
        const auto &map = pTimeline->layoutAnimations();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            for (KVAnimation *pAnimation : it.value()) {
                for (const KVElement *p = pAnimation->element(); p; p = p->parent()) {
                    if (deleted.contains(p)) {
                        animations[p].append(qMakePair(pAnimation, pTimeline));
                        break;
                    }
                }
            }
        }
    }
    auto *pCommand = new KVCommand(c.pTarget, tr("Delete"), c.pSender);
    for (KVElement *pElement : elements) {
        // The animations go first: undo puts the element back before them.
        for (const auto &pair : animations.value(pElement)) {
            auto *pAction = new KVCommandAction(KVCommandAction::RemoveAnimation, c.pTarget, 2);
            pAction->addParam(P::makeObject(P::Animation, pair.first));
            pAction->addParam(P::makeObject(P::Timeline, pair.second));
            pCommand->addAction(pAction);
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
