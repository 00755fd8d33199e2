#pragma once

#include "resources/KVResourceManager.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSet>

class IKVDocumentContext;
class KVResource;

// The resource that an image, media, widget or symbol element shows, with the one use count the
// element holds on it. Not owned: the document's resource manager owns every resource.
//
// Taking a resource gives back the count held on the previous one and takes one on the new one;
// releaseResources()/retainResources() of the element give the count back and take it again when
// the element leaves or re-enters a document, at most one at a time. The destructor gives back a
// count still held. When the holder knows the manager and the manager is gone, the resource is
// taken as gone too and is neither read nor counted.
//
// The holder also knows which resource types its element accepts, so that the lookups below (by
// id, and by the content hash of the resource's file) never hand an element a resource of a kind it
// cannot show.
class KVResourceHolder
{
public:
    explicit KVResourceHolder(const QList<int> &acceptedTypes);
    ~KVResourceHolder();

    KVResourceHolder(const KVResourceHolder &) = delete;
    KVResourceHolder &operator=(const KVResourceHolder &) = delete;

    const QList<int> &acceptedTypes() const { return m_acceptedTypes; }
    bool accepts(const KVResource *pResource) const;

    KVResource *resource() const;
    // The resource's id, -1 without one.
    int resourceId() const;
    KVResourceManager *manager() const { return m_pManager; }
    bool holdsCount() const { return m_bHoldsCount && resource(); }

    // Shows pResource (null: none). A resource of a type the holder does not accept is refused:
    // false, nothing changes. pManager, when given, is the manager that owns the resource.
    bool setResource(KVResource *pResource, KVResourceManager *pManager = nullptr);
    void clear() { setResource(nullptr); }
    // The same resource as other, with a count of its own (what a clone does).
    void copyFrom(const KVResourceHolder &other);

    // Takes the count when none is held; gives it back.
    void retain();
    void release();
    void collect(QSet<int> &resourceIds) const;
    // Moves to the resource the map gives for the current id (looked up in the manager); a count
    // held moves along. False when nothing was replaced.
    bool replace(const QMap<int, int> &idMap);

    // Finds a resource that is not deleted, of an accepted type, whose file has this content hash
    // (MD5, lower-case hex), and shows it; the lowest id wins when several match. False (nothing
    // changes) when there is none.
    bool setResourceByHash(KVResourceManager *pManager, const QByteArray &hash);

    // ---- Lookups of the readers
    // The manager of the document being read into: the context's own answer, else the one behind
    // its image counter; null without either.
    static KVResourceManager *managerOf(const IKVDocumentContext *pContext);
    // The resource with the id when it is not deleted and of one of the types; null otherwise.
    static KVResource *find(const KVResourceManager *pManager, int nId, const QList<int> &types);
    // The resource of the type with the lowest id that is not deleted; null when there is none.
    static KVResource *lowestOfType(const KVResourceManager *pManager, int nType);
    // A reader's rule: the resource with the id when it is of an accepted type, else the lowest
    // one of nFallbackType (-1: no fallback); null when neither exists.
    static KVResource *resolve(const KVResourceManager *pManager, int nId, const QList<int> &types,
                               int nFallbackType);
    // The lowest-id resource that is not deleted, of one of the types, with that content hash.
    static KVResource *findByHash(const KVResourceManager *pManager, const QByteArray &hash,
                                  const QList<int> &types);

private:
    const QList<int> m_acceptedTypes;
    KVResource *m_pResource = nullptr;
    QPointer<KVResourceManager> m_pManager;
    bool m_bManaged = false; // a manager was given with the resource
    bool m_bHoldsCount = false;
};
