// The stage's context menus: which menu the page's request opens for what the stage is doing (text
// editing, a dragged breakpoint mark, point editing, or nothing special).
#include "canvas/KVCanvas.h"
#include "canvas/KVCanvasContextMenu.h"
#include "canvas/KVCanvasOperations.h"
#include "document/KVDocument.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "IEditor.h"

#include "KVTestMain.h"

#include <QUndoStack>
#include "RecordingReporter.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

namespace {
class BareEditor : public IEditor
{
public:
    QWidget *widget() const override { return nullptr; }
};

QAction *entry(const QMenu *pMenu, const QString &strText)
{
    for (QAction *pAction : pMenu->actions()) {
        if (pAction->text() == strText)
            return pAction;
    }
    return nullptr;
}
} // namespace

class tst_CanvasContextMenu : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void theStageStateChoosesTheMenu();
    void theRulerMenuAsksTheToolbarForBreakpoints();

private:
    KVElement *add(int nType);

    QTemporaryDir m_dir;
    QScopedPointer<ActionManager> m_pActions;
    QScopedPointer<KVDocument> m_pDocument;
    QScopedPointer<BareEditor> m_pEditor;
    QScopedPointer<KVCanvas> m_pCanvas;
};

void tst_CanvasContextMenu::init()
{
    m_pActions.reset(new ActionManager);
    const QStringList ids = {QStringLiteral("Edit.Cut"), QStringLiteral("Edit.Copy"), QStringLiteral("Edit.Paste"),
                             QStringLiteral("Edit.Delete"), QStringLiteral("Edit.Lock_All"),
                             QStringLiteral("Edit.Hide")};
    for (const QString &id : ids)
        m_pActions->registerAction(new QAction(id, m_pActions.data()), id);
    m_pActions->createMenuContainer(QStringLiteral("Edit.Alignment"), QStringLiteral("&Alignment"));
    m_pActions->createMenuContainer(QStringLiteral("Edit.Group_Elements"), QStringLiteral("&Group"));

    m_pDocument.reset(new KVDocument);
    static int s_nProject = 0;
    m_pDocument->setFileName(m_dir.filePath(QStringLiteral("menu%1/menu.kavio").arg(++s_nProject)));
    QDir().mkpath(QFileInfo(m_pDocument->getFileName()).absolutePath());
    QVERIFY(m_pDocument->create(800, 600, 1, false));
    m_pEditor.reset(new BareEditor);
    m_pEditor->setDocument(m_pDocument.data());
    m_pCanvas.reset(new KVCanvas(m_pEditor.data()));
    m_pCanvas->handleDocumentLoaded();
    QVERIFY(m_pCanvas->currentScene());
}

void tst_CanvasContextMenu::cleanup()
{
    if (QWidget *pPopup = QApplication::activePopupWidget())
        pPopup->close();
    m_pCanvas.reset();
    m_pEditor.reset();
    m_pDocument.reset();
    m_pActions.reset();
}

KVElement *tst_CanvasContextMenu::add(int nType)
{
    KVElement *p = KVElementFactory::createElement(nType);
    p->setSizeW(40, KVLayoutKey::base());
    p->setSizeH(20, KVLayoutKey::base());
    m_pCanvas->currentScene()->addElement(p);
    return p;
}

