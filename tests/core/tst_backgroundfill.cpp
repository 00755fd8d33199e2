// The fill of an element box: player arrays of every fill kind, gradient stops, and the use count
// that an image fill holds on its image through the document's KVImageUseCounter.

#include "model/KVBackground.h"
#include "model/KVImageUseCounter.h"

#include "KVTestMain.h"

#include <QJsonDocument>

#include <memory>

namespace {

QJsonObject obj(const char *pszJson)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(pszJson), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad JSON in test data: %s", pszJson);
    return doc.object();
}

QString compact(const QJsonArray &ja)
{
    return QString::fromUtf8(QJsonDocument(ja).toJson(QJsonDocument::Compact));
}

QJsonArray player(const KVBackground &fill)
{
    QJsonArray ja;
    fill.toPlayerJson(ja);
    return ja;
}

QJsonObject project(const KVBackground &fill)
{
    QJsonObject jo;
    fill.toJson(jo);
    return jo;
}

// Images of a test document: id -> count, deleted flag and file size. A release without a matching
// acquire, or a count on an unknown id, is recorded as a fault.
class TestImages : public KVImageUseCounter
{
public:
    struct Image
    {
        int nCount = 0;
        bool bDeleted = false;
        QSize size;
    };
    QMap<int, Image> images;
    QStringList faults;

    void add(int nId, QSize size = QSize(), bool bDeleted = false)
    {
        images[nId] = Image{0, bDeleted, size};
    }
    int count(int nId) const { return images.value(nId).nCount; }
    int total() const
    {
        int n = 0;
        for (const Image &image : images)
            n += image.nCount;
        return n;
    }

    bool hasImage(int nId) const override { return images.contains(nId); }
    bool isDeleted(int nId) const override { return images.value(nId).bDeleted; }
    void acquire(int nId) override
    {
        if (!images.contains(nId))
            faults << QString("acquire of unknown image %1").arg(nId);
        ++images[nId].nCount;
    }
    void release(int nId) override
    {
        if (images.value(nId).nCount <= 0)
            faults << QString("release of image %1 without a count").arg(nId);
        --images[nId].nCount;
    }
    QSize imageSize(int nId) const override { return images.value(nId).size; }
};

} // namespace

class TestBackgroundFill : public QObject
{
    Q_OBJECT

private slots:
    void playerArrays_data();
    void playerArrays();
    void gradientStopsSortedOnlyOnOutput();
    void gradientStopReading_data();
    void gradientStopReading();
    void radialOriginReadsBack();

    void useCounts_data();
    void useCounts();
    void copiesHoldTheirOwnCount();
    void copyFromKeepsCountsRight();
    void counterChangeDropsTheImage();
    void collectAndReplaceResources();
    void writtenImageId_data();
    void writtenImageId();
    void unknownImageOnRead();
};

void TestBackgroundFill::playerArrays_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no fill") << obj(R"({"fillStyle":0,"solidColor":-65536})") << "[0]";
    QTest::newRow("solid red") << obj(R"({"fillStyle":1,"solidColor":-65536})") << "[1,255,0,0,255]";
    QTest::newRow("solid default") << obj(R"({})") << "[1,74,134,232,255]";
    QTest::newRow("linear")
        << obj(R"({"fillStyle":2,"gradientType":0,"linearGradientAngle":45,
                   "gradientStopFactors":[0,0.07,1],"gradientStopColors":[-16777216,2147418112,-1]})")
        << "[2,0,45,[[0,0,0,0,255],[7,255,0,0,127],[100,255,255,255,255]]]";
    QTest::newRow("radial")
        << obj(R"({"fillStyle":2,"gradientType":1,"radialOriginX":0.2,"radialOriginY":0.7,
                   "radialShape":1,"radialSizeParam":2,
                   "gradientStopFactors":[0.5],"gradientStopColors":[-65536]})")
        << "[2,1,20,70,[[50,255,0,0,255]],1,2]";
    QTest::newRow("radial without stops")
        << obj(R"({"fillStyle":2,"gradientType":1,"radialOriginX":0.5,"radialOriginY":0.5,
                   "gradientStopFactors":[],"gradientStopColors":[]})")
        << "[2,1,50,50,[],0,0]";
    QTest::newRow("other gradient type") << obj(R"({"fillStyle":2,"gradientType":4})") << "[2,4]";
    QTest::newRow("image") << obj(R"({"fillStyle":3,"imageResourceId":7,"imageFillType":4})")
                           << "[3,7,4,640,480]";
    QTest::newRow("image of unknown size") << obj(R"({"fillStyle":3,"imageResourceId":9})")
                                           << "[3,9,0,0,0]";
    QTest::newRow("image not set") << obj(R"({"fillStyle":3,"imageFillType":2})") << "[3]";
    QTest::newRow("image id not in document") << obj(R"({"fillStyle":3,"imageResourceId":8})")
                                              << "[3]";
    QTest::newRow("solid keeps its image quiet")
        << obj(R"({"fillStyle":1,"imageResourceId":7,"solidColor":0})") << "[1,0,0,0,0]";
}

