#include "KVCommandTestKit.h"

#include "commands/KVArrangeOperation.h"
#include "commands/KVEditContext.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVElementProperty.h"

#include "KVTestMain.h"

#include <QtTest>

using Op = KVArrangeOperation;

namespace {

const KVLayoutKey kBase = KVLayoutKey::base();
const KVLayoutKey kNarrow(1, 0);

// A stage of 800 x 600 (400 x 300 at the narrow layout (1, 0)) with rectangles placed by their
// visual left and top in pixels, in any anchoring and unit.
struct Stage
{
    KVTestCommandTarget t;
    KVScene *pScene = nullptr;
    QList<KVElement *> elements;

    Stage()
    {
        pScene = t.list.createScene();
        t.list.addScene(pScene);
        // The scene shown is the selected one; commands restore the selection on it.
        t.list.setSceneSelected(pScene, true);
        pScene->syncLayouts({kBase, kNarrow}, true, kBase);
        pScene->setSizeW(400, kNarrow);
        pScene->setSizeH(300, kNarrow);
    }

    // Adds a selected rectangle; the values are written at both layouts.
    KVElement *add(double dX, double dY, double dW, double dH, int nCoordinateType = 0, int nUnit = 0)
    {
        KVElement *p = KVElementFactory::createElement(5);
        pScene->addElement(p);
        p->syncLayouts({kBase, kNarrow}, true, kBase);
        for (const KVLayoutKey &l : {kBase, kNarrow}) {
            p->setCoordinateType(nCoordinateType, l);
            p->setUnitX(nUnit, l);
            p->setUnitY(nUnit, l);
            p->setSizeW(dW, l);
            p->setSizeH(dH, l);
            place(p, dX, dY, l);
        }
        p->setSelected(true);
        elements.append(p);
        return p;
    }

    // Stores a visual position in the element's own form at the layout.
    static void place(KVElement *p, double dX, double dY, const KVLayoutKey &l)
    {
        const int n = p->coordinateType(l);
        const bool bRight = n == 1 || n == 2;
        const bool bBottom = n == 2 || n == 3;
        double dOffX = bRight ? p->parentWidth(l) - dX - p->widthPixels(l) : dX;
        double dOffY = bBottom ? p->parentHeight(l) - dY - p->heightPixels(l) : dY;
        if (p->unitX(l) == 1)
            dOffX /= p->parentWidth(l);
        if (p->unitY(l) == 1)
            dOffY /= p->parentHeight(l);
        p->setPositionX(dOffX, l);
        p->setPositionY(dOffY, l);
    }

    static double visualX(const KVElement *p, const KVLayoutKey &l)
    {
        const int n = p->coordinateType(l);
        const double d = p->leftPixels(l);
        return n == 1 || n == 2 ? p->parentWidth(l) - d - p->widthPixels(l) : d;
    }

    static double visualY(const KVElement *p, const KVLayoutKey &l)
    {
        const int n = p->coordinateType(l);
        const double d = p->topPixels(l);
        return n == 2 || n == 3 ? p->parentHeight(l) - d - p->heightPixels(l) : d;
    }

    KVEditContext context(KVElement *pFocused = nullptr) const
    {
        KVEditContext c;
        c.pTarget = const_cast<KVTestCommandTarget *>(&t);
        c.pScene = pScene;
        c.nFocusedId = pFocused ? pFocused->id() : -1;
        return c;
    }

    QString form() const
    {
        QJsonObject jo;
        pScene->toJson(jo);
        return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
    }

