// The editor with the real canvas page: the page draws the example's scene from what the canvas
// sends it, and a move made with the page's own pointer handling comes back as one command whose
// undo moves the node back. Every kind of view update a command sends reaches the stage through
// the channel, and breakpoints added, dragged and removed show there, with their undo. A received project's script never runs on the stage, and the stage
// reads no local file nor runs script that got into its page some other way.
#include "canvas/KVCanvas.h"
#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVElementCommandAction.h"
#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVScene.h"
#include "plugin/KVEditor.h"
#include "plugin/KVResponsiveToolbar.h"
#include "model/KVText.h"
#include "ui/text/KVTextEditor.h"
#include "ui/text/KVTextFloatingTool.h"
#include "resources/KVResourceManager.h"

#include "EditorManager.h"
#include "ICore.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include "KVPageScript.h"
#include "KVEditorWindow.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <functional>
#include <QRectF>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWindow>

using ExtensionSystem::PluginManager;

class tst_CanvasEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void pageDrawsTheModelAndMovesThroughCommands();
    void projectScriptNeverRuns_data();
    void projectScriptNeverRuns();
    void pageRefusesFilesAndInjectedScript_data();
    void pageRefusesFilesAndInjectedScript();
    void viewUpdatesReachTheStage_data();
    void viewUpdatesReachTheStage();
    void breakpointsReachTheStage();
    void textToolFormatsTheEditedText_data();
    void textToolFormatsTheEditedText();

private:
    // Runs a script in the page and waits for its value.
    static QVariant evaluate(KVCanvas *pCanvas, const QString &strScript)
    {
        return kvRunScript(pCanvas->page(), strScript);
    }
    // Copies the example banner into a folder of its own with one element of its first scene
    // changed, opens it and waits until the stage shows it.
    KVCanvas *openChanged(const QString &strName, int nElementId, const std::function<void(QJsonObject &)> &change);

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    KVCanvas *m_pProbeCanvas = nullptr;
    KVCanvas *m_pUpdatesCanvas = nullptr;
};

void tst_CanvasEndToEnd::initTestCase()
{
    const QString strStarted = kvStartEditorWindow(m_manager, m_window, m_core);
    QVERIFY2(strStarted.isEmpty(), qPrintable(strStarted));
}

void tst_CanvasEndToEnd::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

void tst_CanvasEndToEnd::pageDrawsTheModelAndMovesThroughCommands()
{
    RecordingReporter rec;
    const QString folder = m_dir.filePath(QStringLiteral("example"));
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"),
                        folder + QStringLiteral("/banner.kavio")));
    QVERIFY(QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"),
                        folder + QStringLiteral("/banner_res/logo.png")));
    QVERIFY(m_window->openDocument(folder + QStringLiteral("/banner.kavio")));
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVScene *scene = editor->document()->currentScene();
    QVERIFY(scene);
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(canvas, QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool(),
                             20000);

    // one node per element of the scene, at the model's pixel position
    QSet<int> modelIds;
    for (KVElement *element : scene->children())
        element->forEachInSubtree([&modelIds](const KVElement *e) { modelIds.insert(e->id()); });
    QSet<int> pageIds;
    for (const QVariant &id : evaluate(canvas, QStringLiteral("window.kvCanvasPage.ids()")).toList())
        pageIds.insert(id.toInt());
    QCOMPARE(pageIds, modelIds);
    const QVariantMap positions = evaluate(canvas, QStringLiteral("window.kvCanvasPage.positions()")).toMap();
    int nCompared = 0;
    KVElement *moved = nullptr;
    for (KVElement *element : scene->children()) {
        // animated elements show their value at the page's time; the others their model position
        const bool bAnimated = scene->currentTimeline()
            && scene->currentTimeline()->findAnimation(element, element->currentLayout()) != nullptr;
        if (bAnimated || element->unitX() != 0 || element->unitY() != 0 || element->isLocked() || !element->isVisible())
            continue;
        const QVariantMap box = positions.value(QString::number(element->id())).toMap();
        QVERIFY2(!box.isEmpty(), qPrintable(QString::number(element->id())));
        QCOMPARE(qRound(box.value(QStringLiteral("x")).toDouble()), qRound(element->positionX()));
        QCOMPARE(qRound(box.value(QStringLiteral("y")).toDouble()), qRound(element->positionY()));
        // the topmost one is moved, so that the press at its centre reaches it
        if (element->sizeW() >= 20 && element->sizeH() >= 20)
            moved = element;
        ++nCompared;
    }
    QVERIFY(nCompared > 0);
    QVERIFY(moved);

    // a move through the page's own pointer handling
    QUndoStack *stack = editor->document()->getUndoStack();
    const int nSteps = stack->count();
    const double dLeft = moved->positionX();
    const double dTop = moved->positionY();
    // pressed at a point of the element that no other element covers
    const auto boxOf = [&positions](int nId) {
        const QVariantMap b = positions.value(QString::number(nId)).toMap();
        return QRectF(b.value(QStringLiteral("x")).toDouble(), b.value(QStringLiteral("y")).toDouble(),
                      b.value(QStringLiteral("w")).toDouble(), b.value(QStringLiteral("h")).toDouble());
    };
    const QRectF box = boxOf(moved->id());
    QPointF press(-1, -1);
    for (double fy = 0.05; fy < 1 && press.x() < 0; fy += 0.05) {
        for (double fx = 0.05; fx < 1 && press.x() < 0; fx += 0.05) {
            const QPointF p(box.x() + box.width() * fx, box.y() + box.height() * fy);
            bool bCovered = false;
            for (int nId : qAsConst(pageIds))
                bCovered = bCovered || (nId != moved->id() && boxOf(nId).contains(p));
            if (!bCovered)
                press = p;
        }
    }
    QVERIFY2(press.x() >= 0, "every point of the element is covered");
    evaluate(canvas, QStringLiteral("window.kvCanvasPage.page.snap = false;"
                                    " window.kvCanvasPage.drag({x: %1, y: %2}, {x: %3, y: %4}); true")
                         .arg(press.x()).arg(press.y()).arg(press.x() + 30).arg(press.y() + 20));
    // the press may select the element first (a step of its own); the move is the last step
    QTRY_COMPARE_WITH_TIMEOUT(stack->count() > nSteps ? stack->text(stack->count() - 1) : QString(),
                              QStringLiteral("Change Geometry"), 10000);
    QVERIFY(stack->count() <= nSteps + 2);
    QCOMPARE(qRound(moved->positionX() - dLeft), 30);
    QCOMPARE(qRound(moved->positionY() - dTop), 20);
    const QString position = QStringLiteral("(function () { var b = window.kvCanvasPage.position(%1); return b ? Math.round(b.x) + ',' + Math.round(b.y) : ''; })()")
                                 .arg(moved->id());
    QCOMPARE(evaluate(canvas, position).toString(), QStringLiteral("%1,%2").arg(qRound(dLeft) + 30).arg(qRound(dTop) + 20));
    // the undo goes to the page, which moves the node back
    stack->undo();
    QCOMPARE(qRound(moved->positionX()), qRound(dLeft));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(canvas, position).toString(), QStringLiteral("%1,%2").arg(qRound(dLeft)).arg(qRound(dTop)), 10000);
    QVERIFY(rec.entries().isEmpty());
    QVERIFY(m_window->closeAllDocuments());
}

