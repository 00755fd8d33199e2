// The plug-in's command slots: each takes the active editor, does nothing unless it has a canvas,
// and otherwise hands the work to the editor or to its canvas.
#include "KVDesignerActions.h"
#include "KVDesignerPlugin.h"

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

void KVDesignerPlugin::forwardToCanvas(const char *pszMethod)
{
    if (QObject *canvas = activeCanvas())
        QMetaObject::invokeMethod(canvas, pszMethod);
}

void KVDesignerPlugin::forwardToEditor(const char *pszMethod)
{
    if (IEditor *editor = activeEditorWithCanvas())
        QMetaObject::invokeMethod(editor, pszMethod);
}

void KVDesignerPlugin::insertBlankScene() { forwardToEditor("insertBlankScene"); }
void KVDesignerPlugin::duplicateScene() { forwardToEditor("duplicateScene"); }
void KVDesignerPlugin::insertRectangle() { forwardToCanvas("addRectangle"); }
void KVDesignerPlugin::insertRoundedRect() { forwardToCanvas("addRoundedRect"); }
void KVDesignerPlugin::insertEllipse() { forwardToCanvas("addEllipse"); }
void KVDesignerPlugin::insertText() { forwardToCanvas("addText"); }
void KVDesignerPlugin::insertSymbol() { forwardToCanvas("addSymbol"); }
void KVDesignerPlugin::insertHtmlWidget() { forwardToCanvas("addHtmlWidget"); }
void KVDesignerPlugin::insertImage() { forwardToCanvas("addImage"); }
void KVDesignerPlugin::insertAudio() { forwardToCanvas("addAudio"); }
void KVDesignerPlugin::insertVideo() { forwardToCanvas("addVideo"); }

void KVDesignerPlugin::insertShape(int nId)
{
    if (QObject *canvas = activeCanvas())
        QMetaObject::invokeMethod(canvas, "addShape", Q_ARG(int, nId));
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
void KVDesignerPlugin::makeSameWidth() { forwardToCanvas("setSameWidth"); }
void KVDesignerPlugin::makeSameHeight() { forwardToCanvas("setSameHeight"); }
void KVDesignerPlugin::makeSameSize() { forwardToCanvas("setSameSize"); }
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
    if (QObject *canvas = activeCanvas())
        QMetaObject::invokeMethod(canvas, "enableSnap", Q_ARG(bool, bEnabled));
}

void KVDesignerPlugin::showRuler(bool bShow)
{
    if (QObject *canvas = activeCanvas())
        QMetaObject::invokeMethod(canvas, "showRuler", Q_ARG(bool, bShow));
}

void KVDesignerPlugin::zoomChanged(int nPercentage)
{
    if (QObject *canvas = activeCanvas())
        QMetaObject::invokeMethod(canvas, "setZoom", Q_ARG(double, nPercentage / 100.0));
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
    QObject *canvas = activeCanvas();
    if (canvas && view >= 0)
        QMetaObject::invokeMethod(canvas, "changeStageView", Q_ARG(int, view));
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
