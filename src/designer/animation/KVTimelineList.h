#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>

class KVElement;
class KVTimeline;

// The timelines of one scene or symbol, in display order. The first is the main timeline; there is
// a current timeline (the one the editor shows and seeks) and a counter of free ids starting at 1.
//
// A timeline that enters the list gets an id when it has none (below 1) or when another timeline of
// the list already carries its id, raises the counter past a kept id, and is switched to the
// owner's current responsive layout. The list owns its timelines; a timeline destroyed elsewhere
// leaves the list by itself.
class KVTimelineList : public QObject
{
    Q_OBJECT

public:
    // Creates the main timeline, named "Timeline", as the current one. pOwner is the scene or
    // symbol element (not owned; may be null).
    explicit KVTimelineList(KVElement *pOwner = nullptr, QObject *pParent = nullptr);
    ~KVTimelineList() override;

    KVTimelineList(const KVTimelineList &) = delete;
    KVTimelineList &operator=(const KVTimelineList &) = delete;

    KVElement *owner() const { return m_pOwner; }
    int nextId() const { return m_nNextId; }

    int count() const { return m_listTimelines.size(); }
    KVTimeline *at(int nIndex) const { return m_listTimelines.value(nIndex); }
    int indexOf(const KVTimeline *pTimeline) const;
    const QList<KVTimeline *> &timelines() const { return m_listTimelines; }
    KVTimeline *mainTimeline() const { return m_listTimelines.value(0); }
    KVTimeline *findById(int nId) const;

    // Takes the timeline over and inserts it at nIndex; an index outside 0..count appends. Returns
    // the index used, or -1 (nothing taken) for null or a timeline already in the list.
    int insert(KVTimeline *pTimeline, int nIndex = -1);
    // Takes the timeline out without destroying it (the caller owns it again); its former index or
    // -1. When it was current, the first remaining timeline becomes current.
    int remove(KVTimeline *pTimeline);
    // Makes the timeline the main one; false when it is not in the list.
    bool moveToFront(KVTimeline *pTimeline);

    KVTimeline *currentTimeline() const { return m_pCurrent; }
    // False (nothing changes) when the timeline is not in the list.
    bool setCurrentTimeline(KVTimeline *pTimeline);

    // Project form: "timelines" (in list order) and "current_timeline" (-1 without one).
    void toJson(QJsonObject &jo) const;
    // Replaces the timelines by those of the object and seeks the current one to its stored time.
    // When none can be read, a new main timeline takes their place. A current timeline that was
    // held by an animation group (a symbol instance playing it) is replaced there by the new one.
    void fromJson(const QJsonObject &jo);

signals:
    void currentTimelineChanged(KVTimeline *pTimeline);

private:
    void admit(KVTimeline *pTimeline);
    void forget(KVTimeline *pTimeline);
    KVTimeline *newMainTimeline() const;

    KVElement *m_pOwner = nullptr;
    QList<KVTimeline *> m_listTimelines;
    KVTimeline *m_pCurrent = nullptr;
    int m_nNextId = 1;
};
