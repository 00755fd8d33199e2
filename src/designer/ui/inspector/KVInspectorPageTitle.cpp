#include "ui/inspector/KVInspectorPageTitle.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

KVInspectorPageTitle::KVInspectorPageTitle(const QString &strTitle, QWidget *pParent)
    : QWidget(pParent)
    , m_strTitle(strTitle)
{
    setObjectName(QStringLiteral("inspectorPageTitle"));
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(strTitle);
}

void KVInspectorPageTitle::setExpanded(bool bExpanded)
{
    m_bExpanded = bExpanded;
    update();
}

QSize KVInspectorPageTitle::sizeHint() const
{
    return QSize(200, fontMetrics().height() + 10);
}

void KVInspectorPageTitle::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor background = palette().color(QPalette::Button);
    if (m_bPressed)
        background = background.darker(115);
    else if (m_bHovered)
        background = background.lighter(108);
    painter.fillRect(rect(), background);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
    // The arrow points down while the page is open.
    const int nMid = height() / 2;
    QPainterPath arrow;
    if (m_bExpanded) {
        arrow.moveTo(8, nMid - 2);
        arrow.lineTo(16, nMid - 2);
        arrow.lineTo(12, nMid + 3);
    } else {
        arrow.moveTo(10, nMid - 4);
        arrow.lineTo(15, nMid);
        arrow.lineTo(10, nMid + 4);
    }
    arrow.closeSubpath();
    painter.fillPath(arrow, palette().color(QPalette::ButtonText));
    painter.setPen(palette().color(QPalette::ButtonText));
    QFont font = painter.font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(rect().adjusted(22, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, m_strTitle);
}

void KVInspectorPageTitle::enterEvent(QEvent *)
{
    m_bHovered = true;
    update();
}

void KVInspectorPageTitle::leaveEvent(QEvent *)
{
    m_bHovered = false;
    m_bPressed = false;
    update();
}

void KVInspectorPageTitle::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        m_bPressed = true;
        update();
    }
}

void KVInspectorPageTitle::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (!m_bPressed || pEvent->button() != Qt::LeftButton)
        return;
    m_bPressed = false;
    update();
    if (rect().contains(pEvent->pos()))
        emit clicked(this);
}
