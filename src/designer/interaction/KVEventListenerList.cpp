#include "KVEventListenerList.h"

#include "KVEventCatalogue.h"

#include <QMap>

KVEventListenerList::KVEventListenerList(QObject *pParent)
    : QObject(pParent)
{
}

KVEventListenerList::~KVEventListenerList()
{
    qDeleteAll(m_handlers);
}

void KVEventListenerList::collectFunctions(QMap<int, const KVFunction *> &map,
                                           const KVFunctionContainer &container) const
{
    for (const KVEventListener *pHandler : m_handlers)
        pHandler->collectFunctions(map, container);
}

void KVEventListenerList::remapFunctions(const QHash<int, int> &functionIdMap)
{
    for (KVEventListener *pHandler : qAsConst(m_handlers))
        pHandler->remapFunctions(functionIdMap);
}

void KVEventListenerList::remapElements(const QHash<int, int> &elementIdMap, const KVElementScope &scope)
{
    for (KVEventListener *pHandler : qAsConst(m_handlers))
        pHandler->remapElements(elementIdMap, scope);
}

int KVEventListenerList::insert(KVEventListener *pHandler, int nIndex)
{
    if (!pHandler || m_handlers.contains(pHandler))
        return -1;
    if (nIndex < 0 || nIndex > m_handlers.size()) {
        m_handlers.append(pHandler);
        return m_handlers.size() - 1;
    }
    m_handlers.insert(nIndex, pHandler);
    return nIndex;
}

int KVEventListenerList::remove(KVEventListener *pHandler)
{
    const int nIndex = m_handlers.indexOf(pHandler);
    if (nIndex >= 0)
        m_handlers.removeAt(nIndex);
    return nIndex;
}

KVEventListener *KVEventListenerList::replace(int nIndex, KVEventListener *pHandler)
{
    if (nIndex < 0 || nIndex >= m_handlers.size() || !pHandler || m_handlers.contains(pHandler))
        return nullptr;
    KVEventListener *pOld = m_handlers.at(nIndex);
    m_handlers[nIndex] = pHandler;
    return pOld;
}

QList<KVEventListener *> KVEventListenerList::handlersOfEvent(int nEvent) const
{
    QList<KVEventListener *> result;
    for (KVEventListener *pHandler : m_handlers) {
        if (pHandler->event() == nEvent)
            result << pHandler;
    }
    return result;
}

void KVEventListenerList::clear()
{
    qDeleteAll(m_handlers);
    m_handlers.clear();
}

void KVEventListenerList::appendCopies(const KVEventListenerList &other)
{
    if (&other == this) {
        const QList<KVEventListener *> own = m_handlers;
        for (const KVEventListener *pHandler : own)
            m_handlers.append(pHandler->clone());
        return;
    }
    for (const KVEventListener *pHandler : other.m_handlers)
        m_handlers.append(pHandler->clone());
}

bool KVEventListenerList::hasSameHandlers(const KVEventListenerList &other) const
{
    if (m_handlers.size() != other.m_handlers.size())
        return false;
    for (int i = 0; i < m_handlers.size(); ++i) {
        if (*m_handlers.at(i) != *other.m_handlers.at(i))
            return false;
    }
    return true;
}

QJsonArray KVEventListenerList::toJson() const
{
    QJsonArray array;
    for (const KVEventListener *pHandler : m_handlers)
        array.append(pHandler->toJson());
    return array;
}

void KVEventListenerList::fromJson(const QJsonArray &array)
{
    clear();
    for (const QJsonValue &value : array) {
        if (!value.isObject())
            continue;
        auto *pHandler = new KVEventListener;
        pHandler->fromJson(value.toObject());
        m_handlers.append(pHandler);
    }
}

QJsonArray KVEventListenerList::toPlayerEvents() const
{
    QMap<int, QJsonArray> byEvent; // ascending event codes
    for (const KVEventListener *pHandler : m_handlers) {
        const int nEvent = pHandler->event();
        if (!KVEventCatalogue::isPlayerEvent(nEvent))
            continue;
        QJsonArray &entry = byEvent[nEvent];
        if (entry.isEmpty())
            entry.append(nEvent);
        entry.append(pHandler->toPlayerAction());
    }
    QJsonArray result;
    for (const QJsonArray &entry : qAsConst(byEvent))
        result.append(entry);
    return result;
}

void KVEventListenerList::writePlayerEvents(QJsonObject &joOwner, bool bForCanvas) const
{
    if (bForCanvas)
        return;
    const QJsonArray events = toPlayerEvents();
    if (!events.isEmpty())
        joOwner.insert(QStringLiteral("e"), events);
}

int KVEventListenerList::triggerTime() const
{
    return m_handlers.isEmpty() ? 0 : m_handlers.first()->actionTime();
}

void KVEventListenerList::setTriggerTime(int nTime)
{
    for (KVEventListener *pHandler : qAsConst(m_handlers))
        pHandler->setActionTime(nTime);
}

QJsonArray KVEventListenerList::toPlayerTrigger() const
{
    QJsonArray actions;
    for (const KVEventListener *pHandler : m_handlers)
        actions.append(pHandler->toPlayerAction());
    return QJsonArray{triggerTime(), actions};
}
