// The element tree: factories, ids, unique names, geometry units, per-layout values, inherit flags
// and both JSON forms of the common element data.

#include "KVPlayerFormTestKit.h"
#include "KVTestMain.h"

#include "interaction/KVEventListener.h"
#include "model/IKVDocumentContext.h"
#include "model/KVAutoShape.h"
#include "model/KVBackground.h"
#include "model/KVBorder.h"
#include "model/KVClip.h"
#include "model/KVDiv.h"
#include "model/KVElement.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementProperty.h"
#include "model/KVFilterEffect.h"
#include "model/KVFreeFormShape.h"
#include "model/KVImageUseCounter.h"
#include "model/KVShadow.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"

#include <QJsonDocument>

#include <memory>

namespace {
using KVPlayerFormTestKit::exportLayout;

KVElement *make(int nType, const QString &strName = QString())
{
    KVElement *pElement = KVElementFactory::createElement(nType);
    if (pElement && !strName.isEmpty())
        pElement->setName(strName);
    return pElement;
}

std::unique_ptr<KVElementContainer> makeStage(double dWidth = 800, double dHeight = 600)
{
    auto pStage = std::make_unique<KVElementContainer>();
    pStage->init();
    pStage->setSizeW(dWidth);
    pStage->setSizeH(dHeight);
    return pStage;
}

QJsonObject projectJson(const KVElement &element)
{
    QJsonObject jo;
    element.toJson(jo);
    return jo;
}

QJsonObject canvasJson(KVElement &element)
{
    QJsonObject jo;
    element.toPlayerJson(jo, true);
    return jo;
}

QJsonObject exportJson(KVElement &element)
{
    QJsonObject jo;
    element.toPlayerJson(jo, false);
    return jo;
}


// A document's images as a fill sees them: ids 1..9 exist; counts are recorded.
class FakeImages : public KVImageUseCounter
{
public:
    bool hasImage(int nId) const override { return nId >= 1 && nId <= 9; }
    bool isDeleted(int) const override { return false; }
    void acquire(int nId) override { ++counts[nId]; }
    void release(int nId) override { --counts[nId]; }
    QSize imageSize(int) const override { return QSize(64, 32); }
    QMap<int, int> counts;
};

class FakeContext : public IKVDocumentContext
{
public:
    KVImageUseCounter *imageUseCounter() const override { return &images; }
    mutable FakeImages images;
};

// Sets every common value and every group of one layout away from its defaults.
void fillNonDefaults(KVElement &e, const KVLayoutKey &key, int nSeed)
{
    e.setCoordinateType(3, key);
    e.setSizeW(0.5 + nSeed, key);
    e.setUnitW(1, key);
    e.setSizeH(1.5, key);
    e.setUnitH(2, key);
    e.setPositionX(12.25 + nSeed, key);
    e.setPositionY(0.125, key);
    e.setUnitY(1, key);
    e.setOpacity(0.3, key);
    e.setOriginRatioX(0.1, key);
    e.setOriginRatioY(0.9, key);
    e.setOriginZ(4, key);
    e.setTranslateX(5, key);
    e.setTranslateY(-6, key);
    e.setTranslateZ(7, key);
    e.setScaleX(1.5, key);
    e.setScaleY(0.5, key);
    e.setScaleZ(2, key);
    e.setSkewX(10, key);
    e.setSkewY(-10, key);
    e.setRotateX(30, key);
    e.setRotateY(60, key);
    e.setRotateZ(90 + nSeed, key);
    e.setOverflow(2, key);
    e.setDisplay(0, key);
    e.setCursor(QStringLiteral("pointer"), key);
    e.setTitle(QStringLiteral("Tip %1").arg(nSeed), key);
    e.setTabIndex(3, key);
    e.setClassName(QStringLiteral("hero big"), key);
    e.border(key)->setStyle(KVBorder::Dashed);
    e.border(key)->setWidth(3);
    e.border(key)->setBorderColor(QColor(10, 20, 30, 40));
    e.background(key)->setFillStyle(KVBackground::GradientFill);
    e.background(key)->setGradientType(KVBackground::Radial);
    e.background(key)->setRadialOriginX(0.2);
    e.background(key)->setRadialOriginY(0.7);
    e.shadow(key)->setStyle(KVShadow::DropShadow);
    e.shadow(key)->setBlurRadius(9);
    e.filter(key)->setHue(120);
    e.filter(key)->setBlur(2);
    e.clip(key)->setStyle(KVClip::Oval);
    e.clip(key)->setOvalVertex(0.4);
}

} // namespace

class tst_Elements : public QObject
{
    Q_OBJECT

private slots:
    void factory();

    void pixelGeometry_data();
    void pixelGeometry();
    void setPixels();
    void neutralValuesWithoutLayout();

    void idsPreOrderAndNeverReused();
    void idsOfPastedTreeAreKept();
    void uniqueNames_data();
    void uniqueNames();
    void uniqueNamesLeaveOutOwnSubtree();
    void uniqueNamesFollowRenamesAndRemovals();
    void massPasteGivesDistinctNames();

    void treeOperations();
    void selectedElements();
    void cloneIsDeepAndDetached();
    void qtPropertiesDriveCurrentLayout();
    void inheritFlags();

    void playerTransform_data();
    void playerTransform();
    void playerValues_data();
    void playerValues();
    void canvasFormShowsOneLayout();
    void exportFormResponsiveLayouts();

    void projectRoundTripDeepTree();
    void readerDefaults();
    void legacyElementWithoutLayouts();
    void badInputLosesNothing();
    void uses3DAndMedia();
    void resourcesOfTheTree();
};

void tst_Elements::factory()
{
    // Every kind the factory makes is initialised: one property object of the kind's own class at
    // the base layout; scenes and components are not elements of a tree.
    for (int type = -1; type <= 12; ++type) {
        std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(type));
        std::unique_ptr<KVElementProperty> pProperty(KVElementFactory::createProperty(type));
        const bool bElement = type >= 0 && type <= 11 && type != 8 && type != 10;
        QCOMPARE(pElement != nullptr, bElement);
        QCOMPARE(KVElementFactory::typeName(type).isEmpty(), type < 0 || type > 11);
        if (!pElement)
            continue;
        QCOMPARE(pElement->type(), type);
        QCOMPARE(pElement->properties().keys(), QList<KVLayoutKey>{KVLayoutKey::base()});
        QVERIFY(pProperty);
        QCOMPARE(pElement->property()->metaObject(), pProperty->metaObject());
        QCOMPARE(pElement->id(), -1);
        QVERIFY(pElement->isVisible() && !pElement->isLocked() && !pElement->isSelected());
        QVERIFY(pElement->property()->inheritFlags().isEmpty());
    }
}

