// "kavio preview" as users run it: the preview is written into the project's resource folder and
// served on 127.0.0.1; nothing outside the project can be read; SIGTERM ends it cleanly.
#include "KVTestMain.h"

#include <QDirIterator>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <csignal>

namespace {
bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target))
            return false;
    }
    return true;
}

struct Answer {
    int status = 0;
    QByteArray body;
};

Answer get(const QUrl &url)
{
    QNetworkAccessManager nam;
    QNetworkRequest request(url);
    QNetworkReply *reply = nam.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    Answer a{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
    reply->deleteLater();
    return a;
}
} // namespace

class tst_PreviewCommand : public QObject
{
    Q_OBJECT
private slots:
    void servesThePreviewAndNothingElse();
    void badArguments_data();
    void badArguments();
};

void tst_PreviewCommand::servesThePreviewAndNothingElse()
{
    QTemporaryDir dir;
    QVERIFY(copyTree(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner"), dir.path()));
    // The preferred port is taken here, so the preview must find another one.
    QTcpServer blocker;
    const bool bHoldsPreferred = blocker.listen(QHostAddress::LocalHost, 8080);

    QProcess kavio;
    kavio.start(KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio"),
                {QStringLiteral("preview"), dir.filePath(QStringLiteral("banner.kavio")), QStringLiteral("--no-browser")});
    QVERIFY(kavio.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(kavio.canReadLine() || kavio.state() == QProcess::NotRunning, 30000);
    const QUrl url(QString::fromUtf8(kavio.readLine()).trimmed());
    QVERIFY2(url.isValid() && url.scheme() == QLatin1String("http"),
             qPrintable(url.toString() + QString::fromLocal8Bit(kavio.readAllStandardError())));
    QCOMPARE(url.host(), QStringLiteral("127.0.0.1"));
    if (bHoldsPreferred)
        QVERIFY(url.port() != 8080);
    QVERIFY(url.path().endsWith(QStringLiteral("/banner_res/preview/banner.html")));
    for (const char *name : {"banner.html", "banner.js", "banner.css", "kvplayer.js"})
        QVERIFY2(QFileInfo::exists(dir.filePath(QStringLiteral("banner_res/preview/")) + QLatin1String(name)), name);

    const Answer page = get(url);
    QCOMPARE(page.status, 200);
    QVERIFY(page.body.contains("openDoc('banner.js'"));
    QUrl data = url;
    data.setPath(url.path().replace(QStringLiteral("banner.html"), QStringLiteral("banner.js")));
    const Answer script = get(data);
    QCOMPARE(script.status, 200);
    QVERIFY(script.body.contains("DorunKavio"));
    // The project file beside the resource folder, a system file and a way up are all refused.
    for (const QString &path : {QLatin1Char('/') + dir.filePath(QStringLiteral("banner.kavio")),
                                QStringLiteral("//etc/hostname"),
                                url.path().replace(QStringLiteral("preview/banner.html"), QStringLiteral("../banner.kavio"))}) {
        QUrl outside = url;
        outside.setPath(path);
        QCOMPARE(get(outside).status, 403);
    }

    ::kill(pid_t(kavio.processId()), SIGTERM);
    QVERIFY(kavio.waitForFinished(10000));
    QCOMPARE(kavio.exitStatus(), QProcess::NormalExit);
    QCOMPARE(kavio.exitCode(), 0);
}

void tst_PreviewCommand::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no project") << QStringList{} << 2 << "Usage: kavio preview";
    QTest::newRow("bad port") << QStringList{"x.kavio", "--port", "70000"} << 2 << "--port wants a port number";
    QTest::newRow("missing file") << QStringList{"/nowhere/x.kavio", "--no-browser"} << 1 << "File doesn't exist.";
}

void tst_PreviewCommand::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QProcess kavio;
    kavio.start(KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio"), QStringList{"preview"} + arguments);
    QVERIFY(kavio.waitForFinished(30000));
    QCOMPARE(kavio.exitCode(), exitCode);
    const QString err = QString::fromLocal8Bit(kavio.readAllStandardError());
    QVERIFY2(err.contains(message), qPrintable(err));
}

KAVIO_TEST_MAIN(tst_PreviewCommand)
#include "tst_previewcommand.moc"
