#include "KVDesignerActions.h"

#include "animation/KVPropertyCatalogue.h"
#include "model/KVAutoShapeCatalogue.h"
#include "ui/IUi.h"

#include "ActionContainer.h"
#include "ActionManager.h"

#include <QAction>
#include <QCheckBox>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {
using F = KVActionSpec;

// The catalogue, in registration order. Actions the host makes (Edit.Undo, Edit.Redo, the preview
// and export actions, Help.*) are not here.
const QList<KVActionSpec> kCatalogue = {
    {"File.SaveAs.Package", QT_TRANSLATE_NOOP("KVDesignerActions", "Package"), "export", "Ctrl+Shift+P", "File.SaveAs", F::None, 0, nullptr},
    {"Edit.Cut", QT_TRANSLATE_NOOP("KVDesignerActions", "Cu&t"), "cut", "std:Cut", "MenuBar.Edit", F::StartsDisabled, 0, nullptr},
    {"Edit.Copy", QT_TRANSLATE_NOOP("KVDesignerActions", "&Copy"), "copy", "std:Copy", "MenuBar.Edit", F::StartsDisabled, 0, nullptr},
    {"Edit.Paste", QT_TRANSLATE_NOOP("KVDesignerActions", "&Paste"), "paste", "std:Paste", "MenuBar.Edit", F::StartsDisabled, 0, nullptr},
    {"Edit.Paste_With_Animation", QT_TRANSLATE_NOOP("KVDesignerActions", "Paste with Animation"), nullptr, nullptr, "MenuBar.Edit", F::StartsDisabled, 0, nullptr},
    {"Text.Paste_As_Plain", QT_TRANSLATE_NOOP("KVDesignerActions", "Paste as Plain Text"), nullptr, nullptr, "MenuBar.Edit", F::Hidden, 0, "insertText"},
    {"Edit.Delete", QT_TRANSLATE_NOOP("KVDesignerActions", "&Delete"), "delete", "std:Delete", "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Select_All", QT_TRANSLATE_NOOP("KVDesignerActions", "Select &All"), nullptr, "std:SelectAll", "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Rename", QT_TRANSLATE_NOOP("KVDesignerActions", "Rename"), nullptr, "F2", "MenuBar.Edit", F::StartsDisabled, 0, nullptr},
    {"Edit.Group_Elements.Group", QT_TRANSLATE_NOOP("KVDesignerActions", "Group"), "group", "Ctrl+G", "Edit.Group_Elements", F::None, 0, nullptr},
    {"Edit.Group_Elements.Ungroup", QT_TRANSLATE_NOOP("KVDesignerActions", "Ungroup"), "ungroup", "Ctrl+Shift+G", "Edit.Group_Elements", F::None, 0, nullptr},
    {"Edit.Group_Elements.Add_To_Group", QT_TRANSLATE_NOOP("KVDesignerActions", "Add to Group"), "add_to_group", nullptr, "Edit.Group_Elements", F::None, 0, nullptr},
    {"Edit.Group_Elements.Remove_From_Group", QT_TRANSLATE_NOOP("KVDesignerActions", "Remove from Group"), "remove_from_group", nullptr, "Edit.Group_Elements", F::None, 0, nullptr},
    {"Edit.Group_Elements.Layout_Group", QT_TRANSLATE_NOOP("KVDesignerActions", "Layout Group"), "layout_group", nullptr, "Edit.Group_Elements", F::None, 0, nullptr},
    {"Edit.Convert_To_Symbol", QT_TRANSLATE_NOOP("KVDesignerActions", "Convert to Symbol"), "convert_symbol", nullptr, "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Restore_Original_Size", QT_TRANSLATE_NOOP("KVDesignerActions", "Restore Original Size"), nullptr, nullptr, "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Remove_All_Overrides", QT_TRANSLATE_NOOP("KVDesignerActions", "Remove All Overrides"), nullptr, nullptr, "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Size.Same_Width", QT_TRANSLATE_NOOP("KVDesignerActions", "Make Same Width"), "same_width", nullptr, "Edit.Size", F::None, 0, nullptr},
    {"Edit.Size.Same_Height", QT_TRANSLATE_NOOP("KVDesignerActions", "Make Same Height"), "same_height", nullptr, "Edit.Size", F::None, 0, nullptr},
    {"Edit.Size.Same_Size", QT_TRANSLATE_NOOP("KVDesignerActions", "Make Same Size"), "same_size", nullptr, "Edit.Size", F::None, 0, nullptr},
    {"Edit.Alignment.Left", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Left"), "align_left", "Shift+L", "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Right", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Right"), "align_right", "Shift+R", "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Top", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Top"), "align_top", "Shift+T", "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Bottom", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Bottom"), "align_bottom", "Shift+B", "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Center", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Center"), "align_hcenter", "Shift+E", "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Middle", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Middle"), "align_vcenter", "Shift+M", "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Left_Edge", QT_TRANSLATE_NOOP("KVDesignerActions", "Distribute Left Edge"), "align_dist_left_edge", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Horz_Center", QT_TRANSLATE_NOOP("KVDesignerActions", "Distribute Horizontal Center"), "align_dist_horz_center", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Right_Edge", QT_TRANSLATE_NOOP("KVDesignerActions", "Distribute Right Edge"), "align_dist_right_edge", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Top_Edge", QT_TRANSLATE_NOOP("KVDesignerActions", "Distribute Top Edge"), "align_dist_top_edge", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Vert_Center", QT_TRANSLATE_NOOP("KVDesignerActions", "Distribute Vertical Center"), "align_dist_vert_center", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Bottom_Edge", QT_TRANSLATE_NOOP("KVDesignerActions", "Distribute Bottom Edge"), "align_dist_bottom_edge", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Horz_Space", QT_TRANSLATE_NOOP("KVDesignerActions", "Space Horizontally"), "align_dist_horz_space", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.Alignment.Dist_Vert_Space", QT_TRANSLATE_NOOP("KVDesignerActions", "Space Vertically"), "align_dist_vert_space", nullptr, "Edit.Alignment", F::None, 0, nullptr},
    {"Edit.DisplayOrder.Bring_To_Front", QT_TRANSLATE_NOOP("KVDesignerActions", "Bring to Front"), "order_front", nullptr, "Edit.DisplayOrder", F::None, 0, nullptr},
    {"Edit.DisplayOrder.Bring_Forward", QT_TRANSLATE_NOOP("KVDesignerActions", "Bring Forward"), "order_forward", nullptr, "Edit.DisplayOrder", F::None, 0, nullptr},
    {"Edit.DisplayOrder.Send_To_Back", QT_TRANSLATE_NOOP("KVDesignerActions", "Send to Back"), "order_back", nullptr, "Edit.DisplayOrder", F::None, 0, nullptr},
    {"Edit.DisplayOrder.Send_Backward", QT_TRANSLATE_NOOP("KVDesignerActions", "Send Backward"), "order_backward", nullptr, "Edit.DisplayOrder", F::None, 0, nullptr},
    {"Edit.Lock_All", QT_TRANSLATE_NOOP("KVDesignerActions", "Lock All"), nullptr, nullptr, "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Lock", QT_TRANSLATE_NOOP("KVDesignerActions", "Lock"), nullptr, nullptr, "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Hide ALL", QT_TRANSLATE_NOOP("KVDesignerActions", "Hide All"), nullptr, nullptr, "MenuBar.Edit", F::None, 0, nullptr},
    {"Edit.Hide", QT_TRANSLATE_NOOP("KVDesignerActions", "Hide"), nullptr, nullptr, "MenuBar.Edit", F::None, 0, nullptr},
    {"View.Ruler", QT_TRANSLATE_NOOP("KVDesignerActions", "&Rulers"), nullptr, nullptr, "MenuBar.View", F::Checkable, 0, nullptr},
    {"View.Canvas.Snap", QT_TRANSLATE_NOOP("KVDesignerActions", "&Canvas Snapping"), "timeline_snap", nullptr, "MenuBar.View", F::Checkable, 0, nullptr},
    {"View.Stage.Front_View", QT_TRANSLATE_NOOP("KVDesignerActions", "&Front View"), nullptr, nullptr, "View.Stage", F::None, 0, nullptr},
    {"View.Stage.Top_View", QT_TRANSLATE_NOOP("KVDesignerActions", "&Top View"), nullptr, nullptr, "View.Stage", F::None, 0, nullptr},
    {"View.Stage.Side_View", QT_TRANSLATE_NOOP("KVDesignerActions", "&Side View"), nullptr, nullptr, "View.Stage", F::None, 0, nullptr},
    {"View.Stage.Reset_View", QT_TRANSLATE_NOOP("KVDesignerActions", "&Reset View"), nullptr, nullptr, "View.Stage", F::None, 0, nullptr},
    {"View.Canvas.Zoom_In", QT_TRANSLATE_NOOP("KVDesignerActions", "Zoom In"), "zoom_in", "Ctrl+=", "Timeline.Zoom", F::None, 0, nullptr},
    {"View.Canvas.Zoom_nOut", QT_TRANSLATE_NOOP("KVDesignerActions", "Zoom Out"), "zoom_out", "Ctrl+-", "Timeline.Zoom", F::None, 0, nullptr},
    {"View.Canvas.Zoom_50%", "50%", nullptr, nullptr, "Timeline.Zoom", F::Checkable | F::WithArgument, 50, nullptr},
    {"View.Canvas.Zoom_75%", "75%", nullptr, nullptr, "Timeline.Zoom", F::Checkable | F::WithArgument, 75, nullptr},
    {"View.Canvas.Zoom_100%", "100%", nullptr, nullptr, "Timeline.Zoom", F::Checkable | F::WithArgument, 100, nullptr},
    {"View.Canvas.Zoom_200%", "200%", nullptr, nullptr, "Timeline.Zoom", F::Checkable | F::WithArgument, 200, nullptr},
    {"View.Canvas.Zoom_300%", "300%", nullptr, nullptr, "Timeline.Zoom", F::Checkable | F::WithArgument, 300, nullptr},
    {"View.Canvas.Zoom_400%", "400%", nullptr, nullptr, "Timeline.Zoom", F::Checkable | F::WithArgument, 400, nullptr},
    {"View.Canvas.Zoom_Fit_on_Screen", QT_TRANSLATE_NOOP("KVDesignerActions", "&Fit on Screen"), "zoom_auto_fit", "Ctrl+0", "Timeline.Zoom", F::Checkable, 0, nullptr},
    {"Scene.Blank_Scene", QT_TRANSLATE_NOOP("KVDesignerActions", "&Blank Scene"), "insert_blank_scene", nullptr, "MenuBar.Scene", F::None, 0, nullptr},
    {"Scene.Duplicate_Scene", QT_TRANSLATE_NOOP("KVDesignerActions", "Duplicate Scene"), nullptr, nullptr, "MenuBar.Scene", F::None, 0, nullptr},
    {"Scene.Previous_Scene", QT_TRANSLATE_NOOP("KVDesignerActions", "Previous Scene"), nullptr, "Ctrl+PgUp", "MenuBar.Scene", F::None, 0, nullptr},
    {"Scene.Next_Scene", QT_TRANSLATE_NOOP("KVDesignerActions", "Next Scene"), nullptr, "Ctrl+PgDown", "MenuBar.Scene", F::None, 0, nullptr},
    {"View.Event_Actions_Dialog", QT_TRANSLATE_NOOP("KVDesignerActions", "Event Handlers"), "open_actions", nullptr, "MenuBar.Scene", F::None, 0, nullptr},
    {"Edit.Copy_Event_Actions", QT_TRANSLATE_NOOP("KVDesignerActions", "Copy All Event Actions"), nullptr, nullptr, nullptr, F::None, 0, nullptr},
    {"Edit.Paste_Event_Actions", QT_TRANSLATE_NOOP("KVDesignerActions", "Paste Event Actions"), nullptr, nullptr, nullptr, F::None, 0, nullptr},
    {"Element.Rectangle", QT_TRANSLATE_NOOP("KVDesignerActions", "Rectangle Div"), "insert_rectangle", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Rounded_Rectangle", QT_TRANSLATE_NOOP("KVDesignerActions", "Rounded Rectangle Div"), "insert_roundedrect", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Ellipse", QT_TRANSLATE_NOOP("KVDesignerActions", "Ellipse Div"), "insert_ellipse", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Text", QT_TRANSLATE_NOOP("KVDesignerActions", "&Text"), "insert_text", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Html_Widget", QT_TRANSLATE_NOOP("KVDesignerActions", "HTML Widget"), "html", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Image", QT_TRANSLATE_NOOP("KVDesignerActions", "&Image"), "insert_image", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Audio", QT_TRANSLATE_NOOP("KVDesignerActions", "&Audio"), "audio", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Video", QT_TRANSLATE_NOOP("KVDesignerActions", "&Video"), "video", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Symbol", QT_TRANSLATE_NOOP("KVDesignerActions", "&Symbol"), "insert_symbol", nullptr, "MenuBar.Element", F::None, 0, nullptr},
    {"Element.Shape_On_ToolBar", QT_TRANSLATE_NOOP("KVDesignerActions", "Insert Shape"), "insert_shape", nullptr, nullptr, F::None, 0, nullptr},
    {"Timeline.Play", QT_TRANSLATE_NOOP("KVDesignerActions", "Play/Stop"), "play_preview", "Space", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Go_To_Start", QT_TRANSLATE_NOOP("KVDesignerActions", "Go to Start"), "start_preview", "Home", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Go_To_End", QT_TRANSLATE_NOOP("KVDesignerActions", "Go to End"), "end_preview", "End", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Loop", QT_TRANSLATE_NOOP("KVDesignerActions", "Loop Playback"), "loop", nullptr, "MenuBar.Timeline", F::Checkable, 0, nullptr},
    {"Timeline.Auto_Keyframe_Mode", QT_TRANSLATE_NOOP("KVDesignerActions", "Auto-Keyframe Mode"), "autokeyframe_off", "K", "MenuBar.Timeline", F::Checkable, 0, nullptr},
    {"Timeline.Insert_Label", QT_TRANSLATE_NOOP("KVDesignerActions", "Insert Label"), "label", "Alt+L", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Insert_Trigger", QT_TRANSLATE_NOOP("KVDesignerActions", "Insert Trigger"), "action", "Alt+T", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Open_Timeline_Actions", QT_TRANSLATE_NOOP("KVDesignerActions", "Event Handlers"), "open_actions", nullptr, "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Create_Transition", QT_TRANSLATE_NOOP("KVDesignerActions", "Create Transition"), nullptr, "Ctrl+Shift+T", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Remove_Transition", QT_TRANSLATE_NOOP("KVDesignerActions", "Remove Transition"), nullptr, "Shift+Del", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Invert_Animation_Segment", QT_TRANSLATE_NOOP("KVDesignerActions", "Invert Animation Segment"), nullptr, nullptr, "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Show_Animated_Element_Only", QT_TRANSLATE_NOOP("KVDesignerActions", "Show Animated Elements Only"), "timeline_show_animated", nullptr, "MenuBar.Timeline", F::Checkable, 0, nullptr},
    {"Timeline.Snapping", QT_TRANSLATE_NOOP("KVDesignerActions", "Snapping"), "timeline_snap", "Alt+;", "MenuBar.Timeline", F::Checkable, 0, nullptr},
    {"Timeline.Snap_To.Grid", QT_TRANSLATE_NOOP("KVDesignerActions", "Grid"), nullptr, nullptr, "Timeline.Snap_To", F::Checkable, 0, nullptr},
    {"Timeline.Snap_To.Playhead", QT_TRANSLATE_NOOP("KVDesignerActions", "Playhead"), nullptr, nullptr, "Timeline.Snap_To", F::Checkable, 0, nullptr},
    {"Timeline.Snap_To.Keyframes", QT_TRANSLATE_NOOP("KVDesignerActions", "Keyframes, Labels, Triggers"), nullptr, nullptr, "Timeline.Snap_To", F::Checkable, 0, nullptr},
    {"Timeline.Show_Grid", QT_TRANSLATE_NOOP("KVDesignerActions", "Show Grid"), "timeline_show_grid", nullptr, "MenuBar.Timeline", F::Checkable, 0, nullptr},
    {"Timeline.Grid.1 / second", "1 / second", nullptr, nullptr, "Timeline.Grid", F::Checkable, 0, nullptr},
    {"Timeline.Grid.2 / second", "2 / second", nullptr, nullptr, "Timeline.Grid", F::Checkable, 1, nullptr},
    {"Timeline.Grid.4 / second", "4 / second", nullptr, nullptr, "Timeline.Grid", F::Checkable, 2, nullptr},
    {"Timeline.Grid.10 / second", "10 / second", nullptr, nullptr, "Timeline.Grid", F::Checkable, 3, nullptr},
    {"Timeline.Grid.15 / second", "15 / second", nullptr, nullptr, "Timeline.Grid", F::Checkable, 4, nullptr},
    {"Timeline.Grid.24 / second", "24 / second", nullptr, nullptr, "Timeline.Grid", F::Checkable, 5, nullptr},
    {"Timeline.Grid.30 / second", "30 / second", nullptr, nullptr, "Timeline.Grid", F::Checkable, 6, nullptr},
    {"Timeline.Zoom_In", QT_TRANSLATE_NOOP("KVDesignerActions", "Zoom In"), "zoom_in", nullptr, "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Zoom_Out", QT_TRANSLATE_NOOP("KVDesignerActions", "Zoom Out"), "zoom_out", nullptr, "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Zoom_Fit", QT_TRANSLATE_NOOP("KVDesignerActions", "Zoom Fit"), "timeline_zoom_fit", nullptr, "MenuBar.Timeline", F::None, 0, nullptr},
    {"Timeline.Expand_Collapse_All", QT_TRANSLATE_NOOP("KVDesignerActions", "Expand/Collapse All"), "expand_all", "Ctrl+Shift+.", "MenuBar.Timeline", F::None, 0, nullptr},
    {"Text.Align_Left", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Left"), "text_align_left", "Ctrl+L", nullptr, F::None, 0, "justifyleft"},
    {"Text.Align_Right", QT_TRANSLATE_NOOP("KVDesignerActions", "Align Right"), "text_align_right", "Ctrl+R", nullptr, F::None, 0, "justifyright"},
    {"Text.Align_Justify", QT_TRANSLATE_NOOP("KVDesignerActions", "Justify"), "text_align_justify", "Ctrl+J", nullptr, F::None, 0, "justifyfull"},
    {"Text.Align_Center", QT_TRANSLATE_NOOP("KVDesignerActions", "Center"), "text_align_center", "Ctrl+E", nullptr, F::None, 0, "justifycenter"},
    {"Text.Bold", QT_TRANSLATE_NOOP("KVDesignerActions", "Bold"), "text_bold", "Ctrl+B", nullptr, F::None, 0, "bold"},
    {"Text.Italic", QT_TRANSLATE_NOOP("KVDesignerActions", "Italic"), "text_italic", "Ctrl+I", nullptr, F::None, 0, "italic"},
    {"Text.Underline", QT_TRANSLATE_NOOP("KVDesignerActions", "Underline"), "text_underline", "Ctrl+U", nullptr, F::None, 0, "underline"},
    {"Text.Strike_through", QT_TRANSLATE_NOOP("KVDesignerActions", "Strikethrough"), "text_strike_through", nullptr, nullptr, F::None, 0, "strikethrough"},
    {"Text.Super_script", QT_TRANSLATE_NOOP("KVDesignerActions", "Superscript"), "text_superscript", nullptr, nullptr, F::None, 0, "superscript"},
    {"Text.Sub_script", QT_TRANSLATE_NOOP("KVDesignerActions", "Subscript"), "text_subscript", nullptr, nullptr, F::None, 0, "subscript"},
};

struct MenuSpec {
    const char *id;
    const char *title;
    const char *parent; // container the menu goes into
};

// The menus the designer makes, in creation order.
const MenuSpec kMenus[] = {
    {"Edit.Group_Elements", QT_TRANSLATE_NOOP("KVDesignerActions", "&Group"), "MenuBar.Edit"},
    {"Edit.Size", QT_TRANSLATE_NOOP("KVDesignerActions", "&Size"), "MenuBar.Edit"},
    {"Edit.Alignment", QT_TRANSLATE_NOOP("KVDesignerActions", "&Alignment"), "MenuBar.Edit"},
    {"Edit.DisplayOrder", QT_TRANSLATE_NOOP("KVDesignerActions", "&Display Order"), "MenuBar.Edit"},
    {"View.Stage", QT_TRANSLATE_NOOP("KVDesignerActions", "&Stage View"), "MenuBar.View"},
    {"Timeline.Zoom", QT_TRANSLATE_NOOP("KVDesignerActions", "Zoom"), "MenuBar.View"},
    {"View.Toolbars", QT_TRANSLATE_NOOP("KVDesignerActions", "&Toolbars"), "MenuBar.View"},
    {"MenuBar.Scene", QT_TRANSLATE_NOOP("KVDesignerActions", "&Scene"), "MenuBar"},
    {"MenuBar.Element", QT_TRANSLATE_NOOP("KVDesignerActions", "&Element"), "MenuBar"},
    {"MenuBar.Timeline", QT_TRANSLATE_NOOP("KVDesignerActions", "&Timeline"), "MenuBar"},
    {"Timeline.Snap_To", QT_TRANSLATE_NOOP("KVDesignerActions", "Snap To"), "MenuBar.Timeline"},
    {"Timeline.Grid", QT_TRANSLATE_NOOP("KVDesignerActions", "Grid"), "MenuBar.Timeline"},
};

// Index into the catalogue order of the first property of a group.
int firstCodeOf(const QString &group)
{
    const QList<int> &order = KVPropertyCatalogue::catalogueOrder();
    for (int i = 0; i < order.size(); ++i) {
        if (KVPropertyCatalogue::group(order.at(i), false) == group)
            return i;
    }
    return -1;
}

QKeySequence shortcutOf(const char *text)
{
    if (!text)
        return QKeySequence();
    const QByteArray s(text);
    if (s.startsWith("std:")) {
        static const QHash<QByteArray, QKeySequence::StandardKey> standard = {
            {"Cut", QKeySequence::Cut},       {"Copy", QKeySequence::Copy},
            {"Paste", QKeySequence::Paste},   {"Delete", QKeySequence::Delete},
            {"SelectAll", QKeySequence::SelectAll},
        };
        return QKeySequence(standard.value(s.mid(4), QKeySequence::UnknownKey));
    }
    return QKeySequence::fromString(QString::fromLatin1(text), QKeySequence::PortableText);
}
} // namespace

