#include "animation/KVPropertyCatalogue.h"

#include "animation/KVAnimatableSubject.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVFilterEffect.h"
#include "model/KVShadow.h"

#include <QHash>
#include <QtGlobal>

#include <array>
#include <cstdint>

namespace {

using Cat = KVPropertyCatalogue;
using U = KVPropertyCatalogue::UnitClass;
using H = KVPropertyCatalogue::Holder;

// How the applicability of a property is decided; each row names one. The row's rule argument
// refines it: the accepted coordinate types (bit mask) for Position, the gradient kind for
// Gradient, the clip type for Clip.
enum class Rule : std::uint8_t {
    Never,
    Always,
    Position,
    Size,
    Border,
    SolidFill,
    Gradient,
    Text,
    ImageBackground,
    Volume,
    Corner,
    Clip,
    Shadow,
    Filter,
    Perspective,
};

struct Row
{
    const char *pszKey = nullptr;
    const char *pszGroup = nullptr;
    const char *pszName = nullptr;
    const char *pszSecondName = nullptr;  // null: same as the display name
    const char *pszField = nullptr;
    U eUnit = U::None;
    Cat::UnitSlot eSlot = Cat::NoSlot;
    int nMin = 0;
    int nMax = -1;
    H eHolder = H::None;
    int nOrder = 0;
    Rule eRule = Rule::Never;
    int nRuleArg = 0;
    bool bScene = false;  // a scene may animate it
};

struct Entry
{
    int nCode;
    Row row;
};

// Coordinate types that anchor an element by the edge a position property moves.
constexpr int kLeftAnchored = (1 << 0) | (1 << 3);
constexpr int kRightAnchored = (1 << 1) | (1 << 2);
constexpr int kTopAnchored = (1 << 0) | (1 << 1);
constexpr int kBottomAnchored = (1 << 2) | (1 << 3);

constexpr int kBig = 10000;
constexpr int kTurns = 36000;

#define KV_G(text) QT_TRANSLATE_NOOP("KVPropertyCatalogue", text)

constexpr Entry kEntries[] = {
    {0, {"lt", KV_G("Position and Size"), KV_G("Left"), nullptr, "m_dPositionX", U::Length, Cat::PositionXUnit, -kBig, kBig, H::Element, 3, Rule::Position, kLeftAnchored}},
    {1, {"rt", KV_G("Position and Size"), KV_G("Right"), nullptr, "m_dPositionX", U::Length, Cat::PositionXUnit, -kBig, kBig, H::Element, 4, Rule::Position, kRightAnchored}},
    {2, {"tp", KV_G("Position and Size"), KV_G("Top"), nullptr, "m_dPositionY", U::Length, Cat::PositionYUnit, -kBig, kBig, H::Element, 5, Rule::Position, kTopAnchored}},
    {3, {"b", KV_G("Position and Size"), KV_G("Bottom"), nullptr, "m_dPositionY", U::Length, Cat::PositionYUnit, -kBig, kBig, H::Element, 6, Rule::Position, kBottomAnchored}},
    {4, {"w", KV_G("Position and Size"), KV_G("Width"), nullptr, "m_dSizeW", U::Length, Cat::SizeWUnit, 0, kBig, H::Element, 7, Rule::Size, 0, true}},
    {5, {"h", KV_G("Position and Size"), KV_G("Height"), nullptr, "m_dSizeH", U::Length, Cat::SizeHUnit, 0, kBig, H::Element, 8, Rule::Size, 0, true}},
    {6, {"pos", KV_G("Transform"), KV_G("Location"), nullptr, "m_ptTranslateXY", U::None, Cat::NoSlot, 0, -1, H::Element, 12, Rule::Always}},
    {7, {"sX", KV_G("Transform"), KV_G("Scale X"), nullptr, "m_dScaleX", U::Percent, Cat::NoSlot, -kBig, kBig, H::Element, 13, Rule::Always}},
    {8, {"sY", KV_G("Transform"), KV_G("Scale Y"), nullptr, "m_dScaleY", U::Percent, Cat::NoSlot, -kBig, kBig, H::Element, 14, Rule::Always}},
    {9, {"skX", KV_G("Transform"), KV_G("Skew X"), nullptr, "m_dSkewX", U::Degrees, Cat::NoSlot, -60, 60, H::Element, 16, Rule::Always}},
    {10, {"skY", KV_G("Transform"), KV_G("Skew Y"), nullptr, "m_dSkewY", U::Degrees, Cat::NoSlot, -60, 60, H::Element, 21, Rule::Always}},
    {11, {"rZ", KV_G("Transform"), KV_G("Rotate Z"), nullptr, "m_dRotateZ", U::Degrees, Cat::NoSlot, -kTurns, kTurns, H::Element, 20, Rule::Always}},
    {12, {"toX", KV_G("Transform"), KV_G("Origin X"), nullptr, "m_dOriginRatioX", U::Percent, Cat::NoSlot, -kBig, kBig, H::Element, 9, Rule::Always}},
    {13, {"toY", KV_G("Transform"), KV_G("Origin Y"), nullptr, "m_dOriginRatioY", U::Percent, Cat::NoSlot, -kBig, kBig, H::Element, 10, Rule::Always}},
    {14, {"o", KV_G("General"), KV_G("Opacity"), nullptr, "m_dOpacity", U::Percent, Cat::NoSlot, 0, 100, H::Element, 1, Rule::Always}},
    {15, {"d", KV_G("General"), KV_G("Display"), nullptr, "m_nDisplay", U::None, Cat::NoSlot, 0, -1, H::Element, 2, Rule::Always}},
    {16, {"lw", KV_G("Border"), KV_G("Border Width"), nullptr, "m_nWidth", U::Pixels, Cat::NoSlot, 0, kBig, H::Border, 26, Rule::Border}},
    {17, {"lc", KV_G("Border"), KV_G("Border Color"), nullptr, "m_clBorderColor", U::Color, Cat::NoSlot, 0, -1, H::Border, 27, Rule::Border}},
    {18, {"fc", KV_G("Background"), KV_G("Background Color"), nullptr, "m_clSolidColor", U::Color, Cat::NoSlot, 0, -1, H::Fill, 25, Rule::SolidFill, 0, true}},
    {19, {"ga", KV_G("Background"), KV_G("Gradient Angle"), nullptr, "m_nLinearGradientAngle", U::Degrees, Cat::NoSlot, -kTurns, kTurns, H::Fill, 22, Rule::Gradient, 0, true}},
    {20, {"gX", KV_G("Background"), KV_G("Gradient Origin X"), nullptr, "m_dRadialOriginX", U::Percent, Cat::NoSlot, 0, 100, H::Fill, 23, Rule::Gradient, 1, true}},
    {21, {"gY", KV_G("Background"), KV_G("Gradient Origin Y"), nullptr, "m_dRadialOriginY", U::Percent, Cat::NoSlot, 0, 100, H::Fill, 24, Rule::Gradient, 1, true}},
    {22, {nullptr, KV_G("Background"), KV_G("Gradient Radius"), nullptr, "m_dRadialRadius", U::None, Cat::NoSlot, 0, -1, H::None, 0, Rule::Never}},
    {23, {"tc", KV_G("Text"), KV_G("Text Color"), nullptr, "m_clForeground", U::Color, Cat::NoSlot, 0, -1, H::Element, 51, Rule::Text}},
    {24, {"thc", KV_G("Text"), KV_G("Highlight Color"), nullptr, "m_clHighlight", U::Color, Cat::NoSlot, 0, -1, H::Element, 52, Rule::Text}},
    {25, {"fz", KV_G("Text"), KV_G("Font Size"), nullptr, "m_nFontSize", U::Pixels, Cat::NoSlot, 0, 256, H::Element, 53, Rule::Text}},
    {26, {"ls", KV_G("Text"), KV_G("Letter Spacing"), "Letter Space", "m_nLetterSpace", U::Pixels, Cat::NoSlot, -kBig, kBig, H::Element, 54, Rule::Text}},
    {27, {"ws", KV_G("Text"), KV_G("Word Spacing"), "Word Space", "m_nWordSpace", U::Pixels, Cat::NoSlot, -kBig, kBig, H::Element, 55, Rule::Text}},
    {28, {"lh", KV_G("Text"), KV_G("Line Height"), nullptr, "m_dLineHeight", U::Percent, Cat::NoSlot, 0, kBig, H::Element, 56, Rule::Text}},
    {29, {"ti", KV_G("Text"), KV_G("Text Indent"), nullptr, "m_nTextIndent", U::Pixels, Cat::NoSlot, -kBig, kBig, H::Element, 57, Rule::Text}},
    {30, {"iX", KV_G("Image"), KV_G("Background X"), nullptr, "m_dBgImageX", U::Length, Cat::BgImageXUnit, -kBig, kBig, H::Element, 58, Rule::ImageBackground}},
    {31, {"iY", KV_G("Image"), KV_G("Background Y"), nullptr, "m_dBgImageY", U::Length, Cat::BgImageYUnit, -kBig, kBig, H::Element, 59, Rule::ImageBackground}},
    {32, {"iW", KV_G("Image"), KV_G("Background Width"), nullptr, "m_dBgImageW", U::Length, Cat::BgImageWUnit, 0, kBig, H::Element, 60, Rule::ImageBackground}},
    {33, {"iH", KV_G("Image"), KV_G("Background Height"), nullptr, "m_dBgImageH", U::Length, Cat::BgImageHUnit, 0, kBig, H::Element, 61, Rule::ImageBackground}},
    {34, {"vol", KV_G("Media"), KV_G("Volume"), nullptr, "m_dVolume", U::Percent, Cat::NoSlot, 0, 100, H::Element, 62, Rule::Volume}},
    {35, {"tlr", KV_G("Corner"), KV_G("Top Left Radius"), nullptr, "m_nTopLeft", U::Length, Cat::CornerTopLeftUnit, 0, kBig, H::Corner, 40, Rule::Corner}},
    {36, {"trr", KV_G("Corner"), KV_G("Top Right Radius"), nullptr, "m_nTopRight", U::Length, Cat::CornerTopRightUnit, 0, kBig, H::Corner, 41, Rule::Corner}},
    {37, {"blr", KV_G("Corner"), KV_G("Bottom Left Radius"), nullptr, "m_nBottomLeft", U::Length, Cat::CornerBottomLeftUnit, 0, kBig, H::Corner, 42, Rule::Corner}},
    {38, {"brr", KV_G("Corner"), KV_G("Bottom Right Radius"), nullptr, "m_nBottomRight", U::Length, Cat::CornerBottomRightUnit, 0, kBig, H::Corner, 43, Rule::Corner}},
    // Playback is listed with the properties but is played by playback animations, not tracks.
    {39, {nullptr, KV_G("Playback"), KV_G("Playback"), nullptr, nullptr, U::None, Cat::NoSlot, 0, -1, H::None, 63, Rule::Never}},
    // The clip style only gates the clip's override flag; it has no track.
    {62, {nullptr, nullptr, KV_G("Clip Style"), nullptr, nullptr, U::None, Cat::NoSlot, 0, -1, H::None, 0, Rule::Never}},
    {63, {"crt", KV_G("Clip"), KV_G("Clip Rectangle Top"), nullptr, "m_dCRectTop", U::Length, Cat::ClipTopUnit, 0, kBig, H::Clip, 44, Rule::Clip, 1}},
    {64, {"crr", KV_G("Clip"), KV_G("Clip Rectangle Right"), nullptr, "m_dCRectRight", U::Length, Cat::ClipRightUnit, 0, kBig, H::Clip, 45, Rule::Clip, 1}},
    {65, {"crb", KV_G("Clip"), KV_G("Clip Rectangle Bottom"), nullptr, "m_dCRectBottom", U::Length, Cat::ClipBottomUnit, 0, kBig, H::Clip, 46, Rule::Clip, 1}},
    {66, {"crl", KV_G("Clip"), KV_G("Clip Rectangle Left"), nullptr, "m_dCRectLeft", U::Length, Cat::ClipLeftUnit, 0, kBig, H::Clip, 47, Rule::Clip, 1}},
    {67, {"cov", KV_G("Clip"), KV_G("Clip Oval Vertex"), nullptr, "m_dCOvalVertex", U::Length, Cat::ClipOvalVertexUnit, 0, kBig, H::Clip, 49, Rule::Clip, 3}},
    {68, {"coc", KV_G("Clip"), KV_G("Clip Oval Co-Vertex"), nullptr, "m_dCOvalCoVertex", U::Length, Cat::ClipOvalCoVertexUnit, 0, kBig, H::Clip, 48, Rule::Clip, 3}},
    {69, {"ccr", KV_G("Clip"), KV_G("Clip Circle Radius"), nullptr, "m_dCCircleRadius", U::Length, Cat::ClipCircleRadiusUnit, 0, kBig, H::Clip, 50, Rule::Clip, 2}},
    {71, {"shr", KV_G("Shadow"), KV_G("Shadow Blur Radius"), nullptr, "m_nShBlurRadius", U::Pixels, Cat::NoSlot, 0, 50, H::Shadow, 28, Rule::Shadow}},
    {72, {"sha", KV_G("Shadow"), KV_G("Shadow Angle"), nullptr, "m_nShAngle", U::Degrees, Cat::NoSlot, -kTurns, kTurns, H::Shadow, 29, Rule::Shadow}},
    {73, {"shd", KV_G("Shadow"), KV_G("Shadow Distance"), nullptr, "m_nShDistance", U::Pixels, Cat::NoSlot, 0, 1000, H::Shadow, 30, Rule::Shadow}},
    {74, {"shc", KV_G("Shadow"), KV_G("Shadow Color"), nullptr, "m_shColor", U::Color, Cat::NoSlot, 0, -1, H::Shadow, 31, Rule::Shadow}},
    {75, {"fif", KV_G("Filter"), KV_G("Invert Filter"), nullptr, "m_dInvert", U::Percent, Cat::NoSlot, 0, 100, H::Filter, 32, Rule::Filter}},
    {76, {"fhf", KV_G("Filter"), KV_G("Hue Filter"), nullptr, "m_nHue", U::Degrees, Cat::NoSlot, 0, 360, H::Filter, 33, Rule::Filter}},
    {77, {"fcf", KV_G("Filter"), KV_G("Contrast Filter"), nullptr, "m_dContrast", U::Percent, Cat::NoSlot, 0, 200, H::Filter, 34, Rule::Filter}},
    {78, {"frf", KV_G("Filter"), KV_G("Brightness Filter"), nullptr, "m_dBrightness", U::Percent, Cat::NoSlot, 0, 400, H::Filter, 35, Rule::Filter}},
    {79, {"fsf", KV_G("Filter"), KV_G("Saturate Filter"), nullptr, "m_dSaturate", U::Percent, Cat::NoSlot, 0, 1000, H::Filter, 36, Rule::Filter}},
    {80, {"fpf", KV_G("Filter"), KV_G("Sepia Filter"), nullptr, "m_dSepia", U::Percent, Cat::NoSlot, 0, 100, H::Filter, 37, Rule::Filter}},
    {81, {"fgf", KV_G("Filter"), KV_G("Grayscale Filter"), nullptr, "m_dGrayscale", U::Percent, Cat::NoSlot, 0, 100, H::Filter, 38, Rule::Filter}},
    {82, {"fbf", KV_G("Filter"), KV_G("Blur Filter"), nullptr, "m_nBlur", U::Pixels, Cat::NoSlot, 0, 300, H::Filter, 39, Rule::Filter}},
    {83, {"toZ", KV_G("Transform"), KV_G("Origin Z"), nullptr, "m_dOriginZ", U::Pixels, Cat::NoSlot, -kBig, kBig, H::Element, 11, Rule::Always}},
    // Translate X and Y are kept in the player data but are driven by the location track.
    {84, {"tX", nullptr, KV_G("Translate X"), nullptr, "m_dTranslateX", U::Pixels, Cat::NoSlot, -kBig, kBig, H::Element, 0, Rule::Never}},
    {85, {"tY", nullptr, KV_G("Translate Y"), nullptr, "m_dTranslateY", U::Pixels, Cat::NoSlot, -kBig, kBig, H::Element, 0, Rule::Never}},
    {86, {"tZ", KV_G("Transform"), KV_G("Translate Z"), nullptr, "m_dTranslateZ", U::Pixels, Cat::NoSlot, -kBig, kBig, H::Element, 17, Rule::Always}},
    {87, {"rX", KV_G("Transform"), KV_G("Rotate X"), nullptr, "m_dRotateX", U::Degrees, Cat::NoSlot, -kTurns, kTurns, H::Element, 18, Rule::Always}},
    {88, {"rY", KV_G("Transform"), KV_G("Rotate Y"), nullptr, "m_dRotateY", U::Degrees, Cat::NoSlot, -kTurns, kTurns, H::Element, 19, Rule::Always}},
    {89, {"sZ", KV_G("Transform"), KV_G("Scale Z"), nullptr, "m_dScaleZ", U::Percent, Cat::NoSlot, -kBig, kBig, H::Element, 15, Rule::Always}},
    {94, {"psoX", KV_G("Perspective"), KV_G("Perspective Origin X"), nullptr, "m_dPerspectiveOrgX", U::Percent, Cat::NoSlot, -kBig, kBig, H::Element, 64, Rule::Perspective, 0, true}},
    {95, {"psoY", KV_G("Perspective"), KV_G("Perspective Origin Y"), nullptr, "m_dPerspectiveOrgY", U::Percent, Cat::NoSlot, -kBig, kBig, H::Element, 65, Rule::Perspective, 0, true}},
    {96, {"psoZ", KV_G("Perspective"), KV_G("Perspective Origin Z"), nullptr, "m_dPerspectiveOrgZ", U::Pixels, Cat::NoSlot, 1, kBig, H::Element, 66, Rule::Perspective, 0, true}},
};

#undef KV_G

// The add-keyframe menu and the timeline rows list the properties in this order.
constexpr int kOrder[] = {14, 15, 0,  1,  2,  3,  4,  5,  12, 13, 83, 6,  7,  8,  89, 9,  86,
                          87, 88, 11, 10, 19, 20, 21, 18, 16, 17, 71, 72, 73, 74, 75, 76, 77,
                          78, 79, 80, 81, 82, 35, 36, 37, 38, 63, 64, 65, 66, 68, 67, 69, 23,
                          24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 39, 94, 95, 96};

struct Table
{
    std::array<Row, Cat::CodeCount> rows{};
    std::array<bool, Cat::CodeCount> known{};
};

constexpr Table buildTable()
{
    Table t{};
    for (const Entry &e : kEntries) {
        t.rows[size_t(e.nCode)] = e.row;
        t.known[size_t(e.nCode)] = true;
    }
    return t;
}

constexpr Table kTable = buildTable();

constexpr bool entriesAreUniqueAndInRange()
{
    std::array<int, Cat::CodeCount> seen{};
    for (const Entry &e : kEntries) {
        if (e.nCode < Cat::FirstCode || e.nCode > Cat::LastCode || seen[size_t(e.nCode)]++)
            return false;
    }
    return true;
}

constexpr bool orderMatchesRows()
{
    int nOrdered = 0;
    for (const Row &row : kTable.rows)
        nOrdered += row.nOrder > 0 ? 1 : 0;
    if (nOrdered != Cat::OrderedCount)
        return false;
    for (size_t i = 0; i < sizeof(kOrder) / sizeof(kOrder[0]); ++i) {
        if (kTable.rows[size_t(kOrder[i])].nOrder != int(i) + 1)
            return false;
    }
    return true;
}

static_assert(entriesAreUniqueAndInRange(), "each property code has one row");
static_assert(sizeof(kOrder) / sizeof(kOrder[0]) == size_t(Cat::OrderedCount), "66 ordered codes");
static_assert(orderMatchesRows(), "the order column agrees with the catalogue order");

const Row *rowFor(int nCode)
{
    if (nCode < Cat::FirstCode || nCode > Cat::LastCode || !kTable.known[size_t(nCode)])
        return nullptr;
    return &kTable.rows[size_t(nCode)];
}

QString latin1(const char *psz)
{
    return psz ? QString::fromLatin1(psz) : QString();
}

const char *unitText(U eUnit)
{
    switch (eUnit) {
    case U::Pixels: return "px";
    case U::Percent: return "%";
    case U::Degrees: return "deg";
    case U::Color: return "color";
    case U::None:
    case U::Length: break;
    }
    return nullptr;
}

// Free-form line shapes (line, arrow, double arrow) carry no text.
bool isLineShape(int nShapeType)
{
    return nShapeType >= 590 && nShapeType <= 592;
}

// The governing unit is known in both layouts and the same.
bool sameUnit(const KVAnimatableSubject &a, const KVAnimatableSubject &b, Cat::UnitSlot eSlot)
{
    return a.unit(eSlot) >= 0 && a.unit(eSlot) == b.unit(eSlot);
}

// Image background units exist only on images, corner units only on rectangles.
bool slotExists(const KVAnimatableSubject &subject, Cat::UnitSlot eSlot)
{
    if (eSlot >= Cat::BgImageXUnit && eSlot <= Cat::BgImageHUnit)
        return subject.bIsImage;
    if (eSlot >= Cat::CornerTopLeftUnit && eSlot <= Cat::CornerBottomRightUnit)
        return subject.bIsDiv;
    return eSlot != Cat::NoSlot;
}

bool shadowTest(const KVAnimatableSubject &ref, const KVAnimatableSubject &edited)
{
    return ref.nShadowType == edited.nShadowType && edited.nShadowType == 1;
}

bool passesRule(const Row &row, const KVAnimatableSubject &ref, const KVAnimatableSubject &edited)
{
    const int nType = edited.nType;
    switch (row.eRule) {
    case Rule::Never:
        return false;
    case Rule::Always:
        return true;
    case Rule::Position:
        return edited.nCoordinateType >= 0 && edited.nCoordinateType < 31
            && (row.nRuleArg & (1 << edited.nCoordinateType)) != 0
            && sameUnit(ref, edited, row.eSlot);
    case Rule::Size:
        return edited.unit(row.eSlot) != 2 && sameUnit(ref, edited, row.eSlot);
    case Rule::Border:
        return nType != KVElementType::Audio && nType != KVElementType::Video
            && nType != KVElementType::Symbol && edited.bHasProperty && edited.nBorderStyle != 0;
    case Rule::SolidFill:
        return edited.bHasProperty && edited.nFillType == 1;
    case Rule::Gradient:
        return edited.bHasProperty && edited.nFillType == 2 && edited.nGradientType == row.nRuleArg;
    case Rule::Text:
        return edited.bIsText && !(nType == KVElementType::Freeform && isLineShape(edited.nShapeType));
    case Rule::ImageBackground:
        return edited.bIsImage && sameUnit(ref, edited, row.eSlot);
    case Rule::Volume:
        return nType == KVElementType::Audio || nType == KVElementType::Video;
    case Rule::Corner:
        return edited.bIsDiv && sameUnit(ref, edited, row.eSlot);
    case Rule::Clip:
        return ref.nClipType == edited.nClipType && edited.nClipType == row.nRuleArg
            && sameUnit(ref, edited, row.eSlot);
    case Rule::Shadow:
        return shadowTest(ref, edited);
    case Rule::Filter:
        // Audio, symbol instances and scenes decide their filters by the shadow test.
        if (nType == KVElementType::Audio || nType == KVElementType::Symbol || edited.bIsScene)
            return shadowTest(ref, edited);
        return true;
    case Rule::Perspective:
        return edited.bIsScene;
    }
    return false;
}

} // namespace

