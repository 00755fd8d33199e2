#include "commands/KVGroupOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVReframe.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace {

using P = KVCmdParam;
using A = KVCommandAction;
using Box = KVReframe::Box;

constexpr double kEpsilon = 1e-9;

void addSelect(KVCommand *pCommand, IKVCommandTarget *pTarget, KVElement *p, bool bSelected)
{
    auto *pAction = new A(A::SelectElement, pTarget, 2);
    pAction->addParam(P::makeObject(P::Element, p));
    pAction->addParam(P::makeBool(bSelected));
    pCommand->addAction(pAction);
}

void addMove(KVCommand *pCommand, IKVCommandTarget *pTarget, KVElement *p, KVElement *pFrom,
             int nFromIndex, KVElement *pTo, int nToIndex)
{
    auto *pAction = new A(A::MoveElement, pTarget, 5);
    pAction->addParam(P::makeObject(P::Element, p));
    pAction->addParam(P::makeObject(P::Element, pFrom));
    pAction->addParam(P::makeInt(nFromIndex));
    pAction->addParam(P::makeObject(P::Element, pTo));
    pAction->addParam(P::makeInt(nToIndex));
    pCommand->addAction(pAction);
}

// Type 1 or 2 of an element in a parent of the scene (the parent is named unless it is the scene).
void addInsertOrRemove(KVCommand *pCommand, IKVCommandTarget *pTarget, int nType, KVElement *p,
                       int nIndex, KVScene *pScene, KVElement *pParent, bool bOwned)
{
    const bool bNested = pParent != pScene;
    auto *pAction = new A(nType, pTarget, bNested ? 4 : 3);
    pAction->addParam(P::makeObject(P::Element, p, bOwned));
    pAction->addParam(P::makeInt(nIndex));
    pAction->addParam(P::makeObject(P::Scene, pScene));
    if (bNested)
        pAction->addParam(P::makeObject(P::Element, pParent));
    pCommand->addAction(pAction);
}

KVScene *sceneOf(const KVElement *p)
{
    return p ? dynamic_cast<KVScene *>(p->root()) : nullptr;
}

// The elements in their parents' stacking order (each parent's children are indexed once).
QList<KVElement *> inStackingOrder(QList<KVElement *> list)
{
    QHash<const KVElement *, int> index;
    QSet<const KVElement *> parents;
    for (const KVElement *p : qAsConst(list)) {
        if (parents.contains(p->parent()))
            continue;
        parents.insert(p->parent());
        const QList<KVElement *> &children = p->parent()->children();
        for (int i = 0; i < children.size(); ++i)
            index.insert(children.at(i), i);
    }
    std::stable_sort(list.begin(), list.end(),
                     [&index](const KVElement *a, const KVElement *b) { return index.value(a) < index.value(b); });
    return list;
}

QList<KVElement *> distinct(const QList<KVElement *> &list)
{
    QList<KVElement *> out;
    QSet<const KVElement *> seen;
    for (KVElement *p : list) {
        if (p && !seen.contains(p)) {
            seen.insert(p);
            out.append(p);
        }
    }
    return out;
}

// The layouts a new group needs: those of the parent and of every element it will hold.
QList<KVLayoutKey> layoutsOf(const KVElement *pParent, const QList<KVElement *> &elements)
{
    QMap<KVLayoutKey, bool> keys;
    keys.insert(KVLayoutKey::base(), true);
    for (const KVLayoutKey &l : pParent->properties().keys())
        keys.insert(l, true);
    for (const KVElement *p : elements) {
        for (const KVLayoutKey &l : p->properties().keys())
            keys.insert(l, true);
    }
    return keys.keys();
}

} // namespace

bool KVGroupOperation::isGroup(const KVElement *p)
{
    return p && p->type() == 6 && !p->asContainer();
}

bool KVGroupOperation::canGroup(const QList<KVElement *> &selection, bool bEditingText)
{
    if (bEditingText || selection.isEmpty())
        return false;
    const KVElement *pParent = selection.first() ? selection.first()->parent() : nullptr;
    if (!pParent)
        return false;
    return std::all_of(selection.cbegin(), selection.cend(), [pParent](const KVElement *p) {
        return p && !p->asContainer() && p->parent() == pParent;
    });
}

bool KVGroupOperation::canUngroup(const QList<KVElement *> &selection, bool bEditingText)
{
    return !bEditingText && std::any_of(selection.cbegin(), selection.cend(), &KVGroupOperation::isGroup);
}

bool KVGroupOperation::canAddToGroup(const QList<KVElement *> &selection)
{
    return groupToAddTo(selection) != nullptr;
}

bool KVGroupOperation::canRemoveFromGroup(const QList<KVElement *> &selection)
{
    return std::any_of(selection.cbegin(), selection.cend(),
                       [](const KVElement *p) { return p && isGroup(p->parent()); });
}

KVElement *KVGroupOperation::groupToAddTo(const QList<KVElement *> &selection)
{
    for (KVElement *p : selection) {
        if (isGroup(p) && p->parent() && !siblingsOf(p, selection).isEmpty())
            return p;
    }
    return nullptr;
}

