// The editor's action-state rules, case by case.
#include "plugin/KVActionStates.h"

#include "KVTestMain.h"

Q_DECLARE_METATYPE(KVEditorState)

class tst_ActionStates : public QObject
{
    Q_OBJECT
private slots:
    void rules_data();
    void rules();
    void zoomMarks();
};

namespace {
KVEditorState scene(int nSelected, bool bSameParent = true)
{
    KVEditorState s;
    s.bHasDocument = s.bTopLevelHasScene = s.bEditedHasScene = s.bHasCurrentScene = true;
    s.nElements = 6;
    s.nSelected = nSelected;
    s.bCanGoBack = s.bCanGoFront = nSelected > 0;
    s.bSameParent = bSameParent;
    return s;
}
} // namespace

void tst_ActionStates::rules_data()
{
    QTest::addColumn<KVEditorState>("state");
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("enabled");

    KVEditorState empty;
    QTest::newRow("no scene: no export") << empty << "File.Export_To_HTML5" << false;
    QTest::newRow("no scene: no insert") << empty << "Element.Rectangle" << false;
    QTest::newRow("scene: insert") << scene(0) << "Element.Rectangle" << true;
    QTest::newRow("scene: ruler") << scene(0) << "View.Ruler" << true;
    KVEditorState oneScene = scene(0);
    oneScene.nSelectedScenes = 1;
    QTest::newRow("duplicate one scene") << oneScene << "Scene.Duplicate_Scene" << true;
    QTest::newRow("duplicate needs one scene") << scene(0) << "Scene.Duplicate_Scene" << false;
    QTest::newRow("size needs two") << scene(1) << "Edit.Size.Same_Width" << false;
    QTest::newRow("size with two") << scene(2) << "Edit.Size" << true;
    QTest::newRow("order with one") << scene(1) << "Edit.DisplayOrder.Bring_To_Front" << true;
    QTest::newRow("order with none") << scene(0) << "Edit.DisplayOrder" << false;
    KVEditorState atBack = scene(1);
    atBack.bCanGoBack = false;
    QTest::newRow("nothing behind the backmost") << atBack << "Edit.DisplayOrder.Send_Backward" << false;
    QTest::newRow("the backmost comes forward") << atBack << "Edit.DisplayOrder.Bring_Forward" << true;
    QTest::newRow("no project: no lock") << empty << "Edit.Lock_All" << false;
    KVEditorState emptyScene = scene(0);
    emptyScene.nElements = 0;
    QTest::newRow("empty scene: no hide") << emptyScene << "Edit.Hide ALL" << false;
    QTest::newRow("empty scene: no select all") << emptyScene << "Edit.Select_All" << false;
    QTest::newRow("hide all") << scene(0) << "Edit.Hide ALL" << true;
    QTest::newRow("lock needs a selection") << scene(0) << "Edit.Lock" << false;
    QTest::newRow("lock the selection") << scene(1) << "Edit.Lock" << true;
    QTest::newRow("delete needs a selection") << scene(0) << "Edit.Delete" << false;
    KVEditorState noProject;
    noProject.bHasBreakpoints = true;
    QTest::newRow("no project: no override removal") << noProject << "Edit.Remove_All_Overrides" << false;
    KVEditorState layouts = scene(1);
    layouts.bHasBreakpoints = true;
    QTest::newRow("overrides of the selection") << layouts << "Edit.Remove_All_Overrides" << true;
    KVEditorState image = scene(1);
    image.bImageOrVideoSelected = true;
    QTest::newRow("an image at its own size") << image << "Edit.Restore_Original_Size" << false;
    image.bResizedMediaSelected = true;
    QTest::newRow("a resized image") << image << "Edit.Restore_Original_Size" << true;
    KVEditorState textEdited = scene(1);
    textEdited.bEditingText = true;
    QTest::newRow("editing text: select all the text") << textEdited << "Edit.Select_All" << true;
    QTest::newRow("editing text: delete goes to the text") << textEdited << "Edit.Delete" << false;
    QTest::newRow("copy needs a selection") << scene(0) << "Edit.Copy" << false;
    QTest::newRow("cut the selection") << scene(1) << "Edit.Cut" << true;
    QTest::newRow("editing text: the text copies") << textEdited << "Edit.Copy" << true;
    KVEditorState copied = scene(0);
    copied.bClipboardElements = true;
    QTest::newRow("paste needs a timeline") << copied << "Edit.Paste" << false;
    copied.bHasTimeline = true;
    QTest::newRow("paste copied elements") << copied << "Edit.Paste_With_Animation" << true;
    KVEditorState foreign = scene(0);
    foreign.bHasTimeline = true;
    QTest::newRow("nothing copied: no paste") << foreign << "Edit.Paste" << false;
    foreign.bEditingText = true;
    QTest::newRow("editing text: the text pastes") << foreign << "Edit.Paste" << true;
    QTest::newRow("editing text: no paste with animation") << foreign << "Edit.Paste_With_Animation" << false;
    QTest::newRow("editing text: bold") << textEdited << "Text.Bold" << true;
    QTest::newRow("editing text: paste as plain text") << textEdited << "Text.Paste_As_Plain" << true;
    QTest::newRow("no bold outside a text") << scene(1) << "Text.Bold" << false;
    QTest::newRow("align one alone") << scene(1) << "Edit.Alignment.Left" << false;
    KVEditorState alignParent = scene(1);
    alignParent.bAlignToParent = true;
    QTest::newRow("align one to parent") << alignParent << "Edit.Alignment.Left" << true;
    QTest::newRow("align two") << scene(2) << "Edit.Alignment.Center" << true;
    QTest::newRow("align two parents") << scene(2, false) << "Edit.Alignment" << false;
    QTest::newRow("distribute two") << scene(2) << "Edit.Alignment.Dist_Left_Edge" << false;
    KVEditorState twoToParent = scene(2);
    twoToParent.bAlignToParent = true;
    QTest::newRow("distribute two to parent") << twoToParent << "Edit.Alignment.Dist_Horz_Space" << true;
    QTest::newRow("distribute three") << scene(3) << "Edit.Alignment.Dist_Vert_Center" << true;
    KVEditorState text = scene(3);
    text.bEditingText = true;
    QTest::newRow("editing text: no distribute") << text << "Edit.Alignment.Dist_Vert_Center" << false;
    QTest::newRow("editing text: no group") << text << "Edit.Group_Elements.Group" << false;
    QTest::newRow("group one") << scene(1) << "Edit.Group_Elements.Group" << true;
    QTest::newRow("no ungroup without a group") << scene(1) << "Edit.Group_Elements.Ungroup" << false;
    KVEditorState group = scene(1);
    group.bGroupSelected = true;
    QTest::newRow("ungroup a group") << group << "Edit.Group_Elements.Layout_Group" << true;
    QTest::newRow("add to group needs a sibling") << group << "Edit.Group_Elements.Add_To_Group" << false;
    group.bGroupWithSibling = true;
    QTest::newRow("add to group") << group << "Edit.Group_Elements.Add_To_Group" << true;
    KVEditorState inside = scene(1, true);
    inside.bSameParent = false;
    inside.bInsideGroup = true;
    QTest::newRow("remove from group") << inside << "Edit.Group_Elements.Remove_From_Group" << true;
    QTest::newRow("group menu follows remove") << inside << "Edit.Group_Elements" << true;
    QTest::newRow("convert like group") << scene(2, false) << "Edit.Convert_To_Symbol" << false;
    KVEditorState zoomMax = scene(0);
    zoomMax.dZoom = 4.0;
    QTest::newRow("zoom in at 400%") << zoomMax << "View.Canvas.Zoom_In" << false;
    QTest::newRow("zoom out at 400%") << zoomMax << "View.Canvas.Zoom_nOut" << true;
    KVEditorState zoomMin = scene(0);
    zoomMin.dZoom = 0.1;
    QTest::newRow("zoom out at 10%") << zoomMin << "View.Canvas.Zoom_nOut" << false;
    KVEditorState preloader = scene(0);
    preloader.bPreloaderDocument = true;
    QTest::newRow("preloader cannot save as") << preloader << "File.SaveAs.Project" << false;
}