void tst_Elements::pixelGeometry_data()
{
    QTest::addColumn<double>("left");
    QTest::addColumn<int>("unitX");
    QTest::addColumn<double>("width");
    QTest::addColumn<int>("unitW");
    QTest::addColumn<double>("height");
    QTest::addColumn<int>("unitH");
    QTest::addColumn<double>("leftPx");
    QTest::addColumn<double>("widthPx");
    QTest::addColumn<double>("heightPx");

    // The parent is 800 x 400 pixels.
    QTest::newRow("pixels") << 10.0 << 0 << 300.0 << 0 << 100.0 << 0 << 10.0 << 300.0 << 100.0;
    QTest::newRow("percent left") << 0.25 << 1 << 300.0 << 0 << 100.0 << 0 << 200.0 << 300.0 << 100.0;
    QTest::newRow("percent size") << 0.0 << 0 << 0.5 << 1 << 0.25 << 1 << 0.0 << 400.0 << 100.0;
    QTest::newRow("auto height 2") << 0.0 << 0 << 300.0 << 0 << 2.0 << 2 << 0.0 << 300.0 << 150.0;
    QTest::newRow("auto height 0") << 0.0 << 0 << 300.0 << 0 << 0.0 << 2 << 0.0 << 300.0 << 0.0;
    QTest::newRow("auto width") << 0.0 << 0 << 1.5 << 2 << 100.0 << 0 << 0.0 << 150.0 << 100.0;
    QTest::newRow("auto width of percent height")
        << 0.0 << 0 << 2.0 << 2 << 0.5 << 1 << 0.0 << 400.0 << 200.0;
    QTest::newRow("both auto") << 0.0 << 0 << 2.0 << 2 << 2.0 << 2 << 0.0 << 0.0 << 0.0;
}

void tst_Elements::pixelGeometry()
{
    QFETCH(double, left);
    QFETCH(int, unitX);
    QFETCH(double, width);
    QFETCH(int, unitW);
    QFETCH(double, height);
    QFETCH(int, unitH);
    QFETCH(double, leftPx);
    QFETCH(double, widthPx);
    QFETCH(double, heightPx);

    // Nested in a group that fills the stage, so percent values go through the group's pixels.
    auto pStage = makeStage(800, 400);
    KVElement *pGroup = make(6);
    pGroup->setUnitW(1);
    pGroup->setSizeW(1.0);
    pGroup->setUnitH(1);
    pGroup->setSizeH(1.0);
    pStage->addElement(pGroup);
    KVElement *pBox = make(5);
    pStage->addElement(pBox, -1, pGroup);

    pBox->setPositionX(left);
    pBox->setUnitX(unitX);
    pBox->setSizeW(width);
    pBox->setUnitW(unitW);
    pBox->setSizeH(height);
    pBox->setUnitH(unitH);
    QCOMPARE(pBox->parentWidth(), 800.0);
    QCOMPARE(pBox->leftPixels(), leftPx);
    QCOMPARE(pBox->widthPixels(), widthPx);
    QCOMPARE(pBox->heightPixels(), heightPx);
}

void tst_Elements::setPixels()
{
    auto pStage = makeStage(800, 600);
    KVElement *pBox = make(5);
    pStage->addElement(pBox);
    pBox->setUnitX(1);
    pBox->setPositionX(0.25);
    QCOMPARE(pBox->leftPixels(), 200.0);
    pBox->setLeftPixels(400);
    QCOMPARE(pBox->positionX(), 0.5);
    pBox->setUnitY(1);
    pBox->setTopPixels(150);
    QCOMPARE(pBox->positionY(), 0.25);
    pBox->setUnitX(0);
    pBox->setLeftPixels(33);
    QCOMPARE(pBox->positionX(), 33.0);

    // Without a parent there is no width to divide by: percent values become 0, not infinite.
    std::unique_ptr<KVElement> pLoose(make(5));
    pLoose->setUnitX(1);
    pLoose->setLeftPixels(100);
    QCOMPARE(pLoose->positionX(), 0.0);
    QCOMPARE(pLoose->parentWidth(), 0.0);
}

void tst_Elements::neutralValuesWithoutLayout()
{
    std::unique_ptr<KVText> pText(static_cast<KVText *>(make(4)));
    const KVLayoutKey other(3, 0);
    QCOMPARE(pText->sizeW(other), 0.0);
    QCOMPARE(pText->cursor(other), QString());
    QVERIFY(!pText->border(other));
    QCOMPARE(pText->fontSize(other), 0);
    QVERIFY(pText->isInherited(14, other));
    pText->setSizeW(77, other); // nothing to write to
    QVERIFY(!pText->property(other));

    // The current layout is a layout without values: the Qt properties read 0.
    pText->setCurrentLayout(other);
    QCOMPARE(pText->QObject::property("m_dSizeW").toDouble(), 0.0);
    QCOMPARE(pText->sizeW(KVLayoutKey::base()), 200.0);
}

void tst_Elements::idsPreOrderAndNeverReused()
{
    auto pStage = makeStage();
    KVElement *pGroup = make(6);
    KVElement *pInner = make(6);
    pInner->insertChild(make(4), -1);
    pGroup->insertChild(pInner, -1);
    pGroup->insertChild(make(5), -1);
    pStage->addElement(pGroup);

    // Pre-order: group, inner group, its text, then the div.
    QCOMPARE(pGroup->id(), 1);
    QCOMPARE(pInner->id(), 2);
    QCOMPARE(pInner->children().at(0)->id(), 3);
    QCOMPARE(pGroup->children().at(1)->id(), 4);
    QCOMPARE(pStage->nextChildId(), 5);
    QCOMPARE(pStage->findElement(3), pInner->children().at(0));
    QVERIFY(!pStage->findElement(99));

    pStage->removeChild(pGroup);
    delete pGroup;
    KVElement *pNext = make(5);
    pStage->addElement(pNext);
    QCOMPARE(pNext->id(), 5);
}