QList<KVElement *> KVGroupOperation::siblingsOf(const KVElement *pGroup, const QList<KVElement *> &selection)
{
    QList<KVElement *> out;
    if (!pGroup || !pGroup->parent())
        return out;
    for (KVElement *p : distinct(selection)) {
        if (p != pGroup && p->parent() == pGroup->parent() && !isGroup(p))
            out.append(p);
    }
    return out;
}

KVCommand *KVGroupOperation::group(IKVCommandTarget *pTarget, const QList<KVElement *> &selection,
                                   QObject *pSender)
{
    const QList<KVElement *> elements = distinct(selection);
    if (!canGroup(elements))
        return nullptr;
    KVElement *pParent = elements.first()->parent();
    KVScene *pScene = sceneOf(pParent);
    if (!pScene)
        return nullptr;
    const QList<KVElement *> ordered = inStackingOrder(elements);
    QHash<const KVElement *, int> index;
    for (int i = 0; i < pParent->children().size(); ++i)
        index.insert(pParent->children().at(i), i);
    const int nFront = index.value(ordered.last());

    // The group's box in every layout, in pixels from the parent's top left corner.
    KVElement *pGroup = KVElementFactory::createElement(6);
    pGroup->setName(QStringLiteral("Group"));
    QMap<KVLayoutKey, Box> frames;
    Box base;
    KVReframe::unionAt(ordered, KVLayoutKey::base(), base);
    for (const KVLayoutKey &l : layoutsOf(pParent, ordered)) {
        Box b = base;
        KVReframe::unionAt(ordered, l, b);
        frames.insert(l, b);
        if (!pGroup->property(l))
            pGroup->addProperty(KVElementFactory::createProperty(6), l);
        pGroup->setCoordinateType(0, l);
        pGroup->setUnitX(0, l);
        pGroup->setUnitY(0, l);
        pGroup->setUnitW(0, l);
        pGroup->setUnitH(0, l);
        pGroup->setPositionX(b.x, l);
        pGroup->setPositionY(b.y, l);
        pGroup->setSizeW(b.w, l);
        pGroup->setSizeH(b.h, l);
        if (!l.isBase()) {
            const double diffs[] = {b.x - base.x, b.y - base.y, b.w - base.w, b.h - base.h};
            const int codes[] = {0, 2, 4, 5};  // left, top, width, height
            for (int i = 0; i < 4; ++i) {
                if (std::fabs(diffs[i]) > kEpsilon)
                    pGroup->setInherited(codes[i], false, l);
            }
        }
    }

    auto *pCommand = new KVCommand(pTarget, tr("Group"), pSender);
    for (KVElement *p : ordered) {
        if (p->isSelected())
            addSelect(pCommand, pTarget, p, false);
    }
    addInsertOrRemove(pCommand, pTarget, A::InsertElement, pGroup, nFront, pScene, pParent, true);
    for (int i = 0; i < ordered.size(); ++i) {
        KVElement *p = ordered.at(i);
        addMove(pCommand, pTarget, p, pParent, index.value(p), pGroup, i);
        KVReframe::addReframe(pCommand, pTarget, pScene, p, frames, false);
    }
    addSelect(pCommand, pTarget, pGroup, true);
    return pCommand;
}

KVCommand *KVGroupOperation::ungroup(IKVCommandTarget *pTarget, KVElement *pGroup, QObject *pSender)
{
    if (!isGroup(pGroup) || !pGroup->parent())
        return nullptr;
    KVElement *pParent = pGroup->parent();
    KVScene *pScene = sceneOf(pParent);
    if (!pScene)
        return nullptr;
    const int nIndex = pParent->children().indexOf(pGroup);
    // The group's frame in each of its layouts, sized as the parent the children go to.
    QMap<KVLayoutKey, Box> frames;
    for (const KVLayoutKey &l : pGroup->properties().keys()) {
        const Box b = KVReframe::localBox(pGroup, l);
        frames.insert(l, Box{b.x, b.y, pGroup->parentWidth(l), pGroup->parentHeight(l)});
    }

    auto *pCommand = new KVCommand(pTarget, tr("Ungroup"), pSender);
    const QList<KVElement *> children = pGroup->children();
    for (int i = 0; i < children.size(); ++i) {
        KVElement *p = children.at(i);
        addMove(pCommand, pTarget, p, pGroup, i, pParent, nIndex + i);
        KVReframe::addReframe(pCommand, pTarget, pScene, p, frames, true);
    }
    for (KVElement *p : children) {
        if (!p->isSelected())
            addSelect(pCommand, pTarget, p, true);
    }
    if (pGroup->isSelected())
        addSelect(pCommand, pTarget, pGroup, false);
    // Animations of the group itself leave with it; undo brings them back after the group.
    for (KVTimeline *pTimeline : pScene->timelines()->timelines()) {
        const auto &map = pTimeline->layoutAnimations();
        for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
            for (KVAnimation *pAnimation : it.value()) {
                if (pAnimation->element() != pGroup)
                    continue;
                auto *pAction = new A(A::RemoveAnimation, pTarget, 2);
                pAction->addParam(P::makeObject(P::Animation, pAnimation));
                pAction->addParam(P::makeObject(P::Timeline, pTimeline));
                pCommand->addAction(pAction);
            }
        }
    }
    addInsertOrRemove(pCommand, pTarget, A::RemoveElement, pGroup, nIndex + children.size(), pScene,
                      pParent, false);
    return pCommand;
}

