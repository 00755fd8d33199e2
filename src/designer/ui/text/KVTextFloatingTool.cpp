#include "KVTextFloatingTool.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QToolBar>

namespace {
constexpr int kGripWidth = 10;
constexpr int kGap = 10;
} // namespace

KVTextFloatingTool::KVTextFloatingTool(QWidget *pParent)
    : QFrame(pParent)
{
    setObjectName(QStringLiteral("TextFloatingTool"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setCursor(Qt::SizeAllCursor);
    auto *pLayout = new QHBoxLayout(this);
    pLayout->setContentsMargins(kGripWidth, 1, 2, 1);
    m_pToolBar = new QToolBar(this);
    m_pToolBar->setIconSize(QSize(16, 16));
    m_pToolBar->setCursor(Qt::ArrowCursor);
    pLayout->addWidget(m_pToolBar);
    hide();
}

void KVTextFloatingTool::placeAbove(const QPoint &ptInParent, const QRect &rcBounds)
{
    adjustSize();
    m_rcBounds = rcBounds;
    int nY = ptInParent.y() - height() - kGap;
    if (nY < rcBounds.top())
        nY = ptInParent.y() + kGap;
    const int nX = qBound(rcBounds.left(), ptInParent.x(), qMax(rcBounds.left(), rcBounds.right() + 1 - width()));
    nY = qBound(rcBounds.top(), nY, qMax(rcBounds.top(), rcBounds.bottom() + 1 - height()));
    move(nX, nY);
    m_bDragged = false;
}

void KVTextFloatingTool::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        m_bDragging = true;
        m_ptGrab = pEvent->pos();
        pEvent->accept();
        return;
    }
    QFrame::mousePressEvent(pEvent);
}

void KVTextFloatingTool::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (!m_bDragging) {
        QFrame::mouseMoveEvent(pEvent);
        return;
    }
    QPoint pt = mapToParent(pEvent->pos() - m_ptGrab);
    if (m_rcBounds.isValid()) {
        pt.setX(qBound(m_rcBounds.left(), pt.x(), qMax(m_rcBounds.left(), m_rcBounds.right() + 1 - width())));
        pt.setY(qBound(m_rcBounds.top(), pt.y(), qMax(m_rcBounds.top(), m_rcBounds.bottom() + 1 - height())));
    }
    move(pt);
    m_bDragged = true;
}

void KVTextFloatingTool::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (m_bDragging && pEvent->button() == Qt::LeftButton) {
        stopDrag();
        return;
    }
    QFrame::mouseReleaseEvent(pEvent);
}

void KVTextFloatingTool::stopDrag()
{
    if (!m_bDragging)
        return;
    m_bDragging = false;
    emit dragEnded();
}
