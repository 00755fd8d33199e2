#include "commands/KVCommandAction.h"

#include "commands/KVAnimationActions.h"
#include "commands/KVDocumentActions.h"
#include "commands/KVInteractionActions.h"
#include "commands/KVLayoutActions.h"
#include "commands/KVMotionPathActions.h"
#include "commands/KVOverrideActions.h"
#include "commands/KVResourceActions.h"
#include "commands/KVTimelineActions.h"
#include "commands/KVStructureActions.h"

#include "animation/KVTimeline.h"
#include "commands/IKVCommandTarget.h"
#include "document/KVSymbol.h"
#include "resources/KVResource.h"

#include <QUuid>

KVCommandAction::KVCommandAction(int nType, IKVCommandTarget *pDocument, int nReservedParams,
                                 bool bSkipNextRedo)
    : m_nType(nType), m_pDocument(pDocument), m_bSkipNextRedo(bSkipNextRedo)
{
    if (nReservedParams > 0)
        m_listParams.reserve(nReservedParams);
}

KVCommandAction::~KVCommandAction()
{
    qDeleteAll(m_listParams);
}

KVCommandAction *KVCommandAction::playbackNotice(int nType, IKVCommandTarget *pDocument, KVTimeline *pTimeline,
                                                 bool bSeeking)
{
    auto *pAction = new KVCommandAction(nType, pDocument, 2, true);
    const int nTime = pTimeline ? pTimeline->currentTimeMs() : 0;
    if (nType == TimeNotice) {
        pAction->addParam(KVCmdParam::makeInt(nTime));
        pAction->addParam(KVCmdParam::makeBool(bSeeking));
    } else if (nType != FinishTasksNotice) {
        pAction->addParam(KVCmdParam::makeObject(KVCmdParam::Timeline, pTimeline));
        pAction->addParam(KVCmdParam::makeInt(nTime));
    }
    return pAction;
}

void KVCommandAction::addParam(KVCmdParam *pParam)
{
    if (pParam)
        m_listParams.append(pParam);
}

bool KVCommandAction::hasKinds(std::initializer_list<int> kinds) const
{
    if (m_listParams.size() != int(kinds.size()))
        return false;
    return hasLeadingKinds(kinds, int(kinds.size()), int(kinds.size()));
}

bool KVCommandAction::hasLeadingKinds(std::initializer_list<int> kinds, int nMin, int nMax) const
{
    const int nCount = m_listParams.size();
    if (nCount < nMin || nCount > nMax || nCount < int(kinds.size()))
        return false;
    int i = 0;
    for (int nKind : kinds) {
        if (nKind != 0 && m_listParams.at(i)->kind() != nKind)
            return false;
        ++i;
    }
    return true;
}

void KVCommandAction::redo()
{
    if (m_bSkipNextRedo) {
        m_bSkipNextRedo = false;
        return;
    }
    if (m_nType < 1 || m_nType > LastDocumentType - 1)
        return;
    if (!apply(true))
        qDebug("Command action of type %d with unfitting parameters ignored", m_nType);
}

void KVCommandAction::undo()
{
    if (m_nType < 1 || m_nType > LastDocumentType - 1)
        return;
    if (!apply(false))
        qDebug("Command action of type %d with unfitting parameters ignored on undo", m_nType);
}

bool KVCommandAction::apply(bool bForward)
{
    switch (m_nType) {
    case InsertElement:
    case RemoveElement:
    case MoveElement:
    case DisplayOrder:
    case InsertScene:
    case RemoveScene:
    case SelectScene:
    case MoveScene:
    case SelectElement:
        return KVStructureActions::apply(*this, bForward);
    case AddTimeline:
    case RemoveTimeline:
    case CurrentTimeline:
    case RenameTimeline:
    case InsertLabel:
    case RemoveLabel:
    case RenameLabel:
    case MoveLabel:
    case AddAnimation:
    case RemoveAnimation:
    case AddTrack:
    case RemoveTrack:
    case ShiftTrack:
    case SetEasing:
    case SetTransition:
    case AddKeyValue:
    case RemoveKeyValue:
    case SetKeyValue:
    case SetKeyValueTime:
        return KVAnimationActions::apply(*this, bForward);
    case SymbolContentId: {
        // An exchange: the symbol's content id before is written back.
        if (!hasKinds({KVCmdParam::Resource, KVCmdParam::String}) || !param(0)->resource())
            return false;
        KVResource *pSymbol = param(0)->resource();
        const QString strOld = pSymbol->uuid().toString();
        pSymbol->setUuid(QUuid(param(1)->toString()));
        param(1)->setValue(strOld);
        return true;
    }
    case DocumentTitle:
    case DocumentDescription:
    case DocumentAuthor:
    case DocumentKeywords:
        return applyDocumentText();
    case CommandDone:
    case SelectionChanged:
    case TextEditingNotice:
    case TextFormatNotice:
    case TextCommandNotice:
    case PlayNotice:
    case PauseNotice:
    case TimeNotice:
    case FinishTasksNotice:
        // Notifications: nothing to change in the model.
        return true;
    default:
        break;
    }
    if (KVLayoutActions::handles(m_nType))
        return KVLayoutActions::apply(*this, bForward);
    if (KVMotionPathActions::handles(m_nType))
        return KVMotionPathActions::apply(*this, bForward);
    if (KVDocumentActions::handles(m_nType))
        return KVDocumentActions::apply(*this);
    if (KVInteractionActions::handles(m_nType))
        return KVInteractionActions::apply(*this, bForward);
    if (KVResourceActions::handles(m_nType))
        return KVResourceActions::apply(*this, bForward);
    if (KVTimelineActions::handles(m_nType))
        return KVTimelineActions::apply(*this, bForward);
    if (KVOverrideActions::handles(m_nType))
        return KVOverrideActions::apply(*this);
    return false;
}

bool KVCommandAction::applyDocumentText()
{
    KVSymbol *pProject = m_pDocument ? m_pDocument->commandProject() : nullptr;
    if (!pProject || !hasKinds({KVCmdParam::String}))
        return false;
    const QString strNew = param(0)->toString();
    QString strOld;
    switch (m_nType) {
    case DocumentTitle:
        strOld = pProject->title();
        pProject->setTitle(strNew);
        break;
    case DocumentDescription:
        strOld = pProject->description();
        pProject->setDescription(strNew);
        break;
    case DocumentAuthor:
        strOld = pProject->author();
        pProject->setAuthor(strNew);
        break;
    default:
        strOld = pProject->keywords();
        pProject->setKeywords(strNew);
        break;
    }
    param(0)->setValue(strOld);
    return true;
}
