#pragma once

#include "KVPanelBase.h"

#include <QVariant>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The content of the "Document" dock: the settings of the active project that shape its exported
// page (meta data, viewport, container id, output folders, alignment, autoplay, auto fit, system
// fonts, preloader kind, page and style templates). Each edit is one command; the fields show the
// project again after every command.
class KVDocumentPanel : public KVPanelBase
{
    Q_OBJECT
public:
    explicit KVDocumentPanel(QWidget *pParent = nullptr);

public slots:
    void onAlignmentChanged(int nIndex);
    void onAutoplayChanged(bool bChecked);
    void onEmbedSystemFontChanged(bool bChecked);
    void onPreloadTypeChanged(int nIndex);
    void onExportTitleChanged();
    void onExportDescChanged();
    void onExportAuthorChanged();
    void onExportKeywordsChanged();
    void onResFolderChanged();
    void onPreloaderResFolderChanged();
    void onViewportWChanged(int nIndex);
    void onViewportWEdited();
    void onViewportHChanged(int nIndex);
    void onViewportHEdited();
    void onContainerIDChanged();
    void onClickTagChanged();
    void onEditHtml();
    void onEditCSS();
    void onRestoreHtml();
    void onRestoreCSS();
    void onAutoFit();

protected:
    void refresh() override;
    bool concerns(int nType) const override;

private:
    QLineEdit *addLine(const QString &strLabel, const QString &strName, const QString &strTip);
    // One command of one action with the values as its parameters (kinds of KVCmdParam).
    void submitValue(int nType, const QString &strText, const QList<QPair<int, QVariant>> &values);
    void submitText(QLineEdit *pEdit, int nType, const QString &strText, const QString &strStored);
    void viewportEdited(QComboBox *pBox, bool bWidth);
    void viewportChosen(QComboBox *pBox, int nIndex, bool bWidth);
    void showViewport(QComboBox *pBox, int nValue);
    // The template editor; false when cancelled.
    bool editTemplate(const QString &strTitle, QString &strText);

    class QFormLayout *m_pForm;
    QLineEdit *m_pTitle;
    QLineEdit *m_pDescription;
    QLineEdit *m_pAuthor;
    QLineEdit *m_pKeywords;
    QComboBox *m_pViewportW;
    QComboBox *m_pViewportH;
    QLineEdit *m_pContainerId;
    QLineEdit *m_pClickTag;
    QLineEdit *m_pResFolder;
    QLineEdit *m_pPreResFolder;
    QComboBox *m_pAlignment;
    QCheckBox *m_pAutoFit;
    QCheckBox *m_pAutoplay;
    QCheckBox *m_pEmbedFonts;
    QComboBox *m_pPreloader;
    bool m_bShowing = false;
};
