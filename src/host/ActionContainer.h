#pragma once

#include <QObject>
#include <QPointer>

#include <QMenu>
#include <QMenuBar>

// A menu (or the menu bar) known by a string id, into which actions and other containers go.
class ActionContainer : public QObject
{
    Q_OBJECT
public:
    ActionContainer(const QString &strId, QMenu *pMenu, QObject *pParent = nullptr);
    ActionContainer(const QString &strId, QMenuBar *pMenuBar, QObject *pParent = nullptr);

    QString id() const { return m_strId; }
    QMenu *menu() const { return m_pMenu; }
    QMenuBar *menuBar() const { return m_pMenuBar; }

    void addAction(QAction *pAction);
    // Appends the container's menu, or puts it before the menu of container strBeforeId when that
    // is already here.
    void addMenu(ActionContainer *pContainer, const QString &strBeforeId = QString());
    void addSeparator();
    void setVisible(bool bVisible);
    void setEnabled(bool bEnabled);
    bool isVisible() const;

private:
    QString m_strId;
    QPointer<QMenu> m_pMenu;
    QPointer<QMenuBar> m_pMenuBar;
};
