#pragma once

#include "model/KVLayoutKey.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class KVElement;
struct KVAnimatableSubject;

// The allowed values of an animatable property in its displayed unit ("%" properties in percent,
// so a stored fraction is compared against the range divided by 100). (0, -1) means unbounded.
struct KVPropertyRange
{
    int nMin = 0;
    int nMax = -1;

    constexpr bool isUnbounded() const { return nMin == 0 && nMax == -1; }
};

constexpr bool operator==(const KVPropertyRange &a, const KVPropertyRange &b)
{
    return a.nMin == b.nMin && a.nMax == b.nMax;
}
constexpr bool operator!=(const KVPropertyRange &a, const KVPropertyRange &b) { return !(a == b); }

// The catalogue of animatable element properties. Every property that a keyframe track can drive
// has a fixed code 0..96 (stored as the track's "type"); the code fixes the short key used in the
// player data, the editor group and names, the model field that holds the value, the unit, the
// value range and the rule that decides whether the property can be animated on an element in a
// layout. The same codes index the per-layout inherit (override) flags of property objects.
//
// All lookups are O(1) reads of one static table indexed by code. Codes that name nothing
// (40..61, 70, 90..93) and codes outside 0..96 give empty strings, no field, the unbounded range,
// no holder and are never animatable.
class KVPropertyCatalogue
{
    Q_DECLARE_TR_FUNCTIONS(KVPropertyCatalogue)

public:
    enum Code {
        Left = 0,
        Right = 1,
        Top = 2,
        Bottom = 3,
        Width = 4,
        Height = 5,
        Location = 6,
        ScaleX = 7,
        ScaleY = 8,
        SkewX = 9,
        SkewY = 10,
        RotateZ = 11,
        OriginX = 12,
        OriginY = 13,
        Opacity = 14,
        Display = 15,
        BorderWidth = 16,
        BorderColor = 17,
        BackgroundColor = 18,
        GradientAngle = 19,
        GradientOriginX = 20,
        GradientOriginY = 21,
        GradientRadius = 22,
        TextColor = 23,
        HighlightColor = 24,
        FontSize = 25,
        LetterSpacing = 26,
        WordSpacing = 27,
        LineHeight = 28,
        TextIndent = 29,
        BackgroundX = 30,
        BackgroundY = 31,
        BackgroundWidth = 32,
        BackgroundHeight = 33,
        Volume = 34,
        TopLeftRadius = 35,
        TopRightRadius = 36,
        BottomLeftRadius = 37,
        BottomRightRadius = 38,
        Playback = 39,
        ClipStyle = 62,
        ClipRectTop = 63,
        ClipRectRight = 64,
        ClipRectBottom = 65,
        ClipRectLeft = 66,
        ClipOvalVertex = 67,
        ClipOvalCoVertex = 68,
        ClipCircleRadius = 69,
        ShadowBlurRadius = 71,
        ShadowAngle = 72,
        ShadowDistance = 73,
        ShadowColor = 74,
        InvertFilter = 75,
        HueFilter = 76,
        ContrastFilter = 77,
        BrightnessFilter = 78,
        SaturateFilter = 79,
        SepiaFilter = 80,
        GrayscaleFilter = 81,
        BlurFilter = 82,
        OriginZ = 83,
        TranslateX = 84,
        TranslateY = 85,
        TranslateZ = 86,
        RotateX = 87,
        RotateY = 88,
        ScaleZ = 89,
        PerspectiveOriginX = 94,
        PerspectiveOriginY = 95,
        PerspectiveOriginZ = 96,
    };
    static constexpr int FirstCode = 0;
    static constexpr int LastCode = 96;
    static constexpr int CodeCount = LastCode + 1;
    // Number of codes that can be animated at all (the length of catalogueOrder()).
    static constexpr int OrderedCount = 66;

