#pragma once

#include <QDialog>

// The dialog that collects what a new document needs; the host reads these after it is accepted.
class ICreateDocumentDlg : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

    virtual QString getFilePath() const = 0;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    virtual int getSceneCount() const = 0;
    virtual bool isResponsive() const = 0;
};
