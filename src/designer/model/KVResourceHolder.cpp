#include "KVResourceHolder.h"

#include "model/IKVDocumentContext.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"

KVResourceHolder::KVResourceHolder(const QList<int> &acceptedTypes)
    : m_acceptedTypes(acceptedTypes)
{
}

KVResourceHolder::~KVResourceHolder()
{
    release();
}

bool KVResourceHolder::accepts(const KVResource *pResource) const
{
    return pResource && m_acceptedTypes.contains(pResource->type());
}

KVResource *KVResourceHolder::resource() const
{
    // A manager that was given and is gone took its resources with it.
    if (m_bManaged && !m_pManager)
        return nullptr;
    return m_pResource;
}

int KVResourceHolder::resourceId() const
{
    const KVResource *pResource = resource();
    return pResource ? pResource->id() : -1;
}

bool KVResourceHolder::setResource(KVResource *pResource, KVResourceManager *pManager)
{
    if (pResource && !accepts(pResource))
        return false;
    release();
    m_pResource = pResource;
    m_pManager = pResource ? pManager : nullptr;
    m_bManaged = pResource && pManager;
    retain();
    return true;
}

void KVResourceHolder::copyFrom(const KVResourceHolder &other)
{
    setResource(other.resource(), other.m_pManager);
}

void KVResourceHolder::retain()
{
    if (m_bHoldsCount)
        return;
    if (KVResource *pResource = resource()) {
        pResource->retain();
        m_bHoldsCount = true;
    }
}

void KVResourceHolder::release()
{
    if (!m_bHoldsCount)
        return;
    m_bHoldsCount = false;
    if (KVResource *pResource = resource())
        pResource->release();
}

void KVResourceHolder::collect(QSet<int> &resourceIds) const
{
    const int nId = resourceId();
    if (nId >= 0)
        resourceIds.insert(nId);
}

bool KVResourceHolder::replace(const QMap<int, int> &idMap)
{
    const int nId = resourceId();
    if (nId < 0 || !idMap.contains(nId) || !m_pManager)
        return false;
    KVResource *pNew = m_pManager->resource(idMap.value(nId));
    if (!pNew || pNew == m_pResource || !accepts(pNew))
        return false;
    const bool bHeld = m_bHoldsCount;
    release();
    m_pResource = pNew;
    if (bHeld)
        retain();
    return true;
}

bool KVResourceHolder::setResourceByHash(KVResourceManager *pManager, const QByteArray &hash)
{
    KVResource *pFound = findByHash(pManager, hash, m_acceptedTypes);
    return pFound && setResource(pFound, pManager);
}

KVResourceManager *KVResourceHolder::managerOf(const IKVDocumentContext *pContext)
{
    if (!pContext)
        return nullptr;
    if (KVResourceManager *pManager = pContext->documentResourceManager())
        return pManager;
    return dynamic_cast<KVResourceManager *>(pContext->imageUseCounter());
}

KVResource *KVResourceHolder::find(const KVResourceManager *pManager, int nId, const QList<int> &types)
{
    if (!pManager || nId < 0)
        return nullptr;
    KVResource *pResource = pManager->resource(nId);
    if (!pResource || pResource->isDeleted() || !types.contains(pResource->type()))
        return nullptr;
    return pResource;
}

KVResource *KVResourceHolder::lowestOfType(const KVResourceManager *pManager, int nType)
{
    if (!pManager || nType < 0)
        return nullptr;
    // The manager keeps its resources by id, so the first match is the lowest id.
    for (KVResource *pResource : pManager->resourceMap()) {
        if (pResource->type() == nType && !pResource->isDeleted())
            return pResource;
    }
    return nullptr;
}

KVResource *KVResourceHolder::resolve(const KVResourceManager *pManager, int nId,
                                      const QList<int> &types, int nFallbackType)
{
    if (KVResource *pResource = find(pManager, nId, types))
        return pResource;
    return lowestOfType(pManager, nFallbackType);
}

KVResource *KVResourceHolder::findByHash(const KVResourceManager *pManager, const QByteArray &hash,
                                         const QList<int> &types)
{
    if (!pManager || hash.isEmpty())
        return nullptr;
    KVResource *pBest = nullptr;
    for (int nType : types) {
        KVResource *pFound = pManager->findByHash(hash.toLower(), nType);
        if (pFound && (!pBest || pFound->id() < pBest->id()))
            pBest = pFound;
    }
    return pBest;
}
