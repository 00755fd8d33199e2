#include "KVElementProperty.h"

#include "model/IKVDocumentContext.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVFilterEffect.h"
#include "model/KVJsonUtil.h"
#include "model/KVShadow.h"

#include <cmath>

using namespace KVJsonUtil;

namespace {

const QString kAuto = QStringLiteral("auto");

// Property codes that gate the player keys of the common element data.
constexpr std::initializer_list<int> kGeometryCodes = {0, 2, 4, 5, 40};
constexpr std::initializer_list<int> kTransformCodes = {87, 88, 11, 7, 8, 89, 9, 10, 84, 85, 86, 12, 13, 83};
constexpr std::initializer_list<int> kBorderCodes = {45, 16, 17};
constexpr std::initializer_list<int> kFillCodes = {50};
constexpr std::initializer_list<int> kShadowCodes = {70, 71, 72, 73, 74};
constexpr std::initializer_list<int> kFilterCodes = {75, 76, 77, 78, 79, 80, 81, 82};
constexpr std::initializer_list<int> kClipCodes = {62, 63, 64, 65, 66, 67, 68, 69};

QJsonArray triple(double a, double b, double c)
{
    return QJsonArray{a, b, c};
}

KVImageUseCounter *imagesOf(const IKVDocumentContext *pContext)
{
    return pContext ? pContext->imageUseCounter() : nullptr;
}

} // namespace

KVElementProperty::KVElementProperty(QObject *pParent)
    : QObject(pParent)
    , m_strCursor(kAuto)
    , m_pBorder(new KVBorder(this))
    , m_pBackground(new KVBackground(KVBackground::NoFill, this))
    , m_pShadow(new KVShadow(this))
    , m_pFilter(new KVFilterEffect(this))
    , m_pClip(new KVClip(this))
{
}

KVElementProperty::KVElementProperty(const KVElementProperty &other)
    : QObject(nullptr)
    , m_nCoordinateType(other.m_nCoordinateType)
    , m_dSizeW(other.m_dSizeW)
    , m_dSizeH(other.m_dSizeH)
    , m_nUnitW(other.m_nUnitW)
    , m_nUnitH(other.m_nUnitH)
    , m_dPositionX(other.m_dPositionX)
    , m_dPositionY(other.m_dPositionY)
    , m_nUnitX(other.m_nUnitX)
    , m_nUnitY(other.m_nUnitY)
    , m_dOpacity(other.m_dOpacity)
    , m_dOriginRatioX(other.m_dOriginRatioX)
    , m_dOriginRatioY(other.m_dOriginRatioY)
    , m_dOriginZ(other.m_dOriginZ)
    , m_dTranslateX(other.m_dTranslateX)
    , m_dTranslateY(other.m_dTranslateY)
    , m_dTranslateZ(other.m_dTranslateZ)
    , m_dScaleX(other.m_dScaleX)
    , m_dScaleY(other.m_dScaleY)
    , m_dScaleZ(other.m_dScaleZ)
    , m_dSkewX(other.m_dSkewX)
    , m_dSkewY(other.m_dSkewY)
    , m_dRotateX(other.m_dRotateX)
    , m_dRotateY(other.m_dRotateY)
    , m_dRotateZ(other.m_dRotateZ)
    , m_nOverflow(other.m_nOverflow)
    , m_nDisplay(other.m_nDisplay)
    , m_strCursor(other.m_strCursor)
    , m_strTitle(other.m_strTitle)
    , m_nTabIndex(other.m_nTabIndex)
    , m_pBorder(new KVBorder(*other.m_pBorder, this))
    , m_pBackground(new KVBackground(*other.m_pBackground, this))
    , m_pShadow(new KVShadow(*other.m_pShadow, this))
    , m_pFilter(new KVFilterEffect(*other.m_pFilter, this))
    , m_pClip(new KVClip(*other.m_pClip, this))
    , m_strClassName(other.m_strClassName)
    , m_mapInherit(other.m_mapInherit)
{
}

// The groups are QObject children and go with this object.
KVElementProperty::~KVElementProperty() = default;

KVElementProperty *KVElementProperty::clone() const
{
    return new KVElementProperty(*this);
}

