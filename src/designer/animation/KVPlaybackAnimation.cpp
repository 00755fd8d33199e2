#include "animation/KVPlaybackAnimation.h"

#include "animation/KVPlayback.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"

KVPlaybackAnimation::KVPlaybackAnimation(KVElement *pElement, QObject *pParent)
    : KVAnimation(pElement, pParent), m_pPlayback(new KVPlayback(pElement))
{
    addAnimation(m_pPlayback);
}

KVPlaybackAnimation::~KVPlaybackAnimation() = default;

bool KVPlaybackAnimation::hasPlayback(const KVElement *pElement)
{
    if (!pElement)
        return false;
    const int nType = pElement->type();
    return nType == KVElementType::Audio || nType == KVElementType::Video || nType == KVElementType::Symbol;
}

KVAnimation *KVPlaybackAnimation::createFor(KVElement *pElement)
{
    if (!pElement)
        return nullptr;
    if (hasPlayback(pElement))
        return new KVPlaybackAnimation(pElement);
    return new KVAnimation(pElement);
}

KVAnimation *KVPlaybackAnimation::clone(KVTimeline *pTimeline, const KVLayoutKey &layout) const
{
    QJsonObject jo;
    toJson(jo);
    auto *pClone = new KVPlaybackAnimation(element());
    pClone->fromJson(jo, pTimeline, layout);
    return pClone;
}

void KVPlaybackAnimation::toJson(QJsonObject &jo) const
{
    KVAnimation::toJson(jo);
    jo.insert(QStringLiteral("playback"), m_pPlayback->toJson());
}

void KVPlaybackAnimation::fromJson(const QJsonObject &jo, KVTimeline *pTimeline, const KVLayoutKey &layout)
{
    KVAnimation::fromJson(jo, pTimeline, layout);
    m_pPlayback->fromJson(KVJsonUtil::readArray(jo, QStringLiteral("playback")));
}

void KVPlaybackAnimation::toPlayerJson(QJsonArray &entries, bool bCanvasMode) const
{
    const KVElement *pElement = element();
    m_pPlayback->toPlayerJson(entries, pElement ? pElement->id() : -1);
    KVAnimation::toPlayerJson(entries, bCanvasMode);
}
