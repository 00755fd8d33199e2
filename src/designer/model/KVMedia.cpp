#include "KVMedia.h"

#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"
#include "resources/KVResourceType.h"

using namespace KVJsonUtil;

KVMedia::KVMedia(int nMediaKind)
    : m_nMediaKind(nMediaKind == KVElementType::Video ? KVElementType::Video : KVElementType::Audio)
    , m_media({KVResourceType::Audio, KVResourceType::Video})
    , m_bControls(m_nMediaKind == KVElementType::Audio)
{
}

KVMedia::~KVMedia() = default;

int KVMedia::type() const
{
    return m_nMediaKind;
}

KVElement *KVMedia::clone() const
{
    auto *pCopy = new KVMedia(m_nMediaKind);
    pCopy->m_media.copyFrom(m_media);
    pCopy->m_nDuration = m_nDuration;
    pCopy->m_dVolume = m_dVolume;
    pCopy->m_bAutoplay = m_bAutoplay;
    pCopy->m_bLoop = m_bLoop;
    pCopy->m_bControls = m_bControls;
    pCopy->m_bPreload = m_bPreload;
    pCopy->m_bMediaInfoLoaded = m_bMediaInfoLoaded;
    return copyElementInto(pCopy);
}

void KVMedia::collectResources(QSet<int> &resourceIds) const
{
    KVElement::collectResources(resourceIds);
    m_media.collect(resourceIds);
}

void KVMedia::replaceResources(const QMap<int, int> &idMap)
{
    KVElement::replaceResources(idMap);
    m_media.replace(idMap);
}

void KVMedia::retainResources()
{
    KVElement::retainResources();
    m_media.retain();
}

void KVMedia::releaseResources()
{
    KVElement::releaseResources();
    m_media.release();
}

void KVMedia::toJson(QJsonObject &jo) const
{
    KVElement::toJson(jo);
    jo.insert(QStringLiteral("resourceId"), m_media.resourceId());
    jo.insert(QStringLiteral("duration"), m_nDuration);
    jo.insert(QStringLiteral("volume"), m_dVolume);
    jo.insert(QStringLiteral("autoplay"), m_bAutoplay);
    jo.insert(QStringLiteral("loop"), m_bLoop);
    jo.insert(QStringLiteral("controls"), m_bControls);
    jo.insert(QStringLiteral("preload"), m_bPreload);
    jo.insert(QStringLiteral("mediaInfoLoaded"), m_bMediaInfoLoaded);
}

void KVMedia::toPlayerJson(QJsonObject &jo, bool bForCanvas, const KVLayoutKey &layout)
{
    KVElement::toPlayerJson(jo, bForCanvas, layout);
    jo.insert(QStringLiteral("rs"), m_media.resourceId());
    jo.insert(QStringLiteral("vol"), times100(m_dVolume));
    // The editing page shows the first frame: it never starts a medium by itself.
    jo.insert(QStringLiteral("ap"), bForCanvas ? false : m_bAutoplay);
    jo.insert(QStringLiteral("lo"), m_bLoop);
    jo.insert(QStringLiteral("ct"), m_bControls);
    jo.insert(QStringLiteral("pl"), bForCanvas ? true : m_bPreload);
    if (bForCanvas && isVideo() && !m_bMediaInfoLoaded)
        jo.insert(QStringLiteral("useResourceWH"), 1);
}

bool KVMedia::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    KVResourceManager *pManager = KVResourceHolder::managerOf(pContext);
    const int nId = readInt(jo, QStringLiteral("resourceId"), -1);
    // The fallback takes a medium of the element's own kind: its type code is the resource type.
    KVResource *pMedia = KVResourceHolder::resolve(pManager, nId, m_media.acceptedTypes(), m_nMediaKind);
    if (!pMedia)
        return false;
    m_media.setResource(pMedia, pManager);
    m_nDuration = readInt(jo, QStringLiteral("duration"), 0);
    m_dVolume = readDouble(jo, QStringLiteral("volume"), 0.0);
    m_bAutoplay = readBool(jo, QStringLiteral("autoplay"), false);
    m_bLoop = readBool(jo, QStringLiteral("loop"), false);
    m_bControls = readBool(jo, QStringLiteral("controls"), false);
    m_bPreload = readBool(jo, QStringLiteral("preload"), false);
    m_bMediaInfoLoaded = readBool(jo, QStringLiteral("mediaInfoLoaded"), false);
    return KVElement::fromJson(jo, pContext);
}

bool KVMedia::setMedia(KVResource *pResource, KVResourceManager *pManager)
{
    return m_media.setResource(pResource, pManager);
}

bool KVMedia::setMediaByHash(KVResourceManager *pManager, const QByteArray &hash)
{
    return m_media.setResourceByHash(pManager, hash);
}
