// The hidden text helper page in a real web engine: text commands wait in the queue until the page
// has normalised their HTML, and the commands behind them keep their order.
#include "canvas/KVTextHelperPage.h"
#include "commands/KVTextCommandValidator.h"

#include "../core/KVCommandTypesKit.h"
#include "KVTestMain.h"

using P = KVCmdParam;

namespace {

QString helperPath()
{
    return KVTestEnvironment::sourceDir() + QStringLiteral("/web/helperhtml/kvtexteditorhelper.html");
}

KVCommand *textCommand(TypesFixture &f, const QStringList &html)
{
    auto *p = new KVCommand(&f.t, QStringLiteral("Change Text"));
    for (const QString &str : html)
        p->addAction(f.textAction(f.pText, str, 20));
    return p;
}

} // namespace

class TestTextHelperPage : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { KVTextCommandValidator::destroyInstance(); }
    void pageNormalisesQueuedText();
    void missingPageKeepsTheText();
};

void TestTextHelperPage::pageNormalisesQueuedText()
{
    TypesFixture f;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    pValidator->setTimeLimit(20000);
    int nPages = 0;
    pValidator->setPageFactory([&nPages](KVTextCommandValidator *p) {
        auto *pPage = new KVTextHelperPage(p, helperPath());
        ++nPages;
        QObject::connect(pPage, &QObject::destroyed, [&nPages] { --nPages; });
        return pPage;
    });
    QSignalSpy spy(pValidator, &KVTextCommandValidator::commandSubmitted);
    pValidator->submit(textCommand(f, {"<span>a</span><script>x()</script>", "<p class=\"q\">b<br></p>"}));
    auto *pRename = new KVCommand(&f.t, QStringLiteral("Change Timeline Name"));
    pRename->addAction(f.action(12, {P::makeObject(P::Timeline, f.pTimeline), P::makeString("After")}));
    pValidator->submit(pRename);
    QCOMPARE(f.t.stack.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.t.stack.count(), 2, 20000);
    QCOMPARE(f.t.stack.command(0)->text(), QStringLiteral("Change Text"));
    // The second text action ran last: its normalised HTML is what the text box holds.
    QCOMPARE(f.pText->innerHtml(kBase), QStringLiteral("<p>b</p>"));
    f.t.stack.undo();
    f.t.stack.undo();
    f.t.stack.redo();
    // The first action's HTML was normalised too (undo wrote the previous text back into it).
    auto *pCommand = static_cast<const KVCommand *>(f.t.stack.command(0));
    QCOMPARE(pCommand->actions().first()->param(1)->toString(), QStringLiteral("<p>Hi</p>"));
    QCOMPARE(f.pText->innerHtml(kBase), QStringLiteral("<p>b</p>"));
    QCOMPARE(spy.count(), 2);
    QTRY_COMPARE(nPages, 0);
}

void TestTextHelperPage::missingPageKeepsTheText()
{
    TypesFixture f;
    KVTextCommandValidator *pValidator = KVTextCommandValidator::getInstance();
    pValidator->setTimeLimit(1500);
    pValidator->setPageFactory([](KVTextCommandValidator *p) {
        return new KVTextHelperPage(p, QStringLiteral("/nonexistent/kvtexteditorhelper.html"));
    });
    pValidator->submit(textCommand(f, {"<span>raw</span>"}));
    QTRY_COMPARE_WITH_TIMEOUT(f.t.stack.count(), 1, 10000);
    QCOMPARE(f.pText->innerHtml(kBase), QStringLiteral("<span>raw</span>"));
}

KAVIO_WEBENGINE_TEST_MAIN(TestTextHelperPage)
#include "tst_texthelperpage.moc"
