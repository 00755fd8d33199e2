#include "commands/KVEditContext.h"

#include "model/KVScene.h"

#include <QSet>

namespace {

// A selected element with selected children stands for them (a group the user has entered).
void collectSelected(const KVElement *pParent, QList<KVElement *> &list)
{
    for (KVElement *pChild : pParent->children()) {
        if (!pChild->isSelected())
            continue;
        QList<KVElement *> below;
        collectSelected(pChild, below);
        if (below.isEmpty())
            list.append(pChild);
        else
            list += below;
    }
}

} // namespace

bool KVEditContext::isUsable() const
{
    return pTarget && pScene;
}

QList<KVElement *> KVEditContext::selectedElements() const
{
    if (!selection.isEmpty())
        return selection;
    QList<KVElement *> list;
    if (pScene)
        collectSelected(pScene, list);
    return list;
}

QList<KVElement *> KVEditContext::selectedTopLevel() const
{
    const QList<KVElement *> all = selectedElements();
    const QSet<const KVElement *> set(all.cbegin(), all.cend());
    QList<KVElement *> list;
    for (KVElement *p : all) {
        bool bCovered = false;
        for (const KVElement *pUp = p->parent(); pUp && !bCovered; pUp = pUp->parent())
            bCovered = set.contains(pUp);
        if (!bCovered)
            list.append(p);
    }
    return list;
}

KVElement *KVEditContext::focusedElement() const
{
    if (!pScene || nFocusedId < 1)
        return nullptr;
    KVElement *p = pScene->findElement(nFocusedId);
    return p == pScene ? nullptr : p;
}

QList<KVLayoutKey> KVEditContext::editedLayouts() const
{
    if (!layouts.isEmpty())
        return layouts;
    QList<KVLayoutKey> list;
    if (pScene)
        list.append(pScene->currentLayout());
    return list;
}
