#pragma once

#include "animation/KVAnimation.h"

class KVPlayback;

// The animation of an audio, video or symbol-instance element: its property tracks plus the
// playback list that plays and pauses the element's own content. The playback is one of the
// animation's children, so the timeline lasts at least until the last playback item has run.
class KVPlaybackAnimation : public KVAnimation
{
    Q_OBJECT

public:
    explicit KVPlaybackAnimation(KVElement *pElement, QObject *pParent = nullptr);
    ~KVPlaybackAnimation() override;

    KVPlayback *playback() const { return m_pPlayback; }

    // Audio, video and symbol instances have playback animations.
    static bool hasPlayback(const KVElement *pElement);
    // The animation a timeline makes for an element: a playback animation for audio, video and
    // symbol instances, a plain one for any other element (null stays null).
    static KVAnimation *createFor(KVElement *pElement);

    KVAnimation *clone(KVTimeline *pTimeline, const KVLayoutKey &layout) const override;
    // The animation's keys followed by "playback".
    void toJson(QJsonObject &jo) const override;
    // The animation's keys, then the playback list from "playback" (empty when missing).
    void fromJson(const QJsonObject &jo, KVTimeline *pTimeline, const KVLayoutKey &layout) override;
    // The playback entries, then the entries of the property tracks.
    void toPlayerJson(QJsonArray &entries, bool bCanvasMode = false) const override;

private:
    KVPlayback *m_pPlayback = nullptr;
};
