// The resource manager at work on a project folder: kinds and file names, importing files into the
// resource folder, ids and use counts, removal, image sizes, large copies with progress and cancel,
// content hashes, the include order and copies between documents.

#include "KVResourceTestContext.h"

#include "model/KVBackground.h"
#include "resources/KVFileCopier.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSignalSpy>

#include <QJsonArray>
#include <QJsonObject>

#include <limits>
#include <memory>

class tst_ResourceManager : public QObject
{
    Q_OBJECT

private slots:
    void typeOfFile_data();
    void typeOfFile();
    void importableKindsLeaveFontsOut();
    void sanitizedNames_data();
    void sanitizedNames();

    void importCopiesFileIntoResourceFolder();
    void importNamesFilesUniquely_data();
    void importNamesFilesUniquely();
    void importNeverReplacesFilesInTheFolder();
    void importRejectsBadFiles_data();
    void importRejectsBadFiles();
    void importWithoutResourceFolderIsRefused();
    void importMedia();

    void idsAreUniqueAndContinue();
    void useCountsThroughFills();
    void removal_data();
    void removal();

    void imageSizeIsReadOnce();
    void imageOfUnreadableFileIsReported();

    void smallCopyShowsNoProgress();
    void largeCopyShowsProgressInBlocks();
    void cancelledImportLeavesNothing();
    void copierKeepsTargetsWhole_data();
    void copierKeepsTargetsWhole();

    void hashLookup();
    void includeOrder();
    void copyBetweenDocuments();
    void updateFromOriginal();
    void codeContent();

private:
    static QList<int> ids(const QList<KVResource *> &resources);
};

QList<int> tst_ResourceManager::ids(const QList<KVResource *> &resources)
{
    QList<int> list;
    for (const KVResource *p : resources)
        list << p->id();
    return list;
}

void tst_ResourceManager::typeOfFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("type");
    QTest::newRow("png") << "a.png" << 0;
    QTest::newRow("upper JPG") << "a.JPG" << 0;
    QTest::newRow("svg is an image") << "a.svg" << 0;
    QTest::newRow("mp3") << "song.mp3" << 1;
    QTest::newRow("oga") << "song.Oga" << 1;
    QTest::newRow("webm") << "clip.webm" << 2;
    QTest::newRow("symbol") << "thing.kaviosym" << 3;
    QTest::newRow("ttf") << "font.ttf" << 4;
    QTest::newRow("woff2") << "font.woff2" << 4;
    QTest::newRow("js") << "code.js" << 5;
    QTest::newRow("css") << "look.CSS" << 6;
    QTest::newRow("html") << "page.html" << 7;
    QTest::newRow("htm is not a page") << "page.htm" << -1;
    QTest::newRow("text") << "notes.txt" << -1;
    QTest::newRow("no suffix") << "README" << -1;
}

void tst_ResourceManager::typeOfFile()
{
    QFETCH(QString, file);
    QFETCH(int, type);
    QCOMPARE(KVResourceType::typeOfFile(file), type);
}

void tst_ResourceManager::importableKindsLeaveFontsOut()
{
    const QStringList all = KVResourceType::suffixes(KVResourceType::AnyImportable);
    QVERIFY(all.contains("kaviosym"));
    QVERIFY(all.contains("svg"));
    QVERIFY(all.contains("html"));
    QVERIFY(!all.contains("ttf"));
    QVERIFY(!all.contains("woff"));
    QVERIFY(KVResourceType::acceptsSuffix(KVResourceType::Font, "OTF"));
    QVERIFY(!KVResourceType::acceptsSuffix(KVResourceType::AnyImportable, "otf"));
    QVERIFY(KVResourceType::allKindsFilter().startsWith("All Files (*.*);;Image Files ("));
    QVERIFY(KVResourceType::allKindsFilter().endsWith(";;Symbol Files (*.kaviosym)"));
}

void tst_ResourceManager::sanitizedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("otherName");
    QTest::newRow("colon and question mark") << "a:b?.png" << "a_b_.png" << "a_b_.png";
    QTest::newRow("slashes") << "x/y\\z" << "x_y_z" << "x/y\\z";
    QTest::newRow("quotes, brackets, bar, star") << "\"<a>|*\"" << "__a____" << "__a____";
    QTest::newRow("line feed") << "a\nb" << "a_b" << "a_b";
    QTest::newRow("parent folder") << ".." << "__" << "..";
    QTest::newRow("plain") << "logo.png" << "logo.png" << "logo.png";
}

void tst_ResourceManager::sanitizedNames()
{
    QFETCH(QString, name);
    QFETCH(QString, fileName);
    QFETCH(QString, otherName);
    QCOMPARE(KVResourceType::sanitizedFileName(name), fileName);
    QCOMPARE(KVResourceType::sanitizedName(name), otherName);
}

