// The plug-in's command slots: each takes the active editor, does nothing unless it has a canvas,
// and otherwise hands the work to the editor or to its canvas.
#include "KVDesignerActions.h"
#include "KVDesignerPlugin.h"

#include "ActionContainer.h"
#include "ActionManager.h"
#include "KVEditor.h"
#include "document/KVDocument.h"
#include "EditorManager.h"
#include "ICore.h"
#include "IEditor.h"
#include "MainWindow.h"
#include "PluginManager.h"
#include "Reporter.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDesktopServices>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QUrl>

namespace {
// Which object each command slot hands its work to, and the method it calls there. An action whose
// method the active editor or canvas does not have yet is shown disabled.
struct Forward {
    const char *pszSlot;
    bool bToCanvas;
    const char *pszMethod; // normalised signature
};

const Forward kForwards[] = {
    {"insertBlankScene", false, "insertBlankScene()"},
    {"duplicateScene", false, "duplicateScene()"},
    {"showPreviousScene", false, "showPreviousScene()"},
    {"showNextScene", false, "showNextScene()"},
    {"selectAll", true, "onSelectAll()"},
    {"deleteSelection", true, "onDelete()"},
    {"insertRectangle", true, "addRectangle()"},
    {"insertRoundedRect", true, "addRoundedRect()"},
    {"insertEllipse", true, "addEllipse()"},
    {"insertText", true, "addText()"},
    {"insertSymbol", true, "addSymbol()"},
    {"insertHtmlWidget", true, "addHtmlWidget()"},
    {"insertImage", true, "addImage()"},
    {"insertAudio", true, "addAudio()"},
    {"insertVideo", true, "addVideo()"},
    {"setAlignLeft", true, "setAlignLeft()"},
    {"setAlignRight", true, "setAlignRight()"},
    {"setAlignTop", true, "setAlignTop()"},
    {"setAlignBottom", true, "setAlignBottom()"},
    {"setAlignVCenter", true, "setAlignVCenter()"},
    {"setAlignHCenter", true, "setAlignHCenter()"},
    {"setDistLeftEdge", true, "setDistLeftEdge()"},
    {"setDistHorzCenter", true, "setDistHorzCenter()"},
    {"setDistRightEdge", true, "setDistRightEdge()"},
    {"setDistTopEdge", true, "setDistTopEdge()"},
    {"setDistVertCenter", true, "setDistVertCenter()"},
    {"setDistBottomEdge", true, "setDistBottomEdge()"},
    {"setDistHorzSpace", true, "setDistHorzSpace()"},
    {"setDistVertSpace", true, "setDistVertSpace()"},
    {"makeSameWidth", true, "setSameWidth()"},
    {"makeSameHeight", true, "setSameHeight()"},
    {"makeSameSize", true, "setSameSize()"},
    {"bringToFront", true, "bringToFront()"},
    {"bringForward", true, "bringForward()"},
    {"sendToBack", true, "sendToBack()"},
    {"sendBackward", true, "sendBackward()"},
    {"groupElements", true, "groupElements()"},
    {"ungroupElement", true, "ungroupElement()"},
    {"addToGroup", true, "addToGroup()"},
    {"removeFromGroup", true, "removeFromGroup()"},
    {"layoutGroup", true, "layoutGroup()"},
    {"convertToSymbol", true, "convertToSymbol()"},
    {"restoreOriginalSize", true, "restoreOriginalSize()"},
    {"removeAllOverrides", true, "removeAllOverrides()"},
    {"lockAllElements", true, "lockAllElements()"},
    {"lockElements", true, "lockElements()"},
    {"hideAllElements", true, "hideAllElements()"},
    {"hideElements", true, "hideElements()"},
    {"zoomIn", true, "zoomIn()"},
    {"zoomOut", true, "zoomOut()"},
    {"zoomFit", true, "zoomFit()"},
    {"onCurrentPreview", false, "onCurrentPreview()"},
    {"onPreview", false, "onPreview()"},
    {"onExport", false, "onExport()"},
    {"saveAsPackage", false, "saveAsPackage()"},
    {"insertShape", true, "addShape(int)"},
    {"enableCanvasSnap", true, "enableSnap(bool)"},
    {"showRuler", true, "showRuler(bool)"},
    {"zoomChanged", true, "setZoom(double)"},
    {"onStageViewChanged", true, "changeStageView(int)"},
};

const Forward *forwardOf(const char *pszSlot)
{
    for (const Forward &f : kForwards) {
        if (qstrcmp(f.pszSlot, pszSlot) == 0)
            return &f;
    }
    return nullptr;
}
} // namespace

