// Saving a document: in place, under another name with the copy of its resource files, and the
// destinations that must be refused or that fail part-way (a read-only folder, the open project, a
// disk that fills up). The previous project must stay byte for byte as it was.

#include "KVDocumentTestKit.h"
#include "KVTestMain.h"
#include "KVZipListing.h"
#include "RecordingReporter.h"

#include "document/KVFileLocker.h"
#include "document/KVPackageWriter.h"
#include "document/KVPreloader.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVSymbolElement.h"
#include "output/KVSymbolResources.h"
#include "resources/KVResourceType.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {
// Files written by this process cannot grow beyond nBytes while it lives: a write past the limit
// fails as on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t nBytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = nBytes;
        m_bActive = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }
    bool isActive() const { return m_bActive; }

private:
    rlimit m_old{};
    bool m_bActive = false;
};

// A folder nobody may write into: a read-only mount when the tests run as root (who may write
// into any folder), else a folder without write permission.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &strPath)
        : m_strPath(strPath)
    {
        QDir().mkpath(strPath);
        if (::geteuid() == 0) {
            m_bMounted = QProcess::execute(QStringLiteral("mount"),
                                           {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                            QStringLiteral("ro,size=64k"), QStringLiteral("tmpfs"), strPath})
                == 0;
            m_bReady = m_bMounted;
        } else {
            m_bReady = QFile::setPermissions(strPath, QFile::ReadOwner | QFile::ExeOwner);
        }
    }
    ~ReadOnlyFolder()
    {
        if (m_bMounted)
            QProcess::execute(QStringLiteral("umount"), {m_strPath});
        else
            QFile::setPermissions(m_strPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool isReady() const { return m_bReady; }

private:
    QString m_strPath;
    bool m_bMounted = false;
    bool m_bReady = false;
};

const QList<QPair<QString, QByteArray>> kResources = {
    {QStringLiteral("photo.png"), patternBytes(200000, 1)},
    {QStringLiteral("song.mp3"), patternBytes(50000, 2)},
    {QStringLiteral("logo.svg"), QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"/>")},
};
} // namespace

class tst_DocumentSave : public QObject
{
    Q_OBJECT

private slots:
    void save_writesCompactFileAndRelocks();
    void save_newDocumentWritesFile();
    void saveTo_refused_data();
    void saveTo_refused();
    void saveTo_samePathIsPlainSave();
    void saveTo_copiesResourcesAndLeavesOldIdentical();
    void saveTo_modifiedDocumentLeavesOldIdentical();
    void saveTo_dropsPreviewOutput();
    void saveTo_overwriteQuestion();
    void saveTo_openProjectRefused();
    void saveTo_temporaryLeavesNoTrace();
    void saveTo_openedBackupRestoresOldProject();
    void saveTo_progressAndCancel();
    void saveTo_movesPreloader();
    void saveTo_readOnlyDestination();
    void save_diskFullKeepsLastSaved();
    void saveTo_diskFullKeepsEverything();
    void saveAs_throughHost();
    void package_roundTrip_data();
    void package_roundTrip();
    void package_failures_data();
    void package_failures();
    void symbolFiles_data();
    void symbolFiles();
};

void tst_DocumentSave::save_writesCompactFileAndRelocks()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QSignalSpy saved(&doc, &KVDocument::changesSaved);
    QSignalSpy modified(&doc, &IDocument::modifyChanged);
    doc.setTitle(QStringLiteral("Title"));
    touch(doc);
    QVERIFY(doc.isModified());
    QVERIFY(doc.save());
    QVERIFY(!doc.isModified());
    QCOMPARE(saved.count(), 1);
    QCOMPARE(modified.count(), 2);
    const QByteArray data = readBytes(strFile);
    QVERIFY(!data.contains('\n'));
    const QJsonObject top = QJsonDocument::fromJson(data).object();
    QCOMPARE(top.value(QStringLiteral("appName")).toString(), QStringLiteral("Kavio Studio"));
    QCOMPARE(top.value(QStringLiteral("document")).toObject().value(QStringLiteral("title")).toString(),
             QStringLiteral("Title"));
    QCOMPARE(top.value(QStringLiteral("document")).toObject().value(QStringLiteral("resources")).toArray().size(), 3);
    QVERIFY(doc.fileLocker()->isLocked(strFile));
    // No temporary file is left beside the project.
    QCOMPARE(QDir(folder.projects()).entryList(QDir::Files), QStringList{QStringLiteral("demo.kavio")});
    QVERIFY(rec.texts().isEmpty());
}

void tst_DocumentSave::save_newDocumentWritesFile()
{
    RecordingReporter rec;
    ProjectFolder folder;
    KVDocument doc;
    doc.setFileName(folder.path(QStringLiteral("fresh.kavio")));
    QVERIFY(doc.create(1024, 768, 2, false));
    doc.setIsTempDocument(true);
    folder.addResource(doc, QStringLiteral("pic.png"), "pic");
    QVERIFY(doc.save());
    QVERIFY(!doc.isTempDocument());
    doc.close();
    KVDocument reopened;
    QVERIFY(reopened.load(folder.path(QStringLiteral("fresh.kavio"))));
    QCOMPARE(reopened.width(), 1024);
    QCOMPARE(reopened.sceneList()->count(), 2);
    QCOMPARE(reopened.resourceManager()->liveResources().size(), 1);
    QCOMPARE(readBytes(folder.path(QStringLiteral("fresh_res/pic.png"))), QByteArray("pic"));
}

