#include "commands/KVElementTreeOperation.h"

#include "commands/KVCmdParam.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVElementContainer.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <QJsonObject>

using P = KVCmdParam;

namespace {
KVCommand *nameAndLock(IKVCommandTarget *pTarget, KVElement *pElement, const QJsonObject &jo,
                       const QString &strText, QObject *pSender)
{
    auto *pCommand = new KVCommand(pTarget, strText, pSender);
    auto *pAction = new KVElementCommandAction(KVElementCommandAction::NameAndLock, pTarget, 2);
    pAction->addParam(P::makeObject(P::Element, pElement));
    pAction->addParam(P::makeJsonObject(jo));
    pCommand->addAction(pAction);
    return pCommand;
}
} // namespace

KVCommand *KVElementTreeOperation::rename(IKVCommandTarget *pTarget, KVElement *pElement, const QString &strName,
                                          RenameResult *pResult, QObject *pSender)
{
    RenameResult eDummy;
    RenameResult &eResult = pResult ? *pResult : eDummy;
    eResult = Unchanged;
    const QString strNew = strName.trimmed();
    if (!pTarget || !pElement || strNew.isEmpty() || strNew == pElement->name())
        return nullptr;
    auto *pScene = qobject_cast<KVScene *>(pElement);
    bool bTaken = false;
    if (pScene) {
        bTaken = pScene->sceneList() && pScene->sceneList()->isSceneNameTaken(strNew, pScene);
    } else if (KVElementContainer *pRoot = pElement->container()) {
        bTaken = pRoot->isNameTaken(strNew, pElement);
    }
    if (bTaken) {
        eResult = Taken;
        return nullptr;
    }
    eResult = Renamed;
    return nameAndLock(pTarget, pElement, QJsonObject{{QStringLiteral("name"), strNew}},
                       pScene ? tr("Change Scene Name") : tr("Change Element Name"), pSender);
}

KVCommand *KVElementTreeOperation::setFlag(IKVCommandTarget *pTarget, KVElement *pElement, bool bLock, bool bOn,
                                           QObject *pSender)
{
    if (!pTarget || !pElement || (bLock ? pElement->isLocked() : pElement->isVisible()) == bOn)
        return nullptr;
    const QString strText = bLock ? (bOn ? tr("Lock Element") : tr("Unlock Element"))
                                  : (bOn ? tr("Show Element") : tr("Hide Element"));
    return nameAndLock(pTarget, pElement,
                       QJsonObject{{bLock ? QStringLiteral("locked") : QStringLiteral("visible"), bOn}}, strText,
                       pSender);
}

KVCommand *KVElementTreeOperation::move(IKVCommandTarget *pTarget, const QList<KVElement *> &elements,
                                        KVElement *pParent, int nIndex, QObject *pSender)
{
    if (!pTarget || !pParent || !pParent->root())
        return nullptr;
    QList<KVElement *> moving;
    for (KVElement *p : elements) {
        if (p && p->parent() && !p->asContainer() && !pParent->isInSubtreeOf(p) && p->root() == pParent->root()
            && !moving.contains(p)) {
            moving.append(p);
        }
    }
    if (moving.isEmpty())
        return nullptr;
    // Where each one lands, counted among the parent's children without the moving ones.
    int nSlot = nIndex;
    for (KVElement *p : moving) {
        if (p->parent() == pParent && pParent->children().indexOf(p) < nIndex)
            --nSlot;
    }
    nSlot = qBound(0, nSlot, pParent->children().size());
    QList<KVElement *> order = pParent->children();
    for (KVElement *p : moving)
        order.removeAll(p);
    for (int i = 0; i < moving.size(); ++i)
        order.insert(qMin(nSlot + i, order.size()), moving.at(i));
    bool bChanged = order != pParent->children();
    for (KVElement *p : moving)
        bChanged = bChanged || p->parent() != pParent;
    if (!bChanged)
        return nullptr;
    auto *pCommand = new KVCommand(pTarget, tr("Move Element"), pSender);
    // Each action takes one element out and puts it in at its index among the children there by
    // then: the first right after the element that will stand before the moved ones, each other
    // right after the one moved before it.
    KVElement *pAnchor = nSlot > 0 ? order.at(nSlot - 1) : nullptr;
    QList<KVElement *> current = pParent->children();
    for (KVElement *p : moving) {
        current.removeAll(p);
        const int nAt = pAnchor ? current.indexOf(pAnchor) + 1 : 0;
        current.insert(nAt, p);
        pAnchor = p;
        auto *pAction = new KVCommandAction(KVCommandAction::MoveElement, pTarget, 5);
        pAction->addParam(P::makeObject(P::Element, p));
        pAction->addParam(P::makeObject(P::Element, p->parent()));
        pAction->addParam(P::makeInt(p->parent()->children().indexOf(p)));
        pAction->addParam(P::makeObject(P::Element, pParent));
        pAction->addParam(P::makeInt(nAt));
        pCommand->addAction(pAction);
    }
    return pCommand;
}
