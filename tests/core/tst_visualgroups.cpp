// The visual groups of an element box (border, fill, shadow, filter, clip, corners): colour
// encoding, constructor and reader defaults, both JSON forms and the animatable properties.
// Image fills and their use counts are in tst_backgroundfill.

#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVColorJson.h"
#include "model/KVCorner.h"
#include "model/KVFilterEffect.h"
#include "model/KVJsonUtil.h"
#include "model/KVShadow.h"

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

QJsonArray arr(const char *pszJson)
{
    return QJsonDocument::fromJson(QByteArray(pszJson)).array();
}

QString compact(const QJsonObject &jo)
{
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

QString compact(const QJsonArray &ja)
{
    return QString::fromUtf8(QJsonDocument(ja).toJson(QJsonDocument::Compact));
}

// One group behind a uniform face, so that the tables below can name the group by its key.
struct Group
{
    std::unique_ptr<QObject> pObject;

    explicit Group(const QString &strKind)
    {
        if (strKind == "border")
            pObject.reset(new KVBorder);
        else if (strKind == "background")
            pObject.reset(new KVBackground);
        else if (strKind == "shadow")
            pObject.reset(new KVShadow);
        else if (strKind == "filter")
            pObject.reset(new KVFilterEffect);
        else if (strKind == "clip")
            pObject.reset(new KVClip);
        else if (strKind == "corner")
            pObject.reset(new KVCorner);
        else
            qFatal("unknown group %s", qPrintable(strKind));
    }

    template <typename F>
    auto visit(F f) const
    {
        if (auto *p = qobject_cast<KVBorder *>(pObject.get()))
            return f(*p);
        if (auto *p = qobject_cast<KVShadow *>(pObject.get()))
            return f(*p);
        if (auto *p = qobject_cast<KVFilterEffect *>(pObject.get()))
            return f(*p);
        if (auto *p = qobject_cast<KVClip *>(pObject.get()))
            return f(*p);
        if (auto *p = qobject_cast<KVCorner *>(pObject.get()))
            return f(*p);
        return f(*qobject_cast<KVBackground *>(pObject.get()));
    }

    void read(const QJsonObject &jo)
    {
        if (auto *p = qobject_cast<KVBackground *>(pObject.get()))
            p->fromJson(jo, nullptr);
        else
            visit([&](auto &g) { readGroup(g, jo); });
    }
    QJsonObject project() const
    {
        return visit([](auto &g) {
            QJsonObject jo;
            g.toJson(jo);
            return jo;
        });
    }
    QJsonArray player() const
    {
        return visit([](auto &g) {
            QJsonArray ja{QStringLiteral("stale")};
            g.toPlayerJson(ja);
            return ja;
        });
    }
    bool equals(const Group &other) const
    {
        return visit([&](auto &g) { return g == *static_cast<std::decay_t<decltype(g)> *>(other.pObject.get()); });
    }
    Group cloned() const
    {
        Group copy(*this, visit([](auto &g) { return static_cast<QObject *>(g.clone()); }));
        return copy;
    }

private:
    Group(const Group &, QObject *pClone) : pObject(pClone) {}
    template <typename G>
    static void readGroup(G &g, const QJsonObject &jo) { g.fromJson(jo); }
    static void readGroup(KVBackground &g, const QJsonObject &jo) { g.fromJson(jo, nullptr); }
};

} // namespace

class TestVisualGroups : public QObject
{
    Q_OBJECT

private slots:
    void colorToJson_data();
    void colorToJson();
    void colorFromJson_data();
    void colorFromJson();
    void colorSettersStoreEightBitArgb();

    void constructorAndReaderDefaults_data();
    void constructorAndReaderDefaults();
    void mistypedKeysReadDefaults_data();
    void mistypedKeysReadDefaults();
    void projectRoundTrip_data();
    void projectRoundTrip();
    void cloneIsIndependent_data();
    void cloneIsIndependent();

    void playerArrays_data();
    void playerArrays();
    void animatableProperties_data();
    void animatableProperties();

