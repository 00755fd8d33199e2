#include "KVEventListener.h"

#include "KVActionCatalogue.h"
#include "KVActionKey.h"
#include "KVActionValues.h"
#include "KVEventCatalogue.h"
#include "KVFunction.h"
#include "KVFunctionContainer.h"

#include <cmath>

using namespace KVActionValues;

namespace {
// Defaults of parameters that a stored action lacks; the same values a newly picked action gets.
constexpr int kDefaultSpeed = 100;
constexpr int kDefaultVolume = 100;

// abs(speed) / 100 and the reverse flag, the form timelines and symbols play with.
void appendSplitSpeed(QJsonArray &array, const QJsonObject &data)
{
    const double dRate = numberParam(data, KVActionKey::Speed, kDefaultSpeed) / 100.0;
    array.append(std::fabs(dRate));
    array.append(dRate < 0);
}

// A time field of a timeline or symbol action: a label name when it is text, else milliseconds.
void appendTimeOrLabel(QJsonArray &array, const QJsonObject &data)
{
    if (timeIsLabel(data))
        array.append(data.value(KVActionKey::Time).toString());
    else
        array.append(timeMs(data));
}
} // namespace

KVEventListener::KVEventListener()
    : m_nEvent(KVEventCatalogue::MouseClick)
    , m_nAction(KVActionCatalogue::JumpToScene)
{
    m_joActionData.insert(KVActionKey::SceneId, KVActionCatalogue::NextScene);
}

KVEventListener::KVEventListener(int nEvent, int nAction, const QJsonObject &joActionData,
                                 const QJsonObject &joEventValue)
    : m_nEvent(nEvent)
    , m_nAction(nAction)
    , m_joEventValue(joEventValue)
    , m_joActionData(joActionData)
{
}

KVEventListener::~KVEventListener() = default;

void KVEventListener::collectFunctions(QMap<int, const KVFunction *> &map,
                                       const KVFunctionContainer &container) const
{
    if (m_nAction != KVActionCatalogue::RunJavaScript)
        return;
    const int nId = intParam(m_joActionData, KVActionKey::FunctionId, KVActionCatalogue::NoFunction);
    if (const KVFunction *pFunction = container.findById(nId))
        map.insert(nId, pFunction);
}

void KVEventListener::remapFunctions(const QHash<int, int> &functionIdMap)
{
    if (m_nAction != KVActionCatalogue::RunJavaScript)
        return;
    const int nId = intParam(m_joActionData, KVActionKey::FunctionId, KVActionCatalogue::NoFunction);
    m_joActionData.insert(KVActionKey::FunctionId, functionIdMap.value(nId, KVActionCatalogue::NoFunction));
}

void KVEventListener::remapElements(const QHash<int, int> &elementIdMap, const KVElementScope &scope)
{
    const QJsonValue value = m_joActionData.value(KVActionKey::ElementId);
    if (value.isUndefined())
        return;
    const int nId = toInt(value, -1);
    if (nId < 0) // the symbol targets and "no target" are not element ids
        return;
    int nNewId = -1;
    if (elementIdMap.contains(nId))
        nNewId = elementIdMap.value(nId);
    else if (scope && scope(nId))
        nNewId = nId;
    m_joActionData.insert(KVActionKey::ElementId, nNewId);
}

int KVEventListener::actionTime() const
{
    return intParam(m_joEventValue, KVActionKey::ActionTime, 0);
}

void KVEventListener::setActionTime(int nTime)
{
    QJsonObject jo;
    jo.insert(KVActionKey::ActionTime, nTime);
    m_joEventValue = jo;
}

bool KVEventListener::operator==(const KVEventListener &other) const
{
    return m_nEvent == other.m_nEvent && m_nAction == other.m_nAction
           && m_joEventValue == other.m_joEventValue && m_joActionData == other.m_joActionData;
}

QJsonObject KVEventListener::toJson() const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("event"), m_nEvent);
    jo.insert(QStringLiteral("action"), m_nAction);
    jo.insert(QStringLiteral("event_value"), m_joEventValue);
    jo.insert(QStringLiteral("action_data"), m_joActionData);
    return jo;
}

