#include "KVActionDescription.h"

#include "IKVActionContext.h"
#include "KVActionCatalogue.h"
#include "KVActionKey.h"
#include "KVActionValues.h"

#include <QEasingCurve>
#include <QMetaEnum>

#include <cmath>

using namespace KVActionValues;

namespace {
QString percent(double dValue)
{
    return QString::number(dValue, 'g', 10);
}

// "Label: name" or "Time: hh:mm:ss.zzz".
QString timeOrLabel(const QJsonObject &data)
{
    if (timeIsLabel(data))
        return KVActionDescription::tr("Label: %1").arg(data.value(KVActionKey::Time).toString());
    return KVActionDescription::tr("Time: %1").arg(KVActionDescription::formatTime(timeMs(data)));
}
} // namespace

QString KVActionDescription::formatTime(int nMilliseconds)
{
    const qint64 nAbs = std::llabs(qint64(nMilliseconds));
    const qint64 nHours = nAbs / 3600000;
    const qint64 nMinutes = (nAbs / 60000) % 60;
    const qint64 nSeconds = (nAbs / 1000) % 60;
    const qint64 nMs = nAbs % 1000;
    const QString strTime = QStringLiteral("%1:%2:%3.%4")
                                .arg(nHours, 2, 10, QLatin1Char('0'))
                                .arg(nMinutes, 2, 10, QLatin1Char('0'))
                                .arg(nSeconds, 2, 10, QLatin1Char('0'))
                                .arg(nMs, 3, 10, QLatin1Char('0'));
    return nMilliseconds < 0 ? QLatin1Char('-') + strTime : strTime;
}

QString KVActionDescription::transitionTypeName(int nType)
{
    switch (nType) {
    case 0:
        return tr("None");
    case 1:
        return tr("Fade");
    case 2:
        return tr("Push");
    case 3:
        return tr("Wipe");
    case 4:
        return tr("Cover");
    case 5:
        return tr("Uncover");
    default:
        break;
    }
    return QString();
}

QString KVActionDescription::transitionDirectionName(int nDirection)
{
    switch (nDirection) {
    case 0:
        return tr("From Left");
    case 1:
        return tr("From Top");
    case 2:
        return tr("From Right");
    case 3:
        return tr("From Bottom");
    case 4:
        return tr("From Top Left");
    case 5:
        return tr("From Top Right");
    case 6:
        return tr("From Bottom Left");
    case 7:
        return tr("From Bottom Right");
    default:
        break;
    }
    return QString();
}

QString KVActionDescription::easingName(int nEasing)
{
    const QMetaEnum metaEnum = QMetaEnum::fromType<QEasingCurve::Type>();
    const char *pszKey = metaEnum.valueToKey(nEasing);
    return pszKey ? QString::fromLatin1(pszKey) : QString();
}

QString KVActionDescription::target(int nAction, const QJsonObject &data, const IKVActionContext *pContext)
{
    using A = KVActionCatalogue;
    if (A::isTimelineAction(nAction)) {
        const int nId = intParam(data, KVActionKey::TimelineId, A::MainTimeline);
        if (nId == A::MainTimeline)
            return A::mainTimelineName();
        return pContext ? pContext->timelineName(nId) : QString();
    }
    if (nAction == A::JumpToScene) {
        const int nId = intParam(data, KVActionKey::SceneId, A::NextScene);
        if (A::isRelativeScene(nId))
            return A::relativeSceneName(nId);
        return pContext ? pContext->sceneName(nId) : QString();
    }
    if (!A::parameterKeys(nAction).contains(QString(KVActionKey::ElementId)))
        return QString();
    const int nId = intParam(data, KVActionKey::ElementId, A::NoTarget);
    if (A::isSymbolAction(nAction)) {
        switch (nId) {
        case A::CurrentSymbol:
            if (pContext && pContext->isEditingSymbol())
                return A::currentSymbolName();
            return pContext ? pContext->documentBaseName() : QString();
        case A::ParentSymbol:
            return A::parentSymbolName();
        case A::TopLevelSymbol:
            return pContext ? pContext->documentBaseName() : QString();
        default:
            break;
        }
    }
    if (nId < 0 || !pContext)
        return QString();
    return pContext->elementName(nId);
}

QString KVActionDescription::parameters(int nAction, const QJsonObject &data, const IKVActionContext *pContext)
{
    using A = KVActionCatalogue;
    const double dSpeed = numberParam(data, KVActionKey::Speed, 100);
    switch (nAction) {
    case A::StartTimeline:
    case A::PlayTimeline:
    case A::StartSymbol:
    case A::PlaySymbol:
        return tr("Direction: %1, Speed: %2%").arg(A::directionName(dSpeed), percent(std::fabs(dSpeed)));
    case A::PlayTimelineFrom:
    case A::PlaySymbolFrom:
        if (timeIsLabel(data)) {
            return tr("Label: %1, Direction: %2, Speed: %3%")
                .arg(data.value(KVActionKey::Time).toString(), A::directionName(dSpeed), percent(std::fabs(dSpeed)));
        }
        return tr("Time: %1, Direction: %2, Speed: %3%")
            .arg(formatTime(timeMs(data)), A::directionName(dSpeed), percent(std::fabs(dSpeed)));
    case A::PauseTimelineAt:
    case A::SeekTimeline:
    case A::PauseSymbolAt:
    case A::SeekSymbol:
        return timeOrLabel(data);
    case A::StartMedia:
    case A::PlayMedia:
        return tr("Speed: %1%").arg(percent(dSpeed));
    case A::PlayMediaFrom:
        return tr("Time: %1, Speed: %2%").arg(formatTime(timeMs(data)), percent(dSpeed));
    case A::PauseMediaAt:
    case A::SeekMedia:
        return tr("Time: %1").arg(formatTime(timeMs(data)));
    case A::MediaVolume:
        return tr("Volume: %1%").arg(intParam(data, KVActionKey::Volume, 100));
    case A::GoToUrl:
        return tr("URL: %1, New Window: %2")
            .arg(stringParam(data, KVActionKey::Url),
                 boolParam(data, KVActionKey::NewWindow, true) ? tr("True") : tr("False"));
    case A::OpenClickTagUrl:
        return tr("Click Tag, or URL: %1, New Window: %2")
            .arg(stringParam(data, KVActionKey::Url),
                 boolParam(data, KVActionKey::NewWindow, true) ? tr("True") : tr("False"));
    case A::ChangeText:
        return tr("Text: \"%1\"").arg(stringParam(data, KVActionKey::Text));
    case A::RunJavaScript: {
        const int nId = intParam(data, KVActionKey::FunctionId, A::NoFunction);
        return tr("Function: %1").arg(pContext && nId != A::NoFunction ? pContext->functionName(nId) : QString());
    }
    case A::JumpToScene: {
        if (boolParam(data, KVActionKey::TransDefault, true))
            return tr("Default Scene Transition");
        const int nType = intParam(data, KVActionKey::TransType, 0);
        if (nType == 0)
            return tr("Transition Type: %1").arg(transitionTypeName(nType));
        QString strText = tr("Transition Type: %1, Duration: %2ms, Easing Type: %3")
                              .arg(transitionTypeName(nType))
                              .arg(intParam(data, KVActionKey::TransDuration, 0))
                              .arg(easingName(intParam(data, KVActionKey::TransEasing, -1)));
        if (nType == 2)
            strText += tr(", Direction: %4").arg(transitionDirectionName(intParam(data, KVActionKey::TransDirection, -1)));
        return strText;
    }
    default:
        break;
    }
    return QString();
}
