// The command queue with its text helper page, and the event-loop waiter before playback.

#include "KVCommandTypesKit.h"

#include "commands/KVEventLoopLocker.h"
#include "commands/KVTextCommandValidator.h"

#include "KVTestMain.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using P = KVCmdParam;
using A = KVCommandAction;

namespace {

// A stand-in for the helper page: records what it is asked and answers (upper-casing the HTML)
// at once, later, or never; it can also move the validator on by itself after answering.
class FakePage : public QObject
{
public:
    enum Mode { AnswerAtOnce, AnswerLater, NeverAnswer };

    FakePage(KVTextCommandValidator *pValidator, Mode eMode, bool bAlsoMovesOn, QStringList *pAsked, int *pPages)
        : m_pValidator(pValidator), m_eMode(eMode), m_bAlsoMovesOn(bAlsoMovesOn), m_pAsked(pAsked), m_pPages(pPages)
    {
        ++*m_pPages;
        connect(pValidator, &KVTextCommandValidator::removeFormat, this, &FakePage::onRemoveFormat);
    }
    ~FakePage() override { --*m_pPages; }

private:
    void onRemoveFormat(const QString &strHtml, int nFormatId)
    {
        m_pAsked->append(QStringLiteral("%1#%2").arg(strHtml).arg(nFormatId));
        if (m_eMode == NeverAnswer)
            return;
        auto answer = [this, strHtml] {
            m_pValidator->onHtmlProcessed(strHtml.toUpper());
            if (m_bAlsoMovesOn)
                m_pValidator->processNextAction();
        };
        if (m_eMode == AnswerAtOnce)
            answer();
        else
            QTimer::singleShot(20, this, answer);
    }

    KVTextCommandValidator *m_pValidator;
    Mode m_eMode;
    bool m_bAlsoMovesOn;
    QStringList *m_pAsked;
    int *m_pPages;
};

// A page that loads before it listens: it says ready() after a while (or never) and then answers
// with the HTML reversed.
class LoadingPage : public QObject
{
    Q_OBJECT

public:
    LoadingPage(KVTextCommandValidator *pValidator, bool bLoads, QStringList *pAsked)
    {
        connect(pValidator, &KVTextCommandValidator::removeFormat, this, [pValidator, pAsked](const QString &str) {
            pAsked->append(str);
            QString strReversed = str;
            std::reverse(strReversed.begin(), strReversed.end());
            pValidator->onHtmlProcessed(strReversed);
        });
        if (bLoads)
            QTimer::singleShot(30, this, &LoadingPage::ready);
    }

signals:
    void ready();
};

// A rename command (no text) and a text command of one or two text actions on the text box.
KVCommand *renameCommand(TypesFixture &f, const QString &strName)
{
    auto *p = new KVCommand(&f.t, QStringLiteral("Change Timeline Name"));
    p->addAction(f.action(12, {P::makeObject(P::Timeline, f.pTimeline), P::makeString(strName)}));
    return p;
}

KVCommand *textCommand(TypesFixture &f, const QStringList &html)
{
    auto *p = new KVCommand(&f.t, QStringLiteral("Change Text"));
    for (const QString &str : html)
        p->addAction(f.textAction(f.pText, str, 20));
    return p;
}

} // namespace

class TestCommandQueue : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void plainCommandsGoAtOnceInOrder();
    void textWaitsForThePage_data();
    void textWaitsForThePage();
    void silentPageDoesNotStall();
    void withoutPageTextGoesAsItIs();
    void loadingPageIsWaitedFor_data();
    void loadingPageIsWaitedFor();
    void droppedDocumentLeavesNothing();
    void lockerWaitsUntilUnlocked_data();
    void lockerWaitsUntilUnlocked();
    void newerLockEndsTheWait();
};

void TestCommandQueue::cleanup()
{
    KVTextCommandValidator::destroyInstance();
}

