#pragma once

#include <QHash>
#include <QObject>

class QFile;

// Keeps a document's project and resource files open read-only while the document uses them, so
// that they are seen as in use. Files are known by their canonical path.
class KVFileLocker : public QObject
{
    Q_OBJECT
public:
    explicit KVFileLocker(QObject *pParent = nullptr);
    ~KVFileLocker() override; // closes every file

    // Opens the file read-only and keeps it open; false when it is already locked or cannot be opened.
    bool lock(const QString &strPath);
    // Closes and forgets the file; false when it is not locked.
    bool unlock(const QString &strPath);
    // Unlocks strFrom and locks strTo (a file moved or copied elsewhere); false when either fails.
    bool transfer(const QString &strFrom, const QString &strTo);
    bool isLocked(const QString &strPath) const;
    QStringList lockedFiles() const;
    void unlockAll();

    // The key a path is known by: the canonical path when the file exists, else the clean absolute path.
    static QString keyOf(const QString &strPath);

private:
    QHash<QString, QFile *> m_files;
};
