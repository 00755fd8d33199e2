#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class IKVActionContext;

// The actions a handler can run: their codes, names, menu groups, parameter keys and the action
// data a newly picked action starts with. Codes not listed here may come from a project file; they
// are kept and shown as "Unknown".
class KVActionCatalogue
{
    Q_DECLARE_TR_FUNCTIONS(KVActionCatalogue)

public:
    enum Code {
        StartTimeline = 1,
        PlayTimeline = 2,
        PlayTimelineFrom = 3,
        PauseTimeline = 4,
        PauseTimelineAt = 5,
        TogglePlayPauseTimeline = 6,
        SeekTimeline = 7,
        StartSymbol = 20,
        PlaySymbol = 21,
        PlaySymbolFrom = 22,
        PauseSymbol = 23,
        PauseSymbolAt = 24,
        TogglePlayPauseSymbol = 25,
        SeekSymbol = 26,
        StartMedia = 40,
        PlayMedia = 41,
        PlayMediaFrom = 42,
        PauseMedia = 43,
        PauseMediaAt = 44,
        MuteMedia = 45,
        MediaVolume = 46,
        ToggleMuteMedia = 47,
        MuteAllMedia = 48,
        TogglePlayPauseMedia = 49,
        SeekMedia = 50,
        PlayVideoFullScreen = 51,
        HideElement = 70,
        ShowElement = 71,
        ToggleHideShowElement = 72,
        JumpToScene = 100,
        GoToUrl = 101,
        ChangeText = 102,
        RunJavaScript = 103,
        // Goes to the landing page an ad network hands the page in its click-tag variable, or to the
        // action's own URL where the page runs outside the network.
        OpenClickTagUrl = 104,
    };

    // The menu groups under which the editor offers the actions, in menu order.
    enum Group { NoGroup = -1, TimelineGroup, SymbolGroup, MediaGroup, HideShowGroup, OtherGroup };

    // Special target ids.
    static constexpr int MainTimeline = -1;   // timeline_id
    static constexpr int CurrentSymbol = -1;  // element_id of symbol actions
    static constexpr int ParentSymbol = -2;
    static constexpr int TopLevelSymbol = -3;
    static constexpr int NoTarget = -20;      // element_id not chosen yet
    static constexpr int NextScene = -2;      // scene_id
    static constexpr int PreviousScene = -3;
    static constexpr int LastScene = -4;
    static constexpr int FirstScene = -5;
    static constexpr int NoFunction = -1;     // function_id

    static bool isKnown(int nCode);
    static QList<int> knownCodes(); // ascending
    // Translated name; "Unknown" for a code that is not listed.
    static QString name(int nCode);

    static Group group(int nCode);
    static QList<Group> groups();
    static QString groupTitle(Group eGroup);
    static QList<int> codes(Group eGroup); // in menu order

    static bool isTimelineAction(int nCode) { return nCode >= StartTimeline && nCode <= SeekTimeline; }
    static bool isSymbolAction(int nCode) { return nCode >= StartSymbol && nCode <= SeekSymbol; }
    static bool isMediaAction(int nCode) { return nCode >= StartMedia && nCode <= PlayVideoFullScreen; }

    // The action-data keys an action uses, in the order the parameter editor shows them.
    static QStringList parameterKeys(int nCode);

    // The action data an action starts with when the user picks it. target is the element, timeline
    // or scene chosen in the menu, if any; without one the context proposes the first fitting
    // element of the scene (a null context proposes none).
    static QJsonObject defaultActionData(int nCode, std::optional<int> target = std::nullopt,
                                         const IKVActionContext *pContext = nullptr);

    // Names of the special targets.
    static QString mainTimelineName();                   // "Main Timeline"
    static QString currentSymbolName();                  // "Current Symbol"
    static QString parentSymbolName();                   // "Parent Symbol"
    static QString relativeSceneName(int nSceneId);      // "Next Scene" ... "First Scene"; empty otherwise
    static bool isRelativeScene(int nSceneId) { return nSceneId <= NextScene && nSceneId >= FirstScene; }
    static QString directionName(double dSpeed);         // "Backward" for a negative speed, else "Forward"
};
