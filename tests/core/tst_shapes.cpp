// Text boxes, rectangles, auto shapes and free-form shapes: their text and shape values, the shape
// catalogue, the Bezier outline and both JSON forms of each kind.

#include "KVTestMain.h"

#include "model/KVAutoShape.h"
#include "model/KVAutoShapeCatalogue.h"
#include "model/KVAutoShapeProperty.h"
#include "model/KVBackground.h"
#include "model/KVBezierPath.h"
#include "model/KVBorder.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"
#include "model/KVDivProperty.h"
#include "model/KVElementFactory.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"

#include <QJsonDocument>

#include <memory>

namespace {

template <typename T>
std::unique_ptr<T> make(int nType)
{
    return std::unique_ptr<T>(qobject_cast<T *>(KVElementFactory::createElement(nType)));
}

QJsonObject playerOf(const KVElementProperty &property, bool bResponsive, QJsonArray *pReset = nullptr)
{
    QJsonArray reset;
    QJsonObject jo;
    property.toPlayerJson(reset, jo, false, bResponsive);
    if (pReset)
        *pReset = reset;
    return jo;
}

QString compact(const QJsonValue &value)
{
    const QJsonDocument doc = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return QString::fromUtf8(doc.toJson(QJsonDocument::Compact));
}

KVPathPoint point(double x, double y, int nTime = -1)
{
    KVPathPoint p;
    p.x = p.x1 = p.x2 = x;
    p.y = p.y1 = p.y2 = y;
    p.nTime = nTime;
    return p;
}

} // namespace

Q_DECLARE_METATYPE(KVPathPoint)

class tst_Shapes : public QObject
{
    Q_OBJECT

private slots:
    void cssFontFamily_data();
    void cssFontFamily();
    void textArray();
    void textRoundTripAndDefaults();
    void textFontsFromHtml();
    void textResponsive();

    void cornerKey();

    void autoShapeKey_data();
    void autoShapeKey();
    void autoShapeProjectForm();
    void autoShapeHasNoBorderWidth();

    void freeFormKey_data();
    void freeFormKey();
    void freeFormProjectForm();
    void freeFormKeepsWhatIsMissing();
    void freeFormEditPoint();

    void catalogueWhole();
    void catalogueTemplates();

    void bezierFlatten_data();
    void bezierFlatten();
    void bezierJson();
};

void tst_Shapes::cssFontFamily_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("css");

    QTest::newRow("plain") << "Arial" << "'Arial'";
    QTest::newRow("with spaces") << "Times New Roman" << "'Times New Roman'";
    QTest::newRow("double quoted") << "\"Open Sans\"" << "'Open Sans'";
    QTest::newRow("single quoted") << "'Open Sans'" << "'Open Sans'";
    QTest::newRow("single quote inside") << "Gill's Sans" << "'Gill\\'s Sans'";
    QTest::newRow("double quote inside") << "My \"Best\" Font" << "'My \"Best\" Font'";
    QTest::newRow("backslash inside") << "Back\\slash" << "'Back\\\\slash'";
    QTest::newRow("list") << "\"Helvetica Neue\", Arial, sans-serif"
                          << "'Helvetica Neue', 'Arial', sans-serif";
    QTest::newRow("list with an apostrophe and a comma in quotes") << "Gill's Sans, \"A, B\" , serif"
                                                                    << "'Gill\\'s Sans', 'A, B', serif";
}

void tst_Shapes::cssFontFamily()
{
    QFETCH(QString, family);
    QFETCH(QString, css);
    QCOMPARE(KVTextProperty::cssFontFamily(family), css);
}