    void intReading_data();
    void intReading();
    void playerNumbers_data();
    void playerNumbers();
    void times100_data();
    void times100();
};

void TestVisualGroups::colorToJson_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<int>("argb");
    QTest::addColumn<QString>("rgba");

    QTest::newRow("opaque red") << QColor(255, 0, 0) << -65536 << "[255,0,0,255]";
    QTest::newRow("opaque black") << QColor(0, 0, 0) << -16777216 << "[0,0,0,255]";
    QTest::newRow("opaque white") << QColor(255, 255, 255) << -1 << "[255,255,255,255]";
    QTest::newRow("half black") << QColor(0, 0, 0, 128) << int(0x80000000) << "[0,0,0,128]";
    QTest::newRow("transparent") << QColor(0, 0, 0, 0) << 0 << "[0,0,0,0]";
    QTest::newRow("fill blue") << QColor(74, 134, 232) << -11893016 << "[74,134,232,255]";
    QTest::newRow("translucent green") << QColor(1, 200, 3, 100) << 0x6401c803 << "[1,200,3,100]";
}

void TestVisualGroups::colorToJson()
{
    QFETCH(QColor, color);
    QFETCH(int, argb);
    QFETCH(QString, rgba);

    QCOMPARE(KVColorJson::toArgbInt(color), argb);
    QCOMPARE(compact(KVColorJson::rgbaArray(color)), rgba);
    QCOMPARE(KVColorJson::fromArgbInt(argb), color);

    // Through a border, the way the project file and the player see it.
    KVBorder border;
    border.setStyle(KVBorder::Solid);
    border.setWidth(3);
    border.setBorderColor(color);
    QJsonObject jo;
    border.toJson(jo);
    QCOMPARE(jo.value("color"), QJsonValue(argb));
    QJsonArray ja;
    border.toPlayerJson(ja);
    QCOMPARE(compact(ja), QString("[1,3,%1").arg(rgba.mid(1)));
}

void TestVisualGroups::colorFromJson_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<QColor>("expected");

    const QColor fallback(1, 2, 3, 4);
    QTest::newRow("signed") << obj(R"({"c":-65536})") << QColor(255, 0, 0);
    QTest::newRow("unsigned form") << obj(R"({"c":4294901760})") << QColor(255, 0, 0);
    QTest::newRow("zero") << obj(R"({"c":0})") << QColor(0, 0, 0, 0);
    QTest::newRow("lowest int") << obj(R"({"c":-2147483648})") << QColor(0, 0, 0, 128);
    QTest::newRow("missing") << obj(R"({})") << fallback;
    QTest::newRow("string") << obj(R"({"c":"-65536"})") << fallback;
    QTest::newRow("bool") << obj(R"({"c":true})") << fallback;
    QTest::newRow("array") << obj(R"({"c":[255,0,0,255]})") << fallback;
    QTest::newRow("fraction") << obj(R"({"c":-65536.5})") << fallback;
    QTest::newRow("above 32 bits") << obj(R"({"c":4294967296})") << fallback;
    QTest::newRow("below int") << obj(R"({"c":-2147483649})") << fallback;
}

void TestVisualGroups::colorFromJson()
{
    QFETCH(QJsonObject, json);
    QFETCH(QColor, expected);
    QCOMPARE(KVColorJson::readColor(json, "c", QColor(1, 2, 3, 4)), expected);
}

void TestVisualGroups::colorSettersStoreEightBitArgb()
{
    // A colour that an animation interpolates or the inspector picks in another spec is stored as
    // its 8-bit ARGB value, so that it compares equal to what the file gives back.
    QColor hsv = QColor::fromHsvF(0.5, 1.0, 1.0, 0.5);
    KVShadow shadow;
    shadow.setColor(hsv);
    QCOMPARE(shadow.color().spec(), QColor::Rgb);
    QJsonObject jo;
    shadow.toJson(jo);
    KVShadow read;
    read.fromJson(jo);
    QCOMPARE(read, shadow);

    KVBackground fill;
    fill.setGradientStops({{0.5, hsv}});
    QCOMPARE(fill.gradientStops().first().second.spec(), QColor::Rgb);
}

