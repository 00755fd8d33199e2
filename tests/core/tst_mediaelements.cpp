// Image, audio, video, HTML widget and symbol elements: how their readers find a resource (or drop
// the element), the use counts they hold across clones and deletes, reader defaults against those of
// new elements, the canvas and export player forms, lookups by content hash and the symbol layout.

#include "KVResourceTestContext.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "animation/KVAnimatableSubject.h"
#include "document/KVHeadlessProject.h"
#include "model/IKVDocumentContext.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "model/KVHTMLWidget.h"
#include "model/KVImage.h"
#include "model/KVImageProperty.h"
#include "model/KVMedia.h"
#include "model/KVResourceHolder.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVSymbolElement.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

#include <QCryptographicHash>
#include <QJsonDocument>

#include <memory>

namespace {

using T = KVElementType::Type;

// A document as the element readers see it: its resource manager (ids from 1) and the breakpoint
// sets of the symbols whose content is loaded.
class ElementContext : public IKVDocumentContext
{
public:
    mutable KVResourceManager manager;
    QMap<const KVResource *, KVBreakpointSet *> symbolSets;

    KVResourceManager *documentResourceManager() const override { return &manager; }
    KVImageUseCounter *imageUseCounter() const override { return &manager; }
    KVBreakpointSet *symbolBreakpoints(const KVResource *pSymbol) const override
    {
        return symbolSets.value(pSymbol, nullptr);
    }

    KVResource *add(int nType, bool bDeleted = false)
    {
        KVResource *pResource = KVResource::create(nType);
        pResource->setName(QStringLiteral("r%1").arg(manager.nextId()));
        if (!manager.addResource(pResource))
            qFatal("cannot add a test resource");
        pResource->setDeleted(bDeleted);
        return pResource;
    }
    // One resource per letter, ids 1, 2, ...: i image, x deleted image, a audio, v video, s symbol,
    // p HTML page, f font.
    void addAll(const QString &strKinds)
    {
        for (const QChar c : strKinds) {
            switch (c.toLatin1()) {
            case 'i': add(0); break;
            case 'x': add(0, true); break;
            case 'a': add(1); break;
            case 'v': add(2); break;
            case 's': add(3); break;
            case 'f': add(4); break;
            case 'p': add(7); break;
            default: qFatal("unknown resource letter");
            }
        }
    }
    QMap<int, int> counts() const
    {
        QMap<int, int> map;
        for (const KVResource *pResource : manager.resources())
            map.insert(pResource->id(), pResource->useCount());
        return map;
    }
    int total() const
    {
        int n = 0;
        for (const KVResource *pResource : manager.resources())
            n += pResource->useCount();
        return n;
    }
};

QJsonObject obj(const char *pszJson)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(pszJson), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad JSON in test data: %s", pszJson);
    return doc.object();
}

QString compact(const QJsonValue &value)
{
    if (value.isArray())
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
}

std::unique_ptr<KVElement> make(int nType)
{
    return std::unique_ptr<KVElement>(KVElementFactory::createElement(nType));
}

// The resource operations that each kind names in its own way.
bool setResourceOf(KVElement *pElement, KVResource *pResource, KVResourceManager *pManager)
{
    if (auto *pImage = qobject_cast<KVImage *>(pElement))
        return pImage->setImage(pResource, pManager);
    if (auto *pMedia = qobject_cast<KVMedia *>(pElement))
        return pMedia->setMedia(pResource, pManager);
    if (auto *pWidget = qobject_cast<KVHTMLWidget *>(pElement)) {
        pWidget->setUseResource(true);
        return pWidget->setResource(pResource, pManager);
    }
    if (auto *pSymbol = qobject_cast<KVSymbolElement *>(pElement))
        return pSymbol->setSymbol(pResource, pManager);
    return false;
}

bool setByHashOf(KVElement *pElement, KVResourceManager *pManager, const QByteArray &hash)
{
    if (auto *pImage = qobject_cast<KVImage *>(pElement))
        return pImage->setImageByHash(pManager, hash);
    if (auto *pMedia = qobject_cast<KVMedia *>(pElement))
        return pMedia->setMediaByHash(pManager, hash);
    if (auto *pWidget = qobject_cast<KVHTMLWidget *>(pElement))
        return pWidget->setResourceByHash(pManager, hash);
    if (auto *pSymbol = qobject_cast<KVSymbolElement *>(pElement))
        return pSymbol->setSymbolByHash(pManager, hash);
    return false;
}

int resourceIdOf(const KVElement *pElement)
{
    if (auto *pImage = qobject_cast<const KVImage *>(pElement))
        return pImage->imageId();
    if (auto *pMedia = qobject_cast<const KVMedia *>(pElement))
        return pMedia->mediaId();
    if (auto *pWidget = qobject_cast<const KVHTMLWidget *>(pElement))
        return pWidget->resourceId();
    if (auto *pSymbol = qobject_cast<const KVSymbolElement *>(pElement))
        return pSymbol->symbolId();
    return -2;
}

bool holdsCountOf(const KVElement *pElement)
{
    if (auto *pImage = qobject_cast<const KVImage *>(pElement))
        return pImage->holdsCount();
    if (auto *pMedia = qobject_cast<const KVMedia *>(pElement))
        return pMedia->holdsCount();
    if (auto *pWidget = qobject_cast<const KVHTMLWidget *>(pElement))
        return pWidget->holdsCount();
    if (auto *pSymbol = qobject_cast<const KVSymbolElement *>(pElement))
        return pSymbol->holdsCount();
    return false;
}

// The resource type each kind is shown with in the use-count tests.
int resourceTypeFor(int nElementType)
{
    switch (nElementType) {
    case T::Audio: return 1;
    case T::Video: return 2;
    case T::HTML_Widget: return 7;
    case T::Symbol: return 3;
    default: return 0;
    }
}

QJsonObject playerOf(KVElement *pElement, bool bForCanvas)
{
    QJsonObject jo;
    pElement->toPlayerJson(jo, bForCanvas);
    return jo;
}

