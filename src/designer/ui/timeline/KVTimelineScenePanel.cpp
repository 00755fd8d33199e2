#include "KVTimelineScenePanel.h"

#include "TimelineColor.h"

#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "model/KVElement.h"

#include <QColorDialog>
#include <QHeaderView>
#include <QScrollBar>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

enum Role { ElementRole = Qt::UserRole + 1, TrackRole };

// Every row is as tall as a lane of the view.
class RowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), KVTimelineRows::RowHeight);
    }
};

QIcon laneMarker(const QColor &color)
{
    static QHash<QRgb, QIcon> cache;
    auto it = cache.find(color.rgb());
    if (it != cache.end())
        return *it;
    QPixmap pixmap(6, 20);
    pixmap.fill(color);
    return *cache.insert(color.rgb(), QIcon(pixmap));
}

KVElement *elementOf(const QTreeWidgetItem *pItem)
{
    return static_cast<KVElement *>(pItem->data(0, ElementRole).value<void *>());
}

KVKeyframe *trackOf(const QTreeWidgetItem *pItem)
{
    return static_cast<KVKeyframe *>(pItem->data(0, TrackRole).value<void *>());
}

} // namespace

KVTimelineScenePanel::KVTimelineScenePanel(QWidget *pParent)
    : QTreeWidget(pParent)
{
    setObjectName(QStringLiteral("KVTimelineScenePanel"));
    setColumnCount(2);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setItemDelegate(new RowDelegate(this));
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIndentation(12);
    setIconSize(QSize(6, 20));
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(ValueColumn, QHeaderView::Fixed);
    header()->resizeSection(ValueColumn, 90);
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *pItem) {
        if (!trackOf(pItem) && elementOf(pItem) && pItem != m_items.value(0))
            emit elementClicked(elementOf(pItem));
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, &KVTimelineScenePanel::onDoubleClicked);
    connect(this, &QTreeWidget::itemChanged, this, &KVTimelineScenePanel::onPropEditFinished);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *pItem) {
        if (!m_bBuilding && elementOf(pItem))
            emit elementExpanded(elementOf(pItem), true);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *pItem) {
        if (!m_bBuilding && elementOf(pItem))
            emit elementExpanded(elementOf(pItem), false);
    });
}

void KVTimelineScenePanel::build(const QList<KVTimelineRow> &rows, int nTime)
{
    m_bBuilding = true;
    setUpdatesEnabled(false);
    const int nScroll = verticalScrollBar()->value();
    clear();
    m_items.clear();
    m_propertyItems.clear();
    QList<QTreeWidgetItem *> topLevel;
    QTreeWidgetItem *pOwner = nullptr;
    QList<QTreeWidgetItem *> expanded;
    for (const KVTimelineRow &row : rows) {
        QTreeWidgetItem *pItem = nullptr;
        if (row.kind == KVTimelineRow::Property && pOwner) {
            pItem = new QTreeWidgetItem(pOwner);
            pItem->setText(NameColumn, KVPropertyCatalogue::displayName(row.pTrack->type()));
            pItem->setData(0, TrackRole, QVariant::fromValue<void *>(row.pTrack));
            pItem->setText(ValueColumn, shownValue(row.pTrack, nTime));
            pItem->setFlags(pItem->flags() | Qt::ItemIsEditable);
            m_propertyItems.append({pItem, row.pTrack});
        } else {
            pItem = new QTreeWidgetItem;
            topLevel.append(pItem);
            const bool bScene = row.kind == KVTimelineRow::Scene;
            const QString strName = row.pElement->name();
            pItem->setText(NameColumn, QString(row.nDepth * 2, QLatin1Char(' ')) + strName);
            pItem->setIcon(NameColumn, laneMarker(bScene ? TimelineColor::instance()->sceneColor()
                                                          : TimelineColor::instance()->elementColor(row.pElement->id())));
            pItem->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
            if (!bScene && row.bExpanded)
                expanded.append(pItem);
            if (!bScene && !row.bExpanded)
                pItem->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            pOwner = bScene ? nullptr : pItem;
        }
        pItem->setData(0, ElementRole, QVariant::fromValue<void *>(row.pElement));
        m_items.append(pItem);
    }
    addTopLevelItems(topLevel);
    for (QTreeWidgetItem *pItem : qAsConst(expanded))
        pItem->setExpanded(true);
    verticalScrollBar()->setValue(nScroll);
    setUpdatesEnabled(true);
    m_bBuilding = false;
}

