#include "KVPanelBase.h"

#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocument.h"

#include "IEditor.h"

KVPanelBase::KVPanelBase(QWidget *pParent)
    : QWidget(pParent)
{
    setEnabled(false);
}

void KVPanelBase::updateEditorActivated(IEditor *pEditor)
{
    auto *pDocument = pEditor ? qobject_cast<KVDocument *>(pEditor->getDocument()) : nullptr;
    if (pDocument == m_pDocument)
        return;
    handleDocumentClosing();
    m_pDocument = pDocument;
    handleDocumentLoaded();
}

void KVPanelBase::updateEditorDeactivated(IEditor *pEditor)
{
    if (pEditor && pEditor->getDocument() == m_pDocument.data())
        handleDocumentClosing();
}

void KVPanelBase::handleDocumentLoaded()
{
    if (!m_pDocument)
        return;
    connect(m_pDocument, &KVDocument::dataChanged, this, &KVPanelBase::handleDocumentChanged);
    connect(m_pDocument, &QObject::destroyed, this, &KVPanelBase::handleDocumentClosing);
    setEnabled(true);
    m_bDirty = false;
    refresh();
}

void KVPanelBase::handleDocumentClosing()
{
    if (m_pDocument)
        disconnect(m_pDocument, nullptr, this, nullptr);
    m_pDocument = nullptr;
    m_bDirty = false;
    refresh();
    setEnabled(false);
}

void KVPanelBase::handleDocumentChanged(QObject *pUpdateInfo)
{
    auto *pInfo = qobject_cast<KVUpdateViewInfo *>(pUpdateInfo);
    if (!pInfo)
        return;
    const int nType = pInfo->type();
    if (nType != KVCommandAction::CommandDone) {
        if (isSelectionOnly(nType))
            m_bSelection = true;
        else
            m_bDirty = m_bDirty || concerns(nType);
        return;
    }
    const bool bDirty = m_bDirty;
    const bool bSelection = m_bSelection;
    m_bDirty = false;
    m_bSelection = false;
    if (bDirty)
        refresh();
    else if (bSelection)
        followSelection();
}

bool KVPanelBase::isSelectionOnly(int nType) const
{
    return nType == KVCommandAction::SelectElement || nType == KVCommandAction::SelectionChanged;
}

bool KVPanelBase::concerns(int nType) const
{
    switch (nType) {
    case KVCommandAction::PlayNotice:
    case KVCommandAction::PauseNotice:
    case KVCommandAction::TimeNotice:
    case KVCommandAction::FinishTasksNotice:
    case KVCommandAction::TextEditingNotice:
    case KVCommandAction::TextFormatNotice:
    case KVCommandAction::TextCommandNotice:
        return false;
    default:
        return true;
    }
}

bool KVPanelBase::submit(KVCommand *pCommand)
{
    if (!pCommand || !m_pDocument) {
        delete pCommand;
        return false;
    }
    m_pDocument->submitCommand(pCommand, true);
    return true;
}
