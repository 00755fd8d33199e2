#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>

class ActionContainer;
class ContextAction;
class ContextManager;
class QAction;
class QMenuBar;
class QSettings;

// The registry of actions and menus by string id ("File.Save", "MenuBar.View"). Shortcuts that
// the user changed are saved to settings (group "Shortcuts") and read back at start-up.
class ActionManager : public QObject
{
    Q_OBJECT
public:
    explicit ActionManager(ContextManager *pContextManager = nullptr, QObject *pParent = nullptr);
    ~ActionManager() override;

    // Registers pAction (not owned) under strId; its current shortcuts become the defaults.
    ContextAction *registerAction(QAction *pAction, const QString &strId, const QString &strContext = QString());
    void unregisterAction(const QString &strId);
    QAction *getAction(const QString &strId) const;
    ContextAction *getContextAction(const QString &strId) const;
    QList<ContextAction *> getActions() const;

    ActionContainer *createMenuContainer(const QString &strId, const QString &strTitle = QString());
    ActionContainer *createMenuBarContainer(const QString &strId, QMenuBar *pMenuBar);
    ActionContainer *getActionContainer(const QString &strId) const;

    void readFromSettings(QSettings *pSettings = nullptr);
    void saveSettings(QSettings *pSettings = nullptr) const;
    void resetToDefault();

private:
    void updateContexts(const QStringList &active);

    ContextManager *m_pContextManager;
    QHash<QString, ContextAction *> m_actions;
    QStringList m_order;
    QHash<QString, ActionContainer *> m_containers;
};
