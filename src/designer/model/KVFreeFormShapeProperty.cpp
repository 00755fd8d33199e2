#include "KVFreeFormShapeProperty.h"

#include "model/KVJsonUtil.h"

using namespace KVJsonUtil;

KVFreeFormShapeProperty::KVFreeFormShapeProperty(QObject *pParent)
    : KVAutoShapeProperty(pParent)
{
}

KVFreeFormShapeProperty::KVFreeFormShapeProperty(const KVFreeFormShapeProperty &other) = default;

KVFreeFormShapeProperty::~KVFreeFormShapeProperty() = default;

KVElementProperty *KVFreeFormShapeProperty::clone() const
{
    return new KVFreeFormShapeProperty(*this);
}

void KVFreeFormShapeProperty::toJson(QJsonObject &jo) const
{
    QJsonObject joPath;
    m_path.toJson(joPath);
    jo.insert(QStringLiteral("bzpath"), joPath);
    QJsonObject joArrow;
    joArrow.insert(QStringLiteral("start_arrow_type"), m_arrows.nStartType);
    joArrow.insert(QStringLiteral("start_arrow_size"), m_arrows.nStartSize);
    joArrow.insert(QStringLiteral("end_arrow_type"), m_arrows.nEndType);
    joArrow.insert(QStringLiteral("end_arrow_size"), m_arrows.nEndSize);
    jo.insert(QStringLiteral("arrow"), joArrow);
    KVAutoShapeProperty::toJson(jo);
}

void KVFreeFormShapeProperty::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    const QJsonValue path = jo.value(QStringLiteral("bzpath"));
    if (path.isObject())
        m_path.fromJson(path.toObject());
    const QJsonValue arrow = jo.value(QStringLiteral("arrow"));
    if (arrow.isObject()) {
        const QJsonObject joArrow = arrow.toObject();
        m_arrows.nStartType = readInt(joArrow, QStringLiteral("start_arrow_type"), m_arrows.nStartType);
        m_arrows.nStartSize = readInt(joArrow, QStringLiteral("start_arrow_size"), m_arrows.nStartSize);
        m_arrows.nEndType = readInt(joArrow, QStringLiteral("end_arrow_type"), m_arrows.nEndType);
        m_arrows.nEndSize = readInt(joArrow, QStringLiteral("end_arrow_size"), m_arrows.nEndSize);
    }
    KVAutoShapeProperty::fromJson(jo, pContext);
}

void KVFreeFormShapeProperty::shapeToPlayerJson(QJsonArray &, QJsonObject &jo, bool bResponsive) const
{
    if (!isGatedIn(*this, bResponsive, {58, 60, 46, 47, 48, 49}))
        return;
    QJsonArray jaPath;
    m_path.toPlayerJson(jaPath);
    QJsonArray ja{shapeType(), jaPath};
    if (m_arrows.nEndType != KVArrowSettings::None || m_arrows.nStartType != KVArrowSettings::None) {
        ja.append(m_arrows.nEndType);
        ja.append(m_arrows.nEndSize);
        if (m_arrows.nStartType != KVArrowSettings::None) {
            ja.append(m_arrows.nStartType);
            ja.append(m_arrows.nStartSize);
        }
    }
    jo.insert(QStringLiteral("s"), ja);
}