QJsonObject projectOf(const KVElement *pElement)
{
    QJsonObject jo;
    pElement->toJson(jo);
    return jo;
}

QByteArray md5(const QByteArray &data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Md5).toHex();
}

} // namespace

class tst_MediaElements : public QObject
{
    Q_OBJECT

private slots:
    void readerFindsResource_data();
    void readerFindsResource();
    void droppedElementLeavesTheRest();
    void useCountsAcrossCloneAndDelete_data();
    void useCountsAcrossCloneAndDelete();
    void countsOfATree();
    void refusesResourcesOfAnotherKind_data();
    void refusesResourcesOfAnotherKind();
    void mediaDefaults_data();
    void mediaDefaults();
    void imagePlacementDefaults();
    void canvasOverrides_data();
    void canvasOverrides();
    void lookupsByHash_data();
    void lookupsByHash();
    void projectRoundTrip_data();
    void projectRoundTrip();
    void widgetKeys_data();
    void widgetKeys();
    void imagePlayerForms_data();
    void imagePlayerForms();
    void animatableValues();
    void symbolLayout_data();
    void symbolLayout();
    void symbolBreakpointsFromTheDocument();
    void heldResourceOutlivesNoManager();
    void projectFileOpensAndSaves();
};

// ---- Readers --------------------------------------------------------------------------------

void tst_MediaElements::readerFindsResource_data()
{
    QTest::addColumn<QString>("resources");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("expected"); // resource id, -1 for none, 0 when the element is dropped

    QTest::newRow("image by id") << "ii" << int(T::Image) << QByteArray(R"({"resourceId":2})") << 2;
    QTest::newRow("image, deleted id takes the lowest image")
        << "aiii" << int(T::Image) << QByteArray(R"({"resourceId":9})") << 2;
    QTest::newRow("image, id of an audio takes the lowest image")
        << "aii" << int(T::Image) << QByteArray(R"({"resourceId":1})") << 2;
    QTest::newRow("image without id") << "vi" << int(T::Image) << QByteArray("{}") << 2;
    QTest::newRow("image, id as a string is no id")
        << "ii" << int(T::Image) << QByteArray(R"({"resourceId":"2"})") << 1;
    QTest::newRow("image, removed image is passed over")
        << "xi" << int(T::Image) << QByteArray(R"({"resourceId":1})") << 2;
    QTest::newRow("image without images is dropped") << "avsp" << int(T::Image) << QByteArray(R"({"resourceId":1})") << 0;
    QTest::newRow("image, only a removed image") << "x" << int(T::Image) << QByteArray(R"({"resourceId":1})") << 0;

    QTest::newRow("audio by id") << "ava" << int(T::Audio) << QByteArray(R"({"resourceId":3})") << 3;
    QTest::newRow("audio accepts a video by id") << "av" << int(T::Audio) << QByteArray(R"({"resourceId":2})") << 2;
    QTest::newRow("audio falls back to the lowest audio")
        << "viaa" << int(T::Audio) << QByteArray(R"({"resourceId":2})") << 3;
    QTest::newRow("video falls back to the lowest video")
        << "aavv" << int(T::Video) << QByteArray(R"({"resourceId":7})") << 3;
    QTest::newRow("video accepts an audio by id") << "a" << int(T::Video) << QByteArray(R"({"resourceId":1})") << 1;
    QTest::newRow("video with only audio and no id is dropped") << "a" << int(T::Video) << QByteArray("{}") << 0;
    QTest::newRow("audio without media is dropped") << "is" << int(T::Audio) << QByteArray(R"({"resourceId":1})") << 0;

    QTest::newRow("widget page by id")
        << "ip" << int(T::HTML_Widget) << QByteArray(R"({"useresource":true,"resourceId":2})") << 2;
    QTest::newRow("widget image by id")
        << "pii" << int(T::HTML_Widget) << QByteArray(R"({"useresource":true,"resourceId":3})") << 3;
    QTest::newRow("widget, id of a script takes the lowest image")
        << "pfi" << int(T::HTML_Widget) << QByteArray(R"({"useresource":true,"resourceId":2})") << 3;
    QTest::newRow("widget with only pages and a wrong id is dropped")
        << "pp" << int(T::HTML_Widget) << QByteArray(R"({"useresource":true,"resourceId":5})") << 0;
    QTest::newRow("widget with a url needs no resource")
        << "" << int(T::HTML_Widget) << QByteArray(R"({"useresource":false,"resourceId":1,"url":"http://x"})") << -1;
    QTest::newRow("widget ignores the id without useresource")
        << "i" << int(T::HTML_Widget) << QByteArray(R"({"resourceId":1})") << -1;

    QTest::newRow("symbol by id") << "is" << int(T::Symbol) << QByteArray(R"({"resourceId":2})") << 2;
    QTest::newRow("symbol naming an image is dropped") << "is" << int(T::Symbol) << QByteArray(R"({"resourceId":1})") << 0;
    QTest::newRow("symbol without id is dropped") << "s" << int(T::Symbol) << QByteArray("{}") << 0;
}

void tst_MediaElements::readerFindsResource()
{
    QFETCH(QString, resources);
    QFETCH(int, type);
    QFETCH(QByteArray, json);
    QFETCH(int, expected);

    ElementContext context;
    context.addAll(resources);
    std::unique_ptr<KVElement> pElement = make(type);
    QVERIFY(pElement);
    const bool bLoaded = pElement->fromJson(obj(json.constData()), &context);
    QCOMPARE(bLoaded, expected != 0);
    if (bLoaded) {
        QCOMPARE(resourceIdOf(pElement.get()), expected);
        // Exactly the resource taken carries one count.
        QCOMPARE(context.total(), expected > 0 ? 1 : 0);
        if (expected > 0) {
            QCOMPARE(context.manager.resource(expected)->useCount(), 1);
            QVERIFY(holdsCountOf(pElement.get()));
        }
    }
    pElement.reset();
    QCOMPARE(context.total(), 0);
}

void tst_MediaElements::droppedElementLeavesTheRest()
{
    ElementContext context;
    context.addAll(QStringLiteral("a"));
    const QJsonObject joGroup = obj(R"({"type":6,"id":1,"children":[
        {"type":0,"id":2,"name":"photo","resourceId":1},
        {"type":5,"id":3,"name":"box"},
        {"type":1,"id":4,"name":"song","resourceId":1},
        {"type":7,"id":5,"name":"badge","resourceId":1}]})");
    KVElement group;
    group.init();
    QVERIFY(group.fromJson(joGroup, &context));
    QStringList names;
    for (const KVElement *pChild : group.children())
        names << pChild->name();
    // The image finds no image and the symbol no symbol; the box and the song stay.
    QCOMPARE(names, (QStringList{QStringLiteral("box"), QStringLiteral("song")}));
    QCOMPARE(context.counts().value(1), 1);

    // A file whose image id was deleted since takes the lower of the two images it has now.
    ElementContext twoImages;
    twoImages.addAll(QStringLiteral("vii"));
    KVElement other;
    other.init();
    QVERIFY(other.fromJson(joGroup, &twoImages));
    // The song takes the video it names; the symbol still finds no symbol.
    QCOMPARE(other.children().size(), 3);
    QCOMPARE(resourceIdOf(other.children().first()), 2);
    QCOMPARE(twoImages.counts(), (QMap<int, int>{{1, 1}, {2, 1}, {3, 0}}));
}