void TestCommandQueue::plainCommandsGoAtOnceInOrder()
{
    TypesFixture f;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    QSignalSpy spy(pValidator, &KVTextCommandValidator::commandSubmitted);
    pValidator->submit(renameCommand(f, "One"));
    pValidator->submit(renameCommand(f, "Two"));
    QCOMPARE(f.t.stack.count(), 2);
    QCOMPARE(f.pTimeline->name(), QStringLiteral("Two"));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(pValidator->pendingCount(), 0);
    // An empty command is dropped.
    pValidator->submit(new KVCommand(&f.t, QStringLiteral("Nothing")));
    QCOMPARE(f.t.stack.count(), 2);
    QCOMPARE(spy.count(), 2);
}

void TestCommandQueue::textWaitsForThePage_data()
{
    QTest::addColumn<bool>("bLater");
    QTest::addColumn<bool>("bPageMovesOn");
    QTest::newRow("answers at once") << false << false;
    QTest::newRow("answers later") << true << false;
    QTest::newRow("answers later and moves on itself") << true << true;
}

void TestCommandQueue::textWaitsForThePage()
{
    QFETCH(bool, bLater);
    QFETCH(bool, bPageMovesOn);
    TypesFixture f;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    QStringList asked;
    int nPages = 0;
    pValidator->setPageFactory([&](KVTextCommandValidator *p) {
        return new FakePage(p, bLater ? FakePage::AnswerLater : FakePage::AnswerAtOnce, bPageMovesOn, &asked, &nPages);
    });
    QSignalSpy spy(pValidator, &KVTextCommandValidator::commandSubmitted);
    pValidator->submit(textCommand(f, {"<i>a</i>", "<b>b</b>"}), 7);
    // A plain command submitted meanwhile waits behind the text command.
    pValidator->submit(renameCommand(f, "After"));
    if (bLater) {
        QCOMPARE(f.t.stack.count(), 0);
        QCOMPARE(pValidator->pendingCount(), 2);
        QVERIFY(pValidator->isWaitingForPage());
        QTRY_COMPARE(f.t.stack.count(), 2);
    }
    QCOMPARE(f.t.stack.count(), 2);
    QCOMPARE(asked, (QStringList{"<i>a</i>#7", "<b>b</b>#7"}));
    // The text command came first and carries the normalised HTML of its last action.
    QCOMPARE(f.t.stack.command(0)->text(), QStringLiteral("Change Text"));
    QCOMPARE(f.pText->innerHtml(kBase), QStringLiteral("<B>B</B>"));
    QCOMPARE(f.pTimeline->name(), QStringLiteral("After"));
    QCOMPARE(spy.count(), 2);
    QTRY_COMPARE(nPages, 0);
}

void TestCommandQueue::silentPageDoesNotStall()
{
    TypesFixture f;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    pValidator->setTimeLimit(30);
    QStringList asked;
    int nPages = 0;
    pValidator->setPageFactory([&](KVTextCommandValidator *p) {
        return new FakePage(p, FakePage::NeverAnswer, false, &asked, &nPages);
    });
    pValidator->submit(textCommand(f, {"<i>raw</i>"}));
    pValidator->submit(renameCommand(f, "Next"));
    QCOMPARE(f.t.stack.count(), 0);
    QTRY_COMPARE(f.t.stack.count(), 2);
    QCOMPARE(f.pText->innerHtml(kBase), QStringLiteral("<i>raw</i>"));
    QCOMPARE(f.pTimeline->name(), QStringLiteral("Next"));
    QTRY_COMPARE(nPages, 0);
    // A late answer finds nothing to change.
    pValidator->onHtmlProcessed(QStringLiteral("late"));
    QCOMPARE(f.pText->innerHtml(kBase), QStringLiteral("<i>raw</i>"));
}

void TestCommandQueue::withoutPageTextGoesAsItIs()
{
    TypesFixture f;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    pValidator->submit(textCommand(f, {"<u>u</u>"}));
    QCOMPARE(f.t.stack.count(), 1);
    QCOMPARE(f.pText->innerHtml(kBase), QStringLiteral("<u>u</u>"));
    // A factory that makes no page: the same.
    pValidator->setPageFactory([](KVTextCommandValidator *) { return nullptr; });
    pValidator->submit(textCommand(f, {"<s>s</s>"}));
    QCOMPARE(f.t.stack.count(), 2);
}

void TestCommandQueue::loadingPageIsWaitedFor_data()
{
    QTest::addColumn<bool>("bLoads");
    QTest::newRow("loads") << true;
    QTest::newRow("never loads") << false;
}

