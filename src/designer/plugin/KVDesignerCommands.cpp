// The plug-in's commands: each action of the catalogue that the editor can carry out is connected
// here to a slot that takes the active editor and hands the work to it or to its canvas. An action
// connected to nothing is shown disabled, whatever the state rules say.
#include "KVDesignerActions.h"
#include "KVDesignerPlugin.h"
#include "KVInteractionTools.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "KVEditor.h"
#include "canvas/KVCanvas.h"
#include "canvas/KVHTMLExposingCanvas.h"
#include "animation/KVPropertyCatalogue.h"
#include "document/KVDocument.h"
#include "ui/timeline/KVTimelineWindow.h"
#include "EditorManager.h"
#include "ICore.h"
#include "IEditor.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "Reporter.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QCursor>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

KVEditor *KVDesignerPlugin::activeEditor() const
{
    ICore *core = ICore::instance();
    return qobject_cast<KVEditor *>(core ? core->editorManager()->activeEditor() : nullptr);
}

KVCanvas *KVDesignerPlugin::activeCanvas() const
{
    KVEditor *editor = activeEditor();
    return editor ? editor->canvasView() : nullptr;
}

void KVDesignerPlugin::connectCommands()
{
    ActionManager *am = ICore::instance()->actionManager();
    using Command = void (KVDesignerPlugin::*)();
    static const QList<QPair<const char *, Command>> kCommands = {
        {"Edit.Delete", &KVDesignerPlugin::deleteSelection},
        {"Edit.Copy", &KVDesignerPlugin::copySelection},
        {"Edit.Cut", &KVDesignerPlugin::cutSelection},
        {"Edit.Paste", &KVDesignerPlugin::pasteElements},
        {"Edit.Paste_With_Animation", &KVDesignerPlugin::pasteWithAnimation},
        {"Edit.Select_All", &KVDesignerPlugin::selectAll},
        {"Edit.Group_Elements.Group", &KVDesignerPlugin::groupElements},
        {"Edit.Group_Elements.Ungroup", &KVDesignerPlugin::ungroupElement},
        {"Edit.Group_Elements.Add_To_Group", &KVDesignerPlugin::addToGroup},
        {"Edit.Group_Elements.Remove_From_Group", &KVDesignerPlugin::removeFromGroup},
        {"Edit.Restore_Original_Size", &KVDesignerPlugin::restoreOriginalSize},
        {"Edit.Remove_All_Overrides", &KVDesignerPlugin::removeAllOverrides},
        {"Edit.Size.Same_Width", &KVDesignerPlugin::makeSameWidth},
        {"Edit.Size.Same_Height", &KVDesignerPlugin::makeSameHeight},
        {"Edit.Size.Same_Size", &KVDesignerPlugin::makeSameSize},
        {"Edit.Alignment.Left", &KVDesignerPlugin::setAlignLeft},
        {"Edit.Alignment.Right", &KVDesignerPlugin::setAlignRight},
        {"Edit.Alignment.Top", &KVDesignerPlugin::setAlignTop},
        {"Edit.Alignment.Bottom", &KVDesignerPlugin::setAlignBottom},
        {"Edit.Alignment.Center", &KVDesignerPlugin::setAlignHCenter},
        {"Edit.Alignment.Middle", &KVDesignerPlugin::setAlignVCenter},
        {"Edit.Alignment.Dist_Left_Edge", &KVDesignerPlugin::setDistLeftEdge},
        {"Edit.Alignment.Dist_Horz_Center", &KVDesignerPlugin::setDistHorzCenter},
        {"Edit.Alignment.Dist_Right_Edge", &KVDesignerPlugin::setDistRightEdge},
        {"Edit.Alignment.Dist_Top_Edge", &KVDesignerPlugin::setDistTopEdge},
        {"Edit.Alignment.Dist_Vert_Center", &KVDesignerPlugin::setDistVertCenter},
        {"Edit.Alignment.Dist_Bottom_Edge", &KVDesignerPlugin::setDistBottomEdge},
        {"Edit.Alignment.Dist_Horz_Space", &KVDesignerPlugin::setDistHorzSpace},
        {"Edit.Alignment.Dist_Vert_Space", &KVDesignerPlugin::setDistVertSpace},
        {"Edit.DisplayOrder.Bring_To_Front", &KVDesignerPlugin::bringToFront},
        {"Edit.DisplayOrder.Bring_Forward", &KVDesignerPlugin::bringForward},
        {"Edit.DisplayOrder.Send_To_Back", &KVDesignerPlugin::sendToBack},
        {"Edit.DisplayOrder.Send_Backward", &KVDesignerPlugin::sendBackward},
        {"Edit.Lock_All", &KVDesignerPlugin::lockAllElements},
        {"Edit.Lock", &KVDesignerPlugin::lockElements},
        {"Edit.Hide ALL", &KVDesignerPlugin::hideAllElements},
        {"Edit.Hide", &KVDesignerPlugin::hideElements},
        {"View.Canvas.Zoom_In", &KVDesignerPlugin::zoomIn},
        {"View.Canvas.Zoom_nOut", &KVDesignerPlugin::zoomOut},
        {"View.Canvas.Zoom_Fit_on_Screen", &KVDesignerPlugin::zoomFit},
        {"Element.Rectangle", &KVDesignerPlugin::insertRectangle},
        {"Element.Rounded_Rectangle", &KVDesignerPlugin::insertRoundedRect},
        {"Element.Ellipse", &KVDesignerPlugin::insertEllipse},
        {"Element.Text", &KVDesignerPlugin::insertText},
        {"Element.Html_Widget", &KVDesignerPlugin::insertHtmlWidget},
        {"Element.Image", &KVDesignerPlugin::insertImage},
        {"Element.Audio", &KVDesignerPlugin::insertAudio},
        {"Element.Video", &KVDesignerPlugin::insertVideo},
        {"Element.Symbol", &KVDesignerPlugin::insertSymbol},
        {"Element.Shape_On_ToolBar", &KVDesignerPlugin::showShapeMenu},
        {"Scene.Previous_Scene", &KVDesignerPlugin::showPreviousScene},
        {"Scene.Next_Scene", &KVDesignerPlugin::showNextScene},
        {"Timeline.Play", &KVDesignerPlugin::togglePlayback},
        {"Timeline.Go_To_Start", &KVDesignerPlugin::goToTimelineStart},
        {"Timeline.Go_To_End", &KVDesignerPlugin::goToTimelineEnd},
        // The host's browser preview and export.
        {"File.Preview_Current_Scene_In_Browser", &KVDesignerPlugin::onCurrentPreview},
        {"File.Preview_Project_In_Browser", &KVDesignerPlugin::onPreview},
        {"File.Export_To_HTML5", &KVDesignerPlugin::onExport},
        {"File.SaveAs.Package", &KVDesignerPlugin::saveAsPackage},
    };
    for (const auto &command : kCommands) {
        if (QAction *action = am->getAction(QString::fromLatin1(command.first))) {
            connect(action, &QAction::triggered, this, command.second);
            m_connectedIds.insert(action->objectName());
        }
    }
    using Switch = void (KVDesignerPlugin::*)(bool);
    static const QList<QPair<const char *, Switch>> kSwitches = {{"View.Ruler", &KVDesignerPlugin::showRuler},
                                                                {"View.Canvas.Snap", &KVDesignerPlugin::enableCanvasSnap}};
    for (const auto &toggle : kSwitches) {
        if (QAction *action = am->getAction(QString::fromLatin1(toggle.first))) {
            connect(action, &QAction::triggered, this, toggle.second);
            m_connectedIds.insert(action->objectName());
        }
    }
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        if (!(spec.flags & KVActionSpec::WithArgument) || !QByteArray(spec.id).startsWith("View.Canvas.Zoom_"))
            continue;
        const int nPercent = spec.argument;
        if (QAction *action = am->getAction(QString::fromLatin1(spec.id))) {
            connect(action, &QAction::triggered, this, [this, nPercent] { zoomChanged(nPercent); });
            m_connectedIds.insert(action->objectName());
        }
    }
    // The Text actions run their editor command in the page while a text is edited there; Paste as
    // Plain Text inserts the clipboard's text without its formatting.
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        if (!QByteArray(spec.id).startsWith("Text.") || !spec.data)
            continue;
        const QString strCommand = QString::fromLatin1(spec.data);
        const bool bPlain = QByteArray(spec.id) == "Text.Paste_As_Plain";
        if (QAction *action = am->getAction(QString::fromLatin1(spec.id))) {
            connect(action, &QAction::triggered, this, [this, strCommand, bPlain] {
                KVCanvas *canvas = activeCanvas();
                if (!canvas || !canvas->isEditingText())
                    return;
                const QString strValue = bPlain ? QGuiApplication::clipboard()->text() : QString();
                emit canvas->exposingObject()->execTextEditorCommand(strCommand, strValue);
            });
            m_connectedIds.insert(action->objectName());
        }
    }
    // The timeline's commands act through the Timeline dock's window, on the active editor's document.
    for (int nCode : KVPropertyCatalogue::catalogueOrder()) {
        const QString id = QStringLiteral("Timeline.Add_Keyframe.%1.%2")
                               .arg(KVPropertyCatalogue::group(nCode, false), KVPropertyCatalogue::secondName(nCode));
        if (QAction *action = am->getAction(id)) {
            connect(action, &QAction::triggered, this, [this, nCode] {
                if (m_pTimelineWindow && activeEditor())
                    m_pTimelineWindow->addKeyframe(nCode);
            });
            m_connectedIds.insert(id);
        }
    }
    if (QAction *action = am->getAction(QStringLiteral("Timeline.Auto_Keyframe_Mode"))) {
        connect(action, &QAction::triggered, this, [this] {
            if (KVEditor *editor = activeEditor())
                editor->document()->setAutoKeyframeMode(!editor->document()->isAutoKeyframeMode());
            updateActionAvailability();
        });
        m_connectedIds.insert(action->objectName());
    }
    // The event-action dialog, the functions panel and the copying of handler lists.
    m_pInteraction = new KVInteractionTools([this] { return activeEditor(); }, ICore::instance()->getMainWindow(), this);
    m_connectedIds.unite(m_pInteraction->connectActions(am));
    connect(m_pActions, &KVDesignerActions::shapeChosen, this, &KVDesignerPlugin::insertShape);
    connect(m_pActions->alignToParentBox(), &QCheckBox::stateChanged, this,
            &KVDesignerPlugin::onAlignToLayoutChanged);
    connect(m_pActions->flexibleLayoutBox(), &QCheckBox::stateChanged, this,
            &KVDesignerPlugin::onFluidLayoutChanged);
}

