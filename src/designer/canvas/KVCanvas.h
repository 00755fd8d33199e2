#pragma once

#include "model/KVLayoutKey.h"

#include <QPointF>
#include <QPointer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

class IEditor;
class KVDocument;
class KVCanvasContextMenu;
class KVHTMLExposingCanvas;
class KVResourceSchemeHandler;
class KVScene;
class KVSymbol;
class KVTextEditor;
class KVUpdateViewInfo;
class QWebEngineProfile;
class WebEnginePage;

// The editing stage of an editor: a web view showing the canvas page, which draws the current
// scene and lets the user select, move, resize, draw and edit on it. The page reaches the canvas
// through its exposing object ("kvcanvas_<id>") on a channel handed in-process; the canvas tells the
// page every model change that concerns it, and turns each edit the page makes into a command.
//
// The page asks for the scene itself once it has loaded (sendSceneDataToJS); a page whose render
// process died is loaded again without user action.
class KVCanvas : public QWebEngineView
{
    Q_OBJECT
public:
    explicit KVCanvas(IEditor *pEditor, QWidget *pParent = nullptr);
    ~KVCanvas() override;

    IEditor *editor() const { return m_pEditor; }
    KVDocument *document() const;
    KVScene *currentScene() const;
    int canvasId() const { return m_nCanvasId; }
    KVHTMLExposingCanvas *exposingObject() const { return m_pExposing; }
    WebEnginePage *webPage() const { return m_pPage; }

    double zoomFactor() const { return m_dZoomFactor; }
    bool fitToViewport() const { return m_bFitToViewport; }
    QPointF sceneOffset() const { return m_ptSceneOffset; }
    QPointF scrollValue() const { return m_ptScrollValue; }
    bool showContainerHandler() const { return m_bShowContainerHandler; }
    bool isEditingText() const { return m_bEditingText; }
    int transformTool() const { return m_nTransformTool; }
    int focusedItemId() const { return m_nFocusedItemId; }
    bool isEditingBreakpoint() const { return m_bEditingBreakpoint; }
    int editingBreakpointValue() const { return m_nBreakpointValue; }
    void clearEditingBreakpoint() { m_bEditingBreakpoint = false; }
    // The focused free-form shape's points are being edited on the stage.
    bool isEditingPoints() const { return m_bEditingPoints; }
    // The focused free-form shape's outline is open (its point menu offers "Close Path").
    bool isFocusedPathOpen() const;
    bool rulerVisible() const { return m_bRulerVisible; }
    bool snapEnabled() const { return m_bSnapEnabled; }
    // The "Align to Parent" and "Flexible Layout" switches of this editor's stage.
    bool alignToParent() const { return m_bAlignToParent; }
    bool fluidLayout() const { return m_bFluidLayout; }
    void setAlignToParent(bool bAlign);
    void setFluidLayout(bool bFluid);
    // Whether the element kind (type code) holds text the stage can edit in place: text boxes,
    // rectangles, auto shapes and free-form shapes.
    static bool holdsText(int nType);
    // The zoom steps of Zoom In and Zoom Out (factors, ascending).
    static const QList<double> &zoomSteps();
    KVCanvasContextMenu *contextMenu() const { return m_pContextMenu; }
    // The text editing tool: the format toolbar and menu while a text is edited on the stage.
    KVTextEditor *textEditor() const { return m_pTextEditor; }

    // The page's address: the host's canvas page, "/resources/canvas/index.html".
    static QUrl pageUrl();
    // Loads the page and tells it its canvas id.
    void loadPage();

