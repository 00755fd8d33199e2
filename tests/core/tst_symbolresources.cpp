#include "KVTestMain.h"
#include "RecordingReporter.h"
#include "KVDocumentTestKit.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPlayback.h"
#include "animation/KVPlaybackAnimation.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "document/KVDocument.h"
#include "document/KVHeadlessProject.h"
#include "interaction/KVActionCatalogue.h"
#include "model/KVElementFactory.h"
#include "model/KVMedia.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVSymbolElement.h"
#include "model/KVText.h"
#include "output/KVCanvasSceneData.h"
#include "output/KVHeadlessPlayerSource.h"
#include "output/KVPlayerData.h"
#include "output/KVPlayerSource.h"
#include "output/KVSymbolResources.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/MediaResource.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

using Act = KVActionCatalogue;

bool writeFile(const QString &strPath, const QByteArray &data)
{
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

KVScene *addScene(KVSymbol &symbol, const QString &strName)
{
    KVScene *pScene = symbol.sceneList()->createScene();
    pScene->setName(strName);
    symbol.sceneList()->addScene(pScene);
    return pScene;
}

KVElement *addElement(KVScene *pScene, int nType, const QString &strName)
{
    KVElement *pElement = KVElementFactory::createElement(nType);
    pElement->setName(strName);
    pElement->setSizeW(100);
    pElement->setSizeH(50);
    pScene->addElement(pElement);
    return pElement;
}

// A track of one property from 0 to nEnd ms.
void animate(KVTimeline *pTimeline, KVElement *pElement, int nEnd)
{
    auto *pAnimation = new KVAnimation(pElement);
    pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
    KVKeyframe *pTrack = KVKeyframe::create(pElement, KVPropertyCatalogue::Left, KVLayoutKey::base());
    pTrack->addKeyValue(new KVKeyValue(0, 0.0), QEasingCurve::Linear, true);
    pTrack->addKeyValue(new KVKeyValue(nEnd, 80.0), QEasingCurve::Linear, true);
    pAnimation->addKeyframe(pTrack);
}

KVPlayback *playbackOf(KVTimeline *pTimeline, KVElement *pElement)
{
    auto *pAnimation = static_cast<KVPlaybackAnimation *>(KVPlaybackAnimation::createFor(pElement));
    pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
    return pAnimation->playback();
}

// A project in a temporary folder whose symbols are resources with files: "inner" (a video, a text
// in Gill's Sans and a 1500 ms timeline with the label "mid" at 600) and "outer" (a 2000 ms
// timeline that starts an instance of inner), with an instance of outer and a video of 3000 ms on
// the stage. The playback lists of the stage are left to the test; the project is saved by save().
struct SymbolProject
{
    QTemporaryDir dir;
    KVHeadlessProject project;
    KVResource *pInner = nullptr;
    KVResource *pOuter = nullptr;
    KVSymbolElement *pInstance = nullptr;
    KVMedia *pVideo = nullptr;
    KVTimeline *pMain = nullptr;

    SymbolProject() : project(dir.path() + QStringLiteral("/show.kavio"))
    {
        QDir(dir.path()).mkpath(QStringLiteral("show_res"));
        KVResourceManager *pManager = project.resourceManager();
        pInner = KVResource::create(3);
        pInner->setName(QStringLiteral("inner"));
        pInner->setFileName(QStringLiteral("inner.kaviosym"));
        pManager->addResource(pInner);
        pOuter = KVResource::create(3);
        pOuter->setName(QStringLiteral("outer"));
        pOuter->setFileName(QStringLiteral("outer.kaviosym"));
        pManager->addResource(pOuter);

        KVSymbol inner;
        KVScene *pInnerScene = addScene(inner, QStringLiteral("InnerScene"));
        animate(pInnerScene->mainTimeline(), addElement(pInnerScene, 5, QStringLiteral("spot")), 1500);
        addElement(pInnerScene, 2, QStringLiteral("film"));
        static_cast<KVText *>(addElement(pInnerScene, 4, QStringLiteral("caption")))
            ->setFontFamily(QStringLiteral("Gill's Sans"), KVLayoutKey::base());
        pInnerScene->mainTimeline()->addLabel(QStringLiteral("mid"), 600);

        KVSymbol outer;
        KVScene *pOuterScene = addScene(outer, QStringLiteral("OuterScene"));
        animate(pOuterScene->mainTimeline(), addElement(pOuterScene, 5, QStringLiteral("bar")), 2000);
        auto *pNested = static_cast<KVSymbolElement *>(addElement(pOuterScene, 7, QStringLiteral("nested")));
        pNested->setSymbol(pInner, pManager);
        playbackOf(pOuterScene->mainTimeline(), pNested)->addItem(Act::StartSymbol, 100);

        const QString strRes = dir.path() + QStringLiteral("/show_res/");
        bOk = KVSymbolResources::writeSymbolFile(inner, strRes + pInner->fileName())
            && KVSymbolResources::writeSymbolFile(outer, strRes + pOuter->fileName())
            && writeFile(strRes + QStringLiteral("clip.webm"), "WEBM");

        auto *pClip = new MediaResource(2, QStringLiteral("clip"));
        pClip->setFormatFile(QStringLiteral("clip.webm"));
        pManager->addResource(pClip);

        KVScene *pScene = addScene(project, QStringLiteral("Main"));
        pMain = pScene->mainTimeline();
        pInstance = static_cast<KVSymbolElement *>(addElement(pScene, 7, QStringLiteral("badge")));
        pInstance->setSymbol(pOuter, pManager);
        pVideo = static_cast<KVMedia *>(addElement(pScene, 2, QStringLiteral("video")));
        pVideo->setMedia(pClip, pManager);
        pVideo->setDuration(3000);
    }

    bool save() { return bOk && project.save(); }
    QString file() const { return project.fileName(); }
    QString resourceFile(const KVResource *pResource) const
    {
        return dir.path() + QStringLiteral("/show_res/") + pResource->fileName();
    }

    bool bOk = false;
};

// The export data of a project opened headless.
QJsonObject exportData(KVHeadlessPlayerSource &source)
{
    KVPlayerData data(&source.source());
    return data.build(KVPlayerData::Options());
}

// The playback entries of the first scene's main timeline in player data.
QJsonArray playbackEntries(const QJsonObject &joScene)
{
    QJsonArray entries;
    const QJsonArray ra = joScene.value(QStringLiteral("timelines")).toArray().at(0).toObject().value(QStringLiteral("ra")).toArray();
    for (const QJsonValue &layout : ra)
        for (const QJsonValue &entry : layout.toArray().at(2).toArray())
            if (entry.toObject().value(QStringLiteral("p")).toString() == QLatin1String("pb"))
                entries.append(entry);
    return entries;
}

// The symbol resources of player data by name.
QMap<QString, QJsonObject> symbolsOf(const QJsonObject &jo)
{
    QMap<QString, QJsonObject> symbols;
    for (const QJsonValue &v : jo.value(QStringLiteral("resources")).toArray()) {
        const QJsonArray item = v.toArray();
        if (item.at(1).toInt() == 3)
            symbols.insert(item.at(2).toString(), item.at(3).toObject());
    }
    return symbols;
}

QString compact(const QJsonValue &v)
{
    return QString::fromUtf8(v.isArray() ? QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact)
                                         : QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
}

} // namespace

