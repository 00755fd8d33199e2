#include "KVEventCatalogue.h"

#include <iterator>

namespace {
struct EventEntry {
    int nCode;
    const char *pszName;
};

const EventEntry s_events[] = {
    {1, QT_TRANSLATE_NOOP("KVEventCatalogue", "Start")},
    {2, QT_TRANSLATE_NOOP("KVEventCatalogue", "Progress")},
    {3, QT_TRANSLATE_NOOP("KVEventCatalogue", "Complete")},
    {4, QT_TRANSLATE_NOOP("KVEventCatalogue", "Item Start")},
    {5, QT_TRANSLATE_NOOP("KVEventCatalogue", "Item Complete")},
    {20, QT_TRANSLATE_NOOP("KVEventCatalogue", "Create")},
    {21, QT_TRANSLATE_NOOP("KVEventCatalogue", "Ready")},
    {22, QT_TRANSLATE_NOOP("KVEventCatalogue", "Destroy")},
    {23, QT_TRANSLATE_NOOP("KVEventCatalogue", "Script Error")},
    {50, QT_TRANSLATE_NOOP("KVEventCatalogue", "Scene Activate")},
    {51, QT_TRANSLATE_NOOP("KVEventCatalogue", "Scene Deactivate")},
    {52, QT_TRANSLATE_NOOP("KVEventCatalogue", "Scroll")},
    {53, QT_TRANSLATE_NOOP("KVEventCatalogue", "Key Down")},
    {54, QT_TRANSLATE_NOOP("KVEventCatalogue", "Key Up")},
    {55, QT_TRANSLATE_NOOP("KVEventCatalogue", "Orientation Change")},
    {56, QT_TRANSLATE_NOOP("KVEventCatalogue", "Window Resize")},
    {100, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Click")},
    {101, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Double Click")},
    {102, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Over")},
    {103, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Down")},
    {104, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Move")},
    {105, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Up")},
    {106, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Out")},
    {107, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Enter")},
    {108, QT_TRANSLATE_NOOP("KVEventCatalogue", "Mouse Leave")},
    {109, QT_TRANSLATE_NOOP("KVEventCatalogue", "Focus")},
    {110, QT_TRANSLATE_NOOP("KVEventCatalogue", "Swipe Left")},
    {111, QT_TRANSLATE_NOOP("KVEventCatalogue", "Swipe Right")},
    {150, QT_TRANSLATE_NOOP("KVEventCatalogue", "Update")},
    {151, QT_TRANSLATE_NOOP("KVEventCatalogue", "Play")},
    {152, QT_TRANSLATE_NOOP("KVEventCatalogue", "Pause")},
    {153, QT_TRANSLATE_NOOP("KVEventCatalogue", "Complete")},
    {154, QT_TRANSLATE_NOOP("KVEventCatalogue", "Speed Change")},
    {155, QT_TRANSLATE_NOOP("KVEventCatalogue", "Reverse")},
    {156, QT_TRANSLATE_NOOP("KVEventCatalogue", "Seek")},
    {200, QT_TRANSLATE_NOOP("KVEventCatalogue", "Trigger")},
    {201, QT_TRANSLATE_NOOP("KVEventCatalogue", "Playback")},
};

const EventEntry *findEvent(int nCode)
{
    for (const EventEntry &entry : s_events) {
        if (entry.nCode == nCode)
            return &entry;
    }
    return nullptr;
}
} // namespace

bool KVEventCatalogue::isKnown(int nCode)
{
    return findEvent(nCode) != nullptr;
}

QList<int> KVEventCatalogue::knownCodes()
{
    QList<int> codes;
    for (const EventEntry &entry : s_events)
        codes << entry.nCode;
    return codes;
}

QString KVEventCatalogue::name(int nCode)
{
    if (const EventEntry *pEntry = findEvent(nCode))
        return tr(pEntry->pszName);
    return tr("Unknown Event");
}

QList<int> KVEventCatalogue::offeredCodes(Owner eOwner)
{
    switch (eOwner) {
    case PreloaderOwner:
        return {1, 2, 3, 4, 5};
    case DocumentOwner:
        return {20, 21, 22, 23, 50, 51, 53, 54, 100, 101, 103, 105, 104, 107, 108, 102, 106, 55, 56};
    case SceneOwner:
        return {50, 51, 53, 54, 100, 101, 103, 105, 104, 107, 108, 102, 106, 110, 111, 109, 52, 55, 56};
    case ElementOwner:
        return {100, 101, 103, 105, 104, 107, 108, 102, 106, 110, 111, 109};
    case TimelineOwner:
        return {150, 151, 152, 153, 154, 155, 156};
    case TriggerOwner:
        return {200};
    }
    return {};
}

bool KVEventCatalogue::isOffered(Owner eOwner, int nCode)
{
    return offeredCodes(eOwner).contains(nCode);
}

QString KVEventCatalogue::handlerGroupTitle(Owner eOwner, const QString &strOwnerName)
{
    switch (eOwner) {
    case PreloaderOwner:
        return tr("Preloader Event Handlers");
    case DocumentOwner:
        return tr("Document Event Handlers");
    case SceneOwner:
        return tr("Scene Event Handlers (%1)").arg(strOwnerName);
    case ElementOwner:
        return tr("Element Event Handlers (%1)").arg(strOwnerName);
    case TimelineOwner:
        return tr("Timeline Event Handlers (%1)").arg(strOwnerName);
    case TriggerOwner:
        return tr("Timeline Triggers (%1)").arg(strOwnerName);
    }
    return QString();
}
