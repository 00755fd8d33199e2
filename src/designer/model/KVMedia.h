#pragma once

#include "animation/IKVPlaybackContent.h"
#include "model/KVElement.h"
#include "model/KVResourceHolder.h"

class KVResource;
class KVResourceManager;

// An audio (type code 1) or video (type code 2) element: plays an audio or video resource of the
// document. The kind is fixed at construction and is the element's type code. Its property objects
// are the common ones; the volume is a Qt property named after the model member so that animations
// can drive it.
//
// The element holds one use count on its medium (see KVResourceHolder). The reader accepts an
// audio or a video resource by id; otherwise it falls back to the resource with the lowest id of
// the element's own kind, and a document without one does not load the element.
//
// A new element has volume 1, preload on and, for audio only, the browser's controls shown; the
// reader takes other defaults for missing keys (volume 0, everything off).
//
// Its playback list plays the medium, whose length is the duration last reported.
class KVMedia : public KVElement, public IKVPlaybackContent
{
    Q_OBJECT
    Q_PROPERTY(double m_dVolume READ volume WRITE setVolume)

public:
    // nMediaKind: 1 audio, 2 video (anything else is taken as audio).
    explicit KVMedia(int nMediaKind = 1);
    ~KVMedia() override;

    int type() const override;
    // Copies every field; refers to the same medium with a use count of its own.
    KVElement *clone() const override;

    void collectResources(QSet<int> &resourceIds) const override;
    void replaceResources(const QMap<int, int> &idMap) override;
    void retainResources() override;
    void releaseResources() override;

    // The element keys, then "resourceId", "duration", "volume", "autoplay", "loop", "controls",
    // "preload", "mediaInfoLoaded".
    void toJson(QJsonObject &jo) const override;
    // Adds "rs", "vol" (percent), "ap", "lo", "ct", "pl". The canvas page never autoplays and
    // always preloads, and a video whose size is not known yet asks it to take the size of the
    // resource ("useResourceWH": 1).
    void toPlayerJson(QJsonObject &jo, bool bForCanvas,
                      const KVLayoutKey &layout = KVLayoutKey::current()) override;
    // The media keys first (see the class comment), then the element keys; false when the
    // document has no medium of the element's kind.
    bool fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext = nullptr) override;

    int mediaKind() const { return m_nMediaKind; }
    bool isVideo() const { return m_nMediaKind == 2; }

    KVResource *media() const { return m_media.resource(); }
    int mediaId() const { return m_media.resourceId(); }
    bool holdsCount() const { return m_media.holdsCount(); }
    // Plays another medium (null: none); false for a resource that is not audio or video.
    bool setMedia(KVResource *pResource, KVResourceManager *pManager = nullptr);
    // Plays the medium of the manager whose file has this content hash; false when none has.
    bool setMediaByHash(KVResourceManager *pManager, const QByteArray &hash);

    // The length in milliseconds as the canvas page last reported it.
    int duration() const { return m_nDuration; }
    void setDuration(int n) { m_nDuration = n; }
    // IKVPlaybackContent: the duration.
    int playbackContentLength() const override { return m_nDuration; }
    // 0..1.
    double volume() const { return m_dVolume; }
    void setVolume(double d) { m_dVolume = d; }
    bool autoplay() const { return m_bAutoplay; }
    void setAutoplay(bool b) { m_bAutoplay = b; }
    bool loop() const { return m_bLoop; }
    void setLoop(bool b) { m_bLoop = b; }
    bool controls() const { return m_bControls; }
    void setControls(bool b) { m_bControls = b; }
    bool preload() const { return m_bPreload; }
    void setPreload(bool b) { m_bPreload = b; }
    // Whether the canvas page has reported the medium's size and duration.
    bool isMediaInfoLoaded() const { return m_bMediaInfoLoaded; }
    void setMediaInfoLoaded(bool b) { m_bMediaInfoLoaded = b; }

private:
    const int m_nMediaKind;
    KVResourceHolder m_media;
    int m_nDuration = 0;
    double m_dVolume = 1.0;
    bool m_bAutoplay = false;
    bool m_bLoop = false;
    bool m_bControls;
    bool m_bPreload = true;
    bool m_bMediaInfoLoaded = false;
};
