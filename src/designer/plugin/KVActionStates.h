#pragma once

#include <QHash>
#include <QString>

// What the editor's action states are computed from: the document, the current scene, the
// selection and the canvas. The editor fills it whenever one of them changes.
struct KVEditorState
{
    bool bHasDocument = false;       // a project is open in the editor
    bool bTopLevelHasScene = false;  // the project's own symbol has a scene
    bool bEditedHasScene = false;    // the symbol being edited (the project itself or a symbol) has one
    bool bHasCurrentScene = false;
    bool bHasPreviousScene = false;  // a scene stands before the current one
    bool bHasNextScene = false;      // ... or after it
    bool bEditingSymbol = true;      // a symbol (the project counts) is being edited
    int nSelectedScenes = 0;
    int nElements = 0;               // elements of the current scene (the whole tree)
    int nSelected = 0;               // elements selected in the current scene
    bool bSameParent = false;        // all selected elements have the same parent
    bool bCanGoBack = false;         // a selected element is not the first (backmost) of its parent
    bool bCanGoFront = false;        // a selected element is not the last (frontmost) of its parent
    bool bEditingText = false;
    bool bHasTimeline = false;       // the current scene has a current timeline
    bool bClipboardElements = false; // the system clipboard holds copied elements
    bool bAlignToParent = false;
    bool bGroupSelected = false;     // a selected element is a group
    bool bGroupWithSibling = false;  // ... and another selected element has the same parent as it
    bool bInsideGroup = false;       // a selected element lies inside a group
    bool bImageOrVideoSelected = false;
    bool bResizedMediaSelected = false; // ... whose size is not its natural size
    bool bHasBreakpoints = false;
    double dZoom = 1.0;
    bool bFitToViewport = false;
    bool bRulerVisible = false;
    bool bSnapEnabled = true;
    bool bPreloaderDocument = false;
};

// The action-state rules of the editor: which actions and menus are enabled, visible or checked for
// a state. Ids not named by a rule are left alone.
class KVActionStates
{
public:
    struct Result
    {
        QHash<QString, bool> enabled;
        QHash<QString, bool> visible;
        QHash<QString, bool> checked;
    };

    static Result compute(const KVEditorState &state);
};