KVDesignerActions::KVDesignerActions(ActionManager *pActions, QMainWindow *pMainWindow, QObject *pParent)
    : QObject(pParent)
    , m_pActions(pActions)
    , m_pMainWindow(pMainWindow)
{
}

KVDesignerActions::~KVDesignerActions() = default;

const QList<KVActionSpec> &KVDesignerActions::catalogue()
{
    return kCatalogue;
}

QStringList KVDesignerActions::menuIds()
{
    QStringList ids;
    for (const MenuSpec &m : kMenus)
        ids << QString::fromLatin1(m.id);
    return ids;
}

void KVDesignerActions::create()
{
    createMenus();
    createActions();
    createAddKeyframeMenu();
    createToolbars();
}

void KVDesignerActions::createMenus()
{
    for (const MenuSpec &m : kMenus) {
        ActionContainer *menu = m_pActions->createMenuContainer(QString::fromLatin1(m.id), tr(m.title));
        ActionContainer *parent = m_pActions->getActionContainer(QString::fromLatin1(m.parent));
        if (!parent)
            continue;
        // Top-level menus go before the host's Help menu.
        parent->addMenu(menu, parent->menuBar() ? QStringLiteral("MenuBar.Help") : QString());
    }
    // The shape menu: one sub-menu per auto-shape category, each shape calling insertShape(type).
    ActionContainer *element = m_pActions->getActionContainer(QStringLiteral("MenuBar.Element"));
    ActionContainer *shape = m_pActions->createMenuContainer(QStringLiteral("Element.Shape"), tr("Shape"));
    m_pShapeMenu = shape->menu();
    if (element)
        element->addMenu(shape);
    for (int category = KVAutoShapeCatalogue::BasicShapes; category <= KVAutoShapeCatalogue::Stars; ++category) {
        const QString title = KVAutoShapeCatalogue::categoryName(category);
        ActionContainer *sub = m_pActions->createMenuContainer(QStringLiteral("Element.Shape.%1").arg(title), title);
        shape->addMenu(sub);
        for (int nType : KVAutoShapeCatalogue::shapesOf(category)) {
            const KVAutoShapeInfo *info = KVAutoShapeCatalogue::info(nType);
            QAction *a = sub->menu()->addAction(
                IUi::getInstance()->icon(QStringLiteral("autoshape/") + QString::fromLatin1(info->pszIcon)),
                KVAutoShapeCatalogue::displayName(nType));
            a->setData(nType);
            connect(a, &QAction::triggered, this, [this, nType] { emit shapeChosen(nType); });
        }
    }
}