void tst_DocumentSave::saveTo_refused_data()
{
    QTest::addColumn<QString>("target"); // relative to the projects folder
    QTest::addColumn<QString>("message");
    QTest::newRow("other suffix") << QStringLiteral("copy.json") << QString();
    QTest::newRow("no suffix") << QStringLiteral("copy") << QString();
    QTest::newRow("missing folder") << QStringLiteral("nowhere/copy.kavio")
                                    << QStringLiteral("The destination directory is invalid.");
    QTest::newRow("package in a missing folder") << QStringLiteral("nowhere/copy.kaviopack")
                                                 << QStringLiteral("Cannot create package file.");
}

void tst_DocumentSave::saveTo_refused()
{
    QFETCH(QString, target);
    QFETCH(QString, message);
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    const QString before = folder.sha();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    touch(doc);
    QVERIFY(!doc.save(folder.path(target)));
    QCOMPARE(rec.lastText(), message);
    QCOMPARE(doc.getFileName(), strFile);
    QVERIFY(doc.isModified());
    QCOMPARE(folder.sha(), before);
}

void tst_DocumentSave::saveTo_samePathIsPlainSave()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QSignalSpy moved(&doc, &KVDocument::locationChanged);
    QSignalSpy saved(&doc, &KVDocument::changesSaved);
    touch(doc);
    // The same file through another spelling of its path.
    QVERIFY(doc.save(folder.projects() + QStringLiteral("/./demo.kavio")));
    QCOMPARE(moved.count(), 0);
    QCOMPARE(saved.count(), 1);
    QVERIFY(rec.texts().isEmpty()); // no overwrite question
    QVERIFY(!doc.isModified());
}

void tst_DocumentSave::saveTo_copiesResourcesAndLeavesOldIdentical()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    QDir().mkpath(folder.path(QStringLiteral("elsewhere")));
    const QString oldTree = KVTestEnvironment::sha256OfTree(folder.path(QStringLiteral("demo_res")));
    const QByteArray oldFile = readBytes(strFile);

    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QSignalSpy moved(&doc, &KVDocument::locationChanged);
    const QString strTarget = folder.path(QStringLiteral("elsewhere/Moved.kavio"));
    QVERIFY(doc.save(strTarget));
    QVERIFY(rec.texts().isEmpty());
    QCOMPARE(moved.count(), 1);
    QCOMPARE(doc.getFileName(), strTarget);
    QCOMPARE(doc.resourceFolderPath(), folder.path(QStringLiteral("elsewhere/Moved_res")));

    // The previous project is untouched.
    QCOMPARE(readBytes(strFile), oldFile);
    QCOMPARE(KVTestEnvironment::sha256OfTree(folder.path(QStringLiteral("demo_res"))), oldTree);
    // The new one holds the same resource files under its own folder.
    QCOMPARE(KVTestEnvironment::sha256OfTree(folder.path(QStringLiteral("elsewhere/Moved_res"))), oldTree);
    QStringList owned = doc.ownedFiles();
    owned.sort();
    QCOMPARE(owned, (QStringList{QStringLiteral("Moved_res/logo.svg"), QStringLiteral("Moved_res/photo.png"),
                                 QStringLiteral("Moved_res/song.mp3")}));
    // The locks moved with the document.
    QVERIFY(doc.fileLocker()->isLocked(strTarget));
    QVERIFY(!doc.fileLocker()->isLocked(strFile));
    QVERIFY(doc.fileLocker()->isLocked(folder.path(QStringLiteral("elsewhere/Moved_res/photo.png"))));
    QVERIFY(!doc.fileLocker()->isLocked(folder.path(QStringLiteral("demo_res/photo.png"))));

    doc.close();
    KVDocument reopened;
    QVERIFY(reopened.load(strTarget));
    QCOMPARE(reopened.resourceManager()->liveResources().size(), 3);
    QVERIFY(reopened.resourceManager()->missingFiles().isEmpty());
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_DocumentSave::saveTo_modifiedDocumentLeavesOldIdentical()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    const QString before = folder.sha();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    // Changes of the session: a scene, a new resource, a resource taken out.
    doc.sceneList()->addScene(doc.sceneList()->createScene());
    folder.addResource(doc, QStringLiteral("added.png"), "added");
    KVResource *pSong = nullptr;
    for (KVResource *r : doc.resourceManager()->liveResources()) {
        if (r->fileName() == QLatin1String("song.mp3"))
            pSong = r;
    }
    QVERIFY(pSong);
    QVERIFY(doc.resourceManager()->removeResources({pSong->id()}));
    touch(doc);
    touch(doc);
    QVERIFY(doc.saveBackup());

    QVERIFY(doc.save(folder.path(QStringLiteral("copy.kavio"))));
    QVERIFY(!doc.isModified());
    // The previous project folder is exactly as it was before the session: the file added during
    // the session went with the document, the removed one stays for the previous project, and the
    // backup (whose changes are now saved) is gone.
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo_res/added.png"))));
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo.kaviobak"))));
    const QStringList newFiles = folder.files().filter(QStringLiteral("copy"));
    QCOMPARE(newFiles, (QStringList{QStringLiteral("copy.kavio"), QStringLiteral("copy_res/added.png"),
                                    QStringLiteral("copy_res/logo.svg"), QStringLiteral("copy_res/photo.png"),
                                    QStringLiteral("copy_res/song.mp3")}));
    // The new project has the session's state; the file of the removed resource went along for an
    // undo and goes when the document closes.
    {
        KVDocument copy;
        QVERIFY(copy.load(folder.path(QStringLiteral("copy.kavio"))));
        QCOMPARE(copy.sceneList()->count(), 3);
        QCOMPARE(copy.resourceManager()->liveResources().size(), 3);
        QVERIFY(copy.resourceManager()->missingFiles().isEmpty());
    }
    doc.close();
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("copy_res/song.mp3"))));
    QVERIFY(QFileInfo::exists(folder.path(QStringLiteral("copy_res/added.png"))));

    for (const QString &f : folder.files().filter(QStringLiteral("copy")))
        QVERIFY(QFile::remove(folder.path(f)));
    QDir(folder.path(QStringLiteral("copy_res"))).removeRecursively();
    QCOMPARE(folder.sha(), before);
    QVERIFY(rec.texts().isEmpty());
}