void TestVisualGroups::constructorAndReaderDefaults_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QJsonObject>("constructed");
    QTest::addColumn<QJsonObject>("readFromEmpty");

    QTest::newRow("border")
        << "border" << obj(R"({"style":0,"width":1,"color":-16777216})")
        << obj(R"({"style":0,"width":0,"color":-16777216})");
    QTest::newRow("background")
        << "background"
        << obj(R"({"fillStyle":0,"gradientType":0,"solidColor":-11893016,"linearGradientAngle":0,
                   "radialOriginX":0.5,"radialOriginY":0.5,"radialShape":1,"radialSizeParam":3,
                   "imageFillType":0,"imageResourceId":-1,"gradientStopFactors":[0,1],
                   "gradientStopColors":[-16777216,-1]})")
        << obj(R"({"fillStyle":1,"gradientType":0,"solidColor":-11893016,"linearGradientAngle":0,
                   "radialOriginX":0,"radialOriginY":0,"radialShape":0,"radialSizeParam":0,
                   "imageFillType":0,"imageResourceId":-1,"gradientStopFactors":[0,1],
                   "gradientStopColors":[-16777216,-1]})");
    const QJsonObject shadow = obj(R"({"st":0,"br":5,"ag":45,"dt":5,"cl":-2147483648})");
    QTest::newRow("shadow") << "shadow" << shadow << shadow;
    const QJsonObject filter = obj(R"({"i":0,"h":0,"c":1,"r":1,"s":1,"sp":0,"g":0,"b":0})");
    QTest::newRow("filter") << "filter" << filter << filter;
    const QJsonObject clip = obj(R"({"s":0,"rt":0,"rr":0,"rb":0,"rl":0,"urt":0,"urr":0,"urb":0,
                                     "url":0,"ov":0.25,"oc":0.5,"uov":1,"uoc":1,"cc":0.5,"ucc":1})");
    QTest::newRow("clip") << "clip" << clip << clip;
    const QJsonObject corner = obj(R"({"tl":0,"tr":0,"bl":0,"br":0,"unitTL":0,"unitTR":0,
                                       "unitBL":0,"unitBR":0})");
    QTest::newRow("corner") << "corner" << corner << corner;
}

void TestVisualGroups::constructorAndReaderDefaults()
{
    QFETCH(QString, kind);
    QFETCH(QJsonObject, constructed);
    QFETCH(QJsonObject, readFromEmpty);

    Group fresh(kind);
    QCOMPARE(compact(fresh.project()), compact(constructed));

    Group read(kind);
    read.read(QJsonObject());
    QCOMPARE(compact(read.project()), compact(readFromEmpty));
}

void TestVisualGroups::mistypedKeysReadDefaults_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QJsonObject>("nonDefault");

    QTest::newRow("border") << "border" << obj(R"({"style":3,"width":7,"color":-65536})");
    QTest::newRow("background")
        << "background"
        << obj(R"({"fillStyle":2,"gradientType":1,"solidColor":-65536,"linearGradientAngle":30,
                   "radialOriginX":0.2,"radialOriginY":0.7,"radialShape":1,"radialSizeParam":2,
                   "imageFillType":4,"gradientStopFactors":[0.3],"gradientStopColors":[-1]})");
    QTest::newRow("shadow") << "shadow" << obj(R"({"st":1,"br":9,"ag":-30,"dt":12,"cl":-65536})");
    QTest::newRow("filter")
        << "filter" << obj(R"({"i":0.5,"h":90,"c":1.5,"r":0.5,"s":2,"sp":0.3,"g":0.4,"b":6})");
    QTest::newRow("clip")
        << "clip"
        << obj(R"({"s":3,"rt":1,"rr":2,"rb":3,"rl":4,"urt":1,"urr":1,"urb":1,"url":1,"ov":9,
                   "oc":8,"uov":0,"uoc":0,"cc":7,"ucc":0})");
    QTest::newRow("corner")
        << "corner"
        << obj(R"({"tl":1,"tr":2,"bl":3,"br":4,"unitTL":1,"unitTR":1,"unitBL":1,"unitBR":1})");
}

