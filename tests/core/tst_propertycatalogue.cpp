#include "animation/KVAnimatableSubject.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVAutoShape.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVElement.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementProperty.h"
#include "model/KVElementType.h"
#include "model/KVFilterEffect.h"
#include "model/KVImage.h"
#include "model/KVShadow.h"

#include "KVTestMain.h"

#include <QMetaProperty>
#include <QTranslator>

#include <climits>
#include <functional>
#include <memory>

Q_DECLARE_METATYPE(KVAnimatableSubject)
Q_DECLARE_METATYPE(KVPropertyCatalogue::UnitClass)
Q_DECLARE_METATYPE(KVPropertyCatalogue::Holder)

using ElementMaker = std::function<KVElement *()>;
Q_DECLARE_METATYPE(ElementMaker)

using Cat = KVPropertyCatalogue;
using U = KVPropertyCatalogue::UnitClass;
using H = KVPropertyCatalogue::Holder;

namespace {

using Tweak = std::function<void(KVAnimatableSubject &)>;

KVAnimatableSubject subject(int nType, const Tweak &tweak = {})
{
    KVAnimatableSubject s = KVAnimatableSubject::forType(nType);
    if (tweak)
        tweak(s);
    return s;
}

// Marks every text it is asked for, so that tests can tell translated from untranslated texts.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "KVPropertyCatalogue") != 0)
            return QString();
        return QStringLiteral("<%1>").arg(QString::fromLatin1(sourceText));
    }
    bool isEmpty() const override { return false; }
};

} // namespace

class TestPropertyCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void knownCodesAreConsistent();
    void orderFollowsTheGroups();
    void namelessCodesAreEmpty_data();
    void namelessCodesAreEmpty();
    void shortKeysRoundTrip();
    void translatedTexts();
    void clampStoredValue_data();
    void clampStoredValue();

    void isAnimatable_data();
    void isAnimatable();
    void sceneAcceptsOnlyItsWhitelist();
    void neverAnimatableCodes();
    void everyOrderedCodeIsReachable();
    void unitFor_data();
    void unitFor();
    void holder_data();
    void holder();

    void elementRules_data();
    void elementRules();
    void elementHolders_data();
    void elementHolders();
    void elementWithoutLayoutValues();
    void elementCurrentLayout();
};

void TestPropertyCatalogue::knownCodesAreConsistent()
{
    int nKnown = 0;
    const QStringList groups = Cat::orderedGroups();
    for (int nCode = Cat::FirstCode; nCode <= Cat::LastCode; ++nCode) {
        if (!Cat::isKnownCode(nCode))
            continue;
        ++nKnown;
        const QByteArray number = QByteArray::number(nCode);
        const char *where = number.constData();
        QVERIFY2(!Cat::displayName(nCode).isEmpty(), where);
        QVERIFY2(!Cat::secondName(nCode).isEmpty(), where);
        QVERIFY2(Cat::group(nCode, false).isEmpty() || groups.contains(Cat::group(nCode, false)), where);
        QCOMPARE(Cat::group(nCode, true), Cat::group(nCode, false));  // no translator installed
        // Ordered codes are the animatable ones: each has a group, and all but playback a key,
        // a field and a holder.
        const int nOrder = Cat::orderOf(nCode);
        QCOMPARE(Cat::isValidCode(nCode), nOrder > 0);
        if (nOrder > 0) {
            QCOMPARE(Cat::catalogueOrder().at(nOrder - 1), nCode);
            QVERIFY2(!Cat::group(nCode, false).isEmpty(), where);
            if (nCode != Cat::Playback) {
                QVERIFY2(!Cat::shortKey(nCode).isEmpty(), where);
                QVERIFY2(!Cat::fieldName(nCode).isEmpty(), where);
                QVERIFY2(Cat::holderKind(nCode) != H::None, where);
            }
        }
        const KVPropertyRange range = Cat::range(nCode);
        QVERIFY2(range.isUnbounded() || range.nMin < range.nMax, where);
        // A Length property has a governing unit slot; every other property has none.
        const U unitClass = Cat::unitClass(nCode);
        QCOMPARE(Cat::unitSlot(nCode) != Cat::NoSlot, unitClass == U::Length);
        const QString strFixed = Cat::fixedUnit(nCode);
        switch (unitClass) {
        case U::Pixels: QCOMPARE(strFixed, QStringLiteral("px")); break;
        case U::Percent: QCOMPARE(strFixed, QStringLiteral("%")); break;
        case U::Degrees: QCOMPARE(strFixed, QStringLiteral("deg")); break;
        case U::Color: QCOMPARE(strFixed, QStringLiteral("color")); break;
        case U::None:
        case U::Length: QVERIFY(strFixed.isEmpty()); break;
        }
    }
    QCOMPARE(nKnown, 70);
    // Letter and word spacing keep their older second names, which action ids carry.
    QCOMPARE(Cat::secondName(Cat::LetterSpacing), QStringLiteral("Letter Space"));
    QCOMPARE(Cat::secondName(Cat::WordSpacing), QStringLiteral("Word Space"));
    QCOMPARE(Cat::range(Cat::PerspectiveOriginZ), (KVPropertyRange{1, 10000}));
    QCOMPARE(Cat::fieldName(Cat::Opacity), QByteArray("m_dOpacity"));
}

void TestPropertyCatalogue::orderFollowsTheGroups()
{
    const QList<int> order = Cat::catalogueOrder();
    QCOMPARE(order.size(), int(Cat::OrderedCount));
    QCOMPARE(QSet<int>(order.begin(), order.end()).size(), order.size());
    for (int nCode = -5; nCode <= 100; ++nCode)
        QCOMPARE(Cat::isValidCode(nCode), order.contains(nCode));
    // The order walks the groups one after the other, in the order of the group list.
    QStringList walked;
    for (int nCode : order) {
        const QString strGroup = Cat::group(nCode, false);
        if (walked.isEmpty() || walked.last() != strGroup) {
            QVERIFY2(!walked.contains(strGroup), qPrintable(strGroup));
            walked.append(strGroup);
        }
    }
    QCOMPARE(walked, Cat::orderedGroups());
    QCOMPARE(order.first(), int(Cat::Opacity));
    QCOMPARE(walked.first(), QStringLiteral("General"));
}

