#include "KVLocationManager.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kGroup = QStringLiteral("LocationHistory");

QString standard(QStandardPaths::StandardLocation location)
{
    QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty())
        path = QDir::homePath();
    return path;
}
} // namespace

KVLocationManager::KVLocationManager() = default;
KVLocationManager::~KVLocationManager() = default;

QString KVLocationManager::applicationFolder()
{
    return standard(QStandardPaths::DocumentsLocation) + QStringLiteral("/Kavio Studio");
}

void KVLocationManager::setDefaults()
{
    const QString documents = standard(QStandardPaths::DocumentsLocation);
    const QString music = standard(QStandardPaths::MusicLocation);
    const QString movies = standard(QStandardPaths::MoviesLocation);
    const QString pictures = standard(QStandardPaths::PicturesLocation);
    const QString app = applicationFolder();
    QDir().mkpath(app);

    m_defaults.insert(NewProject, app);
    m_defaults.insert(OpenProject, app);
    m_defaults.insert(General, documents);
    m_defaults.insert(SavePackage, documents);
    m_defaults.insert(Document, QString());
    for (int type : {1001, 1002, 1006, 1007, 1012, 1016, 1017})
        m_defaults.insert(type, documents);
    for (int type : {1003, 1015})
        m_defaults.insert(type, movies);
    for (int type : {1004, 1014})
        m_defaults.insert(type, music);
    for (int type : {1005, 1013})
        m_defaults.insert(type, pictures);
}

void KVLocationManager::setDefaultLocation(int nType, const QString &strPath)
{
    m_defaults.insert(nType, strPath);
}

QString KVLocationManager::defaultLocation(int nType) const
{
    return m_defaults.value(nType);
}

void KVLocationManager::setLastLocation(int nType, const QString &strPath)
{
    if (m_last.value(nType) == strPath && m_last.contains(nType))
        return;
    m_last.insert(nType, strPath);
    if (persists(nType))
        saveHistory();
}

QString KVLocationManager::lastLocation(int nType) const
{
    auto it = m_last.constFind(nType);
    return it != m_last.cend() ? *it : defaultLocation(nType);
}

void KVLocationManager::setOwnerLocation(const void *pOwner, int nType, const QString &strPath)
{
    m_owner.insert({quintptr(pOwner), nType}, strPath);
}

QString KVLocationManager::ownerLocation(const void *pOwner, int nType) const
{
    auto it = m_owner.constFind({quintptr(pOwner), nType});
    return it != m_owner.cend() ? *it : defaultLocation(nType);
}

void KVLocationManager::removeOwnerLocation(const void *pOwner, int nType)
{
    m_owner.remove({quintptr(pOwner), nType});
}

void KVLocationManager::forgetOwner(const void *pOwner)
{
    for (auto it = m_owner.begin(); it != m_owner.end();) {
        if (it.key().first == quintptr(pOwner))
            it = m_owner.erase(it);
        else
            ++it;
    }
}

void KVLocationManager::readHistory()
{
    if (!m_pSettings)
        return;
    m_pSettings->beginGroup(kGroup);
    for (int type = NewProject; type <= SavePackage; ++type) {
        const QString key = QString::number(type);
        if (m_pSettings->contains(key))
            m_last.insert(type, m_pSettings->value(key).toString());
    }
    m_pSettings->endGroup();
}

void KVLocationManager::saveHistory() const
{
    if (!m_pSettings)
        return;
    m_pSettings->beginGroup(kGroup);
    for (int type = NewProject; type <= SavePackage; ++type) {
        auto it = m_last.constFind(type);
        if (it != m_last.cend())
            m_pSettings->setValue(QString::number(type), *it);
    }
    m_pSettings->endGroup();
    m_pSettings->sync();
}