void tst_ResourceManager::importCopiesFileIntoResourceFolder()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    QSignalSpy stored(&manager, &KVResourceManager::fileStored);
    const QString strSource = ctx.writeImage("logo.png", 40, 30);
    const QByteArray original = fileBytes(strSource);

    std::unique_ptr<KVResource> pImage(manager.importFile(strSource));
    QVERIFY(pImage);
    QCOMPARE(pImage->type(), 0);
    QCOMPARE(pImage->name(), QString("logo"));
    QCOMPARE(pImage->fileName(), QString("logo.png"));
    QCOMPARE(pImage->dataSize(), qint64(original.size()));
    QCOMPARE(pImage->originalPath(), QFileInfo(strSource).absoluteFilePath());
    QVERIFY(pImage->id() >= 1);
    QCOMPARE(fileBytes(ctx.resources() + "/logo.png"), original);
    QCOMPARE(fileBytes(strSource), original);
    QCOMPARE(stored.count(), 1);
    QCOMPARE(stored.at(0).at(0).toString(), QString("demo_res/logo.png"));
    // Imported, not yet added: the adding command does that.
    QVERIFY(!manager.resource(pImage->id()));
    const int nId = pImage->id();
    QVERIFY(manager.addResource(pImage.release()));
    QVERIFY(manager.hasImage(nId));
    QCOMPARE(manager.imageSize(nId), QSize(40, 30));
    QCOMPARE(manager.referencedFiles(), QStringList{"demo_res/logo.png"});
    QCOMPARE(manager.fileHash(manager.resource(nId)), KVResourceManager::hashOfFile(strSource));
}

void tst_ResourceManager::importNamesFilesUniquely_data()
{
    QTest::addColumn<QStringList>("imports");
    QTest::addColumn<QStringList>("fileNames");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("second logo")
        << QStringList{"logo.png", "logo.png"} << QStringList{"logo.png", "logo_1.png"}
        << QStringList{"logo", "logo_1"};
    QTest::newRow("third logo")
        << QStringList{"logo.png", "logo.png", "logo.png"}
        << QStringList{"logo.png", "logo_1.png", "logo_2.png"} << QStringList{"logo", "logo_1", "logo_2"};
    QTest::newRow("first free counter")
        << QStringList{"logo_1.png", "logo.png", "logo.png"}
        << QStringList{"logo_1.png", "logo.png", "logo_2.png"} << QStringList{"logo_1", "logo", "logo_2"};
    QTest::newRow("case differs")
        << QStringList{"Logo.png", "logo.PNG"} << QStringList{"Logo.png", "logo_1.PNG"}
        << QStringList{"Logo", "logo_1"};
    QTest::newRow("no suffix clash across kinds")
        << QStringList{"intro.mp3", "intro.mp4"} << QStringList{"intro.mp3", "intro.mp4"}
        << QStringList{"intro", "intro_1"};
    QTest::newRow("colon and question mark")
        << QStringList{"a:b?.js"} << QStringList{"a_b_.js"} << QStringList{"a_b_"};
}

void tst_ResourceManager::importNamesFilesUniquely()
{
    QFETCH(QStringList, imports);
    QFETCH(QStringList, fileNames);
    QFETCH(QStringList, names);
    TestContext ctx;
    KVResourceManager manager(&ctx);
    QStringList gotFiles;
    QStringList gotNames;
    for (int i = 0; i < imports.size(); ++i) {
        // Each source in a folder of its own, so that equal names can be imported again.
        const QString strDir = ctx.sources() + "/" + QString::number(i);
        QDir().mkpath(strDir);
        const QString strPath = strDir + "/" + imports[i];
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("content ") + QByteArray::number(i));
        file.close();
        KVResource *pResource = manager.importFile(strPath);
        QVERIFY2(pResource, qPrintable(imports[i]));
        gotFiles << pResource->fileName();
        gotNames << pResource->name();
        QVERIFY(manager.addResource(pResource));
        QCOMPARE(fileBytes(ctx.resources() + "/" + pResource->fileName()),
                 QByteArray("content ") + QByteArray::number(i));
    }
    QCOMPARE(gotFiles, fileNames);
    QCOMPARE(gotNames, names);
}

void tst_ResourceManager::importNeverReplacesFilesInTheFolder()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    // A file nobody knows, and the file of a deleted resource (kept for undo).
    QDir().mkpath(ctx.resources());
    QFile stray(ctx.resources() + "/logo.png");
    QVERIFY(stray.open(QIODevice::WriteOnly));
    stray.write("stray");
    stray.close();
    KVResource *pOld = manager.importFile(ctx.writeFile("old.js", "old()"));
    QVERIFY(manager.addResource(pOld));
    QVERIFY(manager.removeResources({pOld->id()}));

    KVResource *pLogo = manager.importFile(ctx.writeImage("logo.png", 4, 4));
    KVResource *pScript = manager.importFile(ctx.writeFile("old.js", "new()"));
    QCOMPARE(pLogo->fileName(), QString("logo_1.png"));
    QCOMPARE(pScript->fileName(), QString("old_1.js"));
    QCOMPARE(fileBytes(ctx.resources() + "/logo.png"), QByteArray("stray"));
    QCOMPARE(fileBytes(ctx.resources() + "/old.js"), QByteArray("old()"));
    QCOMPARE(fileBytes(ctx.resources() + "/old_1.js"), QByteArray("new()"));
    delete pLogo;
    delete pScript;
}

void tst_ResourceManager::importRejectsBadFiles_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("create");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown suffix") << "notes.txt" << true << -1
                                    << "Could not import %1.\nFile format may not be supported.";
    QTest::newRow("font among importables") << "face.ttf" << true << -1
                                            << "Could not import %1.\nFile format may not be supported.";
    QTest::newRow("audio as image") << "song.mp3" << true << 0
                                    << "Could not import %1.\nFile format may not be supported.";
    QTest::newRow("missing file") << "gone.png" << false << -1 << "Could not read file %1";
}

