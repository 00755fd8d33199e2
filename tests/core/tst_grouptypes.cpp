// The element actions of the inspector's groups: fill, corners, overflow, background image place,
// clip, shadow, filter, image and media sources, media information, widget URL and properties.

#include "KVCommandTypesKit.h"

#include "model/KVBackground.h"
#include "model/KVClip.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVFilterEffect.h"
#include "model/KVHTMLWidget.h"
#include "model/KVImage.h"
#include "model/KVMedia.h"
#include "model/KVShadow.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

#include "KVTestMain.h"

using P = KVCmdParam;
using A = KVCommandAction;
using E = KVElementCommandAction;

namespace {

// The types fixture plus an image, a video and a widget element, and two image and one video
// resources in the project.
struct GroupFixture : TypesFixture
{
    KVImage *pImage = nullptr;
    KVMedia *pVideo = nullptr;
    KVHTMLWidget *pWidget = nullptr;
    KVResource *pPicture = nullptr;
    KVResource *pPicture2 = nullptr;
    KVResource *pClip = nullptr;

    GroupFixture()
    {
        KVResourceManager *pManager = t.project.resourceManager();
        pPicture = new KVResource(0, QStringLiteral("one"), QStringLiteral("one.png"));
        pPicture2 = new KVResource(0, QStringLiteral("two"), QStringLiteral("two.png"));
        pClip = new KVResource(2, QStringLiteral("film"), QStringLiteral("film.mp4"));
        pManager->addResource(pPicture);
        pManager->addResource(pPicture2);
        pManager->addResource(pClip);
        pImage = qobject_cast<KVImage *>(KVElementFactory::createElement(0));
        pScene->addElement(pImage);
        pImage->setImage(pPicture, pManager);
        pVideo = qobject_cast<KVMedia *>(KVElementFactory::createElement(2));
        pScene->addElement(pVideo);
        pWidget = qobject_cast<KVHTMLWidget *>(KVElementFactory::createElement(3));
        pScene->addElement(pWidget);
    }

    KVDiv *div() const { return qobject_cast<KVDiv *>(pA); }

    static P *el(KVElement *p) { return P::makeObject(P::Element, p); }
    // inherited, h, v at the base layout or at the breakpoint (1, 0).
    static QList<P *> tail(bool bBreakpoint)
    {
        return {P::makeBool(false), P::makeInt(bBreakpoint ? 1 : 0), P::makeInt(0)};
    }