void TestVisualGroups::mistypedKeysReadDefaults()
{
    QFETCH(QString, kind);
    QFETCH(QJsonObject, nonDefault);

    Group expected(kind);
    expected.read(QJsonObject());

    // A group that held other values, reading an object whose every key has the wrong JSON type,
    // ends with the reader defaults: nothing of the old state survives.
    Group group(kind);
    group.read(nonDefault);
    QVERIFY(!group.equals(expected));
    QJsonObject mistyped;
    for (auto it = nonDefault.begin(); it != nonDefault.end(); ++it)
        mistyped.insert(it.key(), it.value().isArray() ? QJsonValue("x") : QJsonValue(QJsonArray{1}));
    group.read(mistyped);
    QCOMPARE(compact(group.project()), compact(expected.project()));
    QVERIFY(group.equals(expected));
}

void TestVisualGroups::projectRoundTrip_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QJsonObject>("json");

    QTest::newRow("border") << "border" << obj(R"({"style":2,"width":4,"color":1627389951})");
    QTest::newRow("linear gradient")
        << "background"
        << obj(R"({"fillStyle":2,"gradientType":0,"solidColor":-65536,"linearGradientAngle":-135,
                   "radialOriginX":0.2,"radialOriginY":0.7,"radialShape":1,"radialSizeParam":2,
                   "imageFillType":3,"imageResourceId":-1,
                   "gradientStopFactors":[1,0.25,0],"gradientStopColors":[-1,2130706687,-16777216]})");
    QTest::newRow("radial gradient")
        << "background"
        << obj(R"({"fillStyle":2,"gradientType":1,"solidColor":0,"linearGradientAngle":0,
                   "radialOriginX":0.33,"radialOriginY":1.5,"radialShape":0,"radialSizeParam":1,
                   "imageFillType":0,"imageResourceId":-1,
                   "gradientStopFactors":[],"gradientStopColors":[]})");
    QTest::newRow("shadow") << "shadow" << obj(R"({"st":1,"br":12,"ag":-90,"dt":30,"cl":-16711936})");
    QTest::newRow("filter")
        << "filter" << obj(R"({"i":0.25,"h":180,"c":1.75,"r":3.5,"s":0.1,"sp":0.6,"g":0.9,"b":11})");
    QTest::newRow("clip")
        << "clip"
        << obj(R"({"s":1,"rt":0.1,"rr":5,"rb":0.125,"rl":7.5,"urt":1,"urr":0,"urb":1,"url":0,
                   "ov":40,"oc":0.3,"uov":0,"uoc":1,"cc":60,"ucc":0})");
    QTest::newRow("corner")
        << "corner"
        << obj(R"({"tl":10,"tr":0.25,"bl":0,"br":3.5,"unitTL":0,"unitTR":1,"unitBL":1,"unitBR":0})");
}

void TestVisualGroups::projectRoundTrip()
{
    QFETCH(QString, kind);
    QFETCH(QJsonObject, json);

    Group first(kind);
    first.read(json);
    QCOMPARE(compact(first.project()), compact(json));

    // Through the file's text form and into a fresh group.
    const QByteArray text = QJsonDocument(first.project()).toJson(QJsonDocument::Compact);
    Group second(kind);
    second.read(QJsonDocument::fromJson(text).object());
    QVERIFY(second.equals(first));
    QCOMPARE(compact(second.project()), compact(json));
    QVERIFY(!second.equals(Group(kind)));
}

void TestVisualGroups::cloneIsIndependent_data()
{
    projectRoundTrip_data();
}

void TestVisualGroups::cloneIsIndependent()
{
    QFETCH(QString, kind);
    QFETCH(QJsonObject, json);

    Group original(kind);
    original.read(json);
    Group copy = original.cloned();
    QVERIFY(copy.pObject.get() != original.pObject.get());
    QVERIFY(copy.equals(original));
    QCOMPARE(copy.pObject->parent(), nullptr);

    copy.read(QJsonObject());
    QVERIFY(!copy.equals(original));
    QCOMPARE(compact(original.project()), compact(json));
}

