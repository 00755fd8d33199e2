// Grouping elements: making a group, dissolving it, adding siblings to a group and taking elements
// out. Elements keep their boxes on the page in every layout whatever their units and anchoring,
// undo gives back the project form exactly, and redo repeats the first run.

#include "KVCommandTestKit.h"

#include "commands/KVElementCommandAction.h"
#include "commands/KVElementTreeOperation.h"
#include "commands/KVGroupOperation.h"
#include "model/KVBreakpointSet.h"

#include <QRectF>
#include <QtTest>

#include "KVTestMain.h"

namespace {

const KVLayoutKey kBase = KVLayoutKey::base();
const KVLayoutKey kNarrow(1, 0);

// How an element keeps its geometry: units and the corner its coordinate type anchors.
enum Style { Pixels = 0, Percent = 1, RightBottom = 2, PercentFromBottomRightAutoHeight = 3 };

// The page box of an element (its ancestors' offsets added), from the model's own values.
QRectF pageBox(const KVElement *p, const KVLayoutKey &l)
{
    double dX = 0.0;
    double dY = 0.0;
    for (const KVElement *q = p; q && q->parent(); q = q->parent()) {
        const int nType = q->coordinateType(l);
        const bool bRight = nType == 1 || nType == 2;
        const bool bBottom = nType == 2 || nType == 3;
        dX += bRight ? q->parentWidth(l) - q->leftPixels(l) - q->widthPixels(l) : q->leftPixels(l);
        dY += bBottom ? q->parentHeight(l) - q->topPixels(l) - q->heightPixels(l) : q->topPixels(l);
    }
    return QRectF(dX, dY, p->widthPixels(l), p->heightPixels(l));
}

bool near(const QRectF &a, const QRectF &b)
{
    return std::fabs(a.x() - b.x()) < 1e-6 && std::fabs(a.y() - b.y()) < 1e-6
        && std::fabs(a.width() - b.width()) < 1e-6 && std::fabs(a.height() - b.height()) < 1e-6;
}

QString text(const QRectF &r)
{
    return QStringLiteral("(%1, %2, %3 x %4)").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The command fixture with a breakpoint: the scene is 800 x 600 in the base layout and 400 x 600
// in the narrow one (1, 0).
struct GroupFixture : KVCommandFixture
{
    KVBreakpointSet *pSet = nullptr;

    GroupFixture()
    {
        pSet = t.project.breakpoints();
        pSet->addHBreakpoint(400);
        pSet->setResponsiveMode(true);
        for (KVScene *p : t.list.scenes())
            p->syncLayouts(pSet->layouts(), true, kBase);
        for (const KVLayoutKey &l : {kBase, kNarrow}) {
            pScene->setSizeW(l.isBase() ? 800 : 400, l);
            pScene->setSizeH(600, l);
        }
        t.list.setSceneSelected(pScene, true);
    }

    // Stores a pixel box in the element's form of the style at a layout of a scene-level element.
    void place(KVElement *p, int nStyle, const QRectF &box, const KVLayoutKey &l, bool bOverride)
    {
        const double dW = pScene->widthPixels(l);
        const double dH = pScene->heightPixels(l);
        const bool bPercent = nStyle == Percent || nStyle == PercentFromBottomRightAutoHeight;
        const bool bFar = nStyle == RightBottom || nStyle == PercentFromBottomRightAutoHeight;
        p->setCoordinateType(bFar ? 2 : 0, l);
        p->setUnitX(bPercent ? 1 : 0, l);
        p->setUnitY(bPercent ? 1 : 0, l);
        p->setUnitW(bPercent ? 1 : 0, l);
        p->setUnitH(nStyle == PercentFromBottomRightAutoHeight ? 2 : (bPercent ? 1 : 0), l);
        const double dX = bFar ? dW - box.x() - box.width() : box.x();
        const double dY = bFar ? dH - box.y() - box.height() : box.y();
        p->setPositionX(bPercent ? dX / dW : dX, l);
        p->setPositionY(bPercent ? dY / dH : dY, l);
        p->setSizeW(bPercent ? box.width() / dW : box.width(), l);
        if (nStyle == PercentFromBottomRightAutoHeight)
            p->setSizeH(box.width() / box.height(), l);
        else
            p->setSizeH(bPercent ? box.height() / dH : box.height(), l);
        if (bOverride) {
            for (int nCode : {0, 2, 4, 5, 40})
                p->setInherited(nCode, false, l);
        }
    }
};

using Boxes = QMap<KVLayoutKey, QRectF>;

QHash<const KVElement *, Boxes> boxesOf(const QList<KVElement *> &elements)
{
    QHash<const KVElement *, Boxes> out;
    for (const KVElement *p : elements) {
        for (const KVLayoutKey &l : {kBase, kNarrow})
            out[p].insert(l, pageBox(p, l));
    }
    return out;
}

void compareBoxes(const QList<KVElement *> &elements, const QHash<const KVElement *, Boxes> &before)
{
    for (const KVElement *p : elements) {
        for (const KVLayoutKey &l : {kBase, kNarrow}) {
            const QRectF now = pageBox(p, l);
            const QRectF then = before.value(p).value(l);
            QVERIFY2(near(now, then), qPrintable(QStringLiteral("%1 at (%2, %3): %4, was %5")
                                                     .arg(p->name()).arg(l.nHLayoutId).arg(l.nVLayoutId)
                                                     .arg(text(now), text(then))));
        }
    }
}

// A layout keeps its own value wherever it differs from the base layout's.
void checkOverrides(const KVElement *p)
{
    for (int nCode : {0, 2, 4, 5}) {
        const double dBase = KVElementCommandAction::geometryValue(p, nCode, kBase).toDouble();
        const double dNarrow = KVElementCommandAction::geometryValue(p, nCode, kNarrow).toDouble();
        if (std::fabs(dBase - dNarrow) > 1e-9)
            QVERIFY2(!p->isInherited(nCode, kNarrow), qPrintable(QStringLiteral("%1 code %2").arg(p->name()).arg(nCode)));
    }
}

QList<KVElement *> scenePart(const KVScene *pScene, int nFrom, int nCount)
{
    return pScene->children().mid(nFrom, nCount);
}

} // namespace

class TestGroupOperation : public QObject
{
    Q_OBJECT

private slots:
    void groupAndUngroup_data();
    void groupAndUngroup();
    void addAndRemove_data();
    void addAndRemove();
    void predicates_data();
    void predicates();
    void nothingToDo();
    void groupNames();
    void ungroupTakesTheGroupsAnimations();
    void animatedPositionsFollow_data();
    void animatedPositionsFollow();
    void groupInsideAGroup();
    void treeMoves_data();
    void treeMoves();
};

void TestGroupOperation::groupAndUngroup_data()
{
    QTest::addColumn<QList<int>>("styles");
    QTest::addColumn<bool>("lastInherits");
    QTest::newRow("pixels") << QList<int>{Pixels, Pixels, Pixels} << false;
    QTest::newRow("percent") << QList<int>{Percent, Percent, Percent} << false;
    QTest::newRow("right and bottom") << QList<int>{RightBottom, RightBottom, RightBottom} << false;
    QTest::newRow("mixed units and anchors")
        << QList<int>{Pixels, Percent, PercentFromBottomRightAutoHeight} << false;
    QTest::newRow("narrow layout inherits") << QList<int>{Pixels, RightBottom, Pixels} << true;
}

void TestGroupOperation::groupAndUngroup()
{
    QFETCH(QList<int>, styles);
    QFETCH(bool, lastInherits);
    GroupFixture f;
    const QList<QRectF> base{{100, 50, 200, 100}, {400, 300, 150, 120}, {250, 500, 50, 40}};
    const QList<QRectF> narrow{{20, 30, 100, 60}, {200, 100, 80, 80}, {50, 400, 120, 40}};
    QList<KVElement *> elements;
    for (int i = 0; i < 3; ++i) {
        KVElement *p = KVElementFactory::createElement(5);
        f.pScene->addElement(p);
        p->syncLayouts(f.pSet->layouts(), true, kBase);
        const bool bInherits = lastInherits && i == 2;
        f.place(p, styles.at(i), base.at(i), kBase, false);
        f.place(p, styles.at(i), bInherits ? base.at(i) : narrow.at(i), kNarrow, !bInherits);
        p->setSelected(true);
        elements.append(p);
    }
    // The elements stand at indices 3 to 5 above A, B and the fixture's group.
    const auto before = boxesOf(elements);
    const QString strForm0 = f.form();

    KVCommand *pCommand = KVGroupOperation::group(&f.t, {elements.at(2), elements.at(0), elements.at(1)});
    QVERIFY(pCommand);
    QCOMPARE(pCommand->text(), QStringLiteral("Group"));
    QVERIFY(KVCommand::push(pCommand));

    QCOMPARE(f.pScene->children().size(), 4);
    KVElement *pGroup = f.pScene->children().at(3);
    QCOMPARE(pGroup->type(), 6);
    QCOMPARE(pGroup->children(), elements);
    for (const KVLayoutKey &l : {kBase, kNarrow}) {
        QRectF united;
        for (const KVElement *p : elements) {
            const QRectF box = before.value(p).value(l);
            united = united.isNull() ? box : united.united(box);
        }
        QVERIFY2(near(pageBox(pGroup, l), united), qPrintable(text(pageBox(pGroup, l)) + " vs " + text(united)));
    }
    compareBoxes(elements, before);
    for (int i = 0; i < 3; ++i) {
        const KVElement *p = elements.at(i);
        const bool bPercent = styles.at(i) == Percent || styles.at(i) == PercentFromBottomRightAutoHeight;
        QCOMPARE(p->unitX(kNarrow), bPercent ? 1 : 0);
        QCOMPARE(p->unitW(kBase), bPercent ? 1 : 0);
        QCOMPARE(p->coordinateType(kBase), styles.at(i) == Pixels || styles.at(i) == Percent ? 0 : 2);
        checkOverrides(p);
        QVERIFY(!p->isSelected());
    }
    checkOverrides(pGroup);
    QVERIFY(pGroup->isSelected());
    // The track on A stays A's; the group has none.
    QCOMPARE(f.pTimeline->findAnimation(f.pA, kBase), f.pAnimation);
    QVERIFY(!f.pTimeline->findAnimation(pGroup, kBase));

    const QString strForm1 = f.form();
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm0);
    compareBoxes(elements, before);
    f.t.stack.redo();
    QCOMPARE(f.form(), strForm1);
    QCOMPARE(f.pScene->children().at(3), pGroup);

