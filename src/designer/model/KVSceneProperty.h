#pragma once

#include "model/KVElementProperty.h"

// A scene's values at one layout: the stage box of the common element data plus the 3D perspective
// origin the stage's children are seen from. X and Y are fractions of the stage's width and height,
// Z is the perspective distance in pixels; (0.5, 0.5, 1200) is the neutral perspective.
class KVSceneProperty : public KVElementProperty
{
    Q_OBJECT
    Q_PROPERTY(double m_dPerspectiveOrgX READ perspectiveOrgX WRITE setPerspectiveOrgX)
    Q_PROPERTY(double m_dPerspectiveOrgY READ perspectiveOrgY WRITE setPerspectiveOrgY)
    Q_PROPERTY(double m_dPerspectiveOrgZ READ perspectiveOrgZ WRITE setPerspectiveOrgZ)

public:
    static constexpr double DefaultPerspectiveOrgX = 0.5;
    static constexpr double DefaultPerspectiveOrgY = 0.5;
    static constexpr double DefaultPerspectiveOrgZ = 1200.0;

    explicit KVSceneProperty(QObject *pParent = nullptr);
    KVSceneProperty(const KVSceneProperty &other);
    ~KVSceneProperty() override;

    KVElementProperty *clone() const override;
    // Adds "perspectiveOrgX", "perspectiveOrgY", "perspectiveOrgZ".
    void toJson(QJsonObject &jo) const override;
    // Adds "pso": [X x 100, Y x 100, Z, 1]; at a responsive layout only when the layout overrides
    // one of the perspective codes.
    void toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                      bool bResponsive) const override;
    // The perspective keys first (0.5, 0.5, 1200 when missing), then the common keys.
    void fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext) override;
    // Also true when the perspective is not the neutral one.
    bool uses3D() const override;

    double perspectiveOrgX() const { return m_dPerspectiveOrgX; }
    void setPerspectiveOrgX(double d) { m_dPerspectiveOrgX = d; }
    double perspectiveOrgY() const { return m_dPerspectiveOrgY; }
    void setPerspectiveOrgY(double d) { m_dPerspectiveOrgY = d; }
    double perspectiveOrgZ() const { return m_dPerspectiveOrgZ; }
    void setPerspectiveOrgZ(double d) { m_dPerspectiveOrgZ = d; }
    bool hasDefaultPerspective() const;

private:
    double m_dPerspectiveOrgX = DefaultPerspectiveOrgX;
    double m_dPerspectiveOrgY = DefaultPerspectiveOrgY;
    double m_dPerspectiveOrgZ = DefaultPerspectiveOrgZ;
};
