#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

// The corner radii of a rectangle at one layout, each with its unit (0 pixels, 1 a fraction of the
// element's size). Project keys "tl", "tr", "bl", "br", "unitTL", "unitTR", "unitBL", "unitBR";
// player array [top-left, top-right, bottom-left, bottom-right], empty when all radii are 0.
class KVCorner : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double m_nTopLeft READ topLeft WRITE setTopLeft)
    Q_PROPERTY(double m_nTopRight READ topRight WRITE setTopRight)
    Q_PROPERTY(double m_nBottomLeft READ bottomLeft WRITE setBottomLeft)
    Q_PROPERTY(double m_nBottomRight READ bottomRight WRITE setBottomRight)

public:
    explicit KVCorner(QObject *pParent = nullptr);
    KVCorner(const KVCorner &other, QObject *pParent = nullptr);
    ~KVCorner() override;

    KVCorner *clone() const;
    void copyFrom(const KVCorner &other);
    bool operator==(const KVCorner &other) const;
    bool operator!=(const KVCorner &other) const { return !(*this == other); }

    // Sets the four radii at once (units unchanged); a new shape starts with 25 on each.
    void setAll(double dRadius);

    double topLeft() const { return m_nTopLeft; }
    void setTopLeft(double d) { m_nTopLeft = d; }
    double topRight() const { return m_nTopRight; }
    void setTopRight(double d) { m_nTopRight = d; }
    double bottomLeft() const { return m_nBottomLeft; }
    void setBottomLeft(double d) { m_nBottomLeft = d; }
    double bottomRight() const { return m_nBottomRight; }
    void setBottomRight(double d) { m_nBottomRight = d; }
    int unitTopLeft() const { return m_nUnitTopLeft; }
    void setUnitTopLeft(int n) { m_nUnitTopLeft = n; }
    int unitTopRight() const { return m_nUnitTopRight; }
    void setUnitTopRight(int n) { m_nUnitTopRight = n; }
    int unitBottomLeft() const { return m_nUnitBottomLeft; }
    void setUnitBottomLeft(int n) { m_nUnitBottomLeft = n; }
    int unitBottomRight() const { return m_nUnitBottomRight; }
    void setUnitBottomRight(int n) { m_nUnitBottomRight = n; }

    void fromJson(const QJsonObject &jo);
    void toJson(QJsonObject &jo) const;
    void toPlayerJson(QJsonArray &ja) const;

private:
    double m_nTopLeft = 0.0;
    double m_nTopRight = 0.0;
    double m_nBottomLeft = 0.0;
    double m_nBottomRight = 0.0;
    int m_nUnitTopLeft = 0;
    int m_nUnitTopRight = 0;
    int m_nUnitBottomLeft = 0;
    int m_nUnitBottomRight = 0;
};
