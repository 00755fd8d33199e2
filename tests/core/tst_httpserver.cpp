// The preview server on real sockets at 127.0.0.1: files under registered roots, refusals,
// keep-alive, pipelining, skipped bodies, malformed input, the connection limit, the idle time-out
// and streaming of a large file.
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "output/KVHttpConnection.h"
#include "output/KVHttpFileReader.h"
#include "output/KVHttpRequest.h"
#include "output/KVHttpResponse.h"
#include "output/KVHttpServer.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#endif

namespace {
struct RawResponse {
    bool bComplete = false;
    QByteArray baStatusLine;
    int nStatus = -1;
    QHash<QByteArray, QByteArray> headers;
    QByteArray baBody;
};

// Takes one response off the front of baBuffer when it is all there.
bool takeResponse(QByteArray &baBuffer, bool bHead, bool bClosed, RawResponse &response)
{
    const int nHeadEnd = baBuffer.indexOf("\r\n\r\n");
    if (nHeadEnd < 0)
        return false;
    const QList<QByteArray> lines = baBuffer.left(nHeadEnd).split('\n');
    RawResponse parsed;
    parsed.baStatusLine = lines.at(0).trimmed();
    parsed.nStatus = parsed.baStatusLine.split(' ').value(1).toInt();
    for (int i = 1; i < lines.size(); ++i) {
        const int nColon = lines.at(i).indexOf(':');
        parsed.headers.insert(lines.at(i).left(nColon).trimmed().toLower(), lines.at(i).mid(nColon + 1).trimmed());
    }
    int nPos = nHeadEnd + 4;
    if (bHead || parsed.nStatus == 100) {
        // nothing follows the head
    } else if (parsed.headers.contains("content-length")) {
        const int nLength = parsed.headers.value("content-length").toInt();
        if (baBuffer.size() - nPos < nLength)
            return false;
        parsed.baBody = baBuffer.mid(nPos, nLength);
        nPos += nLength;
    } else if (parsed.headers.value("transfer-encoding") == "chunked") {
        forever {
            const int nLineEnd = baBuffer.indexOf("\r\n", nPos);
            if (nLineEnd < 0)
                return false;
            const int nChunk = baBuffer.mid(nPos, nLineEnd - nPos).toInt(nullptr, 16);
            if (baBuffer.size() < nLineEnd + 2 + nChunk + 2)
                return false;
            parsed.baBody += baBuffer.mid(nLineEnd + 2, nChunk);
            nPos = nLineEnd + 2 + nChunk + 2;
            if (nChunk == 0)
                break;
        }
    } else {
        if (!bClosed)
            return false; // delimited by the end of the connection
        parsed.baBody = baBuffer.mid(nPos);
        nPos = baBuffer.size();
    }
    parsed.bComplete = true;
    baBuffer.remove(0, nPos);
    response = parsed;
    return true;
}

// A raw client: writes bytes as given and reads responses, running the event loop meanwhile.
class RawClient
{
public:
    explicit RawClient(quint16 nPort)
    {
        m_socket.connectToHost(QHostAddress::LocalHost, nPort);
        m_socket.waitForConnected(5000);
    }
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // "@PORT@" in a request stands for the server's port (rows are made before the server).
    void send(QByteArray baData)
    {
        m_socket.write(baData.replace("@PORT@", QByteArray::number(m_socket.peerPort())));
        m_socket.flush();
    }
    QTcpSocket &socket() { return m_socket; }

    RawResponse read(bool bHead = false)
    {
        RawResponse response;
        (void)QTest::qWaitFor([&]() {
            m_baBuffer += m_socket.readAll();
            const bool bClosed = !isConnected() && m_socket.bytesAvailable() == 0;
            return takeResponse(m_baBuffer, bHead, bClosed, response) || bClosed;
        }, 10000);
        return response;
    }
    // Waits until the server has closed the connection.
    bool waitClosed()
    {
        return QTest::qWaitFor([&]() {
            m_baBuffer += m_socket.readAll();
            return !isConnected();
        }, 10000);
    }
    QByteArray leftover() const { return m_baBuffer; }

private:
    QTcpSocket m_socket;
    QByteArray m_baBuffer;
};

QByteArray get(const QByteArray &baTarget, const QByteArray &baExtra = QByteArray())
{
    return "GET " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\n" + baExtra + "\r\n";
}

void writeFile(const QString &strPath, const QByteArray &baData)
{
    QDir().mkpath(QFileInfo(strPath).path());
    QFile file(strPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(baData), qint64(baData.size()));
}

// Counts this process's open descriptors on the file (Linux).
int openHandles(const QString &strPath)
{
    int nCount = 0;
    const QString strTarget = QFileInfo(strPath).canonicalFilePath();
    const QFileInfoList fds = QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::Files | QDir::System);
    for (const QFileInfo &fd : fds) {
        if (fd.symLinkTarget() == strTarget)
            ++nCount;
    }
    return nCount;
}
} // namespace

class TestHttpServer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void servesFile_data();
    void servesFile();
    void refusals_data();
    void refusals();
    void hosts_data();
    void hosts();
    void rootsAreCanonical();
    void closedRootIsRefused();
    void ranges_data();
    void ranges();
    void lastModifiedFormat();
    void keepAlive();
    void connectionPersistence_data();
    void connectionPersistence();
    void halfClosedClient();
    void pipelinedInOrder();
    void pipelinedBeyondQueue();
    void pipelinedStopsAtClose();
    void bodiesIgnored_data();
    void bodiesIgnored();
    void headRequest();
    void malformed_data();
    void malformed();
    void validThenMalformed();
    void connectionLimit();
    void slowClients();
    void idleTimeout_data();
    void idleTimeout();
    void largeFileStreamed();
    void readerEndsWhenClientLeaves();
    void framingWithoutLength();
    void readerStopsAtEndOfFile();
    void stopFromHandler();
    void handlerDeletesResponse();
    void listenFallsBackFromTakenPort();
    void singleInstance();