IEditor *KVDesignerPlugin::activeEditorWithCanvas() const
{
    ICore *core = ICore::instance();
    IEditor *editor = core ? core->editorManager()->activeEditor() : nullptr;
    if (!editor || !editor->property("canvas").value<QObject *>())
        return nullptr;
    return editor;
}

QObject *KVDesignerPlugin::activeCanvas() const
{
    IEditor *editor = activeEditorWithCanvas();
    return editor ? editor->property("canvas").value<QObject *>() : nullptr;
}

QObject *KVDesignerPlugin::forwardTarget(const char *pszSlot, QByteArray *pMethodName) const
{
    const Forward *f = forwardOf(pszSlot);
    IEditor *editor = activeEditorWithCanvas();
    if (!f || !editor)
        return nullptr;
    QObject *target = f->bToCanvas ? activeCanvas() : editor;
    if (!target || target->metaObject()->indexOfMethod(f->pszMethod) < 0)
        return nullptr;
    if (pMethodName) {
        const QByteArray signature(f->pszMethod);
        *pMethodName = signature.left(signature.indexOf('('));
    }
    return target;
}

bool KVDesignerPlugin::canForward(const char *pszSlot) const
{
    return forwardTarget(pszSlot) != nullptr;
}

void KVDesignerPlugin::forwardToCanvas(const char *pszSlot)
{
    QByteArray method;
    if (QObject *target = forwardTarget(pszSlot, &method))
        QMetaObject::invokeMethod(target, method.constData());
}

void KVDesignerPlugin::forwardToEditor(const char *pszSlot)
{
    forwardToCanvas(pszSlot);
}

namespace {
KVDocument *activeDocument()
{
    ICore *core = ICore::instance();
    auto *editor = qobject_cast<KVEditor *>(core ? core->editorManager()->activeEditor() : nullptr);
    return editor ? editor->document() : nullptr;
}
} // namespace

void KVDesignerPlugin::togglePlayback()
{
    if (KVDocument *pDocument = activeDocument())
        pDocument->togglePlayback();
}

void KVDesignerPlugin::goToTimelineStart()
{
    if (KVDocument *pDocument = activeDocument())
        pDocument->goToTimelineEdge(false);
}

void KVDesignerPlugin::goToTimelineEnd()
{
    if (KVDocument *pDocument = activeDocument())
        pDocument->goToTimelineEdge(true);
}

void KVDesignerPlugin::insertBlankScene() { forwardToEditor("insertBlankScene"); }
void KVDesignerPlugin::duplicateScene() { forwardToEditor("duplicateScene"); }
void KVDesignerPlugin::showPreviousScene() { forwardToEditor("showPreviousScene"); }
void KVDesignerPlugin::showNextScene() { forwardToEditor("showNextScene"); }
void KVDesignerPlugin::selectAll() { forwardToCanvas("selectAll"); }
void KVDesignerPlugin::deleteSelection() { forwardToCanvas("deleteSelection"); }
void KVDesignerPlugin::insertRectangle() { forwardToCanvas("insertRectangle"); }
void KVDesignerPlugin::insertRoundedRect() { forwardToCanvas("insertRoundedRect"); }
void KVDesignerPlugin::insertEllipse() { forwardToCanvas("insertEllipse"); }
void KVDesignerPlugin::insertText() { forwardToCanvas("insertText"); }
void KVDesignerPlugin::insertSymbol() { forwardToCanvas("insertSymbol"); }
void KVDesignerPlugin::insertHtmlWidget() { forwardToCanvas("insertHtmlWidget"); }
void KVDesignerPlugin::insertImage() { forwardToCanvas("insertImage"); }
void KVDesignerPlugin::insertAudio() { forwardToCanvas("insertAudio"); }
void KVDesignerPlugin::insertVideo() { forwardToCanvas("insertVideo"); }

