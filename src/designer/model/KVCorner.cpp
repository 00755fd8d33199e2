#include "KVCorner.h"

#include "KVJsonUtil.h"

KVCorner::KVCorner(QObject *pParent)
    : QObject(pParent)
{
}

KVCorner::KVCorner(const KVCorner &other, QObject *pParent)
    : QObject(pParent)
{
    copyFrom(other);
}

KVCorner::~KVCorner() = default;

KVCorner *KVCorner::clone() const
{
    return new KVCorner(*this);
}

void KVCorner::copyFrom(const KVCorner &other)
{
    m_nTopLeft = other.m_nTopLeft;
    m_nTopRight = other.m_nTopRight;
    m_nBottomLeft = other.m_nBottomLeft;
    m_nBottomRight = other.m_nBottomRight;
    m_nUnitTopLeft = other.m_nUnitTopLeft;
    m_nUnitTopRight = other.m_nUnitTopRight;
    m_nUnitBottomLeft = other.m_nUnitBottomLeft;
    m_nUnitBottomRight = other.m_nUnitBottomRight;
}

bool KVCorner::operator==(const KVCorner &other) const
{
    return m_nTopLeft == other.m_nTopLeft && m_nTopRight == other.m_nTopRight
        && m_nBottomLeft == other.m_nBottomLeft && m_nBottomRight == other.m_nBottomRight
        && m_nUnitTopLeft == other.m_nUnitTopLeft && m_nUnitTopRight == other.m_nUnitTopRight
        && m_nUnitBottomLeft == other.m_nUnitBottomLeft
        && m_nUnitBottomRight == other.m_nUnitBottomRight;
}

void KVCorner::setAll(double dRadius)
{
    m_nTopLeft = m_nTopRight = m_nBottomLeft = m_nBottomRight = dRadius;
}

void KVCorner::fromJson(const QJsonObject &jo)
{
    using KVJsonUtil::readDouble;
    using KVJsonUtil::readInt;
    m_nTopLeft = readDouble(jo, QStringLiteral("tl"), 0.0);
    m_nTopRight = readDouble(jo, QStringLiteral("tr"), 0.0);
    m_nBottomLeft = readDouble(jo, QStringLiteral("bl"), 0.0);
    m_nBottomRight = readDouble(jo, QStringLiteral("br"), 0.0);
    m_nUnitTopLeft = readInt(jo, QStringLiteral("unitTL"), 0);
    m_nUnitTopRight = readInt(jo, QStringLiteral("unitTR"), 0);
    m_nUnitBottomLeft = readInt(jo, QStringLiteral("unitBL"), 0);
    m_nUnitBottomRight = readInt(jo, QStringLiteral("unitBR"), 0);
}

void KVCorner::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("tl"), m_nTopLeft);
    jo.insert(QStringLiteral("tr"), m_nTopRight);
    jo.insert(QStringLiteral("bl"), m_nBottomLeft);
    jo.insert(QStringLiteral("br"), m_nBottomRight);
    jo.insert(QStringLiteral("unitTL"), m_nUnitTopLeft);
    jo.insert(QStringLiteral("unitTR"), m_nUnitTopRight);
    jo.insert(QStringLiteral("unitBL"), m_nUnitBottomLeft);
    jo.insert(QStringLiteral("unitBR"), m_nUnitBottomRight);
}

void KVCorner::toPlayerJson(QJsonArray &ja) const
{
    using KVJsonUtil::playerPosition;
    ja = QJsonArray();
    if (m_nTopLeft == 0.0 && m_nTopRight == 0.0 && m_nBottomLeft == 0.0 && m_nBottomRight == 0.0)
        return;
    ja = QJsonArray{playerPosition(m_nTopLeft, m_nUnitTopLeft),
                    playerPosition(m_nTopRight, m_nUnitTopRight),
                    playerPosition(m_nBottomLeft, m_nUnitBottomLeft),
                    playerPosition(m_nBottomRight, m_nUnitBottomRight)};
}
