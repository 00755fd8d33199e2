#pragma once

#include "IDocumentFactory.h"

// Hands the host what the designer makes: documents, editors and the project dialogs.
class KVDesignerFactory : public IDocumentFactory
{
    Q_OBJECT
public:
    explicit KVDesignerFactory(QObject *pParent = nullptr);
    ~KVDesignerFactory() override;

    IDocument *createDocument() override;
    IEditor *createEditor() override;
    QStringList supportedExtensions() const override;
    IOptionsDlg *createOptionsDialog(QWidget *pParent) override;
    ICreateDocumentDlg *createNewDocumentDialog(QWidget *pParent) override;
    QString askFileToOpen(QWidget *pParent) override;

    static QString openProjectFilter();
    // What the Open Project dialog starts in: location type 1, or its default when that is gone.
    static QString openProjectStartFolder();
    // Remembers the folder of a chosen project as location type 1.
    static void rememberOpenedFile(const QString &strFile);
};
