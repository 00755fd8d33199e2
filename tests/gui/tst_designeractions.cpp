// The designer's actions in the running application: with the example project open in the real
// editor and canvas page, every action offered does something one can see, the actions of features
// still missing are never offered, and the stage's own actions, keys and zoom box reach the page.
#include "canvas/KVCanvas.h"
#include "canvas/KVCanvasContextMenu.h"
#include "commands/KVClipBoard.h"
#include "document/KVDocument.h"
#include "document/KVSymbol.h"
#include "model/KVElement.h"
#include "model/KVElementFactory.h"
#include "model/KVElementType.h"
#include "animation/KVTimeline.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVBreakpointSet.h"
#include "output/KVSymbolResources.h"
#include "plugin/KVDesignerActions.h"
#include "plugin/KVDesignerPlugin.h"
#include "plugin/KVEditor.h"
#include "plugin/KVResponsiveToolbar.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "EditorManager.h"
#include "FileDialogs.h"
#include "ICore.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "PluginSpec.h"

#include "KVPageScript.h"
#include "KVEditorWindow.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QClipboard>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUndoStack>

using ExtensionSystem::PluginManager;

class tst_DesignerActions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void nothingIsOfferedBeforeAProjectOpens();
    void everyOfferedActionHasAnEffect_data();
    void everyOfferedActionHasAnEffect();
    void actionsNotOfferedYet();
    void stageViewFollowsActionsKeysAndZoomBox_data();
    void stageViewFollowsActionsKeysAndZoomBox();
    void stageEntriesReachThePage_data();
    void stageEntriesReachThePage();

private:
    ActionManager *am() const { return m_core->actionManager(); }
    KVDesignerPlugin *plugin() const
    {
        return qobject_cast<KVDesignerPlugin *>(PluginManager::specForName(QStringLiteral("designer"))->plugin());
    }
    static QVariant evaluate(KVCanvas *pCanvas, const QString &strScript)
    {
        return kvRunScript(pCanvas->page(), strScript);
    }
    // Opens a fresh copy of the example and waits until the stage shows its first scene.
    KVEditor *openExample();
    void select(KVCanvas *pCanvas, const QList<int> &ids);
    // What an action may change: undo steps, questions and reports, the stage's view, the page, the
    // widget with the focus (an editor opened in a panel).
    QString effects(KVEditor *pEditor, const RecordingReporter &rec);
    // The dialogs that show, with their headings.
    static QString shownDialogs()
    {
        QStringList shown;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog *>(w) && w->isVisible()) {
                const QLabel *heading = w->findChild<QLabel *>(QStringLiteral("Heading"));
                shown << w->objectName() + (heading ? QLatin1Char(':') + heading->text() : QString());
            }
        }
        return shown.join(QLatin1Char(','));
    }

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    int m_nCopies = 0;
    QSet<QString> m_offered;
};

