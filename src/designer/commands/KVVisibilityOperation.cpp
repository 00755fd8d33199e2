#include "commands/KVVisibilityOperation.h"

#include "commands/KVCommand.h"
#include "commands/KVEditContext.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVScene.h"

#include <QJsonObject>

namespace {

// Every element of the stage below its root.
QList<KVElement *> allElements(const KVScene *pScene)
{
    QList<KVElement *> list;
    if (!pScene)
        return list;
    for (KVElement *pChild : pScene->children()) {
        pChild->forEachInSubtree([&list](const KVElement *p) { list.append(const_cast<KVElement *>(p)); });
    }
    return list;
}

bool allLocked(const QList<KVElement *> &list)
{
    for (const KVElement *p : list) {
        if (!p->isLocked())
            return false;
    }
    return !list.isEmpty();
}

bool allHidden(const QList<KVElement *> &list)
{
    for (const KVElement *p : list) {
        if (p->isVisible())
            return false;
    }
    return !list.isEmpty();
}

bool anyHidden(const QList<KVElement *> &list)
{
    for (const KVElement *p : list) {
        if (!p->isVisible())
            return true;
    }
    return false;
}

// One 1007 action per element whose flag differs from the wanted state.
KVCommand *flagCommand(const KVEditContext &c, const QList<KVElement *> &elements, const QString &strKey,
                       bool bWanted, const QString &strText)
{
    if (!c.isUsable() || elements.isEmpty())
        return nullptr;
    auto *pCommand = new KVCommand(c.pTarget, strText, c.pSender);
    const bool bLock = strKey == QLatin1String("locked");
    for (KVElement *p : elements) {
        if ((bLock ? p->isLocked() : p->isVisible()) == bWanted)
            continue;
        auto *pAction = new KVElementCommandAction(KVElementCommandAction::NameAndLock, c.pTarget, 2);
        pAction->addParam(KVCmdParam::makeObject(KVCmdParam::Element, p));
        QJsonObject jo;
        jo.insert(strKey, bWanted);
        pAction->addParam(KVCmdParam::makeJsonObject(jo));
        pCommand->addAction(pAction);
    }
    if (pCommand->actions().isEmpty()) {
        delete pCommand;
        return nullptr;
    }
    return pCommand;
}

} // namespace

KVCommand *KVVisibilityOperation::lockAll(const KVEditContext &c)
{
    const QList<KVElement *> list = allElements(c.pScene);
    const bool bUnlock = allLocked(list);
    return flagCommand(c, list, QStringLiteral("locked"), !bUnlock,
                       bUnlock ? tr("Unlock All Elements") : tr("Lock All Elements"));
}

KVCommand *KVVisibilityOperation::hideAll(const KVEditContext &c)
{
    const QList<KVElement *> list = allElements(c.pScene);
    const bool bShow = allHidden(list);
    return flagCommand(c, list, QStringLiteral("visible"), bShow,
                       bShow ? tr("Show All Elements") : tr("Hide All Elements"));
}

KVCommand *KVVisibilityOperation::lockSelected(const KVEditContext &c)
{
    const QList<KVElement *> list = c.selectedElements();
    const bool bUnlock = allLocked(list);
    return flagCommand(c, list, QStringLiteral("locked"), !bUnlock,
                       bUnlock ? tr("Unlock Element") : tr("Lock Element"));
}

KVCommand *KVVisibilityOperation::hideSelected(const KVEditContext &c)
{
    const QList<KVElement *> list = c.selectedElements();
    const bool bShow = anyHidden(list);
    return flagCommand(c, list, QStringLiteral("visible"), bShow,
                       bShow ? tr("Show Element") : tr("Hide Element"));
}

bool KVVisibilityOperation::isAvailable(const KVScene *pScene)
{
    return pScene && !pScene->children().isEmpty();
}

QString KVVisibilityOperation::lockAllText(const KVScene *pScene)
{
    return allLocked(allElements(pScene)) ? tr("Unlock All") : tr("Lock All");
}

QString KVVisibilityOperation::hideAllText(const KVScene *pScene)
{
    return allHidden(allElements(pScene)) ? tr("Show All") : tr("Hide All");
}

QString KVVisibilityOperation::hideText(const KVEditContext &c)
{
    return anyHidden(c.selectedElements()) ? tr("Show") : tr("Hide");
}
