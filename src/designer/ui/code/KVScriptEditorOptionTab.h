#pragma once

#include "IOptionPage.h"

#include <QColor>
#include <QHash>

class KVCodeEdit;
class QCheckBox;
class QToolButton;

// The "Code Editor" options: the editors' switches and one colour per text class, previewed on a
// sample function; "Restore Defaults" puts every default back.
class KVScriptEditorOptionTab : public IOptionPage
{
    Q_OBJECT

public:
    explicit KVScriptEditorOptionTab(QWidget *pParent = nullptr);

    QString title() const override { return tr("Code Editor"); }
    void initValues() override;
    void saveChanges() override;
    static QString sampleText();
    KVCodeEdit *preview() const { return m_pPreview; }

signals:
    void changed();

public slots:
    void resetDefault();
    void onColorChanged(const QColor &color);
    void onToggleOptions(bool bChecked);
    void onSelectColor();

private:
    void showColors();

    QHash<QString, QCheckBox *> m_switches;
    QHash<QString, QToolButton *> m_colorButtons;
    QHash<QString, QColor> m_colors;
    QString m_strEditedClass;
    KVCodeEdit *m_pPreview = nullptr;
};