void tst_DocumentSave::saveTo_dropsPreviewOutput()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    const QString before = folder.sha();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    // What a browser preview of this session wrote.
    QVERIFY(writeBytes(folder.path(QStringLiteral("demo_res/preview/demo.html")), "<html/>"));
    doc.addOwnedFile(QStringLiteral("demo_res/preview/demo.html"));
    QVERIFY(doc.save(folder.path(QStringLiteral("next.kavio"))));
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("next_res/preview"))));
    QVERIFY(doc.ownedFiles().filter(QStringLiteral("preview")).isEmpty());
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("demo_res/preview/demo.html"))));
    QDir(folder.path(QStringLiteral("demo_res/preview"))).removeRecursively();
    for (const QString &f : folder.files().filter(QStringLiteral("next")))
        QVERIFY(QFile::remove(folder.path(f)));
    QDir(folder.path(QStringLiteral("next_res"))).removeRecursively();
    QCOMPARE(folder.sha(), before);
}

void tst_DocumentSave::saveTo_overwriteQuestion()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    const QString strOther = folder.makeProject(QStringLiteral("other.kavio"), {{QStringLiteral("x.png"), "x"}}, 1);
    QVERIFY(writeBytes(folder.path(QStringLiteral("other.kaviobak")), "stale backup"));
    const QString before = folder.sha();
    const QString question = QStringLiteral("The selected folder has an existing project.\nDo you want to overwrite?");

    KVDocument doc;
    QVERIFY(doc.load(strFile));
    rec.answer(IReporter::No);
    QVERIFY(!doc.save(strOther));
    QCOMPARE(rec.lastText(), question);
    QCOMPARE(folder.sha(), before);

    rec.answer(IReporter::Yes);
    QVERIFY(doc.save(strOther));
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("other.kaviobak"))));
    QCOMPARE(readJson(strOther).value(QStringLiteral("document")).toObject().value(QStringLiteral("scenes")).toArray().size(), 2);
    QCOMPARE(readBytes(folder.path(QStringLiteral("other_res/photo.png"))), kResources.at(0).second);
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_DocumentSave::saveTo_openProjectRefused()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    const QString strOther = folder.makeProject(QStringLiteral("other.kavio"));
    KVDocument other;
    QVERIFY(other.load(strOther));
    const QString before = folder.sha();

    KVDocument doc;
    QVERIFY(doc.load(strFile));
    touch(doc);
    rec.answer(IReporter::Yes);
    QVERIFY(!doc.save(strOther));
    QCOMPARE(rec.lastText(), QStringLiteral("Cannot overwrite an opening project!"));
    QCOMPARE(doc.getFileName(), strFile);
    QVERIFY(doc.isModified());
    QCOMPARE(folder.sha(), before);
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_DocumentSave::saveTo_temporaryLeavesNoTrace()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("untitled.kavio"), kResources);
    QDir().mkpath(folder.path(QStringLiteral("real")));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    doc.setIsTempDocument(true);
    folder.addResource(doc, QStringLiteral("more.png"), "more");
    touch(doc);
    QVERIFY(doc.saveBackup());
    QVERIFY(doc.save(folder.path(QStringLiteral("real/work.kavio"))));
    QVERIFY(!doc.isTempDocument());
    QCOMPARE(folder.files(), (QStringList{QStringLiteral("real/work.kavio"), QStringLiteral("real/work_res/logo.svg"),
                                          QStringLiteral("real/work_res/more.png"), QStringLiteral("real/work_res/photo.png"),
                                          QStringLiteral("real/work_res/song.mp3")}));
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("untitled_res"))));
    // From now on it is a project like any other: closing keeps its files.
    doc.close();
    QCOMPARE(folder.files().size(), 5);
}

