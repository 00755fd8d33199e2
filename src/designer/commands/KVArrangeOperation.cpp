#include "commands/KVArrangeOperation.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVTimeline.h"
#include "commands/KVCommand.h"
#include "commands/KVEditContext.h"
#include "commands/KVElementCommandAction.h"
#include "commands/KVTimelineOperation.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVElement.h"

#include <QHash>
#include <QSet>
#include <QPointF>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

using P = KVCmdParam;
using G = KVElementCommandAction;

constexpr double kEpsilon = 1e-9;

bool anchoredFar(const KVElement *p, bool bHorizontal, const KVLayoutKey &l)
{
    const int n = p->coordinateType(l);
    return bHorizontal ? (n == 1 || n == 2) : (n == 2 || n == 3);
}

double parentSize(const KVElement *p, bool bHorizontal, const KVLayoutKey &l)
{
    return bHorizontal ? p->parentWidth(l) : p->parentHeight(l);
}

double sizeOf(const KVElement *p, bool bHorizontal, const KVLayoutKey &l)
{
    return bHorizontal ? p->widthPixels(l) : p->heightPixels(l);
}

// The left (top) edge in the parent's coordinates, whichever side the element is anchored to.
double localPosition(const KVElement *p, bool bHorizontal, const KVLayoutKey &l)
{
    const double dStored = bHorizontal ? p->leftPixels(l) : p->topPixels(l);
    if (!anchoredFar(p, bHorizontal, l))
        return dStored;
    return parentSize(p, bHorizontal, l) - dStored - sizeOf(p, bHorizontal, l);
}

// Where the element's parent stands on the stage (the stage root at 0).
double parentOrigin(const KVElement *p, bool bHorizontal, const KVLayoutKey &l)
{
    double d = 0.0;
    for (const KVElement *pAncestor = p->parent(); pAncestor && pAncestor->parent();
         pAncestor = pAncestor->parent()) {
        d += localPosition(pAncestor, bHorizontal, l);
    }
    return d;
}

// An element's extent along one axis, on the stage.
struct Span
{
    KVElement *pElement = nullptr;
    double dPos = 0.0;
    double dSize = 0.0;
    double at(double dFraction) const { return dPos + dFraction * dSize; }
};

Span spanOf(KVElement *p, bool bHorizontal, const KVLayoutKey &l)
{
    Span s;
    s.pElement = p;
    s.dPos = parentOrigin(p, bHorizontal, l) + localPosition(p, bHorizontal, l);
    s.dSize = sizeOf(p, bHorizontal, l);
    return s;
}

// The geometry values one element gets at one layout, in the order they were added.
struct GeometryEdit
{
    KVElement *pElement = nullptr;
    KVLayoutKey layout;
    QList<int> codes;
    QList<QVariant> values;

    void add(int nCode, const QVariant &value)
    {
        codes.append(nCode);
        values.append(value);
    }
};

// Whether auto keyframing records the geometry code: every code that is an animatable property
// (positions, sizes, transforms, opacity, display), not the unit and anchoring codes.
bool recordsAsKey(const KVEditContext &c, int nCode)
{
    return c.bAutoKeyframe && c.pTimeline && KVPropertyCatalogue::isValidCode(nCode)
        && nCode != KVPropertyCatalogue::Location;
}

// The element's track of a property on the current timeline, when auto keyframing records it.
KVKeyframe *autoKeyTrack(const KVEditContext &c, const KVElement *p, int nCode, const KVLayoutKey &l)
{
    if (!recordsAsKey(c, nCode))
        return nullptr;
    const KVAnimation *pAnimation = c.pTimeline->findAnimation(p, l);
    if (!pAnimation)
        return nullptr;
    for (KVKeyframe *pTrack : pAnimation->keyframes()) {
        if (pTrack->type() == nCode)
            return pTrack;
    }
    return nullptr;
}

// The value a code shows now: the track's at the current time when auto keyframing records it.
double currentValue(const KVEditContext &c, const KVElement *p, int nCode, const KVLayoutKey &l)
{
    if (const KVKeyframe *pTrack = autoKeyTrack(c, p, nCode, l))
        return pTrack->valueAt(c.nCurrentTime).toDouble();
    return KVElementCommandAction::geometryValue(p, nCode, l).toDouble();
}

