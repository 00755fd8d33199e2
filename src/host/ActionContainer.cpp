#include "ActionContainer.h"

#include <QMenu>
#include <QMenuBar>

ActionContainer::ActionContainer(const QString &strId, QMenu *pMenu, QObject *pParent)
    : QObject(pParent)
    , m_strId(strId)
    , m_pMenu(pMenu)
{
}

ActionContainer::ActionContainer(const QString &strId, QMenuBar *pMenuBar, QObject *pParent)
    : QObject(pParent)
    , m_strId(strId)
    , m_pMenuBar(pMenuBar)
{
}

void ActionContainer::addAction(QAction *pAction)
{
    if (m_pMenu)
        m_pMenu->addAction(pAction);
    else if (m_pMenuBar)
        m_pMenuBar->addAction(pAction);
}

void ActionContainer::addMenu(ActionContainer *pContainer, const QString &strBeforeId)
{
    if (!pContainer || !pContainer->menu())
        return;
    QWidget *holder = m_pMenu ? static_cast<QWidget *>(m_pMenu) : static_cast<QWidget *>(m_pMenuBar);
    if (!holder)
        return;
    QAction *before = nullptr;
    if (!strBeforeId.isEmpty()) {
        for (QAction *a : holder->actions()) {
            if (a->menu() && a->menu()->objectName() == strBeforeId) {
                before = a;
                break;
            }
        }
    }
    holder->insertAction(before, pContainer->menu()->menuAction());
}

void ActionContainer::addSeparator()
{
    if (m_pMenu)
        m_pMenu->addSeparator();
    else if (m_pMenuBar)
        m_pMenuBar->addSeparator();
}

void ActionContainer::setVisible(bool bVisible)
{
    if (m_pMenu)
        m_pMenu->menuAction()->setVisible(bVisible);
    else if (m_pMenuBar)
        m_pMenuBar->setVisible(bVisible);
}

void ActionContainer::setEnabled(bool bEnabled)
{
    if (m_pMenu)
        m_pMenu->menuAction()->setEnabled(bEnabled);
    else if (m_pMenuBar)
        m_pMenuBar->setEnabled(bEnabled);
}

bool ActionContainer::isVisible() const
{
    if (m_pMenu)
        return m_pMenu->menuAction()->isVisible();
    return m_pMenuBar && m_pMenuBar->isVisible();
}
