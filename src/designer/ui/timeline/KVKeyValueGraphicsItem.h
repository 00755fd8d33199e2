#pragma once

#include <QGraphicsItem>

class KVKeyValue;
class KVKeyframe;

// One key value on its property's lane: a diamond centred on the key's time. Selectable; the view
// moves selected key values in time by dragging them.
class KVKeyValueGraphicsItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 3 };
    static constexpr int Size = 11;

    KVKeyValueGraphicsItem(KVKeyframe *pTrack, KVKeyValue *pKey, QGraphicsItem *pParent = nullptr);

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *pPainter, const QStyleOptionGraphicsItem *pOption, QWidget *pWidget) override;

    KVKeyframe *track() const { return m_pTrack; }
    KVKeyValue *keyValue() const { return m_pKey; }
    // While dragged, the time the key is shown at (its own time otherwise).
    int shownTime() const { return m_nShownTime; }
    void setShownTime(int nTime) { m_nShownTime = nTime; }

private:
    KVKeyframe *m_pTrack = nullptr;
    KVKeyValue *m_pKey = nullptr;
    int m_nShownTime = 0;
};
