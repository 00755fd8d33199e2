// The page-edit action types: text and shape groups, free-form outlines, motion-path points, the
// animation refresh, element layouts and the container's responsive layout.

#include "KVCommandTypesKit.h"

#include "KVTestMain.h"

#include <functional>

using P = KVCmdParam;
using A = KVCommandAction;
using E = KVElementCommandAction;

namespace {

struct TypeCase
{
    const char *pName;
    std::function<QList<A *>(TypesFixture &)> build;
    // True when the model shows the change (bApplied) or shows it not.
    std::function<bool(TypesFixture &, bool bApplied)> state;
    // Whether the saved form of the scenes changes.
    bool bFormChanges;
};

QList<TypeCase> typeCases()
{
    return {
        {"1008 text content and format",
         [](TypesFixture &f) { return QList<A *>{f.textAction(f.pText, "<b>Sale</b>", 30)}; },
         [](TypesFixture &f, bool b) {
             KVTextProperty *p = f.pText->textProperty(kBase);
             return (p->innerHtml() == QLatin1String(b ? "<b>Sale</b>" : "<p>Hi</p>")) && (p->fontSize() == 30) == b
                    && p->isBold() == b && (p->foreground().rgba() == 0xff102030) == b && (p->alignV() == 32) == b
                    && (p->lineHeight() == 1.5) == b && (p->letterSpace() == 1) == b;
         },
         true},
        {"1008 text at a breakpoint overrides the text there",
         [](TypesFixture &f) { return QList<A *>{f.textAction(f.pText, "small", 12, false, KVLayoutKey(1, 0))}; },
         [](TypesFixture &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return (f.pText->innerHtml(layout) == QLatin1String("small")) == b
                    && f.pText->isInherited(61, layout) != b && f.pText->isInherited(29, layout) != b
                    && f.pText->innerHtml(kBase) == QLatin1String("<p>Hi</p>");
         },
         true},
        {"1008 on a shape",
         [](TypesFixture &f) { return QList<A *>{f.textAction(f.pShape, "Go", 20)}; },
         [](TypesFixture &f, bool b) { return (f.pShape->innerHtml(kBase) == QLatin1String("Go")) == b; }, true},
        {"1009 shape adjustments",
         [](TypesFixture &f) {
             return QList<A *>{f.elementAction(1009, {P::makeObject(P::Element, f.pShape), P::makeJsonArray({0.1, 0.9, 0.3}),
                                                      P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
         },
         [](TypesFixture &f, bool b) {
             return f.pShape->adjustments(kBase) == (b ? QList<double>{0.1, 0.9, 0.3} : QList<double>{0.5, 0.25});
         },
         true},
        {"1037 outline edited at a breakpoint",
         [](TypesFixture &f) {
             QJsonObject jo;
             KVBezierPath path;
             path.setPoints({TypesFixture::point(0, 0), TypesFixture::point(10, 90)});
             path.toJson(jo);
             return QList<A *>{f.elementAction(1037, {P::makeObject(P::Element, f.pFree), P::makeJsonObject(jo),
                                                      P::makeBool(false), P::makeInt(1), P::makeInt(0)})};
         },
         [](TypesFixture &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return f.pFree->freeFormProperty(layout)->path().count() == (b ? 2 : 3)
                    && f.pFree->isInherited(60, layout) != b && f.pFree->freeFormProperty(kBase)->path().count() == 3;
         },
         true},
        {"1038 outline replaced",
         [](TypesFixture &f) {
             QJsonObject jo;
             KVBezierPath path;
             path.setPoints({TypesFixture::point(5, 5)});
             path.toJson(jo);
             return QList<A *>{f.elementAction(1038, {P::makeObject(P::Element, f.pFree), P::makeJsonObject(jo)})};
         },
         [](TypesFixture &f, bool b) { return f.pFree->freeFormProperty(kBase)->path().count() == (b ? 1 : 3); }, true},
        {"1039 arrows",
         [](TypesFixture &f) {
             return QList<A *>{f.elementAction(1039, {P::makeObject(P::Element, f.pFree), P::makeInt(1), P::makeInt(6),
                                                      P::makeInt(4), P::makeInt(2)})};
         },
         [](TypesFixture &f, bool b) {
             const KVArrowSettings arrows = f.pFree->freeFormProperty(kBase)->arrows();
             return (arrows.nStartType == 1 && arrows.nStartSize == 6 && arrows.nEndType == 4) == b
                    && (arrows == KVArrowSettings()) != b;
         },
         true},
        {"29 insert an anchor point",
         [](TypesFixture &f) {
             return QList<A *>{f.action(29, {f.motionPath(), P::makeInt(1),
                                             P::makeJsonObject({{"x", 30}, {"y", 10}, {"startpoint", false}})})};
         },
         [](TypesFixture &f, bool b) {
             return f.pathText() == QLatin1String(b ? "0,0@0 30,10@-1 60,80@-1 100,40@1000" : "0,0@0 60,80@-1 100,40@1000");
         },
         true},
        {"30 remove an anchor point",
         [](TypesFixture &f) { return QList<A *>{f.action(30, {f.motionPath(), P::makeInt(1), P::makeJsonObject({})})}; },
         [](TypesFixture &f, bool b) {
             return f.pathText() == QLatin1String(b ? "0,0@0 100,40@1000" : "0,0@0 60,80@-1 100,40@1000");
         },
         true},
        {"31 retime a path point",
         [](TypesFixture &f) { return QList<A *>{f.action(31, {f.motionPath(), P::makeInt(2), P::makeInt(1500)})}; },
         [](TypesFixture &f, bool b) {
             return f.pathText().endsWith(QLatin1String(b ? "@1500" : "@1000"))
                    && f.pPath->keyValues().last()->time() == (b ? 1500 : 1000);
         },
         true},
        {"32 move an anchor point",
         [](TypesFixture &f) {
             return QList<A *>{f.action(32, {f.motionPath(), P::makeInt(1), P::makePoint({70, 20}), P::makePoint({65, 20}),
                                             P::makePoint({75, 20})})};
         },
         [](TypesFixture &f, bool b) {
             const KVPathPoint pt = f.pPath->path().points().at(1);
             return (pt.position() == QPointF(70, 20)) == b && (pt.controlOut() == QPointF(75, 20)) == b
                    && (pt.controlIn() == QPointF(60, 80)) != b;
         },
         true},
        {"59 container width",
         [](TypesFixture &f) { return QList<A *>{f.action(59, {f.layoutData(), P::makeInt(300)})}; },
         [](TypesFixture &f, bool b) { return f.t.project.width() == (b ? 300 : 640) && f.t.project.height() == 480; },
         false},
        {"60 container height",
         [](TypesFixture &f) { return QList<A *>{f.action(60, {f.layoutData(), P::makeInt(250)})}; },
         [](TypesFixture &f, bool b) { return f.t.project.height() == (b ? 250 : 480); }, false},
        {"61 alignment",
         [](TypesFixture &f) { return QList<A *>{f.action(61, {f.layoutData(), P::makeInt(1)})}; },
         [](TypesFixture &f, bool b) { return f.t.project.align() == (b ? 1 : 4); }, false},
        {"102 auto-fit",
         [](TypesFixture &f) { return QList<A *>{f.action(102, {f.layoutData(), P::makeBool(true)})}; },
         [](TypesFixture &f, bool b) { return f.t.project.autofit() == b; }, false},
        {"89 add a vertical breakpoint",
         [](TypesFixture &f) { return QList<A *>{f.action(89, {f.layoutData(), P::makeInt(1), P::makeInt(400), P::makeInt(0)})}; },
         [](TypesFixture &f, bool b) {
             return (f.pSet->vBreakpoints().size() == 1) == b && (f.pA->property(KVLayoutKey(1, 2)) != nullptr) == b
                    && (f.pScene2->property(KVLayoutKey(0, 2)) != nullptr) == b;
         },
         true},
        {"90 remove the current breakpoint with its overrides",
         [](TypesFixture &f) {
             f.pA->setPositionX(77, KVLayoutKey(1, 0));
             f.pA->setInherited(0, false, KVLayoutKey(1, 0));
             f.pSet->setCurrentLayout(KVLayoutKey(1, 0));
             f.t.list.setCurrentLayout(KVLayoutKey(1, 0));
             return QList<A *>{f.action(90, {f.layoutData(), P::makeInt(0), P::makeInt(1), P::makeInt(0)})};
         },
         [](TypesFixture &f, bool b) {
             const KVLayoutKey layout(1, 0);
             return f.pSet->hBreakpoints().isEmpty() == b && (f.pA->property(layout) == nullptr) == b
                    && (b || (f.pA->positionX(layout) == 77.0 && !f.pA->isInherited(0, layout)))
                    && f.pSet->currentLayout() == (b ? kBase : layout) && f.pA->currentLayout() == (b ? kBase : layout);
         },
         true},
        {"91 update a breakpoint",
         [](TypesFixture &f) { return QList<A *>{f.action(91, {f.layoutData(), P::makeInt(0), P::makeInt(1), P::makeInt(500)})}; },
         [](TypesFixture &f, bool b) { return f.pSet->valueOf(false, 1) == (b ? 500 : 320); }, false},
        {"92 make a breakpoint current",
         [](TypesFixture &f) { return QList<A *>{f.action(92, {f.layoutData(), P::makeInt(0), P::makeInt(1)})}; },
         [](TypesFixture &f, bool b) {
             const KVLayoutKey layout = b ? KVLayoutKey(1, 0) : kBase;
             return f.pSet->currentLayout() == layout && f.pA->currentLayout() == layout
                    && f.pScene2->currentLayout() == layout;
         },
         true},
        {"101 give an element a layout",
         [](TypesFixture &f) {
             delete f.pA->takeProperty(KVLayoutKey(1, 0));
             return QList<A *>{f.action(101, {P::makeObject(P::Element, f.pA), P::makeInt(1), P::makeInt(0), P::makeBool(false)})};
         },
         [](TypesFixture &f, bool b) { return (f.pA->property(KVLayoutKey(1, 0)) != nullptr) == b; }, true},
    };
}

} // namespace

class TestCommandTypes : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void unfittingChangeNothing_data();
    void unfittingChangeNothing();
    void removedBreakpointLayoutsGoWithTheCommand();
    void refreshShowsTheTrackValue();
    void pageMessages_data();
    void pageMessages();
};

void TestCommandTypes::roundTrip_data()
{
    QTest::addColumn<int>("nCase");
    const QList<TypeCase> cases = typeCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).pName) << i;
}

