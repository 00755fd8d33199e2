#include "KVElementTreeWidget.h"

#include "model/KVElement.h"
#include "model/KVElementType.h"

#include <QDropEvent>
#include <QHeaderView>

KVElementTreeWidget::KVElementTreeWidget(QWidget *pParent)
    : QTreeWidget(pParent)
{
    setObjectName(QStringLiteral("ElementTree"));
    setColumnCount(3);
    setHeaderLabels({tr("Name"), tr("Show"), tr("Lock")});
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(ShowColumn, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(LockColumn, QHeaderView::ResizeToContents);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
}

KVElement *KVElementTreeWidget::elementOf(const QTreeWidgetItem *pItem)
{
    return pItem ? static_cast<KVElement *>(pItem->data(NameColumn, ElementRole).value<void *>()) : nullptr;
}

QTreeWidgetItem *KVElementTreeWidget::itemOf(const KVElement *pElement) const
{
    for (QTreeWidgetItemIterator it(const_cast<KVElementTreeWidget *>(this)); *it; ++it) {
        if (elementOf(*it) == pElement)
            return *it;
    }
    return nullptr;
}

QList<KVElement *> KVElementTreeWidget::selectedElements() const
{
    QList<KVElement *> list;
    for (QTreeWidgetItemIterator it(const_cast<KVElementTreeWidget *>(this), QTreeWidgetItemIterator::Selected); *it;
         ++it) {
        if (KVElement *p = elementOf(*it))
            list.append(p);
    }
    return list;
}

void KVElementTreeWidget::dropEvent(QDropEvent *pEvent)
{
    // The default move would change the rows alone; the command changes the project and the rows
    // follow it.
    pEvent->setDropAction(Qt::IgnoreAction);
    pEvent->accept();
    if (pEvent->source() != this)
        return;
    QList<KVElement *> dragged = selectedElements();
    // Back to front, so that the dragged elements keep their stacking among themselves.
    std::reverse(dragged.begin(), dragged.end());
    QTreeWidgetItem *pTarget = itemAt(pEvent->pos());
    KVElement *pAt = elementOf(pTarget);
    if (!pAt || dragged.isEmpty())
        return;
    const bool bHolder = pAt->asContainer() || pAt->type() == KVElementType::Group;
    KVElement *pParent = nullptr;
    int nIndex = 0;
    switch (dropIndicatorPosition()) {
    case QAbstractItemView::OnItem:
    case QAbstractItemView::OnViewport:
        if (bHolder) {
            // Into the group or the scene, in front of its children.
            pParent = pAt;
            nIndex = pAt->children().size();
            break;
        }
        Q_FALLTHROUGH();
    case QAbstractItemView::AboveItem:
        // The row above stands in front of it.
        pParent = pAt->parent();
        nIndex = pParent ? pParent->children().indexOf(pAt) + 1 : 0;
        break;
    case QAbstractItemView::BelowItem:
        pParent = pAt->parent();
        nIndex = pParent ? pParent->children().indexOf(pAt) : 0;
        break;
    }
    if (!pParent)
        return;
    emit elementsDropped(dragged, pParent, nIndex);
}