    KVCommand *pUngroup = KVGroupOperation::ungroup(&f.t, pGroup);
    QVERIFY(pUngroup);
    QCOMPARE(pUngroup->text(), QStringLiteral("Ungroup"));
    QVERIFY(KVCommand::push(pUngroup));
    QCOMPARE(scenePart(f.pScene, 3, 10), elements);
    QVERIFY(!pGroup->parent());
    compareBoxes(elements, before);
    for (const KVElement *p : elements) {
        QVERIFY(p->isSelected());
        checkOverrides(p);
    }
    const QString strForm2 = f.form();
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm1);
    f.t.stack.redo();
    QCOMPARE(f.form(), strForm2);
    f.t.stack.undo();
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm0);
}

void TestGroupOperation::addAndRemove_data()
{
    QTest::addColumn<bool>("percentChild");
    QTest::addColumn<bool>("anchoredGroup");
    QTest::newRow("pixel child, pixel group") << false << false;
    QTest::newRow("percent child") << true << false;
    QTest::newRow("group anchored right and bottom") << true << true;
}

// The fixture's group G holds C; A is added to it, then taken out again.
void TestGroupOperation::addAndRemove()
{
    QFETCH(bool, percentChild);
    QFETCH(bool, anchoredGroup);
    GroupFixture f;
    KVElement *pG = f.pGroup;
    for (const KVLayoutKey &l : {kBase, kNarrow}) {
        pG->setPositionX(l.isBase() ? 300 : 120, l);
        pG->setPositionY(200, l);
        pG->setSizeW(200, l);
        pG->setSizeH(100, l);
        if (anchoredGroup)
            pG->setCoordinateType(2, l);
        if (percentChild) {
            f.pC->setUnitW(1, l);
            f.pC->setSizeW(0.5, l);
            f.pC->setUnitX(1, l);
            f.pC->setPositionX(0.25, l);
        }
        f.pA->setPositionX(l.isBase() ? 10 : 5, l);
        if (!l.isBase())
            f.pA->setInherited(0, false, l);
    }
    const QList<KVElement *> watched{f.pA, f.pC};
    const auto before = boxesOf(watched);
    const auto groupBefore = boxesOf({pG});
    const QString strForm0 = f.form();

    QVERIFY(KVGroupOperation::canAddToGroup({pG, f.pA}));
    QCOMPARE(KVGroupOperation::groupToAddTo({f.pA, pG}), pG);
    KVCommand *pAdd = KVGroupOperation::addToGroup(&f.t, pG, {f.pA});
    QVERIFY(pAdd);
    QCOMPARE(pAdd->text(), QStringLiteral("Add To Group"));
    QVERIFY(KVCommand::push(pAdd));
    QCOMPARE(pG->children(), (QList<KVElement *>{f.pC, f.pA}));
    compareBoxes(watched, before);
    for (const KVLayoutKey &l : {kBase, kNarrow}) {
        // The group grows to hold A as well; C already stuck out of it.
        const QRectF united = groupBefore.value(pG).value(l).united(before.value(f.pA).value(l));
        QVERIFY2(near(pageBox(pG, l), united), qPrintable(text(pageBox(pG, l)) + " vs " + text(united)));
    }
    checkOverrides(pG);
    checkOverrides(f.pA);
    QCOMPARE(f.pTimeline->findAnimation(f.pA, kBase), f.pAnimation);
    const QString strForm1 = f.form();
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm0);
    f.t.stack.redo();
    QCOMPARE(f.form(), strForm1);

    // Out again: A lands just in front of the group, where it shows as before.
    QVERIFY(KVGroupOperation::canRemoveFromGroup({f.pA}));
    KVCommand *pRemove = KVGroupOperation::removeFromGroup(&f.t, {f.pA});
    QVERIFY(pRemove);
    QCOMPARE(pRemove->text(), QStringLiteral("Remove From Group"));
    QVERIFY(KVCommand::push(pRemove));
    const int nG = f.pScene->children().indexOf(pG);
    QCOMPARE(f.pScene->children().value(nG + 1), f.pA);
    QCOMPARE(pG->children(), QList<KVElement *>{f.pC});
    compareBoxes(watched, before);
    const QString strForm2 = f.form();
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm1);
    f.t.stack.redo();
    QCOMPARE(f.form(), strForm2);
}

