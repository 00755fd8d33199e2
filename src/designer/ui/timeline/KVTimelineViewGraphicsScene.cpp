#include "KVTimelineViewGraphicsScene.h"

#include "animation/KVTimeline.h"

#include <QPainter>

KVTimelineViewGraphicsScene::KVTimelineViewGraphicsScene(QObject *pParent)
    : QGraphicsScene(pParent)
{
    setItemIndexMethod(QGraphicsScene::BspTreeIndex);
}

void KVTimelineViewGraphicsScene::setPlayheadTime(int nTime)
{
    if (nTime == m_nPlayheadTime)
        return;
    const int nOld = m_scale.xForTime(m_nPlayheadTime);
    m_nPlayheadTime = nTime;
    const QRectF r = sceneRect();
    invalidate(QRectF(nOld - 2, r.top(), 4, r.height()), ForegroundLayer);
    invalidate(QRectF(m_scale.xForTime(nTime) - 2, r.top(), 4, r.height()), ForegroundLayer);
}

void KVTimelineViewGraphicsScene::setSnapX(int nX)
{
    if (nX == m_nSnapX)
        return;
    m_nSnapX = nX;
    invalidate(sceneRect(), ForegroundLayer);
}

void KVTimelineViewGraphicsScene::drawBackground(QPainter *pPainter, const QRectF &rect)
{
    pPainter->fillRect(rect, QColor(QStringLiteral("#F5F5F5")));
    const int nH = KVTimelineRows::RowHeight;
    const int nFirst = qMax(0, int(rect.top()) / nH);
    const int nLast = qMin(m_nRows - 1, int(rect.bottom()) / nH);
    for (int i = nFirst; i <= nLast; ++i) {
        if (i % 2)
            pPainter->fillRect(QRectF(rect.left(), i * nH, rect.width(), nH), QColor(QStringLiteral("#ECEFF1")));
    }
    pPainter->setPen(QColor(QStringLiteral("#CFD8DC")));
    const bool bGrid = m_pTimeline && m_pTimeline->showGrid();
    const int nRate = m_pTimeline ? KVTimeline::gridLinesPerSecond(m_pTimeline->gridSize()) : 1;
    for (int nTime : m_scale.lineTimes(int(rect.right()) + 1, bGrid, nRate)) {
        const int x = m_scale.xForTime(nTime);
        if (x >= rect.left())
            pPainter->drawLine(QPointF(x + 0.5, rect.top()), QPointF(x + 0.5, rect.bottom()));
    }
}

void KVTimelineViewGraphicsScene::drawForeground(QPainter *pPainter, const QRectF &rect)
{
    if (m_nSnapX >= 0) {
        pPainter->setPen(QPen(QColor(QStringLiteral("#2196F3")), 1, Qt::DashLine));
        pPainter->drawLine(QPointF(m_nSnapX + 0.5, rect.top()), QPointF(m_nSnapX + 0.5, rect.bottom()));
    }
    const int x = m_scale.xForTime(m_nPlayheadTime);
    pPainter->setPen(QPen(QColor(QStringLiteral("#F44336")), 1));
    pPainter->drawLine(QPointF(x + 0.5, rect.top()), QPointF(x + 0.5, rect.bottom()));
}
