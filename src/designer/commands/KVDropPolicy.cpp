#include "commands/KVDropPolicy.h"

#include "Reporter.h"
#include "commands/KVCommand.h"
#include "commands/KVEditContext.h"
#include "commands/KVInsertOperation.h"
#include "model/KVJsonUtil.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeData>

QString KVDropPolicy::resourceFormat()
{
    return QStringLiteral("kavio-resource");
}

QString KVDropPolicy::elementFormat()
{
    return QStringLiteral("kavio-element");
}

bool KVDropPolicy::isImportable(const QUrl &url)
{
    if (!url.isLocalFile())
        return false;
    return KVResourceType::acceptsSuffix(KVResourceType::AnyImportable, QFileInfo(url.toLocalFile()).suffix());
}

KVDropPolicy::Kind KVDropPolicy::kindOf(const QMimeData *pData, bool bHasTimeline)
{
    if (!pData)
        return Refused;
    if (pData->hasFormat(resourceFormat()))
        return Resources;
    if (pData->hasFormat(elementFormat()))
        return bHasTimeline ? Elements : Refused;
    if (pData->hasUrls()) {
        for (const QUrl &url : pData->urls()) {
            if (isImportable(url))
                return Files;
        }
        return Refused;
    }
    return pData->hasText() ? PlainText : Refused;
}

QByteArray KVDropPolicy::resourcePayload(const QList<int> &ids)
{
    QJsonArray ja;
    for (int n : ids)
        ja.append(n);
    QJsonObject jo;
    jo.insert(QStringLiteral("ids"), ja);
    return KVJsonUtil::toBinary(QJsonDocument(jo));
}

QList<int> KVDropPolicy::resourceIds(const QMimeData *pData)
{
    QList<int> ids;
    if (!pData || !pData->hasFormat(resourceFormat()))
        return ids;
    const QJsonDocument doc = KVJsonUtil::fromBinary(pData->data(resourceFormat()));
    for (const QJsonValue &v : doc.object().value(QStringLiteral("ids")).toArray()) {
        if (v.isDouble())
            ids.append(v.toInt());
    }
    return ids;
}

namespace {

QString refusalText()
{
    return KVDropPolicy::tr("Cannot insert element that contains the current symbol.");
}

// The resources that may become elements; the refused ones are reported once.
QList<KVResource *> admitted(const QList<KVResource *> &resources,
                             const std::function<bool(const KVResource *)> &containsEdited)
{
    QList<KVResource *> list;
    bool bRefused = false;
    for (KVResource *p : resources) {
        if (containsEdited && p->type() == KVResourceType::Symbol && containsEdited(p))
            bRefused = true;
        else
            list.append(p);
    }
    if (bRefused)
        Reporter::warning(refusalText());
    return list;
}

} // namespace

KVCommand *KVDropPolicy::dropResources(const KVEditContext &c, KVResourceManager *pManager,
                                       const QList<int> &ids, const QPointF &pt,
                                       const std::function<bool(const KVResource *)> &containsEdited)
{
    if (!c.isUsable() || !pManager)
        return nullptr;
    QList<KVResource *> resources;
    for (int nId : ids) {
        KVResource *p = pManager->resource(nId);
        if (p && !p->isDeleted())
            resources.append(p);
    }
    return KVInsertOperation::insertResources(c, admitted(resources, containsEdited), pManager, pt,
                                              tr("Insert Element"));
}

KVCommand *KVDropPolicy::dropFiles(const KVEditContext &c, KVResourceManager *pManager,
                                   const QList<QUrl> &urls, const QPointF &pt,
                                   const std::function<bool(const KVResource *)> &containsEdited)
{
    if (!c.isUsable() || !pManager)
        return nullptr;
    QStringList paths;
    int nFailed = 0;
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
        else
            ++nFailed;
    }
    QStringList failed;
    const QList<KVResource *> imported = paths.isEmpty() ? QList<KVResource *>()
                                                         : pManager->importFiles(paths, -1, &failed);
    QList<KVResource *> added;
    for (KVResource *p : imported) {
        if (pManager->addResource(p)) {
            added.append(p);
        } else {
            delete p;
            ++nFailed;
        }
    }
    KVCommand *pCommand = nullptr;
    if (!pManager->wasImportCanceled()) {
        // Scripts and style sheets become resources only; the command records them all.
        pCommand = KVInsertOperation::insertResources(c, added, pManager, pt, tr("Insert Element"),
                                                      containsEdited, true, refusalText());
        nFailed += failed.size();
    }
    if (nFailed > 0)
        Reporter::warning(tr("Could not import %1 file(s).\nFile format may not be supported.").arg(nFailed));
    return pCommand;
}