void TestCommandTypes::roundTrip()
{
    QFETCH(int, nCase);
    const TypeCase c = typeCases().at(nCase);
    checkRoundTrip<TypesFixture>(c.build, c.state, c.bFormChanges);
}

void TestCommandTypes::unfittingChangeNothing_data()
{
    QTest::addColumn<int>("nCase");
    QTest::newRow("1008 one parameter short") << 0;
    QTest::newRow("1008 a string for the size") << 1;
    QTest::newRow("1008 on a group") << 2;
    QTest::newRow("1009 a string among the adjustments") << 3;
    QTest::newRow("1009 on a text box") << 4;
    QTest::newRow("1037 outline without points") << 5;
    QTest::newRow("1037 on an auto shape") << 6;
    QTest::newRow("1038 one parameter too many") << 7;
    QTest::newRow("1039 unknown arrow type") << 8;
    QTest::newRow("29 index past the end") << 9;
    QTest::newRow("29 a plain track as the path") << 10;
    QTest::newRow("30 index out of range") << 11;
    QTest::newRow("31 untimed point") << 12;
    QTest::newRow("32 doubles for the points") << 13;
    QTest::newRow("59 zero width") << 14;
    QTest::newRow("59 a set of no container") << 15;
    QTest::newRow("89 existing value") << 16;
    QTest::newRow("90 unknown id") << 17;
    QTest::newRow("91 value out of range") << 18;
    QTest::newRow("92 unknown breakpoint") << 19;
    QTest::newRow("92 a double for the id") << 20;
    QTest::newRow("101 at the base layout") << 21;
    QTest::newRow("93 without the timeline") << 22;
    QTest::newRow("29 a point without a position") << 23;
    QTest::newRow("89 the id of another breakpoint") << 24;
}