class tst_SymbolResources : public QObject
{
    Q_OBJECT

private slots:
    void exportCarriesTheSymbols();
    void playbackEntriesUseTheContentLength_data();
    void playbackEntriesUseTheContentLength();
    void unreadableSymbolFilesEndTheOpen_data();
    void unreadableSymbolFilesEndTheOpen();
    void deletedSymbolsAreNotRead();
    void editorDocumentExportsItsSymbols();
    void symbolFileRoundTrip();
    void symbolFileThatCannotBeWritten();
    void symbolsThatContainThemselves_data();
    void symbolsThatContainThemselves();
};

void tst_SymbolResources::exportCarriesTheSymbols()
{
    RecordingReporter rec;
    SymbolProject p;
    playbackOf(p.pMain, p.pInstance)->addItem(Act::StartSymbol, 0);
    QVERIFY(p.save());

    KVHeadlessPlayerSource source;
    QVERIFY2(source.open(p.file()), qPrintable(rec.lastText()));
    QCOMPARE(source.symbols().count(), 2);
    source.source().pSettings->m_bEmbedSystemFont = true;
    KVPlayerData data(&source.source());
    const QJsonObject jo = data.build(KVPlayerData::Options());
    const QMap<QString, QJsonObject> symbols = symbolsOf(jo);
    QCOMPARE(symbols.keys(), (QStringList{"inner", "outer"}));
    // The video of inner, played by outer, played by the stage, counts twice at each level beside
    // the stage's own; the font used only inside inner is collected for embedding.
    QCOMPARE(jo.value(QStringLiteral("mm")).toArray(), (QJsonArray{0, 5}));
    QVERIFY2(data.fontFamilies().contains(QStringLiteral("'Gill\\'s Sans'")),
             qPrintable(QStringList(data.fontFamilies().values()).join(QLatin1Char('|'))));
    // Each symbol travels whole: its scenes with their elements, its length, alignment and fit.
    const QJsonObject outer = symbols.value(QStringLiteral("outer"));
    QCOMPARE(outer.value(QStringLiteral("dur")).toInt(), 2000);
    QCOMPARE(outer.value(QStringLiteral("align")).toInt(), 4);
    QCOMPARE(outer.value(QStringLiteral("af")).toBool(true), false);
    QVERIFY(!outer.contains(QStringLiteral("b")));
    const QJsonObject outerScene = outer.value(QStringLiteral("scenes")).toArray().at(0).toObject();
    QCOMPARE(outerScene.value(QStringLiteral("n")).toString(), QStringLiteral("OuterScene"));
    QStringList names;
    for (const QJsonValue &e : outerScene.value(QStringLiteral("elems")).toArray())
        names << e.toObject().value(QStringLiteral("n")).toString();
    QCOMPARE(names, (QStringList{"bar", "nested"}));
    QCOMPARE(symbols.value(QStringLiteral("inner")).value(QStringLiteral("dur")).toInt(), 1500);

    // The nested instance inside outer plays inner for inner's whole length; the stage's instance
    // plays outer for outer's.
    QCOMPARE(compact(playbackEntries(outerScene)), QStringLiteral(R"([{"a":[1,0,1],"d":1500,"el":2,"p":"pb","t":100}])"));
    const QJsonObject scene = jo.value(QStringLiteral("scenes")).toArray().at(0).toObject();
    QCOMPARE(compact(playbackEntries(scene)), QStringLiteral(R"([{"a":[1,0,1],"d":2000,"el":1,"p":"pb","t":0}])"));
    QVERIFY(rec.entries().isEmpty());
}

