#include "IPlugin.h"

#include "PluginManager.h"

namespace ExtensionSystem {

IPlugin::IPlugin() = default;

IPlugin::~IPlugin()
{
    // Released in reverse order of adding, as the objects may depend on those added before them.
    for (int i = m_autoReleased.size() - 1; i >= 0; --i) {
        QObject *object = m_autoReleased.at(i);
        PluginManager::removeObject(object);
        delete object;
    }
    m_autoReleased.clear();
}

QObject *IPlugin::remoteCommand(const QStringList &, const QString &, const QStringList &)
{
    return nullptr;
}

void IPlugin::addAutoReleasedObject(QObject *pObject)
{
    m_autoReleased.append(pObject);
    PluginManager::addObject(pObject);
}

void IPlugin::addObject(QObject *pObject)
{
    PluginManager::addObject(pObject);
}

void IPlugin::removeObject(QObject *pObject)
{
    PluginManager::removeObject(pObject);
}

} // namespace ExtensionSystem
