#include "ui/inspector/KVGradientStrip.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {
constexpr int kMargin = 6;
constexpr int kHandle = 10;
} // namespace

KVGradientStrip::KVGradientStrip(QWidget *pParent)
    : QWidget(pParent)
{
    setMinimumHeight(34);
    setToolTip(tr("Click to add a stop, drag to move it, double-click to change its colour, right-click to remove it"));
}

QJsonArray KVGradientStrip::stops() const
{
    QJsonArray ja;
    for (const QGradientStop &stop : m_stops)
        ja.append(QJsonArray{stop.first, int(stop.second.rgba())});
    return ja;
}

void KVGradientStrip::setStops(const QJsonArray &jaStops)
{
    if (m_nDragged >= 0)
        return;
    m_stops.clear();
    for (const QJsonValue &jv : jaStops) {
        const QJsonArray jaStop = jv.toArray();
        if (jaStop.size() == 2)
            m_stops.append({jaStop.at(0).toDouble(), QColor::fromRgba(QRgb(jaStop.at(1).toInt()))});
    }
    update();
}

QRect KVGradientStrip::stripRect() const
{
    return QRect(kMargin, 2, width() - 2 * kMargin, height() - kHandle - 6);
}

double KVGradientStrip::positionAt(int nX) const
{
    const QRect r = stripRect();
    return qBound(0.0, double(nX - r.left()) / qMax(1, r.width()), 1.0);
}

int KVGradientStrip::stopAt(const QPoint &pt) const
{
    const QRect r = stripRect();
    for (int i = 0; i < m_stops.size(); ++i) {
        const int nX = r.left() + qRound(m_stops.at(i).first * r.width());
        if (qAbs(pt.x() - nX) <= kHandle / 2 + 1 && pt.y() >= r.top())
            return i;
    }
    return -1;
}

QColor KVGradientStrip::colorAt(double dPosition) const
{
    if (m_stops.isEmpty())
        return Qt::white;
    QGradientStops sorted = m_stops;
    std::sort(sorted.begin(), sorted.end(), [](const QGradientStop &a, const QGradientStop &b) { return a.first < b.first; });
    if (dPosition <= sorted.first().first)
        return sorted.first().second;
    for (int i = 1; i < sorted.size(); ++i) {
        if (dPosition <= sorted.at(i).first) {
            const double dSpan = qMax(1e-9, sorted.at(i).first - sorted.at(i - 1).first);
            const double f = (dPosition - sorted.at(i - 1).first) / dSpan;
            const QColor a = sorted.at(i - 1).second, b = sorted.at(i).second;
            return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * f, a.greenF() + (b.greenF() - a.greenF()) * f,
                                    a.blueF() + (b.blueF() - a.blueF()) * f, a.alphaF() + (b.alphaF() - a.alphaF()) * f);
        }
    }
    return sorted.last().second;
}

void KVGradientStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = stripRect();
    QLinearGradient gradient(r.topLeft(), r.topRight());
    QGradientStops sorted = m_stops;
    std::sort(sorted.begin(), sorted.end(), [](const QGradientStop &a, const QGradientStop &b) { return a.first < b.first; });
    gradient.setStops(sorted);
    painter.fillRect(r, Qt::white);
    painter.fillRect(r, gradient);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    for (int i = 0; i < m_stops.size(); ++i) {
        const int nX = r.left() + qRound(m_stops.at(i).first * r.width());
        const QRect handle(nX - kHandle / 2, r.bottom() + 2, kHandle, kHandle);
        painter.setBrush(m_stops.at(i).second);
        painter.setPen(i == m_nDragged ? palette().color(QPalette::Highlight) : palette().color(QPalette::Text));
        painter.drawRect(handle);
    }
}

void KVGradientStrip::mousePressEvent(QMouseEvent *pEvent)
{
    const int nStop = stopAt(pEvent->pos());
    if (pEvent->button() == Qt::RightButton) {
        if (nStop >= 0 && m_stops.size() > 2) {
            emit editStarted();
            m_stops.removeAt(nStop);
            changed();
            emit editFinished();
        }
        return;
    }
    if (pEvent->button() != Qt::LeftButton)
        return;
    emit editStarted();
    if (nStop >= 0) {
        m_nDragged = nStop;
    } else {
        const double dPosition = positionAt(pEvent->x());
        m_stops.append({dPosition, colorAt(dPosition)});
        m_nDragged = m_stops.size() - 1;
        changed();
    }
    update();
}

void KVGradientStrip::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (m_nDragged < 0)
        return;
    m_stops[m_nDragged].first = positionAt(pEvent->x());
    changed();
}

void KVGradientStrip::mouseReleaseEvent(QMouseEvent *)
{
    if (m_nDragged < 0)
        return;
    m_nDragged = -1;
    update();
    emit editFinished();
}

void KVGradientStrip::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    const int nStop = stopAt(pEvent->pos());
    if (nStop < 0)
        return;
    const QColor color = QColorDialog::getColor(m_stops.at(nStop).second, this, tr("Stop Color"),
                                                QColorDialog::ShowAlphaChannel);
    if (!color.isValid())
        return;
    emit editStarted();
    m_stops[nStop].second = color;
    changed();
    emit editFinished();
}

void KVGradientStrip::changed()
{
    update();
    emit stopsEditing(stops());
}
