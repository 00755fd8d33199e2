#include "ICore.h"

#include "ActionManager.h"
#include "ContextManager.h"
#include "DocumentManager.h"
#include "EditorManager.h"
#include "PluginManager.h"
#include "MainWindow.h"
#include "Updater.h"

#include <QCoreApplication>
#include <QDir>

namespace {
ICore *g_pCore = nullptr;
}

ICore::ICore(MainWindow *pMainWindow, QObject *pParent)
    : QObject(pParent)
    , m_pMainWindow(pMainWindow)
    , m_pContextManager(new ContextManager(this))
    , m_pActionManager(new ActionManager(m_pContextManager, this))
    , m_pEditorManager(new EditorManager(this))
    , m_pDocumentManager(new DocumentManager(this))
    , m_pUpdater(new Updater(this))
{
    g_pCore = this;
    m_pUpdater->setCurrentVersion(version());
    m_pDocumentManager->readSettings();
    if (m_pMainWindow)
        m_pMainWindow->createFileActions();
}

ICore::~ICore()
{
    if (g_pCore == this)
        g_pCore = nullptr;
}

ICore *ICore::instance()
{
    return g_pCore;
}

QString ICore::version() const
{
    return QStringLiteral(KAVIO_VERSION);
}

QString ICore::defaultResourcePath()
{
    const QString env = qEnvironmentVariable("KAVIO_RESOURCE_PATH");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/kavio"));
}

QString ICore::resourcePath() const
{
    return m_strResourcePath.isEmpty() ? defaultResourcePath() : m_strResourcePath;
}

QSettings *ICore::settings() const
{
    return ExtensionSystem::PluginManager::settings();
}
