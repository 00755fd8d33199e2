#pragma once

#include <QJsonObject>
#include <QWidget>

class KVDocumentActionContext;
class QCheckBox;
class QComboBox;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;

// The parameter editor of the event-action dialog: the action's type, its target and the fields
// the action uses. Each finished edit hands the new action data over through actionEdited().
class KVEditingActionParamsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit KVEditingActionParamsWidget(QWidget *pParent = nullptr);

    void setContext(const KVDocumentActionContext *pContext) { m_pContext = pContext; }
    // Shows an action; nAction 0 shows nothing to edit.
    void setAction(int nAction, const QJsonObject &joActionData);
    int action() const { return m_nAction; }
    QJsonObject actionData() const { return m_joData; }

signals:
    void actionEdited(int nAction, const QJsonObject &joActionData);
    void editFunctionRequested(int nFunctionId);
    void addFunctionRequested();
    void changeFunctionRequested(int nFunctionId);

public slots:
    void updateEditorVisibility();
    void updateTimeLabelVisibility();
    void updateTransModeUI();
    void updateTransCustomUI(int nTransType);
    void editJsFunction();
    void changeJsFunction();
    void addJsFunction();

private:
    void fillTargets();
    void setRowVisible(QWidget *pField, bool bVisible);
    void commit();
    void onTypeChosen();

    const KVDocumentActionContext *m_pContext = nullptr;
    int m_nAction = 0;
    QJsonObject m_joData;
    bool m_bLoading = false;

    QFormLayout *m_pForm = nullptr;
    QComboBox *m_pType = nullptr;
    QComboBox *m_pTarget = nullptr;
    QComboBox *m_pTimeMode = nullptr;
    QSpinBox *m_pTime = nullptr;
    QLineEdit *m_pLabel = nullptr;
    QComboBox *m_pDirection = nullptr;
    QSpinBox *m_pSpeed = nullptr;
    QLineEdit *m_pUrl = nullptr;
    QCheckBox *m_pNewWindow = nullptr;
    QLineEdit *m_pText = nullptr;
    QSpinBox *m_pVolume = nullptr;
    QComboBox *m_pFunction = nullptr;
    QWidget *m_pFunctionButtons = nullptr;
    QComboBox *m_pTransMode = nullptr;
    QComboBox *m_pTransType = nullptr;
    QSpinBox *m_pTransDuration = nullptr;
    QComboBox *m_pTransEasing = nullptr;
    QComboBox *m_pTransDirection = nullptr;
};
