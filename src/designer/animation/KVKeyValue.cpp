#include "animation/KVKeyValue.h"

#include "model/KVColorJson.h"
#include "model/KVJsonUtil.h"

#include <QColor>
#include <QPoint>
#include <QPointF>

#include <cmath>

namespace {

// A packed 0xAARRGGBB colour; also accepts the signed form of the same 32 bits.
quint32 readRgba(const QJsonObject &jo)
{
    const QJsonValue v = jo.value(QStringLiteral("rgba"));
    if (!v.isDouble())
        return 0;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < -2147483648.0 || d > 4294967295.0)
        return 0;
    return d < 0 ? quint32(qint32(d)) : quint32(d);
}

} // namespace

KVKeyValue::KVKeyValue(int nTime, const QVariant &value)
    : m_nTime(nTime), m_value(normalized(value)), m_valueMinus(m_value)
{
}

KVKeyValue::KVKeyValue(int nTime, const QVariant &value, const QVariant &valueMinus)
    : m_nTime(nTime), m_value(normalized(value)), m_valueMinus(normalized(valueMinus))
{
}

int KVKeyValue::valueType() const
{
    switch (m_value.userType()) {
    case QMetaType::QPoint:
        return IntPoint;
    case QMetaType::QPointF:
        return Point;
    case QMetaType::QColor:
        return Color;
    default:
        return Number;
    }
}

QVariant KVKeyValue::normalized(const QVariant &value)
{
    switch (value.userType()) {
    case QMetaType::UnknownType:
    case QMetaType::QPoint:
    case QMetaType::QPointF:
        return value;
    case QMetaType::QColor:
        return QVariant(KVColorJson::normalized(value.value<QColor>()));
    case QMetaType::Double:
        return value;
    default:
        return QVariant(value.toDouble());
    }
}

QJsonObject KVKeyValue::valueToJson(const QVariant &value)
{
    QJsonObject jo;
    switch (value.userType()) {
    case QMetaType::QPoint: {
        const QPoint pt = value.toPoint();
        jo.insert(QStringLiteral("x"), pt.x());
        jo.insert(QStringLiteral("y"), pt.y());
        break;
    }
    case QMetaType::QPointF: {
        const QPointF pt = value.toPointF();
        jo.insert(QStringLiteral("x"), pt.x());
        jo.insert(QStringLiteral("y"), pt.y());
        break;
    }
    case QMetaType::QColor:
        jo.insert(QStringLiteral("rgba"), double(value.value<QColor>().rgba()));
        break;
    default:
        jo.insert(QStringLiteral("val"), value.toDouble());
        break;
    }
    return jo;
}

QVariant KVKeyValue::valueFromJson(const QJsonObject &jo, int nType)
{
    switch (nType) {
    case IntPoint:
        return QPoint(KVJsonUtil::readInt(jo, QStringLiteral("x"), 0),
                      KVJsonUtil::readInt(jo, QStringLiteral("y"), 0));
    case Point:
        return QPointF(KVJsonUtil::readDouble(jo, QStringLiteral("x"), 0.0),
                       KVJsonUtil::readDouble(jo, QStringLiteral("y"), 0.0));
    case Color:
        return QColor::fromRgba(readRgba(jo));
    default:
        return QVariant(KVJsonUtil::readDouble(jo, QStringLiteral("val"), 0.0));
    }
}

QJsonObject KVKeyValue::toJson() const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("time"), m_nTime);
    jo.insert(QStringLiteral("type"), valueType());
    jo.insert(QStringLiteral("value"), valueToJson(m_value));
    jo.insert(QStringLiteral("value_minus"), valueToJson(m_valueMinus));
    return jo;
}

KVKeyValue KVKeyValue::fromJson(const QJsonObject &jo)
{
    const int nType = KVJsonUtil::readInt(jo, QStringLiteral("type"), Number);
    KVKeyValue kv;
    kv.m_nTime = KVJsonUtil::readInt(jo, QStringLiteral("time"), 0);
    kv.m_value = valueFromJson(KVJsonUtil::readObject(jo, QStringLiteral("value")), nType);
    // A key without a value before has no jump: both values agree, as for a new key.
    kv.m_valueMinus = jo.value(QStringLiteral("value_minus")).isObject()
        ? valueFromJson(jo.value(QStringLiteral("value_minus")).toObject(), nType)
        : kv.m_value;
    return kv;
}
