#include "KVHTMLWidget.h"

#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"
#include "resources/KVResourceType.h"

using namespace KVJsonUtil;

KVHTMLWidget::KVHTMLWidget()
    : m_resource({KVResourceType::Image, KVResourceType::HtmlPage})
{
}

KVHTMLWidget::~KVHTMLWidget() = default;

int KVHTMLWidget::type() const
{
    return KVElementType::HTML_Widget;
}

KVElement *KVHTMLWidget::clone() const
{
    auto *pCopy = new KVHTMLWidget;
    pCopy->m_strUrl = m_strUrl;
    pCopy->m_strSrcdoc = m_strSrcdoc;
    pCopy->m_resource.copyFrom(m_resource);
    pCopy->m_bUseResource = m_bUseResource;
    return copyElementInto(pCopy);
}

void KVHTMLWidget::collectResources(QSet<int> &resourceIds) const
{
    KVElement::collectResources(resourceIds);
    m_resource.collect(resourceIds);
}

void KVHTMLWidget::replaceResources(const QMap<int, int> &idMap)
{
    KVElement::replaceResources(idMap);
    m_resource.replace(idMap);
}

void KVHTMLWidget::retainResources()
{
    KVElement::retainResources();
    m_resource.retain();
}

void KVHTMLWidget::releaseResources()
{
    KVElement::releaseResources();
    m_resource.release();
}

void KVHTMLWidget::toJson(QJsonObject &jo) const
{
    KVElement::toJson(jo);
    if (m_bUseResource)
        jo.insert(QStringLiteral("resourceId"), m_resource.resourceId());
    else
        jo.insert(QStringLiteral("url"), m_strUrl);
    jo.insert(QStringLiteral("useresource"), m_bUseResource);
    jo.insert(QStringLiteral("srcdoc"), m_strSrcdoc);
}

void KVHTMLWidget::toPlayerJson(QJsonObject &jo, bool bForCanvas, const KVLayoutKey &layout)
{
    KVElement::toPlayerJson(jo, bForCanvas, layout);
    jo.insert(QStringLiteral("useresource"), m_bUseResource);
    if (m_bUseResource)
        jo.insert(QStringLiteral("rs"), m_resource.resourceId());
    else
        jo.insert(QStringLiteral("url"), m_strUrl);
    jo.insert(QStringLiteral("srcdoc"), m_strSrcdoc);
}

bool KVHTMLWidget::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    m_strUrl = readString(jo, QStringLiteral("url"));
    m_strSrcdoc = readString(jo, QStringLiteral("srcdoc"));
    m_bUseResource = readBool(jo, QStringLiteral("useresource"), false);
    if (m_bUseResource) {
        KVResourceManager *pManager = KVResourceHolder::managerOf(pContext);
        const int nId = readInt(jo, QStringLiteral("resourceId"), -1);
        KVResource *pResource = KVResourceHolder::resolve(pManager, nId, m_resource.acceptedTypes(),
                                                          KVResourceType::Image);
        if (!pResource)
            return false;
        m_resource.setResource(pResource, pManager);
    } else {
        m_resource.clear();
    }
    return KVElement::fromJson(jo, pContext);
}

bool KVHTMLWidget::setResource(KVResource *pResource, KVResourceManager *pManager)
{
    return m_resource.setResource(pResource, pManager);
}

bool KVHTMLWidget::setResourceByHash(KVResourceManager *pManager, const QByteArray &hash)
{
    return m_resource.setResourceByHash(pManager, hash);
}