void KVElementProperty::toJson(QJsonObject &jo) const
{
    QJsonObject joPath;
    joPath.insert(QStringLiteral("l"), m_dPositionX);
    joPath.insert(QStringLiteral("t"), m_dPositionY);
    joPath.insert(QStringLiteral("w"), m_dSizeW);
    joPath.insert(QStringLiteral("h"), m_dSizeH);
    joPath.insert(QStringLiteral("coordinateType"), m_nCoordinateType);
    joPath.insert(QStringLiteral("unitW"), m_nUnitW);
    joPath.insert(QStringLiteral("unitH"), m_nUnitH);
    joPath.insert(QStringLiteral("unitX"), m_nUnitX);
    joPath.insert(QStringLiteral("unitY"), m_nUnitY);
    jo.insert(QStringLiteral("path"), joPath);

    QJsonObject joTransform;
    joTransform.insert(QStringLiteral("originX"), m_dOriginRatioX);
    joTransform.insert(QStringLiteral("originY"), m_dOriginRatioY);
    joTransform.insert(QStringLiteral("originZ"), m_dOriginZ);
    joTransform.insert(QStringLiteral("translateX"), m_dTranslateX);
    joTransform.insert(QStringLiteral("translateY"), m_dTranslateY);
    joTransform.insert(QStringLiteral("translateZ"), m_dTranslateZ);
    joTransform.insert(QStringLiteral("scaleX"), m_dScaleX);
    joTransform.insert(QStringLiteral("scaleY"), m_dScaleY);
    joTransform.insert(QStringLiteral("scaleZ"), m_dScaleZ);
    joTransform.insert(QStringLiteral("skewX"), m_dSkewX);
    joTransform.insert(QStringLiteral("skewY"), m_dSkewY);
    joTransform.insert(QStringLiteral("rotateX"), m_dRotateX);
    joTransform.insert(QStringLiteral("rotateY"), m_dRotateY);
    joTransform.insert(QStringLiteral("rotate"), m_dRotateZ);
    jo.insert(QStringLiteral("transform"), joTransform);

    jo.insert(QStringLiteral("opacity"), m_dOpacity);
    jo.insert(QStringLiteral("overflow"), m_nOverflow);
    jo.insert(QStringLiteral("display"), m_nDisplay);
    jo.insert(QStringLiteral("tabIndex"), m_nTabIndex);
    jo.insert(QStringLiteral("valueCursor"), m_strCursor);
    jo.insert(QStringLiteral("title"), m_strTitle);

    QJsonObject joGroup;
    m_pBorder->toJson(joGroup);
    jo.insert(QStringLiteral("border"), joGroup);
    joGroup = QJsonObject();
    m_pBackground->toJson(joGroup);
    jo.insert(QStringLiteral("background"), joGroup);
    joGroup = QJsonObject();
    m_pShadow->toJson(joGroup);
    jo.insert(QStringLiteral("shadow"), joGroup);
    joGroup = QJsonObject();
    m_pFilter->toJson(joGroup);
    jo.insert(QStringLiteral("filter"), joGroup);
    joGroup = QJsonObject();
    m_pClip->toJson(joGroup);
    jo.insert(QStringLiteral("clip"), joGroup);

    jo.insert(QStringLiteral("className"), m_strClassName);

    QJsonArray jaInherit;
    for (auto it = m_mapInherit.cbegin(); it != m_mapInherit.cend(); ++it) {
        if (!it.value())
            jaInherit.append(it.key());
    }
    jo.insert(QStringLiteral("inherit"), jaInherit);
}

