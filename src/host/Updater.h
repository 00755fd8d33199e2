#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <QNetworkReply>

class QNetworkAccessManager;

// Checks an update feed: a JSON document {"latestVersion": "x.y.z", "downloadUrl": "...",
// "changelog": "..."} at a configured URL. With no URL nothing is fetched.
class Updater : public QObject
{
    Q_OBJECT
public:
    explicit Updater(QObject *pParent = nullptr);
    ~Updater() override;

    void setCurrentVersion(const QString &strVersion) { m_strCurrentVersion = strVersion; }
    QString currentVersion() const { return m_strCurrentVersion; }

    void setDownloaderEnabled(bool b) { m_bDownloader = b; }
    void setNotifyOnUpdate(bool b) { m_bNotifyOnUpdate = b; }
    void setNotifyOnFinish(bool b) { m_bNotifyOnFinish = b; }

    // Starts a check of strUrl; silent: say nothing when there is no update. Returns false when no
    // URL is configured (nothing is done).
    bool checkForUpdates(const QUrl &url, bool bSilentIfNoUpdate);
    bool isChecking() const { return m_pReply != nullptr; }

    QString latestVersion() const { return m_strLatestVersion; }
    QUrl downloadUrl() const { return m_downloadUrl; }
    bool updateAvailable() const { return m_bUpdateAvailable; }

signals:
    void checkingFinished(bool bUpdateAvailable, const QString &strLatestVersion);
    void checkingFailed(const QString &strError);

private:
    void onFinished();

    QNetworkAccessManager *m_pNetwork;
    QPointer<QNetworkReply> m_pReply;
    QString m_strCurrentVersion;
    QString m_strLatestVersion;
    QUrl m_downloadUrl;
    bool m_bUpdateAvailable = false;
    bool m_bDownloader = false;
    bool m_bNotifyOnUpdate = true;
    bool m_bNotifyOnFinish = false;
    bool m_bSilent = false;
};
