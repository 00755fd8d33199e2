#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class ActionManager;
class KVCanvas;
class QAction;
#include <QMenu>

// The stage's context menus, built once with the canvas: the main menu (the canvas's own entries
// and the editor's actions and menus by id), the ruler menu shown while a breakpoint mark is
// dragged, and the point-editing menu of a free-form shape. The page asks for a menu; which one
// shows depends on what the stage is doing at that moment.
class KVCanvasContextMenu : public QObject
{
    Q_OBJECT
public:
    // Takes the editor's actions from the action manager (none without one: the canvas's own
    // entries still work).
    KVCanvasContextMenu(KVCanvas *pCanvas, ActionManager *pActions);
    ~KVCanvasContextMenu() override;

    QMenu *mainMenu() const { return m_pMainMenu; }
    QMenu *rulerMenu() const { return m_pRulerMenu; }
    QMenu *pointMenu() const { return m_pPointMenu; }
    // The stage point the last main menu was opened at ("Paste Here").
    QPoint menuPosition() const { return m_ptMenu; }

    // Opens the menu the stage's state calls for at the global point (without waiting for it to
    // close) and returns it; null while text is edited (the text tool has its own menu).
    QMenu *popup(const QPoint &ptGlobal);

private:
    void buildMainMenu(ActionManager *pActions);
    QAction *ownAction(const QString &strText, void (KVCanvas::*slot)());

    KVCanvas *m_pCanvas;
    QPointer<QMenu> m_pMainMenu;
    QPointer<QMenu> m_pRulerMenu;
    QPointer<QMenu> m_pPointMenu;
    QAction *m_pRemoveSelection = nullptr;
    QAction *m_pEditPoints = nullptr;
    QAction *m_pEditText = nullptr;
    QAction *m_pPasteHere = nullptr;
    QAction *m_pOpenPath = nullptr;
    QPoint m_ptMenu;
};
