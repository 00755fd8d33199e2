#include "commands/KVGroupOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVElementFactory.h"
#include "model/KVElementProperty.h"
#include "model/KVScene.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

using P = KVCmdParam;
using A = KVCommandAction;
using G = KVElementCommandAction;

constexpr double kEpsilon = 1e-9;
// The geometry codes a change of parent can touch: left, top, width, height. A position is always
// written under left/top: the same stored value serves the side the coordinate type anchors.
constexpr int kLeft = 0;
constexpr int kTop = 2;
constexpr int kWidth = 4;
constexpr int kHeight = 5;

// An element's box in its parent's coordinates, in pixels, whichever sides it is anchored to.
struct Box
{
    double x = 0.0;
    double y = 0.0;
    double w = 0.0;
    double h = 0.0;

    Box united(const Box &o) const
    {
        Box b;
        b.x = std::min(x, o.x);
        b.y = std::min(y, o.y);
        b.w = std::max(x + w, o.x + o.w) - b.x;
        b.h = std::max(y + h, o.y + o.h) - b.y;
        return b;
    }
    Box shifted(double dx, double dy) const { return Box{x + dx, y + dy, w, h}; }
};

using Values = QMap<int, double>;
using LayoutValues = QMap<KVLayoutKey, Values>;

bool anchoredRight(const KVElement *p, const KVLayoutKey &l)
{
    const int n = p->coordinateType(l);
    return n == 1 || n == 2;
}

bool anchoredBottom(const KVElement *p, const KVLayoutKey &l)
{
    const int n = p->coordinateType(l);
    return n == 2 || n == 3;
}

Box localBox(const KVElement *p, const KVLayoutKey &l)
{
    Box b;
    b.w = p->widthPixels(l);
    b.h = p->heightPixels(l);
    b.x = p->leftPixels(l);
    b.y = p->topPixels(l);
    if (anchoredRight(p, l))
        b.x = p->parentWidth(l) - b.x - b.w;
    if (anchoredBottom(p, l))
        b.y = p->parentHeight(l) - b.y - b.h;
    return b;
}

double fraction(double d, double dOf)
{
    return dOf != 0.0 ? d / dOf : 0.0;
}

// The stored values that put the element at the box inside a parent of the given pixel size, in
// the element's own units and anchoring. Sizes are listed only when kept as a fraction of the
// parent (a pixel size or a width/height ratio does not depend on the parent).
Values storedValues(const KVElement *p, const KVLayoutKey &l, const Box &b, double dParentW,
                    double dParentH)
{
    Values v;
    const double dX = anchoredRight(p, l) ? dParentW - b.x - b.w : b.x;
    const double dY = anchoredBottom(p, l) ? dParentH - b.y - b.h : b.y;
    v.insert(kLeft, p->unitX(l) == 1 ? fraction(dX, dParentW) : dX);
    v.insert(kTop, p->unitY(l) == 1 ? fraction(dY, dParentH) : dY);
    if (p->unitW(l) == 1)
        v.insert(kWidth, fraction(b.w, dParentW));
    if (p->unitH(l) == 1)
        v.insert(kHeight, fraction(b.h, dParentH));
    return v;
}

int inheritState(const KVElement *p, int nCode, const KVLayoutKey &l)
{
    const KVElementProperty *pProperty = p->property(l);
    if (!pProperty || !pProperty->inheritFlags().contains(nCode))
        return -1;
    return pProperty->inheritFlags().value(nCode) ? 1 : 0;
}

// One geometry action per layout whose values change. At a responsive layout that inherits a
// value which now differs from the base layout's, the value becomes an override.
void addGeometry(KVCommand *pCommand, IKVCommandTarget *pTarget, KVElement *p, const LayoutValues &values)
{
    const Values base = values.value(KVLayoutKey::base());
    for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
        const KVLayoutKey &l = it.key();
        if (!p->property(l))
            continue;
        QList<int> codes;
        QList<double> newValues;
        QVariantMap states;
        for (auto v = it.value().constBegin(); v != it.value().constEnd(); ++v) {
            const int nCode = v.key();
            const double dNew = v.value();
            const bool bChanged = std::fabs(dNew - G::geometryValue(p, nCode, l).toDouble()) > kEpsilon;
            const bool bOverride = !l.isBase() && p->isInherited(nCode, l) && base.contains(nCode)
                && std::fabs(dNew - base.value(nCode)) > kEpsilon;
            if (!bChanged && !bOverride)
                continue;
            codes.append(nCode);
            newValues.append(dNew);
            states.insert(QString::number(nCode), bOverride ? 0 : inheritState(p, nCode, l));
        }
        if (codes.isEmpty())
            continue;
        auto *pAction = new G(G::Geometry, pTarget, codes.size() + 5);
        pAction->addParam(P::makeObject(P::Element, p));
        pAction->addParam(P::makeInt(l.nHLayoutId));
        pAction->addParam(P::makeInt(l.nVLayoutId));
        pAction->addParam(P::makeVariant(states));
        pAction->addParam(P::makeIntList(codes));
        for (double d : qAsConst(newValues))
            pAction->addParam(P::makeDouble(d));
        pCommand->addAction(pAction);
    }
}

