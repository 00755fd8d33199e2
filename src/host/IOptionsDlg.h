#pragma once

#include <QDialog>

class IOptionPage;

// The options dialog: pages added by the host and the plug-ins; OK saves the changed pages.
class IOptionsDlg : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    virtual void addPage(IOptionPage *pPage) = 0;
    virtual QList<IOptionPage *> pages() const = 0;
    virtual void initValues() = 0;
    virtual void saveChanges() = 0;
};
