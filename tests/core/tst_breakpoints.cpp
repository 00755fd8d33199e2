// Responsive breakpoints and per-layout overrides: the breakpoint set (insertion, ids, ranges, layout
// selection, container sizes, both JSON forms), reading values through the override flags, bringing
// element trees in line with a list of layouts, and the player's reset list at responsive layouts.

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include "animation/KVPropertyCatalogue.h"
#include "model/KVBackground.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementProperty.h"
#include "model/KVImageUseCounter.h"

#include <QJsonDocument>
#include <QSignalSpy>

#include <memory>

using Code = KVPropertyCatalogue;

namespace {

// "h:768 v:400:3": breakpoints added in that order, with an id after the value when given.
// Returns the results of the additions as "id:value" words.
QString addAll(KVBreakpointSet &set, const QString &strOps)
{
    QStringList results;
    for (const QString &strOp : strOps.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = strOp.split(':');
        const bool bVertical = parts.at(0) == QLatin1String("v");
        const int nId = parts.size() > 2 ? parts.at(2).toInt() : 0;
        const KVBreakpoint bp = set.addBreakpoint(bVertical, parts.at(1).toInt(), nId);
        results << QStringLiteral("%1:%2").arg(bp.nId).arg(bp.nValue);
    }
    return results.join(' ');
}

// A list as "id:value" words in list order.
QString listText(const QList<KVBreakpoint> &list)
{
    QStringList words;
    for (const KVBreakpoint &bp : list)
        words << QStringLiteral("%1:%2").arg(bp.nId).arg(bp.nValue);
    return words.join(' ');
}

KVLayoutKey keyFrom(const QString &str)
{
    return KVLayoutKey(str.section(',', 0, 0).toInt(), str.section(',', 1, 1).toInt());
}

QList<KVLayoutKey> keysFrom(const QString &str)
{
    QList<KVLayoutKey> keys;
    for (const QString &strKey : str.split(';', Qt::SkipEmptyParts))
        keys << keyFrom(strKey);
    return keys;
}

QString keysText(const QList<KVLayoutKey> &keys)
{
    QStringList words;
    for (const KVLayoutKey &key : keys)
        words << QStringLiteral("%1,%2").arg(key.nHLayoutId).arg(key.nVLayoutId);
    return words.join(';');
}

// Layouts of an element as "h,v=opacity!code!code" entries (codes with inherit flag false),
// separated by ';' in key order. The opacity tells where an object's values came from.
QString layoutsText(const KVElement &element)
{
    QStringList entries;
    const auto &props = element.properties();
    for (auto it = props.cbegin(); it != props.cend(); ++it) {
        QString str = QStringLiteral("%1,%2=%3")
                          .arg(it.key().nHLayoutId)
                          .arg(it.key().nVLayoutId)
                          .arg(it.value()->opacity());
        const QMap<int, bool> flags = it.value()->inheritFlags();
        for (auto f = flags.cbegin(); f != flags.cend(); ++f) {
            if (!f.value())
                str += QStringLiteral("!%1").arg(f.key());
        }
        entries << str;
    }
    return entries.join(';');
}

// Gives an element the layouts described as by layoutsText().
void setLayouts(KVElement &element, const QString &strLayouts)
{
    element.clearProperties();
    for (const QString &strEntry : strLayouts.split(';', Qt::SkipEmptyParts)) {
        const QStringList parts = strEntry.section('=', 1).split('!');
        auto *pProperty = new KVElementProperty;
        pProperty->setOpacity(parts.at(0).toDouble());
        for (int i = 1; i < parts.size(); ++i)
            pProperty->setInherited(parts.at(i).toInt(), false);
        QVERIFY(element.addProperty(pProperty, keyFrom(strEntry.section('=', 0, 0))));
    }
}

QString compact(const QJsonObject &jo)
{
    return QString::fromUtf8(QJsonDocument(jo).toJson(QJsonDocument::Compact));
}

// The export entry of one layout as compact JSON, or empty when the layout was left out.
QString exportedLayout(KVElement &element, const KVLayoutKey &key)
{
    QJsonObject jo;
    element.toPlayerJson(jo, false);
    for (const QJsonValue &entry : jo.value(QStringLiteral("rp")).toArray()) {
        const QJsonArray ja = entry.toArray();
        if (ja.at(0).toInt() == key.nHLayoutId && ja.at(1).toInt() == key.nVLayoutId)
            return compact(ja.at(2).toObject());
    }
    return QString();
}

// A document's images as fills see them: ids 1..9 exist; counts are recorded.
class FakeImages : public KVImageUseCounter
{
public:
    bool hasImage(int nId) const override { return nId >= 1 && nId <= 9; }
    bool isDeleted(int) const override { return false; }
    void acquire(int nId) override { ++counts[nId]; }
    void release(int nId) override { --counts[nId]; }
    QSize imageSize(int) const override { return QSize(10, 10); }
    QMap<int, int> counts;
};

} // namespace

class tst_Breakpoints : public QObject
{
    Q_OBJECT

private slots:
    void addBreakpoint_data();
    void addBreakpoint();
    void removeAndPutBack();
    void setBreakpointValue_data();
    void setBreakpointValue();
    void checkNewBreakpoint_data();
    void checkNewBreakpoint();
    void rangeAndValue_data();
    void rangeAndValue();
    void layoutFor_data();
    void layoutFor();
    void fitSize_data();
    void fitSize();
    void layoutKeys();
    void projectForm_data();
    void projectForm();
    void projectFormRoundTrip();
    void playerForm();

    void readingThroughOverrides();
    void propertyObjectsPerLayout();
    void syncLayouts_data();
    void syncLayouts();
    void syncLayoutsWithoutSource();
    void syncLayoutsKeepsUseCounts();
    void currentLayoutFromContainerSize();
    void inheritFlagsProjectRoundTrip();
    void resetList_data();
    void resetList();
};

