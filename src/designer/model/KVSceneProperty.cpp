#include "KVSceneProperty.h"

#include "model/KVJsonUtil.h"

using namespace KVJsonUtil;

namespace {
const QString kPerspectiveX = QStringLiteral("perspectiveOrgX");
const QString kPerspectiveY = QStringLiteral("perspectiveOrgY");
const QString kPerspectiveZ = QStringLiteral("perspectiveOrgZ");
} // namespace

KVSceneProperty::KVSceneProperty(QObject *pParent)
    : KVElementProperty(pParent)
{
}

KVSceneProperty::KVSceneProperty(const KVSceneProperty &other)
    : KVElementProperty(other)
    , m_dPerspectiveOrgX(other.m_dPerspectiveOrgX)
    , m_dPerspectiveOrgY(other.m_dPerspectiveOrgY)
    , m_dPerspectiveOrgZ(other.m_dPerspectiveOrgZ)
{
}

KVSceneProperty::~KVSceneProperty() = default;

KVElementProperty *KVSceneProperty::clone() const
{
    return new KVSceneProperty(*this);
}

void KVSceneProperty::toJson(QJsonObject &jo) const
{
    KVElementProperty::toJson(jo);
    jo.insert(kPerspectiveX, m_dPerspectiveOrgX);
    jo.insert(kPerspectiveY, m_dPerspectiveOrgY);
    jo.insert(kPerspectiveZ, m_dPerspectiveOrgZ);
}

void KVSceneProperty::toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                                   bool bResponsive) const
{
    KVElementProperty::toPlayerJson(resetKeys, jo, bForCanvas, bResponsive);
    // Property codes 94, 95 and 96: perspective origin X, Y and Z.
    if (!isGatedIn(*this, bResponsive, {94, 95, 96}))
        return;
    jo.insert(QStringLiteral("pso"), QJsonArray{times100(m_dPerspectiveOrgX),
                                                times100(m_dPerspectiveOrgY), m_dPerspectiveOrgZ, 1});
}

void KVSceneProperty::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    m_dPerspectiveOrgX = readDouble(jo, kPerspectiveX, DefaultPerspectiveOrgX);
    m_dPerspectiveOrgY = readDouble(jo, kPerspectiveY, DefaultPerspectiveOrgY);
    m_dPerspectiveOrgZ = readDouble(jo, kPerspectiveZ, DefaultPerspectiveOrgZ);
    KVElementProperty::fromJson(jo, pContext);
}

bool KVSceneProperty::hasDefaultPerspective() const
{
    return m_dPerspectiveOrgX == DefaultPerspectiveOrgX && m_dPerspectiveOrgY == DefaultPerspectiveOrgY
        && m_dPerspectiveOrgZ == DefaultPerspectiveOrgZ;
}

bool KVSceneProperty::uses3D() const
{
    return !hasDefaultPerspective() || KVElementProperty::uses3D();
}