void tst_ResourceManager::importRejectsBadFiles()
{
    QFETCH(QString, fileName);
    QFETCH(bool, create);
    QFETCH(int, type);
    QFETCH(QString, message);
    TestContext ctx;
    KVResourceManager manager(&ctx);
    const QString strPath = create ? ctx.writeFile(fileName, "data")
                                   : ctx.sources() + "/" + fileName;
    const QString strGood = ctx.writeImage("good.png", 2, 2);

    // With a list the caller reports; the good file is still imported.
    {
        RecordingReporter rec;
        QStringList failed;
        const QList<KVResource *> created = manager.importFiles({strPath, strGood}, type < 0 ? -1 : 0, &failed);
        QCOMPARE(failed, QStringList{strPath});
        QCOMPARE(created.size(), 1);
        QCOMPARE(created.first()->fileName(), QString("good.png"));
        QVERIFY(rec.texts().isEmpty());
        qDeleteAll(created);
    }
    // Without a list each failure is reported by itself.
    RecordingReporter rec;
    QVERIFY(!manager.importFile(strPath, type));
    QCOMPARE(rec.texts(), QStringList{message.arg(strPath)});
    QCOMPARE(rec.entries().first().title, QString("Kavio Studio"));
    QCOMPARE(ctx.storedFiles(), QStringList{"good.png"});
}

void tst_ResourceManager::importWithoutResourceFolderIsRefused()
{
    RecordingReporter rec;
    IKVDocumentContext noFolder;
    TestContext ctx;
    KVResourceManager manager(&noFolder);
    QStringList failed;
    const QString strPath = ctx.writeImage("a.png", 2, 2);
    QVERIFY(manager.importFiles({strPath}, -1, &failed).isEmpty());
    QCOMPARE(failed, QStringList{strPath});
    QCOMPARE(rec.texts(), QStringList{"The resources folder is undefined or inaccessible."});
}

void tst_ResourceManager::importMedia()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    const QList<KVResource *> created = manager.importFiles(
        {ctx.writeFile("intro.mp3", QByteArray(300, 'a')), ctx.writeFile("clip.webm", QByteArray(500, 'v'))});
    QCOMPARE(created.size(), 2);
    auto *pAudio = dynamic_cast<MediaResource *>(created[0]);
    auto *pVideo = dynamic_cast<MediaResource *>(created[1]);
    QVERIFY(pAudio && pVideo);
    QCOMPARE(pAudio->type(), 1);
    QCOMPARE(pVideo->type(), 2);
    QCOMPARE(pAudio->fileNameList(), QStringList{"intro.mp3"});
    QCOMPARE(pVideo->mediaSize(), QSize(0, 0));
    QCOMPARE(pVideo->dataSize(), qint64(500));
    for (KVResource *p : created)
        QVERIFY(manager.addResource(p));

    // A second format of the same medium joins the group under its own unique name.
    const QString strStored = manager.storeFile(ctx.writeFile("intro.ogg", "ogg"));
    QCOMPARE(strStored, QString("intro.ogg"));
    QCOMPARE(pAudio->setFormatFile(strStored), QString());
    QCOMPARE(pAudio->fileNameList(), (QStringList{"intro.mp3", "intro.ogg"}));
    QCOMPARE(pAudio->fileName(), QString("intro.mp3"));
    QCOMPARE(manager.referencedFiles(),
             (QStringList{"demo_res/intro.mp3", "demo_res/intro.ogg", "demo_res/clip.webm"}));
    QVERIFY(pAudio->removeFormat("MP3"));
    QCOMPARE(pAudio->fileName(), QString("intro.ogg"));
    QVERIFY(!pVideo->setMediaSize(QSize(640, 0)));
    QCOMPARE(pVideo->mediaSize(), QSize(0, 0));
}

void tst_ResourceManager::idsAreUniqueAndContinue()
{
    KVResourceManager manager;
    auto *pA = new KVResource(KVResourceType::Image, "a", "a.png");
    auto *pB = new KVResource(KVResourceType::Symbol, "b", "b.kaviosym");
    QVERIFY(manager.addResource(pA));
    QVERIFY(manager.addResource(pB));
    QCOMPARE(pA->id(), 1);
    QCOMPARE(pB->id(), 2);
    // A resource that brings a free id keeps it; the counter moves past it.
    auto *pC = new KVResource(KVResourceType::Image, "c", "c.png");
    pC->setId(10);
    QVERIFY(manager.addResource(pC));
    QCOMPARE(pC->id(), 10);
    // One whose id is taken gets a new one.
    auto *pD = new KVResource(KVResourceType::Image, "d", "d.png");
    pD->setId(2);
    QVERIFY(manager.addResource(pD));
    QCOMPARE(pD->id(), 11);
    QCOMPARE(ids(manager.resources()), (QList<int>{1, 2, 10, 11}));
    // Adding again undeletes and keeps the id.
    manager.setResourceDeleted(2, true);
    QVERIFY(manager.addResource(pB));
    QCOMPARE(pB->id(), 2);
    QVERIFY(!pB->isDeleted());
    QCOMPARE(manager.resources().size(), 4);
    // Taking a resource out gives it back; its id is not given again.
    std::unique_ptr<KVResource> pTaken(manager.takeResource(11));
    QCOMPARE(pTaken.get(), pD);
    QCOMPARE(manager.nextId(), 12);
    QVERIFY(!manager.addResource(nullptr));
    std::unique_ptr<KVResource> pUnknown(new KVResource(42));
    QVERIFY(!manager.addResource(pUnknown.get()));
    QVERIFY(!manager.resource(pUnknown->id()));

    // Ids at the top of the int range (a damaged file) never make the counter run over: the
    // next ids are free ones.
    auto *pTop = new KVResource(KVResourceType::Image, "top", "top.png");
    pTop->setId(std::numeric_limits<int>::max());
    QVERIFY(manager.addResource(pTop));
    QCOMPARE(manager.takeId(), 12);
    KVResourceManager read;
    QJsonArray jaRead;
    for (const int nId : {1, std::numeric_limits<int>::max()})
        jaRead.append(QJsonObject{{"id", nId}, {"type", KVResourceType::Image}, {"name", "r"}, {"fileName", "r.png"}});
    read.fromJson(jaRead, 2);
    QCOMPARE(read.resources().size(), 2);
    QCOMPARE(read.takeId(), 2);
}

