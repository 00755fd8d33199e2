#pragma once

#include <QWebChannelAbstractTransport>

class QWebSocket;

// Carries web-channel messages over one accepted web socket.
class WebSocketTransport : public QWebChannelAbstractTransport
{
    Q_OBJECT
public:
    explicit WebSocketTransport(QWebSocket *pSocket);
    ~WebSocketTransport() override;

    void sendMessage(const QJsonObject &message) override;

private:
    void textMessageReceived(const QString &strMessage);

    QWebSocket *m_pSocket;
};
