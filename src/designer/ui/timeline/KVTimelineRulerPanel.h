#pragma once

#include "KVTimelineScale.h"

#include <QWidget>

// The time ruler above the view, scrolled with it: seconds and their tenths, and the playhead.
// Pressing or dragging on it moves the playhead (the window seeks the stage live).
class KVTimelineRulerPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Height = 24;

    explicit KVTimelineRulerPanel(QWidget *pParent = nullptr);

    void setScale(const KVTimelineScale &scale);
    void setOffset(int nOffset);
    void setPlayheadTime(int nTime);
    int playheadTime() const { return m_nPlayheadTime; }
    // The time under an x of the widget.
    int timeAt(int nX) const { return m_scale.timeForX(nX + m_nOffset); }
    QSize sizeHint() const override { return QSize(400, Height); }

signals:
    // bFinished: the press or drag ended.
    void seekRequested(int nTime, bool bFinished);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;

private:
    KVTimelineScale m_scale;
    int m_nOffset = 0;
    int m_nPlayheadTime = 0;
    bool m_bPressed = false;
};
