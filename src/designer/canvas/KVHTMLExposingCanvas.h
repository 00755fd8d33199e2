#pragma once

#include <QObject>

class KVCanvas;
class QWebChannel;

// The object a canvas page talks to, registered as "kvcanvas_<id>" on a web channel of its own that
// the canvas hands its page in-process: the page reaches this object and nothing else, and no
// socket leads to it. Its signals are what the page listens to; its slots are what the page may
// call, each handed to the canvas.
class KVHTMLExposingCanvas : public QObject
{
    Q_OBJECT
public:
    // Takes the canvas as parent and registers itself on its own channel.
    explicit KVHTMLExposingCanvas(KVCanvas *pCanvas);
    ~KVHTMLExposingCanvas() override;

    KVCanvas *canvas() const { return m_pCanvas; }
    // The channel for the canvas's page, holding this object alone.
    QWebChannel *channel() const { return m_pChannel; }
    // "kvcanvas_%1" with the canvas id.
    static QString channelName(int nCanvasId);

signals:
    void play(int nTS);
    void pause(int nTS);
    void setCurrentTime(int nCurrentTime, bool bSeeking);
    void autoKeyframeModeChanged(bool bAuto);
    void dataChangedToJS(const QString &jsonUpdateViewInfo);
    void insertRectangle();
    void insertRoundedRect();
    void insertEllipse();
    void insertShape(int nId);
    void startEditText(int nElementId);
    void stopEditText(bool bImmediately);
    void stopEditText();
    void editPoint(int nElementId, bool bEditPoint);
    void openPath(int nElementId, bool bOpenPath);
    void straightSegment(int nElementId);
    void requestEditHtml();
    void zoomFactorChanged(double dZoomFactor);
    void fitToViewportChanged(bool bFitToViewport);
    void snapEnabledChanged(bool bEnabled);
    void rulerVisibilityChanged(bool show);
    void containerHandlerVisibilityChanged(bool show);
    void transformToolChanged(int tool);
    void currentSceneChanged(bool bHasScene, const QString &strSceneData);
    void editTextOnSingleClicked(bool bSingleClick);
    void execTextEditorCommand(const QString &cmdName, const QString &value);
    void requestSendCurrentTextFormat();
    void finishAllTask();
    void needRepaint();
    void needUpdateScenePos();
    void cancelBuildingItem();
    void textEditShortcutsChanged(const QString &strShortcuts);
    void changeStageView(int eViewMode);

public slots:
    void setZoomFactor(double dFactor);
    void setSceneOffset(double dOffsetX, double dOffsetY);
    void setScrollValue(double dScrollX, double dScollY);
    void pauseTimeline();
    void setFitToViewport(bool bFit);
    void onTextFormatChanged(const QString &strFormat);
    void editTextInnerHTML(const QString &strHtml);
    void updateMediaProps(int nElementId, int nVideoWidth, int nVideoHeight, int nDuration);
    void onAllTaskFinished();
    void sendSceneDataToJS();
    void submitCommandFromJS(const QString &jsonUpdateViewInfo, bool bRunCmdOnly);
    void setFocusedItemId(int nId);
    void setEditingBreakpoint(int nDirection, int nValue, int nRulerPos);
    void setCurrentBreakpoint(int nDirection, int nPos);
    void setEditingText(bool bEditing, int nToolBarX, int nToolBarY);
    void setEditingText(bool bEditing, int nToolBarX);
    void setEditingText(bool bEditing);
    QString getDoubleClickToEditText();
    void onShowContextMenu();

private:
    KVCanvas *m_pCanvas;
    QWebChannel *m_pChannel;
};
