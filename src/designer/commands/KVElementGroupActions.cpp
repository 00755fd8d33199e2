#include "commands/KVElementGroupActions.h"

#include "animation/KVPropertyCatalogue.h"
#include "commands/IKVCommandTarget.h"
#include "commands/KVElementCommandAction.h"
#include "document/KVSymbol.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVFilterEffect.h"
#include "model/KVHTMLWidget.h"
#include "model/KVImage.h"
#include "model/KVMedia.h"
#include "model/KVShadow.h"
#include "resources/KVResourceManager.h"

#include <QJsonObject>
#include <QVariantMap>

#include <functional>

namespace {

using P = KVCmdParam;

// One value of a group: its parameter kind and how to read and write it.
struct Field
{
    int nKind;
    std::function<QVariant()> get;
    std::function<void(const QVariant &)> set;
};

Field intField(std::function<int()> get, std::function<void(int)> set)
{
    return {P::Int, [get] { return QVariant(get()); }, [set](const QVariant &v) { set(v.toInt()); }};
}

Field doubleField(std::function<double()> get, std::function<void(double)> set)
{
    return {P::Double, [get] { return QVariant(get()); }, [set](const QVariant &v) { set(v.toDouble()); }};
}

Field colorField(std::function<QColor()> get, std::function<void(const QColor &)> set)
{
    return {P::Int, [get] { return QVariant(int(get().rgba())); },
            [set](const QVariant &v) { set(QColor::fromRgba(QRgb(v.toInt()))); }};
}

// The layout key at the end of a group action (h, v as its last two parameters).
KVLayoutKey tailLayout(const KVElementCommandAction &a)
{
    const int n = a.paramCount();
    return KVLayoutKey(a.param(n - 2)->toInt(), a.param(n - 1)->toInt());
}

// element, the fields, inherited [4], h, v: kinds as listed.
bool fitsGroup(const KVElementCommandAction &a, const QList<Field> &fields)
{
    if (a.paramCount() != fields.size() + 4 || a.param(0)->kind() != P::Element)
        return false;
    for (int i = 0; i < fields.size(); ++i) {
        if (a.param(1 + i)->kind() != fields.at(i).nKind)
            return false;
    }
    const int n = a.paramCount();
    return a.param(n - 3)->kind() == P::Bool && a.param(n - 2)->kind() == P::Int && a.param(n - 1)->kind() == P::Int;
}

// Writes the values, writes back those before, and exchanges the group's inherit flags.
void exchange(KVElementCommandAction &a, const QList<Field> &fields, const QList<int> &codes)
{
    QVariantList old;
    for (const Field &f : fields)
        old.append(f.get());
    for (int i = 0; i < fields.size(); ++i)
        fields.at(i).set(a.param(1 + i)->value());
    for (int i = 0; i < fields.size(); ++i)
        a.param(1 + i)->setValue(old.at(i));
    const KVLayoutKey layout = tailLayout(a);
    if (layout.isBase() || codes.isEmpty())
        return;
    KVElement *pElement = a.element();
    KVCmdParam *pFlag = a.param(a.paramCount() - 3);
    const bool bOld = pElement->isInherited(codes.first(), layout);
    for (int nCode : codes)
        pElement->setInherited(nCode, pFlag->toBool(), layout);
    pFlag->setValue(bOld);
}

QJsonArray stopsJson(const QGradientStops &stops)
{
    QJsonArray ja;
    for (const QGradientStop &stop : stops)
        ja.append(QJsonArray{stop.first, int(stop.second.rgba())});
    return ja;
}

bool stopsFrom(const QJsonArray &ja, QGradientStops &stops)
{
    for (const QJsonValue &jv : ja) {
        const QJsonArray jaStop = jv.toArray();
        if (jaStop.size() != 2 || !jaStop.at(0).isDouble() || !jaStop.at(1).isDouble())
            return false;
        stops.append({jaStop.at(0).toDouble(), QColor::fromRgba(QRgb(jaStop.at(1).toInt()))});
    }
    return true;
}

QList<int> codeRange(int nFirst, int nLast)
{
    QList<int> codes;
    for (int n = nFirst; n <= nLast; ++n)
        codes.append(n);
    return codes;
}

bool applyFill(KVElementCommandAction &a)
{
    if (a.paramCount() != 16)
        return false;
    KVBackground *p = a.element()->background(tailLayout(a));
    if (!p)
        return false;
    QList<Field> fields{
        intField([p] { return p->fillStyle(); }, [p](int n) { p->setFillStyle(n); }),
        intField([p] { return p->gradientType(); }, [p](int n) { p->setGradientType(n); }),
        intField([p] { return p->imageResourceId(); }, [p](int n) { p->setImageResourceId(n); }),
        colorField([p] { return p->solidColor(); }, [p](const QColor &cl) { p->setSolidColor(cl); }),
        {P::JsonArray, [p] { return QVariant(stopsJson(p->gradientStops())); },
         [p](const QVariant &v) {
             QGradientStops stops;
             stopsFrom(v.toJsonArray(), stops);
             p->setGradientStops(stops);
         }},
        intField([p] { return p->linearGradientAngle(); }, [p](int n) { p->setLinearGradientAngle(n); }),
        doubleField([p] { return p->radialOriginX(); }, [p](double d) { p->setRadialOriginX(d); }),
        doubleField([p] { return p->radialOriginY(); }, [p](double d) { p->setRadialOriginY(d); }),
        doubleField([p] { return p->radialRadius(); }, [p](double d) { p->setRadialRadius(d); }),
        intField([p] { return p->radialSize(); }, [p](int n) { p->setRadialSize(n); }),
        intField([p] { return p->radialShape(); }, [p](int n) { p->setRadialShape(n); }),
        intField([p] { return p->imageFillType(); }, [p](int n) { p->setImageFillType(n); }),
    };
    QGradientStops stops;
    if (!fitsGroup(a, fields) || !stopsFrom(a.param(5)->toJsonArray(), stops))
        return false;
    // An image the document does not know is refused before anything changes.
    const int nImage = a.param(3)->toInt();
    if (nImage >= 0 && (!p->imageUseCounter() || !p->imageUseCounter()->hasImage(nImage)))
        return false;
    // The image goes before the style, so that entering the image style takes the new image's count.
    std::swap(fields[0], fields[2]);
    KVCmdParam *pStyle = a.param(1);
    KVCmdParam *pImage = a.param(3);
    const QVariant style = pStyle->value();
    const QVariant image = pImage->value();
    pStyle->setValue(image);
    pImage->setValue(style);
    exchange(a, fields, {50, 18, 19, 20, 21, 22});
    // Back into the parameter order (style, ..., image).
    const QVariant oldImage = pStyle->value();
    pStyle->setValue(pImage->value());
    pImage->setValue(oldImage);
    return true;
}

bool applyCornerGroup(KVElementCommandAction &a)
{
    auto *pDiv = qobject_cast<KVDiv *>(a.element());
    KVCorner *p = pDiv && a.paramCount() == 5 ? pDiv->corner(tailLayout(a)) : nullptr;
    if (!p)
        return false;
    const QList<Field> fields{{P::JsonObject,
                               [p] {
                                   QJsonObject jo;
                                   p->toJson(jo);
                                   return QVariant(jo);
                               },
                               [p](const QVariant &v) { p->fromJson(v.toJsonObject()); }}};
    if (!fitsGroup(a, fields) || a.param(1)->toJsonObject().isEmpty())
        return false;
    exchange(a, fields, {35, 36, 37, 38});
    return true;
}

bool applyCorners(KVElementCommandAction &a)
{
    auto *pDiv = qobject_cast<KVDiv *>(a.element());
    KVCorner *p = pDiv && a.paramCount() == 12 ? pDiv->corner(tailLayout(a)) : nullptr;
    if (!p)
        return false;
    const QList<Field> fields{
        doubleField([p] { return p->topLeft(); }, [p](double d) { p->setTopLeft(d); }),
        doubleField([p] { return p->topRight(); }, [p](double d) { p->setTopRight(d); }),
        doubleField([p] { return p->bottomLeft(); }, [p](double d) { p->setBottomLeft(d); }),
        doubleField([p] { return p->bottomRight(); }, [p](double d) { p->setBottomRight(d); }),
        intField([p] { return p->unitTopLeft(); }, [p](int n) { p->setUnitTopLeft(n); }),
        intField([p] { return p->unitTopRight(); }, [p](int n) { p->setUnitTopRight(n); }),
        intField([p] { return p->unitBottomLeft(); }, [p](int n) { p->setUnitBottomLeft(n); }),
        intField([p] { return p->unitBottomRight(); }, [p](int n) { p->setUnitBottomRight(n); }),
    };
    if (!fitsGroup(a, fields))
        return false;
    exchange(a, fields, {35, 36, 37, 38});
    return true;
}

bool applyOverflow(KVElementCommandAction &a)
{
    if (a.paramCount() != 6 || !a.element()->property(tailLayout(a)))
        return false;
    KVElement *pElement = a.element();
    const KVLayoutKey layout = tailLayout(a);
    QVariant passed;
    const QList<Field> fields{
        intField([pElement, layout] { return pElement->overflow(layout); },
                 [pElement, layout](int n) { pElement->setOverflow(n, layout); }),
        {P::Variant, [&passed] { return passed; }, [&passed](const QVariant &v) { passed = v; }},
    };
    if (!fitsGroup(a, fields))
        return false;
    passed = a.param(2)->value();
    exchange(a, fields, {41});
    return true;
}

bool applyImagePlace(KVElementCommandAction &a)
{
    auto *p = qobject_cast<KVImage *>(a.element());
    if (!p || a.paramCount() != 12 || !p->imageProperty(tailLayout(a)))
        return false;
    const KVLayoutKey l = tailLayout(a);
    const QList<Field> fields{
        doubleField([p, l] { return p->bgImageX(l); }, [p, l](double d) { p->setBgImageX(d, l); }),
        doubleField([p, l] { return p->bgImageY(l); }, [p, l](double d) { p->setBgImageY(d, l); }),
        doubleField([p, l] { return p->bgImageW(l); }, [p, l](double d) { p->setBgImageW(d, l); }),
        doubleField([p, l] { return p->bgImageH(l); }, [p, l](double d) { p->setBgImageH(d, l); }),
        intField([p, l] { return p->bgImageXUnit(l); }, [p, l](int n) { p->setBgImageXUnit(n, l); }),
        intField([p, l] { return p->bgImageYUnit(l); }, [p, l](int n) { p->setBgImageYUnit(n, l); }),
        intField([p, l] { return p->bgImageWUnit(l); }, [p, l](int n) { p->setBgImageWUnit(n, l); }),
        intField([p, l] { return p->bgImageHUnit(l); }, [p, l](int n) { p->setBgImageHUnit(n, l); }),
    };
    if (!fitsGroup(a, fields))
        return false;
    exchange(a, fields, {30, 31, 32, 33});
    return true;
}

bool applyClip(KVElementCommandAction &a)
{
    KVClip *p = a.paramCount() == 19 ? a.element()->clip(tailLayout(a)) : nullptr;
    if (!p)
        return false;
    const QList<Field> fields{
        intField([p] { return p->style(); }, [p](int n) { p->setStyle(n); }),
        doubleField([p] { return p->rectTop(); }, [p](double d) { p->setRectTop(d); }),
        doubleField([p] { return p->rectRight(); }, [p](double d) { p->setRectRight(d); }),
        doubleField([p] { return p->rectBottom(); }, [p](double d) { p->setRectBottom(d); }),
        doubleField([p] { return p->rectLeft(); }, [p](double d) { p->setRectLeft(d); }),
        intField([p] { return p->unitRectTop(); }, [p](int n) { p->setUnitRectTop(n); }),
        intField([p] { return p->unitRectRight(); }, [p](int n) { p->setUnitRectRight(n); }),
        intField([p] { return p->unitRectBottom(); }, [p](int n) { p->setUnitRectBottom(n); }),
        intField([p] { return p->unitRectLeft(); }, [p](int n) { p->setUnitRectLeft(n); }),
        doubleField([p] { return p->ovalVertex(); }, [p](double d) { p->setOvalVertex(d); }),
        doubleField([p] { return p->ovalCoVertex(); }, [p](double d) { p->setOvalCoVertex(d); }),
        intField([p] { return p->unitOvalVertex(); }, [p](int n) { p->setUnitOvalVertex(n); }),
        intField([p] { return p->unitOvalCoVertex(); }, [p](int n) { p->setUnitOvalCoVertex(n); }),
        doubleField([p] { return p->circleRadius(); }, [p](double d) { p->setCircleRadius(d); }),
        intField([p] { return p->unitCircleRadius(); }, [p](int n) { p->setUnitCircleRadius(n); }),
    };
    if (!fitsGroup(a, fields))
        return false;
    exchange(a, fields, codeRange(62, 69));
    return true;
}

bool applyShadow(KVElementCommandAction &a)
{
    KVShadow *p = a.paramCount() == 9 ? a.element()->shadow(tailLayout(a)) : nullptr;
    if (!p)
        return false;
    const QList<Field> fields{
        intField([p] { return p->style(); }, [p](int n) { p->setStyle(n); }),
        intField([p] { return p->blurRadius(); }, [p](int n) { p->setBlurRadius(n); }),
        intField([p] { return p->angle(); }, [p](int n) { p->setAngle(n); }),
        intField([p] { return p->distance(); }, [p](int n) { p->setDistance(n); }),
        colorField([p] { return p->color(); }, [p](const QColor &cl) { p->setColor(cl); }),
    };
    if (!fitsGroup(a, fields))
        return false;
    exchange(a, fields, codeRange(70, 74));
    return true;
}

bool applyFilter(KVElementCommandAction &a)
{
    KVFilterEffect *p = a.paramCount() == 12 ? a.element()->filter(tailLayout(a)) : nullptr;
    if (!p)
        return false;
    const QList<Field> fields{
        doubleField([p] { return p->invert(); }, [p](double d) { p->setInvert(d); }),
        intField([p] { return p->hue(); }, [p](int n) { p->setHue(n); }),
        doubleField([p] { return p->contrast(); }, [p](double d) { p->setContrast(d); }),
        doubleField([p] { return p->brightness(); }, [p](double d) { p->setBrightness(d); }),
        doubleField([p] { return p->saturate(); }, [p](double d) { p->setSaturate(d); }),
        doubleField([p] { return p->sepia(); }, [p](double d) { p->setSepia(d); }),
        doubleField([p] { return p->grayscale(); }, [p](double d) { p->setGrayscale(d); }),
        intField([p] { return p->blur(); }, [p](int n) { p->setBlur(n); }),
    };
    if (!fitsGroup(a, fields))
        return false;
    exchange(a, fields, codeRange(75, 82));
    return true;
}

KVResourceManager *resourcesOf(const KVElementCommandAction &a)
{
    KVSymbol *pProject = a.document() ? a.document()->commandProject() : nullptr;
    return pProject ? pProject->resourceManager() : nullptr;
}

// 1017 and 1026: the resource must be one of the document's of the fitting kind (or -1).
bool applySource(KVElementCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::Int}))
        return false;
    KVResourceManager *pManager = resourcesOf(a);
    const int nId = a.param(1)->toInt();
    KVResource *pResource = nId >= 0 && pManager ? pManager->resource(nId) : nullptr;
    if (nId >= 0 && !pResource)
        return false;
    if (a.type() == 1017) {
        auto *pImage = qobject_cast<KVImage *>(a.element());
        if (!pImage)
            return false;
        const int nOld = pImage->imageId();
        if (!pImage->setImage(pResource, pManager))
            return false;
        a.param(1)->setValue(nOld);
        return true;
    }
    auto *pMedia = qobject_cast<KVMedia *>(a.element());
    if (!pMedia)
        return false;
    const int nOld = pMedia->mediaId();
    if (!pMedia->setMedia(pResource, pManager))
        return false;
    a.param(1)->setValue(nOld);
    return true;
}

