#include "KVElementGraphicsItem.h"

#include <QPainter>

KVElementGraphicsItem::KVElementGraphicsItem(KVElement *pElement, int nWidth, const QColor &color,
                                             QGraphicsItem *pParent)
    : QGraphicsItem(pParent)
    , m_pElement(pElement)
    , m_nWidth(qMax(2, nWidth))
    , m_color(color)
{
}

QRectF KVElementGraphicsItem::boundingRect() const
{
    return QRectF(0, -BarHeight / 2.0, m_nWidth, BarHeight);
}

void KVElementGraphicsItem::paint(QPainter *pPainter, const QStyleOptionGraphicsItem *, QWidget *)
{
    QColor fill = m_color;
    fill.setAlpha(110);
    pPainter->setPen(QPen(m_color.darker(130), 1));
    pPainter->setBrush(fill);
    pPainter->drawRoundedRect(boundingRect().adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}
