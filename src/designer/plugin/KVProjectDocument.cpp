#include "KVProjectDocument.h"

#include "ICreateDocumentDlg.h"

KVProjectDocument::KVProjectDocument(QObject *pParent)
    : KVDocument(pParent)
{
}

bool KVProjectDocument::createNew(ICreateDocumentDlg *pDialog)
{
    if (!pDialog)
        return false;
    setFileName(pDialog->getFilePath());
    return create(pDialog->getWidth(), pDialog->getHeight(), pDialog->getSceneCount(), pDialog->isResponsive());
}