void TestBackgroundFill::playerArrays()
{
    QFETCH(QJsonObject, json);
    QFETCH(QString, expected);

    TestImages images;
    images.add(7, QSize(640, 480));
    images.add(9);
    KVBackground fill;
    fill.fromJson(json, &images);
    QCOMPARE(compact(player(fill)), expected);
    QVERIFY2(images.faults.isEmpty(), qPrintable(images.faults.join('\n')));
}

void TestBackgroundFill::gradientStopsSortedOnlyOnOutput()
{
    KVBackground fill(KVBackground::GradientFill);
    const QGradientStops stored = {{1.0, QColor(255, 255, 255)}, {0.0, QColor(0, 0, 0)},
                                   {0.5, QColor(255, 0, 0)}, {0.5, QColor(0, 255, 0)}};
    fill.setGradientStops(stored);

    // Black first, the two stops at 50 % in their stored order.
    QCOMPARE(compact(player(fill)),
             QString("[2,0,0,[[0,0,0,0,255],[50,255,0,0,255],[50,0,255,0,255],[100,255,255,255,255]]]"));
    QCOMPARE(fill.gradientStops(), stored);
    const QJsonObject jo = project(fill);
    QCOMPARE(compact(jo.value("gradientStopFactors").toArray()), QString("[1,0,0.5,0.5]"));
    QCOMPARE(compact(jo.value("gradientStopColors").toArray()),
             QString("[-1,-16777216,-65536,-16711936]"));

    KVBackground read;
    read.fromJson(jo, nullptr);
    QCOMPARE(read.gradientStops(), stored);
}

void TestBackgroundFill::gradientStopReading_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<QString>("factors");
    QTest::addColumn<QString>("colors");

    QTest::newRow("missing arrays keep the default stops") << obj(R"({})") << "[0,1]" << "[-16777216,-1]";
    QTest::newRow("mistyped arrays keep the default stops")
        << obj(R"({"gradientStopFactors":"0,1","gradientStopColors":7})") << "[0,1]" << "[-16777216,-1]";
    QTest::newRow("more factors than colours")
        << obj(R"({"gradientStopFactors":[0.1,0.2,0.3],"gradientStopColors":[-1,-65536]})")
        << "[0.1,0.2]" << "[-1,-65536]";
    QTest::newRow("more colours than factors")
        << obj(R"({"gradientStopFactors":[0.9],"gradientStopColors":[-1,-65536]})") << "[0.9]" << "[-1]";
    QTest::newRow("one array only gives no stops")
        << obj(R"({"gradientStopFactors":[0.1,0.2]})") << "[]" << "[]";
    QTest::newRow("mistyped entries")
        << obj(R"({"gradientStopFactors":["a",0.4],"gradientStopColors":[-1,"red"]})")
        << "[0,0.4]" << "[-1,-16777216]";
}