// ---- Use counts -----------------------------------------------------------------------------

void tst_MediaElements::useCountsAcrossCloneAndDelete_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("image") << int(T::Image);
    QTest::newRow("audio") << int(T::Audio);
    QTest::newRow("video") << int(T::Video);
    QTest::newRow("widget") << int(T::HTML_Widget);
    QTest::newRow("symbol") << int(T::Symbol);
}

void tst_MediaElements::useCountsAcrossCloneAndDelete()
{
    QFETCH(int, type);
    ElementContext context;
    KVResource *pFirst = context.add(resourceTypeFor(type));
    KVResource *pSecond = context.add(resourceTypeFor(type));

    std::unique_ptr<KVElement> pElement = make(type);
    QVERIFY(!holdsCountOf(pElement.get()));
    QVERIFY(setResourceOf(pElement.get(), pFirst, &context.manager));
    QCOMPARE(pFirst->useCount(), 1);
    QVERIFY(holdsCountOf(pElement.get()));

    // Each clone takes its own count, also from an original that gave its count back.
    std::unique_ptr<KVElement> pClone(pElement->clone());
    QCOMPARE(pClone->type(), type);
    QCOMPARE(resourceIdOf(pClone.get()), pFirst->id());
    QVERIFY(holdsCountOf(pClone.get()));
    QCOMPARE(pFirst->useCount(), 2);
    pElement->releaseResources();
    pElement->releaseResources();
    QCOMPARE(pFirst->useCount(), 1);
    QVERIFY(!holdsCountOf(pElement.get()));
    std::unique_ptr<KVElement> pSecondClone(pElement->clone());
    QCOMPARE(pFirst->useCount(), 2);

    // Taking the element back into a document takes one count, however often it is asked.
    pElement->retainResources();
    pElement->retainResources();
    QCOMPARE(pFirst->useCount(), 3);

    // Another resource: the old count goes back, a new one is taken.
    QVERIFY(setResourceOf(pClone.get(), pSecond, &context.manager));
    QCOMPARE(pFirst->useCount(), 2);
    QCOMPARE(pSecond->useCount(), 1);

    // Replacing through an id map moves the count along.
    pSecondClone->replaceResources({{pFirst->id(), pSecond->id()}});
    QCOMPARE(resourceIdOf(pSecondClone.get()), pSecond->id());
    QCOMPARE(pFirst->useCount(), 1);
    QCOMPARE(pSecond->useCount(), 2);
    QSet<int> ids;
    pSecondClone->collectResources(ids);
    QCOMPARE(ids, QSet<int>{pSecond->id()});

    // Deleting gives back what is held, and nothing more.
    pClone->releaseResources();
    pClone.reset();
    QCOMPARE(pSecond->useCount(), 1);
    pSecondClone.reset();
    pElement.reset();
    QCOMPARE(context.total(), 0);
}

void tst_MediaElements::countsOfATree()
{
    ElementContext context;
    context.addAll(QStringLiteral("iiav"));
    KVElement group;
    group.init();
    const QJsonObject joGroup = obj(R"({"type":6,"id":1,"children":[
        {"type":0,"id":2,"resourceId":1,
         "respProps":[{"hLayoutId":0,"vLayoutId":0,"values":{"background":{"fillStyle":3,"imageResourceId":2}}}]},
        {"type":6,"id":3,"children":[{"type":2,"id":4,"resourceId":4}]}]})");
    QVERIFY(group.fromJson(joGroup, &context));
    QCOMPARE(context.counts(), (QMap<int, int>{{1, 1}, {2, 1}, {3, 0}, {4, 1}}));
    QSet<int> ids;
    group.collectResources(ids);
    QCOMPARE(ids, (QSet<int>{1, 2, 4}));

    int nAudio = 0;
    int nVideo = 0;
    group.countMedia(nAudio, nVideo);
    QCOMPARE(nAudio, 0);
    QCOMPARE(nVideo, 1);

    // Leaving the document gives every count back, the fill's included; coming back takes them.
    group.releaseResources();
    QCOMPARE(context.total(), 0);
    group.retainResources();
    QCOMPARE(context.counts(), (QMap<int, int>{{1, 1}, {2, 1}, {3, 0}, {4, 1}}));
    std::unique_ptr<KVElement> pCopy(group.clone());
    QCOMPARE(context.counts(), (QMap<int, int>{{1, 2}, {2, 2}, {3, 0}, {4, 2}}));
}

void tst_MediaElements::refusesResourcesOfAnotherKind_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("resourceType");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("image takes an image") << int(T::Image) << 0 << true;
    QTest::newRow("image refuses a page") << int(T::Image) << 7 << false;
    QTest::newRow("audio takes a video") << int(T::Audio) << 2 << true;
    QTest::newRow("video refuses an image") << int(T::Video) << 0 << false;
    QTest::newRow("widget takes an image") << int(T::HTML_Widget) << 0 << true;
    QTest::newRow("widget refuses a symbol") << int(T::HTML_Widget) << 3 << false;
    QTest::newRow("symbol refuses a page") << int(T::Symbol) << 7 << false;
}