// --- Breakpoint set ------------------------------------------------------------------------------

void tst_Breakpoints::addBreakpoint_data()
{
    QTest::addColumn<QString>("ops");
    QTest::addColumn<QString>("results");
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<int>("nextId");

    QTest::newRow("insertion by value")
        << "h:768 h:320 h:1024" << "1:768 2:320 3:1024" << "2:320 1:768 3:1024" << "" << 4;
    QTest::newRow("same value again refused")
        << "h:768 h:320 h:1024 h:768" << "1:768 2:320 3:1024 -1:-1" << "2:320 1:768 3:1024" << ""
        << 4;
    QTest::newRow("ids shared by both directions")
        << "h:500 v:500 h:300 v:200" << "1:500 2:500 3:300 4:200" << "3:300 1:500" << "4:200 2:500"
        << 5;
    QTest::newRow("given id kept, counter raised past it")
        << "h:500:7 h:600 v:100" << "7:500 8:600 9:100" << "7:500 8:600" << "9:100" << 10;
    QTest::newRow("id already taken refused")
        << "h:500 h:600 h:700 v:50:2" << "1:500 2:600 3:700 -1:-1" << "1:500 2:600 3:700" << ""
        << 4;
    QTest::newRow("value range 1..10000")
        << "h:0 h:-5 h:10001 h:1 h:10000" << "-1:-1 -1:-1 -1:-1 1:1 2:10000" << "1:1 2:10000" << ""
        << 3;
    QTest::newRow("refused value with an id takes nothing")
        << "v:300 v:300:9" << "1:300 -1:-1" << "" << "1:300" << 2;
}

void tst_Breakpoints::addBreakpoint()
{
    QFETCH(QString, ops);
    QFETCH(QString, results);
    QFETCH(QString, horizontal);
    QFETCH(QString, vertical);
    QFETCH(int, nextId);

    KVBreakpointSet set;
    QCOMPARE(addAll(set, ops), results);
    QCOMPARE(listText(set.hBreakpoints()), horizontal);
    QCOMPARE(listText(set.vBreakpoints()), vertical);
    QCOMPARE(set.nextId(), nextId);
    QCOMPARE(set.hasLayouts(), !horizontal.isEmpty() || !vertical.isEmpty());
    // Adding never moves the layout the editor shows.
    QCOMPARE(set.currentLayout(), KVLayoutKey::base());
}

void tst_Breakpoints::setBreakpointValue_data()
{
    QTest::addColumn<bool>("bVertical");
    QTest::addColumn<int>("nId");
    QTest::addColumn<int>("nValue");
    QTest::addColumn<int>("nResult");
    QTest::addColumn<QString>("horizontal");
    // The set: h 1:320 2:768 4:1024, v 3:400.
    QTest::newRow("stays in place") << false << 2 << 700 << 768 << "1:320 2:700 4:1024";
    QTest::newRow("moves past its neighbours") << false << 1 << 900 << 320 << "2:768 1:900 4:1024";
    QTest::newRow("to the front") << false << 4 << 10 << 1024 << "4:10 1:320 2:768";
    QTest::newRow("same value") << false << 2 << 768 << 768 << "1:320 2:768 4:1024";
    QTest::newRow("value taken") << false << 1 << 1024 << -1 << "1:320 2:768 4:1024";
    QTest::newRow("out of range") << false << 1 << 10001 << -1 << "1:320 2:768 4:1024";
    QTest::newRow("zero") << false << 1 << 0 << -1 << "1:320 2:768 4:1024";
    QTest::newRow("wrong direction") << true << 1 << 500 << -1 << "1:320 2:768 4:1024";
    QTest::newRow("vertical") << true << 3 << 500 << 400 << "1:320 2:768 4:1024";
}

void tst_Breakpoints::setBreakpointValue()
{
    QFETCH(bool, bVertical);
    QFETCH(int, nId);
    QFETCH(int, nValue);
    QFETCH(int, nResult);
    QFETCH(QString, horizontal);
    KVBreakpointSet set;
    addAll(set, "h:320 h:768 v:400 h:1024");
    QSignalSpy spy(&set, &KVBreakpointSet::changed);
    QCOMPARE(set.setBreakpointValue(bVertical, nId, nValue), nResult);
    QCOMPARE(listText(set.hBreakpoints()), horizontal);
    QCOMPARE(listText(set.vBreakpoints()),
             bVertical && nResult >= 0 ? QStringLiteral("3:%1").arg(nValue) : QStringLiteral("3:400"));
    QCOMPARE(spy.count(), nResult >= 0 && nResult != nValue ? 1 : 0);
    QCOMPARE(set.nextId(), 5);
}

void tst_Breakpoints::removeAndPutBack()
{
    KVBreakpointSet set;
    addAll(set, "h:320 h:768 v:400");
    QSignalSpy spy(&set, &KVBreakpointSet::changed);
    const KVBreakpointSet before(set);

    // The wrong direction and an unknown id take nothing out.
    QCOMPARE(set.removeVBreakpoint(1), KVBreakpoint::none());
    QCOMPARE(set.removeHBreakpoint(42), KVBreakpoint::none());
    QCOMPARE(spy.count(), 0);
    QVERIFY(set == before);

    set.setCurrentLayout(KVLayoutKey(1, 3));
    spy.clear();
    const KVBreakpoint removed = set.removeHBreakpoint(1);
    QCOMPARE(removed, KVBreakpoint(1, 320));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(listText(set.hBreakpoints()), QStringLiteral("2:768"));
    QCOMPARE(set.currentLayout(), KVLayoutKey(1, 3)); // the editor switches layouts itself
    QCOMPARE(set.nextId(), 4);

    // Undo puts it back under its old id; the counter does not move.
    QCOMPARE(set.addHBreakpoint(removed.nValue, removed.nId), removed);
    QCOMPARE(listText(set.hBreakpoints()), QStringLiteral("1:320 2:768"));
    QCOMPARE(set.nextId(), 4);

    // The refused addition signals nothing; the last vertical one leaves horizontal layouts.
    spy.clear();
    QCOMPARE(set.addHBreakpoint(768), KVBreakpoint::none());
    QCOMPARE(spy.count(), 0);
    QCOMPARE(set.removeVBreakpoint(3), KVBreakpoint(3, 400));
    QVERIFY(set.hasLayouts());
    set.removeHBreakpoint(1);
    set.removeHBreakpoint(2);
    QVERIFY(!set.hasLayouts());
}

