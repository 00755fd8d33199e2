#include "commands/KVReframe.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVElementProperty.h"
#include "model/KVScene.h"

#include <QVariant>

#include <algorithm>
#include <cmath>

namespace {

using P = KVCmdParam;
using A = KVCommandAction;
using G = KVElementCommandAction;
using Box = KVReframe::Box;

constexpr double kEpsilon = 1e-9;
// The geometry codes a change of parent can touch: left, top, width, height. A position is always
// written under left/top: the same stored value serves the side the coordinate type anchors.
constexpr int kLeft = 0;
constexpr int kTop = 2;
constexpr int kWidth = 4;
constexpr int kHeight = 5;

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

Box boxOf(const KVElement *p, const KVLayoutKey &l)
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


bool unionOf(const QList<KVElement *> &elements, const KVLayoutKey &l, Box &out)
{
    bool bAny = false;
    for (const KVElement *p : elements) {
        if (!p->property(l))
            continue;
        const Box b = boxOf(p, l);
        out = bAny ? out.united(b) : b;
        bAny = true;
    }
    return bAny;
}

} // namespace

KVReframe::Box KVReframe::Box::united(const Box &o) const
{
    Box b;
    b.x = std::min(x, o.x);
    b.y = std::min(y, o.y);
    b.w = std::max(x + w, o.x + o.w) - b.x;
    b.h = std::max(y + h, o.y + o.h) - b.y;
    return b;
}

KVReframe::Box KVReframe::localBox(const KVElement *pElement, const KVLayoutKey &layout)
{
    return boxOf(pElement, layout);
}

bool KVReframe::unionAt(const QList<KVElement *> &elements, const KVLayoutKey &layout, Box &out)
{
    return unionOf(elements, layout, out);
}

void KVReframe::addPlacement(KVCommand *pCommand, IKVCommandTarget *pTarget, KVElement *pElement,
                             const QMap<KVLayoutKey, Box> &boxes)
{
    LayoutValues values;
    for (auto it = boxes.constBegin(); it != boxes.constEnd(); ++it) {
        const KVLayoutKey &l = it.key();
        const Box &b = it.value();
        // The size changes too: in pixels, or as a fraction of the parent (a ratio is left).
        Values v = storedValues(pElement, l, b, pElement->parentWidth(l), pElement->parentHeight(l));
        if (pElement->unitW(l) == 0)
            v.insert(kWidth, b.w);
        if (pElement->unitH(l) == 0)
            v.insert(kHeight, b.h);
        values.insert(l, v);
    }
    addGeometry(pCommand, pTarget, pElement, values);
}

void KVReframe::addReframe(KVCommand *pCommand, IKVCommandTarget *pTarget, const KVScene *pScene,
                           KVElement *pElement, const QMap<KVLayoutKey, Box> &frames, bool bFromInside)
{
    const QMap<KVLayoutKey, Maps> maps = reframeMaps(pElement, frames, bFromInside);
    addGeometry(pCommand, pTarget, pElement, valuesOf(pElement, maps));
    addTrackValues(pCommand, pTarget, pScene, pElement, maps);
}
