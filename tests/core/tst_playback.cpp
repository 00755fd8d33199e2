#include "animation/IKVPlaybackContent.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPlayback.h"
#include "animation/KVPlaybackAnimation.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "interaction/KVEventListener.h"
#include "interaction/KVEventListenerList.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"

#include "KVTestMain.h"

#include <QJsonDocument>

#include <memory>

namespace {

// A media or symbol element as the playback sees it: a type code, a content length and, for a
// symbol, the labels of its timeline.
class ContentElement : public KVElement, public IKVPlaybackContent
{
public:
    ContentElement(int nType, int nLength, const QMap<QString, int> &labels = {})
        : m_nType(nType), m_nLength(nLength), m_labels(labels)
    {
    }
    int type() const override { return m_nType; }
    int playbackContentLength() const override { return m_nLength; }
    int playbackLabelTime(const QString &strLabel) const override { return m_labels.value(strLabel, -1); }

private:
    int m_nType;
    int m_nLength;
    QMap<QString, int> m_labels;
};

// One playback item: action code, timeline time, target ("time"; undefined for none) and speed.
struct Item
{
    int nAction;
    int nTime;
    QJsonValue target = QJsonValue(QJsonValue::Undefined);
    int nSpeed = 0;
};

QJsonArray parseArray(const char *pszJson)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(pszJson), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad expected JSON: %s", pszJson);
    return doc.array();
}

QByteArray compact(const QJsonArray &ja)
{
    return QJsonDocument(ja).toJson(QJsonDocument::Compact);
}

// The entries without the element id, which every row shares.
QJsonArray withoutElement(const QJsonArray &entries)
{
    QJsonArray list;
    for (const QJsonValue &v : entries) {
        QJsonObject jo = v.toObject();
        jo.remove("el");
        list.append(jo);
    }
    return list;
}

} // namespace

Q_DECLARE_METATYPE(QList<Item>)

class tst_Playback : public QObject
{
    Q_OBJECT

private slots:
    void walk_data();
    void walk();
    void kinds_data();
    void kinds();
    void timelineLastsUntilThePlaybackEnds();
    void projectRoundTrip();
    void damagedPlaybackReadsEmpty();
    void playbackEntriesComeFirst();
    void animationKindFollowsElement();
    void takingAnItemRecomputes();
};