void tst_Breakpoints::checkNewBreakpoint_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("message");

    const QString strRange = QStringLiteral("The new breakpoint must be in the range (0, 10000]");
    QTest::newRow("free") << false << 500 << "";
    QTest::newRow("top of the range") << false << 10000 << "";
    QTest::newRow("zero") << false << 0 << strRange;
    QTest::newRow("above") << true << 10001 << strRange;
    QTest::newRow("taken") << false << 768 << "The breakpoint \"768\" already exists.";
    QTest::newRow("taken only in the other direction") << true << 768 << "";
}

void tst_Breakpoints::checkNewBreakpoint()
{
    QFETCH(bool, vertical);
    QFETCH(int, value);
    QFETCH(QString, message);

    RecordingReporter rec;
    KVBreakpointSet set;
    addAll(set, "h:768");
    const KVBreakpointSet before(set);
    QCOMPARE(set.checkNewBreakpoint(vertical, value), message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY(rec.entries().isEmpty());
    } else {
        QCOMPARE(rec.texts(), QStringList{message});
        QCOMPARE(rec.entries().first().title, QStringLiteral("Kavio Studio"));
    }
    QVERIFY(set == before);
}

void tst_Breakpoints::rangeAndValue_data()
{
    QTest::addColumn<QString>("breakpoints");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");

    const QString strSet = QStringLiteral("h:768:2 h:320:1 h:1024:5 v:400:3");
    QTest::newRow("base below the first") << strSet << false << 0 << -1 << 0 << 320;
    QTest::newRow("first") << strSet << false << 1 << 320 << 320 << 768;
    QTest::newRow("middle") << strSet << false << 2 << 768 << 768 << 1024;
    QTest::newRow("last is open") << strSet << false << 5 << 1024 << 1024 << -1;
    QTest::newRow("vertical base") << strSet << true << 0 << -1 << 0 << 400;
    QTest::newRow("vertical only") << strSet << true << 3 << 400 << 400 << -1;
    QTest::newRow("id of the other direction") << strSet << true << 1 << -1 << -1 << -1;
    QTest::newRow("unknown id") << strSet << false << 9 << -1 << -1 << -1;
    QTest::newRow("empty list base") << "" << false << 0 << -1 << 0 << -1;
}

void tst_Breakpoints::rangeAndValue()
{
    QFETCH(QString, breakpoints);
    QFETCH(bool, vertical);
    QFETCH(int, id);
    QFETCH(int, value);
    QFETCH(int, low);
    QFETCH(int, high);

    KVBreakpointSet set;
    addAll(set, breakpoints);
    QCOMPARE(set.valueOf(vertical, id), value);
    QCOMPARE(set.rangeOf(vertical, id), KVBreakpointSet::Range(low, high));
}

void tst_Breakpoints::layoutFor_data()
{
    QTest::addColumn<QString>("breakpoints");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("layout");

    const QString strSet = QStringLiteral("h:320:1 h:768:2 v:400:3 v:900:4");
    QTest::newRow("below every width") << strSet << 100 << 100 << "0,0";
    QTest::newRow("exactly the first") << strSet << 320 << 100 << "1,0";
    QTest::newRow("just below the second") << strSet << 767 << 100 << "1,0";
    QTest::newRow("above the last") << strSet << 800 << 100 << "2,0";
    QTest::newRow("zero size") << strSet << 0 << 0 << "0,0";
    QTest::newRow("height picks vertical") << strSet << 100 << 400 << "0,3";
    QTest::newRow("both") << strSet << 5000 << 899 << "2,3";
    QTest::newRow("tallest") << strSet << 320 << 10000 << "1,4";
    QTest::newRow("no breakpoints") << "" << 1200 << 800 << "0,0";
    QTest::newRow("ids in another order than values") << "h:900 h:300 h:600" << 650 << 0 << "3,0";
}

void tst_Breakpoints::layoutFor()
{
    QFETCH(QString, breakpoints);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, layout);

    KVBreakpointSet set;
    addAll(set, breakpoints);
    QCOMPARE(set.layoutFor(width, height), keyFrom(layout));
}

void tst_Breakpoints::fitSize_data()
{
    QTest::addColumn<QString>("breakpoints");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("size");

    const QString strSet = QStringLiteral("h:320:1 h:768:2");
    QTest::newRow("above a closed range") << strSet << false << 1 << 1000 << 668;
    QTest::newRow("inside stays") << strSet << false << 1 << 500 << 500;
    QTest::newRow("low end is inside") << strSet << false << 1 << 320 << 320;
    QTest::newRow("high end is outside") << strSet << false << 1 << 768 << 668;
    QTest::newRow("below a closed range") << strSet << false << 1 << 10 << 668;
    QTest::newRow("narrow range takes its middle") << "h:320:1 h:350:2" << false << 1 << 1000 << 335;
    QTest::newRow("below an open range") << strSet << false << 2 << 500 << 868;
    QTest::newRow("open range keeps a larger size") << strSet << false << 2 << 2000 << 2000;
    QTest::newRow("open range low end") << strSet << false << 2 << 768 << 768;
    QTest::newRow("small open range at least 300") << "v:50:1" << true << 1 << 20 << 300;
    QTest::newRow("base below the first") << strSet << false << 0 << 1000 << 220;
    QTest::newRow("base with a tiny first") << "h:60:1" << false << 0 << 1000 << 30;
    QTest::newRow("base inside") << strSet << false << 0 << 100 << 100;
    QTest::newRow("base without breakpoints") << "" << true << 0 << 640 << 640;
    QTest::newRow("unknown id keeps the size") << strSet << false << 7 << 123 << 123;
}

