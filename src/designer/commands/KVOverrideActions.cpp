#include "commands/KVOverrideActions.h"

#include "commands/KVElementCommandAction.h"
#include "model/KVElement.h"
#include "model/KVElementProperty.h"

#include <QVariantMap>

namespace {

using P = KVCmdParam;

} // namespace

bool KVOverrideActions::handles(int nType)
{
    return nType >= 83 && nType <= 85;
}

bool KVOverrideActions::apply(KVCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::Int, P::Int, P::Overrides}) || !a.param(0)->element())
        return false;
    KVElement *pElement = a.param(0)->element();
    const KVLayoutKey layout(a.param(1)->toInt(), a.param(2)->toInt());
    KVElementProperty *pNow = layout.isBase() || layout.isCurrent() ? nullptr : pElement->property(layout);
    if (!pNow)
        return false;
    auto *pCarried = qobject_cast<KVElementProperty *>(a.param(3)->object());
    if (!pCarried) {
        // The first execution of 84 and 85 makes the object the layout is to get.
        if (a.type() == 83)
            return false;
        KVElementProperty *pModel = a.type() == 84 ? pNow : pElement->property(KVLayoutKey::base());
        if (!pModel)
            return false;
        pCarried = pModel->clone();
        pCarried->setInheritFlags(QMap<int, bool>());
    } else if (pCarried->metaObject() != pNow->metaObject()) {
        return false;
    }
    // The parameter lets go of the object before the layout takes it, then keeps the replaced one.
    if (a.param(3)->object())
        a.param(3)->setOwned(false);
    KVElementProperty *pOld = pElement->replaceProperty(pCarried, layout);
    a.param(3)->setObject(pOld, true);
    return true;
}

bool KVOverrideActions::applyGroup(KVElementCommandAction &a)
{
    if (!a.hasKinds({P::Element, P::Int, P::Int, P::Int, P::IntList, P::Variant}))
        return false;
    KVElement *pElement = a.element();
    const KVLayoutKey layout(a.param(1)->toInt(), a.param(2)->toInt());
    KVElementProperty *pProperty = layout.isBase() || layout.isCurrent() ? nullptr : pElement->property(layout);
    const QList<int> codes = a.param(4)->toIntList();
    if (!pProperty || codes.isEmpty())
        return false;
    for (int nCode : codes) {
        if (nCode < 0 || nCode > KVElementProperty::LastPropertyCode)
            return false;
    }
    const QVariant states = a.param(5)->value();
    QMap<int, bool> flags = pProperty->inheritFlags();
    QVariantMap mapOld;
    for (int nCode : codes) {
        mapOld.insert(QString::number(nCode), flags.contains(nCode) ? (flags.value(nCode) ? 1 : 0) : -1);
        const int nState = states.isValid() ? states.toMap().value(QString::number(nCode), -1).toInt() : -1;
        if (nState < 0)
            flags.remove(nCode);
        else
            flags.insert(nCode, nState != 0);
    }
    pProperty->setInheritFlags(flags);
    a.param(5)->setValue(mapOld);
    return true;
}
