// The resource lists written by the resource manager: the project-file array (written and read
// back, read tolerantly, missing files collected) and the player-data array with its exported
// file names.

#include "KVResourceTestContext.h"

#include "resources/KVFontResource.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QJsonDocument>

namespace {

QJsonArray arr(const char *pszJson)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(pszJson), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        qFatal("bad JSON in test data: %s", pszJson);
    return doc.array();
}

QString compact(const QJsonArray &ja)
{
    return QString::fromUtf8(QJsonDocument(ja).toJson(QJsonDocument::Compact));
}

QStringList keysOf(const QJsonObject &jo)
{
    QStringList keys = jo.keys();
    keys.sort();
    return keys;
}

// A project of every kind, its files written into the resource folder.
void fillProject(KVResourceManager &manager, TestContext &ctx)
{
    QDir().mkpath(ctx.resources());
    auto touch = [&](const QString &strName) {
        QFile file(ctx.resources() + "/" + strName);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(strName));
        file.write(strName.toUtf8());
    };
    for (const char *pszFile : {"logo_1.png", "song.mp3", "song.ogg", "clip.mp4", "thing.kaviosym",
                                "face.ttf", "roboto.ttf", "a.js", "b.js", "look.css", "page.html",
                                "old.png"})
        touch(QString::fromLatin1(pszFile));

    manager.addResource(new KVResource(KVResourceType::Image, "logo", "logo_1.png")); // 1
    auto *pAudio = new MediaResource(KVResourceType::Audio, "song", "song.mp3");       // 2
    pAudio->setFormatFile("song.ogg");
    manager.addResource(pAudio);
    auto *pVideo = new MediaResource(KVResourceType::Video, "clip.mp4", "clip.mp4"); // 3
    pVideo->setMediaSize(QSize(640, 360));
    manager.addResource(pVideo);
    manager.addResource(new KVResource(KVResourceType::Symbol, "thing", "thing.kaviosym")); // 4
    manager.addResource(new KVFontResource("face", "face.ttf"));                           // 5
    auto *pWebFont = new KVFontResource("Roboto", "roboto.ttf");                           // 6
    KVWebFontDescription font;
    font.m_strFamily = "Roboto";
    font.m_strCategory = "sans-serif";
    font.m_subsets = QStringList{"latin"};
    font.m_variants = QStringList{"regular", "700italic"};
    font.m_files.insert("regular", "http://fonts.example/roboto.ttf");
    pWebFont->setWebFont(font);
    manager.addResource(pWebFont);
    auto *pA = new KVOtherResource(KVResourceType::Script, "a", "a.js"); // 7
    manager.addResource(pA);
    auto *pCss = new KVOtherResource(KVResourceType::StyleSheet, "look", "look.css"); // 8
    pCss->setIncludeHeader(false);
    manager.addResource(pCss);
    auto *pB = new KVOtherResource(KVResourceType::Script, "b", "b.js"); // 9
    manager.addResource(pB);
    auto *pCdn = new KVOtherResource(KVResourceType::Script, "lib", "https://cdn.example/lib.js"); // 10
    pCdn->setResourceType(KVOtherResource::Address);
    manager.addResource(pCdn);
    auto *pPage = new KVOtherResource(KVResourceType::HtmlPage, "page", "page.html"); // 11
    manager.addResource(pPage);
    manager.addResource(new KVResource(KVResourceType::Image, "old", "old.png")); // 12
    manager.setResourceDeleted(12, true);
    manager.setIncludeOrder(KVResourceType::Script, {10, 9, 7});
}

} // namespace

class tst_ResourceLists : public QObject
{
    Q_OBJECT

private slots:
    void projectFormKeys_data();
    void projectFormKeys();
    void projectRoundTrip();
    void readingIsTolerant_data();
    void readingIsTolerant();
    void missingFilesAreCollected();
    void oldFormatPathsLieBesideTheProject();
    void savedStateReferences();
    void playerList();
    void exportedFileNames_data();
    void exportedFileNames();
};