void TestVisualGroups::playerArrays_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<QJsonArray>("expected");

    QTest::newRow("border none") << "border" << obj(R"({"style":0,"width":5,"color":-65536})")
                                 << QJsonArray();
    QTest::newRow("border solid black") << "border" << obj(R"({"style":1,"width":2})")
                                        << arr("[1,2,0,0,0,255]");
    QTest::newRow("border dashed") << "border" << obj(R"({"style":3,"width":0,"color":16711935})")
                                   << arr("[3,0,255,0,255,0]");

    QTest::newRow("shadow none") << "shadow" << obj(R"({"st":0,"br":20})") << QJsonArray();
    QTest::newRow("shadow unknown style") << "shadow" << obj(R"({"st":2})") << QJsonArray();
    QTest::newRow("shadow drop") << "shadow" << obj(R"({"st":1,"br":8,"ag":-45,"dt":3,"cl":-65536})")
                                 << arr("[8,-45,3,255,0,0,255]");
    QTest::newRow("shadow defaults") << "shadow" << obj(R"({"st":1})") << arr("[5,45,5,0,0,0,128]");

    QTest::newRow("filter defaults") << "filter" << QJsonObject() << arr("[0,0,100,100,100,0,0,0]");
    QTest::newRow("filter set")
        << "filter" << obj(R"({"i":0.07,"h":270,"c":0.5,"r":2.5,"s":1.15,"sp":0.29,"g":1,"b":4})")
        << arr("[7,270,50,250,115,29,100,4]");

    QTest::newRow("clip none") << "clip" << obj(R"({"s":0,"rt":3})") << QJsonArray();
    QTest::newRow("clip unknown style") << "clip" << obj(R"({"s":7})") << QJsonArray();
    QTest::newRow("clip rectangle mixed units")
        << "clip" << obj(R"({"s":1,"rt":0.1,"urt":1,"rr":5,"rb":5,"rl":5})")
        << arr(R"([1,"10%",5,5,5])");
    QTest::newRow("clip rectangle all percent")
        << "clip"
        << obj(R"({"s":1,"rt":0.125,"urt":1,"rr":0.333333333,"urr":1,"rb":0,"urb":1,"rl":1.5,"url":1})")
        << arr(R"([1,"12.5%","33.3333%","0%","150%"])");
    QTest::newRow("clip circle default") << "clip" << obj(R"({"s":2})") << arr(R"([2,"50%"])");
    QTest::newRow("clip circle pixels") << "clip" << obj(R"({"s":2,"cc":40,"ucc":0})") << arr("[2,40]");
    QTest::newRow("clip oval default") << "clip" << obj(R"({"s":3})") << arr(R"([3,"25%","50%"])");
    QTest::newRow("clip oval mixed")
        << "clip" << obj(R"({"s":3,"ov":12.5,"uov":0,"oc":0.07})") << arr(R"([3,12.5,"7%"])");

    QTest::newRow("corner all zero") << "corner" << obj(R"({"unitTL":1})") << QJsonArray();
    QTest::newRow("corner one radius") << "corner" << obj(R"({"br":4})") << arr("[0,0,0,4]");
    QTest::newRow("corner mixed units")
        << "corner" << obj(R"({"tl":10,"tr":0.25,"unitTR":1,"bl":0.5,"unitBL":1,"br":2.5})")
        << arr(R"([10,"25%","50%",2.5])");
}

void TestVisualGroups::playerArrays()
{
    QFETCH(QString, kind);
    QFETCH(QJsonObject, json);
    QFETCH(QJsonArray, expected);

    Group group(kind);
    group.read(json);
    QCOMPARE(compact(group.player()), compact(expected));
}

