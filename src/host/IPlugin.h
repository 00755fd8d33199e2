#pragma once

#include <QObject>
#include <QStringList>

namespace ExtensionSystem {

class PluginSpec;

// Base of every plug-in. The plug-in manager calls initialize() in dependency order,
// extensionsInitialized() in reverse order once all are initialised, delayedInitialize() later on
// the event loop, and aboutToShutdown() in reverse order before unloading.
class IPlugin : public QObject
{
    Q_OBJECT
public:
    enum ShutdownFlag { SynchronousShutdown, AsynchronousShutdown };

    IPlugin();
    ~IPlugin() override;

    virtual bool initialize(const QStringList &arguments, QString *errorString) = 0;
    virtual void extensionsInitialized() = 0;
    virtual bool delayedInitialize() { return false; }
    virtual ShutdownFlag aboutToShutdown() { return SynchronousShutdown; }
    virtual QObject *remoteCommand(const QStringList &options, const QString &workingDirectory,
                                   const QStringList &arguments);

    PluginSpec *pluginSpec() const { return m_pSpec; }

    // Puts pObject into the manager's object pool; the plug-in deletes it when it is destroyed.
    void addAutoReleasedObject(QObject *pObject);
    void addObject(QObject *pObject);
    void removeObject(QObject *pObject);

signals:
    void asynchronousShutdownFinished();

private:
    friend class PluginSpec;
    PluginSpec *m_pSpec = nullptr;
    QList<QObject *> m_autoReleased;
};

} // namespace ExtensionSystem

#define KavioPlugin_iid "com.DORUN.Kavio.Plugin"
Q_DECLARE_INTERFACE(ExtensionSystem::IPlugin, KavioPlugin_iid)
