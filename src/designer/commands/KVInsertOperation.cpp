#include "commands/KVInsertOperation.h"

#include "Reporter.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "model/KVElementFactory.h"
#include "model/KVHTMLWidget.h"
#include "model/KVImage.h"
#include "model/KVMedia.h"
#include "model/KVScene.h"
#include "model/KVSymbolElement.h"
#include "model/KVText.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"

using P = KVCmdParam;

namespace {

void addInsert(KVCommand *pCommand, const KVEditContext &c, KVElement *pElement)
{
    auto *pAction = new KVCommandAction(KVCommandAction::InsertElement, c.pTarget, 3);
    pAction->addParam(P::makeObject(P::Element, pElement, true));
    pAction->addParam(P::makeInt(-1));
    pAction->addParam(P::makeObject(P::Scene, c.pScene));
    pCommand->addAction(pAction);
}

QSize naturalSize(const KVResource *pResource, const KVResourceManager *pManager)
{
    if (!pResource)
        return QSize();
    if (pResource->type() == KVResourceType::Image)
        return pManager ? pManager->imageSize(pResource->id()) : QSize();
    if (const auto *pMedia = dynamic_cast<const MediaResource *>(pResource))
        return pMedia->mediaSize();
    return QSize();
}

} // namespace

void KVInsertOperation::adoptLayouts(KVElement *pElement, const KVScene *pScene)
{
    if (!pElement || !pScene)
        return;
    const QList<KVLayoutKey> keys = pScene->properties().keys();
    pElement->syncLayouts(keys, true, KVLayoutKey::base());
    pElement->setCurrentLayout(pScene->currentLayout());
}

KVCommand *KVInsertOperation::insertText(const KVEditContext &c, const QString &strHtml, const QPointF &pt)
{
    if (!c.isUsable())
        return nullptr;
    auto *pText = static_cast<KVText *>(KVElementFactory::createElement(4));
    pText->setPositionX(pt.x(), KVLayoutKey::base());
    pText->setPositionY(pt.y(), KVLayoutKey::base());
    adoptLayouts(pText, c.pScene);
    if (!strHtml.isEmpty()) {
        for (const KVLayoutKey &l : pText->properties().keys())
            pText->setInnerHtml(strHtml, l);
    }
    auto *pCommand = new KVCommand(c.pTarget, tr("Insert Text"), c.pSender);
    addInsert(pCommand, c, pText);
    return pCommand;
}

KVCommand *KVInsertOperation::insertHtmlWidget(const KVEditContext &c, const QString &strUrl,
                                               KVResource *pResource, KVResourceManager *pManager,
                                               const QSize &size, const QString &strSrcdoc)
{
    if (!c.isUsable())
        return nullptr;
    auto *pWidget = static_cast<KVHTMLWidget *>(KVElementFactory::createElement(3));
    pWidget->setSrcdoc(strSrcdoc);
    if (pResource) {
        pWidget->setUseResource(true);
        pWidget->setResource(pResource, pManager);
    } else {
        pWidget->setUrl(strUrl);
    }
    pWidget->setPositionX(0.0, KVLayoutKey::base());
    pWidget->setPositionY(0.0, KVLayoutKey::base());
    if (!size.isEmpty()) {
        pWidget->setSizeW(size.width(), KVLayoutKey::base());
        pWidget->setSizeH(size.height(), KVLayoutKey::base());
    }
    adoptLayouts(pWidget, c.pScene);
    auto *pCommand = new KVCommand(c.pTarget, tr("Insert HTML Widget"), c.pSender);
    addInsert(pCommand, c, pWidget);
    return pCommand;
}

KVElement *KVInsertOperation::elementFor(KVResource *pResource, KVResourceManager *pManager)
{
    if (!pResource)
        return nullptr;
    switch (pResource->type()) {
    case KVResourceType::Image: {
        auto *p = static_cast<KVImage *>(KVElementFactory::createElement(0));
        p->setImage(pResource, pManager);
        return p;
    }
    case KVResourceType::Audio:
    case KVResourceType::Video: {
        auto *p = static_cast<KVMedia *>(KVElementFactory::createElement(pResource->type()));
        p->setMedia(pResource, pManager);
        return p;
    }
    case KVResourceType::Symbol: {
        auto *p = static_cast<KVSymbolElement *>(KVElementFactory::createElement(7));
        p->setSymbol(pResource, pManager);
        return p;
    }
    default:
        return nullptr;
    }
}