void TestVisualGroups::animatableProperties_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QJsonValue>("written");

    QTest::newRow("border width") << "border" << "m_nWidth" << QVariant(6) << "width" << QJsonValue(6);
    QTest::newRow("border colour") << "border" << "m_clBorderColor" << QVariant(QColor(255, 0, 0))
                                   << "color" << QJsonValue(-65536);
    QTest::newRow("fill colour") << "background" << "m_clSolidColor"
                                 << QVariant(QColor(0, 0, 255, 0)) << "solidColor" << QJsonValue(255);
    QTest::newRow("gradient angle") << "background" << "m_nLinearGradientAngle" << QVariant(90)
                                    << "linearGradientAngle" << QJsonValue(90);
    QTest::newRow("radial origin x") << "background" << "m_dRadialOriginX" << QVariant(0.2)
                                     << "radialOriginX" << QJsonValue(0.2);
    QTest::newRow("radial origin y") << "background" << "m_dRadialOriginY" << QVariant(0.7)
                                     << "radialOriginY" << QJsonValue(0.7);
    QTest::newRow("shadow blur") << "shadow" << "m_nShBlurRadius" << QVariant(17) << "br" << QJsonValue(17);
    QTest::newRow("shadow angle") << "shadow" << "m_nShAngle" << QVariant(-10) << "ag" << QJsonValue(-10);
    QTest::newRow("shadow distance") << "shadow" << "m_nShDistance" << QVariant(40) << "dt" << QJsonValue(40);
    QTest::newRow("shadow colour") << "shadow" << "m_shColor" << QVariant(QColor(255, 255, 255))
                                   << "cl" << QJsonValue(-1);
    QTest::newRow("invert") << "filter" << "m_dInvert" << QVariant(0.3) << "i" << QJsonValue(0.3);
    QTest::newRow("hue") << "filter" << "m_nHue" << QVariant(120) << "h" << QJsonValue(120);
    QTest::newRow("contrast") << "filter" << "m_dContrast" << QVariant(1.8) << "c" << QJsonValue(1.8);
    QTest::newRow("brightness") << "filter" << "m_dBrightness" << QVariant(0.4) << "r" << QJsonValue(0.4);
    QTest::newRow("saturate") << "filter" << "m_dSaturate" << QVariant(9.5) << "s" << QJsonValue(9.5);
    QTest::newRow("sepia") << "filter" << "m_dSepia" << QVariant(0.6) << "sp" << QJsonValue(0.6);
    QTest::newRow("grayscale") << "filter" << "m_dGrayscale" << QVariant(0.7) << "g" << QJsonValue(0.7);
    QTest::newRow("blur") << "filter" << "m_nBlur" << QVariant(250) << "b" << QJsonValue(250);
    QTest::newRow("clip top") << "clip" << "m_dCRectTop" << QVariant(1.5) << "rt" << QJsonValue(1.5);
    QTest::newRow("clip right") << "clip" << "m_dCRectRight" << QVariant(2.5) << "rr" << QJsonValue(2.5);
    QTest::newRow("clip bottom") << "clip" << "m_dCRectBottom" << QVariant(3.5) << "rb" << QJsonValue(3.5);
    QTest::newRow("clip left") << "clip" << "m_dCRectLeft" << QVariant(4.5) << "rl" << QJsonValue(4.5);
    QTest::newRow("oval vertex") << "clip" << "m_dCOvalVertex" << QVariant(0.1) << "ov" << QJsonValue(0.1);
    QTest::newRow("oval co-vertex") << "clip" << "m_dCOvalCoVertex" << QVariant(0.2) << "oc" << QJsonValue(0.2);
    QTest::newRow("circle radius") << "clip" << "m_dCCircleRadius" << QVariant(0.3) << "cc" << QJsonValue(0.3);
    QTest::newRow("top left") << "corner" << "m_nTopLeft" << QVariant(12.5) << "tl" << QJsonValue(12.5);
    QTest::newRow("top right") << "corner" << "m_nTopRight" << QVariant(13.5) << "tr" << QJsonValue(13.5);
    QTest::newRow("bottom left") << "corner" << "m_nBottomLeft" << QVariant(14.5) << "bl" << QJsonValue(14.5);
    QTest::newRow("bottom right") << "corner" << "m_nBottomRight" << QVariant(15.5) << "br" << QJsonValue(15.5);
}

