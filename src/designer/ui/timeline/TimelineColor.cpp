#include "TimelineColor.h"

TimelineColor *TimelineColor::instance()
{
    static TimelineColor colors;
    return &colors;
}

TimelineColor::TimelineColor()
{
    const char *const kColors[] = {"#FFEB3B", "#8BC34A", "#4CAF50", "#009688", "#00BCD4", "#03A9F4", "#3F51B5",
                                   "#673AB7", "#9C27B0", "#E91E63", "#607D8B", "#FFC107", "#CDDC39"};
    int nKey = -1;
    for (const char *pColor : kColors)
        m_map.insert(nKey++, QColor(QLatin1String(pColor)));
}

QColor TimelineColor::elementColor(int nElementId) const
{
    const int nSize = m_map.size();
    return colorOf(nSize > 0 ? ((nElementId % nSize) + nSize) % nSize : -1);
}
