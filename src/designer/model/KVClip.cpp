#include "KVClip.h"

#include "KVJsonUtil.h"

KVClip::KVClip(QObject *pParent)
    : QObject(pParent)
{
}

KVClip::KVClip(const KVClip &other, QObject *pParent)
    : QObject(pParent)
{
    copyFrom(other);
}

KVClip::~KVClip() = default;

KVClip *KVClip::clone() const
{
    return new KVClip(*this);
}

void KVClip::copyFrom(const KVClip &other)
{
    m_dCRectTop = other.m_dCRectTop;
    m_dCRectRight = other.m_dCRectRight;
    m_dCRectBottom = other.m_dCRectBottom;
    m_dCRectLeft = other.m_dCRectLeft;
    m_nUnitRectTop = other.m_nUnitRectTop;
    m_nUnitRectRight = other.m_nUnitRectRight;
    m_nUnitRectBottom = other.m_nUnitRectBottom;
    m_nUnitRectLeft = other.m_nUnitRectLeft;
    m_dCOvalVertex = other.m_dCOvalVertex;
    m_dCOvalCoVertex = other.m_dCOvalCoVertex;
    m_nUnitOvalVertex = other.m_nUnitOvalVertex;
    m_nUnitOvalCoVertex = other.m_nUnitOvalCoVertex;
    m_dCCircleRadius = other.m_dCCircleRadius;
    m_nUnitCircleRadius = other.m_nUnitCircleRadius;
    m_nStyle = other.m_nStyle;
}

bool KVClip::operator==(const KVClip &other) const
{
    return m_dCRectTop == other.m_dCRectTop && m_dCRectRight == other.m_dCRectRight
        && m_dCRectBottom == other.m_dCRectBottom && m_dCRectLeft == other.m_dCRectLeft
        && m_nUnitRectTop == other.m_nUnitRectTop && m_nUnitRectRight == other.m_nUnitRectRight
        && m_nUnitRectBottom == other.m_nUnitRectBottom && m_nUnitRectLeft == other.m_nUnitRectLeft
        && m_dCOvalVertex == other.m_dCOvalVertex && m_dCOvalCoVertex == other.m_dCOvalCoVertex
        && m_nUnitOvalVertex == other.m_nUnitOvalVertex
        && m_nUnitOvalCoVertex == other.m_nUnitOvalCoVertex
        && m_dCCircleRadius == other.m_dCCircleRadius
        && m_nUnitCircleRadius == other.m_nUnitCircleRadius && m_nStyle == other.m_nStyle;
}

void KVClip::fromJson(const QJsonObject &jo)
{
    using KVJsonUtil::readDouble;
    using KVJsonUtil::readInt;
    m_nStyle = readInt(jo, QStringLiteral("s"), NoClip);
    m_dCRectTop = readDouble(jo, QStringLiteral("rt"), 0.0);
    m_dCRectRight = readDouble(jo, QStringLiteral("rr"), 0.0);
    m_dCRectBottom = readDouble(jo, QStringLiteral("rb"), 0.0);
    m_dCRectLeft = readDouble(jo, QStringLiteral("rl"), 0.0);
    m_nUnitRectTop = readInt(jo, QStringLiteral("urt"), 0);
    m_nUnitRectRight = readInt(jo, QStringLiteral("urr"), 0);
    m_nUnitRectBottom = readInt(jo, QStringLiteral("urb"), 0);
    m_nUnitRectLeft = readInt(jo, QStringLiteral("url"), 0);
    m_dCOvalVertex = readDouble(jo, QStringLiteral("ov"), 0.25);
    m_dCOvalCoVertex = readDouble(jo, QStringLiteral("oc"), 0.5);
    m_nUnitOvalVertex = readInt(jo, QStringLiteral("uov"), 1);
    m_nUnitOvalCoVertex = readInt(jo, QStringLiteral("uoc"), 1);
    m_dCCircleRadius = readDouble(jo, QStringLiteral("cc"), 0.5);
    m_nUnitCircleRadius = readInt(jo, QStringLiteral("ucc"), 1);
}

void KVClip::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("s"), m_nStyle);
    jo.insert(QStringLiteral("rt"), m_dCRectTop);
    jo.insert(QStringLiteral("rr"), m_dCRectRight);
    jo.insert(QStringLiteral("rb"), m_dCRectBottom);
    jo.insert(QStringLiteral("rl"), m_dCRectLeft);
    jo.insert(QStringLiteral("urt"), m_nUnitRectTop);
    jo.insert(QStringLiteral("urr"), m_nUnitRectRight);
    jo.insert(QStringLiteral("urb"), m_nUnitRectBottom);
    jo.insert(QStringLiteral("url"), m_nUnitRectLeft);
    jo.insert(QStringLiteral("ov"), m_dCOvalVertex);
    jo.insert(QStringLiteral("oc"), m_dCOvalCoVertex);
    jo.insert(QStringLiteral("uov"), m_nUnitOvalVertex);
    jo.insert(QStringLiteral("uoc"), m_nUnitOvalCoVertex);
    jo.insert(QStringLiteral("cc"), m_dCCircleRadius);
    jo.insert(QStringLiteral("ucc"), m_nUnitCircleRadius);
}

void KVClip::toPlayerJson(QJsonArray &ja) const
{
    using KVJsonUtil::playerPosition;
    ja = QJsonArray();
    switch (m_nStyle) {
    case Rectangle:
        ja = QJsonArray{int(Rectangle), playerPosition(m_dCRectTop, m_nUnitRectTop),
                        playerPosition(m_dCRectRight, m_nUnitRectRight),
                        playerPosition(m_dCRectBottom, m_nUnitRectBottom),
                        playerPosition(m_dCRectLeft, m_nUnitRectLeft)};
        break;
    case Circle:
        ja = QJsonArray{int(Circle), playerPosition(m_dCCircleRadius, m_nUnitCircleRadius)};
        break;
    case Oval:
        ja = QJsonArray{int(Oval), playerPosition(m_dCOvalVertex, m_nUnitOvalVertex),
                        playerPosition(m_dCOvalCoVertex, m_nUnitOvalCoVertex)};
        break;
    default:
        break;
    }
}
