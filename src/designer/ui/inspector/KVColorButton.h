#pragma once

#include <QColor>
#include <QList>
#include <QToolButton>

class QColorDialog;

// A colour field: a swatch that opens a colour dialog with alpha, and a menu of the colours the
// document already uses. While the dialog is open every colour picked is applied at once
// (colorEditing); editStarted and editFinished frame the whole pick, so that it is one step.
class KVColorButton : public QToolButton
{
    Q_OBJECT
public:
    explicit KVColorButton(QWidget *pParent = nullptr);

    QColor color() const { return m_color; }
    // Shows the colour without emitting anything; an invalid colour shows mixed values.
    void setColor(const QColor &color);
    // The colours offered beside the dialog.
    void setRecentColors(const QList<QColor> &colors);
    // The open dialog, or null.
    QColorDialog *dialog() const { return m_pDialog; }

signals:
    void editStarted();
    void colorEditing(const QColor &color);
    void editFinished();

private:
    void openDialog();
    void pick(const QColor &color);
    void updateSwatch();

    QColor m_color;
    QList<QColor> m_recent;
    QColorDialog *m_pDialog = nullptr;
};
