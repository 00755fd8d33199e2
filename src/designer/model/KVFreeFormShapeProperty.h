#pragma once

#include "model/KVAutoShapeProperty.h"
#include "model/KVBezierPath.h"

// The line ends of a free-form shape. Type codes: 0 none, 1 arrow, 2 open, 3 stealth, 4 diamond,
// 5 oval; sizes are the editor's size steps.
struct KVArrowSettings
{
    enum Type { None = 0, Arrow = 1, Open = 2, Stealth = 3, Diamond = 4, Oval = 5 };

    int nStartType = None;
    int nStartSize = 4;
    int nEndType = None;
    int nEndSize = 4;

    bool operator==(const KVArrowSettings &o) const
    {
        return nStartType == o.nStartType && nStartSize == o.nStartSize && nEndType == o.nEndType
            && nEndSize == o.nEndSize;
    }
    bool operator!=(const KVArrowSettings &o) const { return !(*this == o); }
};

// A free-form shape's values at one layout: the auto-shape values plus the outline (a Bezier path
// in the element's own coordinates) and the arrows at its ends.
class KVFreeFormShapeProperty : public KVAutoShapeProperty
{
    Q_OBJECT

public:
    explicit KVFreeFormShapeProperty(QObject *pParent = nullptr);
    KVFreeFormShapeProperty(const KVFreeFormShapeProperty &other);
    ~KVFreeFormShapeProperty() override;

    KVElementProperty *clone() const override;
    // Adds "bzpath" and "arrow" (start_arrow_type, start_arrow_size, end_arrow_type, end_arrow_size).
    void toJson(QJsonObject &jo) const override;
    // "bzpath" and "arrow" are read only when present, and each arrow key only when present.
    void fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext) override;

    const KVBezierPath &path() const { return m_path; }
    KVBezierPath &path() { return m_path; }
    void setPath(const KVBezierPath &path) { m_path = path; }
    KVArrowSettings arrows() const { return m_arrows; }
    void setArrows(const KVArrowSettings &arrows) { m_arrows = arrows; }

protected:
    // "s": [shape type, path], then end type and size when either end has an arrow, then start type
    // and size when the start has one.
    void shapeToPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bResponsive) const override;

private:
    KVArrowSettings m_arrows;
    KVBezierPath m_path;
};