void tst_MediaElements::refusesResourcesOfAnotherKind()
{
    QFETCH(int, type);
    QFETCH(int, resourceType);
    QFETCH(bool, accepted);
    ElementContext context;
    KVResource *pHeld = context.add(resourceTypeFor(type));
    KVResource *pOther = context.add(resourceType);
    std::unique_ptr<KVElement> pElement = make(type);
    QVERIFY(setResourceOf(pElement.get(), pHeld, &context.manager));
    QCOMPARE(setResourceOf(pElement.get(), pOther, &context.manager), accepted);
    // A refused resource changes nothing: the element keeps what it had.
    QCOMPARE(resourceIdOf(pElement.get()), accepted ? pOther->id() : pHeld->id());
    QCOMPARE(pHeld->useCount(), accepted ? 0 : 1);
    QCOMPARE(pOther->useCount(), accepted ? 1 : 0);
}

// ---- Defaults -------------------------------------------------------------------------------

void tst_MediaElements::mediaDefaults_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("json"); // empty: a new element
    QTest::addColumn<double>("volume");
    QTest::addColumn<bool>("controls");
    QTest::addColumn<bool>("preload");
    QTest::addColumn<bool>("autoplay");
    QTest::addColumn<int>("duration");

    QTest::newRow("new audio") << int(T::Audio) << QByteArray() << 1.0 << true << true << false << 0;
    QTest::newRow("new video") << int(T::Video) << QByteArray() << 1.0 << false << true << false << 0;
    // Missing keys read as volume 0 and everything off, unlike a new element.
    QTest::newRow("audio read without keys") << int(T::Audio) << QByteArray("{}") << 0.0 << false << false << false << 0;
    QTest::newRow("video read without controls")
        << int(T::Video) << QByteArray(R"({"volume":0.25,"preload":true,"duration":3000})") << 0.25 << false << true << false << 3000;
    QTest::newRow("video read with controls")
        << int(T::Video) << QByteArray(R"({"controls":true,"autoplay":true})") << 0.0 << true << false << true << 0;
    QTest::newRow("mistyped keys read as defaults")
        << int(T::Audio) << QByteArray(R"({"volume":"loud","controls":1,"duration":"long"})") << 0.0 << false << false << false << 0;
}

void tst_MediaElements::mediaDefaults()
{
    QFETCH(int, type);
    QFETCH(QByteArray, json);
    QFETCH(double, volume);
    QFETCH(bool, controls);
    QFETCH(bool, preload);
    QFETCH(bool, autoplay);
    QFETCH(int, duration);

    ElementContext context;
    context.addAll(QStringLiteral("av"));
    std::unique_ptr<KVElement> pElement = make(type);
    if (!json.isEmpty())
        QVERIFY(pElement->fromJson(obj(json.constData()), &context));
    auto *pMedia = qobject_cast<KVMedia *>(pElement.get());
    QVERIFY(pMedia);
    QCOMPARE(pMedia->mediaKind(), type);
    QCOMPARE(pMedia->volume(), volume);
    QCOMPARE(pMedia->controls(), controls);
    QCOMPARE(pMedia->preload(), preload);
    QCOMPARE(pMedia->autoplay(), autoplay);
    QCOMPARE(pMedia->duration(), duration);
    QVERIFY(!pMedia->loop());
    QVERIFY(!pMedia->isMediaInfoLoaded());
}

void tst_MediaElements::imagePlacementDefaults()
{
    // A new image fills its box.
    KVImageProperty fresh;
    QCOMPARE(compact(fresh.playerPlacement()), QStringLiteral(R"([0,0,"100%","100%"])"));
    QJsonObject joKeys;
    fresh.imagePlacement(joKeys);
    QCOMPARE(compact(joKeys), QStringLiteral(R"({"bgImgHUnit":1,"bgImgHeight":1,"bgImgWUnit":1,)"
                                             R"("bgImgWidth":1,"bgImgX":0,"bgImgXUnit":0,"bgImgY":0,"bgImgYUnit":0})"));

    // Missing keys read as 0 in pixels, not as the full box.
    KVImageProperty read;
    read.fromJson(QJsonObject(), nullptr);
    QCOMPARE(compact(read.playerPlacement()), QStringLiteral("[0,0,0,0]"));
    read.fromJson(obj(R"({"bgImgX":0.125,"bgImgXUnit":1,"bgImgWidth":"wide","bgImgHeight":40})"), nullptr);
    QCOMPARE(compact(read.playerPlacement()), QStringLiteral(R"(["12.5%",0,0,40])"));

    // A new image element carries the same placement in its player data.
    std::unique_ptr<KVElement> pImage = make(T::Image);
    QCOMPARE(compact(playerOf(pImage.get(), true).value(QStringLiteral("ir"))),
             QStringLiteral(R"([0,0,"100%","100%"])"));
    QCOMPARE(playerOf(pImage.get(), true).value(QStringLiteral("rs")).toInt(), -1);
}

// ---- Player forms ---------------------------------------------------------------------------

void tst_MediaElements::canvasOverrides_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("forCanvas");
    QTest::addColumn<bool>("infoLoaded");
    QTest::addColumn<QString>("expected"); // the kind's keys, compact

    QTest::newRow("video for the canvas, size unknown")
        << int(T::Video) << true << false
        << R"({"ap":false,"ct":false,"lo":true,"pl":true,"rs":2,"useResourceWH":1,"vol":50})";
    QTest::newRow("video for the canvas, size known")
        << int(T::Video) << true << true << R"({"ap":false,"ct":false,"lo":true,"pl":true,"rs":2,"vol":50})";
    QTest::newRow("video for export")
        << int(T::Video) << false << false << R"({"ap":true,"ct":false,"lo":true,"pl":false,"rs":2,"vol":50})";
    QTest::newRow("audio for the canvas")
        << int(T::Audio) << true << false << R"({"ap":false,"ct":false,"lo":true,"pl":true,"rs":1,"vol":50})";
    QTest::newRow("symbol for the canvas") << int(T::Symbol) << true << false << R"({"ap":false,"rs":3})";
    QTest::newRow("symbol for export") << int(T::Symbol) << false << false << R"({"ap":true,"rs":3})";
}

