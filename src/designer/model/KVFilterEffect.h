#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>

// The CSS filter effects of an element box at one layout. Fractions are stored as such (contrast 1.0
// is 100 %); hue is in degrees and blur in pixels.
// Project keys "i", "h", "c", "r", "s", "sp", "g", "b"; the player array always has the eight values
// [invert, hue, contrast, brightness, saturate, sepia, grayscale, blur] with fractions times 100.
class KVFilterEffect : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double m_dInvert READ invert WRITE setInvert)
    Q_PROPERTY(int m_nHue READ hue WRITE setHue)
    Q_PROPERTY(double m_dContrast READ contrast WRITE setContrast)
    Q_PROPERTY(double m_dBrightness READ brightness WRITE setBrightness)
    Q_PROPERTY(double m_dSaturate READ saturate WRITE setSaturate)
    Q_PROPERTY(double m_dSepia READ sepia WRITE setSepia)
    Q_PROPERTY(double m_dGrayscale READ grayscale WRITE setGrayscale)
    Q_PROPERTY(int m_nBlur READ blur WRITE setBlur)

public:
    explicit KVFilterEffect(QObject *pParent = nullptr);
    KVFilterEffect(const KVFilterEffect &other, QObject *pParent = nullptr);
    ~KVFilterEffect() override;

    KVFilterEffect *clone() const;
    void copyFrom(const KVFilterEffect &other);
    bool operator==(const KVFilterEffect &other) const;
    bool operator!=(const KVFilterEffect &other) const { return !(*this == other); }
    // True when every value is the default (no visible effect).
    bool isDefault() const;

    double invert() const { return m_dInvert; }
    void setInvert(double d) { m_dInvert = d; }
    int hue() const { return m_nHue; }
    void setHue(int n) { m_nHue = n; }
    double contrast() const { return m_dContrast; }
    void setContrast(double d) { m_dContrast = d; }
    double brightness() const { return m_dBrightness; }
    void setBrightness(double d) { m_dBrightness = d; }
    double saturate() const { return m_dSaturate; }
    void setSaturate(double d) { m_dSaturate = d; }
    double sepia() const { return m_dSepia; }
    void setSepia(double d) { m_dSepia = d; }
    double grayscale() const { return m_dGrayscale; }
    void setGrayscale(double d) { m_dGrayscale = d; }
    int blur() const { return m_nBlur; }
    void setBlur(int n) { m_nBlur = n; }

    void fromJson(const QJsonObject &jo);
    void toJson(QJsonObject &jo) const;
    void toPlayerJson(QJsonArray &ja) const;

private:
    double m_dInvert = 0.0;
    int m_nHue = 0;
    double m_dContrast = 1.0;
    double m_dBrightness = 1.0;
    double m_dSaturate = 1.0;
    double m_dSepia = 0.0;
    double m_dGrayscale = 0.0;
    int m_nBlur = 0;
};
