#pragma once

#include "model/KVLayoutKey.h"

#include <QList>
#include <QVariant>

class IKVCommandTarget;
class KVElement;
class KVElementCommandAction;

// The values of one property group of an element at a layout, in the order of the group action's
// parameters between the element and the trailing inherited flag and layout key: border (1001),
// fill (1002), text (1008), an image's place in its box (1019), corners (1031), clip (1042), shadow (1043) and filter (1044). The
// inspector reads a group, replaces one value and writes the whole group back with one action.
class KVPropertyGroup
{
public:
    enum Type {
        Border = 1001,
        Fill = 1002,
        Text = 1008,
        ImagePlace = 1019,
        Corners = 1031,
        Clip = 1042,
        Shadow = 1043,
        Filter = 1044
    };
    // Field indices of the groups.
    enum BorderField { BorderWidth = 0, BorderStyle, BorderColor };
    enum FillField {
        FillStyle = 0, FillGradientType, FillImage, FillSolidColor, FillStops, FillAngle,
        FillOriginX, FillOriginY, FillRadius, FillRadialSize, FillRadialShape, FillImageMode
    };
    enum TextField {
        TextHtml = 0, TextFamily, TextSize, TextColor, TextHighlight, TextBold, TextItalic,
        TextUnderline, TextStrikeout, TextAlignH, TextAlignV, TextLineHeight, TextIndent,
        TextWordSpace, TextLetterSpace
    };
    enum CornerField { CornerTopLeft = 0, CornerTopRight, CornerBottomLeft, CornerBottomRight, CornerUnitTopLeft };
    enum ClipField {
        ClipStyle = 0, ClipTop, ClipRight, ClipBottom, ClipLeft, ClipUnitTop, ClipUnitRight,
        ClipUnitBottom, ClipUnitLeft, ClipOvalVertex, ClipOvalCoVertex, ClipUnitOvalVertex,
        ClipUnitOvalCoVertex, ClipCircleRadius, ClipUnitCircleRadius
    };
    enum ImagePlaceField { ImageX = 0, ImageY, ImageWidth, ImageHeight, ImageUnitX };
    enum ShadowField { ShadowStyle = 0, ShadowBlur, ShadowAngle, ShadowDistance, ShadowColor };

    // The group's values for the element at the layout; empty when the element has no such group
    // there (no corners but on rectangles, no text but on text boxes and shapes).
    static QVariantList values(const KVElement *pElement, int nGroup, const KVLayoutKey &layout);
    // The parameter kinds of the values.
    static QList<int> kinds(int nGroup);
    // The group action that writes the values at the layout (an edit there overrides the group at
    // a responsive layout); null when the values do not fit the group.
    static KVElementCommandAction *action(IKVCommandTarget *pTarget, KVElement *pElement, int nGroup,
                                          const KVLayoutKey &layout, const QVariantList &values);
    // The group and field that hold a property code's value; false for codes no group holds.
    static bool fieldOf(int nCode, int &nGroup, int &nField);
    // The property code a group field holds, or -1.
    static int codeOf(int nGroup, int nField);
};