void tst_Breakpoints::fitSize()
{
    QFETCH(QString, breakpoints);
    QFETCH(bool, vertical);
    QFETCH(int, id);
    QFETCH(int, current);
    QFETCH(int, size);

    KVBreakpointSet set;
    addAll(set, breakpoints);
    const int nSize = set.fitSize(vertical, id, current);
    QCOMPARE(nSize, size);
    // The size shown always selects the layout that was picked.
    if (id == 0 || set.valueOf(vertical, id) >= 0) {
        const KVLayoutKey shown = vertical ? set.layoutFor(0, nSize) : set.layoutFor(nSize, 0);
        QCOMPARE(vertical ? shown.nVLayoutId : shown.nHLayoutId, id);
    }
}

void tst_Breakpoints::layoutKeys()
{
    KVBreakpointSet set;
    QCOMPARE(keysText(set.layouts()), QStringLiteral("0,0"));
    addAll(set, "h:768 h:320 v:500");
    QCOMPARE(keysText(set.layouts()), QStringLiteral("0,0;0,3;1,0;1,3;2,0;2,3"));
    set.removeHBreakpoint(1);
    set.removeHBreakpoint(2);
    QCOMPARE(keysText(set.layouts()), QStringLiteral("0,0;0,3"));
}

void tst_Breakpoints::projectForm_data()
{
    QTest::addColumn<QString>("json"); // the value under "layoutBreakpoints"; empty when missing
    QTest::addColumn<bool>("responsive");
    QTest::addColumn<QString>("horizontal");
    QTest::addColumn<QString>("vertical");
    QTest::addColumn<int>("nextId");
    QTest::addColumn<QString>("current");

    QTest::newRow("missing") << "" << false << "" << "" << 1 << "0,0";
    QTest::newRow("not an object") << "[1,2]" << false << "" << "" << 1 << "0,0";
    QTest::newRow("next id raised past the ids read")
        << R"({"h":[[5,600]],"nextId":2})" << false << "5:600" << "" << 6 << "0,0";
    QTest::newRow("greater next id kept")
        << R"({"responsiveMode":true,"h":[[1,320]],"v":[[2,480]],"hCurrentId":1,"vCurrentId":2,"nextId":9})"
        << true << "1:320" << "2:480" << 9 << "1,2";
    QTest::newRow("entries that are not pairs skipped")
        << R"({"h":[[1,300],"x",[2],[3,400,5],{"id":4},["a",500],[6,1.5]],"nextId":1})" << false
        << "1:300" << "" << 2 << "0,0";
    QTest::newRow("bad ids and values skipped")
        << R"({"h":[[0,700],[-3,710],[4,0],[7,10001],[8,300],[8,900]],"v":[[8,50]]})" << false
        << "8:300" << "" << 9 << "0,0";
    QTest::newRow("equal values skipped, other direction kept")
        << R"({"h":[[1,300],[2,300]],"v":[[3,300]]})" << false << "1:300" << "3:300" << 4 << "0,0";
    QTest::newRow("unsorted entries sorted by value")
        << R"({"h":[[1,800],[2,300],[3,500]],"nextId":4})" << false << "2:300 3:500 1:800" << "" << 4
        << "0,0";
    QTest::newRow("current id naming no breakpoint")
        << R"({"h":[[1,320]],"hCurrentId":5,"vCurrentId":1,"nextId":2})" << false << "1:320" << ""
        << 2 << "0,0";
    QTest::newRow("mistyped keys take their defaults")
        << R"({"responsiveMode":"yes","h":{"1":320},"v":"none","hCurrentId":"1","nextId":"7"})"
        << false << "" << "" << 1 << "0,0";
}

void tst_Breakpoints::projectForm()
{
    QFETCH(QString, json);
    QFETCH(bool, responsive);
    QFETCH(QString, horizontal);
    QFETCH(QString, vertical);
    QFETCH(int, nextId);
    QFETCH(QString, current);

    // The owner's object, with or without the key.
    QJsonObject joOwner;
    if (!json.isEmpty()) {
        const QJsonDocument doc = QJsonDocument::fromJson(
            QStringLiteral(R"({"layoutBreakpoints":%1})").arg(json).toUtf8());
        QVERIFY(doc.isObject());
        joOwner = doc.object();
    }

    // A set that held other data takes nothing over from it.
    KVBreakpointSet set;
    addAll(set, "h:111 v:222 v:333");
    set.setResponsiveMode(true);
    set.setCurrentLayout(KVLayoutKey(1, 2));
    set.fromJson(joOwner.value(QStringLiteral("layoutBreakpoints")));

    QCOMPARE(set.isResponsiveMode(), responsive);
    QCOMPARE(listText(set.hBreakpoints()), horizontal);
    QCOMPARE(listText(set.vBreakpoints()), vertical);
    QCOMPARE(set.nextId(), nextId);
    QCOMPARE(set.currentLayout(), keyFrom(current));

    // New breakpoints never collide with the ids read.
    const KVBreakpoint added = set.addVBreakpoint(9999);
    QCOMPARE(added.nId, nextId);
}

