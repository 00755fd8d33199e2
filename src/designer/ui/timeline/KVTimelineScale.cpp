#include "KVTimelineScale.h"

#include <QtGlobal>

#include <cmath>

int KVTimelineScale::xForTime(int nTime) const
{
    return qRound(nTime * m_dPixelPerSecond / 1000.0);
}

int KVTimelineScale::timeForX(double dX) const
{
    if (m_dPixelPerSecond <= 0.0)
        return 0;
    return qMax(0, qRound(dX * 1000.0 / m_dPixelPerSecond));
}

int KVTimelineScale::zoomStep(int nSliderValue, bool bForward)
{
    const double d = bForward ? nSliderValue * 1.5 : nSliderValue / 1.5;
    return qBound(MinZoom, int(std::lround(d)), MaxZoom);
}

int KVTimelineScale::fitZoom(int nDuration, int nWidth)
{
    if (nDuration <= 0 || nWidth <= 0)
        return DefaultZoom;
    return qBound(MinZoom, int(std::floor(nWidth * 1000.0 / nDuration * 100.0)), MaxZoom);
}

double KVTimelineScale::fineLineSpacing() const
{
    const double p = m_dPixelPerSecond;
    double u = p;
    if (p < 5)
        u = p * 10;
    else if (p >= 5000)
        u = p / 1000;
    else if (p >= 500)
        u = p / 100;
    else if (p >= 50)
        u = p / 10;
    // p / (u × 5) lines per second
    return qMax(10.0, u * 5);
}

QList<int> KVTimelineScale::lineTimes(int nVisibleWidth, bool bGrid, int nGridRate) const
{
    QList<int> times;
    if (m_dPixelPerSecond <= 0.0)
        return times;
    if (bGrid && nGridRate > 0) {
        const double dStepMs = 1000.0 / nGridRate;
        for (int i = 0; xForTime(qRound(i * dStepMs)) <= nVisibleWidth; ++i)
            times.append(qRound(i * dStepMs));
        return times;
    }
    const double dSpacing = fineLineSpacing();
    for (int i = 0; i * dSpacing <= nVisibleWidth; ++i)
        times.append(qRound(i * dSpacing * 1000.0 / m_dPixelPerSecond));
    return times;
}

namespace {

// The candidate whose x is nearest to nX within the threshold; -1 when none is.
int nearest(const KVTimelineScale &scale, int nX, const QList<int> &candidates)
{
    int nBest = -1;
    int nBestDistance = KVTimelineScale::SnapThreshold + 1;
    for (int nTime : candidates) {
        const int nDistance = std::abs(scale.xForTime(nTime) - nX);
        if (nDistance < nBestDistance) {
            nBestDistance = nDistance;
            nBest = nTime;
        }
    }
    return nBest;
}

} // namespace

int KVTimelineScale::snap(int nTime, const SnapSettings &s, bool *pbSnapped) const
{
    if (pbSnapped)
        *pbSnapped = false;
    if (!s.bShowSnapping)
        return nTime;
    const int nX = xForTime(nTime);
    int nSnapped = -1;
    if (s.bSnapToKeyframes)
        nSnapped = nearest(*this, nX, s.otherTimes);
    if (nSnapped < 0 && s.bSnapToPlayhead)
        nSnapped = nearest(*this, nX, {s.nPlayheadTime});
    if (nSnapped < 0)
        nSnapped = nearest(*this, nX, lineTimes(s.nVisibleWidth, s.bSnapToGrid && s.bShowGrid, s.nGridRate));
    if (nSnapped < 0)
        return nTime;
    if (pbSnapped)
        *pbSnapped = true;
    return nSnapped;
}