void tst_DocumentSave::saveTo_openedBackupRestoresOldProject()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    const QByteArray saved = readBytes(strFile);
    {
        KVDocument crashed;
        QVERIFY(crashed.load(strFile));
        crashed.sceneList()->addScene(crashed.sceneList()->createScene());
        touch(crashed);
        QVERIFY(crashed.saveBackup());
        crashed.fileLocker()->unlockAll();
    }
    rec.answerNamed(QStringLiteral("Open Backup"));
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(doc.isOpenAsBackup());
    QVERIFY(doc.save(folder.path(QStringLiteral("rescued.kavio"))));
    QVERIFY(!doc.isOpenAsBackup());
    // The previous project has its last saved file back; the backup's content is in the new one.
    QCOMPARE(readBytes(strFile), saved);
    QVERIFY(!QFileInfo::exists(strFile + QStringLiteral(".old")));
    QCOMPARE(readJson(folder.path(QStringLiteral("rescued.kavio"))).value(QStringLiteral("document")).toObject()
                 .value(QStringLiteral("scenes")).toArray().size(), 3);
    // Closing asks nothing more.
    QVERIFY(doc.closeProject());
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_DocumentSave::saveTo_progressAndCancel()
{
    RecordingReporter rec;
    ProjectFolder folder;
    // Just above the threshold over two files: the progress shows once for the whole copy.
    const QString strFile = folder.makeProject(QStringLiteral("big.kavio"),
                                               {{QStringLiteral("a.mp4"), patternBytes(12 * 1048576, 3)},
                                                {QStringLiteral("b.mp4"), patternBytes(9 * 1048576 + 10, 4)}});
    const QString before = folder.sha();
    RecordingProgress progress;
    KVDocument doc;
    doc.setProgress(&progress);
    QVERIFY(doc.load(strFile));

    progress.nCancelAfter = 5;
    QVERIFY(!doc.save(folder.path(QStringLiteral("copy.kavio"))));
    QVERIFY(rec.texts().isEmpty()); // a cancel is not an error
    QCOMPARE(progress.nBegins, 1);
    QCOMPARE(progress.nTotal, qint64(21 * 1048576 + 10));
    QCOMPARE(progress.nEnds, 1);
    QCOMPARE(doc.getFileName(), strFile);
    QCOMPARE(folder.sha(), before); // nothing of the new project is left

    // A cancel after the first file into a resource folder that was there: the files this save
    // made go, what was there stays.
    QVERIFY(writeBytes(folder.path(QStringLiteral("copy_res/theirs.png")), "theirs"));
    const QString withTheirs = folder.sha();
    progress = RecordingProgress();
    progress.nCancelAfter = 15;
    QVERIFY(!doc.save(folder.path(QStringLiteral("copy.kavio"))));
    QCOMPARE(folder.sha(), withTheirs);
    QVERIFY(QFile::remove(folder.path(QStringLiteral("copy_res/theirs.png"))));

    progress = RecordingProgress();
    QVERIFY(doc.save(folder.path(QStringLiteral("copy.kavio"))));
    QCOMPARE(progress.nBegins, 1);
    QCOMPARE(progress.values.last(), qint64(21 * 1048576 + 10));
    QCOMPARE(progress.values.size(), 22); // one per block of 1 MiB
    QCOMPARE(readBytes(folder.path(QStringLiteral("copy_res/b.mp4"))), patternBytes(9 * 1048576 + 10, 4));
}

void tst_DocumentSave::saveTo_movesPreloader()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"));
    {
        KVDocument doc;
        QVERIFY(doc.load(strFile));
        QVERIFY(doc.loadPreloader());
        folder.addResource(*doc.preloaderDocument(), QStringLiteral("spinner.png"), "spin");
        QVERIFY(doc.preloaderDocument()->save());
        QVERIFY(doc.closeProject());
    }
    const QString before = folder.sha();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    QVERIFY(doc.settings().m_bHasCustomLoader);
    QVERIFY(!doc.preloaderDocument());
    QVERIFY(doc.save(folder.path(QStringLiteral("next.kavio"))));
    QVERIFY(doc.preloaderDocument());
    QCOMPARE(doc.preloaderDocument()->getFileName(), folder.path(QStringLiteral("next_res/preloader/preloader.kavio")));
    QCOMPARE(readBytes(folder.path(QStringLiteral("next_res/preloader/preloader_res/spinner.png"))), QByteArray("spin"));
    QVERIFY(QFileInfo::exists(folder.path(QStringLiteral("demo_res/preloader/preloader_res/spinner.png"))));
    QVERIFY(doc.closeProject());
    // The previous project, preloader included, is as it was.
    const QStringList all = folder.files();
    for (const QString &f : all) {
        if (f.startsWith(QLatin1String("next")))
            QFile::remove(folder.path(f));
    }
    QDir(folder.path(QStringLiteral("next_res"))).removeRecursively();
    QCOMPARE(folder.sha(), before);
}

