#pragma once

#include "IOptionsDlg.h"

class QDialogButtonBox;
class QListWidget;
class QStackedWidget;

// The "Preferences" dialog: the option pages in a list beside the shown page, with OK, Cancel and
// Apply. Apply and OK save the pages that changed; the settings take effect at once.
class KVOptionsDlg : public IOptionsDlg
{
    Q_OBJECT

public:
    enum Page { GeneralPage = 0, ShortcutsPage = 1, CodeEditorPage = 2 };

    explicit KVOptionsDlg(QWidget *pParent = nullptr);

    void addPage(IOptionPage *pPage) override;
    QList<IOptionPage *> pages() const override { return m_pages; }
    void initValues() override;
    void saveChanges() override;

public slots:
    void onDataChanged();
    void onApply();
    void onCancel();
    void onOK();
    void onPageChanged(int nPage);
    void setCurrentPage(int ePageId);
    void onReject();

private:
    QList<IOptionPage *> m_pages;
    QListWidget *m_pList = nullptr;
    QStackedWidget *m_pStack = nullptr;
    QDialogButtonBox *m_pButtons = nullptr;
};
