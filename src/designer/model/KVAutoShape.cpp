#include "KVAutoShape.h"

#include "model/KVAutoShapeProperty.h"
#include "model/KVElementType.h"

KVAutoShape::KVAutoShape() = default;

KVAutoShape::~KVAutoShape() = default;

int KVAutoShape::type() const
{
    return KVElementType::Shape;
}

KVElement *KVAutoShape::clone() const
{
    return copyElementInto(new KVAutoShape);
}

void KVAutoShape::init()
{
    KVElement::init();
    initFilledBox();
}

int KVAutoShape::borderWidth(const KVLayoutKey &) const
{
    return 0;
}

KVAutoShapeProperty *KVAutoShape::shapeProperty(const KVLayoutKey &layout) const
{
    return qobject_cast<KVAutoShapeProperty *>(property(layout));
}

int KVAutoShape::shapeType(const KVLayoutKey &layout) const
{
    const KVAutoShapeProperty *pShape = shapeProperty(layout);
    return pShape ? pShape->shapeType() : 0;
}

void KVAutoShape::setShapeType(int n, const KVLayoutKey &layout)
{
    if (KVAutoShapeProperty *pShape = shapeProperty(layout))
        pShape->setShapeType(n);
}

QList<double> KVAutoShape::adjustments(const KVLayoutKey &layout) const
{
    const KVAutoShapeProperty *pShape = shapeProperty(layout);
    return pShape ? pShape->adjustments() : QList<double>();
}

void KVAutoShape::setAdjustments(const QList<double> &list, const KVLayoutKey &layout)
{
    if (KVAutoShapeProperty *pShape = shapeProperty(layout))
        pShape->setAdjustments(list);
}