void tst_DesignerActions::initTestCase()
{
    const QString strStarted = kvStartEditorWindow(m_manager, m_window, m_core);
    QVERIFY2(strStarted.isEmpty(), qPrintable(strStarted));
    // The files the insert actions ask for: the example's logo, a short clip, a sound and a symbol.
    QFile wav(m_dir.filePath(QStringLiteral("beep.wav")));
    QVERIFY(wav.open(QIODevice::WriteOnly));
    QDataStream out(&wav);
    out.setByteOrder(QDataStream::LittleEndian);
    wav.write("RIFF");
    out << quint32(36 + 800);
    wav.write("WAVEfmt ");
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1) << quint16(8);
    wav.write("data");
    out << quint32(800);
    wav.write(QByteArray(800, char(128)));
    wav.close();
    KVSymbol badge;
    KVScene *pScene = badge.sceneList()->createScene();
    badge.sceneList()->addScene(pScene);
    pScene->addElement(KVElementFactory::createElement(KVElementType::Div));
    QVERIFY(KVSymbolResources::writeSymbolFile(badge, m_dir.filePath(QStringLiteral("badge.kaviosym"))));
    const QString strSource = KVTestEnvironment::sourceDir();
    FileDialogs::setAnswerer([this, strSource](FileDialogs::Kind eKind, const QString &strCaption) -> QStringList {
        if (strCaption.contains(QLatin1String("Image")))
            return {strSource + QStringLiteral("/examples/banner/banner_res/logo.png")};
        if (strCaption.contains(QLatin1String("Video")))
            return {strSource + QStringLiteral("/tests/fixtures/clip.webm")};
        if (strCaption.contains(QLatin1String("Audio")))
            return {m_dir.filePath(QStringLiteral("beep.wav"))};
        if (strCaption.contains(QLatin1String("Symbol")))
            return {m_dir.filePath(QStringLiteral("badge.kaviosym"))};
        if (strCaption.contains(QLatin1String("Package")))
            return {m_dir.filePath(QStringLiteral("banner.kaviopack"))};
        return {};
    });
}

