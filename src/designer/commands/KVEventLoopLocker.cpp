#include "commands/KVEventLoopLocker.h"

namespace {

enum ExitCode { TimedOut = 0, Unlocked = 1, Replaced = 2 };

} // namespace

KVEventLoopLocker::KVEventLoopLocker()
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_pLoop)
            m_pLoop->exit(TimedOut);
    });
}

bool KVEventLoopLocker::lock(int nMilliseconds)
{
    if (m_pLoop)
        m_pLoop->exit(Replaced);
    QEventLoop loop;
    m_pLoop = &loop;
    if (nMilliseconds > 0)
        m_timer.start(nMilliseconds);
    else
        m_timer.stop();
    const int nCode = loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_pLoop == &loop) {
        m_timer.stop();
        m_pLoop = nullptr;
    }
    return nCode == Unlocked;
}

void KVEventLoopLocker::unlock()
{
    if (m_pLoop)
        m_pLoop->exit(Unlocked);
}