void KVDesignerActions::createActions()
{
    for (const KVActionSpec &spec : kCatalogue) {
        auto *action = new QAction(tr(spec.text), m_pMainWindow);
        if (spec.icon)
            action->setIcon(IUi::getInstance()->icon(QString::fromLatin1(spec.icon)));
        action->setShortcut(shortcutOf(spec.shortcut));
        action->setCheckable(spec.flags & KVActionSpec::Checkable);
        action->setVisible(!(spec.flags & KVActionSpec::Hidden));
        action->setEnabled(!(spec.flags & KVActionSpec::StartsDisabled));
        if (spec.data)
            action->setData(QString::fromLatin1(spec.data));
        else if (spec.flags & KVActionSpec::WithArgument)
            action->setData(spec.argument);
        if (qstrcmp(spec.id, "File.SaveAs.Package") == 0)
            action->setStatusTip(tr("Save document as package file"));
        m_pActions->registerAction(action, QString::fromLatin1(spec.id));
        if (spec.container) {
            if (ActionContainer *c = m_pActions->getActionContainer(QString::fromLatin1(spec.container)))
                c->addAction(action);
        }
    }
    // Element.Shape opens the shape menu from the Element menu; the toolbar button shows the same.
    if (QAction *onToolbar = m_pActions->getAction(QStringLiteral("Element.Shape_On_ToolBar")))
        onToolbar->setMenu(m_pShapeMenu);
}

