#pragma once

#include <QSpinBox>

// The time box of the timeline: the current time in milliseconds; a time typed in moves the
// playhead there.
class KVTimeEditor : public QSpinBox
{
    Q_OBJECT
public:
    explicit KVTimeEditor(QWidget *pParent = nullptr);
    // Shows the time without asking for a seek.
    void showTime(int nTime);

signals:
    void timeEntered(int nTime);
};
