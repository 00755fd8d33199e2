#pragma once

#include "KVProjectPaths.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

class IKVProgress;

// Copies the resource files a document owns from its project folder into the folder of a project
// saved elsewhere. A path inside the old resource folder ("<old base>_res/...") goes to the new one
// ("<new base>_res/..."); other relative paths keep their place below the project folder. Files are
// copied in blocks of 1 MiB with a progress and a cancel button above 20 MiB, each under a temporary
// name renamed into place when complete. Until commit() nothing of the old project changes, and
// rollback() takes away everything the copy made.
class KVOwnedFileCopy
{
    Q_DECLARE_TR_FUNCTIONS(KVOwnedFileCopy)
public:
    struct Entry
    {
        QString strOldRelative;
        QString strNewRelative;
        QString strOldPath;
        QString strNewPath;
        QString strWritePath; // where the copy is written (strNewPath, or its place in the staging folder)
        bool bCopied = false; // a new file was made where there was none
    };

    KVOwnedFileCopy(const KVProjectPaths &from, const KVProjectPaths &to);
    // Files bound for the new resource folder are written into this existing folder instead, at the
    // same place below it (the folder that later takes the resource folder's place).
    void setStagingFolder(const QString &strFolder) { m_strStagingFolder = strFolder; }

    // Copies the owned files (relative to the old project folder). A missing file is left out
    // unless it is in strRequired; a file that cannot be read or written gives "Error when saving
    // resource file." and false. A cancel gives false without a message.
    bool run(const QStringList &owned, const QStringList &required, IKVProgress *pProgress);
    bool wasCanceled() const { return m_bCanceled; }
    const QList<Entry> &entries() const { return m_entries; }
    QStringList newOwnedFiles() const;
    // Removes the files the copy made, and the new resource folder when the copy created it.
    void rollback();

    // The path of an owned file in the new project.
    static QString movedPath(const QString &strRelative, const QString &strOldFolderName,
                             const QString &strNewFolderName);

private:
    KVProjectPaths m_from;
    KVProjectPaths m_to;
    QString m_strStagingFolder;
    QList<Entry> m_entries;
    bool m_bCreatedFolder = false;
    bool m_bCanceled = false;
};
