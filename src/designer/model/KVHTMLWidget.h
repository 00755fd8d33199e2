#pragma once

#include "model/KVElement.h"
#include "model/KVResourceHolder.h"

class KVResource;
class KVResourceManager;

// An HTML widget (type code 3): an embedded web page given by its address, by inline HTML, or by a
// resource of the document (an image, such as an SVG file, or an HTML page). Its property objects
// are the common ones.
//
// With "use resource" on, the element holds one use count on its resource (see KVResourceHolder);
// the reader then accepts an image or an HTML page by id, falls back to the image with the lowest
// id, and does not load the element when the document has no image. With it off the element holds
// no resource.
class KVHTMLWidget : public KVElement
{
    Q_OBJECT

public:
    KVHTMLWidget();
    ~KVHTMLWidget() override;

    int type() const override;
    // Copies every field; refers to the same resource with a use count of its own.
    KVElement *clone() const override;

    void collectResources(QSet<int> &resourceIds) const override;
    void replaceResources(const QMap<int, int> &idMap) override;
    void retainResources() override;
    void releaseResources() override;

    // The element keys, then "resourceId" (with use resource on) or "url", then "useresource" and
    // "srcdoc".
    void toJson(QJsonObject &jo) const override;
    // Adds "useresource", then "rs" (with use resource on) or "url", then "srcdoc".
    void toPlayerJson(QJsonObject &jo, bool bForCanvas,
                      const KVLayoutKey &layout = KVLayoutKey::current()) override;
    // "url", "srcdoc", "useresource", the resource when used, then the element keys.
    bool fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext = nullptr) override;

    QString url() const { return m_strUrl; }
    void setUrl(const QString &str) { m_strUrl = str; }
    QString srcdoc() const { return m_strSrcdoc; }
    void setSrcdoc(const QString &str) { m_strSrcdoc = str; }
    bool useResource() const { return m_bUseResource; }
    void setUseResource(bool b) { m_bUseResource = b; }

    KVResource *resource() const { return m_resource.resource(); }
    int resourceId() const { return m_resource.resourceId(); }
    bool holdsCount() const { return m_resource.holdsCount(); }
    // Shows another resource (null: none); false for one that is neither an image nor a page.
    bool setResource(KVResource *pResource, KVResourceManager *pManager = nullptr);
    // Shows the image or page of the manager whose file has this content hash; false when none has.
    bool setResourceByHash(KVResourceManager *pManager, const QByteArray &hash);

private:
    QString m_strUrl;
    QString m_strSrcdoc;
    KVResourceHolder m_resource;
    bool m_bUseResource = false;
};
