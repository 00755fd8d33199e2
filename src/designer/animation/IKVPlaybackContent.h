#pragma once

#include <QString>

// What a playback animation needs from the element whose content it plays: a symbol instance (its
// symbol's timeline) or an audio or video element (its media). The element classes implement it;
// the playback finds it on its element by dynamic_cast, and an element without it has no content
// (length 0, no labels).
class IKVPlaybackContent
{
public:
    virtual ~IKVPlaybackContent() = default;

    // Length of the content in ms: the duration of the symbol's timeline at the instance's size,
    // or the media duration.
    virtual int playbackContentLength() const = 0;
    // Time of a label of the symbol's timeline; -1 when there is no such label (media have none).
    virtual int playbackLabelTime(const QString &strLabel) const
    {
        Q_UNUSED(strLabel)
        return -1;
    }
};