bool KVPropertyCatalogue::isKnownCode(int nCode)
{
    return rowFor(nCode) != nullptr;
}

bool KVPropertyCatalogue::isValidCode(int nCode)
{
    const Row *row = rowFor(nCode);
    return row && row->nOrder > 0;
}

QString KVPropertyCatalogue::shortKey(int nCode)
{
    const Row *row = rowFor(nCode);
    return row ? latin1(row->pszKey) : QString();
}

QString KVPropertyCatalogue::group(int nCode, bool bTranslated)
{
    const Row *row = rowFor(nCode);
    if (!row || !row->pszGroup)
        return QString();
    return bTranslated ? tr(row->pszGroup) : latin1(row->pszGroup);
}

QString KVPropertyCatalogue::displayName(int nCode)
{
    const Row *row = rowFor(nCode);
    return row && row->pszName ? tr(row->pszName) : QString();
}

QString KVPropertyCatalogue::secondName(int nCode)
{
    const Row *row = rowFor(nCode);
    if (!row)
        return QString();
    return latin1(row->pszSecondName ? row->pszSecondName : row->pszName);
}

QByteArray KVPropertyCatalogue::fieldName(int nCode)
{
    const Row *row = rowFor(nCode);
    return row && row->pszField ? QByteArray(row->pszField) : QByteArray();
}