private:
    QString path(const QString &strRelative) const { return m_dir.path() + QLatin1Char('/') + strRelative; }
    QByteArray target(const QString &strRelative) const { return QUrl::toPercentEncoding(path(strRelative), "/"); }
    QNetworkReply *fetch(const QString &strPath);

    QTemporaryDir m_dir;
    KVHttpServer *m_pServer = nullptr;
    QNetworkAccessManager *m_pManager = nullptr;
};

void TestHttpServer::init()
{
    QVERIFY(m_dir.isValid());
    writeFile(path("root/index.html"), "<html>hello</html>");
    writeFile(path("root/sub/script.js"), "var a = 1;");
    writeFile(path("root/style.css"), "body {}");
    writeFile(path("root/with space.png"), QByteArray(100, 'x'));
    QByteArray baHundred;
    for (int i = 0; i < 100; ++i)
        baHundred += char(i);
    writeFile(path("root/hundred.bin"), baHundred);
    writeFile(path("root2/other.txt"), "beside the root");
    writeFile(path("secret.txt"), "top secret");
    QFile::link(path("secret.txt"), path("root/link-out.txt"));
    QFile::link(path("root/index.html"), path("root/link-in.html"));
    QFile::link(m_dir.path(), path("root/dir-link"));
    QCOMPARE(::mkfifo(QFile::encodeName(path("root/pipe.txt")).constData(), 0600), 0);
    m_pServer = new KVHttpServer;
    QVERIFY(m_pServer->listen(QHostAddress::LocalHost, 0));
    QVERIFY(m_pServer->addRoot(path("root")));
    m_pManager = new QNetworkAccessManager;
    m_pManager->setProxy(QNetworkProxy::NoProxy);
}

void TestHttpServer::cleanup()
{
    delete m_pManager;
    delete m_pServer;
    m_pServer = nullptr;
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
}

QNetworkReply *TestHttpServer::fetch(const QString &strPath)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(m_pServer->port());
    url.setPath(strPath);
    QNetworkReply *pReply = m_pManager->get(QNetworkRequest(url));
    (void)QTest::qWaitFor([pReply]() { return pReply->isFinished(); }, 10000);
    return pReply;
}

void TestHttpServer::servesFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("previewForm"); // "/" followed by the absolute path, as the preview opens it
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("html, preview form") << "root/index.html" << true << QByteArray("text/html") << QByteArray("<html>hello</html>");
    QTest::newRow("html, plain path") << "root/index.html" << false << QByteArray("text/html") << QByteArray("<html>hello</html>");
    QTest::newRow("sub folder") << "root/sub/script.js" << true << QByteArray("javascript") << QByteArray("var a = 1;");
    QTest::newRow("css") << "root/style.css" << true << QByteArray("text/css") << QByteArray("body {}");
    QTest::newRow("space in name") << "root/with space.png" << true << QByteArray("image/png") << QByteArray(100, 'x');
    QTest::newRow("link inside the root") << "root/link-in.html" << false << QByteArray("text/html") << QByteArray("<html>hello</html>");
}

void TestHttpServer::servesFile()
{
    QFETCH(QString, file);
    QFETCH(bool, previewForm);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QNetworkReply *pReply = fetch((previewForm ? QStringLiteral("/") : QString()) + path(file));
    QCOMPARE(pReply->error(), QNetworkReply::NoError);
    QCOMPARE(pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    QCOMPARE(pReply->readAll(), body);
    QVERIFY2(pReply->rawHeader("content-type").contains(contentType), pReply->rawHeader("content-type").constData());
    QCOMPARE(pReply->rawHeader("content-length"), QByteArray::number(body.size()));
    QCOMPARE(pReply->rawHeader("server"), QByteArray("Kavio Studio"));
    QCOMPARE(pReply->rawHeader("accept-ranges"), QByteArray("bytes"));
    QCOMPARE(pReply->rawHeader("expires"), QByteArray("0"));
    QCOMPARE(pReply->rawHeader("cache-control"), QByteArray("no-cache, no-store, must-revalidate"));
    QVERIFY(pReply->rawHeader("last-modified").endsWith(" GMT"));
    delete pReply;
}

void TestHttpServer::refusals_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");
    const QByteArray baDir = QUrl::toPercentEncoding(m_dir.path(), "/");
    QTest::newRow("existing file outside the roots") << get(baDir + "/secret.txt") << 403;
    QTest::newRow("missing file outside the roots") << get(baDir + "/nothing.txt") << 403;
    QTest::newRow("missing file inside a root") << get(baDir + "/root/nothing.txt") << 404;
    QTest::newRow("missing folder inside a root") << get(baDir + "/root/no/such/file.txt") << 404;
    QTest::newRow("dot-dot") << get(baDir + "/root/../secret.txt") << 403;
    QTest::newRow("dot-dot through a real folder") << get(baDir + "/root/sub/../../secret.txt") << 403;
    QTest::newRow("encoded dot-dot") << get(baDir + "/root/%2e%2e/secret.txt") << 403;
    QTest::newRow("encoded slashes") << get(baDir + "/root%2F..%2Fsecret.txt") << 403;
    QTest::newRow("upper-case encoding") << get(baDir + "/root/%2E%2E/%2E%2E/etc/passwd") << 403;
    QTest::newRow("link pointing outside") << get(baDir + "/root/link-out.txt") << 403;
    QTest::newRow("folder link pointing outside") << get(baDir + "/root/dir-link/secret.txt") << 403;
    QTest::newRow("sibling folder sharing the prefix") << get(baDir + "/root2/other.txt") << 403;
    QTest::newRow("the root folder itself") << get(baDir + "/root") << 403;
    QTest::newRow("a folder inside the root") << get(baDir + "/root/sub/") << 403;
    QTest::newRow("system file") << get("/etc/passwd") << 403;
    QTest::newRow("a pipe inside the root") << get(baDir + "/root/pipe.txt") << 403;
    QTest::newRow("NUL byte") << get(baDir + "/root/index.html%00.png") << 400;
    QTest::newRow("POST") << QByteArray("POST " + baDir + "/root/index.html HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nContent-Length: 0\r\n\r\n") << 405;
    QTest::newRow("DELETE") << QByteArray("DELETE " + baDir + "/root/index.html HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\n\r\n") << 405;
}

