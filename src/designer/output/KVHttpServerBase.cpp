#include "KVHttpServerBase.h"

#include "KVHttpConnection.h"
#include "KVHttpRequest.h"
#include "KVHttpResponse.h"

#include <QTcpServer>
#include <QTcpSocket>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

KVHttpServerBase::KVHttpServerBase(QObject *pParent)
    : QObject(pParent)
    , m_pTcpServer(new QTcpServer(this))
{
    connect(m_pTcpServer, &QTcpServer::newConnection, this, &KVHttpServerBase::onNewConnection);
}

KVHttpServerBase::~KVHttpServerBase()
{
    dropConnections();
}

bool KVHttpServerBase::listen(const QHostAddress &address, quint16 nPort)
{
    if (m_pTcpServer->isListening())
        m_pTcpServer->close();
    if (!m_pTcpServer->listen(address, nPort))
        return false;
#ifdef Q_OS_UNIX
    // Qt listens with a backlog of 50. A page opening many connections at once, or a burst of
    // clients, overflows that; the kernel then falls back to SYN cookies, and a client whose
    // handshake ends with a data segment loses its first bytes. Listening again on the same
    // socket only widens the queue.
    ::listen(int(m_pTcpServer->socketDescriptor()), SOMAXCONN);
#endif
    return true;
}

bool KVHttpServerBase::isListening() const
{
    return m_pTcpServer->isListening();
}

quint16 KVHttpServerBase::port() const
{
    return m_pTcpServer->serverPort();
}

QHostAddress KVHttpServerBase::serverAddress() const
{
    return m_pTcpServer->serverAddress();
}

QString KVHttpServerBase::errorString() const
{
    return m_pTcpServer->errorString();
}

void KVHttpServerBase::close()
{
    m_pTcpServer->close();
    // The connections go from the event loop, so that a request handler may stop the server.
    const QList<KVHttpConnection *> connections = m_connections;
    m_connections.clear();
    for (KVHttpConnection *pConnection : connections) {
        pConnection->disconnect(this);
        pConnection->abort();
    }
}

void KVHttpServerBase::setMaxConnections(int nCount)
{
    m_nMaxConnections = qMax(1, nCount);
}

void KVHttpServerBase::setIdleTimeout(int nMilliseconds)
{
    m_nIdleTimeout = qMax(1, nMilliseconds);
}

void KVHttpServerBase::setRequestTimeout(int nMilliseconds)
{
    m_nRequestTimeout = qMax(1, nMilliseconds);
    for (KVHttpConnection *pConnection : qAsConst(m_connections))
        pConnection->setRequestTimeout(m_nRequestTimeout);
}

bool KVHttpServerBase::evictIdlest()
{
    KVHttpConnection *pIdlest = nullptr;
    for (KVHttpConnection *pConnection : qAsConst(m_connections)) {
        if (!pConnection->isServing() && (!pIdlest || pConnection->idleTime() > pIdlest->idleTime()))
            pIdlest = pConnection;
    }
    if (!pIdlest)
        return false;
    // Its disconnected() takes it off the list at once.
    pIdlest->abort();
    m_connections.removeOne(pIdlest);
    emit connectionEvicted();
    return true;
}

void KVHttpServerBase::dropConnections()
{
    const QList<KVHttpConnection *> connections = m_connections;
    m_connections.clear();
    for (KVHttpConnection *pConnection : connections) {
        pConnection->disconnect(this);
        delete pConnection;
    }
}

void KVHttpServerBase::onNewConnection()
{
    while (QTcpSocket *pSocket = m_pTcpServer->nextPendingConnection()) {
        if (m_connections.size() >= m_nMaxConnections && !evictIdlest()) {
            // Every connection is busy answering: a short answer, then the socket goes once it has
            // been sent.
            connect(pSocket, &QTcpSocket::disconnected, pSocket, &QObject::deleteLater);
            connect(pSocket, &QTcpSocket::readyRead, pSocket, [pSocket]() { pSocket->readAll(); });
            const QByteArray baBody("503 Service Unavailable\nToo many open connections.\n");
            pSocket->write("HTTP/1.1 503 Service Unavailable\r\ncontent-type: text/plain; charset=utf-8\r\n"
                           "content-length: " + QByteArray::number(baBody.size())
                           + "\r\nconnection: close\r\nretry-after: 1\r\n\r\n" + baBody);
            pSocket->disconnectFromHost();
            emit connectionRejected();
            continue;
        }
        KVHttpConnection *pConnection = new KVHttpConnection(pSocket, m_nIdleTimeout, m_nRequestTimeout, this);
        m_connections.append(pConnection);
        connect(pConnection, &KVHttpConnection::newRequest, this, &KVHttpServerBase::newRequest);
        // A closed connection stops counting at once, though it is deleted a little later.
        connect(pConnection, &KVHttpConnection::disconnected, this,
                [this, pConnection]() { m_connections.removeOne(pConnection); });
        connect(pConnection, &QObject::destroyed, this,
                [this, pConnection]() { m_connections.removeOne(pConnection); });
    }
}
