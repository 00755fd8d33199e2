#include "WebChannelServer.h"

#include "KVTestMain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QWebChannel>
#include <QWebSocket>
#include <QWebSocketServer>

// An object pages could reach once connected.
class Exposed : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString greeting READ greeting CONSTANT)
public:
    QString greeting() const { return QStringLiteral("hello"); }
};

class tst_WebChannelServer : public QObject
{
    Q_OBJECT
private slots:
    void originRule_data();
    void originRule();
    void listensOnLoopbackOnly();
    void foreignOriginIsRefused_data();
    void foreignOriginIsRefused();
    void localPageReachesTheChannel();
};

void tst_WebChannelServer::originRule_data()
{
    QTest::addColumn<QString>("origin");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("local file page") << "file://" << true;
    QTest::newRow("resource page") << "qrc://" << true;
    QTest::newRow("no origin") << "" << false;
    QTest::newRow("null origin") << "null" << false;
    QTest::newRow("preview server") << "http://127.0.0.1:8080" << false;
    QTest::newRow("web site") << "https://example.com" << false;
    QTest::newRow("look-alike") << "http://file.example" << false;
}

void tst_WebChannelServer::originRule()
{
    QFETCH(QString, origin);
    QFETCH(bool, allowed);
    QCOMPARE(WebChannelServer::isOriginAllowed(origin), allowed);
}

void tst_WebChannelServer::listensOnLoopbackOnly()
{
    WebChannelServer server;
    QVERIFY(server.listen());
    QCOMPARE(server.server()->serverAddress(), QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(server.url().scheme(), QStringLiteral("ws"));
    QCOMPARE(server.url().host(), QStringLiteral("127.0.0.1"));
    QVERIFY(server.url().port() > 0);
}

void tst_WebChannelServer::foreignOriginIsRefused_data()
{
    QTest::addColumn<QString>("origin");
    QTest::newRow("preview server page") << "http://127.0.0.1:8080";
    QTest::newRow("remote site") << "https://evil.example";
}

void tst_WebChannelServer::foreignOriginIsRefused()
{
    QFETCH(QString, origin);
    WebChannelServer server;
    QVERIFY(server.listen());
    Exposed exposed;
    server.channel()->registerObject(QStringLiteral("exposed"), &exposed);
    QWebSocket client(origin);
    QSignalSpy connected(&client, &QWebSocket::connected);
    QSignalSpy received(&client, &QWebSocket::textMessageReceived);
    QSignalSpy disconnected(&client, &QWebSocket::disconnected);
    QSignalSpy failed(&client, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error));
    client.open(server.url());
    // Wait until the handshake has an outcome one way or the other.
    QTRY_VERIFY_WITH_TIMEOUT(!connected.isEmpty() || !disconnected.isEmpty() || !failed.isEmpty(), 5000);
    if (!connected.isEmpty()) {
        // Even if the handshake were accepted, no channel data may flow.
        client.sendTextMessage(QStringLiteral("{\"type\":3,\"id\":1}"));
        QTest::qWait(300);
        QVERIFY(received.isEmpty());
    }
    QVERIFY(connected.isEmpty());
}

void tst_WebChannelServer::localPageReachesTheChannel()
{
    WebChannelServer server;
    QVERIFY(server.listen());
    Exposed exposed;
    server.channel()->registerObject(QStringLiteral("exposed"), &exposed);
    QWebSocket client(QStringLiteral("file://"));
    QSignalSpy received(&client, &QWebSocket::textMessageReceived);
    client.open(server.url());
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::ConnectedState, 5000);
    // The channel's init message (type 3) answers with the registered objects.
    client.sendTextMessage(QStringLiteral("{\"type\":3,\"id\":1}"));
    QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), 5000);
    const QJsonObject reply = QJsonDocument::fromJson(received.first().first().toString().toUtf8()).object();
    QCOMPARE(reply.value("id").toInt(), 1);
    const QJsonObject objects = reply.value("data").toObject();
    QVERIFY(objects.contains("exposed"));
    QVERIFY(QJsonDocument(objects.value("exposed").toObject()).toJson().contains("hello"));
}

KAVIO_TEST_MAIN(tst_WebChannelServer)
#include "tst_webchannelserver.moc"