// Adds the stored form of a new left (top) edge, given in the parent's coordinates.
void addPosition(const KVEditContext &c, GeometryEdit &edit, bool bHorizontal, double dLocal)
{
    const bool bFlexible = c.bFlexibleLayout;
    const KVElement *p = edit.pElement;
    const KVLayoutKey &l = edit.layout;
    const bool bFar = anchoredFar(p, bHorizontal, l);
    const double dParent = parentSize(p, bHorizontal, l);
    const double dOffset = bFar ? dParent - dLocal - sizeOf(p, bHorizontal, l) : dLocal;
    int nUnit = bHorizontal ? p->unitX(l) : p->unitY(l);
    bool bUnitChanges = false;
    if (bFlexible && nUnit != 1) {
        nUnit = 1;
        bUnitChanges = true;
    }
    const double dValue = nUnit == 1 ? (dParent != 0.0 ? dOffset / dParent : 0.0) : dOffset;
    const int nCode = bHorizontal ? (bFar ? 1 : 0) : (bFar ? 3 : 2);
    if (!bUnitChanges && std::fabs(dValue - currentValue(c, p, nCode, l)) < kEpsilon)
        return;
    if (bUnitChanges)
        edit.add(bHorizontal ? G::UnitXCode : G::UnitYCode, 1);
    edit.add(nCode, dValue);
}

// Adds a width (height) in pixels in the element's unit; an automatic one becomes pixels.
void addSize(const KVEditContext &c, GeometryEdit &edit, bool bHorizontal, double dPixels)
{
    const KVElement *p = edit.pElement;
    const KVLayoutKey &l = edit.layout;
    int nUnit = bHorizontal ? p->unitW(l) : p->unitH(l);
    const bool bUnitChanges = nUnit == 2;
    if (bUnitChanges)
        nUnit = 0;
    const double dParent = parentSize(p, bHorizontal, l);
    const double dValue = nUnit == 1 ? (dParent != 0.0 ? dPixels / dParent : 0.0) : dPixels;
    if (!bUnitChanges && std::fabs(dValue - currentValue(c, p, bHorizontal ? 4 : 5, l)) < kEpsilon)
        return;
    if (bUnitChanges)
        edit.add(bHorizontal ? G::UnitWCode : G::UnitHCode, 0);
    edit.add(bHorizontal ? 4 : 5, dValue);
}

// Turns the edits into actions: with auto keyframing the positions and sizes become key values,
// everything else one geometry action per element and layout.
void addEdits(KVCommand *pCommand, const KVEditContext &c, const QList<GeometryEdit> &edits)
{
    QHash<KVElement *, KVAnimation *> created;
    for (const GeometryEdit &edit : edits) {
        QList<int> codes;
        QList<QVariant> values;
        for (int i = 0; i < edit.codes.size(); ++i) {
            const int nCode = edit.codes.at(i);
            if (recordsAsKey(c, nCode)
                && KVTimelineOperation::recordValue(
                    pCommand, c, edit.pElement, edit.layout, nCode, edit.values.at(i),
                    KVElementCommandAction::geometryValue(edit.pElement, nCode, edit.layout), created)) {
                continue;
            }
            codes.append(nCode);
            values.append(edit.values.at(i));
        }
        if (codes.isEmpty())
            continue;
        auto *pAction = new KVElementCommandAction(G::Geometry, c.pTarget, codes.size() + 5);
        pAction->addParam(P::makeObject(P::Element, edit.pElement));
        pAction->addParam(P::makeInt(edit.layout.nHLayoutId));
        pAction->addParam(P::makeInt(edit.layout.nVLayoutId));
        pAction->addParam(P::makeVariant(QVariant()));
        pAction->addParam(P::makeIntList(codes));
        for (int i = 0; i < codes.size(); ++i) {
            const bool bInt = G::isIntGeometryCode(codes.at(i));
            pAction->addParam(bInt ? P::makeInt(values.at(i).toInt()) : P::makeDouble(values.at(i).toDouble()));
        }
        pCommand->addAction(pAction);
    }
}

// A command of the edits, or null when there is nothing to change.
KVCommand *commandOf(const KVEditContext &c, const QString &strText, const QList<GeometryEdit> &edits)
{
    auto *pCommand = new KVCommand(c.pTarget, strText, c.pSender);
    addEdits(pCommand, c, edits);
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    return pCommand;
}

// Fraction of the size at which a mode measures: 0 the near edge, 0.5 the centre, 1 the far edge.
double fractionOf(int nMode)
{
    switch (nMode) {
    case KVArrangeOperation::AlignRight:
    case KVArrangeOperation::AlignBottom:
    case KVArrangeOperation::DistRight:
    case KVArrangeOperation::DistBottom:
        return 1.0;
    case KVArrangeOperation::AlignHCenter:
    case KVArrangeOperation::AlignVCenter:
    case KVArrangeOperation::DistHCenter:
    case KVArrangeOperation::DistVCenter:
        return 0.5;
    default:
        return 0.0;
    }
}

