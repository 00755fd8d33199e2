// Interactions made in the running application: the event-action dialog, the function editor with
// its code editor, and the project they make, exported and clicked in a browser.
#include "canvas/KVCanvas.h"
#include "document/KVDocument.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVHTMLWidget.h"
#include "model/KVScene.h"
#include "plugin/KVDesignerPlugin.h"
#include "plugin/KVEditor.h"
#include "plugin/KVInteractionTools.h"
#include "ui/code/KVCodeEdit.h"
#include "ui/code/KVEditingFunctionDialog.h"
#include "ui/code/KVFunctionPanel.h"
#include "ui/code/KVHTMLWidgetDialog.h"
#include "ui/dialogs/KVEditingActionParamsWidget.h"
#include "ui/dialogs/KVEventActionDialog.h"

#include "ActionManager.h"
#include "EditorManager.h"
#include "FileDialogs.h"
#include "ICore.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "PluginSpec.h"

#include "KVEditorWindow.h"
#include "KVPageScript.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>

using ExtensionSystem::PluginManager;

class tst_Interactions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void clickThroughBannerMadeInTheDialogs();
    void searchAndReplaceInTheFunctionEditor_data();
    void searchAndReplaceInTheFunctionEditor();
    void functionNamesAreChecked_data();
    void functionNamesAreChecked();
    void htmlWidgetFromAddressOrCode_data();
    void htmlWidgetFromAddressOrCode();
    void preferencesReachOpenEditorsAtOnce_data();
    void preferencesReachOpenEditorsAtOnce();

private:
    KVInteractionTools *tools() const
    {
        return qobject_cast<KVDesignerPlugin *>(PluginManager::specForName(QStringLiteral("designer"))->plugin())
            ->interactionTools();
    }
    KVEditor *openExample();
    // The function editor on a new function of the open project, whose body is strBody.
    KVEditingFunctionDialog *editNewFunction(KVEditor *pEditor, const QString &strBody);
    static void choose(QComboBox *pBox, const QString &strText)
    {
        const int nIndex = pBox->findText(strText);
        QVERIFY2(nIndex >= 0, qPrintable(strText));
        pBox->setCurrentIndex(nIndex);
        emit pBox->activated(nIndex);
    }

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    int m_nCopies = 0;
};

void tst_Interactions::initTestCase()
{
    const QString strStarted = kvStartEditorWindow(m_manager, m_window, m_core);
    QVERIFY2(strStarted.isEmpty(), qPrintable(strStarted));
}

void tst_Interactions::cleanupTestCase()
{
    FileDialogs::setAnswerer({});
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

KVEditor *tst_Interactions::openExample()
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
           && !kvRunScript(editor->canvasView()->page(),
                           QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool())
        QTest::qWait(20);
    return editor;
}

