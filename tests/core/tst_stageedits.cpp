#include "KVCommandTestKit.h"
#include "KVResourceTestContext.h"

#include "commands/KVDeleteOperation.h"
#include "commands/KVDropPolicy.h"
#include "commands/KVEditContext.h"
#include "commands/KVInsertOperation.h"
#include "commands/KVOverrideOperation.h"
#include "commands/KVSelectOperation.h"
#include "commands/KVVisibilityOperation.h"
#include "model/KVElementProperty.h"
#include "model/KVHTMLWidget.h"
#include "model/KVImage.h"
#include "model/KVText.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"

#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QMimeData>
#include <QtTest>

namespace {

const KVLayoutKey kBase = KVLayoutKey::base();
const KVLayoutKey kNarrow(1, 0);

// The command fixture (A, B, group G with C; an opacity track on A) with its first scene selected
// and given a second layout, plus a resource manager over a temporary project folder.
struct Edits
{
    KVCommandFixture f;
    TestContext context;
    // The project's own manager: commands add resources to it.
    KVResourceManager &manager = *f.t.project.resourceManager();

    Edits()
    {
        manager.setContext(&context);
        f.t.list.setSceneSelected(f.pScene, true);
        f.pScene->syncLayouts({kBase, kNarrow}, true, kBase);
    }

    KVEditContext edit() const
    {
        KVEditContext c;
        c.pTarget = const_cast<KVTestCommandTarget *>(&f.t);
        c.pScene = f.pScene;
        c.pTimeline = f.pTimeline;
        return c;
    }

    QString form() const { return f.form(); }

    // Pushes the command; checks the single undo step and that undo gives the form back exactly.
    void pushAndUndo(KVCommand *pCommand, const QString &strText, const std::function<void()> &checkApplied)
    {
        const QString strBefore = form();
        QVERIFY(pCommand);
        QCOMPARE(pCommand->text(), strText);
        QVERIFY(KVCommand::push(pCommand));
        QCOMPARE(f.t.stack.count(), 1);
        checkApplied();
        const QString strAfter = form();
        QVERIFY(strAfter != strBefore);
        f.t.stack.undo();
        QCOMPARE(form(), strBefore);
        f.t.stack.redo();
        QCOMPARE(form(), strAfter);
        f.t.stack.undo();
    }

    QStringList images(const QList<QSize> &sizes)
    {
        QStringList paths;
        for (int i = 0; i < sizes.size(); ++i)
            paths.append(context.writeImage(QStringLiteral("picture%1.png").arg(i), sizes[i].width(), sizes[i].height()));
        return paths;
    }
};

QMimeData *mime(const QStringList &formats, const QList<QUrl> &urls, const QString &strText)
{
    auto *p = new QMimeData;
    for (const QString &strFormat : formats)
        p->setData(strFormat, QByteArray("{}"));
    if (!urls.isEmpty())
        p->setUrls(urls);
    if (!strText.isEmpty())
        p->setText(strText);
    return p;
}

} // namespace

class tst_StageEdits : public QObject
{
    Q_OBJECT

private slots:
    void insertStagger_data();
    void insertStagger();
    void insertTextAndWidget();
    void importFailureReportedOnce();
    void refusedSymbol();
    void dropKinds_data();
    void dropKinds();
    void dropFiles();
    void dropResources();
    void selectAllAddsNoUndoStep();
    void lockAndHide_data();
    void lockAndHide();
    void deleteSelected();
    void selectionKeptAcrossCommands_data();
    void selectionKeptAcrossCommands();
    void removeAllOverrides();
};

void tst_StageEdits::insertStagger_data()
{
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QPointF>("origin");

    QTest::newRow("one") << QList<QSize>{QSize(64, 32)} << QPointF();
    QTest::newRow("three") << QList<QSize>{QSize(64, 32), QSize(40, 20), QSize(10, 12)} << QPointF();
    QTest::newRow("three from a drop point") << QList<QSize>{QSize(64, 32), QSize(40, 20), QSize(10, 12)}
                                             << QPointF(30, 40);
}

