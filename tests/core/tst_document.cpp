// The document's lifecycle: creating, opening (bad input, the recovery from an automatic backup in
// each of its branches), backing up, closing with its questions and the clean-up of the files.

#include "KVDocumentTestKit.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "document/KVFileLocker.h"
#include "document/KVPreloader.h"
#include "document/KVProjectPaths.h"
#include "model/KVSceneList.h"

#include <QJsonArray>
#include <QVariantAnimation>
#include <QtTest>

namespace {
const QString kRecovery = QStringLiteral("The project was closed unexpectedly or the data was corrupted.\n"
                                         "Please select an option to continue.");
const QString kUseBackup = QStringLiteral("Do you want to used this backup version of the current project?");

// A project with two resources and a backup that differs from the saved file (one scene more and,
// with bNewResource, a resource added during the session that crashed).
QString makeProjectWithBackup(const ProjectFolder &folder, bool bNewResource = false)
{
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"),
                                               {{QStringLiteral("a.png"), patternBytes(3000, 1)},
                                                {QStringLiteral("b.mp3"), QByteArray("text")}});
    KVDocument doc;
    if (!doc.load(strFile))
        qFatal("cannot reopen");
    doc.sceneList()->addScene(doc.sceneList()->createScene());
    if (bNewResource)
        folder.addResource(doc, QStringLiteral("new.png"), "new");
    touch(doc);
    if (!doc.saveBackup())
        qFatal("cannot back up");
    // A crash: the document goes without a clean-up, so the backup stays.
    doc.fileLocker()->unlockAll();
    return strFile;
}
} // namespace

class tst_Document : public QObject
{
    Q_OBJECT

private slots:
    void create_makesFolderAndScenes();
    void create_withoutFileFails();
    void open_badInput_data();
    void open_badInput();
    void open_locksAndOwnsProjectFiles();
    void open_packageImport();
    void recovery_cancel_data();
    void recovery_cancel();
    void recovery_openBackup_closeNo_restoresDisk();
    void recovery_openBackup_closeYes_keepsBackup();
    void recovery_openBackup_closeCancel();
    void recovery_openBackup_refusedLeavesDisk_data();
    void recovery_openBackup_refusedLeavesDisk();
    void recovery_openBoth();
    void recovery_openBoth_failureKeepsBackup();
    void recovery_openLastSaved();
    void backup_cleanWritesNothing();
    void backup_modifiedWritesProjectJson();
    void versionGate_data();
    void versionGate();
    void firstFormatFilesMoveIntoResourceFolder_data();
    void firstFormatFilesMoveIntoResourceFolder();
    void cleanup_keepsReferencedDropsOthers();
    void cleanup_temporaryLeavesNoTrace();
    void preloader_createSaveReload();
    void preloader_dismissAsksWhenModified();
    void autoKeyframeMode();
    void pausePlay();
};

void tst_Document::create_makesFolderAndScenes()
{
    RecordingReporter rec;
    ProjectFolder folder;
    KVDocument doc;
    QSignalSpy status(&doc, &IDocument::statusChanged);
    doc.setFileName(folder.path(QStringLiteral("new/show.kavio")));
    QDir().mkpath(folder.path(QStringLiteral("new")));
    QVERIFY(doc.create(640, 480, 3, false));
    QVERIFY(QFileInfo(folder.path(QStringLiteral("new/show_res"))).isDir());
    QCOMPARE(doc.sceneList()->count(), 3);
    QCOMPARE(doc.currentScene(), doc.sceneList()->at(0));
    QCOMPARE(doc.width(), 640);
    QCOMPARE(doc.height(), 480);
    QCOMPARE(doc.settings().m_nViewportWMeta, -3);
    QCOMPARE(doc.settings().m_nViewportHMeta, -3);
    QCOMPARE(doc.settings().m_bInitResponsive, false);
    QCOMPARE(doc.docVersion(), 3);
    QCOMPARE(doc.status(), QStringLiteral("Ready"));
    QCOMPARE(status.count(), 1);
    QVERIFY(!doc.isModified());
    // Nothing but the resource folder is written before the first save.
    QVERIFY(folder.files().isEmpty());

    KVDocument responsive;
    responsive.setFileName(folder.path(QStringLiteral("r.kavio")));
    QVERIFY(responsive.create(800, 600, 1, true));
    QCOMPARE(responsive.settings().m_nViewportWMeta, -2);
    QCOMPARE(responsive.settings().m_bInitResponsive, true);
    QVERIFY(rec.texts().isEmpty());
}