KVCanvas *tst_CanvasEndToEnd::openChanged(const QString &strName, int nElementId,
                                          const std::function<void(QJsonObject &)> &change)
{
    const QString folder = m_dir.filePath(strName);
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"),
                folder + QStringLiteral("/banner_res/logo.png"));
    QFile source(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"));
    if (!source.open(QIODevice::ReadOnly))
        return nullptr;
    QJsonObject project = QJsonDocument::fromJson(source.readAll()).object();
    QJsonObject document = project.value(QStringLiteral("document")).toObject();
    QJsonArray scenes = document.value(QStringLiteral("scenes")).toArray();
    QJsonObject scene = scenes.at(0).toObject();
    QJsonArray children = scene.value(QStringLiteral("children")).toArray();
    for (int i = 0; i < children.size(); ++i) {
        QJsonObject element = children.at(i).toObject();
        if (element.value(QStringLiteral("id")).toInt() != nElementId)
            continue;
        change(element);
        children[i] = element;
    }
    scene[QStringLiteral("children")] = children;
    scenes[0] = scene;
    document[QStringLiteral("scenes")] = scenes;
    project[QStringLiteral("document")] = document;
    QFile target(folder + QStringLiteral("/banner.kavio"));
    if (!target.open(QIODevice::WriteOnly))
        return nullptr;
    target.write(QJsonDocument(project).toJson());
    target.close();
    if (!m_window->openDocument(target.fileName()))
        return nullptr;
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    KVCanvas *canvas = editor ? editor->canvasView() : nullptr;
    if (canvas && !QTest::qWaitFor([&] {
            return evaluate(canvas, QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool();
        }, 20000))
        return nullptr;
    return canvas;
}

namespace {
// What every payload does when it runs: a flag and a title the stage would show.
const QString kRan = QStringLiteral("window.kvRan = 1; document.title = 'ran'");

void setHtml(QJsonObject &element, const QString &strHtml)
{
    QJsonArray props = element.value(QStringLiteral("respProps")).toArray();
    QJsonObject base = props.at(0).toObject();
    QJsonObject values = base.value(QStringLiteral("values")).toObject();
    QJsonObject text = values.value(QStringLiteral("text")).toObject();
    text[QStringLiteral("html")] = strHtml;
    values[QStringLiteral("text")] = text;
    base[QStringLiteral("values")] = values;
    props[0] = base;
    element[QStringLiteral("respProps")] = props;
}

// The picture becomes an HTML widget showing a page of its own or an address.
void makeWidget(QJsonObject &element, const QString &strKey, const QString &strValue)
{
    element[QStringLiteral("type")] = 3;
    element.remove(QStringLiteral("resourceId"));
    element[QStringLiteral("useresource")] = false;
    element[QStringLiteral("url")] = QString();
    element[QStringLiteral("srcdoc")] = QString();
    element[strKey] = strValue;
}
} // namespace

void tst_CanvasEndToEnd::projectScriptNeverRuns_data()
{
    // the element (4 text, 6 shape, 2 the picture made a widget), where the payload goes, the
    // payload, and what of its markup the stage still shows
    QTest::addColumn<int>("elementId");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QString>("kept");
    QTest::newRow("text: picture that fails to load")
        << 4 << "html" << QStringLiteral("<b>Sale</b><img src=x onerror=\"%1\">").arg(kRan) << "<b>Sale</b>";
    QTest::newRow("text: script element") << 4 << "html" << QStringLiteral("Spring<script>%1</script>").arg(kRan) << "Spring";
    QTest::newRow("text: svg that loads") << 4 << "html" << QStringLiteral("<svg onload=\"%1\"></svg><i>Hi</i>").arg(kRan) << "<i>Hi</i>";
    QTest::newRow("text: handlers on its markup")
        << 4 << "html" << QStringLiteral("<span onmouseover=\"%1\" onclick=\"%1\">Sale</span>").arg(kRan) << "Sale";
    QTest::newRow("text: a link that leaves the stage")
        << 4 << "html" << QStringLiteral("<a href=\"file:///etc/hostname\" style=\"display:block;height:200px\">Sale</a>") << "Sale";
    QTest::newRow("shape: picture that fails to load")
        << 6 << "html" << QStringLiteral("<img src=x onerror=\"%1\"><u>See</u>").arg(kRan) << "<u>See</u>";
    QTest::newRow("shape: handlers on its markup")
        << 6 << "html" << QStringLiteral("<div onclick=\"%1\" onmouseenter=\"%1\">Go</div>").arg(kRan) << "Go";
    QTest::newRow("widget: page with a script")
        << 2 << "srcdoc" << QStringLiteral("<script>parent.kvRan = 1; top.document.title = 'ran'</script>w") << "";
    QTest::newRow("widget: javascript address") << 2 << "url" << QStringLiteral("javascript:parent.kvRan = 1") << "";
    QTest::newRow("widget: a local file") << 2 << "url" << QStringLiteral("file:///etc/hostname") << "";
}

void tst_CanvasEndToEnd::projectScriptNeverRuns()
{
    QFETCH(int, elementId);
    QFETCH(QString, field);
    QFETCH(QString, payload);
    QFETCH(QString, kept);
    RecordingReporter rec;
    KVCanvas *canvas = openChanged(QStringLiteral("hostile-%1").arg(QTest::currentDataTag()).remove(QLatin1Char(':')),
                                   elementId, [&](QJsonObject &element) {
                                       if (field == QLatin1String("html"))
                                           setHtml(element, payload);
                                       else
                                           makeWidget(element, field, payload);
                                   });
    QVERIFY(canvas);
    // the page runs and holds its channel: the canvas id arrived and the scene was asked for
    QCOMPARE(evaluate(canvas, QStringLiteral("window.canvasId")).toInt(), canvas->canvasId());
    // the pointer goes over the element and clicks it, as the user would
    const QVariantMap box = evaluate(canvas, QStringLiteral("(function () { var b = window.kvCanvasPage.position(%1);"
                                                            " return window.kvCanvasPage.client({x: b.x + b.w / 2, y: b.y + b.h / 2}); })()")
                                                 .arg(elementId)).toMap();
    const QPoint at(qRound(box.value(QStringLiteral("x")).toDouble()), qRound(box.value(QStringLiteral("y")).toDouble()));
    QWidget *input = canvas->focusProxy() ? canvas->focusProxy() : canvas;
    QTest::mouseMove(input, at);
    QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier, at);
    QTest::qWait(300);
    QCOMPARE(evaluate(canvas, QStringLiteral("String(window.kvRan) + ' ' + document.title")).toString(),
             QStringLiteral("undefined Kavio canvas"));
    const QString shown = evaluate(canvas, QStringLiteral("(function () { var e = document.querySelector('[data-kv-id=\"%1\"]');"
                                                          " var t = e.querySelector('.kv-text'); var f = e.querySelector('iframe');"
                                                          " return t ? t.innerHTML : 'frame sandbox=' + f.getAttribute('sandbox'); })()")
                                          .arg(elementId)).toString();
    if (field == QLatin1String("html"))
        QVERIFY2(shown.contains(kept) && !shown.contains(QStringLiteral(" on")) && !shown.contains(QStringLiteral("<script")),
                 qPrintable(shown));
    else
        QCOMPARE(shown, QStringLiteral("frame sandbox="));
    QVERIFY(m_window->closeAllDocuments());
}

