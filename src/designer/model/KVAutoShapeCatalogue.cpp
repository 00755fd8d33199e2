#include "KVAutoShapeCatalogue.h"

#include "model/KVAutoShape.h"
#include "model/KVAutoShapeProperty.h"
#include "model/KVElementFactory.h"

namespace {

using C = KVAutoShapeCatalogue;

// Adjustment counts follow the handles each outline offers: rounded corners, a triangle's apex, the
// shaft and head of an arrow, the tail of a callout, the inner radius of a star, ...
const QVector<KVAutoShapeInfo> kEntries = {
    {11, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Rectangle"), 9, C::BasicShapes, "rectangle", 0},
    {12, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Rounded Rect"), 9, C::BasicShapes, "roundrect", 1},
    {33, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Triangle"), 9, C::BasicShapes, "triangle", 1},
    {22, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Diamond"), 9, C::BasicShapes, "diamond", 0},
    {21, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Oval"), 9, C::BasicShapes, "oval", 0},
    {56, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Heart"), 9, C::BasicShapes, "heart", 0},
    {20, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Cross"), 9, C::BasicShapes, "cross", 1},
    {53, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Plaque"), 9, C::BasicShapes, "plaque", 1},
    {61, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Trapezoid"), 9, C::BasicShapes, "trapezoid", 1},
    {57, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Moon"), 9, C::BasicShapes, "moon", 1},
    {41, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "5 Polygons"), 9, C::BasicShapes, "polygon_5", 0},
    {42, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "6 Polygons"), 9, C::BasicShapes, "polygon_6", 0},
    {44, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "8 Polygons"), 9, C::BasicShapes, "polygon_8", 0},
    {34, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Right Triangle"), 9, C::BasicShapes, "righttriangle", 0},
    {35, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Data"), 9, C::BasicShapes, "data", 1},
    {69, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Offpage Connector"), 9, C::BasicShapes, "connector", 0},
    {71, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Display"), 9, C::BasicShapes, "display", 0},
    {72, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Card"), 9, C::BasicShapes, "card", 0},
    {74, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Stored Data"), 9, C::BasicShapes, "storedata", 0},
    {75, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Wave"), 9, C::BasicShapes, "wave", 2},
    {73, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Pentagon"), 9, C::BlockArrows, "pentagon", 1},
    {13, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Rectangle Callout"), 9, C::Callouts, "rectcallout", 2},
    {14, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Rounded Rect Callout"), 9, C::Callouts, "roundedrectcallout", 3},
    {19, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Oval Callout"), 9, C::Callouts, "ovalcallout", 2},
    {15, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Right Arrow"), 9, C::BlockArrows, "rightarrow", 2},
    {16, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Left Arrow"), 9, C::BlockArrows, "leftarrow", 2},
    {17, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Up Arrow"), 9, C::BlockArrows, "uparrow", 2},
    {18, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Down Arrow"), 9, C::BlockArrows, "downarrow", 2},
    {26, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Up Down Arrow"), 9, C::BlockArrows, "updownarrow", 2},
    {25, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Left Right Arrow"), 9, C::BlockArrows, "leftrightarrow", 2},
    {31, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Notched Right Arrow"), 9, C::BlockArrows, "notchedrightarrow", 2},
    {29, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Left Arrow Callout"), 9, C::BlockArrows, "leftarrowcallout", 4},
    {27, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Right Arrow Callout"), 9, C::BlockArrows, "rightarrowcallout", 4},
    {30, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Up Arrow Callout"), 9, C::BlockArrows, "uparrowcallout", 4},
    {28, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Down Arrow Callout"), 9, C::BlockArrows, "downarrowcallout", 4},
    {32, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Chevron"), 9, C::BlockArrows, "chevron", 1},
    {81, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "4 Stars"), 9, C::Stars, "star_4", 1},
    {82, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "5 Stars"), 9, C::Stars, "star_5", 1},
    {83, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "6 Stars"), 9, C::Stars, "star_6", 1},
    {85, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "8 Stars"), 9, C::Stars, "star_8", 1},
    {89, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "12 Stars"), 9, C::Stars, "star_12", 1},
    {101, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "24 Stars"), 9, C::Stars, "star_24", 1},
    {590, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Line"), 11, C::Freeforms, "line", 0},
    {591, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Arrow"), 11, C::Freeforms, "arrow", 0},
    {592, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Double Arrow"), 11, C::Freeforms, "double_arrow", 0},
    {593, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Curve"), 11, C::Freeforms, "curve", 0},
    {594, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Freeform: Shape"), 11, C::Freeforms, "freeform", 0},
    {595, QT_TRANSLATE_NOOP("KVAutoShapeCatalogue", "Freeform: Scribble"), 11, C::Freeforms, "scribble", 0},
};

} // namespace

const QVector<KVAutoShapeInfo> &KVAutoShapeCatalogue::entries()
{
    return kEntries;
}

const KVAutoShapeInfo *KVAutoShapeCatalogue::info(int nShapeType)
{
    for (const KVAutoShapeInfo &entry : kEntries) {
        if (entry.nShapeType == nShapeType)
            return &entry;
    }
    return nullptr;
}

QString KVAutoShapeCatalogue::displayName(int nShapeType)
{
    const KVAutoShapeInfo *pInfo = info(nShapeType);
    return pInfo ? tr(pInfo->pszName) : QString();
}

QString KVAutoShapeCatalogue::categoryName(int nCategory)
{
    switch (nCategory) {
    case BasicShapes:
        return tr("Basic Shapes");
    case Callouts:
        return tr("Callouts");
    case Freeforms:
        return tr("Freeforms");
    case BlockArrows:
        return tr("Block Arrows");
    case Stars:
        return tr("Stars");
    default:
        return tr("Unknown");
    }
}

int KVAutoShapeCatalogue::adjustmentCount(int nShapeType)
{
    const KVAutoShapeInfo *pInfo = info(nShapeType);
    return pInfo ? pInfo->nAdjustmentCount : 0;
}

QList<int> KVAutoShapeCatalogue::shapesOf(int nCategory)
{
    QList<int> shapes;
    for (const KVAutoShapeInfo &entry : kEntries) {
        if (entry.nCategory == nCategory)
            shapes.append(entry.nShapeType);
    }
    return shapes;
}

QString KVAutoShapeCatalogue::iconFolder()
{
    return QStringLiteral(":/designer/images/autoshape");
}

KVAutoShapeCatalogue::KVAutoShapeCatalogue()
{
    for (const KVAutoShapeInfo &entry : kEntries) {
        KVElement *pElement = KVElementFactory::createElement(entry.nElementType);
        auto *pShape = qobject_cast<KVAutoShape *>(pElement);
        KVAutoShapeProperty *pProperty = pShape ? pShape->shapeProperty(KVLayoutKey::base()) : nullptr;
        if (!pProperty) {
            delete pElement;
            continue;
        }
        pProperty->setShapeType(entry.nShapeType);
        pProperty->setDisplayName(tr(entry.pszName));
        pProperty->setCategory(entry.nCategory);
        pProperty->setAdjustments(QVector<double>(entry.nAdjustmentCount, DefaultAdjustment).toList());
        m_mapTemplates.insert(entry.nShapeType, pShape);
    }
}

KVAutoShapeCatalogue::~KVAutoShapeCatalogue()
{
    qDeleteAll(m_mapTemplates);
}

KVAutoShape *KVAutoShapeCatalogue::createShape(int nShapeType) const
{
    const KVAutoShape *pTemplate = shapeTemplate(nShapeType);
    return pTemplate ? static_cast<KVAutoShape *>(pTemplate->clone()) : nullptr;
}
