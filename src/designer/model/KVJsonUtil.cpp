#include "KVJsonUtil.h"

#include <QtMath>

#include <cmath>
#include <limits>

namespace KVJsonUtil {

int intFromJson(const QJsonValue &value, int nDefault)
{
    if (!value.isDouble())
        return nDefault;
    const double d = std::round(value.toDouble());
    if (!std::isfinite(d) || d < double(std::numeric_limits<int>::min())
        || d > double(std::numeric_limits<int>::max()))
        return nDefault;
    return static_cast<int>(d);
}

int readInt(const QJsonObject &jo, const QString &strKey, int nDefault)
{
    return intFromJson(jo.value(strKey), nDefault);
}

double readDouble(const QJsonObject &jo, const QString &strKey, double dDefault)
{
    const QJsonValue value = jo.value(strKey);
    if (!value.isDouble())
        return dDefault;
    const double d = value.toDouble();
    return std::isfinite(d) ? d : dDefault;
}

bool readBool(const QJsonObject &jo, const QString &strKey, bool bDefault)
{
    const QJsonValue value = jo.value(strKey);
    return value.isBool() ? value.toBool() : bDefault;
}

QString readString(const QJsonObject &jo, const QString &strKey, const QString &strDefault)
{
    const QJsonValue value = jo.value(strKey);
    return value.isString() ? value.toString() : strDefault;
}

QJsonArray readArray(const QJsonObject &jo, const QString &strKey)
{
    return jo.value(strKey).toArray();
}

QJsonObject readObject(const QJsonObject &jo, const QString &strKey)
{
    return jo.value(strKey).toObject();
}

double times100(double dFraction)
{
    const double d = dFraction * 100.0;
    if (!std::isfinite(d) || d == 0.0)
        return d;
    // Round to 12 significant digits: enough for any value a user gives, and it removes the last-bit
    // error of the multiplication.
    const double dScale = std::pow(10.0, 11 - int(std::floor(std::log10(std::fabs(d)))));
    if (!std::isfinite(dScale) || !std::isfinite(d * dScale))
        return d;
    return std::round(d * dScale) / dScale;
}

QString shortNumber(double d, int nDigits)
{
    QString str = QString::number(d, 'g', nDigits);
    if (str == QLatin1String("-0"))
        str = QStringLiteral("0");
    return str;
}

QJsonValue playerPosition(double dValue, int nUnit)
{
    if (nUnit == 1)
        return shortNumber(dValue * 100.0) + QLatin1Char('%');
    return dValue;
}

QJsonValue playerSize(double dValue, int nUnit)
{
    if (nUnit == 2)
        return shortNumber(dValue * 100.0) + QLatin1Char('a');
    return playerPosition(dValue, nUnit);
}

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
QByteArray toBinary(const QJsonDocument &document)
{
    return document.toBinaryData();
}

QJsonDocument fromBinary(const QByteArray &data)
{
    return QJsonDocument::fromBinaryData(data, QJsonDocument::Validate);
}
QT_WARNING_POP

} // namespace KVJsonUtil