void tst_ResourceManager::useCountsThroughFills()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    KVResource *pImage = manager.importFile(ctx.writeImage("fill.png", 12, 8));
    QVERIFY(manager.addResource(pImage));
    const int nId = pImage->id();
    auto *pScript = new KVOtherResource(KVResourceType::Script, "s", "s.js");
    QVERIFY(manager.addResource(pScript));
    QVERIFY(!manager.hasImage(pScript->id()));
    QVERIFY(!manager.hasImage(999));
    QVERIFY(manager.isDeleted(999));

    {
        KVBackground fill(KVBackground::ImageFill);
        fill.setImageUseCounter(&manager);
        QVERIFY(fill.setImageResourceId(nId));
        QCOMPARE(pImage->useCount(), 1);
        KVBackground copy(fill);
        QCOMPARE(pImage->useCount(), 2);
        QJsonArray ja;
        fill.toPlayerJson(ja);
        QCOMPARE(ja, (QJsonArray{3, nId, 0, 12, 8}));
        QVERIFY(manager.unusedResources().contains(pScript));
        QVERIFY(!manager.unusedResources().contains(pImage));
    }
    QCOMPARE(pImage->useCount(), 0);
    // A release without a count changes nothing.
    QVERIFY(!manager.releaseResource(nId));
    QCOMPARE(pImage->useCount(), 0);
    QVERIFY(manager.retainResource(nId));
    QVERIFY(!manager.retainResource(999));
    QCOMPARE(pImage->useCount(), 1);
}

void tst_ResourceManager::removal_data()
{
    QTest::addColumn<QList<int>>("inUse");
    QTest::addColumn<QList<int>>("remove");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("unused") << QList<int>{} << QList<int>{1, 2} << true;
    QTest::newRow("one in use refuses all") << QList<int>{2} << QList<int>{1, 2} << false;
    QTest::newRow("the used one not asked") << QList<int>{2} << QList<int>{1, 3} << true;
    QTest::newRow("unknown id ignored") << QList<int>{} << QList<int>{3, 77} << true;
}

void tst_ResourceManager::removal()
{
    QFETCH(QList<int>, inUse);
    QFETCH(QList<int>, remove);
    QFETCH(bool, allowed);
    RecordingReporter rec;
    KVResourceManager manager;
    for (int i = 0; i < 3; ++i)
        manager.addResource(new KVResource(KVResourceType::Image, QString("r%1").arg(i), QString("r%1.png").arg(i)));
    for (int nId : inUse)
        manager.retainResource(nId);

    QCOMPARE(manager.removeResources(remove), allowed);
    if (allowed) {
        QVERIFY(rec.texts().isEmpty());
        for (int nId : remove) {
            if (manager.resource(nId))
                QVERIFY(manager.resource(nId)->isDeleted());
        }
        // Deleted resources stay for undo but are left out of the lists.
        QCOMPARE(manager.resources().size(), 3);
        for (const KVResource *p : manager.liveResources())
            QVERIFY(!remove.contains(p->id()));
        QCOMPARE(manager.toJson().size(), manager.liveResources().size());
        for (int nId : remove)
            manager.setResourceDeleted(nId, false);
    } else {
        QCOMPARE(rec.texts(), QStringList{"Cannot remove resources that are in use."});
    }
    QCOMPARE(manager.liveResources().size(), 3);
}

