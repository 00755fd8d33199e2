#include "PluginManager.h"

#include "IPlugin.h"
#include "PluginSpec.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTimer>

namespace ExtensionSystem {

namespace {
PluginManager *g_pInstance = nullptr;
}

PluginManager::PluginManager()
{
    if (!g_pInstance)
        g_pInstance = this;
}

PluginManager::~PluginManager()
{
    shutdown();
    qDeleteAll(m_specs);
    m_specs.clear();
    delete m_pSettings;
    if (g_pInstance == this)
        g_pInstance = nullptr;
}

PluginManager *PluginManager::instance()
{
    if (!g_pInstance)
        new PluginManager(); // lives for the process; the host normally makes its own first
    return g_pInstance;
}

QString PluginManager::settingsPath()
{
    PluginManager *self = instance();
    if (!self->m_strSettingsPath.isEmpty())
        return self->m_strSettingsPath;
    return qEnvironmentVariable("KAVIO_SETTINGS_PATH");
}

void PluginManager::setSettingsPath(const QString &strPath)
{
    PluginManager *self = instance();
    if (self->m_strSettingsPath == strPath)
        return;
    self->m_strSettingsPath = strPath;
    delete self->m_pSettings;
    self->m_pSettings = nullptr;
}

QSettings *PluginManager::settings()
{
    PluginManager *self = instance();
    if (!self->m_pSettings) {
        const QString path = settingsPath();
        if (!path.isEmpty()) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            self->m_pSettings = new QSettings(path, QSettings::IniFormat);
        } else {
            self->m_pSettings = new QSettings(QSettings::IniFormat, QSettings::UserScope,
                                              QStringLiteral("Kavio"), QStringLiteral("Kavio Studio"));
        }
    }
    return self->m_pSettings;
}

void PluginManager::setPluginPaths(const QStringList &paths)
{
    instance()->m_pluginPaths = paths;
}

QStringList PluginManager::pluginPaths()
{
    return instance()->m_pluginPaths;
}

void PluginManager::setArguments(const QStringList &arguments)
{
    instance()->m_arguments = arguments;
}

QVector<PluginSpec *> PluginManager::plugins()
{
    PluginManager *self = instance();
    return self->m_loaded.isEmpty() ? self->m_specs : self->m_loaded;
}

PluginSpec *PluginManager::specForName(const QString &strName)
{
    for (PluginSpec *spec : instance()->m_specs) {
        if (spec->name() == strName)
            return spec;
    }
    return nullptr;
}

QStringList PluginManager::errors()
{
    QStringList out;
    for (PluginSpec *spec : instance()->m_specs) {
        if (spec->hasError())
            out << spec->errorString();
    }
    return out;
}

bool PluginManager::loadPlugins()
{
    return instance()->doLoadPlugins();
}

void PluginManager::readSpecs()
{
    qDeleteAll(m_specs);
    m_specs.clear();
    m_loaded.clear();
    for (const QString &path : qAsConst(m_pluginPaths)) {
        const QDir dir(path);
        const QStringList files = dir.entryList(QStringList() << QStringLiteral("*.so") << QStringLiteral("*.dylib")
                                                              << QStringLiteral("*.dll"),
                                                QDir::Files, QDir::Name);
        for (const QString &file : files) {
            auto *spec = new PluginSpec(dir.absoluteFilePath(file));
            spec->readMetaData();
            m_specs.append(spec);
        }
    }
}

