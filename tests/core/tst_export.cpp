#include "KVTestMain.h"
#include "KVZipListing.h"
#include "RecordingReporter.h"
#include "KVDocumentTestKit.h"

#include "document/KVDocument.h"
#include "document/KVDocumentSettings.h"
#include "document/KVPreloader.h"
#include "document/KVHeadlessProject.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVAdCheck.h"
#include "output/KVExportArchive.h"
#include "output/KVHeadlessPlayerSource.h"
#include "output/KVHtml5Exporter.h"
#include "resources/KVSystemFonts.h"
#include "output/KVPageTemplate.h"
#include "resources/IKVProgress.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/MediaResource.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QJsonArray>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

bool writeFile(const QString &strPath, const QByteArray &data)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray readFile(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesBelow(const QString &strFolder)
{
    QStringList files;
    QDirIterator it(strFolder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(strFolder).relativeFilePath(it.next());
    files.sort();
    return files;
}

// A progress that asks to cancel at its first update.
class CancellingProgress : public IKVProgress
{
public:
    void begin(const QString &strText, const QString &, qint64 nTotal) override
    {
        m_strText = strText;
        m_nTotal = nTotal;
    }
    void setValue(qint64) override { m_bCanceled = true; }
    bool wasCanceled() const override { return m_bCanceled; }
    void end() override {}
    QString m_strText;
    qint64 m_nTotal = 0;
    bool m_bCanceled = false;
};

// A project "show" with an image, a video in two formats, a script and a style sheet of its own, a
// linked script, and a player folder of its own with small templates.
struct Fixture
{
    QTemporaryDir dir;
    KVHeadlessProject project;
    KVPlayerSource source;
    QString strPlayer;
    QString strOut;
    KVResource *pImage = nullptr;

    Fixture() : project(dir.path() + QStringLiteral("/project/show.kavio"))
    {
        const QString strRes = dir.path() + QStringLiteral("/project/show_res");
        QDir().mkpath(strRes);
        strPlayer = dir.path() + QStringLiteral("/player");
        QDir().mkpath(strPlayer);
        strOut = dir.path() + QStringLiteral("/out");
        writeFile(strPlayer + QStringLiteral("/kvplayer.js"), "/* player */ var DorunKavio = {};\n");
        writeFile(strPlayer + QStringLiteral("/kvplayer.html"),
                  "<title>{$title}</title><meta name=\"viewport\" content=\"{$viewportWidth}{$viewportHeight}\">"
                  "{$description}|{$keywords}|{$author}|<script src=\"{$playerURL}\"></script>\n\t{$cssFiles}\n\t"
                  "{$jsFiles}{$googleFonts}<div id=\"{$containerID}\"></div><script>{$loadDocumentScript}</script>");
        writeFile(strPlayer + QStringLiteral("/kvplayer.css"), "body{}\n{$systemFonts}");

        project.setTitle(QStringLiteral("Tom & Jerry <live>"));
        project.setAuthor(QStringLiteral("A \"quoted\" author"));
        project.settings().m_strContainerId = QStringLiteral("stageBox");
        KVSceneList *pScenes = project.sceneList();
        KVScene *pScene = pScenes->createScene();
        pScenes->addScene(pScene);
        KVElement *pBox = KVElementFactory::createElement(5);
        pBox->setName(QStringLiteral("box"));
        pScene->addElement(pBox);

        KVResourceManager *pManager = project.resourceManager();
        writeFile(strRes + QStringLiteral("/logo_1.png"), "PNGDATA");
        pImage = KVResource::create(0);
        pImage->setName(QStringLiteral("logo"));
        pImage->setFileName(QStringLiteral("logo_1.png"));
        pManager->addResource(pImage);

        writeFile(strRes + QStringLiteral("/clip.mp4"), "MP4");
        writeFile(strRes + QStringLiteral("/clip_2.webm"), "WEBM");
        auto *pVideo = new MediaResource(2, QStringLiteral("intro"));
        pVideo->setFormatFile(QStringLiteral("clip.mp4"));
        pVideo->setFormatFile(QStringLiteral("clip_2.webm"));
        pManager->addResource(pVideo);

        writeFile(strRes + QStringLiteral("/util.js"), "var util = 1;");
        auto *pScript = new KVOtherResource(5, QStringLiteral("util.js"), QStringLiteral("util.js"));
        pManager->addResource(pScript);
        auto *pLinked = new KVOtherResource(5, QStringLiteral("lib"), QStringLiteral("https://cdn.example.org/lib.js"));
        pLinked->setResourceType(KVOtherResource::Address);
        pManager->addResource(pLinked);
        writeFile(strRes + QStringLiteral("/look.css"), ".a{}");
        auto *pStyle = new KVOtherResource(6, QStringLiteral("look"), QStringLiteral("look.css"));
        pManager->addResource(pStyle);

        source.pSymbol = &project;
        source.pSettings = &project.settings();
        source.strProjectFile = project.fileName();
        source.strExportResourceFolder = project.settings().m_strResFolderHtml5Output;
    }

    bool run(RecordingReporter &rec, KVHtml5Exporter *pExporter = nullptr)
    {
        KVHtml5Exporter own(&source);
        KVHtml5Exporter &exporter = pExporter ? *pExporter : own;
        exporter.setPlayerFolder(strPlayer);
        exporter.setResourcePath(dir.path());
        rec.clear();
        return exporter.exportTo(strOut);
    }
    QString out(const QString &strName) const { return strOut + QLatin1Char('/') + strName; }
};

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT

private slots:
    void folderContents();
    void pageAndStyleSheet();
    void realPlayerFolder();
    void viewportText_data();
    void viewportText();
    void projectTemplates();
    void placeholdersOnePass();
    void failures_data();
    void failures();
    void reExport();
    void refusedNames();
    void cancelAboveThreshold();
    void preloaderResources();
    void preview();
    void editorDocument();
    void commandLine();
    void bannerExample();
    void zipExport();
    void adCheck_data();
    void adCheck();
};

void tst_Export::folderContents()
{
    RecordingReporter rec;
    Fixture f;
    KVHtml5Exporter exporter(&f.source);
    QVERIFY2(f.run(rec, &exporter), qPrintable(rec.lastText()));
    QCOMPARE(filesBelow(f.strOut),
             (QStringList{"kvplayer.js", "resources/intro.mp4", "resources/intro.webm", "resources/logo.png",
                          "resources/look.css", "resources/util.js", "show.css", "show.html", "show.js"}));
    QCOMPARE(readFile(f.out("resources/logo.png")), QByteArray("PNGDATA"));
    QCOMPARE(readFile(f.out("resources/intro.webm")), QByteArray("WEBM"));
    QCOMPARE(readFile(f.out("kvplayer.js")), readFile(f.strPlayer + QStringLiteral("/kvplayer.js")));
    QCOMPARE(exporter.writtenFiles().size(), 9);
    qint64 nBytes = 0;
    for (const QString &strFile : filesBelow(f.strOut)) {
        nBytes += QFileInfo(f.out(strFile)).size();
        QVERIFY2(!readFile(f.out(strFile)).contains("{$"), qPrintable(strFile));
    }
    QCOMPARE(exporter.writtenBytes(), nBytes);
    QCOMPARE(exporter.pagePath(), f.out("show.html"));
    QVERIFY(rec.texts().isEmpty());
}

void tst_Export::pageAndStyleSheet()
{
    RecordingReporter rec;
    Fixture f;
    auto *pFunction = new KVFunction;
    pFunction->setName(QStringLiteral("tag"));
    pFunction->setContent(QStringLiteral("return '</script>';"));
    f.project.functions()->insert(pFunction);
    f.project.settings().m_nLoaderType = 0;
    QVERIFY2(f.run(rec), qPrintable(rec.lastText()));
    const QString strPage = QString::fromUtf8(readFile(f.out("show.html")));
    QVERIFY(strPage.startsWith(QStringLiteral("<title>Tom &amp; Jerry &lt;live&gt;</title>")));
    QVERIFY(strPage.contains(QStringLiteral("content=\"width=device-width, \"")));
    QVERIFY(strPage.contains(QStringLiteral("|A &quot;quoted&quot; author|")));
    QVERIFY(strPage.contains(QStringLiteral("<script src=\"kvplayer.js\"></script>")));
    QVERIFY(strPage.contains(QStringLiteral(
        "\n\t<link rel=\"stylesheet\" type=\"text/css\" href=\"resources/look.css\">\n\t")));
    QVERIFY(strPage.contains(QStringLiteral(
        "<script type=\"text/javascript\" src=\"resources/util.js\"></script>\n\t"
        "<script type=\"text/javascript\" src=\"https://cdn.example.org/lib.js\"></script>")));
    QVERIFY(strPage.contains(QStringLiteral("<div id=\"stageBox\"></div><script>(function(Kavio) {\n\tvar li = {")));
    QVERIFY(strPage.contains(QStringLiteral("Kavio.openDoc('show.js', 'stageBox', {paused:false, "
                                            "preloaderOptions: li, center: 'horizontal'});\n})(DorunKavio);</script>")));
    QCOMPARE(readFile(f.out("show.css")), QByteArray("body{}\n"));
    // The data file keeps the function as written; the page never holds it.
    QVERIFY(readFile(f.out("show.js")).contains("return '</script>';"));
}

void tst_Export::realPlayerFolder()
{
    const QString strResources = KVTestEnvironment::binaryDir() + QStringLiteral("/share/kavio");
    const QString strPlayer = strResources + QStringLiteral("/resources/canvas/player");
    if (!QFileInfo::exists(strPlayer + QStringLiteral("/kvplayer.html")))
        QSKIP("the player folder is not staged in the build tree (build kavio-player-companions)");
    RecordingReporter rec;
    Fixture f;
    KVHtml5Exporter exporter(&f.source);
    exporter.setResourcePath(strResources);
    QVERIFY2(exporter.exportTo(f.strOut), qPrintable(rec.lastText()));
    QCOMPARE(readFile(f.out("kvplayer.js")), readFile(strPlayer + QStringLiteral("/kvplayer.js")));
    for (const QString &strFile : filesBelow(f.strOut))
        QVERIFY2(!readFile(f.out(strFile)).contains("{$"), qPrintable(strFile));
    QVERIFY(readFile(f.out("show.html")).contains("<div id=\"stageBox\""));
}

void tst_Export::viewportText_data()
{
    QTest::addColumn<int>("meta");
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("height");
    QTest::newRow("-2") << -2 << "width=device-width, " << "height=device-width, ";
    QTest::newRow("-1") << -1 << "width=device-height, " << "height=device-height, ";
    QTest::newRow("-3") << -3 << "" << "";
    QTest::newRow("number") << 320 << "width=320, " << "height=320, ";
    QTest::newRow("zero") << 0 << "width=0, " << "height=0, ";
}

void tst_Export::viewportText()
{
    QFETCH(int, meta);
    QFETCH(QString, width);
    QFETCH(QString, height);
    QCOMPARE(KVPageTemplate::viewportText(QStringLiteral("width"), meta), width);
    QCOMPARE(KVPageTemplate::viewportText(QStringLiteral("height"), meta), height);
}

void tst_Export::projectTemplates()
{
    RecordingReporter rec;
    Fixture f;
    f.project.settings().m_strHtmlOutput = QStringLiteral("<p>{$title}{$title}</p>{$containerID}");
    f.project.settings().m_strCssDoc = QStringLiteral("/*own*/{$systemFonts}");
    // The project's own templates are used even without the player folder's.
    QFile::remove(f.strPlayer + QStringLiteral("/kvplayer.html"));
    QFile::remove(f.strPlayer + QStringLiteral("/kvplayer.css"));
    QVERIFY2(f.run(rec), qPrintable(rec.lastText()));
    QCOMPARE(readFile(f.out("show.html")),
             QByteArray("<p>Tom &amp; Jerry &lt;live&gt;Tom &amp; Jerry &lt;live&gt;</p>stageBox"));
    QCOMPARE(readFile(f.out("show.css")), QByteArray("/*own*/"));
}

void tst_Export::placeholdersOnePass()
{
    KVPageTemplate::Values v;
    v.strTitle = QStringLiteral("{$author} & co");
    v.strAuthor = QStringLiteral("Ann");
    v.strContainerId = QStringLiteral("box");
    v.strLoadScript = QStringLiteral("var t = \"{$containerID}\";");
    v.nViewportWidthMeta = 320;
    v.nViewportHeightMeta = -1;
    QCOMPARE(KVPageTemplate::fillPage(QStringLiteral("{$title}|{$author}|{$loadDocumentScript}|{$containerID}|"
                                                     "{$viewportWidth}{$viewportHeight}|{$other}|{$Title}|"
                                                     "{$playerURL}{$cssFiles}{$jsFiles}{$googleFonts}"),
                                      v),
             QStringLiteral("{$author} &amp; co|Ann|var t = \"{$containerID}\";|box|width=320, "
                            "height=device-height, |{$other}|{$Title}|kvplayer.js"));
    QCOMPARE(KVPageTemplate::fillStyleSheet(QStringLiteral("a{$systemFonts}b{$systemFonts}"), QStringLiteral("R")),
             QStringLiteral("aRbR"));
    QCOMPARE(KVPageTemplate::webFontLink({}), QString());
    QCOMPARE(KVPageTemplate::webFontLink({QStringLiteral("Open Sans"), QStringLiteral("Lato")}),
             QStringLiteral("<link rel=\"stylesheet\" type=\"text/css\" "
                            "href=\"https://fonts.googleapis.com/css?family=Open+Sans|Lato\">"));
}

void tst_Export::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("no resource folder") << "resfolder"
                                        << "Unable to export to HTML5.\nThe resources folder is undefined or "
                                           "inaccessible.";
    QTest::newRow("no player folder") << "playerfolder" << "Player file is undefined or inaccessible.";
    QTest::newRow("no player script") << "playerjs" << "Player file is undefined or inaccessible.";
    // The export is written beside the target first: what is in the way there is found before any
    // file of the target is replaced.
    QTest::newRow("player in the way") << "playertarget" << "Cannot replace %1/kvplayer.js in the export folder.";
    QTest::newRow("no page template") << "html" << "Player file is undefined or inaccessible.";
    QTest::newRow("page in the way") << "page" << "Cannot replace %1/show.html in the export folder.";
    QTest::newRow("data file in the way") << "data" << "Cannot replace %1/show.js in the export folder.";
    QTest::newRow("resource folder in the way") << "resout" << "Cannot replace %1/resources in the export folder.";
    QTest::newRow("resource not copied") << "resfile" << "Error while exporting resource files.";
    QTest::newRow("resource is a pipe") << "fifo" << "Error while exporting resource files.";
    QTest::newRow("resource name too long") << "longname" << "Error while exporting resource files.";
    QTest::newRow("no style template") << "css" << "Player file is undefined or inaccessible.";
    QTest::newRow("style sheet in the way") << "sheet" << "Cannot replace %1/show.css in the export folder.";
}