void tst_DocumentSave::saveTo_readOnlyDestination()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    ReadOnlyFolder readOnly(folder.path(QStringLiteral("locked")));
    if (!readOnly.isReady())
        QSKIP("no way to make a read-only folder here");
    const QString before = KVTestEnvironment::sha256OfTree(folder.path(QStringLiteral("demo_res")))
        + QString::fromLatin1(readBytes(strFile).toHex());
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    touch(doc);
    QVERIFY(!doc.save(folder.path(QStringLiteral("locked/copy.kavio"))));
    QCOMPARE(rec.lastText(), QStringLiteral("Could not copy project file."));
    QCOMPARE(doc.getFileName(), strFile);
    QVERIFY(doc.isModified());
    QCOMPARE(KVTestEnvironment::sha256OfTree(folder.path(QStringLiteral("demo_res")))
                 + QString::fromLatin1(readBytes(strFile).toHex()),
             before);
    // The document still saves where it is.
    QVERIFY(doc.save());
}

void tst_DocumentSave::save_diskFullKeepsLastSaved()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), {}, 1);
    const QString before = folder.sha();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    for (int i = 0; i < 60; ++i)
        doc.sceneList()->addScene(doc.sceneList()->createScene());
    touch(doc);
    {
        FileSizeLimit limit(4096);
        QVERIFY(limit.isActive());
        QVERIFY(!doc.save());
    }
    QCOMPARE(rec.lastText(), QStringLiteral("Error when saving document information."));
    QVERIFY(doc.isModified());
    QCOMPARE(doc.sceneList()->count(), 61);
    QCOMPARE(folder.sha(), before); // the last saved file, and no temporary file beside it
    QVERIFY(doc.fileLocker()->isLocked(strFile));
    QVERIFY(doc.save());
    KVDocument reopened;
    QVERIFY(reopened.load(strFile) || true);
    QCOMPARE(readJson(strFile).value(QStringLiteral("document")).toObject().value(QStringLiteral("scenes")).toArray().size(), 61);
}

void tst_DocumentSave::saveTo_diskFullKeepsEverything()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"),
                                               {{QStringLiteral("small.png"), patternBytes(1000, 5)},
                                                {QStringLiteral("large.mp4"), patternBytes(300000, 6)}});
    const QString before = folder.sha();
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    touch(doc);
    {
        FileSizeLimit limit(100000);
        QVERIFY(limit.isActive());
        QVERIFY(!doc.save(folder.path(QStringLiteral("copy.kavio"))));
    }
    QCOMPARE(rec.lastText(), QStringLiteral("Error when saving resource file."));
    QCOMPARE(doc.getFileName(), strFile);
    QVERIFY(doc.isModified());
    QCOMPARE(folder.sha(), before);
    QCOMPARE(QDir(folder.projects()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("demo.kavio"), QStringLiteral("demo_res")}));
    // The owned files and their locks are those of the previous project still.
    QVERIFY(doc.fileLocker()->isLocked(folder.path(QStringLiteral("demo_res/large.mp4"))));
    QVERIFY(doc.ownedFiles().contains(QStringLiteral("demo_res/large.mp4")));
}

void tst_DocumentSave::saveAs_throughHost()
{
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), kResources);
    KVDocument doc;
    QVERIFY(doc.load(strFile));
    // Headless there is no dialog to ask.
    QVERIFY(!doc.saveAs());

    TestHost host;
    QVERIFY(!doc.saveAs()); // the dialog was cancelled
    QCOMPARE(host.titles, QStringList{QStringLiteral("Save As")});
    QCOMPARE(host.names, QStringList{QStringLiteral("demo")});
    QVERIFY(host.moves.isEmpty());

    host.answers << folder.path(QStringLiteral("renamed.kavio"));
    QVERIFY(doc.saveAs());
    QCOMPARE(doc.getFileName(), folder.path(QStringLiteral("renamed.kavio")));
    QCOMPARE(host.moves, QStringList{folder.path(QStringLiteral("demo_res")) + QStringLiteral(" -> ")
                                     + folder.path(QStringLiteral("renamed_res"))});
    QVERIFY(rec.texts().isEmpty());
}

