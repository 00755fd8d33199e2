#pragma once

#include <QWebEnginePage>

// A web page that hands its console output on as a signal (the canvas logs what its page prints).
// Given a home page, it stays there: the main frame loads no other address (a link in a project's
// text would otherwise take the page, and with it the page's web channel, elsewhere); frames inside
// it are left to the page's own rules.
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit WebEnginePage(QObject *pParent = nullptr);
    WebEnginePage(QWebEngineProfile *pProfile, QObject *pParent = nullptr);

    // The one document the main frame may show (its query and fragment aside); empty: any.
    void setHomeUrl(const QUrl &url) { m_homeUrl = url; }

signals:
    void consoleMessage(QWebEnginePage::JavaScriptConsoleMessageLevel eLevel, const QString &strMessage,
                        int nLineNumber, const QString &strSourceID);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel eLevel, const QString &strMessage,
                                  int nLineNumber, const QString &strSourceID) override;
    bool acceptNavigationRequest(const QUrl &url, NavigationType eType, bool bMainFrame) override;

private:
    QUrl m_homeUrl;
};
