#include "KVCommandTestKit.h"

#include "commands/KVElementCommandAction.h"
#include "model/KVAutoShape.h"
#include "model/KVCorner.h"
#include "model/KVDiv.h"

#include "KVTestMain.h"

#include <memory>

using P = KVCmdParam;
using Cat = KVPropertyCatalogue;

namespace {

QJsonArray pageParams(const KVNote &note)
{
    return note.joPage.value(QStringLiteral("params")).toArray();
}

QJsonValue valueAt(const QJsonArray &ja, int i)
{
    return ja.at(i).toObject().value(QStringLiteral("value"));
}

// The notes of one type, in order.
QList<KVNote> notesOf(const KVTestCommandTarget &t, int nType)
{
    QList<KVNote> list;
    for (const KVNote &n : t.notes) {
        if (n.nType == nType)
            list.append(n);
    }
    return list;
}

QJsonObject parse(const char *pJson)
{
    return QJsonDocument::fromJson(QByteArray(pJson)).object();
}

} // namespace

class TestViewUpdates : public QObject
{
    Q_OBJECT

private slots:
    void paramToJson_data();
    void paramToJson();
    void paramFromJson_data();
    void paramFromJson();
    void elementFromPage_data();
    void elementFromPage();
    void insertMessages();
    void labelRenameSwapsOnUndo();
    void sceneAnimationReportsElementZero();
    void trackMessages();
    void commandMessageCount();
    void moveAndMediaMessages();
    void pageRequests_data();
    void pageRequests();
};

void TestViewUpdates::paramToJson_data()
{
    QTest::addColumn<int>("nCase");
    QTest::addColumn<QString>("strExpected");
    QTest::newRow("int") << 0 << R"({"type":1,"value":-4})";
    QTest::newRow("double") << 1 << R"({"type":2,"value":2.5})";
    QTest::newRow("point") << 2 << R"({"type":3,"x":3,"y":-1.5})";
    QTest::newRow("bool") << 3 << R"({"type":4,"value":true})";
    QTest::newRow("string") << 4 << R"({"type":5,"value":"héllo"})";
    QTest::newRow("object") << 5 << R"({"type":7,"value":{"a":[1]}})";
    QTest::newRow("array") << 6 << R"({"type":8,"value":[1,"x"]})";
    QTest::newRow("int list") << 7 << R"({"type":33,"value":[3,1,2]})";
    QTest::newRow("timeline has no page form") << 8 << R"({"type":15})";
    QTest::newRow("variant has no page form") << 9 << R"({"type":9})";
    QTest::newRow("nothing") << 10 << R"({"type":0})";
}

void TestViewUpdates::paramToJson()
{
    QFETCH(int, nCase);
    QFETCH(QString, strExpected);
    KVCommandFixture f;
    std::unique_ptr<P> p;
    switch (nCase) {
    case 0: p.reset(P::makeInt(-4)); break;
    case 1: p.reset(P::makeDouble(2.5)); break;
    case 2: p.reset(P::makePoint(QPointF(3, -1.5))); break;
    case 3: p.reset(P::makeBool(true)); break;
    case 4: p.reset(P::makeString(QStringLiteral("héllo"))); break;
    case 5: p.reset(P::makeJsonObject(parse(R"({"a":[1]})"))); break;
    case 6: p.reset(P::makeJsonArray(QJsonArray{1, "x"})); break;
    case 7: p.reset(P::makeIntList({3, 1, 2})); break;
    case 8: p.reset(P::makeObject(P::Timeline, f.pTimeline)); break;
    case 9: p.reset(P::makeVariant(7)); break;
    case 10: p.reset(new P); break;
    }
    QCOMPARE(QString::fromUtf8(QJsonDocument(p->toJson()).toJson(QJsonDocument::Compact)), strExpected);

    // Whatever the page can send back reads as the same parameter.
    if (nCase <= 4 || nCase == 7) {
        QString strError;
        std::unique_ptr<P> pBack(P::fromJson(p->toJson(), &strError));
        QVERIFY2(pBack, qPrintable(strError));
        QCOMPARE(pBack->kind(), p->kind());
        QCOMPARE(pBack->toJson(), p->toJson());
    }
}