void tst_Document::create_withoutFileFails()
{
    RecordingReporter rec;
    KVDocument doc;
    QVERIFY(!doc.create(800, 600, 1, false));
    QCOMPARE(rec.lastText(), QStringLiteral("The resources folder is undefined or inaccessible."));
}

void tst_Document::open_badInput_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("answer"); // to a question, 0 for none
    QTest::addColumn<QString>("message");

    const QString invalid = QStringLiteral("The project file format is invalid.");
    QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n garbage", 16) << 0 << invalid;
    QTest::newRow("empty") << QByteArray() << 0 << invalid;
    QTest::newRow("truncated") << QByteArray("{\"appName\":\"Kavio Studio\",\"document\":{\"width\":8") << 0 << invalid;
    QTest::newRow("array") << QByteArray("[1,2]") << 0 << invalid;
    QTest::newRow("wrong appName")
        << QByteArray("{\"appName\":\"Other\",\"document\":{\"docVersion\":3}}") << 0
        << QStringLiteral("Not a valid Kavio Studio project.");
    const QString incompatible = QStringLiteral("The project is incompatible with current application version.\n"
                                                "Do you want to open anyway (some information may be lost)?");
    QTest::newRow("docVersion 4, cancelled")
        << QByteArray("{\"appName\":\"Kavio Studio\",\"document\":{\"docVersion\":4}}") << int(IReporter::Cancel)
        << incompatible;
    QTest::newRow("docVersion missing, cancelled")
        << QByteArray("{\"appName\":\"Kavio Studio\",\"document\":{}}") << int(IReporter::Cancel) << incompatible;
}

void tst_Document::open_badInput()
{
    QFETCH(QByteArray, content);
    QFETCH(int, answer);
    QFETCH(QString, message);
    RecordingReporter rec;
    if (answer)
        rec.answer(IReporter::Button(answer));
    ProjectFolder folder;
    const QString strFile = folder.path(QStringLiteral("bad.kavio"));
    QVERIFY(writeBytes(strFile, content));
    const QString before = folder.sha();
    {
        KVDocument doc;
        QVERIFY(!doc.load(strFile));
        QCOMPARE(rec.lastText(), message);
        QCOMPARE(rec.unansweredQuestions(), 0);
        QVERIFY(doc.fileLocker()->lockedFiles().isEmpty());
    }
    QCOMPARE(folder.sha(), before);
}

void tst_Document::open_locksAndOwnsProjectFiles()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), {{QStringLiteral("pic.png"), "png"}});

    KVDocument missing;
    QVERIFY(!missing.load(folder.path(QStringLiteral("none.kavio"))));
    QCOMPARE(rec.lastText(),
             QStringLiteral("File doesn't exist.\n") + QDir::toNativeSeparators(folder.path(QStringLiteral("none.kavio"))));

    KVDocument directory;
    QDir().mkpath(folder.path(QStringLiteral("dir.kavio")));
    QVERIFY(!directory.load(folder.path(QStringLiteral("dir.kavio"))));
    QCOMPARE(rec.lastText(), QStringLiteral("Unable to read project data."));

    rec.clear();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(rec.texts().isEmpty());
    QCOMPARE(doc.ownedFiles(), QStringList{QStringLiteral("demo_res/pic.png")});
    QVERIFY(doc.fileLocker()->isLocked(strFile));
    QVERIFY(doc.fileLocker()->isLocked(folder.path(QStringLiteral("demo_res/pic.png"))));
    QCOMPARE(doc.sceneList()->count(), 2);
    doc.close();
    QVERIFY(doc.fileLocker()->lockedFiles().isEmpty());
    // Closing an unchanged project leaves its files.
    QVERIFY(QFileInfo(folder.path(QStringLiteral("demo_res/pic.png"))).isFile());
}

