#include "KVOwnedFileCopy.h"

#include "Reporter.h"
#include "resources/KVFileCopier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

KVOwnedFileCopy::KVOwnedFileCopy(const KVProjectPaths &from, const KVProjectPaths &to)
    : m_from(from)
    , m_to(to)
{
}

QString KVOwnedFileCopy::movedPath(const QString &strRelative, const QString &strOldFolderName,
                                   const QString &strNewFolderName)
{
    if (KVProjectPaths::startsWithFolder(strRelative, strOldFolderName))
        return strNewFolderName + strRelative.mid(strOldFolderName.size());
    return strRelative;
}

bool KVOwnedFileCopy::run(const QStringList &owned, const QStringList &required, IKVProgress *pProgress)
{
    m_entries.clear();
    m_bCanceled = false;
    const QString strNewFolder = m_strStagingFolder.isEmpty() ? m_to.resourceFolder() : m_strStagingFolder;
    if (!QFileInfo(strNewFolder).isDir()) {
        if (!QDir().mkpath(strNewFolder)) {
            Reporter::error(tr("Error when saving resource file."));
            return false;
        }
        m_bCreatedFolder = true;
    }

    qint64 nTotal = 0;
    for (const QString &rel : owned) {
        Entry e;
        e.strOldRelative = rel;
        e.strNewRelative = movedPath(rel, m_from.resourceFolderName(), m_to.resourceFolderName());
        e.strOldPath = m_from.absolute(rel);
        e.strNewPath = m_to.absolute(e.strNewRelative);
        e.strWritePath = e.strNewPath;
        if (!m_strStagingFolder.isEmpty() && KVProjectPaths::startsWithFolder(e.strNewRelative, m_to.resourceFolderName()))
            e.strWritePath = m_strStagingFolder + e.strNewRelative.mid(m_to.resourceFolderName().size());
        const QFileInfo fi(e.strOldPath);
        if (!fi.isFile()) {
            if (required.contains(rel)) {
                Reporter::error(tr("Error when saving resource file."));
                rollback();
                return false;
            }
            continue;
        }
        nTotal += fi.size();
        m_entries.append(e);
    }

    KVFileCopier copier(pProgress, tr("Copying resource files..."), tr("Cancel"), nTotal);
    for (Entry &e : m_entries) {
        if (KVProjectPaths::isSameFile(e.strOldPath, e.strNewPath))
            continue;
        // A file already there belongs to the project being overwritten (the user agreed to it);
        // it is replaced whole, and a rollback leaves it in place.
        const bool bExisted = QFileInfo::exists(e.strWritePath);
        if (!QDir().mkpath(QFileInfo(e.strWritePath).absolutePath())) {
            Reporter::error(tr("Error when saving resource file."));
            rollback();
            return false;
        }
        const KVFileCopier::Result result = copier.copy(e.strOldPath, e.strWritePath);
        if (result == KVFileCopier::Canceled) {
            m_bCanceled = true;
            rollback();
            return false;
        }
        if (result != KVFileCopier::Copied) {
            Reporter::error(tr("Error when saving resource file."));
            rollback();
            return false;
        }
        e.bCopied = !bExisted;
    }
    return true;
}

QStringList KVOwnedFileCopy::newOwnedFiles() const
{
    QStringList out;
    for (const Entry &e : m_entries)
        out << e.strNewRelative;
    return out;
}

void KVOwnedFileCopy::rollback()
{
    for (Entry &e : m_entries) {
        if (e.bCopied)
            QFile::remove(e.strWritePath);
        e.bCopied = false;
    }
    if (m_bCreatedFolder) {
        QDir(m_strStagingFolder.isEmpty() ? m_to.resourceFolder() : m_strStagingFolder).removeRecursively();
        m_bCreatedFolder = false;
    }
}