void tst_CanvasEndToEnd::pageRefusesFilesAndInjectedScript_data()
{
    // each probe leaves "read: <text>", "ran" or "refused" in window.kvProbe
    QTest::addColumn<QString>("probe");
    const QString xhr = QStringLiteral(
        "var x = new XMLHttpRequest(); x.onload = function () { window.kvProbe = 'read: ' + x.responseText; };"
        " x.onerror = function () { window.kvProbe = 'refused'; };"
        " try { x.open('GET', 'file:///etc/hostname'); x.send(); } catch (e) { window.kvProbe = 'refused'; }");
    const QString fetchFile = QStringLiteral(
        "fetch('file:///etc/hostname').then(function (r) { return r.text(); })"
        ".then(function (t) { window.kvProbe = 'read: ' + t; }, function () { window.kvProbe = 'refused'; });");
    const QString frame = QStringLiteral(
        "var f = document.createElement('iframe'); f.onload = function () {"
        " try { window.kvProbe = 'read: ' + f.contentDocument.body.textContent; } catch (e) { window.kvProbe = 'refused'; } };"
        " f.src = 'file:///etc/hostname'; document.body.appendChild(f);");
    const QString climb = QStringLiteral(
        "var x = new XMLHttpRequest(); x.onload = function () { window.kvProbe = 'read: ' + x.responseText; };"
        " x.onerror = function () { window.kvProbe = 'refused'; };"
        " try { x.open('GET', 'resource://../../../../../../etc/hostname'); x.send(); } catch (e) { window.kvProbe = 'refused'; }");
    // were a script to get into the page all the same, the page's content policy still refuses it
    // inline, as a handler attribute and through eval
    const QString later = QStringLiteral(" setTimeout(function () { if (!window.kvProbe) window.kvProbe = 'refused'; }, 300);");
    const QString inlineScript = QStringLiteral(
        "var s = document.createElement('script'); s.textContent = \"window.kvProbe = 'ran'\"; document.body.appendChild(s);") + later;
    const QString handler = QStringLiteral(
        "var d = document.createElement('div'); d.setAttribute('onclick', \"window.kvProbe = 'ran'\"); document.body.appendChild(d); d.click();")
        + later;
    const QString evaluated = QStringLiteral(
        "try { eval(\"window.kvProbe = 'ran'\"); } catch (e) { window.kvProbe = 'refused'; }");
    const QString function = QStringLiteral(
        "try { new Function(\"window.kvProbe = 'ran'\")(); } catch (e) { window.kvProbe = 'refused'; }");
    // nor does the page go elsewhere, where its channel would go with it
    const QString away = QStringLiteral("location.href = 'file:///etc/hostname';") + later;
    QTest::newRow("file: XMLHttpRequest") << xhr;
    QTest::newRow("file: fetch") << fetchFile;
    QTest::newRow("file: frame") << frame;
    QTest::newRow("file: resource climbing out") << climb;
    QTest::newRow("script: inline element") << inlineScript;
    QTest::newRow("script: handler attribute") << handler;
    QTest::newRow("script: eval") << evaluated;
    QTest::newRow("script: new Function") << function;
    QTest::newRow("navigation: the page sent elsewhere") << away;
}