void tst_SymbolResources::playbackEntriesUseTheContentLength_data()
{
    QTest::addColumn<bool>("video");
    QTest::addColumn<QList<int>>("actions");
    QTest::addColumn<QList<int>>("times");
    QTest::addColumn<QJsonValue>("target");
    QTest::addColumn<QString>("entries");

    const QJsonValue none;
    QTest::newRow("symbol started") << false << QList<int>{Act::StartSymbol} << QList<int>{250} << none
                                    << R"([{"a":[1,0,1],"d":2000,"el":1,"p":"pb","t":250}])";
    QTest::newRow("symbol paused and played on")
        << false << QList<int>{Act::StartSymbol, Act::PauseSymbol, Act::PlaySymbol} << QList<int>{0, 500, 900} << none
        << R"([{"a":[1,0,1],"d":500,"el":1,"p":"pb","t":0},{"a":[4,500],"d":0,"el":1,"p":"pb","t":500},)"
           R"({"a":[2,500,1],"d":1500,"el":1,"p":"pb","t":900}])";
    QTest::newRow("symbol paused past its end") << false << QList<int>{Act::PauseSymbolAt} << QList<int>{0}
                                                << QJsonValue(5000)
                                                << R"([{"a":[5,2000],"d":0,"el":1,"p":"pb","t":0}])";
    QTest::newRow("video started") << true << QList<int>{Act::StartMedia} << QList<int>{300} << none
                                   << R"([{"a":[1,0,1],"d":3000,"el":2,"p":"pb","t":300}])";
    QTest::newRow("video from a position")
        << true << QList<int>{Act::PlayMediaFrom, Act::PauseMedia} << QList<int>{0, 1000} << QJsonValue(1200)
        << R"([{"a":[3,1200,1],"d":1000,"el":2,"p":"pb","t":0},{"a":[4,2200],"d":0,"el":2,"p":"pb","t":1000}])";
}

