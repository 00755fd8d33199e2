#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <QList>
#include <QVariantAnimation>

class IKVPlaybackContent;
class KVElement;
class KVEventListener;
class KVEventListenerList;

// The playback list of a media or symbol-instance element: timed play and pause commands for the
// element's own content (the media, or the symbol's timeline). Each item is an event handler of
// event 201 whose event value holds the timeline time it fires at ("action_time") and whose action
// is one of the five symbol actions 20-24 or media actions 40-44. Its action data hold the target
// position ("time": ms, or a label name of the symbol's timeline), the speed ("speed": percent,
// negative plays backwards, 0 or missing keeps the previous speed) and the computed "duration".
//
// It interpolates nothing; its duration is the end of the list (the last item's time plus its
// duration), so that the timeline lasts at least until the content stops.
class KVPlayback : public QVariantAnimation
{
    Q_OBJECT

public:
    enum Kind { None = 0, Start = 1, Play = 2, PlayFrom = 3, Pause = 4, PauseAt = 5 };

    // pElement is the element whose content plays (not owned; may be null).
    explicit KVPlayback(KVElement *pElement = nullptr, QObject *pParent = nullptr);
    ~KVPlayback() override;

    KVPlayback(const KVPlayback &) = delete;
    KVPlayback &operator=(const KVPlayback &) = delete;

    KVElement *element() const { return m_pElement; }
    void setElement(KVElement *pElement) { m_pElement = pElement; }
    // The element's content, or null when it offers none.
    const IKVPlaybackContent *content() const;
    // Length of the content in ms (0 without content).
    int contentLength() const;

    // The items, in list order (owned).
    KVEventListenerList *list() const { return m_pList; }
    // Kind of an item's action on this element: action - 19 for the symbol actions on a symbol
    // instance, action - 39 for the media actions on audio and video; None for anything else. With
    // no element either group is taken.
    int kindOf(const KVEventListener *pItem) const;
    static int kindForAction(int nAction, int nElementType);

    // Appends an item (event 201) firing at nActionTime, then recomputes. nTarget is the position
    // for the "from" and "at" kinds (a number or a label name; undefined writes none), nSpeed the
    // speed in percent (0 writes none). The item belongs to the list.
    KVEventListener *addItem(int nAction, int nActionTime, const QJsonValue &target = QJsonValue(),
                             int nSpeed = 0);
    // Takes the item out (the caller owns it again) and recomputes; false when it is not an item.
    bool takeItem(KVEventListener *pItem);
    // Recomputes every item's "duration" in list order, then the length. Run after every edit.
    void recompute();
    // Sets the duration to the last item's time plus its stored "duration" (0 for an empty list).
    void updateLength();

    // Project form: the list's handlers.
    QJsonArray toJson() const;
    // Replaces the items by those of the array and sets the length from their stored durations.
    void fromJson(const QJsonArray &ja);
    // Appends one player entry {el, p "pb", t, d, a [kind, start(, speed)]} per item of a known
    // kind, in list order.
    void toPlayerJson(QJsonArray &entries, int nElementId) const;

protected:
    void updateCurrentTime(int nCurrentTime) override;

private:
    // One step of the walk over the items: what the player does and for how long.
    struct Step
    {
        int nItem = -1;
        int nKind = None;  // as written (a Play that restarts is written as Start)
        int nTime = 0;
        int nDuration = 0;
        int nStart = 0;
        double dSpeed = 1.0;
    };
    QList<Step> walk() const;
    // The item's target position: a number, or the time of the label it names; -1 otherwise.
    int targetOf(const KVEventListener *pItem) const;

    KVElement *m_pElement = nullptr;
    KVEventListenerList *m_pList = nullptr;
};