void tst_Shapes::textArray()
{
    auto pText = make<KVText>(4);
    pText->setInnerHtml("<p>Hello</p>");
    pText->setFontFamily("Times New Roman");
    pText->setFontSize(24);
    pText->setForeground(QColor(255, 0, 0));
    pText->setHighlight(QColor(0, 0, 255, 128));
    pText->setBold(true);
    pText->setUnderline(true);
    pText->setAlignH(8);
    pText->setAlignV(32);
    pText->setLineHeight(1.5);
    pText->setTextIndent(3);
    pText->setWordSpace(4);
    pText->setLetterSpace(-1);

    QJsonArray ja;
    pText->textStyle(ja);
    QCOMPARE(compact(ja), QStringLiteral(R"(["<p>Hello</p>","'Times New Roman'",24,[255,0,0,255],)"
                                         R"([0,0,255,128],"bold",false,true,false,8,32,150,3,4,-1])"));

    QJsonObject jo;
    pText->toPlayerJson(jo, true);
    QCOMPARE(jo.value("txt").toArray(), ja);
    QCOMPARE(jo.value("k").toInt(), 4);

    // Defaults: normal weight, centred, line height 120.
    KVTextProperty defaults;
    QJsonArray jaDefault;
    defaults.textStyleArray(jaDefault);
    QCOMPARE(compact(jaDefault), QStringLiteral(R"(["","'Arial'",18,[67,67,67,255],[0,0,0,0],)"
                                                R"("normal",false,false,false,4,128,120,0,0,0])"));
}

void tst_Shapes::textRoundTripAndDefaults()
{
    KVTextProperty property;
    property.setInnerHtml("<b>x</b>");
    property.setFontFamily("Georgia");
    property.setFontSize(40);
    property.setWordSpace(2);
    property.setLetterSpace(3);
    property.setBold(true);
    property.setItalic(true);
    property.setUnderline(true);
    property.setStrikeout(true);
    property.setAlignH(2);
    property.setAlignV(64);
    property.setTextIndent(5);
    property.setLineHeight(2.25);
    property.setForeground(QColor(255, 0, 0));
    property.setHighlight(QColor(1, 2, 3, 4));
    QJsonObject jo;
    property.toJson(jo);
    const QJsonObject joText = jo.value("text").toObject();
    QCOMPARE(joText.value("color").toInt(), -65536);
    QCOMPARE(joText.value("highlightColor").toInt(), 0x04010203);

    KVTextProperty read;
    read.fromJson(jo, nullptr);
    QJsonObject joAgain;
    read.toJson(joAgain);
    QCOMPARE(joAgain, jo);
    QCOMPARE(read.foreground(), QColor(255, 0, 0));
    QVERIFY(read.isStrikeout());

    // An object without "text" gives every text default back.
    read.fromJson(QJsonObject(), nullptr);
    QCOMPARE(read.innerHtml(), QString());
    QCOMPARE(read.fontFamily(), QStringLiteral("Arial"));
    QCOMPARE(read.fontSize(), 18);
    QCOMPARE(read.wordSpace() + read.letterSpace() + read.textIndent(), 0);
    QVERIFY(!read.isBold() && !read.isItalic() && !read.isUnderline() && !read.isStrikeout());
    QCOMPARE(read.alignH(), 4);
    QCOMPARE(read.alignV(), 128);
    QCOMPARE(read.lineHeight(), 1.2);
    QCOMPARE(read.foreground(), QColor(67, 67, 67));
    QCOMPARE(read.highlight().rgba(), 0u);

    // Mistyped keys read as their defaults too.
    read.fromJson(QJsonObject{{"text", QJsonObject{{"fontSize", "big"}, {"bold", "yes"}, {"color", "red"}}}},
                  nullptr);
    QCOMPARE(read.fontSize(), 18);
    QVERIFY(!read.isBold());
    QCOMPARE(read.foreground(), QColor(67, 67, 67));
}

