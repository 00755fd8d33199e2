#pragma once

#include "model/KVElementProperty.h"

// The element data of an image at one layout, with the placement of the picture inside the element
// box: its left, top, width and height, each in its own unit (0 pixels, 1 a fraction of the box's
// width or height). A new image fills its box: 100 % by 100 % at (0, 0) pixels.
class KVImageProperty : public KVElementProperty
{
    Q_OBJECT
    Q_PROPERTY(double m_dBgImageX READ bgImageX WRITE setBgImageX)
    Q_PROPERTY(double m_dBgImageY READ bgImageY WRITE setBgImageY)
    Q_PROPERTY(double m_dBgImageW READ bgImageW WRITE setBgImageW)
    Q_PROPERTY(double m_dBgImageH READ bgImageH WRITE setBgImageH)

public:
    explicit KVImageProperty(QObject *pParent = nullptr);
    KVImageProperty(const KVImageProperty &other);
    ~KVImageProperty() override;

    KVElementProperty *clone() const override;
    // Adds "bgImgX", "bgImgY", "bgImgWidth", "bgImgHeight" and their four units.
    void toJson(QJsonObject &jo) const override;
    // Missing placement keys read as 0 and missing units as pixels: a file without them places
    // the picture at (0, 0) with no size, unlike a new image.
    void fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext) override;
    // Adds "ir" after the common keys; at a responsive layout only when the layout overrides one of
    // the placement values.
    void toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                      bool bResponsive) const override;

    // The eight placement keys of the project form, "bgImgX" to "bgImgHUnit" (the canvas page
    // takes them when the user moves the picture inside its box).
    void imagePlacement(QJsonObject &jo) const;
    // The "ir" array: [x, y, width, height]; a value with a unit other than pixels is written as
    // its percentage with "%" ("100%").
    QJsonArray playerPlacement() const;

    double bgImageX() const { return m_dBgImageX; }
    void setBgImageX(double d) { m_dBgImageX = d; }
    double bgImageY() const { return m_dBgImageY; }
    void setBgImageY(double d) { m_dBgImageY = d; }
    double bgImageW() const { return m_dBgImageW; }
    void setBgImageW(double d) { m_dBgImageW = d; }
    double bgImageH() const { return m_dBgImageH; }
    void setBgImageH(double d) { m_dBgImageH = d; }
    int bgImageXUnit() const { return m_nBgImageXUnit; }
    void setBgImageXUnit(int n) { m_nBgImageXUnit = n; }
    int bgImageYUnit() const { return m_nBgImageYUnit; }
    void setBgImageYUnit(int n) { m_nBgImageYUnit = n; }
    int bgImageWUnit() const { return m_nBgImageWUnit; }
    void setBgImageWUnit(int n) { m_nBgImageWUnit = n; }
    int bgImageHUnit() const { return m_nBgImageHUnit; }
    void setBgImageHUnit(int n) { m_nBgImageHUnit = n; }

private:
    double m_dBgImageX = 0.0;
    double m_dBgImageY = 0.0;
    double m_dBgImageW = 1.0;
    double m_dBgImageH = 1.0;
    int m_nBgImageXUnit = 0;
    int m_nBgImageYUnit = 0;
    int m_nBgImageWUnit = 1;
    int m_nBgImageHUnit = 1;
};
