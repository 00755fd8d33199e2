#include "KVHttpResponse.h"

#include "KVHttpConnection.h"
#include "KVHttpRequest.h"

#include <http_parser.h>

KVHttpResponse::KVHttpResponse(KVHttpConnection *pConnection, KVHttpRequest *pRequest, bool bKeepAlive)
    : QObject(pConnection)
    , m_pConnection(pConnection)
    , m_pRequest(pRequest)
    , m_bKeepAlive(bKeepAlive)
{
    if (pRequest) {
        m_bHead = pRequest->method() == "HEAD";
        m_bHttp11 = pRequest->majorVersion() > 1
                    || (pRequest->majorVersion() == 1 && pRequest->minorVersion() >= 1);
    }
}

void KVHttpResponse::setStatusCode(int nStatus)
{
    if (!m_bHeaderSent && nStatus >= 100 && nStatus <= 999)
        m_nStatus = nStatus;
}

void KVHttpResponse::setHeader(const QByteArray &baName, const QByteArray &baValue)
{
    const QByteArray baKey = baName.trimmed().toLower();
    // A header must not be able to split the response: no line breaks in names or values.
    if (m_bHeaderSent || baKey.isEmpty() || baKey.contains('\r') || baKey.contains('\n')
        || baKey.contains(':') || baValue.contains('\r') || baValue.contains('\n'))
        return;
    for (auto &header : m_headers) {
        if (header.first == baKey) {
            header.second = baValue;
            return;
        }
    }
    m_headers.append(qMakePair(baKey, baValue));
}

QByteArray KVHttpResponse::header(const QByteArray &baName) const
{
    const QByteArray baKey = baName.toLower();
    for (const auto &header : m_headers) {
        if (header.first == baKey)
            return header.second;
    }
    return QByteArray();
}

bool KVHttpResponse::hasHeader(const QByteArray &baName) const
{
    const QByteArray baKey = baName.toLower();
    for (const auto &header : m_headers) {
        if (header.first == baKey)
            return true;
    }
    return false;
}

void KVHttpResponse::removeHeader(const QByteArray &baName)
{
    if (m_bHeaderSent)
        return;
    const QByteArray baKey = baName.toLower();
    for (int i = m_headers.size() - 1; i >= 0; --i) {
        if (m_headers.at(i).first == baKey)
            m_headers.remove(i);
    }
}

QByteArray KVHttpResponse::reasonPhrase(int nStatus)
{
    const char *pText = http_status_str(http_status(nStatus));
    return QByteArray(pText && *pText && qstrcmp(pText, "<unknown>") != 0 ? pText : "Unknown");
}

bool KVHttpResponse::bodyAllowed() const
{
    return !m_bHead && m_nStatus != 204 && m_nStatus != 304 && m_nStatus >= 200;
}

QByteArray KVHttpResponse::takeHeader(bool bEnding, qint64 nEndingSize)
{
    m_bHeaderSent = true;
    removeHeader("transfer-encoding"); // the framing is ours to choose
    bool bOk = false;
    const qint64 nLength = header("content-length").trimmed().toLongLong(&bOk);
    if (bOk && nLength >= 0) {
        m_nDeclaredLength = nLength;
    } else {
        removeHeader("content-length");
        if (bEnding || !bodyAllowed()) {
            m_nDeclaredLength = bodyAllowed() ? nEndingSize : 0;
            if (m_nStatus != 204 && m_nStatus != 304)
                m_headers.append(qMakePair(QByteArray("content-length"), QByteArray::number(bEnding ? nEndingSize : 0)));
        } else if (m_bHttp11) {
            m_bChunked = true;
            m_headers.append(qMakePair(QByteArray("transfer-encoding"), QByteArray("chunked")));
        } else {
            m_bKeepAlive = false; // the end of the body is the end of the connection
        }
    }
    if (header("connection").toLower().contains("close"))
        m_bKeepAlive = false;
    removeHeader("connection");
    if (!m_bKeepAlive)
        m_headers.append(qMakePair(QByteArray("connection"), QByteArray("close")));
    else if (!m_bHttp11)
        m_headers.append(qMakePair(QByteArray("connection"), QByteArray("keep-alive")));

    QByteArray baHead = (m_bHttp11 ? "HTTP/1.1 " : "HTTP/1.0 ") + QByteArray::number(m_nStatus) + ' '
                        + reasonPhrase(m_nStatus) + "\r\n";
    for (const auto &header : qAsConst(m_headers))
        baHead += header.first + ": " + header.second + "\r\n";
    baHead += "\r\n";
    return baHead;
}

QByteArray KVHttpResponse::takeBody(const QByteArray &baData)
{
    if (baData.isEmpty() || !bodyAllowed())
        return QByteArray();
    QByteArray baPiece = baData;
    if (m_nDeclaredLength >= 0) {
        // Never more than announced, or the client would take the rest for the next answer.
        const qint64 nRoom = m_nDeclaredLength - m_nBodySent;
        if (nRoom <= 0)
            return QByteArray();
        if (baPiece.size() > nRoom)
            baPiece.truncate(int(nRoom));
    }
    m_nBodySent += baPiece.size();
    if (m_bChunked)
        baPiece = QByteArray::number(baPiece.size(), 16) + "\r\n" + baPiece + "\r\n";
    return baPiece;
}

void KVHttpResponse::write(const QByteArray &baData)
{
    if (m_bFinished)
        return;
    // The header and the first piece of the body leave in one write.
    const QByteArray baHead = m_bHeaderSent ? QByteArray() : takeHeader(false, 0);
    m_pConnection->sendData(this, baHead + takeBody(baData));
}

qint64 KVHttpResponse::writeFile(int nFile, qint64 *pOffset, qint64 nMax)
{
    if (m_bFinished || m_bChunked || !bodyAllowed())
        return FileFailed;
    if (!m_bHeaderSent)
        m_pConnection->sendData(this, takeHeader(false, 0));
    if (m_nDeclaredLength >= 0)
        nMax = qMin(nMax, m_nDeclaredLength - m_nBodySent);
    if (nMax <= 0)
        return FileFailed;
    const qint64 nSent = m_pConnection->sendFile(this, nFile, pOffset, nMax);
    if (nSent > 0)
        m_nBodySent += nSent;
    return nSent;
}

void KVHttpResponse::end(const QByteArray &baData)
{
    if (m_bFinished)
        return;
    QByteArray baOut = m_bHeaderSent ? QByteArray() : takeHeader(true, baData.size());
    baOut += takeBody(baData);
    if (m_bChunked)
        baOut += "0\r\n\r\n";
    // Finished before the last bytes go, so that their leaving asks no writer for more.
    m_bFinished = true;
    m_pConnection->sendData(this, baOut);
    if (bodyAllowed() && m_nDeclaredLength >= 0 && m_nBodySent < m_nDeclaredLength)
        m_bKeepAlive = false; // short body: the framing is lost
    emit finished();
    m_pConnection->responseFinished(this);
}