void TestHttpServer::refusals()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    RawClient client(m_pServer->port());
    client.send(request);
    const RawResponse response = client.read();
    QVERIFY(response.bComplete);
    QCOMPARE(response.nStatus, status);
    QVERIFY(!response.baBody.contains("secret"));
    QVERIFY(response.baBody.startsWith(QByteArray::number(status) + ' ')); // a short text saying why
    if (status == 405)
        QCOMPARE(response.headers.value("allow"), QByteArray("GET, HEAD"));
    // A refusal is an ordinary answer: the connection serves the next request.
    client.send(get(target("root/index.html")));
    QCOMPARE(client.read().baBody, QByteArray("<html>hello</html>"));
}

void TestHttpServer::hosts_data()
{
    QTest::addColumn<QByteArray>("hostLines");
    QTest::addColumn<QByteArray>("targetPrefix"); // before the path: an absolute target names a host too
    QTest::addColumn<int>("status");
    const QByteArray baOwn = "Host: 127.0.0.1:@PORT@\r\n";
    QTest::newRow("address and port") << baOwn << QByteArray() << 200;
    QTest::newRow("localhost and port") << QByteArray("Host: localhost:@PORT@\r\n") << QByteArray() << 200;
    QTest::newRow("upper case") << QByteArray("host: LocalHost:@PORT@\r\n") << QByteArray() << 200;
    QTest::newRow("absolute target naming this server") << baOwn << QByteArray("http://localhost:@PORT@") << 200;
    QTest::newRow("rebound name") << QByteArray("Host: attacker.example:@PORT@\r\n") << QByteArray() << 421;
    QTest::newRow("rebound name without port") << QByteArray("Host: attacker.example\r\n") << QByteArray() << 421;
    QTest::newRow("address without port") << QByteArray("Host: 127.0.0.1\r\n") << QByteArray() << 421;
    QTest::newRow("localhost without port") << QByteArray("Host: localhost\r\n") << QByteArray() << 421;
    QTest::newRow("another port") << QByteArray("Host: 127.0.0.1:1\r\n") << QByteArray() << 421;
    QTest::newRow("port with a tail") << QByteArray("Host: 127.0.0.1:@PORT@0\r\n") << QByteArray() << 421;
    QTest::newRow("our address as a prefix") << QByteArray("Host: 127.0.0.1.attacker.example:@PORT@\r\n") << QByteArray() << 421;
    QTest::newRow("trailing dot") << QByteArray("Host: localhost.:@PORT@\r\n") << QByteArray() << 421;
    QTest::newRow("IPv6 loopback") << QByteArray("Host: [::1]:@PORT@\r\n") << QByteArray() << 421;
    QTest::newRow("another loopback address") << QByteArray("Host: 127.0.0.2:@PORT@\r\n") << QByteArray() << 421;
    QTest::newRow("empty") << QByteArray("Host:\r\n") << QByteArray() << 421;
    QTest::newRow("ours and another") << baOwn + "Host: attacker.example\r\n" << QByteArray() << 421;
    QTest::newRow("absolute target naming another host") << baOwn << QByteArray("http://attacker.example:@PORT@") << 421;
    QTest::newRow("no host") << QByteArray() << QByteArray() << 400;
}

void TestHttpServer::hosts()
{
    QFETCH(QByteArray, hostLines);
    QFETCH(QByteArray, targetPrefix);
    QFETCH(int, status);
    RawClient client(m_pServer->port());
    client.send("GET " + targetPrefix + target("root/index.html") + " HTTP/1.1\r\n" + hostLines + "\r\n");
    const RawResponse response = client.read();
    QVERIFY(response.bComplete);
    QCOMPARE(response.nStatus, status);
    if (status == 200) {
        QCOMPARE(response.baBody, QByteArray("<html>hello</html>"));
        return;
    }
    QVERIFY(!response.baBody.contains("hello"));
    QVERIFY(response.baBody.startsWith(QByteArray::number(status) + ' ')); // a short text saying why
    if (status == 421)
        QVERIFY(response.baBody.contains("127.0.0.1:" + QByteArray::number(m_pServer->port())));
}

