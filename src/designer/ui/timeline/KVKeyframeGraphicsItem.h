#pragma once

#include <QGraphicsItem>

class KVKeyValue;
class KVKeyframe;

// The bar of one segment of a property track, from a key value to the next one on the property's
// lane: filled when the segment moves the value (a transition), a thin line when it holds it.
// Selecting it selects the segment that easing, transitions and inverting act on.
class KVKeyframeGraphicsItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 2 };
    static constexpr int BarHeight = 10;

    // The segment that starts at pStartKey; nWidth its length in pixels.
    KVKeyframeGraphicsItem(KVKeyframe *pTrack, KVKeyValue *pStartKey, int nWidth, const QColor &color,
                           QGraphicsItem *pParent = nullptr);

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *pPainter, const QStyleOptionGraphicsItem *pOption, QWidget *pWidget) override;

    KVKeyframe *track() const { return m_pTrack; }
    KVKeyValue *startKey() const { return m_pStartKey; }
    void setWidth(int nWidth);

private:
    KVKeyframe *m_pTrack = nullptr;
    KVKeyValue *m_pStartKey = nullptr;
    int m_nWidth = 0;
    QColor m_color;
};
