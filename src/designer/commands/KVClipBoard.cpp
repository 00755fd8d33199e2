#include "commands/KVClipBoard.h"

#include "Reporter.h"
#include "animation/KVAnimation.h"
#include "animation/KVPlaybackAnimation.h"
#include "animation/KVTimeline.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "commands/KVInsertOperation.h"
#include "model/IKVDocumentContext.h"
#include "model/KVElementFactory.h"
#include "model/KVJsonUtil.h"
#include "model/KVResourceHolder.h"
#include "model/KVScene.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

#include <QFile>
#include <QJsonDocument>
#include <QMimeData>
#include <QSet>

#include <limits>
#include <memory>

using P = KVCmdParam;

namespace {

constexpr int kOffsetStep = 10;
constexpr int kOffsetLimit = 500;

const QLatin1String kGlobalLeft("globalLeft");
const QLatin1String kGlobalTop("globalTop");
const QLatin1String kBreakpoint("currentBreakpoint");
const QLatin1String kAnims("anims");
const QLatin1String kChildren("children");
const QLatin1String kType("type");

// The element's animations on the timeline, one per layout that has one, each with its layout key.
QJsonArray animsOf(const KVElement *pElement, const KVTimeline *pTimeline)
{
    QJsonArray anims;
    if (!pTimeline)
        return anims;
    const auto &map = pTimeline->layoutAnimations();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (KVAnimation *pAnimation = pTimeline->findAnimation(pElement, it.key())) {
            QJsonObject jo;
            pAnimation->toJson(jo);
            jo.insert(QStringLiteral("h_id"), it.key().nHLayoutId);
            jo.insert(QStringLiteral("v_id"), it.key().nVLayoutId);
            anims.append(jo);
        }
    }
    return anims;
}

// The project form of the element with "anims" on it and on each of its children.
QJsonObject withAnims(const KVElement *pElement, QJsonObject jo, const KVTimeline *pTimeline)
{
    jo.insert(kAnims, animsOf(pElement, pTimeline));
    const QJsonArray children = jo.value(kChildren).toArray();
    if (children.isEmpty())
        return jo;
    QJsonArray extended;
    for (int i = 0; i < children.size(); ++i) {
        const KVElement *pChild = pElement->children().value(i);
        extended.append(pChild ? withAnims(pChild, children.at(i).toObject(), pTimeline) : children.at(i));
    }
    jo.insert(kChildren, extended);
    return jo;
}

// Whether this version reads every element of the object: a type it does not know comes from a newer one.
bool knowsTypes(const QJsonObject &jo)
{
    const int nType = KVJsonUtil::readInt(jo, kType, std::numeric_limits<int>::min());
    std::unique_ptr<KVElement> probe(KVElementFactory::createElement(nType));
    if (!probe)
        return false;
    const QJsonArray children = jo.value(kChildren).toArray();
    for (const QJsonValue &child : children) {
        if (!child.isObject() || !knowsTypes(child.toObject()))
            return false;
    }
    return true;
}

// The resource ids of the copied project replaced by those of the target, at any depth.
QJsonValue mapResourceIds(const QJsonValue &value, const QMap<int, int> &idMap)
{
    if (value.isArray()) {
        QJsonArray ja = value.toArray();
        for (int i = 0; i < ja.size(); ++i)
            ja[i] = mapResourceIds(ja.at(i), idMap);
        return ja;
    }
    if (!value.isObject())
        return value;
    QJsonObject jo = value.toObject();
    for (auto it = jo.begin(); it != jo.end(); ++it) {
        const bool bId = it.key() == QLatin1String("resourceId") || it.key() == QLatin1String("imageResourceId");
        if (bId && it.value().isDouble() && idMap.contains(it.value().toInt()))
            it.value() = idMap.value(it.value().toInt());
        else if (it.value().isArray() || it.value().isObject())
            it.value() = mapResourceIds(it.value(), idMap);
    }
    return jo;
}

void clearIds(KVElement *pElement)
{
    pElement->setId(0);
    for (KVElement *pChild : pElement->children())
        clearIds(pChild);
}