void TestHttpServer::rootsAreCanonical()
{
    QFile::link(path("root"), path("root-link"));
    QVERIFY(m_pServer->addRoot(path("root/")));
    QVERIFY(m_pServer->addRoot(path("root/sub/..")));
    QVERIFY(m_pServer->addRoot(path("root-link")));
    QCOMPARE(m_pServer->roots(), QStringList{QFileInfo(path("root")).canonicalFilePath()});
    QVERIFY(!m_pServer->addRoot(QString()));

    QVERIFY(m_pServer->isAllowed(path("root/index.html")));
    QVERIFY(m_pServer->isAllowed(path("root/sub/script.js")));
    QVERIFY(m_pServer->isAllowed(path("root-link/index.html"))); // through a link to the root
    QVERIFY(m_pServer->isAllowed(path("root/not-yet-written.html")));
    QVERIFY(!m_pServer->isAllowed(path("root")));
    QVERIFY(!m_pServer->isAllowed(path("secret.txt")));
    QVERIFY(!m_pServer->isAllowed(path("root/link-out.txt")));
    QVERIFY(!m_pServer->isAllowed(path("root2/other.txt")));

    // A root given through a link is served under the link's path as well.
    QNetworkReply *pReply = fetch(path("root-link/index.html"));
    QCOMPARE(pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    delete pReply;

    QVERIFY(m_pServer->addRoot(path("root2")));
    QCOMPARE(m_pServer->roots().size(), 2);
    QVERIFY(m_pServer->isAllowed(path("root2/other.txt")));
    QVERIFY(m_pServer->removeRoot(path("root2/")));
    QVERIFY(!m_pServer->removeRoot(path("root2")));
    QCOMPARE(m_pServer->roots().size(), 1);
}

void TestHttpServer::closedRootIsRefused()
{
    QNetworkReply *pReply = fetch(path("root/index.html"));
    QCOMPARE(pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    delete pReply;
    QVERIFY(m_pServer->removeRoot(path("root")));
    pReply = fetch(path("root/index.html"));
    QCOMPARE(pReply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 403);
    delete pReply;
}

void TestHttpServer::ranges_data()
{
    QTest::addColumn<QByteArray>("range");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("open end") << QByteArray("bytes=10-") << 206 << 10 << 99;
    QTest::newRow("closed") << QByteArray("bytes=0-0") << 206 << 0 << 0;
    QTest::newRow("last byte") << QByteArray("bytes=99-99") << 206 << 99 << 99;
    QTest::newRow("spaces") << QByteArray("bytes= 20 - 29") << 206 << 20 << 29;
    QTest::newRow("end past the file") << QByteArray("bytes=10-200") << 200 << 0 << 99;
    QTest::newRow("start after end") << QByteArray("bytes=50-10") << 200 << 0 << 99;
    QTest::newRow("start past the file") << QByteArray("bytes=100-") << 200 << 0 << 99;
    QTest::newRow("suffix form") << QByteArray("bytes=-5") << 200 << 0 << 99;
    QTest::newRow("not a number") << QByteArray("bytes=abc-") << 200 << 0 << 99;
    QTest::newRow("bad end") << QByteArray("bytes=5-x") << 200 << 0 << 99;
    QTest::newRow("other unit") << QByteArray("items=1-2") << 200 << 0 << 99;
}

void TestHttpServer::ranges()
{
    QFETCH(QByteArray, range);
    QFETCH(int, status);
    QFETCH(int, first);
    QFETCH(int, last);
    RawClient client(m_pServer->port());
    client.send(get(target("root/hundred.bin"), "Range: " + range + "\r\n"));
    const RawResponse response = client.read();
    QCOMPARE(response.nStatus, status);
    QCOMPARE(response.headers.value("accept-ranges"), QByteArray("bytes"));
    QCOMPARE(response.headers.value("content-length"), QByteArray::number(last - first + 1));
    QCOMPARE(response.baBody.size(), last - first + 1);
    QCOMPARE(int(uchar(response.baBody.at(0))), first);
    QCOMPARE(int(uchar(response.baBody.back())), last);
    if (status == 206)
        QCOMPARE(response.headers.value("content-range"), "bytes " + QByteArray::number(first) + '-' + QByteArray::number(last) + "/100");
    else
        QVERIFY(!response.headers.contains("content-range"));
}

void TestHttpServer::lastModifiedFormat()
{
    QFile file(path("root/index.html"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9), Qt::UTC), QFileDevice::FileModificationTime));
    file.close();
    RawClient client(m_pServer->port());
    client.send(get(target("root/index.html")));
    QCOMPARE(client.read().headers.value("last-modified"), QByteArray("Tue, 05 Mar 2024 07:08:09 GMT"));
}

void TestHttpServer::keepAlive()
{
    RawClient client(m_pServer->port());
    client.send(get(target("root/index.html")));
    RawResponse first = client.read();
    QCOMPARE(first.nStatus, 200);
    QCOMPARE(first.baBody, QByteArray("<html>hello</html>"));
    QVERIFY(!first.headers.contains("connection"));
    client.send(get(target("root/sub/script.js")));
    RawResponse second = client.read();
    QCOMPARE(second.nStatus, 200);
    QCOMPARE(second.baBody, QByteArray("var a = 1;"));
    QVERIFY(client.isConnected());
    QCOMPARE(m_pServer->connectionCount(), 1);
}

