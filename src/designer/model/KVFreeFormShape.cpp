#include "KVFreeFormShape.h"

#include "model/KVElementType.h"
#include "model/KVFreeFormShapeProperty.h"

KVFreeFormShape::KVFreeFormShape() = default;

KVFreeFormShape::~KVFreeFormShape() = default;

int KVFreeFormShape::type() const
{
    return KVElementType::Freeform;
}

KVElement *KVFreeFormShape::clone() const
{
    return copyElementInto(new KVFreeFormShape);
}

void KVFreeFormShape::toPlayerJson(QJsonObject &jo, bool bForCanvas, const KVLayoutKey &layout)
{
    KVAutoShape::toPlayerJson(jo, bForCanvas, layout);
    jo.insert(QStringLiteral("editPoint"), m_bEditingPoints);
}

KVFreeFormShapeProperty *KVFreeFormShape::freeFormProperty(const KVLayoutKey &layout) const
{
    return qobject_cast<KVFreeFormShapeProperty *>(property(layout));
}