void TestGroupOperation::predicates_data()
{
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<bool>("group");
    QTest::addColumn<bool>("ungroup");
    QTest::addColumn<bool>("add");
    QTest::addColumn<bool>("remove");
    QTest::newRow("nothing") << QStringList{} << false << false << false << false;
    QTest::newRow("two at the top") << QStringList{"A", "B"} << true << false << false << false;
    QTest::newRow("one at the top") << QStringList{"A"} << true << false << false << false;
    QTest::newRow("group alone") << QStringList{"G"} << true << true << false << false;
    QTest::newRow("group and sibling") << QStringList{"B", "G"} << true << true << true << false;
    QTest::newRow("inside a group") << QStringList{"C"} << true << false << false << true;
    QTest::newRow("mixed parents") << QStringList{"A", "C"} << false << false << false << true;
    QTest::newRow("group and its child") << QStringList{"G", "C"} << false << true << false << true;
    QTest::newRow("the scene") << QStringList{"S"} << false << false << false << false;
}

void TestGroupOperation::predicates()
{
    QFETCH(QStringList, selection);
    GroupFixture f;
    const QHash<QString, KVElement *> byName{
        {"A", f.pA}, {"B", f.pB}, {"C", f.pC}, {"G", f.pGroup}, {"S", f.pScene}};
    QList<KVElement *> list;
    for (const QString &str : selection)
        list.append(byName.value(str));
    QTEST(KVGroupOperation::canGroup(list), "group");
    QTEST(KVGroupOperation::canUngroup(list), "ungroup");
    QTEST(KVGroupOperation::canAddToGroup(list), "add");
    QTEST(KVGroupOperation::canRemoveFromGroup(list), "remove");
    // While text is edited neither grouping nor ungrouping is offered.
    QVERIFY(!KVGroupOperation::canGroup(list, true));
    QVERIFY(!KVGroupOperation::canUngroup(list, true));
    // Each offered operation gives a command, each refused one none.
    QFETCH(bool, group);
    KVCommand *pCommand = KVGroupOperation::group(&f.t, list);
    QCOMPARE(pCommand != nullptr, group);
    delete pCommand;
}