bool isHorizontal(int nMode)
{
    switch (nMode) {
    case KVArrangeOperation::AlignLeft:
    case KVArrangeOperation::AlignRight:
    case KVArrangeOperation::AlignHCenter:
    case KVArrangeOperation::DistLeft:
    case KVArrangeOperation::DistHCenter:
    case KVArrangeOperation::DistRight:
    case KVArrangeOperation::DistHSpace:
        return true;
    default:
        return false;
    }
}

void alignAt(const KVEditContext &c, const QList<KVElement *> &elements, KVElement *pReference,
             int nMode, const KVLayoutKey &l, QList<GeometryEdit> &edits)
{
    const bool bH = isHorizontal(nMode);
    const double f = fractionOf(nMode);
    Span reference;
    if (pReference)
        reference = spanOf(pReference, bH, l);
    for (KVElement *p : elements) {
        if (p == pReference)
            continue;
        if (!pReference) {
            reference.dPos = parentOrigin(p, bH, l);
            reference.dSize = parentSize(p, bH, l);
        }
        const Span s = spanOf(p, bH, l);
        const double d = reference.at(f) - s.at(f);
        GeometryEdit edit{p, l, {}, {}};
        addPosition(c, edit, bH, localPosition(p, bH, l) + d);
        if (!edit.codes.isEmpty())
            edits.append(edit);
    }
}

void distributeAt(const KVEditContext &c, const QList<KVElement *> &elements, int nMode,
                  const KVLayoutKey &l, QList<GeometryEdit> &edits)
{
    const bool bH = isHorizontal(nMode);
    const bool bSpace = nMode == KVArrangeOperation::DistHSpace || nMode == KVArrangeOperation::DistVSpace;
    const double f = fractionOf(nMode);
    QList<Span> spans;
    for (KVElement *p : elements)
        spans.append(spanOf(p, bH, l));
    std::stable_sort(spans.begin(), spans.end(),
                     [f](const Span &a, const Span &b) { return a.at(f) < b.at(f); });
    const int n = spans.size();
    const Span &first = spans.constFirst();
    const Span &last = spans.constLast();
    const double dOrigin = parentOrigin(first.pElement, bH, l);
    const double dParent = parentSize(first.pElement, bH, l);

    QList<double> targets;
    if (bSpace) {
        const double dStart = c.bAlignToParent ? dOrigin : first.dPos;
        const double dEnd = c.bAlignToParent ? dOrigin + dParent : last.dPos + last.dSize;
        double dSum = 0.0;
        for (const Span &s : qAsConst(spans))
            dSum += s.dSize;
        const double dGap = (dEnd - dStart - dSum) / (n - 1);
        double dCursor = dStart;
        for (const Span &s : qAsConst(spans)) {
            targets.append(dCursor);
            dCursor += s.dSize + dGap;
        }
    } else {
        const double dStart = c.bAlignToParent ? dOrigin + f * first.dSize : first.at(f);
        const double dEnd = c.bAlignToParent ? dOrigin + dParent - (1.0 - f) * last.dSize : last.at(f);
        const double dStep = (dEnd - dStart) / (n - 1);
        for (int i = 0; i < n; ++i)
            targets.append(dStart + i * dStep - f * spans.at(i).dSize);
    }
    for (int i = 0; i < n; ++i) {
        KVElement *p = spans.at(i).pElement;
        const double d = targets.at(i) - spans.at(i).dPos;
        GeometryEdit edit{p, l, {}, {}};
        addPosition(c, edit, bH, localPosition(p, bH, l) + d);
        if (!edit.codes.isEmpty())
            edits.append(edit);
    }
}

} // namespace

KVCommand *KVArrangeOperation::align(const KVEditContext &c, int nMode)
{
    if (!c.isUsable() || nMode < AlignLeft || nMode > DistVSpace)
        return nullptr;
    const QList<KVElement *> elements = c.selectedTopLevel();
    const bool bAlign = nMode <= AlignVCenter;
    if (elements.isEmpty() || (elements.size() == 1 && !(bAlign && c.bAlignToParent)))
        return nullptr;
    KVElement *pReference = nullptr;
    if (bAlign && !c.bAlignToParent) {
        pReference = c.focusedElement();
        if (!pReference || !elements.contains(pReference))
            return nullptr;
    }
    QList<GeometryEdit> edits;
    for (const KVLayoutKey &l : c.editedLayouts()) {
        if (bAlign)
            alignAt(c, elements, pReference, nMode, l, edits);
        else
            distributeAt(c, elements, nMode, l, edits);
    }
    return commandOf(c, tr("Set Alignment"), edits);
}

