#include "commands/KVElementCommandAction.h"

#include "commands/KVElementGroupActions.h"
#include "commands/KVOverrideActions.h"
#include "commands/KVShapeTextActions.h"

#include "model/KVBorder.h"
#include "model/KVElement.h"
#include "model/KVElementProperty.h"
#include "model/KVHTMLWidget.h"
#include "model/KVMedia.h"
#include "model/KVScene.h"

#include <QVariantMap>

namespace {

using P = KVCmdParam;

// The raw inherit state of a code at a layout: -1 no flag, 0 overridden, 1 inherited (flag true).
int inheritState(const KVElement *pElement, int nCode, const KVLayoutKey &layout)
{
    const KVElementProperty *pProperty = pElement->property(layout);
    if (!pProperty || !pProperty->inheritFlags().contains(nCode))
        return -1;
    return pProperty->inheritFlags().value(nCode) ? 1 : 0;
}

void setInheritState(KVElement *pElement, int nCode, int nState, const KVLayoutKey &layout)
{
    KVElementProperty *pProperty = pElement->property(layout);
    if (!pProperty)
        return;
    QMap<int, bool> flags = pProperty->inheritFlags();
    if (nState < 0)
        flags.remove(nCode);
    else
        flags.insert(nCode, nState != 0);
    pProperty->setInheritFlags(flags);
}

bool isFlagCode(int nCode)
{
    return nCode >= 0 && nCode <= KVElementProperty::LastPropertyCode;
}

} // namespace

KVElementCommandAction::KVElementCommandAction(int nType, IKVCommandTarget *pDocument,
                                               int nReservedParams, bool bSkipNextRedo)
    : KVCommandAction(nType, pDocument, nReservedParams, bSkipNextRedo)
{
}

void KVElementCommandAction::undo()
{
    redo();
}

void KVElementCommandAction::redo()
{
    if (skipNextRedo()) {
        setSkipNextRedo(false);
        return;
    }
    if (type() < FirstElementType || type() > LastElementType)
        return;
    if (!apply(true))
        qDebug("Element action of type %d with unfitting parameters ignored", type());
}

KVElement *KVElementCommandAction::element() const
{
    return param(0) ? param(0)->element() : nullptr;
}

bool KVElementCommandAction::apply(bool bForward)
{
    Q_UNUSED(bForward)
    if (!element())
        return false;
    switch (type()) {
    case Geometry:
        return applyGeometry();
    case Border:
        return applyBorder();
    case NameAndLock:
        return applyNameAndLock();
    case ClassName:
    case Display:
    case Title:
    case TabIndex:
    case Cursor:
        return applyLayoutValue();
    case AutoAdvance:
    case TransitionType:
    case TransitionDuration:
    case TransitionEasing:
    case TransitionDirection:
        return applySceneValue();
    case LockAspectRatio:
        return applyFlag();
    case MediaVolume:
    case MediaAutoplay:
    case MediaLoop:
    case MediaControls:
    case MediaPreload:
        return applyMedia();
    case WidgetSource:
        return applyWidgetSource();
    default:
        break;
    }
    if (KVShapeTextActions::handles(type()))
        return KVShapeTextActions::apply(*this);
    if (KVElementGroupActions::handles(type()))
        return KVElementGroupActions::apply(*this);
    if (type() == 1045)
        return KVOverrideActions::applyGroup(*this);
    return false;
}

bool KVElementCommandAction::isGeometryCode(int nCode)
{
    switch (nCode) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 7: case 8: case 9: case 10: case 11:
    case 12: case 13: case 14: case 15: case 83: case 84: case 85: case 86: case 87: case 88:
    case 89: case CoordinateTypeCode: case UnitXCode: case UnitYCode: case UnitWCode: case UnitHCode:
        return true;
    default:
        return false;
    }
}

bool KVElementCommandAction::isIntGeometryCode(int nCode)
{
    return nCode == 15 || nCode == CoordinateTypeCode || (nCode >= UnitXCode && nCode <= UnitHCode);
}

