#include "KVDocumentHost.h"

#include "KVLocationManager.h"
#include "KVNewProjectDialog.h"

#include "document/KVDocument.h"
#include "output/KVHttpServer.h"
#include "ui/KVProgressDialog.h"

#include "MainWindow.h"

#include <QLineEdit>

KVDocumentHost::KVDocumentHost(MainWindow *pMainWindow)
    : m_pMainWindow(pMainWindow)
    , m_pProgress(new KVProgressDialog(pMainWindow))
{
}

KVDocumentHost::~KVDocumentHost()
{
    qDeleteAll(m_locations);
}

QString KVDocumentHost::askProjectFile(const QString &strTitle, const QString &strName, int nLocationType)
{
    KVNewProjectDialog dialog(m_pMainWindow);
    dialog.setWindowTitle(strTitle);
    dialog.nameEdit()->setText(strName);
    dialog.locationEdit()->setText(KVLocationManager::getInstance()->lastLocation(nLocationType));
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.getFilePath();
}

bool KVDocumentHost::showDocument(KVDocument *pDocument)
{
    return m_pMainWindow && m_pMainWindow->loadOpenedDocument(pDocument, false);
}

void KVDocumentHost::closeDocumentWindow(KVDocument *pDocument)
{
    if (m_pMainWindow)
        m_pMainWindow->closeDocument(pDocument);
}

void KVDocumentHost::documentMoved(KVDocument *pDocument, const QString &strOldResourceFolder,
                                   const QString &strNewResourceFolder)
{
    if (KVHttpServer::hasInstance()) {
        KVHttpServer::getInstance()->removeRoot(strOldResourceFolder);
        KVHttpServer::getInstance()->addRoot(strNewResourceFolder);
    }
    KVLocationManager::getInstance()->forgetOwner(pDocument);
}

IKVLocationStore *KVDocumentHost::locationStore(KVDocument *pDocument)
{
    DocumentLocations *&store = m_locations[pDocument];
    if (!store)
        store = new DocumentLocations(pDocument);
    return store;
}

IKVProgress *KVDocumentHost::progress() const
{
    return m_pProgress.data();
}

QString KVDocumentHost::DocumentLocations::location(int nType) const
{
    return KVLocationManager::getInstance()->ownerLocation(m_pOwner, nType);
}

void KVDocumentHost::DocumentLocations::setLocation(int nType, const QString &strPath)
{
    if (strPath.isEmpty())
        KVLocationManager::getInstance()->removeOwnerLocation(m_pOwner, nType);
    else
        KVLocationManager::getInstance()->setOwnerLocation(m_pOwner, nType, strPath);
}