    QStringList order() const
    {
        QStringList list;
        for (const KVElement *p : pScene->children())
            list.append(p->name());
        return list;
    }
};

bool fuzzyEqual(double a, double b)
{
    return std::fabs(a - b) < 1e-6;
}

// Pushes the command and checks one undo step; then undo must give back the form exactly and a
// redo must bring the change back.
void pushAndCheckUndo(Stage &s, KVCommand *pCommand, const QString &strText, const QString &strBefore,
                      const std::function<void()> &checkApplied)
{
    QVERIFY(pCommand);
    QCOMPARE(pCommand->text(), strText);
    QVERIFY(KVCommand::push(pCommand));
    QCOMPARE(s.t.stack.count(), 1);
    checkApplied();
    const QString strAfter = s.form();
    QVERIFY(strAfter != strBefore);
    s.t.stack.undo();
    QCOMPARE(s.form(), strBefore);
    s.t.stack.redo();
    QCOMPARE(s.form(), strAfter);
}

} // namespace

class tst_Arrange : public QObject
{
    Q_OBJECT

private slots:
    void align_data();
    void align();
    void alignKeepsStoredForm_data();
    void alignKeepsStoredForm();
    void flexibleLayoutStoresPercent();
    void distribute_data();
    void distribute();
    void nothingToDo_data();
    void nothingToDo();
    void alignAtEveryEditedLayout();
    void autoKeyframeSetsKeyValue();
    void autoKeyframeCreatesTrack();
    void sameSize_data();
    void sameSize();
    void displayOrder_data();
    void displayOrder();
    void restoreOriginalSize();
};

// Three elements: the focused one first (100 x 40), then 50 x 80 and 200 x 20. Positions are the
// visual left (horizontal modes) or top (vertical modes) of each, before and after.
void tst_Arrange::align_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("toParent");
    QTest::addColumn<bool>("narrow");
    QTest::addColumn<int>("coordinateType");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QList<double>>("before");
    QTest::addColumn<QList<double>>("after");

    using L = QList<double>;
    QTest::newRow("left to focused at 40") << int(Op::AlignLeft) << false << false << 0 << 0
                                           << L{40, 100, 300} << L{40, 40, 40};
    QTest::newRow("right") << int(Op::AlignRight) << false << false << 0 << 0 << L{40, 100, 300}
                           << L{40, 90, -60};
    QTest::newRow("horizontal centre") << int(Op::AlignHCenter) << false << false << 0 << 0
                                       << L{40, 0, 300} << L{40, 65, -10};
    QTest::newRow("top") << int(Op::AlignTop) << false << false << 0 << 0 << L{10, 200, 30}
                         << L{10, 10, 10};
    QTest::newRow("bottom") << int(Op::AlignBottom) << false << false << 0 << 0 << L{10, 200, 30}
                            << L{10, -30, 30};
    QTest::newRow("vertical centre") << int(Op::AlignVCenter) << false << false << 0 << 0
                                     << L{10, 200, 30} << L{10, -10, 20};
    QTest::newRow("parent centre") << int(Op::AlignHCenter) << true << false << 0 << 0
                                   << L{40, 100, 300} << L{350, 375, 300};
    QTest::newRow("parent right") << int(Op::AlignRight) << true << false << 0 << 0
                                  << L{40, 100, 300} << L{700, 750, 600};
    QTest::newRow("parent vertical centre") << int(Op::AlignVCenter) << true << false << 0 << 0
                                            << L{10, 200, 30} << L{280, 260, 290};
    QTest::newRow("anchored right and bottom") << int(Op::AlignLeft) << false << false << 2 << 0
                                               << L{40, 100, 300} << L{40, 40, 40};
    QTest::newRow("anchored bottom, top") << int(Op::AlignTop) << false << false << 2 << 0
                                          << L{10, 200, 30} << L{10, 10, 10};
    QTest::newRow("percent") << int(Op::AlignRight) << false << false << 0 << 1 << L{40, 100, 300}
                             << L{40, 90, -60};
    QTest::newRow("narrow layout, parent centre") << int(Op::AlignHCenter) << true << true << 0 << 0
                                                  << L{40, 100, 300} << L{150, 175, 100};
    QTest::newRow("narrow layout, anchored right, percent")
        << int(Op::AlignHCenter) << true << true << 1 << 1 << L{40, 100, 300} << L{150, 175, 100};
    QTest::newRow("narrow layout, anchored bottom, percent")
        << int(Op::AlignBottom) << true << true << 2 << 1 << L{10, 200, 30} << L{260, 220, 280};
}