void tst_Elements::idsOfPastedTreeAreKept()
{
    auto pStage = makeStage();
    pStage->setNextChildId(3);
    KVElement *pPasted = make(6);
    pPasted->setId(5);
    KVElement *pChild = make(5);
    pChild->setId(7);
    pPasted->insertChild(pChild, -1);
    pStage->addElement(pPasted);
    QCOMPARE(pPasted->id(), 5);
    QCOMPARE(pChild->id(), 7);
    QCOMPARE(pStage->nextChildId(), 8);

    KVElement *pNew = make(5);
    pStage->addElement(pNew);
    QCOMPARE(pNew->id(), 8);
    QCOMPARE(pStage->nextChildId(), 9);
}

void tst_Elements::uniqueNames_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("stageName");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("free name kept") << QStringList{"Rect"} << "Scene_1" << 5 << "Box" << "Box";
    QTest::newRow("copy of Rect") << QStringList{"Rect", "Rect_1"} << "Scene_1" << 5 << "Rect"
                                  << "Rect_2";
    QTest::newRow("gap is used") << QStringList{"Rect", "Rect_2"} << "Scene_1" << 5 << "Rect"
                                 << "Rect_1";
    QTest::newRow("unnamed div, empty stage") << QStringList{} << "Scene_1" << 5 << "" << "Div_1";
    QTest::newRow("unnamed text") << QStringList{"Text_1", "Text_2"} << "Scene_1" << 4 << ""
                                  << "Text_3";
    QTest::newRow("unnamed group") << QStringList{"Div_1"} << "Scene_1" << 6 << "" << "Group_1";
    QTest::newRow("stage name taken") << QStringList{} << "Intro" << 5 << "Intro" << "Intro_1";
    QTest::newRow("numbered name") << QStringList{"Rect_1"} << "Scene_1" << 5 << "Rect_1"
                                   << "Rect_1_1";
}

void tst_Elements::uniqueNames()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, stageName);
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, expected);

    auto pStage = makeStage();
    pStage->setName(stageName);
    for (const QString &strName : existing)
        pStage->addElement(make(5, strName));
    KVElement *pNew = make(type, name);
    pStage->addElement(pNew);
    QCOMPARE(pNew->name(), expected);

    // Without a stage the first candidate is used as it is.
    std::unique_ptr<KVElement> pLoose(make(type, name));
    pLoose->makeUniqueName();
    QCOMPARE(pLoose->name(), name.isEmpty() ? KVElementFactory::typeName(type) + "_1" : name);
}

void tst_Elements::uniqueNamesLeaveOutOwnSubtree()
{
    auto pStage = makeStage();
    pStage->addElement(make(5, "Rect"));

    // A pasted group whose two children share a name: the first is checked while the second still
    // carries the name, the second then finds it free again.
    KVElement *pGroup = make(6, "G");
    pGroup->insertChild(make(5, "Box"), -1);
    pGroup->insertChild(make(5, "Box"), -1);
    pStage->addElement(pGroup);
    QCOMPARE(pGroup->children().at(0)->name(), QStringLiteral("Box_1"));
    QCOMPARE(pGroup->children().at(1)->name(), QStringLiteral("Box"));

    // A name held only below the element does not count against it.
    KVElement *pOuter = make(6, "Rect_1");
    pOuter->insertChild(make(5, "Rect_1"), -1);
    pStage->addElement(pOuter);
    QVERIFY(!pStage->isNameTaken("Rect_1", pOuter));
    QVERIFY(pStage->isNameTaken("Rect_1", pOuter->children().at(0)));
    QCOMPARE(pOuter->name(), QStringLiteral("Rect_1"));
    QCOMPARE(pOuter->children().at(0)->name(), QStringLiteral("Rect_1_1"));

    // An unnamed group whose child is "Group_1": the group may take that name itself.
    KVElement *pUnnamed = make(6);
    pUnnamed->insertChild(make(5, "Group_1"), -1);
    pStage->addElement(pUnnamed);
    QCOMPARE(pUnnamed->name(), QStringLiteral("Group_1"));
    QCOMPARE(pUnnamed->children().at(0)->name(), QStringLiteral("Group_1_1"));

    // Renaming again an element whose child holds a low numbered name: Div_1 is taken only below
    // the element, so the element gets it, even though Div_2 and Div_3 were handed out since.
    KVElement *pBox = make(5, "Box");
    pBox->insertChild(make(5), -1);
    pStage->addElement(pBox);
    pStage->addElement(make(5));
    pStage->addElement(make(5));
    QVERIFY(pStage->isNameTaken("Div_3"));
    QCOMPARE(pBox->children().at(0)->name(), QStringLiteral("Div_1"));
    pBox->setName(QString());
    pBox->makeUniqueName();
    QCOMPARE(pBox->name(), QStringLiteral("Div_1"));
    QCOMPARE(pBox->children().at(0)->name(), QStringLiteral("Div_1_1"));
}

void tst_Elements::uniqueNamesFollowRenamesAndRemovals()
{
    auto pStage = makeStage();
    KVElement *pA = make(5, "Rect");
    KVElement *pB = make(5, "Rect");
    KVElement *pC = make(5, "Rect");
    pStage->addElement(pA);
    pStage->addElement(pB);
    pStage->addElement(pC);
    QCOMPARE(pB->name(), QStringLiteral("Rect_1"));
    QCOMPARE(pC->name(), QStringLiteral("Rect_2"));

    // Removing Rect_1 frees its name for the next copy.
    pStage->removeChild(pB);
    QVERIFY(!pStage->isNameTaken("Rect_1"));
    KVElement *pD = make(5, "Rect");
    pStage->addElement(pD);
    QCOMPARE(pD->name(), QStringLiteral("Rect_1"));

    // A rename frees the old name and takes the new one.
    pC->setName("Hero");
    QVERIFY(pStage->isNameTaken("Hero"));
    QVERIFY(!pStage->isNameTaken("Rect_2"));
    KVElement *pE = make(5, "Rect");
    pStage->addElement(pE);
    QCOMPARE(pE->name(), QStringLiteral("Rect_2"));

    // The removed element comes back under a name of its own: "Rect_1" is taken again.
    pStage->addElement(pB);
    QCOMPARE(pB->name(), QStringLiteral("Rect_1_1"));
    delete pStage->findElement(pA->id());
    QVERIFY(!pStage->isNameTaken("Rect"));
}

