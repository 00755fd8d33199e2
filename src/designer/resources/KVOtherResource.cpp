#include "KVOtherResource.h"

#include "KVResourceType.h"
#include "model/KVJsonUtil.h"

#include <QCryptographicHash>

KVOtherResource::KVOtherResource(int nType, const QString &strName, const QString &strFileName)
    : KVResource(nType, strName, strFileName)
    , m_strContentMd5(digestOf(QString()))
{
}

QString KVOtherResource::fileReference() const
{
    return fileName();
}

QStringList KVOtherResource::storedFiles() const
{
    if (!hasFolderFile())
        return {};
    return KVResource::storedFiles();
}

KVResource *KVOtherResource::clone() const
{
    return new KVOtherResource(*this);
}

void KVOtherResource::setSavedContent(const QString &strContent)
{
    m_strContent = strContent;
    m_strContentMd5 = digestOf(strContent);
}

QString KVOtherResource::digestOf(const QString &strContent)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(strContent.toUtf8(), QCryptographicHash::Md5).toHex());
}

void KVOtherResource::writeKindJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("resourceType"), m_nResourceType);
    if (type() == KVResourceType::Script || type() == KVResourceType::StyleSheet)
        jo.insert(QStringLiteral("includeHeader"), m_bIncludeHeader);
}

void KVOtherResource::readKindJson(const QJsonObject &jo)
{
    using namespace KVJsonUtil;
    m_nResourceType = readInt(jo, QStringLiteral("resourceType"), ImportedFile);
    if (type() == KVResourceType::Script || type() == KVResourceType::StyleSheet)
        m_bIncludeHeader = readBool(jo, QStringLiteral("includeHeader"), true);
}