void KVDesignerPlugin::insertShape(int nId)
{
    QByteArray method;
    if (QObject *target = forwardTarget("insertShape", &method))
        QMetaObject::invokeMethod(target, method.constData(), Q_ARG(int, nId));
}

void KVDesignerPlugin::setAlignLeft() { forwardToCanvas("setAlignLeft"); }
void KVDesignerPlugin::setAlignRight() { forwardToCanvas("setAlignRight"); }
void KVDesignerPlugin::setAlignTop() { forwardToCanvas("setAlignTop"); }
void KVDesignerPlugin::setAlignBottom() { forwardToCanvas("setAlignBottom"); }
void KVDesignerPlugin::setAlignVCenter() { forwardToCanvas("setAlignVCenter"); }
void KVDesignerPlugin::setAlignHCenter() { forwardToCanvas("setAlignHCenter"); }
void KVDesignerPlugin::setDistLeftEdge() { forwardToCanvas("setDistLeftEdge"); }
void KVDesignerPlugin::setDistHorzCenter() { forwardToCanvas("setDistHorzCenter"); }
void KVDesignerPlugin::setDistRightEdge() { forwardToCanvas("setDistRightEdge"); }
void KVDesignerPlugin::setDistTopEdge() { forwardToCanvas("setDistTopEdge"); }
void KVDesignerPlugin::setDistVertCenter() { forwardToCanvas("setDistVertCenter"); }
void KVDesignerPlugin::setDistBottomEdge() { forwardToCanvas("setDistBottomEdge"); }
void KVDesignerPlugin::setDistHorzSpace() { forwardToCanvas("setDistHorzSpace"); }
void KVDesignerPlugin::setDistVertSpace() { forwardToCanvas("setDistVertSpace"); }
void KVDesignerPlugin::makeSameWidth() { forwardToCanvas("makeSameWidth"); }
void KVDesignerPlugin::makeSameHeight() { forwardToCanvas("makeSameHeight"); }
void KVDesignerPlugin::makeSameSize() { forwardToCanvas("makeSameSize"); }
void KVDesignerPlugin::bringToFront() { forwardToCanvas("bringToFront"); }
void KVDesignerPlugin::bringForward() { forwardToCanvas("bringForward"); }
void KVDesignerPlugin::sendToBack() { forwardToCanvas("sendToBack"); }
void KVDesignerPlugin::sendBackward() { forwardToCanvas("sendBackward"); }
void KVDesignerPlugin::groupElements() { forwardToCanvas("groupElements"); }
void KVDesignerPlugin::ungroupElement() { forwardToCanvas("ungroupElement"); }
void KVDesignerPlugin::addToGroup() { forwardToCanvas("addToGroup"); }
void KVDesignerPlugin::removeFromGroup() { forwardToCanvas("removeFromGroup"); }
void KVDesignerPlugin::layoutGroup() { forwardToCanvas("layoutGroup"); }
void KVDesignerPlugin::convertToSymbol() { forwardToCanvas("convertToSymbol"); }
void KVDesignerPlugin::restoreOriginalSize() { forwardToCanvas("restoreOriginalSize"); }
void KVDesignerPlugin::removeAllOverrides() { forwardToCanvas("removeAllOverrides"); }
void KVDesignerPlugin::lockAllElements() { forwardToCanvas("lockAllElements"); }
void KVDesignerPlugin::lockElements() { forwardToCanvas("lockElements"); }
void KVDesignerPlugin::hideAllElements() { forwardToCanvas("hideAllElements"); }
void KVDesignerPlugin::hideElements() { forwardToCanvas("hideElements"); }
void KVDesignerPlugin::zoomIn() { forwardToCanvas("zoomIn"); }
void KVDesignerPlugin::zoomOut() { forwardToCanvas("zoomOut"); }
void KVDesignerPlugin::zoomFit() { forwardToCanvas("zoomFit"); }
void KVDesignerPlugin::onCurrentPreview() { forwardToEditor("onCurrentPreview"); }
void KVDesignerPlugin::onPreview() { forwardToEditor("onPreview"); }
void KVDesignerPlugin::onExport() { forwardToEditor("onExport"); }
void KVDesignerPlugin::saveAsPackage() { forwardToEditor("saveAsPackage"); }

