#include "KVHttpRequest.h"

#include "KVHttpConnection.h"

#include <http_parser.h>

namespace {
QByteArray field(const QByteArray &baTarget, const http_parser_url &parts, int nField)
{
    if (!(parts.field_set & (1 << nField)))
        return QByteArray();
    return baTarget.mid(parts.field_data[nField].off, parts.field_data[nField].len);
}
} // namespace

KVHttpRequest::KVHttpRequest(KVHttpConnection *pConnection, const QByteArray &baMethod,
                             const QByteArray &baTarget, int nMajor, int nMinor,
                             const QHash<QByteArray, QByteArray> &headers)
    : QObject(pConnection)
    , m_pConnection(pConnection)
    , m_baMethod(baMethod)
    , m_baTarget(baTarget)
    , m_nMajor(nMajor)
    , m_nMinor(nMinor)
    , m_headers(headers)
{
    // The URL is built from its parts: an origin-form target such as "//home/a.html" must stay a
    // path, where QUrl alone would read "home" as a host name.
    m_url.setScheme(QStringLiteral("http"));
    m_url.setHost(pConnection ? pConnection->localAddress().toString() : QStringLiteral("127.0.0.1"));
    if (pConnection)
        m_url.setPort(pConnection->localPort());
    http_parser_url parts;
    http_parser_url_init(&parts);
    if (http_parser_parse_url(baTarget.constData(), size_t(baTarget.size()), 0, &parts) == 0) {
        m_url.setPath(QString::fromLatin1(field(baTarget, parts, UF_PATH)), QUrl::TolerantMode);
        if (parts.field_set & (1 << UF_QUERY))
            m_url.setQuery(QString::fromLatin1(field(baTarget, parts, UF_QUERY)), QUrl::TolerantMode);
    }
}

QString KVHttpRequest::httpVersion() const
{
    return QStringLiteral("%1.%2").arg(m_nMajor).arg(m_nMinor);
}

QByteArray KVHttpRequest::header(const QByteArray &baName) const
{
    return m_headers.value(baName.toLower());
}

bool KVHttpRequest::hasHeader(const QByteArray &baName) const
{
    return m_headers.contains(baName.toLower());
}

QHostAddress KVHttpRequest::remoteAddress() const
{
    return m_pConnection ? m_pConnection->peerAddress() : QHostAddress();
}