void tst_Playback::walk_data()
{
    QTest::addColumn<int>("elementType");
    QTest::addColumn<int>("length");
    QTest::addColumn<QList<Item>>("items");
    QTest::addColumn<QJsonArray>("expected");
    QTest::addColumn<QList<int>>("durations");
    QTest::addColumn<int>("playbackLength");

    const int S = KVElementType::Symbol;
    const int A = KVElementType::Audio;
    const int V = KVElementType::Video;

    QTest::newRow("start symbol") << S << 2000 << QList<Item>{{20, 0, {}, 100}}
        << parseArray(R"([{"p":"pb","t":0,"d":2000,"a":[1,0,1]}])") << QList<int>{2000} << 2000;
    QTest::newRow("pause cuts the start short") << S << 2000 << QList<Item>{{20, 0, {}, 100}, {23, 500}}
        << parseArray(R"([{"p":"pb","t":0,"d":500,"a":[1,0,1]},{"p":"pb","t":500,"d":0,"a":[4,500]}])")
        << QList<int>{500, 0} << 500;
    QTest::newRow("play continues after a pause") << S << 2000 << QList<Item>{{20, 0, {}, 100}, {23, 500}, {21, 800}}
        << parseArray(R"([{"p":"pb","t":0,"d":500,"a":[1,0,1]},{"p":"pb","t":500,"d":0,"a":[4,500]},
                          {"p":"pb","t":800,"d":1500,"a":[2,500,1]}])")
        << QList<int>{500, 0, 1500} << 2300;
    QTest::newRow("play after a pause at the end restarts") << S << 2000 << QList<Item>{{20, 0}, {23, 2500}, {21, 3000}}
        << parseArray(R"([{"p":"pb","t":0,"d":2000,"a":[1,0,1]},{"p":"pb","t":2500,"d":0,"a":[4,2000]},
                          {"p":"pb","t":3000,"d":2000,"a":[1,0,1]}])")
        << QList<int>{2000, 0, 2000} << 5000;
    QTest::newRow("backwards start media") << A << 3000 << QList<Item>{{40, 100, {}, -100}}
        << parseArray(R"([{"p":"pb","t":100,"d":3000,"a":[1,3000,-1]}])") << QList<int>{3000} << 3100;
    QTest::newRow("double speed takes half the time") << V << 3000 << QList<Item>{{40, 0, {}, 200}}
        << parseArray(R"([{"p":"pb","t":0,"d":1500,"a":[1,0,2]}])") << QList<int>{1500} << 1500;
    QTest::newRow("backwards pause counts down") << S << 2000 << QList<Item>{{20, 0, {}, -100}, {23, 500}}
        << parseArray(R"([{"p":"pb","t":0,"d":500,"a":[1,2000,-1]},{"p":"pb","t":500,"d":0,"a":[4,1500]}])")
        << QList<int>{500, 0} << 500;
    // 0.3 x 3332 = 999.6 rounds to 1000, which is kept below the length.
    QTest::newRow("cut position stays below the length") << S << 1000 << QList<Item>{{20, 0, {}, 30}, {23, 3332}}
        << parseArray(R"([{"p":"pb","t":0,"d":3332,"a":[1,0,0.3]},{"p":"pb","t":3332,"d":0,"a":[4,999]}])")
        << QList<int>{3332, 0} << 3332;
    QTest::newRow("backwards cut position stays above 0") << S << 1000 << QList<Item>{{20, 0, {}, -30}, {23, 3332}}
        << parseArray(R"([{"p":"pb","t":0,"d":3332,"a":[1,1000,-0.3]},{"p":"pb","t":3332,"d":0,"a":[4,1]}])")
        << QList<int>{3332, 0} << 3332;
    QTest::newRow("play from a label") << S << 2000 << QList<Item>{{22, 0, QJsonValue("mid")}}
        << parseArray(R"([{"p":"pb","t":0,"d":1300,"a":[3,700,1]}])") << QList<int>{1300} << 1300;
    QTest::newRow("play from an unknown label starts at 0") << S << 2000 << QList<Item>{{22, 0, QJsonValue("nowhere")}}
        << parseArray(R"([{"p":"pb","t":0,"d":2000,"a":[3,0,1]}])") << QList<int>{2000} << 2000;
    QTest::newRow("play from a position kept as text") << S << 2000 << QList<Item>{{22, 0, QJsonValue("400")}}
        << parseArray(R"([{"p":"pb","t":0,"d":1600,"a":[3,400,1]}])") << QList<int>{1600} << 1600;
    QTest::newRow("backwards play from nothing starts at the end") << A << 2000 << QList<Item>{{42, 0, {}, -100}}
        << parseArray(R"([{"p":"pb","t":0,"d":2000,"a":[3,2000,-1]}])") << QList<int>{2000} << 2000;
    QTest::newRow("play from before the start") << A << 2000 << QList<Item>{{42, 0, QJsonValue(-50)}}
        << parseArray(R"([{"p":"pb","t":0,"d":2000,"a":[3,0,1]}])") << QList<int>{2000} << 2000;
    QTest::newRow("play from beyond the end") << A << 2000 << QList<Item>{{42, 0, QJsonValue(5000)}}
        << parseArray(R"([{"p":"pb","t":0,"d":0,"a":[3,2000,1]}])") << QList<int>{0} << 0;
    QTest::newRow("pause at is kept inside the content") << V << 2000 << QList<Item>{{44, 100, QJsonValue(5000)}, {44, 200, QJsonValue(-20)}, {44, 300, QJsonValue(650)}}
        << parseArray(R"([{"p":"pb","t":100,"d":0,"a":[5,2000]},{"p":"pb","t":200,"d":0,"a":[5,0]},{"p":"pb","t":300,"d":0,"a":[5,650]}])")
        << QList<int>{0, 0, 0} << 300;
    QTest::newRow("missing speed keeps the previous one") << A << 2000 << QList<Item>{{40, 0, {}, -100}, {42, 3000, QJsonValue(500)}}
        << parseArray(R"([{"p":"pb","t":0,"d":2000,"a":[1,2000,-1]},{"p":"pb","t":3000,"d":500,"a":[3,500,-1]}])")
        << QList<int>{2000, 500} << 3500;
    QTest::newRow("pauses keep the speed") << S << 2000 << QList<Item>{{20, 0, {}, 50}, {23, 1000}, {21, 2000}}
        << parseArray(R"([{"p":"pb","t":0,"d":1000,"a":[1,0,0.5]},{"p":"pb","t":1000,"d":0,"a":[4,500]},
                          {"p":"pb","t":2000,"d":3000,"a":[2,500,0.5]}])")
        << QList<int>{1000, 0, 3000} << 5000;
    QTest::newRow("an earlier time is raised to the previous one") << S << 2000 << QList<Item>{{20, 1000}, {23, 500}}
        << parseArray(R"([{"p":"pb","t":1000,"d":0,"a":[1,0,1]},{"p":"pb","t":1000,"d":0,"a":[4,0]}])")
        << QList<int>{0, 0} << 500;
    QTest::newRow("media action on a symbol is passed over") << S << 2000 << QList<Item>{{20, 0}, {43, 500}}
        << parseArray(R"([{"p":"pb","t":0,"d":2000,"a":[1,0,1]}])") << QList<int>{2000, 0} << 500;
    QTest::newRow("no content plays nothing") << A << 0 << QList<Item>{{40, 250}}
        << parseArray(R"([{"p":"pb","t":250,"d":0,"a":[1,0,1]}])") << QList<int>{0} << 250;
    QTest::newRow("empty list") << S << 2000 << QList<Item>() << QJsonArray() << QList<int>() << 0;
}