// The carried resources made resources of the target (reused when it has them, by uuid); the new
// ones are added to the manager and to the command. False (nothing added) when one cannot be copied.
bool carryResources(const QJsonObject &joCarried, KVResourceManager *pManager, KVCommand *pCommand,
                    IKVCommandTarget *pTarget, QMap<int, int> &idMap)
{
    const QString strFolder = joCarried.value(QStringLiteral("folder")).toString();
    QList<KVResource *> added;
    const QJsonArray resources = joCarried.value(QStringLiteral("resources")).toArray();
    for (const QJsonValue &value : resources) {
        const QJsonObject jo = value.toObject();
        std::unique_ptr<KVResource> pSource(KVResource::create(KVJsonUtil::readInt(jo, kType, -1)));
        if (!pSource)
            continue;
        pSource->fromJson(jo);
        bool bReused = false;
        KVResource *pCopy = pManager->copyResource(pSource.get(), strFolder, &bReused);
        if (!pCopy) {
            for (KVResource *pAdded : qAsConst(added)) {
                for (const QString &strPath : pManager->filePaths(pAdded))
                    QFile::remove(strPath);
                delete pManager->takeResource(pAdded->id());
            }
            return false;
        }
        idMap.insert(pSource->id(), pCopy->id());
        if (bReused)
            continue;
        if (!pManager->addResource(pCopy)) {
            delete pCopy;
            continue;
        }
        added.append(pCopy);
        // Already in the manager: the first run has nothing to add.
        auto *pAction = new KVCommandAction(KVCommandAction::AddResource, pTarget, 1, true);
        pAction->addParam(P::makeResource(pCopy));
        pCommand->addAction(pAction);
    }
    return true;
}

} // namespace

QString KVClipBoard::elementFormat()
{
    return QStringLiteral("kavio-element");
}

QString KVClipBoard::resourceFormat()
{
    return QStringLiteral("kavio-element-resources");
}

bool KVClipBoard::hasElements(const QMimeData *pData)
{
    return pData && pData->hasFormat(elementFormat());
}

QMimeData *KVClipBoard::copyElements(const KVEditContext &c, const KVResourceManager *pManager)
{
    if (!c.pScene)
        return nullptr;
    const QList<KVElement *> elements = c.selectedTopLevel();
    if (elements.isEmpty())
        return nullptr;
    m_offsets.insert(c.pScene->sceneList(), {{c.pScene->id(), 0}});
    QJsonArray array;
    QSet<int> resourceIds;
    for (const KVElement *pElement : elements) {
        QJsonObject jo;
        pElement->toJson(jo);
        jo = withAnims(pElement, jo, c.pTimeline);
        double dLeft = 0.0;
        double dTop = 0.0;
        for (const KVElement *p = pElement; p && p != c.pScene; p = p->parent()) {
            dLeft += p->leftPixels();
            dTop += p->topPixels();
        }
        jo.insert(kGlobalLeft, dLeft);
        jo.insert(kGlobalTop, dTop);
        const KVLayoutKey layout = pElement->currentLayout();
        jo.insert(kBreakpoint, QJsonArray{layout.nHLayoutId, layout.nVLayoutId});
        array.append(jo);
        pElement->collectResources(resourceIds);
    }
    auto *pData = new QMimeData;
    pData->setData(elementFormat(), KVJsonUtil::toBinary(QJsonDocument(array)));
    QJsonArray resources;
    for (int nId : qAsConst(resourceIds)) {
        if (const KVResource *pResource = pManager ? pManager->resource(nId) : nullptr)
            resources.append(pResource->toJson());
    }
    const QJsonObject joCarried{{QStringLiteral("folder"), pManager ? pManager->resourceFolderPath() : QString()},
                                {QStringLiteral("resources"), resources}};
    pData->setData(resourceFormat(), KVJsonUtil::toBinary(QJsonDocument(joCarried)));
    return pData;
}

int KVClipBoard::pasteOffset(const void *pContainer, int nSceneId)
{
    QHash<int, int> &scenes = m_offsets[pContainer];
    const auto it = scenes.find(nSceneId);
    if (it == scenes.end()) {
        scenes.insert(nSceneId, 0);
        return 0;
    }
    const int nNext = it.value() + kOffsetStep;
    it.value() = nNext <= kOffsetLimit ? nNext : 0;
    return it.value();
}

void KVClipBoard::resetPasteOffset(const void *pContainer, int nSceneId)
{
    m_offsets[pContainer].insert(nSceneId, 0);
}