void tst_ResourceManager::imageSizeIsReadOnce()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    // Two BMP files of the same byte count and different shapes.
    const QString strWide = ctx.writeImage("wide.bmp", 40, 20);
    const QString strTall = ctx.writeImage("tall.bmp", 20, 40);
    QCOMPARE(QFileInfo(strWide).size(), QFileInfo(strTall).size());
    KVResource *pImage = manager.importFile(strWide);
    QVERIFY(manager.addResource(pImage));
    const int nId = pImage->id();

    QCOMPARE(manager.imageSizeReadCount(), 0);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(manager.imageSize(nId), QSize(40, 20));
    QCOMPARE(manager.imageSizeReadCount(), 1);

    // Replace the content behind the manager's back, keeping size and modification time: even
    // when checking the file at every call, the cached size stays.
    manager.setFileCheckInterval(0);
    const QString strStored = manager.filePath(pImage);
    QFile stored(strStored);
    const QDateTime modified = QFileInfo(strStored).lastModified();
    QVERIFY(stored.open(QIODevice::ReadWrite));
    stored.write(fileBytes(strTall));
    QVERIFY(stored.flush());
    QVERIFY(stored.setFileTime(modified, QFileDevice::FileModificationTime));
    stored.close();
    QCOMPARE(QFileInfo(strStored).lastModified(), modified);
    QCOMPARE(manager.imageSize(nId), QSize(40, 20));
    QCOMPARE(manager.imageSizeReadCount(), 1);

    // A new modification time makes it read again, once.
    QVERIFY(stored.open(QIODevice::ReadWrite));
    QVERIFY(stored.setFileTime(modified.addSecs(5), QFileDevice::FileModificationTime));
    stored.close();
    QCOMPARE(manager.imageSize(nId), QSize(20, 40));
    QCOMPARE(manager.imageSize(nId), QSize(20, 40));
    QCOMPARE(manager.imageSizeReadCount(), 2);

    // Within the check interval a change behind the manager's back is not looked for...
    manager.setFileCheckInterval(3600 * 1000);
    QVERIFY(stored.open(QIODevice::ReadWrite));
    stored.write(fileBytes(strWide));
    QVERIFY(stored.flush());
    QVERIFY(stored.setFileTime(modified.addSecs(10), QFileDevice::FileModificationTime));
    stored.close();
    QCOMPARE(manager.imageSize(nId), QSize(20, 40));
    QCOMPARE(manager.imageSizeReadCount(), 2);
    // ...but a change the manager makes itself is seen at once.
    ctx.writeImage("wide.bmp", 16, 8);
    QVERIFY(manager.updateFromOriginal(pImage));
    QCOMPARE(manager.imageSize(nId), QSize(16, 8));
    QCOMPARE(manager.imageSizeReadCount(), 3);
    manager.setFileCheckInterval(0);

    // A file gone gives an invalid size; no size for what is not an image.
    QVERIFY(QFile::remove(strStored));
    QVERIFY(!manager.imageSize(nId).isValid());
    QVERIFY(!manager.imageSize(12345).isValid());
}

void tst_ResourceManager::imageOfUnreadableFileIsReported()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    KVResource *pImage = manager.importFile(ctx.writeImage("pic.png", 6, 5));
    QVERIFY(manager.addResource(pImage));
    const QImage image = manager.image(pImage->id());
    QCOMPARE(image.size(), QSize(6, 5));
    // Kept by uuid: a second call reads nothing, so a missing file would not matter yet...
    QVERIFY(QFile::remove(manager.filePath(pImage)));
    RecordingReporter rec;
    // ...but the file's stamp changed, so it is read again and the failure is reported.
    QVERIFY(manager.image(pImage->id()).isNull());
    QCOMPARE(rec.texts(), QStringList{"Could not read file pic.png"});

    // An SVG whose style element has no type is displayed.
    const QString strSvg = ctx.writeFile(
        "shape.svg",
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"30\" height=\"10\">"
        "<style>rect{fill:#f00}</style><rect width=\"30\" height=\"10\"/></svg>");
    KVResource *pSvg = manager.importFile(strSvg);
    QVERIFY(manager.addResource(pSvg));
    QCOMPARE(manager.imageSize(pSvg->id()), QSize(30, 10));
    const QImage svg = manager.image(pSvg->id());
    QCOMPARE(svg.size(), QSize(30, 10));
    QCOMPARE(QColor(svg.pixel(15, 5)), QColor(Qt::red));
}

void tst_ResourceManager::smallCopyShowsNoProgress()
{
    TestContext ctx;
    TestProgress progress;
    ctx.setProgress(&progress);
    KVResourceManager manager(&ctx);
    const QString strPath = ctx.writeFile("small.mp4", QByteArray(3 * 1048576, 'x'));
    std::unique_ptr<KVResource> p(manager.importFile(strPath));
    QVERIFY(p);
    QCOMPARE(progress.nBegins, 0);
    QVERIFY(progress.values.isEmpty());
}

void tst_ResourceManager::largeCopyShowsProgressInBlocks()
{
    TestContext ctx;
    TestProgress progress;
    ctx.setProgress(&progress);
    KVResourceManager manager(&ctx);
    // A sparse file just above the threshold.
    const QString strPath = ctx.sources() + "/big.mp4";
    const qint64 nSize = KVFileCopier::ProgressThreshold + 1000;
    {
        QFile file(strPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(nSize));
        file.seek(nSize - 4);
        file.write("tail");
    }
    std::unique_ptr<KVResource> p(manager.importFile(strPath));
    QVERIFY(p);
    QCOMPARE(progress.nBegins, 1);
    QCOMPARE(progress.nEnds, 1);
    QCOMPARE(progress.strText, QString("Importing resources..."));
    QCOMPARE(progress.strCancelText, QString("Abort"));
    QCOMPARE(progress.nTotal, nSize);
    QCOMPARE(progress.values.size(), 21);
    for (int i = 0; i < 20; ++i)
        QCOMPARE(progress.values[i], qint64(i + 1) * KVFileCopier::BlockSize);
    QCOMPARE(progress.values.last(), nSize);
    const QString strStored = ctx.resources() + "/big.mp4";
    QCOMPARE(QFileInfo(strStored).size(), nSize);
    QFile copy(strStored);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    copy.seek(nSize - 4);
    QCOMPARE(copy.read(4), QByteArray("tail"));
    QCOMPARE(p->dataSize(), nSize);
}