// A stored value's change when its element changes frame: v' = a v + b.
struct Affine
{
    double a = 1.0;
    double b = 0.0;
    double apply(double v) const { return a * v + b; }
};

using Maps = QMap<int, Affine>;

// How the element's stored left, top (and sizes kept in percent) change at a layout when its frame
// moves by (dx, dy) (the old frame's origin seen from the new one) and takes the size (w, h). A
// position anchored right or bottom counts from the far edge, so it does not depend on the size:
// key values of animated positions and sizes follow the same maps.
Maps mapsFor(const KVElement *p, const KVLayoutKey &l, double dx, double dy, double dW, double dH)
{
    Maps maps;
    const double dOldW = p->parentWidth(l);
    const double dOldH = p->parentHeight(l);
    auto position = [](bool bPercent, bool bFar, double dOld, double dNew, double dShift) {
        const double dIn = bPercent ? dOld : 1.0;
        const double dOffset = bFar ? dNew - dOld - dShift : dShift;
        const double dOut = bPercent ? (dNew != 0.0 ? 1.0 / dNew : 0.0) : 1.0;
        return Affine{dIn * dOut, dOffset * dOut};
    };
    maps.insert(kLeft, position(p->unitX(l) == 1, anchoredRight(p, l), dOldW, dW, dx));
    maps.insert(kTop, position(p->unitY(l) == 1, anchoredBottom(p, l), dOldH, dH, dy));
    if (p->unitW(l) == 1)
        maps.insert(kWidth, Affine{fraction(dOldW, dW), 0.0});
    if (p->unitH(l) == 1)
        maps.insert(kHeight, Affine{fraction(dOldH, dH), 0.0});
    return maps;
}

// The maps of each layout the element has. frames holds per layout the frame's origin and size:
// with bFromInside the element leaves that frame for its parent (the size is the parent's), else
// it enters the frame (an area of its present parent).
QMap<KVLayoutKey, Maps> reframeMaps(const KVElement *p, const QMap<KVLayoutKey, Box> &frames, bool bFromInside)
{
    QMap<KVLayoutKey, Maps> out;
    for (auto it = p->properties().constBegin(); it != p->properties().constEnd(); ++it) {
        const KVLayoutKey &l = it.key();
        if (!frames.contains(l))
            continue;
        const Box &f = frames.value(l);
        const double dSign = bFromInside ? 1.0 : -1.0;
        out.insert(l, mapsFor(p, l, dSign * f.x, dSign * f.y, f.w, f.h));
    }
    return out;
}

LayoutValues valuesOf(const KVElement *p, const QMap<KVLayoutKey, Maps> &maps)
{
    LayoutValues out;
    for (auto it = maps.constBegin(); it != maps.constEnd(); ++it) {
        Values &v = out[it.key()];
        for (auto m = it.value().constBegin(); m != it.value().constEnd(); ++m)
            v.insert(m.key(), m.value().apply(G::geometryValue(p, m.key(), it.key()).toDouble()));
    }
    return out;
}

// The map code of an animated geometry property: right and bottom hold the same stored values as
// left and top.
int mapCodeOf(int nTrackCode)
{
    switch (nTrackCode) {
    case 0: case 1: return kLeft;
    case 2: case 3: return kTop;
    case 4: return kWidth;
    case 5: return kHeight;
    default: return -1;
    }
}

// Key values of the element's position and size tracks on every timeline follow the maps.
void addTrackValues(KVCommand *pCommand, IKVCommandTarget *pTarget, const KVScene *pScene,
                    const KVElement *p, const QMap<KVLayoutKey, Maps> &maps)
{
    for (KVTimeline *pTimeline : pScene->timelines()->timelines()) {
        for (auto it = maps.constBegin(); it != maps.constEnd(); ++it) {
            const KVAnimation *pAnimation = pTimeline->findAnimation(p, it.key());
            if (!pAnimation)
                continue;
            for (KVKeyframe *pTrack : pAnimation->keyframes()) {
                const int nCode = mapCodeOf(pTrack->type());
                if (nCode < 0 || !it.value().contains(nCode))
                    continue;
                const Affine &map = it.value()[nCode];
                for (KVKeyValue *pKey : pTrack->keyValues()) {
                    const double dValue = pKey->value().toDouble();
                    const double dNew = map.apply(dValue);
                    const bool bJumps = pKey->jumps();
                    const double dBefore = pKey->valueMinus().toDouble();
                    if (std::fabs(dNew - dValue) <= kEpsilon
                        && (!bJumps || std::fabs(map.apply(dBefore) - dBefore) <= kEpsilon)) {
                        continue;
                    }
                    auto *pAction = new A(A::SetKeyValue, pTarget, bJumps ? 4 : 3);
                    pAction->addParam(P::makeObject(P::Keyframe, pTrack));
                    pAction->addParam(P::makeKeyValue(pKey));
                    pAction->addParam(P::makeVariant(dNew));
                    if (bJumps)
                        pAction->addParam(P::makeVariant(map.apply(dBefore)));
                    pCommand->addAction(pAction);
                }
            }
        }
    }
}

