#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QQueue>
#include <QTimer>

#include <memory>

class QTcpSocket;
class KVHttpRequest;
class KVHttpResponse;

// One client connection of the preview server. Requests are read by Node's http_parser; their
// bodies are skipped. Requests answer strictly in arrival order: a pipelined request waits in a
// queue until the response before it has finished, and reading stops while the queue is full.
// Malformed input is answered, after the requests before it, with 400 and the connection closes.
// A connection with no traffic in either direction for the idle time-out is dropped (a handler
// that keeps a response waiting longer than that loses it too). A request must also arrive whole
// within the request time-out, counted from the connection's opening for its first request and
// from the first byte of each later one: a client trickling its headers is dropped, or, when
// answers to its earlier requests are still going out, closed after them.
// A client that shuts its sending side after the request still gets what could be written at
// once, which is all of a small answer; the socket closes as soon as the shut-down is seen.
// The connection deletes itself once its socket has closed.
class KVHttpConnection : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxQueuedRequests = 32;
    static constexpr int MaxUrlSize = 8192;
    static constexpr int MaxHeaderCount = 100;
    static constexpr int LingerTime = 2000; // ms a closing connection waits for the client

    KVHttpConnection(QTcpSocket *pSocket, int nIdleTimeout, int nRequestTimeout, QObject *pParent = nullptr);
    ~KVHttpConnection() override;

    QHostAddress localAddress() const;
    quint16 localPort() const;
    QHostAddress peerAddress() const;
    // Bytes handed to the socket that have not yet left for the network.
    qint64 bytesToWrite() const;
    // The socket's descriptor, -1 once it has closed.
    qintptr socketDescriptor() const;
    bool isOpen() const;
    int queuedRequestCount() const { return m_queue.size(); }
    // Whether a request of this connection is being answered or waits to be.
    bool isServing() const { return m_pActive || !m_queue.isEmpty(); }
    // Milliseconds since anything was last read from or written to the client.
    qint64 idleTime() const { return m_activity.elapsed(); }

    // A request on its way has the new time from now.
    void setRequestTimeout(int nMilliseconds) { m_requestTimer.setInterval(nMilliseconds); }

    // Stops reading requests and closes once the data already written has been sent.
    void close();
    // Drops the connection at once, unsent data included.
    void abort();

signals:
    void newRequest(KVHttpRequest *pRequest, KVHttpResponse *pResponse);
    void disconnected();

private:
    friend class KVHttpResponse;
    struct Parser;
    struct Pending {
        QByteArray baMethod;
        QByteArray baTarget;
        int nMajor = 1;
        int nMinor = 1;
        bool bKeepAlive = true;
        QHash<QByteArray, QByteArray> headers;
    };

    void onReadyRead();
    void onBytesWritten();
    void notifyAllBytesWritten();
    void onSocketClosed();
    void onIdleTimeout();
    void onRequestTimeout();
    void requestStarted();
    void requestCompleted();
    void parseBuffered();
    void dispatchNext();
    void continueAfterResponse();
    void answerBadRequest();
    void stopReading();
    void shutdownSending();

    void sendData(KVHttpResponse *pResponse, const QByteArray &baData);
    qint64 sendFile(KVHttpResponse *pResponse, int nFile, qint64 *pOffset, qint64 nMax);
    void responseFinished(KVHttpResponse *pResponse);

    QTcpSocket *m_pSocket;
    std::unique_ptr<Parser> m_pParser;
    QQueue<Pending> m_queue;
    QByteArray m_baUnparsed;
    KVHttpResponse *m_pActive = nullptr;
    QByteArray m_baErrorText;   // set when the input was malformed
    bool m_bBroken = false;     // malformed input: answer 400 after the queue, then close
    bool m_bClosing = false;    // no more requests are read
    bool m_bPaused = false;     // the queue is full
    bool m_bGone = false;       // the socket has closed
    bool m_bLingering = false;  // closing: waiting for the answer to leave and the client to go
    bool m_bSendingShut = false;
    bool m_bNotifyPending = false; // allBytesWritten() is on its way
    QTimer m_idleTimer;
    QTimer m_requestTimer;      // runs while a request is on its way
    QElapsedTimer m_activity;
};