void tst_Export::failures()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    RecordingReporter rec;
    Fixture f;
    QDir().mkpath(f.strOut);
    const QString strRes = f.dir.path() + QStringLiteral("/project/show_res");
    if (fault == QLatin1String("resfolder"))
        QVERIFY(QDir(strRes).removeRecursively());
    else if (fault == QLatin1String("playerfolder"))
        QVERIFY(QDir(f.strPlayer).removeRecursively());
    else if (fault == QLatin1String("playerjs"))
        QVERIFY(QFile::remove(f.strPlayer + QStringLiteral("/kvplayer.js")));
    else if (fault == QLatin1String("playertarget"))
        QVERIFY(QDir().mkpath(f.out("kvplayer.js/inside")));
    else if (fault == QLatin1String("html"))
        QVERIFY(QFile::remove(f.strPlayer + QStringLiteral("/kvplayer.html")));
    else if (fault == QLatin1String("page"))
        QVERIFY(QDir().mkpath(f.out("show.html")));
    else if (fault == QLatin1String("data"))
        QVERIFY(QDir().mkpath(f.out("show.js")));
    else if (fault == QLatin1String("resout"))
        QVERIFY(writeFile(f.out("resources"), "a file in the way"));
    else if (fault == QLatin1String("resfile"))
        QVERIFY(QFile::remove(strRes + QStringLiteral("/clip_2.webm")));
    else if (fault == QLatin1String("css"))
        QVERIFY(QFile::remove(f.strPlayer + QStringLiteral("/kvplayer.css")));
    else if (fault == QLatin1String("sheet"))
        QVERIFY(QDir().mkpath(f.out("show.css")));
    else if (fault == QLatin1String("fifo")) {
        // A pipe would be read for ever, a device without end: only regular files are copied.
        QVERIFY(QFile::remove(strRes + QStringLiteral("/clip_2.webm")));
        QCOMPARE(::mkfifo(QFile::encodeName(strRes + QStringLiteral("/clip_2.webm")).constData(), 0600), 0);
    } else if (fault == QLatin1String("longname"))
        f.pImage->setName(QString(300, QLatin1Char('n')));
    writeFile(f.out("keep.txt"), "the user's own file");
    const QStringList before = filesBelow(f.strOut);
    const auto beside = [&f]() { return QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
    const QStringList besideBefore = beside();
    QVERIFY(!f.run(rec));
    QCOMPARE(rec.texts(), QStringList{message.contains(QLatin1String("%1")) ? message.arg(f.strOut) : message});
    // Nothing of the failed export reached the target, and nothing is left beside it.
    QCOMPARE(filesBelow(f.strOut), before);
    QCOMPARE(beside(), besideBefore);
}

