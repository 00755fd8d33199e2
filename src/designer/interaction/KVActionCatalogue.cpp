#include "KVActionCatalogue.h"

#include "IKVActionContext.h"
#include "KVActionKey.h"

namespace {
struct ActionEntry {
    int nCode;
    const char *pszName;
};

const ActionEntry s_actions[] = {
    {1, QT_TRANSLATE_NOOP("KVActionCatalogue", "Start Timeline")},
    {2, QT_TRANSLATE_NOOP("KVActionCatalogue", "Play Timeline")},
    {3, QT_TRANSLATE_NOOP("KVActionCatalogue", "Play Timeline From")},
    {4, QT_TRANSLATE_NOOP("KVActionCatalogue", "Pause Timeline")},
    {5, QT_TRANSLATE_NOOP("KVActionCatalogue", "Pause Timeline At")},
    {6, QT_TRANSLATE_NOOP("KVActionCatalogue", "Toggle Play/Pause Timeline")},
    {7, QT_TRANSLATE_NOOP("KVActionCatalogue", "Seek Timeline")},
    {20, QT_TRANSLATE_NOOP("KVActionCatalogue", "Start Symbol")},
    {21, QT_TRANSLATE_NOOP("KVActionCatalogue", "Play Symbol")},
    {22, QT_TRANSLATE_NOOP("KVActionCatalogue", "Play Symbol From")},
    {23, QT_TRANSLATE_NOOP("KVActionCatalogue", "Pause Symbol")},
    {24, QT_TRANSLATE_NOOP("KVActionCatalogue", "Pause Symbol At")},
    {25, QT_TRANSLATE_NOOP("KVActionCatalogue", "Toggle Play/Pause Symbol")},
    {26, QT_TRANSLATE_NOOP("KVActionCatalogue", "Seek Symbol")},
    {40, QT_TRANSLATE_NOOP("KVActionCatalogue", "Start Media")},
    {41, QT_TRANSLATE_NOOP("KVActionCatalogue", "Play Media")},
    {42, QT_TRANSLATE_NOOP("KVActionCatalogue", "Play Media From")},
    {43, QT_TRANSLATE_NOOP("KVActionCatalogue", "Pause Media")},
    {44, QT_TRANSLATE_NOOP("KVActionCatalogue", "Pause Media At")},
    {45, QT_TRANSLATE_NOOP("KVActionCatalogue", "Mute Media")},
    {46, QT_TRANSLATE_NOOP("KVActionCatalogue", "Media Volume")},
    {47, QT_TRANSLATE_NOOP("KVActionCatalogue", "Toggle Mute/Unmute Media")},
    {48, QT_TRANSLATE_NOOP("KVActionCatalogue", "Mute All Media")},
    {49, QT_TRANSLATE_NOOP("KVActionCatalogue", "Toggle Play/Pause Media")},
    {50, QT_TRANSLATE_NOOP("KVActionCatalogue", "Seek Media")},
    {51, QT_TRANSLATE_NOOP("KVActionCatalogue", "Play Video Full Screen")},
    {70, QT_TRANSLATE_NOOP("KVActionCatalogue", "Hide Element")},
    {71, QT_TRANSLATE_NOOP("KVActionCatalogue", "Show Element")},
    {72, QT_TRANSLATE_NOOP("KVActionCatalogue", "Toggle Hide/Show Element")},
    {100, QT_TRANSLATE_NOOP("KVActionCatalogue", "Jump To Scene")},
    {101, QT_TRANSLATE_NOOP("KVActionCatalogue", "Go To URL")},
    {102, QT_TRANSLATE_NOOP("KVActionCatalogue", "Change Text")},
    {103, QT_TRANSLATE_NOOP("KVActionCatalogue", "Run JavaScript")},
    {104, QT_TRANSLATE_NOOP("KVActionCatalogue", "Open Click Tag URL")},
};

const ActionEntry *findAction(int nCode)
{
    for (const ActionEntry &entry : s_actions) {
        if (entry.nCode == nCode)
            return &entry;
    }
    return nullptr;
}

QString key(QLatin1String key)
{
    return QString(key);
}
} // namespace

bool KVActionCatalogue::isKnown(int nCode)
{
    return findAction(nCode) != nullptr;
}

QList<int> KVActionCatalogue::knownCodes()
{
    QList<int> codes;
    for (const ActionEntry &entry : s_actions)
        codes << entry.nCode;
    return codes;
}

QString KVActionCatalogue::name(int nCode)
{
    if (const ActionEntry *pEntry = findAction(nCode))
        return tr(pEntry->pszName);
    return tr("Unknown");
}

KVActionCatalogue::Group KVActionCatalogue::group(int nCode)
{
    if (!isKnown(nCode))
        return NoGroup;
    if (isTimelineAction(nCode))
        return TimelineGroup;
    if (isSymbolAction(nCode))
        return SymbolGroup;
    if (isMediaAction(nCode))
        return MediaGroup;
    if (nCode >= HideElement && nCode <= ToggleHideShowElement)
        return HideShowGroup;
    return OtherGroup;
}

QList<KVActionCatalogue::Group> KVActionCatalogue::groups()
{
    return {TimelineGroup, SymbolGroup, MediaGroup, HideShowGroup, OtherGroup};
}

QString KVActionCatalogue::groupTitle(Group eGroup)
{
    switch (eGroup) {
    case TimelineGroup:
        return tr("Timeline");
    case SymbolGroup:
        return tr("Symbol");
    case MediaGroup:
        return tr("Media");
    case HideShowGroup:
        return tr("Hide/Show");
    case OtherGroup:
        return tr("Other Actions");
    case NoGroup:
        break;
    }
    return QString();
}

