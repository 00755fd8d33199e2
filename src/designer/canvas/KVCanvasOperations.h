#pragma once

#include <QCoreApplication>
#include <QPoint>
#include <QPointF>
#include <QSize>

class KVCanvas;
class KVCommand;
class KVElement;
class KVResourceManager;
class KVEditContext;
class QMimeData;

// The canvas's editing operations from menus, toolbars, shortcuts and drops: each gathers what the
// operation needs from the canvas (document, scene, focused element, the layout shown, the
// "Align to Parent" and "Flexible Layout" switches, auto keyframing and the current time), lets the
// core operation work out its command and submits it. Without a document or a scene nothing happens.
class KVCanvasOperations
{
    Q_DECLARE_TR_FUNCTIONS(KVCanvasOperations)
public:
    static KVEditContext context(const KVCanvas *pCanvas);
    // Submits the command to the canvas's document (a null command is ignored).
    static void submit(const KVCanvas *pCanvas, KVCommand *pCommand);

    static void align(KVCanvas *pCanvas, int nMode);
    static void sameSize(KVCanvas *pCanvas, int nMode);
    static void displayOrder(KVCanvas *pCanvas, int nMode);
    static void restoreOriginalSize(KVCanvas *pCanvas);
    static void removeAllOverrides(KVCanvas *pCanvas);
    static void removeSelected(KVCanvas *pCanvas);
    static void lockAll(KVCanvas *pCanvas);
    static void lockSelected(KVCanvas *pCanvas);
    static void hideAll(KVCanvas *pCanvas);
    static void hideSelected(KVCanvas *pCanvas);
    // Grouping the selection, dissolving the selected groups one after another (one undo step),
    // adding the selected siblings to the selected group, taking selected elements out of theirs.
    static void group(KVCanvas *pCanvas);
    static void ungroup(KVCanvas *pCanvas);
    static void addToGroup(KVCanvas *pCanvas);
    static void removeFromGroup(KVCanvas *pCanvas);
    // Selecting runs without an undo step.
    static void selectAll(KVCanvas *pCanvas);
    static void deselectAll(KVCanvas *pCanvas);

    // Inserting: the page drops any drawing in progress and shows the stage, playback pauses and
    // the selection is cleared first.
    static void insertText(KVCanvas *pCanvas);
    static void insertHtmlWidget(KVCanvas *pCanvas);
    // Asks for files of the resource kind, imports them and inserts one element per file.
    static void insertFiles(KVCanvas *pCanvas, int nResourceType);

    // Gives the host's lock and hide entries the texts of what they would do for the scene shown
    // ("Lock All" / "Unlock All", "Hide All" / "Show All", "Hide" / "Show").
    static void refreshLockHideLabels(const KVCanvas *pCanvas);

    // Whether the canvas takes the dragged data.
    static bool acceptsDrag(const KVCanvas *pCanvas, const QMimeData *pData);
    // Handles a drop at a point of the view; false when the data is not taken.
    static bool drop(KVCanvas *pCanvas, const QMimeData *pData, const QPoint &ptView);
    // Puts the selected elements on the system clipboard and, with bCut, removes them ("Delete");
    // false (the clipboard unchanged) without a selection.
    static bool copy(KVCanvas *pCanvas, bool bCut);
    // "Paste" of the clipboard data into the scene shown: at the elements' place plus the scene's
    // paste offset, or with bAtCursor at the point of the view.
    static void paste(KVCanvas *pCanvas, const QMimeData *pData, bool bWithAnimation, bool bAtCursor,
                      const QPoint &ptView = QPoint());
    // The natural size of an image or a video element; invalid when unknown or for other kinds.
    static QSize naturalSize(const KVResourceManager *pManager, const KVElement *pElement);
    // The stage point under a point of the view (scene offset, scroll and zoom of the page).
    static QPointF stagePoint(const KVCanvas *pCanvas, const QPoint &ptView);

private:
    static bool prepareInsert(KVCanvas *pCanvas);
};