void tst_Playback::walk()
{
    QFETCH(int, elementType);
    QFETCH(int, length);
    QFETCH(QList<Item>, items);
    QFETCH(QJsonArray, expected);
    QFETCH(QList<int>, durations);
    QFETCH(int, playbackLength);

    ContentElement element(elementType, length, {{QStringLiteral("mid"), 700}});
    element.setId(12);
    KVPlayback playback(&element);
    for (const Item &item : items)
        playback.addItem(item.nAction, item.nTime, item.target, item.nSpeed);

    QJsonArray entries;
    playback.toPlayerJson(entries, element.id());
    QCOMPARE(compact(withoutElement(entries)), compact(expected));
    for (const QJsonValue &v : entries)
        QCOMPARE(v.toObject().value("el").toInt(), 12);

    QCOMPARE(playback.list()->count(), items.size());
    for (int n = 0; n < items.size(); ++n) {
        const KVEventListener *pItem = playback.list()->at(n);
        QCOMPARE(pItem->event(), 201);
        QCOMPARE(pItem->actionTime(), items.at(n).nTime);
        QCOMPARE(pItem->actionData().value("duration").toInt(-1), durations.at(n));
    }
    QCOMPARE(playback.duration(), playbackLength);
}

void tst_Playback::kinds_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("elementType");
    QTest::addColumn<int>("kind");

    for (int n = 0; n < 5; ++n) {
        QTest::addRow("symbol action %d", 20 + n) << 20 + n << int(KVElementType::Symbol) << n + 1;
        QTest::addRow("audio action %d", 40 + n) << 40 + n << int(KVElementType::Audio) << n + 1;
        QTest::addRow("video action %d", 40 + n) << 40 + n << int(KVElementType::Video) << n + 1;
    }
    QTest::newRow("media action on a symbol") << 40 << int(KVElementType::Symbol) << 0;
    QTest::newRow("symbol action on audio") << 24 << int(KVElementType::Audio) << 0;
    QTest::newRow("below the symbol group") << 19 << int(KVElementType::Symbol) << 0;
    QTest::newRow("above the symbol group") << 25 << int(KVElementType::Symbol) << 0;
    QTest::newRow("above the media group") << 45 << int(KVElementType::Video) << 0;
    QTest::newRow("no element takes either group") << 43 << -1 << 4;
    QTest::newRow("no element, symbol group") << 22 << -1 << 3;
}

