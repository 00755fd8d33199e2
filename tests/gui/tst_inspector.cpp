// The property inspector in the real plug-in with the real canvas page: a field edited through its
// own widget (a spin box held, a slider dragged, a colour picked in the dialog, a preset, a font
// chosen) changes the node on the stage, is one step of the undo history however many values the
// drag went through, and undoing it brings the old look back. The pages follow the selection.
#include "canvas/KVCanvas.h"
#include "commands/KVCommand.h"
#include "commands/KVEditContext.h"
#include "commands/KVInspectorOperation.h"
#include "animation/KVTimeline.h"
#include "commands/KVPropertyGroup.h"
#include "commands/KVSelectOperation.h"
#include "document/KVDocument.h"
#include "model/KVElement.h"
#include "model/KVScene.h"
#include "plugin/KVEditor.h"
#include "ui/inspector/KVColorButton.h"
#include "ui/inspector/KVInspector.h"
#include "ui/inspector/KVInspectorField.h"
#include "ui/inspector/KVInspectorPage.h"
#include "ui/inspector/KVInspectorPageInfo.h"
#include "ui/inspector/KVInspectorPageTitle.h"
#include "ui/inspector/KVPropertiesTabsWidget.h"

#include "EditorManager.h"
#include "ICore.h"
#include "MainWindow.h"
#include "PluginManager.h"

#include "KVEditorWindow.h"
#include "KVPageScript.h"
#include "KVTestMain.h"
#include "RecordingReporter.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>

using ExtensionSystem::PluginManager;
using G = KVPropertyGroup;

class tst_Inspector : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void editShowsOnTheStageAsOneStep_data();
    void editShowsOnTheStageAsOneStep();
    void pagesFollowTheSelection_data();
    void pagesFollowTheSelection();
    void severalElementsEditTogether();

private:
    KVElement *element(const QString &strName) const;
    void select(const QList<KVElement *> &elements);
    KVInspectorField *openField(int nPageId, int nGroup, int nField);
    QString probe(const QString &strName, const QString &strExpression) const;

    QScopedPointer<PluginManager> m_manager;
    QScopedPointer<MainWindow> m_window;
    QScopedPointer<ICore> m_core;
    QTemporaryDir m_dir;
    KVCanvas *m_pCanvas = nullptr;
    KVPropertiesTabsWidget *m_pTabs = nullptr;
};

void tst_Inspector::initTestCase()
{
    const QString strStarted = kvStartEditorWindow(m_manager, m_window, m_core, 1500, 950);
    QVERIFY2(strStarted.isEmpty(), qPrintable(strStarted));
    QDir().mkpath(m_dir.filePath(QStringLiteral("banner_res")));
    const QString source = KVTestEnvironment::sourceDir() + QStringLiteral("/examples/banner/");
    QVERIFY(QFile::copy(source + QStringLiteral("banner.kavio"), m_dir.filePath(QStringLiteral("banner.kavio"))));
    QVERIFY(QFile::copy(source + QStringLiteral("banner_res/logo.png"), m_dir.filePath(QStringLiteral("banner_res/logo.png"))));
    QVERIFY(m_window->openDocument(m_dir.filePath(QStringLiteral("banner.kavio"))));
    auto *editor = qobject_cast<KVEditor *>(m_core->editorManager()->activeEditor());
    QVERIFY(editor);
    m_pCanvas = editor->canvasView();
    QTRY_VERIFY_WITH_TIMEOUT(kvRunScript(m_pCanvas->page(), QStringLiteral("!!(window.kvCanvasPage && window.kvCanvasPage.hasScene())")).toBool(),
                             20000);
    m_pTabs = m_window->findChild<KVPropertiesTabsWidget *>();
    QVERIFY(m_pTabs);
    auto *dock = m_window->findChild<QDockWidget *>(QStringLiteral("spInspectorDockWidget"));
    QVERIFY(dock);
    dock->show();
}

void tst_Inspector::cleanupTestCase()
{
    m_window->closeAllDocuments();
    PluginManager::shutdown();
    m_core.reset();
    m_window.reset();
    m_manager.reset();
}