void tst_ActionStates::rules()
{
    QFETCH(KVEditorState, state);
    QFETCH(QString, id);
    QFETCH(bool, enabled);
    const KVActionStates::Result r = KVActionStates::compute(state);
    QVERIFY2(r.enabled.contains(id), qPrintable(id));
    QCOMPARE(r.enabled.value(id), enabled);
}

void tst_ActionStates::zoomMarks()
{
    KVEditorState s = scene(0);
    s.dZoom = 0.75;
    KVActionStates::Result r = KVActionStates::compute(s);
    QVERIFY(r.checked.value(QStringLiteral("View.Canvas.Zoom_75%")));
    QVERIFY(!r.checked.value(QStringLiteral("View.Canvas.Zoom_100%")));
    QVERIFY(!r.checked.value(QStringLiteral("View.Canvas.Zoom_Fit_on_Screen")));
    s.bFitToViewport = true;
    r = KVActionStates::compute(s);
    QVERIFY(!r.checked.value(QStringLiteral("View.Canvas.Zoom_75%")));
    QVERIFY(r.checked.value(QStringLiteral("View.Canvas.Zoom_Fit_on_Screen")));
    s.bImageOrVideoSelected = true;
    s.bHasBreakpoints = true;
    s.bRulerVisible = true;
    s.bSnapEnabled = false;
    r = KVActionStates::compute(s);
    QVERIFY(r.visible.value(QStringLiteral("Edit.Restore_Original_Size")));
    QVERIFY(r.visible.value(QStringLiteral("Edit.Remove_All_Overrides")));
    QVERIFY(r.checked.value(QStringLiteral("View.Ruler")));
    QVERIFY(!r.checked.value(QStringLiteral("View.Canvas.Snap")));
}

KAVIO_GUI_TEST_MAIN(tst_ActionStates)
#include "tst_actionstates.moc"