void tst_Shapes::textFontsFromHtml()
{
    auto pGroup = std::unique_ptr<KVElement>(KVElementFactory::createElement(6));
    auto *pText = qobject_cast<KVText *>(KVElementFactory::createElement(4));
    pText->setFontFamily("Lato");
    pText->setInnerHtml(R"(<p>plain <span style="font-family:'Times New Roman'">a</span>)"
                        R"(<font face="Verdana">b</font><span style="font-family:Ghost"></span>)"
                        R"(<b>c</b><i>d</i><span style="font-weight:600;font-style:italic">e</span></p>)");
    pText->addProperty(KVElementFactory::createProperty(4), KVLayoutKey(1, 0));
    pText->setFontFamily("Oswald", KVLayoutKey(1, 0));
    pGroup->insertChild(pText, -1);
    auto *pDiv = qobject_cast<KVDiv *>(KVElementFactory::createElement(5));
    pDiv->setFontFamily("a, b");
    pGroup->insertChild(pDiv, -1);

    KVFontFaces fonts;
    pGroup->collectFonts(fonts);
    // A family given to no text ("Ghost") is not in use; a run without a family of its own is in
    // the text's, with the run's weight and style.
    QStringList listed;
    for (const KVFontFace &face : qAsConst(fonts))
        listed << face.strFamily + (face.bBold ? QStringLiteral(" bold") : QString()) + (face.bItalic ? QStringLiteral(" italic") : QString());
    listed.sort();
    QCOMPARE(listed, (QStringList{"'Lato'", "'Lato' bold", "'Lato' bold italic", "'Lato' italic", "'Oswald'",
                                  "'a', 'b'", "Times New Roman", "Verdana"}));
}

void tst_Shapes::textResponsive()
{
    KVTextProperty property;
    QVERIFY(!playerOf(property, true).contains("txt"));
    for (int nCode : {61, 51, 25, 23, 24, 52, 57, 26, 29}) {
        KVTextProperty gated;
        gated.setInherited(nCode, false);
        QVERIFY2(playerOf(gated, true).contains("txt"), qPrintable(QString::number(nCode)));
    }
    KVTextProperty notGated;
    notGated.setInherited(58, false);
    QVERIFY(!playerOf(notGated, true).contains("txt"));
    QVERIFY(playerOf(property, false).contains("txt"));
}

void tst_Shapes::cornerKey()
{
    auto pDiv = make<KVDiv>(5);
    QVERIFY(pDiv->corner());
    QJsonObject jo;
    pDiv->toPlayerJson(jo, false);
    const QJsonObject joBase = jo.value("rp").toArray().at(0).toArray().at(2).toObject();
    QVERIFY(!joBase.contains("lr"));
    QVERIFY(joBase.contains("txt"));

    pDiv->corner()->setTopLeft(8);
    pDiv->corner()->setBottomRight(0.5);
    pDiv->corner()->setUnitBottomRight(1);
    QJsonArray reset;
    QCOMPARE(playerOf(*pDiv->property(), false).value("lr").toArray(), (QJsonArray{8, 0, 0, "50%"}));

    // A layout that overrides a corner back to square resets "lr".
    KVDivProperty layout;
    layout.setInherited(36, false);
    const QJsonObject joLayout = playerOf(layout, true, &reset);
    QVERIFY(!joLayout.contains("lr"));
    QCOMPARE(reset, QJsonArray{"lr"});

    // The project form keeps the corner.
    QJsonObject joProject;
    pDiv->property()->toJson(joProject);
    KVDivProperty read;
    read.fromJson(joProject, nullptr);
    QCOMPARE(*read.corner(), *pDiv->corner());
    QCOMPARE(read.foreground(), QColor(Qt::white));
}