void TestPropertyCatalogue::namelessCodesAreEmpty_data()
{
    QTest::addColumn<int>("code");
    for (int nCode : {40, 50, 61, 70, 90, 93, -1, 97, 1000, INT_MIN, INT_MAX})
        QTest::addRow("code %d", nCode) << nCode;
}

void TestPropertyCatalogue::namelessCodesAreEmpty()
{
    QFETCH(int, code);
    QVERIFY(!Cat::isKnownCode(code));
    QVERIFY(!Cat::isValidCode(code));
    QVERIFY(Cat::shortKey(code).isEmpty());
    QVERIFY(Cat::group(code, true).isEmpty());
    QVERIFY(Cat::group(code, false).isEmpty());
    QVERIFY(Cat::displayName(code).isEmpty());
    QVERIFY(Cat::secondName(code).isEmpty());
    QVERIFY(Cat::fieldName(code).isEmpty());
    QVERIFY(Cat::fixedUnit(code).isEmpty());
    QVERIFY(Cat::range(code).isUnbounded());
    QCOMPARE(Cat::unitSlot(code), Cat::NoSlot);
    QCOMPARE(Cat::holderKind(code), H::None);
    QCOMPARE(Cat::orderOf(code), 0);
    const KVAnimatableSubject div = KVAnimatableSubject::forType(KVElementType::Div);
    QVERIFY(!Cat::isAnimatable(div, div, code));
    QVERIFY(Cat::unitFor(div, code).isEmpty());
    QCOMPARE(Cat::holder(div, code), H::None);
    QCOMPARE(Cat::clampStoredValue(code, 123456.0, QStringLiteral("px")), 123456.0);
}

void TestPropertyCatalogue::shortKeysRoundTrip()
{
    QSet<QString> keys;
    for (int nCode = 0; nCode <= 96; ++nCode) {
        const QString strKey = Cat::shortKey(nCode);
        if (strKey.isEmpty())
            continue;
        QVERIFY2(!keys.contains(strKey), qPrintable(strKey));
        keys.insert(strKey);
        QCOMPARE(Cat::codeForShortKey(strKey), nCode);
    }
    QCOMPARE(keys.size(), 67);
    QCOMPARE(Cat::codeForShortKey(QString()), -1);
    QCOMPARE(Cat::codeForShortKey(QStringLiteral("LT")), -1);
    QCOMPARE(Cat::codeForShortKey(QStringLiteral("xyz")), -1);
}

void TestPropertyCatalogue::translatedTexts()
{
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    QCOMPARE(Cat::group(0, true), QStringLiteral("<Position and Size>"));
    QCOMPARE(Cat::group(0, false), QStringLiteral("Position and Size"));
    QCOMPARE(Cat::displayName(26), QStringLiteral("<Letter Spacing>"));
    QCOMPARE(Cat::secondName(26), QStringLiteral("Letter Space"));
    QCOMPARE(Cat::secondName(14), QStringLiteral("Opacity"));
    QCOMPARE(Cat::displayName(62), QStringLiteral("<Clip Style>"));
    QVERIFY(Cat::group(62, true).isEmpty());
    // The ordered group list stays untranslated: it names the groups, it does not show them.
    QCOMPARE(Cat::orderedGroups().first(), QStringLiteral("General"));
    QVERIFY(QCoreApplication::removeTranslator(&translator));
    QCOMPARE(Cat::displayName(26), QStringLiteral("Letter Spacing"));
}

void TestPropertyCatalogue::clampStoredValue_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("opacity above 100 %") << 14 << "%" << 1.5 << 1.0;
    QTest::newRow("opacity below 0") << 14 << "%" << -0.2 << 0.0;
    QTest::newRow("opacity inside") << 14 << "%" << 0.25 << 0.25;
    QTest::newRow("left px inside") << 0 << "px" << -200.0 << -200.0;
    QTest::newRow("left px above") << 0 << "px" << 20000.0 << 10000.0;
    QTest::newRow("left % above") << 0 << "%" << 150.0 << 100.0;
    QTest::newRow("left % below") << 0 << "%" << -150.0 << -100.0;
    QTest::newRow("width below 0") << 4 << "px" << -3.0 << 0.0;
    QTest::newRow("blur above") << 82 << "px" << 400.0 << 300.0;
    QTest::newRow("skew above") << 9 << "deg" << 75.0 << 60.0;
    QTest::newRow("perspective Z below 1") << 96 << "px" << 0.0 << 1.0;
    QTest::newRow("font size above") << 25 << "px" << 300.0 << 256.0;
    QTest::newRow("colour unbounded") << 18 << "color" << -16777216.0 << -16777216.0;
    QTest::newRow("location unbounded") << 6 << "" << 1e9 << 1e9;
    QTest::newRow("display unbounded") << 15 << "" << 7.0 << 7.0;
}

void TestPropertyCatalogue::clampStoredValue()
{
    QFETCH(int, code);
    QFETCH(QString, unit);
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(Cat::clampStoredValue(code, value, unit), expected);
}

