#pragma once

#include "KVEventListener.h"

#include <QJsonArray>
#include <QList>
#include <QObject>

// An ordered, owning list of event handlers. Elements derive from it (each element is its own
// handler list and continues the three virtual operations into its children); the document, the
// preloader, each timeline, each trigger and each playback hold one.
class KVEventListenerList : public QObject
{
    Q_OBJECT

public:
    explicit KVEventListenerList(QObject *pParent = nullptr);
    ~KVEventListenerList() override;

    virtual void collectFunctions(QMap<int, const KVFunction *> &map, const KVFunctionContainer &container) const;
    virtual void remapFunctions(const QHash<int, int> &functionIdMap);
    virtual void remapElements(const QHash<int, int> &elementIdMap, const KVElementScope &scope = KVElementScope());

    // Takes ownership and inserts at nIndex; an index outside 0..count appends. Returns the index
    // used, or -1 (and takes nothing) for a null handler or one the list already holds.
    int insert(KVEventListener *pHandler, int nIndex = -1);
    // Takes the handler out without deleting it (the caller owns it again); its former index or -1.
    int remove(KVEventListener *pHandler);
    int indexOf(const KVEventListener *pHandler) const { return m_handlers.indexOf(const_cast<KVEventListener *>(pHandler)); }
    // Puts pHandler at nIndex and hands back the handler it replaces, which the caller then owns.
    // Out of range (or a null or already held handler), nothing changes and null is returned.
    KVEventListener *replace(int nIndex, KVEventListener *pHandler);
    const QList<KVEventListener *> &handlers() const { return m_handlers; }

    int count() const { return m_handlers.size(); }
    bool isEmpty() const { return m_handlers.isEmpty(); }
    KVEventListener *at(int nIndex) const { return m_handlers.value(nIndex); }
    QList<KVEventListener *> handlersOfEvent(int nEvent) const;
    // Deletes every handler.
    void clear();
    // Appends a copy of every handler of another list.
    void appendCopies(const KVEventListenerList &other);
    bool hasSameHandlers(const KVEventListenerList &other) const;

    // Project form: an array of handler objects in list order.
    QJsonArray toJson() const;
    // Replaces the handlers by those of the project form; entries that are not objects are skipped.
    void fromJson(const QJsonArray &array);

    // Player form of an owner's handlers: [[event code, action, action, ...], ...] for each event
    // code 1 to 199 that has handlers, in ascending code order.
    QJsonArray toPlayerEvents() const;
    // Writes toPlayerEvents() under "e" of the owner's player object, unless it is empty or the
    // data is for the canvas page.
    void writePlayerEvents(QJsonObject &joOwner, bool bForCanvas) const;

    // A trigger fires at the action time of its first handler (0 when it has none).
    int triggerTime() const;
    // Replaces the event value of every handler by {"action_time": nTime}.
    void setTriggerTime(int nTime);
    // Player form of a trigger: [time, [action, ...]].
    QJsonArray toPlayerTrigger() const;

private:
    QList<KVEventListener *> m_handlers;
};