bool KVDesignerPlugin::isConnected(const QString &strId) const
{
    return m_connectedIds.contains(strId);
}

void KVDesignerPlugin::showPreviousScene()
{
    if (KVEditor *editor = activeEditor())
        editor->showPreviousScene();
}

void KVDesignerPlugin::showNextScene()
{
    if (KVEditor *editor = activeEditor())
        editor->showNextScene();
}

void KVDesignerPlugin::togglePlayback()
{
    if (KVEditor *editor = activeEditor()) {
        if (KVDocument *pDocument = editor->document())
            pDocument->togglePlayback();
    }
}

void KVDesignerPlugin::goToTimelineStart()
{
    if (KVEditor *editor = activeEditor()) {
        if (KVDocument *pDocument = editor->document())
            pDocument->goToTimelineEdge(false);
    }
}

void KVDesignerPlugin::goToTimelineEnd()
{
    if (KVEditor *editor = activeEditor()) {
        if (KVDocument *pDocument = editor->document())
            pDocument->goToTimelineEdge(true);
    }
}

// The canvas commands: nothing happens without an active editor.
#define KV_ON_CANVAS(slot, call)                                                                             \
    void KVDesignerPlugin::slot()                                                                            \
    {                                                                                                        \
        if (KVCanvas *canvas = activeCanvas())                                                               \
            canvas->call;                                                                                    \
    }