void TestPropertyCatalogue::isAnimatable_data()
{
    QTest::addColumn<KVAnimatableSubject>("reference");
    QTest::addColumn<KVAnimatableSubject>("edited");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("expected");

    using T = KVElementType::Type;
    auto row = [](const char *name, const KVAnimatableSubject &ref, const KVAnimatableSubject &edited,
                  int code, bool expected) {
        QTest::newRow(name) << ref << edited << code << expected;
    };
    auto same = [&row](const char *name, const KVAnimatableSubject &s, int code, bool expected) {
        row(name, s, s, code, expected);
    };
    auto coord = [](int n) { return [n](KVAnimatableSubject &s) { s.nCoordinateType = n; }; };
    auto unit = [](Cat::UnitSlot slot, int n) { return [slot, n](KVAnimatableSubject &s) { s.setUnit(slot, n); }; };

    const KVAnimatableSubject div = subject(T::Div);

    // No element, or a code outside the catalogue.
    same("no element", KVAnimatableSubject(), 14, false);
    row("no reference element", KVAnimatableSubject(), div, 14, false);
    same("code -1", div, -1, false);
    same("code 97", div, 97, false);

    // Positions follow the anchoring edge and the position unit.
    // Coordinate type 0 anchors left and top, 1 right and top, 2 right and bottom, 3 left and bottom.
    const bool anchors[4][4] = {{true, false, true, false}, {false, true, true, false},
                                {false, true, false, true}, {true, false, false, true}};
    for (int type = 0; type < 4; ++type) {
        for (int code = 0; code < 4; ++code)
            QTest::addRow("edge %d, coordinate type %d", code, type)
                << subject(T::Div, coord(type)) << subject(T::Div, coord(type)) << code << anchors[type][code];
    }
    same("left refused, coordinate type 4", subject(T::Div, coord(4)), 0, false);
    same("left refused, coordinate type -1", subject(T::Div, coord(-1)), 0, false);
    same("bottom refused, coordinate type 40", subject(T::Div, coord(40)), 3, false);
    row("left uses the edited coordinate type", subject(T::Div, coord(1)), subject(T::Div, coord(0)), 0, true);
    row("left refused, unit X differs", div, subject(T::Div, unit(Cat::PositionXUnit, 1)), 0, false);
    row("right refused, unit X differs", subject(T::Div, coord(1)),
        subject(T::Div, [](KVAnimatableSubject &s) { s.nCoordinateType = 1; s.setUnit(Cat::PositionXUnit, 1); }), 1, false);
    same("left, percent in both layouts", subject(T::Div, unit(Cat::PositionXUnit, 1)), 0, true);
    row("left ignores unit Y", div, subject(T::Div, unit(Cat::PositionYUnit, 1)), 0, true);
    row("top refused, unit Y differs", div, subject(T::Div, unit(Cat::PositionYUnit, 1)), 2, false);
    row("top ignores unit X", div, subject(T::Div, unit(Cat::PositionXUnit, 1)), 2, true);

    // Sizes: never at the automatic unit, and the unit must agree.
    same("width in pixels", div, 4, true);
    same("width in percent", subject(T::Div, unit(Cat::SizeWUnit, 1)), 4, true);
    same("width refused at auto unit", subject(T::Div, unit(Cat::SizeWUnit, 2)), 4, false);
    same("height beside an auto width", subject(T::Div, unit(Cat::SizeWUnit, 2)), 5, true);
    same("height refused at auto unit", subject(T::Div, unit(Cat::SizeHUnit, 2)), 5, false);
    row("width refused, unit differs", div, subject(T::Div, unit(Cat::SizeWUnit, 1)), 4, false);
    row("width refused, auto only in the reference", subject(T::Div, unit(Cat::SizeWUnit, 2)), div, 4, false);
    row("height refused, unit differs", subject(T::Image, unit(Cat::SizeHUnit, 1)), subject(T::Image), 5, false);

    // Always-animatable transform, opacity and display codes on any element but a scene.
    for (int code : {6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 83, 86, 87, 88, 89}) {
        QTest::addRow("code %d on audio", code) << subject(T::Audio) << subject(T::Audio) << code << true;
        QTest::addRow("code %d on a group", code) << subject(T::Group) << subject(T::Group) << code << true;
    }

    // Border.
    auto border = [](int n) { return [n](KVAnimatableSubject &s) { s.nBorderStyle = n; }; };
    same("border width, solid border", subject(T::Div, border(1)), 16, true);
    same("border colour, dashed border", subject(T::Image, border(3)), 17, true);
    same("border width refused, no border style", div, 16, false);
    row("border needs only the edited style", div, subject(T::Div, border(2)), 17, true);
    row("border refused when only the reference has one", subject(T::Div, border(1)), div, 16, false);
    same("border refused on audio", subject(T::Audio, border(1)), 16, false);
    same("border refused on video", subject(T::Video, border(1)), 17, false);
    same("border refused on a symbol", subject(T::Symbol, border(1)), 16, false);
    same("border refused without property object",
         subject(T::Div, [](KVAnimatableSubject &s) { s.nBorderStyle = 1; s.bHasProperty = false; }), 16, false);
    same("border on a widget", subject(T::HTML_Widget, border(1)), 16, true);

    // Fill.
    auto fill = [](int type, int gradient) {
        return [type, gradient](KVAnimatableSubject &s) { s.nFillType = type; s.nGradientType = gradient; };
    };
    same("background colour, solid fill", subject(T::Text, fill(1, 0)), 18, true);
    same("background colour refused, no fill", subject(T::Text, fill(0, 0)), 18, false);
    same("background colour refused, gradient", subject(T::Text, fill(2, 0)), 18, false);
    same("background colour refused, image fill", subject(T::Text, fill(3, 0)), 18, false);
    same("background colour refused without property object",
         subject(T::Div, [](KVAnimatableSubject &s) { s.bHasProperty = false; }), 18, false);
    same("gradient angle, linear", subject(T::Div, fill(2, 0)), 19, true);
    same("gradient angle refused, radial", subject(T::Div, fill(2, 1)), 19, false);
    same("gradient angle refused, solid", subject(T::Div, fill(1, 0)), 19, false);
    same("gradient origin X, radial", subject(T::Div, fill(2, 1)), 20, true);
    same("gradient origin Y, radial", subject(T::Div, fill(2, 1)), 21, true);
    same("gradient origin refused, linear", subject(T::Div, fill(2, 0)), 20, false);
    same("gradient origin refused, solid with radial kind", subject(T::Div, fill(1, 1)), 21, false);
    same("gradient radius never", subject(T::Div, fill(2, 1)), 22, false);

    // Text.
    auto shape = [](int n) { return [n](KVAnimatableSubject &s) { s.nShapeType = n; }; };
    for (int code = 23; code <= 29; ++code) {
        QTest::addRow("text code %d on text", code) << subject(T::Text) << subject(T::Text) << code << true;
        QTest::addRow("text code %d on a shape", code) << subject(T::Shape, shape(11)) << subject(T::Shape, shape(11)) << code << true;
        QTest::addRow("text code %d on a curve", code) << subject(T::Freeform, shape(593)) << subject(T::Freeform, shape(593)) << code << true;
        QTest::addRow("text code %d refused on a line", code) << subject(T::Freeform, shape(590)) << subject(T::Freeform, shape(590)) << code << false;
        QTest::addRow("text code %d refused on an image", code) << subject(T::Image) << subject(T::Image) << code << false;
    }
    same("text refused on an arrow", subject(T::Freeform, shape(591)), 25, false);
    same("text refused on a double arrow", subject(T::Freeform, shape(592)), 23, false);
    row("text follows the edited shape code", subject(T::Freeform, shape(590)), subject(T::Freeform, shape(594)), 23, true);
    row("text refused by the edited shape code", subject(T::Freeform, shape(594)), subject(T::Freeform, shape(590)), 23, false);
    same("line codes only matter for free-form shapes", subject(T::Shape, shape(590)), 23, true);
    same("text on a rectangle", div, 28, true);
    same("text refused on a group", subject(T::Group), 23, false);

    // Image background.
    const KVAnimatableSubject image = subject(T::Image);
    for (int code = 30; code <= 33; ++code) {
        QTest::addRow("image code %d on an image", code) << image << image << code << true;
        QTest::addRow("image code %d refused on a rectangle", code) << div << div << code << false;
    }
    row("background X refused, its unit differs", image, subject(T::Image, unit(Cat::BgImageXUnit, 1)), 30, false);
    row("background Y ignores the X unit", image, subject(T::Image, unit(Cat::BgImageXUnit, 1)), 31, true);
    row("background width refused, its unit differs", image, subject(T::Image, unit(Cat::BgImageWUnit, 0)), 32, false);
    row("background height refused, its unit differs", image, subject(T::Image, unit(Cat::BgImageHUnit, 0)), 33, false);
    same("background X refused while its unit is unknown", subject(T::Image, unit(Cat::BgImageXUnit, -1)), 30, false);

    // Volume.
    same("volume on audio", subject(T::Audio), 34, true);
    same("volume on video", subject(T::Video), 34, true);
    same("volume refused on an image", image, 34, false);
    same("volume refused on a symbol", subject(T::Symbol), 34, false);

    // Corners.
    for (int code = 35; code <= 38; ++code) {
        QTest::addRow("corner %d on a rectangle", code) << div << div << code << true;
        QTest::addRow("corner %d refused on a shape", code) << subject(T::Shape) << subject(T::Shape) << code << false;
        QTest::addRow("corner %d refused on text", code) << subject(T::Text) << subject(T::Text) << code << false;
    }
    row("top-left corner refused, its unit differs", div, subject(T::Div, unit(Cat::CornerTopLeftUnit, 1)), 35, false);
    row("top-right corner ignores the top-left unit", div, subject(T::Div, unit(Cat::CornerTopLeftUnit, 1)), 36, true);
    row("bottom-right corner refused, its unit differs", subject(T::Div, unit(Cat::CornerBottomRightUnit, 1)), div, 38, false);

    // Clip.
    auto clip = [](int n) { return [n](KVAnimatableSubject &s) { s.nClipType = n; }; };
    const KVAnimatableSubject rect = subject(T::Div, clip(1));
    const KVAnimatableSubject circle = subject(T::Div, clip(2));
    const KVAnimatableSubject oval = subject(T::Div, clip(3));
    for (int code = 63; code <= 66; ++code) {
        QTest::addRow("clip side %d, rectangle", code) << rect << rect << code << true;
        QTest::addRow("clip side %d refused, oval", code) << oval << oval << code << false;
        QTest::addRow("clip side %d refused, no clip", code) << div << div << code << false;
        QTest::addRow("clip side %d refused, type differs", code) << div << rect << code << false;
    }
    row("clip top refused, its unit differs", rect, subject(T::Div, [](KVAnimatableSubject &s) { s.nClipType = 1; s.setUnit(Cat::ClipTopUnit, 1); }), 63, false);
    row("clip right ignores the top unit", rect, subject(T::Div, [](KVAnimatableSubject &s) { s.nClipType = 1; s.setUnit(Cat::ClipTopUnit, 1); }), 64, true);
    same("oval vertex, oval", oval, 67, true);
    same("oval co-vertex, oval", oval, 68, true);
    same("oval vertex refused, circle", circle, 67, false);
    row("oval refused, reference is a rectangle", rect, oval, 68, false);
    row("oval vertex refused, its unit differs", oval, subject(T::Div, [](KVAnimatableSubject &s) { s.nClipType = 3; s.setUnit(Cat::ClipOvalVertexUnit, 0); }), 67, false);
    same("circle radius, circle", circle, 69, true);
    same("circle radius refused, oval", oval, 69, false);
    row("circle radius refused, reference has no clip", div, circle, 69, false);
    row("circle radius refused, its unit differs", circle, subject(T::Div, [](KVAnimatableSubject &s) { s.nClipType = 2; s.setUnit(Cat::ClipCircleRadiusUnit, 0); }), 69, false);
    same("clip style never", rect, 62, false);

    // Shadow.
    auto shadow = [](int n) { return [n](KVAnimatableSubject &s) { s.nShadowType = n; }; };
    const KVAnimatableSubject shadowed = subject(T::Div, shadow(1));
    for (int code = 71; code <= 74; ++code) {
        QTest::addRow("shadow %d, drop shadow", code) << shadowed << shadowed << code << true;
        QTest::addRow("shadow %d refused, no shadow", code) << div << div << code << false;
        QTest::addRow("shadow %d refused, only edited has one", code) << div << shadowed << code << false;
        QTest::addRow("shadow %d refused, only reference has one", code) << shadowed << div << code << false;
    }
    same("shadow refused, unknown style 2", subject(T::Div, shadow(2)), 71, false);

    // Filters: free on most kinds; audio and symbol instances take the shadow test.
    for (int code = 75; code <= 82; ++code) {
        QTest::addRow("filter %d on a rectangle", code) << div << div << code << true;
        QTest::addRow("filter %d on video without shadow", code) << subject(T::Video) << subject(T::Video) << code << true;
        QTest::addRow("filter %d refused on audio without shadow", code) << subject(T::Audio) << subject(T::Audio) << code << false;
        QTest::addRow("filter %d on audio with shadow", code) << subject(T::Audio, shadow(1)) << subject(T::Audio, shadow(1)) << code << true;
    }
    same("filter refused on a symbol without shadow", subject(T::Symbol), 77, false);
    same("filter on a symbol with shadow", subject(T::Symbol, shadow(1)), 77, true);
    row("filter refused on a symbol, shadow only edited", subject(T::Symbol), subject(T::Symbol, shadow(1)), 82, false);
    same("filter refused on a scene even with shadow", subject(T::Scene, shadow(1)), 75, false);

    // Perspective origin.
    same("perspective origin X on a scene", subject(T::Scene), 94, true);
    same("perspective origin refused on a rectangle", div, 95, false);
    same("perspective origin refused on a group", subject(T::Group), 96, false);

    // Scene: its whitelisted codes still follow their own rule.
    same("scene width", subject(T::Scene), 4, true);
    same("scene width refused at auto unit", subject(T::Scene, unit(Cat::SizeWUnit, 2)), 4, false);
    same("scene height", subject(T::Scene), 5, true);
    same("scene background colour", subject(T::Scene), 18, true);
    same("scene background refused, gradient", subject(T::Scene, fill(2, 0)), 18, false);
    same("scene gradient angle", subject(T::Scene, fill(2, 0)), 19, true);
    same("scene gradient origin", subject(T::Scene, fill(2, 1)), 20, true);
    same("scene left refused", subject(T::Scene), 0, false);
    same("scene opacity refused", subject(T::Scene), 14, false);
    same("scene location refused", subject(T::Scene), 6, false);
    same("scene border refused", subject(T::Scene, border(1)), 16, false);
}

