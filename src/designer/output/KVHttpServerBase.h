#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>

class QTcpServer;
class KVHttpConnection;
class KVHttpRequest;
class KVHttpResponse;

// A small HTTP/1.1 server on the event loop of the thread it lives in. Every complete request is
// announced by newRequest() with its response; whoever handles it must end() the response, which
// frees the connection for its next request (keep-alive and pipelining).
//
// At most maxConnections() clients are connected at once. When one more comes, the idlest
// connection that has nothing being answered makes room for it; when every connection is busy
// answering, the newcomer is answered 503 and closed. A connection silent in both directions for
// idleTimeout() milliseconds is dropped, and so is one whose request has not arrived whole within
// requestTimeout() milliseconds (clients that trickle their headers to hold connections open).
class KVHttpServerBase : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultMaxConnections = 64;
    static constexpr int DefaultIdleTimeout = 60000;
    static constexpr int DefaultRequestTimeout = 5000;

    explicit KVHttpServerBase(QObject *pParent = nullptr);
    ~KVHttpServerBase() override;

    bool listen(const QHostAddress &address, quint16 nPort = 0);
    bool isListening() const;
    quint16 port() const;
    QHostAddress serverAddress() const;
    QString errorString() const;
    // Stops listening and drops every connection.
    void close();

    int maxConnections() const { return m_nMaxConnections; }
    void setMaxConnections(int nCount);
    // Applies to connections accepted from now on.
    int idleTimeout() const { return m_nIdleTimeout; }
    void setIdleTimeout(int nMilliseconds);
    // Applies at once: a request on its way has the new time from now.
    int requestTimeout() const { return m_nRequestTimeout; }
    void setRequestTimeout(int nMilliseconds);

    int connectionCount() const { return m_connections.size(); }
    QList<KVHttpConnection *> connections() const { return m_connections; }

signals:
    void newRequest(KVHttpRequest *pRequest, KVHttpResponse *pResponse);
    void connectionRejected();
    void connectionEvicted();

private:
    void onNewConnection();
    void dropConnections();
    bool evictIdlest();

    QTcpServer *m_pTcpServer;
    QList<KVHttpConnection *> m_connections;
    int m_nMaxConnections = DefaultMaxConnections;
    int m_nIdleTimeout = DefaultIdleTimeout;
    int m_nRequestTimeout = DefaultRequestTimeout;
};