void tst_Arrange::align()
{
    QFETCH(int, mode);
    QFETCH(bool, toParent);
    QFETCH(bool, narrow);
    QFETCH(int, coordinateType);
    QFETCH(int, unit);
    QFETCH(QList<double>, before);
    QFETCH(QList<double>, after);

    const bool bH = mode == Op::AlignLeft || mode == Op::AlignRight || mode == Op::AlignHCenter;
    const KVLayoutKey l = narrow ? kNarrow : kBase;
    Stage s;
    const double sizes[3][2] = {{100, 40}, {50, 80}, {200, 20}};
    for (int i = 0; i < 3; ++i) {
        // The focused element keeps the plain form; the others take the row's.
        s.add(bH ? before[i] : 0, bH ? 0 : before[i], sizes[i][0], sizes[i][1], i ? coordinateType : 0,
              i ? unit : 0);
    }
    s.pScene->setCurrentLayout(l);
    KVEditContext c = s.context(s.elements.first());
    c.bAlignToParent = toParent;
    const QString strBefore = s.form();
    QList<double> basesBefore;
    for (KVElement *p : s.elements)
        basesBefore.append(bH ? Stage::visualX(p, kBase) : Stage::visualY(p, kBase));

    pushAndCheckUndo(s, Op::align(c, mode), QStringLiteral("Set Alignment"), strBefore, [&]() {
        for (int i = 0; i < 3; ++i) {
            KVElement *p = s.elements[i];
            const double d = bH ? Stage::visualX(p, l) : Stage::visualY(p, l);
            QVERIFY2(fuzzyEqual(d, after[i]), qPrintable(QStringLiteral("element %1 at %2").arg(i).arg(d)));
            // The other layout is left as it was.
            if (narrow) {
                const double dBase = bH ? Stage::visualX(p, kBase) : Stage::visualY(p, kBase);
                QVERIFY(fuzzyEqual(dBase, basesBefore[i]));
            }
        }
    });
    if (narrow) {
        // The new value is an override of the layout shown.
        const int nCode = bH ? (coordinateType == 1 || coordinateType == 2 ? 1 : 0)
                             : (coordinateType >= 2 ? 3 : 2);
        QVERIFY(!s.elements[1]->isInherited(nCode, kNarrow));
    }
}

// An element anchored right keeps its offset from the right edge (and its unit); the offset
// changes by the opposite of the move.
void tst_Arrange::alignKeepsStoredForm_data()
{
    QTest::addColumn<int>("coordinateType");
    QTest::addColumn<int>("unit");
    QTest::addColumn<double>("storedX");

    // Moved to left 40 with width 50 in a stage of 800: offset from the right 710.
    QTest::newRow("left, pixels") << 0 << 0 << 40.0;
    QTest::newRow("right, pixels") << 1 << 0 << 710.0;
    QTest::newRow("right, percent") << 2 << 1 << 710.0 / 800.0;
    QTest::newRow("left, percent") << 3 << 1 << 40.0 / 800.0;
}

void tst_Arrange::alignKeepsStoredForm()
{
    QFETCH(int, coordinateType);
    QFETCH(int, unit);
    QFETCH(double, storedX);

    Stage s;
    KVElement *pFocus = s.add(40, 10, 100, 40);
    KVElement *p = s.add(300, 20, 50, 50, coordinateType, unit);
    KVCommand *pCommand = Op::align(s.context(pFocus), Op::AlignLeft);
    QVERIFY(pCommand);
    KVCommand::push(pCommand);
    QCOMPARE(p->coordinateType(kBase), coordinateType);
    QCOMPARE(p->unitX(kBase), unit);
    QVERIFY2(fuzzyEqual(p->positionX(kBase), storedX), qPrintable(QString::number(p->positionX(kBase))));
    QVERIFY(fuzzyEqual(Stage::visualY(p, kBase), 20));
}

