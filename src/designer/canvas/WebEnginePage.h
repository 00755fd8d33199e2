#pragma once

#include <QWebEnginePage>

// A web page that hands its console output on as a signal (the canvas logs what its page prints).
class WebEnginePage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit WebEnginePage(QObject *pParent = nullptr);
    WebEnginePage(QWebEngineProfile *pProfile, QObject *pParent = nullptr);

signals:
    void consoleMessage(QWebEnginePage::JavaScriptConsoleMessageLevel eLevel, const QString &strMessage,
                        int nLineNumber, const QString &strSourceID);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel eLevel, const QString &strMessage,
                                  int nLineNumber, const QString &strSourceID) override;
};
