// The Scenes, Document, Elements and Resources docks of the real plug-in on the example banner:
// each row is what a user does there with the mouse and the keyboard, checked in the saved project,
// the exported page and the stage after every step, and then taken back step by step with Undo.
#include "document/KVDocument.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "plugin/KVDesignerPlugin.h"
#include "plugin/KVEditor.h"
#include "ui/panels/KVElementTreeWidget.h"
#include "ui/panels/KVPanelSet.h"
#include "ui/panels/KVResourceListWidget.h"
#include "ui/panels/KVSceneThumbnailView.h"

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
#include <QDockWidget>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUndoStack>

using ExtensionSystem::PluginManager;

class tst_Panels : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void scenario_data();
    void scenario();

private:
    KVPanelSet *panels() const
    {
        ExtensionSystem::PluginSpec *spec = PluginManager::specForName(QStringLiteral("designer"));
        auto *plugin = spec ? qobject_cast<KVDesignerPlugin *>(spec->plugin()) : nullptr;
        return plugin ? plugin->panels() : nullptr;
    }
    KVEditor *openExample(const QString &strName);
    void perform(const QString &strStep);
    QString query(const QStringList &queries);
    QJsonObject saved();

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    QPointer<KVEditor> m_pEditor;
    RecordingReporter *m_pReporter = nullptr;
    int m_nExports = 0;
};

void tst_Panels::initTestCase()
{
    const QString strStarted = kvStartEditorWindow(m_manager, m_window, m_core, 1500, 950);
    QVERIFY2(strStarted.isEmpty(), qPrintable(strStarted));
    QVERIFY(panels());
    ExtensionSystem::PluginSpec *spec = PluginManager::specForName(QStringLiteral("designer"));
    for (const char *name : {"spScenesDockWidget", "spDocPropertiesWidget", "spElementsWidget", "spResourcesWidget"})
        qobject_cast<KVDesignerPlugin *>(spec->plugin())->dock(QString::fromLatin1(name))->show();
}

void tst_Panels::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

KVEditor *tst_Panels::openExample(const QString &strName)
{
    const QString folder = m_dir.filePath(strName);
    QDir().mkpath(folder + QStringLiteral("/banner_res"));
    QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner.kavio"),
                folder + QStringLiteral("/banner.kavio"));
    QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"),
                folder + QStringLiteral("/banner_res/logo.png"));
    if (!m_window->openDocument(folder + QStringLiteral("/banner.kavio")))
        return nullptr;
    return qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
}

QJsonObject tst_Panels::saved()
{
    KVDocument *doc = m_pEditor->document();
    if (!doc->save())
        return QJsonObject();
    QFile file(doc->getFileName());
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("document")).toObject();
}

// One step, "verb:argument", done through the panels' widgets.
void tst_Panels::perform(const QString &strStep)
{
    const QString verb = strStep.section(QLatin1Char(':'), 0, 0);
    const QString arg = strStep.section(QLatin1Char(':'), 1);
    KVSceneThumbnailView *scenes = panels()->scenesPanel()->view();
    auto clickTool = [](QWidget *pPanel, const QString &strAction) {
        auto *bar = pPanel->findChild<QToolBar *>();
        QAction *action = bar ? bar->findChild<QAction *>(strAction) : nullptr;
        QVERIFY2(action, qPrintable(strAction));
        QTest::mouseClick(bar->widgetForAction(action), Qt::LeftButton);
    };
    if (verb == QLatin1String("click scene") || verb == QLatin1String("duplicate") || verb == QLatin1String("blank")
        || verb == QLatin1String("delete scene")) {
        QListWidgetItem *item = scenes->item(arg.toInt());
        QTest::mouseClick(scenes->viewport(), Qt::LeftButton, {}, scenes->visualItemRect(item).center());
        if (verb == QLatin1String("duplicate"))
            clickTool(panels()->scenesPanel(), QStringLiteral("DuplicateScene"));
        else if (verb == QLatin1String("blank"))
            clickTool(panels()->scenesPanel(), QStringLiteral("BlankScene"));
        else if (verb == QLatin1String("delete scene"))
            QTest::keyClick(scenes, Qt::Key_Delete);
    } else if (verb == QLatin1String("rename element")) {
        KVElementTreeWidget *tree = panels()->elementsPanel()->tree();
        const QList<QTreeWidgetItem *> rows = tree->findItems(arg.section(QLatin1Char('>'), 0, 0),
                                                              Qt::MatchExactly | Qt::MatchRecursive);
        QCOMPARE(rows.size(), 1);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(rows.first()).center());
        QTest::keyClick(tree, Qt::Key_F2);
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(qobject_cast<QLineEdit *>(editor));
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, arg.section(QLatin1Char('>'), 1));
        QTest::keyClick(editor, Qt::Key_Return);
    } else if (verb.startsWith(QLatin1String("type "))) {
        // A document panel field by its object name.
        auto *edit = panels()->documentPanel()->findChild<QLineEdit *>(verb.mid(5));
        QVERIFY(edit);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, arg);
        QTest::keyClick(edit, Qt::Key_Return);
    } else if (verb == QLatin1String("import")) {
        const QString file = m_dir.filePath(arg);
        QFile::copy(KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/banner_res/logo.png"), file);
        const auto previous = FileDialogs::setAnswerer([file](FileDialogs::Kind, const QString &) { return QStringList{file}; });
        clickTool(panels()->resourcePanel(), QStringLiteral("Import"));
        FileDialogs::setAnswerer(previous);
    } else if (verb == QLatin1String("delete resource")) {
        KVResourceListWidget *list = panels()->resourcePanel()->list();
        // The Resources dock shares its place with Elements: bring it to the front first.
        for (QWidget *w = list; w; w = w->parentWidget()) {
            if (auto *dock = qobject_cast<QDockWidget *>(w)) {
                dock->show();
                dock->raise();
            }
        }
        QTRY_VERIFY(list->isVisible());
        const QList<QListWidgetItem *> items = list->findItems(arg, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
        QTRY_VERIFY(items.first()->isSelected());
        clickTool(panels()->resourcePanel(), QStringLiteral("Delete"));
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + strStep));
    }
}

