#include "commands/KVResourceActions.h"

#include "commands/IKVCommandTarget.h"
#include "commands/KVCommandAction.h"
#include "document/KVSymbol.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"

namespace {

using P = KVCmdParam;

KVResourceManager *managerOf(IKVCommandTarget *pTarget)
{
    KVSymbol *pProject = pTarget ? pTarget->commandProject() : nullptr;
    return pProject ? pProject->resourceManager() : nullptr;
}

// The parameter's resource when the manager keeps it.
KVResource *keptResource(const KVCommandAction &a, KVResourceManager *pManager)
{
    KVResource *pResource = a.param(0) ? a.param(0)->resource() : nullptr;
    return pResource && pManager && pManager->resource(pResource->id()) == pResource ? pResource : nullptr;
}

bool applyLife(KVCommandAction &a, KVResourceManager *pManager, bool bForward)
{
    KVResource *pResource = a.hasKinds({P::Resource}) ? keptResource(a, pManager) : nullptr;
    if (!pResource)
        return false;
    const bool bDelete = (a.type() == 40) == bForward;
    if (bDelete == pResource->isDeleted())
        return false;
    if (bDelete && pResource->isInUse())
        return false;
    return pManager->setResourceDeleted(pResource->id(), bDelete);
}

bool applyMediaGroup(KVCommandAction &a, KVResourceManager *pManager)
{
    auto *pMedia = a.hasKinds({P::Resource, P::String, P::String})
                       ? dynamic_cast<MediaResource *>(keptResource(a, pManager)) : nullptr;
    const QString strFormat = a.param(1)->toString().toLower();
    if (!pMedia || strFormat.isEmpty())
        return false;
    const QString strFile = a.param(2)->toString();
    if (!strFile.isEmpty() && MediaResource::formatOf(strFile) != strFormat)
        return false;
    const QString strOld = pMedia->fileNames().value(strFormat);
    if (strFile.isEmpty()) {
        if (!strOld.isEmpty() && !pMedia->removeFormat(strFormat))
            return false;
    } else {
        pMedia->setFormatFile(strFile);
    }
    a.param(2)->setValue(strOld);
    return true;
}

bool applyName(KVCommandAction &a, KVResourceManager *pManager)
{
    KVResource *pResource = a.hasKinds({P::Resource, P::String}) ? keptResource(a, pManager) : nullptr;
    const QString strName = a.param(1)->toString();
    if (!pResource || strName.trimmed().isEmpty() || pManager->resourceByName(strName, pResource->id()))
        return false;
    const QString strOld = pResource->name();
    pResource->setName(strName);
    a.param(1)->setValue(strOld);
    return true;
}

KVOtherResource *includable(const KVCommandAction &a, KVResourceManager *pManager)
{
    auto *p = dynamic_cast<KVOtherResource *>(keptResource(a, pManager));
    return p && (p->type() == KVResourceType::Script || p->type() == KVResourceType::StyleSheet) ? p : nullptr;
}

bool applyInclusion(KVCommandAction &a, KVResourceManager *pManager)
{
    KVOtherResource *p = a.hasKinds({P::Resource, P::Bool}) ? includable(a, pManager) : nullptr;
    if (!p)
        return false;
    const bool bOld = p->includeHeader();
    p->setIncludeHeader(a.param(1)->toBool());
    a.param(1)->setValue(bOld);
    return true;
}

bool applyOrder(KVCommandAction &a, KVResourceManager *pManager)
{
    KVOtherResource *p = a.hasKinds({P::Resource, P::Int}) ? includable(a, pManager) : nullptr;
    if (!p)
        return false;
    QList<int> ids = pManager->includeOrderIds(p->type());
    const int nFrom = ids.indexOf(p->id());
    const int nTo = a.param(1)->toInt();
    if (nFrom < 0 || nTo < 0 || nTo >= ids.size())
        return false;
    ids.move(nFrom, nTo);
    if (!pManager->setIncludeOrder(p->type(), ids))
        return false;
    a.param(1)->setValue(nFrom);
    return true;
}

bool applyUrl(KVCommandAction &a, KVResourceManager *pManager)
{
    auto *p = a.hasKinds({P::Resource, P::String}) ? dynamic_cast<KVOtherResource *>(keptResource(a, pManager)) : nullptr;
    if (!p || p->hasFolderFile() || a.param(1)->toString().isEmpty())
        return false;
    const QString strOld = p->fileName();
    p->setFileName(a.param(1)->toString());
    a.param(1)->setValue(strOld);
    return true;
}

} // namespace

bool KVResourceActions::handles(int nType)
{
    switch (nType) {
    case 39: case 40: case 47: case 48: case 49: case 50: case 52:
        return true;
    default:
        return false;
    }
}

bool KVResourceActions::apply(KVCommandAction &a, bool bForward)
{
    KVResourceManager *pManager = managerOf(a.document());
    if (!pManager || a.paramCount() < 1)
        return false;
    switch (a.type()) {
    case 39:
    case 40: return applyLife(a, pManager, bForward);
    case 47: return applyMediaGroup(a, pManager);
    case 48: return applyName(a, pManager);
    case 49: return applyInclusion(a, pManager);
    case 50: return applyOrder(a, pManager);
    case 52: return applyUrl(a, pManager);
    default: return false;
    }
}

QJsonArray KVResourceActions::pageParams(int nType, bool bUndo, const KVCmdParamList &params,
                                         IKVCommandTarget *pDocument, KVResourceManager *pResources,
                                         bool &bPrepared)
{
    QJsonArray ja;
    bPrepared = nType == 39 || nType == 40 || nType == 47 || nType == 49 || nType == 50 || nType == 52
                || nType == 103;
    if (!bPrepared)
        return ja;
    KVResourceManager *pManager = pResources ? pResources : managerOf(pDocument);
    KVResource *pResource = params.isEmpty() ? nullptr : params.first()->resource();
    if (!pManager || !pResource)
        return ja;
    const QJsonObject joItem{{QStringLiteral("type"), P::JsonArray},
                             {QStringLiteral("value"), QJsonArray{pManager->canvasItem(pResource)}}};
    const bool bFont = pResource->type() == KVResourceType::Font;
    // The page keeps fonts only: other resources come and go with the elements that use them.
    if (nType == 39 || nType == 40) {
        const bool bAdded = (nType == 39) != bUndo;
        if (bFont || (nType == 39 && bAdded))
            ja.append(joItem);
        return ja;
    }
    ja.append(joItem);
    ja.append(QJsonObject{{QStringLiteral("type"), P::Int}, {QStringLiteral("value"), pResource->id()}});
    return ja;
}