// The element changes frame: its values and its animated values keep it where it shows.
void addReframe(KVCommand *pCommand, IKVCommandTarget *pTarget, const KVScene *pScene, KVElement *p,
                const QMap<KVLayoutKey, Box> &frames, bool bFromInside)
{
    const QMap<KVLayoutKey, Maps> maps = reframeMaps(p, frames, bFromInside);
    addGeometry(pCommand, pTarget, p, valuesOf(p, maps));
    addTrackValues(pCommand, pTarget, pScene, p, maps);
}

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

// The union of the elements' boxes at a layout; false when none has the layout.
bool unionAt(const QList<KVElement *> &elements, const KVLayoutKey &l, Box &out)
{
    bool bAny = false;
    for (const KVElement *p : elements) {
        if (!p->property(l))
            continue;
        const Box b = localBox(p, l);
        out = bAny ? out.united(b) : b;
        bAny = true;
    }
    return bAny;
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
    unionAt(ordered, KVLayoutKey::base(), base);
    for (const KVLayoutKey &l : layoutsOf(pParent, ordered)) {
        Box b = base;
        unionAt(ordered, l, b);
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
            const int codes[] = {kLeft, kTop, kWidth, kHeight};
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
        addReframe(pCommand, pTarget, pScene, p, frames, false);
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
        const Box b = localBox(pGroup, l);
        frames.insert(l, Box{b.x, b.y, pGroup->parentWidth(l), pGroup->parentHeight(l)});
    }

    auto *pCommand = new KVCommand(pTarget, tr("Ungroup"), pSender);
    const QList<KVElement *> children = pGroup->children();
    for (int i = 0; i < children.size(); ++i) {
        KVElement *p = children.at(i);
        addMove(pCommand, pTarget, p, pGroup, i, pParent, nIndex + i);
        addReframe(pCommand, pTarget, pScene, p, frames, true);
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
    LayoutValues groupValues;
    QMap<KVLayoutKey, Box> oldInNew;  // the old frame inside the new one, sized as the new one
    QMap<KVLayoutKey, Box> newFrames;
    for (const KVLayoutKey &l : pGroup->properties().keys()) {
        const Box old = localBox(pGroup, l);
        Box grown = old;
        Box added;
        if (unionAt(ordered, l, added))
            grown = old.united(added);
        // Its own size changes too: in pixels, or as a fraction of its parent (a ratio is left).
        Values v = storedValues(pGroup, l, grown, pGroup->parentWidth(l), pGroup->parentHeight(l));
        if (pGroup->unitW(l) == 0)
            v.insert(kWidth, grown.w);
        if (pGroup->unitH(l) == 0)
            v.insert(kHeight, grown.h);
        groupValues.insert(l, v);
        oldInNew.insert(l, Box{old.x - grown.x, old.y - grown.y, grown.w, grown.h});
        newFrames.insert(l, grown);
    }

    auto *pCommand = new KVCommand(pTarget, tr("Add To Group"), pSender);
    for (KVElement *p : ordered) {
        if (p->isSelected())
            addSelect(pCommand, pTarget, p, false);
    }
    addGeometry(pCommand, pTarget, pGroup, groupValues);
    for (KVElement *pChild : pGroup->children())
        addReframe(pCommand, pTarget, pScene, pChild, oldInNew, true);
    const int nCount = pGroup->children().size();
    for (int i = 0; i < ordered.size(); ++i) {
        KVElement *p = ordered.at(i);
        addMove(pCommand, pTarget, p, pParent, pParent->children().indexOf(p), pGroup, nCount + i);
        addReframe(pCommand, pTarget, pScene, p, newFrames, false);
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
            const Box b = localBox(pGroup, l);
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
            addReframe(pCommand, pTarget, pScene, p, frames, true);
        }
        const QList<KVElement *> &left = listOf(pGroup);
        const bool bSelectedLeft = std::any_of(left.cbegin(), left.cend(),
                                               [](const KVElement *p) { return p->isSelected(); });
        if (pGroup->isSelected() && !bSelectedLeft)
            addSelect(pCommand, pTarget, pGroup, false);
    }
    return pCommand;
}
