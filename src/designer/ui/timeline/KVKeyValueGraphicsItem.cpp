#include "KVKeyValueGraphicsItem.h"

#include "animation/KVKeyValue.h"

#include <QPainter>
#include <QPolygonF>

KVKeyValueGraphicsItem::KVKeyValueGraphicsItem(KVKeyframe *pTrack, KVKeyValue *pKey, QGraphicsItem *pParent)
    : QGraphicsItem(pParent)
    , m_pTrack(pTrack)
    , m_pKey(pKey)
    , m_nShownTime(pKey ? pKey->time() : 0)
{
    setFlag(ItemIsSelectable);
    setZValue(2);
    if (pKey)
        setToolTip(QStringLiteral("%1 ms").arg(pKey->time()));
}

QRectF KVKeyValueGraphicsItem::boundingRect() const
{
    return QRectF(-Size / 2.0 - 1, -Size / 2.0 - 1, Size + 2, Size + 2);
}

void KVKeyValueGraphicsItem::paint(QPainter *pPainter, const QStyleOptionGraphicsItem *, QWidget *)
{
    const double h = Size / 2.0;
    const QPolygonF diamond({QPointF(0, -h), QPointF(h, 0), QPointF(0, h), QPointF(-h, 0)});
    pPainter->setRenderHint(QPainter::Antialiasing);
    pPainter->setPen(QPen(isSelected() ? QColor(QStringLiteral("#FF9800")) : QColor(60, 60, 60), 1));
    pPainter->setBrush(isSelected() ? QColor(QStringLiteral("#FFE0B2")) : QColor(QStringLiteral("#FAFAFA")));
    pPainter->drawPolygon(diamond);
}
