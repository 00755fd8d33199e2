#include "KVTimelineView.h"

#include "KVElementGraphicsItem.h"
#include "KVKeyValueGraphicsItem.h"
#include "KVKeyframeGraphicsItem.h"
#include "KVTimelineViewGraphicsScene.h"
#include "TimelineColor.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVTimeline.h"
#include "model/KVElement.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

KVTimelineView::KVTimelineView(QWidget *pParent)
    : QGraphicsView(pParent)
    , m_pScene(new KVTimelineViewGraphicsScene(this))
{
    setObjectName(QStringLiteral("KVTimelineView"));
    setScene(m_pScene);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setDragMode(QGraphicsView::RubberBandDrag);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
    setFocusPolicy(Qt::StrongFocus);
}

void KVTimelineView::build(const QList<KVTimelineRow> &rows, const KVTimeline *pTimeline,
                           const KVTimelineScale &scale)
{
    m_pPressed = nullptr;
    m_bDragging = false;
    m_dragStart.clear();
    m_keyItems.clear();
    // Items go in without an index; the index is built once at the end.
    m_pScene->setItemIndexMethod(QGraphicsScene::NoIndex);
    // The newest first: the scene takes each one off the end of its list instead of searching it.
    for (int i = m_items.size() - 1; i >= 0; --i)
        delete m_items.at(i);
    m_items.clear();
    m_items.reserve(rows.size() * 4);
    // A fixed rectangle while items go in, so that the scene does not grow it item by item.
    m_pScene->setSceneRect(0, 0, 1, 1);
    m_pTimeline = pTimeline;
    m_pScene->setScale(scale);
    m_pScene->setTimeline(pTimeline);
    m_pScene->setRowCount(rows.size());
    int nDuration = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const KVTimelineRow &row = rows.at(i);
        if (row.kind == KVTimelineRow::Scene || !pTimeline)
            continue;
        const QColor color = TimelineColor::instance()->elementColor(row.pElement->id());
        if (row.kind == KVTimelineRow::Element) {
            const KVAnimation *pAnimation = pTimeline->findAnimation(row.pElement, pTimeline->currentLayout());
            if (!pAnimation || pAnimation->keyframes().isEmpty())
                continue;
            int nFirst = -1;
            for (const KVKeyframe *pTrack : pAnimation->keyframes()) {
                if (!pTrack->keyValues().isEmpty()) {
                    const int nTime = pTrack->keyValues().first()->time();
                    nFirst = nFirst < 0 ? nTime : qMin(nFirst, nTime);
                }
            }
            const int nLast = pAnimation->length();
            nDuration = qMax(nDuration, nLast);
            auto *pBar = new KVElementGraphicsItem(row.pElement, scale.xForTime(nLast) - scale.xForTime(qMax(0, nFirst)), color);
            pBar->setPos(scale.xForTime(qMax(0, nFirst)), laneCentre(i));
            addOwnItem(pBar);
            continue;
        }
        KVKeyframe *pTrack = row.pTrack;
        const QList<KVKeyValue *> &keys = pTrack->keyValues();
        for (int k = 0; k < keys.size(); ++k) {
            KVKeyValue *pKey = keys.at(k);
            if (k + 1 < keys.size()) {
                auto *pBar = new KVKeyframeGraphicsItem(pTrack, pKey,
                                                        scale.xForTime(keys.at(k + 1)->time()) - scale.xForTime(pKey->time()), color);
                pBar->setPos(scale.xForTime(pKey->time()), laneCentre(i));
                addOwnItem(pBar);
            }
            auto *pItem = new KVKeyValueGraphicsItem(pTrack, pKey);
            pItem->setPos(scale.xForTime(pKey->time()), laneCentre(i));
            addOwnItem(pItem);
            m_keyItems.insert(pKey, pItem);
        }
    }
    m_pScene->setItemIndexMethod(QGraphicsScene::BspTreeIndex);
    const int nWidth = qMax(scale.xForTime(nDuration) + 400, viewport()->width());
    m_pScene->setSceneRect(0, 0, nWidth, qMax(rows.size() * KVTimelineRows::RowHeight, viewport()->height()));
}

void KVTimelineView::addOwnItem(QGraphicsItem *pItem)
{
    m_pScene->addItem(pItem);
    m_items.append(pItem);
}

void KVTimelineView::setPlayheadTime(int nTime)
{
    m_pScene->setPlayheadTime(nTime);
}

QList<KVTimelineOperation::KeyRef> KVTimelineView::selectedKeys() const
{
    QList<KVTimelineOperation::KeyRef> keys;
    for (QGraphicsItem *pItem : m_pScene->selectedItems()) {
        if (pItem->type() == KVKeyValueGraphicsItem::Type) {
            auto *pKeyItem = static_cast<KVKeyValueGraphicsItem *>(pItem);
            keys.append({pKeyItem->track(), pKeyItem->keyValue()});
        }
    }
    return keys;
}

QList<KVTimelineOperation::KeyRef> KVTimelineView::selectedSegments() const
{
    QList<KVTimelineOperation::KeyRef> segments;
    for (QGraphicsItem *pItem : m_pScene->selectedItems()) {
        if (pItem->type() == KVKeyframeGraphicsItem::Type) {
            auto *pBar = static_cast<KVKeyframeGraphicsItem *>(pItem);
            segments.append({pBar->track(), pBar->startKey()});
        }
    }
    return segments;
}

