#include "KVHttpConnection.h"

#include "KVHttpRequest.h"
#include "KVHttpResponse.h"

#include <QFile>
#include <QTcpSocket>

#include <http_parser.h>

#ifdef Q_OS_WIN
#include <winsock2.h>
#define KV_SHUT_WR SD_SEND
#else
#include <sys/socket.h>
#define KV_SHUT_WR SHUT_WR
#endif
#ifdef Q_OS_UNIX
#include <cerrno>
#endif
#ifdef Q_OS_LINUX
#include <sys/sendfile.h>
#include <unistd.h>
#endif

// The parser and the request being read. The callbacks reach the connection through
// parser.data; returning non-zero from one of them makes http_parser report an error.
struct KVHttpConnection::Parser {
    http_parser parser;
    http_parser_settings settings;
    KVHttpConnection *pConnection = nullptr;
    Pending current;
    QByteArray baField;
    QByteArray baValue;
    bool bInValue = false;

    explicit Parser(KVHttpConnection *pOwner)
        : pConnection(pOwner)
    {
        http_parser_init(&parser, HTTP_REQUEST);
        parser.data = this;
        http_parser_settings_init(&settings);
        settings.on_message_begin = &Parser::onMessageBegin;
        settings.on_url = &Parser::onUrl;
        settings.on_header_field = &Parser::onHeaderField;
        settings.on_header_value = &Parser::onHeaderValue;
        settings.on_headers_complete = &Parser::onHeadersComplete;
        settings.on_body = &Parser::onBody;
        settings.on_message_complete = &Parser::onMessageComplete;
    }

    static Parser *self(http_parser *p) { return static_cast<Parser *>(p->data); }

    bool storeHeader()
    {
        if (baField.isEmpty())
            return true;
        if (current.headers.size() >= MaxHeaderCount && !current.headers.contains(baField.toLower())) {
            pConnection->m_baErrorText = "Too many header fields.";
            return false;
        }
        QByteArray &baStored = current.headers[baField.toLower()];
        if (baStored.isEmpty())
            baStored = baValue.trimmed();
        else
            baStored += ", " + baValue.trimmed();
        baField.clear();
        baValue.clear();
        bInValue = false;
        return true;
    }

    static int onMessageBegin(http_parser *p)
    {
        Parser *pSelf = self(p);
        pSelf->pConnection->requestStarted();
        pSelf->current = Pending();
        pSelf->baField.clear();
        pSelf->baValue.clear();
        pSelf->bInValue = false;
        return 0;
    }

    static int onUrl(http_parser *p, const char *pData, size_t nLength)
    {
        Parser *pSelf = self(p);
        if (pSelf->current.baTarget.size() + qint64(nLength) > MaxUrlSize) {
            pSelf->pConnection->m_baErrorText = "The request target is too long.";
            return 1;
        }
        pSelf->current.baTarget.append(pData, int(nLength));
        return 0;
    }

    static int onHeaderField(http_parser *p, const char *pData, size_t nLength)
    {
        Parser *pSelf = self(p);
        if (pSelf->bInValue && !pSelf->storeHeader())
            return 1;
        pSelf->baField.append(pData, int(nLength));
        return 0;
    }

    static int onHeaderValue(http_parser *p, const char *pData, size_t nLength)
    {
        Parser *pSelf = self(p);
        pSelf->bInValue = true;
        pSelf->baValue.append(pData, int(nLength));
        return 0;
    }

    static int onHeadersComplete(http_parser *p)
    {
        Parser *pSelf = self(p);
        if (!pSelf->storeHeader())
            return -1; // reported by http_parser as a callback failure
        pSelf->current.baMethod = http_method_str(http_method(p->method));
        pSelf->current.nMajor = p->http_major;
        pSelf->current.nMinor = p->http_minor;
        // A client waiting for permission to send its body gets it when nothing is being answered,
        // so that the body can be read past.
        KVHttpConnection *pConnection = pSelf->pConnection;
        if (p->http_major == 1 && p->http_minor >= 1
            && pSelf->current.headers.value("expect").toLower() == "100-continue"
            && !pConnection->m_pActive && pConnection->m_queue.isEmpty())
            pConnection->m_pSocket->write("HTTP/1.1 100 Continue\r\n\r\n");
        return 0;
    }

    static int onBody(http_parser *, const char *, size_t) { return 0; } // bodies are skipped