void tst_Breakpoints::projectFormRoundTrip()
{
    KVBreakpointSet set;
    addAll(set, "h:768 h:320 v:500 h:1024");
    set.removeHBreakpoint(4); // the counter stays ahead of the ids left
    set.setResponsiveMode(true);
    set.setCurrentLayout(KVLayoutKey(2, 3));

    const QJsonObject jo = set.toJson();
    QCOMPARE(jo.keys(), (QStringList{"h", "hCurrentId", "nextId", "responsiveMode", "v", "vCurrentId"}));
    QCOMPARE(jo.value("h").toArray(), (QJsonArray{QJsonArray{2, 320}, QJsonArray{1, 768}}));
    QCOMPARE(jo.value("v").toArray(), (QJsonArray{QJsonArray{3, 500}}));
    QCOMPARE(jo.value("nextId").toInt(), 5);

    // Through the text of a file and back.
    const QByteArray bytes = QJsonDocument(jo).toJson(QJsonDocument::Compact);
    KVBreakpointSet read;
    QSignalSpy spy(&read, &KVBreakpointSet::changed);
    read.fromJson(QJsonDocument::fromJson(bytes).object());
    QCOMPARE(spy.count(), 1);
    QVERIFY(read == set);
    QCOMPARE(read.nextId(), 5);

    KVBreakpointSet copy(set);
    QVERIFY(copy == set);
    copy.clear();
    QVERIFY(copy != set);
    QCOMPARE(copy.toJson(), KVBreakpointSet().toJson());
}

void tst_Breakpoints::playerForm()
{
    KVBreakpointSet set;
    QCOMPARE(compact(set.toPlayerJson()), QStringLiteral(R"({"h":[],"v":[]})"));
    addAll(set, "v:600 h:480 h:240");
    set.setResponsiveMode(true);
    set.setCurrentLayout(KVLayoutKey(2, 1));
    QCOMPARE(compact(set.toPlayerJson()), QStringLiteral(R"({"h":[[3,240],[2,480]],"v":[[1,600]]})"));
}

// --- Elements at layouts -------------------------------------------------------------------------

void tst_Breakpoints::readingThroughOverrides()
{
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(5));
    pElement->setOpacity(0.4);
    pElement->setRotateZ(30);
    const KVLayoutKey narrow(1, 0);
    auto *pNarrow = new KVElementProperty;
    pNarrow->setOpacity(0.9);
    pNarrow->setRotateZ(99);
    pNarrow->setInherited(Code::Opacity, false);
    QVERIFY(pElement->addProperty(pNarrow, narrow));
    KVElementProperty *pBase = pElement->property(KVLayoutKey::base());

    // Overridden: the layout's own value; inherited: the base's.
    QCOMPARE(pElement->effectiveProperty(Code::Opacity, narrow), pNarrow);
    QCOMPARE(pElement->effectiveProperty(Code::RotateZ, narrow), pBase);
    QCOMPARE(pElement->effectiveProperty(Code::RotateZ, narrow)->rotateZ(), 30.0);
    // The base is read from itself, flags or not.
    pBase->setInherited(Code::RotateZ, true);
    QCOMPARE(pElement->effectiveProperty(Code::RotateZ, KVLayoutKey::base()), pBase);
    // A layout the element has no object for inherits everything.
    QCOMPARE(pElement->effectiveProperty(Code::Opacity, KVLayoutKey(4, 4)), pBase);
    // (-1, -1) is the current layout.
    pElement->setCurrentLayout(narrow);
    QCOMPARE(pElement->effectiveProperty(Code::Opacity), pNarrow);
    QCOMPARE(pElement->effectiveProperty(Code::RotateZ), pBase);
    // Giving the property back to inheritance reads the base again.
    QCOMPARE(pElement->setInherited(Code::Opacity, true), false);
    QCOMPARE(pElement->effectiveProperty(Code::Opacity)->opacity(), 0.4);
    // Without a base object nothing can be inherited.
    delete pElement->takeProperty(KVLayoutKey::base());
    QCOMPARE(pElement->effectiveProperty(Code::Opacity), nullptr);
}

void tst_Breakpoints::propertyObjectsPerLayout()
{
    FakeImages images;
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(5));
    auto makeImageFill = [&images]() {
        auto *pProperty = new KVElementProperty;
        pProperty->background()->setImageUseCounter(&images);
        pProperty->background()->setImageResourceId(3);
        pProperty->background()->setFillStyle(KVBackground::ImageFill);
        return pProperty;
    };
    const KVLayoutKey wide(2, 0);

    KVElementProperty *pFirst = makeImageFill();
    QCOMPARE(images.counts.value(3), 1);
    QVERIFY(pElement->addProperty(pFirst, wide));
    QCOMPARE(images.counts.value(3), 1); // the object's own count is the element's now

    // A second object for the same layout is refused and stays the caller's.
    std::unique_ptr<KVElementProperty> pSecond(makeImageFill());
    QVERIFY(!pElement->addProperty(pSecond.get(), wide));
    QCOMPARE(pElement->property(wide), pFirst);
    QVERIFY(!pElement->addProperty(nullptr, KVLayoutKey(3, 0)));

    // Taking it out gives the count back; putting it back takes it again.
    QCOMPARE(pElement->takeProperty(wide), pFirst);
    QCOMPARE(images.counts.value(3), 1); // pSecond's
    QVERIFY(pElement->property(wide) == nullptr);
    QCOMPARE(pElement->takeProperty(wide), nullptr);
    QVERIFY(pElement->addProperty(pFirst, wide));
    QCOMPARE(images.counts.value(3), 2);

    // Replacing hands back the old object without deleting it.
    KVElementProperty *pOld = pElement->replaceProperty(pSecond.release(), wide);
    QCOMPARE(pOld, pFirst);
    delete pOld;
    QCOMPARE(images.counts.value(3), 1);

    // Raw flags as undo stores them, and the round trip of takeInheritFlags.
    QVERIFY(pElement->isInherited(Code::Width, wide));
    pElement->setInheritFlag(Code::Width, false, wide);
    pElement->setInheritFlag(Code::Height, true, wide);
    QVERIFY(!pElement->isInherited(Code::Width, wide));
    QVERIFY(pElement->isInherited(Code::Height, wide));
    const QMap<int, bool> saved = pElement->takeInheritFlags(true, wide);
    QCOMPARE(saved, (QMap<int, bool>{{Code::Width, false}, {Code::Height, true}}));
    QVERIFY(pElement->isInherited(Code::Width, wide));
    for (auto it = saved.cbegin(); it != saved.cend(); ++it)
        pElement->setInheritFlag(it.key(), it.value(), wide);
    QCOMPARE(pElement->property(wide)->inheritFlags(), saved);
    // A layout without an object inherits and takes no flags.
    QVERIFY(pElement->isInherited(Code::Width, KVLayoutKey(9, 9)));
    pElement->setInheritFlag(Code::Width, false, KVLayoutKey(9, 9));
    QVERIFY(pElement->takeInheritFlags(false, KVLayoutKey(9, 9)).isEmpty());

    pElement.reset();
    QCOMPARE(images.counts.value(3), 0);
}