void tst_ResourceLists::projectFormKeys_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<QStringList>("keys");
    const QStringList common{"dataSize", "deleted", "fileName", "id", "name", "type", "uuid"};
    QTest::newRow("image") << 1 << common;
    QTest::newRow("audio") << 2 << (common + QStringList{"fileNames", "resourceType"});
    QTest::newRow("video with size")
        << 3 << (common + QStringList{"fileNames", "mediaH", "mediaW", "resourceType"});
    QTest::newRow("symbol") << 4 << common;
    QTest::newRow("font file") << 5 << common;
    QTest::newRow("web font") << 6 << (common + QStringList{"googlefont"});
    QTest::newRow("script") << 7 << (common + QStringList{"includeHeader", "resourceType"});
    QTest::newRow("style sheet") << 8 << (common + QStringList{"includeHeader", "resourceType"});
    QTest::newRow("page") << 11 << (common + QStringList{"resourceType"});
}

void tst_ResourceLists::projectFormKeys()
{
    QFETCH(int, id);
    QFETCH(QStringList, keys);
    TestContext ctx;
    KVResourceManager manager(&ctx);
    fillProject(manager, ctx);
    QJsonObject found;
    for (const QJsonValue &value : manager.toJson()) {
        if (value.toObject().value("id").toInt() == id)
            found = value.toObject();
    }
    keys.sort();
    QCOMPARE(keysOf(found), keys);
    QCOMPARE(found.value("deleted"), QJsonValue(false));
    QCOMPARE(found.value("uuid").toString(), manager.resource(id)->uuid().toString());
}

void tst_ResourceLists::projectRoundTrip()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    fillProject(manager, ctx);
    const QJsonArray ja = manager.toJson();

    // Deleted resource 12 is left out; other kinds by id, then style sheets, then scripts in order.
    QList<int> written;
    for (const QJsonValue &value : ja)
        written << value.toObject().value("id").toInt();
    QCOMPARE(written, (QList<int>{1, 2, 3, 4, 5, 6, 11, 8, 10, 9, 7}));
    const QJsonObject joAudio = ja.at(1).toObject();
    QCOMPARE(joAudio.value("fileNames").toArray(), (QJsonArray{"song.mp3", "song.ogg"}));
    QCOMPARE(ja.at(2).toObject().value("mediaW"), QJsonValue(640));
    QCOMPARE(ja.at(5).toObject().value("googlefont").toObject().value("variants").toArray(),
             (QJsonArray{"regular", "700italic"}));
    QCOMPARE(ja.at(7).toObject().value("includeHeader"), QJsonValue(false));
    QCOMPARE(ja.at(8).toObject().value("resourceType"), QJsonValue(1));

    KVResourceManager reread(&ctx);
    QStringList missing{"stale"};
    QVERIFY(reread.fromJson(ja, 3, &missing));
    QVERIFY(missing.isEmpty());
    QCOMPARE(compact(reread.toJson()), compact(ja));
    QCOMPARE(reread.includeOrderIds(KVResourceType::Script), (QList<int>{10, 9, 7}));
    QCOMPARE(reread.nextId(), 12);
    auto *pVideo = dynamic_cast<MediaResource *>(reread.resource(3));
    QVERIFY(pVideo);
    QCOMPARE(pVideo->mediaSize(), QSize(640, 360));
    auto *pFont = dynamic_cast<KVFontResource *>(reread.resource(6));
    QVERIFY(pFont && pFont->webFont());
    QCOMPARE(pFont->webFont()->m_files.value("regular"), QString("http://fonts.example/roboto.ttf"));
    QVERIFY(!dynamic_cast<KVFontResource *>(reread.resource(5))->webFont());
    QCOMPARE(reread.resource(1)->uuid(), manager.resource(1)->uuid());
    QVERIFY(!reread.resource(12));
    // Reading again replaces the content.
    QVERIFY(reread.fromJson(QJsonArray(), 3));
    QVERIFY(reread.resources().isEmpty());
    QCOMPARE(reread.nextId(), 1);
}