KVCommand *KVArrangeOperation::sameSize(const KVEditContext &c, int nMode)
{
    if (!c.isUsable() || nMode < SameWidth || nMode > SameBoth)
        return nullptr;
    const QList<KVElement *> elements = c.selectedTopLevel();
    KVElement *pReference = c.focusedElement();
    if (elements.size() < 2 || !pReference || !elements.contains(pReference))
        return nullptr;
    QList<GeometryEdit> edits;
    for (const KVLayoutKey &l : c.editedLayouts()) {
        for (KVElement *p : elements) {
            if (p == pReference)
                continue;
            GeometryEdit edit{p, l, {}, {}};
            if (nMode != SameHeight)
                addSize(c, edit, true, pReference->widthPixels(l));
            if (nMode != SameWidth)
                addSize(c, edit, false, pReference->heightPixels(l));
            if (!edit.codes.isEmpty())
                edits.append(edit);
        }
    }
    return commandOf(c, tr("Set Same Size"), edits);
}

KVCommand *KVArrangeOperation::restoreOriginalSize(const KVEditContext &c,
                                                   const std::function<QSize(const KVElement *)> &naturalSize)
{
    if (!c.isUsable() || !naturalSize)
        return nullptr;
    QList<GeometryEdit> edits;
    for (const KVLayoutKey &l : c.editedLayouts()) {
        for (KVElement *p : c.selectedElements()) {
            if (p->type() != 0 && p->type() != 2)
                continue;
            const QSize size = naturalSize(p);
            if (size.isEmpty())
                continue;
            GeometryEdit edit{p, l, {}, {}};
            for (bool bH : {true, false}) {
                const int nUnit = bH ? p->unitW(l) : p->unitH(l);
                if (nUnit != 0)
                    edit.add(bH ? G::UnitWCode : G::UnitHCode, 0);
                const double dPixels = bH ? size.width() : size.height();
                if (nUnit != 0 || std::fabs((bH ? p->sizeW(l) : p->sizeH(l)) - dPixels) >= kEpsilon)
                    edit.add(bH ? 4 : 5, dPixels);
            }
            if (!edit.codes.isEmpty())
                edits.append(edit);
        }
    }
    return commandOf(c, tr("Restore Original Size"), edits);
}

KVCommand *KVArrangeOperation::displayOrder(const KVEditContext &c, int nMode)
{
    if (!c.isUsable() || nMode < ToFront || nMode > Backward)
        return nullptr;
    const QList<KVElement *> elements = c.selectedTopLevel();
    const QSet<KVElement *> selected(elements.cbegin(), elements.cend());
    // Each parent's child list as it will be after the moves planned so far.
    QList<KVElement *> parents;
    for (KVElement *p : elements) {
        if (p->parent() && !parents.contains(p->parent()))
            parents.append(p->parent());
    }
    auto *pCommand = new KVCommand(c.pTarget, tr("Change Display Order"), c.pSender);
    const bool bUpwards = nMode == ToFront || nMode == Forward;
    for (KVElement *pParent : qAsConst(parents)) {
        QList<KVElement *> order = pParent->children();
        QList<KVElement *> moving;
        for (KVElement *p : order) {
            if (selected.contains(p))
                moving.append(p);
        }
        // Going up the topmost moves first, going down the lowest: each keeps its place among the
        // others, and one blocked by a selected neighbour stays.
        if (bUpwards)
            std::reverse(moving.begin(), moving.end());
        int nDone = 0;
        for (KVElement *p : qAsConst(moving)) {
            const int nOld = order.indexOf(p);
            int nNew = nOld;
            if (nMode == ToFront)
                nNew = order.size() - 1 - nDone++;
            else if (nMode == ToBack)
                nNew = nDone++;
            else
                nNew = nOld + (bUpwards ? 1 : -1);
            if (nNew < 0 || nNew >= order.size() || nNew == nOld)
                continue;
            if ((nMode == Forward || nMode == Backward) && selected.contains(order.at(nNew)))
                continue;
            order.removeAt(nOld);
            order.insert(nNew, p);
            auto *pAction = new KVCommandAction(KVCommandAction::DisplayOrder, c.pTarget, 3);
            pAction->addParam(P::makeObject(P::Element, p));
            pAction->addParam(P::makeInt(nOld));
            pAction->addParam(P::makeInt(nNew));
            pCommand->addAction(pAction);
        }
    }
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    return pCommand;
}

void KVArrangeOperation::addGeometry(KVCommand *pCommand, const KVEditContext &context, KVElement *pElement,
                                     const KVLayoutKey &layout, const QList<int> &codes, const QList<QVariant> &values)
{
    if (!pCommand || !pElement || codes.size() != values.size())
        return;
    GeometryEdit edit;
    edit.pElement = pElement;
    edit.layout = layout;
    edit.codes = codes;
    edit.values = values;
    addEdits(pCommand, context, {edit});
}