KVEditingFunctionDialog *tst_Interactions::editNewFunction(KVEditor *pEditor, const QString &strBody)
{
    KVFunctionPanel *panel = tools()->functionPanel();
    if (!panel || panel->document() != pEditor->document())
        return nullptr;
    const int nBefore = panel->list()->count();
    panel->onAdd();
    if (panel->list()->count() != nBefore + 1 || panel->list()->selectedItems().size() != 1)
        return nullptr;
    panel->editCurrentFunction();
    KVEditingFunctionDialog *dialog = tools()->functionEditor();
    if (dialog && dialog->isVisible())
        dialog->codeEdit()->setPlainText(strBody);
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

void tst_Interactions::clickThroughBannerMadeInTheDialogs()
{
    RecordingReporter rec;
    KVEditor *editor = openExample();
    QVERIFY(editor);
    KVDocument *doc = editor->document();
    QUndoStack *stack = doc->getUndoStack();
    // The button (element 6) picked on the stage, then its handlers opened from the menu.
    KVCanvas *canvas = editor->canvasView();
    const QJsonObject request{
        {"actions", QJsonArray{QJsonObject{{"cmd", 33}, {"params", QJsonArray{QJsonObject{{"type", 1}, {"value", 6}},
                                                                               QJsonObject{{"type", 4}, {"value", true}}}}}}},
        {"sceneId", canvas->currentScene()->id()}, {"symbolResourceId", -1}, {"responsive", false},
        {"hLayoutId", 0}, {"vLayoutId", 0}, {"text", "Select"}};
    canvas->submitCommandFromJS(QString::fromUtf8(QJsonDocument(request).toJson()), true);
    const int nStart = stack->index();
    m_core->actionManager()->getAction(QStringLiteral("View.Event_Actions_Dialog"))->trigger();
    KVEventActionDialog *dialog = KVEventActionDialog::getInstance();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("Heading"))->text(), QStringLiteral("Element Event Handlers (button)"));
    // The example's own click action goes; a jump to the second scene and a function call come.
    choose(dialog->findChild<QComboBox *>(QStringLiteral("EventType")), QStringLiteral("Mouse Click"));
    QCOMPARE(dialog->table()->rowCount(), 1);
    dialog->table()->selectAll();
    dialog->toolAction(QStringLiteral("delete"))->trigger();
    QCOMPARE(dialog->table()->rowCount(), 0);
    QMenu *add = dialog->findChild<QMenu *>(QStringLiteral("AddActionMenu"));
    const auto pick = [add](const QString &strName) {
        for (QAction *group : add->actions()) {
            for (QAction *action : group->menu()->actions()) {
                if (action->text() == strName)
                    return action->trigger(), true;
            }
        }
        return false;
    };
    QVERIFY(pick(QStringLiteral("Jump To Scene")));
    QCOMPARE(dialog->table()->rowCount(), 1);
    dialog->table()->selectRow(0);
    choose(dialog->paramsEditor()->findChild<QComboBox *>(QStringLiteral("ActionTarget")), QStringLiteral("Call to action"));
    QCOMPARE(dialog->table()->item(0, 1)->text(), QStringLiteral("Call to action"));
    QVERIFY(pick(QStringLiteral("Run JavaScript")));
    dialog->table()->selectRow(1);
    QTest::mouseClick(dialog->paramsEditor()->findChild<QPushButton *>(QStringLiteral("Add Function")), Qt::LeftButton);
    KVEditingFunctionDialog *editor2 = tools()->functionEditor();
    QVERIFY(editor2 && editor2->isVisible());
    editor2->nameEdit()->setText(QStringLiteral("logClick"));
    editor2->codeEdit()->setPlainText(QStringLiteral("console.log('clicked ' + (6 * 7));"));
    editor2->onAccept();
    QVERIFY(!editor2->isVisible());
    QCOMPARE(dialog->table()->item(1, 2)->text(), QStringLiteral("Function: logClick"));
    QStringList texts;
    for (int i = nStart; i < stack->index(); ++i)
        texts << stack->text(i);
    QCOMPARE(texts, (QStringList{"Remove Action", "Add Action", "Change Action", "Add Action", "Add Function",
                                 "Modify Function"}));
    // The functions panel lists the new function as used by an action.
    QListWidgetItem *item = tools()->functionPanel()->list()->findItems(QStringLiteral("logClick"), Qt::MatchExactly).value(0);
    QVERIFY(item && item->font().bold());
    dialog->close();

    QVERIFY(doc->save());
    const QString out = m_dir.filePath(QStringLiteral("export%1").arg(m_nCopies));
    QDir().mkpath(out);
    FileDialogs::setAnswerer([out](FileDialogs::Kind, const QString &) { return QStringList{out}; });
    rec.answerNamed(QStringLiteral("Folder"));
    rec.answerNamed(QStringLiteral("Cancel"));
    m_core->actionManager()->getAction(QStringLiteral("File.Export_To_HTML5"))->trigger();
    QVERIFY(QFile::exists(out + QStringLiteral("/banner.html")));

    QProcess node;
    node.setWorkingDirectory(KVTestEnvironment::sourceDir() + QStringLiteral("/web"));
    node.start(qEnvironmentVariable("KAVIO_NODE", QStringLiteral("node")),
               {QStringLiteral("test/clickexported.mjs"), out, QStringLiteral("banner.html"), QStringLiteral("button")});
    QVERIFY(node.waitForFinished(60000));
    const QByteArray output = node.readAllStandardOutput();
    QVERIFY2(node.exitCode() == 0, node.readAllStandardError().constData());
    const QJsonObject result = QJsonDocument::fromJson(output).object();
    QCOMPARE(result.value("before").toInt(-1), 0);
    QCOMPARE(result.value("after").toInt(-1), 1);
    QVERIFY2(result.value("logs").toArray().contains(QStringLiteral("clicked 42")), output.constData());
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
    QCOMPARE(rec.unansweredQuestions(), 0);
}

