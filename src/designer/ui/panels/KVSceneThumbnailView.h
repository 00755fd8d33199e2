#pragma once

#include <QListWidget>

class KVScene;

// The list of the scenes panel: one item per scene, in play order, shown in a column or as a grid.
// A drop of a dragged item is not carried out here: it is handed on as a request (sceneMoved) for
// the panel to turn into a command.
class KVSceneThumbnailView : public QListWidget
{
    Q_OBJECT
public:
    enum Role { SceneRole = Qt::UserRole + 1 };

    explicit KVSceneThumbnailView(QWidget *pParent = nullptr);

    static KVScene *sceneOf(const QListWidgetItem *pItem);
    QListWidgetItem *itemOf(const KVScene *pScene) const;
    // The column (true) or grid view.
    void setColumnView(bool bColumn);
    bool isColumnView() const { return viewMode() == QListView::ListMode; }

signals:
    // The scene at nIndex goes to nNewIndex.
    void sceneThumbnailMoved(int nIndex, int nNewIndex);

protected:
    void dropEvent(QDropEvent *pEvent) override;
};