void TestViewUpdates::paramFromJson_data()
{
    QTest::addColumn<QString>("strJson");
    QTest::addColumn<bool>("bRead");
    QTest::newRow("int") << R"({"type":1,"value":12})" << true;
    QTest::newRow("int list") << R"({"type":33,"value":[0,2,4]})" << true;
    QTest::newRow("no kind") << R"({"value":12})" << false;
    QTest::newRow("kind as text") << R"({"type":"1","value":12})" << false;
    QTest::newRow("int given as text") << R"({"type":1,"value":"12"})" << false;
    QTest::newRow("bool given as number") << R"({"type":4,"value":1})" << false;
    QTest::newRow("point without y") << R"({"type":3,"x":1})" << false;
    QTest::newRow("int list with a text") << R"({"type":33,"value":[1,"2"]})" << false;
    QTest::newRow("object kind is not read") << R"({"type":7,"value":{}})" << false;
    QTest::newRow("scene kind is not read") << R"({"type":12,"value":{}})" << false;
}

void TestViewUpdates::paramFromJson()
{
    QFETCH(QString, strJson);
    QFETCH(bool, bRead);
    QString strError;
    std::unique_ptr<P> p(P::fromJson(QJsonDocument::fromJson(strJson.toUtf8()).object(), &strError));
    QCOMPARE(p != nullptr, bRead);
    // A refusal always says why.
    QCOMPARE(strError.isEmpty(), bRead);
}

void TestViewUpdates::elementFromPage_data()
{
    QTest::addColumn<QString>("strJson");
    QTest::addColumn<int>("nType");
    // The corner radius a new element starts with: a shape's and a rounded rectangle's are 25 px,
    // a plain rectangle's square.
    QTest::addColumn<double>("dRadius");
    QTest::newRow("rectangle") << R"({"shapeType":5,"id":7,"l":10,"t":20,"w":100,"h":50,"path":"rect"})" << 5 << 0.0;
    QTest::newRow("rectangle without outline") << R"({"shapeType":5,"id":7,"l":10,"t":20,"w":100,"h":50})" << 5 << 0.0;
    QTest::newRow("rounded rectangle") << R"({"shapeType":5,"id":7,"l":10,"t":20,"w":100,"h":50,"path":"roundrect"})" << 5 << 25.0;
    QTest::newRow("shape") << R"({"shapeType":9,"id":8,"l":0,"t":0,"w":30,"h":30})" << 9 << 25.0;
    QTest::newRow("text without id") << R"({"shapeType":4,"l":1,"t":2,"w":3,"h":4})" << 4 << 0.0;
    QTest::newRow("missing height") << R"({"shapeType":5,"id":7,"l":10,"t":20,"w":100})" << -1 << 0.0;
    QTest::newRow("scene type") << R"({"shapeType":8,"l":0,"t":0,"w":1,"h":1})" << -1 << 0.0;
    QTest::newRow("unknown type") << R"({"shapeType":42,"l":0,"t":0,"w":1,"h":1})" << -1 << 0.0;
}

void TestViewUpdates::elementFromPage()
{
    QFETCH(QString, strJson);
    QFETCH(int, nType);
    const QJsonObject jo = QJsonDocument::fromJson(strJson.toUtf8()).object();
    QString strError;
    std::unique_ptr<P> p(P::fromJson(QJsonObject{{"type", 11}, {"value", jo}}, &strError));
    if (nType < 0) {
        QVERIFY(!p);
        QVERIFY(!strError.isEmpty());
        return;
    }
    QVERIFY2(p, qPrintable(strError));
    // The parameter owns the new element until an insertion takes it.
    QVERIFY(p->isOwned());
    KVElement *pElement = p->element();
    QCOMPARE(pElement->type(), nType);
    QCOMPARE(pElement->id(), jo.value("id").toInt(-1));
    const KVLayoutKey base = KVLayoutKey::base();
    QCOMPARE(pElement->positionX(base), jo.value("l").toDouble());
    QCOMPARE(pElement->positionY(base), jo.value("t").toDouble());
    QCOMPARE(pElement->sizeW(base), jo.value("w").toDouble());
    QCOMPARE(pElement->sizeH(base), jo.value("h").toDouble());
    QCOMPARE(pElement->unitW(base), 0);
    QFETCH(double, dRadius);
    if (auto *pDiv = qobject_cast<KVDiv *>(pElement)) {
        QCOMPARE(pDiv->corner(base)->topLeft(), dRadius);
        QCOMPARE(pDiv->corner(base)->bottomRight(), dRadius);
    }
    if (auto *pShape = qobject_cast<KVAutoShape *>(pElement)) {
        for (double d : pShape->adjustments(base))
            QCOMPARE(d, 0.5);
    }
}

