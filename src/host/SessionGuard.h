#pragma once

#include <QObject>

class DocumentManager;
class QSocketNotifier;

// Keeps unsaved work when the process is ended from outside: on SIGTERM, SIGINT or SIGHUP, when the
// desktop session asks the application to save its data (logging out) and when the application
// quits with documents still modified, every modified document writes its automatic backup, which
// the next open of the project offers to recover.
//
// A signal handler may do almost nothing: it writes the signal's number into one end of a socket
// pair, and a socket notifier on the other end hands it to the event loop, which quits with the
// exit code 128 + the signal's number; the backups are written as the application quits.
class SessionGuard : public QObject
{
    Q_OBJECT
public:
    explicit SessionGuard(DocumentManager *pDocuments, QObject *pParent = nullptr);
    ~SessionGuard() override;

    // Installs the handlers for SIGTERM, SIGINT and SIGHUP; false (with the reason in the log) when
    // the socket pair cannot be made. One guard per process.
    bool installSignalHandlers();

    // Writes the backup of every modified document; returns how many were written.
    int saveBackups();

private:
    void onSignalReadable();

    DocumentManager *m_pDocuments;
    QSocketNotifier *m_pNotifier = nullptr;
};