KVPropertyCatalogue::UnitClass KVPropertyCatalogue::unitClass(int nCode)
{
    const Row *row = rowFor(nCode);
    return row ? row->eUnit : UnitClass::None;
}

KVPropertyCatalogue::UnitSlot KVPropertyCatalogue::unitSlot(int nCode)
{
    const Row *row = rowFor(nCode);
    return row ? row->eSlot : NoSlot;
}

KVPropertyRange KVPropertyCatalogue::range(int nCode)
{
    const Row *row = rowFor(nCode);
    return row ? KVPropertyRange{row->nMin, row->nMax} : KVPropertyRange{};
}

KVPropertyCatalogue::Holder KVPropertyCatalogue::holderKind(int nCode)
{
    const Row *row = rowFor(nCode);
    return row ? row->eHolder : Holder::None;
}

int KVPropertyCatalogue::orderOf(int nCode)
{
    const Row *row = rowFor(nCode);
    return row ? row->nOrder : 0;
}

const QList<int> &KVPropertyCatalogue::catalogueOrder()
{
    static const QList<int> order = [] {
        QList<int> list;
        list.reserve(OrderedCount);
        for (int nCode : kOrder)
            list.append(nCode);
        return list;
    }();
    return order;
}

const QStringList &KVPropertyCatalogue::orderedGroups()
{
    static const QStringList groups = [] {
        QStringList list;
        for (int nCode : kOrder) {
            const QString strGroup = group(nCode, false);
            if (!strGroup.isEmpty() && !list.contains(strGroup))
                list.append(strGroup);
        }
        return list;
    }();
    return groups;
}