void tst_Breakpoints::syncLayouts_data()
{
    QTest::addColumn<QString>("before");  // layouts as "h,v=opacity!overriddenCode"
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("keepOthers");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("after");

    QTest::newRow("new layout cloned from the base")
        << "0,0=0.1;1,0=0.2!14" << "0,0;1,0;2,0" << true << "0,0" << "0,0=0.1;1,0=0.2!14;2,0=0.1";
    QTest::newRow("layout no longer listed dropped")
        << "0,0=0.1;1,0=0.2!14;2,0=0.3!11" << "0,0;1,0" << true << "0,0" << "0,0=0.1;1,0=0.2!14";
    QTest::newRow("base added to the list")
        << "0,0=0.1;1,0=0.2;2,0=0.3" << "1,0" << true << "1,0" << "0,0=0.1;1,0=0.2";
    QTest::newRow("clones carry the source's flags")
        << "0,0=0.1;1,0=0.2!0!14" << "0,0;1,0;0,3;1,3" << true << "1,0"
        << "0,0=0.1;0,3=0.2!0!14;1,0=0.2!0!14;1,3=0.2!0!14";
    QTest::newRow("source kept though not listed")
        << "0,0=0.1;1,0=0.2!14;2,0=0.3" << "0,0;2,0;3,0" << true << "1,0"
        << "0,0=0.1;1,0=0.2!14;2,0=0.3;3,0=0.2!14";
    QTest::newRow("without others the source becomes the base")
        << "0,0=0.1;1,0=0.2!14;2,0=0.3!11" << "0,0" << false << "1,0" << "0,0=0.2";
    QTest::newRow("without others every layout restarts from the source")
        << "0,0=0.1;1,0=0.2!14;2,0=0.3" << "0,0;1,0;2,0" << false << "1,0"
        << "0,0=0.2;1,0=0.2;2,0=0.2";
    QTest::newRow("without others from the base")
        << "0,0=0.1!14;1,0=0.2!14" << "0,0;1,0" << false << "0,0" << "0,0=0.1;1,0=0.1";
    QTest::newRow("current layout as source")
        << "0,0=0.1;2,0=0.3!11" << "0,0" << false << "-1,-1" << "0,0=0.3";
    QTest::newRow("current layout in the list")
        << "0,0=0.1;1,0=0.2;2,0=0.3" << "-1,-1" << true << "0,0" << "0,0=0.1;2,0=0.3";
    QTest::newRow("nothing to do") << "0,0=0.1;1,0=0.2!14" << "1,0;0,0" << true << "0,0"
                                   << "0,0=0.1;1,0=0.2!14";
}

void tst_Breakpoints::syncLayouts()
{
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(bool, keepOthers);
    QFETCH(QString, source);
    QFETCH(QString, after);

    // A group with a child and a grandchild: every element of the tree is brought in line.
    KVElementContainer stage;
    stage.init();
    KVElement *pGroup = KVElementFactory::createElement(6);
    KVElement *pDiv = KVElementFactory::createElement(5);
    stage.addElement(pGroup);
    stage.addElement(pDiv, -1, pGroup);
    const QList<KVElement *> tree{&stage, pGroup, pDiv};
    for (KVElement *pElement : tree) {
        setLayouts(*pElement, before);
        QCOMPARE(layoutsText(*pElement), before);
    }
    stage.setCurrentLayout(KVLayoutKey(2, 0));

    QVERIFY(stage.syncLayouts(keysFrom(keys), keepOthers, keyFrom(source)));
    for (const KVElement *pElement : tree)
        QCOMPARE(layoutsText(*pElement), after);
    // Every object is distinct (no object shared between layouts or elements).
    QSet<const KVElementProperty *> objects;
    int nCount = 0;
    for (const KVElement *pElement : tree) {
        for (const KVElementProperty *pProperty : pElement->properties()) {
            objects.insert(pProperty);
            ++nCount;
        }
    }
    QCOMPARE(objects.size(), nCount);
}

