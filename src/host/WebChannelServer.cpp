#include "WebChannelServer.h"

#include "WebSocketTransport.h"

#include <QHostAddress>
#include <QWebChannel>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>
#include <QWebSocketServer>

WebChannelServer::WebChannelServer(QObject *pParent)
    : QObject(pParent)
    , m_pServer(new QWebSocketServer(QStringLiteral("Kavio Studio"), QWebSocketServer::NonSecureMode, this))
    , m_pChannel(new QWebChannel(this))
{
    connect(m_pServer, &QWebSocketServer::originAuthenticationRequired, this,
            [](QWebSocketCorsAuthenticator *pAuth) { pAuth->setAllowed(isOriginAllowed(pAuth->origin())); });
    connect(m_pServer, &QWebSocketServer::newConnection, this, &WebChannelServer::onNewConnection);
}

WebChannelServer::~WebChannelServer()
{
    m_pServer->close();
}

bool WebChannelServer::listen()
{
    if (m_pServer->isListening())
        return true;
    if (!m_pServer->listen(QHostAddress::LocalHost, 0)) {
        qWarning("Web channel server: cannot listen on 127.0.0.1: %s", qPrintable(m_pServer->errorString()));
        return false;
    }
    return true;
}

QUrl WebChannelServer::url() const
{
    QUrl url;
    url.setScheme(QStringLiteral("ws"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(m_pServer->serverPort());
    return url;
}

bool WebChannelServer::isOriginAllowed(const QString &strOrigin)
{
    // Pages loaded from local files send "file://", pages from the resource system "qrc:".
    // Anything else, a missing origin included, did not come from a page of ours.
    const QString o = strOrigin.trimmed().toLower();
    return o == QLatin1String("file://") || o.startsWith(QLatin1String("qrc:"));
}

void WebChannelServer::onNewConnection()
{
    while (QWebSocket *socket = m_pServer->nextPendingConnection()) {
        // Double check in case the authenticator was bypassed.
        if (!isOriginAllowed(socket->origin())) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("origin refused"));
            socket->deleteLater();
            continue;
        }
        m_pChannel->connectTo(new WebSocketTransport(socket));
    }
}
