#pragma once

#include "model/ISingleton.h"

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>

// Waits on the GUI thread, in a local event loop that leaves user input aside, until someone
// unlocks it or the time runs out: before playback starts the canvas page is asked to finish its
// pending tasks and the editor waits at most 500 ms for its "all tasks finished".
//
// One wait runs at a time. A lock() made while a wait runs (from an event handled inside it) ends
// that wait and waits itself; the event loop of each wait lives on the stack of its lock() so that
// the inner wait never runs a loop that is already running.
class KVEventLoopLocker : public QObject, public ISingleton<KVEventLoopLocker>
{
    Q_OBJECT

public:
    KVEventLoopLocker();

    // Ends a wait that is still running, then waits at most nMilliseconds (without a limit for 0
    // or less). True when unlock() ended the wait, false when the time ran out or a newer lock()
    // took over.
    bool lock(int nMilliseconds);
    bool isLocked() const { return m_pLoop != nullptr; }

public slots:
    // Ends the wait; nothing happens when none is running.
    void unlock();

private:
    QPointer<QEventLoop> m_pLoop;
    QTimer m_timer;
};