void tst_MediaElements::canvasOverrides()
{
    QFETCH(int, type);
    QFETCH(bool, forCanvas);
    QFETCH(bool, infoLoaded);
    QFETCH(QString, expected);

    ElementContext context;
    context.addAll(QStringLiteral("avs"));
    std::unique_ptr<KVElement> pElement = make(type);
    QVERIFY(setResourceOf(pElement.get(), context.manager.resource(resourceTypeFor(type)), &context.manager));
    if (auto *pMedia = qobject_cast<KVMedia *>(pElement.get())) {
        pMedia->setAutoplay(true);
        pMedia->setPreload(false);
        pMedia->setLoop(true);
        pMedia->setControls(false);
        pMedia->setVolume(0.5);
        pMedia->setMediaInfoLoaded(infoLoaded);
    } else {
        qobject_cast<KVSymbolElement *>(pElement.get())->setAutoplay(true);
    }
    const QJsonObject jo = playerOf(pElement.get(), forCanvas);
    QCOMPARE(jo.value(QStringLiteral("k")).toInt(), type);
    QJsonObject kindKeys;
    for (const char *pszKey : {"rs", "vol", "ap", "lo", "ct", "pl", "useResourceWH"}) {
        if (jo.contains(QLatin1String(pszKey)))
            kindKeys.insert(QLatin1String(pszKey), jo.value(QLatin1String(pszKey)));
    }
    QCOMPARE(compact(kindKeys), expected);
    // Export writes every layout; the canvas one layout's keys in place.
    QCOMPARE(jo.contains(QStringLiteral("rp")), !forCanvas);
    QCOMPARE(jo.contains(QStringLiteral("r")), forCanvas);
}

void tst_MediaElements::imagePlayerForms_data()
{
    QTest::addColumn<QList<int>>("overridden"); // codes the narrow layout overrides
    QTest::addColumn<bool>("narrowHasIr");

    QTest::newRow("no placement override") << QList<int>{14} << false;
    QTest::newRow("width overridden") << QList<int>{32} << true;
    QTest::newRow("x overridden") << QList<int>{30} << true;
    QTest::newRow("a text code does not count") << QList<int>{25} << false;
}

void tst_MediaElements::imagePlayerForms()
{
    QFETCH(QList<int>, overridden);
    QFETCH(bool, narrowHasIr);

    ElementContext context;
    context.addAll(QStringLiteral("ai"));
    std::unique_ptr<KVElement> pElement = make(T::Image);
    auto *pImage = qobject_cast<KVImage *>(pElement.get());
    QVERIFY(pImage->setImage(context.manager.resource(2), &context.manager));
    const KVLayoutKey narrow(1, 0);
    QVERIFY(pImage->addProperty(pImage->property(KVLayoutKey::base())->clone(), narrow));
    pImage->setBgImageW(0.5, narrow);
    pImage->setBgImageX(12, narrow);
    for (int nCode : overridden)
        pImage->setInherited(nCode, false, narrow);

    const QJsonObject joExport = playerOf(pImage, false);
    QCOMPARE(joExport.value(QStringLiteral("rs")).toInt(), 2);
    const QJsonArray jaLayouts = joExport.value(QStringLiteral("rp")).toArray();
    QVERIFY(!jaLayouts.isEmpty());
    const QJsonObject joBase = jaLayouts.at(0).toArray().at(2).toObject();
    QCOMPARE(compact(joBase.value(QStringLiteral("ir"))), QStringLiteral(R"([0,0,"100%","100%"])"));
    // A layout that writes nothing is left out.
    const QJsonObject joNarrow = jaLayouts.size() > 1 ? jaLayouts.at(1).toArray().at(2).toObject() : QJsonObject();
    QCOMPARE(joNarrow.contains(QStringLiteral("ir")), narrowHasIr);
    if (narrowHasIr)
        QCOMPARE(compact(joNarrow.value(QStringLiteral("ir"))), QStringLiteral(R"([12,0,"50%","100%"])"));

    // The canvas shows one layout: the current one, or the one asked for.
    pImage->setCurrentLayout(narrow);
    QCOMPARE(compact(playerOf(pImage, true).value(QStringLiteral("ir"))), QStringLiteral(R"([12,0,"50%","100%"])"));
    QJsonObject joPlacement;
    pImage->imagePlacement(joPlacement);
    QCOMPARE(joPlacement.value(QStringLiteral("bgImgWidth")).toDouble(), 0.5);
    QCOMPARE(joPlacement.value(QStringLiteral("bgImgX")).toDouble(), 12.0);
    QCOMPARE(joPlacement.size(), 8);
    joPlacement = QJsonObject();
    pImage->imagePlacement(joPlacement, KVLayoutKey(5, 5));
    QVERIFY(joPlacement.isEmpty());
}

// ---- Project form ---------------------------------------------------------------------------

void tst_MediaElements::projectRoundTrip_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("image") << int(T::Image);
    QTest::newRow("audio") << int(T::Audio);
    QTest::newRow("video") << int(T::Video);
    QTest::newRow("widget") << int(T::HTML_Widget);
    QTest::newRow("symbol") << int(T::Symbol);
}

