#include "ui/inspector/KVFieldSpec.h"

#include "animation/KVPropertyCatalogue.h"
#include "commands/KVPropertyGroup.h"

namespace {

using G = KVPropertyGroup;
using Cat = KVPropertyCatalogue;

// A row of a catalogue property: label, range and unit from the catalogue ("%" values are kept as
// fractions and shown in percent).
KVFieldSpec coded(KVFieldSpec::Widget eWidget, KVFieldSpec::Target eTarget, int nCode, int nGroup, int nField,
                  const QString &strText)
{
    KVFieldSpec f;
    f.eWidget = eWidget;
    f.eTarget = eTarget;
    f.nCode = nCode;
    f.nGroup = nGroup;
    f.nField = nField;
    f.strLabel = Cat::displayName(nCode);
    f.strText = strText;
    const KVPropertyRange range = Cat::range(nCode);
    f.dMin = range.isUnbounded() ? -10000 : range.nMin;
    f.dMax = range.isUnbounded() ? 10000 : range.nMax;
    switch (Cat::unitClass(nCode)) {
    case Cat::UnitClass::Percent:
        f.dScale = 100;
        f.strSuffix = QStringLiteral(" %");
        break;
    case Cat::UnitClass::Degrees:
        f.strSuffix = QStringLiteral(" deg");
        break;
    case Cat::UnitClass::Pixels:
    case Cat::UnitClass::Length:
        f.strSuffix = QStringLiteral(" px");
        break;
    default:
        break;
    }
    return f;
}

// A catalogue property held by a group.
KVFieldSpec grouped(KVFieldSpec::Widget eWidget, int nCode, const QString &strText)
{
    int nGroup = 0, nField = 0;
    G::fieldOf(nCode, nGroup, nField);
    return coded(eWidget, KVFieldSpec::Group, nCode, nGroup, nField, strText);
}

KVFieldSpec geometry(int nCode, const QString &strText, KVFieldSpec::Widget eWidget = KVFieldSpec::Number)
{
    return coded(eWidget, KVFieldSpec::Geometry, nCode, 1000, nCode, strText);
}

// A value without a catalogue code.
KVFieldSpec plain(KVFieldSpec::Widget eWidget, KVFieldSpec::Target eTarget, int nGroup, int nField,
                  const QString &strLabel, const QString &strText, const QStringList &choices = {})
{
    KVFieldSpec f;
    f.eWidget = eWidget;
    f.eTarget = eTarget;
    f.nGroup = nGroup;
    f.nField = nField;
    f.strLabel = strLabel;
    f.strText = strText;
    f.choices = choices;
    return f;
}

} // namespace