void TestCommandQueue::loadingPageIsWaitedFor()
{
    QFETCH(bool, bLoads);
    TypesFixture f;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    pValidator->setTimeLimit(200);
    QStringList asked;
    pValidator->setPageFactory([&](KVTextCommandValidator *p) { return new LoadingPage(p, bLoads, &asked); });
    pValidator->submit(textCommand(f, {"abc"}));
    // Nothing is handed over before the page has loaded.
    QVERIFY(asked.isEmpty());
    QCOMPARE(f.t.stack.count(), 0);
    QTRY_COMPARE(f.t.stack.count(), 1);
    QCOMPARE(asked, bLoads ? QStringList{"abc"} : QStringList());
    QCOMPARE(f.pText->innerHtml(kBase), QLatin1String(bLoads ? "cba" : "abc"));
}

void TestCommandQueue::droppedDocumentLeavesNothing()
{
    auto *pFirst = new TypesFixture;
    TypesFixture second;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    QStringList asked;
    int nPages = 0;
    pValidator->setPageFactory([&](KVTextCommandValidator *p) {
        return new FakePage(p, FakePage::AnswerLater, false, &asked, &nPages);
    });
    pValidator->submit(textCommand(*pFirst, {"x"}));
    pValidator->submit(renameCommand(*pFirst, "Gone"));
    pValidator->submit(renameCommand(second, "Kept"));
    QCOMPARE(pValidator->pendingCount(), 3);
    pValidator->dropCommandsOf(&pFirst->t);
    delete pFirst;
    // The other document's command moves up and goes at once.
    QCOMPARE(pValidator->pendingCount(), 0);
    QCOMPARE(second.pTimeline->name(), QStringLiteral("Kept"));
    QTRY_COMPARE(nPages, 0);
    QTest::qWait(40);
    QCOMPARE(second.t.stack.count(), 1);
}

void TestCommandQueue::lockerWaitsUntilUnlocked_data()
{
    QTest::addColumn<int>("nLimit");
    QTest::addColumn<int>("nUnlockAfter");
    QTest::addColumn<bool>("bUnlocked");
    QTest::newRow("unlocked in time") << 500 << 20 << true;
    QTest::newRow("time runs out") << 40 << 400 << false;
    QTest::newRow("no limit") << 0 << 30 << true;
}

void TestCommandQueue::lockerWaitsUntilUnlocked()
{
    QFETCH(int, nLimit);
    QFETCH(int, nUnlockAfter);
    QFETCH(bool, bUnlocked);
    KVEventLoopLocker *pLocker = KVEventLoopLocker::getInstance();
    QVERIFY(!pLocker->isLocked());
    pLocker->unlock(); // nothing to end
    QTimer unlocker;
    unlocker.setSingleShot(true);
    connect(&unlocker, &QTimer::timeout, pLocker, &KVEventLoopLocker::unlock);
    unlocker.start(nUnlockAfter);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(pLocker->lock(nLimit), bUnlocked);
    const qint64 nElapsed = clock.elapsed();
    QVERIFY2(nElapsed >= qMin(nLimit > 0 ? nLimit : nUnlockAfter, nUnlockAfter) - 2, qPrintable(QString::number(nElapsed)));
    QVERIFY2(nElapsed < (bUnlocked ? nUnlockAfter : nLimit) + 300, qPrintable(QString::number(nElapsed)));
    QVERIFY(!pLocker->isLocked());
}

void TestCommandQueue::newerLockEndsTheWait()
{
    KVEventLoopLocker *pLocker = KVEventLoopLocker::getInstance();
    bool bInner = false;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(10, pLocker, &KVEventLoopLocker::unlock);
        bInner = pLocker->lock(1000);
    });
    QElapsedTimer clock;
    clock.start();
    // The outer wait ends because the inner one took over; the inner one is unlocked.
    QCOMPARE(pLocker->lock(1000), false);
    QVERIFY(bInner);
    QVERIFY(clock.elapsed() < 900);
    QVERIFY(!pLocker->isLocked());
}

KAVIO_TEST_MAIN(TestCommandQueue)
#include "tst_commandqueue.moc"