void KVElementProperty::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    const QJsonObject joPath = readObject(jo, QStringLiteral("path"));
    m_dPositionX = readDouble(joPath, QStringLiteral("l"), 0.0);
    m_dPositionY = readDouble(joPath, QStringLiteral("t"), 0.0);
    m_dSizeW = readDouble(joPath, QStringLiteral("w"), 100.0);
    m_dSizeH = readDouble(joPath, QStringLiteral("h"), 50.0);
    m_nCoordinateType = readInt(joPath, QStringLiteral("coordinateType"), 0);
    m_nUnitW = readInt(joPath, QStringLiteral("unitW"), 0);
    m_nUnitH = readInt(joPath, QStringLiteral("unitH"), 0);
    m_nUnitX = readInt(joPath, QStringLiteral("unitX"), 0);
    m_nUnitY = readInt(joPath, QStringLiteral("unitY"), 0);

    m_dOpacity = readDouble(jo, QStringLiteral("opacity"), 1.0);

    // Files from before 3D transforms keep the transform under "transform2d".
    const QJsonObject joTransform = jo.value(QStringLiteral("transform")).isObject()
        ? jo.value(QStringLiteral("transform")).toObject()
        : readObject(jo, QStringLiteral("transform2d"));
    m_dOriginRatioX = readDouble(joTransform, QStringLiteral("originX"), 0.5);
    m_dOriginRatioY = readDouble(joTransform, QStringLiteral("originY"), 0.5);
    m_dOriginZ = readDouble(joTransform, QStringLiteral("originZ"), 0.0);
    m_dTranslateX = readDouble(joTransform, QStringLiteral("translateX"), 0.0);
    m_dTranslateY = readDouble(joTransform, QStringLiteral("translateY"), 0.0);
    m_dTranslateZ = readDouble(joTransform, QStringLiteral("translateZ"), 0.0);
    m_dScaleX = readDouble(joTransform, QStringLiteral("scaleX"), 1.0);
    m_dScaleY = readDouble(joTransform, QStringLiteral("scaleY"), 1.0);
    m_dScaleZ = readDouble(joTransform, QStringLiteral("scaleZ"), 1.0);
    m_dSkewX = readDouble(joTransform, QStringLiteral("skewX"), 0.0);
    m_dSkewY = readDouble(joTransform, QStringLiteral("skewY"), 0.0);
    m_dRotateX = readDouble(joTransform, QStringLiteral("rotateX"), 0.0);
    m_dRotateY = readDouble(joTransform, QStringLiteral("rotateY"), 0.0);
    m_dRotateZ = joTransform.contains(QStringLiteral("rotateZ"))
        ? readDouble(joTransform, QStringLiteral("rotateZ"), 0.0)
        : readDouble(joTransform, QStringLiteral("rotate"), 0.0);

    m_nOverflow = readInt(jo, QStringLiteral("overflow"), 0);
    m_nDisplay = readInt(jo, QStringLiteral("display"), 1);
    m_nTabIndex = readInt(jo, QStringLiteral("tabIndex"), -2);
    m_strCursor = readString(jo, QStringLiteral("valueCursor"), kAuto);
    m_strTitle = readString(jo, QStringLiteral("title"));

    m_pBorder->fromJson(readObject(jo, QStringLiteral("border")));
    m_pBackground->fromJson(readObject(jo, QStringLiteral("background")), imagesOf(pContext));
    m_pShadow->fromJson(readObject(jo, QStringLiteral("shadow")));
    m_pFilter->fromJson(readObject(jo, QStringLiteral("filter")));
    m_pClip->fromJson(readObject(jo, QStringLiteral("clip")));

    m_strClassName = readString(jo, QStringLiteral("className"));

    m_mapInherit.clear();
    const QJsonArray jaInherit = readArray(jo, QStringLiteral("inherit"));
    for (const QJsonValue &value : jaInherit) {
        const int nCode = intFromJson(value, LastPropertyCode + 1);
        if (nCode >= 0 && nCode <= LastPropertyCode)
            m_mapInherit.insert(nCode, false);
    }
}

void KVElementProperty::geometryToPlayerJson(QJsonArray &resetKeys, QJsonObject &jo,
                                             bool bResponsive) const
{
    if (isGatedIn(*this, bResponsive, kGeometryCodes)) {
        jo.insert(QStringLiteral("r"),
                  QJsonArray{playerPosition(m_dPositionX, m_nUnitX),
                             playerPosition(m_dPositionY, m_nUnitY), playerSize(m_dSizeW, m_nUnitW),
                             playerSize(m_dSizeH, m_nUnitH), m_nCoordinateType});
    }

    if (isGatedIn(*this, bResponsive, kTransformCodes)) {
        // Five groups, each empty while it holds its default; trailing empty groups are dropped.
        QJsonArray aGroups[5];
        if (m_dRotateX != 0.0 || m_dRotateY != 0.0 || m_dRotateZ != 0.0)
            aGroups[0] = triple(m_dRotateX, m_dRotateY, m_dRotateZ);
        if (m_dScaleX != 1.0 || m_dScaleY != 1.0 || m_dScaleZ != 1.0)
            aGroups[1] = triple(times100(m_dScaleX), times100(m_dScaleY), times100(m_dScaleZ));
        if (m_dSkewX != 0.0 || m_dSkewY != 0.0)
            aGroups[2] = QJsonArray{m_dSkewX, m_dSkewY};
        if (m_dTranslateX != 0.0 || m_dTranslateY != 0.0 || m_dTranslateZ != 0.0)
            aGroups[3] = triple(m_dTranslateX, m_dTranslateY, m_dTranslateZ);
        if (m_dOriginRatioX != 0.5 || m_dOriginRatioY != 0.5 || m_dOriginZ != 0.0)
            aGroups[4] = triple(times100(m_dOriginRatioX), times100(m_dOriginRatioY), m_dOriginZ);

        int nLast = 4;
        while (nLast >= 0 && aGroups[nLast].isEmpty())
            --nLast;
        QJsonArray jaTransform;
        for (int i = 0; i <= nLast; ++i)
            jaTransform.append(aGroups[i]);
        putOrReset(jo, resetKeys, QStringLiteral("t"), jaTransform, jaTransform.isEmpty(), bResponsive);
    }
}

