#include "KVProjectSwitch.h"

#include "KVProjectPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

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
        strNewProject = strDot + paths.baseName() + QStringLiteral(".kavio.new");
        strNewResources = strDot + paths.resourceFolderName() + QStringLiteral(".new");
        strOldResources = strDot + paths.resourceFolderName() + QStringLiteral(".old");
        strLock = strDot + paths.baseName() + QStringLiteral(".kavio.switching");
    }
    QString strProject, strResources, strNewProject, strNewResources, strOldResources, strLock;
};

// rename(2) replaces an existing file in one step, which QFile::rename does not.
bool renameOver(const QString &strFrom, const QString &strTo)
{
    return std::rename(QFile::encodeName(strFrom).constData(), QFile::encodeName(strTo).constData()) == 0;
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
    return Names(m_strProjectFile).strNewResources;
}

bool KVProjectSwitch::begin()
{
    const Names names(m_strProjectFile);
    m_pLock = std::make_unique<QLockFile>(names.strLock);
    if (!m_pLock->tryLock(0)) {
        m_pLock.reset();
        return false;
    }
    finishLocked(m_strProjectFile);
    // What an interrupted switch left that finish() did not need is cleared as well.
    if (!removeFolder(names.strNewResources) || (QFileInfo::exists(names.strNewProject) && !QFile::remove(names.strNewProject))) {
        abandon();
        return false;
    }
    return true;
}

bool KVProjectSwitch::writeProjectFile(const QByteArray &data)
{
    const Names names(m_strProjectFile);
    // The new project file is complete before the new resource folder exists: finish() tells a
    // switch that never began by the two standing side by side.
    QSaveFile file(names.strNewProject);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return false;
    return QDir().mkpath(names.strNewResources);
}

bool KVProjectSwitch::commit()
{
    const Names names(m_strProjectFile);
    if (!renameOver(names.strNewProject, names.strProject))
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
    // The folder goes before the file, so that a kill in between leaves nothing finish() could
    // take for a begun switch.
    removeFolder(names.strNewResources);
    QFile::remove(names.strNewProject);
    m_pLock.reset();
}

KVProjectSwitch::Outcome KVProjectSwitch::finish(const QString &strProjectFile)
{
    const Names names(strProjectFile);
    if (!QFileInfo::exists(names.strNewResources) && !QFileInfo::exists(names.strOldResources)
        && !QFileInfo::exists(names.strNewProject) && !QFileInfo::exists(names.strLock))
        return Nothing;
    QLockFile lock(names.strLock);
    // A lock left by a killed process is stale and taken over.
    if (!lock.tryLock(0))
        return Busy;
    return finishLocked(strProjectFile);
}

KVProjectSwitch::Outcome KVProjectSwitch::finishLocked(const QString &strProjectFile)
{
    const Names names(strProjectFile);
    if (QFileInfo::exists(names.strNewResources)) {
        if (QFileInfo::exists(names.strNewProject)) {
            removeFolder(names.strNewResources);
            QFile::remove(names.strNewProject);
            return RolledBack;
        }
        // The new project file is the project file: its folder takes the previous one's place.
        if (QFileInfo::exists(names.strResources)) {
            removeFolder(names.strOldResources);
            if (!QDir().rename(names.strResources, names.strOldResources))
                return Nothing;
        }
        if (!QDir().rename(names.strNewResources, names.strResources))
            return Nothing;
        removeFolder(names.strOldResources);
        return Completed;
    }
    // A new project file alone was written before its folder was begun: the switch never began.
    QFile::remove(names.strNewProject);
    removeFolder(names.strOldResources);
    return Nothing;
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