void tst_Export::reExport()
{
    RecordingReporter rec;
    Fixture f;
    f.project.settings().m_bEmbedSystemFont = true;
    QVERIFY2(f.run(rec), qPrintable(rec.lastText()));
    writeFile(f.out("kvplayer.js"), "stale player");
    writeFile(f.out("resources/old.woff"), "old font");
    writeFile(f.out("resources/keep.txt"), "not a font");
    QVERIFY2(f.run(rec), qPrintable(rec.lastText()));
    QCOMPARE(readFile(f.out("kvplayer.js")), readFile(f.strPlayer + QStringLiteral("/kvplayer.js")));
    QVERIFY(!QFileInfo::exists(f.out("resources/old.woff")));
    QVERIFY(QFileInfo::exists(f.out("resources/keep.txt")));

    // Without embedding, fonts of an earlier export stay.
    f.project.settings().m_bEmbedSystemFont = false;
    writeFile(f.out("resources/old.woff"), "old font");
    QVERIFY(f.run(rec));
    QVERIFY(QFileInfo::exists(f.out("resources/old.woff")));
}

void tst_Export::refusedNames()
{
    RecordingReporter rec;
    {
        Fixture f;
        f.project.settings().m_strResFolderHtml5Output = QStringLiteral("../escape");
        f.source.strExportResourceFolder = f.project.settings().m_strResFolderHtml5Output;
        QVERIFY(!f.run(rec));
        QVERIFY2(rec.lastText().contains(QStringLiteral("outside the export folder")), qPrintable(rec.lastText()));
        QVERIFY(!QFileInfo::exists(f.dir.path() + QStringLiteral("/escape")));
    }
    {
        Fixture f;
        // A second resource named so that it exports as logo.png too.
        writeFile(f.dir.path() + QStringLiteral("/project/show_res/other.png"), "OTHER");
        KVResource *pOther = KVResource::create(0);
        pOther->setName(QStringLiteral("logo.png"));
        pOther->setFileName(QStringLiteral("other.png"));
        f.project.resourceManager()->addResource(pOther);
        QVERIFY(!f.run(rec));
        QCOMPARE(rec.lastText(), QStringLiteral("The resources \"logo\" and \"logo.png\" would both be exported as "
                                                "\"logo.png\"; rename one of them."));
        QCOMPARE(readFile(f.out("resources/logo.png")), QByteArray());
    }
    {
        Fixture f;
        // A name that would be the parent folder becomes a plain file name.
        f.pImage->setName(QStringLiteral(".."));
        f.pImage->setFileName(QStringLiteral("noext"));
        writeFile(f.dir.path() + QStringLiteral("/project/show_res/noext"), "X");
        QVERIFY2(f.run(rec), qPrintable(rec.lastText()));
        QCOMPARE(readFile(f.out("resources/__")), QByteArray("X"));
    }
}