    static int onMessageComplete(http_parser *p)
    {
        Parser *pSelf = self(p);
        pSelf->current.bKeepAlive = http_should_keep_alive(p) != 0;
        KVHttpConnection *pConnection = pSelf->pConnection;
        pConnection->m_queue.enqueue(pSelf->current);
        pConnection->requestCompleted();
        pSelf->current = Pending();
        if (pConnection->m_queue.size() >= MaxQueuedRequests) {
            pConnection->m_bPaused = true;
            http_parser_pause(p, 1);
        }
        return 0;
    }
};

KVHttpConnection::KVHttpConnection(QTcpSocket *pSocket, int nIdleTimeout, int nRequestTimeout, QObject *pParent)
    : QObject(pParent)
    , m_pSocket(pSocket)
    , m_pParser(new Parser(this))
{
    m_pSocket->setParent(this);
    m_pSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(nIdleTimeout);
    connect(&m_idleTimer, &QTimer::timeout, this, &KVHttpConnection::onIdleTimeout);
    m_requestTimer.setSingleShot(true);
    m_requestTimer.setInterval(nRequestTimeout);
    connect(&m_requestTimer, &QTimer::timeout, this, &KVHttpConnection::onRequestTimeout);
    m_activity.start();
    connect(m_pSocket, &QTcpSocket::readyRead, this, &KVHttpConnection::onReadyRead);
    connect(m_pSocket, &QTcpSocket::bytesWritten, this, &KVHttpConnection::onBytesWritten);
    connect(m_pSocket, &QTcpSocket::disconnected, this, &KVHttpConnection::onSocketClosed);
    m_idleTimer.start();
    m_requestTimer.start(); // the first request is awaited from the start
    if (m_pSocket->state() != QAbstractSocket::ConnectedState)
        QMetaObject::invokeMethod(this, &KVHttpConnection::onSocketClosed, Qt::QueuedConnection);
    else if (m_pSocket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &KVHttpConnection::onReadyRead, Qt::QueuedConnection);
}

KVHttpConnection::~KVHttpConnection()
{
    m_pSocket->disconnect(this);
}

QHostAddress KVHttpConnection::localAddress() const
{
    return m_pSocket->localAddress();
}

quint16 KVHttpConnection::localPort() const
{
    return m_pSocket->localPort();
}

QHostAddress KVHttpConnection::peerAddress() const
{
    return m_pSocket->peerAddress();
}

qint64 KVHttpConnection::bytesToWrite() const
{
    return m_pSocket->bytesToWrite();
}

qintptr KVHttpConnection::socketDescriptor() const
{
    return m_bGone ? -1 : m_pSocket->socketDescriptor();
}

bool KVHttpConnection::isOpen() const
{
    return !m_bGone && m_pSocket->state() == QAbstractSocket::ConnectedState;
}

void KVHttpConnection::close()
{
    stopReading();
    if (m_bGone || m_bLingering)
        return;
    // Closing outright while the client is still sending would reset the connection and could
    // destroy the answer before the client reads it. So the sending side is shut once the answer
    // has left, what still arrives is read and dropped, and the client's own close (or a short
    // wait) ends the connection.
    m_bLingering = true;
    m_idleTimer.setInterval(qMin(m_idleTimer.interval(), LingerTime));
    m_idleTimer.start();
    if (m_pSocket->bytesToWrite() == 0)
        shutdownSending();
}

void KVHttpConnection::shutdownSending()
{
    if (m_bSendingShut || m_bGone)
        return;
    m_bSendingShut = true;
    if (m_pSocket->socketDescriptor() == -1 || ::shutdown(int(m_pSocket->socketDescriptor()), KV_SHUT_WR) != 0)
        m_pSocket->disconnectFromHost();
}

void KVHttpConnection::stopReading()
{
    m_bClosing = true;
    m_bPaused = false;
    m_requestTimer.stop();
    m_pSocket->setReadBufferSize(0);
    m_queue.clear();
    m_baUnparsed.clear();
}

void KVHttpConnection::onReadyRead()
{
    if (m_bGone || m_bPaused)
        return; // while paused the data waits in the socket's (bounded) buffer
    if (!m_bLingering)
        m_idleTimer.start();
    m_activity.restart();
    const QByteArray baData = m_pSocket->readAll();
    if (m_bClosing || m_bBroken)
        return; // whatever follows is not read
    m_baUnparsed += baData;
    parseBuffered();
    dispatchNext();
}