void TestVisualGroups::animatableProperties()
{
    QFETCH(QString, kind);
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(QString, key);
    QFETCH(QJsonValue, written);

    // Animations drive the groups by property name only.
    Group group(kind);
    const QByteArray bytes = property.toLatin1();
    const char *name = bytes.constData();
    QVERIFY2(group.pObject->metaObject()->indexOfProperty(name) >= 0, name);
    QVERIFY(group.pObject->setProperty(name, value));
    QCOMPARE(group.pObject->property(name), value);
    QCOMPARE(group.project().value(key), written);
}

void TestVisualGroups::intReading_data()
{
    QTest::addColumn<QJsonObject>("json");
    QTest::addColumn<int>("expected");

    QTest::newRow("int") << obj(R"({"n":-42})") << -42;
    QTest::newRow("whole double") << obj(R"({"n":7.0})") << 7;
    QTest::newRow("fraction rounds") << obj(R"({"n":2.6})") << 3;
    QTest::newRow("negative fraction rounds") << obj(R"({"n":-2.6})") << -3;
    QTest::newRow("too big") << obj(R"({"n":3e10})") << 99;
    QTest::newRow("too small") << obj(R"({"n":-3e10})") << 99;
    QTest::newRow("string") << obj(R"({"n":"5"})") << 99;
    QTest::newRow("null") << obj(R"({"n":null})") << 99;
    QTest::newRow("missing") << QJsonObject() << 99;
}

void TestVisualGroups::intReading()
{
    QFETCH(QJsonObject, json);
    QFETCH(int, expected);
    QCOMPARE(KVJsonUtil::readInt(json, "n", 99), expected);
}

void TestVisualGroups::playerNumbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QJsonValue>("position");
    QTest::addColumn<QJsonValue>("size");

    QTest::newRow("pixels") << 12.5 << 0 << QJsonValue(12.5) << QJsonValue(12.5);
    QTest::newRow("percent") << 0.25 << 1 << QJsonValue("25%") << QJsonValue("25%");
    QTest::newRow("percent noise") << 0.07 << 1 << QJsonValue("7%") << QJsonValue("7%");
    QTest::newRow("percent six digits") << 1.0 / 3 << 1 << QJsonValue("33.3333%") << QJsonValue("33.3333%");
    QTest::newRow("negative percent") << -0.5 << 1 << QJsonValue("-50%") << QJsonValue("-50%");
    QTest::newRow("auto ratio") << 1.5 << 2 << QJsonValue(1.5) << QJsonValue("150a");
}

void TestVisualGroups::playerNumbers()
{
    QFETCH(double, value);
    QFETCH(int, unit);
    QFETCH(QJsonValue, position);
    QFETCH(QJsonValue, size);

    QCOMPARE(KVJsonUtil::playerPosition(value, unit), position);
    QCOMPARE(KVJsonUtil::playerSize(value, unit), size);
}

void TestVisualGroups::times100_data()
{
    QTest::addColumn<double>("fraction");
    QTest::addColumn<double>("expected");

    QTest::newRow("noise removed") << 0.07 << 7.0;
    QTest::newRow("noise removed 2") << 0.29 << 29.0;
    QTest::newRow("negative") << -1.15 << -115.0;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("precision kept") << 0.123456789 << 12.3456789;
    QTest::newRow("tiny kept") << 1e-9 << 1e-7;
    QTest::newRow("large") << 123456.78 << 12345678.0;
}

void TestVisualGroups::times100()
{
    QFETCH(double, fraction);
    QFETCH(double, expected);
    // Exact comparison: the player data must carry 7, not 7.000000000000001.
    QVERIFY2(KVJsonUtil::times100(fraction) == expected,
             qPrintable(QString::number(KVJsonUtil::times100(fraction), 'g', 17)));
}

KAVIO_TEST_MAIN(TestVisualGroups)
#include "tst_visualgroups.moc"