KV_ON_CANVAS(selectAll, onSelectAll())
KV_ON_CANVAS(deleteSelection, onDelete())
KV_ON_CANVAS(copySelection, onCopy())
KV_ON_CANVAS(cutSelection, onCut())
KV_ON_CANVAS(pasteElements, onPaste())
KV_ON_CANVAS(pasteWithAnimation, onPasteWithAnimation())
KV_ON_CANVAS(insertRectangle, addRectangle())
KV_ON_CANVAS(insertRoundedRect, addRoundedRect())
KV_ON_CANVAS(insertEllipse, addEllipse())
KV_ON_CANVAS(insertText, addText())
KV_ON_CANVAS(insertSymbol, addSymbol())
KV_ON_CANVAS(insertHtmlWidget, addHtmlWidget())
KV_ON_CANVAS(insertImage, addImage())
KV_ON_CANVAS(insertAudio, addAudio())
KV_ON_CANVAS(insertVideo, addVideo())
KV_ON_CANVAS(setAlignLeft, setAlignLeft())
KV_ON_CANVAS(setAlignRight, setAlignRight())
KV_ON_CANVAS(setAlignTop, setAlignTop())
KV_ON_CANVAS(setAlignBottom, setAlignBottom())
KV_ON_CANVAS(setAlignVCenter, setAlignVCenter())
KV_ON_CANVAS(setAlignHCenter, setAlignHCenter())
KV_ON_CANVAS(setDistLeftEdge, setDistLeftEdge())
KV_ON_CANVAS(setDistHorzCenter, setDistHorzCenter())
KV_ON_CANVAS(setDistRightEdge, setDistRightEdge())
KV_ON_CANVAS(setDistTopEdge, setDistTopEdge())
KV_ON_CANVAS(setDistVertCenter, setDistVertCenter())
KV_ON_CANVAS(setDistBottomEdge, setDistBottomEdge())
KV_ON_CANVAS(setDistHorzSpace, setDistHorzSpace())
KV_ON_CANVAS(setDistVertSpace, setDistVertSpace())
KV_ON_CANVAS(makeSameWidth, setSameWidth())
KV_ON_CANVAS(makeSameHeight, setSameHeight())
KV_ON_CANVAS(makeSameSize, setSameSize())
KV_ON_CANVAS(bringToFront, bringToFront())
KV_ON_CANVAS(bringForward, bringForward())
KV_ON_CANVAS(sendToBack, sendToBack())
KV_ON_CANVAS(sendBackward, sendBackward())
KV_ON_CANVAS(groupElements, groupElements())
KV_ON_CANVAS(ungroupElement, ungroupElement())
KV_ON_CANVAS(addToGroup, addToGroup())
KV_ON_CANVAS(removeFromGroup, removeFromGroup())
KV_ON_CANVAS(restoreOriginalSize, restoreOriginalSize())
KV_ON_CANVAS(removeAllOverrides, removeAllOverrides())
KV_ON_CANVAS(lockAllElements, lockAllElements())
KV_ON_CANVAS(lockElements, lockElements())
KV_ON_CANVAS(hideAllElements, hideAllElements())
KV_ON_CANVAS(hideElements, hideElements())
KV_ON_CANVAS(zoomIn, zoomIn())
KV_ON_CANVAS(zoomOut, zoomOut())
KV_ON_CANVAS(zoomFit, zoomFit())
#undef KV_ON_CANVAS