void TestBackgroundFill::gradientStopReading()
{
    QFETCH(QJsonObject, json);
    QFETCH(QString, factors);
    QFETCH(QString, colors);

    KVBackground fill;
    fill.setGradientStops({{0.3, QColor(1, 2, 3)}});
    fill.fromJson(json, nullptr);
    const QJsonObject jo = project(fill);
    QCOMPARE(compact(jo.value("gradientStopFactors").toArray()), factors);
    QCOMPARE(compact(jo.value("gradientStopColors").toArray()), colors);
}

void TestBackgroundFill::radialOriginReadsBack()
{
    KVBackground fill(KVBackground::GradientFill);
    fill.setGradientType(KVBackground::Radial);
    fill.setRadialOriginX(0.2);
    fill.setRadialOriginY(0.7);
    KVBackground read;
    read.fromJson(project(fill), nullptr);
    QCOMPARE(read.radialOriginX(), 0.2);
    QCOMPARE(read.radialOriginY(), 0.7);
    QCOMPARE(read, fill);
}

// Each step of a script changes one fill; the counts of images 7 and 8 and the fill's flag are
// checked at the end. Steps: "style N", "image N", "read {json}", "retain", "release", "delete".
void TestBackgroundFill::useCounts_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("count7");
    QTest::addColumn<int>("count8");
    QTest::addColumn<bool>("holds");

    QTest::newRow("read image fill") << QStringList{R"(read {"fillStyle":3,"imageResourceId":7})"}
                                     << 1 << 0 << true;
    QTest::newRow("image to solid gives the count back")
        << QStringList{R"(read {"fillStyle":3,"imageResourceId":7})", "style 1"} << 0 << 0 << false;
    QTest::newRow("and back to image takes it again")
        << QStringList{R"(read {"fillStyle":3,"imageResourceId":7})", "style 1", "style 3"}
        << 1 << 0 << true;
    QTest::newRow("gradient to image without image")
        << QStringList{"style 2", "style 3"} << 0 << 0 << false;
    QTest::newRow("image set while solid takes nothing")
        << QStringList{"style 1", "image 7"} << 0 << 0 << false;
    QTest::newRow("image set while image style")
        << QStringList{"style 3", "image 7"} << 1 << 0 << true;
    QTest::newRow("changing the image moves the count")
        << QStringList{"style 3", "image 7", "image 8"} << 0 << 1 << true;
    QTest::newRow("unknown image drops the count")
        << QStringList{"style 3", "image 7", "image 99"} << 0 << 0 << false;
    QTest::newRow("clearing the image") << QStringList{"style 3", "image 7", "image -1"}
                                        << 0 << 0 << false;
    QTest::newRow("same style twice takes one count")
        << QStringList{"image 7", "style 3", "style 3"} << 1 << 0 << true;
    QTest::newRow("reading solid over image")
        << QStringList{R"(read {"fillStyle":3,"imageResourceId":7})",
                       R"(read {"fillStyle":1,"imageResourceId":7})"}
        << 0 << 0 << false;
    QTest::newRow("reading another image")
        << QStringList{R"(read {"fillStyle":3,"imageResourceId":7})",
                       R"(read {"fillStyle":3,"imageResourceId":8})"}
        << 0 << 1 << true;
    QTest::newRow("reading without image key")
        << QStringList{R"(read {"fillStyle":3,"imageResourceId":7})", R"(read {"fillStyle":3})"}
        << 0 << 0 << false;
    QTest::newRow("reading the same image again")
        << QStringList{R"(read {"fillStyle":3,"imageResourceId":7})",
                       R"(read {"fillStyle":3,"imageResourceId":7})"}
        << 1 << 0 << true;
    QTest::newRow("release and retain")
        << QStringList{"style 3", "image 7", "release", "release", "retain", "retain"}
        << 1 << 0 << true;
    QTest::newRow("released fill leaves image style")
        << QStringList{"style 3", "image 7", "release", "style 0"} << 0 << 0 << false;
    QTest::newRow("retain of a solid fill takes nothing")
        << QStringList{"image 7", "style 1", "retain"} << 0 << 0 << false;
    QTest::newRow("released fill changes image while image style")
        << QStringList{"style 3", "image 7", "release", "image 8"} << 0 << 1 << true;
    QTest::newRow("deleting the fill gives the count back")
        << QStringList{"style 3", "image 7", "delete"} << 0 << 0 << false;
    QTest::newRow("deleting a released fill")
        << QStringList{"style 3", "image 7", "release", "delete"} << 0 << 0 << false;
}