void tst_Breakpoints::syncLayoutsWithoutSource()
{
    std::unique_ptr<KVElement> pGroup(KVElementFactory::createElement(6));
    KVElement *pFirst = KVElementFactory::createElement(5);
    KVElement *pLacking = KVElementFactory::createElement(5);
    KVElement *pBelow = KVElementFactory::createElement(5);
    pGroup->insertChild(pFirst, -1);
    pGroup->insertChild(pLacking, -1);
    pLacking->insertChild(pBelow, -1);
    setLayouts(*pGroup, "0,0=0.1;1,0=0.2");
    setLayouts(*pFirst, "0,0=0.1;1,0=0.2");
    setLayouts(*pLacking, "0,0=0.5;2,0=0.6");
    setLayouts(*pBelow, "0,0=0.1;1,0=0.2");

    // The element lacking the source is left as it was; the others (before and after it, and
    // below it) are still brought in line.
    QVERIFY(!pGroup->syncLayouts(keysFrom("0,0;3,0"), true, KVLayoutKey(1, 0)));
    QCOMPARE(layoutsText(*pLacking), QStringLiteral("0,0=0.5;2,0=0.6"));
    for (const KVElement *pElement : {pGroup.get(), pFirst, pBelow})
        QCOMPARE(layoutsText(*pElement), QStringLiteral("0,0=0.1;1,0=0.2;3,0=0.2"));

    // Once every element has it, the same call succeeds.
    pLacking->addProperty(new KVElementProperty, KVLayoutKey(1, 0));
    QVERIFY(pGroup->syncLayouts(keysFrom("0,0;3,0"), true, KVLayoutKey(1, 0)));
    QCOMPARE(layoutsText(*pLacking), QStringLiteral("0,0=0.5;1,0=1;3,0=1"));
}

void tst_Breakpoints::syncLayoutsKeepsUseCounts()
{
    FakeImages images;
    {
        std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(5));
        KVBackground *pFill = pElement->background(KVLayoutKey::base());
        pFill->setImageUseCounter(&images);
        QVERIFY(pFill->setImageResourceId(4));
        pFill->setFillStyle(KVBackground::ImageFill);
        QCOMPARE(images.counts.value(4), 1);

        // Each new layout holds its own count; dropped layouts give theirs back.
        QVERIFY(pElement->syncLayouts(keysFrom("0,0;1,0;2,0"), true, KVLayoutKey::base()));
        QCOMPARE(images.counts.value(4), 3);
        QVERIFY(pElement->syncLayouts(keysFrom("0,0;1,0"), true, KVLayoutKey::base()));
        QCOMPARE(images.counts.value(4), 2);
        // Moving the source to the base neither takes nor gives.
        QVERIFY(pElement->syncLayouts(keysFrom("0,0"), false, KVLayoutKey(1, 0)));
        QCOMPARE(images.counts.value(4), 1);
        QVERIFY(pElement->background(KVLayoutKey::base())->holdsImageCount());

        // Leaving and re-entering the document stays balanced across the new layouts.
        pElement->syncLayouts(keysFrom("0,0;0,5"), true, KVLayoutKey::base());
        pElement->releaseResources();
        QCOMPARE(images.counts.value(4), 0);
        pElement->retainResources();
        QCOMPARE(images.counts.value(4), 2);
    }
    QCOMPARE(images.counts.value(4), 0);
}

void tst_Breakpoints::currentLayoutFromContainerSize()
{
    KVBreakpointSet set;
    addAll(set, "h:320 h:768 v:500");
    KVElementContainer stage;
    stage.init();
    KVElement *pDiv = KVElementFactory::createElement(5);
    stage.addElement(pDiv);
    QVERIFY(stage.syncLayouts(set.layouts(), true, KVLayoutKey::base()));
    QCOMPARE(pDiv->properties().size(), 6);

    const KVLayoutKey phone = set.layoutFor(400, 800);
    QCOMPARE(phone, KVLayoutKey(1, 3));
    pDiv->setOpacity(0.25, phone);
    pDiv->setInherited(Code::Opacity, false, phone);

    set.setCurrentLayout(phone);
    stage.setCurrentLayout(set.currentLayout());
    QCOMPARE(pDiv->currentLayout(), phone);
    // Animations drive the shown layout's values by name.
    QCOMPARE(pDiv->QObject::property("m_dOpacity").toDouble(), 0.25);
    QVERIFY(pDiv->setProperty("m_dOpacity", 0.75));
    QCOMPARE(pDiv->opacity(phone), 0.75);
    QCOMPARE(pDiv->opacity(KVLayoutKey::base()), 1.0);

    // A new child takes the tree's current layout.
    KVElement *pLater = KVElementFactory::createElement(5);
    stage.addElement(pLater);
    QCOMPARE(pLater->currentLayout(), phone);
}

void tst_Breakpoints::inheritFlagsProjectRoundTrip()
{
    std::unique_ptr<KVElement> pGroup(KVElementFactory::createElement(6));
    KVElement *pText = KVElementFactory::createElement(4);
    pGroup->insertChild(pText, -1);
    const KVLayoutKey layout(1, 2);
    pGroup->syncLayouts({layout}, true, KVLayoutKey::base());
    pGroup->setInherited(Code::Opacity, false, layout);
    pGroup->setInherited(Code::PerspectiveOriginZ, false, layout);
    pGroup->setInherited(Code::Left, false, layout);
    pGroup->setInheritFlag(Code::Width, true, layout); // raw true: the same as no flag
    pText->setInherited(Code::FontSize, false, layout);
    pText->setInherited(Code::TextColor, false, layout);

    QJsonObject jo;
    pGroup->toJson(jo);
    const QJsonArray respProps = jo.value("respProps").toArray();
    QCOMPARE(respProps.size(), 2);
    const QJsonObject joLayout = respProps.at(1).toObject();
    QCOMPARE(joLayout.value("hLayoutId").toInt(), 1);
    QCOMPARE(joLayout.value("vLayoutId").toInt(), 2);
    // Overridden codes, ascending.
    QCOMPARE(joLayout.value("values").toObject().value("inherit").toArray(), (QJsonArray{0, 14, 96}));
    QCOMPARE(respProps.at(0).toObject().value("values").toObject().value("inherit").toArray(),
             QJsonArray());

    // Through the file text into a new tree: every code reads the same at every layout.
    const QJsonObject joRead =
        QJsonDocument::fromJson(QJsonDocument(jo).toJson(QJsonDocument::Compact)).object();
    std::unique_ptr<KVElement> pRead(KVElementFactory::createElement(6));
    QVERIFY(pRead->fromJson(joRead));
    QCOMPARE(pRead->children().size(), 1);
    const KVElement *pTextRead = pRead->children().first();
    for (const KVLayoutKey &key : {KVLayoutKey::base(), layout}) {
        for (int nCode = 0; nCode <= KVElementProperty::LastPropertyCode; ++nCode) {
            QCOMPARE(pRead->isInherited(nCode, key), pGroup->isInherited(nCode, key));
            QCOMPARE(pTextRead->isInherited(nCode, key), pText->isInherited(nCode, key));
        }
    }
    QVERIFY(!pTextRead->isInherited(Code::FontSize, layout));
    QVERIFY(pRead->property(KVLayoutKey::base())->inheritFlags().isEmpty());

    // Bad entries of "inherit" are skipped; the rest are read.
    QJsonObject joBad = joRead;
    QJsonArray props = joBad.value("respProps").toArray();
    QJsonObject joEntry = props.at(1).toObject();
    QJsonObject joValues = joEntry.value("values").toObject();
    joValues.insert("inherit", QJsonArray{"x", 97, -1, 3.0, 200, 15, QJsonArray{4}, 96});
    joEntry.insert("values", joValues);
    props.replace(1, joEntry);
    joBad.insert("respProps", props);
    QVERIFY(pRead->fromJson(joBad));
    QCOMPARE(pRead->property(layout)->inheritFlags(),
             (QMap<int, bool>{{3, false}, {15, false}, {96, false}}));
}

