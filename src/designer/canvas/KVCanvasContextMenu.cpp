#include "KVCanvasContextMenu.h"

#include "KVCanvas.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "commands/KVClipBoard.h"
#include "model/KVElement.h"
#include "model/KVScene.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

namespace {
// An entry of the main menu: an action or an action container of the editor by id, one of the
// canvas's own actions, a separator, or the start and end of a submenu.
enum class Kind { Action, Container, Own, Separator, SubmenuBegin, SubmenuEnd };
struct Entry
{
    Kind kind;
    const char *id; // action or container id, own entry text, or submenu title
    // What an own entry calls; null leaves it disabled (nothing to call yet).
    void (KVCanvas::*slot)() = nullptr;
};

const Entry kMainMenu[] = {
    {Kind::Own, QT_TRANSLATE_NOOP("KVCanvasContextMenu", "Reload Canvas"), &KVCanvas::reloadCanvas},
    {Kind::Separator, nullptr},
    {Kind::SubmenuBegin, QT_TRANSLATE_NOOP("KVCanvasContextMenu", "Arrange")},
    {Kind::Container, "Edit.Size"},
    {Kind::Container, "Edit.Alignment"},
    {Kind::Container, "Edit.DisplayOrder"},
    {Kind::SubmenuEnd, nullptr},
    {Kind::SubmenuBegin, QT_TRANSLATE_NOOP("KVCanvasContextMenu", "View")},
    {Kind::Action, "View.Ruler"},
    {Kind::Action, "View.Canvas.Snap"},
    {Kind::Container, "Timeline.Zoom"},
    {Kind::Container, "View.Stage"},
    {Kind::SubmenuEnd, nullptr},
    {Kind::Container, "MenuBar.Element"},
    {Kind::Separator, nullptr},
    {Kind::Own, QT_TRANSLATE_NOOP("KVCanvasContextMenu", "Edit Points"), &KVCanvas::editPoint},
    {Kind::Own, QT_TRANSLATE_NOOP("KVCanvasContextMenu", "Edit Text"), &KVCanvas::editText},
    // "Edit Symbol" stays disabled: the document cannot switch to a symbol's content.
    {Kind::Own, QT_TRANSLATE_NOOP("KVCanvasContextMenu", "Edit Symbol")},
    {Kind::Action, "Edit.Convert_To_Symbol"},
    {Kind::Action, "Edit.Edit_Symbol"},
    {Kind::Action, "Edit.Restore_Original_Size"},
    {Kind::Action, "Edit.Remove_All_Overrides"},
    {Kind::Container, "Edit.Group_Elements"},
    {Kind::Separator, nullptr},
    {Kind::Action, "Edit.Cut"},
    {Kind::Action, "Edit.Copy"},
    {Kind::Action, "Edit.Paste"},
    {Kind::Own, QT_TRANSLATE_NOOP("KVCanvasContextMenu", "Paste Here"), &KVCanvas::onPasteAtCursor},
    {Kind::Action, "Edit.Paste_With_Animation"},
    {Kind::Action, "Edit.Delete"},
    {Kind::Separator, nullptr},
    {Kind::Container, "Timeline.Add_Keyframe"},
    {Kind::Separator, nullptr},
    {Kind::Action, "Edit.Lock_All"},
    {Kind::Action, "Edit.Hide ALL"},
    {Kind::Action, "Edit.Lock"},
    {Kind::Action, "Edit.Hide"},
    {Kind::Separator, nullptr},
    {Kind::Action, "Edit.Copy_Event_Actions"},
    {Kind::Action, "Edit.Paste_Event_Actions"},
    {Kind::Action, "View.Event_Actions_Dialog"},
};
} // namespace