bool applyMediaInfo(KVElementCommandAction &a)
{
    auto *pMedia = qobject_cast<KVMedia *>(a.element());
    if (!pMedia || !a.hasKinds({P::Element, P::JsonObject}))
        return false;
    const QJsonObject jo = a.param(1)->toJsonObject();
    QJsonObject joOld;
    if (jo.value(QStringLiteral("duration")).isDouble()) {
        joOld.insert(QStringLiteral("duration"), pMedia->duration());
        pMedia->setDuration(qMax(0, jo.value(QStringLiteral("duration")).toInt()));
    }
    if (jo.value(QStringLiteral("loaded")).isBool()) {
        joOld.insert(QStringLiteral("loaded"), pMedia->isMediaInfoLoaded());
        pMedia->setMediaInfoLoaded(jo.value(QStringLiteral("loaded")).toBool());
    }
    a.param(1)->setValue(joOld);
    return true;
}

bool applyWidgetUrl(KVElementCommandAction &a)
{
    auto *pWidget = qobject_cast<KVHTMLWidget *>(a.element());
    if (!pWidget || !a.hasKinds({P::Element, P::String, P::Bool}))
        return false;
    const QString strOld = pWidget->url();
    const bool bOld = pWidget->useResource();
    pWidget->setUrl(a.param(1)->toString());
    pWidget->setUseResource(a.param(2)->toBool());
    a.param(1)->setValue(strOld);
    a.param(2)->setValue(bOld);
    return true;
}

