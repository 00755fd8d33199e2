#include "KVHttpServer.h"

#include "KVHttpFileReader.h"
#include "KVHttpRequest.h"
#include "KVHttpResponse.h"
#include "Reporter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QMimeDatabase>

#ifdef Q_OS_LINUX
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

KVHttpServer::KVHttpServer(QObject *pParent)
    : KVHttpServerBase(pParent)
{
    connect(this, &KVHttpServerBase::newRequest, this, &KVHttpServer::onNewRequest);
}

bool KVHttpServer::startListening(quint16 nPreferredPort)
{
    if (isListening())
        return true;
    if (listen(QHostAddress::LocalHost, nPreferredPort) || listen(QHostAddress::LocalHost, 0))
        return true;
    Reporter::error(tr("Unable to start the preview server."));
    return false;
}

QString KVHttpServer::normalizedPath(const QString &strPath)
{
    if (strPath.isEmpty())
        return QString();
    const QString strClean = QDir::cleanPath(QFileInfo(strPath).absoluteFilePath());
    // Resolve links in the longest part of the path that exists; the rest is kept as written.
    QString strExisting = strClean;
    QString strRest;
    while (!strExisting.isEmpty()) {
        const QString strCanonical = QFileInfo(strExisting).canonicalFilePath();
        if (!strCanonical.isEmpty()) {
            if (strRest.isEmpty())
                return strCanonical;
            return QDir::cleanPath(strCanonical + QLatin1Char('/') + strRest);
        }
        const int nSlash = strExisting.lastIndexOf(QLatin1Char('/'));
        if (nSlash < 0 || strExisting == QLatin1String("/"))
            break;
        const QString strName = strExisting.mid(nSlash + 1);
        strRest = strRest.isEmpty() ? strName : strName + QLatin1Char('/') + strRest;
        strExisting = nSlash == 0 ? QStringLiteral("/") : strExisting.left(nSlash);
    }
    return strClean;
}

bool KVHttpServer::addRoot(const QString &strPath)
{
    const QString strRoot = normalizedPath(strPath);
    if (strRoot.isEmpty())
        return false;
    if (!m_roots.contains(strRoot))
        m_roots.append(strRoot);
    return true;
}

bool KVHttpServer::removeRoot(const QString &strPath)
{
    return m_roots.removeAll(normalizedPath(strPath)) > 0;
}

bool KVHttpServer::isUnderRoot(const QString &strFolder) const
{
    for (const QString &strRoot : m_roots) {
        if (strFolder == strRoot)
            return true;
        const QString strPrefix = strRoot.endsWith(QLatin1Char('/')) ? strRoot : strRoot + QLatin1Char('/');
        if (strFolder.startsWith(strPrefix))
            return true;
    }
    return false;
}

bool KVHttpServer::resolveQuickly(const QString &strLocal, QFileInfo *pResolved) const
{
#ifdef Q_OS_LINUX
    // The common case in a few calls: a clean path under a root naming a regular file whose
    // resolved name is under a root too. The system resolves every link at once; the file is not
    // opened for this (no device or pipe is touched).
    if (QDir::cleanPath(strLocal) != strLocal || !isUnderRoot(QFileInfo(strLocal).path()))
        return false;
    const int nFile = ::open(QFile::encodeName(strLocal).constData(), O_PATH | O_CLOEXEC);
    if (nFile < 0)
        return false;
    struct stat st;
    char buffer[PATH_MAX];
    ssize_t nLength = -1;
    if (::fstat(nFile, &st) == 0 && S_ISREG(st.st_mode))
        nLength = ::readlink(("/proc/self/fd/" + QByteArray::number(nFile)).constData(), buffer, sizeof(buffer));
    ::close(nFile);
    if (nLength <= 0 || nLength >= qint64(sizeof(buffer)) || buffer[0] != '/')
        return false;
    const QString strResolved = QFile::decodeName(QByteArray(buffer, int(nLength)));
    if (!isUnderRoot(QFileInfo(strResolved).path()))
        return false;
    *pResolved = QFileInfo(strResolved);
    return true;
#else
    Q_UNUSED(strLocal)
    Q_UNUSED(pResolved)
    return false;
#endif
}

