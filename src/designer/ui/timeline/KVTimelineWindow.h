#pragma once

#include "KVTimelineRows.h"
#include "KVTimelineScale.h"

#include <QAbstractAnimation>
#include <QPointer>
#include <QSet>
#include <QWidget>

class IEditor;
class KVCommand;
class KVDocument;
class KVEditContext;
class KVElement;
class KVScene;
class KVTimeEditor;
class KVTimeline;
class KVTimelineCaptionPanel;
class KVTimelineRulerPanel;
class KVTimelineScenePanel;
class KVTimelineView;

// The content of the Timeline dock: the caption panel over the scene panel (left) and the ruler
// over the view (right), for the current timeline of the active editor's current scene. It follows
// the active editor and its document's view-update messages, rebuilding its rows once a command
// that changed them has ended, and it changes the project only through commands.
class KVTimelineWindow : public QWidget
{
    Q_OBJECT
public:
    explicit KVTimelineWindow(QWidget *pParent = nullptr);
    ~KVTimelineWindow() override;

    KVTimelineCaptionPanel *captionPanel() const { return m_pCaption; }
    KVTimelineScenePanel *scenePanel() const { return m_pScenePanel; }
    KVTimelineRulerPanel *rulerPanel() const { return m_pRuler; }
    KVTimelineView *view() const { return m_pView; }
    KVTimeEditor *timeEditor() const { return m_pTimeEditor; }
    KVDocument *document() const;
    KVTimeline *timeline() const;
    const QList<KVTimelineRow> &rows() const { return m_rows; }
    const KVTimelineScale &scale() const { return m_scale; }

public slots:
    void updateEditorActivated(IEditor *pEditor);
    void updateEditorDeactivated(IEditor *pEditor);
    void handleDocumentLoaded();
    void handleDocumentChanged(QObject *pUpdateInfo);
    void handleDocumentClosing();
    // Builds every row and item again.
    void rebuild();
    // Moves the current timeline to the time and the stage with it.
    void seek(int nTime);
    // "Add Keyframe: %1" on the selected elements at the current time.
    void addKeyframe(int nPropertyCode);
    void showEasingCurvePicker();
    void createTransition();
    void removeTransition();
    void invertTransition();
    void onDelete();
    void setZoom(int nSliderValue);
    void zoomFit();
    void notifyTimestampChanged(bool bSeeking);
    void autoScrollView();

private slots:
    void newTimeline();
    void removeTimeline();
    void renameTimeline();
    void setMainTimeline();
    void chooseDefaultEasing();
    void timelinePlaybackStateChanged(QAbstractAnimation::State newState, QAbstractAnimation::State oldState);

private:
    KVScene *scene() const;
    KVEditContext context() const;
    // Pushes the command as one undo step; false for null.
    bool submit(KVCommand *pCommand);
    void followTimeline();
    void changeElementProp(KVElement *pElement, int nCode, const QVariant &value);

    QPointer<KVDocument> m_pDocument;
    QPointer<KVTimeline> m_pFollowed;
    KVTimelineCaptionPanel *m_pCaption = nullptr;
    KVTimelineScenePanel *m_pScenePanel = nullptr;
    KVTimelineRulerPanel *m_pRuler = nullptr;
    KVTimelineView *m_pView = nullptr;
    KVTimeEditor *m_pTimeEditor = nullptr;
    KVTimelineScale m_scale;
    QList<KVTimelineRow> m_rows;
    QSet<int> m_collapsedIds;
    bool m_bDirty = false;
};
