#include "PluginSpec.h"

#include "IPlugin.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QRegularExpression>

namespace ExtensionSystem {

PluginSpec::PluginSpec(const QString &strFilePath)
    : m_strFilePath(strFilePath)
{
    m_loader.setFileName(strFilePath);
}

PluginSpec::~PluginSpec()
{
    kill();
}

void PluginSpec::setError(const QString &strError)
{
    if (m_strError.isEmpty())
        m_strError = strError;
    else
        m_strError += QLatin1Char('\n') + strError;
}

bool PluginSpec::isValidVersion(const QString &strVersion)
{
    static const QRegularExpression re(QStringLiteral("^\\d+(\\.\\d+){0,3}$"));
    return re.match(strVersion).hasMatch();
}

int PluginSpec::versionCompare(const QString &a, const QString &b)
{
    const QStringList pa = a.split(QLatin1Char('.'));
    const QStringList pb = b.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i) {
        const int na = i < pa.size() ? pa.at(i).toInt() : 0;
        const int nb = i < pb.size() ? pb.at(i).toInt() : 0;
        if (na != nb)
            return na < nb ? -1 : 1;
    }
    return 0;
}

bool PluginSpec::provides(const QString &strName, const QString &strVersion) const
{
    if (strName.compare(m_strName, Qt::CaseInsensitive) != 0)
        return false;
    return versionCompare(m_strVersion, strVersion) >= 0
        && versionCompare(m_strCompatVersion, strVersion) <= 0;
}

bool PluginSpec::readMetaData()
{
    const QJsonObject root = m_loader.metaData();
    if (root.isEmpty()) {
        setError(QCoreApplication::translate("PluginSpec", "\"%1\" is not a plug-in: %2")
                     .arg(m_strFilePath, m_loader.errorString()));
        return false;
    }
    if (root.value(QStringLiteral("IID")).toString() != QLatin1String(KavioPlugin_iid)) {
        setError(QCoreApplication::translate("PluginSpec", "\"%1\" is not a Kavio plug-in (interface \"%2\")")
                     .arg(m_strFilePath, root.value(QStringLiteral("IID")).toString()));
        return false;
    }
    m_joMetaData = root.value(QStringLiteral("MetaData")).toObject();
    m_strName = m_joMetaData.value(QStringLiteral("Name")).toString();
    m_strVersion = m_joMetaData.value(QStringLiteral("Version")).toString();
    m_strCompatVersion = m_joMetaData.value(QStringLiteral("CompatVersion")).toString(m_strVersion);
    m_strCategory = m_joMetaData.value(QStringLiteral("Category")).toString();
    m_strDescription = m_joMetaData.value(QStringLiteral("Description")).toString();
    m_strVendor = m_joMetaData.value(QStringLiteral("Vendor")).toString();
    m_bRequired = m_joMetaData.value(QStringLiteral("Required")).toBool(false);
    if (m_strName.isEmpty()) {
        setError(QCoreApplication::translate("PluginSpec", "\"%1\" has no plug-in name").arg(m_strFilePath));
        return false;
    }
    if (!isValidVersion(m_strVersion) || !isValidVersion(m_strCompatVersion)) {
        setError(QCoreApplication::translate("PluginSpec", "Plug-in \"%1\" has an invalid version \"%2\"")
                     .arg(m_strName, m_strVersion));
        return false;
    }
    const QJsonArray deps = m_joMetaData.value(QStringLiteral("Dependencies")).toArray();
    for (const QJsonValue &v : deps) {
        const QJsonObject dep = v.toObject();
        PluginDependency d{dep.value(QStringLiteral("Name")).toString(),
                           dep.value(QStringLiteral("Version")).toString()};
        if (d.name.isEmpty() || !isValidVersion(d.version)) {
            setError(QCoreApplication::translate("PluginSpec", "Plug-in \"%1\" has an invalid dependency entry")
                         .arg(m_strName));
            return false;
        }
        m_dependencies.append(d);
    }
    m_eState = Read;
    return true;
}

bool PluginSpec::load()
{
    if (!m_loader.load()) {
        setError(QCoreApplication::translate("PluginSpec", "Plug-in \"%1\" could not be loaded: %2")
                     .arg(m_strName, m_loader.errorString()));
        return false;
    }
    m_pPlugin = qobject_cast<IPlugin *>(m_loader.instance());
    if (!m_pPlugin) {
        setError(QCoreApplication::translate("PluginSpec", "Plug-in \"%1\" does not provide a plug-in object: %2")
                     .arg(m_strName, m_loader.errorString()));
        m_loader.unload();
        return false;
    }
    m_pPlugin->m_pSpec = this;
    m_eState = Loaded;
    return true;
}

bool PluginSpec::initialize(const QStringList &arguments)
{
    QString error;
    if (!m_pPlugin->initialize(arguments, &error)) {
        setError(QCoreApplication::translate("PluginSpec", "Plug-in \"%1\" failed to start: %2")
                     .arg(m_strName, error));
        return false;
    }
    m_eState = Initialized;
    return true;
}

void PluginSpec::extensionsInitialized()
{
    m_pPlugin->extensionsInitialized();
    m_eState = Running;
}

bool PluginSpec::delayedInitialize()
{
    return m_eState == Running && m_pPlugin->delayedInitialize();
}

void PluginSpec::stop()
{
    if (m_pPlugin && (m_eState == Running || m_eState == Initialized))
        m_pPlugin->aboutToShutdown();
    if (m_eState != Invalid && m_eState != Read)
        m_eState = Stopped;
}

void PluginSpec::kill()
{
    // The plug-in instance is owned by the loader; deleting it before unloading releases its objects.
    if (m_pPlugin) {
        delete m_pPlugin;
        m_pPlugin = nullptr;
        m_eState = Deleted;
    }
}

} // namespace ExtensionSystem