// Qt properties of the element: only names it has, and values that convert to their types.
bool setProperties(QObject *pTarget, const QVariantMap &values, QVariantMap &old)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QByteArray name = it.key().toLatin1();
        const QVariant before = pTarget->property(name.constData());
        if (!before.isValid() || !it.value().canConvert(before.userType()))
            return false;
    }
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const QByteArray name = it.key().toLatin1();
        old.insert(it.key(), pTarget->property(name.constData()));
        pTarget->setProperty(name.constData(), it.value());
    }
    return true;
}

bool applyProperties(KVElementCommandAction &a)
{
    QVariantMap values;
    if (a.type() == 1036) {
        if (!a.hasKinds({P::Element, P::JsonObject}))
            return false;
        values = a.param(1)->toJsonObject().toVariantMap();
    } else {
        if (!a.hasKinds({P::Element, P::String, P::Variant}) || a.param(1)->toString().isEmpty())
            return false;
        values.insert(a.param(1)->toString(), a.param(2)->value());
    }
    QVariantMap old;
    if (!setProperties(a.element(), values, old))
        return false;
    if (a.type() == 1036)
        a.param(1)->setValue(QJsonObject::fromVariantMap(old));
    else
        a.param(2)->setValue(old.first());
    return true;
}

bool applyCodeValue(KVElementCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::Int, P::Variant, P::Bool}))
        return false;
    KVElement *pElement = a.element();
    const int nCode = a.param(1)->toInt();
    const QByteArray name = KVPropertyCatalogue::fieldName(nCode);
    const KVLayoutKey layout = pElement->currentLayout();
    QObject *pHolder = name.isEmpty() ? nullptr : KVPropertyCatalogue::holder(pElement, nCode, layout);
    if (!pHolder)
        return false;
    QVariantMap old;
    if (!setProperties(pHolder, {{QString::fromLatin1(name), a.param(2)->value()}}, old))
        return false;
    a.param(2)->setValue(old.first());
    if (!layout.isBase()) {
        const bool bOld = pElement->isInherited(nCode, layout);
        pElement->setInherited(nCode, a.param(3)->toBool(), layout);
        a.param(3)->setValue(bOld);
    }
    return true;
}

