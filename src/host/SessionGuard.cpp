#include "SessionGuard.h"

#include "DocumentManager.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_signalFds[2] = {-1, -1};
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Runs in signal context: only async-signal-safe calls.
void onSignal(int nSignal)
{
    const int nSavedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(nSignal);
    if (::write(g_signalFds[0], &byte, 1) < 0) {
        // Nothing can be reported from here; the event loop will not hear of this signal.
    }
    errno = nSavedErrno;
}
} // namespace

SessionGuard::SessionGuard(DocumentManager *pDocuments, QObject *pParent)
    : QObject(pParent)
    , m_pDocuments(pDocuments)
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        // Logging out: the session manager asks for the data first; the backups are written then,
        // whatever the user answers to the questions that may follow.
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) { saveBackups(); });
    }
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &SessionGuard::saveBackups);
}

SessionGuard::~SessionGuard()
{
    if (!m_pNotifier)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int nSignal : kSignals)
        sigaction(nSignal, &action, nullptr);
    delete m_pNotifier;
    ::close(g_signalFds[0]);
    ::close(g_signalFds[1]);
    g_signalFds[0] = g_signalFds[1] = -1;
}

bool SessionGuard::installSignalHandlers()
{
    if (m_pNotifier)
        return true;
    if (g_signalFds[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalFds) != 0) {
        qWarning("Cannot watch for termination signals: no socket pair");
        return false;
    }
    // The handler's end never blocks: a signal that finds the pair full is one already on its way.
    ::fcntl(g_signalFds[0], F_SETFL, ::fcntl(g_signalFds[0], F_GETFL) | O_NONBLOCK);
    m_pNotifier = new QSocketNotifier(g_signalFds[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, &SessionGuard::onSignalReadable);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int nSignal : kSignals)
        sigaction(nSignal, &action, nullptr);
    return true;
}

int SessionGuard::saveBackups()
{
    return m_pDocuments ? m_pDocuments->backupAll() : 0;
}

void SessionGuard::onSignalReadable()
{
    unsigned char byte = 0;
    if (::read(g_signalFds[1], &byte, 1) != 1)
        return;
    QCoreApplication::exit(128 + byte);
}