void TestCommandTypes::unfittingChangeNothing()
{
    QFETCH(int, nCase);
    TypesFixture f;
    KVBreakpointSet stranger;
    const QString strBefore = f.form();
    const QJsonObject joSet = f.pSet->toJson();
    const QString strPath = f.pathText();
    const int nWidth = f.t.project.width();
    auto el = [](KVElement *p) { return P::makeObject(P::Element, p); };
    A *pAction = nullptr;
    switch (nCase) {
    case 0:
    case 1: {
        auto *p = f.textAction(f.pText, "x", 10);
        // Case 0 leaves the last parameter out; case 1 has the size as a string.
        auto *pWrong = f.elementAction(1008, {});
        for (int i = 0; i < p->paramCount() - (nCase == 0 ? 1 : 0); ++i) {
            P *pFrom = p->param(i);
            pWrong->addParam(i == 3 ? P::makeString("10")
                                    : (i == 0 ? el(f.pText) : P::makeValue(pFrom->kind(), pFrom->value())));
        }
        delete p;
        pAction = pWrong;
        break;
    }
    case 2: pAction = f.textAction(f.pGroup, "x", 10); break;
    case 3:
        pAction = f.elementAction(1009, {el(f.pShape), P::makeJsonArray({0.1, "a"}), P::makeBool(false), P::makeInt(0), P::makeInt(0)});
        break;
    case 4:
        pAction = f.elementAction(1009, {el(f.pText), P::makeJsonArray({0.1}), P::makeBool(false), P::makeInt(0), P::makeInt(0)});
        break;
    case 5:
        pAction = f.elementAction(1037, {el(f.pFree), P::makeJsonObject({{"x", 1}}), P::makeBool(false), P::makeInt(0), P::makeInt(0)});
        break;
    case 6:
        pAction = f.elementAction(1037, {el(f.pShape), P::makeJsonObject({{"points", QJsonArray()}}), P::makeBool(false),
                                         P::makeInt(0), P::makeInt(0)});
        break;
    case 7:
        pAction = f.elementAction(1038, {el(f.pFree), P::makeJsonObject({{"points", QJsonArray()}}), P::makeInt(0)});
        break;
    case 8:
        pAction = f.elementAction(1039, {el(f.pFree), P::makeInt(9), P::makeInt(1), P::makeInt(0), P::makeInt(1)});
        break;
    case 9: pAction = f.action(29, {f.motionPath(), P::makeInt(4), P::makeJsonObject({{"x", 1}, {"y", 1}})}); break;
    case 10:
        pAction = f.action(29, {P::makeObject(P::MotionPath, f.pTrack), P::makeInt(0), P::makeJsonObject({{"x", 1}, {"y", 1}})});
        break;
    case 11: pAction = f.action(30, {f.motionPath(), P::makeInt(3), P::makeJsonObject({})}); break;
    case 12: pAction = f.action(31, {f.motionPath(), P::makeInt(1), P::makeInt(500)}); break;
    case 13:
        pAction = f.action(32, {f.motionPath(), P::makeInt(1), P::makeDouble(1), P::makeDouble(2), P::makeDouble(3)});
        break;
    case 14: pAction = f.action(59, {f.layoutData(), P::makeInt(0)}); break;
    case 15: pAction = f.action(59, {P::makeObject(P::LayoutData, &stranger), P::makeInt(100)}); break;
    case 16: pAction = f.action(89, {f.layoutData(), P::makeInt(0), P::makeInt(320), P::makeInt(0)}); break;
    case 17: pAction = f.action(90, {f.layoutData(), P::makeInt(0), P::makeInt(7), P::makeInt(0)}); break;
    case 18: pAction = f.action(91, {f.layoutData(), P::makeInt(0), P::makeInt(1), P::makeInt(20000)}); break;
    case 19: pAction = f.action(92, {f.layoutData(), P::makeInt(1), P::makeInt(1)}); break;
    case 20: pAction = f.action(92, {f.layoutData(), P::makeInt(0), P::makeDouble(1)}); break;
    case 21: pAction = f.action(101, {el(f.pA), P::makeInt(0), P::makeInt(0), P::makeBool(false)}); break;
    case 22: pAction = f.action(93, {P::makeObject(P::Animation, f.pAnimation)}); break;
    case 23: pAction = f.action(29, {f.motionPath(), P::makeInt(1), P::makeJsonObject({{"x", 1}})}); break;
    case 24: pAction = f.action(89, {f.layoutData(), P::makeInt(0), P::makeInt(500), P::makeInt(1)}); break;
    }
    const int nType = pAction->type();
    f.push({pAction});
    QCOMPARE(f.form(), strBefore);
    QCOMPARE(f.pSet->toJson(), joSet);
    QCOMPARE(f.pathText(), strPath);
    QCOMPARE(f.t.project.width(), nWidth);
    QCOMPARE(f.t.noteTypes().first(), nType);
    QCOMPARE(f.t.noteTypes().last(), 41);
    f.t.stack.undo();
    QCOMPARE(f.form(), strBefore);
    QCOMPARE(f.pSet->toJson(), joSet);
}

