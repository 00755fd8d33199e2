// The command-line tool's "save-as": its answers to bad input, and its reliability. A save under
// another name that is killed (SIGKILL) at any moment must leave the previous project exactly as
// it was, and must never leave a new project file that refers to files not yet copied.

#include "KVDocumentTestKit.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "model/KVSceneList.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

class tst_SaveAs : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data();
    void refusals();
    void killedSaveAsKeepsPreviousProject();
};

namespace {
QString tool()
{
    return KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio");
}
} // namespace

void tst_SaveAs::refusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // PROJECT and NEW stand for the paths
    QTest::addColumn<bool>("withBackup");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stderrText");
    QTest::newRow("no arguments") << QStringList() << false << 2 << QStringLiteral("Usage: kavio save-as");
    QTest::newRow("one argument") << QStringList{QStringLiteral("PROJECT")} << false << 2
                                  << QStringLiteral("Usage: kavio save-as");
    QTest::newRow("other suffix") << QStringList{QStringLiteral("PROJECT"), QStringLiteral("NEW.txt")} << false << 1
                                  << QStringLiteral("kavio: error: The new project file must end in \".kavio\".");
    QTest::newRow("missing project")
        << QStringList{QStringLiteral("PROJECT.none"), QStringLiteral("NEW.kavio")} << false << 1
        << QStringLiteral("kavio: error: File doesn't exist.");
    QTest::newRow("missing folder") << QStringList{QStringLiteral("PROJECT"), QStringLiteral("NEW/x/y.kavio")} << false
                                    << 1 << QStringLiteral("kavio: error: The destination directory is invalid.");
    QTest::newRow("automatic backup") << QStringList{QStringLiteral("PROJECT"), QStringLiteral("NEW.kavio")} << true << 1
                                      << QStringLiteral("kavio: error: The project has an automatic backup.");
}

void tst_SaveAs::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, withBackup);
    QFETCH(int, exitCode);
    QFETCH(QString, stderrText);
    if (!QFileInfo(tool()).isExecutable())
        QSKIP("the kavio tool is not built");
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strProject = folder.makeProject(QStringLiteral("demo.kavio"), {{QStringLiteral("a.png"), "a"}});
    if (withBackup)
        QVERIFY(writeBytes(folder.path(QStringLiteral("demo.kaviobak")), readBytes(strProject)));
    const QString before = folder.sha();
    QStringList args{QStringLiteral("save-as")};
    for (QString a : arguments) {
        a.replace(QLatin1String("PROJECT"), strProject);
        a.replace(QLatin1String("NEW"), folder.path(QStringLiteral("new")));
        args << a;
    }
    QProcess child;
    child.start(tool(), args);
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitCode(), exitCode);
    QVERIFY2(QString::fromUtf8(child.readAllStandardError()).contains(stderrText), qPrintable(stderrText));
    QCOMPARE(folder.sha(), before);
}

void tst_SaveAs::killedSaveAsKeepsPreviousProject()
{
    const QString strTool = tool();
    if (!QFileInfo(strTool).isExecutable())
        QSKIP("the kavio tool is not built");

    RecordingReporter rec;
    ProjectFolder folder;
    QList<QPair<QString, QByteArray>> resources;
    for (int i = 0; i < 6; ++i)
        resources.append({QStringLiteral("clip%1.mp4").arg(i), patternBytes(3 * 1048576 + i, 10 + i)});
    const QString strProject = folder.makeProject(QStringLiteral("demo/demo.kavio"), resources, 40);
    const QString strProjectFolder = folder.path(QStringLiteral("demo"));
    const QString before = KVTestEnvironment::sha256OfTree(strProjectFolder);
    const QString strTargets = folder.root() + QStringLiteral("/targets");

    // One run to the end tells how long a run takes, so that the kills fall inside it.
    QDir().mkpath(strTargets + QStringLiteral("/full"));
    QProcess full;
    QElapsedTimer clock;
    clock.start();
    full.start(strTool, {QStringLiteral("save-as"), strProject, strTargets + QStringLiteral("/full/copy.kavio")});
    QVERIFY(full.waitForFinished(60000));
    const qint64 nRun = qMax<qint64>(clock.elapsed(), 5);
    QCOMPARE(full.exitCode(), 0);
    QVERIFY(full.readAllStandardOutput().startsWith("scenes=40 elements=0 "));
    QCOMPARE(KVTestEnvironment::sha256OfTree(strProjectFolder), before);

    int nComplete = 0;
    for (int nTry = 0; nTry < 50; ++nTry) {
        const QString strDir = strTargets + QStringLiteral("/%1").arg(nTry);
        QDir().mkpath(strDir);
        const QString strTarget = strDir + QStringLiteral("/copy.kavio");
        QProcess child;
        child.start(strTool, {QStringLiteral("save-as"), strProject, strTarget});
        QVERIFY(child.waitForStarted());
        const int nDelay = int(QRandomGenerator::global()->bounded(int(nRun + nRun / 2 + 1)));
        child.waitForFinished(nDelay);
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            QVERIFY(child.waitForFinished(30000));
        }

        QCOMPARE(KVTestEnvironment::sha256OfTree(strProjectFolder), before);
        // A new project file exists only complete, with every resource file beside it.
        if (QFileInfo::exists(strTarget)) {
            ++nComplete;
            KVDocument copy;
            QVERIFY(copy.load(strTarget));
            QCOMPARE(copy.sceneList()->count(), 40);
            QCOMPARE(copy.resourceManager()->liveResources().size(), 6);
            for (int i = 0; i < 6; ++i) {
                QCOMPARE(readBytes(strDir + QStringLiteral("/copy_res/clip%1.mp4").arg(i)), resources.at(i).second);
            }
            copy.close();
        }
    }
    qInfo("runs of %lld ms; %d of 50 killed runs had finished the new project", nRun, nComplete);

    KVDocument doc;
    QVERIFY(doc.load(strProject));
    QCOMPARE(doc.sceneList()->count(), 40);
    QCOMPARE(doc.resourceManager()->liveResources().size(), 6);
    QVERIFY(doc.resourceManager()->missingFiles().isEmpty());
    QVERIFY(rec.texts().isEmpty());
    doc.close();
    QCOMPARE(KVTestEnvironment::sha256OfTree(strProjectFolder), before);
}

KAVIO_TEST_MAIN(tst_SaveAs)
#include "tst_saveas.moc"