void tst_CanvasEndToEnd::pageRefusesFilesAndInjectedScript()
{
    QFETCH(QString, probe);
    QFile hostname(QStringLiteral("/etc/hostname"));
    QVERIFY(hostname.open(QIODevice::ReadOnly));
    const QString secret = QString::fromUtf8(hostname.readAll()).trimmed();
    QVERIFY(!secret.isEmpty());
    RecordingReporter rec;
    KVCanvas *canvas = m_pProbeCanvas;
    if (!canvas) {
        canvas = m_pProbeCanvas = openChanged(QStringLiteral("probe"), 4, [](QJsonObject &) {});
        QVERIFY(canvas);
    }
    evaluate(canvas, QStringLiteral("window.kvProbe = undefined; (function () { %1 })(); true").arg(probe));
    QString result;
    const bool bAnswered = QTest::qWaitFor([&] {
        result = evaluate(canvas, QStringLiteral("window.kvProbe === undefined ? '' : String(window.kvProbe)")).toString();
        return !result.isEmpty();
    }, 3000);
    QVERIFY2(bAnswered, "the probe never answered");
    QVERIFY2(!result.contains(secret), qPrintable(result));
    QCOMPARE(result, QStringLiteral("refused"));
}

namespace {
using P = KVCmdParam;

// The card (a rectangle) of the example's first scene.
const int kCard = 5;

// One view update sent by a real command: the actions, what the probe shows once the page has it
// ("+n" adds n to every number it showed before), and whether the page hears of it at all.
struct UpdateRow
{
    const char *name;
    int type;
    std::function<QList<KVCommandAction *>(KVDocument *, KVScene *)> actions;
    QString probe;
    QString shown;
    bool bHeard = true;
};

KVCommandAction *elementAction(KVDocument *pDocument, KVScene *pScene, int nType, const QList<KVCmdParam *> &values)
{
    auto *pAction = new KVElementCommandAction(nType, pDocument, values.size() + 1);
    pAction->addParam(P::makeObject(P::Element, pScene->findElement(kCard)));
    for (KVCmdParam *pParam : values)
        pAction->addParam(pParam);
    return pAction;
}

// A value of the card's base layout (value parameters, then not inherited, h 0, v 0).
std::function<QList<KVCommandAction *>(KVDocument *, KVScene *)> baseValue(int nType, std::function<QList<KVCmdParam *>()> values)
{
    return [nType, values](KVDocument *pDocument, KVScene *pScene) {
        return QList<KVCommandAction *>{elementAction(pDocument, pScene, nType, values() + QList<KVCmdParam *>{P::makeBool(false), P::makeInt(0), P::makeInt(0)})};
    };
}

// A document action with the given parameters.
std::function<QList<KVCommandAction *>(KVDocument *, KVScene *)> plain(int nType, std::function<QList<KVCmdParam *>(KVDocument *, KVScene *)> params)
{
    return [nType, params](KVDocument *pDocument, KVScene *pScene) {
        auto *pAction = new KVCommandAction(nType, pDocument, 3);
        for (KVCmdParam *pParam : params(pDocument, pScene))
            pAction->addParam(pParam);
        return QList<KVCommandAction *>{pAction};
    };
}

// The first animated track of the scene's current timeline.
KVKeyframe *firstTrack(KVScene *pScene)
{
    for (const QList<KVAnimation *> &list : pScene->currentTimeline()->layoutAnimations()) {
        for (KVAnimation *pAnimation : list) {
            for (KVKeyframe *pTrack : pAnimation->keyframes()) {
                if (!pTrack->keyValues().isEmpty())
                    return pTrack;
            }
        }
    }
    return nullptr;
}

const QString kNode = QStringLiteral("(function () { var n = document.querySelector('[data-kv-id=\"%1\"]'); var cs = getComputedStyle(n); return %2; })()");

QList<UpdateRow> updateRows()
{
    const QString node = kNode;
    return {
        {"1001 border", 1001, baseValue(1001, [] { return QList<KVCmdParam *>{P::makeInt(4), P::makeInt(1), P::makeInt(int(0xffff0000))}; }),
         node.arg(kCard).arg(QStringLiteral("cs.borderTopWidth + ' ' + cs.borderTopStyle + ' ' + cs.borderTopColor")), "4px solid rgb(255, 0, 0)"},
        {"1003 corners", 1003,
         baseValue(1003, [] { return QList<KVCmdParam *>{P::makeJsonObject({{"tl", 20}, {"tr", 20}, {"bl", 20}, {"br", 20}, {"unitTL", 0}, {"unitTR", 0}, {"unitBL", 0}, {"unitBR", 0}})}; }),
         node.arg(kCard).arg(QStringLiteral("cs.borderTopLeftRadius + ' ' + cs.borderBottomRightRadius")), "20px 20px"},
        {"1010 class name", 1010, baseValue(1010, [] { return QList<KVCmdParam *>{P::makeString("promo")}; }),
         node.arg(kCard).arg(QStringLiteral("String(n.classList.contains('promo'))")), "true"},
        {"1011 display", 1011, baseValue(1011, [] { return QList<KVCmdParam *>{P::makeInt(0)}; }),
         node.arg(kCard).arg(QStringLiteral("cs.display")), "none"},
        {"1012 overflow", 1012, baseValue(1012, [] { return QList<KVCmdParam *>{P::makeInt(1), P::makeVariant(QVariant())}; }),
         node.arg(kCard).arg(QStringLiteral("cs.overflow")), "hidden"},
        {"1016 cursor", 1016, baseValue(1016, [] { return QList<KVCmdParam *>{P::makeString("pointer")}; }),
         node.arg(kCard).arg(QStringLiteral("cs.cursor")), "pointer"},
        {"24 track timing", 24, plain(24, [](KVDocument *, KVScene *pScene) {
             return QList<KVCmdParam *>{P::makeObject(P::Keyframe, firstTrack(pScene)), P::makeInt(0), P::makeInt(500)}; }),
         QString(), "+500"},
        {"61 alignment", 61, plain(61, [](KVDocument *pDocument, KVScene *) {
             return QList<KVCmdParam *>{P::makeObject(P::LayoutData, pDocument->breakpoints()), P::makeInt(2)}; }),
         "String(window.kvCanvasPage.page.docAlign)", "2"},
        {"40 image removal", 40, plain(40, [](KVDocument *pDocument, KVScene *) {
             return QList<KVCmdParam *>{P::makeResource(pDocument->resourceManager()->liveResources(0).value(0))}; }),
         "String(window.kvCanvasPage.page.resources.size)", "", false},
    };
}

// Every message the page takes from the channel, by type, from now on.
const QString kRecord = QStringLiteral(
    "(function () { var p = window.kvCanvasPage.page; window.kvSeen = [];"
    " if (!p.kvRecorded) { var f = p.applyMessage.bind(p);"
    " p.applyMessage = function (t) { try { window.kvSeen.push(JSON.parse(t).cmd); } catch (e) {} return f(t); };"
    " p.kvRecorded = true; } return true; })()");

// "+n": every number of the text before, n further on.
QString shifted(const QString &before, int n)
{
    QStringList parts = before.split(QLatin1Char(','));
    for (QString &part : parts)
        part = QString::number(part.toInt() + n);
    return parts.join(QLatin1Char(','));
}
} // namespace