void TestGroupOperation::nothingToDo()
{
    GroupFixture f;
    const QString strForm = f.form();
    QVERIFY(!KVGroupOperation::group(&f.t, {}));
    QVERIFY(!KVGroupOperation::group(&f.t, {f.pA, f.pC}));
    QVERIFY(!KVGroupOperation::group(&f.t, {f.pScene}));
    QVERIFY(!KVGroupOperation::group(&f.t, {nullptr}));
    // Elements outside a scene cannot be grouped.
    KVElement *pLoose = KVElementFactory::createElement(5);
    KVElement *pHolder = KVElementFactory::createElement(6);
    pHolder->insertChild(pLoose, -1);
    QVERIFY(!KVGroupOperation::group(&f.t, {pLoose}));
    QVERIFY(!KVGroupOperation::ungroup(&f.t, pHolder));
    delete pHolder;
    QVERIFY(!KVGroupOperation::ungroup(&f.t, f.pA));
    QVERIFY(!KVGroupOperation::ungroup(&f.t, f.pScene));
    QVERIFY(!KVGroupOperation::ungroup(&f.t, nullptr));
    QVERIFY(!KVGroupOperation::addToGroup(&f.t, f.pGroup, {}));
    QVERIFY(!KVGroupOperation::addToGroup(&f.t, f.pGroup, {f.pC}));
    QVERIFY(!KVGroupOperation::addToGroup(&f.t, f.pGroup, {f.pA, f.pC}));
    QVERIFY(!KVGroupOperation::addToGroup(&f.t, f.pA, {f.pB}));
    QVERIFY(!KVGroupOperation::removeFromGroup(&f.t, {f.pA, f.pB}));
    QVERIFY(!KVGroupOperation::removeFromGroup(&f.t, {}));
    QCOMPARE(f.form(), strForm);
    QCOMPARE(f.t.stack.count(), 0);
}