void tst_Elements::massPasteGivesDistinctNames()
{
    auto pStage = makeStage();
    const int nCount = 1000;
    QList<KVElement *> pasted;
    for (int i = 0; i < nCount; ++i) {
        KVElement *pElement = make(5, "Rect");
        pStage->addElement(pElement);
        pasted.append(pElement);
    }
    QSet<QString> names;
    for (KVElement *pElement : pasted)
        names.insert(pElement->name());
    QCOMPARE(names.size(), nCount);
    QCOMPARE(pasted.first()->name(), QStringLiteral("Rect"));
    QCOMPARE(pasted.last()->name(), QStringLiteral("Rect_%1").arg(nCount - 1));
}

void tst_Elements::treeOperations()
{
    std::unique_ptr<KVElement> pGroup(make(6));
    pGroup->setCurrentLayout(KVLayoutKey(2, 1));
    KVElement *pA = make(5);
    KVElement *pB = make(5);
    KVElement *pC = make(5);
    QCOMPARE(pGroup->insertChild(pA, -1), 0);
    QCOMPARE(pGroup->insertChild(pB, 7), 1);
    QCOMPARE(pGroup->insertChild(pC, 0), 0);
    QCOMPARE(pGroup->children(), (QList<KVElement *>{pC, pA, pB}));
    QCOMPARE(pA->parent(), pGroup.get());
    QCOMPARE(pA->currentLayout(), KVLayoutKey(2, 1));
    QCOMPARE(pA->root(), pGroup.get());

    QCOMPARE(pGroup->removeChild(pA), 1);
    QCOMPARE(pGroup->removeChild(pA), -1);
    QCOMPARE(pGroup->removeChild(nullptr), -1);
    QVERIFY(!pA->parent());
    // An element cannot become its own descendant.
    QCOMPARE(pC->insertChild(pGroup.get(), -1), -1);
    delete pA;

    pGroup->setCurrentLayout(KVLayoutKey::base());
    QCOMPARE(pB->currentLayout(), KVLayoutKey::base());
    // Deleting a child that is still in the tree takes it out first.
    delete pB;
    QCOMPARE(pGroup->children(), QList<KVElement *>{pC});
}

void tst_Elements::selectedElements()
{
    std::unique_ptr<KVElement> pRoot(make(6));
    KVElement *pGroup = make(6);
    KVElement *pInGroup = make(5);
    KVElement *pOther = make(5);
    KVElement *pUnselected = make(5);
    pGroup->insertChild(pInGroup, -1);
    pRoot->insertChild(pGroup, -1);
    pRoot->insertChild(pOther, -1);
    pRoot->insertChild(pUnselected, -1);

    QList<KVElement *> list;
    pGroup->setSelected(true);
    pInGroup->setSelected(true);
    pOther->setSelected(true);
    pRoot->selectedElements(list, false);
    QVERIFY(list.isEmpty()); // the root itself is not on a selection path

    pRoot->setSelected(true);
    pRoot->selectedElements(list, false);
    QCOMPARE(list, (QList<KVElement *>{pInGroup, pOther}));
    list.clear();
    pRoot->selectedElements(list, true);
    QCOMPARE(list, (QList<KVElement *>{pGroup, pOther}));
    QCOMPARE(pRoot->selectedCount(), 2);
}

void tst_Elements::cloneIsDeepAndDetached()
{
    auto pStage = makeStage();
    KVElement *pGroup = make(6, "G");
    pGroup->setLocked(true);
    pGroup->setAspectRatioLocked(true);
    pGroup->setVisible(false);
    pGroup->setSelected(true);
    pGroup->insert(new KVEventListener(100, 1));
    pGroup->addProperty(new KVElementProperty, KVLayoutKey(1, 0));
    pGroup->setOpacity(0.25, KVLayoutKey(1, 0));
    pGroup->insertChild(make(9, "Star"), -1);
    pStage->addElement(pGroup);

    std::unique_ptr<KVElement> pCopy(pGroup->clone());
    QCOMPARE(QString::fromLatin1(pCopy->metaObject()->className()), QStringLiteral("KVElement"));
    QCOMPARE(pCopy->id(), pGroup->id());
    QCOMPARE(pCopy->name(), QStringLiteral("G"));
    QVERIFY(pCopy->isLocked() && pCopy->isAspectRatioLocked() && !pCopy->isVisible());
    QVERIFY(!pCopy->isSelected());
    QVERIFY(!pCopy->parent());
    QVERIFY(pCopy->hasSameHandlers(*pGroup));
    QVERIFY(pCopy->at(0) != pGroup->at(0));
    QCOMPARE(pCopy->opacity(KVLayoutKey(1, 0)), 0.25);
    QCOMPARE(pCopy->children().size(), 1);
    QCOMPARE(pCopy->children().at(0)->type(), 9);
    QCOMPARE(pCopy->children().at(0)->parent(), pCopy.get());
    QCOMPARE(projectJson(*pCopy), projectJson(*pGroup));

    // Independent property objects and groups.
    pCopy->setOpacity(0.75, KVLayoutKey(1, 0));
    pCopy->border()->setWidth(9);
    QCOMPARE(pGroup->opacity(KVLayoutKey(1, 0)), 0.25);
    QCOMPARE(pGroup->border()->width(), 1);
    // The copy is outside the stage: its names are not the stage's.
    QVERIFY(pStage->isNameTaken("G"));
}