void KVDesignerPlugin::enableCanvasSnap(bool bEnabled)
{
    QByteArray method;
    if (QObject *target = forwardTarget("enableCanvasSnap", &method))
        QMetaObject::invokeMethod(target, method.constData(), Q_ARG(bool, bEnabled));
}

void KVDesignerPlugin::showRuler(bool bShow)
{
    QByteArray method;
    if (QObject *target = forwardTarget("showRuler", &method))
        QMetaObject::invokeMethod(target, method.constData(), Q_ARG(bool, bShow));
}

void KVDesignerPlugin::zoomChanged(int nPercentage)
{
    QByteArray method;
    if (QObject *target = forwardTarget("zoomChanged", &method))
        QMetaObject::invokeMethod(target, method.constData(), Q_ARG(double, nPercentage / 100.0));
}

void KVDesignerPlugin::showShapeMenu()
{
    if (activeCanvas() && m_pActions && m_pActions->shapeMenu())
        m_pActions->shapeMenu()->popup(QCursor::pos());
}

void KVDesignerPlugin::onStageViewChanged()
{
    // Front, top, side, reset: the view index the page understands.
    static const QStringList ids = {QStringLiteral("View.Stage.Front_View"), QStringLiteral("View.Stage.Top_View"),
                                    QStringLiteral("View.Stage.Side_View"), QStringLiteral("View.Stage.Reset_View")};
    auto *action = qobject_cast<QAction *>(sender());
    const int view = action ? ids.indexOf(action->objectName()) : -1;
    QByteArray method;
    QObject *target = forwardTarget("onStageViewChanged", &method);
    if (target && view >= 0)
        QMetaObject::invokeMethod(target, method.constData(), Q_ARG(int, view));
}

void KVDesignerPlugin::onAlignToLayoutChanged(int nState)
{
    if (m_pActions && m_pActions->flexibleLayoutBox())
        m_pActions->flexibleLayoutBox()->setEnabled(nState == Qt::Checked);
    if (QObject *canvas = activeCanvas())
        canvas->setProperty("alignToParent", nState == Qt::Checked);
}

void KVDesignerPlugin::onFluidLayoutChanged(int nState)
{
    if (QObject *canvas = activeCanvas())
        canvas->setProperty("fluidLayout", nState == Qt::Checked);
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
    // The state rules first; then an action the editor or canvas cannot carry out yet is disabled.
    IEditor *active = ICore::instance()->editorManager()->activeEditor();
    const auto *editor = qobject_cast<KVEditor *>(active);
    KVActionStates::Result rules;
    const KVEditorState state = editor ? editor->editorState() : KVEditorState();
    if (editor) {
        rules = KVActionStates::compute(state);
        for (auto it = rules.enabled.cbegin(); it != rules.enabled.cend(); ++it) {
            if (QAction *action = am->getAction(it.key()))
                action->setEnabled(it.value());
            else if (ActionContainer *menu = am->getActionContainer(it.key()))
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
    }
    for (const KVActionSpec &spec : KVDesignerActions::catalogue()) {
        if (!spec.slot || !forwardOf(spec.slot))
            continue;
        const QString id = QString::fromLatin1(spec.id);
        if (QAction *action = am->getAction(id))
            action->setEnabled(canForward(spec.slot) && rules.enabled.value(id, true));
    }
    for (const char *id : {"File.Preview_Current_Scene_In_Browser", "File.Preview_Project_In_Browser",
                           "File.Export_To_HTML5"}) {
        static const QHash<QByteArray, const char *> hostSlots = {
            {"File.Preview_Current_Scene_In_Browser", "onCurrentPreview"},
            {"File.Preview_Project_In_Browser", "onPreview"},
            {"File.Export_To_HTML5", "onExport"}};
        if (QAction *action = am->getAction(QString::fromLatin1(id)))
            action->setEnabled(canForward(hostSlots.value(id)) && rules.enabled.value(QString::fromLatin1(id), true));
    }
    if (m_pActions && m_pActions->shapeMenu()) {
        const bool bShapes = canForward("insertShape")
                             && (!editor || state.bHasCurrentScene);
        for (QAction *category : m_pActions->shapeMenu()->actions())
            category->setEnabled(bShapes);
        if (QAction *onToolbar = am->getAction(QStringLiteral("Element.Shape_On_ToolBar")))
            onToolbar->setEnabled(bShapes);
    }
}