// New groups are named "Group" through the naming rule of the scene.
void TestGroupOperation::groupNames()
{
    GroupFixture f;
    QVERIFY(KVCommand::push(KVGroupOperation::group(&f.t, {f.pA})));
    QCOMPARE(f.pA->parent()->name(), QStringLiteral("Group"));
    QVERIFY(KVCommand::push(KVGroupOperation::group(&f.t, {f.pB})));
    const QString strSecond = f.pB->parent()->name();
    QVERIFY(strSecond.startsWith(QStringLiteral("Group_")));
    QVERIFY(!f.pScene->isNameTaken(strSecond, f.pB->parent()));
    QVERIFY(f.pA->parent()->id() != f.pB->parent()->id());
}

void TestGroupOperation::ungroupTakesTheGroupsAnimations()
{
    GroupFixture f;
    auto *pAnimation = new KVAnimation(f.pGroup);
    f.pTimeline->addAnimation(pAnimation, kBase);
    KVKeyframe *pTrack = KVKeyframe::create(f.pGroup, KVPropertyCatalogue::Opacity, kBase);
    pAnimation->addKeyframe(pTrack);
    pTrack->addKeyValue(new KVKeyValue(0, 1.0), 3, true);
    pTrack->addKeyValue(new KVKeyValue(500, 0.2), 3, true);
    const QString strForm0 = f.form();
    QVERIFY(KVCommand::push(KVGroupOperation::ungroup(&f.t, f.pGroup)));
    QVERIFY(!f.pTimeline->findAnimation(f.pGroup, kBase));
    QCOMPARE(f.pTimeline->findAnimation(f.pA, kBase), f.pAnimation);
    QCOMPARE(f.pC->parent(), f.pScene);
    const QString strForm1 = f.form();
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm0);
    QCOMPARE(f.pTimeline->findAnimation(f.pGroup, kBase), pAnimation);
    f.t.stack.redo();
    QCOMPARE(f.form(), strForm1);
}