void tst_Document::open_packageImport()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strSource = folder.makeProject(QStringLiteral("packed/show.kavio"), {{QStringLiteral("p.png"), "p"}});
    const QString strPackage = folder.path(QStringLiteral("show.KAVIOPACK"));
    {
        KVDocument source;
        QVERIFY(source.load(strSource));
        QVERIFY(source.saveToPackage(strPackage));
    }
    const QString before = folder.sha();

    // Headless nobody can name the new project.
    KVDocument headless;
    QVERIFY(!headless.load(strPackage));

    TestHost host;
    KVDocument cancelled;
    QVERIFY(!cancelled.load(strPackage));
    QCOMPARE(host.titles, QStringList{QStringLiteral("Import Project")});
    QCOMPARE(host.names, QStringList{QStringLiteral("show")});
    QCOMPARE(folder.sha(), before);

    QDir().mkpath(folder.path(QStringLiteral("imported")));
    host.answers << folder.path(QStringLiteral("imported/show.kavio"));
    rec.clear();
    KVDocument doc;
    QVERIFY(doc.load(strPackage));
    QCOMPARE(doc.getFileName(), folder.path(QStringLiteral("imported/show.kavio")));
    QCOMPARE(doc.resourceManager()->liveResources().size(), 1);
    QCOMPARE(readBytes(folder.path(QStringLiteral("imported/show_res/p.png"))), QByteArray("p"));
    QVERIFY(doc.fileLocker()->isLocked(folder.path(QStringLiteral("imported/show_res/p.png"))));
    QVERIFY(rec.texts().isEmpty());

    // The slot unpacks into a folder named after the project.
    QVERIFY(doc.extractPackage(strPackage, folder.path(QStringLiteral("again"))));
    QVERIFY(QFileInfo(folder.path(QStringLiteral("again/again.kavio"))).isFile());
    QCOMPARE(readBytes(folder.path(QStringLiteral("again/again_res/p.png"))), QByteArray("p"));
}

void tst_Document::recovery_cancel_data()
{
    QTest::addColumn<QString>("choice"); // empty: the box is dismissed
    QTest::newRow("Cancel") << QStringLiteral("Cancel");
    QTest::newRow("dismissed") << QString();
}

void tst_Document::recovery_cancel()
{
    QFETCH(QString, choice);
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder);
    const QString before = folder.sha();
    if (!choice.isEmpty())
        rec.answerNamed(choice);
    {
        KVDocument doc;
        QVERIFY(!doc.load(strFile));
        QCOMPARE(rec.entries().size(), 1);
        QCOMPARE(rec.entries().first().kind, RecordingReporter::Entry::Choice);
        QCOMPARE(rec.entries().first().text, kRecovery);
        QCOMPARE(rec.entries().first().title, QStringLiteral("Kavio Studio"));
        QCOMPARE(doc.sceneList()->count(), 0);
    }
    QCOMPARE(folder.sha(), before);
}

void tst_Document::recovery_openBackup_closeNo_restoresDisk()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder, true);
    const QString before = folder.sha();
    const QByteArray saved = readBytes(strFile);
    const QByteArray backup = readBytes(folder.path(QStringLiteral("demo.kaviobak")));

    rec.answerNamed(QStringLiteral("Open Backup"));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(doc.isOpenAsBackup());
    QCOMPARE(doc.sceneList()->count(), 3); // the backup's content
    QCOMPARE(readBytes(strFile), backup);
    QCOMPARE(readBytes(strFile + QStringLiteral(".old")), saved);
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo.kaviobak"))));
    QVERIFY(doc.fileLocker()->isLocked(strFile + QStringLiteral(".old")));

    rec.answer(IReporter::No);
    QVERIFY(doc.closeProject());
    QCOMPARE(rec.lastText(), kUseBackup);
    QVERIFY(!doc.isOpenAsBackup());
    QVERIFY(!doc.isModified());
    QCOMPARE(folder.sha(), before);
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::recovery_openBackup_closeYes_keepsBackup()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder);
    rec.answerNamed(QStringLiteral("Open Backup"));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QSignalSpy saved(&doc, &KVDocument::changesSaved);
    rec.answer(IReporter::Yes);
    QVERIFY(doc.closeProject());
    QCOMPARE(saved.count(), 1);
    QCOMPARE(folder.files(), (QStringList{QStringLiteral("demo.kavio"), QStringLiteral("demo_res/a.png"),
                                          QStringLiteral("demo_res/b.mp3")}));
    KVDocument reopened;
    QVERIFY(reopened.load(strFile));
    QCOMPARE(reopened.sceneList()->count(), 3);
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::recovery_openBackup_closeCancel()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder);
    rec.answerNamed(QStringLiteral("Open Backup"));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    const QString during = folder.sha();
    rec.answer(IReporter::Cancel);
    QVERIFY(!doc.requestClosing(true));
    QVERIFY(doc.isOpenAsBackup());
    QCOMPARE(folder.sha(), during);
    // Without a cancel button the answer is Yes or No; No restores.
    rec.answer(IReporter::No);
    QVERIFY(doc.requestClosing(false));
    QVERIFY(!QFileInfo::exists(strFile + QStringLiteral(".old")));
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::recovery_openBackup_refusedLeavesDisk_data()
{
    QTest::addColumn<QString>("leftover"); // a file put beside the project first
    QTest::addColumn<QByteArray>("backup"); // replaces the backup's content when not empty
    QTest::addColumn<QString>("message");
    // A "<file>.old" left by an earlier session may be the only copy of the last saved project.
    QTest::newRow("old file present") << QStringLiteral("demo.kavio.old") << QByteArray()
                                      << QStringLiteral("Unable to open backup project.");
    QTest::newRow("backup unreadable") << QString() << QByteArray("{\"appName\":")
                                       << QStringLiteral("The project file format is invalid.");
}