QString KVTimelineScenePanel::shownValue(const KVKeyframe *pTrack, int nTime) const
{
    return valueText(pTrack, pTrack->valueAt(nTime));
}

QString KVTimelineScenePanel::valueText(const KVKeyframe *pTrack, const QVariant &value)
{
    const int nCode = pTrack->type();
    if (nCode == KVPropertyCatalogue::Display)
        return value.toDouble() != 0.0 ? tr("On") : tr("Off");
    if (KVPropertyCatalogue::unitClass(nCode) == KVPropertyCatalogue::UnitClass::Color) {
        const QColor color = value.value<QColor>();
        return color.name(color.alpha() < 255 ? QColor::HexArgb : QColor::HexRgb);
    }
    if (value.type() == QVariant::PointF || value.type() == QVariant::Point) {
        const QPointF pt = value.toPointF();
        return QStringLiteral("%1, %2").arg(qRound(pt.x())).arg(qRound(pt.y()));
    }
    QString strUnit = pTrack->unit();
    if (strUnit.isEmpty())
        strUnit = KVPropertyCatalogue::fixedUnit(nCode);
    const double dShown = strUnit == QLatin1String("%") ? value.toDouble() * 100.0 : value.toDouble();
    const QString strNumber = QString::number(qRound(dShown * 100) / 100.0);
    return strUnit.isEmpty() ? strNumber : QStringLiteral("%1 %2").arg(strNumber, strUnit);
}

QVariant KVTimelineScenePanel::storedValue(const KVKeyframe *pTrack, double dTyped)
{
    QString strUnit = pTrack->unit();
    if (strUnit.isEmpty())
        strUnit = KVPropertyCatalogue::fixedUnit(pTrack->type());
    return strUnit == QLatin1String("%") ? dTyped / 100.0 : dTyped;
}

void KVTimelineScenePanel::refreshValues(int nTime)
{
    const QSignalBlocker blocker(this);
    for (const auto &entry : qAsConst(m_propertyItems)) {
        const QString strText = shownValue(entry.second, nTime);
        if (entry.first->text(ValueColumn) != strText)
            entry.first->setText(ValueColumn, strText);
    }
}

void KVTimelineScenePanel::onDoubleClicked(QTreeWidgetItem *pItem, int)
{
    KVKeyframe *pTrack = trackOf(pItem);
    KVElement *pElement = elementOf(pItem);
    if (!pTrack || !pElement)
        return;
    const int nCode = pTrack->type();
    if (nCode == KVPropertyCatalogue::Display) {
        emit propertyEdited(pElement, nCode, pItem->text(ValueColumn) == tr("On") ? 0.0 : 1.0);
        return;
    }
    if (KVPropertyCatalogue::unitClass(nCode) == KVPropertyCatalogue::UnitClass::Color) {
        const QColor color = QColorDialog::getColor(QColor(pItem->text(ValueColumn)), this, QString(),
                                                    QColorDialog::ShowAlphaChannel);
        if (color.isValid())
            emit propertyEdited(pElement, nCode, color);
        return;
    }
    if (pItem->text(ValueColumn).contains(QLatin1Char(',')))
        return;
    // The number alone is edited; the unit comes back when the row is shown again.
    const QSignalBlocker blocker(this);
    pItem->setText(ValueColumn, pItem->text(ValueColumn).section(QLatin1Char(' '), 0, 0));
    editItem(pItem, ValueColumn);
}

void KVTimelineScenePanel::onPropEditFinished(QTreeWidgetItem *pItem, int nColumn)
{
    KVKeyframe *pTrack = trackOf(pItem);
    KVElement *pElement = elementOf(pItem);
    if (m_bBuilding || nColumn != ValueColumn || !pTrack || !pElement)
        return;
    bool bOk = false;
    const double dTyped = pItem->text(ValueColumn).section(QLatin1Char(' '), 0, 0).toDouble(&bOk);
    if (bOk)
        emit propertyEdited(pElement, pTrack->type(), storedValue(pTrack, dTyped));
}
