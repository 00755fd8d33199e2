#pragma once

#include <QObject>
#include <QStringList>
#include <QVector>

class QSettings;

namespace ExtensionSystem {

class PluginSpec;

// Finds plug-ins in the plug-in folders, reads their metadata without loading them, resolves
// their dependencies by name and version (the host itself provides "core" 1.0.0), loads and
// initialises them in dependency order and shuts them down in reverse. It also keeps the object
// pool through which plug-ins hand objects (such as document factories) to the host, and the one
// settings store of the process.
class PluginManager : public QObject
{
    Q_OBJECT
public:
    PluginManager();
    ~PluginManager() override;

    static PluginManager *instance();

    // The host's own component, which plug-ins name as a dependency.
    static QString coreName() { return QStringLiteral("core"); }
    static QString coreVersion() { return QStringLiteral("1.0.0"); }

    // Settings: the file given with setSettingsPath() (from --settings or KAVIO_SETTINGS_PATH),
    // else the user's configuration folder.
    static QSettings *settings();
    static void setSettingsPath(const QString &strPath);
    static QString settingsPath();

    static void setPluginPaths(const QStringList &paths);
    static QStringList pluginPaths();
    static void setArguments(const QStringList &arguments);

    // Reads, resolves, loads and initialises every plug-in; returns false when any failed
    // (each failure is in its spec's errorString()).
    static bool loadPlugins();
    static void shutdown();

    static QVector<PluginSpec *> plugins();   // every plug-in found, in load order once loaded
    static PluginSpec *specForName(const QString &strName);
    static QStringList errors();             // one text per plug-in that failed

    static void addObject(QObject *pObject);
    static void removeObject(QObject *pObject);
    static QList<QObject *> allObjects();
    template <typename T>
    static T *getObject()
    {
        for (QObject *o : allObjects()) {
            if (T *t = qobject_cast<T *>(o))
                return t;
        }
        return nullptr;
    }

signals:
    void objectAdded(QObject *pObject);
    void aboutToRemoveObject(QObject *pObject);
    void pluginsChanged();

private:
    bool doLoadPlugins();
    void readSpecs();
    QVector<PluginSpec *> loadQueue();
    bool resolve(PluginSpec *spec, QVector<PluginSpec *> &queue, QVector<PluginSpec *> &visiting);

    QStringList m_pluginPaths;
    QStringList m_arguments;
    QVector<PluginSpec *> m_specs;
    QVector<PluginSpec *> m_loaded;
    QList<QObject *> m_objects;
    QSettings *m_pSettings = nullptr;
    QString m_strSettingsPath;
};

} // namespace ExtensionSystem
