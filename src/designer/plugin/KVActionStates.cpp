#include "KVActionStates.h"

#include <QStringList>

#include <cmath>

namespace {
const QStringList kInsertActions = {
    QStringLiteral("Element.Rectangle"), QStringLiteral("Element.Rounded_Rectangle"), QStringLiteral("Element.Ellipse"),
    QStringLiteral("Element.Text"),      QStringLiteral("Element.Html_Widget"),       QStringLiteral("Element.Image"),
    QStringLiteral("Element.Audio"),     QStringLiteral("Element.Video"),             QStringLiteral("Element.Symbol"),
    QStringLiteral("Element.Shape"),     QStringLiteral("Element.Shape_On_ToolBar")};
const QStringList kAlign = {QStringLiteral("Edit.Alignment.Left"),   QStringLiteral("Edit.Alignment.Right"),
                            QStringLiteral("Edit.Alignment.Top"),    QStringLiteral("Edit.Alignment.Bottom"),
                            QStringLiteral("Edit.Alignment.Center"), QStringLiteral("Edit.Alignment.Middle")};
const QStringList kDistribute = {
    QStringLiteral("Edit.Alignment.Dist_Left_Edge"),   QStringLiteral("Edit.Alignment.Dist_Horz_Center"),
    QStringLiteral("Edit.Alignment.Dist_Right_Edge"),  QStringLiteral("Edit.Alignment.Dist_Top_Edge"),
    QStringLiteral("Edit.Alignment.Dist_Vert_Center"), QStringLiteral("Edit.Alignment.Dist_Bottom_Edge"),
    QStringLiteral("Edit.Alignment.Dist_Horz_Space"),  QStringLiteral("Edit.Alignment.Dist_Vert_Space")};
const QStringList kSize = {QStringLiteral("Edit.Size"), QStringLiteral("Edit.Size.Same_Width"),
                           QStringLiteral("Edit.Size.Same_Height"), QStringLiteral("Edit.Size.Same_Size")};
const QList<QPair<const char *, double>> kZoomMarks = {
    {"View.Canvas.Zoom_50%", 0.5}, {"View.Canvas.Zoom_75%", 0.75}, {"View.Canvas.Zoom_100%", 1.0},
    {"View.Canvas.Zoom_200%", 2.0}, {"View.Canvas.Zoom_300%", 3.0}, {"View.Canvas.Zoom_400%", 4.0}};

bool same(double a, double b)
{
    return std::abs(a - b) < 1e-9;
}
} // namespace

