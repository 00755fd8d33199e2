#pragma once

#include <QList>
#include <QWidget>

class IEditor;
class KVInspector;
class QTabWidget;

// The content of the "Properties" dock: five tabs (General, Scene, Position & Size, Styles,
// Effects), each an inspector with its pages.
class KVPropertiesTabsWidget : public QWidget
{
    Q_OBJECT
public:
    explicit KVPropertiesTabsWidget(QWidget *pParent = nullptr);

    QTabWidget *tabs() const { return m_pTabs; }
    const QList<KVInspector *> &inspectors() const { return m_inspectors; }
    // The inspector that holds a page, or null.
    KVInspector *inspectorOf(int nPageId) const;

public slots:
    void updateEditorActivated(IEditor *pEditor);
    void updateEditorDeactivated(IEditor *pEditor);
    void handleDocumentLoaded();
    void handleDocumentChanged(QObject *pUpdateInfo);
    void handleDocumentClosing();
    void onToggleShowHide(bool bShow);
    void onPageChanged(int nPage);

private:
    void updateTabs();

    QTabWidget *m_pTabs = nullptr;
    QList<KVInspector *> m_inspectors;
};