void TestPropertyCatalogue::isAnimatable()
{
    QFETCH(KVAnimatableSubject, reference);
    QFETCH(KVAnimatableSubject, edited);
    QFETCH(int, code);
    QFETCH(bool, expected);
    QCOMPARE(Cat::isAnimatable(reference, edited, code), expected);
}

void TestPropertyCatalogue::sceneAcceptsOnlyItsWhitelist()
{
    // Make every non-scene rule as favourable as possible: a scene still takes only its codes.
    KVAnimatableSubject scene = KVAnimatableSubject::forType(KVElementType::Scene);
    scene.nBorderStyle = 1;
    scene.nClipType = 1;
    scene.nShadowType = 1;
    scene.bIsText = true;
    scene.bIsDiv = true;
    scene.bIsImage = true;
    scene.anUnits.fill(0);
    const QSet<int> whitelist = {4, 5, 18, 94, 95, 96};
    for (int nCode = -1; nCode <= 97; ++nCode)
        QVERIFY2(Cat::isAnimatable(scene, scene, nCode) == whitelist.contains(nCode),
                 qPrintable(QString::number(nCode)));
}

void TestPropertyCatalogue::neverAnimatableCodes()
{
    for (int nType = KVElementType::First; nType <= KVElementType::Last; ++nType) {
        KVAnimatableSubject s = KVAnimatableSubject::forType(nType);
        s.nBorderStyle = 1;
        s.nFillType = 2;
        s.nShadowType = 1;
        for (int nCode : {22, 39, 62, 84, 85, 40, 50, 61, 70, 90, 93})
            QVERIFY2(!Cat::isAnimatable(s, s, nCode),
                     qPrintable(QStringLiteral("type %1 code %2").arg(nType).arg(nCode)));
    }
}