QList<int> KVActionCatalogue::codes(Group eGroup)
{
    QList<int> result;
    if (eGroup == NoGroup)
        return result;
    for (const ActionEntry &entry : s_actions) {
        if (group(entry.nCode) == eGroup)
            result << entry.nCode;
    }
    return result;
}

QStringList KVActionCatalogue::parameterKeys(int nCode)
{
    using namespace KVActionKey;
    switch (nCode) {
    case StartTimeline:
    case PlayTimeline:
        return {key(TimelineId), key(Speed)};
    case PlayTimelineFrom:
        return {key(TimelineId), key(Time), key(Speed)};
    case PauseTimeline:
    case TogglePlayPauseTimeline:
        return {key(TimelineId)};
    case PauseTimelineAt:
    case SeekTimeline:
        return {key(TimelineId), key(Time)};
    case StartSymbol:
    case PlaySymbol:
    case StartMedia:
    case PlayMedia:
        return {key(ElementId), key(Speed)};
    case PlaySymbolFrom:
    case PlayMediaFrom:
        return {key(ElementId), key(Time), key(Speed)};
    case PauseSymbol:
    case TogglePlayPauseSymbol:
    case PauseMedia:
    case MuteMedia:
    case ToggleMuteMedia:
    case TogglePlayPauseMedia:
    case PlayVideoFullScreen:
    case HideElement:
    case ShowElement:
    case ToggleHideShowElement:
        return {key(ElementId)};
    case PauseSymbolAt:
    case SeekSymbol:
    case PauseMediaAt:
    case SeekMedia:
        return {key(ElementId), key(Time)};
    case MediaVolume:
        return {key(ElementId), key(Volume)};
    case JumpToScene:
        return {key(SceneId), key(TransDefault), key(TransType), key(TransDuration), key(TransEasing),
                key(TransDirection)};
    case GoToUrl:
    case OpenClickTagUrl:
        return {key(Url), key(NewWindow)};
    case ChangeText:
        return {key(ElementId), key(Text)};
    case RunJavaScript:
        return {key(FunctionId)};
    default:
        break;
    }
    return {};
}

QJsonObject KVActionCatalogue::defaultActionData(int nCode, std::optional<int> target,
                                                 const IKVActionContext *pContext)
{
    using namespace KVActionKey;
    QJsonObject data;
    if (isTimelineAction(nCode)) {
        data.insert(TimelineId, target.value_or(MainTimeline));
        if (nCode == StartTimeline || nCode == PlayTimeline) {
            data.insert(Speed, 100);
        } else if (nCode == PlayTimelineFrom) {
            data.insert(Time, 0);
            data.insert(Speed, 100);
        } else if (nCode == PauseTimelineAt || nCode == SeekTimeline) {
            data.insert(Time, 0);
        }
    } else if (isSymbolAction(nCode)) {
        int nElement = NoTarget;
        if (target)
            nElement = *target;
        else if (pContext)
            nElement = pContext->firstSymbolInstanceId();
        data.insert(ElementId, nElement);
        if (nCode == StartSymbol || nCode == PlaySymbol) {
            data.insert(Speed, 100);
        } else if (nCode == PlaySymbolFrom) {
            data.insert(Time, 0);
            data.insert(Speed, 100);
        } else if (nCode == PauseSymbolAt || nCode == SeekSymbol) {
            data.insert(Time, 0);
        }
    } else if (isMediaAction(nCode)) {
        int nElement = NoTarget;
        if (target) {
            nElement = *target;
        } else if (pContext && nCode != MuteAllMedia) {
            nElement = nCode == PlayVideoFullScreen ? pContext->firstVideoElementId()
                                                    : pContext->firstMediaElementId();
        }
        data.insert(ElementId, nElement);
        if (nCode == StartMedia || nCode == PlayMedia) {
            data.insert(Speed, 100);
        } else if (nCode == PlayMediaFrom) {
            data.insert(Time, 0);
            data.insert(Speed, 100);
        } else if (nCode == PauseMediaAt || nCode == SeekMedia) {
            data.insert(Time, 0);
        } else if (nCode == MediaVolume) {
            data.insert(Volume, 100);
        }
    } else if ((nCode >= HideElement && nCode <= ToggleHideShowElement) || nCode == ChangeText) {
        data.insert(ElementId, target.value_or(NoTarget));
    } else if (nCode == JumpToScene) {
        data.insert(SceneId, target.value_or(NextScene));
        data.insert(TransDefault, true);
        data.insert(TransType, 0);
        data.insert(TransDuration, 0);
        data.insert(TransEasing, -1);
        data.insert(TransDirection, -1);
    } else if (nCode == GoToUrl || nCode == OpenClickTagUrl) {
        data.insert(Url, QStringLiteral("https://"));
        data.insert(NewWindow, true);
    } else if (nCode == RunJavaScript) {
        // Written out so that a new "Run JavaScript" action visibly points at no function.
        data.insert(FunctionId, NoFunction);
    }
    return data;
}

QString KVActionCatalogue::mainTimelineName()
{
    return tr("Main Timeline");
}

QString KVActionCatalogue::currentSymbolName()
{
    return tr("Current Symbol");
}

QString KVActionCatalogue::parentSymbolName()
{
    return tr("Parent Symbol");
}

QString KVActionCatalogue::relativeSceneName(int nSceneId)
{
    switch (nSceneId) {
    case NextScene:
        return tr("Next Scene");
    case PreviousScene:
        return tr("Previous Scene");
    case LastScene:
        return tr("Last Scene");
    case FirstScene:
        return tr("First Scene");
    default:
        break;
    }
    return QString();
}

QString KVActionCatalogue::directionName(double dSpeed)
{
    return dSpeed < 0 ? tr("Backward") : tr("Forward");
}