void tst_Document::recovery_openBackup_refusedLeavesDisk()
{
    QFETCH(QString, leftover);
    QFETCH(QByteArray, backup);
    QFETCH(QString, message);
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder);
    if (!leftover.isEmpty())
        QVERIFY(writeBytes(folder.path(leftover), "saved long ago"));
    if (!backup.isEmpty())
        QVERIFY(writeBytes(folder.path(QStringLiteral("demo.kaviobak")), backup));
    const QString before = folder.sha();
    rec.answerNamed(QStringLiteral("Open Backup"));
    {
        KVDocument doc;
        QVERIFY(!doc.load(strFile));
        QCOMPARE(rec.lastText(), message);
        QVERIFY(!doc.isOpenAsBackup());
    }
    QCOMPARE(folder.sha(), before);
}

void tst_Document::recovery_openBoth()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder);
    const QByteArray backup = readBytes(folder.path(QStringLiteral("demo.kaviobak")));

    rec.answerNamed(QStringLiteral("Open Both"));
    {
        KVDocument doc;
        QVERIFY(doc.load(strFile));
        QVERIFY(!doc.isOpenAsBackup());
        QCOMPARE(doc.sceneList()->count(), 2); // the last saved project
        KVDocument *pSide = doc.sideDocument();
        QVERIFY(pSide);
        QVERIFY(pSide->isTempDocument());
        QCOMPARE(pSide->getFileName(), folder.path(QStringLiteral("demo-backup.kavio")));
        QCOMPARE(pSide->sceneList()->count(), 3);
        QCOMPARE(readBytes(folder.path(QStringLiteral("demo-backup.kavio"))), backup);
        QCOMPARE(readBytes(folder.path(QStringLiteral("demo-backup_res/a.png"))), patternBytes(3000, 1));
        QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo.kaviobak"))));
        QVERIFY(rec.texts().size() == 1);

        // The copy is temporary: closing it takes its files away.
        pSide->close();
        QCOMPARE(folder.files(), (QStringList{QStringLiteral("demo.kavio"), QStringLiteral("demo_res/a.png"),
                                              QStringLiteral("demo_res/b.mp3")}));
        QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo-backup_res"))));
    }

    // With a host, the second document goes to the host.
    ProjectFolder second;
    const QString strSecond = makeProjectWithBackup(second);
    TestHost host;
    rec.answerNamed(QStringLiteral("Open Both"));
    KVDocument doc;
    QVERIFY(doc.load(strSecond));
    QCOMPARE(host.shown.size(), 1);
    QVERIFY(!doc.sideDocument());
    QVERIFY(host.shown.first()->isTempDocument());
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::recovery_openBoth_failureKeepsBackup()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder);
    // The name of the copy is taken: the copy cannot be made.
    QVERIFY(writeBytes(folder.path(QStringLiteral("demo-backup.kavio")), "someone else's"));
    const QString before = folder.sha();
    rec.answerNamed(QStringLiteral("Open Both"));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QCOMPARE(rec.lastText(), QStringLiteral("Unable to open backup project."));
    QCOMPARE(doc.sceneList()->count(), 2);
    QVERIFY(!doc.sideDocument());
    doc.close();
    QCOMPARE(folder.sha(), before);
}

