#include "KVColorJson.h"

#include <QJsonValue>

#include <cmath>

namespace KVColorJson {

QColor normalized(const QColor &cl)
{
    return QColor::fromRgba(cl.rgba());
}

qint32 toArgbInt(const QColor &cl)
{
    return static_cast<qint32>(cl.rgba());
}

QColor fromArgbInt(qint32 nArgb)
{
    return QColor::fromRgba(static_cast<QRgb>(static_cast<quint32>(nArgb)));
}

QColor colorFromJson(const QJsonValue &value, const QColor &clDefault)
{
    if (!value.isDouble())
        return clDefault;
    const double d = value.toDouble();
    // Whole numbers from -2^31 up to 2^32 - 1: the signed form we write, and the unsigned form a
    // hand-edited file may hold.
    if (!std::isfinite(d) || d != std::floor(d) || d < -2147483648.0 || d > 4294967295.0)
        return clDefault;
    const qint64 n = static_cast<qint64>(d);
    return QColor::fromRgba(static_cast<QRgb>(static_cast<quint32>(n & 0xffffffffLL)));
}

QColor readColor(const QJsonObject &jo, const QString &strKey, const QColor &clDefault)
{
    return colorFromJson(jo.value(strKey), clDefault);
}

void appendRgba(QJsonArray &ja, const QColor &cl)
{
    const QRgb rgba = cl.rgba();
    ja.append(qRed(rgba));
    ja.append(qGreen(rgba));
    ja.append(qBlue(rgba));
    ja.append(qAlpha(rgba));
}

QJsonArray rgbaArray(const QColor &cl)
{
    QJsonArray ja;
    appendRgba(ja, cl);
    return ja;
}

} // namespace KVColorJson