void tst_StageEdits::insertStagger()
{
    QFETCH(QList<QSize>, sizes);
    QFETCH(QPointF, origin);

    Edits e;
    e.f.pScene->setCurrentLayout(kNarrow);
    const QList<KVResource *> resources = KVInsertOperation::importFiles(&e.manager, e.images(sizes), KVResourceType::Image);
    QCOMPARE(resources.size(), sizes.size());
    const int nBefore = e.f.pScene->children().size();
    e.pushAndUndo(KVInsertOperation::insertResources(e.edit(), resources, &e.manager, origin, QString(), {}, true),
                  QStringLiteral("Insert Image"), [&]() {
        for (const KVResource *p : resources)
            QVERIFY(!p->isDeleted());
        const QList<KVElement *> &children = e.f.pScene->children();
        QCOMPARE(children.size(), nBefore + sizes.size());
        for (int i = 0; i < sizes.size(); ++i) {
            KVElement *p = children.at(nBefore + i);
            QCOMPARE(p->type(), 0);
            QCOMPARE(static_cast<KVImage *>(p)->image(), resources[i]);
            QCOMPARE(p->positionX(kBase), origin.x() + 50.0 * i);
            QCOMPARE(p->positionY(kBase), origin.y() + 50.0 * i);
            QCOMPARE(p->widthPixels(kBase), double(sizes[i].width()));
            QCOMPARE(p->heightPixels(kBase), double(sizes[i].height()));
            // The element has the scene's layouts and shows the current one.
            QCOMPARE(p->properties().keys(), e.f.pScene->properties().keys());
            QCOMPARE(p->currentLayout(), kNarrow);
            QCOMPARE(resources[i]->name(), QStringLiteral("picture%1").arg(i));
        }
    });
    QCOMPARE(e.f.pScene->children().size(), nBefore);
    QCOMPARE(e.manager.resources().size(), sizes.size());
}

void tst_StageEdits::insertTextAndWidget()
{
    Edits e;
    e.pushAndUndo(KVInsertOperation::insertText(e.edit()), QStringLiteral("Insert Text"), [&]() {
        KVElement *p = e.f.pScene->children().constLast();
        QCOMPARE(p->type(), 4);
        QCOMPARE(p->properties().size(), 2);
    });
    e.f.t.stack.clear();
    // Dropped text: a text element showing it where it was dropped.
    e.pushAndUndo(KVInsertOperation::insertText(e.edit(), QStringLiteral("a &lt; b"), QPointF(12, 34)),
                  QStringLiteral("Insert Text"), [&]() {
        auto *p = qobject_cast<KVText *>(e.f.pScene->children().constLast());
        QVERIFY(p);
        QCOMPARE(p->innerHtml(kBase), QStringLiteral("a &lt; b"));
        QCOMPARE(p->innerHtml(kNarrow), QStringLiteral("a &lt; b"));
        QCOMPARE(p->positionX(kBase), 12.0);
        QCOMPARE(p->positionY(kNarrow), 34.0);
    });
    e.f.t.stack.clear();
    e.pushAndUndo(KVInsertOperation::insertHtmlWidget(e.edit(), QStringLiteral("https://example.org/"), nullptr,
                                                      &e.manager, QSize(300, 250)),
                  QStringLiteral("Insert HTML Widget"), [&]() {
        auto *p = qobject_cast<KVHTMLWidget *>(e.f.pScene->children().constLast());
        QVERIFY(p);
        QCOMPARE(p->url(), QStringLiteral("https://example.org/"));
        QCOMPARE(p->positionX(kBase), 0.0);
        QCOMPARE(p->positionY(kBase), 0.0);
        QCOMPARE(p->widthPixels(kBase), 300.0);
        QCOMPARE(p->heightPixels(kBase), 250.0);
    });
    KVEditContext noScene = e.edit();
    noScene.pScene = nullptr;
    QVERIFY(!KVInsertOperation::insertText(noScene));
}