QVariant KVElementCommandAction::geometryValue(const KVElement *p, int nCode, const KVLayoutKey &l)
{
    switch (nCode) {
    case 0: case 1: return p->positionX(l);
    case 2: case 3: return p->positionY(l);
    case 4: return p->sizeW(l);
    case 5: return p->sizeH(l);
    case 7: return p->scaleX(l);
    case 8: return p->scaleY(l);
    case 9: return p->skewX(l);
    case 10: return p->skewY(l);
    case 11: return p->rotateZ(l);
    case 12: return p->originRatioX(l);
    case 13: return p->originRatioY(l);
    case 14: return p->opacity(l);
    case 15: return p->display(l);
    case 83: return p->originZ(l);
    case 84: return p->translateX(l);
    case 85: return p->translateY(l);
    case 86: return p->translateZ(l);
    case 87: return p->rotateX(l);
    case 88: return p->rotateY(l);
    case 89: return p->scaleZ(l);
    case CoordinateTypeCode: return p->coordinateType(l);
    case UnitXCode: return p->unitX(l);
    case UnitYCode: return p->unitY(l);
    case UnitWCode: return p->unitW(l);
    case UnitHCode: return p->unitH(l);
    default: return QVariant();
    }
}

void KVElementCommandAction::setGeometryValue(KVElement *p, int nCode, const QVariant &v,
                                              const KVLayoutKey &l)
{
    const double d = v.toDouble();
    const int n = v.toInt();
    switch (nCode) {
    case 0: case 1: p->setPositionX(d, l); break;
    case 2: case 3: p->setPositionY(d, l); break;
    case 4: p->setSizeW(d, l); break;
    case 5: p->setSizeH(d, l); break;
    case 7: p->setScaleX(d, l); break;
    case 8: p->setScaleY(d, l); break;
    case 9: p->setSkewX(d, l); break;
    case 10: p->setSkewY(d, l); break;
    case 11: p->setRotateZ(d, l); break;
    case 12: p->setOriginRatioX(d, l); break;
    case 13: p->setOriginRatioY(d, l); break;
    case 14: p->setOpacity(d, l); break;
    case 15: p->setDisplay(n, l); break;
    case 83: p->setOriginZ(d, l); break;
    case 84: p->setTranslateX(d, l); break;
    case 85: p->setTranslateY(d, l); break;
    case 86: p->setTranslateZ(d, l); break;
    case 87: p->setRotateX(d, l); break;
    case 88: p->setRotateY(d, l); break;
    case 89: p->setScaleZ(d, l); break;
    case CoordinateTypeCode: p->setCoordinateType(n, l); break;
    case UnitXCode: p->setUnitX(n, l); break;
    case UnitYCode: p->setUnitY(n, l); break;
    case UnitWCode: p->setUnitW(n, l); break;
    case UnitHCode: p->setUnitH(n, l); break;
    default: break;
    }
}

bool KVElementCommandAction::applyGeometry()
{
    if (paramCount() < 5 || !hasLeadingKinds({P::Element, P::Int, P::Int, P::Variant, P::IntList}, 5, 5 + 200))
        return false;
    const QList<int> codes = param(4)->toIntList();
    if (paramCount() != codes.size() + 5)
        return false;
    for (int i = 0; i < codes.size(); ++i) {
        const int nCode = codes.at(i);
        if (!isGeometryCode(nCode) || param(5 + i)->kind() != (isIntGeometryCode(nCode) ? P::Int : P::Double))
            return false;
    }
    KVElement *pElement = element();
    const KVLayoutKey layout(param(1)->toInt(), param(2)->toInt());
    if (!pElement->property(layout))
        return false;

    // Override states first: the values then land where the flags say they belong.
    if (!layout.isBase()) {
        const QVariant states = param(3)->value();
        QVariantMap mapOld;
        for (int nCode : codes) {
            if (!isFlagCode(nCode))
                continue;
            mapOld.insert(QString::number(nCode), inheritState(pElement, nCode, layout));
            if (states.isValid()) {
                const QVariantMap map = states.toMap();
                setInheritState(pElement, nCode, map.value(QString::number(nCode), -1).toInt(), layout);
            } else {
                setInheritState(pElement, nCode, 0, layout);
            }
        }
        param(3)->setValue(mapOld);
    }
    for (int i = 0; i < codes.size(); ++i) {
        KVCmdParam *pValue = param(5 + i);
        const QVariant old = geometryValue(pElement, codes.at(i), layout);
        setGeometryValue(pElement, codes.at(i), pValue->value(), layout);
        pValue->setValue(old);
    }
    return true;
}

