#pragma once

#include "KVDocumentActionContext.h"

#include "interaction/KVEventCatalogue.h"

#include <QDialog>
#include <QPointer>

class KVDocument;
class KVEditingActionParamsWidget;
class KVEventListener;
class KVEventListenerList;
class QAction;
class QComboBox;
class QLabel;
class QTableWidget;

// The event-action dialog: the handlers of one owner (the document, a scene, an element, a
// timeline) for the chosen event, with the toolbar to add, move, cut, copy, paste and delete
// actions and the parameter editor below the table. Every change is one command on the owner's
// document; the dialog follows the document's notifications. One instance per process.
class KVEventActionDialog : public QDialog
{
    Q_OBJECT

public:
    static KVEventActionDialog *getInstance(QWidget *pParent = nullptr);
    static void destroyInstance();

    // Shows the owner's handlers, with the first event that has any (or the first offered) chosen.
    void setOwner(KVDocument *pDocument, KVEventCatalogue::Owner eOwner, KVEventListenerList *pList,
                  const QString &strOwnerName = QString());
    KVEventListenerList *ownerList() const { return m_pList; }
    KVEventCatalogue::Owner owner() const { return m_eOwner; }
    int currentEvent() const;
    void setCurrentEvent(int nEvent);
    // The handlers of the chosen event, in table order.
    const QList<KVEventListener *> &shownHandlers() const { return m_rows; }
    QList<KVEventListener *> selectedHandlers() const;
    QTableWidget *table() const { return m_pTable; }
    KVEditingActionParamsWidget *paramsEditor() const { return m_pParams; }
    QAction *toolAction(const QString &strIcon) const;

signals:
    void editFunctionRequested(int nFunctionId);

public slots:
    void addAction(int nAction);
    void onMoveUp();
    void onMoveDown();
    void onCut();
    void onCopy();
    void onPaste();
    void onDelete();
    void handleDocumentChanged(QObject *pUpdateInfo);
    void refresh();

private:
    explicit KVEventActionDialog(QWidget *pParent);
    void onRowChanged();
    void onActionEdited(int nAction, const QJsonObject &joActionData);
    void onChangeFunction(int nFunctionId);
    void onAddFunction();
    void updateActions();
    KVEventListener *currentHandler() const;

    static QPointer<KVEventActionDialog> s_pInstance;

    QPointer<KVDocument> m_pDocument;
    QPointer<KVEventListenerList> m_pList;
    KVEventCatalogue::Owner m_eOwner = KVEventCatalogue::ElementOwner;
    KVDocumentActionContext m_context;
    QList<KVEventListener *> m_rows;
    QLabel *m_pHeading = nullptr;
    QComboBox *m_pEvent = nullptr;
    QTableWidget *m_pTable = nullptr;
    KVEditingActionParamsWidget *m_pParams = nullptr;
    QList<QAction *> m_tools;
};