void tst_DesignerActions::cleanupTestCase()
{
    FileDialogs::setAnswerer({});
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

KVEditor *tst_DesignerActions::openExample()
{
    const QString folder = m_dir.filePath(QStringLiteral("copy%1").arg(++m_nCopies));
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    const QString example = KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/");
    QFile::copy(example + QStringLiteral("banner.kavio"), folder + QStringLiteral("/banner.kavio"));
    QFile::copy(example + QStringLiteral("banner_res/logo.png"), folder + QStringLiteral("/banner_res/logo.png"));
    if (!m_window->openDocument(folder + QStringLiteral("/banner.kavio")))
        return nullptr;
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    QElapsedTimer timer;
    timer.start();
    while (editor && timer.elapsed() < 20000
           && !evaluate(editor->canvasView(), QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool())
        QTest::qWait(20);
    return editor;
}

void tst_DesignerActions::select(KVCanvas *pCanvas, const QList<int> &ids)
{
    // The request the page makes when the user picks elements.
    pCanvas->deselectAll();
    QJsonArray actions;
    for (int nId : ids)
        actions.append(QJsonObject{{"cmd", 33}, {"params", QJsonArray{QJsonObject{{"type", 1}, {"value", nId}},
                                                                      QJsonObject{{"type", 4}, {"value", true}}}}});
    const QJsonObject request{{"actions", actions}, {"sceneId", pCanvas->currentScene()->id()}, {"symbolResourceId", -1},
                              {"responsive", false}, {"hLayoutId", 0}, {"vLayoutId", 0}, {"text", "Select"}};
    pCanvas->submitCommandFromJS(QString::fromUtf8(QJsonDocument(request).toJson()), true);
    if (!ids.isEmpty())
        pCanvas->setFocusedItemId(ids.last());
}

QString tst_DesignerActions::effects(KVEditor *pEditor, const RecordingReporter &rec)
{
    KVCanvas *canvas = pEditor->canvasView();
    KVDocument *doc = pEditor->document();
    const KVScene *scene = doc->currentScene();
    QStringList selected;
    scene->forEachInSubtree([&selected](const KVElement *p) {
        if (p->isSelected() && p->type() != KVElementType::Scene)
            selected << QString::number(p->id());
    });
    const QString page = evaluate(canvas, QStringLiteral(
        "(function () { var h = window.kvCanvasPage, p = h.page, r = document.getElementById('kv-ruler-h');"
        " return JSON.stringify([h.zoom(), p.fit, r && r.style.display, p.snap, p.tool, p.text.id, p.pointEditing]); })()")).toString();
    return QStringList{QString::number(doc->getUndoStack()->index()), QString::number(rec.entries().size()),
                       selected.join(','), QString::number(canvas->zoomFactor()), QString::number(canvas->fitToViewport()),
                       QString::number(canvas->rulerVisible()), QString::number(canvas->snapEnabled()),
                       QString::number(doc->isPlaying()), QString::number(doc->isAutoKeyframeMode()),
                       QString::number(scene->currentTimeline() ? scene->currentTimeline()->currentTimeMs() : -1),
                       QString::number(QApplication::activePopupWidget() != nullptr), page,
                       QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "",
                       QString::number(qHash(QApplication::clipboard()->mimeData()->data(KVClipBoard::elementFormat()))),
                       QString::number(qHash(QApplication::clipboard()->mimeData()->data(QStringLiteral("event-action-data")))),
                       shownDialogs()}
        .join(QLatin1Char('|'));
}

void tst_DesignerActions::nothingIsOfferedBeforeAProjectOpens()
{
    QSet<QString> ids;
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        const QString id = QString::fromLatin1(spec.id);
        QVERIFY2(!ids.contains(id), qPrintable("twice: " + id));
        ids.insert(id);
        QAction *a = am()->getAction(id);
        QVERIFY2(a, qPrintable(id));
        QVERIFY2(!a->isEnabled(), qPrintable(id + " is offered without a project"));
        if (spec.icon)
            QVERIFY2(!a->icon().isNull(), qPrintable("no icon file for " + id));
    }
    for (QToolBar *tb : plugin()->designerActions()->toolbars())
        QVERIFY(tb->isHidden());
    QVERIFY(plugin()->zoomBox()->isHidden());
    QVERIFY(am()->getAction(QStringLiteral("Edit.Redo"))->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+Y"))));
}

void tst_DesignerActions::everyOfferedActionHasAnEffect_data()
{
    // Situations of the example's first scene: 1 panel, 2 logo (image), 3 sun, 4 headline (text),
    // 5 card, 6 button (shape). Unless nothing is selected, the card is first nudged through the page;
    // "group" groups panel and sun, and the selection names the group as 0.
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<QString>("setup");
    QTest::newRow("nothing selected") << QList<int>{} << "";
    QTest::newRow("four with an image") << QList<int>{1, 2, 3, 5} << "";
    QTest::newRow("a resized image") << QList<int>{2} << "resized image";
    QTest::newRow("one aligned to its parent") << QList<int>{5} << "align to parent";
    QTest::newRow("a group and a sibling") << QList<int>{0, 5} << "group";
    // an element inside a group is selected with the group it is in
    QTest::newRow("inside a group") << QList<int>{0, 1} << "group";
    QTest::newRow("at a breakpoint") << QList<int>{5} << "breakpoint";
    QTest::newRow("on the second scene") << QList<int>{} << "second scene";
}

void tst_DesignerActions::everyOfferedActionHasAnEffect()
{
    QFETCH(QList<int>, selection);
    QFETCH(QString, setup);
    RecordingReporter rec;
    KVEditor *editor = openExample();
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVDocument *doc = editor->document();
    if (setup == QLatin1String("second scene"))
        QVERIFY(editor->showAdjacentScene(1));
    KVScene *scene = doc->currentScene();
    QUndoStack *stack = doc->getUndoStack();
    plugin()->designerActions()->alignToParentBox()->setChecked(setup == QLatin1String("align to parent"));
    if (!selection.isEmpty()) {
        // The card moved a little through the page, so that it lines up with nothing.
        evaluate(canvas, QStringLiteral("window.kvCanvasPage.page.snap = false; window.kvCanvasPage.moveBy(5, 7, 5)"));
        QTRY_COMPARE(stack->count(), 1);
    }
    if (setup == QLatin1String("resized image")) {
        select(canvas, {2, 5});
        canvas->setSameWidth();
        QTRY_COMPARE(stack->count(), 2);
    } else if (setup == QLatin1String("group")) {
        select(canvas, {1, 3});
        canvas->groupElements();
        QTRY_COMPARE(stack->count(), 2);
        for (KVElement *e : scene->children()) {
            if (e->type() == KVElementType::Group)
                std::replace(selection.begin(), selection.end(), 0, e->id());
        }
    } else if (setup == QLatin1String("breakpoint")) {
        // A layout of its own where the card, aligned to the stage's left, overrides its position.
        KVBreakpointSet *set = doc->breakpoints();
        if (!set->isResponsiveMode())
            editor->responsiveToolbar()->onToggleResponsiveMode();
        editor->responsiveToolbar()->onAddHorizontal(200);
        editor->responsiveToolbar()->onContainerWChanged(250);
        QCOMPARE(set->valueOf(false, set->currentHId()), 200);
        plugin()->designerActions()->alignToParentBox()->setChecked(true);
        select(canvas, {5});
        canvas->setAlignLeft();
        plugin()->designerActions()->alignToParentBox()->setChecked(false);
        QTRY_COMPARE(stack->count(), 3);
    }
    const int nSetupSteps = stack->index();
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        const QString id = QString::fromLatin1(spec.id);
        // Each action starts from the same stage: the selection, zoom 90 %, no tool, no menu,
        // stopped half a second in.
        stack->setIndex(nSetupSteps);
        const int nShown = doc->sceneList()->indexOf(doc->currentScene());
        const int nSetupScene = doc->sceneList()->indexOf(scene);
        if (nShown != nSetupScene)
            editor->showAdjacentScene(nSetupScene - nShown);
        if (doc->isPlaying())
            doc->togglePlayback();
        if (scene->currentTimeline())
            scene->currentTimeline()->seek(500);
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QDialog *>(w) && w->isVisible())
                w->close();
        }
        evaluate(canvas, QStringLiteral("window.kvCanvasPage.page.tool = null"));
        canvas->setZoomPercent(90);
        select(canvas, selection);
        QAction *a = am()->getAction(id);
        if (!a->isEnabled() || !a->isVisible())
            continue;
        // Copy shows by what it puts on the clipboard.
        if (id == QLatin1String("Edit.Copy") || id == QLatin1String("Edit.Copy_Event_Actions"))
            QApplication::clipboard()->clear();
        const QString before = effects(editor, rec);
        a->trigger();
        QTRY_VERIFY2_WITH_TIMEOUT(effects(editor, rec) != before, qPrintable(id + " did nothing"), 5000);
        QCOMPARE(rec.unansweredQuestions(), 0);
        m_offered.insert(id);
        QTest::qWait(50);
    }
    stack->setIndex(0);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
    // The package was written whole in the process of the web engine (which brings a library with
    // functions of the same names as QuaZip's).
    QVERIFY(rec.texts().contains(QStringLiteral("Save to package successfully.")));
    QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("banner.kaviopack"))).size() > 1000);
}

