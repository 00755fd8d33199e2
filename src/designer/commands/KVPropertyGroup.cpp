#include "commands/KVPropertyGroup.h"

#include "commands/KVCmdParam.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVFilterEffect.h"
#include "model/KVImage.h"
#include "model/KVShadow.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"

#include <QJsonArray>

namespace {

using P = KVCmdParam;

int argb(const QColor &cl)
{
    return int(cl.rgba());
}

QJsonArray stopsJson(const QGradientStops &stops)
{
    QJsonArray ja;
    for (const QGradientStop &stop : stops)
        ja.append(QJsonArray{stop.first, argb(stop.second)});
    return ja;
}

} // namespace

QVariantList KVPropertyGroup::values(const KVElement *pElement, int nGroup, const KVLayoutKey &l)
{
    if (!pElement)
        return {};
    switch (nGroup) {
    case Border:
        if (const KVBorder *p = pElement->border(l))
            return {p->width(), p->style(), argb(p->borderColor())};
        break;
    case Fill:
        if (const KVBackground *p = pElement->background(l)) {
            return {p->fillStyle(), p->gradientType(), p->imageResourceId(), argb(p->solidColor()),
                    QVariant(stopsJson(p->gradientStops())), p->linearGradientAngle(), p->radialOriginX(),
                    p->radialOriginY(), p->radialRadius(), p->radialSize(), p->radialShape(), p->imageFillType()};
        }
        break;
    case Text: {
        auto *pText = qobject_cast<const KVText *>(pElement);
        if (const KVTextProperty *p = pText ? pText->textProperty(l) : nullptr) {
            return {p->innerHtml(), p->fontFamily(), p->fontSize(), argb(p->foreground()), argb(p->highlight()),
                    p->isBold(), p->isItalic(), p->isUnderline(), p->isStrikeout(), p->alignH(), p->alignV(),
                    p->lineHeight(), p->textIndent(), p->wordSpace(), p->letterSpace()};
        }
        break;
    }
    case ImagePlace: {
        auto *p = qobject_cast<const KVImage *>(pElement);
        if (p && p->imageProperty(l)) {
            return {p->bgImageX(l), p->bgImageY(l), p->bgImageW(l), p->bgImageH(l), p->bgImageXUnit(l),
                    p->bgImageYUnit(l), p->bgImageWUnit(l), p->bgImageHUnit(l)};
        }
        break;
    }
    case Corners: {
        auto *pDiv = qobject_cast<const KVDiv *>(pElement);
        if (const KVCorner *p = pDiv ? pDiv->corner(l) : nullptr) {
            return {p->topLeft(), p->topRight(), p->bottomLeft(), p->bottomRight(), p->unitTopLeft(),
                    p->unitTopRight(), p->unitBottomLeft(), p->unitBottomRight()};
        }
        break;
    }
    case Clip:
        if (const KVClip *p = pElement->clip(l)) {
            return {p->style(), p->rectTop(), p->rectRight(), p->rectBottom(), p->rectLeft(), p->unitRectTop(),
                    p->unitRectRight(), p->unitRectBottom(), p->unitRectLeft(), p->ovalVertex(), p->ovalCoVertex(),
                    p->unitOvalVertex(), p->unitOvalCoVertex(), p->circleRadius(), p->unitCircleRadius()};
        }
        break;
    case Shadow:
        if (const KVShadow *p = pElement->shadow(l))
            return {p->style(), p->blurRadius(), p->angle(), p->distance(), argb(p->color())};
        break;
    case Filter:
        if (const KVFilterEffect *p = pElement->filter(l)) {
            return {p->invert(), p->hue(), p->contrast(), p->brightness(), p->saturate(), p->sepia(),
                    p->grayscale(), p->blur()};
        }
        break;
    default:
        break;
    }
    return {};
}