void KVHttpConnection::parseBuffered()
{
    if (m_bPaused || m_bBroken || m_bClosing || m_baUnparsed.isEmpty())
        return;
    http_parser *p = &m_pParser->parser;
    const size_t nParsed = http_parser_execute(p, &m_pParser->settings, m_baUnparsed.constData(),
                                               size_t(m_baUnparsed.size()));
    const http_errno eError = HTTP_PARSER_ERRNO(p);
    if (eError == HPE_PAUSED) {
        m_baUnparsed.remove(0, int(nParsed));
        // Keep at most what the socket buffer would hold; the rest waits in the kernel.
        m_pSocket->setReadBufferSize(64 * 1024);
    } else if (eError != HPE_OK) {
        m_bBroken = true;
        if (m_baErrorText.isEmpty())
            m_baErrorText = QByteArray("Malformed request: ") + http_errno_description(eError) + '.';
        m_baUnparsed.clear();
    } else if (p->upgrade) {
        // Protocol switches are not offered: the request is answered as a plain one, then the
        // connection closes, since what follows it is not HTTP.
        m_bClosing = true;
        m_baUnparsed.clear();
    } else {
        m_baUnparsed.clear();
    }
}

void KVHttpConnection::dispatchNext()
{
    if (m_pActive || m_bGone)
        return;
    if (!m_queue.isEmpty()) {
        const Pending pending = m_queue.dequeue();
        KVHttpRequest *pRequest = new KVHttpRequest(this, pending.baMethod, pending.baTarget,
                                                    pending.nMajor, pending.nMinor, pending.headers);
        // After an upgrade request nothing more is read; after malformed input the 400 follows.
        const bool bLast = m_queue.isEmpty() && m_bClosing && !m_bBroken;
        m_pActive = new KVHttpResponse(this, pRequest, pending.bKeepAlive && !bLast);
        // A handler that deletes the response unfinished leaves the client without an end: drop
        // the connection rather than answer the next request in the middle of this one.
        connect(m_pActive, &QObject::destroyed, this, [this](QObject *pObject) {
            if (pObject == m_pActive) {
                m_pActive = nullptr;
                abort();
            }
        });
        emit newRequest(pRequest, m_pActive);
        return;
    }
    if (m_bBroken) {
        answerBadRequest();
        return;
    }
    if (m_bClosing)
        close();
}

void KVHttpConnection::answerBadRequest()
{
    m_bBroken = false;
    stopReading();
    m_pActive = new KVHttpResponse(this, nullptr, false);
    m_pActive->setStatusCode(400);
    m_pActive->setHeader("content-type", "text/plain; charset=utf-8");
    m_pActive->end("400 Bad Request\n" + m_baErrorText + '\n');
}

