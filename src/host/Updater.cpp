#include "Updater.h"

#include "PluginSpec.h"
#include "Reporter.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

Updater::Updater(QObject *pParent)
    : QObject(pParent)
    , m_pNetwork(new QNetworkAccessManager(this))
{
}

Updater::~Updater()
{
    if (m_pReply)
        m_pReply->abort();
}

bool Updater::checkForUpdates(const QUrl &url, bool bSilentIfNoUpdate)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    if (m_pReply)
        m_pReply->abort();
    m_bSilent = bSilentIfNoUpdate;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(15000);
    m_pReply = m_pNetwork->get(request);
    connect(m_pReply, &QNetworkReply::finished, this, &Updater::onFinished);
    return true;
}

void Updater::onFinished()
{
    QNetworkReply *reply = m_pReply;
    m_pReply = nullptr;
    if (!reply)
        return;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        emit checkingFailed(reply->errorString());
        if (!m_bSilent && m_bNotifyOnFinish)
            Reporter::warning(QCoreApplication::translate("Updater", "Could not check for updates: %1")
                                  .arg(reply->errorString()));
        return;
    }
    const QJsonObject feed = QJsonDocument::fromJson(reply->readAll()).object();
    const QString latest = feed.value(QStringLiteral("latestVersion")).toString();
    if (!ExtensionSystem::PluginSpec::isValidVersion(latest)) {
        emit checkingFailed(QStringLiteral("the update feed has no valid \"latestVersion\""));
        return;
    }
    m_strLatestVersion = latest;
    m_downloadUrl = QUrl(feed.value(QStringLiteral("downloadUrl")).toString());
    m_bUpdateAvailable = ExtensionSystem::PluginSpec::versionCompare(latest, m_strCurrentVersion) > 0;
    emit checkingFinished(m_bUpdateAvailable, latest);
    if (m_bUpdateAvailable && m_bNotifyOnUpdate) {
        QString text = QCoreApplication::translate("Updater", "Version %1 of Kavio Studio is available (you have %2).")
                           .arg(latest, m_strCurrentVersion);
        if (m_bDownloader && m_downloadUrl.isValid())
            text += QLatin1Char('\n') + QCoreApplication::translate("Updater", "Download it from %1")
                                            .arg(m_downloadUrl.toString());
        Reporter::information(text);
    } else if (!m_bUpdateAvailable && m_bNotifyOnFinish && !m_bSilent) {
        Reporter::information(QCoreApplication::translate("Updater", "Kavio Studio is up to date."));
    }
}
