#pragma once

#include "animation/IKVPlaybackContent.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVResourceHolder.h"

#include <QPointer>

class KVResource;
class KVResourceManager;
class KVTimeline;

// A symbol instance (type code 7): plays a symbol stored as a resource of the document. Its property
// objects are the common ones. The element holds one use count on the symbol resource (see
// KVResourceHolder); the reader drops an element whose "resourceId" names no symbol resource.
//
// The played symbol has responsive breakpoints of its own. When the element's layout changes, the
// element's own pixel size at that layout picks the symbol's layout (updateSymbolLayout). The
// symbol's content, and with it the breakpoint set, is loaded by whoever plays symbols: the reader
// asks the document for it (IKVDocumentContext::symbolBreakpoints), or it is attached later with
// setSymbolBreakpoints(). Without one the element has no symbol layout to update.
//
// Its playback list plays the main timeline of the symbol's first scene, attached the same way
// (setSymbolTimeline): the content length is that timeline's duration and labels are its labels.
// Without it the content has length 0 and no labels.
class KVSymbolElement : public KVElement, public IKVPlaybackContent
{
    Q_OBJECT

public:
    KVSymbolElement();
    ~KVSymbolElement() override;

    int type() const override;
    // Copies every field; refers to the same symbol with a use count of its own.
    KVElement *clone() const override;

    void collectResources(QSet<int> &resourceIds) const override;
    void replaceResources(const QMap<int, int> &idMap) override;
    void retainResources() override;
    void releaseResources() override;

    // The element keys, then "resourceId" and "autoplay".
    void toJson(QJsonObject &jo) const override;
    // Adds "rs" and "ap" (never on for the canvas page).
    void toPlayerJson(QJsonObject &jo, bool bForCanvas,
                      const KVLayoutKey &layout = KVLayoutKey::current()) override;
    // The element keys first, then "autoplay", then "resourceId"; false when the id names no
    // symbol resource.
    bool fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext = nullptr) override;
    // Sets the layout of the element and its subtree, then updates the symbol's layout.
    void setCurrentLayout(const KVLayoutKey &layout) override;
    // The families of the subtree and of the played symbol's content (once attached).
    void collectFonts(KVFontFaces &fonts) const override;
    // The media of the subtree, and those of the played symbol's content twice, as the player data
    // counts them (nothing for a symbol not attached).
    void countMedia(int &nAudio, int &nVideo) const override;

    KVResource *symbol() const { return m_symbol.resource(); }
    int symbolId() const { return m_symbol.resourceId(); }
    bool holdsCount() const { return m_symbol.holdsCount(); }
    // Plays another symbol (null: none); false for a resource that is not a symbol. The breakpoints
    // of the former symbol are dropped.
    bool setSymbol(KVResource *pResource, KVResourceManager *pManager = nullptr);
    // Plays the symbol of the manager whose file has this content hash; false when none has.
    bool setSymbolByHash(KVResourceManager *pManager, const QByteArray &hash);

    // Start the symbol's timeline when the scene starts.
    bool autoplay() const { return m_bAutoplay; }
    void setAutoplay(bool b) { m_bAutoplay = b; }

    // The breakpoints of the played symbol (not owned), null while its content is not loaded.
    KVBreakpointSet *symbolBreakpoints() const { return m_pSymbolBreakpoints; }
    void setSymbolBreakpoints(KVBreakpointSet *pBreakpoints);
    // Picks the symbol's layout for the element's pixel width and height at the current layout
    // (truncated to whole pixels), makes it the symbol's current layout and returns it; the base
    // layout without breakpoints.
    KVLayoutKey updateSymbolLayout();

    // The main timeline of the played symbol's first scene (not owned), null while not loaded.
    KVTimeline *symbolTimeline() const;
    void setSymbolTimeline(KVTimeline *pTimeline);
    // IKVPlaybackContent: the symbol timeline's duration and the times of its labels.
    int playbackContentLength() const override;
    int playbackLabelTime(const QString &strLabel) const override;

private:
    KVResourceHolder m_symbol;
    bool m_bAutoplay = false;
    QPointer<KVBreakpointSet> m_pSymbolBreakpoints;
    QPointer<KVTimeline> m_pSymbolTimeline;
};