void tst_DesignerActions::actionsNotOfferedYet()
{
    // Printed for the record; every action connected to a command was offered somewhere above.
    QStringList notOffered;
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        const QString id = QString::fromLatin1(spec.id);
        // The Text actions act only while a text is edited (tst_canvas sends them to the page).
        if (!m_offered.contains(id) && !id.startsWith(QLatin1String("Text."))) {
            notOffered << id;
            QVERIFY2(!plugin()->isConnected(id), qPrintable(id + " is connected but never offered"));
        }
    }
    qInfo().noquote() << notOffered.size() << "actions not offered yet:" << notOffered.join(QStringLiteral(", "));
    int nText = 0;
    for (const KVActionSpec &spec : KVDesignerActions::catalogue())
        nText += QByteArray(spec.id).startsWith("Text.") && !m_offered.contains(QString::fromLatin1(spec.id)) ? 1 : 0;
    QVERIFY(m_offered.size() + notOffered.size() + nText == KVDesignerActions::catalogue().size());
}

void tst_DesignerActions::stageViewFollowsActionsKeysAndZoomBox_data()
{
    QTest::addColumn<QString>("action"); // an action id, "key:" and a key sequence, or "box:" and a text
    QTest::addColumn<QString>("script"); // what the page shows, evaluated in it
    QTest::addColumn<QString>("shows");
    QTest::addColumn<QStringList>("checked"); // the view actions checked afterwards
    const QString ruler = QStringLiteral("getComputedStyle(document.getElementById('kv-ruler-h')).display");
    const QString zoom = QStringLiteral("String(window.kvCanvasPage.zoom())");
    const QString snap = QStringLiteral("View.Canvas.Snap");
    QTest::newRow("rulers") << "View.Ruler" << ruler << "block" << QStringList{"View.Ruler", snap, "View.Canvas.Zoom_100%"};
    QTest::newRow("snapping off") << snap << "String(window.kvCanvasPage.page.snap)" << "false"
                                  << QStringList{"View.Canvas.Zoom_100%"};
    QTest::newRow("200%") << "View.Canvas.Zoom_200%" << zoom << "2" << QStringList{snap, "View.Canvas.Zoom_200%"};
    QTest::newRow("zoom in") << "View.Canvas.Zoom_In" << zoom << "1.5" << QStringList{snap};
    QTest::newRow("ctrl+=") << "key:Ctrl+=" << zoom << "1.5" << QStringList{snap};
    QTest::newRow("ctrl+-") << "key:Ctrl+-" << zoom << "0.75" << QStringList{snap, "View.Canvas.Zoom_75%"};
    QTest::newRow("fit") << "View.Canvas.Zoom_Fit_on_Screen" << "String(window.kvCanvasPage.page.fit)" << "true"
                         << QStringList{snap, "View.Canvas.Zoom_Fit_on_Screen"};
    QTest::newRow("box 300") << "box:300%" << zoom << "3" << QStringList{snap, "View.Canvas.Zoom_300%"};
    QTest::newRow("box typed without %") << "box:40" << zoom << "0.4" << QStringList{snap};
    QTest::newRow("box nonsense") << "box:big" << zoom << "1" << QStringList{snap, "View.Canvas.Zoom_100%"};
}