void tst_ResourceManager::cancelledImportLeavesNothing()
{
    TestContext ctx;
    TestProgress progress;
    progress.nCancelAfter = 3;
    ctx.setProgress(&progress);
    KVResourceManager manager(&ctx);
    QSignalSpy stored(&manager, &KVResourceManager::fileStored);
    const QString strSmall = ctx.writeFile("first.mp3", QByteArray(1000, 'a'));
    const QString strBig = ctx.sources() + "/big.mp4";
    {
        QFile file(strBig);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(KVFileCopier::ProgressThreshold + 1));
    }
    const int nNextId = manager.nextId();
    QStringList failed;
    const QList<KVResource *> created = manager.importFiles({strSmall, strBig}, -1, &failed);
    QVERIFY(created.isEmpty());
    QVERIFY(failed.isEmpty());
    QVERIFY(manager.wasImportCanceled());
    QCOMPARE(progress.values.size(), 3);
    QCOMPARE(progress.nEnds, 1);
    // No copy, no temporary file, no owned file; the sources are untouched.
    QCOMPARE(ctx.storedFiles(), QStringList());
    QCOMPARE(stored.count(), 0);
    QCOMPARE(QFileInfo(strBig).size(), KVFileCopier::ProgressThreshold + 1);
    QCOMPARE(fileBytes(strSmall), QByteArray(1000, 'a'));
    QVERIFY(manager.nextId() >= nNextId);
    // The next import runs again.
    progress.nCancelAfter = -1;
    std::unique_ptr<KVResource> p(manager.importFile(strSmall));
    QVERIFY(p);
    QVERIFY(!manager.wasImportCanceled());
}

void tst_ResourceManager::copierKeepsTargetsWhole_data()
{
    QTest::addColumn<QString>("source");   // "big", "small", "folder" (a directory) or "none"
    QTest::addColumn<bool>("existing");    // the target exists before the copy
    QTest::addColumn<QString>("target");   // "plain" or "no-folder"
    QTest::addColumn<int>("cancelAfter");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("hashed"); // the data also goes through a hash
    QTest::newRow("new file") << "small" << false << "plain" << -1 << int(KVFileCopier::Copied) << true;
    QTest::newRow("replaces whole") << "small" << true << "plain" << -1 << int(KVFileCopier::Copied) << true;
    QTest::newRow("large replaced") << "big" << true << "plain" << -1 << int(KVFileCopier::Copied) << true;
    QTest::newRow("cancel keeps old") << "big" << true << "plain" << 2 << int(KVFileCopier::Canceled) << true;
    QTest::newRow("cancel leaves none") << "big" << false << "plain" << 5 << int(KVFileCopier::Canceled) << true;
    QTest::newRow("source is a folder") << "folder" << true << "plain" << -1 << int(KVFileCopier::ReadFailed) << true;
    QTest::newRow("source missing") << "none" << true << "plain" << -1 << int(KVFileCopier::ReadFailed) << true;
    QTest::newRow("no target folder") << "small" << false << "no-folder" << -1 << int(KVFileCopier::WriteFailed) << true;
    QTest::newRow("new file, unhashed") << "small" << false << "plain" << -1 << int(KVFileCopier::Copied) << false;
    QTest::newRow("replaces whole, unhashed") << "small" << true << "plain" << -1 << int(KVFileCopier::Copied) << false;
    QTest::newRow("large replaced, unhashed") << "big" << true << "plain" << -1 << int(KVFileCopier::Copied) << false;
    QTest::newRow("cancel keeps old, unhashed") << "big" << true << "plain" << 2 << int(KVFileCopier::Canceled) << false;
    QTest::newRow("cancel leaves none, unhashed") << "big" << false << "plain" << 5 << int(KVFileCopier::Canceled) << false;
    QTest::newRow("no target folder, unhashed") << "small" << false << "no-folder" << -1 << int(KVFileCopier::WriteFailed) << false;
}

void tst_ResourceManager::copierKeepsTargetsWhole()
{
    QFETCH(QString, source);
    QFETCH(bool, existing);
    QFETCH(QString, target);
    QFETCH(int, cancelAfter);
    QFETCH(int, result);
    QFETCH(bool, hashed);
    TestContext ctx;
    QString strSource = ctx.sources() + "/source.bin";
    qint64 nSize = 0;
    if (source == "small") {
        ctx.writeFile("source.bin", QByteArray(3000, 's'));
        nSize = 3000;
    } else if (source == "big") {
        QFile file(strSource);
        QVERIFY(file.open(QIODevice::WriteOnly));
        nSize = KVFileCopier::ProgressThreshold + 3 * KVFileCopier::BlockSize;
        QVERIFY(file.resize(nSize));
    } else if (source == "folder") {
        QDir().mkpath(strSource);
    }
    const QString strFolder = target == "plain" ? ctx.sources() + "/out" : ctx.sources() + "/missing/out";
    if (target == "plain")
        QDir().mkpath(strFolder);
    const QString strTarget = strFolder + "/target.bin";
    if (existing) {
        QFile old(strTarget);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content");
        old.close();
        QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    }
    const QFileDevice::Permissions oldPermissions = QFileInfo(strTarget).permissions();

    TestProgress progress;
    progress.nCancelAfter = cancelAfter;
    QCryptographicHash hash(QCryptographicHash::Md5);
    {
        KVFileCopier copier(&progress, "Copying", "Stop", nSize);
        QCOMPARE(int(copier.copy(strSource, strTarget, hashed ? &hash : nullptr)), result);
        QCOMPARE(copier.wasCanceled(), result == KVFileCopier::Canceled);
        QCOMPARE(copier.showsProgress(), nSize > KVFileCopier::ProgressThreshold);
    }
    QCOMPARE(progress.nEnds, progress.nBegins);
    if (result == KVFileCopier::Copied) {
        QCOMPARE(QFileInfo(strTarget).size(), nSize);
        QCOMPARE(KVResourceManager::hashOfFile(strTarget), KVResourceManager::hashOfFile(strSource));
        if (hashed)
            QCOMPARE(hash.result().toHex(), KVResourceManager::hashOfFile(strSource));
        if (existing) // a replaced file keeps its permissions
            QCOMPARE(QFileInfo(strTarget).permissions(), oldPermissions);
    } else if (existing) {
        QCOMPARE(fileBytes(strTarget), QByteArray("old content"));
    } else {
        QVERIFY(!QFileInfo::exists(strTarget));
    }
    // No temporary file is left beside the target.
    const QStringList left = QDir(strFolder).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, (QFileInfo::exists(strTarget) ? QStringList{"target.bin"} : QStringList()));
}