QList<KVFieldSpec> KVFieldSpec::forPage(int nPageId)
{
    const auto T = [](const char *psz) { return tr(psz); };
    const Widget N = Number, S = Slider, C = Color;
    const QStringList units{T("px"), T("%")};
    switch (nPageId) {
    case 3:
        return {geometry(Cat::Opacity, T("Change Opacity"), S)};
    case 4:
        return {geometry(Cat::Left, T("Change Geometry")), geometry(Cat::Top, T("Change Geometry")),
                geometry(Cat::Width, T("Change Geometry")), geometry(Cat::Height, T("Change Geometry")),
                plain(Choice, Geometry, 1000, 102, T("Width Unit"), T("Change Width Unit"), units),
                plain(Choice, Geometry, 1000, 103, T("Height Unit"), T("Change Height Unit"), units)};
    case 5: {
        QList<KVFieldSpec> list;
        for (int nCode : {Cat::RotateZ, Cat::ScaleX, Cat::ScaleY, Cat::SkewX, Cat::SkewY, Cat::OriginX,
                          Cat::OriginY, Cat::RotateX, Cat::RotateY, Cat::TranslateZ, Cat::ScaleZ, Cat::OriginZ})
            list.append(geometry(nCode, T("Change Geometry")));
        return list;
    }
    case 6:
        return {plain(Choice, Group, G::Fill, G::FillStyle, T("Fill"), T("Change Fill Style"),
                      {T("None"), T("Solid Color"), T("Gradient"), T("Image")}),
                grouped(C, Cat::BackgroundColor, T("Change Background Solid Color")),
                plain(Choice, Group, G::Fill, G::FillGradientType, T("Gradient"), T("Change Gradient Shape"),
                      {T("Linear"), T("Radial")}),
                plain(Stops, Group, G::Fill, G::FillStops, T("Stops"), T("Change Gradient Stops")),
                grouped(N, Cat::GradientAngle, T("Change Gradient Angle")),
                grouped(N, Cat::GradientOriginX, T("Change Gradient Center")),
                grouped(N, Cat::GradientOriginY, T("Change Gradient Center")),
                plain(Choice, Group, G::Fill, G::FillRadialShape, T("Radial Shape"), T("Change Gradient Shape"),
                      {T("Circle"), T("Ellipse")}),
                plain(Choice, Group, G::Fill, G::FillRadialSize, T("Radial Size"), T("Change Gradient Size Param"),
                      {T("Closest Side"), T("Farthest Side"), T("Closest Corner"), T("Farthest Corner")}),
                plain(Choice, Group, G::Fill, G::FillImageMode, T("Image Mode"), T("Change Background Image Type"),
                      {T("Stretch"), T("Center"), T("Fit"), T("Tile"), T("Fill")})};
    case 1:
        return {plain(Choice, Group, G::Border, G::BorderStyle, T("Style"), T("Change Border Style"),
                      {T("None"), T("Solid"), T("Dotted"), T("Dashed")}),
                grouped(N, Cat::BorderWidth, T("Change Border Width")),
                grouped(C, Cat::BorderColor, T("Change Border Color"))};
    case 13: {
        QList<KVFieldSpec> list;
        for (int nCode : {Cat::TopLeftRadius, Cat::TopRightRadius, Cat::BottomLeftRadius, Cat::BottomRightRadius})
            list.append(grouped(N, nCode, T("Change Corner")));
        const char *const units4[] = {QT_TR_NOOP("Change Top-Left Corner Unit"), QT_TR_NOOP("Change Top-Right Corner Unit"),
                                      QT_TR_NOOP("Change Bottom-Left Corner Unit"),
                                      QT_TR_NOOP("Change Bottom-Right Corner Unit")};
        const char *const labels[] = {QT_TR_NOOP("Top Left Unit"), QT_TR_NOOP("Top Right Unit"),
                                      QT_TR_NOOP("Bottom Left Unit"), QT_TR_NOOP("Bottom Right Unit")};
        for (int i = 0; i < 4; ++i)
            list.append(plain(Choice, Group, G::Corners, G::CornerUnitTopLeft + i, T(labels[i]), T(units4[i]), units));
        return list;
    }
    case 16:
        return {plain(Choice, Group, G::Shadow, G::ShadowStyle, T("Shadow"), T("Change Shadow Style"),
                      {T("None"), T("Drop Shadow")}),
                grouped(N, Cat::ShadowBlurRadius, T("Change Shadow Blur Radius")),
                grouped(N, Cat::ShadowAngle, T("Change Shadow Angle")),
                grouped(N, Cat::ShadowDistance, T("Change Shadow Distance")),
                grouped(C, Cat::ShadowColor, T("Change Shadow Color"))};
    case 17:
        return {grouped(S, Cat::InvertFilter, T("Change Invert")), grouped(S, Cat::HueFilter, T("Change Hue")),
                grouped(S, Cat::ContrastFilter, T("Change Contrast")),
                grouped(S, Cat::BrightnessFilter, T("Change Brightness")),
                grouped(S, Cat::SaturateFilter, T("Change Saturate")), grouped(S, Cat::SepiaFilter, T("Change Sepia")),
                grouped(S, Cat::GrayscaleFilter, T("Change Grayscale")), grouped(S, Cat::BlurFilter, T("Change Blur"))};
    case 15:
        return {plain(Choice, Group, G::Clip, G::ClipStyle, T("Clip"), T("Change Clipping Style"),
                      {T("None"), T("Rectangle"), T("Circle"), T("Oval")}),
                grouped(N, Cat::ClipRectTop, T("Update Clipping")), grouped(N, Cat::ClipRectRight, T("Update Clipping")),
                grouped(N, Cat::ClipRectBottom, T("Update Clipping")), grouped(N, Cat::ClipRectLeft, T("Update Clipping")),
                grouped(N, Cat::ClipOvalVertex, T("Update Clipping")),
                grouped(N, Cat::ClipOvalCoVertex, T("Update Clipping")),
                grouped(N, Cat::ClipCircleRadius, T("Update Clipping"))};
    case 9: {
        // The alignments are kept as the toolkit's alignment flags.
        KVFieldSpec alignH = plain(Choice, Group, G::Text, G::TextAlignH, T("Alignment"), T("Change Text Alignment"),
                                   {T("Left"), T("Center"), T("Right"), T("Justify")});
        alignH.choiceValues = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
        KVFieldSpec alignV = plain(Choice, Group, G::Text, G::TextAlignV, T("Vertical Alignment"),
                                   T("Change Text Vertical Alignment"), {T("Top"), T("Middle"), T("Bottom")});
        alignV.choiceValues = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
        return {plain(Font, Group, G::Text, G::TextFamily, T("Font"), T("Change Font Family")),
                grouped(N, Cat::FontSize, T("Change Font Size")),
                plain(Check, Group, G::Text, G::TextBold, T("Bold"), T("Bold")),
                plain(Check, Group, G::Text, G::TextItalic, T("Italic"), T("Italic")),
                plain(Check, Group, G::Text, G::TextUnderline, T("Underline"), T("Underline")),
                plain(Check, Group, G::Text, G::TextStrikeout, T("Strikethrough"), T("Strikethrough")),
                grouped(C, Cat::TextColor, T("Change Text Color")),
                grouped(C, Cat::HighlightColor, T("Change Highlight Color")),
                alignH, alignV,
                grouped(N, Cat::LetterSpacing, T("Change Letter Spacing")),
                grouped(N, Cat::WordSpacing, T("Change Word Spacing")),
                grouped(N, Cat::LineHeight, T("Change Line Height")),
                grouped(N, Cat::TextIndent, T("Change Text Indent"))};
    }
    case 7: {
        QList<KVFieldSpec> list;
        for (int nCode : {Cat::BackgroundX, Cat::BackgroundY, Cat::BackgroundWidth, Cat::BackgroundHeight})
            list.append(grouped(N, nCode, T("Change Background Image %1").arg(QStringList{"X", "Y", "Width", "Height"}.at(nCode - Cat::BackgroundX))));
        const QStringList units3{T("px"), T("%"), T("auto")};
        const char *const unitTexts[] = {QT_TR_NOOP("Change Background Image X Unit"), QT_TR_NOOP("Change Background Image Y Unit"),
                                         QT_TR_NOOP("Change Background Image W Unit"), QT_TR_NOOP("Change Background Image H Unit")};
        const char *const unitLabels[] = {QT_TR_NOOP("X Unit"), QT_TR_NOOP("Y Unit"), QT_TR_NOOP("Width Unit"), QT_TR_NOOP("Height Unit")};
        for (int i = 0; i < 4; ++i)
            list.append(plain(Choice, Group, G::ImagePlace, G::ImageUnitX + i, T(unitLabels[i]), T(unitTexts[i]), i < 2 ? units : units3));
        return list;
    }
    case 8:
        return {plain(Check, ElementValue, 1022, 0, T("Autoplay"), T("Change Autoplay")),
                plain(Check, ElementValue, 1023, 0, T("Loop"), T("Change Loop")),
                plain(Check, ElementValue, 1024, 0, T("Controls"), T("Change Controls"))};
    case 14:
        return {plain(Code, ElementValue, 1033, 0, T("HTML"), T("Change HTML Widget Source"))};
    case 10:
        return {plain(Check, ElementValue, 1013, 0, T("Auto-Advance"), T("Change Auto-Advance"))};
    case 12:
        return {plain(Number, ElementValue, 1028, 0, T("Duration"), T("Change Transition Duration"))};
    default:
        return {};
    }
}

