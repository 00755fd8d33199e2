#include "ui/inspector/KVColorButton.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

namespace {
QIcon swatch(const QColor &color, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    // A checkerboard under the colour shows its transparency.
    const int nCell = 4;
    for (int y = 0; y < size.height(); y += nCell) {
        for (int x = 0; x < size.width(); x += nCell) {
            if (((x + y) / nCell) % 2)
                painter.fillRect(x, y, nCell, nCell, QColor(204, 204, 204));
        }
    }
    if (color.isValid())
        painter.fillRect(pixmap.rect(), color);
    else
        painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("?"));
    painter.setPen(Qt::gray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}
} // namespace

KVColorButton::KVColorButton(QWidget *pParent)
    : QToolButton(pParent)
{
    setPopupMode(QToolButton::MenuButtonPopup);
    setIconSize(QSize(40, 16));
    setMenu(new QMenu(this));
    connect(this, &QToolButton::clicked, this, &KVColorButton::openDialog);
    updateSwatch();
}

void KVColorButton::setColor(const QColor &color)
{
    m_color = color;
    updateSwatch();
}

void KVColorButton::setRecentColors(const QList<QColor> &colors)
{
    m_recent = colors;
    QMenu *pMenu = menu();
    pMenu->clear();
    for (const QColor &color : colors) {
        QAction *pAction = pMenu->addAction(swatch(color, QSize(16, 16)), color.name(QColor::HexArgb));
        connect(pAction, &QAction::triggered, this, [this, color] {
            emit editStarted();
            pick(color);
            emit editFinished();
        });
    }
    if (colors.isEmpty())
        pMenu->addAction(tr("No colours in the document yet"))->setEnabled(false);
}

void KVColorButton::openDialog()
{
    if (m_pDialog)
        return;
    const QColor before = m_color.isValid() ? m_color : QColor(Qt::white);
    m_pDialog = new QColorDialog(before, this);
    m_pDialog->setOption(QColorDialog::ShowAlphaChannel);
    m_pDialog->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < m_recent.size() && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, m_recent.at(i));
    emit editStarted();
    connect(m_pDialog, &QColorDialog::currentColorChanged, this, &KVColorButton::pick);
    connect(m_pDialog, &QColorDialog::colorSelected, this, &KVColorButton::pick);
    connect(m_pDialog, &QDialog::rejected, this, [this, before] { pick(before); });
    connect(m_pDialog, &QDialog::finished, this, [this] {
        m_pDialog = nullptr;
        emit editFinished();
    });
    m_pDialog->open();
}

void KVColorButton::pick(const QColor &color)
{
    if (!color.isValid() || color == m_color)
        return;
    m_color = color;
    updateSwatch();
    emit colorEditing(color);
}

void KVColorButton::updateSwatch()
{
    setIcon(swatch(m_color, iconSize()));
    setToolTip(m_color.isValid() ? m_color.name(QColor::HexArgb) : tr("Mixed values"));
}