void tst_Arrange::flexibleLayoutStoresPercent()
{
    Stage s;
    KVElement *pFocus = s.add(40, 10, 100, 40);
    KVElement *pRight = s.add(300, 20, 50, 50, 1, 0);
    KVEditContext c = s.context(pFocus);
    c.bFlexibleLayout = true;
    const QString strBefore = s.form();
    pushAndCheckUndo(s, Op::align(c, Op::AlignLeft), QStringLiteral("Set Alignment"), strBefore, [&]() {
        QCOMPARE(pRight->unitX(kBase), 1);
        QVERIFY(fuzzyEqual(pRight->positionX(kBase), 710.0 / 800.0));
        QVERIFY(fuzzyEqual(Stage::visualX(pRight, kBase), 40));
        // The focused element stays where it is and in its own form.
        QCOMPARE(pFocus->unitX(kBase), 0);
    });
    QCOMPARE(pRight->unitX(kBase), 1);
    s.t.stack.undo();
    QCOMPARE(pRight->unitX(kBase), 0);
}

// Elements given by visual left (or top) and size along the axis.
void tst_Arrange::distribute_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("toParent");
    QTest::addColumn<QList<double>>("positions");
    QTest::addColumn<QList<double>>("sizes");
    QTest::addColumn<QList<double>>("after");

    using L = QList<double>;
    QTest::newRow("left edges 0 10 100") << int(Op::DistLeft) << false << L{0, 10, 100} << L{20, 20, 20}
                                         << L{0, 50, 100};
    QTest::newRow("left edges unsorted") << int(Op::DistLeft) << false << L{100, 0, 10} << L{20, 20, 20}
                                         << L{100, 0, 50};
    QTest::newRow("centres") << int(Op::DistHCenter) << false << L{0, 10, 100} << L{20, 40, 60}
                             << L{0, 50, 100};
    QTest::newRow("right edges") << int(Op::DistRight) << false << L{0, 10, 100} << L{20, 40, 60}
                                 << L{0, 50, 100};
    QTest::newRow("top edges") << int(Op::DistTop) << false << L{0, 30, 300} << L{10, 10, 10}
                               << L{0, 150, 300};
    QTest::newRow("bottom edges") << int(Op::DistBottom) << false << L{0, 30, 300} << L{10, 30, 50}
                                  << L{0, 150, 300};
    QTest::newRow("vertical centres") << int(Op::DistVCenter) << false << L{0, 30, 300} << L{10, 30, 50}
                                      << L{0, 150, 300};
    QTest::newRow("equal space") << int(Op::DistHSpace) << false << L{0, 30, 200} << L{20, 60, 100}
                                 << L{0, 80, 200};
    QTest::newRow("equal vertical space") << int(Op::DistVSpace) << false << L{0, 30, 200}
                                          << L{20, 60, 100} << L{0, 80, 200};
    QTest::newRow("left edges over the parent") << int(Op::DistLeft) << true << L{0, 10, 100}
                                                << L{20, 20, 100} << L{0, 350, 700};
    QTest::newRow("centres over the parent") << int(Op::DistHCenter) << true << L{0, 10, 100}
                                             << L{20, 20, 100} << L{0, 370, 700};
    QTest::newRow("right edges over the parent") << int(Op::DistRight) << true << L{0, 10, 100}
                                                 << L{20, 20, 100} << L{0, 390, 700};
    QTest::newRow("equal space over the parent") << int(Op::DistHSpace) << true << L{0, 10, 100}
                                                 << L{100, 100, 100} << L{0, 350, 700};
}

