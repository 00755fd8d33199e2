#include "KVTimelineRulerPanel.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

KVTimelineRulerPanel::KVTimelineRulerPanel(QWidget *pParent)
    : QWidget(pParent)
{
    setObjectName(QStringLiteral("KVTimelineRulerPanel"));
    setFixedHeight(Height);
    setMouseTracking(false);
}

void KVTimelineRulerPanel::setScale(const KVTimelineScale &scale)
{
    m_scale = scale;
    update();
}

void KVTimelineRulerPanel::setOffset(int nOffset)
{
    if (nOffset == m_nOffset)
        return;
    m_nOffset = nOffset;
    update();
}

void KVTimelineRulerPanel::setPlayheadTime(int nTime)
{
    if (nTime == m_nPlayheadTime)
        return;
    m_nPlayheadTime = nTime;
    update();
}

void KVTimelineRulerPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(QStringLiteral("#E0E0E0")));
    const double pps = m_scale.pixelPerSecond();
    if (pps <= 0)
        return;
    // A labelled tick every 1, 2, 5, 10, ... seconds so that labels stay 60 pixels apart or more.
    double dLabelSeconds = 1.0;
    for (double d : {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 30.0, 60.0, 300.0}) {
        dLabelSeconds = d;
        if (d * pps >= 60)
            break;
    }
    const double dTickSeconds = dLabelSeconds / 10.0;
    const int nFirst = int(std::floor(m_nOffset / (dTickSeconds * pps)));
    const int nLast = int(std::ceil((m_nOffset + width()) / (dTickSeconds * pps)));
    p.setPen(QColor(QStringLiteral("#616161")));
    QFont f = font();
    f.setPixelSize(10);
    p.setFont(f);
    for (int i = qMax(0, nFirst); i <= nLast; ++i) {
        const int nTime = qRound(i * dTickSeconds * 1000);
        const int x = m_scale.xForTime(nTime) - m_nOffset;
        const bool bLabel = i % 10 == 0;
        p.drawLine(x, height() - (bLabel ? 10 : 4), x, height());
        if (bLabel)
            p.drawText(x + 3, 11, QStringLiteral("%1s").arg(nTime / 1000.0));
    }
    const int x = m_scale.xForTime(m_nPlayheadTime) - m_nOffset;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(QStringLiteral("#F44336")));
    p.drawPolygon(QPolygon({QPoint(x - 5, height() - 10), QPoint(x + 5, height() - 10), QPoint(x, height())}));
}

void KVTimelineRulerPanel::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    m_bPressed = true;
    emit seekRequested(timeAt(pEvent->pos().x()), false);
}

void KVTimelineRulerPanel::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (m_bPressed)
        emit seekRequested(timeAt(pEvent->pos().x()), false);
}

void KVTimelineRulerPanel::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (!m_bPressed)
        return;
    m_bPressed = false;
    emit seekRequested(timeAt(pEvent->pos().x()), true);
}
