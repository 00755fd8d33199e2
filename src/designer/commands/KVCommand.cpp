#include "commands/KVCommand.h"

#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/IKVCommandTarget.h"
#include "commands/KVCommandAction.h"
#include "commands/KVUpdateViewInfo.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "resources/KVResource.h"

#include <QSet>
#include <QUndoStack>
#include <QUuid>

#include <memory>

namespace {

// Types after which every scene's time is applied again (animation data changed).
bool touchesAnimation(int nType)
{
    return (nType >= 17 && nType <= 32) || nType == 56 || nType == 57 || nType == 58 || nType == 69
           || nType == 78 || nType == 80 || nType == 92 || nType == 1020;
}

bool changesResources(int nType)
{
    return nType == 39 || nType == 40;
}

} // namespace

KVCommand::KVCommand(IKVCommandTarget *pDocument, const QString &strText, QObject *pSender,
                     QUndoCommand *pParent)
    : QUndoCommand(strText, pParent), m_pDocument(pDocument), m_pSender(pSender)
{
}

KVCommand::~KVCommand()
{
    qDeleteAll(m_listActions);
}

void KVCommand::addAction(KVCommandAction *pAction)
{
    if (pAction)
        m_listActions.append(pAction);
}

void KVCommand::redo()
{
    run(false);
}

void KVCommand::undo()
{
    run(true);
}

void KVCommand::execute()
{
    redo();
}

bool KVCommand::keepsSymbolContent(int nType)
{
    static const QSet<int> kTypes = [] {
        QSet<int> set{7, 11, 33, 39, 40, 41, 62, 63, 103};
        for (int n = 43; n <= 55; ++n)
            set.insert(n);
        return set;
    }();
    return kTypes.contains(nType);
}

bool KVCommand::push(KVCommand *pCommand)
{
    if (!pCommand)
        return false;
    IKVCommandTarget *pTarget = pCommand->m_pDocument;
    QUndoStack *pStack = pTarget ? pTarget->commandUndoStack() : nullptr;
    if (pCommand->m_listActions.isEmpty() || !pStack) {
        delete pCommand;
        return false;
    }
    if (KVResource *pSymbol = pTarget->editedSymbolResource()) {
        bool bChangesContent = false;
        for (const KVCommandAction *pAction : pCommand->m_listActions)
            bChangesContent = bChangesContent || !keepsSymbolContent(pAction->type());
        if (bChangesContent) {
            auto *pAction = new KVCommandAction(63, pTarget, 2);
            pAction->addParam(KVCmdParam::makeResource(pSymbol));
            pAction->addParam(KVCmdParam::makeString(QUuid::createUuid().toString()));
            pCommand->addAction(pAction);
        }
    }
    pCommand->recordSelection();
    if (pStack->isClean())
        pTarget->clearStatus();
    pStack->push(pCommand);
    return true;
}

void KVCommand::recordSelection()
{
    m_bSelectionRecorded = true;
    m_listDocumentSelection.clear();
    m_listSelectedScenes.clear();
    m_listCurrentTimelines.clear();
    m_listSelectedElements.clear();
    if (!m_pDocument)
        return;
    for (QObject *pObject : m_pDocument->selectionList())
        m_listDocumentSelection.append(pObject);
    if (KVSceneList *pList = m_pDocument->commandSceneList()) {
        for (KVScene *pScene : pList->selectedScenes()) {
            m_listSelectedScenes.append(pScene);
            m_listCurrentTimelines.append(pScene->currentTimeline());
        }
    }
    // Every selected element of the stage, whether or not the scene itself is selected in the list.
    if (KVScene *pScene = m_pDocument->commandCurrentScene()) {
        pScene->forEachInSubtree([this, pScene](const KVElement *pElement) {
            if (pElement != pScene && pElement->isSelected())
                m_listSelectedElements.append(const_cast<KVElement *>(pElement));
        });
    }
}

void KVCommand::notify(KVUpdateViewInfo &info, int nType, QList<KVCmdParam *> *pParams)
{
    info.setType(nType);
    info.setParams(pParams);
    if (m_pDocument)
        m_pDocument->emitDataChanged(&info);
}