KVCommand *KVInsertOperation::insertResources(const KVEditContext &c, const QList<KVResource *> &resources,
                                              KVResourceManager *pManager, const QPointF &ptOrigin,
                                              const QString &strText,
                                              const std::function<bool(const KVResource *)> &isRefused,
                                              bool bImported, const QString &strRefusal)
{
    if (!c.isUsable())
        return nullptr;
    QString strCommand = strText;
    auto *pCommand = new KVCommand(c.pTarget, QString(), c.pSender);
    if (bImported) {
        // Already in the manager: the first run has nothing to add.
        for (KVResource *pResource : resources) {
            if (!pResource)
                continue;
            auto *pAction = new KVCommandAction(KVCommandAction::AddResource, c.pTarget, 1, true);
            pAction->addParam(P::makeResource(pResource));
            pCommand->addAction(pAction);
        }
    }
    bool bRefused = false;
    int nPlaced = 0;
    for (KVResource *pResource : resources) {
        if (pResource && pResource->type() == KVResourceType::Symbol && isRefused && isRefused(pResource)) {
            bRefused = true;
            continue;
        }
        KVElement *pElement = elementFor(pResource, pManager);
        if (!pElement)
            continue;
        if (strCommand.isEmpty())
            strCommand = commandText(pResource->type());
        const KVLayoutKey base = KVLayoutKey::base();
        pElement->setPositionX(ptOrigin.x() + nPlaced * Stagger, base);
        pElement->setPositionY(ptOrigin.y() + nPlaced * Stagger, base);
        const QSize size = naturalSize(pResource, pManager);
        if (!size.isEmpty() && pResource->type() != KVResourceType::Audio) {
            pElement->setSizeW(size.width(), base);
            pElement->setSizeH(size.height(), base);
        }
        adoptLayouts(pElement, c.pScene);
        addInsert(pCommand, c, pElement);
        ++nPlaced;
    }
    if (bRefused)
        Reporter::warning(strRefusal.isEmpty() ? tr("Cannot insert symbol that is parent of current symbol")
                                               : strRefusal);
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    if (strCommand.isEmpty() && !resources.isEmpty() && resources.constFirst())
        strCommand = commandText(resources.constFirst()->type());
    pCommand->setText(strCommand);
    return pCommand;
}

QList<KVResource *> KVInsertOperation::importFiles(KVResourceManager *pManager, const QStringList &paths,
                                                   int nType)
{
    QList<KVResource *> added;
    if (!pManager || paths.isEmpty())
        return added;
    QStringList failed;
    const QList<KVResource *> imported = pManager->importFiles(paths, nType, &failed);
    for (KVResource *pResource : imported) {
        if (pManager->addResource(pResource))
            added.append(pResource);
        else
            delete pResource;
    }
    if (!failed.isEmpty() && !pManager->wasImportCanceled())
        Reporter::warning(failureText(nType));
    return added;
}

QString KVInsertOperation::commandText(int nResourceType)
{
    switch (nResourceType) {
    case KVResourceType::Image:
        return tr("Insert Image");
    case KVResourceType::Audio:
        return tr("Insert Audio");
    case KVResourceType::Video:
        return tr("Insert Video");
    case KVResourceType::Symbol:
        return tr("Insert Symbol");
    default:
        return QString();
    }
}

QString KVInsertOperation::failureText(int nResourceType)
{
    switch (nResourceType) {
    case KVResourceType::Audio:
        return tr("Could not import some audio files.");
    case KVResourceType::Video:
        return tr("Could not import some video files.");
    case KVResourceType::Symbol:
        return tr("Could not import some symbol files.");
    default:
        return tr("Could not import some image files.");
    }
}