KVCommand *KVGroupOperation::addToGroup(IKVCommandTarget *pTarget, KVElement *pGroup,
                                        const QList<KVElement *> &others, QObject *pSender)
{
    if (!isGroup(pGroup) || !pGroup->parent() || !sceneOf(pGroup))
        return nullptr;
    const QList<KVElement *> siblings = siblingsOf(pGroup, others);
    if (siblings.isEmpty() || siblings.size() != distinct(others).size())
        return nullptr;
    const QList<KVElement *> ordered = inStackingOrder(siblings);
    KVElement *pParent = pGroup->parent();
    const KVScene *pScene = sceneOf(pGroup);

    // The group grows to hold the newcomers; its children keep their page boxes.
    QMap<KVLayoutKey, Box> oldInNew;  // the old frame inside the new one, sized as the new one
    QMap<KVLayoutKey, Box> newFrames;
    for (const KVLayoutKey &l : pGroup->properties().keys()) {
        const Box old = KVReframe::localBox(pGroup, l);
        Box grown = old;
        Box added;
        if (KVReframe::unionAt(ordered, l, added))
            grown = old.united(added);
        oldInNew.insert(l, Box{old.x - grown.x, old.y - grown.y, grown.w, grown.h});
        newFrames.insert(l, grown);
    }

    auto *pCommand = new KVCommand(pTarget, tr("Add To Group"), pSender);
    for (KVElement *p : ordered) {
        if (p->isSelected())
            addSelect(pCommand, pTarget, p, false);
    }
    KVReframe::addPlacement(pCommand, pTarget, pGroup, newFrames);
    for (KVElement *pChild : pGroup->children())
        KVReframe::addReframe(pCommand, pTarget, pScene, pChild, oldInNew, true);
    const int nCount = pGroup->children().size();
    for (int i = 0; i < ordered.size(); ++i) {
        KVElement *p = ordered.at(i);
        addMove(pCommand, pTarget, p, pParent, pParent->children().indexOf(p), pGroup, nCount + i);
        KVReframe::addReframe(pCommand, pTarget, pScene, p, newFrames, false);
    }
    if (!pGroup->isSelected())
        addSelect(pCommand, pTarget, pGroup, true);
    return pCommand;
}

KVCommand *KVGroupOperation::removeFromGroup(IKVCommandTarget *pTarget, const QList<KVElement *> &elements,
                                             QObject *pSender)
{
    // The elements grouped by their group, each list in stacking order; groups in first-seen order.
    QList<KVElement *> groups;
    QHash<KVElement *, QList<KVElement *>> members;
    for (KVElement *p : distinct(elements)) {
        KVElement *pGroup = p->parent();
        if (!isGroup(pGroup) || !pGroup->parent() || !sceneOf(pGroup))
            continue;
        if (!members.contains(pGroup))
            groups.append(pGroup);
        members[pGroup].append(p);
    }
    if (groups.isEmpty())
        return nullptr;

    auto *pCommand = new KVCommand(pTarget, tr("Remove From Group"), pSender);
    // Child lists as they will be while the command runs, for the indices of later moves.
    QHash<KVElement *, QList<KVElement *>> lists;
    auto listOf = [&lists](KVElement *p) -> QList<KVElement *> & {
        if (!lists.contains(p))
            lists.insert(p, p->children());
        return lists[p];
    };
    for (KVElement *pGroup : qAsConst(groups)) {
        KVElement *pParent = pGroup->parent();
        const KVScene *pScene = sceneOf(pGroup);
        QMap<KVLayoutKey, Box> frames;
        for (const KVLayoutKey &l : pGroup->properties().keys()) {
            const Box b = KVReframe::localBox(pGroup, l);
            frames.insert(l, Box{b.x, b.y, pGroup->parentWidth(l), pGroup->parentHeight(l)});
        }
        const QList<KVElement *> ordered = inStackingOrder(members.value(pGroup));
        for (int i = 0; i < ordered.size(); ++i) {
            KVElement *p = ordered.at(i);
            QList<KVElement *> &from = listOf(pGroup);
            QList<KVElement *> &to = listOf(pParent);
            const int nFrom = from.indexOf(p);
            from.removeAt(nFrom);
            const int nTo = to.indexOf(pGroup) + 1 + i;
            to.insert(nTo, p);
            addMove(pCommand, pTarget, p, pGroup, nFrom, pParent, nTo);
            KVReframe::addReframe(pCommand, pTarget, pScene, p, frames, true);
        }
        const QList<KVElement *> &left = listOf(pGroup);
        const bool bSelectedLeft = std::any_of(left.cbegin(), left.cend(),
                                               [](const KVElement *p) { return p->isSelected(); });
        if (pGroup->isSelected() && !bSelectedLeft)
            addSelect(pCommand, pTarget, pGroup, false);
    }
    return pCommand;
}