void tst_Elements::qtPropertiesDriveCurrentLayout()
{
    std::unique_ptr<KVText> pText(static_cast<KVText *>(make(4)));
    const KVLayoutKey layout(1, 2);
    pText->addProperty(static_cast<KVElementProperty *>(pText->property()->clone()), layout);
    pText->setCurrentLayout(layout);

    const QList<QPair<const char *, QVariant>> values = {
        {"m_dSizeW", 11.0},      {"m_dSizeH", 12.0},      {"m_dPositionX", 13.0},
        {"m_dPositionY", 14.0},  {"m_dOriginRatioX", 0.1}, {"m_dOriginRatioY", 0.2},
        {"m_dOriginZ", 3.0},     {"m_dTranslateZ", 4.0},  {"m_dOpacity", 0.5},
        {"m_dRotateX", 5.0},     {"m_dRotateY", 6.0},     {"m_dRotateZ", 7.0},
        {"m_dScaleX", 1.1},      {"m_dScaleY", 1.2},      {"m_dScaleZ", 1.3},
        {"m_dSkewX", 8.0},       {"m_dSkewY", 9.0},       {"m_nDisplay", 0},
        {"m_strClassName", QStringLiteral("c")},           {"m_nFontSize", 30},
        {"m_strInnerHtml", QStringLiteral("<b>x</b>")},    {"m_dLineHeight", 1.5},
        {"m_nTextIndent", 2},    {"m_nLetterSpace", 3},   {"m_nWordSpace", 4},
        {"m_clForeground", QColor(1, 2, 3)},               {"m_clHighlight", QColor(4, 5, 6, 7)},
    };
    for (const auto &value : values) {
        QVERIFY2(pText->setProperty(value.first, value.second), value.first);
        QCOMPARE(pText->QObject::property(value.first), value.second);
    }
    QVERIFY(pText->setProperty("m_ptTranslateXY", QPointF(21, 22)));
    QCOMPARE(pText->translateX(layout), 21.0);
    QCOMPARE(pText->QObject::property("m_dTranslateY").toDouble(), 22.0);

    // Stored values in their own units, at the current layout only.
    QCOMPARE(pText->sizeW(layout), 11.0);
    QCOMPARE(pText->sizeW(KVLayoutKey::base()), 200.0);
    QCOMPARE(pText->fontSize(KVLayoutKey::base()), 18);
}

void tst_Elements::inheritFlags()
{
    KVElementProperty property;
    QVERIFY(property.isInherited(14));
    QCOMPARE(property.setInherited(14, false), true);
    QCOMPARE(property.setInherited(14, false), false);
    QVERIFY(!property.isInherited(14));
    QCOMPARE(property.setInherited(14, true), false);
    QVERIFY(property.isInherited(14));
    QVERIFY(property.inheritFlags().isEmpty());

    property.setInheritFlag(5, true); // raw form, as undo stores it
    QVERIFY(property.isInherited(5));
    property.setInherited(7, false);
    const QMap<int, bool> old = property.takeInheritFlags(false);
    QCOMPARE(old, (QMap<int, bool>{{5, true}, {7, false}}));
    QCOMPARE(property.inheritFlags().size(), 97);
    QVERIFY(!property.isInherited(0) && !property.isInherited(96));
    property.takeInheritFlags(true);
    QVERIFY(property.inheritFlags().isEmpty());
}

void tst_Elements::playerTransform_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("expected"); // compact JSON of "t", or empty for no key

    QTest::newRow("default") << "" << "";
    QTest::newRow("rotate z 45") << "rz=45" << "[[0,0,45]]";
    QTest::newRow("translation") << "tx=10" << "[[],[],[],[10,0,0]]";
    QTest::newRow("scale") << "sx=1.5" << "[[],[150,100,100]]";
    QTest::newRow("skew") << "kx=5" << "[[],[],[5,0]]";
    QTest::newRow("origin") << "ox=0" << "[[],[],[],[],[0,50,0]]";
    QTest::newRow("rotate and origin z") << "ry=30,oz=8" << "[[0,30,0],[],[],[],[50,50,8]]";
}

void tst_Elements::playerTransform()
{
    QFETCH(QString, setting);
    QFETCH(QString, expected);

    KVElementProperty property;
    for (const QString &strPart : setting.split(',', Qt::SkipEmptyParts)) {
        const QString strKey = strPart.section('=', 0, 0);
        const double d = strPart.section('=', 1).toDouble();
        if (strKey == "rz") property.setRotateZ(d);
        if (strKey == "ry") property.setRotateY(d);
        if (strKey == "tx") property.setTranslateX(d);
        if (strKey == "sx") property.setScaleX(d);
        if (strKey == "kx") property.setSkewX(d);
        if (strKey == "ox") property.setOriginRatioX(d);
        if (strKey == "oz") property.setOriginZ(d);
    }
    QJsonArray reset;
    QJsonObject jo;
    property.toPlayerJson(reset, jo, false, false);
    if (expected.isEmpty()) {
        QVERIFY(!jo.contains("t"));
    } else {
        QCOMPARE(QString::fromUtf8(QJsonDocument(jo.value("t").toArray()).toJson(QJsonDocument::Compact)),
                 expected);
    }
    QVERIFY(reset.isEmpty());
}

void tst_Elements::playerValues_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("written"); // invalid: the key is not written

    QTest::newRow("opacity 0.995") << "opacity" << QVariant(0.995) << "o" << QVariant();
    QTest::newRow("opacity 0.5") << "opacity" << QVariant(0.5) << "o" << QVariant(50.0);
    QTest::newRow("opacity 0.07") << "opacity" << QVariant(0.07) << "o" << QVariant(7.0);
    QTest::newRow("overflow 0") << "overflow" << QVariant(0) << "of" << QVariant();
    QTest::newRow("overflow 2") << "overflow" << QVariant(2) << "of" << QVariant(2);
    QTest::newRow("shown") << "display" << QVariant(1) << "d" << QVariant();
    QTest::newRow("hidden") << "display" << QVariant(0) << "d" << QVariant(0);
    QTest::newRow("class") << "className" << QVariant("hero") << "cl" << QVariant("hero");
    QTest::newRow("no class") << "className" << QVariant("") << "cl" << QVariant();
    QTest::newRow("tab -2") << "tabIndex" << QVariant(-2) << "tb" << QVariant();
    QTest::newRow("tab -1") << "tabIndex" << QVariant(-1) << "tb" << QVariant(-1);
    QTest::newRow("tab 4") << "tabIndex" << QVariant(4) << "tb" << QVariant(4);
    QTest::newRow("cursor auto") << "cursor" << QVariant("auto") << "c" << QVariant();
    QTest::newRow("cursor pointer") << "cursor" << QVariant("pointer") << "c" << QVariant("pointer");
    QTest::newRow("no title") << "title" << QVariant("") << "tl" << QVariant();
    QTest::newRow("title") << "title" << QVariant("Hi") << "tl" << QVariant("Hi");
}