void KVElementProperty::toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                                     bool bResponsive) const
{
    geometryToPlayerJson(resetKeys, jo, bResponsive);

    QJsonArray ja;
    if (isGatedIn(*this, bResponsive, kBorderCodes)) {
        m_pBorder->toPlayerJson(ja);
        putOrReset(jo, resetKeys, QStringLiteral("l"), ja, ja.isEmpty(), bResponsive);
    }
    if (isGatedIn(*this, bResponsive, kFillCodes)) {
        ja = QJsonArray();
        m_pBackground->toPlayerJson(ja);
        jo.insert(QStringLiteral("f"), ja);
    }
    if (isGatedIn(*this, bResponsive, kShadowCodes)) {
        ja = QJsonArray();
        m_pShadow->toPlayerJson(ja);
        putOrReset(jo, resetKeys, QStringLiteral("sh"), ja, ja.isEmpty(), bResponsive);
    }
    if (isGatedIn(*this, bResponsive, kFilterCodes)) {
        ja = QJsonArray();
        m_pFilter->toPlayerJson(ja);
        jo.insert(QStringLiteral("fe"), ja);
    }
    if (isGatedIn(*this, bResponsive, kClipCodes)) {
        ja = QJsonArray();
        m_pClip->toPlayerJson(ja);
        putOrReset(jo, resetKeys, QStringLiteral("wc"), ja, ja.isEmpty(), bResponsive);
    }
    if (isGatedIn(*this, bResponsive, {14})) {
        // An opacity that shows as 100 % is the default.
        const bool bOpaque = std::lround(m_dOpacity * 100.0) == 100;
        putOrReset(jo, resetKeys, QStringLiteral("o"), times100(m_dOpacity), bOpaque, bResponsive);
    }
    if (isGatedIn(*this, bResponsive, {41}))
        putOrReset(jo, resetKeys, QStringLiteral("of"), m_nOverflow, m_nOverflow == 0, bResponsive);
    if (isGatedIn(*this, bResponsive, {15}))
        putOrReset(jo, resetKeys, QStringLiteral("d"), 0, m_nDisplay != 0, bResponsive);
    if (isGatedIn(*this, bResponsive, {59})) {
        putOrReset(jo, resetKeys, QStringLiteral("cl"), m_strClassName, m_strClassName.isEmpty(),
                   bResponsive);
    }
    if (bForCanvas) {
        // The stage shows the cursor an element will have.
        putOrReset(jo, resetKeys, QStringLiteral("c"), m_strCursor, m_strCursor == kAuto, false);
        return;
    }
    if (isGatedIn(*this, bResponsive, {44}))
        putOrReset(jo, resetKeys, QStringLiteral("tb"), m_nTabIndex, m_nTabIndex < -1, bResponsive);
    if (isGatedIn(*this, bResponsive, {42}))
        putOrReset(jo, resetKeys, QStringLiteral("c"), m_strCursor, m_strCursor == kAuto, bResponsive);
    if (isGatedIn(*this, bResponsive, {43}))
        putOrReset(jo, resetKeys, QStringLiteral("tl"), m_strTitle, m_strTitle.isEmpty(), bResponsive);
}

void KVElementProperty::putOrReset(QJsonObject &jo, QJsonArray &resetKeys, const QString &strKey,
                                   const QJsonValue &value, bool bIsDefault, bool bResponsive)
{
    if (!bIsDefault)
        jo.insert(strKey, value);
    else if (bResponsive)
        resetKeys.append(strKey);
}

void KVElementProperty::collectFonts(KVFontFaces &) const
{
}

