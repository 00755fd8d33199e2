#include "commands/KVUpdateViewInfo.h"

#include "animation/KVAnimation.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "commands/KVCommandAction.h"
#include "commands/KVDocumentActions.h"
#include "commands/KVElementGroupActions.h"
#include "commands/KVLayoutActions.h"
#include "commands/KVResourceActions.h"
#include "model/KVElement.h"
#include "model/KVHTMLWidget.h"
#include "model/KVMedia.h"
#include "model/KVAutoShape.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVScene.h"
#include "model/KVText.h"

#include <QJsonArray>

namespace {

using P = KVCmdParam;

QJsonObject intParam(int n)
{
    return QJsonObject{{QStringLiteral("type"), P::Int}, {QStringLiteral("value"), n}};
}

QJsonObject boolParam(bool b)
{
    return QJsonObject{{QStringLiteral("type"), P::Bool}, {QStringLiteral("value"), b}};
}

QJsonObject objectParam(const QJsonObject &jo)
{
    return QJsonObject{{QStringLiteral("type"), P::JsonObject}, {QStringLiteral("value"), jo}};
}

// The element id the player uses: 0 for the scene (the stage itself).
int playerElementId(const KVElement *pElement)
{
    if (!pElement || pElement->asContainer() == pElement)
        return 0;
    return pElement->id();
}

// {"el", "p", "anims"}: the track's player entries with the element and the property's short key.
QJsonObject trackJson(const KVKeyframe *pTrack)
{
    QJsonObject jo;
    const int nElement = playerElementId(pTrack->element());
    QJsonArray ja;
    pTrack->toPlayerJson(ja, nElement, true);
    jo.insert(QStringLiteral("el"), nElement);
    jo.insert(QStringLiteral("p"), KVPropertyCatalogue::shortKey(pTrack->type()));
    jo.insert(QStringLiteral("anims"), ja);
    return jo;
}

} // namespace

KVUpdateViewInfo::KVUpdateViewInfo(QObject *pParent) : QObject(pParent) {}

KVUpdateViewInfo::~KVUpdateViewInfo()
{
    dropOwnedParams();
}

void KVUpdateViewInfo::dropOwnedParams()
{
    if (m_bOwnsParams && m_pParams) {
        qDeleteAll(*m_pParams);
        delete m_pParams;
    }
    m_bOwnsParams = false;
    m_pParams = nullptr;
}

void KVUpdateViewInfo::setParams(KVCmdParamList *pParams)
{
    if (pParams == m_pParams)
        return;
    dropOwnedParams();
    m_pParams = pParams;
}

KVCmdParamList KVUpdateViewInfo::takeReadParams()
{
    KVCmdParamList list;
    if (m_bOwnsParams && m_pParams) {
        list = *m_pParams;
        m_pParams->clear();
    }
    return list;
}

bool KVUpdateViewInfo::isAddingType(int nType)
{
    switch (nType) {
    case KVCommandAction::InsertElement:
    case KVCommandAction::AddAnimation:
    case KVCommandAction::AddTrack:
    case KVCommandAction::InsertScene:
    case KVCommandAction::AddTimeline:
        return true;
    default:
        return false;
    }
}

