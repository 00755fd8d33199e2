#include "KVSymbolElement.h"

#include "animation/KVTimeline.h"
#include "model/IKVDocumentContext.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElementType.h"
#include "model/KVJsonUtil.h"
#include "resources/KVResourceType.h"

using namespace KVJsonUtil;

KVSymbolElement::KVSymbolElement()
    : m_symbol({KVResourceType::Symbol})
{
}

KVSymbolElement::~KVSymbolElement() = default;

int KVSymbolElement::type() const
{
    return KVElementType::Symbol;
}

KVElement *KVSymbolElement::clone() const
{
    auto *pCopy = new KVSymbolElement;
    pCopy->m_symbol.copyFrom(m_symbol);
    pCopy->m_bAutoplay = m_bAutoplay;
    pCopy->m_pSymbolBreakpoints = m_pSymbolBreakpoints;
    pCopy->m_pSymbolTimeline = m_pSymbolTimeline;
    return copyElementInto(pCopy);
}

void KVSymbolElement::collectResources(QSet<int> &resourceIds) const
{
    KVElement::collectResources(resourceIds);
    m_symbol.collect(resourceIds);
}

void KVSymbolElement::replaceResources(const QMap<int, int> &idMap)
{
    KVElement::replaceResources(idMap);
    // Another symbol has other breakpoints; whoever plays it attaches them again.
    if (m_symbol.replace(idMap)) {
        m_pSymbolBreakpoints = nullptr;
        m_pSymbolTimeline = nullptr;
    }
}

void KVSymbolElement::retainResources()
{
    KVElement::retainResources();
    m_symbol.retain();
}

void KVSymbolElement::releaseResources()
{
    KVElement::releaseResources();
    m_symbol.release();
}

void KVSymbolElement::toJson(QJsonObject &jo) const
{
    KVElement::toJson(jo);
    jo.insert(QStringLiteral("resourceId"), m_symbol.resourceId());
    jo.insert(QStringLiteral("autoplay"), m_bAutoplay);
}

void KVSymbolElement::toPlayerJson(QJsonObject &jo, bool bForCanvas, const KVLayoutKey &layout)
{
    KVElement::toPlayerJson(jo, bForCanvas, layout);
    jo.insert(QStringLiteral("rs"), m_symbol.resourceId());
    jo.insert(QStringLiteral("ap"), bForCanvas ? false : m_bAutoplay);
}

bool KVSymbolElement::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    if (!KVElement::fromJson(jo, pContext))
        return false;
    m_bAutoplay = readBool(jo, QStringLiteral("autoplay"), false);
    KVResourceManager *pManager = KVResourceHolder::managerOf(pContext);
    KVResource *pSymbol = KVResourceHolder::find(pManager, readInt(jo, QStringLiteral("resourceId"), -1),
                                                 m_symbol.acceptedTypes());
    if (!pSymbol)
        return false;
    setSymbol(pSymbol, pManager);
    setSymbolBreakpoints(pContext ? pContext->symbolBreakpoints(pSymbol) : nullptr);
    return true;
}

void KVSymbolElement::setCurrentLayout(const KVLayoutKey &layout)
{
    KVElement::setCurrentLayout(layout);
    updateSymbolLayout();
}

bool KVSymbolElement::setSymbol(KVResource *pResource, KVResourceManager *pManager)
{
    const KVResource *pOld = m_symbol.resource();
    if (!m_symbol.setResource(pResource, pManager))
        return false;
    if (pResource != pOld) {
        m_pSymbolBreakpoints = nullptr;
        m_pSymbolTimeline = nullptr;
    }
    return true;
}

bool KVSymbolElement::setSymbolByHash(KVResourceManager *pManager, const QByteArray &hash)
{
    KVResource *pFound = KVResourceHolder::findByHash(pManager, hash, m_symbol.acceptedTypes());
    return pFound && setSymbol(pFound, pManager);
}

void KVSymbolElement::setSymbolBreakpoints(KVBreakpointSet *pBreakpoints)
{
    m_pSymbolBreakpoints = pBreakpoints;
    updateSymbolLayout();
}

KVLayoutKey KVSymbolElement::updateSymbolLayout()
{
    if (!m_pSymbolBreakpoints)
        return KVLayoutKey::base();
    const int nWidth = int(widthPixels());
    const int nHeight = int(heightPixels());
    const KVLayoutKey layout = m_pSymbolBreakpoints->layoutFor(nWidth, nHeight);
    m_pSymbolBreakpoints->setCurrentLayout(layout);
    return layout;
}

namespace {

// A symbol that plays itself, directly or through others, is followed this deep and no deeper.
int g_nContentDepth = 0;
constexpr int kMaxContentDepth = 16;

// The scene the instance plays: the owner of the symbol's main timeline.
template<typename Visit>
void visitContent(const QPointer<KVTimeline> &pTimeline, Visit visit)
{
    const KVElement *pContent = pTimeline ? pTimeline->owner() : nullptr;
    if (!pContent || g_nContentDepth >= kMaxContentDepth)
        return;
    ++g_nContentDepth;
    visit(pContent);
    --g_nContentDepth;
}

} // namespace

void KVSymbolElement::collectFonts(KVFontFaces &fonts) const
{
    KVElement::collectFonts(fonts);
    visitContent(m_pSymbolTimeline, [&fonts](const KVElement *pContent) { pContent->collectFonts(fonts); });
}

void KVSymbolElement::countMedia(int &nAudio, int &nVideo) const
{
    KVElement::countMedia(nAudio, nVideo);
    visitContent(m_pSymbolTimeline, [&](const KVElement *pContent) {
        for (int n = 0; n < 2; ++n)
            pContent->countMedia(nAudio, nVideo);
    });
}

KVTimeline *KVSymbolElement::symbolTimeline() const
{
    return m_pSymbolTimeline;
}

void KVSymbolElement::setSymbolTimeline(KVTimeline *pTimeline)
{
    m_pSymbolTimeline = pTimeline;
}

int KVSymbolElement::playbackContentLength() const
{
    return m_pSymbolTimeline ? qMax(0, m_pSymbolTimeline->totalDuration()) : 0;
}

int KVSymbolElement::playbackLabelTime(const QString &strLabel) const
{
    return m_pSymbolTimeline ? m_pSymbolTimeline->labels().value(strLabel, -1) : -1;
}