void tst_CanvasEndToEnd::viewUpdatesReachTheStage_data()
{
    QTest::addColumn<int>("row");
    const QList<UpdateRow> rows = updateRows();
    for (int i = 0; i < rows.size(); ++i)
        QTest::newRow(rows.at(i).name) << i;
}

void tst_CanvasEndToEnd::viewUpdatesReachTheStage()
{
    QFETCH(int, row);
    const UpdateRow r = updateRows().at(row);
    RecordingReporter rec;
    if (!m_pUpdatesCanvas)
        m_pUpdatesCanvas = openChanged(QStringLiteral("updates"), kCard, [](QJsonObject &) {});
    KVCanvas *canvas = m_pUpdatesCanvas;
    QVERIFY(canvas);
    KVDocument *document = canvas->document();
    KVScene *scene = document->currentScene();
    QString probe = r.probe;
    if (r.type == 24) {
        KVKeyframe *track = firstTrack(scene);
        QVERIFY(track);
        probe = QStringLiteral("window.kvCanvasPage.page.model.timeline().anims.filter(function (e) { return e.el === %1 && e.p === '%2'; })"
                               ".map(function (e) { return e.t; }).join(',')")
                    .arg(track->element() == scene ? 0 : track->element()->id())
                    .arg(KVPropertyCatalogue::shortKey(track->type()));
    }
    const QString before = evaluate(canvas, probe).toString();
    const QString shown = r.shown.startsWith(QLatin1Char('+')) ? shifted(before, r.shown.mid(1).toInt()) : r.shown;
    QVERIFY2(!before.isEmpty() && before != shown, qPrintable(before));
    QVERIFY(evaluate(canvas, kRecord).toBool());

    auto *command = new KVCommand(document, QString::fromLatin1(r.name));
    for (KVCommandAction *action : r.actions(document, scene))
        command->addAction(action);
    QUndoStack *stack = document->getUndoStack();
    document->submitCommand(command, true);
    const QString seen = QStringLiteral("window.kvSeen.indexOf(%1) >= 0").arg(r.type);
    // the stage shows the change (or, for a message it never gets, still what it showed), and the
    // message came through the channel
    const auto check = [&](const QString &expected) {
        if (!r.bHeard)
            QTest::qWait(300);
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(canvas, probe).toString(), expected, 10000);
        QCOMPARE(evaluate(canvas, seen).toBool(), r.bHeard);
        evaluate(canvas, kRecord);
    };
    for (int nPass = 0; nPass < 2; ++nPass) {
        check(r.bHeard ? shown : before);
        if (QTest::currentTestFailed())
            return;
        // undone, the stage shows what it showed before
        stack->undo();
        check(before);
        if (QTest::currentTestFailed())
            return;
        if (nPass == 0)
            stack->redo();
    }
    QVERIFY(rec.entries().isEmpty());
}

