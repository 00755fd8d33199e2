#pragma once

#include "model/ISingleton.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointF>

#include <functional>

class IKVDocumentContext;
class KVCommand;
class KVEditContext;
class KVElement;
class KVResourceManager;
class KVTimeline;
class QMimeData;

// The element clipboard: copied stage elements travel through the system clipboard as "kavio-element"
// (Qt's binary JSON form of an array, one object per copied top-level element: its project form with
// its children, "globalLeft"/"globalTop" in scene coordinates, "currentBreakpoint" and, on every
// object, "anims" with its animations on the current timeline per layout). The resources they show
// ride along as "kavio-element-resources" ({"folder": the resource folder, "resources": their
// project form}), so that a paste into another project copies their files into its resource folder.
//
// This class builds and reads that data and keeps the paste offsets; the plug-in puts the data on
// the system clipboard and hands it back for pasting.
class KVClipBoard : public ISingleton<KVClipBoard>
{
    Q_DECLARE_TR_FUNCTIONS(KVClipBoard)
public:
    static QString elementFormat();  // "kavio-element"
    static QString resourceFormat(); // "kavio-element-resources"
    // Whether the data holds copied elements.
    static bool hasElements(const QMimeData *pData);

    // The selected elements of the context's scene as clipboard data (the caller owns it), null
    // without a selection. The offsets kept for the scene's container become {scene: 0}.
    QMimeData *copyElements(const KVEditContext &context, const KVResourceManager *pManager);

    // How far the next paste into the scene is shifted: 0 for a scene without an entry, else the
    // stored offset plus 10, back to 0 past 500; the answer is stored.
    int pasteOffset(const void *pContainer, int nSceneId);
    void resetPasteOffset(const void *pContainer, int nSceneId);

    // "Paste": the copied elements into the context's scene, at their place plus the paste offset
    // or, with bAtCursor, with the set's top-left corner at pt. Resources of another project are
    // copied into pDocument's resource folder (renamed on a clash) and added by the command.
    // Unreadable data is reported and gives null; an element refused by containsEdited (it holds
    // the symbol being edited) is reported and the paste does not happen.
    KVCommand *paste(const KVEditContext &context, const IKVDocumentContext *pDocument, const QMimeData *pData,
                     bool bWithAnimation, bool bAtCursor = false, const QPointF &pt = QPointF(),
                     const std::function<bool(const KVElement *)> &containsEdited = {});

    // Adds to pCommand the animations "anims" gives the element and, recursively, its children on
    // the timeline, one per layout of the element; media and symbol instances always get theirs.
    static void pasteAnimations(const QJsonObject &joElement, KVElement *pElement, KVTimeline *pTimeline,
                                KVCommand *pCommand, bool bWithAnimation);

private:
    friend class ISingleton<KVClipBoard>;
    KVClipBoard() = default;

    QHash<const void *, QHash<int, int>> m_offsets;
};
