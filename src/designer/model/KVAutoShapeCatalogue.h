#pragma once

#include "model/ISingleton.h"

#include <QCoreApplication>
#include <QList>
#include <QMap>
#include <QString>
#include <QVector>

class KVAutoShape;

// One shape of the editor's shape menu.
struct KVAutoShapeInfo
{
    int nShapeType;          // stored as "autoshapeType", written as the first entry of "s"
    const char *pszName;     // untranslated display name
    int nElementType;        // 9 auto shape, 11 free-form shape
    int nCategory;           // KVAutoShapeCatalogue::Category
    const char *pszIcon;     // icon name under iconFolder()
    int nAdjustmentCount;    // number of adjustment handles a new shape of this type has
};

// The 48 shapes of the shape menu, and one template element per shape, made once on first use:
// an element of the shape's type code whose base property carries the shape type, the translated
// name, the category and the shape's adjustments (each 0.5, the middle of its range). Inserting a
// shape clones its template.
class KVAutoShapeCatalogue : public ISingleton<KVAutoShapeCatalogue>
{
    Q_DECLARE_TR_FUNCTIONS(KVAutoShapeCatalogue)

public:
    enum Category { BasicShapes = 0, Callouts = 1, Freeforms = 2, BlockArrows = 3, Stars = 4 };
    static constexpr int ShapeCount = 48;
    // The free forms drawn as one closed outline and as an open line.
    static constexpr int FreeformShape = 594;
    static constexpr int FreeformScribble = 595;
    // Lines, arrows, curves and scribbles are open outlines; other free forms close theirs.
    static bool isOpenFreeform(int nShapeType)
    {
        return (nShapeType >= 590 && nShapeType <= 593) || nShapeType == FreeformScribble;
    }
    static constexpr double DefaultAdjustment = 0.5;

    ~KVAutoShapeCatalogue();

    // In menu order (the shapes of a category keep this order).
    static const QVector<KVAutoShapeInfo> &entries();
    // Null for a shape type the catalogue does not hold.
    static const KVAutoShapeInfo *info(int nShapeType);
    static QString displayName(int nShapeType); // translated; empty when unknown
    // "Basic Shapes", "Callouts", "Freeforms", "Block Arrows", "Stars"; "Unknown" for other codes.
    static QString categoryName(int nCategory);
    // 0 for a shape type the catalogue does not hold.
    static int adjustmentCount(int nShapeType);
    // The shape types of a category in menu order.
    static QList<int> shapesOf(int nCategory);
    static QString iconFolder(); // ":/designer/images/autoshape"

    // Templates by shape type (ordered by type).
    const QMap<int, KVAutoShape *> &templates() const { return m_mapTemplates; }
    KVAutoShape *shapeTemplate(int nShapeType) const { return m_mapTemplates.value(nShapeType, nullptr); }
    // A new shape cloned from the template (id -1, no parent); null for an unknown type.
    KVAutoShape *createShape(int nShapeType) const;

private:
    friend class ISingleton<KVAutoShapeCatalogue>;
    KVAutoShapeCatalogue();

    QMap<int, KVAutoShape *> m_mapTemplates;
};