void tst_DesignerActions::stageViewFollowsActionsKeysAndZoomBox()
{
    QFETCH(QString, action);
    QFETCH(QString, script);
    QFETCH(QString, shows);
    QFETCH(QStringList, checked);
    RecordingReporter rec;
    KVEditor *editor = openExample();
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    QComboBox *box = plugin()->zoomBox();
    QVERIFY(box->isVisible());
    QCOMPARE(box->currentText(), QStringLiteral("100%"));
    if (action.startsWith(QLatin1String("key:"))) {
        canvas->setFocus();
        QTest::keySequence(m_window.data(), QKeySequence(action.mid(4)));
    } else if (action.startsWith(QLatin1String("box:"))) {
        box->lineEdit()->setText(action.mid(4));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    } else {
        am()->getAction(action)->trigger();
    }
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(canvas, script).toString(), shows, 5000);
    // the zoom box shows what the page shows
    const double dZoom = evaluate(canvas, QStringLiteral("window.kvCanvasPage.zoom()")).toDouble();
    QTRY_COMPARE(box->currentText(), QStringLiteral("%1%").arg(qRound(dZoom * 100)));
    QStringList marked;
    for (const QString &id : {"View.Ruler", "View.Canvas.Snap", "View.Canvas.Zoom_75%", "View.Canvas.Zoom_100%",
                              "View.Canvas.Zoom_200%", "View.Canvas.Zoom_300%", "View.Canvas.Zoom_Fit_on_Screen"}) {
        if (am()->getAction(id)->isChecked())
            marked << id;
    }
    QCOMPARE(marked, checked);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_DesignerActions::stageEntriesReachThePage_data()
{
    QTest::addColumn<int>("scene"); // index in the example
    QTest::addColumn<int>("element");
    QTest::addColumn<QString>("entry");
    QTest::newRow("edit text of a text box") << 0 << 4 << "Edit Text";
    QTest::newRow("edit text of a rectangle") << 0 << 5 << "Edit Text";
    QTest::newRow("edit text of a shape") << 0 << 6 << "Edit Text";
    QTest::newRow("edit text of a free form") << 1 << 2 << "Edit Text";
    QTest::newRow("open and close a path") << 1 << 2 << "Open Path";
    QTest::newRow("ctrl+y redoes") << 0 << 5 << "Ctrl+Y";
}

