#pragma once

#include <QList>

// The time scale of the timeline view: times in milliseconds from the scene origin against x in
// pixels at a number of pixels per second, the zoom slider's values (pixels per second × 100), the
// fine lines and the grid lines that dragged times snap to, and the snapping rules themselves.
class KVTimelineScale
{
public:
    static constexpr int MinZoom = 50;
    static constexpr int MaxZoom = 100000;
    static constexpr int DefaultZoom = 5000;
    // How close, in pixels, a dragged time must come to something to snap to it.
    static constexpr int SnapThreshold = 5;

    explicit KVTimelineScale(double dPixelPerSecond = 50.0) : m_dPixelPerSecond(dPixelPerSecond) {}

    double pixelPerSecond() const { return m_dPixelPerSecond; }
    void setPixelPerSecond(double d) { m_dPixelPerSecond = d; }

    int xForTime(int nTime) const;
    // Whole milliseconds; never before the origin.
    int timeForX(double dX) const;

    // The slider value after one step of Ctrl + wheel: ×1.5 forward, ÷1.5 backward, rounded and
    // kept in the slider's range.
    static int zoomStep(int nSliderValue, bool bForward);
    // The zoom that shows nDuration ms across nWidth pixels, as a slider value in range.
    static int fitZoom(int nDuration, int nWidth);

    // Pixels between two fine lines (never closer than 10).
    double fineLineSpacing() const;
    // The times of the lines snapping walks across the visible width: the grid lines (nGridRate per
    // second) when bGrid, otherwise the fine lines.
    QList<int> lineTimes(int nVisibleWidth, bool bGrid, int nGridRate) const;

    // What snapping works with while one time is dragged.
    struct SnapSettings
    {
        bool bShowSnapping = true;
        bool bSnapToKeyframes = true;
        bool bSnapToPlayhead = true;
        bool bSnapToGrid = true;
        bool bShowGrid = false;
        int nGridRate = 1;
        int nPlayheadTime = 0;
        int nVisibleWidth = 0;
        // The times of the other, unselected items.
        QList<int> otherTimes;
    };
    // The time the dragged time snaps to (itself when nothing is near): the nearest other item
    // first, then the playhead, then the nearest line. *pbSnapped tells whether it snapped.
    int snap(int nTime, const SnapSettings &settings, bool *pbSnapped = nullptr) const;

private:
    double m_dPixelPerSecond = 50.0;
};
