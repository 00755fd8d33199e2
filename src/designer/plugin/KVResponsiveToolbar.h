#pragma once

#include "model/KVLayoutKey.h"

#include <QPointer>
#include <QToolBar>

class KVDocument;
class QAction;
class QLabel;
class QMenu;
class QSpinBox;
class QToolButton;

// The responsive toolbar above the editing canvas: switches the document's responsive mode, adds
// breakpoints (typed values or the host's presets), picks the shown layout in each direction,
// removes the current breakpoint, and edits the container size the canvas shows. A container size
// that crosses a breakpoint switches the layout; picking a layout fits the container size into it.
// It also carries the transform-tool toggles of the canvas.
class KVResponsiveToolbar : public QToolBar
{
    Q_OBJECT
public:
    // Bits of toggleTransformTools().
    enum TransformTool { NoTool = 0, TranslateTool = 1, RotateTool = 2, ScaleTool = 4 };
    // The nBreakpointType of removeBreakpoint().
    enum BreakpointType { Horizontal = 0, Vertical = 1 };

    explicit KVResponsiveToolbar(QWidget *pParent = nullptr);
    ~KVResponsiveToolbar() override;

    KVDocument *document() const { return m_pDocument; }
    // Takes the document's breakpoints and stage size; null detaches the toolbar.
    void setDocument(KVDocument *pDocument);

    int containerWidth() const { return m_nContainerW; }
    int containerHeight() const { return m_nContainerH; }
    int transformTools() const { return m_nTools; }
    bool isRotateViewTool() const;

    // Rebuilds the menu of the add button: "Horizontal Preset" and "Vertical Preset" from the
    // host's lists, then the typed entries. The preset actions carry (vertical, value) as data.
    QMenu *populateAddMenu();
    // Rebuilds the layout menu of one direction: "Base" then every breakpoint, in list order.
    QMenu *populateLayoutMenu(bool bVertical);
    QString rangeText() const;

public slots:
    void onToggleResponsiveMode();
    void onShowAddMenu();
    void onShowAddHorizontalPopup();
    void onAddPreset(QAction *pAction);
    void onShowHorizontalMenu();
    void onHorizontalMenuSelected(int nIndex);
    void onShowVerticalMenu();
    void onVerticalMenuSelected(int nIndex);
    void removeBreakpoint(int nBreakpointType);
    void onAddHorizontal(int nValue);
    void onShowAddVerticalPopup();
    void onAddVertical(int nValue);
    void onShowContainerHandler();
    void onDisableTools();
    void onEnableTranslateTool();
    void onEnableRotateTool();
    void onEnableScaleTool();
    void onToggleRotateViewTool();
    void toggleTransformTools(int nTools);
    void updateTransformTools();
    void onUpdateBreakpoint();
    void updateUI();
    void updateRangeUI();
    void onContainerWChanged(int nValue);
    void onContainerHChanged(int nValue);
    void onEditorActivated();

signals:
    // The container size the canvas should show changed.
    void containerSizeChanged(int nWidth, int nHeight);
    void transformToolsChanged(int nTools);

private:
    void addBreakpoint(bool bVertical, int nValue);
    void selectLayout(bool bVertical, int nIndex);
    // Shows the layout on every scene and in the set, without touching the container size.
    void applyLayout(const KVLayoutKey &layout);
    void setContainerSize(int nWidth, int nHeight);

    QPointer<KVDocument> m_pDocument;
    int m_nContainerW = 0;
    int m_nContainerH = 0;
    int m_nTools = TranslateTool;

    QAction *m_pResponsiveAction = nullptr;
    QToolButton *m_pAddButton = nullptr;
    QMenu *m_pAddMenu = nullptr;
    QToolButton *m_pHorizontalButton = nullptr;
    QToolButton *m_pVerticalButton = nullptr;
    QMenu *m_pHorizontalMenu = nullptr;
    QMenu *m_pVerticalMenu = nullptr;
    QAction *m_pRemoveHAction = nullptr;
    QAction *m_pRemoveVAction = nullptr;
    QLabel *m_pRangeLabel = nullptr;
    QSpinBox *m_pWidthSpin = nullptr;
    QSpinBox *m_pHeightSpin = nullptr;
    QAction *m_pContainerAction = nullptr;
    QAction *m_pTranslateAction = nullptr;
    QAction *m_pRotateAction = nullptr;
    QAction *m_pScaleAction = nullptr;
    QAction *m_pRotateViewAction = nullptr;
};