KVCommand *KVClipBoard::paste(const KVEditContext &c, const IKVDocumentContext *pDocument, const QMimeData *pData,
                              bool bWithAnimation, bool bAtCursor, const QPointF &pt,
                              const std::function<bool(const KVElement *)> &containsEdited)
{
    if (!c.isUsable() || !c.pTimeline || !hasElements(pData))
        return nullptr;
    const QJsonDocument document = KVJsonUtil::fromBinary(pData->data(elementFormat()));
    QJsonArray array = document.array();
    bool bKnown = !array.isEmpty();
    for (const QJsonValue &value : qAsConst(array))
        bKnown = bKnown && value.isObject();
    if (!document.isArray() || !bKnown) {
        Reporter::warning(tr("The clipboard does not hold elements that can be pasted."));
        return nullptr;
    }
    for (const QJsonValue &value : qAsConst(array)) {
        if (!knowsTypes(value.toObject())) {
            Reporter::warning(tr("The copied elements come from a newer version of Kavio Studio and cannot be pasted here."));
            return nullptr;
        }
    }
    KVResourceManager *pManager = KVResourceHolder::managerOf(pDocument);
    auto *pCommand = new KVCommand(c.pTarget, tr("Paste"), c.pSender);
    const QJsonDocument carried = KVJsonUtil::fromBinary(pData->data(resourceFormat()));
    QMap<int, int> idMap;
    if (pManager && carried.isObject()
        && !carryResources(carried.object(), pManager, pCommand, c.pTarget, idMap)) {
        delete pCommand;
        return nullptr;
    }
    array = mapResourceIds(array, idMap).toArray();

    // Read every element first: nothing is pasted when one cannot be.
    QList<KVElement *> elements;
    auto discard = [&] {
        qDeleteAll(elements);
        delete pCommand;
    };
    double dMinLeft = std::numeric_limits<double>::max();
    double dMinTop = std::numeric_limits<double>::max();
    for (const QJsonValue &value : qAsConst(array)) {
        const QJsonObject jo = value.toObject();
        KVElement *pElement = KVElementFactory::createElement(KVJsonUtil::readInt(jo, kType, -1));
        elements.append(pElement);
        if (!pElement->fromJson(jo, pDocument)) {
            Reporter::warning(tr("The clipboard does not hold elements that can be pasted."));
            discard();
            return nullptr;
        }
        if (containsEdited && containsEdited(pElement)) {
            Reporter::warning(tr("Cannot insert element that contains the current symbol."));
            discard();
            return nullptr;
        }
        dMinLeft = qMin(dMinLeft, jo.value(kGlobalLeft).toDouble());
        dMinTop = qMin(dMinTop, jo.value(kGlobalTop).toDouble());
    }
    const int nOffset = bAtCursor ? 0 : pasteOffset(c.pScene->sceneList(), c.pScene->id());
    const QPointF shift = bAtCursor ? pt - QPointF(dMinLeft, dMinTop) : QPointF(nOffset, nOffset);
    const QList<KVLayoutKey> layouts = c.pScene->properties().keys();
    for (int i = 0; i < elements.size(); ++i) {
        KVElement *pElement = elements.at(i);
        const QJsonObject jo = array.at(i).toObject();
        clearIds(pElement);
        KVInsertOperation::adoptLayouts(pElement, c.pScene);
        const QJsonArray jaBreakpoint = jo.value(kBreakpoint).toArray();
        const KVLayoutKey copied(jaBreakpoint.at(0).toInt(), jaBreakpoint.at(1).toInt());
        if (jaBreakpoint.size() == 2 && layouts.contains(copied))
            pElement->setCurrentLayout(copied);
        pElement->setLeftPixels(jo.value(kGlobalLeft).toDouble() + shift.x());
        pElement->setTopPixels(jo.value(kGlobalTop).toDouble() + shift.y());
        auto *pAction = new KVCommandAction(KVCommandAction::InsertElement, c.pTarget, 3);
        pAction->addParam(P::makeObject(P::Element, pElement, true));
        pAction->addParam(P::makeInt(-1));
        pAction->addParam(P::makeObject(P::Scene, c.pScene));
        pCommand->addAction(pAction);
    }
    for (int i = 0; i < elements.size(); ++i)
        pasteAnimations(array.at(i).toObject(), elements.at(i), c.pTimeline, pCommand, bWithAnimation);
    return pCommand;
}

void KVClipBoard::pasteAnimations(const QJsonObject &joElement, KVElement *pElement, KVTimeline *pTimeline,
                                  KVCommand *pCommand, bool bWithAnimation)
{
    if (!pElement || !pTimeline || !pCommand)
        return;
    const bool bPlayback = KVPlaybackAnimation::hasPlayback(pElement);
    if (bWithAnimation || bPlayback) {
        const QJsonArray anims = joElement.value(kAnims).toArray();
        for (const KVLayoutKey &layout : pElement->properties().keys()) {
            for (const QJsonValue &value : anims) {
                const QJsonObject jo = value.toObject();
                if (jo.value(QStringLiteral("h_id")).toInt(-1) != layout.nHLayoutId
                    || jo.value(QStringLiteral("v_id")).toInt(-1) != layout.nVLayoutId)
                    continue;
                KVAnimation *pAnimation = KVPlaybackAnimation::createFor(pElement);
                pAnimation->fromJson(jo, pTimeline, layout);
                auto *pAction = new KVCommandAction(KVCommandAction::AddAnimation, pCommand->document(), 4);
                pAction->addParam(P::makeObject(P::Animation, pAnimation, true));
                pAction->addParam(P::makeObject(P::Timeline, pTimeline));
                pAction->addParam(P::makeInt(layout.nHLayoutId));
                pAction->addParam(P::makeInt(layout.nVLayoutId));
                pCommand->addAction(pAction);
                break;
            }
        }
    }
    const QJsonArray children = joElement.value(kChildren).toArray();
    for (int i = 0; i < children.size() && i < pElement->children().size(); ++i)
        pasteAnimations(children.at(i).toObject(), pElement->children().at(i), pTimeline, pCommand, bWithAnimation);
}
