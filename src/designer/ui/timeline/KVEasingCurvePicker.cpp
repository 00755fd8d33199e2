#include "KVEasingCurvePicker.h"

#include "animation/KVKeyframeSegment.h"

#include <QGridLayout>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {
constexpr int kColumns = 8;
}

KVEasingCurvePicker::KVEasingCurvePicker(int nCurrentCode, QWidget *pParent)
    : QDialog(pParent)
{
    setObjectName(QStringLiteral("KVEasingCurvePicker"));
    setWindowTitle(tr("Easing"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *pGrid = new QGridLayout(this);
    pGrid->setSpacing(2);
    for (int nCode = 0; nCode <= KVKeyframeSegment::LastPickerCode; ++nCode) {
        auto *pButton = new QToolButton(this);
        const QString strName = KVKeyframeSegment::easingName(nCode);
        pButton->setObjectName(strName);
        pButton->setText(strName);
        pButton->setToolTip(strName);
        pButton->setIcon(QIcon(curvePixmap(nCode, QSize(48, 48))));
        pButton->setIconSize(QSize(48, 48));
        pButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        pButton->setCheckable(true);
        pButton->setChecked(nCode == nCurrentCode);
        pButton->setFixedWidth(96);
        connect(pButton, &QToolButton::clicked, this, [this, nCode] {
            emit easingChosen(nCode);
            accept();
        });
        pGrid->addWidget(pButton, nCode / kColumns, nCode % kColumns);
    }
}

QToolButton *KVEasingCurvePicker::button(int nCode) const
{
    return findChild<QToolButton *>(KVKeyframeSegment::easingName(nCode));
}

QPixmap KVEasingCurvePicker::curvePixmap(int nCode, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Curves that overshoot (back, elastic) keep room above and below.
    const double dMargin = size.height() * 0.25;
    const double dH = size.height() - 2 * dMargin;
    const double dW = size.width() - 4;
    p.setPen(QColor(QStringLiteral("#B0BEC5")));
    p.drawLine(QPointF(2, dMargin), QPointF(size.width() - 2, dMargin));
    p.drawLine(QPointF(2, dMargin + dH), QPointF(size.width() - 2, dMargin + dH));
    const QEasingCurve curve = KVKeyframeSegment::curveForCode(nCode);
    QPainterPath path;
    const int nSteps = 60;
    for (int i = 0; i <= nSteps; ++i) {
        const double t = double(i) / nSteps;
        const QPointF pt(2 + t * dW, dMargin + dH - curve.valueForProgress(t) * dH);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    p.setPen(QPen(QColor(QStringLiteral("#1E88E5")), 1.5));
    p.drawPath(path);
    return pixmap;
}
