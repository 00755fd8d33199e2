#include "KVFilterEffect.h"

#include "KVJsonUtil.h"

KVFilterEffect::KVFilterEffect(QObject *pParent)
    : QObject(pParent)
{
}

KVFilterEffect::KVFilterEffect(const KVFilterEffect &other, QObject *pParent)
    : QObject(pParent)
{
    copyFrom(other);
}

KVFilterEffect::~KVFilterEffect() = default;

KVFilterEffect *KVFilterEffect::clone() const
{
    return new KVFilterEffect(*this);
}

void KVFilterEffect::copyFrom(const KVFilterEffect &other)
{
    m_dInvert = other.m_dInvert;
    m_nHue = other.m_nHue;
    m_dContrast = other.m_dContrast;
    m_dBrightness = other.m_dBrightness;
    m_dSaturate = other.m_dSaturate;
    m_dSepia = other.m_dSepia;
    m_dGrayscale = other.m_dGrayscale;
    m_nBlur = other.m_nBlur;
}

bool KVFilterEffect::operator==(const KVFilterEffect &other) const
{
    return m_dInvert == other.m_dInvert && m_nHue == other.m_nHue
        && m_dContrast == other.m_dContrast && m_dBrightness == other.m_dBrightness
        && m_dSaturate == other.m_dSaturate && m_dSepia == other.m_dSepia
        && m_dGrayscale == other.m_dGrayscale && m_nBlur == other.m_nBlur;
}

bool KVFilterEffect::isDefault() const
{
    return *this == KVFilterEffect();
}

void KVFilterEffect::fromJson(const QJsonObject &jo)
{
    m_dInvert = KVJsonUtil::readDouble(jo, QStringLiteral("i"), 0.0);
    m_nHue = KVJsonUtil::readInt(jo, QStringLiteral("h"), 0);
    m_dContrast = KVJsonUtil::readDouble(jo, QStringLiteral("c"), 1.0);
    m_dBrightness = KVJsonUtil::readDouble(jo, QStringLiteral("r"), 1.0);
    m_dSaturate = KVJsonUtil::readDouble(jo, QStringLiteral("s"), 1.0);
    m_dSepia = KVJsonUtil::readDouble(jo, QStringLiteral("sp"), 0.0);
    m_dGrayscale = KVJsonUtil::readDouble(jo, QStringLiteral("g"), 0.0);
    m_nBlur = KVJsonUtil::readInt(jo, QStringLiteral("b"), 0);
}

void KVFilterEffect::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("i"), m_dInvert);
    jo.insert(QStringLiteral("h"), m_nHue);
    jo.insert(QStringLiteral("c"), m_dContrast);
    jo.insert(QStringLiteral("r"), m_dBrightness);
    jo.insert(QStringLiteral("s"), m_dSaturate);
    jo.insert(QStringLiteral("sp"), m_dSepia);
    jo.insert(QStringLiteral("g"), m_dGrayscale);
    jo.insert(QStringLiteral("b"), m_nBlur);
}

void KVFilterEffect::toPlayerJson(QJsonArray &ja) const
{
    ja = QJsonArray{KVJsonUtil::times100(m_dInvert),     m_nHue,
                    KVJsonUtil::times100(m_dContrast),   KVJsonUtil::times100(m_dBrightness),
                    KVJsonUtil::times100(m_dSaturate),   KVJsonUtil::times100(m_dSepia),
                    KVJsonUtil::times100(m_dGrayscale),  m_nBlur};
}
