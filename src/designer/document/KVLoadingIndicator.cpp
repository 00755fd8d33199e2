#include "KVLoadingIndicator.h"

#include "model/KVColorJson.h"
#include "model/KVJsonUtil.h"

namespace {
const QString kDiameter = QStringLiteral("diameter");
const QString kDensity = QStringLiteral("density");
const QString kRange = QStringLiteral("range");
const QString kSpeed = QStringLiteral("speed");
const QString kColor = QStringLiteral("color");
const QString kShape = QStringLiteral("shape");
} // namespace

bool KVLoadingIndicator::operator==(const KVLoadingIndicator &other) const
{
    return m_nDiameter == other.m_nDiameter && m_nDensity == other.m_nDensity && m_dRange == other.m_dRange
        && m_nSpeed == other.m_nSpeed && m_clColor.rgba() == other.m_clColor.rgba() && m_nShape == other.m_nShape;
}

QJsonObject KVLoadingIndicator::toJson() const
{
    QJsonObject jo;
    jo.insert(kDiameter, m_nDiameter);
    jo.insert(kDensity, m_nDensity);
    jo.insert(kRange, m_dRange);
    jo.insert(kSpeed, m_nSpeed);
    jo.insert(kColor, static_cast<qint64>(KVColorJson::toArgbInt(m_clColor)));
    jo.insert(kShape, m_nShape);
    return jo;
}

KVLoadingIndicator KVLoadingIndicator::fromJson(const QJsonObject &jo)
{
    KVLoadingIndicator indicator;
    indicator.m_nDiameter = KVJsonUtil::readInt(jo, kDiameter, 0);
    indicator.m_nDensity = KVJsonUtil::readInt(jo, kDensity, 0);
    indicator.m_dRange = KVJsonUtil::readDouble(jo, kRange, 0.0);
    indicator.m_nSpeed = KVJsonUtil::readInt(jo, kSpeed, 0);
    indicator.m_clColor = KVColorJson::readColor(jo, kColor, QColor::fromRgba(0));
    indicator.m_nShape = KVJsonUtil::readInt(jo, kShape, 0);
    return indicator;
}

QString KVLoadingIndicator::shapeName(int nShape)
{
    switch (nShape) {
    case 1: return QStringLiteral("spiral");
    case 2: return QStringLiteral("square");
    case 3: return QStringLiteral("rect");
    case 4: return QStringLiteral("roundRect");
    default: return QStringLiteral("oval");
    }
}