QList<int> KVFieldSpec::updateTypes(int nPageId)
{
    switch (nPageId) {
    case 3: return {1000, 1003, 1007, 1010, 1011, 1012, 1014, 1015, 1016, 1036};
    case 4: return {9, 10, 11, 1000, 1035};
    case 5: return {1000};
    case 10: return {1000, 1007, 1012, 1013, 1035};
    case 18: return {1045};
    case 12: return {1027, 1028, 1029, 1030};
    case 7: return {1, 1017, 1018, 1019};
    case 8: return {1, 1020, 1021, 1022, 1023, 1024, 1025, 1026};
    case 14: return {1032, 1033};
    case 9: return {39, 40, 51, 53, 1008, 1012};
    case 6: return {1002};
    case 1: return {1001, 1039};
    case 13: return {1031, 1003};
    case 16: return {1043};
    case 17: return {1044};
    case 15: return {1042};
    default: return {};
    }
}

bool KVFieldSpec::appliesTo(const QVariantList &v) const
{
    if (eTarget != Group || v.isEmpty())
        return true;
    const int nStyle = v.first().toInt();
    switch (nGroup) {
    case G::Fill:
        switch (nField) {
        case G::FillSolidColor:
            return nStyle == 1;
        case G::FillGradientType:
        case G::FillStops:
            return nStyle == 2;
        case G::FillAngle:
            return nStyle == 2 && v.at(G::FillGradientType).toInt() == 0;
        case G::FillOriginX:
        case G::FillOriginY:
        case G::FillRadialShape:
        case G::FillRadialSize:
            return nStyle == 2 && v.at(G::FillGradientType).toInt() == 1;
        case G::FillImageMode:
            return nStyle == 3;
        default:
            return true;
        }
    case G::Border:
        return nField == G::BorderStyle || v.at(G::BorderStyle).toInt() != 0;
    case G::Shadow:
        return nField == G::ShadowStyle || nStyle != 0;
    case G::Clip:
        if (nField >= G::ClipTop && nField <= G::ClipUnitLeft)
            return nStyle == 1;
        if (nField >= G::ClipOvalVertex && nField <= G::ClipUnitOvalCoVertex)
            return nStyle == 3;
        if (nField >= G::ClipCircleRadius)
            return nStyle == 2;
        return true;
    default:
        return true;
    }
}
