#include "commands/KVShapeTextActions.h"

#include "model/KVAutoShapeCatalogue.h"

#include "commands/KVElementCommandAction.h"
#include "model/KVAutoShape.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"

#include <QJsonArray>

namespace {

using P = KVCmdParam;

// The property codes that gate a text box's "txt" and a shape's "s".
const QList<int> &textCodes()
{
    static const QList<int> codes{61, 51, 25, 23, 24, 52, 53, 54, 55, 56, 57, 26, 27, 28, 29};
    return codes;
}

// Gives every code the inherit flag of the parameter and writes the flag before back (the first
// code stands for the group). Nothing at the base layout, which never overrides.
void exchangeInherit(KVElement *pElement, KVCmdParam *pFlag, const QList<int> &codes,
                     const KVLayoutKey &layout)
{
    if (layout.isBase() || codes.isEmpty())
        return;
    const bool bOld = pElement->isInherited(codes.first(), layout);
    for (int nCode : codes)
        pElement->setInherited(nCode, pFlag->toBool(), layout);
    pFlag->setValue(bOld);
}

bool applyText(KVElementCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::String, P::String, P::Int, P::Int, P::Int, P::Bool, P::Bool, P::Bool,
                     P::Bool, P::Int, P::Int, P::Double, P::Int, P::Int, P::Int, P::Bool, P::Int, P::Int})) {
        return false;
    }
    auto *pText = qobject_cast<KVText *>(a.element());
    const KVLayoutKey layout(a.param(17)->toInt(), a.param(18)->toInt());
    KVTextProperty *p = pText ? pText->textProperty(layout) : nullptr;
    if (!p)
        return false;
    const QVariantList old{p->innerHtml(), p->fontFamily(), p->fontSize(), int(p->foreground().rgba()),
                           int(p->highlight().rgba()), p->isBold(), p->isItalic(), p->isUnderline(),
                           p->isStrikeout(), p->alignH(), p->alignV(), p->lineHeight(), p->textIndent(),
                           p->wordSpace(), p->letterSpace()};
    p->setInnerHtml(a.param(1)->toString());
    p->setFontFamily(a.param(2)->toString());
    p->setFontSize(a.param(3)->toInt());
    p->setForeground(QColor::fromRgba(QRgb(a.param(4)->toInt())));
    p->setHighlight(QColor::fromRgba(QRgb(a.param(5)->toInt())));
    p->setBold(a.param(6)->toBool());
    p->setItalic(a.param(7)->toBool());
    p->setUnderline(a.param(8)->toBool());
    p->setStrikeout(a.param(9)->toBool());
    p->setAlignH(a.param(10)->toInt());
    p->setAlignV(a.param(11)->toInt());
    p->setLineHeight(a.param(12)->toDouble());
    p->setTextIndent(a.param(13)->toInt());
    p->setWordSpace(a.param(14)->toInt());
    p->setLetterSpace(a.param(15)->toInt());
    for (int i = 0; i < old.size(); ++i)
        a.param(1 + i)->setValue(old.at(i));
    exchangeInherit(pText, a.param(16), textCodes(), layout);
    return true;
}

bool applyAdjustments(KVElementCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::JsonArray, P::Bool, P::Int, P::Int}))
        return false;
    auto *pShape = qobject_cast<KVAutoShape *>(a.element());
    const KVLayoutKey layout(a.param(3)->toInt(), a.param(4)->toInt());
    if (!pShape || !pShape->shapeProperty(layout))
        return false;
    QList<double> values;
    for (const QJsonValue &jv : a.param(1)->toJsonArray()) {
        if (!jv.isDouble())
            return false;
        values.append(jv.toDouble());
    }
    QJsonArray jaOld;
    for (double d : pShape->adjustments(layout))
        jaOld.append(d);
    pShape->setAdjustments(values, layout);
    a.param(1)->setValue(jaOld);
    exchangeInherit(pShape, a.param(2), {58}, layout);
    return true;
}