void tst_Interactions::searchAndReplaceInTheFunctionEditor_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<QStringList>("buttons"); // clicked in order, with the options ticked first
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
    const QString body = QStringLiteral("var total = 1;\nvar Total = total + 2;");
    QTest::newRow("replace all, any case") << body << "total" << "sum" << QStringList{"Replace All"}
                                           << "var sum = 1;\nvar sum = sum + 2;" << "";
    QTest::newRow("replace all, matching case") << body << "total" << "sum" << QStringList{"Match case", "Replace All"}
                                                << "var sum = 1;\nvar Total = sum + 2;" << "";
    QTest::newRow("whole words only") << "var a = ab + a;" << "a" << "x" << QStringList{"Match whole word", "Replace All"}
                                      << "var x = ab + x;" << "";
    QTest::newRow("replace all without a match") << body << "count" << "n" << QStringList{"Replace All"} << body
                                                 << "Failed to replace some words.";
    QTest::newRow("first replace selects, second replaces") << body << "var" << "let" << QStringList{"Replace", "Replace"}
                                                            << "let total = 1;\nvar Total = total + 2;" << "";
    QTest::newRow("replace without a match") << body << "count" << "n" << QStringList{"Replace"} << body
                                             << "Cannot replace the current text.";
    QTest::newRow("next finds nothing") << body << "count" << "" << QStringList{"Next"} << body << "No match found.";
}

void tst_Interactions::searchAndReplaceInTheFunctionEditor()
{
    QFETCH(QString, body);
    QFETCH(QString, find);
    QFETCH(QString, replace);
    QFETCH(QStringList, buttons);
    QFETCH(QString, result);
    QFETCH(QString, message);
    RecordingReporter rec;
    KVEditor *editor = m_core->editorManager()->activeEditor() ? qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor())
                                                               : openExample();
    QVERIFY(editor);
    KVEditingFunctionDialog *dialog = editNewFunction(editor, body);
    QVERIFY(dialog);
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Find")), Qt::LeftButton);
    QVERIFY(dialog->findEdit()->isVisible());
    dialog->findEdit()->setText(find);
    dialog->replaceEdit()->setText(replace);
    for (const QString &strButton : buttons) {
        for (QCheckBox *check : dialog->findChildren<QCheckBox *>()) {
            if (check->text() == strButton)
                check->click();
        }
        if (auto *button = dialog->findChild<QPushButton *>(strButton))
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(dialog->codeEdit()->toPlainText(), result);
    QCOMPARE(dialog->searchMessage(), message);
    // Leaving without saving asks first.
    rec.answer(IReporter::No);
    dialog->reject();
    QCOMPARE(dialog->isVisible(), false);
    QCOMPARE(rec.lastText(), QStringLiteral("Do you want to save changes?"));
}

void tst_Interactions::functionNamesAreChecked_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("answer"); // to "continue editing?", when asked
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<QString>("undoText"); // the last command afterwards
    const QString more = QStringLiteral("\nDo you want to continue editing this function?");
    QTest::newRow("empty, keep editing") << "" << int(IReporter::Yes) << "Function name is empty!" + more << true << "Add Function";
    QTest::newRow("reserved word, give up") << "return" << int(IReporter::No) << "Function name is invalid!" + more << false
                                            << "Add Function";
    QTest::newRow("taken by another") << "first" << int(IReporter::Yes) << "Function name is duplicated!" + more << true
                                      << "Add Function";
    QTest::newRow("a new name") << "second" << 0 << "" << false << "Change Function Name";
}

