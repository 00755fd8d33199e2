#include "KVSceneThumbnailView.h"

#include "model/KVScene.h"

#include <QDropEvent>

KVSceneThumbnailView::KVSceneThumbnailView(QWidget *pParent)
    : QListWidget(pParent)
{
    setObjectName(QStringLiteral("SceneThumbnails"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setMovement(QListView::Snap);
    setResizeMode(QListView::Adjust);
    setColumnView(true);
}

KVScene *KVSceneThumbnailView::sceneOf(const QListWidgetItem *pItem)
{
    return pItem ? static_cast<KVScene *>(pItem->data(SceneRole).value<void *>()) : nullptr;
}

QListWidgetItem *KVSceneThumbnailView::itemOf(const KVScene *pScene) const
{
    for (int i = 0; i < count(); ++i) {
        if (sceneOf(item(i)) == pScene)
            return item(i);
    }
    return nullptr;
}

void KVSceneThumbnailView::setColumnView(bool bColumn)
{
    setViewMode(bColumn ? QListView::ListMode : QListView::IconMode);
    setFlow(bColumn ? QListView::TopToBottom : QListView::LeftToRight);
    setWrapping(!bColumn);
    setIconSize(bColumn ? QSize(96, 72) : QSize(128, 96));
    setMovement(QListView::Snap);
    setDragDropMode(QAbstractItemView::InternalMove);
}

void KVSceneThumbnailView::dropEvent(QDropEvent *pEvent)
{
    pEvent->setDropAction(Qt::IgnoreAction);
    pEvent->accept();
    QListWidgetItem *pDragged = currentItem();
    if (pEvent->source() != this || !pDragged)
        return;
    const int nFrom = row(pDragged);
    QListWidgetItem *pAt = itemAt(pEvent->pos());
    int nTo = pAt ? row(pAt) : count() - 1;
    if (pAt && dropIndicatorPosition() == QAbstractItemView::BelowItem && nTo < nFrom)
        ++nTo;
    else if (pAt && dropIndicatorPosition() == QAbstractItemView::AboveItem && nTo > nFrom)
        --nTo;
    if (nTo != nFrom)
        emit sceneThumbnailMoved(nFrom, nTo);
}
