#pragma once

#include "model/KVText.h"

#include <QList>

class KVAutoShapeProperty;

// A shape from the built-in catalogue of outlines (type code 9): a text box whose outline the canvas
// page and the player draw from the shape type and its adjustment values. The outline is drawn by the
// shape itself, so the box has no CSS border width.
class KVAutoShape : public KVText
{
    Q_OBJECT

public:
    KVAutoShape();
    ~KVAutoShape() override;

    int type() const override;
    KVElement *clone() const override;
    // The element defaults (256 x 128), then a solid fill and white text at the current layout.
    void init() override;
    // Always 0.
    int borderWidth(const KVLayoutKey &layout = KVLayoutKey::current()) const override;

    KVAutoShapeProperty *shapeProperty(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    int shapeType(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setShapeType(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    QList<double> adjustments(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setAdjustments(const QList<double> &list, const KVLayoutKey &layout = KVLayoutKey::current());
};