void tst_Arrange::distribute()
{
    QFETCH(int, mode);
    QFETCH(bool, toParent);
    QFETCH(QList<double>, positions);
    QFETCH(QList<double>, sizes);
    QFETCH(QList<double>, after);

    const bool bH = mode == Op::DistLeft || mode == Op::DistHCenter || mode == Op::DistRight
                 || mode == Op::DistHSpace;
    Stage s;
    for (int i = 0; i < positions.size(); ++i) {
        if (bH)
            s.add(positions[i], 5, sizes[i], 10);
        else
            s.add(5, positions[i], 10, sizes[i]);
    }
    KVEditContext c = s.context();
    c.bAlignToParent = toParent;
    const QString strBefore = s.form();
    pushAndCheckUndo(s, Op::align(c, mode), QStringLiteral("Set Alignment"), strBefore, [&]() {
        for (int i = 0; i < positions.size(); ++i) {
            const double d = bH ? Stage::visualX(s.elements[i], kBase) : Stage::visualY(s.elements[i], kBase);
            QVERIFY2(fuzzyEqual(d, after[i]), qPrintable(QStringLiteral("element %1 at %2").arg(i).arg(d)));
        }
    });
}

void tst_Arrange::nothingToDo_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("toParent");

    QTest::newRow("distribution of one element") << int(Op::DistLeft) << 1 << true << false;
    QTest::newRow("distribution of one element, parent") << int(Op::DistHSpace) << 1 << true << true;
    QTest::newRow("alignment of one element") << int(Op::AlignLeft) << 1 << true << false;
    QTest::newRow("alignment without focus") << int(Op::AlignLeft) << 3 << false << false;
    QTest::newRow("no selection") << int(Op::AlignLeft) << 0 << false << true;
    QTest::newRow("two elements keep their ends") << int(Op::DistLeft) << 2 << false << false;
    QTest::newRow("mode out of range") << 14 << 3 << true << false;
}

void tst_Arrange::nothingToDo()
{
    QFETCH(int, mode);
    QFETCH(int, count);
    QFETCH(bool, focused);
    QFETCH(bool, toParent);

    Stage s;
    for (int i = 0; i < 3; ++i) {
        KVElement *p = s.add(10 + 90 * i, 7 * i, 30, 30);
        p->setSelected(i < count);
    }
    KVEditContext c = s.context(focused ? s.elements.first() : nullptr);
    c.bAlignToParent = toParent;
    QVERIFY(!Op::align(c, mode));
    QCOMPARE(s.t.stack.count(), 0);
}

void tst_Arrange::alignAtEveryEditedLayout()
{
    Stage s;
    KVElement *pFocus = s.add(40, 0, 100, 40);
    KVElement *p = s.add(300, 0, 50, 50);
    Stage::place(p, 120, 0, kNarrow);
    KVEditContext c = s.context(pFocus);
    c.layouts = {kBase, kNarrow};
    KVCommand *pCommand = Op::align(c, Op::AlignRight);
    QVERIFY(pCommand);
    QCOMPARE(pCommand->actions().size(), 2);
    KVCommand::push(pCommand);
    QVERIFY(fuzzyEqual(Stage::visualX(p, kBase), 90));
    QVERIFY(fuzzyEqual(Stage::visualX(p, kNarrow), 90));
    QCOMPARE(s.t.stack.count(), 1);
}