void TestPropertyCatalogue::everyOrderedCodeIsReachable()
{
    // Over a broad set of element states, each ordered code except playback passes somewhere,
    // and no code outside the order ever does.
    QList<KVAnimatableSubject> states;
    for (int nType = KVElementType::First; nType <= KVElementType::Last; ++nType) {
        for (int nVariant = 0; nVariant < 4; ++nVariant) {
            KVAnimatableSubject s = KVAnimatableSubject::forType(nType);
            if (!s.bValid)
                continue;
            s.nCoordinateType = nVariant;
            s.nBorderStyle = 1;
            s.nFillType = nVariant == 0 ? 1 : 2;
            s.nGradientType = nVariant % 2;
            s.nClipType = nVariant;
            s.nShadowType = 1;
            states.append(s);
        }
    }
    QSet<int> reached;
    for (const KVAnimatableSubject &s : qAsConst(states)) {
        for (int nCode = 0; nCode <= 96; ++nCode) {
            if (Cat::isAnimatable(s, s, nCode))
                reached.insert(nCode);
        }
    }
    QSet<int> expected(Cat::catalogueOrder().begin(), Cat::catalogueOrder().end());
    expected.remove(39);
    QCOMPARE(reached, expected);
}

void TestPropertyCatalogue::unitFor_data()
{
    QTest::addColumn<KVAnimatableSubject>("subject");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("unit");

    using T = KVElementType::Type;
    auto unit = [](Cat::UnitSlot slot, int n) { return [slot, n](KVAnimatableSubject &s) { s.setUnit(slot, n); }; };
    const KVAnimatableSubject div = subject(T::Div);
    const KVAnimatableSubject image = subject(T::Image);

    QTest::newRow("no element") << KVAnimatableSubject() << 14 << QString();
    QTest::newRow("unnamed code") << div << 50 << QString();
    QTest::newRow("gradient radius") << div << 22 << QString();
    QTest::newRow("location") << div << 6 << QString();
    QTest::newRow("display") << div << 15 << QString();
    QTest::newRow("playback") << subject(T::Audio) << 39 << QString();

    // A fixed unit does not depend on the element.
    for (int code = Cat::FirstCode; code <= Cat::LastCode; ++code) {
        if (!Cat::fixedUnit(code).isEmpty())
            QTest::addRow("fixed unit of code %d", code) << div << code << Cat::fixedUnit(code);
    }
    QTest::newRow("left in pixels") << div << 0 << "px";
    QTest::newRow("left in percent") << subject(T::Div, unit(Cat::PositionXUnit, 1)) << 0 << "%";
    QTest::newRow("right follows unit X") << subject(T::Div, unit(Cat::PositionXUnit, 1)) << 1 << "%";
    QTest::newRow("top ignores unit X") << subject(T::Div, unit(Cat::PositionXUnit, 1)) << 2 << "px";
    QTest::newRow("bottom follows unit Y") << subject(T::Div, unit(Cat::PositionYUnit, 1)) << 3 << "%";
    QTest::newRow("width in percent") << subject(T::Div, unit(Cat::SizeWUnit, 1)) << 4 << "%";
    QTest::newRow("width at auto unit") << subject(T::Div, unit(Cat::SizeWUnit, 2)) << 4 << "";
    QTest::newRow("height beside auto width") << subject(T::Div, unit(Cat::SizeWUnit, 2)) << 5 << "px";
    QTest::newRow("height at auto unit") << subject(T::Div, unit(Cat::SizeHUnit, 2)) << 5 << "";
    QTest::newRow("image X default") << image << 30 << "px";
    QTest::newRow("image Y in percent") << subject(T::Image, unit(Cat::BgImageYUnit, 1)) << 31 << "%";
    QTest::newRow("image width default") << image << 32 << "%";
    QTest::newRow("image height in pixels") << subject(T::Image, unit(Cat::BgImageHUnit, 0)) << 33 << "px";
    QTest::newRow("image X with unknown unit") << subject(T::Image, unit(Cat::BgImageXUnit, -1)) << 30 << "";
    QTest::newRow("image X on a rectangle")
        << subject(T::Div, unit(Cat::BgImageXUnit, 0)) << 30 << "";
    QTest::newRow("corner default") << div << 35 << "px";
    QTest::newRow("corner in percent") << subject(T::Div, unit(Cat::CornerBottomLeftUnit, 1)) << 37 << "%";
    QTest::newRow("other corner unaffected") << subject(T::Div, unit(Cat::CornerBottomLeftUnit, 1)) << 38 << "px";
    QTest::newRow("corner on a shape") << subject(T::Shape, unit(Cat::CornerTopLeftUnit, 0)) << 35 << "";
    QTest::newRow("clip rectangle default") << div << 63 << "px";
    QTest::newRow("clip left in percent") << subject(T::Div, unit(Cat::ClipLeftUnit, 1)) << 66 << "%";
    QTest::newRow("clip oval default") << div << 67 << "%";
    QTest::newRow("clip co-vertex in pixels") << subject(T::Div, unit(Cat::ClipOvalCoVertexUnit, 0)) << 68 << "px";
    QTest::newRow("clip circle default") << div << 69 << "%";
    QTest::newRow("unknown unit code") << subject(T::Div, unit(Cat::ClipTopUnit, 7)) << 63 << "";
}