QJsonObject intParam(int n)
{
    return QJsonObject{{QStringLiteral("type"), P::Int}, {QStringLiteral("value"), n}};
}

QJsonObject arrayParam(const QJsonArray &ja)
{
    return QJsonObject{{QStringLiteral("type"), P::JsonArray}, {QStringLiteral("value"), ja}};
}

} // namespace

bool KVElementGroupActions::handles(int nType)
{
    switch (nType) {
    case 1002: case 1003: case 1012: case 1017: case 1019: case 1020: case 1026: case 1031: case 1032:
    case 1036: case 1040: case 1041: case 1042: case 1043: case 1044:
        return true;
    default:
        return false;
    }
}

bool KVElementGroupActions::apply(KVElementCommandAction &a)
{
    if (!a.element())
        return false;
    switch (a.type()) {
    case 1002: return applyFill(a);
    case 1003: return applyCornerGroup(a);
    case 1012: return applyOverflow(a);
    case 1017:
    case 1026: return applySource(a);
    case 1019: return applyImagePlace(a);
    case 1020: return applyMediaInfo(a);
    case 1031: return applyCorners(a);
    case 1032: return applyWidgetUrl(a);
    case 1036:
    case 1041: return applyProperties(a);
    case 1040: return applyCodeValue(a);
    case 1042: return applyClip(a);
    case 1043: return applyShadow(a);
    case 1044: return applyFilter(a);
    default: return false;
    }
}