    E *shadowAction(KVElement *pElement, bool bBreakpoint)
    {
        return elementAction(1043, QList<P *>{el(pElement), P::makeInt(1), P::makeInt(8), P::makeInt(50), P::makeInt(6),
                                              P::makeInt(int(0xff00ff00))}
                                       + tail(bBreakpoint));
    }
};

struct GroupCase
{
    const char *pName;
    std::function<QList<A *>(GroupFixture &)> build;
    std::function<bool(GroupFixture &, bool bApplied)> state;
    bool bFormChanges;
};

QList<GroupCase> groupCases()
{
    using F = GroupFixture;
    return {
        {"1002 fill to a gradient",
         [](F &f) {
             return QList<A *>{f.elementAction(1002, QList<P *>{F::el(f.pA), P::makeInt(2), P::makeInt(1), P::makeInt(-1),
                                                                P::makeInt(int(0xffff0000)),
                                                                P::makeJsonArray({QJsonArray{0.0, int(0xff000000)},
                                                                                  QJsonArray{0.4, int(0xffffffff)}}),
                                                                P::makeInt(30), P::makeDouble(0.2), P::makeDouble(0.3),
                                                                P::makeDouble(0), P::makeInt(2), P::makeInt(1), P::makeInt(0)}
                                                        + F::tail(false))};
         },
         [](F &f, bool b) {
             KVBackground *p = f.pA->background(kBase);
             return (p->fillStyle() == 2) == b && (p->gradientType() == 1) == b
                    && (p->gradientStops().value(1).first == 0.4) == b && (p->radialOriginY() == 0.3) == b
                    && (p->solidColor().rgba() == 0xffff0000) == b;
         },
         true},
        {"1003 corner group at a breakpoint",
         [](F &f) {
             KVCorner corner;
             corner.setAll(12);
             QJsonObject jo;
             corner.toJson(jo);
             return QList<A *>{f.elementAction(1003, QList<P *>{F::el(f.pA), P::makeJsonObject(jo)} + F::tail(true))};
         },
         [](F &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return (f.div()->corner(layout)->topLeft() == 12.0) == b && f.pA->isInherited(35, layout) != b
                    && f.div()->corner(kBase)->topLeft() != 12.0;
         },
         true},
        {"1012 overflow",
         [](F &f) {
             return QList<A *>{f.elementAction(1012, QList<P *>{F::el(f.pA), P::makeInt(2), P::makeVariant(QVariant())} + F::tail(false))};
         },
         [](F &f, bool b) { return f.pA->overflow(kBase) == (b ? 2 : 0); }, true},
        {"1019 background image place",
         [](F &f) {
             return QList<A *>{f.elementAction(1019, QList<P *>{F::el(f.pImage), P::makeDouble(5.5), P::makeDouble(6),
                                                                P::makeDouble(0.5), P::makeDouble(71.5), P::makeInt(0),
                                                                P::makeInt(0), P::makeInt(1), P::makeInt(0)}
                                                        + F::tail(false))};
         },
         [](F &f, bool b) {
             return (f.pImage->bgImageX(kBase) == 5.5) == b && (f.pImage->bgImageH(kBase) == 71.5) == b;
         },
         true},
        {"1031 corners and units",
         [](F &f) {
             return QList<A *>{f.elementAction(1031, QList<P *>{F::el(f.pA), P::makeDouble(4), P::makeDouble(8), P::makeDouble(0.1),
                                                                P::makeDouble(0), P::makeInt(0), P::makeInt(0), P::makeInt(1),
                                                                P::makeInt(0)}
                                                        + F::tail(false))};
         },
         [](F &f, bool b) {
             KVCorner *p = f.div()->corner(kBase);
             return (p->topRight() == 8.0) == b && (p->unitBottomLeft() == 1) == b && (p->bottomLeft() == 0.1) == b;
         },
         true},
        {"1042 clip to a circle",
         [](F &f) {
             QList<P *> params{F::el(f.pA), P::makeInt(2)};
             for (int i = 0; i < 4; ++i)
                 params << P::makeDouble(i);
             for (int i = 0; i < 4; ++i)
                 params << P::makeInt(0);
             params << P::makeDouble(1) << P::makeDouble(2) << P::makeInt(0) << P::makeInt(0) << P::makeDouble(0.4)
                    << P::makeInt(1);
             return QList<A *>{f.elementAction(1042, params + F::tail(false))};
         },
         [](F &f, bool b) {
             KVClip *p = f.pA->clip(kBase);
             return (p->style() == 2) == b && (p->circleRadius() == 0.4) == b && (p->rectBottom() == 2.0) == b;
         },
         true},
        {"1043 shadow",
         [](F &f) { return QList<A *>{f.shadowAction(f.pA, false)}; },
         [](F &f, bool b) {
             KVShadow *p = f.pA->shadow(kBase);
             return (p->style() == 1) == b && (p->blurRadius() == 8) == b && (p->color().rgba() == 0xff00ff00) == b;
         },
         true},
        {"1043 shadow at a breakpoint overrides it there",
         [](F &f) { return QList<A *>{f.shadowAction(f.pA, true)}; },
         [](F &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return (f.pA->shadow(layout)->angle() == 50) == b && f.pA->isInherited(72, layout) != b
                    && f.pA->shadow(kBase)->style() == 0;
         },
         true},
        {"1044 filter",
         [](F &f) {
             return QList<A *>{f.elementAction(1044, QList<P *>{F::el(f.pA), P::makeDouble(0.5), P::makeInt(90), P::makeDouble(1.5),
                                                                P::makeDouble(1), P::makeDouble(1), P::makeDouble(0.2),
                                                                P::makeDouble(0), P::makeInt(3)}
                                                        + F::tail(false))};
         },
         [](F &f, bool b) {
             KVFilterEffect *p = f.pA->filter(kBase);
             return (p->hue() == 90) == b && (p->sepia() == 0.2) == b && (p->blur() == 3) == b;
         },
         true},
        {"1017 image source",
         [](F &f) { return QList<A *>{f.elementAction(1017, {F::el(f.pImage), P::makeInt(f.pPicture2->id())})}; },
         [](F &f, bool b) {
             return f.pImage->image() == (b ? f.pPicture2 : f.pPicture) && f.pPicture->useCount() == (b ? 0 : 1)
                    && f.pPicture2->useCount() == (b ? 1 : 0);
         },
         true},
        {"1026 media source",
         [](F &f) { return QList<A *>{f.elementAction(1026, {F::el(f.pVideo), P::makeInt(f.pClip->id())})}; },
         [](F &f, bool b) { return (f.pVideo->media() == f.pClip) == b; }, true},
        {"1020 media information",
         [](F &f) {
             return QList<A *>{f.elementAction(1020, {F::el(f.pVideo), P::makeJsonObject({{"duration", 4200}, {"loaded", true}})})};
         },
         [](F &f, bool b) { return (f.pVideo->duration() == 4200) == b && f.pVideo->isMediaInfoLoaded() == b; }, true},
        {"1032 widget URL",
         [](F &f) {
             return QList<A *>{f.elementAction(1032, {F::el(f.pWidget), P::makeString("https://example.org"), P::makeBool(false)})};
         },
         [](F &f, bool b) { return (f.pWidget->url() == QLatin1String("https://example.org")) == b; }, true},
        {"1036 element properties",
         [](F &f) {
             return QList<A *>{f.elementAction(1036, {F::el(f.pA), P::makeJsonObject({{"m_dOpacity", 0.3}, {"m_dRotateZ", 15}})})};
         },
         [](F &f, bool b) { return (f.pB->opacity(kBase) == 1.0) && (f.pA->rotateZ(kBase) == 15.0) == b; }, true},
        {"1041 one element property",
         [](F &f) { return QList<A *>{f.elementAction(1041, {F::el(f.pB), P::makeString("m_dSkewX"), P::makeVariant(12.0)})}; },
         [](F &f, bool b) { return f.pB->skewX(kBase) == (b ? 12.0 : 0.0); }, true},
        {"1040 value of a property code",
         [](F &f) {
             return QList<A *>{f.elementAction(1040, {F::el(f.pB), P::makeInt(72), P::makeVariant(130), P::makeBool(false)})};
         },
         [](F &f, bool b) { return (f.pB->shadow(kBase)->angle() == 130) == b; }, true},
    };
}

} // namespace

