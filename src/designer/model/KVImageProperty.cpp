#include "KVImageProperty.h"

#include "model/KVJsonUtil.h"

using namespace KVJsonUtil;

namespace {

// Property codes of the placement values (x, y, width, height); they gate "ir".
constexpr std::initializer_list<int> kPlacementCodes = {30, 31, 32, 33};

QJsonValue placementValue(double dValue, int nUnit)
{
    if (nUnit == 0)
        return dValue;
    return shortNumber(times100(dValue)) + QLatin1Char('%');
}

} // namespace

KVImageProperty::KVImageProperty(QObject *pParent)
    : KVElementProperty(pParent)
{
}

KVImageProperty::KVImageProperty(const KVImageProperty &other) = default;

KVImageProperty::~KVImageProperty() = default;

KVElementProperty *KVImageProperty::clone() const
{
    return new KVImageProperty(*this);
}

void KVImageProperty::toJson(QJsonObject &jo) const
{
    KVElementProperty::toJson(jo);
    imagePlacement(jo);
}

void KVImageProperty::imagePlacement(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("bgImgX"), m_dBgImageX);
    jo.insert(QStringLiteral("bgImgY"), m_dBgImageY);
    jo.insert(QStringLiteral("bgImgWidth"), m_dBgImageW);
    jo.insert(QStringLiteral("bgImgHeight"), m_dBgImageH);
    jo.insert(QStringLiteral("bgImgXUnit"), m_nBgImageXUnit);
    jo.insert(QStringLiteral("bgImgYUnit"), m_nBgImageYUnit);
    jo.insert(QStringLiteral("bgImgWUnit"), m_nBgImageWUnit);
    jo.insert(QStringLiteral("bgImgHUnit"), m_nBgImageHUnit);
}

void KVImageProperty::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    KVElementProperty::fromJson(jo, pContext);
    m_dBgImageX = readDouble(jo, QStringLiteral("bgImgX"), 0.0);
    m_dBgImageY = readDouble(jo, QStringLiteral("bgImgY"), 0.0);
    m_dBgImageW = readDouble(jo, QStringLiteral("bgImgWidth"), 0.0);
    m_dBgImageH = readDouble(jo, QStringLiteral("bgImgHeight"), 0.0);
    m_nBgImageXUnit = readInt(jo, QStringLiteral("bgImgXUnit"), 0);
    m_nBgImageYUnit = readInt(jo, QStringLiteral("bgImgYUnit"), 0);
    m_nBgImageWUnit = readInt(jo, QStringLiteral("bgImgWUnit"), 0);
    m_nBgImageHUnit = readInt(jo, QStringLiteral("bgImgHUnit"), 0);
}

QJsonArray KVImageProperty::playerPlacement() const
{
    return QJsonArray{placementValue(m_dBgImageX, m_nBgImageXUnit),
                      placementValue(m_dBgImageY, m_nBgImageYUnit),
                      placementValue(m_dBgImageW, m_nBgImageWUnit),
                      placementValue(m_dBgImageH, m_nBgImageHUnit)};
}

void KVImageProperty::toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                                   bool bResponsive) const
{
    KVElementProperty::toPlayerJson(resetKeys, jo, bForCanvas, bResponsive);
    if (isGatedIn(*this, bResponsive, kPlacementCodes))
        jo.insert(QStringLiteral("ir"), playerPlacement());
}
