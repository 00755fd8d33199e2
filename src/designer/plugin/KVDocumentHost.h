#pragma once

#include "document/IKVDocumentHost.h"
#include "document/IKVLocationStore.h"

#include <QHash>
#include <QScopedPointer>

class KVProgressDialog;
class MainWindow;

// The designer's side of a project document: the New Project dialog for Save As and package
// imports, the main window for a second document, the preview server and the remembered folders.
class KVDocumentHost : public IKVDocumentHost
{
public:
    explicit KVDocumentHost(MainWindow *pMainWindow);
    ~KVDocumentHost() override;

    QString askProjectFile(const QString &strTitle, const QString &strName, int nLocationType) override;
    bool showDocument(KVDocument *pDocument) override;
    void closeDocumentWindow(KVDocument *pDocument) override;
    void documentMoved(KVDocument *pDocument, const QString &strOldResourceFolder,
                       const QString &strNewResourceFolder) override;
    IKVLocationStore *locationStore(KVDocument *pDocument) override;
    IKVProgress *progress() const override;

private:
    // Folders of one document, kept by the location manager under the document's address.
    class DocumentLocations : public IKVLocationStore
    {
    public:
        explicit DocumentLocations(const void *pOwner) : m_pOwner(pOwner) {}
        QString location(int nType) const override;
        void setLocation(int nType, const QString &strPath) override;

    private:
        const void *m_pOwner;
    };

    MainWindow *m_pMainWindow;
    QScopedPointer<KVProgressDialog> m_pProgress;
    QHash<const void *, DocumentLocations *> m_locations;
};