void TestCommandTypes::removedBreakpointLayoutsGoWithTheCommand()
{
    int nDestroyed = 0;
    {
        TypesFixture f;
        KVElementProperty *pKept = f.pA->property(KVLayoutKey(1, 0));
        QVERIFY(pKept);
        QObject::connect(pKept, &QObject::destroyed, [&nDestroyed] { ++nDestroyed; });
        f.push({f.action(90, {f.layoutData(), P::makeInt(0), P::makeInt(1), P::makeInt(0)})});
        QCOMPARE(nDestroyed, 0);
        f.t.stack.undo();
        // The very object is back.
        QCOMPARE(f.pA->property(KVLayoutKey(1, 0)), pKept);
        f.t.stack.redo();
        QCOMPARE(nDestroyed, 0);
        // Dropping the command drops what it kept.
        f.t.stack.clear();
        QCOMPARE(nDestroyed, 1);
    }
    QCOMPARE(nDestroyed, 1);
}

void TestCommandTypes::refreshShowsTheTrackValue()
{
    TypesFixture f;
    f.pTimeline->seek(1000);
    QCOMPARE(f.pA->opacity(kBase), 0.5);
    // The track changed outside the timeline's notice; the refresh applies it again.
    const bool bBlocked = f.pTimeline->blockSignals(true);
    f.pTrack->setKeyValue(f.pTrack->keyValues().last(), 0.2);
    f.pA->setOpacity(0.9, kBase);
    f.pTimeline->blockSignals(bBlocked);
    QCOMPARE(f.pA->opacity(kBase), 0.9);
    f.push({f.action(93, {P::makeObject(P::Animation, f.pAnimation), P::makeObject(P::Timeline, f.pTimeline)})});
    QCOMPARE(f.pA->opacity(kBase), 0.2);
    QCOMPARE(f.pTimeline->currentTimeMs(), 1000);
}

