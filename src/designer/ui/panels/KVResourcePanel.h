#pragma once

#include "KVPanelBase.h"

class KVResource;
class KVResourceListWidget;
class QComboBox;
class QListWidgetItem;

// The content of the "Resources" dock: the resources of the project by kind, images with their
// pictures. Files are imported, resources renamed in place, deleted, added to the scene (or dragged
// onto the stage), and the unused ones selected; each change is one command.
class KVResourcePanel : public KVPanelBase
{
    Q_OBJECT
public:
    explicit KVResourcePanel(QWidget *pParent = nullptr);

    KVResourceListWidget *list() const { return m_pList; }

signals:
    void selectionChanged();

public slots:
    void onAddFromFile();
    void onDelete();
    void onRename();
    void selectUnusedResources();
    void insertResourceToScene();
    void onResourceTypeChanged();

protected:
    void refresh() override;
    bool concerns(int nType) const override;

private slots:
    void onItemChanged(QListWidgetItem *pItem);

private:
    void fillItem(QListWidgetItem *pItem, KVResource *pResource);

    QComboBox *m_pType;
    KVResourceListWidget *m_pList;
    bool m_bBuilding = false;
};
