#include "KVAutoShapeProperty.h"

#include "model/KVJsonUtil.h"

using namespace KVJsonUtil;

KVAutoShapeProperty::KVAutoShapeProperty(QObject *pParent)
    : KVTextProperty(pParent)
{
}

KVAutoShapeProperty::KVAutoShapeProperty(const KVAutoShapeProperty &other) = default;

KVAutoShapeProperty::~KVAutoShapeProperty() = default;

KVElementProperty *KVAutoShapeProperty::clone() const
{
    return new KVAutoShapeProperty(*this);
}

void KVAutoShapeProperty::toJson(QJsonObject &jo) const
{
    KVTextProperty::toJson(jo);
    QJsonArray jaAdjustments;
    for (double d : m_listAdjustments)
        jaAdjustments.append(d);
    jo.insert(QStringLiteral("adjustments"), jaAdjustments);
    jo.insert(QStringLiteral("autoshapeType"), m_nShapeType);
    jo.insert(QStringLiteral("adjustmentCount"), m_listAdjustments.size());
}

void KVAutoShapeProperty::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    KVTextProperty::fromJson(jo, pContext);
    m_nShapeType = readInt(jo, QStringLiteral("autoshapeType"), 0);
    // The count follows the array; "adjustmentCount" is written for readers of the file only. An
    // entry that is not a number keeps its place as 0 so that later adjustments keep theirs.
    m_listAdjustments.clear();
    const QJsonArray jaAdjustments = readArray(jo, QStringLiteral("adjustments"));
    for (const QJsonValue &value : jaAdjustments)
        m_listAdjustments.append(value.isDouble() ? value.toDouble() : 0.0);
}

void KVAutoShapeProperty::toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                                       bool bResponsive) const
{
    KVTextProperty::toPlayerJson(resetKeys, jo, bForCanvas, bResponsive);
    shapeToPlayerJson(resetKeys, jo, bResponsive);
}

void KVAutoShapeProperty::shapeToPlayerJson(QJsonArray &, QJsonObject &jo, bool bResponsive) const
{
    if (!isGatedIn(*this, bResponsive, {58}))
        return;
    QJsonArray ja{m_nShapeType};
    if (!m_listAdjustments.isEmpty()) {
        QJsonArray jaAdjustments;
        for (double d : m_listAdjustments)
            jaAdjustments.append(d);
        ja.append(jaAdjustments);
    }
    jo.insert(QStringLiteral("s"), ja);
}
