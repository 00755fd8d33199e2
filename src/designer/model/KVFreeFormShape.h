#pragma once

#include "model/KVAutoShape.h"

class KVFreeFormShapeProperty;

// A shape drawn along a Bezier path (type code 11): lines, arrows, curves and free outlines. While
// its points are being edited on the canvas the page gets "editPoint": true.
class KVFreeFormShape : public KVAutoShape
{
    Q_OBJECT

public:
    KVFreeFormShape();
    ~KVFreeFormShape() override;

    int type() const override;
    KVElement *clone() const override;
    // Adds "editPoint", for the canvas and for export alike.
    void toPlayerJson(QJsonObject &jo, bool bForCanvas,
                      const KVLayoutKey &layout = KVLayoutKey::current()) override;

    bool isEditingPoints() const { return m_bEditingPoints; }
    void setEditingPoints(bool b) { m_bEditingPoints = b; }

    KVFreeFormShapeProperty *freeFormProperty(const KVLayoutKey &layout = KVLayoutKey::current()) const;

private:
    bool m_bEditingPoints = false;
};