namespace {
// The entries of a package as Python's zipfile reads them: "name:method" with 0 stored and 8
// deflated, sorted; empty when Python refuses the file.
QStringList zipEntries(const QString &strPackage)
{
    QStringList entries = kvZipListing(strPackage, QStringLiteral("'%s:%d' % (i.filename, i.compress_type)"));
    entries.sort();
    return entries;
}

// The "document" object of a project file without what a save stamps anew.
QJsonObject documentOf(const QString &strProjectFile)
{
    return readJson(strProjectFile).value(QStringLiteral("document")).toObject();
}

// A symbol made of one named rectangle.
bool writeSymbolFile(const QString &strPath, const QString &strSceneName, KVResource *pInstanceOf = nullptr,
                     KVResourceManager *pManager = nullptr)
{
    KVSymbol symbol;
    KVScene *pScene = symbol.sceneList()->createScene();
    pScene->setName(strSceneName);
    symbol.sceneList()->addScene(pScene);
    KVElement *pElement = KVElementFactory::createElement(pInstanceOf ? KVElementType::Symbol : KVElementType::Div);
    pScene->addElement(pElement);
    if (pInstanceOf)
        static_cast<KVSymbolElement *>(pElement)->setSymbol(pInstanceOf, pManager);
    return KVSymbolResources::writeSymbolFile(symbol, strPath);
}

KVResource *addSymbolResource(KVDocument &doc, const QString &strName)
{
    KVResource *pResource = KVResource::create(KVResourceType::Symbol);
    pResource->setName(strName);
    pResource->setFileName(strName + QStringLiteral(".kaviosym"));
    doc.resourceManager()->addResource(pResource);
    return pResource;
}

void placeInstance(KVDocument &doc, int nScene, KVResource *pSymbol)
{
    KVElement *pElement = KVElementFactory::createElement(KVElementType::Symbol);
    doc.sceneList()->at(nScene)->addElement(pElement);
    static_cast<KVSymbolElement *>(pElement)->setSymbol(pSymbol, doc.resourceManager());
}

// A project with the symbol "badge" placed in both scenes and nested in the symbol "frame", which
// the second scene shows too. Returns the project file.
QString makeSymbolProject(ProjectFolder &folder)
{
    const QString strFile = folder.makeProject(QStringLiteral("demo.kavio"), {{QStringLiteral("photo.png"), "png"}});
    KVDocument doc;
    if (!doc.load(strFile))
        return QString();
    KVResource *pBadge = addSymbolResource(doc, QStringLiteral("badge"));
    KVResource *pFrame = addSymbolResource(doc, QStringLiteral("frame"));
    if (!writeSymbolFile(folder.path(QStringLiteral("demo_res/badge.kaviosym")), QStringLiteral("Badge"))
        || !writeSymbolFile(folder.path(QStringLiteral("demo_res/frame.kaviosym")), QStringLiteral("Frame"), pBadge,
                            doc.resourceManager()))
        return QString();
    placeInstance(doc, 0, pBadge);
    placeInstance(doc, 1, pBadge);
    placeInstance(doc, 1, pFrame);
    if (!doc.save() || !doc.closeProject())
        return QString();
    return strFile;
}
} // namespace

void tst_DocumentSave::package_roundTrip_data()
{
    QTest::addColumn<bool>("bResources");
    QTest::addColumn<bool>("bPreloader");
    QTest::addColumn<bool>("bSymbols");
    QTest::addColumn<QStringList>("entries");
    const QString strProject = QStringLiteral("kavio-studio.kavio:8");
    QTest::newRow("no resources") << false << false << false << QStringList{strProject};
    // Every entry is deflated, media too.
    const QStringList resources{QStringLiteral("kavio-studio_res/logo.svg:8"), QStringLiteral("kavio-studio_res/photo.png:8"),
                                QStringLiteral("kavio-studio_res/song.mp3:8")};
    QTest::newRow("resources") << true << false << false << (QStringList{strProject} + resources);
    QStringList withPreloader = QStringList{strProject} + resources
        + QStringList{QStringLiteral("kavio-studio_res/preloader/preloader.kavio:8"),
                      QStringLiteral("kavio-studio_res/preloader/preloader_res/spinner.png:8")};
    withPreloader.sort();
    QTest::newRow("custom preloader") << true << true << false << withPreloader;
    // A symbol placed in two scenes and nested in another is one entry.
    QTest::newRow("symbols") << false << false << true
                             << QStringList{strProject, QStringLiteral("kavio-studio_res/badge.kaviosym:8"),
                                            QStringLiteral("kavio-studio_res/frame.kaviosym:8"),
                                            QStringLiteral("kavio-studio_res/photo.png:8")};
}

