#include "KVKeyframeGraphicsItem.h"

#include "animation/KVKeyframe.h"
#include "animation/KVKeyframeSegment.h"

#include <QPainter>

KVKeyframeGraphicsItem::KVKeyframeGraphicsItem(KVKeyframe *pTrack, KVKeyValue *pStartKey, int nWidth,
                                               const QColor &color, QGraphicsItem *pParent)
    : QGraphicsItem(pParent)
    , m_pTrack(pTrack)
    , m_pStartKey(pStartKey)
    , m_nWidth(nWidth)
    , m_color(color)
{
    setFlag(ItemIsSelectable);
    setZValue(1);
    const int nIndex = pTrack->keyValues().indexOf(pStartKey);
    if (const KVKeyframeSegment *pSegment = pTrack->innerSegment(nIndex))
        setToolTip(KVKeyframeSegment::easingName(pSegment->easingCode()));
}

QRectF KVKeyframeGraphicsItem::boundingRect() const
{
    return QRectF(0, -BarHeight / 2.0, m_nWidth, BarHeight);
}

void KVKeyframeGraphicsItem::setWidth(int nWidth)
{
    prepareGeometryChange();
    m_nWidth = nWidth;
}

void KVKeyframeGraphicsItem::paint(QPainter *pPainter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const int nIndex = m_pTrack->keyValues().indexOf(m_pStartKey);
    const KVKeyframeSegment *pSegment = m_pTrack->innerSegment(nIndex);
    const bool bTransition = pSegment && pSegment->hasTransition();
    QColor fill = m_color;
    fill.setAlpha(isSelected() ? 230 : 150);
    if (bTransition) {
        pPainter->setPen(isSelected() ? QPen(QColor(QStringLiteral("#FF9800")), 2) : Qt::NoPen);
        pPainter->setBrush(fill);
        pPainter->drawRect(boundingRect().adjusted(0, 1, 0, -1));
    } else {
        pPainter->setPen(QPen(isSelected() ? QColor(QStringLiteral("#FF9800")) : m_color.darker(), 2, Qt::DashLine));
        pPainter->drawLine(QPointF(0, 0), QPointF(m_nWidth, 0));
    }
}
