#pragma once

#include "model/KVElement.h"
#include "model/KVResourceHolder.h"

class KVImageProperty;
class KVResource;
class KVResourceManager;

// An image element (type code 0): shows an image resource of the document. Its property objects are
// KVImageProperty, which place the picture inside the element box; the placement of the current
// layout is exposed as Qt properties named after the model members so that animations can drive
// it.
//
// The element holds one use count on its image (see KVResourceHolder). The reader looks the id up
// in the document's resources; an id that names no image falls back to the image with the lowest
// id, and a document without images does not load the element at all.
class KVImage : public KVElement
{
    Q_OBJECT
    Q_PROPERTY(double m_dBgImageX READ bgImageX WRITE setBgImageX)
    Q_PROPERTY(double m_dBgImageY READ bgImageY WRITE setBgImageY)
    Q_PROPERTY(double m_dBgImageW READ bgImageW WRITE setBgImageW)
    Q_PROPERTY(double m_dBgImageH READ bgImageH WRITE setBgImageH)

public:
    KVImage();
    ~KVImage() override;

    int type() const override;
    // Refers to the same image with a use count of its own.
    KVElement *clone() const override;

    void collectResources(QSet<int> &resourceIds) const override;
    void replaceResources(const QMap<int, int> &idMap) override;
    void retainResources() override;
    void releaseResources() override;

    // The element keys, then "resourceId".
    void toJson(QJsonObject &jo) const override;
    // Adds "rs", the image's id (-1 without one).
    void toPlayerJson(QJsonObject &jo, bool bForCanvas,
                      const KVLayoutKey &layout = KVLayoutKey::current()) override;
    // "resourceId" first (see the class comment); false when the document has no image.
    bool fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext = nullptr) override;

    KVResource *image() const { return m_image.resource(); }
    int imageId() const { return m_image.resourceId(); }
    bool holdsCount() const { return m_image.holdsCount(); }
    // Shows another image (null: none); false for a resource that is not an image.
    bool setImage(KVResource *pResource, KVResourceManager *pManager = nullptr);
    // Shows the image of the manager whose file has this content hash; false when none has.
    bool setImageByHash(KVResourceManager *pManager, const QByteArray &hash);

    // The eight placement keys ("bgImgX" ... "bgImgHUnit") of a layout, for the canvas page;
    // nothing for a layout without a property object.
    void imagePlacement(QJsonObject &jo, const KVLayoutKey &layout) const;
    void imagePlacement(QJsonObject &jo) const { imagePlacement(jo, KVLayoutKey::current()); }

    // The layout's image property, null when the layout has none.
    KVImageProperty *imageProperty(const KVLayoutKey &layout = KVLayoutKey::current()) const;

    double bgImageX(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageX(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double bgImageY(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageY(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double bgImageW(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageW(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    double bgImageH(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageH(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    int bgImageXUnit(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageXUnit(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int bgImageYUnit(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageYUnit(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int bgImageWUnit(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageWUnit(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int bgImageHUnit(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBgImageHUnit(int n, const KVLayoutKey &layout = KVLayoutKey::current());

private:
    KVResourceHolder m_image;
};
