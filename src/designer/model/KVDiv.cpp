#include "KVDiv.h"

#include "model/KVDivProperty.h"
#include "model/KVElementType.h"

KVDiv::KVDiv() = default;

KVDiv::~KVDiv() = default;

int KVDiv::type() const
{
    return KVElementType::Div;
}

KVElement *KVDiv::clone() const
{
    return copyElementInto(new KVDiv);
}

void KVDiv::init()
{
    KVElement::init();
    initFilledBox();
}

KVCorner *KVDiv::corner(const KVLayoutKey &layout) const
{
    const KVDivProperty *pDiv = qobject_cast<KVDivProperty *>(property(layout));
    return pDiv ? pDiv->corner() : nullptr;
}