void tst_MediaElements::projectRoundTrip()
{
    QFETCH(int, type);
    ElementContext context;
    context.addAll(QStringLiteral("iavsp"));
    // The second resource of each kind, so that a fallback would show.
    KVResource *pResource = context.add(resourceTypeFor(type));

    std::unique_ptr<KVElement> pElement = make(type);
    pElement->setId(7);
    pElement->setName(QStringLiteral("thing"));
    QVERIFY(setResourceOf(pElement.get(), pResource, &context.manager));
    const KVLayoutKey narrow(2, 0);
    QVERIFY(pElement->addProperty(pElement->property(KVLayoutKey::base())->clone(), narrow));
    pElement->setOpacity(0.5, narrow);
    if (auto *pImage = qobject_cast<KVImage *>(pElement.get())) {
        pImage->setBgImageX(-10, narrow);
        pImage->setBgImageY(0.25, narrow);
        pImage->setBgImageYUnit(1, narrow);
        pImage->setBgImageH(80);
        pImage->setBgImageHUnit(0);
    } else if (auto *pMedia = qobject_cast<KVMedia *>(pElement.get())) {
        pMedia->setDuration(12345);
        pMedia->setVolume(0.75);
        pMedia->setAutoplay(true);
        pMedia->setLoop(true);
        pMedia->setControls(!pMedia->controls());
        pMedia->setPreload(false);
        pMedia->setMediaInfoLoaded(true);
    } else if (auto *pWidget = qobject_cast<KVHTMLWidget *>(pElement.get())) {
        pWidget->setUrl(QStringLiteral("https://example.org/"));
        pWidget->setSrcdoc(QStringLiteral("<p>hi</p>"));
    } else if (auto *pSymbol = qobject_cast<KVSymbolElement *>(pElement.get())) {
        pSymbol->setAutoplay(true);
    }

    const QJsonObject joFirst = projectOf(pElement.get());
    QCOMPARE(joFirst.value(QStringLiteral("type")).toInt(), type);
    QCOMPARE(joFirst.value(QStringLiteral("resourceId")).toInt(), pResource->id());

    std::unique_ptr<KVElement> pRead = make(type);
    QVERIFY(pRead->fromJson(joFirst, &context));
    QCOMPARE(resourceIdOf(pRead.get()), pResource->id());
    QCOMPARE(pResource->useCount(), 2);
    QCOMPARE(pRead->properties().size(), 2);
    QCOMPARE(compact(projectOf(pRead.get())), compact(joFirst));
    // The player data of both agree as well.
    QCOMPARE(compact(playerOf(pRead.get(), false)), compact(playerOf(pElement.get(), false)));
}

void tst_MediaElements::widgetKeys_data()
{
    QTest::addColumn<bool>("useResource");
    QTest::addColumn<QString>("project");
    QTest::addColumn<QString>("player");
    QTest::newRow("url") << false << R"({"srcdoc":"<b>x</b>","url":"http://a.b/","useresource":false})"
                         << R"({"srcdoc":"<b>x</b>","url":"http://a.b/","useresource":false})";
    QTest::newRow("resource") << true << R"({"resourceId":2,"srcdoc":"<b>x</b>","useresource":true})"
                              << R"({"rs":2,"srcdoc":"<b>x</b>","useresource":true})";
}

void tst_MediaElements::widgetKeys()
{
    QFETCH(bool, useResource);
    QFETCH(QString, project);
    QFETCH(QString, player);

    ElementContext context;
    context.addAll(QStringLiteral("pp"));
    KVHTMLWidget widget;
    widget.init();
    widget.setUrl(QStringLiteral("http://a.b/"));
    widget.setSrcdoc(QStringLiteral("<b>x</b>"));
    QVERIFY(widget.setResource(context.manager.resource(2), &context.manager));
    widget.setUseResource(useResource);

    const auto kindKeys = [](const QJsonObject &jo, std::initializer_list<const char *> keys) {
        QJsonObject joKeys;
        for (const char *pszKey : keys) {
            if (jo.contains(QLatin1String(pszKey)))
                joKeys.insert(QLatin1String(pszKey), jo.value(QLatin1String(pszKey)));
        }
        return compact(joKeys);
    };
    const QJsonObject joProject = projectOf(&widget);
    QCOMPARE(kindKeys(joProject, {"resourceId", "url", "useresource", "srcdoc"}), project);
    QCOMPARE(kindKeys(playerOf(&widget, true), {"rs", "url", "useresource", "srcdoc"}), player);

    // Read back: without "useresource" the widget gives its count back and holds no resource.
    KVHTMLWidget read;
    read.init();
    QVERIFY(read.fromJson(joProject, &context));
    QCOMPARE(read.resourceId(), useResource ? 2 : -1);
    QCOMPARE(read.url(), useResource ? QString() : QStringLiteral("http://a.b/"));
    QCOMPARE(read.srcdoc(), QStringLiteral("<b>x</b>"));
    QCOMPARE(context.manager.resource(2)->useCount(), useResource ? 2 : 1);
    QVERIFY(read.fromJson(obj(R"({"useresource":false,"url":"x"})"), &context));
    QCOMPARE(read.resourceId(), -1);
    QCOMPARE(context.manager.resource(2)->useCount(), 1);
}

// ---- Lookups by content hash ------------------------------------------------------------------

void tst_MediaElements::lookupsByHash_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected"); // the file of the resource found, empty for none

    QTest::newRow("image by its content") << int(T::Image) << QByteArray("AAAA") << "logo.png";
    QTest::newRow("image of the other content") << int(T::Image) << QByteArray("BBBB") << "other.png";
    QTest::newRow("image content unknown") << int(T::Image) << QByteArray("CCCC") << "";
    QTest::newRow("widget takes the lower of an image and a page") << int(T::HTML_Widget) << QByteArray("AAAA") << "logo.png";
    QTest::newRow("widget page") << int(T::HTML_Widget) << QByteArray("PPPP") << "page2.html";
    QTest::newRow("audio of an image's content") << int(T::Audio) << QByteArray("AAAA") << "";
    QTest::newRow("audio") << int(T::Audio) << QByteArray("SSSS") << "song.mp3";
    QTest::newRow("symbol") << int(T::Symbol) << QByteArray("YYYY") << "badge.kaviosym";
    QTest::newRow("removed image is not found") << int(T::Image) << QByteArray("DDDD") << "";
}

