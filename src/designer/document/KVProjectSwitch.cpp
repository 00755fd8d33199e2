#include "KVProjectSwitch.h"

#include "KVProjectPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <cstdio>

namespace {

struct Names
{
    explicit Names(const QString &strProjectFile)
    {
        const KVProjectPaths paths(strProjectFile);
        strProject = paths.projectFile();
        strResources = paths.resourceFolder();
        const QString strDot = paths.folder() + QStringLiteral("/.");
        strStage = strDot + paths.baseName() + QStringLiteral(".kavio.new");
        strStageBeingMade = strStage + QLatin1Char('~');
        strStagedProject = strStage + QLatin1Char('/') + paths.baseName() + QStringLiteral(".kavio");
        strStagedResources = strStage + QStringLiteral("/res");
        strOldResources = strDot + paths.resourceFolderName() + QStringLiteral(".old");
        strLock = strDot + paths.baseName() + QStringLiteral(".kavio.switching");
    }
    QString strProject, strResources, strStage, strStageBeingMade, strStagedProject, strStagedResources,
        strOldResources, strLock;
};

// rename(2) replaces an existing file in one step, which QFile::rename does not.
bool renameOver(const QString &strFrom, const QString &strTo)
{
    return std::rename(QFile::encodeName(strFrom).constData(), QFile::encodeName(strTo).constData()) == 0;
}

// Takes the lock of a switch. A lock whose process has ended is taken over; so is one that never
// got the process's details written into it (its process was killed between making the file and
// writing it; a running process writes them at once). Only the process decides: a long switch
// keeps its lock however old the file grows.
bool takeLock(QLockFile &lock, const QString &strPath)
{
    lock.setStaleLockTime(0);
    if (lock.tryLock(0))
        return true;
    qint64 nPid = 0;
    QString strHost, strApp;
    if (lock.getLockInfo(&nPid, &strHost, &strApp))
        return false;
    QThread::msleep(100);
    if (lock.getLockInfo(&nPid, &strHost, &strApp) || !QFileInfo::exists(strPath))
        return lock.tryLock(0);
    QFile::remove(strPath);
    return lock.tryLock(0);
}

bool removeFolder(const QString &strPath)
{
    return !QFileInfo::exists(strPath) || QDir(strPath).removeRecursively();
}

} // namespace

KVProjectSwitch::KVProjectSwitch(const QString &strProjectFile)
    : m_strProjectFile(strProjectFile)
{
}

KVProjectSwitch::~KVProjectSwitch() = default;

QString KVProjectSwitch::stagedResourceFolder() const
{
    return Names(m_strProjectFile).strStagedResources;
}

bool KVProjectSwitch::begin()
{
    const Names names(m_strProjectFile);
    m_pLock = std::make_unique<QLockFile>(names.strLock);
    if (!takeLock(*m_pLock, names.strLock)) {
        m_pLock.reset();
        return false;
    }
    finishLocked(m_strProjectFile);
    return true;
}

bool KVProjectSwitch::writeProjectFile(const QByteArray &data)
{
    const Names names(m_strProjectFile);
    // The staging folder appears under its name in one step, with the new project file and the
    // (empty) new resource folder in it: finish() tells a switch that has not begun by that file.
    if (!removeFolder(names.strStageBeingMade) || !QDir().mkpath(names.strStageBeingMade + QStringLiteral("/res")))
        return false;
    QFile file(names.strStageBeingMade + QLatin1Char('/') + QFileInfo(names.strStagedProject).fileName());
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.flush())
        return false;
    file.close();
    return QDir().rename(names.strStageBeingMade, names.strStage);
}

bool KVProjectSwitch::commit()
{
    const Names names(m_strProjectFile);
    if (!renameOver(names.strStagedProject, names.strProject))
        return false;
    finishLocked(m_strProjectFile);
    m_pLock.reset();
    return true;
}

void KVProjectSwitch::abandon()
{
    // Without the lock the staging names may be another process's.
    if (!m_pLock)
        return;
    const Names names(m_strProjectFile);
    removeFolder(names.strStageBeingMade);
    removeFolder(names.strStage);
    m_pLock.reset();
}

KVProjectSwitch::Outcome KVProjectSwitch::finish(const QString &strProjectFile)
{
    const Names names(strProjectFile);
    if (!QFileInfo::exists(names.strStage) && !QFileInfo::exists(names.strStageBeingMade)
        && !QFileInfo::exists(names.strOldResources) && !QFileInfo::exists(names.strLock))
        return Nothing;
    QLockFile lock(names.strLock);
    if (!takeLock(lock, names.strLock))
        return Busy;
    return finishLocked(strProjectFile);
}

KVProjectSwitch::Outcome KVProjectSwitch::finishLocked(const QString &strProjectFile)
{
    const Names names(strProjectFile);
    removeFolder(names.strStageBeingMade);
    Outcome outcome = Nothing;
    if (QFileInfo::exists(names.strStage)) {
        if (QFileInfo::exists(names.strStagedProject)) {
            // The new project file never took the project's place.
            removeFolder(names.strStage);
            return RolledBack;
        }
        // It did: its resource folder takes the previous one's place.
        if (QFileInfo::exists(names.strStagedResources)) {
            if (QFileInfo::exists(names.strResources)) {
                removeFolder(names.strOldResources);
                if (!QDir().rename(names.strResources, names.strOldResources))
                    return Nothing;
            }
            if (!QDir().rename(names.strStagedResources, names.strResources))
                return Nothing;
            outcome = Completed;
        }
        removeFolder(names.strStage);
    }
    removeFolder(names.strOldResources);
    return outcome;
}

QString KVProjectSwitch::describe(Outcome outcome)
{
    switch (outcome) {
    case RolledBack:
        return tr("A save over this project was interrupted before it began to replace it; what it had "
                  "written was removed and the project is the one saved before.");
    case Completed:
        return tr("A save over this project was interrupted while it replaced it; the new project's "
                  "resource folder was put in place.");
    case Busy:
        return tr("Another program is saving over this project now.");
    case Nothing:
        break;
    }
    return QString();
}