void tst_Export::cancelAboveThreshold()
{
    RecordingReporter rec;
    Fixture f;
    QFile big(f.dir.path() + QStringLiteral("/project/show_res/clip.mp4"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(21 * 1024 * 1024));
    big.close();
    CancellingProgress progress;
    KVHtml5Exporter exporter(&f.source);
    exporter.setProgress(&progress);
    QVERIFY(!f.run(rec, &exporter));
    QVERIFY(exporter.wasCanceled());
    QCOMPARE(progress.m_strText, QStringLiteral("Exporting to HTML5..."));
    QVERIFY(progress.m_nTotal > 21 * 1024 * 1024);
    QVERIFY(rec.texts().isEmpty());
    // No half-written copy is left behind, and the style sheet (a later step) was not written.
    QVERIFY(!QFileInfo::exists(f.out("resources/intro.mp4")));
    QVERIFY(!QFileInfo::exists(f.out("show.css")));
}

void tst_Export::preloaderResources()
{
    RecordingReporter rec;
    Fixture f;
    Fixture pre; // a project of its own as the preloader
    f.project.settings().m_nLoaderType = 1;
    pre.source.strExportResourceFolder = QStringLiteral("preloader_resources");
    f.source.pPreloader = &pre.source;
    QVERIFY2(f.run(rec), qPrintable(rec.lastText()));
    QCOMPARE(readFile(f.out("preloader_resources/logo.png")), QByteArray("PNGDATA"));
    QVERIFY(readFile(f.out("show.html")).contains("preloaderDoc: preloaderDocData"));

    writeFile(f.out("preloader_resources.tmp"), "");
    QVERIFY(QDir(f.out("preloader_resources")).removeRecursively());
    QVERIFY(writeFile(f.out("preloader_resources"), "a file in the way"));
    QVERIFY(!f.run(rec));
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("Cannot replace %1/preloader_resources in the export folder.")
                                          .arg(f.strOut)});

    QVERIFY(QFile::remove(f.out("preloader_resources")));
    QVERIFY(QFile::remove(pre.dir.path() + QStringLiteral("/project/show_res/logo_1.png")));
    QVERIFY(!f.run(rec));
    QCOMPARE(rec.texts(), QStringList{QStringLiteral("Error when exporting preloader's resources")});
}

void tst_Export::preview()
{
    RecordingReporter rec;
    Fixture f;
    f.project.settings().m_bEmbedSystemFont = true;
    KVHtml5Exporter exporter(&f.source);
    exporter.setPreview(true);
    QVERIFY2(f.run(rec, &exporter), qPrintable(rec.lastText()));
    // Nothing is copied: the page refers to the resources where they are stored.
    QCOMPARE(filesBelow(f.strOut), (QStringList{"kvplayer.js", "show.css", "show.html", "show.js"}));
    const QByteArray page = readFile(f.out("show.html"));
    QVERIFY(page.contains("href=\"../look.css\""));
    QVERIFY(page.contains("src=\"../util.js\""));
    const QByteArray data = readFile(f.out("show.js"));
    QVERIFY(data.contains("\"resourceFolder\":\"../\""));
    QVERIFY(data.contains("[1,0,\"logo\",\"logo_1.png\"]"));
    QVERIFY(data.contains("[\"clip.mp4\",\"clip_2.webm\"]"));
}

void tst_Export::editorDocument()
{
    RecordingReporter rec;
    ProjectFolder folder;
    KVDocument doc;
    doc.setFileName(folder.path(QStringLiteral("ad/ad.kavio")));
    QDir().mkpath(folder.path(QStringLiteral("ad")));
    QVERIFY(doc.create(300, 250, 2, false));
    folder.addResource(doc, QStringLiteral("photo.jpg"), patternBytes(5000, 1));
    doc.settings().m_nLoaderType = 1;
    QVERIFY(!doc.preloaderDocument());

    const QString strOut = folder.root() + QStringLiteral("/site");
    const QString strResources = KVTestEnvironment::binaryDir() + QStringLiteral("/share/kavio");
    if (!QFileInfo::exists(strResources + QStringLiteral("/resources/canvas/player/kvplayer.html")))
        QSKIP("the player folder is not staged in the build tree (build kavio-player-companions)");
    QString strPage;
    QVERIFY2(KVHtml5Exporter::exportDocument(&doc, strOut, &strPage, strResources), qPrintable(rec.lastText()));
    QCOMPARE(strPage, strOut + QStringLiteral("/ad.html"));
    // The project's preloader was created for the page, which plays it while the project loads.
    QVERIFY(doc.preloaderDocument());
    QVERIFY(readFile(strPage).contains("preloaderDocData = {"));
    QVERIFY(readFile(strPage).contains("preloaderDoc: preloaderDocData"));
    QCOMPARE(readFile(strOut + QStringLiteral("/resources/photo.jpg")), patternBytes(5000, 1));
    QVERIFY(QFileInfo(strOut + QStringLiteral("/preloader_resources")).isDir());
    doc.close();
}