void tst_Breakpoints::resetList_data()
{
    QTest::addColumn<QList<int>>("overridden");
    QTest::addColumn<QString>("setting"); // what the layout changes from a new property's values
    QTest::addColumn<QString>("expected"); // compact object of the layout, empty when left out

    QTest::newRow("nothing overridden") << QList<int>{} << "" << "";
    QTest::newRow("default opacity") << QList<int>{Code::Opacity} << "" << R"({"or":["o"]})";
    QTest::newRow("opacity near 1") << QList<int>{Code::Opacity} << "opacity=0.999"
                                    << R"({"or":["o"]})";
    QTest::newRow("own opacity") << QList<int>{Code::Opacity} << "opacity=0.5" << R"({"o":50})";
    QTest::newRow("shown again") << QList<int>{Code::Display} << "" << R"({"or":["d"]})";
    QTest::newRow("hidden") << QList<int>{Code::Display} << "display=0" << R"({"d":0})";
    QTest::newRow("default transform") << QList<int>{Code::TranslateX} << "" << R"({"or":["t"]})";
    QTest::newRow("own transform") << QList<int>{Code::RotateZ} << "rotate=90"
                                   << R"({"t":[[0,0,90]]})";
    QTest::newRow("no border, no shadow, no clip")
        << QList<int>{Code::BorderWidth, Code::ShadowAngle, Code::ClipStyle} << ""
        << R"({"or":["l","sh","wc"]})";
    QTest::newRow("fill always written") << QList<int>{50} << ""
                                         << R"({"f":[0]})";
    QTest::newRow("every plain key at its default, in writing order")
        << QList<int>{59, 44, 43, 42, Code::Display, 41, Code::Opacity} << ""
        << R"({"or":["o","of","d","cl","tb","c","tl"]})";
    QTest::newRow("defaults beside own values")
        << QList<int>{Code::Opacity, 41, 59} << "opacity=0.3,class=wide"
        << R"({"cl":"wide","o":30,"or":["of"]})";
    QTest::newRow("geometry always written") << QList<int>{Code::Left} << ""
                                             << R"({"r":[300,300,256,128,0]})";
}

void tst_Breakpoints::resetList()
{
    QFETCH(QList<int>, overridden);
    QFETCH(QString, setting);
    QFETCH(QString, expected);

    // The base differs from every default, so that the layout's defaults matter to the player.
    std::unique_ptr<KVElement> pElement(KVElementFactory::createElement(6));
    pElement->setOpacity(0.5);
    pElement->setDisplay(0);
    pElement->setOverflow(2);
    pElement->setClassName(QStringLiteral("base"));
    pElement->setTitle(QStringLiteral("Base"));
    pElement->setCursor(QStringLiteral("pointer"));
    pElement->setTabIndex(4);
    pElement->setTranslateX(10);

    const KVLayoutKey layout(2, 1);
    QVERIFY(pElement->addProperty(new KVElementProperty, layout));
    for (const QString &strPart : setting.split(',', Qt::SkipEmptyParts)) {
        const QString strKey = strPart.section('=', 0, 0);
        const QString strValue = strPart.section('=', 1);
        if (strKey == "opacity") pElement->setOpacity(strValue.toDouble(), layout);
        if (strKey == "display") pElement->setDisplay(strValue.toInt(), layout);
        if (strKey == "rotate") pElement->setRotateZ(strValue.toDouble(), layout);
        if (strKey == "class") pElement->setClassName(strValue, layout);
    }
    for (int nCode : overridden)
        pElement->setInherited(nCode, false, layout);

    QCOMPARE(exportedLayout(*pElement, layout), expected);
    // The base layout never gets a reset list and always carries its own values.
    const QString strBase = exportedLayout(*pElement, KVLayoutKey::base());
    QVERIFY(!strBase.contains(QLatin1String("\"or\"")));
    QVERIFY(strBase.contains(QLatin1String("\"o\":50")));
    // The canvas shows one layout whole: no reset list there either.
    QJsonObject joCanvas;
    pElement->toPlayerJson(joCanvas, true, layout);
    QVERIFY(!joCanvas.contains(QLatin1String("or")));
}

KAVIO_TEST_MAIN(tst_Breakpoints)
#include "tst_breakpoints.moc"
