#include "canvas/WebEnginePage.h"

WebEnginePage::WebEnginePage(QObject *pParent) : QWebEnginePage(pParent) {}

WebEnginePage::WebEnginePage(QWebEngineProfile *pProfile, QObject *pParent)
    : QWebEnginePage(pProfile, pParent)
{
}

void WebEnginePage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel eLevel, const QString &strMessage,
                                             int nLineNumber, const QString &strSourceID)
{
    emit consoleMessage(eLevel, strMessage, nLineNumber, strSourceID);
}

bool WebEnginePage::acceptNavigationRequest(const QUrl &url, NavigationType eType, bool bMainFrame)
{
    if (!bMainFrame || m_homeUrl.isEmpty())
        return QWebEnginePage::acceptNavigationRequest(url, eType, bMainFrame);
    const auto bare = QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::NormalizePathSegments;
    return url.adjusted(bare) == m_homeUrl.adjusted(bare);
}
