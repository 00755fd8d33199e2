#pragma once

#include "KVTimelineRows.h"
#include "KVTimelineScale.h"
#include "commands/KVTimelineOperation.h"

#include <QGraphicsView>
#include <QHash>

class KVKeyValueGraphicsItem;
class KVTimeline;
class KVTimelineViewGraphicsScene;

// The right side of the timeline: one lane per row, with the element bars, the property tracks'
// segment bars and key values of the current timeline. Key values are dragged in time (the
// selected ones together, snapped by the timeline's rules, one command when dropped); Ctrl + wheel
// zooms. What the user asks for goes out as signals; the window turns them into commands.
class KVTimelineView : public QGraphicsView
{
    Q_OBJECT
public:
    explicit KVTimelineView(QWidget *pParent = nullptr);

    KVTimelineViewGraphicsScene *timelineScene() const { return m_pScene; }
    // Builds every item again from the rows of the timeline at the scale.
    void build(const QList<KVTimelineRow> &rows, const KVTimeline *pTimeline, const KVTimelineScale &scale);
    void setPlayheadTime(int nTime);

    // The selected key values, and the selected segments (named by their start keys).
    QList<KVTimelineOperation::KeyRef> selectedKeys() const;
    QList<KVTimelineOperation::KeyRef> selectedSegments() const;
    // The item of a key value, or null.
    KVKeyValueGraphicsItem *keyItem(const KVKeyValue *pKey) const { return m_keyItems.value(pKey); }
    // The scene position of a row's lane centre.
    static int laneCentre(int nRow) { return nRow * KVTimelineRows::RowHeight + KVTimelineRows::RowHeight / 2; }

signals:
    void keysMoved(const QList<KVTimelineOperation::KeyMove> &moves);
    // Ctrl + wheel: forward zooms in.
    void zoomStepped(bool bForward);
    void deleteRequested();
    void easingRequested();
    void transitionRequested(bool bOn);
    void invertRequested();

protected:
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void wheelEvent(QWheelEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void contextMenuEvent(QContextMenuEvent *pEvent) override;

private:
    void endDrag();
    void addOwnItem(QGraphicsItem *pItem);

    KVTimelineViewGraphicsScene *m_pScene = nullptr;
    const KVTimeline *m_pTimeline = nullptr;
    // Every item of the view, in the order they were added.
    QList<QGraphicsItem *> m_items;
    QHash<const KVKeyValue *, KVKeyValueGraphicsItem *> m_keyItems;
    // The drag of key values: the item pressed, where, and the times the dragged keys had.
    KVKeyValueGraphicsItem *m_pPressed = nullptr;
    double m_dPressX = 0.0;
    bool m_bDragging = false;
    QHash<KVKeyValueGraphicsItem *, int> m_dragStart;
};
