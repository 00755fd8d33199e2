#pragma once

#include "KVTimelineRows.h"
#include "KVTimelineScale.h"

#include <QGraphicsScene>

class KVTimeline;

// The graphics scene of the timeline view: the lanes of the rows, the grid or fine lines and the
// playhead drawn behind and over the items, and the position a drag snapped to.
class KVTimelineViewGraphicsScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit KVTimelineViewGraphicsScene(QObject *pParent = nullptr);

    const KVTimelineScale &scale() const { return m_scale; }
    void setScale(const KVTimelineScale &scale) { m_scale = scale; }
    void setTimeline(const KVTimeline *pTimeline) { m_pTimeline = pTimeline; }
    void setRowCount(int nRows) { m_nRows = nRows; }
    void setPlayheadTime(int nTime);
    int playheadTime() const { return m_nPlayheadTime; }
    // The x where a drag snapped (-1: none), highlighted until the drag ends.
    void setSnapX(int nX);

protected:
    void drawBackground(QPainter *pPainter, const QRectF &rect) override;
    void drawForeground(QPainter *pPainter, const QRectF &rect) override;

private:
    KVTimelineScale m_scale;
    const KVTimeline *m_pTimeline = nullptr;
    int m_nRows = 0;
    int m_nPlayheadTime = 0;
    int m_nSnapX = -1;
};