void tst_CanvasEndToEnd::breakpointsReachTheStage()
{
    RecordingReporter rec;
    KVCanvas *canvas = openChanged(QStringLiteral("responsive"), kCard, [](QJsonObject &) {});
    QVERIFY(canvas);
    KVDocument *document = canvas->document();
    KVScene *scene = document->currentScene();
    KVElement *card = scene->findElement(kCard);
    KVBreakpointSet *set = document->breakpoints();
    auto *toolbar = canvas->parentWidget()->findChild<KVResponsiveToolbar *>();
    QVERIFY(toolbar);
    QUndoStack *stack = document->getUndoStack();
    const auto page = [canvas](const QString &expression) {
        return evaluate(canvas, QStringLiteral("(function () { var p = window.kvCanvasPage.page; return String(%1); })()").arg(expression));
    };
    const QString rulerH = QStringLiteral("(p.breakpoints && p.breakpoints.h || []).map(function (b) { return b[1]; }).join(',')");
    const QString overflow = QStringLiteral("getComputedStyle(document.querySelector('[data-kv-id=\"%1\"]')).overflow").arg(kCard);
    // switched on with the toolbar's own button
    auto *responsive = toolbar->findChild<QAction *>(QStringLiteral("ResponsiveMode"));
    QVERIFY(responsive);
    QWidget *button = toolbar->widgetForAction(responsive);
    const QPoint at = button->mapTo(button->window(), button->rect().center());
    QTest::mouseClick(button->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(set->isResponsiveMode());

    // added from the toolbar: the page's ruler has it; undone, it is gone again
    toolbar->onAddHorizontal(500);
    QCOMPARE(stack->text(stack->index() - 1), QStringLiteral("Add Breakpoint"));
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH).toString(), QStringLiteral("500"), 10000);
    stack->undo();
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH).toString(), QString(), 10000);
    stack->redo();
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH).toString(), QStringLiteral("500"), 10000);
    const int nId = set->hBreakpoints().value(0).nId;

    // picking its layout: the page edits that layout in a container that lies in it
    toolbar->onHorizontalMenuSelected(1);
    QCOMPARE(set->currentHId(), nId);
    QTRY_COMPARE_WITH_TIMEOUT(page(QStringLiteral("p.layout.join(',') + ' ' + p.containerW")).toString(),
                              QStringLiteral("%1,0 %2").arg(nId).arg(toolbar->containerWidth()), 10000);

    const KVLayoutKey layout(nId, 0);
    // a move made on the page at the layout stays there: back at the base, the stage shows the base
    const QString left = QStringLiteral("Math.round(window.kvCanvasPage.position(%1).x)").arg(kCard);
    const int nBaseLeft = qRound(card->positionX(KVLayoutKey::base()));
    evaluate(canvas, QStringLiteral("window.kvCanvasPage.page.snap = false; window.kvCanvasPage.moveBy(%1, 40, 0); true").arg(kCard));
    QTRY_COMPARE_WITH_TIMEOUT(qRound(card->positionX(layout)), nBaseLeft + 40, 10000);
    QCOMPARE(qRound(card->positionX(KVLayoutKey::base())), nBaseLeft);
    toolbar->onHorizontalMenuSelected(0);
    QTRY_COMPARE_WITH_TIMEOUT(page(left).toInt(), nBaseLeft, 10000);
    toolbar->onHorizontalMenuSelected(1);
    QTRY_COMPARE_WITH_TIMEOUT(page(left).toInt(), nBaseLeft + 40, 10000);
    // an override at the layout shows; taking it back and removing all overrides show the base
    const QString base = page(overflow).toString();
    auto *pOverride = new KVCommand(document, QStringLiteral("Change Overflow"));
    pOverride->addAction(elementAction(document, scene, 1012, {P::makeInt(1), P::makeVariant(QVariant()), P::makeBool(false), P::makeInt(nId), P::makeInt(0)}));
    document->submitCommand(pOverride, true);
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), QStringLiteral("hidden"), 10000);
    auto *pBack = new KVCommand(document, QStringLiteral("Remove Property Override"));
    auto *pGroup = new KVElementCommandAction(1045, document, 6);
    for (KVCmdParam *pParam : {P::makeObject(P::Element, card), P::makeInt(nId), P::makeInt(0), P::makeInt(0),
                               P::makeIntList({41}), P::makeVariant(QVariant())})
        pGroup->addParam(pParam);
    pBack->addAction(pGroup);
    document->submitCommand(pBack, true);
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), base, 10000);
    // the scene sent again says the same
    canvas->sendSceneDataToJS();
    QTest::qWait(500);
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), base, 10000);
    stack->undo();
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), QStringLiteral("hidden"), 10000);
    card->setSelected(true);
    canvas->removeAllOverrides();
    QCOMPARE(stack->text(stack->index() - 1), QStringLiteral("Remove All Overrides"));
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), base, 10000);
    stack->undo();
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), QStringLiteral("hidden"), 10000);

    // the mark dragged on the page's ruler from 500 to 620: the model has 620, the undo 500
    QVERIFY(evaluate(canvas, QStringLiteral(
        "(function () { var c = window.kvCanvasPage, p = c.page; p.rulers.show(true);"
        " var bar = document.getElementById('kv-ruler-h'); var mark = bar.querySelector('[data-kv-breakpoint]');"
        " var y = bar.getBoundingClientRect().top + 5; var from = c.client({x: 500, y: 0}).x, to = c.client({x: 620, y: 0}).x;"
        " function fire(type, target, x) { target.dispatchEvent(new PointerEvent(type, {bubbles: true, cancelable: true,"
        " clientX: x, clientY: y, button: 0, buttons: type === 'pointerup' ? 0 : 1, pointerId: 1, pointerType: 'mouse', isPrimary: true})); }"
        " fire('pointerdown', mark, from); fire('pointermove', bar, (from + to) / 2); fire('pointermove', bar, to);"
        " fire('pointerup', bar, to); return true; })()")).toBool());
    QTRY_COMPARE_WITH_TIMEOUT(set->valueOf(false, nId), 620, 10000);
    QCOMPARE(stack->text(stack->index() - 1), QStringLiteral("Update Breakpoint"));
    stack->undo();
    QCOMPARE(set->valueOf(false, nId), 500);
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH).toString(), QStringLiteral("500"), 10000);
    stack->redo();
    QCOMPARE(set->valueOf(false, nId), 620);
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH).toString(), QStringLiteral("620"), 10000);

    // the ruler menu adds at the ruler position
    canvas->setEditingBreakpoint(0, -1, 900);
    canvas->addBreakpoint();
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH).toString(), QStringLiteral("620,900"), 10000);
    stack->undo();
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH).toString(), QStringLiteral("620"), 10000);

    // removed, the stage shows the base; undone, the layout and its override are back
    rec.answer(IReporter::Yes);
    toolbar->removeBreakpoint(KVResponsiveToolbar::Horizontal);
    QCOMPARE(stack->text(stack->index() - 1), QStringLiteral("Remove Breakpoint"));
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH + QStringLiteral(" + ' ' + p.layout.join(',')")).toString(), QStringLiteral(" 0,0"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), base, 10000);
    stack->undo();
    QCOMPARE(set->currentHId(), nId);
    QTRY_COMPARE_WITH_TIMEOUT(page(rulerH + QStringLiteral(" + ' ' + p.layout.join(',')")).toString(), QStringLiteral("620 %1,0").arg(nId), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(page(overflow).toString(), QStringLiteral("hidden"), 10000);
    QCOMPARE(rec.entries().size(), 1); // the question before the removal
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_CanvasEndToEnd::textToolFormatsTheEditedText_data()
{
    // How the text tool is used, on the whole headline the edit starts with selected; what the
    // page's text then shows (a computed style of its first character, or its text); and what the
    // model's text holds once editing ends.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("arg");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("bold") << "button" << "bold" << "fontWeight" << "700" << "<b>";
    QTest::newRow("italic") << "button" << "italic" << "fontStyle" << "italic" << "<i>";
    QTest::newRow("underline") << "button" << "underline" << "textDecorationLine" << "underline" << "<u>";
    QTest::newRow("strike") << "button" << "strikethrough" << "textDecorationLine" << "line-through" << "strike";
    QTest::newRow("align right") << "button" << "justifyright" << "textAlign" << "right" << "text-align: right";
    QTest::newRow("family typed") << "family" << "Liberation Serif" << "fontFamily" << "Liberation Serif"
                                  << "font-family: &quot;Liberation Serif&quot;";
    QTest::newRow("size typed") << "size" << "48" << "fontSize" << "48px" << "font-size: 48px";
    QTest::newRow("colour") << "color" << "#ff0000" << "color" << "rgb(255, 0, 0)" << "color: rgb(255, 0, 0)";
    QTest::newRow("paste as plain text from the menu") << "menu" << "Paste as Plain Text" << "textContent"
                                                       << "plain <b>words</b>" << "plain &lt;b&gt;words";
    QTest::newRow("family, size and bold in turn") << "sequence" << "family:Liberation Serif;size:40;button:bold"
                                                   << "fontWeight" << "700"
                                                   << "font-family: &quot;Liberation Serif&quot;|font-size: 40px|<b>";
    QTest::newRow("size that is no number") << "size" << "big" << "fontSize" << "28px" << "Spring sale";
}

void tst_CanvasEndToEnd::textToolFormatsTheEditedText()
{
    QFETCH(QString, kind);
    QFETCH(QString, arg);
    QFETCH(QString, property);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    RecordingReporter rec;
    const int kHeadline = 4;
    KVCanvas *canvas = openChanged(QStringLiteral("texttool_%1").arg(QTest::currentDataTag()).replace(' ', '_'),
                                   kHeadline, [](QJsonObject &) {});
    QVERIFY(canvas);
    auto *headline = qobject_cast<KVText *>(canvas->currentScene()->findElement(kHeadline));
    QVERIFY(headline);
    KVTextEditor *tool = canvas->textEditor();
    QVERIFY(!tool->floatingTool()->isVisible());

    // editing starts as from the stage's "Edit Text": the toolbar shows above the text, and the
    // page has the format actions' shortcuts
    canvas->setFocusedItemId(kHeadline);
    canvas->editText();
    QTRY_VERIFY_WITH_TIMEOUT(canvas->isEditingText(), 10000);
    QVERIFY(tool->floatingTool()->isVisible());
    const QVariantMap box = evaluate(canvas, QStringLiteral(
        "(function () { var r = document.querySelector('.kv-editing').getBoundingClientRect();"
        " return {x: Math.round(r.left), y: Math.round(r.top)}; })()")).toMap();
    // inside the stage, at the text's left edge where the stage shows it, clear of its first line
    const QRect toolRect(tool->floatingTool()->mapToGlobal(QPoint()) - canvas->mapToGlobal(QPoint()),
                         tool->floatingTool()->size());
    const int nTextTop = box.value(QStringLiteral("y")).toInt();
    QVERIFY(canvas->rect().contains(toolRect));
    QCOMPARE(toolRect.left(), qMax(0, box.value(QStringLiteral("x")).toInt()));
    QVERIFY2(toolRect.bottom() < nTextTop || toolRect.top() > nTextTop + 20, qPrintable(QString::number(nTextTop)));
    QTRY_VERIFY(evaluate(canvas, QStringLiteral("window.kvCanvasPage.page.textShortcuts")).toString().contains(QStringLiteral("ctrl+b")));

    // a sequence is "kind:arg" steps, one after the other, as the user goes from field to button
    const QStringList steps = kind == QLatin1String("sequence") ? arg.split(QLatin1Char(';'))
                                                                 : QStringList{kind + QLatin1Char(':') + arg};
    for (const QString &step : steps) {
        const QString stepKind = step.section(QLatin1Char(':'), 0, 0);
        const QString stepArg = step.section(QLatin1Char(':'), 1);
        if (stepKind == QLatin1String("button")) {
            QAction *action = tool->commandAction(stepArg);
            QVERIFY(action);
            QWidget *button = tool->floatingTool()->toolBar()->widgetForAction(action);
            QVERIFY(button);
            // the button is what the mouse reaches there, not the page under the toolbar
            QCOMPARE(QApplication::widgetAt(button->mapToGlobal(button->rect().center())), button);
            QTest::mouseClick(button, Qt::LeftButton);
            // the page reports the new format at the caret, and the button shows it
            QTRY_VERIFY_WITH_TIMEOUT(action->isChecked(), 5000);
        } else if (stepKind == QLatin1String("family") || stepKind == QLatin1String("size")) {
            QComboBox *box = stepKind == QLatin1String("family") ? tool->familyBox() : tool->sizeBox();
            QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
            box->lineEdit()->selectAll();
            QTest::keyClicks(box->lineEdit(), stepArg);
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
            if (shown != QLatin1String("28px"))
                QTRY_COMPARE_WITH_TIMEOUT(box->currentText(), stepArg, 5000);
        }
    }
    if (kind == QLatin1String("button") || kind == QLatin1String("family") || kind == QLatin1String("size")
        || kind == QLatin1String("sequence")) {
    } else if (kind == QLatin1String("color")) {
        // the colour dialog's answer
        tool->onForegroundChanged(QColor(arg));
    } else {
        QApplication::clipboard()->setText(QStringLiteral("plain <b>words</b>"));
        canvas->showContextMenu();
        QMenu *menu = tool->contextMenu();
        QTRY_VERIFY(menu->isVisible());
        QAction *entry = nullptr;
        for (QAction *a : menu->actions())
            entry = a->text() == arg ? a : entry;
        QVERIFY(entry);
        menu->hide();
        entry->trigger();
    }
    const QString styleOfFirst = QStringLiteral(
        "(function () { var el = document.querySelector('.kv-editing'); if (!el) return '';"
        " var t = document.createTreeWalker(el, NodeFilter.SHOW_TEXT).nextNode();"
        " return '%1' === 'textContent' ? el.textContent : getComputedStyle(t.parentElement)['%1']; })()").arg(property);
    QTRY_VERIFY2_WITH_TIMEOUT(evaluate(canvas, styleOfFirst).toString().contains(shown),
                              qPrintable(evaluate(canvas, styleOfFirst).toString()), 5000);
    // no <font> element is left in the page's text
    QCOMPARE(evaluate(canvas, QStringLiteral("document.querySelectorAll('.kv-editing font').length")).toInt(), 0);

    // ending the edit hides the toolbar and stores the text as one step
    QUndoStack *stack = canvas->document()->getUndoStack();
    const int nSteps = stack->count();
    canvas->stopEditText();
    QTRY_VERIFY_WITH_TIMEOUT(!canvas->isEditingText(), 5000);
    QVERIFY(!tool->floatingTool()->isVisible());
    if (stored != QLatin1String("Spring sale")) {
        // every part of the stored column is in the model's text
        const QStringList parts = stored.split(QLatin1Char('|'));
        QTRY_VERIFY2_WITH_TIMEOUT(std::all_of(parts.cbegin(), parts.cend(),
                                              [headline](const QString &part) { return headline->innerHtml().contains(part); }),
                                  qPrintable(headline->innerHtml()), 10000);
        QCOMPARE(stack->count(), nSteps + 1);
        QCOMPARE(stack->text(stack->count() - 1), QStringLiteral("Change Text"));
        // one undo gives the headline back
        stack->undo();
        QCOMPARE(headline->innerHtml(), QStringLiteral("Spring sale"));
    } else {
        QTest::qWait(300);
        QCOMPARE(headline->innerHtml(), stored);
        QCOMPARE(stack->count(), nSteps);
    }
    QVERIFY(rec.entries().isEmpty());
    canvas->document()->getUndoStack()->setClean();
    QVERIFY(m_window->closeAllDocuments());
}

KAVIO_WEBENGINE_TEST_MAIN(tst_CanvasEndToEnd)
#include "tst_canvasendtoend.moc"
