#pragma once

#include "KVActionSpec.h"

#include <QList>
#include <QObject>
#include <QStringList>

class ActionManager;
class QCheckBox;
class QMainWindow;
class QMenu;
class QToolBar;

// Makes the designer's menus, actions and toolbars from the catalogue and registers them with the
// host's action manager, so that every part of the application finds them by id. It connects none
// of them: the plug-in does.
class KVDesignerActions : public QObject
{
    Q_OBJECT
public:
    KVDesignerActions(ActionManager *pActions, QMainWindow *pMainWindow, QObject *pParent = nullptr);
    ~KVDesignerActions() override;

    // Menus first (in their creation order), then the actions of the catalogue, then the toolbars.
    void create();

    static const QList<KVActionSpec> &catalogue();
    // Ids of the menus the designer makes, in creation order.
    static QStringList menuIds();

    QList<QToolBar *> toolbars() const { return m_toolbars; }
    QCheckBox *alignToParentBox() const { return m_pAlignToParent; }
    QCheckBox *flexibleLayoutBox() const { return m_pFlexibleLayout; }
    QMenu *shapeMenu() const { return m_pShapeMenu; }

signals:
    // A shape of the shape menu was chosen (its auto-shape type).
    void shapeChosen(int nType);

private:
    void createMenus();
    void createActions();
    void createAddKeyframeMenu();
    void createToolbars();
    QToolBar *addToolbar(const QString &strTitle, const QString &strObjectName, const QStringList &items);

    ActionManager *m_pActions;
    QMainWindow *m_pMainWindow;
    QList<QToolBar *> m_toolbars;
    QCheckBox *m_pAlignToParent = nullptr;
    QCheckBox *m_pFlexibleLayout = nullptr;
    QMenu *m_pShapeMenu = nullptr;
};