void TestViewUpdates::insertMessages()
{
    KVCommandFixture f;
    KVElement *pNew = KVCommandFixture::rectangle(1, 1);
    f.push({f.action(1, {P::makeObject(P::Element, pNew, true), P::makeInt(1), P::makeObject(P::Scene, f.pScene),
                         P::makeObject(P::Element, f.pGroup)})});
    KVNote note = notesOf(f.t, 1).first();
    QCOMPARE(note.joPage.value("cmd").toInt(), 1);
    QCOMPARE(note.joPage.value("isUndoCmd").toBool(), false);
    QJsonArray ja = pageParams(note);
    QCOMPARE(ja.size(), 4);
    // Forward: the element's canvas form, its index, the parent's id and type code.
    QCOMPARE(ja.at(0).toObject().value("type").toInt(), 11);
    QCOMPARE(valueAt(ja, 0).toObject().value("id").toInt(), pNew->id());
    QCOMPARE(valueAt(ja, 1).toInt(), 1);
    QCOMPARE(valueAt(ja, 2).toInt(), f.pGroup->id());
    QCOMPARE(valueAt(ja, 3).toInt(), 6);

    f.t.notes.clear();
    f.t.stack.undo();
    note = notesOf(f.t, 1).first();
    QCOMPARE(note.joPage.value("isUndoCmd").toBool(), true);
    ja = pageParams(note);
    // Undone: the id instead of the element.
    QCOMPARE(ja.at(0).toObject().value("type").toInt(), 1);
    QCOMPARE(valueAt(ja, 0).toInt(), pNew->id());
    QCOMPARE(valueAt(ja, 1).toInt(), 1);

    // A removal sends the id forwards and the element when undone.
    f.t.notes.clear();
    f.push({f.action(2, {P::makeObject(P::Element, f.pB), P::makeInt(-1), P::makeObject(P::Scene, f.pScene)})});
    ja = pageParams(notesOf(f.t, 2).first());
    QCOMPARE(valueAt(ja, 0).toInt(), f.pB->id());
    QCOMPARE(valueAt(ja, 2).toInt(), f.pScene->id());
    QCOMPARE(valueAt(ja, 3).toInt(), 8);
    f.t.notes.clear();
    f.t.stack.undo();
    ja = pageParams(notesOf(f.t, 2).first());
    QCOMPARE(valueAt(ja, 0).toObject().value("id").toInt(), f.pB->id());
}

void TestViewUpdates::labelRenameSwapsOnUndo()
{
    KVCommandFixture f;
    f.pTimeline->addLabel(QStringLiteral("go"), 300);
    f.push({f.action(15, {P::makeObject(P::Timeline, f.pTimeline), P::makeString("go"), P::makeString("start")})});
    QJsonObject jo = valueAt(pageParams(notesOf(f.t, 15).first()), 0).toObject();
    QCOMPARE(jo.value("oldLabelName").toString(), QStringLiteral("go"));
    QCOMPARE(jo.value("newLabelName").toString(), QStringLiteral("start"));
    f.t.notes.clear();
    f.t.stack.undo();
    jo = valueAt(pageParams(notesOf(f.t, 15).first()), 0).toObject();
    QCOMPARE(jo.value("oldLabelName").toString(), QStringLiteral("start"));
    QCOMPARE(jo.value("newLabelName").toString(), QStringLiteral("go"));

    // A moved label reports its time now.
    f.t.notes.clear();
    f.push({f.action(16, {P::makeObject(P::Timeline, f.pTimeline), P::makeString("go"), P::makeInt(900)})});
    jo = valueAt(pageParams(notesOf(f.t, 16).first()), 0).toObject();
    QCOMPARE(jo.value("newTimeStamp").toInt(), 900);
}