void tst_Elements::playerValues()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(QString, key);
    QFETCH(QVariant, written);

    KVElementProperty property;
    if (field == "opacity") property.setOpacity(value.toDouble());
    if (field == "overflow") property.setOverflow(value.toInt());
    if (field == "display") property.setDisplay(value.toInt());
    if (field == "className") property.setClassName(value.toString());
    if (field == "tabIndex") property.setTabIndex(value.toInt());
    if (field == "cursor") property.setCursor(value.toString());
    if (field == "title") property.setTitle(value.toString());

    QJsonArray reset;
    QJsonObject jo;
    property.toPlayerJson(reset, jo, false, false);
    QCOMPARE(jo.contains(key), written.isValid());
    if (written.isValid())
        QCOMPARE(jo.value(key).toVariant(), written);
    QVERIFY(reset.isEmpty());

    // The canvas never gets tab index or title; it shows the cursor.
    QJsonObject joCanvas;
    property.toPlayerJson(reset, joCanvas, true, false);
    if (key == "tb" || key == "tl")
        QVERIFY(!joCanvas.contains(key));
    else
        QCOMPARE(joCanvas.value(key), jo.value(key));

    // Overridden at a responsive layout, a default value goes to the reset list instead.
    static const QMap<QString, int> codes = {{"o", 14}, {"of", 41}, {"d", 15}, {"cl", 59},
                                             {"tb", 44}, {"c", 42}, {"tl", 43}};
    property.setInherited(codes.value(key), false);
    QJsonObject joResponsive;
    property.toPlayerJson(reset, joResponsive, false, true);
    QCOMPARE(joResponsive.keys(), written.isValid() ? QStringList{key} : QStringList());
    QCOMPARE(reset, written.isValid() ? QJsonArray() : QJsonArray{key});
}

void tst_Elements::canvasFormShowsOneLayout()
{
    auto pStage = makeStage(800, 600);
    KVElement *pDiv = make(5, "Box");
    pStage->addElement(pDiv);
    pDiv->setSelected(true);
    pDiv->setLocked(true);
    pDiv->setUnitX(1);
    pDiv->setPositionX(0.5);
    pDiv->setUnitW(2);
    pDiv->setSizeW(1.5);
    pDiv->setTitle("never on the canvas");
    const KVLayoutKey layout(1, 0);
    pDiv->addProperty(pDiv->property()->clone(), layout);
    pDiv->setOpacity(0.25, layout);

    QJsonObject jo = canvasJson(*pDiv);
    QCOMPARE(jo.value("id").toInt(), pDiv->id());
    QCOMPARE(jo.value("n").toString(), QStringLiteral("Box"));
    QCOMPARE(jo.value("k").toInt(), 5);
    QCOMPARE(jo.value("selected").toBool(), true);
    QCOMPARE(jo.value("locked").toBool(), true);
    QCOMPARE(jo.value("visible").toBool(), true);
    QCOMPARE(jo.value("aspectRatioLocked").toBool(), false);
    QCOMPARE(jo.value("r").toArray(), (QJsonArray{"50%", 300, "150a", 128, 0}));
    QVERIFY(!jo.contains("o") && !jo.contains("tl") && !jo.contains("rp") && !jo.contains("elems"));

    // The layout being shown, or the one asked for.
    pStage->setCurrentLayout(layout);
    QCOMPARE(canvasJson(*pDiv).value("o").toDouble(), 25.0);
    QJsonObject joBase;
    pDiv->toPlayerJson(joBase, true, KVLayoutKey::base());
    QVERIFY(!joBase.contains("o"));

    // The stage writes its children under "elems".
    const QJsonObject joStage = canvasJson(*pStage);
    QCOMPARE(joStage.value("elems").toArray().size(), 1);
    QCOMPARE(joStage.value("elems").toArray().at(0).toObject().value("n").toString(),
             QStringLiteral("Box"));
}

void tst_Elements::exportFormResponsiveLayouts()
{
    std::unique_ptr<KVElement> pGroup(make(6, "G"));
    pGroup->setId(4);
    pGroup->setOpacity(0.5);
    pGroup->setInherited(14, false); // the base never overrides: dropped on export

    const KVLayoutKey opacityBack(2, 0);
    pGroup->addProperty(pGroup->property()->clone(), opacityBack);
    pGroup->property(opacityBack)->takeInheritFlags(true);
    pGroup->setOpacity(1.0, opacityBack);
    pGroup->setInherited(14, false, opacityBack);

    const KVLayoutKey moved(1, 3);
    pGroup->addProperty(new KVElementProperty, moved);
    pGroup->setRotateZ(45, moved);
    pGroup->setInherited(11, false, moved);
    pGroup->setInherited(0, false, moved);

    const KVLayoutKey nothing(3, 3);
    pGroup->addProperty(new KVElementProperty, nothing);
    pGroup->setRotateZ(45, nothing); // not overridden: not written

    pGroup->insert(new KVEventListener(100, 1));

    const QJsonObject jo = exportJson(*pGroup);
    QVERIFY(!jo.contains("selected") && !jo.contains("r"));
    // Handlers go to the player, not to the canvas.
    QCOMPARE(jo.value("e").toArray().size(), 1);
    QVERIFY(!canvasJson(*pGroup).contains("e"));
    const QJsonArray rp = jo.value("rp").toArray();
    QCOMPARE(rp.size(), 3); // the layout without overrides came out empty
    QCOMPARE(rp.at(0).toArray().at(0).toInt(), 0);
    QCOMPARE(rp.at(1).toArray().at(0).toInt(), 1);
    QCOMPARE(rp.at(2).toArray().at(0).toInt(), 2);
    QVERIFY(pGroup->property(KVLayoutKey::base())->inheritFlags().isEmpty());

    const QJsonObject joBase = exportLayout(jo, KVLayoutKey::base());
    QCOMPARE(joBase.value("o").toDouble(), 50.0);
    QVERIFY(joBase.contains("r") && joBase.contains("f") && joBase.contains("fe"));
    QVERIFY(!joBase.contains("or"));

    QCOMPARE(exportLayout(jo, opacityBack), (QJsonObject{{"or", QJsonArray{"o"}}}));

    const QJsonObject joMoved = exportLayout(jo, moved);
    QCOMPARE(joMoved.keys(), (QStringList{"r", "t"}));
    QCOMPARE(joMoved.value("t").toArray(), (QJsonArray{QJsonArray{0, 0, 45}}));

    // A layout that overrides the transform back to its default resets "t".
    pGroup->setRotateZ(0, moved);
    QCOMPARE(exportLayout(exportJson(*pGroup), moved).value("or").toArray(), QJsonArray{"t"});
}

