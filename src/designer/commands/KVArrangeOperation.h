#pragma once

#include <QCoreApplication>
#include <QList>
#include <QSize>
#include <QVariant>

#include <functional>

class KVCommand;
class KVEditContext;
class KVElement;
struct KVLayoutKey;

// The arranging operations of the stage, computed here and handed back as one command each (null
// when nothing would change): aligning and distributing, giving elements the same size, changing
// the display order and giving images and videos their natural size back.
//
// Positions are taken in pixels in the coordinates of the stage (each element's ancestors add their
// own offsets) and written back in the form the element keeps at each edited layout: from the right
// or bottom edge when its coordinate type anchors that side, in percent of the parent when its unit
// is percent. With the flexible layout switch on, a new position is stored in percent of the parent
// from the anchored side, so that it follows the container when it changes size.
//
// With auto keyframing on, positions, sizes and transforms are recorded as key values at the current time on
// the current timeline: on the property's track when it has one, else on a new track (and a new
// animation of the element when needed) that also keeps the value from before at time 0.
class KVArrangeOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVArrangeOperation)
public:
    enum Mode {
        AlignLeft = 0,
        AlignRight = 1,
        AlignTop = 2,
        AlignBottom = 3,
        AlignHCenter = 4,
        AlignVCenter = 5,
        DistLeft = 6,
        DistHCenter = 7,
        DistRight = 8,
        DistTop = 9,
        DistVCenter = 10,
        DistBottom = 11,
        DistHSpace = 12,
        DistVSpace = 13
    };
    enum SizeMode { SameWidth = 0, SameHeight = 1, SameBoth = 2 };
    enum OrderMode { ToFront = 0, ToBack = 1, Forward = 2, Backward = 3 };

    // "Set Alignment": modes 0-5 align to the focused element (or to the parent with the align-to-
    // parent switch), modes 6-13 distribute. Null without a selection, with a single element
    // (unless it is aligned to its parent), without a focused element to align to, or when every
    // element already stands where it would go.
    static KVCommand *align(const KVEditContext &context, int nMode);
    // "Set Same Size": every selected element other than the focused one takes the focused
    // element's width, height or both.
    static KVCommand *sameSize(const KVEditContext &context, int nMode);
    // "Change Display Order": the selected elements move within their parents' child lists, keeping
    // their order among themselves.
    static KVCommand *displayOrder(const KVEditContext &context, int nMode);
    // "Restore Original Size": selected images and videos take the natural size that naturalSize
    // gives for them (an empty size leaves the element alone).
    static KVCommand *restoreOriginalSize(const KVEditContext &context,
                                          const std::function<QSize(const KVElement *)> &naturalSize);
    // Adds one element's new geometry values at a layout to a command: with auto keyframing on,
    // positions and sizes become key values at the current time (on new tracks where there are
    // none), the rest one geometry action.
    static void addGeometry(KVCommand *pCommand, const KVEditContext &context, KVElement *pElement,
                            const KVLayoutKey &layout, const QList<int> &codes, const QList<QVariant> &values);
};
