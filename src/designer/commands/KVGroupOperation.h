#pragma once

#include <QCoreApplication>
#include <QList>

class IKVCommandTarget;
class KVCommand;
class KVElement;
class QObject;

// Grouping elements of the stage, computed here and handed back as one command each (null when the
// input does not allow it): making a group of elements that share a parent, dissolving a group,
// adding siblings of a group to it and taking elements out of their group.
//
// A group is a plain element (type 6) that owns its children; a child's position is relative to
// its parent. Whenever an element changes parent its box stays where it is on the page in every
// layout it has: its position (and a size kept in percent) is written again against the new parent,
// in the form the element keeps — pixels or a fraction of the parent, from the left/top or from the
// right/bottom edge its coordinate type anchors. At a responsive layout a value that no longer
// equals the base layout's becomes an override there. Transforms of a group (rotation, scale) are
// not folded into its children.
//
// Animations stay with their elements; the key values of their position and size tracks (at every
// layout, on every timeline of the scene) are written again the same way, so an animated element
// moves along the same page positions. A new group has no animation; dissolving a group that was
// given animations takes those along with it.
class KVGroupOperation
{
    Q_DECLARE_TR_FUNCTIONS(KVGroupOperation)
public:
    // The states of the grouping actions for a selection (the selected elements of the scene,
    // possibly inside groups).
    // Group: at least one element, all with the same parent, and no text being edited.
    static bool canGroup(const QList<KVElement *> &selection, bool bEditingText = false);
    // Ungroup: a selected element is a group, and no text being edited.
    static bool canUngroup(const QList<KVElement *> &selection, bool bEditingText = false);
    // Add to group: a selected element is a group and another one shares its parent.
    static bool canAddToGroup(const QList<KVElement *> &selection);
    // Remove from group: a selected element lies inside a group.
    static bool canRemoveFromGroup(const QList<KVElement *> &selection);

    // The first selected group that has a selected sibling, or null.
    static KVElement *groupToAddTo(const QList<KVElement *> &selection);
    // The selected elements that are not groups and share a parent with the group.
    static QList<KVElement *> siblingsOf(const KVElement *pGroup, const QList<KVElement *> &selection);

    // "Group": a new group at the union of the elements' boxes in every layout of their parent
    // takes the place of the front-most of them and holds them in their stacking order; the new
    // group ends up selected and the elements in it not. Null for an empty selection, for elements
    // of different parents or outside a scene.
    static KVCommand *group(IKVCommandTarget *pTarget, const QList<KVElement *> &selection,
                            QObject *pSender = nullptr);
    // "Ungroup": the children take the group's place in its parent, in their order, selected; the
    // emptied group leaves the scene. Null when the element is not a group in a scene.
    static KVCommand *ungroup(IKVCommandTarget *pTarget, KVElement *pGroup, QObject *pSender = nullptr);
    // "Add To Group": the others (siblings of the group) go in front of the group's children, in
    // their stacking order; the group grows to hold them. Null without such siblings.
    static KVCommand *addToGroup(IKVCommandTarget *pTarget, KVElement *pGroup,
                                 const QList<KVElement *> &others, QObject *pSender = nullptr);
    // "Remove From Group": each element inside a group goes to the group's parent just in front of
    // its group (in their stacking order); a group left without a selected child is deselected.
    // Elements that are not in a group are passed over; null when none is.
    static KVCommand *removeFromGroup(IKVCommandTarget *pTarget, const QList<KVElement *> &elements,
                                      QObject *pSender = nullptr);

    // Whether the element is a group (and not a stage root).
    static bool isGroup(const KVElement *pElement);
};
