#include "commands/KVOverrideActions.h"

#include "commands/KVCommandAction.h"
#include "model/KVElement.h"
#include "model/KVElementProperty.h"

bool KVOverrideActions::apply(KVCommandAction &a, bool bForward)
{
    Q_UNUSED(bForward)
    using P = KVCmdParam;
    if (!a.hasKinds({P::Element, P::Int, P::Int, P::Overrides}))
        return false;
    KVElement *pElement = a.param(0)->element();
    auto *pIncoming = qobject_cast<KVElementProperty *>(a.param(3)->object());
    const KVLayoutKey layout(a.param(1)->toInt(), a.param(2)->toInt());
    if (!pElement || !pIncoming || layout.isBase() || !pElement->property(layout))
        return false;
    // The parameter lets go of the incoming object before it holds the outgoing one.
    a.param(3)->setOwned(false);
    KVElementProperty *pOutgoing = pElement->takeProperty(layout);
    pElement->addProperty(pIncoming, layout);
    a.param(3)->setObject(pOutgoing, true);
    return true;
}