void tst_ResourceLists::readingIsTolerant_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<QString>("check");
    QTest::newRow("no type or id") << R"([{"id":1,"name":"a"},{"type":0,"name":"b"},{"id":2,"type":0}])"
                                   << QList<int>{2} << "";
    QTest::newRow("unknown type") << R"([{"id":1,"type":9},{"id":2,"type":-3},{"id":3,"type":7}])"
                                  << QList<int>{3} << "";
    QTest::newRow("duplicate id") << R"([{"id":4,"type":0,"name":"first"},{"id":4,"type":1,"name":"second"}])"
                                  << QList<int>{4} << "name:first";
    QTest::newRow("not an object") << R"([5,"x",null,{"id":6,"type":6}])" << QList<int>{6} << "";
    QTest::newRow("video width 0") << R"([{"id":1,"type":2,"mediaW":0,"mediaH":300}])"
                                   << QList<int>{1} << "size:0x0";
    QTest::newRow("video height missing") << R"([{"id":1,"type":2,"mediaW":640}])"
                                          << QList<int>{1} << "size:0x0";
    QTest::newRow("video size") << R"([{"id":1,"type":2,"mediaW":640,"mediaH":480}])"
                                << QList<int>{1} << "size:640x480";
    QTest::newRow("mistyped include flag") << R"([{"id":1,"type":5,"includeHeader":"no"}])"
                                           << QList<int>{1} << "include:1";
    QTest::newRow("include flag off") << R"([{"id":1,"type":6,"includeHeader":false}])"
                                      << QList<int>{1} << "include:0";
    QTest::newRow("mistyped name") << R"([{"id":1,"type":0,"name":7}])" << QList<int>{1} << "name:";
    QTest::newRow("name becomes a plain file name") << R"([{"id":1,"type":0,"name":"../a/b\\c"}])" << QList<int>{1}
                                                    << "name:.._a_b_c";
    QTest::newRow("name of dots") << R"([{"id":1,"type":0,"name":".."}])" << QList<int>{1} << "name:__";
    QTest::newRow("bad uuid gets a new one") << R"([{"id":1,"type":0,"uuid":"nope"}])"
                                             << QList<int>{1} << "uuid";
    QTest::newRow("media file without list") << R"([{"id":1,"type":1,"fileName":"a.mp3"}])"
                                             << QList<int>{1} << "files:a.mp3";
    QTest::newRow("media list sets file name") << R"([{"id":1,"type":1,"fileNames":["b.ogg",3,"b.mp3"]}])"
                                               << QList<int>{1} << "files:b.mp3,b.ogg";
}

void tst_ResourceLists::readingIsTolerant()
{
    QFETCH(QString, json);
    QFETCH(QList<int>, ids);
    QFETCH(QString, check);
    KVResourceManager manager;
    manager.fromJson(arr(json.toUtf8().constData()), 3);
    QList<int> got;
    for (const KVResource *p : manager.resources())
        got << p->id();
    QCOMPARE(got, ids);
    const KVResource *pFirst = manager.resource(ids.first());
    if (check.startsWith("name:")) {
        QCOMPARE(pFirst->name(), check.mid(5));
    } else if (check.startsWith("size:")) {
        const QSize size = static_cast<const MediaResource *>(pFirst)->mediaSize();
        QCOMPARE(QString("%1x%2").arg(size.width()).arg(size.height()), check.mid(5));
    } else if (check.startsWith("include:")) {
        QCOMPARE(static_cast<const KVOtherResource *>(pFirst)->includeHeader(), check.endsWith('1'));
    } else if (check == "uuid") {
        QVERIFY(!pFirst->uuid().isNull());
    } else if (check.startsWith("files:")) {
        const auto *pMedia = static_cast<const MediaResource *>(pFirst);
        QCOMPARE(pMedia->fileNameList().join(','), check.mid(6));
        QVERIFY(pMedia->fileNameList().contains(pMedia->fileName()));
    }
    QVERIFY(manager.nextId() > ids.last());
}

