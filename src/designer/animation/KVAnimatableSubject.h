#pragma once

#include "animation/KVPropertyCatalogue.h"

#include <array>

// What the animatable-property rules need to know about one element in one layout: its kind and
// the per-layout readings that decide whether a property can carry a track there and which unit a
// new track gets. The rules compare two of these, one per layout, of the same element.
//
// A unit slot holds the unit code (0 pixels, 1 percent, 2 automatic) of that coordinate, or -1 when
// the element has no such value (image background units on anything but an image, corner units on
// anything but a rectangle) or it cannot be read; a property governed by a -1 slot is never
// animatable and gets no unit.
struct KVAnimatableSubject
{
    bool bValid = false;  // false stands for "no element"
    int nType = -1;       // element type code (0 image ... 11 freeform)
    bool bIsText = false;   // a KVText: text box, rectangle, auto shape, free-form shape
    bool bIsDiv = false;    // a KVDiv (rectangle): has corner radii
    bool bIsImage = false;  // a KVImage: has background placement
    bool bIsScene = false;

    int nCoordinateType = 0;
    std::array<int, KVPropertyCatalogue::UnitSlotCount> anUnits{};

    // The element has a property object at the layout; its border, fill, clip, shadow and filter
    // groups exist exactly when it does.
    bool bHasProperty = false;
    int nBorderStyle = 0;
    int nFillType = 0;
    int nGradientType = 0;
    int nShapeType = 0;  // auto-shape / free-form shape code, 0 for other kinds
    int nClipType = 0;
    int nShadowType = 0;

    int unit(KVPropertyCatalogue::UnitSlot eSlot) const
    {
        return eSlot >= 0 && eSlot < KVPropertyCatalogue::UnitSlotCount ? anUnits[size_t(eSlot)] : -1;
    }
    void setUnit(KVPropertyCatalogue::UnitSlot eSlot, int nUnit)
    {
        if (eSlot >= 0 && eSlot < KVPropertyCatalogue::UnitSlotCount)
            anUnits[size_t(eSlot)] = nUnit;
    }

    // The readings of a freshly made element of that type code in its base layout: class flags from
    // the type, the model's default units, border style 0, the kind's initial fill (solid for
    // rectangles, shapes and scenes, none otherwise), no clip and no shadow. An unknown type code
    // gives an invalid subject.
    static KVAnimatableSubject forType(int nType);

    // The readings of pElement at a layout ((-1, -1) = its current layout). A null element gives an
    // invalid subject; a layout without a property object reads neutral values (units and types 0,
    // bHasProperty false), as the element's per-layout accessors do. Image background units are
    // read from an image only; other kinds keep them at -1.
    static KVAnimatableSubject fromElement(const KVElement *pElement, const KVLayoutKey &layout);
};
