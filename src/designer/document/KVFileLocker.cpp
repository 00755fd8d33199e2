#include "KVFileLocker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

KVFileLocker::KVFileLocker(QObject *pParent)
    : QObject(pParent)
{
}

KVFileLocker::~KVFileLocker()
{
    unlockAll();
}

QString KVFileLocker::keyOf(const QString &strPath)
{
    const QFileInfo fi(strPath);
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : canonical;
}

bool KVFileLocker::lock(const QString &strPath)
{
    const QString key = keyOf(strPath);
    if (key.isEmpty() || m_files.contains(key) || !QFileInfo(key).isFile())
        return false;
    auto *file = new QFile(key);
    if (!file->open(QIODevice::ReadOnly)) {
        delete file;
        return false;
    }
    m_files.insert(key, file);
    return true;
}

bool KVFileLocker::unlock(const QString &strPath)
{
    QFile *file = m_files.take(keyOf(strPath));
    if (!file) {
        // A file renamed or removed since it was locked is still known by its old key.
        const QString clean = QDir::cleanPath(QFileInfo(strPath).absoluteFilePath());
        file = m_files.take(clean);
    }
    if (!file)
        return false;
    file->close();
    delete file;
    return true;
}

bool KVFileLocker::transfer(const QString &strFrom, const QString &strTo)
{
    const bool unlocked = unlock(strFrom);
    const bool locked = lock(strTo);
    return unlocked && locked;
}

bool KVFileLocker::isLocked(const QString &strPath) const
{
    return m_files.contains(keyOf(strPath));
}

QStringList KVFileLocker::lockedFiles() const
{
    QStringList out = m_files.keys();
    out.sort();
    return out;
}

void KVFileLocker::unlockAll()
{
    for (QFile *file : qAsConst(m_files)) {
        file->close();
        delete file;
    }
    m_files.clear();
}