QList<int> KVPropertyGroup::kinds(int nGroup)
{
    const int I = P::Int, D = P::Double, B = P::Bool, S = P::String;
    switch (nGroup) {
    case Border: return {I, I, I};
    case Fill: return {I, I, I, I, P::JsonArray, I, D, D, D, I, I, I};
    case Text: return {S, S, I, I, I, B, B, B, B, I, I, D, I, I, I};
    case ImagePlace:
    case Corners: return {D, D, D, D, I, I, I, I};
    case Clip: return {I, D, D, D, D, I, I, I, I, D, D, I, I, D, I};
    case Shadow: return {I, I, I, I, I};
    case Filter: return {D, I, D, D, D, D, D, I};
    default: return {};
    }
}

KVElementCommandAction *KVPropertyGroup::action(IKVCommandTarget *pTarget, KVElement *pElement, int nGroup,
                                                const KVLayoutKey &layout, const QVariantList &values)
{
    const QList<int> kindList = kinds(nGroup);
    if (!pElement || kindList.isEmpty() || kindList.size() != values.size())
        return nullptr;
    auto *pAction = new KVElementCommandAction(nGroup, pTarget, values.size() + 4);
    pAction->addParam(P::makeObject(P::Element, pElement));
    for (int i = 0; i < values.size(); ++i)
        pAction->addParam(P::makeValue(kindList.at(i), values.at(i)));
    // An edit at a responsive layout overrides the group there.
    pAction->addParam(P::makeBool(false));
    pAction->addParam(P::makeInt(layout.nHLayoutId));
    pAction->addParam(P::makeInt(layout.nVLayoutId));
    return pAction;
}

namespace {
using G = KVPropertyGroup;

struct Place
{
    int nCode, nGroup, nField;
};
// Where each property code a group holds is kept.
const Place kPlaces[] = {
    {16, G::Border, G::BorderWidth}, {17, G::Border, G::BorderColor},
    {18, G::Fill, G::FillSolidColor}, {19, G::Fill, G::FillAngle}, {20, G::Fill, G::FillOriginX}, {21, G::Fill, G::FillOriginY},
    {22, G::Fill, G::FillRadius},
    {23, G::Text, G::TextColor}, {24, G::Text, G::TextHighlight}, {25, G::Text, G::TextSize}, {26, G::Text, G::TextLetterSpace},
    {27, G::Text, G::TextWordSpace}, {28, G::Text, G::TextLineHeight}, {29, G::Text, G::TextIndent},
    {30, G::ImagePlace, G::ImageX}, {31, G::ImagePlace, G::ImageY}, {32, G::ImagePlace, G::ImageWidth},
    {33, G::ImagePlace, G::ImageHeight},
    {35, G::Corners, G::CornerTopLeft}, {36, G::Corners, G::CornerTopRight}, {37, G::Corners, G::CornerBottomLeft},
    {38, G::Corners, G::CornerBottomRight},
    {62, G::Clip, G::ClipStyle}, {63, G::Clip, G::ClipTop}, {64, G::Clip, G::ClipRight}, {65, G::Clip, G::ClipBottom},
    {66, G::Clip, G::ClipLeft}, {67, G::Clip, G::ClipOvalVertex}, {68, G::Clip, G::ClipOvalCoVertex}, {69, G::Clip, G::ClipCircleRadius},
    {71, G::Shadow, G::ShadowBlur}, {72, G::Shadow, G::ShadowAngle}, {73, G::Shadow, G::ShadowDistance}, {74, G::Shadow, G::ShadowColor},
    {75, G::Filter, 0}, {76, G::Filter, 1}, {77, G::Filter, 2}, {78, G::Filter, 3}, {79, G::Filter, 4}, {80, G::Filter, 5},
    {81, G::Filter, 6}, {82, G::Filter, 7},
};
} // namespace

bool KVPropertyGroup::fieldOf(int nCode, int &nGroup, int &nField)
{
    for (const Place &place : kPlaces) {
        if (place.nCode == nCode) {
            nGroup = place.nGroup;
            nField = place.nField;
            return true;
        }
    }
    return false;
}

int KVPropertyGroup::codeOf(int nGroup, int nField)
{
    for (const Place &place : kPlaces) {
        if (place.nGroup == nGroup && place.nField == nField)
            return place.nCode;
    }
    return -1;
}
