#include "KVBackground.h"

#include "KVColorJson.h"
#include "KVImageUseCounter.h"
#include "KVJsonUtil.h"

#include <algorithm>

KVBackground::KVBackground(int nFillStyle, QObject *pParent)
    : QObject(pParent)
    , m_nFillStyle(nFillStyle)
    , m_clSolidColor(defaultSolidColor())
    , m_gradientStops(defaultGradientStops())
{
}

KVBackground::KVBackground(const KVBackground &other, QObject *pParent)
    : QObject(pParent)
    , m_nFillStyle(NoFill)
{
    copyFrom(other);
}

KVBackground::~KVBackground()
{
    giveImageCount();
}

KVBackground *KVBackground::clone() const
{
    return new KVBackground(*this);
}

void KVBackground::copyFrom(const KVBackground &other)
{
    if (this == &other)
        return;
    giveImageCount();
    m_nFillStyle = other.m_nFillStyle;
    m_nGradientType = other.m_nGradientType;
    m_pImages = other.m_pImages;
    m_nImageResourceId = other.m_nImageResourceId;
    m_clSolidColor = other.m_clSolidColor;
    m_gradientStops = other.m_gradientStops;
    m_nLinearGradientAngle = other.m_nLinearGradientAngle;
    m_dRadialOriginX = other.m_dRadialOriginX;
    m_dRadialOriginY = other.m_dRadialOriginY;
    m_nRadialSize = other.m_nRadialSize;
    m_nRadialShape = other.m_nRadialShape;
    m_nImageFillType = other.m_nImageFillType;
    m_dRadialRadius = other.m_dRadialRadius;
    if (m_nFillStyle == ImageFill)
        takeImageCount();
}

bool KVBackground::operator==(const KVBackground &other) const
{
    return m_nFillStyle == other.m_nFillStyle && m_nGradientType == other.m_nGradientType
        && m_nImageResourceId == other.m_nImageResourceId
        && m_clSolidColor == other.m_clSolidColor && m_gradientStops == other.m_gradientStops
        && m_nLinearGradientAngle == other.m_nLinearGradientAngle
        && m_dRadialOriginX == other.m_dRadialOriginX
        && m_dRadialOriginY == other.m_dRadialOriginY && m_nRadialSize == other.m_nRadialSize
        && m_nRadialShape == other.m_nRadialShape && m_nImageFillType == other.m_nImageFillType;
}

QColor KVBackground::defaultSolidColor()
{
    return QColor(74, 134, 232);
}

QGradientStops KVBackground::defaultGradientStops()
{
    return {{0.0, QColor::fromRgba(0xff000000)}, {1.0, QColor::fromRgba(0xffffffff)}};
}

void KVBackground::takeImageCount()
{
    if (m_bHoldsImageCount || m_nImageResourceId < 0 || !m_pImages)
        return;
    m_pImages->acquire(m_nImageResourceId);
    m_bHoldsImageCount = true;
}

void KVBackground::giveImageCount()
{
    if (!m_bHoldsImageCount)
        return;
    m_bHoldsImageCount = false;
    if (m_pImages && m_nImageResourceId >= 0)
        m_pImages->release(m_nImageResourceId);
}

void KVBackground::setFillStyle(int nFillStyle)
{
    if (nFillStyle == m_nFillStyle)
        return;
    const bool bWasImage = m_nFillStyle == ImageFill;
    m_nFillStyle = nFillStyle;
    if (bWasImage)
        giveImageCount();
    else if (m_nFillStyle == ImageFill)
        takeImageCount();
}

void KVBackground::setImageUseCounter(KVImageUseCounter *pImages)
{
    if (pImages == m_pImages)
        return;
    giveImageCount();
    m_pImages = pImages;
    m_nImageResourceId = -1;
}

bool KVBackground::setImageResourceId(int nResourceId)
{
    const bool bKnown = nResourceId >= 0 && m_pImages && m_pImages->hasImage(nResourceId);
    const int nNewId = bKnown ? nResourceId : -1;
    if (nNewId != m_nImageResourceId) {
        const bool bCounted = m_nFillStyle == ImageFill;
        if (bCounted)
            giveImageCount();
        m_nImageResourceId = nNewId;
        if (bCounted)
            takeImageCount();
    }
    return bKnown || nResourceId < 0;
}

void KVBackground::setSolidColor(const QColor &cl)
{
    m_clSolidColor = KVColorJson::normalized(cl);
}

void KVBackground::setGradientStops(const QGradientStops &stops)
{
    m_gradientStops.clear();
    m_gradientStops.reserve(stops.size());
    for (const QGradientStop &stop : stops)
        m_gradientStops.append({stop.first, KVColorJson::normalized(stop.second)});
}

