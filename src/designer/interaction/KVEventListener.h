#pragma once

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>

#include <functional>

class KVFunction;
class KVFunctionContainer;

// Answers whether an element id exists in the place that handlers are being remapped into (for
// example the scene that receives pasted elements). An empty scope holds no element.
using KVElementScope = std::function<bool(int nElementId)>;

// One event handler: an event code paired with one action code and the action's parameters. The
// same type carries the actions of timeline triggers and the playback items of media and symbol
// instances, whose event value holds the time at which they fire.
class KVEventListener
{
public:
    // A new handler: "Mouse Click" running "Jump To Scene" to the next scene.
    KVEventListener();
    KVEventListener(int nEvent, int nAction, const QJsonObject &joActionData = QJsonObject(),
                    const QJsonObject &joEventValue = QJsonObject());
    KVEventListener(const KVEventListener &other) = default;
    KVEventListener &operator=(const KVEventListener &other) = default;
    virtual ~KVEventListener();

    // Records, for a "Run JavaScript" action, the function it runs (function id -> function).
    virtual void collectFunctions(QMap<int, const KVFunction *> &map,
                                  const KVFunctionContainer &container) const;
    // Points a "Run JavaScript" action at the function that replaces its function (old id -> new
    // id); an action whose function has no replacement points at no function (-1).
    virtual void remapFunctions(const QHash<int, int> &functionIdMap);

    // Points the action at the copy of its element (old id -> new id). An element that was not
    // copied stays when the scope holds it and becomes -1 otherwise. The special negative targets
    // (current, parent and top-level symbol, no target) are kept as they are.
    void remapElements(const QHash<int, int> &elementIdMap, const KVElementScope &scope = KVElementScope());

    int event() const { return m_nEvent; }
    void setEvent(int nEvent) { m_nEvent = nEvent; }
    int action() const { return m_nAction; }
    void setAction(int nAction) { m_nAction = nAction; }
    const QJsonObject &eventValue() const { return m_joEventValue; }
    void setEventValue(const QJsonObject &joEventValue) { m_joEventValue = joEventValue; }
    const QJsonObject &actionData() const { return m_joActionData; }
    void setActionData(const QJsonObject &joActionData) { m_joActionData = joActionData; }

    // The firing time of a trigger or playback item (0 when the event value has none).
    int actionTime() const;
    // Replaces the event value by {"action_time": nTime}.
    void setActionTime(int nTime);

    KVEventListener *clone() const { return new KVEventListener(*this); }
    bool operator==(const KVEventListener &other) const;
    bool operator!=(const KVEventListener &other) const { return !(*this == other); }

    // Project form: {"event", "action", "event_value", "action_data"}.
    QJsonObject toJson() const;
    // Reads the project form; a missing or mistyped code reads as 0, a missing object as empty.
    void fromJson(const QJsonObject &jo);

    // Player form of the action: [action code, parameters...].
    QJsonArray toPlayerAction() const { return playerAction(m_nAction, m_joActionData); }
    static QJsonArray playerAction(int nAction, const QJsonObject &joActionData);

private:
    int m_nEvent;
    int m_nAction;
    QJsonObject m_joEventValue;
    QJsonObject m_joActionData;
};
