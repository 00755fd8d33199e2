#include "MediaResource.h"

#include "KVResourceType.h"
#include "model/KVJsonUtil.h"

#include <QFileInfo>
#include <QJsonArray>

MediaResource::MediaResource(int nType, const QString &strName, const QString &strFileName)
    : KVResource(nType, strName, strFileName)
{
    if (!strFileName.isEmpty())
        m_fileNames.insert(formatOf(strFileName), strFileName);
}

QString MediaResource::formatOf(const QString &strFileName)
{
    return QFileInfo(strFileName).suffix().toLower();
}

QStringList MediaResource::storedFiles() const
{
    if (m_fileNames.isEmpty())
        return KVResource::storedFiles();
    return m_fileNames.values();
}

KVResource *MediaResource::clone() const
{
    return new MediaResource(*this);
}

QString MediaResource::setFormatFile(const QString &strFileName, const QString &strOriginalPath)
{
    const QString strFormat = formatOf(strFileName);
    const QString strOld = m_fileNames.value(strFormat);
    m_fileNames.insert(strFormat, strFileName);
    if (strOriginalPath.isEmpty())
        m_originalPaths.remove(strFormat);
    else
        m_originalPaths.insert(strFormat, strOriginalPath);
    if (fileName().isEmpty() || fileName() == strOld)
        setFileName(strFileName);
    return strOld;
}

bool MediaResource::removeFormat(const QString &strFormat)
{
    const QString strKey = strFormat.toLower();
    if (!m_fileNames.contains(strKey))
        return false;
    const QString strOld = m_fileNames.take(strKey);
    m_originalPaths.remove(strKey);
    if (fileName() == strOld)
        setFileName(m_fileNames.isEmpty() ? QString() : m_fileNames.first());
    return true;
}

bool MediaResource::setMediaSize(const QSize &size)
{
    if (size.width() < 1 || size.height() < 1)
        return false;
    m_mediaSize = size;
    return true;
}

void MediaResource::writeKindJson(QJsonObject &jo) const
{
    jo.insert(QStringLiteral("resourceType"), m_nResourceType);
    QJsonArray jaFiles;
    for (const QString &strFile : m_fileNames)
        jaFiles.append(strFile);
    jo.insert(QStringLiteral("fileNames"), jaFiles);
    if (type() == KVResourceType::Video && m_mediaSize.width() >= 1 && m_mediaSize.height() >= 1) {
        jo.insert(QStringLiteral("mediaW"), m_mediaSize.width());
        jo.insert(QStringLiteral("mediaH"), m_mediaSize.height());
    }
}

void MediaResource::readKindJson(const QJsonObject &jo)
{
    using namespace KVJsonUtil;
    m_nResourceType = readInt(jo, QStringLiteral("resourceType"), 0);
    m_fileNames.clear();
    m_originalPaths.clear();
    for (const QJsonValue &value : readArray(jo, QStringLiteral("fileNames"))) {
        const QString strFile = value.toString();
        if (!strFile.isEmpty())
            m_fileNames.insert(formatOf(strFile), strFile);
    }
    // A project without the list still has its one file.
    if (m_fileNames.isEmpty() && !fileName().isEmpty())
        m_fileNames.insert(formatOf(fileName()), fileName());
    if (fileName().isEmpty() && !m_fileNames.isEmpty())
        setFileName(m_fileNames.first());
    m_mediaSize = QSize(0, 0);
    setMediaSize(QSize(readInt(jo, QStringLiteral("mediaW"), 0), readInt(jo, QStringLiteral("mediaH"), 0)));
}