// What the saved project, the exported page, the stage and the reports show now.
QString tst_Panels::query(const QStringList &queries)
{
    QStringList values;
    const QJsonObject doc = saved();
    const QJsonArray scenes = doc.value(QStringLiteral("scenes")).toArray();
    auto namesOf = [](const QJsonArray &array) {
        QStringList names;
        for (const QJsonValue &v : array)
            names << v.toObject().value(QStringLiteral("name")).toString();
        return names.join(QLatin1Char(','));
    };
    for (const QString &q : queries) {
        if (q == QLatin1String("scenes")) {
            values << namesOf(scenes);
        } else if (q == QLatin1String("elements")) {
            const int nShown = m_pEditor->document()->sceneList()->indexOf(m_pEditor->document()->currentScene());
            values << namesOf(scenes.at(nShown).toObject().value(QStringLiteral("children")).toArray());
        } else if (q == QLatin1String("resources")) {
            values << namesOf(doc.value(QStringLiteral("resources")).toArray());
        } else if (q == QLatin1String("stage")) {
            // The scene the editing page draws, by its id.
            const int nId = kvRunScript(m_pEditor->canvasView()->page(),
                                        QStringLiteral("window.kvCanvasPage.page.model.id")).toInt();
            KVScene *pScene = m_pEditor->document()->sceneList()->findScene(nId);
            values << (pScene ? pScene->name() : QStringLiteral("none"));
        } else if (q == QLatin1String("title")) {
            // The saved title and the exported page's.
            const QString folder = m_dir.filePath(QStringLiteral("export%1").arg(++m_nExports));
            QDir().mkpath(folder);
            const auto previous = FileDialogs::setAnswerer([folder](FileDialogs::Kind, const QString &) { return QStringList{folder}; });
            m_pReporter->answerNamed(QStringLiteral("Folder"));
            m_pReporter->answerNamed(QStringLiteral("Cancel"));
            m_core->actionManager()->getAction(QStringLiteral("File.Export_To_HTML5"))->trigger();
            FileDialogs::setAnswerer(previous);
            QFile page(folder + QStringLiteral("/banner.html"));
            page.open(QIODevice::ReadOnly);
            const QString strTitle = QRegularExpression(QStringLiteral("<title>(.*)</title>"))
                                         .match(QString::fromUtf8(page.readAll())).captured(1);
            values << doc.value(QStringLiteral("title")).toString() + QStringLiteral(" | ") + strTitle;
        } else if (q == QLatin1String("click tag")) {
            // Kept in the file only when it is not the usual "clickTag".
            values << doc.value(QStringLiteral("clickTag")).toString();
        } else if (q == QLatin1String("thumbnails")) {
            // Each scene's picture in the scenes panel: drawn (something besides white), blank or none.
            QStringList states;
            for (KVScene *pScene : m_pEditor->document()->sceneList()->scenes()) {
                const QImage image = panels()->scenesPanel()->thumbnail(pScene).toImage();
                bool bDrawn = false;
                for (int y = 0; y < image.height() && !bDrawn; ++y) {
                    for (int x = 0; x < image.width() && !bDrawn; ++x)
                        bDrawn = image.pixel(x, y) != qRgb(255, 255, 255);
                }
                states << (image.isNull() ? QStringLiteral("none") : bDrawn ? QStringLiteral("drawn") : QStringLiteral("blank"));
            }
            values << states.join(QLatin1Char(','));
        } else if (q == QLatin1String("report")) {
            values << m_pReporter->lastText();
        }
    }
    return values.join(QStringLiteral(" / "));
}