    // The kind of unit a property has. Length means "px" or "%" after the element's current unit
    // code of the governing coordinate (see UnitSlot).
    enum class UnitClass { None, Pixels, Percent, Degrees, Color, Length };

    // The model object that holds a property's field for an element in a layout.
    enum class Holder { None, Element, Border, Fill, Corner, Clip, Shadow, Filter };

    // The per-layout unit code that governs a Length property (and that must agree between the
    // reference and the edited layout for the property to be animatable).
    enum UnitSlot {
        NoSlot = -1,
        PositionXUnit = 0,  // left, right
        PositionYUnit,      // top, bottom
        SizeWUnit,
        SizeHUnit,
        BgImageXUnit,
        BgImageYUnit,
        BgImageWUnit,
        BgImageHUnit,
        CornerTopLeftUnit,
        CornerTopRightUnit,
        CornerBottomLeftUnit,
        CornerBottomRightUnit,
        ClipTopUnit,
        ClipRightUnit,
        ClipBottomUnit,
        ClipLeftUnit,
        ClipOvalVertexUnit,
        ClipOvalCoVertexUnit,
        ClipCircleRadiusUnit,
        UnitSlotCount
    };

    KVPropertyCatalogue() = delete;

    // --- Pure lookups over the code -------------------------------------------------------

    static bool isKnownCode(int nCode);  // the code names a property (has a row)
    static bool isValidCode(int nCode);  // the code is in the catalogue order
    static QString shortKey(int nCode);
    // Group under which the editor lists the property; translated for display when asked.
    static QString group(int nCode, bool bTranslated = true);
    static QString displayName(int nCode);  // translated
    static QString secondName(int nCode);   // untranslated; used in add-keyframe action ids
    static QByteArray fieldName(int nCode);
    static UnitClass unitClass(int nCode);
    static UnitSlot unitSlot(int nCode);
    static KVPropertyRange range(int nCode);
    static Holder holderKind(int nCode);
    // 1..66, 0 for a code outside the order.
    static int orderOf(int nCode);
    static const QList<int> &catalogueOrder();
    // Untranslated group names in the order of their first appearance in catalogueOrder()
    // (the submenus of the add-keyframe menu).
    static const QStringList &orderedGroups();
    // The code whose short key is strKey, or -1.
    static int codeForShortKey(const QString &strKey);

    // "px", "%", "deg", "color" or empty for a fixed unit class; empty for Length (it depends on
    // the element).
    static QString fixedUnit(int nCode);
    // "px" for unit code 0, "%" for 1, empty otherwise (2 = automatic has no track unit).
    static QString unitForUnitCode(int nUnitCode);
    // A stored value clamped to the property's range; strUnit is the track's unit: "%" values are
    // stored as fractions, so the range is divided by 100 for them. Unbounded ranges return the value.
    static double clampStoredValue(int nCode, double dValue, const QString &strUnit);

    // --- Rules over the readings of one element ------------------------------------------

    // Whether a track for nCode may be created on the element, compared between the reference
    // layout (the animation's own) and the layout being edited.
    static bool isAnimatable(const KVAnimatableSubject &reference, const KVAnimatableSubject &edited,
                             int nCode);
    // The unit given to a new track at that layout.
    static QString unitFor(const KVAnimatableSubject &subject, int nCode);
    // Which object holds the field; None without an element, for a group of a layout without a
    // property object, and for corners on anything but a rectangle.
    static Holder holder(const KVAnimatableSubject &subject, int nCode);

    // --- The same rules over the element model ---------------------------------------------

    static bool isAnimatable(const KVElement *pElement, int nCode, const KVLayoutKey &referenceLayout,
                             const KVLayoutKey &editedLayout);
    static QString unitFor(const KVElement *pElement, int nCode, const KVLayoutKey &layout);
    // The element itself or its group object at that layout; null when there is none.
    static QObject *holder(const KVElement *pElement, int nCode, const KVLayoutKey &layout);
};