void tst_SymbolResources::playbackEntriesUseTheContentLength()
{
    QFETCH(bool, video);
    QFETCH(QList<int>, actions);
    QFETCH(QList<int>, times);
    QFETCH(QJsonValue, target);
    QFETCH(QString, entries);

    RecordingReporter rec;
    SymbolProject p;
    // The lists are made while nothing is attached: the lengths come from the symbol files the
    // export reads and from the media duration.
    KVPlayback *pPlayback = playbackOf(p.pMain, video ? static_cast<KVElement *>(p.pVideo) : p.pInstance);
    for (int i = 0; i < actions.size(); ++i)
        pPlayback->addItem(actions.at(i), times.at(i), target, 100);
    QVERIFY(p.save());
    KVHeadlessPlayerSource source;
    QVERIFY2(source.open(p.file()), qPrintable(rec.lastText()));
    const QJsonObject scene = exportData(source).value(QStringLiteral("scenes")).toArray().at(0).toObject();
    QCOMPARE(compact(playbackEntries(scene)), entries);
}

void tst_SymbolResources::unreadableSymbolFilesEndTheOpen_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("remove");
    QTest::newRow("missing file") << QByteArray() << true;
    QTest::newRow("not JSON") << QByteArray("{\"scenes\": [") << false;
    QTest::newRow("an array") << QByteArray("[1, 2]") << false;
}

void tst_SymbolResources::unreadableSymbolFilesEndTheOpen()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, remove);
    RecordingReporter rec;
    SymbolProject p;
    QVERIFY(p.save());
    if (remove)
        QVERIFY(QFile::remove(p.resourceFile(p.pOuter)));
    else
        QVERIFY(writeFile(p.resourceFile(p.pOuter), content));
    // A missing file is first offered as a missing resource; going on, its symbol cannot be read.
    if (remove)
        rec.answer(IReporter::Yes);
    KVHeadlessPlayerSource source;
    QVERIFY(!source.open(p.file()));
    QCOMPARE(rec.unansweredQuestions(), 0);
    QCOMPARE(rec.lastText(), QStringLiteral("Cannot open project.\nError while loading symbol resources."));
    // The project file is untouched.
    QVERIFY(QFile::exists(p.file()));
}

void tst_SymbolResources::deletedSymbolsAreNotRead()
{
    RecordingReporter rec;
    SymbolProject p;
    p.pInner->setDeleted(true);
    QVERIFY(p.save());
    QVERIFY(QFile::remove(p.resourceFile(p.pInner)));
    KVHeadlessPlayerSource source;
    QVERIFY2(source.open(p.file()), qPrintable(rec.lastText()));
    QCOMPARE(source.symbols().count(), 1);
    QCOMPARE(symbolsOf(exportData(source)).keys(), QStringList{"outer"});
}

void tst_SymbolResources::editorDocumentExportsItsSymbols()
{
    RecordingReporter rec;
    ProjectFolder folder;
    KVDocument doc;
    doc.setFileName(folder.path(QStringLiteral("ad/ad.kavio")));
    QDir().mkpath(folder.path(QStringLiteral("ad")));
    QVERIFY(doc.create(300, 250, 1, false));
    KVSymbol badge;
    KVScene *pBadgeScene = addScene(badge, QStringLiteral("BadgeScene"));
    animate(pBadgeScene->mainTimeline(), addElement(pBadgeScene, 5, QStringLiteral("dot")), 1200);
    const QString strSource = folder.sources() + QStringLiteral("/badge.kaviosym");
    QVERIFY(KVSymbolResources::writeSymbolFile(badge, strSource));
    KVResource *pBadge = doc.resourceManager()->importFile(strSource, 3);
    QVERIFY(pBadge && doc.resourceManager()->addResource(pBadge));
    KVScene *pScene = doc.sceneList()->at(0);
    auto *pInstance = static_cast<KVSymbolElement *>(addElement(pScene, 7, QStringLiteral("badge")));
    pInstance->setSymbol(pBadge, doc.resourceManager());
    playbackOf(pScene->mainTimeline(), pInstance)->addItem(Act::StartSymbol, 0);

    {
        KVDocumentPlayerSource source(&doc);
        const QJsonObject jo = KVPlayerData(&source.source()).build(KVPlayerData::Options());
        const QJsonObject symbol = symbolsOf(jo).value(pBadge->name());
        QCOMPARE(symbol.value(QStringLiteral("dur")).toInt(), 1200);
        QCOMPARE(symbol.value(QStringLiteral("scenes")).toArray().at(0).toObject().value(QStringLiteral("n")).toString(),
                 QStringLiteral("BadgeScene"));
        const QJsonObject joScene = jo.value(QStringLiteral("scenes")).toArray().at(0).toObject();
        QCOMPARE(playbackEntries(joScene).at(0).toObject().value(QStringLiteral("d")).toInt(), 1200);
    }
    // The document keeps nothing of the symbols read for the export.
    QVERIFY(!pInstance->symbolTimeline());
    QCOMPARE(pInstance->playbackContentLength(), 0);
    doc.close();
}

