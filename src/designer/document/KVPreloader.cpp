#include "KVPreloader.h"

KVPreloader::KVPreloader(QObject *pParent)
    : KVDocument(pParent)
{
}

KVPreloader::~KVPreloader() = default;

bool KVPreloader::writeProjectJson(QJsonObject &joProject) const
{
    if (!KVDocument::writeProjectJson(joProject))
        return false;
    joProject.insert(QStringLiteral("loadingIndicatorProps"), m_loadingIndicator.toJson());
    joProject.insert(QStringLiteral("useLoadingIndicator"), m_bUseLoadingIndicator);
    return true;
}

bool KVPreloader::readProjectJson(const QJsonObject &joProject)
{
    if (!KVDocument::readProjectJson(joProject))
        return false;
    m_loadingIndicator =
        KVLoadingIndicator::fromJson(joProject.value(QLatin1String("loadingIndicatorProps")).toObject());
    m_bUseLoadingIndicator = joProject.value(QLatin1String("useLoadingIndicator")).toBool(false);
    return true;
}
