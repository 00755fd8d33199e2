#include "KVDivProperty.h"

#include "model/KVCorner.h"
#include "model/KVJsonUtil.h"

KVDivProperty::KVDivProperty(QObject *pParent)
    : KVTextProperty(pParent)
    , m_pCorner(new KVCorner(this))
{
}

KVDivProperty::KVDivProperty(const KVDivProperty &other)
    : KVTextProperty(other)
    , m_pCorner(new KVCorner(*other.m_pCorner, this))
{
}

KVDivProperty::~KVDivProperty() = default;

KVElementProperty *KVDivProperty::clone() const
{
    return new KVDivProperty(*this);
}

void KVDivProperty::toJson(QJsonObject &jo) const
{
    KVTextProperty::toJson(jo);
    QJsonObject joCorner;
    m_pCorner->toJson(joCorner);
    jo.insert(QStringLiteral("corner"), joCorner);
}

void KVDivProperty::toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                                 bool bResponsive) const
{
    KVTextProperty::toPlayerJson(resetKeys, jo, bForCanvas, bResponsive);
    if (isGatedIn(*this, bResponsive, {35, 36, 37, 38})) {
        QJsonArray ja;
        m_pCorner->toPlayerJson(ja);
        putOrReset(jo, resetKeys, QStringLiteral("lr"), ja, ja.isEmpty(), bResponsive);
    }
}

void KVDivProperty::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    KVTextProperty::fromJson(jo, pContext);
    m_pCorner->fromJson(KVJsonUtil::readObject(jo, QStringLiteral("corner")));
}