void tst_StageEdits::importFailureReportedOnce()
{
    RecordingReporter reporter;
    Edits e;
    QStringList paths = e.images({QSize(8, 8), QSize(9, 9)});
    paths.insert(1, e.context.writeFile(QStringLiteral("notes.xyz"), "plain"));
    paths.append(e.context.sources() + QStringLiteral("/missing.png"));
    const QList<KVResource *> resources = KVInsertOperation::importFiles(&e.manager, paths, KVResourceType::Image);
    QCOMPARE(resources.size(), 2);
    QCOMPARE(reporter.texts(), QStringList{QStringLiteral("Could not import some image files.")});
    // The files that did import are in the project and become elements.
    QCOMPARE(e.manager.resources().size(), 2);
    KVCommand *pCommand = KVInsertOperation::insertResources(e.edit(), resources, &e.manager);
    QVERIFY(pCommand);
    QCOMPARE(pCommand->actions().size(), 2);
    delete pCommand;
}

void tst_StageEdits::refusedSymbol()
{
    RecordingReporter reporter;
    Edits e;
    auto *pSymbol = new KVResource(KVResourceType::Symbol, QStringLiteral("sym"), QStringLiteral("sym.kaviosym"));
    pSymbol->setId(e.manager.takeId());
    QVERIFY(e.manager.addResource(pSymbol));
    const QList<KVResource *> resources = KVInsertOperation::importFiles(&e.manager, e.images({QSize(5, 5)}),
                                                                        KVResourceType::Image);
    KVCommand *pCommand = KVInsertOperation::insertResources(
        e.edit(), {pSymbol, resources.first()}, &e.manager, QPointF(), QString(),
        [pSymbol](const KVResource *p) { return p == pSymbol; });
    QVERIFY(pCommand);
    QCOMPARE(pCommand->actions().size(), 1);
    QCOMPARE(pCommand->text(), QStringLiteral("Insert Image"));
    QCOMPARE(reporter.texts(), QStringList{QStringLiteral("Cannot insert symbol that is parent of current symbol")});
    delete pCommand;
    // Only the refused symbol: nothing to insert.
    QVERIFY(!KVInsertOperation::insertResources(e.edit(), {pSymbol}, &e.manager, QPointF(), QString(),
                                                [](const KVResource *) { return true; }));
}

void tst_StageEdits::dropKinds_data()
{
    QTest::addColumn<QStringList>("formats");
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("timeline");
    QTest::addColumn<int>("kind");

    const QUrl png = QUrl::fromLocalFile(QStringLiteral("/tmp/a.png"));
    const QUrl css = QUrl::fromLocalFile(QStringLiteral("/tmp/b.CSS"));
    const QUrl xyz = QUrl::fromLocalFile(QStringLiteral("/tmp/c.xyz"));
    const QUrl doc = QUrl::fromLocalFile(QStringLiteral("/tmp/d.doc"));
    const QUrl remote(QStringLiteral("https://example.org/e.png"));
    using K = KVDropPolicy;
    QTest::newRow("resources") << QStringList{"kavio-resource"} << QList<QUrl>() << QString() << false << int(K::Resources);
    QTest::newRow("elements with a timeline") << QStringList{"kavio-element"} << QList<QUrl>() << QString() << true
                                              << int(K::Elements);
    QTest::newRow("elements without a timeline") << QStringList{"kavio-element"} << QList<QUrl>() << QString()
                                                 << false << int(K::Refused);
    QTest::newRow("an image file") << QStringList() << QList<QUrl>{png} << QString() << false << int(K::Files);
    QTest::newRow("a style sheet, upper case") << QStringList() << QList<QUrl>{css} << QString() << false
                                               << int(K::Files);
    QTest::newRow("unknown files only") << QStringList() << QList<QUrl>{xyz, doc} << QString() << false
                                        << int(K::Refused);
    QTest::newRow("unknown and known files") << QStringList() << QList<QUrl>{xyz, png} << QString() << false
                                             << int(K::Files);
    QTest::newRow("a remote picture") << QStringList() << QList<QUrl>{remote} << QString() << false << int(K::Refused);
    QTest::newRow("plain text") << QStringList() << QList<QUrl>() << QStringLiteral("hello") << false
                                << int(K::PlainText);
    QTest::newRow("text with unknown files") << QStringList() << QList<QUrl>{xyz} << QStringLiteral("hello") << false
                                             << int(K::Refused);
    QTest::newRow("nothing") << QStringList() << QList<QUrl>() << QString() << true << int(K::Refused);
}

