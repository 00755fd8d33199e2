#pragma once

#include "KVPanelBase.h"

#include <QHash>
#include <QPixmap>

class KVScene;
class KVSceneThumbnailRenderer;
class KVSceneThumbnailView;
class QListWidgetItem;
class QToolButton;

// The content of the "Scenes" dock: the scenes of the project in play order. Choosing one makes
// the stage edit it; scenes are added blank or as copies, renamed in place, dragged to another
// place and deleted, each change one command.
class KVScenesPanel : public KVPanelBase
{
    Q_OBJECT
public:
    explicit KVScenesPanel(QWidget *pParent = nullptr);

    KVSceneThumbnailView *view() const { return m_pView; }
    bool showsDurations() const { return m_bDurations; }
    KVSceneThumbnailRenderer *renderer() const { return m_pRenderer; }
    // The scene's drawn thumbnail; null while it has none yet.
    QPixmap thumbnail(const KVScene *pScene) const { return m_thumbnails.value(pScene); }

public slots:
    void onBlankScene();
    void onDuplicateScene();
    void onDelete();
    // Starts editing the name of the current scene.
    void onRename();
    void onShowInColumn();
    void onShowInGrid();
    void onShowSceneDuration();

protected:
    void refresh() override;
    bool isSelectionOnly(int nType) const override;
    void followSelection() override;

private slots:
    void onItemSelectionChanged();
    void onItemChanged(QListWidgetItem *pItem);
    void onSceneMoved(int nIndex, int nNewIndex);
    void showContextMenu(const QPoint &pt);

private:
    QString itemText(const KVScene *pScene) const;
    QList<KVScene *> selectedScenes() const;

    void onThumbnailReady(KVScene *pScene, const QPixmap &pixmap);

    KVSceneThumbnailView *m_pView;
    KVSceneThumbnailRenderer *m_pRenderer;
    QHash<const KVScene *, QPixmap> m_thumbnails;
    QPointer<KVDocument> m_pDrawn;
    bool m_bBuilding = false;
    bool m_bDurations = true;
};