    // The container whose scenes the page shows (the document, or the symbol being edited).
    KVSymbol *container() const;

signals:
    void zoomInfoChanged(double dZoomFactor, bool bFitToViewport);
    // Something the editor's actions read from the stage changed: zoom, fit, rulers, snapping,
    // text editing, the layout switches.
    void viewStateChanged();
    // The page finished its pending work (the wait before playback ends).
    void allTasksFinished();
    // Resources came or went during a command: the fonts of the text tool are read again.
    void fontsReloaded();
    // The ruler menu's "Add Breakpoint" at the ruler position, "Remove Selection" of the current
    // breakpoint (direction 0 horizontal, 1 vertical), and a click on a ruler that shows the layout
    // at its position; the responsive toolbar carries them out.
    void addBreakpointRequested(bool bVertical, int nValue);
    void removeBreakpointRequested(int nDirection);
    void currentBreakpointRequested(bool bVertical, int nPosition);
    // The page's console output, for the log.
    void pageConsoleMessage(const QString &strMessage);

public slots:
    void setFocusedItemId(int nId);
    void changeCursor(Qt::CursorShape eShape);
    void deselectAll();
    void onSelectAll();
    void addRectangle();
    void addRoundedRect();
    void addEllipse();
    void addShape(int nId);
    void editPoint();
    void endEditPoint();
    void editText();
    void addBreakpoint();
    void removeBreakpoint();
    // Shows the context menu the stage's state calls for at the mouse cursor (the page asks).
    void showContextMenu();
    // Loads the page again; it asks for the scene once it has loaded.
    void reloadCanvas();
    // Names the lock and hide entries after what they would do now.
    void refreshLockAndHideActions();
    void openPath();
    void straightSegment();
    void stopEditText(bool bImmediately);
    void stopEditText();
    void onEditorActivated();
    void onEditorDeactivated();
    void handleDocumentLoaded();
    void handleDocumentChanged(QObject *pUpdateInfo);
    void submitCommandFromJS(const QString &strJson, bool bRunCmdOnly);
    void handleDocumentClosing();
    void setSceneOffset(double dScenePosX, double dScenePosY);
    void setScrollValue(double dScrollX, double dScrollY);
    void setZoomFactor(double dFactor, bool bNotifyJS, bool bNotifyZoomCtrl);
    void setFitToViewport(bool bFit, bool bNotifyJS, bool bNotifyZoomCtrl);
    void sendSceneDataToJS();
    void setEditingBreakpoint(int nDirection, int nValue, int nRulerPos);
    void setCurrentBreakpoint(int nDirection, int nPos);
    // The size of the container the stage is shown in (the responsive toolbar's); the page picks
    // its layout from it.
    void setContainerSize(int nWidth, int nHeight);
    void setEditingText(bool bEditing, int nToolBarX, int nToolBarY);
    void setEditingText(bool bEditing, int nToolBarX);
    void setEditingText(bool bEditing);
    void onTextFormatChanged(const QString &strFormat);
    // The page ended text editing with new HTML: it becomes the element's "Change Text" command.
    void editTextInnerHTML(const QString &strHtml);
    // The page has loaded a medium: its natural size (video) and its length in milliseconds.
    void updateMediaProps(int nElementId, int nVideoWidth, int nVideoHeight, int nDuration);
    void focusToMe();
    // Zoom from the editor's actions: one step in or out, fit to the view, or a percentage.
    void zoomIn();
    void zoomOut();
    void zoomFit();
    void setZoomPercent(int nPercent);
    void showRuler(bool bShow);
    void enableSnap(bool bEnabled);
    // Tells a freshly loaded page the view options it cannot know (zoom, fit, rulers, snapping).
    void sendViewStateToJS();
    void onPageLoaded();
    void onAllTaskFinished();
    void pauseTimeline();
    void changeStageView(int eViewMode);
    // The stage's transform tool (the responsive toolbar's choice); the page follows.
    void setTransformTool(int nTool);
    // Plays, pauses and seeks the page's stage (the timeline's notifications 74, 75, 76).
    void play(int nTime);
    void pause(int nTime);
    void setCurrentTime(int nTime, bool bSeeking);
    // Editing operations on the selection and insertions (KVCanvasOperations does the work).
    void setAlignLeft();
    void setAlignRight();
    void setAlignTop();
    void setAlignBottom();
    void setAlignHCenter();
    void setAlignVCenter();
    void setDistLeftEdge();
    void setDistHorzCenter();
    void setDistRightEdge();
    void setDistTopEdge();
    void setDistVertCenter();
    void setDistBottomEdge();
    void setDistHorzSpace();
    void setDistVertSpace();
    void setSameWidth();
    void setSameHeight();
    void setSameSize();
    void bringToFront();
    void sendToBack();
    void bringForward();
    void sendBackward();
    void restoreOriginalSize();
    void removeAllOverrides();
    void removeSelectedItems();
    void onDelete();
    // The element clipboard; while text is edited the text tool copies, cuts and pastes.
    void onCopy();
    void onCut();
    void onPaste();
    // "Paste Here": at the point where the context menu was opened.
    void onPasteAtCursor();
    void onPasteWithAnimation();
    void groupElements();
    void ungroupElement();
    void addToGroup();
    void removeFromGroup();
    void lockAllElements();
    void lockElements();
    void hideAllElements();
    void hideElements();
    void addText();
    void addHtmlWidget();
    void addImage();
    void addAudio();
    void addVideo();
    void addSymbol();

protected:
    // Resources, copied elements, importable files and text dropped on the stage; other drags go
    // to the page.
    // The stage's copy, cut and paste keys reach the editor's actions unless text is edited (the
    // browser view would take them for the page).
    bool event(QEvent *pEvent) override;
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;
    void dragEnterEvent(QDragEnterEvent *pEvent) override;
    void dragMoveEvent(QDragMoveEvent *pEvent) override;
    void dropEvent(QDropEvent *pEvent) override;

private slots:
    void reloadOnCrashed(QWebEnginePage::RenderProcessTerminationStatus terminationStatus, int exitCode);

private:
    void runCanvasIdScript();
    void emitDataChangedToJS(const KVUpdateViewInfo &info);

    IEditor *m_pEditor;
    QPointer<KVDocument> m_pDocument;
    QPointer<KVScene> m_pCurrentScene;
    int m_nCanvasId;
    QWebEngineProfile *m_pProfile = nullptr;
    WebEnginePage *m_pPage = nullptr;
    KVResourceSchemeHandler *m_pSchemeHandler = nullptr;
    KVHTMLExposingCanvas *m_pExposing = nullptr;
    double m_dZoomFactor = 1.0;
    bool m_bFitToViewport = false;
    QPointF m_ptSceneOffset{200.0, 150.0};
    QPointF m_ptScrollValue{0.0, 0.0};
    bool m_bShowContainerHandler = false;
    bool m_bEditingText = false;
    int m_nTransformTool = 0;
    bool m_bEditingBreakpoint = false;
    int m_nBreakpointDirection = 0;
    int m_nBreakpointValue = 0;
    int m_nBreakpointRulerPos = 0;
    int m_nContainerW = 0;
    int m_nContainerH = 0;
    KVLayoutKey m_sentLayout; // the layout of the scene data the page has
    bool m_bNeedsRepaint = false;
    bool m_bNeedsScenePosUpdate = false;
    bool m_bFontsChanged = false;
    int m_nFocusedItemId = -1;
    bool m_bEditingPoints = false;
    bool m_bRulerVisible = false;
    bool m_bSnapEnabled = true;
    bool m_bAlignToParent = false;
    bool m_bFluidLayout = false;
    KVCanvasContextMenu *m_pContextMenu = nullptr;
    KVTextEditor *m_pTextEditor = nullptr;
};