// The outline from its project form; false when the object is not one.
bool readPath(const QJsonObject &jo, KVBezierPath &path)
{
    if (!jo.value(QStringLiteral("points")).isArray())
        return false;
    path.fromJson(jo);
    return true;
}

bool exchangeOutline(KVElementCommandAction &a, const KVLayoutKey &layout)
{
    auto *pShape = qobject_cast<KVFreeFormShape *>(a.element());
    KVFreeFormShapeProperty *p = pShape ? pShape->freeFormProperty(layout) : nullptr;
    KVBezierPath path;
    const QJsonObject joNew = a.param(1)->toJsonObject();
    if (!p || !readPath(joNew, path))
        return false;
    QJsonObject joOld;
    p->path().toJson(joOld);
    p->setPath(path);
    // Opening or closing the outline makes the shape an open or a closed free form; the undo
    // gives it its own kind back.
    const int nOldType = pShape->shapeType(layout);
    int nNewType = nOldType;
    if (joNew.value(QStringLiteral("shapeType")).isDouble())
        nNewType = joNew.value(QStringLiteral("shapeType")).toInt();
    else if (joNew.value(QStringLiteral("open")).isBool())
        nNewType = joNew.value(QStringLiteral("open")).toBool() ? KVAutoShapeCatalogue::FreeformScribble
                                                               : KVAutoShapeCatalogue::FreeformShape;
    if (nNewType != nOldType && KVAutoShapeCatalogue::isOpenFreeform(nNewType) != KVAutoShapeCatalogue::isOpenFreeform(nOldType)) {
        pShape->setShapeType(nNewType, layout);
        joOld.insert(QStringLiteral("shapeType"), nOldType);
    }
    a.param(1)->setValue(joOld);
    return true;
}

bool applyOutline(KVElementCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::JsonObject, P::Bool, P::Int, P::Int}))
        return false;
    const KVLayoutKey layout(a.param(3)->toInt(), a.param(4)->toInt());
    if (!exchangeOutline(a, layout))
        return false;
    exchangeInherit(a.element(), a.param(2), {60}, layout);
    return true;
}

bool applyReplacedOutline(KVElementCommandAction &a)
{
    return a.hasKinds({P::Element, P::JsonObject}) && exchangeOutline(a, KVLayoutKey::current());
}

bool applyArrows(KVElementCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::Int, P::Int, P::Int, P::Int}))
        return false;
    auto *pShape = qobject_cast<KVFreeFormShape *>(a.element());
    KVFreeFormShapeProperty *p = pShape ? pShape->freeFormProperty() : nullptr;
    if (!p)
        return false;
    const KVArrowSettings old = p->arrows();
    KVArrowSettings arrows;
    arrows.nStartType = a.param(1)->toInt();
    arrows.nStartSize = a.param(2)->toInt();
    arrows.nEndType = a.param(3)->toInt();
    arrows.nEndSize = a.param(4)->toInt();
    if (arrows.nStartType < KVArrowSettings::None || arrows.nStartType > KVArrowSettings::Oval
        || arrows.nEndType < KVArrowSettings::None || arrows.nEndType > KVArrowSettings::Oval) {
        return false;
    }
    p->setArrows(arrows);
    a.param(1)->setValue(old.nStartType);
    a.param(2)->setValue(old.nStartSize);
    a.param(3)->setValue(old.nEndType);
    a.param(4)->setValue(old.nEndSize);
    return true;
}

} // namespace

bool KVShapeTextActions::handles(int nType)
{
    return nType == 1008 || nType == 1009 || (nType >= 1037 && nType <= 1039);
}

bool KVShapeTextActions::apply(KVElementCommandAction &a)
{
    switch (a.type()) {
    case 1008: return applyText(a);
    case 1009: return applyAdjustments(a);
    case 1037: return applyOutline(a);
    case 1038: return applyReplacedOutline(a);
    case 1039: return applyArrows(a);
    default: return false;
    }
}
