#include "KVDocumentActionContext.h"

#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "document/KVDocument.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVFunction.h"
#include "interaction/KVFunctionContainer.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <QFileInfo>

KVScene *KVDocumentActionContext::scene() const
{
    return m_pDocument ? m_pDocument->currentScene() : nullptr;
}

QString KVDocumentActionContext::timelineName(int nTimelineId) const
{
    if (nTimelineId == KVActionCatalogue::MainTimeline)
        return KVActionCatalogue::mainTimelineName();
    KVScene *pScene = scene();
    KVTimeline *pTimeline = pScene ? pScene->timelines()->findById(nTimelineId) : nullptr;
    return pTimeline ? pTimeline->name() : QString();
}

QString KVDocumentActionContext::elementName(int nElementId) const
{
    KVScene *pScene = scene();
    KVElement *pElement = pScene ? pScene->findElement(nElementId) : nullptr;
    return pElement ? pElement->name() : QString();
}

QString KVDocumentActionContext::sceneName(int nSceneId) const
{
    if (KVActionCatalogue::isRelativeScene(nSceneId))
        return KVActionCatalogue::relativeSceneName(nSceneId);
    KVScene *pScene = m_pDocument ? m_pDocument->sceneList()->findScene(nSceneId) : nullptr;
    return pScene ? pScene->name() : QString();
}

QString KVDocumentActionContext::functionName(int nFunctionId) const
{
    const KVFunction *pFunction = m_pDocument ? m_pDocument->functions()->findById(nFunctionId) : nullptr;
    return pFunction ? pFunction->name() : QString();
}

QString KVDocumentActionContext::documentBaseName() const
{
    return m_pDocument ? QFileInfo(m_pDocument->getFileName()).completeBaseName() : QString();
}

int KVDocumentActionContext::firstOfTypes(const QList<int> &types) const
{
    int nFound = KVActionCatalogue::NoTarget;
    if (KVScene *pScene = scene()) {
        pScene->forEachInSubtree([&](const KVElement *p) {
            if (nFound == KVActionCatalogue::NoTarget && types.contains(p->type()))
                nFound = p->id();
        });
    }
    return nFound;
}

int KVDocumentActionContext::firstSymbolInstanceId() const
{
    return firstOfTypes({KVElementType::Symbol});
}

int KVDocumentActionContext::firstMediaElementId() const
{
    return firstOfTypes({KVElementType::Audio, KVElementType::Video});
}

int KVDocumentActionContext::firstVideoElementId() const
{
    return firstOfTypes({KVElementType::Video});
}

KVDocumentActionContext::Choices KVDocumentActionContext::timelineChoices() const
{
    Choices choices{{KVActionCatalogue::mainTimelineName(), KVActionCatalogue::MainTimeline}};
    if (KVScene *pScene = scene()) {
        const QList<KVTimeline *> &timelines = pScene->timelines()->timelines();
        for (int i = 1; i < timelines.size(); ++i)
            choices.append({timelines.at(i)->name(), timelines.at(i)->id()});
    }
    return choices;
}

KVDocumentActionContext::Choices KVDocumentActionContext::elementChoices(const QList<int> &types) const
{
    Choices choices;
    if (KVScene *pScene = scene()) {
        pScene->forEachInSubtree([&](const KVElement *p) {
            if (p != pScene && (types.isEmpty() || types.contains(p->type())))
                choices.append({p->name(), p->id()});
        });
    }
    return choices;
}

KVDocumentActionContext::Choices KVDocumentActionContext::sceneChoices() const
{
    Choices choices;
    for (int nId : {KVActionCatalogue::NextScene, KVActionCatalogue::PreviousScene, KVActionCatalogue::LastScene,
                    KVActionCatalogue::FirstScene})
        choices.append({KVActionCatalogue::relativeSceneName(nId), nId});
    if (m_pDocument) {
        for (const KVScene *pScene : m_pDocument->sceneList()->scenes())
            choices.append({pScene->name(), pScene->id()});
    }
    return choices;
}

KVDocumentActionContext::Choices KVDocumentActionContext::functionChoices() const
{
    Choices choices;
    if (m_pDocument) {
        for (const KVFunction *pFunction : m_pDocument->functions()->functions())
            choices.append({pFunction->name(), pFunction->id()});
    }
    return choices;
}