void tst_Export::commandLine()
{
    const QString strKavio = KVTestEnvironment::binaryDir() + QStringLiteral("/bin/kavio");
    if (!QFileInfo::exists(strKavio))
        QSKIP("build/bin/kavio is not built");
    Fixture f;
    KVElement *pBox = f.project.sceneList()->at(0)->children().first();
    pBox->setPositionX(10);
    pBox->setPositionY(5);
    pBox->setSizeW(100);
    pBox->setSizeH(40);
    QVERIFY(f.project.save());
    const auto run = [&](const QStringList &arguments, QByteArray &out, QByteArray &err) {
        QProcess process;
        process.start(strKavio, arguments);
        process.waitForFinished(60000);
        out = process.readAllStandardOutput();
        err = process.readAllStandardError();
        return process.exitCode();
    };
    QByteArray out;
    QByteArray err;
    QCOMPARE(run({QStringLiteral("export"), f.project.fileName(), f.strOut}, out, err), 0);
    QVERIFY2(QRegularExpression(QStringLiteral("^files=9 bytes=\\d+ page=.*show\\.html\n$"))
                 .match(QString::fromUtf8(out)).hasMatch(), out.constData());
    QVERIFY(QFileInfo::exists(f.out("resources/intro.webm")));
    // The tool writes nothing into the project's folder.
    QVERIFY(!QFileInfo::exists(f.dir.path() + QStringLiteral("/project/show_res/preloader")));

    // As a ZIP, checked against an ad profile: the video and the linked script fail it.
    const QString strZip = f.dir.path() + QStringLiteral("/show.zip");
    QCOMPARE(run({QStringLiteral("export"), f.project.fileName(), strZip, QStringLiteral("--ad"),
                  QStringLiteral("google-ads")}, out, err), 3);
    QVERIFY2(out.startsWith("files=9 bytes=" + QByteArray::number(QFileInfo(strZip).size()) + " page=show.html zip="),
             out.constData());
    QVERIFY2(out.contains("\nad check google-ads: failed, 3 problem(s)\n  resources/intro.mp4: "), out.constData());
    QCOMPARE(run({QStringLiteral("check"), QStringLiteral("--ad"), QStringLiteral("iab"), f.project.fileName()}, out,
                 err),
             0);
    QVERIFY2(out.endsWith("ad check iab: passed\n"), out.constData());
    QCOMPARE(run({QStringLiteral("check"), QStringLiteral("--ad"), QStringLiteral("dv360"), f.project.fileName()}, out,
                 err),
             2);
    QVERIFY2(err.contains("--ad wants an ad profile: campaign-manager, google-ads, iab"), err.constData());

    QCOMPARE(run({QStringLiteral("export"), f.project.fileName()}, out, err), 2);
    QCOMPARE(run({QStringLiteral("export"), f.project.fileName(), f.strOut, QStringLiteral("--scene"),
                  QStringLiteral("x")}, out, err), 2);
    QCOMPARE(run({QStringLiteral("export"), f.project.fileName(), f.strOut, QStringLiteral("--scene"),
                  QStringLiteral("5")}, out, err), 1);
    QVERIFY2(err.contains("there is no scene 5"), err.constData());
    QCOMPARE(run({QStringLiteral("export"), f.dir.path() + QStringLiteral("/none.kavio"), f.strOut}, out, err), 1);
    QVERIFY(!err.isEmpty());
    QVERIFY(QFile::remove(f.dir.path() + QStringLiteral("/project/show_res/clip.mp4")));
    QCOMPARE(run({QStringLiteral("export"), f.project.fileName(), f.strOut}, out, err), 1);
    QVERIFY2(err.contains("Error while exporting resource files."), err.constData());

    QCOMPARE(run({QStringLiteral("sample"), f.project.fileName(), QStringLiteral("--times"), QStringLiteral("0,250")},
                 out, err),
             0);
    const QList<QByteArray> lines = out.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    const QJsonObject jo = QJsonDocument::fromJson(lines.at(1)).object();
    QCOMPARE(jo.value(QStringLiteral("t")).toInt(), 250);
    const QJsonObject joBox = jo.value(QStringLiteral("elements")).toObject().value(QStringLiteral("box")).toObject();
    QVERIFY2(joBox.value(QStringLiteral("box")).toArray() == (QJsonArray{10, 5, 100, 40}), lines.at(1).constData());
    QCOMPARE(joBox.value(QStringLiteral("visible")).toBool(), true);
    QCOMPARE(run({QStringLiteral("sample"), f.project.fileName(), QStringLiteral("--times"), QStringLiteral("a")},
                 out, err),
             2);

    // With a container size the sample shows the layout the player picks for it.
    KVBreakpointSet *pBreakpoints = f.project.breakpoints();
    const KVLayoutKey wide(pBreakpoints->addHBreakpoint(500).nId, 0);
    QVERIFY(f.project.sceneList()->at(0)->syncLayouts(pBreakpoints->layouts(), true, KVLayoutKey::base()));
    pBox->setPositionX(70, wide);
    pBox->setInherited(0, false, wide);
    QVERIFY(f.project.save());
    const auto boxAt = [&](const QString &strSize) {
        QStringList arguments{QStringLiteral("sample"), f.project.fileName(), QStringLiteral("--times"), QStringLiteral("0")};
        if (!strSize.isEmpty())
            arguments << QStringLiteral("--size") << strSize;
        const int nExit = run(arguments, out, err);
        const QJsonObject joLine = QJsonDocument::fromJson(out).object();
        return nExit == 0 ? joLine.value(QStringLiteral("elements")).toObject().value(QStringLiteral("box")).toObject()
                                .value(QStringLiteral("box")).toArray()
                          : QJsonArray{nExit};
    };
    QCOMPARE(boxAt(QString()), (QJsonArray{10, 5, 100, 40}));
    QCOMPARE(boxAt(QStringLiteral("499x300")), (QJsonArray{10, 5, 100, 40}));
    QCOMPARE(boxAt(QStringLiteral("500x300")), (QJsonArray{70, 5, 100, 40}));
    QCOMPARE(boxAt(QStringLiteral("12")), QJsonArray{2});
    QVERIFY2(err.contains("--size wants a container size"), err.constData());
    QCOMPARE(boxAt(QStringLiteral("axb")), QJsonArray{2});
}