void tst_DocumentSave::package_roundTrip()
{
    QFETCH(bool, bResources);
    QFETCH(bool, bPreloader);
    QFETCH(bool, bSymbols);
    QFETCH(QStringList, entries);
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = bSymbols ? makeSymbolProject(folder)
                                     : folder.makeProject(QStringLiteral("demo.kavio"),
                                                          bResources ? kResources : QList<QPair<QString, QByteArray>>());
    QVERIFY(!strFile.isEmpty());
    if (bPreloader) {
        KVDocument doc;
        QVERIFY(doc.load(strFile));
        QVERIFY(doc.loadPreloader());
        folder.addResource(*doc.preloaderDocument(), QStringLiteral("spinner.png"), "spin");
        QVERIFY(doc.preloaderDocument()->save());
        QVERIFY(doc.closeProject());
    }
    const QString before = folder.sha();
    QVERIFY(QDir().mkpath(folder.root() + QStringLiteral("/out")));
    const QString strPackage = folder.root() + QStringLiteral("/out/demo.KavioPack");

    KVDocument doc;
    QVERIFY(doc.load(strFile));
    touch(doc);
    QVERIFY(doc.save(strPackage));
    QCOMPARE(rec.lastText(), QStringLiteral("Save to package successfully."));
    // The project stays where it was, unsaved, and its folder unchanged.
    QCOMPARE(doc.getFileName(), strFile);
    QVERIFY(doc.isModified());
    QCOMPARE(folder.sha(), before);
    QCOMPARE(zipEntries(strPackage), entries);
    QCOMPARE(QDir(folder.root() + QStringLiteral("/out")).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("demo.KavioPack")});

    // Opened as a new project through the Import Project dialog.
    TestHost host;
    const QString strImported = folder.root() + QStringLiteral("/imported/show/show.kavio");
    QVERIFY(QDir().mkpath(QFileInfo(strImported).absolutePath()));
    host.answers << strImported;
    rec.clear();
    KVDocument imported;
    QVERIFY(imported.load(strPackage));
    QCOMPARE(host.titles, QStringList{QStringLiteral("Import Project")});
    QCOMPARE(host.names, QStringList{QStringLiteral("demo")});
    QCOMPARE(imported.getFileName(), strImported);
    QVERIFY(rec.texts().isEmpty());
    QCOMPARE(documentOf(strImported), documentOf(strFile));
    for (const auto &res : bResources ? kResources : QList<QPair<QString, QByteArray>>())
        QCOMPARE(readBytes(folder.root() + QStringLiteral("/imported/show/show_res/") + res.first), res.second);
    QCOMPARE(imported.sceneList()->count(), doc.sceneList()->count());
    QCOMPARE(imported.symbolResources()->count(), bSymbols ? 2 : 0);
    QCOMPARE(imported.settings().m_bHasCustomLoader, bPreloader);
    if (bPreloader) {
        QVERIFY(imported.loadPreloader());
        QCOMPARE(imported.preloaderDocument()->resourceManager()->liveResources().size(), 1);
        QCOMPARE(readBytes(folder.root() + QStringLiteral("/imported/show/show_res/preloader/preloader_res/spinner.png")),
                 QByteArray("spin"));
    }
    // The tool writes the same package and reads it as the editor does.
    const QString strTool = QCoreApplication::applicationDirPath() + QStringLiteral("/kavio");
    const QString strToolPackage = folder.root() + QStringLiteral("/out/tool.kaviopack");
    QProcess tool;
    tool.start(strTool, {QStringLiteral("save-as"), strFile, strToolPackage});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(zipEntries(strToolPackage), entries);
    tool.start(strTool, {QStringLiteral("check"), strToolPackage});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY(tool.readAllStandardOutput().startsWith("scenes=2 "));
}

void tst_DocumentSave::package_failures_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message"); // empty for a cancel
    QTest::newRow("export cancelled") << QStringLiteral("cancel export") << QString();
    QTest::newRow("import cancelled") << QStringLiteral("cancel import") << QString();
    QTest::newRow("truncated") << QStringLiteral("truncate") << QStringLiteral("Cannot open package file.");
    QTest::newRow("damaged resource") << QStringLiteral("flip") << QStringLiteral("Cannot read project resources.");
    QTest::newRow("not a package") << QStringLiteral("text") << QStringLiteral("Cannot open package file.");
    QTest::newRow("no project inside") << QStringLiteral("no project") << QStringLiteral("Cannot read project data.");
    QTest::newRow("project not JSON") << QStringLiteral("bad json") << QStringLiteral("The project file format is invalid.");
    QTest::newRow("missing") << QStringLiteral("missing") << QStringLiteral("The package file doesn't exist.");
}