int KVPropertyCatalogue::codeForShortKey(const QString &strKey)
{
    static const QHash<QString, int> codes = [] {
        QHash<QString, int> hash;
        for (const Entry &e : kEntries) {
            if (e.row.pszKey)
                hash.insert(QString::fromLatin1(e.row.pszKey), e.nCode);
        }
        return hash;
    }();
    return codes.value(strKey, -1);
}

QString KVPropertyCatalogue::fixedUnit(int nCode)
{
    const Row *row = rowFor(nCode);
    return row ? latin1(unitText(row->eUnit)) : QString();
}

QString KVPropertyCatalogue::unitForUnitCode(int nUnitCode)
{
    if (nUnitCode == 0)
        return QStringLiteral("px");
    if (nUnitCode == 1)
        return QStringLiteral("%");
    return QString();
}

double KVPropertyCatalogue::clampStoredValue(int nCode, double dValue, const QString &strUnit)
{
    const KVPropertyRange r = range(nCode);
    if (r.isUnbounded())
        return dValue;
    const double dScale = strUnit == QLatin1String("%") ? 0.01 : 1.0;
    return qBound(r.nMin * dScale, dValue, r.nMax * dScale);
}

bool KVPropertyCatalogue::isAnimatable(const KVAnimatableSubject &reference,
                                       const KVAnimatableSubject &edited, int nCode)
{
    if (!reference.bValid || !edited.bValid)
        return false;
    const Row *row = rowFor(nCode);
    if (!row)
        return false;
    if (edited.bIsScene && !row->bScene)
        return false;
    return passesRule(*row, reference, edited);
}