KVElement *tst_Inspector::element(const QString &strName) const
{
    KVElement *pFound = nullptr;
    m_pCanvas->document()->currentScene()->forEachInSubtree([&](const KVElement *p) {
        if (p->name() == strName)
            pFound = const_cast<KVElement *>(p);
    });
    return pFound;
}

void tst_Inspector::select(const QList<KVElement *> &elements)
{
    KVEditContext c;
    c.pTarget = m_pCanvas->document();
    c.pScene = m_pCanvas->document()->currentScene();
    KVSelectOperation::run(KVSelectOperation::select(c, elements));
    // past the inspector's refresh pause
    QTest::qWait(250);
}

// The page opened (as a click on its title does) and one of its fields.
KVInspectorField *tst_Inspector::openField(int nPageId, int nGroup, int nField)
{
    KVInspector *pInspector = m_pTabs->inspectorOf(nPageId);
    KVInspectorPageInfo *pInfo = pInspector ? pInspector->pageInfo(nPageId) : nullptr;
    if (!pInfo || !pInfo->isAvailable())
        return nullptr;
    m_pTabs->tabs()->setCurrentWidget(pInspector);
    if (!pInfo->isExpanded())
        QTest::mouseClick(pInfo->titleBar(), Qt::LeftButton);
    return pInfo->page() ? pInfo->page()->field(nGroup, nField) : nullptr;
}

QString tst_Inspector::probe(const QString &strName, const QString &strExpression) const
{
    return kvRunScript(m_pCanvas->page(), QStringLiteral("(function () { var n = document.querySelector('[data-kv-id=\"%1\"]');"
                                                         " var t = n.querySelector('.kv-text') || n; var cs = getComputedStyle(n);"
                                                         " var ts = getComputedStyle(t); return String(%2); })()")
                                              .arg(element(strName)->id())
                                              .arg(strExpression))
        .toString();
}

void tst_Inspector::editShowsOnTheStageAsOneStep_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("field");
    QTest::addColumn<QVariantList>("values"); // the values a drag goes through
    QTest::addColumn<QString>("css");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("autoKey"); // auto keyframing on: the edit becomes a key at the current time
    const auto L = [](std::initializer_list<QVariant> v) { return QVariantList(v); };
    const QColor half(0, 128, 255, 128);
    QTest::newRow("fill colour") << "card" << 6 << int(G::Fill) << int(G::FillSolidColor)
                                 << L({QColor(Qt::red), QColor(Qt::green), half}) << "cs.backgroundColor"
                                 << "rgba(0, 128, 255, 0.5)" << "Change Background Solid Color" << false;
    QTest::newRow("border style") << "card" << 1 << int(G::Border) << int(G::BorderStyle) << L({3})
                                  << "cs.borderTopStyle" << "dashed" << "Change Border Style" << false;
    QTest::newRow("corner radius") << "card" << 13 << int(G::Corners) << int(G::CornerTopLeft) << L({10, 17, 24})
                                   << "cs.borderTopLeftRadius" << "24px" << "Change Corner" << false;
    QTest::newRow("shadow preset") << "card" << 16 << int(G::Shadow) << -2 << L({4})
                                   << "(function (m) { return !!m && Math.round(+m[1]) === 0 && +m[2] < 0; })"
                                      "(cs.boxShadow.match(/(-?[\\d.]+)px (-?[\\d.]+)px/))"
                                   << "true" << "Update Shadow" << false;
    QTest::newRow("filter hue") << "card" << 17 << int(G::Filter) << 1 << L({30, 60, 90})
                                << "cs.filter" << "hue-rotate(90deg)" << "Change Hue" << false;
    QTest::newRow("rotation") << "card" << 5 << 1000 << 11 << L({10, 20, 30})
                              << "(function (m) { return Math.round(Math.atan2(+m[2], +m[1]) * 180 / Math.PI); })"
                                 "(cs.transform.match(/matrix\\(([-\\d.e]+), ([-\\d.e]+)/))"
                              << "30" << "Change Geometry" << false;
    QTest::newRow("opacity") << "card" << 3 << 1000 << 14 << L({80, 65, 50}) << "cs.opacity" << "0.5" << "Change Opacity" << false;
    QTest::newRow("font family") << "headline" << 9 << int(G::Text) << int(G::TextFamily) << L({"DejaVu Serif"})
                                 << "ts.fontFamily" << "\"DejaVu Serif\"" << "Change Font Family" << false;
    QTest::newRow("font size") << "headline" << 9 << int(G::Text) << int(G::TextSize) << L({30, 35, 41})
                               << "ts.fontSize" << "41px" << "Change Font Size" << false;
    QTest::newRow("text alignment") << "headline" << 9 << int(G::Text) << int(G::TextAlignH) << L({2})
                                    << "ts.textAlign" << "right" << "Change Text Alignment" << false;
    QTest::newRow("filter hue, auto key") << "card" << 17 << int(G::Filter) << 1 << L({45, 120})
                                          << "cs.filter" << "hue-rotate(120deg)" << "Change Hue" << true;
    QTest::newRow("opacity, auto key") << "card" << 3 << 1000 << 14 << L({70, 40}) << "cs.opacity" << "0.4"
                                       << "Change Opacity" << true;
}