void tst_Arrange::autoKeyframeSetsKeyValue()
{
    Stage s;
    KVElement *pFocus = s.add(40, 0, 100, 40);
    KVElement *p = s.add(300, 0, 50, 50);
    KVTimeline *pTimeline = s.pScene->mainTimeline();
    auto *pAnimation = new KVAnimation(p);
    pTimeline->addAnimation(pAnimation, kBase);
    KVKeyframe *pTrack = KVKeyframe::create(p, KVPropertyCatalogue::Left, kBase);
    pAnimation->addKeyframe(pTrack);
    pTrack->addKeyValue(new KVKeyValue(0, 300.0), 3, true);
    KVEditContext c = s.context(pFocus);
    c.pTimeline = pTimeline;
    c.bAutoKeyframe = true;
    c.nCurrentTime = 500;
    const QString strBefore = s.form();
    pushAndCheckUndo(s, Op::align(c, Op::AlignLeft), QStringLiteral("Set Alignment"), strBefore, [&]() {
        QCOMPARE(pTrack->keyValues().size(), 2);
        QVERIFY(pTrack->keyValueAt(500));
        QCOMPARE(pTrack->keyValueAt(500)->value().toDouble(), 40.0);
    });
    // A key value at the current time takes the new value in place.
    s.t.stack.clear();
    QVERIFY(p->isSelected());
    c.nCurrentTime = 0;
    KVCommand *pCommand = Op::align(c, Op::AlignLeft);
    QVERIFY(pCommand);
    KVCommand::push(pCommand);
    QCOMPARE(pTrack->keyValues().size(), 2);
    QCOMPARE(pTrack->keyValueAt(0)->value().toDouble(), 40.0);
    s.t.stack.undo();
    QCOMPARE(pTrack->keyValueAt(0)->value().toDouble(), 300.0);
}

void tst_Arrange::autoKeyframeCreatesTrack()
{
    Stage s;
    KVElement *pFocus = s.add(0, 40, 100, 40);
    KVElement *p = s.add(0, 300, 50, 50);
    KVTimeline *pTimeline = s.pScene->mainTimeline();
    KVEditContext c = s.context(pFocus);
    c.pTimeline = pTimeline;
    c.bAutoKeyframe = true;
    c.nCurrentTime = 800;
    const QString strBefore = s.form();
    pushAndCheckUndo(s, Op::sameSize(c, Op::SameBoth), QStringLiteral("Set Same Size"), strBefore, [&]() {
        KVAnimation *pAnimation = pTimeline->findAnimation(p, kBase);
        QVERIFY(pAnimation);
        QCOMPARE(pAnimation->keyframes().size(), 2);
        for (KVKeyframe *pTrack : pAnimation->keyframes()) {
            QCOMPARE(pTrack->keyValues().size(), 2);
            const bool bWidth = pTrack->type() == KVPropertyCatalogue::Width;
            QCOMPARE(pTrack->keyValueAt(0)->value().toDouble(), 50.0);
            QCOMPARE(pTrack->keyValueAt(800)->value().toDouble(), bWidth ? 100.0 : 40.0);
        }
        QVERIFY(!pTimeline->findAnimation(pFocus, kBase));
    });
    s.t.stack.undo();
    QVERIFY(!pTimeline->findAnimation(p, kBase));
}

void tst_Arrange::sameSize_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QSizeF>("size");

    QTest::newRow("width") << int(Op::SameWidth) << 0 << QSizeF(120, 30);
    QTest::newRow("height") << int(Op::SameHeight) << 0 << QSizeF(50, 60);
    QTest::newRow("both") << int(Op::SameBoth) << 0 << QSizeF(120, 60);
    QTest::newRow("both, percent sizes") << int(Op::SameBoth) << 1 << QSizeF(120, 60);
}

void tst_Arrange::sameSize()
{
    QFETCH(int, mode);
    QFETCH(int, unit);
    QFETCH(QSizeF, size);

    Stage s;
    KVElement *pFocus = s.add(0, 0, 120, 60);
    KVElement *p = s.add(200, 0, 50, 30);
    KVElement *pOther = s.add(300, 0, 50, 30);
    if (unit == 1) {
        for (KVElement *pElement : {p, pOther}) {
            pElement->setUnitW(1, kBase);
            pElement->setUnitH(1, kBase);
            pElement->setSizeW(50.0 / 800.0, kBase);
            pElement->setSizeH(30.0 / 600.0, kBase);
        }
    }
    const QString strBefore = s.form();
    pushAndCheckUndo(s, Op::sameSize(s.context(pFocus), mode), QStringLiteral("Set Same Size"), strBefore, [&]() {
        for (KVElement *pElement : {p, pOther}) {
            QVERIFY(fuzzyEqual(pElement->widthPixels(kBase), size.width()));
            QVERIFY(fuzzyEqual(pElement->heightPixels(kBase), size.height()));
            QCOMPARE(pElement->unitW(kBase), unit);
        }
        QCOMPARE(pFocus->widthPixels(kBase), 120.0);
    });
    s.t.stack.clear();
    p->setSelected(false);
    pOther->setSelected(false);
    QVERIFY(!Op::sameSize(s.context(pFocus), mode)); // the focused element alone
}