void tst_Shapes::autoShapeKey_data()
{
    QTest::addColumn<int>("shapeType");
    QTest::addColumn<QList<double>>("adjustments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("no adjustments") << 11 << QList<double>{} << "[11]";
    QTest::newRow("two adjustments") << 13 << QList<double>{0.2, 0.5} << "[13,[0.2,0.5]]";
    QTest::newRow("one adjustment") << 82 << QList<double>{0.38} << "[82,[0.38]]";
}

void tst_Shapes::autoShapeKey()
{
    QFETCH(int, shapeType);
    QFETCH(QList<double>, adjustments);
    QFETCH(QString, expected);

    auto pShape = make<KVAutoShape>(9);
    pShape->setShapeType(shapeType);
    pShape->setAdjustments(adjustments);
    QJsonObject jo;
    pShape->toPlayerJson(jo, true);
    QCOMPARE(compact(jo.value("s")), expected);

    // At a responsive layout only an overridden shape (code 58) writes it.
    KVAutoShapeProperty layout(*pShape->shapeProperty());
    QVERIFY(!playerOf(layout, true).contains("s"));
    layout.setInherited(58, false);
    QCOMPARE(compact(playerOf(layout, true).value("s")), expected);
}

void tst_Shapes::autoShapeProjectForm()
{
    KVAutoShapeProperty property;
    property.setShapeType(27);
    property.setAdjustments({0.1, 0.2, 0.3, 0.4});
    property.setDisplayName("Right Arrow Callout");
    QJsonObject jo;
    property.toJson(jo);
    QCOMPARE(jo.value("autoshapeType").toInt(), 27);
    QCOMPARE(jo.value("adjustmentCount").toInt(), 4);
    QCOMPARE(jo.value("adjustments").toArray(), (QJsonArray{0.1, 0.2, 0.3, 0.4}));
    QVERIFY(jo.contains("text"));

    // The count follows the array, not "adjustmentCount"; a non-number keeps its place as 0.
    jo.insert("adjustmentCount", 9);
    jo.insert("adjustments", QJsonArray{0.5, "x", 0.75});
    KVAutoShapeProperty read;
    read.fromJson(jo, nullptr);
    QCOMPARE(read.shapeType(), 27);
    QCOMPARE(read.adjustments(), (QList<double>{0.5, 0.0, 0.75}));
    QCOMPARE(read.displayName(), QString()); // not saved

    read.fromJson(QJsonObject(), nullptr);
    QCOMPARE(read.shapeType(), 0);
    QVERIFY(read.adjustments().isEmpty());
}

void tst_Shapes::autoShapeHasNoBorderWidth()
{
    auto pShape = make<KVAutoShape>(9);
    pShape->border()->setStyle(KVBorder::Solid);
    pShape->border()->setWidth(5);
    QCOMPARE(pShape->borderWidth(), 0);
    auto pDiv = make<KVDiv>(5);
    pDiv->border()->setStyle(KVBorder::Solid);
    pDiv->border()->setWidth(5);
    QCOMPARE(pDiv->borderWidth(), 5);
    pDiv->border()->setStyle(KVBorder::None);
    QCOMPARE(pDiv->borderWidth(), 0);
}

void tst_Shapes::freeFormKey_data()
{
    QTest::addColumn<int>("startType");
    QTest::addColumn<int>("endType");
    QTest::addColumn<QString>("tail"); // what follows [590, path

    QTest::newRow("no arrows") << 0 << 0 << "";
    QTest::newRow("end arrow") << 0 << 1 << ",1,4";
    QTest::newRow("start arrow") << 2 << 0 << ",0,4,2,6";
    QTest::newRow("both arrows") << 5 << 3 << ",3,4,5,6";
}

void tst_Shapes::freeFormKey()
{
    QFETCH(int, startType);
    QFETCH(int, endType);
    QFETCH(QString, tail);

    KVFreeFormShapeProperty property;
    property.setShapeType(590);
    KVPathPoint first = point(0, 0);
    first.bStartPoint = true;
    KVBezierPath path;
    path.appendPoint(first);
    path.appendPoint(point(100, 50));
    property.setPath(path);
    KVArrowSettings arrows;
    arrows.nStartType = startType;
    arrows.nStartSize = 6;
    arrows.nEndType = endType;
    property.setArrows(arrows);
    property.setAdjustments({0.5}); // the free-form key replaces the auto-shape one

    const QString strPath = QStringLiteral("[[0,0,0,0,0,0,true],[100,50,100,50,100,50,false]]");
    QCOMPARE(compact(playerOf(property, false).value("s")),
             QStringLiteral("[590,%1%2]").arg(strPath, tail));

    // Gated in by the shape, the path and the four arrow codes.
    for (int nCode : {58, 60, 46, 47, 48, 49}) {
        KVFreeFormShapeProperty layout(property);
        QVERIFY(!playerOf(layout, true).contains("s"));
        layout.setInherited(nCode, false);
        QVERIFY(playerOf(layout, true).contains("s"));
    }
}

void tst_Shapes::freeFormProjectForm()
{
    auto pShape = make<KVFreeFormShape>(11);
    KVFreeFormShapeProperty *pProperty = pShape->freeFormProperty();
    QVERIFY(pProperty);
    pProperty->setShapeType(594);
    KVBezierPath path;
    path.appendPoint(point(1, 2));
    path.appendPoint(point(30, 40, 500));
    pProperty->setPath(path);
    KVArrowSettings arrows;
    arrows.nEndType = KVArrowSettings::Stealth;
    arrows.nEndSize = 7;
    pProperty->setArrows(arrows);
    pShape->setInnerHtml("label");

    QJsonObject jo;
    pShape->toJson(jo);
    QCOMPARE(jo.value("type").toInt(), 11);
    const QJsonObject joValues = jo.value("respProps").toArray().at(0).toObject().value("values").toObject();
    QCOMPARE(joValues.value("arrow").toObject(),
             (QJsonObject{{"start_arrow_type", 0}, {"start_arrow_size", 4}, {"end_arrow_type", 3},
                          {"end_arrow_size", 7}}));
    QCOMPARE(joValues.value("bzpath").toObject().value("points").toArray().size(), 2);

    auto pRead = make<KVFreeFormShape>(11);
    QVERIFY(pRead->fromJson(jo));
    QJsonObject joAgain;
    pRead->toJson(joAgain);
    QCOMPARE(joAgain, jo);
    QCOMPARE(pRead->freeFormProperty()->path(), path);
    QCOMPARE(pRead->freeFormProperty()->arrows(), arrows);
    QCOMPARE(pRead->innerHtml(), QStringLiteral("label"));
    // The chord from (1, 2) to (30, 40) is 47.8 long: 12 inner points.
    QCOMPARE(pRead->freeFormProperty()->path().polyline(0).size(), 14);
}

void tst_Shapes::freeFormKeepsWhatIsMissing()
{
    KVFreeFormShapeProperty property;
    KVBezierPath path;
    path.appendPoint(point(5, 5));
    property.setPath(path);
    KVArrowSettings arrows;
    arrows.nStartType = 1;
    arrows.nEndType = 2;
    arrows.nEndSize = 9;
    property.setArrows(arrows);

    // No "bzpath", and an "arrow" with only one key: the rest stays as it was.
    property.fromJson(QJsonObject{{"arrow", QJsonObject{{"end_arrow_size", 3}}}, {"autoshapeType", 590}},
                      nullptr);
    QCOMPARE(property.path(), path);
    QCOMPARE(property.arrows().nStartType, 1);
    QCOMPARE(property.arrows().nEndType, 2);
    QCOMPARE(property.arrows().nEndSize, 3);
    QCOMPARE(property.shapeType(), 590);

    // A "bzpath" that is present replaces the path, even when it is empty.
    property.fromJson(QJsonObject{{"bzpath", QJsonObject()}}, nullptr);
    QVERIFY(property.path().isEmpty());
}

void tst_Shapes::freeFormEditPoint()
{
    auto pShape = make<KVFreeFormShape>(11);
    QJsonObject joCanvas;
    pShape->toPlayerJson(joCanvas, true);
    QCOMPARE(joCanvas.value("editPoint"), QJsonValue(false));
    pShape->setEditingPoints(true);
    QJsonObject joExport;
    pShape->toPlayerJson(joExport, false);
    QCOMPARE(joExport.value("editPoint"), QJsonValue(true));
    QCOMPARE(joExport.value("k").toInt(), 11);
    // Not copied by clone: the copy is not being edited.
    std::unique_ptr<KVElement> pCopy(pShape->clone());
    QVERIFY(!static_cast<KVFreeFormShape *>(pCopy.get())->isEditingPoints());
}

void tst_Shapes::catalogueWhole()
{
    const QVector<KVAutoShapeInfo> &entries = KVAutoShapeCatalogue::entries();
    QCOMPARE(entries.size(), KVAutoShapeCatalogue::ShapeCount);
    QSet<int> types;
    QSet<QString> icons;
    for (const KVAutoShapeInfo &entry : entries) {
        types.insert(entry.nShapeType);
        icons.insert(QString::fromLatin1(entry.pszIcon));
        QVERIFY(entry.nElementType == 9 || entry.nElementType == 11);
        QCOMPARE(entry.nElementType == 11, entry.nCategory == KVAutoShapeCatalogue::Freeforms);
        QCOMPARE(KVAutoShapeCatalogue::info(entry.nShapeType), &entry);
        QCOMPARE(KVAutoShapeCatalogue::displayName(entry.nShapeType), QString::fromLatin1(entry.pszName));
        QCOMPARE(KVAutoShapeCatalogue::adjustmentCount(entry.nShapeType), entry.nAdjustmentCount);
        QVERIFY(KVAutoShapeCatalogue::shapesOf(entry.nCategory).contains(entry.nShapeType));
        QVERIFY(KVAutoShapeCatalogue::categoryName(entry.nCategory) != QLatin1String("Unknown"));
    }
    QCOMPARE(types.size(), 48);
    QCOMPARE(icons.size(), 48);
    QVERIFY(!KVAutoShapeCatalogue::info(10));
    QCOMPARE(KVAutoShapeCatalogue::adjustmentCount(10), 0);
    QCOMPARE(KVAutoShapeCatalogue::displayName(10), QString());

    // Menu order within a category is the table's order.
    QCOMPARE(KVAutoShapeCatalogue::shapesOf(KVAutoShapeCatalogue::Callouts), (QList<int>{13, 14, 19}));
    QCOMPARE(KVAutoShapeCatalogue::shapesOf(KVAutoShapeCatalogue::Stars),
             (QList<int>{81, 82, 83, 85, 89, 101}));
    QCOMPARE(KVAutoShapeCatalogue::shapesOf(KVAutoShapeCatalogue::BlockArrows).first(), 73);
    QCOMPARE(KVAutoShapeCatalogue::shapesOf(KVAutoShapeCatalogue::BasicShapes).size(), 20);
    QCOMPARE(KVAutoShapeCatalogue::shapesOf(KVAutoShapeCatalogue::BlockArrows).size(), 13);
    QCOMPARE(KVAutoShapeCatalogue::shapesOf(KVAutoShapeCatalogue::Freeforms).size(), 6);

    QCOMPARE(KVAutoShapeCatalogue::categoryName(5), QStringLiteral("Unknown"));
    QCOMPARE(KVAutoShapeCatalogue::categoryName(-1), QStringLiteral("Unknown"));
}

void tst_Shapes::catalogueTemplates()
{
    KVAutoShapeCatalogue *pCatalogue = KVAutoShapeCatalogue::getInstance();
    QCOMPARE(pCatalogue->templates().size(), 48);
    for (const KVAutoShapeInfo &entry : KVAutoShapeCatalogue::entries()) {
        const KVAutoShape *pTemplate = pCatalogue->shapeTemplate(entry.nShapeType);
        QVERIFY(pTemplate);
        QCOMPARE(pTemplate->type(), entry.nElementType);
        const KVAutoShapeProperty *pProperty = pTemplate->shapeProperty(KVLayoutKey::base());
        QCOMPARE(pProperty->shapeType(), entry.nShapeType);
        QCOMPARE(pProperty->displayName(), QString::fromLatin1(entry.pszName));
        QCOMPARE(pProperty->category(), entry.nCategory);
        QCOMPARE(pProperty->adjustments().size(), entry.nAdjustmentCount);
    }

    // Inserting a shape clones its template: a new, detached element of the right kind.
    std::unique_ptr<KVAutoShape> pArrow(pCatalogue->createShape(15));
    QVERIFY(pArrow);
    QVERIFY(pArrow.get() != pCatalogue->shapeTemplate(15));
    QCOMPARE(pArrow->type(), 9);
    QCOMPARE(pArrow->shapeType(), 15);
    QCOMPARE(pArrow->adjustments(), (QList<double>{0.5, 0.5}));
    QCOMPARE(pArrow->id(), -1);
    QCOMPARE(pArrow->background()->fillStyle(), 1);
    pArrow->setAdjustments({0.1});
    QCOMPARE(pCatalogue->shapeTemplate(15)->adjustments().size(), 2);

    std::unique_ptr<KVAutoShape> pLine(pCatalogue->createShape(590));
    QVERIFY(qobject_cast<KVFreeFormShape *>(pLine.get()));
    QVERIFY(!pCatalogue->createShape(7));
}

void tst_Shapes::bezierFlatten_data()
{
    QTest::addColumn<KVPathPoint>("a");
    QTest::addColumn<KVPathPoint>("b");
    QTest::addColumn<int>("count");

    // Control points on the ends: the control polygon is the chord.
    QTest::newRow("length 40") << point(0, 0) << point(40, 0) << 12;
    QTest::newRow("length 41 rounds to 10") << point(0, 0) << point(41, 0) << 12;
    QTest::newRow("length 6 rounds to 2") << point(0, 0) << point(0, 6) << 4;
    QTest::newRow("length 1") << point(0, 0) << point(1, 0) << 2;
    QTest::newRow("same time") << point(0, 0, 300) << point(40, 0, 300) << 0;
    QTest::newRow("both untimed") << point(0, 0) << point(40, 0) << 12;
    QTest::newRow("different times") << point(0, 0, 300) << point(40, 0, 400) << 12;
}

void tst_Shapes::bezierFlatten()
{
    QFETCH(KVPathPoint, a);
    QFETCH(KVPathPoint, b);
    QFETCH(int, count);

    const QVector<QPointF> line = KVBezierPath::flatten(a, b);
    QCOMPARE(line.size(), count);
    if (count > 0) {
        QCOMPARE(line.first(), a.position());
        QCOMPARE(line.last(), b.position());
        // A straight chord with end control points: inner points at the curve parameters k/(n+1)
        // lie on the chord, in order.
        for (int i = 1; i < line.size(); ++i)
            QVERIFY(line.at(i).x() >= line.at(i - 1).x() && line.at(i).y() >= line.at(i - 1).y());
    }

    // A curve: the points follow the cubic (checked at the middle of an odd count).
    KVPathPoint start = point(0, 0);
    start.x2 = 0;
    start.y2 = 40;
    KVPathPoint end = point(40, 0);
    end.x1 = 40;
    end.y1 = 40;
    const QVector<QPointF> curve = KVBezierPath::flatten(start, end);
    QCOMPARE(curve.size(), 32); // (40 + 40 + 40) / 4 = 30 inner points
    // t = 15/31 and 16/31 straddle the top (20, 30).
    QVERIFY(qAbs(curve.at(15).y() - 30.0) < 0.1);
    QVERIFY(qAbs(curve.at(16).y() - 30.0) < 0.1);
}

void tst_Shapes::bezierJson()
{
    KVBezierPath path;
    KVPathPoint p1 = point(1.5, 2.5, 100);
    p1.bStartPoint = true;
    p1.x2 = 9;
    path.appendPoint(p1);
    path.appendPoint(point(3, 4));
    path.insertPoint(1, point(2, 2, 100));
    QCOMPARE(path.polylineCount(), 3);
    QVERIFY(path.polyline(0).isEmpty()); // both carry time 100
    QVERIFY(path.polyline(2).isEmpty()); // the last point
    QVERIFY(path.polyline(9).isEmpty());

    QJsonObject jo;
    path.toJson(jo);
    const QJsonArray jaPoints = jo.value("points").toArray();
    QCOMPARE(jaPoints.at(0).toObject().value("time").toInt(), 100);
    QVERIFY(!jaPoints.at(2).toObject().contains("time"));
    QCOMPARE(jaPoints.at(0).toObject().value("startpoint").toBool(), true);

    KVBezierPath read;
    read.fromJson(jo);
    QCOMPARE(read, path);
    QCOMPARE(read.polyline(1), path.polyline(1));

    // Missing keys: coordinates 0, no time, no start flag; junk entries read as points at 0.
    read.fromJson(QJsonObject{{"points", QJsonArray{QJsonObject{{"x", 5}}, "junk"}}});
    QCOMPARE(read.count(), 2);
    QCOMPARE(read.points().at(0).x, 5.0);
    QCOMPARE(read.points().at(0).y1, 0.0);
    QCOMPARE(read.points().at(0).nTime, -1);
    QVERIFY(!read.points().at(0).bStartPoint);

    path.removePoint(0);
    path.removePoint(7);
    QCOMPARE(path.count(), 2);
    path.clear();
    QVERIFY(path.isEmpty());
    QCOMPARE(path.polylineCount(), 0);
}

KAVIO_TEST_MAIN(tst_Shapes)
#include "tst_shapes.moc"
