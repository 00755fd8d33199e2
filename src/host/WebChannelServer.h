#pragma once

#include <QObject>
#include <QUrl>

class QWebChannel;
class QWebSocketServer;

// The local web-socket server through which pages in embedded browser views reach the objects
// registered on the web channel. It listens on 127.0.0.1 only and accepts only pages the
// application itself loads (file: and qrc: origins); every other origin is refused, pages served
// by the preview server included.
class WebChannelServer : public QObject
{
    Q_OBJECT
public:
    explicit WebChannelServer(QObject *pParent = nullptr);
    ~WebChannelServer() override;

    bool listen();
    QUrl url() const;
    QWebChannel *channel() const { return m_pChannel; }
    QWebSocketServer *server() const { return m_pServer; }

    static bool isOriginAllowed(const QString &strOrigin);

private:
    void onNewConnection();

    QWebSocketServer *m_pServer;
    QWebChannel *m_pChannel;
};
