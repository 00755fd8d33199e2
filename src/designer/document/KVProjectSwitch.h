#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <memory>

class QLockFile;

// Puts a new project in the place of "<folder>/<base>.kavio" and its resource folder "<base>_res"
// (a save under the name of an existing project) so that, whenever the writing process is killed,
// the project there is wholly the previous one or wholly the new one.
//
// Everything new is written beside the target first, into the staging folder ".<base>.kavio.new",
// which appears in one step (it is made as ".<base>.kavio.new~" and renamed) holding the new
// project file "<base>.kavio" and the new resource folder "res" that the resource files are then
// copied into. commit() renames the new project file over the target: from that moment the project
// is the new one. The resource folders are then switched (the previous one moves aside to
// ".<base>_res.old", "res" takes its place) and the rest is deleted.
//
// The rename of the project file and that of its folder cannot be one, so a kill between them
// leaves a new project file beside the previous resource folder; what is on disk still tells which
// project it is. finish() completes an interrupted switch, and every opener of a project calls it
// first:
// - a staging folder that still holds the new project file: the switch never began; the staging
//   folder goes and the project is the previous one.
// - a staging folder without it: that file has become the project file; the folders are switched.
// - anything else left (a staging folder being made, a previous resource folder): it is deleted.
// A lock file ".<base>.kavio.switching" is held while a switch is written, and finish() leaves alone
// a switch that a running process is still writing.
class KVProjectSwitch
{
    Q_DECLARE_TR_FUNCTIONS(KVProjectSwitch)

public:
    enum Outcome {
        Nothing,   // no switch was interrupted
        RolledBack, // a switch that had not begun was taken away: the project is the previous one
        Completed, // the folders of a switch were put in place: the project is the new one
        Busy       // another process is writing a switch now
    };

    explicit KVProjectSwitch(const QString &strProjectFile);
    ~KVProjectSwitch();
    KVProjectSwitch(const KVProjectSwitch &) = delete;
    KVProjectSwitch &operator=(const KVProjectSwitch &) = delete;

    // Takes the lock and completes an interrupted switch; false when another process holds the lock.
    bool begin();
    // Makes the staging folder with the new project file in it; false when it cannot be written
    // completely.
    bool writeProjectFile(const QByteArray &data);
    // Where the new resource files go until the switch.
    QString stagedResourceFolder() const;
    // The new project takes the target's place. False (nothing changed) when the project file cannot
    // be renamed; true once it has been, even if the folders are left to a later finish().
    bool commit();
    // Takes away what was written (before commit) and releases the lock; nothing without the lock.
    void abandon();

    // Completes or rolls back an interrupted switch of the project (see above).
    static Outcome finish(const QString &strProjectFile);
    // The message a reader of the project shows for an outcome (empty for Nothing).
    static QString describe(Outcome outcome);

private:
    static Outcome finishLocked(const QString &strProjectFile);

    QString m_strProjectFile;
    std::unique_ptr<QLockFile> m_pLock;
};