class TestGroupTypes : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void unfittingChangeNothing_data();
    void unfittingChangeNothing();
    void pageMessages_data();
    void pageMessages();
    void perLayoutMessages();
};

void TestGroupTypes::roundTrip_data()
{
    QTest::addColumn<int>("nCase");
    const QList<GroupCase> cases = groupCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).pName) << i;
}

void TestGroupTypes::roundTrip()
{
    QFETCH(int, nCase);
    const GroupCase c = groupCases().at(nCase);
    checkRoundTrip<GroupFixture>(c.build, c.state, c.bFormChanges);
}

void TestGroupTypes::unfittingChangeNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("1002 one short") << 0;
    QTest::newRow("1002 an unknown fill image") << 1;
    QTest::newRow("1002 a stop that is not a pair") << 2;
    QTest::newRow("1031 on a text box") << 3;
    QTest::newRow("1043 a double for the angle") << 4;
    QTest::newRow("1043 a layout the element lacks") << 5;
    QTest::newRow("1044 one too many") << 6;
    QTest::newRow("1017 an unknown resource") << 7;
    QTest::newRow("1017 on a video") << 8;
    QTest::newRow("1026 an image for a video") << 9;
    QTest::newRow("1036 a property the element lacks") << 10;
    QTest::newRow("1041 an empty name") << 11;
    QTest::newRow("1040 a code that names nothing") << 12;
    QTest::newRow("1032 a string for the flag") << 13;
    QTest::newRow("1003 an empty corner") << 14;
}

void TestGroupTypes::unfittingChangeNothing()
{
    QFETCH(int, nCase);
    GroupFixture f;
    const QString strBefore = f.form();
    using F = GroupFixture;
    auto fill = [&f](P *pImage, P *pStops) {
        return QList<P *>{F::el(f.pA), P::makeInt(3), P::makeInt(0), pImage, P::makeInt(0), pStops, P::makeInt(0),
                          P::makeDouble(0), P::makeDouble(0), P::makeDouble(0), P::makeInt(0), P::makeInt(0),
                          P::makeInt(0)};
    };
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.elementAction(1002, fill(P::makeInt(-1), P::makeJsonArray({})) + QList<P *>{P::makeBool(false), P::makeInt(0)}); break;
    case 1: pAction = f.elementAction(1002, fill(P::makeInt(42), P::makeJsonArray({})) + F::tail(false)); break;
    case 2: pAction = f.elementAction(1002, fill(P::makeInt(-1), P::makeJsonArray({QJsonArray{0.5}})) + F::tail(false)); break;
    case 3: {
        QList<P *> params{F::el(f.pText)};
        for (int i = 0; i < 4; ++i)
            params << P::makeDouble(3);
        for (int i = 0; i < 4; ++i)
            params << P::makeInt(0);
        pAction = f.elementAction(1031, params + F::tail(false));
        break;
    }
    case 4:
        pAction = f.elementAction(1043, QList<P *>{F::el(f.pA), P::makeInt(1), P::makeInt(8), P::makeDouble(45), P::makeInt(6),
                                                   P::makeInt(0)} + F::tail(false));
        break;
    case 5:
        pAction = f.elementAction(1043, QList<P *>{F::el(f.pA), P::makeInt(1), P::makeInt(8), P::makeInt(45), P::makeInt(6),
                                                   P::makeInt(0), P::makeBool(false), P::makeInt(9), P::makeInt(9)});
        break;
    case 6: {
        QList<P *> params{F::el(f.pA)};
        for (int i = 0; i < 9; ++i)
            params << P::makeDouble(1);
        pAction = f.elementAction(1044, params + F::tail(false));
        break;
    }
    case 7: pAction = f.elementAction(1017, {F::el(f.pImage), P::makeInt(99)}); break;
    case 8: pAction = f.elementAction(1017, {F::el(f.pVideo), P::makeInt(f.pPicture2->id())}); break;
    case 9: pAction = f.elementAction(1026, {F::el(f.pVideo), P::makeInt(f.pPicture2->id())}); break;
    case 10: pAction = f.elementAction(1036, {F::el(f.pA), P::makeJsonObject({{"m_dOpacity", 0.3}, {"m_nNoSuch", 1}})}); break;
    case 11: pAction = f.elementAction(1041, {F::el(f.pA), P::makeString(""), P::makeVariant(1)}); break;
    case 12: pAction = f.elementAction(1040, {F::el(f.pA), P::makeInt(45), P::makeVariant(1), P::makeBool(false)}); break;
    case 13: pAction = f.elementAction(1032, {F::el(f.pWidget), P::makeString("u"), P::makeString("true")}); break;
    case 14: pAction = f.elementAction(1003, QList<P *>{F::el(f.pA), P::makeJsonObject({})} + F::tail(false)); break;
    }
    const int nType = pAction->type();
    f.push({pAction});
    QCOMPARE(f.form(), strBefore);
    QCOMPARE(f.pImage->image(), f.pPicture);
    QCOMPARE(f.t.noteTypes().first(), nType);
    f.t.stack.undo();
    QCOMPARE(f.form(), strBefore);
}