void KVHttpConnection::sendData(KVHttpResponse *pResponse, const QByteArray &baData)
{
    if (pResponse != m_pActive || m_bGone || baData.isEmpty())
        return;
#ifdef Q_OS_UNIX
    // With nothing waiting in the socket's buffer the data goes to the system directly, which
    // spares switching the socket's write notice on and off for every answer; what the system
    // does not take waits in the buffer as usual.
    qint64 nDirect = 0;
    const int nSocket = int(m_pSocket->socketDescriptor());
    if (m_pSocket->bytesToWrite() == 0 && nSocket >= 0) {
        while (nDirect < baData.size()) {
            const ssize_t n = ::send(nSocket, baData.constData() + nDirect, size_t(baData.size() - nDirect),
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            nDirect += n;
        }
    }
    if (nDirect == baData.size()) {
        onBytesWritten(); // as the socket would tell after sending it
        return;
    }
    m_pSocket->write(nDirect == 0 ? baData : baData.mid(int(nDirect)));
#else
    m_pSocket->write(baData);
#endif
    // Handed to the system at once: a client that shuts its sending side after the request makes
    // the socket close as soon as that is noticed, and data still waiting in the socket is lost.
    m_pSocket->flush();
}

qint64 KVHttpConnection::sendFile(KVHttpResponse *pResponse, int nFile, qint64 *pOffset, qint64 nMax)
{
    if (pResponse != m_pActive || m_bGone)
        return KVHttpResponse::FileFailed;
    // What went through the socket's own buffer leaves first.
    if (m_pSocket->bytesToWrite() > 0)
        return KVHttpResponse::FileWouldBlock;
#ifdef Q_OS_LINUX
    const int nSocket = int(m_pSocket->socketDescriptor());
    if (nSocket < 0)
        return KVHttpResponse::FileFailed;
    off_t offset = off_t(*pOffset);
    ssize_t nSent;
    do {
        nSent = ::sendfile(nSocket, nFile, &offset, size_t(nMax));
    } while (nSent < 0 && errno == EINTR);
    if (nSent < 0)
        return errno == EAGAIN || errno == EWOULDBLOCK ? KVHttpResponse::FileWouldBlock : KVHttpResponse::FileFailed;
    *pOffset = qint64(offset);
    if (nSent > 0) {
        if (!m_bLingering)
            m_idleTimer.start();
        m_activity.restart();
    }
    return qint64(nSent);
#else
    // Read through a buffer where the system has no sendfile.
    QByteArray baBlock(int(qMin<qint64>(nMax, 1048576)), Qt::Uninitialized);
    QFile file;
    if (!file.open(nFile, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) || !file.seek(*pOffset))
        return KVHttpResponse::FileFailed;
    const qint64 nRead = file.read(baBlock.data(), baBlock.size());
    if (nRead < 0)
        return KVHttpResponse::FileFailed;
    baBlock.truncate(int(nRead));
    *pOffset += nRead;
    sendData(pResponse, baBlock);
    return nRead;
#endif
}

void KVHttpConnection::responseFinished(KVHttpResponse *pResponse)
{
    if (pResponse != m_pActive)
        return;
    m_pActive = nullptr;
    // The request goes with its response.
    if (pResponse->request())
        pResponse->request()->setParent(pResponse);
    pResponse->deleteLater();
    if (!pResponse->keepsAlive()) {
        close();
        return;
    }
    // The next request is taken up from the event loop, not from inside the writer that ended
    // this response; when none waits there is nothing to take up.
    if (!m_queue.isEmpty() || m_bPaused || m_bBroken || m_bClosing)
        QMetaObject::invokeMethod(this, &KVHttpConnection::continueAfterResponse, Qt::QueuedConnection);
}

void KVHttpConnection::continueAfterResponse()
{
    if (m_bGone)
        return;
    if (m_bPaused && m_queue.size() < MaxQueuedRequests / 2) {
        m_bPaused = false;
        http_parser_pause(&m_pParser->parser, 0);
        m_pSocket->setReadBufferSize(0);
        parseBuffered();
        if (!m_bPaused && m_pSocket->bytesAvailable() > 0)
            QMetaObject::invokeMethod(this, &KVHttpConnection::onReadyRead, Qt::QueuedConnection);
    }
    dispatchNext();
}

void KVHttpConnection::onBytesWritten()
{
    if (!m_bLingering)
        m_idleTimer.start();
    m_activity.restart();
    if (m_pSocket->bytesToWrite() != 0)
        return;
    if (m_bLingering) {
        shutdownSending();
    } else if (m_pActive && !m_pActive->isFinished() && !m_bNotifyPending) {
        // Told from the event loop: bytesWritten() may come from inside a write of the very
        // writer that is to be told.
        m_bNotifyPending = true;
        QMetaObject::invokeMethod(this, &KVHttpConnection::notifyAllBytesWritten, Qt::QueuedConnection);
    }
}

void KVHttpConnection::notifyAllBytesWritten()
{
    m_bNotifyPending = false;
    if (m_pActive && !m_bGone && !m_pActive->isFinished() && m_pSocket->bytesToWrite() == 0)
        emit m_pActive->allBytesWritten();
}

void KVHttpConnection::abort()
{
    m_pSocket->abort();
    onSocketClosed();
}

void KVHttpConnection::onIdleTimeout()
{
    abort();
}

void KVHttpConnection::requestStarted()
{
    // The first request's time counts from the opening, a later one's from its first byte.
    if (!m_requestTimer.isActive())
        m_requestTimer.start();
}

void KVHttpConnection::requestCompleted()
{
    m_requestTimer.stop();
}

void KVHttpConnection::onRequestTimeout()
{
    if (m_bGone || m_bClosing)
        return;
    if (isServing()) {
        // What was asked for before still goes out; the late request is not read any further.
        m_bClosing = true;
        m_baUnparsed.clear();
        return;
    }
    abort();
}

void KVHttpConnection::onSocketClosed()
{
    if (m_bGone)
        return;
    m_bGone = true;
    m_idleTimer.stop();
    m_requestTimer.stop();
    stopReading();
    emit disconnected();
    deleteLater();
}