void tst_Playback::kinds()
{
    QFETCH(int, action);
    QFETCH(int, elementType);
    QFETCH(int, kind);
    QCOMPARE(KVPlayback::kindForAction(action, elementType), kind);
}

void tst_Playback::timelineLastsUntilThePlaybackEnds()
{
    auto *pElement = new ContentElement(KVElementType::Symbol, 2000);
    std::unique_ptr<KVElement> pOwner(KVElementFactory::createElement(KVElementType::Group));
    pOwner->insertChild(pElement, 0);

    KVTimeline timeline(pOwner.get());
    auto *pAnimation = new KVPlaybackAnimation(pElement);
    QVERIFY(timeline.addAnimation(pAnimation, KVLayoutKey::base()));
    timeline.setCurrentLayout(KVLayoutKey::base());
    QCOMPARE(timeline.duration(), 0);

    pAnimation->playback()->addItem(20, 1000);
    QCOMPARE(timeline.duration(), 3000);
    pAnimation->playback()->addItem(23, 1500);
    QCOMPARE(timeline.duration(), 1500);
}

void tst_Playback::projectRoundTrip()
{
    ContentElement element(KVElementType::Video, 4000);
    element.setId(4);
    KVPlaybackAnimation animation(&element);
    animation.setAutoOrient(true);
    animation.playback()->addItem(42, 200, QJsonValue(1000), 200);
    animation.playback()->addItem(43, 900);

    QJsonObject jo;
    animation.toJson(jo);
    QCOMPARE(jo.value("element_id").toInt(), 4);
    const QJsonArray jaPlayback = jo.value("playback").toArray();
    QCOMPARE(jaPlayback.size(), 2);
    const QJsonObject joFirst = jaPlayback.at(0).toObject();
    QCOMPARE(joFirst.value("event").toInt(), 201);
    QCOMPARE(joFirst.value("action").toInt(), 42);
    QCOMPARE(joFirst.value("event_value").toObject().value("action_time").toInt(), 200);
    QCOMPARE(joFirst.value("action_data").toObject().value("duration").toInt(), 700);
    QCOMPARE(joFirst.value("action_data").toObject().value("speed").toInt(), 200);

    KVPlaybackAnimation read(&element);
    read.fromJson(jo, nullptr, KVLayoutKey::base());
    QVERIFY(read.autoOrient());
    QVERIFY(read.playback()->list()->hasSameHandlers(*animation.playback()->list()));
    QCOMPARE(read.playback()->duration(), 900);

    // Reading takes the stored durations as they are; the next edit computes them again.
    QJsonObject joStale = jo;
    QJsonArray jaStale = jaPlayback;
    QJsonObject joLast = jaStale.at(1).toObject();
    QJsonObject joData = joLast.value("action_data").toObject();
    joData.insert("duration", 100);
    joLast.insert("action_data", joData);
    jaStale.replace(1, joLast);
    joStale.insert("playback", jaStale);
    read.fromJson(joStale, nullptr, KVLayoutKey::base());
    QCOMPARE(read.playback()->duration(), 1000);
    read.playback()->recompute();
    QCOMPARE(read.playback()->duration(), 900);

    std::unique_ptr<KVAnimation> pClone(animation.clone(nullptr, KVLayoutKey::base()));
    auto *pPlaybackClone = qobject_cast<KVPlaybackAnimation *>(pClone.get());
    QVERIFY(pPlaybackClone);
    QVERIFY(pPlaybackClone->playback()->list()->hasSameHandlers(*animation.playback()->list()));
    QCOMPARE(pPlaybackClone->playback()->duration(), 900);
}

void tst_Playback::damagedPlaybackReadsEmpty()
{
    ContentElement element(KVElementType::Audio, 1000);
    KVPlaybackAnimation animation(&element);
    animation.playback()->addItem(40, 0);
    QCOMPARE(animation.playback()->duration(), 1000);

    animation.fromJson(QJsonObject{{"element_id", 0}, {"playback", "garbage"}}, nullptr, KVLayoutKey::base());
    QVERIFY(animation.playback()->list()->isEmpty());
    QCOMPARE(animation.playback()->duration(), 0);

    // Entries that are not objects are passed over; a mistyped time reads as 0.
    animation.fromJson(QJsonObject{{"playback", QJsonArray{3, QJsonObject{{"event", 201}, {"action", 43},
                                                                          {"event_value", QJsonObject{{"action_time", "x"}}}}}}},
                       nullptr, KVLayoutKey::base());
    QCOMPARE(animation.playback()->list()->count(), 1);
    QCOMPARE(animation.playback()->duration(), 0);
    QJsonArray entries;
    animation.toPlayerJson(entries);
    QCOMPARE(compact(withoutElement(entries)), compact(parseArray(R"([{"p":"pb","t":0,"d":0,"a":[4,0]}])")));
}