// Depth-first: a plug-in enters the queue after everything it depends on. Any failure on the way
// (missing plug-in, version too old or too new, a cycle, a dependency that failed) marks the plug-in
// and keeps it and everything that needs it out of the queue.
bool PluginManager::resolve(PluginSpec *spec, QVector<PluginSpec *> &queue, QVector<PluginSpec *> &visiting)
{
    if (queue.contains(spec))
        return true;
    if (spec->hasError())
        return false;
    if (visiting.contains(spec)) {
        spec->setError(QCoreApplication::translate("PluginManager", "Plug-in \"%1\" depends on itself through a cycle")
                           .arg(spec->name()));
        return false;
    }
    visiting.append(spec);
    bool ok = true;
    for (const PluginDependency &dep : spec->dependencies()) {
        if (dep.name == coreName()) {
            if (PluginSpec::versionCompare(coreVersion(), dep.version) < 0) {
                spec->setError(QCoreApplication::translate("PluginManager",
                                   "Plug-in \"%1\" needs \"%2\" %3, but the host provides %4")
                                   .arg(spec->name(), dep.name, dep.version, coreVersion()));
                ok = false;
            }
            continue;
        }
        PluginSpec *provider = nullptr;
        PluginSpec *sameName = nullptr;
        for (PluginSpec *other : qAsConst(m_specs)) {
            if (other->state() == PluginSpec::Invalid)
                continue;
            if (other->name() == dep.name)
                sameName = other;
            if (other->provides(dep.name, dep.version)) {
                provider = other;
                break;
            }
        }
        if (!provider) {
            spec->setError(sameName
                               ? QCoreApplication::translate("PluginManager",
                                     "Plug-in \"%1\" needs \"%2\" %3, but version %4 was found")
                                     .arg(spec->name(), dep.name, dep.version, sameName->version())
                               : QCoreApplication::translate("PluginManager",
                                     "Plug-in \"%1\" needs \"%2\" %3, which was not found")
                                     .arg(spec->name(), dep.name, dep.version));
            ok = false;
        } else if (!resolve(provider, queue, visiting)) {
            spec->setError(QCoreApplication::translate("PluginManager",
                               "Plug-in \"%1\" cannot start because \"%2\" failed")
                               .arg(spec->name(), provider->name()));
            ok = false;
        }
    }
    visiting.removeOne(spec);
    if (ok) {
        spec->m_eState = PluginSpec::Resolved;
        queue.append(spec);
    }
    return ok;
}

QVector<PluginSpec *> PluginManager::loadQueue()
{
    QVector<PluginSpec *> queue;
    QVector<PluginSpec *> visiting;
    for (PluginSpec *spec : qAsConst(m_specs)) {
        if (spec->state() == PluginSpec::Invalid)
            continue;
        resolve(spec, queue, visiting);
    }
    return queue;
}

bool PluginManager::doLoadPlugins()
{
    readSpecs();
    // Two plug-ins of the same name: the second is refused.
    for (int i = 0; i < m_specs.size(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (!m_specs.at(i)->hasError() && m_specs.at(i)->name() == m_specs.at(j)->name())
                m_specs.at(i)->setError(QCoreApplication::translate("PluginManager",
                                            "Plug-in \"%1\" is found twice (%2)")
                                            .arg(m_specs.at(i)->name(), m_specs.at(i)->filePath()));
        }
    }
    const QVector<PluginSpec *> queue = loadQueue();
    for (PluginSpec *spec : queue) {
        // A dependency that failed to load takes its dependents with it.
        bool depsOk = true;
        for (const PluginDependency &dep : spec->dependencies()) {
            if (dep.name == coreName())
                continue;
            PluginSpec *provider = specForName(dep.name);
            if (!provider || !m_loaded.contains(provider)) {
                spec->setError(QCoreApplication::translate("PluginManager",
                                   "Plug-in \"%1\" cannot start because \"%2\" failed")
                                   .arg(spec->name(), dep.name));
                depsOk = false;
            }
        }
        if (!depsOk || !spec->load())
            continue;
        if (!spec->initialize(m_arguments)) {
            spec->stop();
            spec->kill();
            continue;
        }
        m_loaded.append(spec);
    }
    for (int i = m_loaded.size() - 1; i >= 0; --i)
        m_loaded.at(i)->extensionsInitialized();
    if (!m_loaded.isEmpty() && QCoreApplication::instance()) {
        QTimer::singleShot(0, this, [this] {
            for (PluginSpec *spec : qAsConst(m_loaded))
                spec->delayedInitialize();
        });
    }
    emit pluginsChanged();
    return errors().isEmpty();
}

void PluginManager::shutdown()
{
    PluginManager *self = instance();
    for (int i = self->m_loaded.size() - 1; i >= 0; --i)
        self->m_loaded.at(i)->stop();
    for (int i = self->m_loaded.size() - 1; i >= 0; --i)
        self->m_loaded.at(i)->kill();
    self->m_loaded.clear();
}

void PluginManager::addObject(QObject *pObject)
{
    PluginManager *self = instance();
    if (!pObject || self->m_objects.contains(pObject))
        return;
    self->m_objects.append(pObject);
    emit self->objectAdded(pObject);
}

void PluginManager::removeObject(QObject *pObject)
{
    PluginManager *self = instance();
    if (!self->m_objects.contains(pObject))
        return;
    emit self->aboutToRemoveObject(pObject);
    self->m_objects.removeAll(pObject);
}

QList<QObject *> PluginManager::allObjects()
{
    return instance()->m_objects;
}

} // namespace ExtensionSystem
