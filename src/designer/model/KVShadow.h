#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

// The drop shadow of an element box at one layout.
// Project keys "st", "br", "ag", "dt", "cl"; player array [blur, angle, distance, r, g, b, a], empty
// unless the style is a drop shadow.
class KVShadow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int m_nShBlurRadius READ blurRadius WRITE setBlurRadius)
    Q_PROPERTY(int m_nShAngle READ angle WRITE setAngle)
    Q_PROPERTY(int m_nShDistance READ distance WRITE setDistance)
    Q_PROPERTY(QColor m_shColor READ color WRITE setColor)

public:
    enum Style { NoShadow = 0, DropShadow = 1 };
    Q_ENUM(Style)

    explicit KVShadow(QObject *pParent = nullptr);
    KVShadow(const KVShadow &other, QObject *pParent = nullptr);
    ~KVShadow() override;

    KVShadow *clone() const;
    void copyFrom(const KVShadow &other);
    bool operator==(const KVShadow &other) const;
    bool operator!=(const KVShadow &other) const { return !(*this == other); }

    static QColor defaultColor(); // black with alpha 128 (ARGB 0x80000000)

    int style() const { return m_nStyle; }
    void setStyle(int nStyle) { m_nStyle = nStyle; }
    int blurRadius() const { return m_nShBlurRadius; }
    void setBlurRadius(int n) { m_nShBlurRadius = n; }
    int angle() const { return m_nShAngle; }
    void setAngle(int n) { m_nShAngle = n; }
    int distance() const { return m_nShDistance; }
    void setDistance(int n) { m_nShDistance = n; }
    QColor color() const { return m_shColor; }
    void setColor(const QColor &cl);

    void fromJson(const QJsonObject &jo);
    void toJson(QJsonObject &jo) const;
    void toPlayerJson(QJsonArray &ja) const;

private:
    int m_nShBlurRadius = 5;
    int m_nShAngle = 45;
    int m_nShDistance = 5;
    QColor m_shColor;
    int m_nStyle = NoShadow;
};
