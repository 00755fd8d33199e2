#pragma once

#include "model/ISingleton.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QPair>

class QSettings;

// Remembers folders for file dialogs: a default folder per location type, the last folder used per
// type, and the last folder per (owner, type) where the owner is a document. Types 0 to 3 persist
// in the settings group "LocationHistory".
class KVLocationManager : public QObject, public ISingleton<KVLocationManager>
{
    Q_OBJECT
public:
    enum LocationType {
        NewProject = 0,      // folder of new projects; target of package extraction
        OpenProject = 1,     // Open Project dialog
        General = 2,
        SavePackage = 3,     // Save as Package dialog
        Document = 1000,
    };

    KVLocationManager();
    ~KVLocationManager() override;

    // Fills the defaults of every type from the platform's standard folders and makes the
    // application folder ("Kavio Studio" inside Documents) when it is missing.
    void setDefaults();
    static QString applicationFolder();

    void setDefaultLocation(int nType, const QString &strPath);
    QString defaultLocation(int nType) const;

    void setLastLocation(int nType, const QString &strPath);
    QString lastLocation(int nType) const; // falls back to the default

    void setOwnerLocation(const void *pOwner, int nType, const QString &strPath);
    QString ownerLocation(const void *pOwner, int nType) const; // falls back to the default
    void removeOwnerLocation(const void *pOwner, int nType);
    void forgetOwner(const void *pOwner);

    void setSettings(QSettings *pSettings) { m_pSettings = pSettings; }
    void readHistory();
    void saveHistory() const;

    static bool persists(int nType) { return nType >= NewProject && nType <= SavePackage; }

private:
    QMap<int, QString> m_defaults;
    QMap<int, QString> m_last;
    QHash<QPair<quintptr, int>, QString> m_owner;
    QSettings *m_pSettings = nullptr;
};
