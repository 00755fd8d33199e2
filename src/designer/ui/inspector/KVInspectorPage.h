#pragma once

#include <QList>
#include <QWidget>

class KVInspector;
class KVInspectorField;

// The form of one inspector page: a field per row of the page's table (KVFieldSpec) and, on the
// shadow and filter pages, the presets.
class KVInspectorPage : public QWidget
{
    Q_OBJECT
public:
    KVInspectorPage(int nPageId, KVInspector *pInspector, QWidget *pParent = nullptr);

    int pageId() const { return m_nPageId; }
    const QList<KVInspectorField *> &fields() const { return m_fields; }
    // The field that edits a property code or a group field, or null.
    KVInspectorField *field(int nGroup, int nField) const;
    void refresh();

public slots:
    void onResetWidgetCmdSrc();
    void applyShadowPreset(int nPreset);
    void applyFilterPreset(int nPreset);

private:
    void addPresets();

    int m_nPageId;
    KVInspector *m_pInspector;
    QList<KVInspectorField *> m_fields;
};