void TestGroupOperation::animatedPositionsFollow_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("trackCode");
    QTest::newRow("pixels, left") << int(Pixels) << 0;
    QTest::newRow("percent, left") << int(Percent) << 0;
    QTest::newRow("anchored, right") << int(RightBottom) << 1;
    QTest::newRow("percent top") << int(Percent) << 2;
}

// B moves along its own track; grouped with A, and then ungrouped, it shows at the same places at
// every key time.
void TestGroupOperation::animatedPositionsFollow()
{
    QFETCH(int, style);
    QFETCH(int, trackCode);
    GroupFixture f;
    f.place(f.pB, style, QRectF(200, 40, 100, 50), kBase, false);
    const double dScale = style == Percent ? 1.0 / (trackCode >= 2 ? 600 : 800) : 1.0;
    auto *pAnimation = new KVAnimation(f.pB);
    f.pTimeline->addAnimation(pAnimation, kBase);
    KVKeyframe *pTrack = KVKeyframe::create(f.pB, trackCode, kBase);
    pAnimation->addKeyframe(pTrack);
    pTrack->addKeyValue(new KVKeyValue(0, 200 * dScale), 3, true);
    pTrack->addKeyValue(new KVKeyValue(1000, 500 * dScale), 3, true);
    auto pageAt = [&](int nTime) {
        f.pTimeline->seek(nTime);
        return pageBox(f.pB, kBase);
    };
    const QRectF at0 = pageAt(0);
    const QRectF at1000 = pageAt(1000);
    QVERIFY(!near(at0, at1000));
    const QString strForm0 = f.form();

    QVERIFY(KVCommand::push(KVGroupOperation::group(&f.t, {f.pA, f.pB})));
    QVERIFY(KVGroupOperation::isGroup(f.pB->parent()));
    QCOMPARE(f.pTimeline->findAnimation(f.pB, kBase), pAnimation);
    QVERIFY2(near(pageAt(0), at0), qPrintable(text(pageAt(0)) + " vs " + text(at0)));
    QVERIFY2(near(pageAt(1000), at1000), qPrintable(text(pageAt(1000)) + " vs " + text(at1000)));
    const QString strForm1 = f.form();

    KVElement *pGroup = f.pB->parent();
    QVERIFY(KVCommand::push(KVGroupOperation::ungroup(&f.t, pGroup)));
    QVERIFY(near(pageAt(0), at0));
    QVERIFY(near(pageAt(1000), at1000));
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm1);
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm0);
    QVERIFY(near(pageAt(1000), at1000));
}

