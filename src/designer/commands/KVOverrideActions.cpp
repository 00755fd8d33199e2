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
    if (!a.hasLeadingKinds({P::Element, P::Int, P::Int, P::Int, P::IntList, P::Variant}, 6, 7))
        return false;
    KVElement *pElement = a.element();
    const KVLayoutKey layout(a.param(1)->toInt(), a.param(2)->toInt());
    KVElementProperty *pProperty = layout.isBase() || layout.isCurrent() ? nullptr : pElement->property(layout);
    const QList<int> codes = a.param(4)->toIntList();
    if (!pProperty || codes.isEmpty())
        return false;
    // Later executions give the layout back the object the one before took from it.
    if (a.paramCount() == 7) {
        auto *pKept = qobject_cast<KVElementProperty *>(a.param(6)->object());
        if (!pKept || pKept->metaObject() != pProperty->metaObject())
            return false;
        a.param(6)->setOwned(false);
        a.param(6)->setObject(pElement->replaceProperty(pKept, layout), true);
        return true;
    }
    for (int nCode : codes) {
        if (nCode < 0 || nCode > KVElementProperty::LastPropertyCode)
            return false;
    }
    const KVElementProperty *pBase = pElement->property(KVLayoutKey::base());
    if (!pBase)
        return false;
    // The first execution: a copy with the flags changed, whose inherited values are the base's.
    const QVariant states = a.param(5)->value();
    QMap<int, bool> flags = pProperty->inheritFlags();
    for (int nCode : codes) {
        const int nState = states.isValid() ? states.toMap().value(QString::number(nCode), -1).toInt() : -1;
        if (nState < 0)
            flags.remove(nCode);
        else
            flags.insert(nCode, nState != 0);
    }
    KVElementProperty *pChanged = pProperty->clone();
    pChanged->setInheritFlags(flags);
    pChanged->inheritFrom(*pBase);
    a.addParam(P::makeObject(P::Overrides, pElement->replaceProperty(pChanged, layout), true));
    return true;
}
