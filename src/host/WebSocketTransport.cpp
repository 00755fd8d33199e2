#include "WebSocketTransport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebSocket>

WebSocketTransport::WebSocketTransport(QWebSocket *pSocket)
    : QWebChannelAbstractTransport(pSocket)
    , m_pSocket(pSocket)
{
    connect(pSocket, &QWebSocket::textMessageReceived, this, &WebSocketTransport::textMessageReceived);
    connect(pSocket, &QWebSocket::disconnected, this, &QObject::deleteLater);
}

WebSocketTransport::~WebSocketTransport()
{
    m_pSocket->deleteLater();
}

void WebSocketTransport::sendMessage(const QJsonObject &message)
{
    m_pSocket->sendTextMessage(QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact)));
}

void WebSocketTransport::textMessageReceived(const QString &strMessage)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(strMessage.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) {
        qWarning("Web channel: dropped a message that is not a JSON object: %s", qPrintable(error.errorString()));
        return;
    }
    emit messageReceived(doc.object(), this);
}