void tst_ResourceLists::missingFilesAreCollected()
{
    TestContext ctx;
    QDir().mkpath(ctx.resources());
    QFile present(ctx.resources() + "/here.png");
    QVERIFY(present.open(QIODevice::WriteOnly));
    present.close();
    QFile presentAudio(ctx.resources() + "/tune.mp3");
    QVERIFY(presentAudio.open(QIODevice::WriteOnly));
    presentAudio.close();
    KVResourceManager manager(&ctx);
    QStringList missing;
    const QJsonArray ja = arr(R"([
        {"id":1,"type":0,"fileName":"here.png"},
        {"id":2,"type":0,"fileName":"gone.png"},
        {"id":3,"type":1,"fileName":"tune.mp3","fileNames":["tune.mp3","tune.ogg"]},
        {"id":4,"type":5,"resourceType":1,"fileName":"https://cdn.example/x.js"},
        {"id":5,"type":6,"resourceType":3,"fileName":"/somewhere/else.css"},
        {"id":6,"type":7,"resourceType":2,"fileName":"edited.html"},
        {"id":7,"type":0,"deleted":true,"fileName":"removed.png"}
    ])");
    QStringList outside;
    QVERIFY(!manager.fromJson(ja, 3, &missing, &outside));
    QCOMPARE(missing, (QStringList{"gone.png", "tune.ogg", "edited.html"}));
    QCOMPARE(manager.missingFiles(), missing);
    // A linked file outside the project folder is not loaded; the missing resources stay so that
    // elements keep their references.
    QCOMPARE(outside, QStringList{"/somewhere/else.css"});
    QCOMPARE(manager.resources().size(), 6);
    QVERIFY(manager.resource(7)->isDeleted());
    QVERIFY(manager.hasImage(2));
}

void tst_ResourceLists::oldFormatPathsLieBesideTheProject()
{
    TestContext ctx;
    QDir().mkpath(ctx.resources());
    QDir().mkpath(ctx.projectFolderPath() + "/images");
    QFile old(ctx.projectFolderPath() + "/images/pic.png");
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();
    const char *pszJson = R"([{"id":1,"type":0,"fileName":"images/pic.png"}])";
    KVResourceManager manager(&ctx);
    QVERIFY(manager.fromJson(arr(pszJson), 1));
    QCOMPARE(manager.filePath(manager.resource(1)), ctx.projectFolderPath() + "/images/pic.png");
    QCOMPARE(manager.referencedFiles(), QStringList{"images/pic.png"});
    // The current format keeps plain names inside the resource folder: a path is not loaded.
    QStringList missing;
    QStringList outside;
    QVERIFY(manager.fromJson(arr(pszJson), 3, &missing, &outside));
    QCOMPARE(outside, QStringList{"images/pic.png"});
    QVERIFY(manager.resources().isEmpty());
    // Nor is a path of the old format that climbs out of the project folder.
    QVERIFY(manager.fromJson(arr(R"([{"id":1,"type":0,"name":"up","fileName":"../pic.png"}])"), 1, &missing, &outside));
    QCOMPARE(outside, QStringList{"up"});
}