void TestBackgroundFill::useCounts()
{
    QFETCH(QStringList, steps);
    QFETCH(int, count7);
    QFETCH(int, count8);
    QFETCH(bool, holds);

    TestImages images;
    images.add(7);
    images.add(8);
    auto pFill = std::make_unique<KVBackground>();
    pFill->setImageUseCounter(&images);
    for (const QString &step : qAsConst(steps)) {
        const QString verb = step.section(' ', 0, 0);
        const QString arg = step.section(' ', 1);
        if (verb == "style")
            pFill->setFillStyle(arg.toInt());
        else if (verb == "image")
            pFill->setImageResourceId(arg.toInt());
        else if (verb == "read")
            pFill->fromJson(QJsonDocument::fromJson(arg.toUtf8()).object(), &images);
        else if (verb == "retain")
            pFill->retainResources();
        else if (verb == "release")
            pFill->releaseResources();
        else if (verb == "delete")
            pFill.reset();
        else
            QFAIL(qPrintable("unknown step " + step));
    }
    QCOMPARE(images.count(7), count7);
    QCOMPARE(images.count(8), count8);
    if (pFill)
        QCOMPARE(pFill->holdsImageCount(), holds);
    QVERIFY2(images.faults.isEmpty(), qPrintable(images.faults.join('\n')));
}

void TestBackgroundFill::copiesHoldTheirOwnCount()
{
    TestImages images;
    images.add(7);
    KVBackground fill;
    fill.fromJson(obj(R"({"fillStyle":3,"imageResourceId":7})"), &images);
    QCOMPARE(images.count(7), 1);

    {
        std::unique_ptr<KVBackground> pClone(fill.clone());
        QCOMPARE(images.count(7), 2);
        QVERIFY(pClone->holdsImageCount());
        QCOMPARE(pClone->imageResourceId(), 7);
        QCOMPARE(*pClone, fill);

        // A released original still gives its copy a count of its own.
        fill.releaseResources();
        KVBackground copy(fill);
        QCOMPARE(images.count(7), 2);
        QVERIFY(copy.holdsImageCount());
    }
    QCOMPARE(images.count(7), 0);

    // A copy of a solid fill that refers to an image takes nothing.
    fill.setFillStyle(KVBackground::SolidFill);
    KVBackground solid(fill);
    QCOMPARE(solid.imageResourceId(), 7);
    QCOMPARE(images.total(), 0);
    QVERIFY(images.faults.isEmpty());
}

void TestBackgroundFill::copyFromKeepsCountsRight()
{
    TestImages images;
    images.add(7);
    images.add(8);
    KVBackground a;
    a.fromJson(obj(R"({"fillStyle":3,"imageResourceId":7})"), &images);
    KVBackground b;
    b.fromJson(obj(R"({"fillStyle":3,"imageResourceId":8})"), &images);

    b.copyFrom(a);
    QCOMPARE(images.count(7), 2);
    QCOMPARE(images.count(8), 0);
    b.copyFrom(b);
    QCOMPARE(images.count(7), 2);

    KVBackground solid(KVBackground::SolidFill);
    a.copyFrom(solid);
    QCOMPARE(images.count(7), 1);
    QVERIFY(!a.holdsImageCount());
    QCOMPARE(a, solid);
    QVERIFY(images.faults.isEmpty());
}