void KVDesignerPlugin::insertShape(int nId)
{
    if (KVCanvas *canvas = activeCanvas())
        canvas->addShape(nId);
}

void KVDesignerPlugin::enableCanvasSnap(bool bEnabled)
{
    if (KVCanvas *canvas = activeCanvas())
        canvas->enableSnap(bEnabled);
}

void KVDesignerPlugin::showRuler(bool bShow)
{
    if (KVCanvas *canvas = activeCanvas())
        canvas->showRuler(bShow);
}

void KVDesignerPlugin::zoomChanged(int nPercentage)
{
    if (KVCanvas *canvas = activeCanvas())
        canvas->setZoomPercent(nPercentage);
}

void KVDesignerPlugin::onCurrentPreview()
{
    if (KVEditor *editor = activeEditor())
        editor->onCurrentPreview();
}

void KVDesignerPlugin::onPreview()
{
    if (KVEditor *editor = activeEditor())
        editor->onPreview();
}

void KVDesignerPlugin::onExport()
{
    if (KVEditor *editor = activeEditor())
        editor->onExport();
}

void KVDesignerPlugin::saveAsPackage()
{
    if (KVEditor *editor = activeEditor())
        editor->saveAsPackage();
}

void KVDesignerPlugin::showShapeMenu()
{
    if (activeCanvas() && m_pActions && m_pActions->shapeMenu())
        m_pActions->shapeMenu()->popup(QCursor::pos());
}

void KVDesignerPlugin::onAlignToLayoutChanged(int nState)
{
    if (m_pActions && m_pActions->flexibleLayoutBox())
        m_pActions->flexibleLayoutBox()->setEnabled(nState == Qt::Checked);
    if (KVCanvas *canvas = activeCanvas())
        canvas->setAlignToParent(nState == Qt::Checked);
}