void TestViewUpdates::sceneAnimationReportsElementZero()
{
    KVCommandFixture f;
    auto *pAnimation = new KVAnimation(f.pScene);
    f.pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
    f.push({f.action(18, {P::makeObject(P::Animation, pAnimation), P::makeObject(P::Timeline, f.pTimeline)})});
    QCOMPARE(valueAt(pageParams(notesOf(f.t, 18).first()), 0).toObject(), (QJsonObject{{"el", 0}}));
    // The removal of an element's animation names the element; undone it sends the entries.
    f.t.notes.clear();
    f.push({f.action(18, {P::makeObject(P::Animation, f.pAnimation), P::makeObject(P::Timeline, f.pTimeline)})});
    QCOMPARE(valueAt(pageParams(notesOf(f.t, 18).first()), 0).toObject(), (QJsonObject{{"el", f.pA->id()}}));
    f.t.notes.clear();
    f.t.stack.undo();
    const QJsonArray jaEntries = valueAt(pageParams(notesOf(f.t, 18).first()), 0).toObject().value("anims").toArray();
    QVERIFY(!jaEntries.isEmpty());
    QCOMPARE(jaEntries.first().toObject().value("el").toInt(), f.pA->id());
}

void TestViewUpdates::trackMessages()
{
    KVCommandFixture f;
    f.push({f.action(21, {P::makeObject(P::Keyframe, f.pTrack), P::makeInt(100)})});
    const QJsonObject jo = valueAt(pageParams(notesOf(f.t, 21).first()), 0).toObject();
    QCOMPARE(jo.value("el").toInt(), f.pA->id());
    QCOMPARE(jo.value("p").toString(), Cat::shortKey(Cat::Opacity));
    // The entries already show the shifted keys.
    QJsonArray jaExpected;
    f.pTrack->toPlayerJson(jaExpected, f.pA->id(), true);
    QCOMPARE(jo.value("anims").toArray(), jaExpected);

    // Taking a track out sends only the element and the property.
    f.t.notes.clear();
    f.push({f.action(20, {P::makeObject(P::Keyframe, f.pTrack), P::makeObject(P::Element, f.pA),
                          P::makeObject(P::Timeline, f.pTimeline), P::makeValue(P::ValueList, QVariant()),
                          P::makeVariant(1.0)})});
    QCOMPARE(valueAt(pageParams(notesOf(f.t, 20).first()), 0).toObject(),
             (QJsonObject{{"el", f.pA->id()}, {"p", Cat::shortKey(Cat::Opacity)}}));
}

void TestViewUpdates::commandMessageCount()
{
    KVCommandFixture f;
    f.push({f.action(12, {P::makeObject(P::Timeline, f.pTimeline), P::makeString("T")}),
            f.action(13, {P::makeObject(P::Timeline, f.pTimeline), P::makeString("x"), P::makeInt(5)})});
    QCOMPARE(f.t.noteTypes(), (QList<int>{12, 13, 41}));
    // The closing message has an empty list; unprepared types send their parameters as they are.
    QCOMPARE(f.t.notes.last().joPage, (QJsonObject{{"cmd", 41}, {"isUndoCmd", false}, {"params", QJsonArray()}}));
    const QJsonArray ja = pageParams(f.t.notes.first());
    QCOMPARE(ja.size(), 2);
    QCOMPARE(ja.at(0).toObject(), (QJsonObject{{"type", 15}}));
    // The parameter holds the name before after the exchange.
    QCOMPARE(valueAt(ja, 1).toString(), QStringLiteral("Timeline"));
}