void tst_Panels::scenario_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("queries");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("after"); // after each step
    QTest::newRow("duplicate scene 1")
        << QStringList{QStringLiteral("duplicate:0")}
        << QStringList{QStringLiteral("scenes"), QStringLiteral("stage"), QStringLiteral("thumbnails")}
        << QStringLiteral("Intro,Call to action / Intro / drawn,drawn")
        << QStringList{QStringLiteral("Intro,Intro_1,Call to action / Intro_1 / drawn,drawn,drawn")};
    QTest::newRow("blank scene after scene 1")
        << QStringList{QStringLiteral("blank:0")} << QStringList{QStringLiteral("scenes"), QStringLiteral("stage")}
        << QStringLiteral("Intro,Call to action / Intro") << QStringList{QStringLiteral("Intro,Scene_1,Call to action / Scene_1")};
    QTest::newRow("delete scene 1")
        << QStringList{QStringLiteral("delete scene:0")} << QStringList{QStringLiteral("scenes"), QStringLiteral("stage")}
        << QStringLiteral("Intro,Call to action / Intro") << QStringList{QStringLiteral("Call to action / Call to action")};
    QTest::newRow("select scene 2")
        << QStringList{QStringLiteral("click scene:1")} << QStringList{QStringLiteral("stage"), QStringLiteral("elements")}
        << QStringLiteral("Intro / panel,logo,sun,headline,card,button")
        << QStringList{QStringLiteral("Call to action / slogan,swoosh,shop")};
    QTest::newRow("rename an element in the tree")
        << QStringList{QStringLiteral("rename element:headline>title")} << QStringList{QStringLiteral("elements")}
        << QStringLiteral("panel,logo,sun,headline,card,button") << QStringList{QStringLiteral("panel,logo,sun,title,card,button")};
    QTest::newRow("a name the scene has is refused")
        << QStringList{QStringLiteral("rename element:card>sun")}
        << QStringList{QStringLiteral("elements"), QStringLiteral("report")}
        << QStringLiteral("panel,logo,sun,headline,card,button / ")
        << QStringList{QStringLiteral("panel,logo,sun,headline,card,button / The Element name already exists.\nPlease enter another name.")};
    QTest::newRow("click tag") << QStringList{QStringLiteral("type ClickTag:exitUrl")} << QStringList{QStringLiteral("click tag")}
                               << QString() << QStringList{QStringLiteral("exitUrl")};
    QTest::newRow("export title") << QStringList{QStringLiteral("type Title:Summer Sale")} << QStringList{QStringLiteral("title")}
                                  << QStringLiteral("Spring sale banner | Spring sale banner")
                                  << QStringList{QStringLiteral("Summer Sale | Summer Sale")};
    QTest::newRow("delete a resource")
        << QStringList{QStringLiteral("import:badge.png"), QStringLiteral("delete resource:badge")}
        << QStringList{QStringLiteral("resources")} << QStringLiteral("logo")
        << QStringList{QStringLiteral("logo,badge"), QStringLiteral("logo")};
    QTest::newRow("a resource in use stays")
        << QStringList{QStringLiteral("delete resource:logo")} << QStringList{QStringLiteral("resources"), QStringLiteral("report")}
        << QStringLiteral("logo / ") << QStringList{QStringLiteral("logo / Cannot remove resources that are in use.")};
}

void tst_Panels::scenario()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, queries);
    QFETCH(QString, before);
    QFETCH(QStringList, after);
    RecordingReporter rec;
    m_pReporter = &rec;
    m_pEditor = openExample(QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('_')));
    QVERIFY(m_pEditor);
    QUndoStack *stack = m_pEditor->document()->getUndoStack();
    QTRY_VERIFY_WITH_TIMEOUT(kvRunScript(m_pEditor->canvasView()->page(),
                                         QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool(),
                             15000);
    QTRY_COMPARE_WITH_TIMEOUT(query(queries), before, 15000);
    const int nStart = stack->index();
    QList<int> pushed;  // the undo index after each step
    for (int i = 0; i < steps.size(); ++i) {
        perform(steps.at(i));
        pushed << stack->index();
        QTRY_COMPARE_WITH_TIMEOUT(query(queries), after.at(i), 10000);
    }
    // Undo takes the steps back one by one, through the host's Undo action.
    QAction *undo = m_core->actionManager()->getAction(QStringLiteral("Edit.Undo"));
    for (int i = steps.size() - 1; i >= 0; --i) {
        const QString expected = i > 0 ? after.at(i - 1) : before;
        if (pushed.at(i) == (i > 0 ? pushed.at(i - 1) : nStart))
            continue;
        QVERIFY(undo->isEnabled());
        undo->trigger();
        // A report stays the last text; only the project and the stage go back.
        if (!queries.contains(QStringLiteral("report")))
            QTRY_COMPARE_WITH_TIMEOUT(query(queries), expected, 10000);
    }
    rec.answerForModifiedDocuments(IReporter::Discard);
    QVERIFY(m_window->closeAllDocuments());
    m_pReporter = nullptr;
}

KAVIO_WEBENGINE_TEST_MAIN(tst_Panels)
#include "tst_panels.moc"