void tst_Inspector::editShowsOnTheStageAsOneStep()
{
    QFETCH(QString, element);
    QFETCH(int, page);
    QFETCH(int, group);
    QFETCH(int, field);
    QFETCH(QVariantList, values);
    QFETCH(QString, css);
    QFETCH(QString, shown);
    QFETCH(QString, text);
    QFETCH(bool, autoKey);
    RecordingReporter rec;
    KVDocument *document = m_pCanvas->document();
    document->setAutoKeyframeMode(autoKey);
    select({this->element(element)});
    // the shadow preset is a button of the page rather than a field
    KVInspectorField *pField = field >= 0 ? openField(page, group, field) : openField(page, group, G::ShadowBlur);
    QVERIFY(pField);
    QVERIFY(pField->isEnabled());
    QUndoStack *stack = m_pCanvas->document()->getUndoStack();
    const int nSteps = stack->index();
    const QString before = probe(element, css);
    QVERIFY2(before != shown, qPrintable(before));

    QWidget *editor = pField->editor();
    if (field < 0) {
        QList<QToolButton *> presets = pField->parentWidget()->findChildren<QToolButton *>();
        presets.erase(std::remove_if(presets.begin(), presets.end(), [](QToolButton *b) { return b->toolTip() != QStringLiteral("Top"); }),
                      presets.end());
        QCOMPARE(presets.size(), 1);
        presets.first()->click();
    } else if (auto *color = qobject_cast<KVColorButton *>(editor)) {
        color->click();
        QColorDialog *dialog = color->dialog();
        QVERIFY(dialog);
        for (const QVariant &v : values)
            dialog->setCurrentColor(v.value<QColor>());
        dialog->accept();
    } else if (auto *slider = qobject_cast<QSlider *>(editor)) {
        slider->setSliderDown(true);
        for (const QVariant &v : values)
            slider->setValue(v.toInt());
        slider->setSliderDown(false);
    } else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor)) {
        // the up arrow held down while the value runs
        const QPoint arrow(spin->width() - 6, 4);
        QTest::mousePress(spin, Qt::LeftButton, {}, arrow);
        for (const QVariant &v : values)
            spin->setValue(v.toDouble());
        QTest::mouseRelease(spin, Qt::LeftButton, {}, arrow);
    } else if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const int nIndex = values.first().type() == QVariant::String ? combo->findText(values.first().toString()) : values.first().toInt();
        QVERIFY(nIndex >= 0);
        combo->setCurrentIndex(nIndex);
        emit combo->activated(nIndex);
    }
    QTRY_COMPARE_WITH_TIMEOUT(probe(element, css), shown, 5000);
    QCOMPARE(stack->index(), nSteps + 1);
    QCOMPARE(stack->text(nSteps), text);
    // the key shows beside the field; without auto keyframing the value stays a plain value
    KVEditContext c;
    c.pScene = document->currentScene();
    c.pTimeline = c.pScene->currentTimeline();
    if (pField->spec().nCode >= 0) {
        QCOMPARE(KVInspectorOperation::keyState(c, this->element(element), pField->spec().nCode) == KVInspectorOperation::KeyHere, autoKey);
        QCOMPARE(pField->keyButton()->property("keyState").toInt() == KVInspectorOperation::KeyHere, autoKey);
    }
    stack->undo();
    QTRY_COMPARE_WITH_TIMEOUT(probe(element, css), before, 5000);
    document->setAutoKeyframeMode(false);
    QVERIFY(rec.entries().isEmpty());
}