void tst_CanvasContextMenu::theStageStateChoosesTheMenu()
{
    KVCanvasContextMenu *pMenu = m_pCanvas->contextMenu();
    QVERIFY(pMenu);
    KVElement *pText = add(4);
    KVElement *pPath = add(11);
    const QPoint at = m_pCanvas->mapToGlobal(QPoint(30, 40));

    // Nothing special: the main menu, its stage entries following the focused element.
    m_pCanvas->setFocusedItemId(pText->id());
    QCOMPARE(pMenu->popup(at), pMenu->mainMenu());
    QCOMPARE(pMenu->menuPosition(), QPoint(30, 40));
    QVERIFY(entry(pMenu->mainMenu(), QStringLiteral("Edit Text"))->isEnabled());
    QVERIFY(!entry(pMenu->mainMenu(), QStringLiteral("Edit Points"))->isEnabled());
    QVERIFY(!entry(pMenu->mainMenu(), QStringLiteral("Paste Here"))->isEnabled());
    pMenu->mainMenu()->close();

    // Copied elements: "Paste Here" puts a copy where the menu was opened, as one undo step.
    pPath->setSelected(true);
    m_pCanvas->onCopy();
    pPath->setSelected(false);
    QCOMPARE(pMenu->popup(at), pMenu->mainMenu());
    QAction *pPasteHere = entry(pMenu->mainMenu(), QStringLiteral("Paste Here"));
    QVERIFY(pPasteHere->isEnabled());
    pMenu->mainMenu()->close();
    const int nBefore = m_pCanvas->currentScene()->children().size();
    pPasteHere->trigger();
    QCOMPARE(m_pCanvas->currentScene()->children().size(), nBefore + 1);
    const KVElement *pPasted = m_pCanvas->currentScene()->children().constLast();
    QCOMPARE(pPasted->type(), 11);
    const QPointF ptStage = KVCanvasOperations::stagePoint(m_pCanvas.data(), QPoint(30, 40));
    QCOMPARE(QPointF(pPasted->leftPixels(), pPasted->topPixels()), ptStage);
    QCOMPARE(m_pDocument->getUndoStack()->count(), 1);

    // Point editing of the focused free-form shape: the point menu, until the focus moves.
    m_pCanvas->setFocusedItemId(pPath->id());
    m_pCanvas->editPoint();
    QVERIFY(m_pCanvas->isEditingPoints());
    QCOMPARE(pMenu->popup(at), pMenu->pointMenu());
    pMenu->pointMenu()->close();
    m_pCanvas->setFocusedItemId(pText->id());
    QVERIFY(!m_pCanvas->isEditingPoints());
    m_pCanvas->editPoint(); // not a free-form shape
    QVERIFY(!m_pCanvas->isEditingPoints());

    // A dragged breakpoint mark: the ruler menu, once; a negative value cannot be removed.
    m_pCanvas->setEditingBreakpoint(0, -1, 120);
    QCOMPARE(pMenu->popup(at), pMenu->rulerMenu());
    QVERIFY(!entry(pMenu->rulerMenu(), QStringLiteral("Remove Selection"))->isEnabled());
    pMenu->rulerMenu()->close();
    QVERIFY(!m_pCanvas->isEditingBreakpoint());
    m_pCanvas->setEditingBreakpoint(0, 640, 120);
    QCOMPARE(pMenu->popup(at), pMenu->rulerMenu());
    QVERIFY(entry(pMenu->rulerMenu(), QStringLiteral("Remove Selection"))->isEnabled());
    pMenu->rulerMenu()->close();
    QCOMPARE(pMenu->popup(at), pMenu->mainMenu());
    pMenu->mainMenu()->close();

    // Text being edited: none of these (the text tool has its own).
    m_pCanvas->setEditingText(true);
    QCOMPARE(pMenu->popup(at), static_cast<QMenu *>(nullptr));
}

void tst_CanvasContextMenu::theRulerMenuAsksTheToolbarForBreakpoints()
{
    QSignalSpy added(m_pCanvas.data(), &KVCanvas::addBreakpointRequested);
    QSignalSpy removed(m_pCanvas.data(), &KVCanvas::removeBreakpointRequested);
    m_pCanvas->setEditingBreakpoint(1, 480, 300);
    entry(m_pCanvas->contextMenu()->rulerMenu(), QStringLiteral("Add Breakpoint"))->trigger();
    QCOMPARE(added.size(), 1);
    // added where the ruler was clicked, not at the mark there
    QCOMPARE(added.first(), (QVariantList{true, 300}));
    entry(m_pCanvas->contextMenu()->rulerMenu(), QStringLiteral("Remove Selection"))->trigger();
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.first(), QVariantList{1});
}

KAVIO_WEBENGINE_TEST_MAIN(tst_CanvasContextMenu)
#include "tst_canvascontextmenu.moc"
