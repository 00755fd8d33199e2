#pragma once

#include "model/KVLayoutKey.h"

#include <QList>

class IKVCommandTarget;
class KVElement;
class KVScene;
class KVTimeline;
class QObject;

// What an editing operation of the stage works on, handed over explicitly by the view that starts
// it: the project (the command target), the scene shown, its current timeline, the element the
// page has focused, the layouts being edited and the editor's switches.
//
// The selection is read from the scene's elements (their selected flags) unless the caller fills
// it in. An empty list of layouts stands for the scene's current layout.
class KVEditContext
{
public:
    IKVCommandTarget *pTarget = nullptr;
    KVScene *pScene = nullptr;
    KVTimeline *pTimeline = nullptr;
    QObject *pSender = nullptr;
    int nFocusedId = -1;
    QList<KVLayoutKey> layouts;
    bool bAlignToParent = false;
    bool bFlexibleLayout = false;
    bool bAutoKeyframe = false;
    int nCurrentTime = 0;
    // When not empty, the elements to act on instead of the scene's selected ones.
    QList<KVElement *> selection;

    // True when there is a project and a scene to work on.
    bool isUsable() const;
    // The elements to act on: the given selection, else the selected elements of the scene where
    // a selected group with selected children stands for those children.
    QList<KVElement *> selectedElements() const;
    // The selected elements whose ancestors (below the scene) are not selected.
    QList<KVElement *> selectedTopLevel() const;
    // The focused element when it is in the scene, else null.
    KVElement *focusedElement() const;
    // The layouts to act on: the given ones, else the scene's current layout.
    QList<KVLayoutKey> editedLayouts() const;
};
