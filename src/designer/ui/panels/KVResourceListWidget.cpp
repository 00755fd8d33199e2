#include "KVResourceListWidget.h"

#include "commands/KVDropPolicy.h"
#include "resources/KVResource.h"

#include <QMimeData>

KVResourceListWidget::KVResourceListWidget(QWidget *pParent)
    : QListWidget(pParent)
{
    setObjectName(QStringLiteral("ResourceList"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setIconSize(QSize(48, 48));
}

KVResource *KVResourceListWidget::resourceOf(const QListWidgetItem *pItem)
{
    return pItem ? static_cast<KVResource *>(pItem->data(ResourceRole).value<void *>()) : nullptr;
}

QListWidgetItem *KVResourceListWidget::itemOf(const KVResource *pResource) const
{
    for (int i = 0; i < count(); ++i) {
        if (resourceOf(item(i)) == pResource)
            return item(i);
    }
    return nullptr;
}

QList<KVResource *> KVResourceListWidget::selectedResources() const
{
    QList<KVResource *> list;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected())
            list.append(resourceOf(item(i)));
    }
    return list;
}

QStringList KVResourceListWidget::mimeTypes() const
{
    return {KVDropPolicy::resourceFormat()};
}

QMimeData *KVResourceListWidget::mimeData(const QList<QListWidgetItem *> items) const
{
    QList<int> ids;
    for (const QListWidgetItem *pItem : items) {
        if (const KVResource *p = resourceOf(pItem))
            ids.append(p->id());
    }
    auto *pData = new QMimeData;
    pData->setData(KVDropPolicy::resourceFormat(), KVDropPolicy::resourcePayload(ids));
    return pData;
}