void TestHttpServer::connectionPersistence_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<QByteArray>("connectionHeader");
    const QByteArray baTarget = target("root/index.html");
    QTest::newRow("HTTP/1.1") << QByteArray("GET " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\n\r\n") << true << QByteArray();
    QTest::newRow("HTTP/1.1 close") << QByteArray("GET " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nConnection: close\r\n\r\n") << false << QByteArray("close");
    QTest::newRow("HTTP/1.0") << QByteArray("GET " + baTarget + " HTTP/1.0\r\nHost: 127.0.0.1:@PORT@\r\n\r\n") << false << QByteArray("close");
    QTest::newRow("HTTP/1.0 keep-alive") << QByteArray("GET " + baTarget + " HTTP/1.0\r\nHost: 127.0.0.1:@PORT@\r\nConnection: keep-alive\r\n\r\n") << true << QByteArray("keep-alive");
}

void TestHttpServer::connectionPersistence()
{
    QFETCH(QByteArray, request);
    QFETCH(bool, staysOpen);
    QFETCH(QByteArray, connectionHeader);
    RawClient client(m_pServer->port());
    client.send(request);
    const RawResponse response = client.read();
    QCOMPARE(response.nStatus, 200);
    QCOMPARE(response.baBody, QByteArray("<html>hello</html>"));
    QCOMPARE(response.headers.value("connection"), connectionHeader);
    if (staysOpen) {
        client.send(request);
        QCOMPARE(client.read().nStatus, 200);
        QVERIFY(client.isConnected());
    } else {
        QVERIFY(client.waitClosed());
    }
}

void TestHttpServer::halfClosedClient()
{
#ifdef Q_OS_UNIX
    // Some clients shut their sending side right after the request; the answer must still come.
    RawClient client(m_pServer->port());
    client.send(get(target("root/index.html")));
    QCOMPARE(::shutdown(int(client.socket().socketDescriptor()), SHUT_WR), 0);
    QVERIFY(client.waitClosed());
    QVERIFY(client.leftover().startsWith("HTTP/1.1 200 OK\r\n"));
    QVERIFY(client.leftover().endsWith("\r\n\r\n<html>hello</html>"));
#else
    QSKIP("needs a half-close of the client socket");
#endif
}

void TestHttpServer::pipelinedInOrder()
{
    RawClient client(m_pServer->port());
    // The large response first: the small ones behind it must wait for it.
    writeFile(path("root/big.bin"), QByteArray(3 * 1048576 + 17, 'b'));
    client.send(get(target("root/big.bin")) + get(target("root/index.html")) + get(target("root/missing"))
                + get(target("root/sub/script.js")));
    const RawResponse big = client.read();
    QCOMPARE(big.nStatus, 200);
    QCOMPARE(big.baBody, QByteArray(3 * 1048576 + 17, 'b'));
    const RawResponse index = client.read();
    QCOMPARE(index.baBody, QByteArray("<html>hello</html>"));
    QCOMPARE(client.read().nStatus, 404);
    QCOMPARE(client.read().baBody, QByteArray("var a = 1;"));
    QVERIFY(client.leftover().isEmpty());
}

void TestHttpServer::pipelinedBeyondQueue()
{
    // More requests in one go than the connection queues, and more bytes than it buffers while
    // the queue is full: reading pauses and resumes, nothing is lost.
    const int nCount = KVHttpConnection::MaxQueuedRequests * 3 + 5;
    const QByteArray baPadding = "X-Padding: " + QByteArray(4000, 'p') + "\r\n";
    QByteArray baRequests;
    for (int i = 0; i < nCount; ++i)
        baRequests += get(target(i % 2 ? "root/index.html" : "root/hundred.bin"), baPadding);
    RawClient client(m_pServer->port());
    client.send(baRequests);
    for (int i = 0; i < nCount; ++i) {
        const RawResponse response = client.read();
        QCOMPARE(response.nStatus, 200);
        QCOMPARE(response.baBody.size(), i % 2 ? 18 : 100);
    }
    QVERIFY(client.isConnected());
}

void TestHttpServer::pipelinedStopsAtClose()
{
    RawClient client(m_pServer->port());
    client.send(get(target("root/index.html")) + get(target("root/hundred.bin"), "Connection: close\r\n")
                + get(target("root/sub/script.js")));
    QCOMPARE(client.read().baBody, QByteArray("<html>hello</html>"));
    const RawResponse last = client.read();
    QCOMPARE(last.baBody.size(), 100);
    QCOMPARE(last.headers.value("connection"), QByteArray("close"));
    QVERIFY(client.waitClosed());
    QVERIFY(client.leftover().isEmpty()); // the request after the close was not answered
}

void TestHttpServer::bodiesIgnored_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");
    const QByteArray baTarget = target("root/index.html");
    // The bodies look like requests for a file outside the roots: they must not be read as one.
    const QByteArray baSneaky = "GET /etc/passwd HTTP/1.1\r\n\r\n";
    QTest::newRow("POST with length") << QByteArray("POST " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nContent-Length: "
                                                    + QByteArray::number(baSneaky.size()) + "\r\n\r\n" + baSneaky) << 405;
    QTest::newRow("GET with length") << QByteArray("GET " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nContent-Length: "
                                                   + QByteArray::number(baSneaky.size()) + "\r\n\r\n" + baSneaky) << 200;
    QTest::newRow("chunked") << QByteArray("PUT " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nTransfer-Encoding: chunked\r\n\r\n"
                                           + QByteArray::number(baSneaky.size(), 16) + "\r\n" + baSneaky + "\r\n0\r\n\r\n") << 405;
    QTest::newRow("large body") << QByteArray("POST " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nContent-Length: 3000000\r\n\r\n"
                                              + QByteArray(3000000, 'z')) << 405;
    QTest::newRow("expect continue") << QByteArray("POST " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\nExpect: 100-continue\r\nContent-Length: 5\r\n\r\nhello") << 405;
}

void TestHttpServer::bodiesIgnored()
{
    QFETCH(QByteArray, request);
    QFETCH(int, status);
    RawClient client(m_pServer->port());
    client.send(request + get(target("root/sub/script.js")));
    RawResponse response = client.read();
    if (response.nStatus == 100)
        response = client.read();
    QCOMPARE(response.nStatus, status);
    const RawResponse next = client.read();
    QCOMPARE(next.nStatus, 200);
    QCOMPARE(next.baBody, QByteArray("var a = 1;"));
    QVERIFY(client.leftover().isEmpty()); // exactly two answers
    QVERIFY(client.isConnected());
}

void TestHttpServer::headRequest()
{
    RawClient client(m_pServer->port());
    client.send("HEAD " + target("root/hundred.bin") + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\n\r\n" + get(target("root/index.html")));
    const RawResponse head = client.read(true);
    QCOMPARE(head.nStatus, 200);
    QCOMPARE(head.headers.value("content-length"), QByteArray("100"));
    const RawResponse next = client.read();
    QCOMPARE(next.nStatus, 200); // no body came between the two heads
    QCOMPARE(next.baBody, QByteArray("<html>hello</html>"));
    client.send("HEAD " + target("root/missing") + " HTTP/1.1\r\nHost: 127.0.0.1:@PORT@\r\n\r\n");
    QCOMPARE(client.read(true).nStatus, 404);
}

void TestHttpServer::malformed_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("garbage") << QByteArray("HELLO THERE\r\n\r\n") << QByteArray("Malformed request");
    QTest::newRow("bad version") << QByteArray("GET / HTTP/x.y\r\n\r\n") << QByteArray("Malformed request");
    QTest::newRow("header without colon") << QByteArray("GET / HTTP/1.1\r\nNoColonHere\r\n\r\n") << QByteArray("Malformed request");
    QTest::newRow("bad content length") << QByteArray("GET / HTTP/1.1\r\nContent-Length: abc\r\n\r\n") << QByteArray("Malformed request");
    QTest::newRow("binary") << QByteArray("\x01\x02\x03\x04\r\n\r\n", 8) << QByteArray("Malformed request");
    QTest::newRow("target too long") << get("/" + QByteArray(KVHttpConnection::MaxUrlSize + 10, 'a')) << QByteArray("too long");
    QByteArray baHeaders;
    for (int i = 0; i <= KVHttpConnection::MaxHeaderCount; ++i)
        baHeaders += "X-Field-" + QByteArray::number(i) + ": v\r\n";
    QTest::newRow("too many headers") << get("/", baHeaders) << QByteArray("Too many header fields");
    QTest::newRow("huge header") << get("/", "X-Big: " + QByteArray(200000, 'h') + "\r\n") << QByteArray("Malformed request");
}

void TestHttpServer::malformed()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reason);
    RawClient client(m_pServer->port());
    client.send(request);
    const RawResponse response = client.read();
    QCOMPARE(response.nStatus, 400);
    QCOMPARE(response.headers.value("connection"), QByteArray("close"));
    QVERIFY2(response.baBody.contains(reason), response.baBody.constData());
    QVERIFY(client.waitClosed());
    // The server itself carries on.
    QNetworkReply *pReply = fetch(path("root/index.html"));
    QCOMPARE(pReply->readAll(), QByteArray("<html>hello</html>"));
    delete pReply;
}

