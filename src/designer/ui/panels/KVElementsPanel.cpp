#include "KVElementsPanel.h"
#include "KVElementTreeWidget.h"

#include "commands/KVCommand.h"
#include "commands/KVDeleteOperation.h"
#include "commands/KVEditContext.h"
#include "commands/KVElementTreeOperation.h"
#include "commands/KVSelectOperation.h"
#include "document/KVDocument.h"
#include "model/KVElement.h"
#include "model/KVScene.h"
#include "ui/IUi.h"

#include "ActionManager.h"
#include "ICore.h"
#include "Reporter.h"

#include <QAction>
#include <QMenu>
#include <QVBoxLayout>

KVElementsPanel::KVElementsPanel(QWidget *pParent)
    : KVPanelBase(pParent)
    , m_pTree(new KVElementTreeWidget(this))
{
    setObjectName(QStringLiteral("ElementsPanel"));
    auto *pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pTree);
    m_pTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, &KVElementsPanel::onItemSelectionChanged);
    connect(m_pTree, &QTreeWidget::itemChanged, this, &KVElementsPanel::onItemChanged);
    connect(m_pTree, &KVElementTreeWidget::elementsDropped, this, &KVElementsPanel::onElementsDropped);
    connect(m_pTree, &QWidget::customContextMenuRequested, this, &KVElementsPanel::showContextMenu);
    // Delete removes the selected elements while the tree has the focus.
    auto *pDelete = new QAction(this);
    pDelete->setShortcut(QKeySequence::Delete);
    pDelete->setShortcutContext(Qt::WidgetShortcut);
    m_pTree->addAction(pDelete);
    connect(pDelete, &QAction::triggered, this, &KVElementsPanel::onDelete);
    connect(m_pTree, &QTreeWidget::itemExpanded, this,
            [](QTreeWidgetItem *p) { if (KVElement *e = KVElementTreeWidget::elementOf(p)) e->setElementPaneExpanded(true); });
    connect(m_pTree, &QTreeWidget::itemCollapsed, this,
            [](QTreeWidgetItem *p) { if (KVElement *e = KVElementTreeWidget::elementOf(p)) e->setElementPaneExpanded(false); });
}

void KVElementsPanel::refresh()
{
    m_bBuilding = true;
    m_pTree->clear();
    KVScene *pScene = document() ? document()->currentScene() : nullptr;
    if (pScene) {
        addRows(nullptr, pScene);
        m_pTree->topLevelItem(0)->setExpanded(true);
    }
    m_bBuilding = false;
    followSelection();
}

void KVElementsPanel::addRows(QTreeWidgetItem *pParentItem, KVElement *pElement)
{
    auto *pItem = pParentItem ? new QTreeWidgetItem(pParentItem) : new QTreeWidgetItem(m_pTree);
    pItem->setText(KVElementTreeWidget::NameColumn, pElement->name());
    pItem->setData(KVElementTreeWidget::NameColumn, KVElementTreeWidget::ElementRole,
                   QVariant::fromValue(static_cast<void *>(pElement)));
    setRowFlags(pItem, pElement);
    // Front-most first: the model keeps children back to front.
    const QList<KVElement *> &children = pElement->children();
    for (int i = children.size() - 1; i >= 0; --i)
        addRows(pItem, children.at(i));
    if (pParentItem && pElement->isElementPaneExpanded())
        pItem->setExpanded(true);
}