void KVDesignerPlugin::onFluidLayoutChanged(int nState)
{
    if (KVCanvas *canvas = activeCanvas())
        canvas->setFluidLayout(nState == Qt::Checked);
}

void KVDesignerPlugin::onZoomEntered(const QString &strText)
{
    // "150%", "150" or "150 %"; anything else puts the canvas's zoom back in the box.
    QString text = strText;
    text.remove(QLatin1Char('%'));
    bool bOk = false;
    const int nPercent = text.trimmed().toInt(&bOk);
    KVCanvas *canvas = activeCanvas();
    if (canvas && bOk && nPercent > 0)
        canvas->setZoomPercent(nPercent);
    showCanvasZoom();
}

void KVDesignerPlugin::showCanvasZoom()
{
    KVCanvas *canvas = activeCanvas();
    if (!m_pZoom)
        return;
    m_pZoom->setVisible(canvas != nullptr);
    if (!canvas)
        return;
    const QSignalBlocker blocker(m_pZoom);
    m_pZoom->setEditText(QStringLiteral("%1%").arg(qRound(canvas->zoomFactor() * 100)));
}

void KVDesignerPlugin::showAbout()
{
    ICore *core = ICore::instance();
    QMessageBox::about(core ? core->getMainWindow() : nullptr, tr("About Kavio Studio"),
                       tr("<h3>Kavio Studio %1</h3><p>An open-source authoring tool for HTML5 animations.</p>")
                           .arg(core ? core->version() : QString()));
}

void KVDesignerPlugin::openCommunity()
{
    const QString url = ExtensionSystem::PluginManager::settings()->value(QStringLiteral("Kavio/CommunityUrl")).toString();
    if (url.isEmpty()) {
        Reporter::information(tr("No community forum address is configured."));
        return;
    }
    QDesktopServices::openUrl(QUrl(url));
}

void KVDesignerPlugin::updateActionAvailability()
{
    ActionManager *am = ICore::instance() ? ICore::instance()->actionManager() : nullptr;
    if (!am)
        return;
    KVEditor *editor = activeEditor();
    const KVEditorState state = editor ? editor->editorState() : KVEditorState();
    const KVActionStates::Result rules = KVActionStates::compute(state);
    // Menus by the rules; without an editor the editor's menus are hidden anyway.
    for (auto it = rules.enabled.cbegin(); it != rules.enabled.cend(); ++it) {
        if (ActionContainer *menu = am->getActionContainer(it.key()))
            menu->setEnabled(it.value());
    }
    for (auto it = rules.visible.cbegin(); it != rules.visible.cend(); ++it) {
        if (QAction *action = am->getAction(it.key()))
            action->setVisible(it.value());
    }
    for (auto it = rules.checked.cbegin(); it != rules.checked.cend(); ++it) {
        if (QAction *action = am->getAction(it.key()))
            action->setChecked(it.value());
    }
    // An action is offered only when it is connected, an editor is active and the rules allow it.
    QStringList ids = m_connectedIds.values();
    for (const KVActionSpec &spec : KVDesignerActions::catalogue())
        ids.append(QString::fromLatin1(spec.id));
    for (const QString &id : qAsConst(ids)) {
        if (QAction *action = am->getAction(id))
            action->setEnabled(editor && m_connectedIds.contains(id) && rules.enabled.value(id, true));
    }
    // Handler lists are copied from one owner (an element or the scene) and pasted when copied ones wait.
    if (QAction *action = am->getAction(QStringLiteral("Edit.Copy_Event_Actions")))
        action->setEnabled(action->isEnabled() && KVInteractionTools::canCopyEventActions(editor->document()));
    if (QAction *action = am->getAction(QStringLiteral("Edit.Paste_Event_Actions")))
        action->setEnabled(action->isEnabled() && state.nSelected <= 1 && KVInteractionTools::hasCopiedHandlers());
    // The auto-keyframe switch shows the mode of the active editor's document.
    if (QAction *action = am->getAction(QStringLiteral("Timeline.Auto_Keyframe_Mode")))
        action->setChecked(editor && editor->document() && editor->document()->isAutoKeyframeMode());
    if (m_pActions && m_pActions->shapeMenu()) {
        const bool bShapes = editor && state.bHasCurrentScene;
        for (QAction *category : m_pActions->shapeMenu()->actions())
            category->setEnabled(bShapes);
    }
    showCanvasZoom();
}
