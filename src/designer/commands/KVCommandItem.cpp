#include "commands/KVCommandItem.h"

#include "interaction/KVEventListener.h"
#include "interaction/KVFunction.h"

KVCommandItem::KVCommandItem(KVFunction *pFunction, bool bOwnsItem)
    : m_pFunction(pFunction), m_bOwnsItem(bOwnsItem && pFunction)
{
}

KVCommandItem::KVCommandItem(KVEventListener *pHandler, bool bOwnsItem)
    : m_pHandler(pHandler), m_bOwnsItem(bOwnsItem && pHandler)
{
}

KVCommandItem::~KVCommandItem()
{
    if (m_bOwnsItem) {
        delete m_pFunction;
        delete m_pHandler;
    }
}