void tst_StageEdits::dropKinds()
{
    QFETCH(QStringList, formats);
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(bool, timeline);
    QFETCH(int, kind);

    QScopedPointer<QMimeData> pData(mime(formats, urls, text));
    QCOMPARE(int(KVDropPolicy::kindOf(pData.data(), timeline)), kind);
    QCOMPARE(KVDropPolicy::accepts(pData.data(), timeline), kind != KVDropPolicy::Refused);
}

void tst_StageEdits::dropFiles()
{
    RecordingReporter reporter;
    Edits e;
    const QList<QUrl> urls{QUrl::fromLocalFile(e.images({QSize(20, 10)}).first()),
                           QUrl::fromLocalFile(e.context.writeFile(QStringLiteral("unknown.xyz"), "x")),
                           QUrl::fromLocalFile(e.context.writeFile(QStringLiteral("look.css"), "p { }"))};
    const int nBefore = e.f.pScene->children().size();
    KVCommand *pCommand = KVDropPolicy::dropFiles(e.edit(), &e.manager, urls, QPointF(15, 25));
    // The style sheet is a resource only; the picture becomes an element at the drop point.
    QCOMPARE(e.manager.resources().size(), 2);
    QCOMPARE(reporter.texts(),
             QStringList{QStringLiteral("Could not import 1 file(s).\nFile format may not be supported.")});
    e.pushAndUndo(pCommand, QStringLiteral("Insert Element"), [&]() {
        QCOMPARE(e.f.pScene->children().size(), nBefore + 1);
        KVElement *p = e.f.pScene->children().constLast();
        QCOMPARE(p->positionX(kBase), 15.0);
        QCOMPARE(p->positionY(kBase), 25.0);
        QCOMPARE(p->widthPixels(kBase), 20.0);
        QCOMPARE(e.manager.liveResources().size(), 2);
    });
    // Undone, the style sheet leaves the project; the picture stays while the removed element,
    // kept by the command, still uses it.
    QCOMPARE(e.manager.liveResources().size(), 1);
    QCOMPARE(e.manager.liveResources().constFirst()->type(), int(KVResourceType::Image));

    reporter.clear();
    const QList<QUrl> unknown{QUrl::fromLocalFile(e.context.writeFile(QStringLiteral("other.xyz"), "y"))};
    QVERIFY(!KVDropPolicy::dropFiles(e.edit(), &e.manager, unknown, QPointF()));
    QCOMPARE(reporter.texts(),
             QStringList{QStringLiteral("Could not import 1 file(s).\nFile format may not be supported.")});
    QCOMPARE(e.manager.resources().size(), 2);

    // Only a style sheet: a resource and no element, still one undo step.
    reporter.clear();
    e.f.t.stack.clear();
    const QList<QUrl> sheet{QUrl::fromLocalFile(e.context.writeFile(QStringLiteral("more.css"), "a { }"))};
    KVCommand *pSheet = KVDropPolicy::dropFiles(e.edit(), &e.manager, sheet, QPointF());
    QVERIFY(pSheet);
    QCOMPARE(pSheet->text(), QStringLiteral("Insert Element"));
    QCOMPARE(pSheet->actions().size(), 1);
    const int nLive = e.manager.liveResources().size() - 1; // the sheet is in from the import on
    KVCommand::push(pSheet);
    QCOMPARE(e.manager.liveResources().size(), nLive + 1);
    e.f.t.stack.undo();
    QCOMPARE(e.manager.liveResources().size(), nLive);
    e.f.t.stack.redo();
    QCOMPARE(e.manager.liveResources().size(), nLive + 1);
    QVERIFY(reporter.texts().isEmpty());
}

