#include "KVPanelSet.h"

#include "KVDocumentPanel.h"
#include "KVElementsPanel.h"
#include "KVResourcePanel.h"
#include "KVScenesPanel.h"

#include "ActionManager.h"
#include "EditorManager.h"
#include "ICore.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QVBoxLayout>

KVPanelSet::KVPanelSet(QObject *pParent)
    : QObject(pParent)
{
}

bool KVPanelSet::holds(const char *pszDockName)
{
    const QByteArray name(pszDockName);
    return name == "spScenesDockWidget" || name == "spDocPropertiesWidget" || name == "spElementsWidget"
           || name == "spResourcesWidget";
}

void KVPanelSet::install(const char *pszDockName, QWidget *pContent)
{
    const QByteArray name(pszDockName);
    KVPanelBase *pPanel = nullptr;
    if (name == "spScenesDockWidget")
        pPanel = m_pScenes = new KVScenesPanel(pContent);
    else if (name == "spDocPropertiesWidget")
        pPanel = m_pDocument = new KVDocumentPanel(pContent);
    else if (name == "spElementsWidget")
        pPanel = m_pElements = new KVElementsPanel(pContent);
    else if (name == "spResourcesWidget")
        pPanel = m_pResources = new KVResourcePanel(pContent);
    if (!pPanel)
        return;
    auto *pLayout = new QVBoxLayout(pContent);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(pPanel);
    if (ICore *pCore = ICore::instance()) {
        EditorManager *pEditors = pCore->editorManager();
        connect(pEditors, &EditorManager::editorActivated, pPanel, &KVPanelBase::updateEditorActivated);
        connect(pEditors, &EditorManager::editorDeactivated, pPanel, &KVPanelBase::updateEditorDeactivated);
    }
}

QStringList KVPanelSet::connectActions(ActionManager *pActions)
{
    QStringList ids;
    auto hook = [&](const char *pszId, auto slot) {
        if (QAction *pAction = pActions ? pActions->getAction(QString::fromLatin1(pszId)) : nullptr) {
            connect(pAction, &QAction::triggered, this, slot);
            ids.append(pAction->objectName());
        }
    };
    hook("Scene.Blank_Scene", [this] { if (m_pScenes) m_pScenes->onBlankScene(); });
    hook("Scene.Duplicate_Scene", [this] { if (m_pScenes) m_pScenes->onDuplicateScene(); });
    hook("Edit.Rename", [this] { rename(); });
    return ids;
}

void KVPanelSet::rename()
{
    QWidget *pFocus = QApplication::focusWidget();
    if (m_pScenes && pFocus && m_pScenes->isAncestorOf(pFocus))
        m_pScenes->onRename();
    else if (m_pResources && pFocus && m_pResources->isAncestorOf(pFocus))
        m_pResources->onRename();
    else if (m_pElements) {
        // The selected element's row, in its dock brought to the front.
        for (QWidget *p = m_pElements; p; p = p->parentWidget()) {
            if (auto *pDock = qobject_cast<QDockWidget *>(p)) {
                pDock->show();
                pDock->raise();
            }
        }
        m_pElements->onRename();
    }
}
