#pragma once

#include "model/KVLayoutKey.h"

#include <QList>
#include <QMap>

class IKVCommandTarget;
class KVCommand;
class KVElement;
class KVScene;

// Keeps elements where they show on the page while their parent changes (grouping, ungrouping) or
// while their parent's box changes (a group that grows). The changes are added to a command as
// geometry actions, one per element and layout whose values change, and as key-value changes of the
// element's position and size tracks.
//
// Values are written in the form the element keeps at each layout: pixels or a fraction of the
// parent, from the left/top or from the right/bottom edge its coordinate type anchors; a width or
// height given as a ratio is left alone. At a responsive layout that inherits a value which no
// longer equals the base layout's, the value becomes an override there.
class KVReframe
{
public:
    // A box in a parent's coordinates, in pixels from its top left corner.
    struct Box
    {
        double x = 0.0;
        double y = 0.0;
        double w = 0.0;
        double h = 0.0;

        Box united(const Box &other) const;
    };

    // The element's box in its parent at a layout, whichever sides it is anchored to.
    static Box localBox(const KVElement *pElement, const KVLayoutKey &layout);
    // The union of the boxes of the elements that have the layout; false when none has it.
    static bool unionAt(const QList<KVElement *> &elements, const KVLayoutKey &layout, Box &out);

    // Puts the element at the given boxes of its present parent (position and size).
    static void addPlacement(KVCommand *pCommand, IKVCommandTarget *pTarget, KVElement *pElement,
                             const QMap<KVLayoutKey, Box> &boxes);
    // The element changes frame in every layout of frames. With bFromInside it leaves a frame for
    // the frame's parent: the box holds the frame's origin in that parent and the parent's size.
    // Otherwise it enters a frame that is an area of its present parent: the box is that area.
    // The element's animated positions and sizes on the scene's timelines follow.
    static void addReframe(KVCommand *pCommand, IKVCommandTarget *pTarget, const KVScene *pScene,
                           KVElement *pElement, const QMap<KVLayoutKey, Box> &frames, bool bFromInside);
};
