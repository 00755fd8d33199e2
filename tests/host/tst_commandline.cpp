// The programs as users start them: exit codes and what they print.
#include "KVTestMain.h"

#include <QProcess>

class tst_CommandLine : public QObject
{
    Q_OBJECT
private slots:
    void studioVersionListsThePlugins();
    void studioVersionFailsWhenAPluginFails();
    void cliHelpListsTheCommands();
    void cliUnknownCommandIsAUsageError();

private:
    static QString bin(const QString &name) { return KVTestEnvironment::binaryDir() + QStringLiteral("/bin/") + name; }
};

void tst_CommandLine::studioVersionListsThePlugins()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(bin(QStringLiteral("kavio-studio")), {QStringLiteral("--version")});
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    QCOMPARE(p.exitCode(), 0);
    QVERIFY2(out.startsWith(QStringLiteral("Kavio Studio 2.7.1\n")), qPrintable(out));
    QVERIFY2(out.contains(QStringLiteral("\ndesigner 1.0.0\n")), qPrintable(out));
}

void tst_CommandLine::studioVersionFailsWhenAPluginFails()
{
    // The test plug-ins include some with broken dependencies: each is named with its reason.
    QProcess p;
    p.start(bin(QStringLiteral("kavio-studio")),
            {QStringLiteral("--version"), QStringLiteral("--plugin-path"), QStringLiteral(KAVIO_TEST_PLUGIN_DIR)});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(out.contains(QStringLiteral("\nalpha 1.0.0\n")), qPrintable(out));
    QVERIFY(!out.contains(QStringLiteral("gamma")));
    QVERIFY2(err.contains(QStringLiteral("Plug-in \"gamma\" needs \"missing\" 1.0.0, which was not found")),
             qPrintable(err));
}

void tst_CommandLine::cliHelpListsTheCommands()
{
    QProcess p;
    p.start(bin(QStringLiteral("kavio")), {QStringLiteral("--help")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 0);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    QVERIFY(out.startsWith(QStringLiteral("Usage: kavio <command>")));
    QVERIFY(out.contains(QStringLiteral("  version  ")));
}

void tst_CommandLine::cliUnknownCommandIsAUsageError()
{
    QProcess p;
    p.start(bin(QStringLiteral("kavio")), {QStringLiteral("explode")});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitCode(), 2);
    QCOMPARE(QString::fromLocal8Bit(p.readAllStandardError()).trimmed(),
             QStringLiteral("kavio: error: unknown command \"explode\"; \"kavio --help\" lists the commands"));
}

KAVIO_TEST_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
