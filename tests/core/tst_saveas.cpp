// The command-line tool's "save-as": its answers to bad input, and its reliability. A save under
// another name that is killed (SIGKILL) at any moment must leave the previous project exactly as
// it was, must never leave a new project file that refers to files not yet copied, and a save over
// an existing project must leave it wholly as it was or wholly the new one.

#include "KVDocumentTestKit.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "document/KVProjectSwitch.h"
#include "model/KVSceneList.h"

#include <QDirIterator>
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
    void killedSaveAsOverProjectLeavesOneOrTheOther();
};

namespace {
QString tool()
{
    return KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio");
}

void copyTree(const QString &strFrom, const QString &strTo)
{
    QDirIterator it(strFrom, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir from(strFrom);
    while (it.hasNext()) {
        const QString strFile = it.next();
        writeBytes(strTo + QLatin1Char('/') + from.relativeFilePath(strFile), readBytes(strFile));
    }
}

// "kavio check" of a project: its first line, empty when it did not open.
QString checkSummary(const QString &strProject)
{
    QProcess check;
    check.start(tool(), {QStringLiteral("check"), strProject});
    if (!check.waitForFinished(60000) || check.exitCode() != 0)
        return QString();
    return QString::fromUtf8(check.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
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
                                  << QStringLiteral("kavio: error: The new project file must end in \".kavio\" or "
                                                    "\".kaviopack\".");
    QTest::newRow("package in a missing folder")
        << QStringList{QStringLiteral("PROJECT"), QStringLiteral("NEW/x/y.kaviopack")} << false << 1
        << QStringLiteral("kavio: error: Cannot create package file.");
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
    // A copy killed while its resource folder was put in place is finished when it is opened, and
    // says so; nothing else is reported.
    for (const QString &strText : rec.texts())
        QCOMPARE(strText, KVProjectSwitch::describe(KVProjectSwitch::Completed));
    rec.clear();

    KVDocument doc;
    QVERIFY(doc.load(strProject));
    QCOMPARE(doc.sceneList()->count(), 40);
    QCOMPARE(doc.resourceManager()->liveResources().size(), 6);
    QVERIFY(doc.resourceManager()->missingFiles().isEmpty());
    QVERIFY2(rec.texts().isEmpty(), qPrintable(rec.texts().join(QLatin1Char('\n'))));
    doc.close();
    QCOMPARE(KVTestEnvironment::sha256OfTree(strProjectFolder), before);
}

void tst_SaveAs::killedSaveAsOverProjectLeavesOneOrTheOther()
{
    const QString strTool = tool();
    if (!QFileInfo(strTool).isExecutable())
        QSKIP("the kavio tool is not built");

    RecordingReporter rec;
    ProjectFolder folder;
    // The project saved over and the one saved over it have images of the same names and other
    // contents, so that an image replaced on its own shows.
    QList<QPair<QString, QByteArray>> oldImages, newImages;
    for (int i = 0; i < 20; ++i) {
        const QString strName = QStringLiteral("image%1.png").arg(i);
        oldImages.append({strName, patternBytes(40000 + i, 100 + i)});
        newImages.append({strName, patternBytes(600000 + i, 300 + i)});
    }
    folder.makeProject(QStringLiteral("old/copy.kavio"), oldImages, 3);
    const QString strNew = folder.makeProject(QStringLiteral("new/new.kavio"), newImages, 40);
    const QString strPristine = folder.path(QStringLiteral("old"));
    const QString strTargetFolder = folder.root() + QStringLiteral("/target");
    const QString strTarget = strTargetFolder + QStringLiteral("/copy.kavio");
    const auto reset = [&] {
        QDir(strTargetFolder).removeRecursively();
        copyTree(strPristine, strTargetFolder);
    };
    const QString oldTree = KVTestEnvironment::sha256OfTree(strPristine);
    const QString oldSummary = checkSummary(folder.path(QStringLiteral("old/copy.kavio")));
    QVERIFY(oldSummary.startsWith(QLatin1String("scenes=3 ")));

    // One run to the end gives the new project's bytes and how long a run takes.
    reset();
    QProcess full;
    QElapsedTimer clock;
    clock.start();
    full.start(strTool, {QStringLiteral("save-as"), strNew, strTarget});
    QVERIFY(full.waitForFinished(60000));
    const qint64 nRun = qMax<qint64>(clock.elapsed(), 5);
    QCOMPARE(full.exitCode(), 0);
    const QString newTree = KVTestEnvironment::sha256OfTree(strTargetFolder);
    const QString newSummary = checkSummary(strTarget);
    QVERIFY(newSummary.startsWith(QLatin1String("scenes=40 ")));
    for (const auto &image : newImages)
        QCOMPARE(readBytes(strTargetFolder + QStringLiteral("/copy_res/") + image.first), image.second);
    QCOMPARE(KVTestEnvironment::sha256OfTree(strTargetFolder), newTree);

    int nOld = 0, nNew = 0;
    for (int nTry = 0; nTry < 50; ++nTry) {
        reset();
        QProcess child;
        child.start(strTool, {QStringLiteral("save-as"), strNew, strTarget});
        QVERIFY(child.waitForStarted());
        // The instants spread evenly over a run and a little beyond it.
        child.waitForFinished(int(nTry * (nRun + nRun / 4) / 50));
        if (child.state() != QProcess::NotRunning) {
            child.kill();
            QVERIFY(child.waitForFinished(30000));
        }
        // Opening the project (here by "kavio check") completes or undoes an interrupted switch;
        // after it the folder is byte for byte one project or the other, and the check says which.
        const QString summary = checkSummary(strTarget);
        const QString tree = KVTestEnvironment::sha256OfTree(strTargetFolder);
        QStringList left;
        for (QDirIterator it(strTargetFolder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();)
            left << QDir(strTargetFolder).relativeFilePath(it.next());
        QVERIFY2(tree == oldTree || tree == newTree,
                 qPrintable(QStringLiteral("kill %1 left a mix: %2").arg(nTry).arg(left.join(QLatin1Char(' ')))));
        QCOMPARE(summary, tree == oldTree ? oldSummary : newSummary);
        ++(tree == oldTree ? nOld : nNew);
    }
    qInfo("runs of %lld ms; of 50 kills %d left the previous project and %d the new one", nRun, nOld, nNew);
    QVERIFY(nOld > 0 && nNew > 0);
}

KAVIO_TEST_MAIN(tst_SaveAs)
#include "tst_saveas.moc"
