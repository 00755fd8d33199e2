#include "animation/KVAnimatableSubject.h"

#include "model/KVAutoShape.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVElement.h"
#include "model/KVElementProperty.h"
#include "model/KVElementType.h"
#include "model/KVImage.h"
#include "model/KVShadow.h"
#include "model/KVText.h"

KVAnimatableSubject KVAnimatableSubject::forType(int nType)
{
    KVAnimatableSubject s;
    if (!KVElementType::isValid(nType) || nType == KVElementType::Component)
        return s;

    using Cat = KVPropertyCatalogue;
    s.bValid = true;
    s.nType = nType;
    s.bIsText = nType == KVElementType::Text || nType == KVElementType::Div
        || nType == KVElementType::Shape || nType == KVElementType::Freeform;
    s.bIsDiv = nType == KVElementType::Div;
    s.bIsImage = nType == KVElementType::Image;
    s.bIsScene = nType == KVElementType::Scene;
    s.bHasProperty = true;

    s.anUnits.fill(0);
    // The oval and circle clip values start as fractions of the element's size.
    s.setUnit(Cat::ClipOvalVertexUnit, 1);
    s.setUnit(Cat::ClipOvalCoVertexUnit, 1);
    s.setUnit(Cat::ClipCircleRadiusUnit, 1);
    // By default an image fills its box: 100 % by 100 % at (0, 0) pixels.
    const int nBgSizeUnit = s.bIsImage ? 1 : -1;
    const int nBgPosUnit = s.bIsImage ? 0 : -1;
    s.setUnit(Cat::BgImageXUnit, nBgPosUnit);
    s.setUnit(Cat::BgImageYUnit, nBgPosUnit);
    s.setUnit(Cat::BgImageWUnit, nBgSizeUnit);
    s.setUnit(Cat::BgImageHUnit, nBgSizeUnit);
    const int nCornerUnit = s.bIsDiv ? 0 : -1;
    for (int n = Cat::CornerTopLeftUnit; n <= Cat::CornerBottomRightUnit; ++n)
        s.setUnit(Cat::UnitSlot(n), nCornerUnit);

    // Rectangles, shapes and scenes start with a solid fill; other kinds with none.
    const bool bSolid = nType == KVElementType::Div || nType == KVElementType::Shape
        || nType == KVElementType::Freeform || nType == KVElementType::Scene;
    s.nFillType = bSolid ? 1 : 0;
    return s;
}

KVAnimatableSubject KVAnimatableSubject::fromElement(const KVElement *pElement, const KVLayoutKey &layout)
{
    KVAnimatableSubject s;
    if (!pElement)
        return s;

    using Cat = KVPropertyCatalogue;
    const KVLayoutKey key = pElement->resolveLayout(layout);
    const KVDiv *pDiv = qobject_cast<const KVDiv *>(pElement);
    const KVAutoShape *pShape = qobject_cast<const KVAutoShape *>(pElement);

    s.bValid = true;
    s.nType = pElement->type();
    s.bIsText = qobject_cast<const KVText *>(pElement) != nullptr;
    s.bIsDiv = pDiv != nullptr;
    s.bIsImage = qobject_cast<const KVImage *>(pElement) != nullptr;
    s.bIsScene = s.nType == KVElementType::Scene;
    s.bHasProperty = pElement->property(key) != nullptr;

    s.nCoordinateType = pElement->coordinateType(key);
    s.anUnits.fill(-1);
    s.setUnit(Cat::PositionXUnit, pElement->unitX(key));
    s.setUnit(Cat::PositionYUnit, pElement->unitY(key));
    s.setUnit(Cat::SizeWUnit, pElement->unitW(key));
    s.setUnit(Cat::SizeHUnit, pElement->unitH(key));

    const KVClip *pClip = pElement->clip(key);
    s.nClipType = pClip ? pClip->style() : 0;
    s.setUnit(Cat::ClipTopUnit, pClip ? pClip->unitRectTop() : 0);
    s.setUnit(Cat::ClipRightUnit, pClip ? pClip->unitRectRight() : 0);
    s.setUnit(Cat::ClipBottomUnit, pClip ? pClip->unitRectBottom() : 0);
    s.setUnit(Cat::ClipLeftUnit, pClip ? pClip->unitRectLeft() : 0);
    s.setUnit(Cat::ClipOvalVertexUnit, pClip ? pClip->unitOvalVertex() : 0);
    s.setUnit(Cat::ClipOvalCoVertexUnit, pClip ? pClip->unitOvalCoVertex() : 0);
    s.setUnit(Cat::ClipCircleRadiusUnit, pClip ? pClip->unitCircleRadius() : 0);

    if (pDiv) {
        const KVCorner *pCorner = pDiv->corner(key);
        s.setUnit(Cat::CornerTopLeftUnit, pCorner ? pCorner->unitTopLeft() : 0);
        s.setUnit(Cat::CornerTopRightUnit, pCorner ? pCorner->unitTopRight() : 0);
        s.setUnit(Cat::CornerBottomLeftUnit, pCorner ? pCorner->unitBottomLeft() : 0);
        s.setUnit(Cat::CornerBottomRightUnit, pCorner ? pCorner->unitBottomRight() : 0);
    }
    if (const KVImage *pImage = qobject_cast<const KVImage *>(pElement)) {
        s.setUnit(Cat::BgImageXUnit, pImage->bgImageXUnit(key));
        s.setUnit(Cat::BgImageYUnit, pImage->bgImageYUnit(key));
        s.setUnit(Cat::BgImageWUnit, pImage->bgImageWUnit(key));
        s.setUnit(Cat::BgImageHUnit, pImage->bgImageHUnit(key));
    }

    const KVBorder *pBorder = pElement->border(key);
    s.nBorderStyle = pBorder ? pBorder->style() : 0;
    const KVBackground *pFill = pElement->background(key);
    s.nFillType = pFill ? pFill->fillStyle() : 0;
    s.nGradientType = pFill ? pFill->gradientType() : 0;
    const KVShadow *pShadow = pElement->shadow(key);
    s.nShadowType = pShadow ? pShadow->style() : 0;
    s.nShapeType = pShape ? pShape->shapeType(key) : 0;
    return s;
}