void tst_ResourceLists::savedStateReferences()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    fillProject(manager, ctx);
    const QJsonArray jaSaved = manager.toJson();
    // After the save the logo is removed and a new page added: the saved state still has the logo.
    manager.setResourceDeleted(1, true);
    manager.addResource(new KVOtherResource(KVResourceType::HtmlPage, "new", "new.html"));
    const QStringList saved = manager.referencedFiles(jaSaved);
    const QStringList current = manager.referencedFiles();
    QVERIFY(saved.contains("demo_res/logo_1.png"));
    QVERIFY(!current.contains("demo_res/logo_1.png"));
    QVERIFY(!saved.contains("demo_res/new.html"));
    QVERIFY(current.contains("demo_res/new.html"));
    // Addresses and deleted resources reference no file; media reference each of theirs.
    QVERIFY(saved.contains("demo_res/song.ogg"));
    QVERIFY(!saved.contains("demo_res/old.png"));
    for (const QString &strFile : saved)
        QVERIFY2(!strFile.contains("cdn.example"), qPrintable(strFile));
    QCOMPARE(saved.size(), 11);
    QVERIFY(manager.isInResourceFolder("demo_res/song.ogg"));
    QVERIFY(manager.isInResourceFolder(ctx.resources() + "/x.png"));
    QVERIFY(!manager.isInResourceFolder("images/pic.png"));
    QVERIFY(!manager.isInResourceFolder("demo_res/../escape.png"));
    QCOMPARE(manager.storedSize(manager.resource(2)), qint64(QByteArray("song.mp3song.ogg").size()));
}

void tst_ResourceLists::playerList()
{
    TestContext ctx;
    KVResourceManager manager(&ctx);
    fillProject(manager, ctx);
    auto symbolData = [](const KVResource &resource) {
        return QJsonObject{{"scenes", QJsonArray()}, {"dur", resource.id() * 100}};
    };
    const QString strExport = compact(manager.toPlayerJson(false, symbolData));
    QCOMPARE(strExport,
             QString(R"([[1,0,"logo","logo.png"],[2,1,"song",["song.mp3","song.ogg"]],)"
                     R"([3,2,"clip.mp4",["clip.mp4"]],[4,3,"thing",{"dur":400,"scenes":[]}],)"
                     R"([5,4,"face"],[6,4,"Roboto"],[11,7,"page","page.html"],[8,6,"look"],)"
                     R"([10,5,"lib"],[9,5,"b"],[7,5,"a"]])"));
    const QString strPreview = compact(manager.toPlayerJson(true));
    QCOMPARE(strPreview,
             QString(R"([[1,0,"logo","logo_1.png"],[2,1,"song",["song.mp3","song.ogg"]],)"
                     R"([3,2,"clip.mp4",["clip.mp4"]],[4,3,"thing",{}],)"
                     R"([5,4,"face"],[6,4,"Roboto"],[11,7,"page","page.html"],[8,6,"look"],)"
                     R"([10,5,"lib"],[9,5,"b"],[7,5,"a"]])"));
    // The head of the exported page: scripts in order, the left-out style sheet not.
    QCOMPARE(manager.headResources(KVResourceType::StyleSheet).size(), 0);
    QCOMPARE(manager.headResources(KVResourceType::Script).size(), 3);
}

void tst_ResourceLists::exportedFileNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("exported");
    QTest::newRow("name without extension") << "logo" << "logo_1.png" << "logo.png";
    QTest::newRow("same extension") << "logo.png" << "logo_3.png" << "logo.png";
    QTest::newRow("extension case differs") << "photo.JPG" << "photo.jpg" << "photo.JPG";
    QTest::newRow("other extension") << "song.mp3" << "song.ogg" << "song.mp3.ogg";
    QTest::newRow("renamed with unsafe characters") << "a:b" << "a.png" << "a_b.png";
    QTest::newRow("stored without extension") << "data" << "data" << "data";
}

void tst_ResourceLists::exportedFileNames()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QFETCH(QString, exported);
    QCOMPARE(KVResourceManager::exportedFileName(name, stored), exported);
    MediaResource media(KVResourceType::Audio, name, stored);
    QCOMPARE(KVResourceManager::exportedMediaFileNames(&media), QStringList{exported});
}

KAVIO_TEST_MAIN(tst_ResourceLists)
#include "tst_resourcelists.moc"