QJsonArray KVElementGroupActions::pageParams(int nType, const KVCmdParamList &params, bool &bPrepared)
{
    QJsonArray ja;
    bPrepared = true;
    KVElement *pElement = params.isEmpty() ? nullptr : params.first()->element();
    switch (nType) {
    case 1001:
    case 1002:
    case 1031:
    case 1042:
    case 1043:
    case 1044: {
        if (!pElement)
            break;
        QJsonArray jaGroup;
        if (nType == 1001 && pElement->border())
            pElement->border()->toPlayerJson(jaGroup);
        if (nType == 1002 && pElement->background())
            pElement->background()->toPlayerJson(jaGroup);
        auto *pDiv = qobject_cast<KVDiv *>(pElement);
        if (nType == 1031 && pDiv && pDiv->corner())
            pDiv->corner()->toPlayerJson(jaGroup);
        if (nType == 1042 && pElement->clip())
            pElement->clip()->toPlayerJson(jaGroup);
        if (nType == 1043 && pElement->shadow())
            pElement->shadow()->toPlayerJson(jaGroup);
        if (nType == 1044 && pElement->filter())
            pElement->filter()->toPlayerJson(jaGroup);
        ja.append(intParam(pElement->id()));
        ja.append(arrayParam(jaGroup));
        if (nType == 1002)
            ja.append(intParam(pElement->type()));
        break;
    }
    case 1003:
    case 1010:
    case 1011:
    case 1012:
    case 1045: {
        // The values of every layout as the player gets them: the element's "rp" entries
        // [h layout id, v layout id, short keys], overrides only at the responsive layouts.
        if (!pElement)
            break;
        QJsonObject joPlayer;
        pElement->toPlayerJson(joPlayer, false);
        ja.append(intParam(pElement->id()));
        ja.append(arrayParam(joPlayer.value(QStringLiteral("rp")).toArray()));
        break;
    }
    case 1017:
    case 1026: {
        auto *pImage = qobject_cast<KVImage *>(pElement);
        auto *pMedia = qobject_cast<KVMedia *>(pElement);
        if (!pImage && !pMedia)
            break;
        ja.append(intParam(pElement->id()));
        ja.append(intParam(pImage ? pImage->imageId() : pMedia->mediaId()));
        break;
    }
    case 1019: {
        auto *pImage = qobject_cast<KVImage *>(pElement);
        if (!pImage)
            break;
        QJsonObject joPlace;
        pImage->imagePlacement(joPlace);
        ja.append(QJsonObject{{QStringLiteral("type"), P::JsonObject},
                              {QStringLiteral("value"), QJsonObject{{QStringLiteral("elementId"), pImage->id()},
                                                                    {QStringLiteral("value"), joPlace}}}});
        break;
    }
    case 1032: {
        auto *pWidget = qobject_cast<KVHTMLWidget *>(pElement);
        if (!pWidget)
            break;
        ja.append(intParam(pWidget->id()));
        ja.append(QJsonObject{{QStringLiteral("type"), P::Bool}, {QStringLiteral("value"), pWidget->useResource()}});
        ja.append(QJsonObject{{QStringLiteral("type"), P::String}, {QStringLiteral("value"), pWidget->url()}});
        ja.append(intParam(pWidget->resourceId()));
        break;
    }
    default:
        bPrepared = false;
        break;
    }
    return ja;
}
