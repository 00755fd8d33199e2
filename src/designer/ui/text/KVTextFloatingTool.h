#pragma once

#include <QFrame>
#include <QPoint>

class QToolBar;

// The text format toolbar floating over the stage while a text is edited there: a frame holding
// the tool's toolbar and a grip at its left by which the user drags it elsewhere in the stage.
class KVTextFloatingTool : public QFrame
{
    Q_OBJECT
public:
    explicit KVTextFloatingTool(QWidget *pParent);

    QToolBar *toolBar() const { return m_pToolBar; }
    // Moves the tool so that its bottom left corner sits above the parent point (by 10 pixels),
    // kept inside the bounds (parent coordinates); below the point when there is no room above.
    void placeAbove(const QPoint &ptInParent, const QRect &rcBounds);
    bool wasDragged() const { return m_bDragged; }

signals:
    void dragEnded();

public slots:
    void stopDrag();

protected:
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;

private:
    QToolBar *m_pToolBar;
    QPoint m_ptGrab;
    bool m_bDragging = false;
    bool m_bDragged = false;
    QRect m_rcBounds;
};