void tst_StageEdits::dropResources()
{
    RecordingReporter reporter;
    Edits e;
    const QList<KVResource *> resources = KVInsertOperation::importFiles(&e.manager, e.images({QSize(4, 4), QSize(6, 6)}),
                                                                        KVResourceType::Image);
    QMimeData data;
    data.setData(KVDropPolicy::resourceFormat(), KVDropPolicy::resourcePayload({resources[1]->id(), resources[0]->id(), 999}));
    QCOMPARE(KVDropPolicy::kindOf(&data, false), KVDropPolicy::Resources);
    const QList<int> ids = KVDropPolicy::resourceIds(&data);
    QCOMPARE(ids, (QList<int>{resources[1]->id(), resources[0]->id(), 999}));
    e.pushAndUndo(KVDropPolicy::dropResources(e.edit(), &e.manager, ids, QPointF(30, 40)),
                  QStringLiteral("Insert Element"), [&]() {
        const QList<KVElement *> &children = e.f.pScene->children();
        auto *pFirst = static_cast<KVImage *>(children.at(children.size() - 2));
        auto *pSecond = static_cast<KVImage *>(children.constLast());
        QCOMPARE(pFirst->image(), resources[1]);
        QCOMPARE(pFirst->positionX(kBase), 30.0);
        QCOMPARE(pSecond->positionY(kBase), 90.0);
    });
    QVERIFY(reporter.texts().isEmpty());

    // A symbol that holds the one being edited is refused.
    auto *pSymbol = new KVResource(KVResourceType::Symbol, QStringLiteral("outer"), QStringLiteral("outer.kaviosym"));
    pSymbol->setId(e.manager.takeId());
    e.manager.addResource(pSymbol);
    QVERIFY(!KVDropPolicy::dropResources(e.edit(), &e.manager, {pSymbol->id()}, QPointF(),
                                         [](const KVResource *) { return true; }));
    QCOMPARE(reporter.texts(), QStringList{QStringLiteral("Cannot insert element that contains the current symbol.")});
    QMimeData bad;
    bad.setData(KVDropPolicy::resourceFormat(), QByteArray("not binary json"));
    QVERIFY(KVDropPolicy::resourceIds(&bad).isEmpty());
}

void tst_StageEdits::selectAllAddsNoUndoStep()
{
    Edits e;
    e.f.pGroup->setSelected(true);
    e.f.pC->setSelected(true);
    QVERIFY(KVSelectOperation::run(KVSelectOperation::selectAll(e.edit())));
    QCOMPARE(e.f.t.stack.count(), 0);
    for (KVElement *p : e.f.pScene->children())
        QVERIFY(p->isSelected());
    QVERIFY(!e.f.pC->isSelected()); // the group is selected as a whole
    QVERIFY(e.f.t.noteTypes().contains(33));
    QVERIFY(e.f.t.noteTypes().endsWith(41));
    // Everything selected already: nothing to run.
    QVERIFY(!KVSelectOperation::selectAll(e.edit()));

    QVERIFY(KVSelectOperation::run(KVSelectOperation::deselectAll(e.edit())));
    QCOMPARE(e.f.t.stack.count(), 0);
    QVERIFY(e.edit().selectedElements().isEmpty());
    QVERIFY(!KVSelectOperation::deselectAll(e.edit()));
    QVERIFY(!KVSelectOperation::run(nullptr));
}

// The scene's elements are A, B, G and C (in G). Flags are given in that order.
void tst_StageEdits::lockAndHide_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<bool>>("flags");      // locked, or hidden, before
    QTest::addColumn<QList<bool>>("selected");   // A, B, G
    QTest::addColumn<QString>("labelBefore");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<bool>>("after");
    QTest::addColumn<QString>("labelAfter");

    using F = QList<bool>;
    QTest::newRow("lock all") << "lockAll" << F{false, true, false, false} << F{} << "Lock All"
                              << "Lock All Elements" << F{true, true, true, true} << "Unlock All";
    QTest::newRow("unlock all") << "lockAll" << F{true, true, true, true} << F{} << "Unlock All"
                                << "Unlock All Elements" << F{false, false, false, false} << "Lock All";
    QTest::newRow("hide all") << "hideAll" << F{true, true, true, false} << F{} << "Hide All"
                              << "Hide All Elements" << F{true, true, true, true} << "Show All";
    QTest::newRow("show all") << "hideAll" << F{true, true, true, true} << F{} << "Show All"
                              << "Show All Elements" << F{false, false, false, false} << "Hide All";
    QTest::newRow("hide selected") << "hide" << F{false, false, false, false} << F{true, true, false} << "Hide"
                                   << "Hide Element" << F{true, true, false, false} << "Show";
    QTest::newRow("show selected, one hidden") << "hide" << F{false, true, false, false} << F{true, true, false}
                                               << "Show" << "Show Element" << F{false, false, false, false} << "Hide";
    QTest::newRow("lock selected") << "lock" << F{false, false, false, false} << F{false, true, true} << ""
                                   << "Lock Element" << F{false, true, true, false} << "";
    QTest::newRow("unlock selected") << "lock" << F{false, true, true, false} << F{false, true, true} << ""
                                     << "Unlock Element" << F{false, false, false, false} << "";
}