void tst_SymbolResources::symbolFileRoundTrip()
{
    KVSymbol symbol;
    symbol.setWidth(120);
    symbol.setHeight(90);
    symbol.setTitle(QStringLiteral("Badge"));
    KVScene *pScene = addScene(symbol, QStringLiteral("Only"));
    animate(pScene->mainTimeline(), addElement(pScene, 5, QStringLiteral("box")), 700);

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(KVSymbolResources::writeSymbol(symbol, buffer));
    buffer.close();
    // Compact JSON of the symbol data only.
    const QJsonObject jo = QJsonDocument::fromJson(buffer.data()).object();
    QVERIFY(!buffer.data().contains('\n'));
    QVERIFY(jo.contains(QStringLiteral("scenes")));
    QVERIFY(jo.contains(QStringLiteral("layoutBreakpoints")));
    QVERIFY(!jo.contains(QStringLiteral("resources")));
    QVERIFY(!jo.contains(QStringLiteral("scripts")));

    KVSymbol copy;
    addScene(copy, QStringLiteral("Replaced"));
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QVERIFY(KVSymbolResources::readSymbol(copy, buffer, nullptr));
    QCOMPARE(copy.sceneList()->count(), 1);
    QCOMPARE(copy.sceneList()->at(0)->name(), QStringLiteral("Only"));
    QCOMPARE(copy.sceneList()->at(0)->mainTimeline()->totalDuration(), 700);
    QCOMPARE(copy.width(), 120);
    QCOMPARE(copy.title(), QStringLiteral("Badge"));

    QBuffer broken;
    broken.setData("not a symbol");
    QVERIFY(broken.open(QIODevice::ReadOnly));
    QTest::ignoreMessage(QtWarningMsg, "Error while reading symbol data. The data structure is invalid.");
    QVERIFY(!KVSymbolResources::readSymbol(copy, broken, nullptr));
    // A failed read leaves the symbol as it was.
    QCOMPARE(copy.sceneList()->at(0)->name(), QStringLiteral("Only"));
}

void tst_SymbolResources::symbolFileThatCannotBeWritten()
{
    KVSymbol symbol;
    addScene(symbol, QStringLiteral("Only"));
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QTest::ignoreMessage(QtWarningMsg, "Could not save symbol data");
    QVERIFY(!KVSymbolResources::writeSymbol(symbol, buffer));
}

void tst_SymbolResources::symbolsThatContainThemselves_data()
{
    // "name:played,played ..." for every symbol of the project, in the order of their resource ids.
    QTest::addColumn<QString>("plays");
    QTest::addColumn<QString>("error"); // empty when the project opens
    QTest::addColumn<QStringList>("empty"); // symbols the stage shows without content
    QTest::newRow("itself") << "a:a" << "Symbol \"a\" contains itself (a > a); a symbol cannot play inside itself."
                            << QStringList{"a"};
    QTest::newRow("through another") << "a:b b:a" << "Symbol \"a\" contains itself (a > b > a); a symbol cannot play inside itself."
                                     << QStringList{"a", "b"};
    QTest::newRow("a ring that another leads into")
        << "door:one one:two two:three,one three:one"
        << "Symbol \"one\" contains itself (one > two > three > one); a symbol cannot play inside itself."
        << QStringList{"one", "two", "three"};
    QTest::newRow("nested twice, no ring") << "outer:middle,middle,inner middle:inner inner:" << QString() << QStringList();
}

