#pragma once

#include <QString>

// The files and folders that belong to a project, named from its project file "<folder>/<base>.kavio":
// the resource folder "<base>_res", the automatic backup "<base>.kaviobak", the last saved file
// "<base>.kavio.old" kept while a backup is open in its place, the copy "<base>-backup.kavio" with
// its "<base>-backup_res" made when the user opens both, and the custom preloader inside the
// resource folder.
class KVProjectPaths
{
public:
    explicit KVProjectPaths(const QString &strProjectFile = QString());

    bool isEmpty() const { return m_strFile.isEmpty(); }
    QString projectFile() const { return m_strFile; } // absolute, cleaned
    QString folder() const { return m_strFolder; }
    QString baseName() const { return m_strBase; } // complete base name
    QString resourceFolderName() const { return m_strBase + QStringLiteral("_res"); }
    QString resourceFolder() const;
    QString backupFile() const;
    QString oldFile() const;
    QString backupCopyFile() const;
    QString backupCopyResourceFolder() const;
    QString preloaderFolder() const;
    QString preloaderFile() const;
    QString previewFolder() const;
    // Path of a file relative to the project folder as an absolute path (absolute paths stay).
    QString absolute(const QString &strRelative) const;

    // The canonical path of an existing file, else the clean absolute path.
    static QString canonical(const QString &strPath);
    static bool isSameFile(const QString &strA, const QString &strB);
    // Whether an existing file lies in the folder once links are followed (a file that is not
    // there counts as inside: it reads nothing).
    static bool isInFolder(const QString &strPath, const QString &strFolder);
    // Whether strPath (relative to a project folder) starts with the folder name strFolderName,
    // compared without regard to case, and continues with a separator.
    static bool startsWithFolder(const QString &strPath, const QString &strFolderName);

private:
    QString m_strFile;
    QString m_strFolder;
    QString m_strBase;
};
