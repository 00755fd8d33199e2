#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class IKVProgress;
class KVResource;
class KVResourceManager;

// Brings files into a document's resource folder for its resource manager: imports of files from
// disk, further files of a resource, copies of another document's resources and refreshes from the
// original files. Files are copied in 1 MiB blocks under a temporary name and renamed when complete;
// large runs show their progress through the document's IKVProgress and can be aborted.
class KVResourceImporter
{
    Q_DECLARE_TR_FUNCTIONS(KVResourceImporter)
public:
    explicit KVResourceImporter(KVResourceManager *pManager);

    // See KVResourceManager::importFiles.
    QList<KVResource *> importFiles(const QStringList &paths, int nType, QStringList *pFailed);
    bool wasCanceled() const { return m_bCanceled; }
    QString storeFile(const QString &strPath);
    KVResource *copyResource(const KVResource *pSource, const QString &strSourceFolder, bool *pReused);
    bool updateFromOriginal(KVResource *pResource);

private:
    IKVProgress *progress() const;
    KVResource *createImported(const QString &strPath, int nType, const QString &strStored,
                               const QStringList &takenNames) const;
    static void reportOrCollect(const QString &strText, const QString &strPath, QStringList *pFailed);

    KVResourceManager *m_pManager;
    bool m_bCanceled = false;
};