void tst_Playback::playbackEntriesComeFirst()
{
    ContentElement element(KVElementType::Symbol, 2000);
    element.setId(6);
    KVPlaybackAnimation animation(&element);
    auto *pTrack = new KVKeyframe(KVPropertyCatalogue::Opacity, QStringLiteral("%"), nullptr, &element);
    pTrack->addKeyValue(new KVKeyValue(0, 0.5), 3, true);
    pTrack->addKeyValue(new KVKeyValue(1000, 1.0), 3, true);
    QVERIFY(animation.addKeyframe(pTrack));
    animation.playback()->addItem(20, 300);

    QJsonArray entries;
    animation.toPlayerJson(entries);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0).toObject().value("p").toString(), QStringLiteral("pb"));
    QCOMPARE(entries.at(0).toObject().value("el").toInt(), 6);
    QCOMPARE(entries.at(1).toObject().value("p").toString(), QStringLiteral("o"));
    QCOMPARE(animation.keyframes().size(), 1);
    QCOMPARE(animation.length(), 1000);

    // Reading the animation again replaces the tracks but keeps one playback.
    QJsonObject jo;
    animation.toJson(jo);
    animation.fromJson(jo, nullptr, KVLayoutKey::base());
    int nPlaybacks = 0;
    for (int n = 0; n < animation.animationCount(); ++n)
        nPlaybacks += qobject_cast<KVPlayback *>(animation.animationAt(n)) ? 1 : 0;
    QCOMPARE(nPlaybacks, 1);
    QCOMPARE(animation.keyframes().size(), 1);
    QCOMPARE(animation.playback()->list()->count(), 1);
}

void tst_Playback::animationKindFollowsElement()
{
    for (int nType : {int(KVElementType::Audio), int(KVElementType::Video), int(KVElementType::Symbol)}) {
        ContentElement element(nType, 100);
        std::unique_ptr<KVAnimation> pAnimation(KVPlaybackAnimation::createFor(&element));
        QVERIFY2(qobject_cast<KVPlaybackAnimation *>(pAnimation.get()), qPrintable(QString::number(nType)));
        QCOMPARE(pAnimation->element(), &element);
    }
    std::unique_ptr<KVElement> pDiv(KVElementFactory::createElement(KVElementType::Div));
    std::unique_ptr<KVAnimation> pPlain(KVPlaybackAnimation::createFor(pDiv.get()));
    QVERIFY(pPlain);
    QVERIFY(!qobject_cast<KVPlaybackAnimation *>(pPlain.get()));
    QVERIFY(!KVPlaybackAnimation::createFor(nullptr));

    // Without the content seam the length is 0.
    KVPlayback playback(pDiv.get());
    QCOMPARE(playback.contentLength(), 0);
    QVERIFY(!playback.content());
}

void tst_Playback::takingAnItemRecomputes()
{
    ContentElement element(KVElementType::Symbol, 2000);
    KVPlayback playback(&element);
    playback.addItem(20, 0);
    KVEventListener *pPause = playback.addItem(23, 500);
    QCOMPARE(playback.list()->at(0)->actionData().value("duration").toInt(), 500);

    QVERIFY(playback.takeItem(pPause));
    std::unique_ptr<KVEventListener> owned(pPause);
    QCOMPARE(playback.list()->at(0)->actionData().value("duration").toInt(), 2000);
    QCOMPARE(playback.duration(), 2000);
    QVERIFY(!playback.takeItem(pPause));
}

KAVIO_TEST_MAIN(tst_Playback)
#include "tst_playback.moc"