void tst_Document::recovery_openLastSaved()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeProjectWithBackup(folder);
    const QByteArray saved = readBytes(strFile);
    rec.answerNamed(QStringLiteral("Open Last Saved"));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QCOMPARE(doc.sceneList()->count(), 2);
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo.kaviobak"))));
    QCOMPARE(readBytes(strFile), saved);
    // Reopening asks nothing any more.
    doc.close();
    KVDocument again;
    QVERIFY(again.load(strFile));
    QCOMPARE(rec.entries().size(), 1);
}

void tst_Document::backup_cleanWritesNothing()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"));
    const QString before = folder.sha();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(!doc.saveBackup());
    QCOMPARE(folder.sha(), before);
    QVERIFY(rec.texts().isEmpty());
}

void tst_Document::backup_modifiedWritesProjectJson()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"));
    const QByteArray saved = readBytes(strFile);
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    doc.setTitle(QStringLiteral("Changed"));
    touch(doc);
    QVERIFY(doc.saveBackup());
    const QString strBackup = folder.path(QStringLiteral("demo.kaviobak"));
    const QByteArray backup = readBytes(strBackup);
    QVERIFY(!backup.contains('\n'));
    QCOMPARE(readJson(strBackup).value(QStringLiteral("document")).toObject().value(QStringLiteral("title")).toString(),
             QStringLiteral("Changed"));
    QVERIFY(doc.ownedFiles().contains(QStringLiteral("demo.kaviobak")));
    QCOMPARE(readBytes(strFile), saved); // the project file is not touched by a backup

    // A save writes what the backup held and removes the backup.
    QVERIFY(doc.save());
    QVERIFY(!QFileInfo::exists(strBackup));
    QVERIFY(!doc.ownedFiles().contains(QStringLiteral("demo.kaviobak")));
    QCOMPARE(readJson(strFile), QJsonDocument::fromJson(backup).object());
    QVERIFY(!doc.isModified());

    // A backup left at close (unsaved changes given up) goes with the document.
    touch(doc);
    QVERIFY(doc.saveBackup());
    doc.close();
    QVERIFY(!QFileInfo::exists(strBackup));
}

void tst_Document::versionGate_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QString>("versionText");
    QTest::newRow("format 2") << QByteArray("2") << QStringLiteral("2.5.0");
    QTest::newRow("format 1 as \"1.0\"") << QByteArray("\"1.0\"") << QStringLiteral("2.5.0");
}

void tst_Document::versionGate()
{
    QFETCH(QByteArray, version);
    QFETCH(QString, versionText);
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("old.kavio"));
    QByteArray data = readBytes(strFile);
    data.replace("\"docVersion\":3", "\"docVersion\":" + version);
    QVERIFY(writeBytes(strFile, data));
    const QString before = folder.sha();

    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(doc.docVersion() != 3);
    const QString question = QStringLiteral("The project will be saved in the file format that can only be opened by "
                                            "Kavio Studio %1 or later.\nDo you want to continue?")
                                 .arg(versionText);
    rec.answer(IReporter::No);
    QVERIFY(!doc.save());
    QCOMPARE(rec.lastText(), question);
    QCOMPARE(folder.sha(), before);

    rec.answer(IReporter::Yes);
    QVERIFY(doc.save());
    QCOMPARE(doc.docVersion(), 3);
    QCOMPARE(readJson(strFile).value(QStringLiteral("document")).toObject().value(QStringLiteral("docVersion")).toInt(), 3);
    const int nQuestions = rec.entries().size();
    QVERIFY(doc.save());
    QCOMPARE(rec.entries().size(), nQuestions);
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::firstFormatFilesMoveIntoResourceFolder_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("beside");
    QTest::addColumn<QString>("savedName");
    QTest::newRow("below the project folder")
        << QStringLiteral("media/a.png") << QStringLiteral("media/a.png") << QStringLiteral("a.png");
    QTest::newRow("Windows separators")
        << QStringLiteral("media\\a.png") << QStringLiteral("media/a.png") << QStringLiteral("a.png");
    QTest::newRow("a name taken in the resource folder")
        << QStringLiteral("media/logo.png") << QStringLiteral("media/logo.png") << QStringLiteral("logo_2.png");
}

