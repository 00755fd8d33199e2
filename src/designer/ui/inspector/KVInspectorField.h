#pragma once

#include "ui/inspector/KVFieldSpec.h"

#include <QVariant>
#include <QWidget>

class KVColorButton;
class KVElement;
class KVGradientStrip;
class KVInspector;
class KVOverrideLabel;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPlainTextEdit;
class QSlider;
class QToolButton;

// One field of an inspector page: its label (which marks an override), its editor and, for an
// animatable property, the key button. It shows the value the selection has at the layout and
// time shown (mixed values show as such) and turns every edit into a command of the inspector; a
// drag of a spin box, slider, colour or gradient stop is one step.
class KVInspectorField : public QWidget
{
    Q_OBJECT
public:
    KVInspectorField(const KVFieldSpec &spec, KVInspector *pInspector, QWidget *pParent = nullptr);

    const KVFieldSpec &spec() const { return m_spec; }
    KVOverrideLabel *label() const { return m_pLabel; }
    // The editor widget (spin box, slider, colour button, combo box, check box, strip or code).
    QWidget *editor() const { return m_pEditor; }
    QToolButton *keyButton() const { return m_pKey; }
    // Shows the selection's values again.
    void refresh();
    // The value of one element (the stored form), invalid when it has none.
    QVariant valueOf(const KVElement *pElement) const;

public slots:
    void addOrRemoveKey();

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    void build();
    void edit(const QVariant &storedValue);
    void showValue(const QVariant &value, bool bMixed);
    QList<KVElement *> targets() const;

    KVFieldSpec m_spec;
    KVInspector *m_pInspector;
    KVOverrideLabel *m_pLabel = nullptr;
    QWidget *m_pEditor = nullptr;
    QDoubleSpinBox *m_pSpin = nullptr;
    QSlider *m_pSlider = nullptr;
    KVColorButton *m_pColor = nullptr;
    QComboBox *m_pCombo = nullptr;
    QCheckBox *m_pCheck = nullptr;
    KVGradientStrip *m_pStrip = nullptr;
    QPlainTextEdit *m_pCode = nullptr;
    QToolButton *m_pKey = nullptr;
    bool m_bRefreshing = false;
};