void tst_StageEdits::lockAndHide()
{
    QFETCH(QString, operation);
    QFETCH(QList<bool>, flags);
    QFETCH(QList<bool>, selected);
    QFETCH(QString, labelBefore);
    QFETCH(QString, text);
    QFETCH(QList<bool>, after);
    QFETCH(QString, labelAfter);

    Edits e;
    const QList<KVElement *> elements{e.f.pA, e.f.pB, e.f.pGroup, e.f.pC};
    const bool bLock = operation.startsWith(QLatin1String("lock"));
    for (int i = 0; i < 4; ++i) {
        if (bLock)
            elements[i]->setLocked(flags[i]);
        else
            elements[i]->setVisible(!flags[i]);
        elements[i]->setSelected(i < selected.size() && selected[i]);
    }
    const KVEditContext c = e.edit();
    auto label = [&]() {
        if (operation == QLatin1String("lockAll"))
            return KVVisibilityOperation::lockAllText(e.f.pScene);
        if (operation == QLatin1String("hideAll"))
            return KVVisibilityOperation::hideAllText(e.f.pScene);
        if (operation == QLatin1String("hide"))
            return KVVisibilityOperation::hideText(c);
        return QString();
    };
    QCOMPARE(label(), labelBefore);
    KVCommand *pCommand = operation == QLatin1String("lockAll") ? KVVisibilityOperation::lockAll(c)
                        : operation == QLatin1String("hideAll") ? KVVisibilityOperation::hideAll(c)
                        : operation == QLatin1String("hide")    ? KVVisibilityOperation::hideSelected(c)
                                                                : KVVisibilityOperation::lockSelected(c);
    QVERIFY(pCommand);
    QCOMPARE(pCommand->text(), text);
    KVCommand::push(pCommand);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(bLock ? elements[i]->isLocked() : !elements[i]->isVisible(), after[i]);
    QCOMPARE(label(), labelAfter);
    e.f.t.stack.undo();
    for (int i = 0; i < 4; ++i)
        QCOMPARE(bLock ? elements[i]->isLocked() : !elements[i]->isVisible(), flags[i]);
    QCOMPARE(label(), labelBefore);
    QVERIFY(KVVisibilityOperation::isAvailable(e.f.pScene));
    QVERIFY(!KVVisibilityOperation::isAvailable(e.f.pScene2));
}

void tst_StageEdits::deleteSelected()
{
    Edits e;
    // A (animated) and C inside the group; the group itself is entered, not deleted.
    e.f.pA->setSelected(true);
    e.f.pGroup->setSelected(true);
    e.f.pC->setSelected(true);
    QPointer<KVAnimation> pAnimation = e.f.pAnimation;
    e.pushAndUndo(KVDeleteOperation::removeSelected(e.edit()), QStringLiteral("Delete"), [&]() {
        QCOMPARE(e.f.pScene->children(), (QList<KVElement *>{e.f.pB, e.f.pGroup}));
        QVERIFY(e.f.pGroup->children().isEmpty());
        QVERIFY(e.f.pTimeline->animations(kBase).isEmpty());
        QVERIFY(pAnimation);
    });
    QCOMPARE(e.f.pScene->children(), (QList<KVElement *>{e.f.pA, e.f.pB, e.f.pGroup}));
    QCOMPARE(e.f.pTimeline->findAnimation(e.f.pA, kBase), pAnimation.data());
    // A group selected as a whole goes with its child.
    e.f.t.stack.clear();
    e.f.pA->setSelected(false);
    e.f.pC->setSelected(false);
    e.f.pGroup->setSelected(true);
    KVCommand *pCommand = KVDeleteOperation::removeSelected(e.edit());
    QVERIFY(pCommand);
    KVCommand::push(pCommand);
    QCOMPARE(e.f.pScene->children(), (QList<KVElement *>{e.f.pA, e.f.pB}));
    e.f.pScene->forEachInSubtree([](const KVElement *p) { QVERIFY(p->name() != QLatin1String("C") || p->parent()); });
    e.f.t.stack.clear();
    for (KVElement *p : e.f.pScene->children())
        p->setSelected(false);
    QVERIFY(!KVDeleteOperation::removeSelected(e.edit()));
}