// A project of the first format whose image lies beside it: saving copies the image into the
// resource folder and names it there, so the saved project opens without missing files, and the
// file beside it stays.
void tst_Document::firstFormatFilesMoveIntoResourceFolder()
{
    QFETCH(QString, fileName);
    QFETCH(QString, beside);
    QFETCH(QString, savedName);
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), {{QStringLiteral("a.png"), patternBytes(500, 7)}});
    QByteArray data = readBytes(strFile);
    data.replace("\"docVersion\":3", "\"docVersion\":\"1.0\"");
    data.replace("\"fileName\":\"a.png\"", "\"fileName\":\"" + fileName.toUtf8().replace("\\", "\\\\") + "\"");
    QVERIFY(writeBytes(strFile, data));
    const QString strBeside = QDir::cleanPath(folder.path(beside));
    QDir().mkpath(QFileInfo(strBeside).absolutePath());
    QVERIFY(QFile::rename(folder.path(QStringLiteral("demo_res/a.png")), strBeside));
    // Another file already has one of the names in the resource folder; it stays as it is.
    QVERIFY(writeBytes(folder.path(QStringLiteral("demo_res/logo.png")), "taken"));

    {
        KVDocument doc;
        QVERIFY(doc.load(strFile));
        QCOMPARE(doc.resourceManager()->missingFiles(), QStringList());
        rec.answer(IReporter::Yes);
        QVERIFY(doc.save());
        doc.close();
    }
    QCOMPARE(readBytes(folder.path(QStringLiteral("demo_res/") + savedName)), patternBytes(500, 7));
    QCOMPARE(readBytes(strBeside), patternBytes(500, 7));
    QCOMPARE(readBytes(folder.path(QStringLiteral("demo_res/logo.png"))), QByteArray("taken"));
    const QJsonArray jaResources =
        readJson(strFile).value(QStringLiteral("document")).toObject().value(QStringLiteral("resources")).toArray();
    QCOMPARE(jaResources.at(0).toObject().value(QStringLiteral("fileName")).toString(), savedName);

    const int nReports = rec.entries().size();
    KVDocument reopened;
    QVERIFY(reopened.load(strFile));
    QCOMPARE(rec.entries().size(), nReports);
    QCOMPARE(reopened.resourceManager()->missingFiles(), QStringList());
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::cleanup_keepsReferencedDropsOthers()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), {{QStringLiteral("kept.png"), "kept"}});
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    // Imported but never part of the project: the file goes at close.
    KVResource *pDropped = doc.resourceManager()->importFile(folder.source(QStringLiteral("dropped.png"), "x"));
    QVERIFY(pDropped);
    delete pDropped;
    // Added and saved: the file stays.
    folder.addResource(doc, QStringLiteral("saved.png"), "saved");
    QVERIFY(doc.save());
    // Added, then removed from the project and saved: the file goes.
    KVResource *pRemoved = folder.addResource(doc, QStringLiteral("removed.png"), "removed");
    QVERIFY(doc.save());
    QVERIFY(doc.resourceManager()->removeResources({pRemoved->id()}));
    QVERIFY(doc.save());
    QVERIFY(doc.ownedFiles().contains(QStringLiteral("demo_res/dropped.png")));
    doc.close();
    QCOMPARE(folder.files(), (QStringList{QStringLiteral("demo.kavio"), QStringLiteral("demo_res/kept.png"),
                                          QStringLiteral("demo_res/saved.png")}));
}

void tst_Document::cleanup_temporaryLeavesNoTrace()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("temp.kavio"), {{QStringLiteral("a.png"), "a"}});
    {
        KVDocument doc;
        QVERIFY(doc.load(strFile));
        doc.setIsTempDocument(true);
        folder.addResource(doc, QStringLiteral("b.png"), "b");
        touch(doc);
        QVERIFY(doc.saveBackup());
        doc.close();
    }
    QVERIFY(folder.files().isEmpty());
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("temp_res"))));

    // cleanTempDir takes the project file and the whole resource folder.
    const QString strOther = folder.makeProject(QStringLiteral("other.kavio"), {{QStringLiteral("c.png"), "c"}});
    KVDocument other;
    other.setFileName(strOther);
    other.cleanTempDir();
    QVERIFY(folder.files().isEmpty());
}

