#pragma once

#include <QObject>
#include <QStringList>

class IDocument;
class IEditor;
class ICreateDocumentDlg;
class IOptionsDlg;
class QWidget;

// Made by a plug-in and put in the object pool; the host asks it for documents and editors.
class IDocumentFactory : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual IDocument *createDocument() = 0;
    virtual IEditor *createEditor() = 0;
    virtual QStringList supportedExtensions() const = 0;
    virtual IOptionsDlg *createOptionsDialog(QWidget *pParent) = 0;
    virtual ICreateDocumentDlg *createNewDocumentDialog(QWidget *pParent) = 0;
    // A file chosen to open, or empty.
    virtual QString askFileToOpen(QWidget *pParent) = 0;
};