void TestHttpServer::validThenMalformed()
{
    RawClient client(m_pServer->port());
    client.send(get(target("root/index.html")) + "BOGUS\r\n\r\n" + get(target("root/sub/script.js")));
    QCOMPARE(client.read().baBody, QByteArray("<html>hello</html>"));
    QCOMPARE(client.read().nStatus, 400);
    QVERIFY(client.waitClosed());
    QVERIFY(client.leftover().isEmpty()); // nothing after the malformed part was answered
}

void TestHttpServer::connectionLimit()
{
    // A full server makes room by dropping the idlest connection that has nothing being answered;
    // when every connection is busy answering, a newcomer gets 503.
    m_pServer->setMaxConnections(2);
    writeFile(path("root/large.bin"), QByteArray(32 * 1048576, 'L')); // more than the system buffers hold
    RawClient silent(m_pServer->port());
    QVERIFY(QTest::qWaitFor([this]() { return m_pServer->connectionCount() == 1; }, 5000));
    QTest::qWait(50);
    RawClient started(m_pServer->port());
    started.send("GET ");
    QVERIFY(QTest::qWaitFor([this]() { return m_pServer->connectionCount() == 2; }, 5000));
    QTest::qWait(20);
    RawClient newcomer(m_pServer->port());
    newcomer.send(get(target("root/index.html")));
    QCOMPARE(newcomer.read().nStatus, 200);
    QVERIFY(silent.waitClosed());
    QVERIFY(started.isConnected());
    QCOMPARE(m_pServer->connectionCount(), 2);

    // Two downloads that the clients do not read on: both connections stay busy.
    std::vector<std::unique_ptr<RawClient>> busy;
    started.socket().abort();
    newcomer.socket().abort();
    for (int i = 0; i < 2; ++i) {
        QVERIFY(QTest::qWaitFor([this, i]() { return m_pServer->connectionCount() == i; }, 5000));
        busy.emplace_back(new RawClient(m_pServer->port()));
        busy.back()->socket().setReadBufferSize(64 * 1024);
        busy.back()->send(get(target("root/large.bin")));
        QVERIFY(QTest::qWaitFor([&]() { return busy.back()->socket().bytesAvailable() > 0; }, 5000));
    }
    RawClient refused(m_pServer->port());
    const RawResponse response = refused.read();
    QCOMPARE(response.nStatus, 503);
    QVERIFY(response.baBody.contains("Too many open connections"));
    QVERIFY(refused.waitClosed());
    QCOMPARE(m_pServer->connectionCount(), 2);
    QVERIFY(busy.front()->isConnected() && busy.back()->isConnected());

    busy.front()->socket().abort();
    QVERIFY(QTest::qWaitFor([this]() { return m_pServer->connectionCount() == 1; }, 5000));
    RawClient after(m_pServer->port());
    after.send(get(target("root/index.html")));
    QCOMPARE(after.read().nStatus, 200);
}

void TestHttpServer::slowClients()
{
    // 200 clients trickle a request head that never ends, a byte at a time, to hold every
    // connection: other clients are still served meanwhile, and the trickling ones are dropped
    // once their request time is up although they keep sending.
    const int nSlow = 200;
    const int nServed = 10;
    m_pServer->setRequestTimeout(60000); // long enough to hold them all while the others come
    const QByteArray baHead = "GET " + target("root/index.html") + " HTTP/1.1\r\nHost: 127.0.0.1:"
                              + QByteArray::number(m_pServer->port()) + "\r\nX-Slow: " + QByteArray(8000, 's');
    std::vector<std::unique_ptr<QTcpSocket>> slow;
    std::vector<int> sent(nSlow, 0);
    for (int i = 0; i < nSlow; ++i) {
        slow.emplace_back(new QTcpSocket);
        slow.back()->connectToHost(QHostAddress::LocalHost, m_pServer->port());
    }
    QTimer trickle;
    connect(&trickle, &QTimer::timeout, this, [&]() {
        for (size_t i = 0; i < slow.size(); ++i) {
            if (slow[i]->state() == QAbstractSocket::ConnectedState && sent[i] < baHead.size()) {
                slow[i]->write(baHead.mid(sent[i]++, 1));
                slow[i]->flush();
            }
        }
    });
    trickle.start(20);
    QVERIFY(QTest::qWaitFor([&]() { return m_pServer->connectionCount() == KVHttpServerBase::DefaultMaxConnections; }, 10000));
    QTest::qWait(200); // every slow client held has sent part of its head

    // The server is full of slow clients; each request takes the place of one of them and is
    // answered at once, long before any request time is up.
    QCOMPARE(m_pServer->connectionCount(), KVHttpServerBase::DefaultMaxConnections);
    for (int i = 0; i < nServed; ++i) {
        RawClient client(m_pServer->port());
        client.send(get(target("root/index.html"), "Connection: close\r\n"));
        const RawResponse response = client.read();
        QCOMPARE(response.nStatus, 200);
        QCOMPARE(response.baBody, QByteArray("<html>hello</html>"));
    }

    m_pServer->setRequestTimeout(500);
    QVERIFY(QTest::qWaitFor([&]() {
        for (const auto &pSocket : slow) {
            if (pSocket->state() != QAbstractSocket::UnconnectedState)
                return false;
        }
        return true;
    }, 10000));
    QVERIFY(QTest::qWaitFor([this]() { return m_pServer->connectionCount() == 0; }, 5000));
    for (const int nSent : sent)
        QVERIFY(nSent < baHead.size()); // none of them ever finished its head
}