void KVDesignerActions::createAddKeyframeMenu()
{
    ActionContainer *timeline = m_pActions->getActionContainer(QStringLiteral("MenuBar.Timeline"));
    ActionContainer *add = m_pActions->createMenuContainer(QStringLiteral("Timeline.Add_Keyframe"), tr("Add Keyframe"));
    if (timeline)
        timeline->addMenu(add);
    for (const QString &group : KVPropertyCatalogue::orderedGroups()) {
        ActionContainer *sub = m_pActions->createMenuContainer(QStringLiteral("Timeline.Add_Keyframe.%1").arg(group),
                                                               KVPropertyCatalogue::group(KVPropertyCatalogue::catalogueOrder().value(
                                                                   firstCodeOf(group)), true));
        add->addMenu(sub);
        for (int code : KVPropertyCatalogue::catalogueOrder()) {
            if (KVPropertyCatalogue::group(code, false) != group)
                continue;
            auto *a = new QAction(KVPropertyCatalogue::displayName(code), m_pMainWindow);
            a->setData(code);
            m_pActions->registerAction(
                a, QStringLiteral("Timeline.Add_Keyframe.%1.%2").arg(group, KVPropertyCatalogue::secondName(code)));
            sub->addAction(a);
        }
    }
}

QToolBar *KVDesignerActions::addToolbar(const QString &strTitle, const QString &strObjectName,
                                        const QStringList &items)
{
    auto *toolbar = new QToolBar(strTitle, m_pMainWindow);
    toolbar->setObjectName(strObjectName);
    for (const QString &item : items) {
        if (item.isEmpty()) {
            toolbar->addSeparator();
        } else if (QAction *a = m_pActions->getAction(item)) {
            toolbar->addAction(a);
            if (item == QLatin1String("Element.Shape_On_ToolBar")) {
                if (auto *button = qobject_cast<QToolButton *>(toolbar->widgetForAction(a)))
                    button->setPopupMode(QToolButton::InstantPopup);
            }
        }
    }
    m_pMainWindow->addToolBar(Qt::TopToolBarArea, toolbar);
    if (ActionContainer *toggles = m_pActions->getActionContainer(QStringLiteral("View.Toolbars")))
        toggles->addAction(toolbar->toggleViewAction());
    m_toolbars.append(toolbar);
    return toolbar;
}