void tst_Inspector::pagesFollowTheSelection_data()
{
    QTest::addColumn<QStringList>("elements");
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<QList<int>>("hidden");
    QTest::newRow("rectangle") << QStringList{"card"} << QList<int>{3, 4, 5, 6, 1, 13, 16, 17, 15, 9}
                               << QList<int>{10, 18, 12, 7, 8, 14};
    QTest::newRow("text") << QStringList{"headline"} << QList<int>{3, 9, 6, 1} << QList<int>{13, 7, 10};
    QTest::newRow("image and rectangle") << QStringList{"logo", "card"} << QList<int>{3, 4, 5, 1, 16, 17, 15, 6}
                                         << QList<int>{7, 13, 9, 10};
    QTest::newRow("nothing") << QStringList{} << QList<int>{10, 18, 12, 6} << QList<int>{3, 4, 5, 1, 13, 16, 17, 15, 9};
}

void tst_Inspector::pagesFollowTheSelection()
{
    QFETCH(QStringList, elements);
    QFETCH(QList<int>, shown);
    QFETCH(QList<int>, hidden);
    QList<KVElement *> list;
    for (const QString &name : elements)
        list.append(element(name));
    select(list);
    for (int nId : shown)
        QVERIFY2(m_pTabs->inspectorOf(nId)->pageInfo(nId)->isAvailable(), qPrintable(QString::number(nId)));
    for (int nId : hidden) {
        QVERIFY2(!m_pTabs->inspectorOf(nId)->pageInfo(nId)->isAvailable(), qPrintable(QString::number(nId)));
        QVERIFY(m_pTabs->inspectorOf(nId)->pageInfo(nId)->titleBar()->isHidden());
    }
}

// Two rectangles with different corners show the field as mixed; one edit sets both, one step.
void tst_Inspector::severalElementsEditTogether()
{
    KVElement *card = element(QStringLiteral("card"));
    KVElement *panel = element(QStringLiteral("panel"));
    select({card});
    auto *spin = qobject_cast<QDoubleSpinBox *>(openField(13, G::Corners, G::CornerTopLeft)->editor());
    QVERIFY(spin);
    spin->setValue(7);
    select({card, panel});
    spin = qobject_cast<QDoubleSpinBox *>(openField(13, G::Corners, G::CornerTopLeft)->editor());
    if (G::values(panel, G::Corners, panel->currentLayout()).value(0).toDouble() != 7)
        QCOMPARE(spin->text(), QStringLiteral("\u2014"));
    QUndoStack *stack = m_pCanvas->document()->getUndoStack();
    const int nSteps = stack->index();
    spin->setValue(19);
    QCOMPARE(stack->index(), nSteps + 1);
    QTRY_COMPARE_WITH_TIMEOUT(probe(QStringLiteral("card"), QStringLiteral("cs.borderTopLeftRadius")), QStringLiteral("19px"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(probe(QStringLiteral("panel"), QStringLiteral("cs.borderTopLeftRadius")), QStringLiteral("19px"), 5000);
    QCOMPARE(spin->text(), QStringLiteral("19 px"));
    stack->undo();
    stack->undo();
}

KAVIO_WEBENGINE_TEST_MAIN(tst_Inspector)
#include "tst_inspector.moc"
