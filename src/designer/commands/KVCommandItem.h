#pragma once

#include <QObject>

class KVEventListener;
class KVFunction;

// Carries a model item that is not an object of its own (a user function, an event handler or a
// playback item) in a command parameter. The parameter owns the carrier; the carrier owns the item
// while it is out of the model (removed, or created and not yet added), so the item is destroyed
// exactly once: by its list while it is in the model, else with the command.
class KVCommandItem : public QObject
{
    Q_OBJECT

public:
    explicit KVCommandItem(KVFunction *pFunction, bool bOwnsItem = false);
    explicit KVCommandItem(KVEventListener *pHandler, bool bOwnsItem = false);
    ~KVCommandItem() override;

    KVFunction *function() const { return m_pFunction; }
    KVEventListener *handler() const { return m_pHandler; }
    bool ownsItem() const { return m_bOwnsItem; }
    void setOwnsItem(bool b) { m_bOwnsItem = b; }

private:
    KVFunction *m_pFunction = nullptr;
    KVEventListener *m_pHandler = nullptr;
    bool m_bOwnsItem = false;
};
