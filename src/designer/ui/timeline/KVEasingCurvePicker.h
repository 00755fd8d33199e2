#pragma once

#include <QDialog>

class QToolButton;

// The easing picker: one button per easing code from Linear (0) to the TCB spline (46), each
// showing its name and its curve, drawn from the curve the keyframe segments play. Choosing one
// emits its code and closes the picker.
class KVEasingCurvePicker : public QDialog
{
    Q_OBJECT
public:
    explicit KVEasingCurvePicker(int nCurrentCode, QWidget *pParent = nullptr);

    QToolButton *button(int nCode) const;
    // The curve of an easing code as a small picture.
    static QPixmap curvePixmap(int nCode, const QSize &size);

signals:
    void easingChosen(int nCode);
};
