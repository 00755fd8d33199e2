#pragma once

#include <QDialog>
#include <QPointer>

class KVCodeEdit;
class KVDocument;
class KVFunction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The editor of one user function: its name, parameters and body in the code editor, with a
// search bar, zoom and export. OK checks the name and submits the change as one command.
class KVEditingFunctionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit KVEditingFunctionDialog(QWidget *pParent = nullptr);

    // Shows the function with that id of the document; false when there is none.
    bool setFunction(KVDocument *pDocument, int nFunctionId);
    int functionId() const { return m_nFunctionId; }
    bool isModified() const;

    QLineEdit *nameEdit() const { return m_pName; }
    QLineEdit *paramsEdit() const { return m_pParams; }
    KVCodeEdit *codeEdit() const { return m_pCode; }
    QLineEdit *findEdit() const { return m_pFind; }
    QLineEdit *replaceEdit() const { return m_pReplace; }
    // The last search or replace message ("" after a success).
    QString searchMessage() const;

    static QString continueQuestion(); // "Do you want to continue editing this function?"

public slots:
    void resetSettings();
    void onAccept();
    void reject() override;
    void onEditContentChanged();
    void onExportToFile();
    void onSearchFlagsChanged(bool bChecked);
    void onSearchKeywordChanged(const QString &strKeyword);
    void onExitSearch();
    void showSearchPanel();
    void onSearchNext();
    void onSearchPrev();
    void onReplaceNext();
    void onReplaceAll();
    void onZoomChanged(int nPercentage);
    void onChangeZoom(const QString &strPercentage);

private:
    KVFunction *function() const;
    int searchFlags(bool bBackward) const;
    void showMessage(const QString &strMessage);
    QStringList paramList() const;

    QPointer<KVDocument> m_pDocument;
    int m_nFunctionId = -1;
    QLineEdit *m_pName = nullptr;
    QLineEdit *m_pParams = nullptr;
    KVCodeEdit *m_pCode = nullptr;
    QWidget *m_pSearch = nullptr;
    QLineEdit *m_pFind = nullptr;
    QLineEdit *m_pReplace = nullptr;
    QCheckBox *m_pWholeWord = nullptr;
    QCheckBox *m_pMatchCase = nullptr;
    QLabel *m_pMessage = nullptr;
    QComboBox *m_pZoom = nullptr;
};