void TestBackgroundFill::counterChangeDropsTheImage()
{
    TestImages first;
    first.add(7);
    TestImages second;
    second.add(7);
    KVBackground fill;
    fill.fromJson(obj(R"({"fillStyle":3,"imageResourceId":7})"), &first);
    QCOMPARE(first.count(7), 1);

    // Reading the same object for another document: the old document gets its count back.
    fill.fromJson(obj(R"({"fillStyle":3,"imageResourceId":7})"), &second);
    QCOMPARE(first.count(7), 0);
    QCOMPARE(second.count(7), 1);

    fill.setImageUseCounter(nullptr);
    QCOMPARE(second.count(7), 0);
    QCOMPARE(fill.imageResourceId(), -1);
    QVERIFY(!fill.setImageResourceId(7));
    QVERIFY(first.faults.isEmpty());
    QVERIFY(second.faults.isEmpty());
}

void TestBackgroundFill::collectAndReplaceResources()
{
    TestImages images;
    images.add(7);
    images.add(8);
    KVBackground held;
    held.fromJson(obj(R"({"fillStyle":3,"imageResourceId":7})"), &images);
    KVBackground solid;
    solid.fromJson(obj(R"({"fillStyle":1,"imageResourceId":7})"), &images);
    KVBackground none;

    QSet<int> ids;
    held.collectResources(ids);
    solid.collectResources(ids);
    none.collectResources(ids);
    QCOMPARE(ids, QSet<int>{7});

    const QMap<int, int> map{{7, 8}, {3, 4}};
    held.replaceResources(map);
    solid.replaceResources(map);
    none.replaceResources(map);
    QCOMPARE(held.imageResourceId(), 8);
    QCOMPARE(solid.imageResourceId(), 8);
    QCOMPARE(none.imageResourceId(), -1);
    QCOMPARE(images.count(7), 0);
    QCOMPARE(images.count(8), 1);

    // A released fill swaps its image without taking a count.
    held.releaseResources();
    held.replaceResources({{8, 7}});
    QCOMPARE(held.imageResourceId(), 7);
    QCOMPARE(images.total(), 0);
    QVERIFY(images.faults.isEmpty());
}

void TestBackgroundFill::writtenImageId_data()
{
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<bool>("released");
    QTest::addColumn<int>("written");

    QTest::newRow("counted") << false << false << 7;
    QTest::newRow("released") << false << true << 7;
    QTest::newRow("deleted, still counted") << true << false << 7;
    QTest::newRow("deleted and released") << true << true << -1;
}

void TestBackgroundFill::writtenImageId()
{
    QFETCH(bool, deleted);
    QFETCH(bool, released);
    QFETCH(int, written);

    TestImages images;
    images.add(7, QSize(10, 20), deleted);
    KVBackground fill;
    fill.fromJson(obj(R"({"fillStyle":3,"imageResourceId":7})"), &images);
    if (released)
        fill.releaseResources();
    QCOMPARE(project(fill).value("imageResourceId"), QJsonValue(written));

    // A solid fill never holds a count: its deleted image is written as -1 too.
    fill.setFillStyle(KVBackground::SolidFill);
    QCOMPARE(project(fill).value("imageResourceId"), QJsonValue(deleted ? -1 : 7));
}

void TestBackgroundFill::unknownImageOnRead()
{
    TestImages images;
    images.add(7);
    KVBackground fill;
    fill.fromJson(obj(R"({"fillStyle":3,"imageResourceId":12,"imageFillType":1})"), &images);
    QCOMPARE(fill.imageResourceId(), -1);
    QCOMPARE(project(fill).value("imageResourceId"), QJsonValue(-1));
    QCOMPARE(compact(player(fill)), QString("[3]"));
    QCOMPARE(images.total(), 0);

    // Without a document nothing can be looked up.
    KVBackground orphan;
    orphan.fromJson(obj(R"({"fillStyle":3,"imageResourceId":7})"), nullptr);
    QCOMPARE(orphan.imageResourceId(), -1);
    QCOMPARE(images.total(), 0);
}

KAVIO_TEST_MAIN(TestBackgroundFill)
#include "tst_backgroundfill.moc"