void tst_DesignerActions::stageEntriesReachThePage()
{
    QFETCH(int, scene);
    QFETCH(int, element);
    QFETCH(QString, entry);
    RecordingReporter rec;
    KVEditor *editor = openExample();
    QVERIFY(editor);
    KVCanvas *canvas = editor->canvasView();
    KVDocument *doc = editor->document();
    QUndoStack *stack = doc->getUndoStack();
    if (scene > 0) {
        doc->setCurrentScene(doc->sceneList()->scenes().at(scene));
        canvas->handleDocumentLoaded();
        canvas->sendSceneDataToJS();
        QTRY_VERIFY(evaluate(canvas, QStringLiteral("!!window.kvCanvasPage.position(%1)").arg(element)).toBool());
    }
    select(canvas, {element});
    if (entry == QLatin1String("Edit Text")) {
        QAction *edit = nullptr;
        for (QAction *a : canvas->contextMenu()->mainMenu()->actions())
            edit = a->text() == entry ? a : edit;
        QMenu *menu = canvas->contextMenu()->popup(QPoint(10, 10));
        QVERIFY(menu && edit && edit->isEnabled());
        menu->close();
        edit->trigger();
        QTRY_COMPARE(evaluate(canvas, QStringLiteral("window.kvCanvasPage.page.text.id")).toInt(), element);
        QTRY_VERIFY(canvas->isEditingText());
        // while text is edited, the arranging actions are not offered
        QVERIFY(!am()->getAction(QStringLiteral("Edit.Group_Elements.Group"))->isEnabled());
    } else if (entry == QLatin1String("Open Path")) {
        canvas->editPoint();
        QMenu *menu = canvas->contextMenu()->popup(QPoint(10, 10));
        QCOMPARE(menu, canvas->contextMenu()->pointMenu());
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Open Path"));
        menu->close();
        const QString open = QStringLiteral("String(window.kvCanvasPage.page.node(%1).shape.open)").arg(element);
        QCOMPARE(evaluate(canvas, open).toString(), QStringLiteral("false"));
        menu->actions().first()->trigger();
        QTRY_COMPARE(stack->count() > 0 ? stack->text(stack->count() - 1) : QString(), QStringLiteral("Open Path"));
        QTRY_COMPARE(evaluate(canvas, open).toString(), QStringLiteral("true"));
        QVERIFY(canvas->isFocusedPathOpen());
        canvas->contextMenu()->popup(QPoint(10, 10))->close();
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Close Path"));
        stack->undo();
        QVERIFY(!canvas->isFocusedPathOpen());
        QTRY_COMPARE(evaluate(canvas, open).toString(), QStringLiteral("false"));
    } else {
        am()->getAction(QStringLiteral("Edit.Hide"))->trigger();
        QTRY_COMPARE(stack->count(), 1);
        stack->undo();
        canvas->setFocus();
        QTest::keySequence(m_window.data(), QKeySequence(QStringLiteral("Ctrl+Y")));
        QCOMPARE(stack->index(), 1);
        QVERIFY(!doc->currentScene()->findElement(element)->isVisible());
    }
    stack->setIndex(0);
    canvas->stopEditText(true);
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

KAVIO_WEBENGINE_TEST_MAIN(tst_DesignerActions)
#include "tst_designeractions.moc"
