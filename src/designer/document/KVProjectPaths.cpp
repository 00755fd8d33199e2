#include "KVProjectPaths.h"

#include <QDir>
#include <QFileInfo>

KVProjectPaths::KVProjectPaths(const QString &strProjectFile)
{
    if (strProjectFile.isEmpty())
        return;
    const QFileInfo fi(strProjectFile);
    m_strFile = QDir::cleanPath(fi.absoluteFilePath());
    m_strFolder = QDir::cleanPath(fi.absolutePath());
    m_strBase = fi.completeBaseName();
}

QString KVProjectPaths::resourceFolder() const
{
    return isEmpty() ? QString() : m_strFolder + QLatin1Char('/') + resourceFolderName();
}

QString KVProjectPaths::backupFile() const
{
    return isEmpty() ? QString() : m_strFolder + QLatin1Char('/') + m_strBase + QStringLiteral(".kaviobak");
}

QString KVProjectPaths::oldFile() const
{
    return isEmpty() ? QString() : m_strFile + QStringLiteral(".old");
}

QString KVProjectPaths::backupCopyFile() const
{
    return isEmpty() ? QString() : m_strFolder + QLatin1Char('/') + m_strBase + QStringLiteral("-backup.kavio");
}

QString KVProjectPaths::backupCopyResourceFolder() const
{
    return isEmpty() ? QString() : m_strFolder + QLatin1Char('/') + m_strBase + QStringLiteral("-backup_res");
}

QString KVProjectPaths::preloaderFolder() const
{
    return isEmpty() ? QString() : resourceFolder() + QStringLiteral("/preloader");
}

QString KVProjectPaths::preloaderFile() const
{
    return isEmpty() ? QString() : preloaderFolder() + QStringLiteral("/preloader.kavio");
}

QString KVProjectPaths::previewFolder() const
{
    return isEmpty() ? QString() : resourceFolder() + QStringLiteral("/preview");
}

QString KVProjectPaths::absolute(const QString &strRelative) const
{
    if (QDir::isAbsolutePath(strRelative))
        return QDir::cleanPath(strRelative);
    return QDir::cleanPath(m_strFolder + QLatin1Char('/') + strRelative);
}

QString KVProjectPaths::canonical(const QString &strPath)
{
    if (strPath.isEmpty())
        return QString();
    const QFileInfo fi(strPath);
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : c;
}

bool KVProjectPaths::isSameFile(const QString &strA, const QString &strB)
{
    return !strA.isEmpty() && canonical(strA) == canonical(strB);
}

bool KVProjectPaths::isInFolder(const QString &strPath, const QString &strFolder)
{
    const QString strTarget = QFileInfo(strPath).canonicalFilePath();
    if (strTarget.isEmpty())
        return true;
    const QString strRoot = QFileInfo(strFolder).canonicalFilePath();
    return !strRoot.isEmpty() && strTarget.startsWith(strRoot + QLatin1Char('/'));
}

bool KVProjectPaths::startsWithFolder(const QString &strPath, const QString &strFolderName)
{
    if (strFolderName.isEmpty() || strPath.size() <= strFolderName.size())
        return false;
    const QChar sep = strPath.at(strFolderName.size());
    return (sep == QLatin1Char('/') || sep == QLatin1Char('\\'))
        && strPath.startsWith(strFolderName, Qt::CaseInsensitive);
}