void TestViewUpdates::moveAndMediaMessages()
{
    KVCommandFixture f;
    f.push({f.action(3, {P::makeObject(P::Element, f.pA), P::makeObject(P::Element, f.pScene), P::makeInt(-1),
                         P::makeObject(P::Element, f.pGroup), P::makeInt(0)})});
    QJsonArray ja = pageParams(notesOf(f.t, 3).first());
    QCOMPARE(ja.size(), 5);
    QCOMPARE(valueAt(ja, 0).toInt(), f.pA->id());
    QCOMPARE(valueAt(ja, 1).toInt(), 0);
    QVERIFY(valueAt(ja, 2).toObject().value("r").isArray());
    QCOMPARE(valueAt(ja, 3).toInt(), f.pGroup->id());
    QCOMPARE(valueAt(ja, 4).toInt(), 6);
    // Undone, the element is back on the stage at its old index.
    f.t.notes.clear();
    f.t.stack.undo();
    ja = pageParams(notesOf(f.t, 3).first());
    QCOMPARE(valueAt(ja, 1).toInt(), 0);
    QCOMPARE(valueAt(ja, 3).toInt(), f.pScene->id());
    QCOMPARE(valueAt(ja, 4).toInt(), 8);

    KVElement *pVideo = KVElementFactory::createElement(2);
    f.pScene->addElement(pVideo);
    f.t.notes.clear();
    auto *pAction = new KVElementCommandAction(1021, &f.t, 2);
    pAction->addParam(P::makeObject(P::Element, pVideo));
    pAction->addParam(P::makeDouble(0.4));
    f.push({pAction});
    QCOMPARE(valueAt(pageParams(notesOf(f.t, 1021).first()), 0).toObject(),
             (QJsonObject{{"elementId", pVideo->id()}, {"volume", 40.0}}));
}

void TestViewUpdates::pageRequests_data()
{
    QTest::addColumn<QString>("strJson");
    QTest::addColumn<bool>("bRead");
    QTest::addColumn<int>("nCmd");
    QTest::addColumn<bool>("bUndo");
    QTest::addColumn<int>("nParams");
    QTest::newRow("full") << R"({"cmd":1000,"isUndoCmd":true,"params":[{"type":1,"value":3},{"type":33,"value":[0]}]})"
                          << true << 1000 << true << 2;
    QTest::newRow("defaults") << R"({})" << true << 0 << false << 0;
    QTest::newRow("mistyped keys take defaults") << R"({"cmd":"7","isUndoCmd":1,"params":{}})" << true << 0 << false << 0;
    QTest::newRow("a parameter that is no object") << R"({"cmd":2,"params":[{"type":1,"value":3},5]})" << false << 2 << false << 0;
    QTest::newRow("a partial element") << R"({"cmd":1,"params":[{"type":11,"value":{"shapeType":5,"l":1}}]})"
                                       << false << 1 << false << 0;
}

void TestViewUpdates::pageRequests()
{
    QFETCH(QString, strJson);
    QFETCH(bool, bRead);
    QFETCH(int, nCmd);
    QFETCH(bool, bUndo);
    QFETCH(int, nParams);
    KVCommandFixture f;
    KVUpdateViewInfo info;
    QString strError;
    QCOMPARE(info.fromPageJson(QJsonDocument::fromJson(strJson.toUtf8()).object(), &f.t, &strError), bRead);
    QCOMPARE(strError.isEmpty(), bRead);
    QCOMPARE(info.type(), nCmd);
    QCOMPARE(info.isUndo(), bUndo);
    QCOMPARE(info.params() ? info.params()->size() : 0, nParams);
    // The parameters go over to an action, which then owns them.
    KVCommandAction action(info.type(), &f.t);
    for (P *p : info.takeReadParams())
        action.addParam(p);
    QCOMPARE(action.paramCount(), nParams);
    QCOMPARE(info.params() ? info.params()->size() : 0, 0);
}

KAVIO_TEST_MAIN(TestViewUpdates)
#include "tst_viewupdates.moc"