void TestHttpServer::idleTimeout_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("silent client") << QByteArray();
    QTest::newRow("after an answer") << get(target("root/index.html"));
    QTest::newRow("unfinished request") << QByteArray("GET /x HTTP/1.1\r\nHost: 127.0.0.1\r\n");
}

void TestHttpServer::idleTimeout()
{
    QFETCH(QByteArray, request);
    m_pServer->setIdleTimeout(200);
    RawClient client(m_pServer->port());
    QVERIFY(client.isConnected());
    if (!request.isEmpty())
        client.send(request);
    QVERIFY(client.waitClosed());
    QVERIFY(QTest::qWaitFor([this]() { return m_pServer->connectionCount() == 0; }, 5000));
    if (request.endsWith("\r\n\r\n"))
        QVERIFY(client.leftover().contains("<html>hello</html>"));
}

void TestHttpServer::largeFileStreamed()
{
    const QString strFile = path("root/large.bin");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    {
        QFile file(strFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QRandomGenerator generator(20);
        QByteArray baBlock(1048576, Qt::Uninitialized);
        for (int i = 0; i < 20; ++i) {
            generator.fillRange(reinterpret_cast<quint32 *>(baBlock.data()), baBlock.size() / 4);
            const QByteArray baPiece = baBlock.left(i == 19 ? 1000003 : baBlock.size()); // an odd tail
            hash.addData(baPiece);
            QCOMPARE(file.write(baPiece), qint64(baPiece.size()));
        }
    }
    RawClient client(m_pServer->port());
    client.socket().setReadBufferSize(256 * 1024);
    client.send(get(target("root/large.bin")));
    QCryptographicHash received(QCryptographicHash::Sha256);
    qint64 nReceived = 0;
    qint64 nMostQueued = 0;
    QByteArray baHead;
    const qint64 nExpected = 19 * 1048576 + 1000003;
    const bool bDone = QTest::qWaitFor([&]() {
        for (KVHttpConnection *pConnection : m_pServer->connections())
            nMostQueued = qMax(nMostQueued, pConnection->bytesToWrite());
        QByteArray baData = client.socket().readAll();
        if (baHead.isEmpty() || !baHead.contains("\r\n\r\n")) {
            baHead += baData;
            const int nEnd = baHead.indexOf("\r\n\r\n");
            if (nEnd < 0)
                return false;
            baData = baHead.mid(nEnd + 4);
            baHead.truncate(nEnd + 4);
        }
        received.addData(baData);
        nReceived += baData.size();
        return nReceived >= nExpected || !client.isConnected();
    }, 60000);
    QVERIFY(bDone);
    QVERIFY(baHead.startsWith("HTTP/1.1 200 OK\r\n"));
    QVERIFY(baHead.contains("content-length: " + QByteArray::number(nExpected)));
    QCOMPARE(nReceived, nExpected);
    QCOMPARE(received.result().toHex(), hash.result().toHex());
    // Streamed a block at a time: never more than a block waited in the server's socket.
    QVERIFY2(nMostQueued <= KVHttpFileReader::BlockSize + 1024, QByteArray::number(nMostQueued).constData());
    QVERIFY(client.isConnected());
    QVERIFY(QTest::qWaitFor([&]() { return openHandles(strFile) == 0; }, 5000));
}

void TestHttpServer::readerEndsWhenClientLeaves()
{
    const QString strFile = path("root/large.bin");
    writeFile(strFile, QByteArray(8 * 1048576, 'L'));
    RawClient client(m_pServer->port());
    client.socket().setReadBufferSize(64 * 1024);
    client.send(get(target("root/large.bin")));
    QVERIFY(QTest::qWaitFor([&]() { return client.socket().bytesAvailable() > 0; }, 5000));
    QCOMPARE(openHandles(strFile), 1); // the reader holds the file open
    client.socket().abort();
    QVERIFY(QTest::qWaitFor([&]() { return openHandles(strFile) == 0 && m_pServer->connectionCount() == 0; }, 5000));

    // Stopping the server ends a transfer as well.
    RawClient again(m_pServer->port());
    again.socket().setReadBufferSize(64 * 1024);
    again.send(get(target("root/large.bin")));
    QVERIFY(QTest::qWaitFor([&]() { return again.socket().bytesAvailable() > 0; }, 5000));
    QCOMPARE(openHandles(strFile), 1);
    m_pServer->close();
    QVERIFY(QTest::qWaitFor([&]() { return openHandles(strFile) == 0; }, 5000));
    QVERIFY(again.waitClosed());
}

void TestHttpServer::framingWithoutLength()
{
    // A handler that does not announce a length: chunked for HTTP/1.1, closed for HTTP/1.0.
    KVHttpServerBase server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    connect(&server, &KVHttpServerBase::newRequest, this, [](KVHttpRequest *pRequest, KVHttpResponse *pResponse) {
        pResponse->setHeader("x-target", pRequest->target());
        pResponse->setHeader("x-path", pRequest->url().path(QUrl::FullyDecoded).toUtf8());
        pResponse->setHeader("x-agent", pRequest->header("User-Agent"));
        pResponse->setHeader("x-twice", pRequest->header("X-TWICE"));
        pResponse->setHeader("x-empty", pRequest->hasHeader("x-empty") ? "present" : "missing");
        pResponse->setHeader("x-evil", "a\r\nset-cookie: b"); // refused: it would split the header
        pResponse->write("first ");
        pResponse->write("second");
        pResponse->end();
    });
    RawClient client(server.port());
    client.send("GET //home/a%20b.html?x=1 HTTP/1.1\r\nX-Empty:\r\nUSER-AGENT: test\r\nX-Twice: 1\r\nx-twice: 2\r\n\r\n");
    const RawResponse chunked = client.read();
    QCOMPARE(chunked.headers.value("transfer-encoding"), QByteArray("chunked"));
    QCOMPARE(chunked.baBody, QByteArray("first second"));
    QCOMPARE(chunked.headers.value("x-target"), QByteArray("//home/a%20b.html?x=1"));
    QCOMPARE(chunked.headers.value("x-path"), QByteArray("//home/a b.html"));
    QCOMPARE(chunked.headers.value("x-agent"), QByteArray("test"));
    QCOMPARE(chunked.headers.value("x-twice"), QByteArray("1, 2"));
    QCOMPARE(chunked.headers.value("x-empty"), QByteArray("present"));
    QVERIFY(!chunked.headers.contains("x-evil") && !chunked.headers.contains("set-cookie"));
    QVERIFY(client.isConnected());

    RawClient old(server.port());
    old.send("GET /x HTTP/1.0\r\n\r\n");
    QVERIFY(old.waitClosed());
    QByteArray baRest = old.leftover();
    RawResponse closed;
    QVERIFY(takeResponse(baRest, false, true, closed));
    QVERIFY(closed.baStatusLine.startsWith("HTTP/1.0 200"));
    QCOMPARE(closed.baBody, QByteArray("first second"));
}

void TestHttpServer::readerStopsAtEndOfFile()
{
    // The file holds less than announced (it shrank): the body stops short and the connection
    // closes, so the client cannot take what follows for a response.
    KVHttpServerBase server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    bool bComplete = true;
    connect(&server, &KVHttpServerBase::newRequest, this, [&](KVHttpRequest *pRequest, KVHttpResponse *pResponse) {
        QFile *pFile = new QFile(path("root/index.html"));
        QVERIFY(pFile->open(QIODevice::ReadOnly));
        pResponse->setHeader("content-length", "100");
        KVHttpFileReader *pReader = new KVHttpFileReader(pFile, 100, pResponse, pRequest->connection());
        connect(pReader, &KVHttpFileReader::ended, this, [&](bool bAll) { bComplete = bAll; });
        pReader->start();
    });
    RawClient client(server.port());
    client.send(get("/a") + get("/b"));
    QVERIFY(client.waitClosed());
    QVERIFY(!bComplete);
    QVERIFY(client.leftover().endsWith("\r\n\r\n<html>hello</html>"));
    QCOMPARE(client.leftover().count("HTTP/1.1"), 1);
}

void TestHttpServer::stopFromHandler()
{
    connect(m_pServer, &KVHttpServerBase::newRequest, this, [this](KVHttpRequest *, KVHttpResponse *) {
        m_pServer->close();
    });
    RawClient client(m_pServer->port());
    client.send(get(target("root/hundred.bin")) + get(target("root/index.html")));
    QVERIFY(client.waitClosed());
    QVERIFY(!m_pServer->isListening());
    QCOMPARE(m_pServer->connectionCount(), 0);
}

void TestHttpServer::handlerDeletesResponse()
{
    KVHttpServerBase server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    connect(&server, &KVHttpServerBase::newRequest, this, [](KVHttpRequest *pRequest, KVHttpResponse *pResponse) {
        if (pRequest->target() == "/drop") {
            pResponse->write("partial");
            delete pResponse;
        } else {
            pResponse->end("fine");
        }
    });
    RawClient client(server.port());
    client.send(get("/drop") + get("/next"));
    QVERIFY(client.waitClosed());
    QVERIFY(!client.leftover().contains("fine")); // nothing answered inside the broken response
    RawClient other(server.port());
    other.send(get("/next"));
    QCOMPARE(other.read().baBody, QByteArray("fine"));
}

void TestHttpServer::listenFallsBackFromTakenPort()
{
    RecordingReporter rec;
    QTcpServer blocker;
    blocker.listen(QHostAddress::LocalHost, KVHttpServer::PreferredPort); // may already be taken
    KVHttpServer server;
    QVERIFY(server.startListening());
    QVERIFY(server.port() != KVHttpServer::PreferredPort);
    QCOMPARE(server.serverAddress(), QHostAddress(QHostAddress::LocalHost));
    QVERIFY(server.addRoot(path("root")));
    RawClient client(server.port());
    client.send(get(target("root/index.html")));
    QCOMPARE(client.read().nStatus, 200);
    QVERIFY(rec.texts().isEmpty());
    const quint16 nPort = server.port();
    QVERIFY(server.startListening()); // already listening: stays where it is
    QCOMPARE(server.port(), nPort);
}

void TestHttpServer::singleInstance()
{
    KVHttpServer *pServer = KVHttpServer::getInstance();
    QVERIFY(pServer);
    QCOMPARE(KVHttpServer::getInstance(), pServer);
    QVERIFY(KVHttpServer::hasInstance());
    KVHttpServer::destroyInstance();
    QVERIFY(!KVHttpServer::hasInstance());
}

KAVIO_TEST_MAIN(TestHttpServer)
#include "tst_httpserver.moc"