void TestCommandTypes::pageMessages_data()
{
    QTest::addColumn<int>("nCase");
    QTest::addColumn<QString>("strExpected");
    QTest::newRow("1008 id and text array") << 0 << "T,array:<b>Sale</b>,30";
    QTest::newRow("1009 id, count and adjustments") << 1 << "S,2,0.1,0.9";
    QTest::newRow("1037 id and the outline") << 2 << "F,path:2";
    QTest::newRow("1039 id and the arrows") << 3 << "F,arrows:1,6,4,2";
    QTest::newRow("29 the track") << 4 << "B,pos,points:4";
    QTest::newRow("59 width, height, alignment") << 5 << "300,480,4";
    QTest::newRow("92 responsive, layout, values, breakpoints") << 6 << "r:true,1,0,640,480,320,-1,0,-1,bp:0,1,320";
}

void TestCommandTypes::pageMessages()
{
    QFETCH(int, nCase);
    QFETCH(QString, strExpected);
    TypesFixture f;
    KVBezierPath path;
    path.setPoints({TypesFixture::point(0, 0), TypesFixture::point(10, 90)});
    QJsonObject joPath;
    path.toJson(joPath);
    A *pAction = nullptr;
    switch (nCase) {
    case 0: pAction = f.textAction(f.pText, "<b>Sale</b>", 30); break;
    case 1:
        pAction = f.elementAction(1009, {P::makeObject(P::Element, f.pShape), P::makeJsonArray({0.1, 0.9}), P::makeBool(false),
                                         P::makeInt(0), P::makeInt(0)});
        break;
    case 2:
        pAction = f.elementAction(1037, {P::makeObject(P::Element, f.pFree), P::makeJsonObject(joPath), P::makeBool(false),
                                         P::makeInt(0), P::makeInt(0)});
        break;
    case 3:
        pAction = f.elementAction(1039, {P::makeObject(P::Element, f.pFree), P::makeInt(1), P::makeInt(6), P::makeInt(4),
                                         P::makeInt(2)});
        break;
    case 4: pAction = f.action(29, {f.motionPath(), P::makeInt(1), P::makeJsonObject({{"x", 30}, {"y", 10}})}); break;
    case 5: pAction = f.action(59, {f.layoutData(), P::makeInt(300)}); break;
    case 6: pAction = f.action(92, {f.layoutData(), P::makeInt(0), P::makeInt(1)}); break;
    }
    const int nType = pAction->type();
    f.push({pAction});
    KVNote note;
    for (const KVNote &n : f.t.notes) {
        if (n.nType == nType)
            note = n;
    }
    const QJsonArray ja = note.joPage.value("params").toArray();
    auto value = [&ja](int i) { return ja.at(i).toObject().value("value"); };
    QStringList words;
    switch (nCase) {
    case 0: {
        QCOMPARE(value(0).toInt(), f.pText->id());
        const QJsonArray jaText = value(1).toArray();
        words << "T" << QStringLiteral("array:%1").arg(jaText.at(0).toString()) << QString::number(jaText.at(2).toInt());
        break;
    }
    case 1:
        QCOMPARE(value(0).toInt(), f.pShape->id());
        words << "S";
        for (int i = 1; i < ja.size(); ++i)
            words << QString::number(value(i).toDouble());
        QCOMPARE(ja.at(2).toObject().value("type").toInt(), int(P::Double));
        break;
    case 2:
    case 3: {
        QCOMPARE(value(0).toInt(), f.pFree->id());
        const QJsonArray jaValue = value(1).toObject().value("value").toArray();
        words << "F";
        if (nCase == 2) {
            words << QStringLiteral("path:%1").arg(jaValue.size());
        } else {
            QStringList numbers;
            for (const QJsonValue &jv : jaValue)
                numbers << QString::number(jv.toInt());
            words << "arrows:" + numbers.join(',');
        }
        break;
    }
    case 4: {
        const QJsonObject jo = value(0).toObject();
        QCOMPARE(jo.value("el").toInt(), f.pB->id());
        words << "B" << jo.value("p").toString();
        // The entries carry the path points they run through: all four now.
        int nPoints = 0;
        for (const QJsonValue &jv : jo.value("anims").toArray())
            nPoints += jv.toObject().value("cp").toArray().size();
        words << QStringLiteral("points:%1").arg(nPoints);
        break;
    }
    case 5:
        for (int i = 0; i < ja.size(); ++i)
            words << QString::number(value(i).toInt());
        break;
    case 6: {
        words << QStringLiteral("r:%1").arg(value(0).toObject().value("r").toBool() ? "true" : "false");
        words << QString::number(value(1).toInt()) << QString::number(value(2).toInt());
        for (const QJsonValue &jv : value(3).toArray())
            words << QString::number(jv.toInt());
        QStringList bp;
        for (int i = 4; i < ja.size(); ++i) {
            for (const QJsonValue &jv : value(i).toArray())
                bp << QString::number(jv.toInt());
        }
        words << "bp:" + bp.join(',');
        break;
    }
    }
    QCOMPARE(words.join(','), strExpected);
    // Undone, the same message form comes with the undo flag.
    f.t.notes.clear();
    f.t.stack.undo();
    QVERIFY(f.t.noteTypes().contains(nType));
}

KAVIO_TEST_MAIN(TestCommandTypes)
#include "tst_commandtypes.moc"