void KVDesignerActions::createToolbars()
{
    // The host's file toolbar is toggled first.
    if (ActionContainer *toggles = m_pActions->getActionContainer(QStringLiteral("View.Toolbars"))) {
        for (QToolBar *tb : m_pMainWindow->findChildren<QToolBar *>(QStringLiteral("FileToolbar")))
            toggles->addAction(tb->toggleViewAction());
    }
    QToolBar *edit = addToolbar(tr("Edit"), QStringLiteral("toolbar_edit"),
                                {QStringLiteral("Edit.Undo"), QStringLiteral("Edit.Redo"), QString(),
                                 QStringLiteral("Edit.Cut"), QStringLiteral("Edit.Copy"), QStringLiteral("Edit.Paste"),
                                 QStringLiteral("Edit.Delete")});
    if (QWidget *undo = edit->widgetForAction(m_pActions->getAction(QStringLiteral("Edit.Undo"))))
        undo->setObjectName(QStringLiteral("undo_button"));
    if (QWidget *redo = edit->widgetForAction(m_pActions->getAction(QStringLiteral("Edit.Redo"))))
        redo->setObjectName(QStringLiteral("redo_button"));

    addToolbar(tr("Insert"), QStringLiteral("toolbar_insert"),
               {QStringLiteral("Scene.Blank_Scene"), QString(), QStringLiteral("Element.Rectangle"),
                QStringLiteral("Element.Rounded_Rectangle"), QStringLiteral("Element.Ellipse"), QString(),
                QStringLiteral("Element.Text"), QStringLiteral("Element.Html_Widget"), QStringLiteral("Element.Image"),
                QStringLiteral("Element.Audio"), QStringLiteral("Element.Video"), QStringLiteral("Element.Symbol"),
                QStringLiteral("Element.Shape_On_ToolBar")});

    QToolBar *modify = addToolbar(
        tr("Modify"), QStringLiteral("toolbar_alignment"),
        {QStringLiteral("Edit.Alignment.Left"), QStringLiteral("Edit.Alignment.Center"),
         QStringLiteral("Edit.Alignment.Right"), QString(), QStringLiteral("Edit.Alignment.Top"),
         QStringLiteral("Edit.Alignment.Middle"), QStringLiteral("Edit.Alignment.Bottom"), QString(),
         QStringLiteral("Edit.Alignment.Dist_Left_Edge"), QStringLiteral("Edit.Alignment.Dist_Horz_Center"),
         QStringLiteral("Edit.Alignment.Dist_Right_Edge"), QString(), QStringLiteral("Edit.Alignment.Dist_Top_Edge"),
         QStringLiteral("Edit.Alignment.Dist_Vert_Center"), QStringLiteral("Edit.Alignment.Dist_Bottom_Edge"),
         QString(), QStringLiteral("Edit.Alignment.Dist_Horz_Space"), QStringLiteral("Edit.Alignment.Dist_Vert_Space"),
         QString()});
    m_pAlignToParent = new QCheckBox(tr("Align to Parent"), modify);
    m_pAlignToParent->setObjectName(QStringLiteral("alignToParent"));
    m_pAlignToParent->setToolTip(tr("Align/Distribute/Space within parent"));
    m_pFlexibleLayout = new QCheckBox(tr("Flexible Layout"), modify);
    m_pFlexibleLayout->setObjectName(QStringLiteral("flexibleLayout"));
    m_pFlexibleLayout->setToolTip(tr("Percentage-based positions"));
    modify->addWidget(m_pAlignToParent);
    modify->addWidget(m_pFlexibleLayout);
    modify->addSeparator();
    for (const char *id : {"Edit.Size.Same_Width", "Edit.Size.Same_Height", "Edit.Size.Same_Size"})
        modify->addAction(m_pActions->getAction(QString::fromLatin1(id)));
    modify->addSeparator();
    for (const char *id : {"Edit.Group_Elements.Group", "Edit.Group_Elements.Ungroup",
                           "Edit.Group_Elements.Add_To_Group", "Edit.Group_Elements.Remove_From_Group",
                           "Edit.Group_Elements.Layout_Group", "Edit.Convert_To_Symbol",
                           "Edit.DisplayOrder.Bring_To_Front", "Edit.DisplayOrder.Bring_Forward",
                           "Edit.DisplayOrder.Send_To_Back", "Edit.DisplayOrder.Send_Backward"})
        modify->addAction(m_pActions->getAction(QString::fromLatin1(id)));
}