void tst_MediaElements::lookupsByHash()
{
    QFETCH(int, type);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    TestContext files;
    KVResourceManager manager(&files);
    const QList<QPair<QString, QByteArray>> sources{
        {QStringLiteral("logo.png"), "AAAA"}, {QStringLiteral("other.png"), "BBBB"},
        {QStringLiteral("page.html"), "AAAA"}, {QStringLiteral("page2.html"), "PPPP"},
        {QStringLiteral("song.mp3"), "SSSS"}, {QStringLiteral("badge.kaviosym"), "YYYY"},
        {QStringLiteral("gone.png"), "DDDD"}};
    for (const auto &source : sources) {
        KVResource *pResource = manager.importFile(files.writeFile(source.first, source.second));
        QVERIFY2(pResource, qPrintable(source.first));
        QVERIFY(manager.addResource(pResource));
    }
    QVERIFY(manager.removeResources({manager.resourceByFileName(QStringLiteral("gone.png"))->id()}));

    std::unique_ptr<KVElement> pElement = make(type);
    const bool bFound = setByHashOf(pElement.get(), &manager, md5(content));
    QCOMPARE(bFound, !expected.isEmpty());
    if (!bFound) {
        QCOMPARE(resourceIdOf(pElement.get()), -1);
        return;
    }
    KVResource *pExpected = manager.resourceByFileName(expected);
    QVERIFY(pExpected);
    QCOMPARE(resourceIdOf(pElement.get()), pExpected->id());
    QCOMPARE(pExpected->useCount(), 1);
    // The hash may come in capitals too.
    QVERIFY(setByHashOf(pElement.get(), &manager, md5(content).toUpper()));
    QCOMPARE(pExpected->useCount(), 1);
    pElement.reset();
    QCOMPARE(pExpected->useCount(), 0);
}

// ---- Animation and layouts --------------------------------------------------------------------

void tst_MediaElements::animatableValues()
{
    // The animation framework drives the values by their member names.
    std::unique_ptr<KVElement> pElement = make(T::Image);
    auto *pImage = qobject_cast<KVImage *>(pElement.get());
    const KVLayoutKey narrow(1, 0);
    QVERIFY(pImage->addProperty(new KVImageProperty, narrow));
    pImage->setCurrentLayout(narrow);
    QVERIFY(pImage->setProperty("m_dBgImageX", 33.0));
    QVERIFY(pImage->setProperty("m_dBgImageH", 0.5));
    QCOMPARE(pImage->bgImageX(narrow), 33.0);
    QCOMPARE(pImage->bgImageH(narrow), 0.5);
    QCOMPARE(pImage->bgImageX(KVLayoutKey::base()), 0.0);
    QCOMPARE(pImage->imageProperty(narrow)->property("m_dBgImageX").toDouble(), 33.0);

    // The catalogue sees the units of the layout.
    pImage->setBgImageWUnit(0, narrow);
    const KVAnimatableSubject subject = KVAnimatableSubject::fromElement(pImage, narrow);
    QVERIFY(subject.bIsImage);
    QCOMPARE(subject.unit(KVPropertyCatalogue::BgImageWUnit), 0);
    QCOMPARE(subject.unit(KVPropertyCatalogue::BgImageHUnit), 1);
    std::unique_ptr<KVElement> pBox = make(T::Div);
    QCOMPARE(KVAnimatableSubject::fromElement(pBox.get(), KVLayoutKey::base()).unit(KVPropertyCatalogue::BgImageXUnit), -1);

    std::unique_ptr<KVElement> pAudio = make(T::Audio);
    QVERIFY(pAudio->setProperty("m_dVolume", 0.3));
    QCOMPARE(qobject_cast<KVMedia *>(pAudio.get())->volume(), 0.3);
}

void tst_MediaElements::symbolLayout_data()
{
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("widthUnit");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("expectedH"); // breakpoint value picked horizontally, 0 for the base
    QTest::addColumn<int>("expectedV");

    QTest::newRow("narrow") << 200.0 << 0 << 100.0 << 0 << 0;
    QTest::newRow("middle") << 500.0 << 0 << 100.0 << 320 << 0;
    QTest::newRow("truncated below the breakpoint") << 767.9 << 0 << 100.0 << 320 << 0;
    QTest::newRow("at the breakpoint") << 768.0 << 0 << 600.0 << 768 << 600;
    QTest::newRow("percent of the parent") << 0.9 << 1 << 599.99 << 768 << 0;
}

void tst_MediaElements::symbolLayout()
{
    QFETCH(double, width);
    QFETCH(int, widthUnit);
    QFETCH(double, height);
    QFETCH(int, expectedH);
    QFETCH(int, expectedV);

    KVBreakpointSet breakpoints;
    const int nId320 = breakpoints.addHBreakpoint(320).nId;
    const int nId768 = breakpoints.addHBreakpoint(768).nId;
    const int nId600 = breakpoints.addVBreakpoint(600).nId;
    const QMap<int, int> idOf{{0, 0}, {320, nId320}, {768, nId768}, {600, nId600}};

    // The stage of the instance is 1000 wide; the instance's size at the narrow layout decides.
    ElementContext context;
    KVElement parent;
    parent.init();
    parent.setSizeW(1000);
    const KVLayoutKey narrow(nId320, 0);
    QVERIFY(parent.addProperty(parent.property(KVLayoutKey::base())->clone(), narrow));
    KVSymbolElement *pSymbol = new KVSymbolElement;
    pSymbol->init();
    QVERIFY(pSymbol->setSymbol(context.add(3), &context.manager));
    QVERIFY(pSymbol->addProperty(pSymbol->property(KVLayoutKey::base())->clone(), narrow));
    pSymbol->setSizeW(width, narrow);
    pSymbol->setUnitW(widthUnit, narrow);
    pSymbol->setSizeH(height, narrow);
    parent.insertChild(pSymbol, -1);
    breakpoints.setCurrentLayout(KVLayoutKey(nId768, nId600));
    pSymbol->setSymbolBreakpoints(&breakpoints);
    // Still at the base layout, where the instance is 256 x 128: the symbol's base layout.
    QCOMPARE(breakpoints.currentLayout(), KVLayoutKey::base());

    parent.setCurrentLayout(narrow);
    const KVLayoutKey expected(idOf.value(expectedH), idOf.value(expectedV));
    QCOMPARE(breakpoints.currentLayout(), expected);
    QCOMPARE(pSymbol->updateSymbolLayout(), expected);

    // Another symbol has other breakpoints: they are dropped until its content is attached.
    QVERIFY(pSymbol->setSymbol(context.add(3), &context.manager));
    QVERIFY(!pSymbol->symbolBreakpoints());
    QCOMPARE(pSymbol->updateSymbolLayout(), KVLayoutKey::base());
}