void tst_Document::preloader_createSaveReload()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"));
    {
        KVDocument doc;
        QVERIFY(doc.load(strFile));
        QVERIFY(!doc.settings().m_bHasCustomLoader);
        QVERIFY(doc.loadPreloader());
        KVPreloader *pPreloader = doc.preloaderDocument();
        QVERIFY(pPreloader);
        QCOMPARE(pPreloader->getFileName(), folder.path(QStringLiteral("demo_res/preloader/preloader.kavio")));
        QCOMPARE(pPreloader->sceneList()->count(), 1);
        QCOMPARE(pPreloader->width(), doc.width());
        QVERIFY(pPreloader->useLoadingIndicator());
        QVERIFY(QFileInfo(folder.path(QStringLiteral("demo_res/preloader/preloader_res"))).isDir());

        // Saving the preloader marks the project as having one and saves the project.
        touch(*pPreloader);
        QVERIFY(pPreloader->save());
        QVERIFY(doc.settings().m_bHasCustomLoader);
        QVERIFY(readJson(strFile).value(QStringLiteral("document")).toObject()
                    .value(QStringLiteral("hasCustomLoader")).toBool());
        QVERIFY(readJson(pPreloader->getFileName()).value(QStringLiteral("useLoadingIndicator")).toBool());
        QVERIFY(readJson(pPreloader->getFileName()).contains(QStringLiteral("loadingIndicatorProps")));

        // Closing the project closes its preloader first.
        QVERIFY(doc.closeProject());
        QVERIFY(!doc.preloaderDocument());
    }
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(doc.loadPreloader());
    QCOMPARE(doc.preloaderDocument()->sceneList()->count(), 1);
    QVERIFY(doc.preloaderDocument()->isTempDocument() == false);
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::preloader_dismissAsksWhenModified()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(doc.loadPreloader());
    QSignalSpy closing(doc.preloaderDocument(), &IDocument::aboutToClose);
    touch(*doc.preloaderDocument());
    rec.answer(IReporter::No);
    doc.dismissPreloader();
    QCOMPARE(rec.lastText(), QStringLiteral("Save changes made to preloader?"));
    QCOMPARE(closing.count(), 1);
    QVERIFY(!doc.preloaderDocument());
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo_res/preloader/preloader.kavio"))));

    // Unchanged: no question.
    QVERIFY(doc.loadPreloader());
    const int nEntries = rec.entries().size();
    doc.dismissPreloader();
    QCOMPARE(rec.entries().size(), nEntries);
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Document::autoKeyframeMode()
{
    KVDocument doc;
    QSignalSpy spy(&doc, &KVDocument::changeAutoKeyframeMode);
    doc.setAutoKeyframeMode(false);
    QCOMPARE(spy.count(), 0);
    doc.setAutoKeyframeMode(true);
    doc.setAutoKeyframeMode(true);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toBool(), true);
    QVERIFY(doc.isAutoKeyframeMode());
}

void tst_Document::pausePlay()
{
    KVDocument doc;
    QVERIFY(!doc.pause());
    QVERIFY(!doc.play());
    QVariantAnimation animation;
    animation.setStartValue(0);
    animation.setEndValue(1);
    animation.setDuration(100000);
    doc.setPlayingAnimation(&animation);
    QVERIFY(doc.play());
    QCOMPARE(animation.state(), QAbstractAnimation::Running);
    QVERIFY(!doc.play());
    QVERIFY(doc.pause());
    QCOMPARE(animation.state(), QAbstractAnimation::Paused);
    QVERIFY(!doc.pause());
    QVERIFY(doc.play());
    QCOMPARE(animation.state(), QAbstractAnimation::Running);
    // Saving pauses the playback.
    RecordingReporter rec;
    ProjectFolder folder;
    doc.setFileName(folder.path(QStringLiteral("p.kavio")));
    QVERIFY(doc.create(100, 100, 1, false));
    QVERIFY(doc.save());
    QCOMPARE(animation.state(), QAbstractAnimation::Paused);
}

KAVIO_TEST_MAIN(tst_Document)
#include "tst_document.moc"