void tst_Elements::projectRoundTripDeepTree()
{
    FakeContext context;
    std::unique_ptr<KVElement> pRoot(make(6, "Root"));
    pRoot->setId(1);
    const QList<int> types = {4, 5, 6, 9, 11};
    KVElement *pParent = pRoot.get();
    int nSeed = 0;
    for (int nType : types) {
        KVElement *pElement = make(nType, QStringLiteral("E%1").arg(nType));
        pElement->setId(10 + nType);
        pElement->setLocked(true);
        pElement->setVisible(false);
        pElement->setAspectRatioLocked(true);
        pElement->setKeyframeExpanded(false);
        pElement->setTimelineExpanded(false);
        pElement->setElementPaneExpanded(false);
        pElement->insert(new KVEventListener(101, 1));
        pElement->addProperty(KVElementFactory::createProperty(nType), KVLayoutKey(1, 2));
        pElement->addProperty(KVElementFactory::createProperty(nType), KVLayoutKey(-3, 0));
        for (const KVLayoutKey &key : pElement->properties().keys())
            fillNonDefaults(*pElement, key, ++nSeed);
        pElement->setInherited(4, false, KVLayoutKey(1, 2));
        pElement->setInherited(96, false, KVLayoutKey(1, 2));
        pElement->setInherited(0, false, KVLayoutKey(-3, 0));
        pParent->insertChild(pElement, -1);
        pParent->insertChild(make(5, QStringLiteral("Sibling%1").arg(nType)), -1);
        pParent = pElement; // each kind nests the next
    }
    const QJsonObject joFirst = projectJson(*pRoot);

    // Through text, as a file would go.
    const QJsonObject joRead = QJsonDocument::fromJson(QJsonDocument(joFirst).toJson()).object();
    std::unique_ptr<KVElement> pRead(make(6));
    QVERIFY(pRead->fromJson(joRead, &context));
    QCOMPARE(projectJson(*pRead), joFirst);

    // A few values checked directly, not only through the writer.
    KVElement *pText = pRead->children().at(0);
    QCOMPARE(pText->type(), 4);
    QCOMPARE(pText->name(), QStringLiteral("E4"));
    QVERIFY(pText->isLocked() && !pText->isVisible() && !pText->isTimelineExpanded());
    QCOMPARE(pText->properties().keys(),
             (QList<KVLayoutKey>{KVLayoutKey(-3, 0), KVLayoutKey::base(), KVLayoutKey(1, 2)}));
    QCOMPARE(pText->rotateZ(KVLayoutKey(1, 2)), 90.0 + 3);
    QCOMPARE(pText->background(KVLayoutKey(1, 2))->radialOriginY(), 0.7);
    QCOMPARE(pText->property(KVLayoutKey(1, 2))->inheritFlags(),
             (QMap<int, bool>{{4, false}, {96, false}}));
    QCOMPARE(pText->count(), 1);
    QCOMPARE(pText->at(0)->event(), 101);
    QCOMPARE(pText->children().size(), 2);
    const KVElement *pDeepest = pText->children().at(0)->children().at(0)->children().at(0)->children().at(0);
    QCOMPARE(pDeepest->type(), 11);
    QCOMPARE(pDeepest->parent()->type(), 9);
}

void tst_Elements::readerDefaults()
{
    // Every key missing: the reader's defaults, which differ from a new object's in places.
    KVElementProperty property;
    property.setSizeW(1);
    property.setOpacity(0.1);
    property.setInherited(3, false);
    property.fromJson(QJsonObject(), nullptr);
    QCOMPARE(property.positionX(), 0.0);
    QCOMPARE(property.positionY(), 0.0);
    QCOMPARE(property.sizeW(), 100.0);
    QCOMPARE(property.sizeH(), 50.0);
    QCOMPARE(property.unitW() + property.unitH() + property.unitX() + property.unitY(), 0);
    QCOMPARE(property.coordinateType(), 0);
    QCOMPARE(property.opacity(), 1.0);
    QCOMPARE(property.originRatioX(), 0.5);
    QCOMPARE(property.originRatioY(), 0.5);
    QCOMPARE(property.originZ(), 0.0);
    QCOMPARE(property.scaleX(), 1.0);
    QCOMPARE(property.scaleZ(), 1.0);
    QCOMPARE(property.rotateZ(), 0.0);
    QCOMPARE(property.overflow(), 0);
    QCOMPARE(property.display(), 1);
    QCOMPARE(property.tabIndex(), -2);
    QCOMPARE(property.cursor(), QStringLiteral("auto"));
    QCOMPARE(property.title(), QString());
    QCOMPARE(property.className(), QString());
    QVERIFY(property.inheritFlags().isEmpty());
    QCOMPARE(property.border()->width(), 0);
    QCOMPARE(property.background()->fillStyle(), 1);

    std::unique_ptr<KVElement> pElement(make(6));
    pElement->setLocked(true);
    QVERIFY(pElement->fromJson(QJsonObject()));
    QCOMPARE(pElement->id(), -1);
    QCOMPARE(pElement->name(), QString());
    QVERIFY(pElement->isVisible() && !pElement->isLocked() && pElement->isKeyframeExpanded());
    QCOMPARE(pElement->properties().keys(), QList<KVLayoutKey>{KVLayoutKey::base()});
    QCOMPARE(pElement->sizeW(), 100.0);
    QVERIFY(pElement->children().isEmpty());
}

