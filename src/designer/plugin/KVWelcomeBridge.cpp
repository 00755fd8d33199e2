#include "KVWelcomeBridge.h"

#include "ICore.h"
#include "MainWindow.h"

#include <QTimer>

KVWelcomeBridge::KVWelcomeBridge(MainWindow *pMainWindow, QObject *pParent)
    : QObject(pParent)
    , m_pMainWindow(pMainWindow)
{
}

QStringList KVWelcomeBridge::recentProjects() const
{
    return m_pMainWindow ? m_pMainWindow->recentFiles() : QStringList();
}

QString KVWelcomeBridge::version() const
{
    return ICore::instance() ? ICore::instance()->version() : QString();
}

// Calls from the page arrive while the channel delivers a message; dialogs open after it returns.
void KVWelcomeBridge::newProject()
{
    if (m_pMainWindow)
        QTimer::singleShot(0, m_pMainWindow, [w = m_pMainWindow] { w->newDocument(); });
}

void KVWelcomeBridge::openProject(const QString &strFile)
{
    if (m_pMainWindow)
        QTimer::singleShot(0, m_pMainWindow, [w = m_pMainWindow, strFile] { w->openDocument(strFile); });
}

void KVWelcomeBridge::openProjectDialog()
{
    openProject(QString());
}

void KVWelcomeBridge::pageReady(const QString &strInfo)
{
    qInfo("Welcome page ready: %s", qPrintable(strInfo));
    emit ready(strInfo);
}
