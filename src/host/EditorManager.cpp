#include "EditorManager.h"

#include "IEditor.h"

EditorManager::EditorManager(QObject *pParent)
    : QObject(pParent)
{
}

EditorManager::~EditorManager() = default;

void EditorManager::activateEditor(IEditor *pEditor)
{
    if (m_pActive == pEditor)
        return;
    if (m_pActive) {
        IEditor *old = m_pActive;
        emit old->aboutToDeactivate();
        m_pActive = nullptr;
        emit editorDeactivated(old);
    }
    if (pEditor && m_editors.contains(pEditor)) {
        emit pEditor->aboutToActivate();
        m_pActive = pEditor;
        emit editorActivated(pEditor);
    }
}

IEditor *EditorManager::getEditorOfDocument(IDocument *pDocument) const
{
    for (IEditor *e : m_editors) {
        if (e->getDocument() == pDocument)
            return e;
    }
    return nullptr;
}

void EditorManager::addEditor(IEditor *pEditor)
{
    if (!pEditor || m_editors.contains(pEditor))
        return;
    m_editors.append(pEditor);
    emit editorAdded(pEditor);
}

void EditorManager::removeEditor(IEditor *pEditor)
{
    if (!m_editors.contains(pEditor))
        return;
    if (m_pActive == pEditor)
        activateEditor(nullptr);
    m_editors.removeAll(pEditor);
    emit editorRemoved(pEditor);
}