bool KVHttpServer::isAllowed(const QString &strPath) const
{
    const QString strFile = normalizedPath(strPath);
    return !strFile.isEmpty() && isUnderRoot(QFileInfo(strFile).path());
}

QString KVHttpServer::localPathOf(const QString &strDecodedPath)
{
    if (!strDecodedPath.startsWith(QLatin1Char('/')))
        return strDecodedPath;
    const QString strPath = strDecodedPath.mid(1);
    return QDir::isAbsolutePath(strPath) ? strPath : strDecodedPath;
}

bool KVHttpServer::parseRange(const QByteArray &baRange, qint64 nSize, qint64 *pStart, qint64 *pEnd)
{
    if (!baRange.contains("bytes"))
        return false;
    const QList<QByteArray> parts = baRange.split('=').last().split('-');
    bool bStartOk = false;
    const qint64 nStart = parts.at(0).trimmed().toLongLong(&bStartOk);
    qint64 nEnd = nSize - 1;
    if (parts.size() > 1 && !parts.at(1).trimmed().isEmpty()) {
        bool bEndOk = false;
        nEnd = parts.at(1).trimmed().toLongLong(&bEndOk);
        if (!bEndOk)
            return false;
    }
    if (!bStartOk || nStart < 0 || nStart > nEnd || nEnd >= nSize)
        return false;
    *pStart = nStart;
    *pEnd = nEnd;
    return true;
}