// 1001: element, width, style, ARGB colour, inherited (codes 45, 16, 17), h, v.
bool KVElementCommandAction::applyBorder()
{
    if (!hasKinds({P::Element, P::Int, P::Int, P::Int, P::Bool, P::Int, P::Int}))
        return false;
    KVElement *pElement = element();
    const KVLayoutKey layout(param(5)->toInt(), param(6)->toInt());
    KVBorder *pBorder = pElement->border(layout);
    if (!pBorder)
        return false;
    const int nWidth = pBorder->width();
    const int nStyle = pBorder->style();
    const int nColor = int(pBorder->borderColor().rgba());
    pBorder->setWidth(param(1)->toInt());
    pBorder->setStyle(param(2)->toInt());
    pBorder->setBorderColor(QColor::fromRgba(QRgb(param(3)->toInt())));
    param(1)->setValue(nWidth);
    param(2)->setValue(nStyle);
    param(3)->setValue(nColor);
    if (!layout.isBase()) {
        const bool bOld = pElement->isInherited(16, layout);
        for (int nCode : {45, 16, 17})
            pElement->setInherited(nCode, param(4)->toBool(), layout);
        param(4)->setValue(bOld);
    }
    return true;
}

// 1007: element, {"name": text, "locked": flag, "visible": flag}; only the keys present change, and the values
// before are written back under the same keys.
bool KVElementCommandAction::applyNameAndLock()
{
    if (!hasKinds({P::Element, P::JsonObject}))
        return false;
    KVElement *pElement = element();
    const QJsonObject jo = param(1)->toJsonObject();
    QJsonObject joOld;
    if (jo.value(QStringLiteral("name")).isString()) {
        joOld.insert(QStringLiteral("name"), pElement->name());
        pElement->setName(jo.value(QStringLiteral("name")).toString());
    }
    if (jo.value(QStringLiteral("locked")).isBool()) {
        joOld.insert(QStringLiteral("locked"), pElement->isLocked());
        pElement->setLocked(jo.value(QStringLiteral("locked")).toBool());
    }
    if (jo.value(QStringLiteral("visible")).isBool()) {
        joOld.insert(QStringLiteral("visible"), pElement->isVisible());
        pElement->setVisible(jo.value(QStringLiteral("visible")).toBool());
    }
    param(1)->setValue(joOld);
    return true;
}

// 1010, 1011, 1014, 1015, 1016: element, value, inherited, h, v.
bool KVElementCommandAction::applyLayoutValue()
{
    const bool bString = type() == ClassName || type() == Title || type() == Cursor;
    if (!hasKinds({P::Element, bString ? P::String : P::Int, P::Bool, P::Int, P::Int}))
        return false;
    KVElement *pElement = element();
    const KVLayoutKey layout(param(3)->toInt(), param(4)->toInt());
    if (!pElement->property(layout))
        return false;
    int nCode = 0;
    QVariant old;
    const QVariant value = param(1)->value();
    switch (type()) {
    case ClassName:
        nCode = 59;
        old = pElement->className(layout);
        pElement->setClassName(value.toString(), layout);
        break;
    case Display:
        nCode = 15;
        old = pElement->display(layout);
        pElement->setDisplay(value.toInt(), layout);
        break;
    case Title:
        nCode = 43;
        old = pElement->title(layout);
        pElement->setTitle(value.toString(), layout);
        break;
    case TabIndex:
        nCode = 44;
        old = pElement->tabIndex(layout);
        pElement->setTabIndex(value.toInt(), layout);
        break;
    default:
        nCode = 42;
        old = pElement->cursor(layout);
        pElement->setCursor(value.toString(), layout);
        break;
    }
    param(1)->setValue(old);
    if (!layout.isBase()) {
        const bool bOld = pElement->isInherited(nCode, layout);
        pElement->setInherited(nCode, param(2)->toBool(), layout);
        param(2)->setValue(bOld);
    }
    return true;
}

