#include "KVClickTag.h"

#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "document/KVSymbol.h"
#include "interaction/KVActionCatalogue.h"
#include "interaction/KVActionKey.h"
#include "interaction/KVEventListener.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "output/KVWebEscape.h"

namespace {
const KVEventListener *inList(const KVEventListenerList *pList)
{
    if (!pList)
        return nullptr;
    for (const KVEventListener *pHandler : pList->handlers()) {
        if (pHandler->action() == KVActionCatalogue::OpenClickTagUrl)
            return pHandler;
    }
    return nullptr;
}

const KVEventListener *inElement(const KVElement *pElement)
{
    if (const KVEventListener *pFound = inList(pElement))
        return pFound;
    for (const KVElement *pChild : pElement->children()) {
        if (const KVEventListener *pFound = inElement(pChild))
            return pFound;
    }
    return nullptr;
}

const KVEventListener *inScene(const KVScene *pScene)
{
    if (const KVEventListener *pFound = inElement(pScene))
        return pFound;
    for (const KVTimeline *pTimeline : pScene->timelines()->timelines()) {
        if (const KVEventListener *pFound = inList(pTimeline->events()))
            return pFound;
        for (const KVEventListenerList *pTrigger : pTimeline->triggers()) {
            if (const KVEventListener *pFound = inList(pTrigger))
                return pFound;
        }
    }
    return nullptr;
}
} // namespace

bool KVClickTag::firstAction(const KVSymbol *pSymbol, QString *pstrFallbackUrl)
{
    if (!pSymbol)
        return false;
    const KVEventListener *pFound = inList(pSymbol->eventHandlers());
    if (!pFound && pSymbol->sceneList()) {
        for (const KVScene *pScene : pSymbol->sceneList()->scenes()) {
            if ((pFound = inScene(pScene)))
                break;
        }
    }
    if (pFound && pstrFallbackUrl)
        *pstrFallbackUrl = pFound->actionData().value(KVActionKey::Url).toString();
    return pFound != nullptr;
}

QString KVClickTag::declaration(const QString &strName, const QString &strFallbackUrl)
{
    return QStringLiteral("\t<script>var %1 = \"%2\";</script>\n").arg(strName, KVWebEscape::jsString(strFallbackUrl));
}
