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
