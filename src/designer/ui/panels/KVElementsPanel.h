#pragma once

#include "KVPanelBase.h"

class KVElement;
class KVElementTreeWidget;
class QTreeWidgetItem;

// The content of the "Elements" dock: the element tree of the scene the stage edits. Rows are
// selected together with the stage in both directions, renamed in place, shown or hidden, locked
// or unlocked, and dragged to another place or into a group, each change one command.
class KVElementsPanel : public KVPanelBase
{
    Q_OBJECT
public:
    explicit KVElementsPanel(QWidget *pParent = nullptr);

    KVElementTreeWidget *tree() const { return m_pTree; }

public slots:
    // Starts editing the name of the current row.
    void onRename();
    void onDelete();

protected:
    void refresh() override;
    // Selects the rows of the selected elements.
    void followSelection() override;

private slots:
    void onItemSelectionChanged();
    void onItemChanged(QTreeWidgetItem *pItem, int nColumn);
    void onElementsDropped(const QList<KVElement *> &elements, KVElement *pParent, int nIndex);
    void showContextMenu(const QPoint &pt);

private:
    void addRows(QTreeWidgetItem *pParentItem, KVElement *pElement);
    void setRowFlags(QTreeWidgetItem *pItem, const KVElement *pElement);

    KVElementTreeWidget *m_pTree;
    bool m_bBuilding = false;
};