void TestPropertyCatalogue::unitFor()
{
    QFETCH(KVAnimatableSubject, subject);
    QFETCH(int, code);
    QFETCH(QString, unit);
    QCOMPARE(Cat::unitFor(subject, code), unit);
}

void TestPropertyCatalogue::holder_data()
{
    QTest::addColumn<KVAnimatableSubject>("subject");
    QTest::addColumn<int>("code");
    QTest::addColumn<H>("holder");

    using T = KVElementType::Type;
    const KVAnimatableSubject div = subject(T::Div);
    const KVAnimatableSubject bare = subject(T::Div, [](KVAnimatableSubject &s) { s.bHasProperty = false; });

    QTest::newRow("no element") << KVAnimatableSubject() << 0 << H::None;
    // A rectangle has every group.
    for (int code = Cat::FirstCode; code <= Cat::LastCode; ++code)
        QTest::addRow("code %d on a rectangle", code) << div << code << Cat::holderKind(code);
    QTest::newRow("perspective on a scene") << subject(T::Scene) << 96 << H::Element;
    QTest::newRow("corner on a shape") << subject(T::Shape) << 38 << H::None;
    QTest::newRow("filter on audio") << subject(T::Audio) << 82 << H::Filter;
    QTest::newRow("element without layout values keeps itself") << bare << 14 << H::Element;
    QTest::newRow("no border group without layout values") << bare << 17 << H::None;
    QTest::newRow("no fill group without layout values") << bare << 18 << H::None;
    QTest::newRow("no corner group without layout values") << bare << 35 << H::None;
    QTest::newRow("no filter group without layout values") << bare << 75 << H::None;
}

void TestPropertyCatalogue::holder()
{
    QFETCH(KVAnimatableSubject, subject);
    QFETCH(int, code);
    QFETCH(H, holder);
    QCOMPARE(Cat::holder(subject, code), holder);
}

namespace {

const KVLayoutKey kBase(0, 0);
const KVLayoutKey kNarrow(1, 0);

// An element of the type with a second property object at kNarrow (a copy of the base values),
// after which setup adjusts either layout.
ElementMaker makeElement(int nType, std::function<void(KVElement *)> setup = {})
{
    return [nType, setup]() {
        KVElement *pElement = KVElementFactory::createElement(nType);
        if (!pElement)
            return pElement;
        pElement->addProperty(pElement->property(kBase)->clone(), kNarrow);
        if (setup)
            setup(pElement);
        return pElement;
    };
}

ElementMaker makeStage(std::function<void(KVElement *)> setup = {})
{
    return [setup]() {
        KVElement *pStage = new KVElementContainer;
        pStage->init();
        pStage->addProperty(pStage->property(kBase)->clone(), kNarrow);
        if (setup)
            setup(pStage);
        return static_cast<KVElement *>(pStage);
    };
}

} // namespace