void KVEventListener::fromJson(const QJsonObject &jo)
{
    m_nEvent = toInt(jo.value(QLatin1String("event")), 0);
    m_nAction = toInt(jo.value(QLatin1String("action")), 0);
    m_joEventValue = jo.value(QLatin1String("event_value")).toObject();
    m_joActionData = jo.value(QLatin1String("action_data")).toObject();
}

QJsonArray KVEventListener::playerAction(int nAction, const QJsonObject &data)
{
    using A = KVActionCatalogue;
    QJsonArray array;
    array.append(nAction);
    const auto timeline = [&] { return intParam(data, KVActionKey::TimelineId, A::MainTimeline); };
    const auto element = [&] { return intParam(data, KVActionKey::ElementId, A::NoTarget); };
    const auto mediaRate = [&] { return numberParam(data, KVActionKey::Speed, kDefaultSpeed) / 100.0; };

    switch (nAction) {
    case A::StartTimeline:
    case A::PlayTimeline:
        array.append(timeline());
        appendSplitSpeed(array, data);
        break;
    case A::PlayTimelineFrom:
        array.append(timeline());
        appendTimeOrLabel(array, data);
        appendSplitSpeed(array, data);
        break;
    case A::PauseTimelineAt:
    case A::SeekTimeline:
        array.append(timeline());
        appendTimeOrLabel(array, data);
        break;
    case A::PauseTimeline:
    case A::TogglePlayPauseTimeline:
        array.append(timeline());
        break;
    case A::StartSymbol:
    case A::PlaySymbol:
        array.append(element());
        appendSplitSpeed(array, data);
        break;
    case A::PlaySymbolFrom:
        array.append(element());
        appendTimeOrLabel(array, data);
        appendSplitSpeed(array, data);
        break;
    case A::PauseSymbolAt:
    case A::SeekSymbol:
        array.append(element());
        appendTimeOrLabel(array, data);
        break;
    case A::StartMedia:
    case A::PlayMedia:
        array.append(element());
        array.append(mediaRate());
        break;
    case A::PlayMediaFrom:
        array.append(element());
        array.append(timeMs(data));
        array.append(mediaRate());
        break;
    case A::PauseMediaAt:
    case A::SeekMedia:
        array.append(element());
        array.append(timeMs(data));
        break;
    case A::MediaVolume:
        array.append(element());
        array.append(intParam(data, KVActionKey::Volume, kDefaultVolume));
        break;
    case A::PauseSymbol:
    case A::TogglePlayPauseSymbol:
    case A::PauseMedia:
    case A::MuteMedia:
    case A::ToggleMuteMedia:
    case A::TogglePlayPauseMedia:
    case A::PlayVideoFullScreen:
    case A::HideElement:
    case A::ShowElement:
    case A::ToggleHideShowElement:
        array.append(element());
        break;
    case A::MuteAllMedia:
        break;
    case A::JumpToScene:
        array.append(intParam(data, KVActionKey::SceneId, A::NextScene));
        if (!boolParam(data, KVActionKey::TransDefault, true)) {
            const int nType = intParam(data, KVActionKey::TransType, 0);
            array.append(nType);
            array.append(intParam(data, KVActionKey::TransDuration, 0));
            array.append(intParam(data, KVActionKey::TransEasing, -1));
            if (nType == 2) // only "Push" has a direction
                array.append(intParam(data, KVActionKey::TransDirection, -1));
        }
        break;
    case A::GoToUrl:
    case A::OpenClickTagUrl: {
        array.append(stringParam(data, KVActionKey::Url));
        const QJsonValue newWindow = data.value(KVActionKey::NewWindow);
        array.append(newWindow.isUndefined() ? QJsonValue(true) : newWindow);
        break;
    }
    case A::ChangeText:
        array.append(element());
        array.append(stringParam(data, KVActionKey::Text));
        break;
    case A::RunJavaScript:
        array.append(intParam(data, KVActionKey::FunctionId, A::NoFunction));
        break;
    default:
        break;
    }
    return array;
}