void KVCommand::restoreSelection(KVUpdateViewInfo &info)
{
    QList<QObject *> listSelection;
    for (const QPointer<QObject> &p : m_listDocumentSelection) {
        if (p)
            listSelection.append(p.data());
    }
    if (m_pDocument->selectionList() != listSelection) {
        m_pDocument->setSelectionList(listSelection);
        notify(info, KVCommandAction::SelectionChanged, nullptr);
    }

    KVSceneList *pList = m_pDocument->commandSceneList();
    if (pList) {
        QList<KVScene *> listScenes;
        for (const QPointer<KVScene> &p : m_listSelectedScenes) {
            if (p)
                listScenes.append(p.data());
        }
        for (KVScene *pScene : pList->scenes()) {
            const bool bWanted = listScenes.contains(pScene);
            if (pScene->isSelected() == bWanted)
                continue;
            KVCommandAction action(KVCommandAction::SelectScene, m_pDocument, 2);
            action.addParam(KVCmdParam::makeObject(KVCmdParam::Scene, pScene));
            action.addParam(KVCmdParam::makeBool(bWanted));
            action.redo();
            notify(info, action.type(), action.paramList());
        }
        for (const QPointer<KVTimeline> &pTimeline : m_listCurrentTimelines) {
            if (!pTimeline)
                continue;
            for (KVScene *pScene : listScenes) {
                KVTimelineList *pTimelines = pScene->timelines();
                if (pTimelines->indexOf(pTimeline) < 0 || pTimelines->currentTimeline() == pTimeline)
                    continue;
                KVCommandAction action(KVCommandAction::CurrentTimeline, m_pDocument, 2);
                action.addParam(KVCmdParam::makeObject(KVCmdParam::TimelineListOwner, pScene));
                action.addParam(KVCmdParam::makeObject(KVCmdParam::Timeline, pTimeline.data()));
                action.redo();
                notify(info, action.type(), action.paramList());
            }
        }
    }

    if (KVScene *pScene = m_pDocument->commandCurrentScene()) {
        QSet<const KVElement *> listWanted;
        for (const QPointer<KVElement> &p : m_listSelectedElements) {
            if (p)
                listWanted.insert(p.data());
        }
        QList<const KVElement *> listAll;
        pScene->forEachInSubtree([&listAll](const KVElement *p) { listAll.append(p); });
        for (const KVElement *pConst : listAll) {
            auto *pElement = const_cast<KVElement *>(pConst);
            if (pElement == pScene)
                continue;
            const bool bWanted = listWanted.contains(pElement);
            if (pElement->isSelected() == bWanted)
                continue;
            KVCommandAction action(KVCommandAction::SelectElement, m_pDocument, 2);
            action.addParam(KVCmdParam::makeObject(KVCmdParam::Element, pElement));
            action.addParam(KVCmdParam::makeBool(bWanted));
            action.redo();
            notify(info, action.type(), action.paramList());
        }
    }
}

void KVCommand::refreshSceneTimes(KVUpdateViewInfo &info)
{
    KVSceneList *pList = m_pDocument->commandSceneList();
    if (!pList)
        return;
    for (KVScene *pScene : pList->scenes()) {
        KVTimeline *pTimeline = pScene->currentTimeline();
        if (!pTimeline)
            continue;
        const int nTime = pTimeline->currentTimeMs();
        const bool bBlocked = pTimeline->blockSignals(true);
        pTimeline->seek(pTimeline->duration() + 1);
        pTimeline->seek(nTime);
        pTimeline->blockSignals(bBlocked);
    }
    KVScene *pCurrent = m_pDocument->commandCurrentScene();
    KVTimeline *pTimeline = pCurrent ? pCurrent->currentTimeline() : nullptr;
    if (pTimeline) {
        std::unique_ptr<KVCommandAction> pNotice(
            KVCommandAction::playbackNotice(KVCommandAction::TimeNotice, m_pDocument, pTimeline));
        notify(info, pNotice->type(), pNotice->paramList());
    }
}

void KVCommand::run(bool bUndo)
{
    if (!m_pDocument)
        return;
    KVUpdateViewInfo info;
    if (m_bPausePlaybackFirst && m_pDocument->isPlaying()) {
        m_pDocument->pausePlayback();
        KVScene *pScene = m_pDocument->commandCurrentScene();
        KVTimeline *pTimeline = pScene ? pScene->currentTimeline() : nullptr;
        std::unique_ptr<KVCommandAction> pNotice(
            KVCommandAction::playbackNotice(KVCommandAction::PauseNotice, m_pDocument, pTimeline));
        pNotice->redo();
        notify(info, pNotice->type(), pNotice->paramList());
    }

    info.setUndo(bUndo);
    info.setSender(m_pSender.data());
    m_pSender.clear();

    if (m_bSelectionRecorded)
        restoreSelection(info);

    const int nCount = m_listActions.size();
    const bool bBackwards = bUndo ? !m_bUndoInRecordedOrder : m_bRedoInReverseOrder;
    bool bAnimation = false;
    bool bResources = false;
    for (int n = 0; n < nCount; ++n) {
        KVCommandAction *pAction = m_listActions.at(bBackwards ? nCount - 1 - n : n);
        if (bUndo)
            pAction->undo();
        else
            pAction->redo();
        bAnimation = bAnimation || touchesAnimation(pAction->type());
        bResources = bResources || changesResources(pAction->type());
        notify(info, pAction->type(), pAction->paramList());
    }

    if (bAnimation)
        refreshSceneTimes(info);
    if (bResources)
        m_pDocument->reloadFonts();
    notify(info, KVCommandAction::CommandDone, nullptr);
}