// C inside G becomes the only child of a new group inside G, at C's place; G keeps its place.
void TestGroupOperation::groupInsideAGroup()
{
    GroupFixture f;
    KVElement *pD = KVCommandFixture::rectangle(40, 60);
    f.pScene->addElement(pD, -1, f.pGroup);
    pD->syncLayouts(f.pSet->layouts(), true, kBase);
    f.pGroup->setPositionX(100, kBase);
    f.pC->setCoordinateType(2, kNarrow);
    f.pC->setInherited(40, false, kNarrow);
    const auto before = boxesOf({f.pC, pD});
    const QString strForm0 = f.form();
    QVERIFY(KVCommand::push(KVGroupOperation::group(&f.t, {f.pC})));
    KVElement *pInner = f.pC->parent();
    QVERIFY(KVGroupOperation::isGroup(pInner));
    QCOMPARE(pInner->parent(), f.pGroup);
    QCOMPARE(f.pGroup->children(), (QList<KVElement *>{pInner, pD}));
    for (const KVLayoutKey &l : {kBase, kNarrow})
        QVERIFY(near(pageBox(pInner, l), before.value(f.pC).value(l)));
    compareBoxes({f.pC, pD}, before);
    QCOMPARE(f.pC->positionX(kBase), 0.0);
    const QString strForm1 = f.form();
    f.t.stack.undo();
    QCOMPARE(f.form(), strForm0);
    f.t.stack.redo();
    QCOMPARE(f.form(), strForm1);
}

// The elements panel's drags: elements moved to a place among a parent's children (counted as the
// children stand before the move), several at once in their order, as one undo step.
void TestGroupOperation::treeMoves_data()
{
    QTest::addColumn<QStringList>("moving");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected"); // empty: no command
    QTest::newRow("one to the back") << QStringList{"B"} << "scene" << 0 << "B,A,G(C)";
    QTest::newRow("one to the front") << QStringList{"A"} << "scene" << 3 << "B,G(C),A";
    QTest::newRow("two into the group, front") << QStringList{"A", "B"} << "G" << 1 << "G(C,A,B)";
    QTest::newRow("two into the group, back") << QStringList{"B", "A"} << "G" << 0 << "G(B,A,C)";
    QTest::newRow("out of the group to the back") << QStringList{"C"} << "scene" << 0 << "C,A,B,G()";
    QTest::newRow("two swapped at the front") << QStringList{"B", "A"} << "scene" << 3 << "G(C),B,A";
    QTest::newRow("where they stand already") << QStringList{"A", "B"} << "scene" << 2 << "";
    QTest::newRow("a group into itself") << QStringList{"G"} << "G" << 0 << "";
}

void TestGroupOperation::treeMoves()
{
    QFETCH(QStringList, moving);
    QFETCH(QString, parent);
    QFETCH(int, index);
    QFETCH(QString, expected);
    KVCommandFixture f;
    f.pA->setName(QStringLiteral("A"));
    f.pB->setName(QStringLiteral("B"));
    f.pGroup->setName(QStringLiteral("G"));
    f.pC->setName(QStringLiteral("C"));
    const QHash<QString, KVElement *> byName{{"A", f.pA}, {"B", f.pB}, {"G", f.pGroup}, {"C", f.pC}, {"scene", f.pScene}};
    std::function<QString(const KVElement *)> tree = [&tree](const KVElement *p) {
        QStringList parts;
        for (const KVElement *c : p->children())
            parts << (c->type() == 6 ? c->name() + "(" + tree(c) + ")" : c->name());
        return parts.join(',');
    };
    const QString before = tree(f.pScene);
    QList<KVElement *> elements;
    for (const QString &name : moving)
        elements << byName.value(name);
    KVCommand *pCommand = KVElementTreeOperation::move(&f.t, elements, byName.value(parent), index);
    QCOMPARE(pCommand != nullptr, !expected.isEmpty());
    if (!pCommand)
        return;
    QVERIFY(KVCommand::push(pCommand));
    QCOMPARE(tree(f.pScene), expected);
    QCOMPARE(f.t.stack.count(), 1);
    f.t.stack.undo();
    QCOMPARE(tree(f.pScene), before);
    f.t.stack.redo();
    QCOMPARE(tree(f.pScene), expected);
}

KAVIO_TEST_MAIN(TestGroupOperation)
#include "tst_groupoperation.moc"