void tst_MediaElements::symbolBreakpointsFromTheDocument()
{
    ElementContext context;
    KVResource *pSymbolResource = context.add(3);
    KVBreakpointSet breakpoints;
    const int nId = breakpoints.addHBreakpoint(100).nId;
    context.symbolSets.insert(pSymbolResource, &breakpoints);

    KVSymbolElement symbol;
    symbol.init();
    QVERIFY(symbol.fromJson(obj(R"({"resourceId":1,"autoplay":true,
        "respProps":[{"hLayoutId":0,"vLayoutId":0,"values":{"path":{"w":150,"h":90}}}]})"), &context));
    QVERIFY(symbol.autoplay());
    QCOMPARE(symbol.symbolBreakpoints(), &breakpoints);
    QCOMPARE(symbol.updateSymbolLayout(), KVLayoutKey(nId, 0));
    // A clone plays the same symbol.
    std::unique_ptr<KVElement> pClone(symbol.clone());
    QCOMPARE(qobject_cast<KVSymbolElement *>(pClone.get())->symbolBreakpoints(), &breakpoints);
    QCOMPARE(pSymbolResource->useCount(), 2);
}

void tst_MediaElements::heldResourceOutlivesNoManager()
{
    // An element that outlives its document's resources neither reads nor counts them any more.
    std::unique_ptr<KVElement> pImage = make(T::Image);
    {
        ElementContext context;
        context.addAll(QStringLiteral("i"));
        QVERIFY(pImage->fromJson(obj(R"({"resourceId":1})"), &context));
        QCOMPARE(resourceIdOf(pImage.get()), 1);
    }
    QCOMPARE(resourceIdOf(pImage.get()), -1);
    QVERIFY(!holdsCountOf(pImage.get()));
    pImage->releaseResources();
    pImage->retainResources();
    std::unique_ptr<KVElement> pClone(pImage->clone());
    QCOMPARE(resourceIdOf(pClone.get()), -1);
    // Without a document there is nothing to show.
    QVERIFY(!pImage->fromJson(obj(R"({"resourceId":1})"), nullptr));
    const IKVDocumentContext noResources;
    QVERIFY(!pImage->fromJson(obj(R"({"resourceId":1})"), &noResources));
}

// A project file read and written as the command-line tool does: the document offers its resources
// to the readers through the image counter of its fills.
void tst_MediaElements::projectFileOpensAndSaves()
{
    RecordingReporter rec;
    QTemporaryDir dir;
    const QString strFile = dir.filePath(QStringLiteral("media.kavio"));
    const QJsonObject joDocument = obj(R"({"docVersion":3,
        "resources":[{"id":3,"type":0,"name":"a","fileName":"a.png"},
                     {"id":5,"type":0,"name":"b","fileName":"b.png"},
                     {"id":7,"type":1,"name":"c","resourceType":0,"fileName":"c.mp3","fileNames":["c.mp3"]}],
        "scenes":[{"type":8,"id":1,"name":"Main","children":[
            {"type":0,"id":2,"name":"photo","resourceId":9},
            {"type":2,"id":3,"name":"clip","resourceId":7,"controls":true},
            {"type":3,"id":4,"name":"page","useresource":true,"resourceId":5},
            {"type":7,"id":5,"name":"badge","resourceId":3}]}]})");
    QFile file(strFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(QJsonObject{{QStringLiteral("appName"), QStringLiteral("Kavio Studio")},
                                         {QStringLiteral("document"), joDocument}})
                   .toJson(QJsonDocument::Compact));
    file.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("media_res")));
    for (const char *pszName : {"a.png", "b.png", "c.mp3"}) {
        QFile resource(dir.filePath(QStringLiteral("media_res/") + QLatin1String(pszName)));
        QVERIFY(resource.open(QIODevice::WriteOnly));
        resource.write(pszName);
    }

    {
        KVHeadlessProject project(strFile);
        QVERIFY(project.open());
        const KVScene *pScene = project.sceneList()->at(0);
        QVERIFY(pScene);
        QCOMPARE(pScene->children().size(), 3);
        QCOMPARE(resourceIdOf(pScene->findElement(2)), 3); // the deleted id fell back to the lower image
        QCOMPARE(resourceIdOf(pScene->findElement(3)), 7);
        QVERIFY(qobject_cast<const KVMedia *>(pScene->findElement(3))->controls());
        QCOMPARE(resourceIdOf(pScene->findElement(4)), 5);
        QVERIFY(!pScene->findElement(5));
        QVERIFY(project.problems().contains(
            QStringLiteral("scene \"Main\": element \"badge\" of type 7 (Symbol) cannot be read and was left out")));
        KVResourceManager *pManager = project.resourceManager();
        QCOMPARE(pManager->resource(3)->useCount(), 1);
        QCOMPARE(pManager->resource(5)->useCount(), 1);
        QCOMPARE(pManager->resource(7)->useCount(), 1);
        QVERIFY(project.save());
    }

    KVHeadlessProject again(strFile);
    QVERIFY(again.open());
    const KVScene *pScene = again.sceneList()->at(0);
    QCOMPARE(pScene->children().size(), 3);
    QCOMPARE(resourceIdOf(pScene->findElement(2)), 3);
    QJsonObject joImage;
    pScene->findElement(2)->toJson(joImage);
    QCOMPARE(joImage.value(QStringLiteral("resourceId")).toInt(), 3);
    QVERIFY(rec.texts().isEmpty());
}

KAVIO_TEST_MAIN(tst_MediaElements)
#include "tst_mediaelements.moc"
