#pragma once

#include <QPointer>
#include <QWidget>

class IEditor;
class KVDocument;
class KVFunction;
class QListWidget;
class QListWidgetItem;
class QToolButton;

// The "Functions" dock's content: the project's user functions, with New Function (by kind),
// Edit, Rename, Delete, Select All and Export. Functions that actions run are shown as used.
// Every change is a command on the active document; the list follows its notifications.
class KVFunctionPanel : public QWidget
{
    Q_OBJECT

public:
    explicit KVFunctionPanel(QWidget *pParent = nullptr);

    QListWidget *list() const { return m_pList; }
    KVDocument *document() const { return m_pDocument; }
    void setDocument(KVDocument *pDocument);
    // The ids of the functions that event handlers of the document run.
    static QSet<int> usedFunctionIds(const KVDocument *pDocument);

signals:
    void selectionSubmited();
    void selectionChanged();
    // Asks for the function editor on a function of the document.
    void editFunctionRequested(int nFunctionId);

public slots:
    void updateEditorActivated(IEditor *pEditor);
    void updateEditorDeactivated(IEditor *pEditor);
    void handleDocumentLoaded();
    void handleDocumentChanged(QObject *pUpdateInfo);
    void handleDocumentClosing();
    void updateActionState();
    void onAdd();
    void onExport();
    void onDelete();
    void editCurrentFunction();
    void onAddFunctionByType();
    void onItemDoubleClicked(QListWidgetItem *pItem);
    void onFunctionNameChanged(QListWidgetItem *pItem);
    void onRename();
    void refresh();

private:
    QList<KVFunction *> selectedFunctions() const;
    KVFunction *functionOf(const QListWidgetItem *pItem) const;

    QPointer<KVDocument> m_pDocument;
    QListWidget *m_pList = nullptr;
    QList<QToolButton *> m_buttons;
    bool m_bFilling = false;
};