void tst_DocumentSave::package_failures()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    RecordingReporter rec;
    ProjectFolder folder;
    // Above the progress threshold, in blocks that can be counted.
    const QByteArray big = patternBytes(21 * 1048576 + 10, 5);
    const QString strFile = folder.makeProject(QStringLiteral("big.kavio"),
                                               {{QStringLiteral("a.mp4"), big}, {QStringLiteral("b.svg"), "<svg/>"}});
    const QString strPackage = folder.root() + QStringLiteral("/big.kaviopack");
    RecordingProgress progress;
    KVDocument doc;
    doc.setProgress(&progress);
    QVERIFY(doc.load(strFile));
    if (damage == QLatin1String("cancel export")) {
        // A package that was there stays as it was, and no part of the new one is left.
        QVERIFY(writeBytes(strPackage, "previous"));
        const QString before = KVTestEnvironment::sha256OfTree(folder.root());
        progress.nCancelAfter = 5;
        QVERIFY(!doc.save(strPackage));
        QVERIFY(rec.texts().isEmpty());
        QCOMPARE(progress.nBegins, 1);
        QCOMPARE(progress.nEnds, 1);
        QCOMPARE(KVTestEnvironment::sha256OfTree(folder.root()), before);
        return;
    }
    QVERIFY(doc.save(strPackage));
    QByteArray package = readBytes(strPackage);
    if (damage == QLatin1String("truncate")) {
        package.truncate(package.size() / 2);
    } else if (damage == QLatin1String("flip")) {
        const int nAt = package.indexOf(big.left(64));
        QVERIFY(nAt > 0);
        package[nAt + 500000] = char(package.at(nAt + 500000) ^ 0x10);
    } else if (damage == QLatin1String("text")) {
        package = "This is not a package.";
    } else if (damage == QLatin1String("no project") || damage == QLatin1String("bad json")) {
        KVPackageWriter writer;
        if (damage == QLatin1String("bad json"))
            writer.addData(QStringLiteral("kavio-studio.kavio"), "{\"document\":", QString(), QString());
        writer.addData(QStringLiteral("kavio-studio_res/a.svg"), "<svg/>", QString(), QString());
        QVERIFY(writer.write(strPackage));
        package = readBytes(strPackage);
    } else if (damage == QLatin1String("missing")) {
        package.clear();
    }
    QVERIFY(QFile::remove(strPackage));
    if (!package.isEmpty())
        QVERIFY(writeBytes(strPackage, package));

    TestHost host;
    host.pProgress = &progress;
    const QString strTarget = folder.root() + QStringLiteral("/imported/big/big.kavio");
    QVERIFY(QDir().mkpath(QFileInfo(strTarget).absolutePath()));
    host.answers << strTarget;
    progress = RecordingProgress();
    if (damage == QLatin1String("cancel import"))
        progress.nCancelAfter = 5;
    rec.clear();
    const QString before = KVTestEnvironment::sha256OfTree(folder.root());
    KVDocument imported;
    QVERIFY(!imported.load(strPackage));
    if (message.isEmpty()) {
        QVERIFY(rec.texts().isEmpty());
        QCOMPARE(progress.nBegins, 1);
        QCOMPARE(progress.nEnds, 1);
    } else {
        QCOMPARE(rec.lastText(), message);
    }
    // Nothing of the new project is left, and the open project is as it was.
    QCOMPARE(KVTestEnvironment::sha256OfTree(folder.root()), before);
    QVERIFY(QDir(QFileInfo(strTarget).absolutePath()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QCOMPARE(doc.getFileName(), strFile);
}

void tst_DocumentSave::symbolFiles_data()
{
    QTest::addColumn<bool>("bBackup");
    QTest::newRow("save") << false;
    QTest::newRow("backup") << true;
}

void tst_DocumentSave::symbolFiles()
{
    QFETCH(bool, bBackup);
    RecordingReporter rec;
    ProjectFolder folder;
    const QString strFile = makeSymbolProject(folder);
    QVERIFY(!strFile.isEmpty());
    // A symbol placed twice and nested in another is one file.
    QCOMPARE(folder.files(), (QStringList{QStringLiteral("demo.kavio"), QStringLiteral("demo_res/badge.kaviosym"),
                                          QStringLiteral("demo_res/frame.kaviosym"), QStringLiteral("demo_res/photo.png")}));
    const QString strBadge = folder.path(QStringLiteral("demo_res/badge.kaviosym"));
    {
        KVDocument doc;
        QVERIFY(doc.load(strFile));
        QCOMPARE(doc.symbolResources()->count(), 2);
        KVResource *pBadge = doc.resourceManager()->resourceByName(QStringLiteral("badge"));
        QVERIFY(pBadge);
        // The symbol as the document keeps it goes to its file with the save or the backup.
        doc.symbolResources()->symbol(pBadge->id())->sceneList()->at(0)->setName(QStringLiteral("Changed"));
        touch(doc);
        QVERIFY(bBackup ? doc.saveBackup() : doc.save());
        QVERIFY(readBytes(strBadge).contains("\"Changed\""));
        QVERIFY(doc.fileLocker()->isLocked(strBadge));
        // A backup stays for the next open to offer.
        if (!bBackup)
            doc.close();
    }
    if (bBackup)
        rec.answerNamed(QStringLiteral("Open Backup"));
    KVDocument reopened;
    QVERIFY(reopened.load(strFile));
    const int nBadge = reopened.resourceManager()->resourceByName(QStringLiteral("badge"))->id();
    QCOMPARE(reopened.symbolResources()->symbol(nBadge)->sceneList()->at(0)->name(), QStringLiteral("Changed"));

    // A symbol file that cannot be written stops the save and the backup.
    reopened.fileLocker()->unlock(strBadge);
    QVERIFY(QFile::remove(strBadge));
    QVERIFY(QDir().mkpath(strBadge));
    touch(reopened);
    const QString failure = QStringLiteral("Cannot save project. Some symbols cannot be saved.");
    QVERIFY(!reopened.save());
    QCOMPARE(rec.lastText(), failure);
    QVERIFY(reopened.isModified());
    QVERIFY(!reopened.saveBackup());
    QVERIFY(!reopened.save(folder.path(QStringLiteral("copy.kavio"))));
    QCOMPARE(rec.lastText(), failure);
    QVERIFY(!QFileInfo::exists(folder.path(QStringLiteral("copy.kavio"))));

    // A symbol file that is not symbol data stops the open.
    QVERIFY(QDir(strBadge).removeRecursively());
    QVERIFY(writeBytes(strBadge, "not a symbol"));
    KVDocument broken;
    QVERIFY(!broken.load(strFile));
    QCOMPARE(rec.lastText(), QStringLiteral("Cannot open project.\nError while loading symbol resources."));
}

KAVIO_TEST_MAIN(tst_DocumentSave)
#include "tst_documentsave.moc"