KVActionStates::Result KVActionStates::compute(const KVEditorState &s)
{
    Result r;
    auto enable = [&r](const QStringList &ids, bool b) {
        for (const QString &id : ids)
            r.enabled.insert(id, b);
    };

    r.enabled.insert(QStringLiteral("File.Export_To_HTML5"), s.bTopLevelHasScene);
    r.enabled.insert(QStringLiteral("File.Preview_Project_In_Browser"), s.bEditedHasScene);
    enable(kInsertActions + QStringList{QStringLiteral("File.Preview_Current_Scene_In_Browser"),
                                        QStringLiteral("View.Ruler"), QStringLiteral("View.Canvas.Snap"),
                                        QStringLiteral("Timeline.Zoom")},
           s.bHasCurrentScene);
    r.enabled.insert(QStringLiteral("Scene.Blank_Scene"), s.bEditingSymbol);
    r.enabled.insert(QStringLiteral("Scene.Duplicate_Scene"), s.bHasCurrentScene && s.nSelectedScenes == 1);
    r.enabled.insert(QStringLiteral("Scene.Previous_Scene"), s.bHasPreviousScene);
    r.enabled.insert(QStringLiteral("Scene.Next_Scene"), s.bHasNextScene);
    // Shown only where they apply, and never offered where they are not shown.
    r.visible.insert(QStringLiteral("Edit.Restore_Original_Size"), s.bImageOrVideoSelected);
    r.enabled.insert(QStringLiteral("Edit.Restore_Original_Size"), s.bResizedMediaSelected && !s.bEditingText);
    r.visible.insert(QStringLiteral("Edit.Remove_All_Overrides"), s.bHasBreakpoints);
    r.enabled.insert(QStringLiteral("Edit.Remove_All_Overrides"),
                     s.bHasDocument && s.bHasBreakpoints && s.nSelected >= 1 && !s.bEditingText);
    // Lock and hide: the scene's elements, or the selected ones.
    const bool bElements = s.bHasDocument && s.bHasCurrentScene && s.nElements > 0;
    enable({QStringLiteral("Edit.Lock_All"), QStringLiteral("Edit.Hide ALL")}, bElements);
    enable({QStringLiteral("Edit.Lock"), QStringLiteral("Edit.Hide")}, bElements && s.nSelected >= 1);
    r.enabled.insert(QStringLiteral("Edit.Select_All"), bElements || s.bEditingText);
    r.enabled.insert(QStringLiteral("Edit.Delete"), s.nSelected >= 1 && !s.bEditingText);
    // Rename edits the name of the one selected element in the elements panel.
    r.enabled.insert(QStringLiteral("Edit.Rename"), s.nSelected == 1 && !s.bEditingText);
    // The element clipboard; while text is edited the text tool copies, cuts and pastes.
    enable({QStringLiteral("Edit.Copy"), QStringLiteral("Edit.Cut")}, s.nSelected >= 1 || s.bEditingText);
    const bool bPaste = s.bHasCurrentScene && s.bHasTimeline && s.bClipboardElements;
    r.enabled.insert(QStringLiteral("Edit.Paste"), bPaste || s.bEditingText);
    r.enabled.insert(QStringLiteral("Edit.Paste_With_Animation"), bPaste && !s.bEditingText);
    // The text format actions and Paste as Plain Text act on the text being edited.
    enable({QStringLiteral("Text.Align_Left"), QStringLiteral("Text.Align_Right"), QStringLiteral("Text.Align_Justify"),
            QStringLiteral("Text.Align_Center"), QStringLiteral("Text.Bold"), QStringLiteral("Text.Italic"),
            QStringLiteral("Text.Underline"), QStringLiteral("Text.Strike_through"), QStringLiteral("Text.Super_script"),
            QStringLiteral("Text.Sub_script"), QStringLiteral("Text.Paste_As_Plain")},
           s.bHasDocument && s.bEditingText);

    const bool bFree = !s.bEditingText;
    enable(kSize, bFree && s.nSelected >= 2);
    r.enabled.insert(QStringLiteral("Edit.DisplayOrder"), bFree && (s.bCanGoBack || s.bCanGoFront));
    enable({QStringLiteral("Edit.DisplayOrder.Bring_To_Front"), QStringLiteral("Edit.DisplayOrder.Bring_Forward")},
           bFree && s.bCanGoFront);
    enable({QStringLiteral("Edit.DisplayOrder.Send_To_Back"), QStringLiteral("Edit.DisplayOrder.Send_Backward")},
           bFree && s.bCanGoBack);
    const bool bAlign = bFree && s.bSameParent && (s.nSelected > 1 || (s.nSelected == 1 && s.bAlignToParent));
    enable(kAlign + QStringList{QStringLiteral("Edit.Alignment")}, bAlign);
    enable(kDistribute,
           bFree && s.bSameParent && (s.nSelected >= 3 || (s.nSelected == 2 && s.bAlignToParent)));

    const bool bGroup = bFree && s.nSelected >= 1 && s.bSameParent;
    const bool bUngroup = bFree && s.bGroupSelected;
    const bool bRemoveFromGroup = s.bInsideGroup;
    r.enabled.insert(QStringLiteral("Edit.Group_Elements.Group"), bGroup);
    r.enabled.insert(QStringLiteral("Edit.Group_Elements.Ungroup"), bUngroup);
    r.enabled.insert(QStringLiteral("Edit.Group_Elements.Layout_Group"), bUngroup);
    r.enabled.insert(QStringLiteral("Edit.Group_Elements.Add_To_Group"), s.bGroupSelected && s.bGroupWithSibling);
    r.enabled.insert(QStringLiteral("Edit.Group_Elements.Remove_From_Group"), bRemoveFromGroup);
    r.enabled.insert(QStringLiteral("Edit.Group_Elements"), bGroup || bUngroup || bRemoveFromGroup);
    r.enabled.insert(QStringLiteral("Edit.Convert_To_Symbol"), bGroup);

    r.enabled.insert(QStringLiteral("View.Canvas.Zoom_In"), s.bHasCurrentScene && s.dZoom < 4.0 - 1e-9);
    r.enabled.insert(QStringLiteral("View.Canvas.Zoom_nOut"), s.bHasCurrentScene && s.dZoom > 0.1 + 1e-9);
    r.checked.insert(QStringLiteral("View.Ruler"), s.bRulerVisible);
    r.checked.insert(QStringLiteral("View.Canvas.Snap"), s.bSnapEnabled);
    for (const auto &mark : kZoomMarks)
        r.checked.insert(QString::fromLatin1(mark.first), !s.bFitToViewport && same(s.dZoom, mark.second));
    r.checked.insert(QStringLiteral("View.Canvas.Zoom_Fit_on_Screen"), s.bFitToViewport);
    r.enabled.insert(QStringLiteral("File.SaveAs.Project"), !s.bPreloaderDocument);
    return r;
}
