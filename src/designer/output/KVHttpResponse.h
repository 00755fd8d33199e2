#pragma once

#include <QByteArray>
#include <QObject>
#include <QPair>
#include <QVector>

class KVHttpConnection;
class KVHttpRequest;

// The answer to one request. Set the status and headers, then write() the body in pieces and
// end() it. The header goes out with the first write or with end(). Without a "content-length"
// the body is sent chunked (HTTP/1.1) or delimited by closing the connection (HTTP/1.0); a body
// shorter than its announced length also closes the connection, since the client could not find
// the next answer otherwise. A HEAD request gets the header only.
//
// allBytesWritten() tells a writer that everything it wrote has left for the network, which is
// the moment to write the next piece. The response belongs to its connection and is deleted
// after it has finished.
class KVHttpResponse : public QObject
{
    Q_OBJECT

public:
    KVHttpResponse(KVHttpConnection *pConnection, KVHttpRequest *pRequest, bool bKeepAlive);

    int statusCode() const { return m_nStatus; }
    void setStatusCode(int nStatus);

    // Names are stored lower-case; setting a header again replaces its value.
    void setHeader(const QByteArray &baName, const QByteArray &baValue);
    QByteArray header(const QByteArray &baName) const;
    bool hasHeader(const QByteArray &baName) const;
    void removeHeader(const QByteArray &baName);
    const QVector<QPair<QByteArray, QByteArray>> &headers() const { return m_headers; }

    void write(const QByteArray &baData);
    void end(const QByteArray &baData = QByteArray());

    enum { FileEnded = 0, FileWouldBlock = -1, FileFailed = -2 };
    // Sends up to nMax bytes of the open file nFile from *pOffset as body, straight from the file
    // to the client where the system allows (the header first, when it has not gone yet), and
    // advances *pOffset. Gives the number of bytes sent, FileWouldBlock when the client cannot
    // take more now (or the header is still on its way), FileEnded at the end of the file and
    // FileFailed when the file cannot be read or sent this way (a chunked body).
    qint64 writeFile(int nFile, qint64 *pOffset, qint64 nMax);

    bool isHeaderSent() const { return m_bHeaderSent; }
    bool isFinished() const { return m_bFinished; }
    // Whether the connection stays open for another request once this response has finished.
    bool keepsAlive() const { return m_bKeepAlive; }
    qint64 bodyBytesSent() const { return m_nBodySent; }
    KVHttpConnection *connection() const { return m_pConnection; }
    KVHttpRequest *request() const { return m_pRequest; }

    static QByteArray reasonPhrase(int nStatus);

signals:
    void allBytesWritten();
    void finished();

private:
    friend class KVHttpConnection;
    // The header as it goes out; from then on it counts as sent.
    QByteArray takeHeader(bool bEnding, qint64 nEndingSize);
    // The piece of the body that goes out for baData (cut to the announced length, chunked).
    QByteArray takeBody(const QByteArray &baData);
    bool bodyAllowed() const;

    KVHttpConnection *m_pConnection;
    KVHttpRequest *m_pRequest;
    int m_nStatus = 200;
    QVector<QPair<QByteArray, QByteArray>> m_headers;
    bool m_bHead = false;
    bool m_bHttp11 = true;
    bool m_bKeepAlive = true;
    bool m_bChunked = false;
    bool m_bHeaderSent = false;
    bool m_bFinished = false;
    qint64 m_nDeclaredLength = -1; // -1: no content-length
    qint64 m_nBodySent = 0;
};