void tst_Export::bannerExample()
{
    const QString strProject = KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio");
    const QString strResources = KVTestEnvironment::binaryDir() + QStringLiteral("/share/kavio");
    if (!QFileInfo::exists(strProject))
        QSKIP("examples/banner/banner.kavio is not there");
    if (!QFileInfo::exists(strResources + QStringLiteral("/resources/canvas/player/kvplayer.html")))
        QSKIP("the player folder is not staged in the build tree (build kavio-player-companions)");
    RecordingReporter rec;
    KVHeadlessPlayerSource source;
    QVERIFY2(source.open(strProject), qPrintable(rec.lastText()));
    QTemporaryDir out;
    KVHtml5Exporter exporter(&source.source());
    exporter.setResourcePath(strResources);
    QVERIFY2(exporter.exportTo(out.path()), qPrintable(rec.lastText()));
    // The banner embeds its installed fonts: Arial, which fontconfig finds as Liberation Sans, in
    // the two faces its texts use (regular and bold); the export counts them with the rest.
    const QStringList fonts{"resources/arial.woff", "resources/arial_bold.woff"};
    KVSystemFonts::Face face;
    const bool bArial = KVSystemFonts::findFace(QStringLiteral("Arial"), true, false, face);
    QStringList expected{"banner.css", "banner.html", "banner.js", "kvplayer.js", "resources/logo.png"};
    if (bArial)
        expected = (expected + fonts);
    expected.sort();
    QCOMPARE(filesBelow(out.path()), expected);
    QStringList written = exporter.writtenFiles();
    written.sort();
    QCOMPARE(written, expected);
    const QString strCss = QString::fromUtf8(readFile(out.filePath(QStringLiteral("banner.css"))));
    QCOMPARE(strCss.count(QStringLiteral("@font-face{")), bArial ? 2 : 0);
    if (bArial)
        QVERIFY2(strCss.contains(QStringLiteral("@font-face{\n    font-family: 'Arial';\n    font-style: normal;\n"
                                                "    font-weight: 700;\n    src: local('Arial Bold'),\n"
                                                "         url('resources/arial_bold.woff');\n}\n")),
                 qPrintable(strCss));
    if (bArial) {
        // The next export takes a font file of the last one only when it holds the same face.
        const QString strBold = out.filePath(QStringLiteral("resources/arial_bold.woff"));
        const QByteArray bold = readFile(strBold);
        QVERIFY(bold.startsWith("wOFF"));
        writeFile(strBold, "wOFF but not the face");
        QVERIFY2(exporter.exportTo(out.path()), qPrintable(rec.lastText()));
        QCOMPARE(readFile(strBold), bold);
    }
    for (const QString &strFile : filesBelow(out.path())) {
        if (!strFile.endsWith(QLatin1String(".woff")))
            QVERIFY2(!readFile(out.filePath(strFile)).contains("{$"), qPrintable(strFile));
    }
    QCOMPARE(readFile(out.filePath(QStringLiteral("kvplayer.js"))),
             readFile(strResources + QStringLiteral("/resources/canvas/player/kvplayer.js")));
    QCOMPARE(readFile(out.filePath(QStringLiteral("resources/logo.png"))),
             readFile(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png")));

    // The data file unwrapped: the document object of both scenes.
    const QString strData = QString::fromUtf8(readFile(out.filePath(QStringLiteral("banner.js"))));
    const int nStart = strData.indexOf(QStringLiteral("var docData = ")) + 14;
    const QJsonObject jo =
        QJsonDocument::fromJson(strData.mid(nStart, strData.indexOf(QStringLiteral(";\n\t"), nStart) - nStart).toUtf8())
            .object();
    QCOMPARE(jo.value(QStringLiteral("v")).toInt(), 4);
    QCOMPARE(jo.value(QStringLiteral("mpv")).toInt(), 2);
    // A 300 x 250 banner.
    QCOMPARE(jo.value(QStringLiteral("w")).toInt(), 300);
    QCOMPARE(jo.value(QStringLiteral("h")).toInt(), 250);
    const KVSceneList *pScenes = source.project()->sceneList();
    QCOMPARE(jo.value(QStringLiteral("k")).toInt() >> 16, pScenes->count());
    QCOMPARE(jo.value(QStringLiteral("k")).toInt() & 0xff, pScenes->at(0)->children().size());
    QCOMPARE(jo.value(QStringLiteral("scenes")).toArray().size(), pScenes->count());
    QCOMPARE(jo.value(QStringLiteral("dur")).toInt(), pScenes->totalDuration());
    QCOMPARE(jo.value(QStringLiteral("resourceFolder")).toString(), QStringLiteral("resources"));
    QCOMPARE(jo.value(QStringLiteral("cssUrl")).toString(), QStringLiteral("banner.css"));
    // Nothing was written into the example's folder.
    QVERIFY(!QFileInfo::exists(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/preloader")));
}

namespace {

// The names and contents of a ZIP as Python's zipfile reads them, one "name<TAB>sha1" line per
// entry in archive order.
QStringList zipListing(const QString &strZip)
{
    return kvZipListing(strZip, QStringLiteral("i.filename + '\\t' + hashlib.sha1(z.read(i)).hexdigest()"));
}

QStringList folderListing(const QString &strFolder, const QStringList &files)
{
    QStringList lines;
    for (const QString &strFile : files)
        lines << strFile + QLatin1Char('\t')
                + QString::fromLatin1(QCryptographicHash::hash(readFile(strFolder + QLatin1Char('/') + strFile),
                                                               QCryptographicHash::Sha1)
                                          .toHex());
    return lines;
}

} // namespace

void tst_Export::zipExport()
{
    Fixture f;
    RecordingReporter rec;
    KVHtml5Exporter folder(&f.source);
    QVERIFY2(f.run(rec, &folder), qPrintable(rec.lastText()));
    const QString strZip = f.dir.path() + QStringLiteral("/zips/show.zip");
    KVHtml5Exporter zip(&f.source);
    zip.setPlayerFolder(f.strPlayer);
    QVERIFY2(zip.exportTo(strZip), qPrintable(rec.lastText()));
    QCOMPARE(zip.archivePath(), strZip);
    QCOMPARE(zip.pagePath(), QStringLiteral("show.html"));
    QCOMPARE(zip.writtenBytes(), QFileInfo(strZip).size());
    // The same files as the folder export, the page first and at the root.
    QStringList expected = filesBelow(f.strOut);
    expected.removeAll(QStringLiteral("show.html"));
    expected.prepend(QStringLiteral("show.html"));
    // The data file's key differs from one export to the next: its name is compared, not its bytes.
    const QStringList listing = zipListing(strZip);
    const QStringList folderFiles = folderListing(f.strOut, expected);
    QCOMPARE(listing.size(), folderFiles.size());
    for (int i = 0; i < listing.size(); ++i) {
        if (folderFiles.at(i).startsWith(QLatin1String("show.js\t")))
            QVERIFY2(listing.at(i).startsWith(QLatin1String("show.js\t")), qPrintable(listing.at(i)));
        else
            QCOMPARE(listing.at(i), folderFiles.at(i));
    }
    // Nothing but the ZIP is left beside it.
    QCOMPARE(QDir(f.dir.path() + QStringLiteral("/zips")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("show.zip")});

    // A failed export leaves the older ZIP as it was, with a message.
    const QByteArray old = readFile(strZip);
    QVERIFY(QFile::remove(f.dir.path() + QStringLiteral("/project/show_res/clip.mp4")));
    QVERIFY(!zip.exportTo(strZip));
    QCOMPARE(rec.lastText(), QStringLiteral("Error while exporting resource files."));
    QCOMPARE(readFile(strZip), old);
    // A folder in the ZIP's place is not replaced.
    QVERIFY(writeFile(f.dir.path() + QStringLiteral("/project/show_res/clip.mp4"), "MP4"));
    const QString strTaken = f.dir.path() + QStringLiteral("/taken.zip");
    QVERIFY(QDir().mkpath(strTaken + QStringLiteral("/keep")));
    QVERIFY(!zip.exportTo(strTaken));
    QVERIFY2(rec.lastText().startsWith(QStringLiteral("Cannot write the ZIP file")), qPrintable(rec.lastText()));
    QVERIFY(QFileInfo(strTaken + QStringLiteral("/keep")).isDir());
}

void tst_Export::adCheck_data()
{
    QTest::addColumn<QString>("strProfile");
    QTest::addColumn<QString>("strChange");
    // Empty when the profile passes; else what the one finding must say.
    QTest::addColumn<QString>("strFinding");

    QTest::newRow("google-ads passes the banner") << "google-ads" << "" << "";
    QTest::newRow("iab passes the banner") << "iab" << "" << "";
    QTest::newRow("a 200 KB image") << "google-ads" << "bigImage"
                                    << "banner.zip: the ZIP is * KB, over the limit of 150.0 KB: shrink or remove the "
                                       "largest files: resources/logo.png (*";
    QTest::newRow("a 200 KB image, iab") << "iab" << "bigImage" << "banner.zip: the initial load is * KB compressed, "
                                                                     "over the limit of 150.0 KB: shrink the largest files: resources/logo.png (*";
    QTest::newRow("a 1.1 MB video, iab") << "iab" << "bigVideo"
                                         << "banner.zip: the full load is * KB compressed, over the limit of 1024.0 KB: "
                                            "shrink the largest files: resources/intro.mp4 (*";
    QTest::newRow("41 files") << "google-ads" << "manyFiles"
                              << "banner.zip: the ZIP holds 41 files, over the limit of 40: *";
    QTest::newRow("101 files, campaign manager") << "campaign-manager" << "manyFiles101"
                                                 << "banner.zip: the ZIP holds 101 files, over the limit of 100: *";
    QTest::newRow("embedded installed fonts") << "google-ads" << "embedFonts"
                                              << "resources/arial.woff: the network accepts no font files (only *): "
                                                 "turn off the embedding of installed fonts in the document settings*";
    QTest::newRow("a BMP image") << "google-ads" << "bmp"
                                 << "resources/photo.bmp: files of this type are not accepted (only *";
    QTest::newRow("a script from a server") << "google-ads" << "remoteScript"
                                            << "Resource lib (https://cdn.example.org/lib.js): it is loaded from another "
                                               "server: import the file into the project*";
    QTest::newRow("a page template loading a font") << "google-ads" << "remoteTemplate"
                                                    << "banner.html: loads https://fonts.example.org/a.css from another "
                                                       "server: *";
    QTest::newRow("no ad.size for a responsive stage") << "google-ads" << "responsive"
                                                   << "banner.html: the page has no <meta name=\"ad.size\"> tag: *";
    QTest::newRow("local storage") << "google-ads" << "localStorage"
                                   << "resources/keep.js: uses localStorage, which the network does not allow: *";
    QTest::newRow("31 s of animation") << "google-ads" << "long"
                                       << "Timeline: the scenes last * s, over the limit of 30 s: shorten them*";
    QTest::newRow("no click tag") << "campaign-manager" << ""
                                  << "banner.html: the page declares no click tag (clickTag): give the element people "
                                     "click an \"Open Click Tag URL\" action.";
    QTest::newRow("a click tag") << "campaign-manager" << "clickTag" << "";
    QTest::newRow("a click tag of another name") << "campaign-manager" << "clickTag:exitUrl" << "";
}

void tst_Export::adCheck()
{
    QFETCH(QString, strProfile);
    QFETCH(QString, strChange);
    QFETCH(QString, strFinding);
    const QString strResources = KVTestEnvironment::binaryDir() + QStringLiteral("/share/kavio");
    if (!QFileInfo::exists(strResources + QStringLiteral("/resources/canvas/player/kvplayer.html")))
        QSKIP("the player folder is not staged in the build tree (build kavio-player-companions)");
    // The example banner in a folder of its own, changed to break one rule.
    QTemporaryDir dir;
    const QString strExample = KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner");
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("banner/banner_res"))));
    for (const QString &strFile : {QStringLiteral("banner.kavio"), QStringLiteral("banner_res/logo.png")})
        QVERIFY(QFile::copy(strExample + QLatin1Char('/') + strFile, dir.filePath(QStringLiteral("banner/") + strFile)));
    RecordingReporter rec;
    KVHeadlessPlayerSource source;
    QVERIFY2(source.open(dir.filePath(QStringLiteral("banner/banner.kavio"))), qPrintable(rec.lastText()));
    KVHeadlessProject *pProject = source.project();
    // An ad carries no embedded fonts: its networks take no font files, and the example's Arial
    // is on every machine.
    pProject->settings().m_bEmbedSystemFont = false;
    KVResourceManager *pManager = pProject->resourceManager();
    const QString strRes = dir.filePath(QStringLiteral("banner/banner_res/"));
    const auto noise = [](int nBytes) {
        QByteArray data(nBytes, Qt::Uninitialized);
        for (int i = 0; i < nBytes; ++i)
            data[i] = char(QRandomGenerator::global()->generate());
        return data;
    };
    const auto addImage = [&](const QString &strFile, const QByteArray &data) {
        QVERIFY(writeFile(strRes + strFile, data));
        KVResource *pImage = KVResource::create(0);
        pImage->setName(QFileInfo(strFile).completeBaseName());
        pImage->setFileName(strFile);
        pManager->addResource(pImage);
    };
    if (strChange == QLatin1String("bigImage")) {
        QVERIFY(writeFile(strRes + QStringLiteral("logo.png"), noise(200 * 1024)));
    } else if (strChange == QLatin1String("bigVideo")) {
        QVERIFY(writeFile(strRes + QStringLiteral("intro.mp4"), noise(1100 * 1024)));
        auto *pVideo = new MediaResource(2, QStringLiteral("intro"));
        pVideo->setFormatFile(QStringLiteral("intro.mp4"));
        pManager->addResource(pVideo);
    } else if (strChange.startsWith(QLatin1String("manyFiles"))) {
        // The example exports 5 files.
        const int nMore = strChange.endsWith(QLatin1String("101")) ? 96 : 36;
        for (int i = 0; i < nMore; ++i)
            addImage(QStringLiteral("dot%1.png").arg(i), "PNG" + QByteArray::number(i));
    } else if (strChange == QLatin1String("embedFonts")) {
        KVSystemFonts::Face face;
        if (!KVSystemFonts::findFace(QStringLiteral("Arial"), false, false, face))
            QSKIP("no installed font stands in for Arial");
        pProject->settings().m_bEmbedSystemFont = true;
    } else if (strChange == QLatin1String("bmp")) {
        addImage(QStringLiteral("photo.bmp"), "BM");
    } else if (strChange == QLatin1String("remoteScript")) {
        auto *pLinked = new KVOtherResource(5, QStringLiteral("lib"), QStringLiteral("https://cdn.example.org/lib.js"));
        pLinked->setResourceType(KVOtherResource::Address);
        pManager->addResource(pLinked);
    } else if (strChange == QLatin1String("remoteTemplate")) {
        pProject->settings().m_strHtmlOutput = QStringLiteral(
            "<html><head><link rel=\"stylesheet\" href=\"https://fonts.example.org/a.css\"></head><body>"
            "<a href=\"https://landing.example.org/\">no asset</a><script>{$loadDocumentScript}</script></body></html>");
    } else if (strChange == QLatin1String("responsive")) {
        pProject->breakpoints()->addHBreakpoint(500);
    } else if (strChange == QLatin1String("localStorage")) {
        QVERIFY(writeFile(strRes + QStringLiteral("keep.js"), "localStorage.setItem('seen', 1);"));
        pManager->addResource(new KVOtherResource(5, QStringLiteral("keep.js"), QStringLiteral("keep.js")));
    } else if (strChange.startsWith(QLatin1String("clickTag"))) {
        // The button's click leads to the network's landing page instead of the next scene.
        KVElement *pButton = nullptr;
        for (KVElement *pElement : pProject->sceneList()->at(0)->children()) {
            if (pElement->name() == QLatin1String("button"))
                pButton = pElement;
        }
        QVERIFY(pButton && pButton->count() > 0);
        pButton->at(0)->setAction(KVActionCatalogue::OpenClickTagUrl);
        pButton->at(0)->setActionData(QJsonObject{{QStringLiteral("url"), QStringLiteral("https://example.org/")}});
        if (strChange.contains(QLatin1Char(':')))
            pProject->settings().m_strClickTag = strChange.section(QLatin1Char(':'), 1);
    } else if (strChange == QLatin1String("long")) {
        KVScene *pScene = pProject->sceneList()->at(1);
        pScene->setTransitionType(1);
        pScene->setTransitionDuration(31000);
    }
    const QString strZip = dir.filePath(QStringLiteral("out/banner.zip"));
    KVHtml5Exporter exporter(&source.source());
    exporter.setResourcePath(strResources);
    QVERIFY2(exporter.exportTo(strZip), qPrintable(rec.lastText()));
    QStringList findings;
    QVERIFY2(KVAdCheck::check(strProfile, strZip, KVAdCheck::projectOf(source.source()), findings),
             qPrintable(rec.lastText()));
    if (strFinding.isEmpty()) {
        QVERIFY2(findings.isEmpty(), qPrintable(findings.join(QLatin1Char('\n'))));
        return;
    }
    // The banner has no click tag: a row that breaks another rule is not about it.
    if (!strChange.isEmpty() && !strChange.startsWith(QLatin1String("clickTag")))
        findings = findings.filter(QRegularExpression(QStringLiteral("^(?!banner.html: the page declares no click tag)")));
    // Arial is embedded in two faces, each a finding of its own.
    if (strChange == QLatin1String("embedFonts"))
        findings = findings.filter(QRegularExpression(QStringLiteral("^resources/arial\\.woff:")));
    QCOMPARE(findings.size(), 1);
    QStringList parts = strFinding.split(QLatin1Char('*'));
    for (QString &strPart : parts)
        strPart = QRegularExpression::escape(strPart);
    QVERIFY2(QRegularExpression(QLatin1Char('^') + parts.join(QStringLiteral(".*")) + QLatin1Char('$'))
                 .match(findings.first()).hasMatch(),
             qPrintable(findings.first()));
}

KAVIO_TEST_MAIN(tst_Export)
#include "tst_export.moc"