void KVElementsPanel::setRowFlags(QTreeWidgetItem *pItem, const KVElement *pElement)
{
    const bool bScene = pElement->asContainer() != nullptr;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    // A locked element cannot be picked in the tree; the scene's row only takes drops and names.
    if (!pElement->isLocked())
        flags |= Qt::ItemIsEditable | (bScene ? Qt::ItemIsDropEnabled : Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    if (!bScene)
        flags |= Qt::ItemIsUserCheckable;
    pItem->setFlags(flags);
    if (bScene)
        return;
    pItem->setCheckState(KVElementTreeWidget::ShowColumn, pElement->isVisible() ? Qt::Checked : Qt::Unchecked);
    pItem->setCheckState(KVElementTreeWidget::LockColumn, pElement->isLocked() ? Qt::Checked : Qt::Unchecked);
    pItem->setIcon(KVElementTreeWidget::ShowColumn,
                   IUi::getInstance()->icon(pElement->isVisible() ? QStringLiteral("show") : QStringLiteral("hide")));
    pItem->setIcon(KVElementTreeWidget::LockColumn,
                   IUi::getInstance()->icon(pElement->isLocked() ? QStringLiteral("lock") : QStringLiteral("unlock")));
}

void KVElementsPanel::followSelection()
{
    m_bBuilding = true;
    for (QTreeWidgetItemIterator it(m_pTree); *it; ++it) {
        const KVElement *p = KVElementTreeWidget::elementOf(*it);
        const bool bSelected = p && !p->asContainer() && p->isSelected();
        if ((*it)->isSelected() != bSelected)
            (*it)->setSelected(bSelected);
        if (bSelected) {
            for (QTreeWidgetItem *pUp = (*it)->parent(); pUp; pUp = pUp->parent())
                pUp->setExpanded(true);
        }
    }
    m_bBuilding = false;
}

void KVElementsPanel::onItemSelectionChanged()
{
    if (m_bBuilding || !document())
        return;
    KVEditContext c;
    c.pTarget = document();
    c.pScene = document()->currentScene();
    c.pSender = this;
    KVSelectOperation::run(KVSelectOperation::select(c, m_pTree->selectedElements()));
}

void KVElementsPanel::onItemChanged(QTreeWidgetItem *pItem, int nColumn)
{
    KVElement *pElement = KVElementTreeWidget::elementOf(pItem);
    if (m_bBuilding || !pElement || !document())
        return;
    if (nColumn == KVElementTreeWidget::NameColumn) {
        KVElementTreeOperation::RenameResult eResult;
        KVCommand *pCommand = KVElementTreeOperation::rename(document(), pElement, pItem->text(nColumn), &eResult);
        if (eResult == KVElementTreeOperation::Taken)
            Reporter::warning(tr("The %1 name already exists.\nPlease enter another name.")
                                  .arg(pElement->asContainer() ? tr("Scene") : tr("Element")));
        if (!submit(pCommand)) {
            m_bBuilding = true;
            pItem->setText(nColumn, pElement->name());
            m_bBuilding = false;
        }
        return;
    }
    if (nColumn != KVElementTreeWidget::ShowColumn && nColumn != KVElementTreeWidget::LockColumn)
        return;
    const bool bOn = pItem->checkState(nColumn) == Qt::Checked;
    submit(KVElementTreeOperation::setFlag(document(), pElement, nColumn == KVElementTreeWidget::LockColumn, bOn));
}

void KVElementsPanel::onElementsDropped(const QList<KVElement *> &elements, KVElement *pParent, int nIndex)
{
    submit(KVElementTreeOperation::move(document(), elements, pParent, nIndex));
}

void KVElementsPanel::onRename()
{
    QTreeWidgetItem *pItem = m_pTree->selectedItems().isEmpty() ? m_pTree->currentItem()
                                                                : m_pTree->selectedItems().constFirst();
    if (!pItem || !(pItem->flags() & Qt::ItemIsEditable))
        return;
    m_pTree->scrollToItem(pItem);
    m_pTree->setFocus();
    m_pTree->editItem(pItem, KVElementTreeWidget::NameColumn);
}

void KVElementsPanel::onDelete()
{
    if (!document())
        return;
    KVEditContext c;
    c.pTarget = document();
    c.pScene = document()->currentScene();
    c.pTimeline = c.pScene ? c.pScene->currentTimeline() : nullptr;
    submit(KVDeleteOperation::removeSelected(c));
}

void KVElementsPanel::showContextMenu(const QPoint &pt)
{
    ActionManager *pActions = ICore::instance() ? ICore::instance()->actionManager() : nullptr;
    if (!pActions || !document())
        return;
    QMenu menu(this);
    static const char *const kIds[] = {"Edit.Cut",  "Edit.Copy", "Edit.Paste", "Edit.Paste_With_Animation",
                                       "Edit.Delete", nullptr,   "Edit.Group_Elements", "Edit.Lock_All",
                                       "Edit.Hide ALL", "Edit.Lock", "Edit.Hide", nullptr, "Edit.Rename"};
    for (const char *pszId : kIds) {
        if (!pszId) {
            menu.addSeparator();
            continue;
        }
        if (QAction *pAction = pActions->getAction(QString::fromLatin1(pszId)))
            menu.addAction(pAction);
    }
    menu.exec(m_pTree->viewport()->mapToGlobal(pt));
}
