#include "KVBorder.h"

#include "KVColorJson.h"
#include "KVJsonUtil.h"

KVBorder::KVBorder(QObject *pParent)
    : QObject(pParent)
    , m_clBorderColor(QColor::fromRgba(0xff000000))
{
}

KVBorder::KVBorder(const KVBorder &other, QObject *pParent)
    : QObject(pParent)
{
    copyFrom(other);
}

KVBorder::~KVBorder() = default;

KVBorder *KVBorder::clone() const
{
    return new KVBorder(*this);
}

void KVBorder::copyFrom(const KVBorder &other)
{
    m_nStyle = other.m_nStyle;
    m_nWidth = other.m_nWidth;
    m_clBorderColor = other.m_clBorderColor;
}

bool KVBorder::operator==(const KVBorder &other) const
{
    return m_nStyle == other.m_nStyle && m_nWidth == other.m_nWidth
        && m_clBorderColor == other.m_clBorderColor;
}

void KVBorder::setBorderColor(const QColor &cl)
{
    m_clBorderColor = KVColorJson::normalized(cl);
}

void KVBorder::fromJson(const QJsonObject &jo)
{
    m_nStyle = KVJsonUtil::readInt(jo, QStringLiteral("style"), None);
    m_nWidth = KVJsonUtil::readInt(jo, QStringLiteral("width"), 0);
    m_clBorderColor = KVColorJson::readColor(jo, QStringLiteral("color"), QColor::fromRgba(0xff000000));
}

void KVBorder::toJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("style"), m_nStyle);
    jo.insert(QStringLiteral("width"), m_nWidth);
    jo.insert(QStringLiteral("color"), KVColorJson::toArgbInt(m_clBorderColor));
}

void KVBorder::toPlayerJson(QJsonArray &ja) const
{
    ja = QJsonArray();
    if (m_nStyle == None)
        return;
    ja.append(m_nStyle);
    ja.append(m_nWidth);
    KVColorJson::appendRgba(ja, m_clBorderColor);
}
