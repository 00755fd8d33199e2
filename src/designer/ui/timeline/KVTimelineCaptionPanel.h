#pragma once

#include <QWidget>

class KVTimeline;
class KVTimelineList;
class QComboBox;
class QMenu;
class QSlider;
class QToolButton;

// The timeline's toolbar: play/pause of the preview on the stage, the auto-keyframe toggle, the
// timeline selector with "New Timeline", "Remove Timeline", "Rename Timeline" and "Set as Main
// Timeline", the default-easing button ("Easing: %1"), the grid and snap menus, and the zoom
// slider (pixels per second × 100) with "Zoom Fit".
class KVTimelineCaptionPanel : public QWidget
{
    Q_OBJECT
public:
    explicit KVTimelineCaptionPanel(QWidget *pParent = nullptr);

    // Fills the selector from the list ("Main Timeline" for the main one, "%1 (%2)" for the others)
    // and shows the timeline's settings; null empties it.
    void showTimelines(const KVTimelineList *pList);
    void setPlaying(bool bPlaying);
    void setAutoKeyframe(bool bOn);
    void setZoom(int nSliderValue);
    int zoom() const;

    QSlider *zoomSlider() const { return m_pZoom; }
    QComboBox *timelineSelector() const { return m_pSelector; }
    QToolButton *autoKeyframeButton() const { return m_pAutoKey; }
    QToolButton *playButton() const { return m_pPlay; }
    QToolButton *easingButton() const { return m_pEasing; }
    // The label of a timeline in the selector.
    static QString selectorText(const KVTimeline *pTimeline, bool bMain);

signals:
    void playToggled();
    void autoKeyframeToggled(bool bOn);
    void timelineChosen(KVTimeline *pTimeline);
    void newTimelineRequested();
    void removeTimelineRequested();
    void renameTimelineRequested();
    void mainTimelineRequested();
    void easingButtonClicked();
    void zoomChanged(int nSliderValue);
    void zoomFitRequested();
    // A grid or snapping setting of the current timeline changed.
    void settingsChanged();

private:
    QToolButton *addButton(const QString &strText, const QString &strName);
    void buildMenus();
    void refreshMenus();

    const KVTimelineList *m_pList = nullptr;
    QToolButton *m_pPlay = nullptr;
    QToolButton *m_pAutoKey = nullptr;
    QComboBox *m_pSelector = nullptr;
    QToolButton *m_pEasing = nullptr;
    QToolButton *m_pGrid = nullptr;
    QToolButton *m_pSnap = nullptr;
    QMenu *m_pGridMenu = nullptr;
    QMenu *m_pSnapMenu = nullptr;
    QSlider *m_pZoom = nullptr;
};
