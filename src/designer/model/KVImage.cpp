#include "KVImage.h"

#include "model/KVElementType.h"
#include "model/KVImageProperty.h"
#include "model/KVJsonUtil.h"
#include "resources/KVResourceType.h"

KVImage::KVImage()
    : m_image({KVResourceType::Image})
{
}

KVImage::~KVImage() = default;

int KVImage::type() const
{
    return KVElementType::Image;
}

KVElement *KVImage::clone() const
{
    auto *pCopy = new KVImage;
    pCopy->m_image.copyFrom(m_image);
    return copyElementInto(pCopy);
}

void KVImage::collectResources(QSet<int> &resourceIds) const
{
    KVElement::collectResources(resourceIds);
    m_image.collect(resourceIds);
}

void KVImage::replaceResources(const QMap<int, int> &idMap)
{
    KVElement::replaceResources(idMap);
    m_image.replace(idMap);
}

void KVImage::retainResources()
{
    KVElement::retainResources();
    m_image.retain();
}

void KVImage::releaseResources()
{
    KVElement::releaseResources();
    m_image.release();
}

void KVImage::toJson(QJsonObject &jo) const
{
    KVElement::toJson(jo);
    jo.insert(QStringLiteral("resourceId"), m_image.resourceId());
}

void KVImage::toPlayerJson(QJsonObject &jo, bool bForCanvas, const KVLayoutKey &layout)
{
    KVElement::toPlayerJson(jo, bForCanvas, layout);
    jo.insert(QStringLiteral("rs"), m_image.resourceId());
}

bool KVImage::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    KVResourceManager *pManager = KVResourceHolder::managerOf(pContext);
    const int nId = KVJsonUtil::readInt(jo, QStringLiteral("resourceId"), -1);
    KVResource *pImage = KVResourceHolder::resolve(pManager, nId, m_image.acceptedTypes(),
                                                   KVResourceType::Image);
    if (!pImage)
        return false;
    m_image.setResource(pImage, pManager);
    return KVElement::fromJson(jo, pContext);
}

bool KVImage::setImage(KVResource *pResource, KVResourceManager *pManager)
{
    return m_image.setResource(pResource, pManager);
}

bool KVImage::setImageByHash(KVResourceManager *pManager, const QByteArray &hash)
{
    return m_image.setResourceByHash(pManager, hash);
}

void KVImage::imagePlacement(QJsonObject &jo, const KVLayoutKey &layout) const
{
    if (const KVImageProperty *pImage = imageProperty(layout))
        pImage->imagePlacement(jo);
}

KVImageProperty *KVImage::imageProperty(const KVLayoutKey &layout) const
{
    return qobject_cast<KVImageProperty *>(property(layout));
}

#define KV_IMAGE_VALUE(Type, getter, setter)                                                       \
    Type KVImage::getter(const KVLayoutKey &layout) const                                          \
    {                                                                                              \
        const KVImageProperty *pImage = imageProperty(layout);                                     \
        return pImage ? pImage->getter() : Type(0);                                                \
    }                                                                                              \
    void KVImage::setter(Type value, const KVLayoutKey &layout)                                    \
    {                                                                                              \
        if (KVImageProperty *pImage = imageProperty(layout))                                       \
            pImage->setter(value);                                                                 \
    }

KV_IMAGE_VALUE(double, bgImageX, setBgImageX)
KV_IMAGE_VALUE(double, bgImageY, setBgImageY)
KV_IMAGE_VALUE(double, bgImageW, setBgImageW)
KV_IMAGE_VALUE(double, bgImageH, setBgImageH)
KV_IMAGE_VALUE(int, bgImageXUnit, setBgImageXUnit)
KV_IMAGE_VALUE(int, bgImageYUnit, setBgImageYUnit)
KV_IMAGE_VALUE(int, bgImageWUnit, setBgImageWUnit)
KV_IMAGE_VALUE(int, bgImageHUnit, setBgImageHUnit)

#undef KV_IMAGE_VALUE
