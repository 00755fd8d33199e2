#pragma once

#include "KVHttpServerBase.h"
#include "model/ISingleton.h"

#include <QStringList>

class QFileInfo;

// The preview server: serves files of the registered root folders to the browser, on 127.0.0.1
// only. Roots are kept as canonical paths without duplicates; a file may be read when its folder,
// or one of that folder's ancestors, is a root. Symbolic links are followed before the check, so a
// link inside a root that points elsewhere is refused.
//
// Answers: only requests addressed to this server by name, that is with the host
// "127.0.0.1:<port>" or "localhost:<port>", are served; any other host gets 421 and no
// request without one is served (400), so that a web page whose own name has been made to point
// at 127.0.0.1 cannot read the served files. Then GET and HEAD only (405 otherwise); a path outside every root, a folder or a file that
// cannot be opened gets 403; a missing file inside a root gets 404; a path that cannot name a
// file (a NUL byte) gets 400. Outside the roots the answer is 403 whether the file exists or not,
// so the server does not tell what exists elsewhere on the disk.
class KVHttpServer : public KVHttpServerBase, public ISingleton<KVHttpServer>
{
    Q_OBJECT

public:
    static constexpr quint16 PreferredPort = 8080;
    // A file up to this size is answered in one write, header and body together.
    static constexpr qint64 SmallFileSize = 65536;

    explicit KVHttpServer(QObject *pParent = nullptr);

    // Listens on 127.0.0.1 at the preferred port (8080), else at any free port; reports a failure.
    bool startListening(quint16 nPreferredPort = PreferredPort);

    bool addRoot(const QString &strPath);
    bool removeRoot(const QString &strPath);
    QStringList roots() const { return m_roots; }
    // Whether the file at strPath may be served (symbolic links resolved).
    bool isAllowed(const QString &strPath) const;

    // The file path a request path names: the decoded path without its leading "/" (so that
    // "/C:/x" names "C:/x"); a path that is relative after that keeps its "/".
    static QString localPathOf(const QString &strDecodedPath);
    // Reads a "range" header against a file of nSize bytes. Returns false for the whole file.
    static bool parseRange(const QByteArray &baRange, qint64 nSize, qint64 *pStart, qint64 *pEnd);
    static QByteArray httpDate(const QDateTime &dateTime);
    // The content type for a file of this name, by its extension.
    static QByteArray mimeTypeOf(const QString &strFileName);
    // Whether a "host" header (or the authority of an absolute target) names this server.
    bool isOwnHost(const QByteArray &baHost) const;

public slots:
    void onNewRequest(KVHttpRequest *pRequest, KVHttpResponse *pResponse);

private:
    static QString normalizedPath(const QString &strPath);
    // A regular file under a root found the short way (false: the full checks decide).
    bool resolveQuickly(const QString &strLocal, QFileInfo *pResolved) const;
    bool isUnderRoot(const QString &strFolder) const;
    static void answerError(KVHttpResponse *pResponse, int nStatus, const QByteArray &baDetail = QByteArray());
    static void answerFile(KVHttpRequest *pRequest, KVHttpResponse *pResponse, const QFileInfo &info);

    QStringList m_roots;
};