void tst_ResourceManager::hashLookup()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    const QString strRed = ctx.writeImage("red.png", 8, 8, 0xffff0000);
    const QString strBlue = ctx.writeImage("blue.png", 8, 8, 0xff0000ff);
    const QString strRedAgain = ctx.writeFile("copy_of_red.png", fileBytes(strRed));
    const QString strGreen = ctx.writeImage("green.png", 8, 8, 0xff00ff00);
    KVResource *pRed = manager.importFile(strRed);
    KVResource *pBlue = manager.importFile(strBlue);
    QVERIFY(manager.addResource(pRed));
    QVERIFY(manager.addResource(pBlue));

    QCOMPARE(manager.findByHash(KVResourceManager::hashOfFile(strRed)), pRed);
    QCOMPARE(manager.findByHash(KVResourceManager::hashOfFile(strBlue), KVResourceType::Image), pBlue);
    QCOMPARE(manager.findByHash(KVResourceManager::hashOfFile(strBlue), KVResourceType::Audio), nullptr);
    QCOMPARE(manager.findByContent(strRedAgain), pRed);
    QCOMPARE(manager.findByContent(strGreen), nullptr);
    QCOMPARE(manager.findByHash(QByteArray()), nullptr);
    // The hash follows the file when it changes on disk.
    QFile stored(manager.filePath(pBlue));
    QVERIFY(stored.open(QIODevice::WriteOnly));
    stored.write(fileBytes(strGreen));
    QVERIFY(stored.flush());
    stored.close();
    QVERIFY(stored.open(QIODevice::ReadWrite));
    QVERIFY(stored.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime));
    stored.close();
    QCOMPARE(manager.findByContent(strGreen), pBlue);
    // Deleted resources are not found.
    manager.setResourceDeleted(pRed->id(), true);
    QCOMPARE(manager.findByContent(strRedAgain), nullptr);
}

void tst_ResourceManager::includeOrder()
{
    KVResourceManager manager;
    auto *pS1 = new KVOtherResource(KVResourceType::Script, "one", "one.js");
    auto *pCss = new KVOtherResource(KVResourceType::StyleSheet, "look", "look.css");
    auto *pS2 = new KVOtherResource(KVResourceType::Script, "two", "two.js");
    auto *pS3 = new KVOtherResource(KVResourceType::Script, "three", "three.js");
    for (KVResource *p : QList<KVResource *>{pS1, pCss, pS2, pS3})
        QVERIFY(manager.addResource(p));
    QCOMPARE(manager.includeOrderIds(KVResourceType::Script), (QList<int>{1, 3, 4}));
    QCOMPARE(manager.includeOrderIds(KVResourceType::StyleSheet), QList<int>{2});

    QVERIFY(manager.setIncludeOrder(KVResourceType::Script, {4, 1, 3}));
    QVERIFY(!manager.setIncludeOrder(KVResourceType::Script, {4, 1}));
    QVERIFY(!manager.setIncludeOrder(KVResourceType::Script, {4, 1, 2}));
    QVERIFY(!manager.setIncludeOrder(KVResourceType::Image, {}));
    QCOMPARE(manager.includeOrderIds(KVResourceType::Script), (QList<int>{4, 1, 3}));

    pS1->setIncludeHeader(false);
    manager.setResourceDeleted(3, true);
    const QList<KVOtherResource *> head = manager.headResources(KVResourceType::Script);
    QCOMPARE(head, QList<KVOtherResource *>{pS3});
    // A deleted one keeps its place for undo.
    manager.setResourceDeleted(3, false);
    QCOMPARE(manager.includeOrderIds(KVResourceType::Script), (QList<int>{4, 1, 3}));
    std::unique_ptr<KVResource> pTaken(manager.takeResource(1));
    QCOMPARE(manager.includeOrderIds(KVResourceType::Script), (QList<int>{4, 3}));
}