KVCanvasContextMenu::KVCanvasContextMenu(KVCanvas *pCanvas, ActionManager *pActions)
    : QObject(pCanvas)
    , m_pCanvas(pCanvas)
{
    buildMainMenu(pActions);

    m_pRulerMenu = new QMenu(pCanvas);
    QObject::connect(m_pRulerMenu->addAction(tr("Add Breakpoint")), &QAction::triggered, pCanvas,
                     &KVCanvas::addBreakpoint);
    m_pRemoveSelection = m_pRulerMenu->addAction(tr("Remove Selection"));
    QObject::connect(m_pRemoveSelection, &QAction::triggered, pCanvas, &KVCanvas::removeBreakpoint);

    m_pPointMenu = new QMenu(pCanvas);
    m_pOpenPath = m_pPointMenu->addAction(tr("Open Path"));
    QObject::connect(m_pOpenPath, &QAction::triggered, pCanvas, &KVCanvas::openPath);
    QObject::connect(m_pPointMenu->addAction(tr("Straight Segment")), &QAction::triggered, pCanvas,
                     &KVCanvas::straightSegment);
    QObject::connect(m_pPointMenu->addAction(tr("End Edit Point")), &QAction::triggered, pCanvas,
                     &KVCanvas::endEditPoint);
}

KVCanvasContextMenu::~KVCanvasContextMenu()
{
    delete m_pMainMenu;
    delete m_pRulerMenu;
    delete m_pPointMenu;
}

QAction *KVCanvasContextMenu::ownAction(const QString &strText, void (KVCanvas::*slot)())
{
    QAction *pAction = new QAction(strText, m_pMainMenu);
    if (slot)
        QObject::connect(pAction, &QAction::triggered, m_pCanvas, slot);
    else
        pAction->setEnabled(false);
    return pAction;
}

void KVCanvasContextMenu::buildMainMenu(ActionManager *pActions)
{
    m_pMainMenu = new QMenu(m_pCanvas);
    QMenu *pTarget = m_pMainMenu;
    for (const Entry &entry : kMainMenu) {
        const QString strId = QString::fromLatin1(entry.id);
        switch (entry.kind) {
        case Kind::Separator:
            pTarget->addSeparator();
            break;
        case Kind::SubmenuBegin:
            pTarget = m_pMainMenu->addMenu(tr(entry.id));
            break;
        case Kind::SubmenuEnd:
            pTarget = m_pMainMenu;
            break;
        case Kind::Action:
            if (QAction *pAction = pActions ? pActions->getAction(strId) : nullptr)
                pTarget->addAction(pAction);
            break;
        case Kind::Container: {
            ActionContainer *pContainer = pActions ? pActions->getActionContainer(strId) : nullptr;
            if (pContainer && pContainer->menu())
                pTarget->addMenu(pContainer->menu());
            break;
        }
        case Kind::Own: {
            QAction *pAction = ownAction(tr(entry.id), entry.slot);
            // The entries that follow the focused element.
            if (entry.slot == &KVCanvas::editPoint)
                m_pEditPoints = pAction;
            else if (entry.slot == &KVCanvas::editText)
                m_pEditText = pAction;
            else if (entry.slot == &KVCanvas::onPasteAtCursor)
                m_pPasteHere = pAction;
            pTarget->addAction(pAction);
            break;
        }
        }
    }
}

QMenu *KVCanvasContextMenu::popup(const QPoint &ptGlobal)
{
    if (m_pCanvas->isEditingText())
        return nullptr;
    if (m_pCanvas->isEditingBreakpoint()) {
        m_pRemoveSelection->setEnabled(m_pCanvas->editingBreakpointValue() >= 0);
        m_pCanvas->clearEditingBreakpoint();
        m_pRulerMenu->popup(ptGlobal);
        return m_pRulerMenu;
    }
    if (m_pCanvas->isEditingPoints()) {
        m_pOpenPath->setText(m_pCanvas->isFocusedPathOpen() ? tr("Close Path") : tr("Open Path"));
        m_pPointMenu->popup(ptGlobal);
        return m_pPointMenu;
    }
    // The stage's own entries follow the focused element.
    KVScene *pScene = m_pCanvas->currentScene();
    const KVElement *pFocused = pScene ? pScene->findElement(m_pCanvas->focusedItemId()) : nullptr;
    const int nType = pFocused ? pFocused->type() : -1;
    m_pEditPoints->setEnabled(nType == 11);
    m_pEditText->setEnabled(KVCanvas::holdsText(nType));
    m_pPasteHere->setEnabled(pScene && pScene->currentTimeline()
                             && KVClipBoard::hasElements(QGuiApplication::clipboard()->mimeData()));
    m_pCanvas->refreshLockAndHideActions();
    m_ptMenu = m_pCanvas->mapFromGlobal(ptGlobal);
    m_pMainMenu->popup(ptGlobal);
    return m_pMainMenu;
}