QByteArray KVHttpServer::httpDate(const QDateTime &dateTime)
{
    return QLocale::c().toString(dateTime.toUTC(), QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")).toLatin1()
           + " GMT";
}

bool KVHttpServer::isOwnHost(const QByteArray &baHost) const
{
    const QByteArray baName = baHost.trimmed().toLower();
    const QByteArray baPort = QByteArray::number(port());
    for (const QByteArray &baOwn : {QByteArrayLiteral("127.0.0.1"), QByteArrayLiteral("localhost")}) {
        // A browser leaves out the default port.
        if (baName == baOwn + ':' + baPort || (port() == 80 && baName == baOwn))
            return true;
    }
    return false;
}

void KVHttpServer::answerError(KVHttpResponse *pResponse, int nStatus, const QByteArray &baDetail)
{
    pResponse->setStatusCode(nStatus);
    pResponse->setHeader("content-type", "text/plain; charset=utf-8");
    pResponse->end(QByteArray::number(nStatus) + ' ' + KVHttpResponse::reasonPhrase(nStatus) + '\n'
                   + (baDetail.isEmpty() ? QByteArray() : baDetail + '\n'));
}

void KVHttpServer::onNewRequest(KVHttpRequest *pRequest, KVHttpResponse *pResponse)
{
    pResponse->setHeader("server", "Kavio Studio");
    if (!pRequest->hasHeader("host")) {
        answerError(pResponse, 400, "The request names no host.");
        return;
    }
    // An absolute target names a host itself: it must be this server as well.
    const bool bAbsolute = !pRequest->target().startsWith('/');
    if (!isOwnHost(pRequest->header("host"))
        || (bAbsolute && !isOwnHost(QUrl::fromEncoded(pRequest->target()).authority().toLatin1()))) {
        const QByteArray baPort = QByteArray::number(port());
        answerError(pResponse, 421, "This server answers only to 127.0.0.1:" + baPort + " and localhost:" + baPort + '.');
        return;
    }
    if (pRequest->method() != "GET" && pRequest->method() != "HEAD") {
        pResponse->setHeader("allow", "GET, HEAD");
        answerError(pResponse, 405);
        return;
    }
    const QString strDecoded = pRequest->url().path(QUrl::FullyDecoded);
    if (!strDecoded.startsWith(QLatin1Char('/')) || strDecoded.contains(QChar(0))) {
        answerError(pResponse, 400);
        return;
    }
    const QString strLocal = localPathOf(strDecoded);
    QFileInfo resolved;
    if (resolveQuickly(strLocal, &resolved)) {
        answerFile(pRequest, pResponse, resolved);
        return;
    }
    // First the path as written, with ".." taken lexically: outside the roots nothing is looked at.
    const QString strNormal = normalizedPath(strLocal);
    if (strNormal.isEmpty() || !isUnderRoot(QFileInfo(strNormal).path())) {
        answerError(pResponse, 403);
        return;
    }
    const QFileInfo info(strLocal);
    if (!info.exists()) {
        answerError(pResponse, 404);
        return;
    }
    // Then the file itself with every link resolved; it is opened under that very name. Only a
    // regular file: opening a pipe would wait for a writer, a device never ends. A path with
    // nothing for cleaning to take out was resolved just above.
    const QFileInfo canonical(QDir::cleanPath(strLocal) == strLocal ? strNormal : info.canonicalFilePath());
    if (info.isDir() || !canonical.isFile() || !isUnderRoot(canonical.path())) {
        answerError(pResponse, 403);
        return;
    }
    answerFile(pRequest, pResponse, canonical);
}

QByteArray KVHttpServer::mimeTypeOf(const QString &strFileName)
{
    // The database matches a name against every glob pattern it knows; a preview asks for the
    // same few names again and again, so each name is matched once. The table is cleared when a
    // client walks through very many names.
    static const QMimeDatabase mimeDatabase;
    static thread_local QHash<QString, QByteArray> known; // a server in another thread has its own
    const auto it = known.constFind(strFileName);
    if (it != known.constEnd())
        return it.value();
    if (known.size() >= 4096)
        known.clear();
    const QByteArray baType = mimeDatabase.mimeTypeForFile(strFileName, QMimeDatabase::MatchExtension).name().toLatin1();
    known.insert(strFileName, baType);
    return baType;
}

void KVHttpServer::answerFile(KVHttpRequest *pRequest, KVHttpResponse *pResponse, const QFileInfo &info)
{
    QFile *pFile = new QFile(info.filePath());
    if (!pFile->open(QIODevice::ReadOnly)) {
        delete pFile;
        answerError(pResponse, 403);
        return;
    }
    qint64 nSize = -1;
    QDateTime modified;
#ifdef Q_OS_LINUX
    // Size and time in one call, the time in UTC straight away (a local time would consult the
    // time zone files for every request).
    struct stat st;
    if (::fstat(pFile->handle(), &st) == 0) {
        nSize = qint64(st.st_size);
        modified = QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000,
                                                  Qt::UTC);
    }
#endif
    if (nSize < 0) {
        nSize = pFile->size();
        modified = info.lastModified();
    }
    qint64 nStart = 0;
    qint64 nEnd = nSize - 1;
    const bool bRange = parseRange(pRequest->header("range"), nSize, &nStart, &nEnd);
    const qint64 nCount = bRange ? nEnd - nStart + 1 : nSize;
    if (bRange) {
        pResponse->setStatusCode(206);
        pResponse->setHeader("accept-ranges", "bytes");
        pResponse->setHeader("content-range", "bytes " + QByteArray::number(nStart) + '-'
                                                  + QByteArray::number(nEnd) + '/' + QByteArray::number(nSize));
        pFile->seek(nStart);
    } else {
        pResponse->setStatusCode(200);
        pResponse->setHeader("accept-ranges", "bytes");
    }
    pResponse->setHeader("content-type", mimeTypeOf(info.fileName()));
    pResponse->setHeader("content-length", QByteArray::number(nCount));
    pResponse->setHeader("last-modified", httpDate(modified));
    pResponse->setHeader("expires", "0");
    pResponse->setHeader("cache-control", "no-cache, no-store, must-revalidate");
    if (pRequest->method() == "HEAD") {
        delete pFile;
        pResponse->end();
        return;
    }
    if (nCount <= SmallFileSize) {
        // Header and body in one write. A file that shrank meanwhile gives a short body, which
        // closes the connection.
        const QByteArray baBody = pFile->read(nCount);
        delete pFile;
        pResponse->end(baBody);
        return;
    }
    KVHttpFileReader *pReader = new KVHttpFileReader(pFile, nCount, pResponse, pRequest->connection());
    pReader->start();
}