void tst_SymbolResources::symbolsThatContainThemselves()
{
    QFETCH(QString, plays);
    QFETCH(QString, error);
    QFETCH(QStringList, empty);
    RecordingReporter rec;
    QTemporaryDir dir;
    const QString strFile = dir.path() + QStringLiteral("/rings.kavio");
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("rings_res")));
    QMap<QString, KVResource *> byName;
    {
        KVHeadlessProject project(strFile);
        KVResourceManager *pManager = project.resourceManager();
        const QStringList entries = plays.split(QLatin1Char(' '));
        for (const QString &strEntry : entries) {
            KVResource *pSymbol = KVResource::create(3);
            pSymbol->setName(strEntry.section(QLatin1Char(':'), 0, 0));
            pSymbol->setFileName(pSymbol->name() + QStringLiteral(".kaviosym"));
            QVERIFY(pManager->addResource(pSymbol));
            byName.insert(pSymbol->name(), pSymbol);
        }
        for (const QString &strEntry : entries) {
            KVSymbol symbol;
            KVScene *pScene = addScene(symbol, QStringLiteral("Inside"));
            animate(pScene->mainTimeline(), addElement(pScene, 5, QStringLiteral("dot")), 800);
            for (const QString &strPlayed : strEntry.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                auto *pInstance = static_cast<KVSymbolElement *>(addElement(pScene, 7, strPlayed));
                pInstance->setSymbol(byName.value(strPlayed), pManager);
                playbackOf(pScene->mainTimeline(), pInstance)->addItem(Act::StartSymbol, 0);
            }
            const QString strName = strEntry.section(QLatin1Char(':'), 0, 0);
            QVERIFY(KVSymbolResources::writeSymbolFile(symbol, dir.path() + QStringLiteral("/rings_res/") + strName + QStringLiteral(".kaviosym")));
        }
        KVScene *pMain = addScene(project, QStringLiteral("Main"));
        auto *pInstance = static_cast<KVSymbolElement *>(addElement(pMain, 7, QStringLiteral("first")));
        pInstance->setSymbol(byName.first(), pManager);
        playbackOf(pMain->mainTimeline(), pInstance)->addItem(Act::StartSymbol, 0);
        QVERIFY(project.save());
    }

    // The export and the check open the project one way, the editor another: both refuse a ring.
    const QStringList refused{error, QStringLiteral("Cannot open project.\nError while loading symbol resources.")};
    KVHeadlessPlayerSource source;
    QCOMPARE(source.open(strFile), error.isEmpty());
    QCOMPARE(rec.texts(), error.isEmpty() ? QStringList() : refused);
    rec.clear();
    {
        KVDocument doc;
        QCOMPARE(doc.load(strFile), error.isEmpty());
        QCOMPARE(rec.texts(), error.isEmpty() ? QStringList() : refused);
        doc.close();
    }
    rec.clear();

    // The stage reads the symbol files for its page whatever the project holds: the symbols of a
    // ring come without content, the others with theirs, and the data is built in finite time.
    KVHeadlessProject project(strFile);
    QVERIFY(project.open());
    KVSymbolResources symbols;
    QCOMPARE(symbols.load(project.resourceManager(), &project), error.isEmpty());
    QCOMPARE(symbols.errors(), error.isEmpty() ? QStringList() : QStringList{error});
    symbols.attach(project);
    const QJsonObject jo = KVCanvasSceneData::build(project, project.sceneList()->at(0), project.resourceManager(),
                                                    KVCanvasSceneData::ViewFlags(), symbols.writer());
    QStringList shownEmpty;
    for (const QJsonValue &v : jo.value(QStringLiteral("resources")).toArray()) {
        const QJsonArray item = v.toArray();
        if (item.at(1).toInt() == 3 && item.at(3).toObject().value(QStringLiteral("scenes")).toArray().isEmpty())
            shownEmpty << item.at(2).toString();
    }
    shownEmpty.sort();
    empty.sort();
    QCOMPARE(shownEmpty, empty);
    symbols.clear();
}

KAVIO_TEST_MAIN(tst_SymbolResources)
#include "tst_symbolresources.moc"