void tst_ResourceManager::copyBetweenDocuments()
{
    TestContext ctxA;
    TestContext ctxB;
    KVResourceManager managerA(&ctxA);
    KVResourceManager managerB(&ctxB);
    KVResource *pImage = managerA.importFile(ctxA.writeImage("logo.png", 5, 5));
    QVERIFY(managerA.addResource(pImage));
    auto *pMedia = dynamic_cast<MediaResource *>(managerA.importFile(ctxA.writeFile("song.mp3", "mp3")));
    QVERIFY(pMedia);
    pMedia->setFormatFile(managerA.storeFile(ctxA.writeFile("song.ogg", "ogg")));
    QVERIFY(managerA.addResource(pMedia));
    pImage->retain();

    // B already has a logo.png of its own.
    KVResource *pOwn = managerB.importFile(ctxB.writeImage("logo.png", 3, 3));
    QVERIFY(managerB.addResource(pOwn));

    bool bReused = true;
    KVResource *pCopy = managerB.copyResource(pImage, ctxA.resources(), &bReused);
    QVERIFY(pCopy);
    QVERIFY(!bReused);
    QCOMPARE(pCopy->uuid(), pImage->uuid());
    QCOMPARE(pCopy->fileName(), QString("logo_1.png"));
    QCOMPARE(pCopy->name(), QString("logo_1"));
    QCOMPARE(pCopy->useCount(), 0);
    QCOMPARE(fileBytes(ctxB.resources() + "/logo_1.png"), fileBytes(ctxA.resources() + "/logo.png"));
    QVERIFY(managerB.addResource(pCopy));
    QVERIFY(pCopy->id() != pOwn->id());

    // The same resource again is found by its uuid.
    QCOMPARE(managerB.copyResource(pImage, ctxA.resources(), &bReused), pCopy);
    QVERIFY(bReused);

    auto *pMediaCopy = dynamic_cast<MediaResource *>(managerB.copyResource(pMedia, ctxA.resources()));
    QVERIFY(pMediaCopy);
    QCOMPARE(pMediaCopy->fileNameList(), (QStringList{"song.mp3", "song.ogg"}));
    QCOMPARE(pMediaCopy->fileName(), QString("song.mp3"));
    QCOMPARE(fileBytes(ctxB.resources() + "/song.ogg"), QByteArray("ogg"));
    delete pMediaCopy;

    // A source file that is gone gives nothing and leaves no partial copy behind.
    RecordingReporter rec;
    QVERIFY(QFile::remove(ctxA.resources() + "/song.ogg"));
    auto *pOtherMedia = dynamic_cast<MediaResource *>(pMedia->clone());
    pOtherMedia->setUuid(QUuid::createUuid());
    const QStringList before = ctxB.storedFiles();
    QVERIFY(!managerB.copyResource(pOtherMedia, ctxA.resources()));
    QCOMPARE(ctxB.storedFiles(), before);
    QVERIFY(!rec.texts().isEmpty());
    delete pOtherMedia;
    pImage->release();
}

void tst_ResourceManager::updateFromOriginal()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    const QString strSource = ctx.writeFile("app.js", "v1()");
    KVResource *pScript = manager.importFile(strSource);
    QVERIFY(manager.addResource(pScript));
    ctx.writeFile("app.js", "version2()");
    QVERIFY(manager.updateFromOriginal(pScript));
    QCOMPARE(fileBytes(manager.filePath(pScript)), QByteArray("version2()"));
    QCOMPARE(pScript->dataSize(), qint64(10));

    RecordingReporter rec;
    QVERIFY(QFile::remove(strSource));
    QVERIFY(!manager.updateFromOriginal(pScript));
    QCOMPARE(rec.texts(), QStringList{"Could not find the original file."});
    // The stored file is untouched by the failure.
    QCOMPARE(fileBytes(manager.filePath(pScript)), QByteArray("version2()"));
}

void tst_ResourceManager::codeContent()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    QSignalSpy stored(&manager, &KVResourceManager::fileStored);
    // Code written in the editor gets a file of its own beside an imported namesake.
    KVResource *pImported = manager.importFile(ctx.writeFile("main.js", "imported()"));
    QVERIFY(manager.addResource(pImported));
    auto *pCode = new KVOtherResource(KVResourceType::Script, "main");
    pCode->setResourceType(KVOtherResource::EditedCode);
    QVERIFY(manager.addResource(pCode));
    pCode->setContent(QString::fromUtf8("let s = \"d\u00e9j\u00e0\";"));
    QVERIFY(pCode->isContentModified());
    QVERIFY(manager.saveContent(pCode));
    QCOMPARE(pCode->fileName(), QString("main_1.js"));
    QVERIFY(!pCode->isContentModified());
    QCOMPARE(fileBytes(ctx.resources() + "/main_1.js"), pCode->content().toUtf8());
    QCOMPARE(fileBytes(ctx.resources() + "/main.js"), QByteArray("imported()"));
    QCOMPARE(pCode->dataSize(), qint64(pCode->content().toUtf8().size()));
    QCOMPARE(stored.count(), 2);
    QCOMPARE(pCode->canvasUrl(), QString("resource://main_1.js"));

    // Read back into another resource of the same file.
    KVOtherResource reread(KVResourceType::Script, "again", "main_1.js");
    QVERIFY(manager.loadContent(&reread));
    QCOMPARE(reread.content(), pCode->content());
    QCOMPARE(reread.contentDigest(), pCode->contentDigest());
    QCOMPARE(reread.contentDigest(), QString(QCryptographicHash::hash(pCode->content().toUtf8(),
                                                                      QCryptographicHash::Md5).toHex()));

    // An address has no file: nothing to load or save.
    KVOtherResource address(KVResourceType::Script, "cdn", "https://cdn.example/x.js");
    address.setResourceType(KVOtherResource::Address);
    QVERIFY(!manager.loadContent(&address));
    QVERIFY(!manager.saveContent(&address));
    QCOMPARE(address.canvasUrl(), QString("resource://https://cdn.example/x.js"));

    // A file that cannot be read is reported and changes nothing.
    RecordingReporter rec;
    KVOtherResource missing(KVResourceType::StyleSheet, "gone", "gone.css");
    missing.setSavedContent("kept");
    QVERIFY(!manager.loadContent(&missing));
    QCOMPARE(missing.content(), QString("kept"));
    QCOMPARE(rec.texts(), QStringList{"Could not read file gone.css"});
}

KAVIO_TEST_MAIN(tst_ResourceManager)
#include "tst_resourcemanager.moc"