void KVTimelineView::mousePressEvent(QMouseEvent *pEvent)
{
    m_pPressed = nullptr;
    QGraphicsItem *pItem = itemAt(pEvent->pos());
    if (pEvent->button() == Qt::LeftButton && pItem && pItem->type() == KVKeyValueGraphicsItem::Type) {
        m_pPressed = static_cast<KVKeyValueGraphicsItem *>(pItem);
        // A press on a selected key keeps the selection, so that all selected keys move together.
        if (!m_pPressed->isSelected()) {
            if (!(pEvent->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier)))
                m_pScene->clearSelection();
            m_pPressed->setSelected(true);
        }
        m_dPressX = mapToScene(pEvent->pos()).x();
        m_bDragging = false;
        pEvent->accept();
        return;
    }
    QGraphicsView::mousePressEvent(pEvent);
}

void KVTimelineView::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (!m_pPressed) {
        QGraphicsView::mouseMoveEvent(pEvent);
        return;
    }
    const double dX = mapToScene(pEvent->pos()).x();
    if (!m_bDragging) {
        if (std::abs(dX - m_dPressX) < QApplication::startDragDistance() / 2.0)
            return;
        m_bDragging = true;
        m_dragStart.clear();
        for (QGraphicsItem *pItem : m_pScene->selectedItems()) {
            if (pItem->type() == KVKeyValueGraphicsItem::Type) {
                auto *pKeyItem = static_cast<KVKeyValueGraphicsItem *>(pItem);
                m_dragStart.insert(pKeyItem, pKeyItem->keyValue()->time());
            }
        }
    }
    const KVTimelineScale &scale = m_pScene->scale();
    const int nPressedStart = m_dragStart.value(m_pPressed);
    const int nWanted = scale.timeForX(scale.xForTime(nPressedStart) + (dX - m_dPressX));
    KVTimelineScale::SnapSettings snap;
    if (m_pTimeline) {
        snap.bShowSnapping = m_pTimeline->showSnapping();
        snap.bSnapToKeyframes = m_pTimeline->snapToKeyframes();
        snap.bSnapToPlayhead = m_pTimeline->snapToPlayhead();
        snap.bSnapToGrid = m_pTimeline->snapToGrid();
        snap.bShowGrid = m_pTimeline->showGrid();
        snap.nGridRate = KVTimeline::gridLinesPerSecond(m_pTimeline->gridSize());
    }
    snap.nPlayheadTime = m_pScene->playheadTime();
    snap.nVisibleWidth = int(mapToScene(viewport()->rect().topRight()).x());
    if (snap.bSnapToKeyframes) {
        for (auto it = m_keyItems.cbegin(); it != m_keyItems.cend(); ++it) {
            if (!it.value()->isSelected())
                snap.otherTimes.append(it.key()->time());
        }
    }
    bool bSnapped = false;
    const int nTime = scale.snap(nWanted, snap, &bSnapped);
    m_pScene->setSnapX(bSnapped ? scale.xForTime(nTime) : -1);
    int nDelta = nTime - nPressedStart;
    for (auto it = m_dragStart.cbegin(); it != m_dragStart.cend(); ++it)
        nDelta = qMax(nDelta, -it.value());
    for (auto it = m_dragStart.cbegin(); it != m_dragStart.cend(); ++it) {
        it.key()->setShownTime(it.value() + nDelta);
        it.key()->setPos(scale.xForTime(it.value() + nDelta), it.key()->pos().y());
    }
}

void KVTimelineView::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (!m_pPressed) {
        QGraphicsView::mouseReleaseEvent(pEvent);
        return;
    }
    endDrag();
}

void KVTimelineView::endDrag()
{
    m_pScene->setSnapX(-1);
    QList<KVTimelineOperation::KeyMove> moves;
    if (m_bDragging) {
        for (auto it = m_dragStart.cbegin(); it != m_dragStart.cend(); ++it) {
            if (it.key()->shownTime() != it.value())
                moves.append({it.key()->track(), it.key()->keyValue(), it.key()->shownTime()});
        }
    }
    m_pPressed = nullptr;
    m_bDragging = false;
    m_dragStart.clear();
    if (!moves.isEmpty())
        emit keysMoved(moves);
}

void KVTimelineView::wheelEvent(QWheelEvent *pEvent)
{
    if (pEvent->modifiers() & Qt::ControlModifier) {
        if (pEvent->angleDelta().y() != 0)
            emit zoomStepped(pEvent->angleDelta().y() > 0);
        pEvent->accept();
        return;
    }
    QGraphicsView::wheelEvent(pEvent);
}

void KVTimelineView::keyPressEvent(QKeyEvent *pEvent)
{
    if (pEvent->key() == Qt::Key_Delete || pEvent->key() == Qt::Key_Backspace) {
        emit deleteRequested();
        return;
    }
    QGraphicsView::keyPressEvent(pEvent);
}

void KVTimelineView::contextMenuEvent(QContextMenuEvent *pEvent)
{
    QGraphicsItem *pItem = itemAt(pEvent->pos());
    if (pItem && !pItem->isSelected() && (pItem->flags() & QGraphicsItem::ItemIsSelectable)) {
        m_pScene->clearSelection();
        pItem->setSelected(true);
    }
    const bool bSegments = !selectedSegments().isEmpty();
    QMenu menu(this);
    menu.addAction(tr("Easing..."), this, &KVTimelineView::easingRequested)->setEnabled(bSegments);
    menu.addAction(tr("Create Transition"), this, [this] { emit transitionRequested(true); })->setEnabled(bSegments);
    menu.addAction(tr("Remove Transition"), this, [this] { emit transitionRequested(false); })->setEnabled(bSegments);
    menu.addAction(tr("Invert Animation Segment"), this, &KVTimelineView::invertRequested)->setEnabled(bSegments);
    menu.addSeparator();
    menu.addAction(tr("Delete"), this, &KVTimelineView::deleteRequested)->setEnabled(!selectedKeys().isEmpty());
    menu.exec(pEvent->globalPos());
}
