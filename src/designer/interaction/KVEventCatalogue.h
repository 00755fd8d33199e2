#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

// The events an owner can react to: their codes, the names the event-action dialog shows, and which
// owner offers which events in which order. Codes that are not listed here may still come from a
// project file; they are kept and shown as "Unknown Event".
class KVEventCatalogue
{
    Q_DECLARE_TR_FUNCTIONS(KVEventCatalogue)

public:
    enum Code {
        PreloaderStart = 1,
        PreloaderProgress = 2,
        PreloaderComplete = 3,
        PreloaderItemStart = 4,
        PreloaderItemComplete = 5,
        DocumentCreate = 20,
        DocumentReady = 21,
        DocumentDestroy = 22,
        DocumentScriptError = 23,
        SceneActivate = 50,
        SceneDeactivate = 51,
        SceneScroll = 52,
        KeyDown = 53,
        KeyUp = 54,
        OrientationChange = 55,
        WindowResize = 56,
        MouseClick = 100,
        MouseDoubleClick = 101,
        MouseOver = 102,
        MouseDown = 103,
        MouseMove = 104,
        MouseUp = 105,
        MouseOut = 106,
        MouseEnter = 107,
        MouseLeave = 108,
        Focus = 109,
        SwipeLeft = 110,
        SwipeRight = 111,
        TimelineUpdate = 150,
        TimelinePlay = 151,
        TimelinePause = 152,
        TimelineComplete = 153,
        TimelineSpeedChange = 154,
        TimelineReverse = 155,
        TimelineSeek = 156,
        Trigger = 200,
        Playback = 201,
    };

    // The kinds of handler lists the editor shows.
    enum Owner { PreloaderOwner, DocumentOwner, SceneOwner, ElementOwner, TimelineOwner, TriggerOwner };

    // Event codes that go into the player's event table; triggers and playback items have their own forms.
    static constexpr int FirstPlayerEvent = 1;
    static constexpr int LastPlayerEvent = 199;

    static bool isKnown(int nCode);
    static QList<int> knownCodes(); // ascending
    // Translated name; "Unknown Event" for a code that is not listed.
    static QString name(int nCode);
    static bool isPlayerEvent(int nCode) { return nCode >= FirstPlayerEvent && nCode <= LastPlayerEvent; }

    // The events the editor offers for an owner, in the order it shows them.
    static QList<int> offeredCodes(Owner eOwner);
    static bool isOffered(Owner eOwner, int nCode);
    // Heading of an owner's handlers; strOwnerName fills the "%1" of the scene, element, timeline
    // and trigger headings.
    static QString handlerGroupTitle(Owner eOwner, const QString &strOwnerName = QString());
};
