#pragma once

#include <QGradientStops>
#include <QJsonArray>
#include <QWidget>

// The stops of a gradient on a strip: a click on the strip adds a stop of the colour there, a stop
// dragged along it moves, a double-click changes its colour and a right-click removes it (two
// stops always stay). A drag is framed by editStarted and editFinished, so that it is one step.
class KVGradientStrip : public QWidget
{
    Q_OBJECT
public:
    explicit KVGradientStrip(QWidget *pParent = nullptr);

    // The stops as the fill keeps them: [[position, ARGB], ...].
    QJsonArray stops() const;
    void setStops(const QJsonArray &jaStops);
    QSize sizeHint() const override { return QSize(200, 34); }

signals:
    void editStarted();
    void stopsEditing(const QJsonArray &jaStops);
    void editFinished();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;

private:
    QRect stripRect() const;
    double positionAt(int nX) const;
    int stopAt(const QPoint &pt) const;
    QColor colorAt(double dPosition) const;
    void changed();

    QGradientStops m_stops;
    int m_nDragged = -1;
};