bool KVElementProperty::uses3D() const
{
    return m_dOriginZ != 0.0 || m_dTranslateZ != 0.0 || m_dRotateX != 0.0 || m_dRotateY != 0.0
        || m_dScaleZ != 1.0;
}

void KVElementProperty::inheritFrom(const KVElementProperty &base)
{
    if (&base == this)
        return;
    if (!overridesAny(kGeometryCodes)) {
        m_nCoordinateType = base.m_nCoordinateType;
        m_dSizeW = base.m_dSizeW;
        m_dSizeH = base.m_dSizeH;
        m_nUnitW = base.m_nUnitW;
        m_nUnitH = base.m_nUnitH;
        m_dPositionX = base.m_dPositionX;
        m_dPositionY = base.m_dPositionY;
        m_nUnitX = base.m_nUnitX;
        m_nUnitY = base.m_nUnitY;
    }
    if (!overridesAny(kTransformCodes)) {
        m_dOriginRatioX = base.m_dOriginRatioX;
        m_dOriginRatioY = base.m_dOriginRatioY;
        m_dOriginZ = base.m_dOriginZ;
        m_dTranslateX = base.m_dTranslateX;
        m_dTranslateY = base.m_dTranslateY;
        m_dTranslateZ = base.m_dTranslateZ;
        m_dScaleX = base.m_dScaleX;
        m_dScaleY = base.m_dScaleY;
        m_dScaleZ = base.m_dScaleZ;
        m_dSkewX = base.m_dSkewX;
        m_dSkewY = base.m_dSkewY;
        m_dRotateX = base.m_dRotateX;
        m_dRotateY = base.m_dRotateY;
        m_dRotateZ = base.m_dRotateZ;
    }
    if (!overridesAny(kBorderCodes))
        m_pBorder->copyFrom(*base.m_pBorder);
    if (!overridesAny(kFillCodes))
        m_pBackground->copyFrom(*base.m_pBackground);
    if (!overridesAny(kShadowCodes))
        m_pShadow->copyFrom(*base.m_pShadow);
    if (!overridesAny(kFilterCodes))
        m_pFilter->copyFrom(*base.m_pFilter);
    if (!overridesAny(kClipCodes))
        m_pClip->copyFrom(*base.m_pClip);
    if (!overridesAny({14}))
        m_dOpacity = base.m_dOpacity;
    if (!overridesAny({41}))
        m_nOverflow = base.m_nOverflow;
    if (!overridesAny({15}))
        m_nDisplay = base.m_nDisplay;
    if (!overridesAny({59}))
        m_strClassName = base.m_strClassName;
    if (!overridesAny({44}))
        m_nTabIndex = base.m_nTabIndex;
    if (!overridesAny({42}))
        m_strCursor = base.m_strCursor;
    if (!overridesAny({43}))
        m_strTitle = base.m_strTitle;
}

void KVElementProperty::collectResources(QSet<int> &resourceIds) const
{
    m_pBackground->collectResources(resourceIds);
}

void KVElementProperty::replaceResources(const QMap<int, int> &idMap)
{
    m_pBackground->replaceResources(idMap);
}

void KVElementProperty::retainResources()
{
    m_pBackground->retainResources();
}

void KVElementProperty::releaseResources()
{
    m_pBackground->releaseResources();
}

bool KVElementProperty::isInherited(int nPropertyCode) const
{
    return m_mapInherit.value(nPropertyCode, true);
}

bool KVElementProperty::setInherited(int nPropertyCode, bool bInherited)
{
    const bool bOld = isInherited(nPropertyCode);
    m_mapInherit.remove(nPropertyCode);
    if (!bInherited)
        m_mapInherit.insert(nPropertyCode, false);
    return bOld;
}

void KVElementProperty::setInheritFlag(int nPropertyCode, bool bValue)
{
    m_mapInherit.insert(nPropertyCode, bValue);
}

QMap<int, bool> KVElementProperty::takeInheritFlags(bool bClearOnly)
{
    QMap<int, bool> old;
    old.swap(m_mapInherit);
    if (!bClearOnly) {
        for (int nCode = 0; nCode <= LastPropertyCode; ++nCode)
            m_mapInherit.insert(nCode, false);
    }
    return old;
}

bool KVElementProperty::overridesAny(std::initializer_list<int> codes) const
{
    if (m_mapInherit.isEmpty())
        return false;
    for (int nCode : codes) {
        if (!isInherited(nCode))
            return true;
    }
    return false;
}