QJsonArray KVUpdateViewInfo::preparedParams(IKVCommandTarget *pDocument, bool &bPrepared) const
{
    bPrepared = true;
    QJsonArray ja;
    const KVCmdParamList &list = *m_pParams;
    auto at = [&list](int i) { return list.value(i); };
    const bool bAdding = isAddingType(m_nType) != m_bUndo;
    switch (m_nType) {
    case KVCommandAction::InsertElement:
    case KVCommandAction::RemoveElement: {
        if (list.size() < 3)
            break;
        KVElement *pElement = at(0)->element();
        KVElement *pParent = list.size() > 3 && at(3)->kind() == P::Element ? at(3)->element() : at(2)->scene();
        if (!pElement || !pParent)
            break;
        if (bAdding)
            ja.append(at(0)->toJson());
        else
            ja.append(intParam(pElement->id()));
        ja.append(intParam(at(1)->toInt()));
        ja.append(intParam(pParent->id()));
        ja.append(intParam(pParent->type()));
        break;
    }
    case KVCommandAction::MoveElement: {
        // The element where it is now: id, index, its geometry ("r" of the canvas form) and parent.
        KVElement *pElement = at(0) ? at(0)->element() : nullptr;
        KVElement *pParent = pElement ? pElement->parent() : nullptr;
        if (!pParent)
            break;
        QJsonObject joElement;
        pElement->toPlayerJson(joElement, true);
        ja.append(intParam(pElement->id()));
        ja.append(intParam(pParent->children().indexOf(pElement)));
        ja.append(objectParam({{QStringLiteral("r"), joElement.value(QStringLiteral("r"))}}));
        ja.append(intParam(pParent->id()));
        ja.append(intParam(pParent->type()));
        break;
    }
    case KVCommandAction::DisplayOrder: {
        KVElement *pElement = at(0) ? at(0)->element() : nullptr;
        if (!pElement || !pElement->parent())
            break;
        ja.append(intParam(pElement->id()));
        ja.append(intParam(pElement->parent()->children().indexOf(pElement)));
        break;
    }
    case KVCommandAction::SelectScene: {
        KVScene *pScene = at(0) ? at(0)->scene() : nullptr;
        if (!pScene)
            break;
        ja.append(at(0)->toJson());
        ja.append(boolParam(pScene->isSelected()));
        break;
    }
    case KVCommandAction::SelectElement: {
        KVElement *pElement = at(0) ? at(0)->element() : nullptr;
        if (!pElement)
            break;
        ja.append(intParam(pElement->id()));
        ja.append(boolParam(pElement->isSelected()));
        break;
    }
    case KVCommandAction::CurrentTimeline: {
        // The parameter holds the timeline that was current before; the new one is the list's.
        KVTimeline *pOld = at(1) ? at(1)->timeline() : nullptr;
        QObject *pOwner = at(0) ? at(0)->timelineListOwner() : nullptr;
        auto *pScene = qobject_cast<KVScene *>(pOwner);
        KVTimeline *pTimeline = pScene ? pScene->currentTimeline() : pOld;
        if (!pTimeline)
            break;
        QJsonObject jo;
        pTimeline->toPlayerJson(jo, true, false);
        jo.insert(QStringLiteral("currentTime"), pTimeline->currentTimeMs());
        ja.append(objectParam(jo));
        break;
    }
    case KVCommandAction::InsertLabel:
    case KVCommandAction::RemoveLabel: {
        if (list.size() < 3)
            break;
        ja.append(objectParam({{QStringLiteral("labelName"), at(1)->toString()},
                               {QStringLiteral("timeStamp"), at(2)->toInt()}}));
        break;
    }
    case KVCommandAction::RenameLabel: {
        if (list.size() < 3)
            break;
        // Undone, the names change places.
        ja.append(objectParam({{QStringLiteral("oldLabelName"), at(m_bUndo ? 2 : 1)->toString()},
                               {QStringLiteral("newLabelName"), at(m_bUndo ? 1 : 2)->toString()}}));
        break;
    }
    case KVCommandAction::MoveLabel: {
        KVTimeline *pTimeline = at(0) ? at(0)->timeline() : nullptr;
        if (!pTimeline || list.size() < 2)
            break;
        const QString strName = at(1)->toString();
        ja.append(objectParam({{QStringLiteral("labelName"), strName},
                               {QStringLiteral("newTimeStamp"), pTimeline->labels().value(strName)}}));
        break;
    }
    case KVCommandAction::AddAnimation:
    case KVCommandAction::RemoveAnimation: {
        KVAnimation *pAnimation = at(0) ? at(0)->animation() : nullptr;
        if (!pAnimation)
            break;
        if (bAdding) {
            QJsonArray jaEntries;
            pAnimation->toPlayerJson(jaEntries, true);
            ja.append(objectParam({{QStringLiteral("anims"), jaEntries}}));
        } else {
            ja.append(objectParam({{QStringLiteral("el"), playerElementId(pAnimation->element())}}));
        }
        break;
    }
    case KVCommandAction::AddTrack:
    case KVCommandAction::RemoveTrack: {
        KVKeyframe *pTrack = at(0) ? at(0)->keyframe() : nullptr;
        if (!pTrack)
            break;
        if (bAdding) {
            ja.append(objectParam(trackJson(pTrack)));
        } else {
            ja.append(objectParam({{QStringLiteral("el"), playerElementId(pTrack->element())},
                                   {QStringLiteral("p"), KVPropertyCatalogue::shortKey(pTrack->type())}}));
        }
        break;
    }
    case KVCommandAction::ShiftTrack:
    case KVCommandAction::SetEasing:
    case KVCommandAction::SetTransition:
    case 24:
    case KVCommandAction::AddKeyValue:
    case KVCommandAction::RemoveKeyValue:
    case KVCommandAction::SetKeyValue:
    case KVCommandAction::SetKeyValueTime:
    case 78:
    case 81: {
        KVKeyframe *pTrack = at(0) ? at(0)->keyframe() : nullptr;
        if (pTrack)
            ja.append(objectParam(trackJson(pTrack)));
        break;
    }
    case 1021:
    case 1023:
    case 1024: {
        auto *pMedia = at(0) ? qobject_cast<KVMedia *>(at(0)->element()) : nullptr;
        if (!pMedia)
            break;
        QJsonObject jo{{QStringLiteral("elementId"), pMedia->id()}};
        if (m_nType == 1021)
            jo.insert(QStringLiteral("volume"), pMedia->volume() * 100.0);
        else if (m_nType == 1023)
            jo.insert(QStringLiteral("loop"), pMedia->loop());
        else
            jo.insert(QStringLiteral("controls"), pMedia->controls());
        ja.append(objectParam(jo));
        break;
    }
    case 1035: {
        KVElement *pElement = at(0) ? at(0)->element() : nullptr;
        if (!pElement)
            break;
        ja.append(intParam(pElement->id()));
        ja.append(boolParam(pElement->isAspectRatioLocked()));
        break;
    }
    case 1033: {
        auto *pWidget = at(0) ? qobject_cast<KVHTMLWidget *>(at(0)->element()) : nullptr;
        if (!pWidget)
            break;
        ja.append(intParam(pWidget->id()));
        ja.append(QJsonObject{{QStringLiteral("type"), P::String}, {QStringLiteral("value"), pWidget->srcdoc()}});
        break;
    }
    case 29:
    case 30:
    case 31:
    case 32:
    case 80: {
        // The motion path's track, which the parameter holds.
        auto *pTrack = at(0) && at(0)->kind() == P::MotionPath ? qobject_cast<KVKeyframe *>(at(0)->object()) : nullptr;
        if (pTrack)
            ja.append(objectParam(trackJson(pTrack)));
        break;
    }
    case 56:
    case 57:
    case 58:
    case 69: {
        // 56-58: the playback entries; 69: the track that holds the motion path.
        KVAnimation *pAnimation = at(0) ? at(0)->animation() : nullptr;
        if (!pAnimation)
            break;
        if (m_nType == 69) {
            if (KVKeyframe *pPath = pAnimation->keyframe(KVPropertyCatalogue::Location))
                ja.append(objectParam(trackJson(pPath)));
            break;
        }
        const int nElement = playerElementId(pAnimation->element());
        QJsonArray jaEntries;
        pAnimation->toPlayerJson(jaEntries, true);
        QJsonArray jaPlayback;
        for (const QJsonValue &jv : jaEntries) {
            if (jv.toObject().value(QStringLiteral("p")).toString() == QLatin1String("pb"))
                jaPlayback.append(jv);
        }
        ja.append(objectParam({{QStringLiteral("el"), nElement}, {QStringLiteral("p"), QStringLiteral("pb")},
                               {QStringLiteral("anims"), jaPlayback}}));
        break;
    }
    case 1008: {
        auto *pText = at(0) ? qobject_cast<KVText *>(at(0)->element()) : nullptr;
        if (!pText)
            break;
        QJsonArray jaText;
        pText->textStyle(jaText);
        ja.append(intParam(pText->id()));
        ja.append(QJsonObject{{QStringLiteral("type"), P::JsonArray}, {QStringLiteral("value"), jaText}});
        break;
    }
    case 1009: {
        auto *pShape = at(0) ? qobject_cast<KVAutoShape *>(at(0)->element()) : nullptr;
        if (!pShape)
            break;
        const QList<double> values = pShape->adjustments();
        ja.append(intParam(pShape->id()));
        ja.append(intParam(values.size()));
        for (double d : values)
            ja.append(QJsonObject{{QStringLiteral("type"), P::Double}, {QStringLiteral("value"), d}});
        break;
    }
    case 1037:
    case 1039: {
        auto *pShape = at(0) ? qobject_cast<KVFreeFormShape *>(at(0)->element()) : nullptr;
        KVFreeFormShapeProperty *pProperty = pShape ? pShape->freeFormProperty() : nullptr;
        if (!pProperty)
            break;
        QJsonValue value;
        if (m_nType == 1037) {
            QJsonArray jaPath;
            pProperty->path().toPlayerJson(jaPath);
            value = jaPath;
        } else {
            const KVArrowSettings arrows = pProperty->arrows();
            value = QJsonArray{arrows.nStartType, arrows.nStartSize, arrows.nEndType, arrows.nEndSize};
        }
        ja.append(intParam(pShape->id()));
        QJsonObject joValue{{QStringLiteral("value"), value}};
        // An outline that was opened or closed changed the shape's kind with it.
        if (m_nType == 1037)
            joValue.insert(QStringLiteral("type"), pShape->shapeType());
        ja.append(objectParam(joValue));
        break;
    }
    case KVCommandAction::CommandDone:
        break;
    default:
        ja = KVLayoutActions::pageParams(m_nType, list, pDocument, bPrepared);
        if (!bPrepared)
            ja = KVElementGroupActions::pageParams(m_nType, list, bPrepared);
        if (!bPrepared)
            ja = KVDocumentActions::pageParams(m_nType, list, pDocument, bPrepared);
        if (!bPrepared)
            ja = KVResourceActions::pageParams(m_nType, m_bUndo, list, pDocument, nullptr, bPrepared);
        break;
    }
    return ja;
}

