#pragma once

#include <QCoreApplication>
#include <QJsonObject>
#include <QString>

class IKVActionContext;

// The texts the event-action dialog shows for an action: its target ("Target Object" column) and
// its parameters ("Params" column).
class KVActionDescription
{
    Q_DECLARE_TR_FUNCTIONS(KVActionDescription)

public:
    // The timeline, element or scene the action works on, named through the context.
    static QString target(int nAction, const QJsonObject &joActionData, const IKVActionContext *pContext = nullptr);
    // The parameters in words, such as "Direction: Forward, Speed: 100%"; empty for actions without
    // parameters worth showing.
    static QString parameters(int nAction, const QJsonObject &joActionData,
                              const IKVActionContext *pContext = nullptr);

    // A time in milliseconds as "hh:mm:ss.zzz" (hours go past 23; a negative time gets "-").
    static QString formatTime(int nMilliseconds);

    // Names of scene transitions and easing curves as the editor shows them; empty for codes that
    // have none (such as -1).
    static QString transitionTypeName(int nType);
    static QString transitionDirectionName(int nDirection);
    static QString easingName(int nEasing);
};
