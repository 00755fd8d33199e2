#pragma once

#include "KVActionKey.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cmath>
#include <limits>

// Tolerant reading of action parameters: a missing key, or a value of the wrong JSON type, gives
// the default the caller names. Shared by the player form and the action descriptions.
namespace KVActionValues {

inline int toInt(const QJsonValue &value, int nDefault)
{
    if (!value.isDouble())
        return nDefault;
    const double d = value.toDouble();
    if (!std::isfinite(d) || d < double(std::numeric_limits<int>::min())
        || d > double(std::numeric_limits<int>::max()))
        return nDefault;
    return int(std::lround(d));
}

inline int intParam(const QJsonObject &data, QLatin1String key, int nDefault)
{
    return toInt(data.value(key), nDefault);
}

inline double numberParam(const QJsonObject &data, QLatin1String key, double dDefault)
{
    const QJsonValue value = data.value(key);
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return dDefault;
    return value.toDouble();
}

inline bool boolParam(const QJsonObject &data, QLatin1String key, bool bDefault)
{
    const QJsonValue value = data.value(key);
    return value.isBool() ? value.toBool() : bDefault;
}

inline QString stringParam(const QJsonObject &data, QLatin1String key)
{
    const QJsonValue value = data.value(key);
    return value.isString() ? value.toString() : QString();
}

// The time of a timeline or symbol action names a label of the target timeline when it is text.
inline bool timeIsLabel(const QJsonObject &data)
{
    return data.value(KVActionKey::Time).isString();
}

// A time in milliseconds; a text that holds a whole number is taken as that number.
inline int timeMs(const QJsonObject &data)
{
    const QJsonValue value = data.value(KVActionKey::Time);
    if (value.isString()) {
        bool bOk = false;
        const int nTime = value.toString().trimmed().toInt(&bOk);
        return bOk ? nTime : 0;
    }
    return toInt(value, 0);
}

} // namespace KVActionValues
