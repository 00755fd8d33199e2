#include "KVTimeEditor.h"

#include <QSignalBlocker>

KVTimeEditor::KVTimeEditor(QWidget *pParent)
    : QSpinBox(pParent)
{
    setObjectName(QStringLiteral("KVTimeEditor"));
    setRange(0, 24 * 3600 * 1000);
    setSuffix(QStringLiteral(" ms"));
    setKeyboardTracking(false);
    setAccelerated(true);
    connect(this, qOverload<int>(&QSpinBox::valueChanged), this, &KVTimeEditor::timeEntered);
}

void KVTimeEditor::showTime(int nTime)
{
    const QSignalBlocker blocker(this);
    setValue(nTime);
}
