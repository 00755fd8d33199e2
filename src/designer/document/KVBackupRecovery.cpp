#include "KVBackupRecovery.h"

#include "KVDocument.h"
#include "IKVDocumentHost.h"
#include "KVFileLocker.h"

#include "Reporter.h"
#include "resources/KVFileCopier.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {
// Copies a folder with everything below it.
bool copyTree(const QString &strFrom, const QString &strTo, IKVProgress *pProgress)
{
    QStringList files;
    qint64 nTotal = 0;
    QDirIterator it(strFrom, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << it.next();
        nTotal += it.fileInfo().size();
    }
    const QDir from(strFrom);
    KVFileCopier copier(pProgress, KVBackupRecovery::tr("Copying resource files..."), KVBackupRecovery::tr("Cancel"),
                        nTotal);
    for (const QString &file : qAsConst(files)) {
        const QString target = strTo + QLatin1Char('/') + from.relativeFilePath(file);
        if (!QDir().mkpath(QFileInfo(target).absolutePath()))
            return false;
        if (copier.copy(file, target) != KVFileCopier::Copied)
            return false;
    }
    return QDir().mkpath(strTo);
}
} // namespace

KVBackupRecovery::Result KVBackupRecovery::recover(KVDocument *pDocument, KVDocument **ppSide)
{
    const KVProjectPaths p(pDocument->getFileName());
    if (!QFileInfo(p.backupFile()).isFile())
        return Continue;
    const QStringList buttons = {tr("Open Backup"), tr("Open Both"), tr("Open Last Saved"), tr("Cancel")};
    const int nChoice = Reporter::choose(tr("The project was closed unexpectedly or the data was corrupted.\n"
                                            "Please select an option to continue."),
                                         buttons, 0);
    switch (nChoice) {
    case 0: {
        // A leftover "<file>.old" is never overwritten: it may be the only saved copy.
        if (QFileInfo::exists(p.oldFile())) {
            Reporter::error(tr("Unable to open backup project."));
            return Cancel;
        }
        const bool bHadProject = QFileInfo::exists(p.projectFile());
        if (bHadProject && !QFile::rename(p.projectFile(), p.oldFile())) {
            Reporter::error(tr("Unable to open backup project."));
            return Cancel;
        }
        if (!QFile::rename(p.backupFile(), p.projectFile())) {
            if (bHadProject)
                QFile::rename(p.oldFile(), p.projectFile());
            Reporter::error(tr("Unable to open backup project."));
            return Cancel;
        }
        pDocument->fileLocker()->lock(p.oldFile());
        pDocument->setOpenAsBackup(true);
        return Continue;
    }
    case 1:
        if (!openBoth(pDocument, p, ppSide))
            Reporter::error(tr("Unable to open backup project."));
        return Continue;
    case 2:
        QFile::remove(p.backupFile());
        return Continue;
    default:
        return Cancel;
    }
}

bool KVBackupRecovery::openBoth(KVDocument *pDocument, const KVProjectPaths &p, KVDocument **ppSide)
{
    // The backup becomes a project of its own beside the last saved one, with a copy of the
    // resource folder; the pair is only made when neither name is taken.
    const QString strCopy = p.backupCopyFile();
    const QString strCopyRes = p.backupCopyResourceFolder();
    if (QFileInfo::exists(strCopy) || QFileInfo::exists(strCopyRes))
        return false;
    auto undoCopy = [&] { QDir(strCopyRes).removeRecursively(); };
    if (QFileInfo(p.resourceFolder()).isDir()) {
        if (!copyTree(p.resourceFolder(), strCopyRes, pDocument->progress())) {
            undoCopy();
            return false;
        }
    } else if (!QDir().mkpath(strCopyRes)) {
        return false;
    }
    if (!QFile::rename(p.backupFile(), strCopy)) {
        undoCopy();
        return false;
    }
    auto *pSide = new KVDocument;
    pSide->setFileName(strCopy);
    pSide->setIsTempDocument(true);
    if (!pSide->readFile(strCopy)) {
        delete pSide;
        // Nothing of the backup is lost: it goes back under its name.
        QFile::rename(strCopy, p.backupFile());
        undoCopy();
        return false;
    }
    IKVDocumentHost *pHost = KVDocument::host();
    if (!pHost || !pHost->showDocument(pSide))
        *ppSide = pSide;
    return true;
}

void KVBackupRecovery::restoreLastSaved(KVDocument *pDocument)
{
    const KVProjectPaths p(pDocument->getFileName());
    KVFileLocker *pLocker = pDocument->fileLocker();
    pLocker->unlock(p.projectFile());
    pLocker->unlock(p.oldFile());
    // A backup written during the session gives way to the one that was opened.
    QFile::remove(p.backupFile());
    pDocument->removeOwnedFile(QDir(p.folder()).relativeFilePath(p.backupFile()));
    if (!QFile::rename(p.projectFile(), p.backupFile()))
        QFile::remove(p.projectFile());
    QFile::rename(p.oldFile(), p.projectFile());
    pLocker->lock(p.projectFile());
    pDocument->setOpenAsBackup(false);
}
