#pragma once

#include <QBrush>
#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QSet>

class KVImageUseCounter;

// The fill of an element box at one layout: none, a solid colour, a linear or radial gradient, or an
// image resource of the document.
//
// Image use count: while the fill style is image (3) and an image is set, the fill holds one use count
// on the image, taken through the document's KVImageUseCounter and marked by holdsImageCount().
// Leaving the image style gives it back, entering it takes it; a copy takes its own; the destructor
// gives back a count still held. releaseResources()/retainResources() give it back and take it again
// when the element leaves or re-enters a document, so the counter must outlive every fill that holds
// a count.
class KVBackground : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QColor m_clSolidColor READ solidColor WRITE setSolidColor)
    Q_PROPERTY(int m_nLinearGradientAngle READ linearGradientAngle WRITE setLinearGradientAngle)
    Q_PROPERTY(double m_dRadialOriginX READ radialOriginX WRITE setRadialOriginX)
    Q_PROPERTY(double m_dRadialOriginY READ radialOriginY WRITE setRadialOriginY)
    Q_PROPERTY(double m_dRadialRadius READ radialRadius WRITE setRadialRadius)

public:
    enum FillStyle { NoFill = 0, SolidFill = 1, GradientFill = 2, ImageFill = 3 };
    Q_ENUM(FillStyle)
    enum GradientType { Linear = 0, Radial = 1 };
    Q_ENUM(GradientType)
    enum RadialShape { Circle = 0, Ellipse = 1 };
    Q_ENUM(RadialShape)
    enum RadialSize { ClosestSide = 0, FarthestSide = 1, ClosestCorner = 2, FarthestCorner = 3 };
    Q_ENUM(RadialSize)
    enum ImageFillType { Stretch = 0, Center = 1, Fit = 2, Tile = 3, Fill = 4 };
    Q_ENUM(ImageFillType)

    // Element properties construct their fill with NoFill.
    explicit KVBackground(int nFillStyle = NoFill, QObject *pParent = nullptr);
    // Refers to the same image; with the image style it takes its own use count.
    KVBackground(const KVBackground &other, QObject *pParent = nullptr);
    ~KVBackground() override;

    KVBackground *clone() const;
    // Takes every value of other, the image and its counter included; counts are kept right.
    void copyFrom(const KVBackground &other);
    // Compares the stored values (the image by id); the count flag and the radial radius, which is
    // never saved, are left out.
    bool operator==(const KVBackground &other) const;
    bool operator!=(const KVBackground &other) const { return !(*this == other); }

    static QColor defaultSolidColor(); // opaque RGB(74, 134, 232)
    static QGradientStops defaultGradientStops(); // (0, opaque black), (1, opaque white)

    int fillStyle() const { return m_nFillStyle; }
    // Leaving the image style gives back the count held; entering it with an image set takes one.
    void setFillStyle(int nFillStyle);
    int gradientType() const { return m_nGradientType; }
    void setGradientType(int n) { m_nGradientType = n; }

    // The counter through which image ids are looked up and counted; not owned. Changing it drops
    // the image (giving back its count), since ids belong to one document.
    KVImageUseCounter *imageUseCounter() const { return m_pImages; }
    void setImageUseCounter(KVImageUseCounter *pImages);
    // -1 when the fill has no image.
    int imageResourceId() const { return m_nImageResourceId; }
    bool hasImage() const { return m_nImageResourceId >= 0; }
    // Sets the image by id through the counter; an id the counter does not know (or no counter)
    // leaves no image and returns false; -1 clears the image. With the image style the old image's
    // count is given back and the new one's taken.
    bool setImageResourceId(int nResourceId);
    bool holdsImageCount() const { return m_bHoldsImageCount; }

    QColor solidColor() const { return m_clSolidColor; }
    void setSolidColor(const QColor &cl);
    // In the stored order, which the player output sorts without changing it.
    QGradientStops gradientStops() const { return m_gradientStops; }
    void setGradientStops(const QGradientStops &stops);
    int linearGradientAngle() const { return m_nLinearGradientAngle; }
    void setLinearGradientAngle(int n) { m_nLinearGradientAngle = n; }
    double radialOriginX() const { return m_dRadialOriginX; }
    void setRadialOriginX(double d) { m_dRadialOriginX = d; }
    double radialOriginY() const { return m_dRadialOriginY; }
    void setRadialOriginY(double d) { m_dRadialOriginY = d; }
    int radialSize() const { return m_nRadialSize; }
    void setRadialSize(int n) { m_nRadialSize = n; }
    int radialShape() const { return m_nRadialShape; }
    void setRadialShape(int n) { m_nRadialShape = n; }
    int imageFillType() const { return m_nImageFillType; }
    void setImageFillType(int n) { m_nImageFillType = n; }
    // Held for the animation framework only; neither form writes it.
    double radialRadius() const { return m_dRadialRadius; }
    void setRadialRadius(double d) { m_dRadialRadius = d; }

    // Reads every key with the reader defaults (fill style 1, radial origin 0/0, shape and size 0,
    // ...) and looks "imageResourceId" up through pImages. Missing stop arrays leave the default
    // stops; present ones are paired up to the shorter length.
    void fromJson(const QJsonObject &jo, KVImageUseCounter *pImages);
    // "imageResourceId" is -1 without an image, and also when the fill holds no count and the image
    // is deleted.
    void toJson(QJsonObject &jo) const;
    // The same array for the canvas page and for export.
    void toPlayerJson(QJsonArray &ja) const;

    // Resource operations of the element tree.
    virtual void collectResources(QSet<int> &resourceIds) const;
    // Replaces the image by the map's value when its id is a key; a count held moves to the new image.
    virtual void replaceResources(const QMap<int, int> &idMap);
    virtual void retainResources();
    virtual void releaseResources();

private:
    void takeImageCount();
    void giveImageCount();

    int m_nFillStyle;
    int m_nGradientType = Linear;
    int m_nImageResourceId = -1;
    KVImageUseCounter *m_pImages = nullptr;
    bool m_bHoldsImageCount = false;
    QColor m_clSolidColor;
    QGradientStops m_gradientStops;
    int m_nLinearGradientAngle = 0;
    double m_dRadialOriginX = 0.5;
    double m_dRadialOriginY = 0.5;
    int m_nRadialSize = FarthestCorner;
    int m_nRadialShape = Ellipse;
    int m_nImageFillType = Stretch;
    double m_dRadialRadius = 0.5;
};