// 1013 (flag) and 1027-1030 (ints): the scene, then the value.
bool KVElementCommandAction::applySceneValue()
{
    const bool bFlag = type() == AutoAdvance;
    if (!hasKinds({P::Element, bFlag ? P::Bool : P::Int}))
        return false;
    auto *pScene = qobject_cast<KVScene *>(element());
    if (!pScene)
        return false;
    KVCmdParam *pValue = param(1);
    switch (type()) {
    case AutoAdvance: {
        const bool bOld = pScene->autoAdvance();
        pScene->setAutoAdvance(pValue->toBool());
        pValue->setValue(bOld);
        break;
    }
    case TransitionType: {
        const int nOld = pScene->transitionType();
        pScene->setTransitionType(pValue->toInt());
        pValue->setValue(nOld);
        break;
    }
    case TransitionDuration: {
        const int nOld = pScene->transitionDuration();
        pScene->setTransitionDuration(pValue->toInt());
        pValue->setValue(nOld);
        break;
    }
    case TransitionEasing: {
        const int nOld = pScene->transitionEasing();
        pScene->setTransitionEasing(pValue->toInt());
        pValue->setValue(nOld);
        break;
    }
    default: {
        const int nOld = pScene->transitionDirection();
        pScene->setTransitionDirection(pValue->toInt());
        pValue->setValue(nOld);
        break;
    }
    }
    return true;
}

// 1035: element, flag.
bool KVElementCommandAction::applyFlag()
{
    if (!hasKinds({P::Element, P::Bool}))
        return false;
    KVElement *pElement = element();
    const bool bOld = pElement->isAspectRatioLocked();
    pElement->setAspectRatioLocked(param(1)->toBool());
    param(1)->setValue(bOld);
    return true;
}

bool KVElementCommandAction::applyMedia()
{
    const bool bVolume = type() == MediaVolume;
    if (!hasKinds({P::Element, bVolume ? P::Double : P::Bool}))
        return false;
    auto *pMedia = qobject_cast<KVMedia *>(element());
    if (!pMedia)
        return false;
    KVCmdParam *pValue = param(1);
    if (bVolume) {
        const double dOld = pMedia->volume();
        pMedia->setVolume(qBound(0.0, pValue->toDouble(), 1.0));
        pValue->setValue(dOld);
        return true;
    }
    const bool b = pValue->toBool();
    bool bOld = false;
    switch (type()) {
    case MediaAutoplay:
        bOld = pMedia->autoplay();
        pMedia->setAutoplay(b);
        break;
    case MediaLoop:
        bOld = pMedia->loop();
        pMedia->setLoop(b);
        break;
    case MediaControls:
        bOld = pMedia->controls();
        pMedia->setControls(b);
        break;
    default:
        bOld = pMedia->preload();
        pMedia->setPreload(b);
        break;
    }
    pValue->setValue(bOld);
    return true;
}

bool KVElementCommandAction::applyWidgetSource()
{
    if (!hasKinds({P::Element, P::String}))
        return false;
    auto *pWidget = qobject_cast<KVHTMLWidget *>(element());
    if (!pWidget)
        return false;
    const QString strOld = pWidget->srcdoc();
    pWidget->setSrcdoc(param(1)->toString());
    param(1)->setValue(strOld);
    return true;
}