void TestPropertyCatalogue::elementRules_data()
{
    QTest::addColumn<ElementMaker>("make");
    QTest::addColumn<int>("code");
    QTest::addColumn<KVLayoutKey>("reference");
    QTest::addColumn<KVLayoutKey>("edited");
    QTest::addColumn<bool>("animatable");
    QTest::addColumn<QString>("unit");

    using T = KVElementType::Type;
    QTest::newRow("no element") << ElementMaker([] { return static_cast<KVElement *>(nullptr); })
                                << 14 << kBase << kBase << false << QString();
    QTest::newRow("unnamed code") << makeElement(T::Div) << 50 << kBase << kBase << false << QString();
    QTest::newRow("left on a new rectangle") << makeElement(T::Div) << 0 << kBase << kBase << true << "px";
    QTest::newRow("left refused, right anchored")
        << makeElement(T::Div, [](KVElement *e) { e->setCoordinateType(2, kBase); })
        << 0 << kBase << kBase << false << "px";
    QTest::newRow("right, right anchored")
        << makeElement(T::Div, [](KVElement *e) { e->setCoordinateType(1, kBase); })
        << 1 << kBase << kBase << true << "px";
    QTest::newRow("left, percent in the narrow layout only")
        << makeElement(T::Div, [](KVElement *e) { e->setUnitX(1, kNarrow); })
        << 0 << kBase << kNarrow << false << "%";
    QTest::newRow("left, percent in the narrow layout, its own animation")
        << makeElement(T::Div, [](KVElement *e) { e->setUnitX(1, kNarrow); })
        << 0 << kNarrow << kNarrow << true << "%";
    QTest::newRow("top, unit Y differs")
        << makeElement(T::Text, [](KVElement *e) { e->setUnitY(1, kNarrow); })
        << 2 << kBase << kNarrow << false << "%";
    QTest::newRow("width refused at auto unit")
        << makeElement(T::Div, [](KVElement *e) { e->setUnitW(2, kBase); e->setUnitW(2, kNarrow); })
        << 4 << kBase << kNarrow << false << "";
    QTest::newRow("height in percent")
        << makeElement(T::Group, [](KVElement *e) { e->setUnitH(1, kBase); e->setUnitH(1, kNarrow); })
        << 5 << kBase << kNarrow << true << "%";
    QTest::newRow("border without style") << makeElement(T::Div) << 16 << kBase << kBase << false << "px";
    QTest::newRow("border with a style in the edited layout")
        << makeElement(T::Div, [](KVElement *e) { e->border(kNarrow)->setStyle(1); })
        << 17 << kBase << kNarrow << true << "color";
    QTest::newRow("background colour of a new rectangle") << makeElement(T::Div) << 18 << kBase << kBase << true << "color";
    QTest::newRow("background colour refused on a new text box") << makeElement(T::Text) << 18 << kBase << kBase << false << "color";
    QTest::newRow("radial gradient origin")
        << makeElement(T::Div, [](KVElement *e) { e->background(kBase)->setFillStyle(2); e->background(kBase)->setGradientType(1); })
        << 20 << kBase << kBase << true << "%";
    QTest::newRow("gradient angle refused on a radial gradient")
        << makeElement(T::Div, [](KVElement *e) { e->background(kBase)->setFillStyle(2); e->background(kBase)->setGradientType(1); })
        << 19 << kBase << kBase << false << "deg";
    QTest::newRow("text on a text box") << makeElement(T::Text) << 25 << kBase << kBase << true << "px";
    QTest::newRow("text refused on a group") << makeElement(T::Group) << 23 << kBase << kBase << false << "color";
    QTest::newRow("text refused on a line")
        << makeElement(T::Freeform, [](KVElement *e) { static_cast<KVAutoShape *>(e)->setShapeType(590, kBase); })
        << 23 << kBase << kBase << false << "color";
    QTest::newRow("text on a free-form scribble")
        << makeElement(T::Freeform, [](KVElement *e) { static_cast<KVAutoShape *>(e)->setShapeType(595, kNarrow); })
        << 28 << kBase << kNarrow << true << "%";
    QTest::newRow("corner on a rectangle") << makeElement(T::Div) << 35 << kBase << kBase << true << "px";
    QTest::newRow("corner in percent in both layouts")
        << makeElement(T::Div, [](KVElement *e) {
               static_cast<KVDiv *>(e)->corner(kBase)->setUnitTopLeft(1);
               static_cast<KVDiv *>(e)->corner(kNarrow)->setUnitTopLeft(1);
           })
        << 35 << kBase << kNarrow << true << "%";
    QTest::newRow("corner refused, unit differs")
        << makeElement(T::Div, [](KVElement *e) { static_cast<KVDiv *>(e)->corner(kNarrow)->setUnitTopLeft(1); })
        << 35 << kBase << kNarrow << false << "%";
    QTest::newRow("corner refused on a shape") << makeElement(T::Shape) << 36 << kBase << kBase << false << "";
    QTest::newRow("clip oval in both layouts")
        << makeElement(T::Group, [](KVElement *e) { e->clip(kBase)->setStyle(3); e->clip(kNarrow)->setStyle(3); })
        << 67 << kBase << kNarrow << true << "%";
    QTest::newRow("clip rectangle refused, style differs")
        << makeElement(T::Group, [](KVElement *e) { e->clip(kNarrow)->setStyle(1); })
        << 63 << kBase << kNarrow << false << "px";
    QTest::newRow("clip top refused, unit differs")
        << makeElement(T::Group, [](KVElement *e) {
               e->clip(kBase)->setStyle(1);
               e->clip(kNarrow)->setStyle(1);
               e->clip(kNarrow)->setUnitRectTop(1);
           })
        << 63 << kBase << kNarrow << false << "%";
    QTest::newRow("shadow in both layouts")
        << makeElement(T::Text, [](KVElement *e) { e->shadow(kBase)->setStyle(1); e->shadow(kNarrow)->setStyle(1); })
        << 72 << kBase << kNarrow << true << "deg";
    QTest::newRow("shadow refused, only the edited layout has one")
        << makeElement(T::Text, [](KVElement *e) { e->shadow(kNarrow)->setStyle(1); })
        << 71 << kBase << kNarrow << false << "px";
    QTest::newRow("filter on a group") << makeElement(T::Group) << 79 << kBase << kBase << true << "%";
    QTest::newRow("volume refused on a rectangle") << makeElement(T::Div) << 34 << kBase << kBase << false << "%";
    QTest::newRow("image background refused on a rectangle") << makeElement(T::Div) << 30 << kBase << kBase << false << "";
    QTest::newRow("image background X on a new image") << makeElement(T::Image) << 30 << kBase << kNarrow << true << "px";
    QTest::newRow("image background height on a new image") << makeElement(T::Image) << 33 << kBase << kNarrow << true << "%";
    QTest::newRow("image background Y in percent at both layouts")
        << makeElement(T::Image, [](KVElement *e) {
               static_cast<KVImage *>(e)->setBgImageYUnit(1, kBase);
               static_cast<KVImage *>(e)->setBgImageYUnit(1, kNarrow);
           })
        << 31 << kBase << kNarrow << true << "%";
    QTest::newRow("image background width refused, unit differs")
        << makeElement(T::Image, [](KVElement *e) { static_cast<KVImage *>(e)->setBgImageWUnit(0, kNarrow); })
        << 32 << kBase << kNarrow << false << "px";
    QTest::newRow("image background width refused at a layout without values")
        << makeElement(T::Image, [](KVElement *e) { delete e->takeProperty(kNarrow); })
        << 32 << kBase << kNarrow << false << "px";
    QTest::newRow("volume on a video") << makeElement(T::Video) << 34 << kBase << kBase << true << "%";
    QTest::newRow("volume on an audio") << makeElement(T::Audio) << 34 << kBase << kNarrow << true << "%";
    QTest::newRow("perspective refused on a rectangle") << makeElement(T::Div) << 94 << kBase << kBase << false << "%";
    QTest::newRow("translate X never") << makeElement(T::Div) << 84 << kBase << kBase << false << "px";
    QTest::newRow("stage width") << makeStage() << 4 << kBase << kNarrow << true << "px";
    QTest::newRow("stage background colour, solid fill")
        << makeStage([](KVElement *e) { e->background(kBase)->setFillStyle(1); })
        << 18 << kBase << kBase << true << "color";
    QTest::newRow("stage background colour refused without fill")
        << makeStage([](KVElement *e) { e->background(kBase)->setFillStyle(0); })
        << 18 << kBase << kBase << false << "color";
    QTest::newRow("stage perspective origin Z") << makeStage() << 96 << kBase << kBase << true << "px";
    QTest::newRow("stage left refused") << makeStage() << 0 << kBase << kBase << false << "px";
    QTest::newRow("stage opacity refused") << makeStage() << 14 << kBase << kBase << false << "%";
    QTest::newRow("stage filter refused even with a shadow")
        << makeStage([](KVElement *e) { e->shadow(kBase)->setStyle(1); })
        << 75 << kBase << kBase << false << "%";
}