QString KVPropertyCatalogue::unitFor(const KVAnimatableSubject &subject, int nCode)
{
    const Row *row = rowFor(nCode);
    if (!row || !subject.bValid)
        return QString();
    if (row->eUnit != UnitClass::Length)
        return latin1(unitText(row->eUnit));
    return slotExists(subject, row->eSlot) ? unitForUnitCode(subject.unit(row->eSlot)) : QString();
}

KVPropertyCatalogue::Holder KVPropertyCatalogue::holder(const KVAnimatableSubject &subject, int nCode)
{
    const Row *row = rowFor(nCode);
    if (!row || !subject.bValid)
        return Holder::None;
    switch (row->eHolder) {
    case Holder::None:
    case Holder::Element:
        return row->eHolder;
    case Holder::Corner:
        return subject.bIsDiv && subject.bHasProperty ? Holder::Corner : Holder::None;
    case Holder::Border:
    case Holder::Fill:
    case Holder::Clip:
    case Holder::Shadow:
    case Holder::Filter:
        return subject.bHasProperty ? row->eHolder : Holder::None;
    }
    return Holder::None;
}

bool KVPropertyCatalogue::isAnimatable(const KVElement *pElement, int nCode,
                                       const KVLayoutKey &referenceLayout,
                                       const KVLayoutKey &editedLayout)
{
    if (!pElement || !rowFor(nCode))
        return false;
    return isAnimatable(KVAnimatableSubject::fromElement(pElement, referenceLayout),
                        KVAnimatableSubject::fromElement(pElement, editedLayout), nCode);
}

QString KVPropertyCatalogue::unitFor(const KVElement *pElement, int nCode, const KVLayoutKey &layout)
{
    if (!pElement || !rowFor(nCode))
        return QString();
    return unitFor(KVAnimatableSubject::fromElement(pElement, layout), nCode);
}

QObject *KVPropertyCatalogue::holder(const KVElement *pElement, int nCode, const KVLayoutKey &layout)
{
    if (!pElement)
        return nullptr;
    switch (holderKind(nCode)) {
    case Holder::None:
        return nullptr;
    case Holder::Element:
        return const_cast<KVElement *>(pElement);
    case Holder::Border:
        return pElement->border(layout);
    case Holder::Fill:
        return pElement->background(layout);
    case Holder::Corner: {
        const KVDiv *pDiv = qobject_cast<const KVDiv *>(pElement);
        return pDiv ? pDiv->corner(layout) : nullptr;
    }
    case Holder::Clip:
        return pElement->clip(layout);
    case Holder::Shadow:
        return pElement->shadow(layout);
    case Holder::Filter:
        return pElement->filter(layout);
    }
    return nullptr;
}