void TestGroupTypes::pageMessages_data()
{
    QTest::addColumn<int>("nType");
    QTest::addColumn<QString>("strExpected");
    // id, then the group's player array (shadow: style is implied by a non-empty array).
    QTest::newRow("1043 shadow") << 1043 << "A|[8,50,6,0,255,0,255]";
    QTest::newRow("1017 image") << 1017 << "I|2";
    QTest::newRow("1032 widget") << 1032 << "W|false|https://example.org|-1";
}

void TestGroupTypes::pageMessages()
{
    QFETCH(int, nType);
    QFETCH(QString, strExpected);
    GroupFixture f;
    A *pAction = nullptr;
    QString strFirst;
    switch (nType) {
    case 1043:
        pAction = f.shadowAction(f.pA, false);
        strFirst = QString::number(f.pA->id());
        strExpected.replace(QLatin1String("A|"), strFirst + '|');
        break;
    case 1017:
        pAction = f.elementAction(1017, {GroupFixture::el(f.pImage), P::makeInt(f.pPicture2->id())});
        strExpected.replace(QLatin1String("I|2"), QStringLiteral("%1|%2").arg(f.pImage->id()).arg(f.pPicture2->id()));
        break;
    default:
        pAction = f.elementAction(1032, {GroupFixture::el(f.pWidget), P::makeString("https://example.org"), P::makeBool(false)});
        strExpected.replace(QLatin1String("W|"), QString::number(f.pWidget->id()) + '|');
        break;
    }
    f.push({pAction});
    QJsonArray ja;
    for (const KVNote &n : f.t.notes) {
        if (n.nType == nType)
            ja = n.joPage.value("params").toArray();
    }
    QStringList words;
    for (const QJsonValue &jv : ja) {
        const QJsonValue value = jv.toObject().value("value");
        if (value.isArray())
            words << QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
        else
            words << value.toVariant().toString();
    }
    QCOMPARE(words.join('|'), strExpected);
}

void TestGroupTypes::perLayoutMessages()
{
    // An overflow override at the breakpoint: the page gets every layout, the breakpoint's entry
    // with only what it overrides.
    GroupFixture f;
    f.push({f.elementAction(1012, QList<P *>{GroupFixture::el(f.pA), P::makeInt(2), P::makeVariant(QVariant())}
                                      + GroupFixture::tail(true))});
    QJsonArray ja;
    for (const KVNote &n : f.t.notes) {
        if (n.nType == 1012)
            ja = n.joPage.value("params").toArray();
    }
    QCOMPARE(ja.size(), 2);
    QCOMPARE(ja.at(0).toObject().value("value").toInt(), f.pA->id());
    const QJsonArray jaLayouts = ja.at(1).toObject().value("value").toArray();
    QCOMPARE(jaLayouts.size(), 2);
    QVERIFY(!jaLayouts.at(0).toArray().at(2).toObject().contains("of"));
    const QJsonArray jaBreakpoint = jaLayouts.at(1).toArray();
    QCOMPARE(jaBreakpoint.at(0).toInt(), 1);
    QCOMPARE(jaBreakpoint.at(2).toObject(), QJsonObject({{"of", 2}}));
}

KAVIO_TEST_MAIN(TestGroupTypes)
#include "tst_grouptypes.moc"