// Every execution puts back the selection of submit time: the same flags, a group the user has
// entered (group and child both selected) included, whether or not the scene is selected in its
// list.
void tst_StageEdits::selectionKeptAcrossCommands_data()
{
    QTest::addColumn<bool>("sceneSelected");
    QTest::newRow("scene selected") << true;
    QTest::newRow("scene not selected") << false;
}

void tst_StageEdits::selectionKeptAcrossCommands()
{
    QFETCH(bool, sceneSelected);
    Edits e;
    e.f.t.list.setSceneSelected(e.f.pScene, sceneSelected);
    e.f.pA->setSelected(true);
    e.f.pGroup->setSelected(true);
    e.f.pC->setSelected(true);
    auto selection = [&]() {
        return QList<bool>{e.f.pA->isSelected(), e.f.pB->isSelected(), e.f.pGroup->isSelected(), e.f.pC->isSelected()};
    };
    const QList<bool> before = selection();
    KVCommand *pCommand = KVVisibilityOperation::lockSelected(e.edit());
    QVERIFY(pCommand);
    KVCommand::push(pCommand);
    QCOMPARE(selection(), before);
    e.f.pB->setSelected(true); // a later change of selection is replaced on undo and redo
    e.f.t.stack.undo();
    QCOMPARE(selection(), before);
    e.f.t.stack.redo();
    QCOMPARE(selection(), before);
}

void tst_StageEdits::removeAllOverrides()
{
    Edits e;
    KVElement *pA = e.f.pA;
    // A overrides its left and opacity at the narrow layout and has its own animation there.
    pA->setPositionX(333, kNarrow);
    pA->setInherited(0, false, kNarrow);
    pA->setOpacity(0.25, kNarrow);
    pA->setInherited(14, false, kNarrow);
    auto *pNarrowAnimation = new KVAnimation(pA);
    e.f.pTimeline->addAnimation(pNarrowAnimation, kNarrow);
    pA->setSelected(true);
    e.f.pB->setSelected(true); // overrides nothing
    e.f.pScene->setCurrentLayout(kNarrow);
    QPointer<KVAnimation> pWatch = pNarrowAnimation;
    e.pushAndUndo(KVOverrideOperation::removeAllOverrides(e.edit()), QStringLiteral("Remove All Overrides"), [&]() {
        QCOMPARE(pA->positionX(kNarrow), pA->positionX(kBase));
        QCOMPARE(pA->opacity(kNarrow), pA->opacity(kBase));
        QVERIFY(pA->isInherited(0, kNarrow));
        QVERIFY(pA->isInherited(14, kNarrow));
        QVERIFY(!e.f.pTimeline->findAnimation(pA, kNarrow));
        QVERIFY(pWatch);
        // The base layout keeps its animation.
        QVERIFY(e.f.pTimeline->findAnimation(pA, kBase));
    });
    QCOMPARE(pA->positionX(kNarrow), 333.0);
    QVERIFY(!pA->isInherited(0, kNarrow));
    QCOMPARE(e.f.pTimeline->findAnimation(pA, kNarrow), pNarrowAnimation);
    // Nothing is overridden at the base layout.
    KVEditContext c = e.edit();
    c.layouts = {kBase};
    QVERIFY(!KVOverrideOperation::removeAllOverrides(c));
}

KAVIO_TEST_MAIN(tst_StageEdits)
#include "tst_stageedits.moc"