void tst_Arrange::displayOrder_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("after");

    const QStringList abcd{"A", "B", "C", "D"};
    QTest::newRow("to front") << int(Op::ToFront) << QStringList{"A", "C"} << QStringList{"B", "D", "A", "C"};
    QTest::newRow("to back") << int(Op::ToBack) << QStringList{"B", "D"} << QStringList{"B", "D", "A", "C"};
    QTest::newRow("forward") << int(Op::Forward) << QStringList{"A", "B"} << QStringList{"C", "A", "B", "D"};
    QTest::newRow("forward, blocked at the top") << int(Op::Forward) << QStringList{"C", "D"} << abcd;
    QTest::newRow("backward") << int(Op::Backward) << QStringList{"C", "D"} << QStringList{"A", "C", "D", "B"};
    QTest::newRow("backward, blocked at the bottom") << int(Op::Backward) << QStringList{"A"} << abcd;
    QTest::newRow("to front, already there") << int(Op::ToFront) << QStringList{"C", "D"} << abcd;
    QTest::newRow("to back, already there") << int(Op::ToBack) << QStringList{"A", "B"} << abcd;
    QTest::newRow("to front, one already there") << int(Op::ToFront) << QStringList{"B", "D"}
                                                 << QStringList{"A", "C", "B", "D"};
}

void tst_Arrange::displayOrder()
{
    QFETCH(int, mode);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, after);

    Stage s;
    for (const char *pName : {"A", "B", "C", "D"}) {
        KVElement *p = s.add(0, 0, 10, 10);
        p->setName(QString::fromLatin1(pName));
        p->setSelected(selected.contains(p->name()));
    }
    const QStringList before = s.order();
    const QString strBefore = s.form();
    KVCommand *pCommand = Op::displayOrder(s.context(), mode);
    if (after == before) {
        QVERIFY(!pCommand);
        return;
    }
    pushAndCheckUndo(s, pCommand, QStringLiteral("Change Display Order"), strBefore,
                     [&]() { QCOMPARE(s.order(), after); });
    s.t.stack.undo();
    QCOMPARE(s.order(), before);
}

void tst_Arrange::restoreOriginalSize()
{
    Stage s;
    KVElement *pImage = KVElementFactory::createElement(0);
    s.pScene->addElement(pImage);
    pImage->setSizeW(10, kBase);
    pImage->setUnitH(1, kBase);
    pImage->setSizeH(0.5, kBase);
    pImage->setSelected(true);
    KVElement *pRect = s.add(0, 0, 10, 10);
    const QString strBefore = s.form();
    KVCommand *pCommand = Op::restoreOriginalSize(s.context(), [](const KVElement *p) {
        return p->type() == 0 ? QSize(320, 240) : QSize(1, 1);
    });
    pushAndCheckUndo(s, pCommand, QStringLiteral("Restore Original Size"), strBefore, [&]() {
        QCOMPARE(pImage->widthPixels(kBase), 320.0);
        QCOMPARE(pImage->heightPixels(kBase), 240.0);
        QCOMPARE(pImage->unitH(kBase), 0);
        QCOMPARE(pRect->widthPixels(kBase), 10.0); // not an image or video
    });
}

KAVIO_TEST_MAIN(tst_Arrange)
#include "tst_arrange.moc"
