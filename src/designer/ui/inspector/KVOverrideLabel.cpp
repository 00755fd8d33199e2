#include "ui/inspector/KVOverrideLabel.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QStyle>

KVOverrideLabel::KVOverrideLabel(const QString &strText, QWidget *pParent)
    : QLabel(strText, pParent)
{
    setProperty("overridden", false);
}

void KVOverrideLabel::setOverridden(bool bOverridden)
{
    if (bOverridden == m_bOverridden)
        return;
    m_bOverridden = bOverridden;
    setProperty("overridden", bOverridden);
    setCursor(bOverridden ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setToolTip(bOverridden ? tr("Click to remove property override") : QString());
    // The mark shows without a style sheet too.
    QFont f = font();
    f.setItalic(bOverridden);
    setFont(f);
    setStyleSheet(bOverridden ? QStringLiteral("color: #d0701c;") : QString());
    style()->unpolish(this);
    style()->polish(this);
}

void KVOverrideLabel::onClick()
{
    if (m_bOverridden)
        emit removeOverride();
}

void KVOverrideLabel::mouseReleaseEvent(QMouseEvent *pEvent)
{
    QLabel::mouseReleaseEvent(pEvent);
    onClick();
}

void KVOverrideLabel::contextMenuEvent(QContextMenuEvent *pEvent)
{
    if (!m_bOverridden)
        return;
    QMenu menu(this);
    connect(menu.addAction(tr("Remove Property Override")), &QAction::triggered, this, &KVOverrideLabel::removeOverride);
    connect(menu.addAction(tr("Remove Property Override in All Layouts")), &QAction::triggered, this,
            &KVOverrideLabel::removeOverrideEverywhere);
    menu.exec(pEvent->globalPos());
}
