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

void KVTextFloatingTool::placeAbove(const QPoint &ptInParent)
{
    adjustSize();
    QWidget *pParent = parentWidget();
    int nY = ptInParent.y() - height() - kGap;
    if (nY < 0)
        nY = ptInParent.y() + kGap;
    int nX = ptInParent.x();
    if (pParent) {
        nX = qBound(0, nX, qMax(0, pParent->width() - width()));
        nY = qBound(0, nY, qMax(0, pParent->height() - height()));
    }
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
    if (QWidget *pParent = parentWidget()) {
        pt.setX(qBound(0, pt.x(), qMax(0, pParent->width() - width())));
        pt.setY(qBound(0, pt.y(), qMax(0, pParent->height() - height())));
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
