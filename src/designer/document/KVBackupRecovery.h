#pragma once

#include "KVProjectPaths.h"

#include <QCoreApplication>

class KVDocument;

// What happens to an automatic backup ("<base>.kaviobak") found beside a project being opened, and
// to a backup opened in place of the project when the document closes. Every branch either
// completes or leaves the files as they were: a backup is never lost by a failed step.
class KVBackupRecovery
{
    Q_DECLARE_TR_FUNCTIONS(KVBackupRecovery)
public:
    enum Result { Continue, Cancel };

    // Asks the user what to do with the backup of pDocument's project, if there is one, and does
    // it: "Open Backup" puts the backup in the project's place (the last saved file waits as
    // "<file>.old"), "Open Both" makes the backup a temporary project of its own opened beside
    // (handed to the host, else returned in *ppSide), "Open Last Saved" deletes the backup.
    // Cancel when the user cancelled or the backup could not be put in place.
    static Result recover(KVDocument *pDocument, KVDocument **ppSide);

    // Gives up a backup opened in place: the last saved file goes back to its name and the backup
    // back to "<base>.kaviobak", so the disk is as it was before the backup was opened.
    static void restoreLastSaved(KVDocument *pDocument);

private:
    static bool openBoth(KVDocument *pDocument, const KVProjectPaths &p, KVDocument **ppSide);
};