void tst_Elements::legacyElementWithoutLayouts()
{
    const QJsonObject jo = QJsonDocument::fromJson(R"({
        "type": 6, "id": 3, "name": "Old",
        "path": {"l": 10, "t": 20, "w": 30, "h": 40, "unitX": 1},
        "opacity": 0.5,
        "transform2d": {"rotate": 30, "scaleX": 2, "originX": 0},
        "border": {"style": 1, "width": 2},
        "children": [
            {"type": 4, "name": "T", "text": {"html": "hi", "fontSize": 30},
             "transform": {"rotate": 5, "rotateZ": 15},
             "transform2d": {"rotate": 99}}
        ]})").object();
    std::unique_ptr<KVElement> pElement(make(6));
    QVERIFY(pElement->fromJson(jo));
    QCOMPARE(pElement->properties().keys(), QList<KVLayoutKey>{KVLayoutKey::base()});
    QCOMPARE(pElement->positionX(), 10.0);
    QCOMPARE(pElement->unitX(), 1);
    QCOMPARE(pElement->sizeH(), 40.0);
    QCOMPARE(pElement->opacity(), 0.5);
    QCOMPARE(pElement->rotateZ(), 30.0);
    QCOMPARE(pElement->scaleX(), 2.0);
    QCOMPARE(pElement->originRatioX(), 0.0);
    QCOMPARE(pElement->originRatioY(), 0.5);
    QCOMPARE(pElement->border()->width(), 2);

    QCOMPARE(pElement->children().size(), 1);
    auto *pText = qobject_cast<KVText *>(pElement->children().at(0));
    QVERIFY(pText);
    QCOMPARE(pText->innerHtml(), QStringLiteral("hi"));
    QCOMPARE(pText->fontSize(), 30);
    // "transform" wins over "transform2d", and "rotateZ" over "rotate".
    QCOMPARE(pText->rotateZ(), 15.0);

    // Written back, the element has the layout form.
    const QJsonObject joOut = projectJson(*pElement);
    QCOMPARE(joOut.value("respProps").toArray().size(), 1);
    QVERIFY(!joOut.contains("path"));
}

void tst_Elements::badInputLosesNothing()
{
    const QJsonObject jo = QJsonDocument::fromJson(R"({
        "type": 6, "id": "seven", "name": 12, "isVisible": "no", "isLocked": 1,
        "respProps": [
            {"hLayoutId": 0, "vLayoutId": 0, "values": {"opacity": "half", "display": 0,
                "path": {"w": "wide", "h": 60}, "inherit": [14, "x", 200, -3, 4.0]}},
            "not an entry",
            {"hLayoutId": 2, "values": {"opacity": 0.5}}
        ],
        "events": {"not": "an array"},
        "children": [
            {"type": 8, "name": "scene inside"},
            {"type": 10},
            {"type": 99},
            {"type": -1},
            {"name": "no type"},
            {"type": 9, "name": "Shape"},
            "not an object"
        ]})").object();
    std::unique_ptr<KVElement> pElement(make(6));
    QVERIFY(pElement->fromJson(jo));
    QCOMPARE(pElement->id(), -1);
    QCOMPARE(pElement->name(), QString());
    QVERIFY(pElement->isVisible());
    QVERIFY(!pElement->isLocked());
    QCOMPARE(pElement->properties().keys(), (QList<KVLayoutKey>{KVLayoutKey::base(), KVLayoutKey(2, 0)}));
    QCOMPARE(pElement->opacity(), 1.0);
    QCOMPARE(pElement->display(), 0);
    QCOMPARE(pElement->sizeW(), 100.0);
    QCOMPARE(pElement->sizeH(), 60.0);
    QCOMPARE(pElement->property()->inheritFlags(), (QMap<int, bool>{{4, false}, {14, false}}));
    QCOMPARE(pElement->opacity(KVLayoutKey(2, 0)), 0.5);
    QVERIFY(pElement->isEmpty()); // no handlers: "events" was no array

    // Children of kinds that make nothing, and entries that are no objects, are skipped; one
    // without a type is a rectangle.
    QCOMPARE(pElement->children().size(), 2);
    QCOMPARE(pElement->children().at(0)->type(), 5);
    QCOMPARE(pElement->children().at(0)->name(), QStringLiteral("no type"));
    QCOMPARE(pElement->children().at(1)->type(), 9);
}

void tst_Elements::uses3DAndMedia()
{
    std::unique_ptr<KVElement> pGroup(make(6));
    KVElement *pChild = make(5);
    pGroup->insertChild(pChild, -1);
    QVERIFY(!pGroup->uses3D());
    pChild->addProperty(new KVElementProperty, KVLayoutKey(1, 0));
    pChild->setScaleZ(1.5, KVLayoutKey(1, 0));
    QVERIFY(pGroup->uses3D());
    pChild->setScaleZ(1.0, KVLayoutKey(1, 0));
    pChild->setRotateY(10);
    QVERIFY(pGroup->uses3D());
    pChild->setRotateY(0);
    pChild->setTranslateZ(-1);
    QVERIFY(pChild->uses3D());
    pChild->setTranslateZ(0);
    pChild->setRotateZ(80); // a 2D rotation
    QVERIFY(!pGroup->uses3D());

    int nAudio = 0;
    int nVideo = 0;
    pGroup->countMedia(nAudio, nVideo);
    QCOMPARE(nAudio + nVideo, 0);
}

void tst_Elements::resourcesOfTheTree()
{
    FakeContext context;
    const QJsonObject joFill{{"fillStyle", 3}, {"imageResourceId", 4}};
    const QJsonObject jo{
        {"type", 6},
        {"respProps", QJsonArray{QJsonObject{{"values", QJsonObject{{"background", joFill}}}}}},
        {"children",
         QJsonArray{QJsonObject{
             {"type", 5},
             {"respProps",
              QJsonArray{QJsonObject{{"values", QJsonObject{{"background",
                                                             QJsonObject{{"fillStyle", 3},
                                                                         {"imageResourceId", 6}}}}}}}}}}}};
    {
        std::unique_ptr<KVElement> pElement(make(6));
        pElement->fromJson(jo, &context);
        QSet<int> ids;
        pElement->collectResources(ids);
        QCOMPARE(ids, (QSet<int>{4, 6}));
        const QMap<int, int> held = context.images.counts;

        // Leaving the document gives every count back; coming back takes them once.
        pElement->releaseResources();
        QCOMPARE(context.images.counts.value(4), held.value(4) - 1);
        QCOMPARE(context.images.counts.value(6), held.value(6) - 1);
        pElement->retainResources();
        pElement->retainResources();
        QCOMPARE(context.images.counts, held);

        pElement->replaceResources({{6, 7}});
        ids.clear();
        pElement->collectResources(ids);
        QCOMPARE(ids, (QSet<int>{4, 7}));

        // The player fill array carries the image and its size.
        const QJsonObject joCanvas = canvasJson(*pElement);
        QCOMPARE(joCanvas.value("f").toArray(), (QJsonArray{3, 4, 0, 64, 32}));
    }
    // Deleting the tree gave back whatever it still held.
    for (int nCount : qAsConst(context.images.counts))
        QCOMPARE(nCount, 0);
}

KAVIO_TEST_MAIN(tst_Elements)
#include "tst_elements.moc"