bool KVUpdateViewInfo::toPageJson(QJsonObject &jo, IKVCommandTarget *pDocument,
                                  KVResourceManager *pResources) const
{
    Q_UNUSED(pResources)
    jo.insert(QStringLiteral("cmd"), m_nType);
    jo.insert(QStringLiteral("isUndoCmd"), m_bUndo);
    if (m_nType == KVCommandAction::CommandDone) {
        jo.insert(QStringLiteral("params"), QJsonArray());
        return true;
    }
    if (!m_pParams)
        return true;
    bool bPrepared = false;
    QJsonArray ja = preparedParams(pDocument, bPrepared);
    if (!bPrepared) {
        for (const KVCmdParam *pParam : *m_pParams)
            ja.append(pParam->toJson());
    }
    jo.insert(QStringLiteral("params"), ja);
    // The page keeps fonts only: an image or medium coming or going tells it nothing.
    return !(ja.isEmpty() && (m_nType == 39 || m_nType == 40));
}

bool KVUpdateViewInfo::fromPageJson(const QJsonObject &jo, IKVCommandTarget *pDocument,
                                    QString *pError)
{
    Q_UNUSED(pDocument)
    dropOwnedParams();
    m_nType = jo.value(QStringLiteral("cmd")).toInt(0);
    m_bUndo = jo.value(QStringLiteral("isUndoCmd")).toBool(false);
    auto *pList = new KVCmdParamList;
    for (const QJsonValue &jv : jo.value(QStringLiteral("params")).toArray()) {
        KVCmdParam *pParam = jv.isObject() ? KVCmdParam::fromJson(jv.toObject(), pError) : nullptr;
        if (!pParam) {
            if (pError && !jv.isObject())
                *pError = QStringLiteral("parameter that is not an object");
            qDeleteAll(*pList);
            delete pList;
            return false;
        }
        pList->append(pParam);
    }
    m_pParams = pList;
    m_bOwnsParams = true;
    return true;
}
