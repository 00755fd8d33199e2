#include "KVResource.h"

#include "KVFontResource.h"
#include "KVOtherResource.h"
#include "KVResourceType.h"
#include "MediaResource.h"
#include "model/KVJsonUtil.h"

#include <QtDebug>

#include <cmath>

KVResource::KVResource(int nType, const QString &strName, const QString &strFileName)
    : m_uuid(QUuid::createUuid())
    , m_nType(nType)
    , m_strName(strName)
    , m_strFileName(strFileName)
{
}

KVResource::~KVResource() = default;

QString KVResource::fileReference() const
{
    return m_strFileName;
}

QStringList KVResource::storedFiles() const
{
    if (m_strFileName.isEmpty())
        return {};
    return {m_strFileName};
}

QString KVResource::kindText() const
{
    return KVResourceType::fileKindText(m_nType);
}

KVResource *KVResource::clone() const
{
    return new KVResource(*this);
}

void KVResource::writeKindJson(QJsonObject &) const
{
}

void KVResource::readKindJson(const QJsonObject &)
{
}

void KVResource::retain()
{
    ++m_nUseCount;
}

void KVResource::release()
{
    if (m_nUseCount <= 0) {
        qWarning() << "Resource" << m_nId << "released more often than retained";
        return;
    }
    --m_nUseCount;
}

QJsonObject KVResource::toJson() const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("id"), m_nId);
    jo.insert(QStringLiteral("uuid"), m_uuid.toString());
    jo.insert(QStringLiteral("name"), m_strName);
    jo.insert(QStringLiteral("deleted"), m_bDeleted);
    jo.insert(QStringLiteral("type"), m_nType);
    jo.insert(QStringLiteral("dataSize"), double(m_nDataSize));
    jo.insert(QStringLiteral("fileName"), m_strFileName);
    writeKindJson(jo);
    return jo;
}

void KVResource::fromJson(const QJsonObject &jo)
{
    using namespace KVJsonUtil;
    m_nId = readInt(jo, QStringLiteral("id"), -1);
    const QUuid uuid(readString(jo, QStringLiteral("uuid")));
    m_uuid = uuid.isNull() ? QUuid::createUuid() : uuid;
    m_strName = readString(jo, QStringLiteral("name"));
    m_bDeleted = readBool(jo, QStringLiteral("deleted"), false);
    const double dSize = readDouble(jo, QStringLiteral("dataSize"), 0.0);
    m_nDataSize = std::isfinite(dSize) && dSize > 0 ? qint64(dSize) : 0;
    m_strFileName = readString(jo, QStringLiteral("fileName"));
    readKindJson(jo);
}

KVResource *KVResource::create(int nType)
{
    switch (nType) {
    case KVResourceType::Image:
    case KVResourceType::Symbol:
        return new KVResource(nType);
    case KVResourceType::Audio:
    case KVResourceType::Video:
        return new MediaResource(nType);
    case KVResourceType::Font:
        return new KVFontResource();
    case KVResourceType::Script:
    case KVResourceType::StyleSheet:
    case KVResourceType::HtmlPage:
        return new KVOtherResource(nType);
    default:
        return nullptr;
    }
}
