#pragma once

#include <QJsonObject>
#include <QPluginLoader>
#include <QString>
#include <QVector>

namespace ExtensionSystem {

class IPlugin;

struct PluginDependency {
    QString name;
    QString version;
};

// What the manager knows of one plug-in file: its metadata (read without loading the library),
// its state, and the plug-in object once loaded.
class PluginSpec
{
public:
    enum State { Invalid, Read, Resolved, Loaded, Initialized, Running, Stopped, Deleted };

    explicit PluginSpec(const QString &strFilePath);
    ~PluginSpec();

    bool readMetaData();

    QString filePath() const { return m_strFilePath; }
    QString name() const { return m_strName; }
    QString version() const { return m_strVersion; }
    QString compatVersion() const { return m_strCompatVersion; }
    QString category() const { return m_strCategory; }
    QString description() const { return m_strDescription; }
    QString vendor() const { return m_strVendor; }
    bool isRequired() const { return m_bRequired; }
    QVector<PluginDependency> dependencies() const { return m_dependencies; }
    QJsonObject metaData() const { return m_joMetaData; }

    State state() const { return m_eState; }
    bool hasError() const { return !m_strError.isEmpty(); }
    QString errorString() const { return m_strError; }
    IPlugin *plugin() const { return m_pPlugin; }

    // Does this plug-in satisfy a dependency on (name, version)? True when its version is at least
    // the one asked for and its compatibility version is not above it.
    bool provides(const QString &strName, const QString &strVersion) const;

    static int versionCompare(const QString &a, const QString &b);
    static bool isValidVersion(const QString &strVersion);

private:
    friend class PluginManager;
    bool load();
    bool initialize(const QStringList &arguments);
    void extensionsInitialized();
    bool delayedInitialize();
    void stop();
    void kill();
    void setError(const QString &strError);

    QString m_strFilePath;
    QString m_strName;
    QString m_strVersion;
    QString m_strCompatVersion;
    QString m_strCategory;
    QString m_strDescription;
    QString m_strVendor;
    bool m_bRequired = false;
    QVector<PluginDependency> m_dependencies;
    QJsonObject m_joMetaData;
    State m_eState = Invalid;
    QString m_strError;
    QPluginLoader m_loader;
    IPlugin *m_pPlugin = nullptr;
};

} // namespace ExtensionSystem
