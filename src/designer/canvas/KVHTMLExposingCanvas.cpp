#include "canvas/KVHTMLExposingCanvas.h"

#include "canvas/KVCanvas.h"

#include <QWebChannel>

KVHTMLExposingCanvas::KVHTMLExposingCanvas(KVCanvas *pCanvas)
    : QObject(pCanvas), m_pCanvas(pCanvas), m_pChannel(new QWebChannel(this))
{
    setObjectName(channelName(pCanvas->canvasId()));
    m_pChannel->registerObject(objectName(), this);
}

KVHTMLExposingCanvas::~KVHTMLExposingCanvas()
{
    m_pChannel->deregisterObject(this);
}

QString KVHTMLExposingCanvas::channelName(int nCanvasId)
{
    return QStringLiteral("kvcanvas_%1").arg(nCanvasId);
}

void KVHTMLExposingCanvas::setZoomFactor(double dFactor)
{
    // The page already shows this zoom: only the zoom control follows.
    m_pCanvas->setZoomFactor(dFactor, false, true);
}

void KVHTMLExposingCanvas::setSceneOffset(double dOffsetX, double dOffsetY)
{
    m_pCanvas->setSceneOffset(dOffsetX, dOffsetY);
}

void KVHTMLExposingCanvas::setScrollValue(double dScrollX, double dScollY)
{
    m_pCanvas->setScrollValue(dScrollX, dScollY);
}

void KVHTMLExposingCanvas::pauseTimeline()
{
    m_pCanvas->pauseTimeline();
}

void KVHTMLExposingCanvas::setFitToViewport(bool bFit)
{
    m_pCanvas->setFitToViewport(bFit, false, true);
}

void KVHTMLExposingCanvas::onTextFormatChanged(const QString &strFormat)
{
    m_pCanvas->onTextFormatChanged(strFormat);
}

void KVHTMLExposingCanvas::updateMediaProps(int nElementId, int nVideoWidth, int nVideoHeight, int nDuration)
{
    m_pCanvas->updateMediaProps(nElementId, nVideoWidth, nVideoHeight, nDuration);
}

void KVHTMLExposingCanvas::editTextInnerHTML(const QString &strHtml)
{
    m_pCanvas->editTextInnerHTML(strHtml);
}

void KVHTMLExposingCanvas::onAllTaskFinished()
{
    m_pCanvas->onAllTaskFinished();
}

void KVHTMLExposingCanvas::sendSceneDataToJS()
{
    // A page that asks for the scene has just loaded: it learns the view options with it.
    m_pCanvas->sendViewStateToJS();
    m_pCanvas->sendSceneDataToJS();
}

void KVHTMLExposingCanvas::submitCommandFromJS(const QString &jsonUpdateViewInfo, bool bRunCmdOnly)
{
    m_pCanvas->submitCommandFromJS(jsonUpdateViewInfo, bRunCmdOnly);
}

void KVHTMLExposingCanvas::setFocusedItemId(int nId)
{
    m_pCanvas->setFocusedItemId(nId);
}

void KVHTMLExposingCanvas::onShowContextMenu()
{
    m_pCanvas->showContextMenu();
}

void KVHTMLExposingCanvas::setEditingBreakpoint(int nDirection, int nValue, int nRulerPos)
{
    m_pCanvas->setEditingBreakpoint(nDirection, nValue, nRulerPos);
}

void KVHTMLExposingCanvas::setCurrentBreakpoint(int nDirection, int nPos)
{
    m_pCanvas->setCurrentBreakpoint(nDirection, nPos);
}

void KVHTMLExposingCanvas::setEditingText(bool bEditing, int nToolBarX, int nToolBarY)
{
    m_pCanvas->setEditingText(bEditing, nToolBarX, nToolBarY);
}

void KVHTMLExposingCanvas::setEditingText(bool bEditing, int nToolBarX)
{
    m_pCanvas->setEditingText(bEditing, nToolBarX);
}

void KVHTMLExposingCanvas::setEditingText(bool bEditing)
{
    m_pCanvas->setEditingText(bEditing);
}

QString KVHTMLExposingCanvas::getDoubleClickToEditText()
{
    return tr("Double-click to edit text");
}
