#pragma once

#include <QGraphicsItem>

class KVElement;

// An element's whole-animation bar on its row: from its first key value to its last, in its lane
// colour.
class KVElementGraphicsItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };
    static constexpr int BarHeight = 14;

    KVElementGraphicsItem(KVElement *pElement, int nWidth, const QColor &color, QGraphicsItem *pParent = nullptr);

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *pPainter, const QStyleOptionGraphicsItem *pOption, QWidget *pWidget) override;

    KVElement *element() const { return m_pElement; }

private:
    KVElement *m_pElement = nullptr;
    int m_nWidth = 0;
    QColor m_color;
};
