#include "KVShadow.h"

#include "KVColorJson.h"
#include "KVJsonUtil.h"

KVShadow::KVShadow(QObject *pParent)
    : QObject(pParent)
    , m_shColor(defaultColor())
{
}

KVShadow::KVShadow(const KVShadow &other, QObject *pParent)
    : QObject(pParent)
{
    copyFrom(other);
}

KVShadow::~KVShadow() = default;

KVShadow *KVShadow::clone() const
{
    return new KVShadow(*this);
}

void KVShadow::copyFrom(const KVShadow &other)
{
    m_nShBlurRadius = other.m_nShBlurRadius;
    m_nShAngle = other.m_nShAngle;
    m_nShDistance = other.m_nShDistance;
    m_shColor = other.m_shColor;
    m_nStyle = other.m_nStyle;
}

bool KVShadow::operator==(const KVShadow &other) const
{
    return m_nShBlurRadius == other.m_nShBlurRadius && m_nShAngle == other.m_nShAngle
        && m_nShDistance == other.m_nShDistance && m_shColor == other.m_shColor
        && m_nStyle == other.m_nStyle;
}

QColor KVShadow::defaultColor()
{
    return QColor::fromRgba(0x80000000);
}

void KVShadow::setColor(const QColor &cl)
{
    m_shColor = KVColorJson::normalized(cl);
}

void KVShadow::fromJson(const QJsonObject &jo)
{
    m_nStyle = KVJsonUtil::readInt(jo, QStringLiteral("st"), NoShadow);
    m_nShBlurRadius = KVJsonUtil::readInt(jo, QStringLiteral("br"), 5);
    m_nShAngle = KVJsonUtil::readInt(jo, QStringLiteral("ag"), 45);
    m_nShDistance = KVJsonUtil::readInt(jo, QStringLiteral("dt"), 5);
    m_shColor = KVColorJson::readColor(jo, QStringLiteral("cl"), defaultColor());
}

void KVShadow::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("st"), m_nStyle);
    jo.insert(QStringLiteral("br"), m_nShBlurRadius);
    jo.insert(QStringLiteral("ag"), m_nShAngle);
    jo.insert(QStringLiteral("dt"), m_nShDistance);
    jo.insert(QStringLiteral("cl"), KVColorJson::toArgbInt(m_shColor));
}

void KVShadow::toPlayerJson(QJsonArray &ja) const
{
    ja = QJsonArray();
    if (m_nStyle != DropShadow)
        return;
    ja.append(m_nShBlurRadius);
    ja.append(m_nShAngle);
    ja.append(m_nShDistance);
    KVColorJson::appendRgba(ja, m_shColor);
}