void KVBackground::fromJson(const QJsonObject &jo, KVImageUseCounter *pImages)
{
    using KVJsonUtil::readDouble;
    using KVJsonUtil::readInt;
    setImageUseCounter(pImages);
    setFillStyle(readInt(jo, QStringLiteral("fillStyle"), SolidFill));
    m_nGradientType = readInt(jo, QStringLiteral("gradientType"), Linear);
    m_clSolidColor = KVColorJson::readColor(jo, QStringLiteral("solidColor"), defaultSolidColor());
    m_nLinearGradientAngle = readInt(jo, QStringLiteral("linearGradientAngle"), 0);
    m_dRadialOriginX = readDouble(jo, QStringLiteral("radialOriginX"), 0.0);
    m_dRadialOriginY = readDouble(jo, QStringLiteral("radialOriginY"), 0.0);
    m_nRadialShape = readInt(jo, QStringLiteral("radialShape"), Circle);
    m_nRadialSize = readInt(jo, QStringLiteral("radialSizeParam"), ClosestSide);
    m_nImageFillType = readInt(jo, QStringLiteral("imageFillType"), Stretch);
    setImageResourceId(readInt(jo, QStringLiteral("imageResourceId"), -1));

    const QJsonValue factors = jo.value(QStringLiteral("gradientStopFactors"));
    const QJsonValue colors = jo.value(QStringLiteral("gradientStopColors"));
    if (!factors.isArray() && !colors.isArray()) {
        m_gradientStops = defaultGradientStops();
        return;
    }
    const QJsonArray jaFactors = factors.toArray();
    const QJsonArray jaColors = colors.toArray();
    const int nCount = qMin(jaFactors.size(), jaColors.size());
    m_gradientStops.clear();
    m_gradientStops.reserve(nCount);
    for (int i = 0; i < nCount; ++i) {
        const QJsonValue factor = jaFactors.at(i);
        m_gradientStops.append({factor.isDouble() ? factor.toDouble() : 0.0,
                                KVColorJson::colorFromJson(jaColors.at(i),
                                                           QColor::fromRgba(0xff000000))});
    }
}

void KVBackground::toJson(QJsonObject &jo) const
{
    int nWrittenId = m_nImageResourceId;
    if (nWrittenId >= 0 && !m_bHoldsImageCount && m_pImages && m_pImages->isDeleted(nWrittenId))
        nWrittenId = -1;

    QJsonArray jaFactors;
    QJsonArray jaColors;
    for (const QGradientStop &stop : m_gradientStops) {
        jaFactors.append(stop.first);
        jaColors.append(KVColorJson::toArgbInt(stop.second));
    }

    jo.insert(QStringLiteral("fillStyle"), m_nFillStyle);
    jo.insert(QStringLiteral("gradientType"), m_nGradientType);
    jo.insert(QStringLiteral("solidColor"), KVColorJson::toArgbInt(m_clSolidColor));
    jo.insert(QStringLiteral("linearGradientAngle"), m_nLinearGradientAngle);
    jo.insert(QStringLiteral("radialOriginX"), m_dRadialOriginX);
    jo.insert(QStringLiteral("radialOriginY"), m_dRadialOriginY);
    jo.insert(QStringLiteral("radialShape"), m_nRadialShape);
    jo.insert(QStringLiteral("radialSizeParam"), m_nRadialSize);
    jo.insert(QStringLiteral("imageFillType"), m_nImageFillType);
    jo.insert(QStringLiteral("imageResourceId"), nWrittenId);
    jo.insert(QStringLiteral("gradientStopFactors"), jaFactors);
    jo.insert(QStringLiteral("gradientStopColors"), jaColors);
}

void KVBackground::toPlayerJson(QJsonArray &ja) const
{
    ja = QJsonArray{m_nFillStyle};
    switch (m_nFillStyle) {
    case SolidFill:
        KVColorJson::appendRgba(ja, m_clSolidColor);
        break;
    case GradientFill: {
        ja.append(m_nGradientType);
        if (m_nGradientType != Linear && m_nGradientType != Radial)
            break;
        QGradientStops sorted = m_gradientStops;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const QGradientStop &a, const QGradientStop &b) { return a.first < b.first; });
        QJsonArray jaStops;
        for (const QGradientStop &stop : qAsConst(sorted)) {
            QJsonArray jaStop{KVJsonUtil::times100(stop.first)};
            KVColorJson::appendRgba(jaStop, stop.second);
            jaStops.append(jaStop);
        }
        if (m_nGradientType == Linear) {
            ja.append(m_nLinearGradientAngle);
            ja.append(jaStops);
        } else {
            ja.append(KVJsonUtil::times100(m_dRadialOriginX));
            ja.append(KVJsonUtil::times100(m_dRadialOriginY));
            ja.append(jaStops);
            ja.append(m_nRadialShape);
            ja.append(m_nRadialSize);
        }
        break;
    }
    case ImageFill: {
        if (m_nImageResourceId < 0)
            break;
        const QSize size = m_pImages ? m_pImages->imageSize(m_nImageResourceId) : QSize();
        ja.append(m_nImageResourceId);
        ja.append(m_nImageFillType);
        ja.append(qMax(0, size.width()));
        ja.append(qMax(0, size.height()));
        break;
    }
    default:
        break;
    }
}

void KVBackground::collectResources(QSet<int> &resourceIds) const
{
    if (m_nImageResourceId >= 0)
        resourceIds.insert(m_nImageResourceId);
}

void KVBackground::replaceResources(const QMap<int, int> &idMap)
{
    if (m_nImageResourceId < 0 || !idMap.contains(m_nImageResourceId))
        return;
    const int nNewId = idMap.value(m_nImageResourceId);
    if (nNewId == m_nImageResourceId)
        return;
    const bool bHeld = m_bHoldsImageCount;
    giveImageCount();
    m_nImageResourceId = nNewId;
    if (bHeld)
        takeImageCount();
}

void KVBackground::retainResources()
{
    if (m_nFillStyle == ImageFill)
        takeImageCount();
}

void KVBackground::releaseResources()
{
    if (m_nFillStyle == ImageFill)
        giveImageCount();
}