void TestPropertyCatalogue::elementRules()
{
    QFETCH(ElementMaker, make);
    QFETCH(int, code);
    QFETCH(KVLayoutKey, reference);
    QFETCH(KVLayoutKey, edited);
    QFETCH(bool, animatable);
    QFETCH(QString, unit);

    std::unique_ptr<KVElement> pElement(make());
    QCOMPARE(Cat::isAnimatable(pElement.get(), code, reference, edited), animatable);
    QCOMPARE(Cat::unitFor(pElement.get(), code, edited), unit);
}

void TestPropertyCatalogue::elementHolders_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("code");

    // Every code whose holder exists on that kind in this model.
    const int kinds[] = {KVElementType::Text, KVElementType::Div, KVElementType::Group,
                         KVElementType::Shape, KVElementType::Freeform};
    for (int nType : kinds) {
        for (int nCode = 0; nCode <= 96; ++nCode) {
            const bool bImageOrMedia = nCode >= 30 && nCode <= 34;
            const bool bStage = nCode >= 94;
            if (bImageOrMedia || bStage || Cat::fieldName(nCode).isEmpty())
                continue;
            const bool bText = nCode >= 23 && nCode <= 29;
            if (bText && nType == KVElementType::Group)
                continue;
            if (Cat::holderKind(nCode) == H::Corner && nType != KVElementType::Div)
                continue;
            if (Cat::holderKind(nCode) == H::None)
                continue;
            QTest::addRow("type %d code %d", nType, nCode) << nType << nCode;
        }
    }
    // The placement of an image and the volume of audio and video are fields of those elements.
    for (int nCode = 30; nCode <= 33; ++nCode)
        QTest::addRow("image code %d", nCode) << int(KVElementType::Image) << nCode;
    QTest::newRow("audio volume") << int(KVElementType::Audio) << 34;
    QTest::newRow("video volume") << int(KVElementType::Video) << 34;
}

void TestPropertyCatalogue::elementHolders()
{
    QFETCH(int, type);
    QFETCH(int, code);

    std::unique_ptr<KVElement> pElement(makeElement(type)());
    QVERIFY(pElement);
    QObject *pHolder = Cat::holder(pElement.get(), code, kNarrow);
    QVERIFY(pHolder);

    QObject *pExpected = nullptr;
    switch (Cat::holderKind(code)) {
    case H::Element: pExpected = pElement.get(); break;
    case H::Border: pExpected = pElement->border(kNarrow); break;
    case H::Fill: pExpected = pElement->background(kNarrow); break;
    case H::Corner: pExpected = static_cast<KVDiv *>(pElement.get())->corner(kNarrow); break;
    case H::Clip: pExpected = pElement->clip(kNarrow); break;
    case H::Shadow: pExpected = pElement->shadow(kNarrow); break;
    case H::Filter: pExpected = pElement->filter(kNarrow); break;
    case H::None: break;
    }
    QCOMPARE(pHolder, pExpected);
    // The holder at another layout is another object, except the element itself.
    QObject *pBaseHolder = Cat::holder(pElement.get(), code, kBase);
    QCOMPARE(pBaseHolder == pHolder, Cat::holderKind(code) == H::Element);

    // The animation framework drives the field by name: the holder must have that property.
    const QByteArray field = Cat::fieldName(code);
    const int nIndex = pHolder->metaObject()->indexOfProperty(field.constData());
    QVERIFY2(nIndex >= 0, field.constData());
    QVERIFY2(pHolder->metaObject()->property(nIndex).isWritable(), field.constData());
}

void TestPropertyCatalogue::elementWithoutLayoutValues()
{
    std::unique_ptr<KVElement> pDiv(KVElementFactory::createElement(KVElementType::Div));
    QVERIFY(pDiv);
    const KVLayoutKey missing(7, 7);
    QVERIFY(!pDiv->property(missing));
    // The element still holds its own fields; the groups of a missing layout do not exist.
    QCOMPARE(Cat::holder(pDiv.get(), 14, missing), static_cast<QObject *>(pDiv.get()));
    QVERIFY(!Cat::holder(pDiv.get(), 16, missing));
    QVERIFY(!Cat::holder(pDiv.get(), 18, missing));
    QVERIFY(!Cat::holder(pDiv.get(), 35, missing));
    QVERIFY(!Cat::holder(pDiv.get(), 75, missing));
    QVERIFY(!Cat::holder(nullptr, 14, kBase));
    // A solid fill at the base does not make the background animatable where the fill is missing.
    QVERIFY(Cat::isAnimatable(pDiv.get(), 18, kBase, kBase));
    QVERIFY(!Cat::isAnimatable(pDiv.get(), 18, kBase, missing));
    // Neutral readings: pixels, coordinate type 0.
    QCOMPARE(Cat::unitFor(pDiv.get(), 0, missing), QStringLiteral("px"));
    QVERIFY(Cat::isAnimatable(pDiv.get(), 0, kBase, missing));
}

void TestPropertyCatalogue::elementCurrentLayout()
{
    std::unique_ptr<KVElement> pDiv(makeElement(KVElementType::Div, [](KVElement *e) {
        e->setUnitW(1, kNarrow);
    })());
    QVERIFY(pDiv);
    QCOMPARE(Cat::unitFor(pDiv.get(), 4, KVLayoutKey::current()), QStringLiteral("px"));
    pDiv->setCurrentLayout(kNarrow);
    QCOMPARE(Cat::unitFor(pDiv.get(), 4, KVLayoutKey::current()), QStringLiteral("%"));
    QVERIFY(Cat::isAnimatable(pDiv.get(), 4, kNarrow, KVLayoutKey::current()));
    QVERIFY(!Cat::isAnimatable(pDiv.get(), 4, kBase, KVLayoutKey::current()));
    QCOMPARE(Cat::holder(pDiv.get(), 16, KVLayoutKey::current()),
             static_cast<QObject *>(pDiv->border(kNarrow)));
}

KAVIO_TEST_MAIN(TestPropertyCatalogue)
#include "tst_propertycatalogue.moc"
