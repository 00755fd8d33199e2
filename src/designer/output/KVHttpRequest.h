#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QUrl>

class KVHttpConnection;

// One request received by the preview server: method, target, HTTP version and headers.
// Header names are lower-case; a header that occurs more than once holds its values joined by
// ", ". The body is never kept. The request belongs to its connection and lives until its
// response has been finished.
class KVHttpRequest : public QObject
{
    Q_OBJECT

public:
    KVHttpRequest(KVHttpConnection *pConnection, const QByteArray &baMethod, const QByteArray &baTarget,
                  int nMajor, int nMinor, const QHash<QByteArray, QByteArray> &headers);

    QByteArray method() const { return m_baMethod; }
    // The target as it arrived on the request line (percent-encoded).
    QByteArray target() const { return m_baTarget; }
    // The target as a URL on this server; path(QUrl::FullyDecoded) gives the decoded path.
    QUrl url() const { return m_url; }
    QString httpVersion() const;
    int majorVersion() const { return m_nMajor; }
    int minorVersion() const { return m_nMinor; }

    const QHash<QByteArray, QByteArray> &headers() const { return m_headers; }
    QByteArray header(const QByteArray &baName) const; // case-insensitive
    bool hasHeader(const QByteArray &baName) const;

    KVHttpConnection *connection() const { return m_pConnection; }
    QHostAddress remoteAddress() const;

private:
    KVHttpConnection *m_pConnection;
    QByteArray m_baMethod;
    QByteArray m_baTarget;
    QUrl m_url;
    int m_nMajor;
    int m_nMinor;
    QHash<QByteArray, QByteArray> m_headers;
};
