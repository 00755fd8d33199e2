#include "KVDesignerFactory.h"

#include "KVEditor.h"
#include "KVLocationManager.h"
#include "KVNewProjectDialog.h"
#include "KVProjectDocument.h"
#include "ui/code/KVScriptEditorOptionTab.h"
#include "ui/dialogs/KVGeneralOptionTab.h"
#include "ui/dialogs/KVOptionsDlg.h"

#include <QFileDialog>
#include <QFileInfo>

KVDesignerFactory::KVDesignerFactory(QObject *pParent)
    : IDocumentFactory(pParent)
{
    setObjectName(QStringLiteral("KVDesignerFactory"));
}

KVDesignerFactory::~KVDesignerFactory() = default;

IDocument *KVDesignerFactory::createDocument()
{
    return new KVProjectDocument;
}

IEditor *KVDesignerFactory::createEditor()
{
    return new KVEditor;
}

QStringList KVDesignerFactory::supportedExtensions() const
{
    return {QStringLiteral("kaviopack"), QStringLiteral("kavio")};
}

IOptionsDlg *KVDesignerFactory::createOptionsDialog(QWidget *pParent)
{
    auto *pDialog = new KVOptionsDlg(pParent);
    pDialog->addPage(new KVGeneralOptionTab(pDialog));
    pDialog->addPage(new KVScriptEditorOptionTab(pDialog));
    return pDialog;
}

ICreateDocumentDlg *KVDesignerFactory::createNewDocumentDialog(QWidget *pParent)
{
    return new KVNewProjectDialog(pParent);
}

QString KVDesignerFactory::openProjectFilter()
{
    return tr("Supported Files (*.%1 *.%2);;Project Files (*.%1);;Package Files (*.%2)")
        .arg(QStringLiteral("kavio"), QStringLiteral("kaviopack"));
}

QString KVDesignerFactory::openProjectStartFolder()
{
    KVLocationManager *lm = KVLocationManager::getInstance();
    const QString last = lm->lastLocation(KVLocationManager::OpenProject);
    return QFileInfo(last).isDir() ? last : lm->defaultLocation(KVLocationManager::OpenProject);
}

void KVDesignerFactory::rememberOpenedFile(const QString &strFile)
{
    KVLocationManager *lm = KVLocationManager::getInstance();
    lm->setLastLocation(KVLocationManager::OpenProject, QFileInfo(strFile).absolutePath());
    lm->saveHistory();
}

QString KVDesignerFactory::askFileToOpen(QWidget *pParent)
{
    const QString file = QFileDialog::getOpenFileName(pParent, tr("Open Project"), openProjectStartFolder(),
                                                      openProjectFilter());
    if (!file.isEmpty())
        rememberOpenedFile(file);
    return file;
}