void tst_Interactions::functionNamesAreChecked()
{
    QFETCH(QString, name);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(bool, stillOpen);
    QFETCH(QString, undoText);
    RecordingReporter rec;
    KVEditor *editor = openExample();
    QVERIFY(editor);
    KVDocument *doc = editor->document();
    QVERIFY(editNewFunction(editor, QString()));
    tools()->functionEditor()->nameEdit()->setText(QStringLiteral("first"));
    tools()->functionEditor()->onAccept();
    KVEditingFunctionDialog *dialog = editNewFunction(editor, QString());
    QVERIFY(dialog);
    const QString before = doc->functions()->functions().last()->name();
    dialog->nameEdit()->setText(name);
    if (answer)
        rec.answer(IReporter::Button(answer));
    QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
    QCOMPARE(rec.entries().isEmpty() ? QString() : rec.entries().last().text, question);
    QCOMPARE(dialog->isVisible(), stillOpen);
    QCOMPARE(doc->getUndoStack()->text(doc->getUndoStack()->index() - 1), undoText);
    QCOMPARE(doc->functions()->functions().last()->name(), question.isEmpty() ? name : before);
    if (dialog->isVisible()) {
        rec.answer(IReporter::No);
        dialog->reject();
    }
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Interactions::htmlWidgetFromAddressOrCode_data()
{
    QTest::addColumn<QString>("mode"); // the radio button chosen
    QTest::addColumn<QString>("text"); // typed as the address or the code
    QTest::addColumn<QString>("message"); // what the user is told; empty when the widget comes
    QTest::newRow("an address") << "ByUrl" << "https://example.com/offer.html" << "";
    QTest::newRow("code") << "ByCode" << "<p>Hello</p>" << "";
    QTest::newRow("an address without a scheme")
        << "ByUrl" << "example.com" << "\"example.com\" is not a complete address, such as https://example.com/page.html.";
    QTest::newRow("no code") << "ByCode" << "  " << "Write the HTML code the widget shows.";
}

void tst_Interactions::htmlWidgetFromAddressOrCode()
{
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(QString, message);
    RecordingReporter rec;
    KVEditor *editor = openExample();
    QVERIFY(editor);
    const int nBefore = editor->document()->currentScene()->children().size();
    m_core->actionManager()->getAction(QStringLiteral("Element.Html_Widget"))->trigger();
    auto *dialog = editor->canvasView()->findChild<KVHTMLWidgetDialog *>();
    QVERIFY(dialog && dialog->isVisible());
    dialog->findChild<QRadioButton *>(mode)->click();
    if (mode == QLatin1String("ByUrl"))
        dialog->urlEdit()->setText(text);
    else
        dialog->codeEdit()->setPlainText(text);
    dialog->findChild<QSpinBox *>(QStringLiteral("Width"))->setValue(420);
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(rec.lastText(), message);
    QCOMPARE(dialog->isVisible(), !message.isEmpty());
    const QList<KVElement *> &children = editor->document()->currentScene()->children();
    QCOMPARE(children.size(), nBefore + (message.isEmpty() ? 1 : 0));
    if (message.isEmpty()) {
        auto *widget = dynamic_cast<KVHTMLWidget *>(children.last());
        QVERIFY(widget);
        QCOMPARE(mode == QLatin1String("ByUrl") ? widget->url() : widget->srcdoc(), text);
        QCOMPARE(widget->sizeW(KVLayoutKey::base()), 420.0);
    } else {
        dialog->reject();
    }
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
}

void tst_Interactions::preferencesReachOpenEditorsAtOnce_data()
{
    QTest::addColumn<QString>("option");   // the switch ticked or cleared on the Code Editor page
    QTest::addColumn<QByteArray>("property"); // what an open code editor shows of it
    QTest::newRow("line numbers") << "show_line_number" << QByteArray("lineNumbersVisible");
    QTest::newRow("bracket matching") << "bracket_match" << QByteArray("bracketsMatchingEnabled");
    QTest::newRow("line wrap") << "text_wrap" << QByteArray("textWrapEnabled");
    QTest::newRow("code folding") << "code_folding" << QByteArray("codeFoldingEnabled");
}

void tst_Interactions::preferencesReachOpenEditorsAtOnce()
{
    QFETCH(QString, option);
    QFETCH(QByteArray, property);
    KVCodeEdit open(m_window.data());
    const bool bBefore = open.property(property.constData()).toBool();
    bool bAfterApply = bBefore;
    QString strPages;
    // The dialog is modal: it is worked while it shows.
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto *pages = dialog->findChild<QListWidget *>(QStringLiteral("OptionPages"));
        for (int i = 0; i < pages->count(); ++i)
            strPages += pages->item(i)->text() + QLatin1Char(',');
        pages->setCurrentRow(pages->count() - 1);
        dialog->findChild<QCheckBox *>(option)->click();
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Apply)->click();
        bAfterApply = open.property(property.constData()).toBool();
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    QAction *preferences = m_core->actionManager()->getAction(QStringLiteral("Edit.Preferences"));
    QVERIFY(m_window->menuBar()->actions().at(1)->menu()->actions().contains(preferences));
    preferences->trigger();
    QCOMPARE(strPages, QStringLiteral("General,Code Editor,"));
    QCOMPARE(bAfterApply, !bBefore);
    PluginManager::settings()->sync();
    QCOMPARE(QSettings(KVTestEnvironment::settingsPath(), QSettings::IniFormat)
                 .value(QStringLiteral("FunctionEditor/") + option).toBool(),
             !bBefore);
    // A code editor opened later starts with the kept setting.
    QCOMPARE(KVCodeEdit().property(property.constData()).toBool(), !bBefore);
}

KAVIO_WEBENGINE_TEST_MAIN(tst_Interactions)
#include "tst_interactions.moc"
