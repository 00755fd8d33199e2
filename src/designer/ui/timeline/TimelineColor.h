#pragma once

#include <QColor>
#include <QMap>

// The lane colours of the timeline, one process-wide table from key to colour. An element's lane
// marker takes the colour whose key is the element's id modulo the table's size; the scene row,
// and an id whose key has no entry, take the colour of key -1.
class TimelineColor
{
public:
    static TimelineColor *instance();

    QColor colorOf(int nKey) const { return m_map.value(nKey, m_map.value(-1)); }
    QColor elementColor(int nElementId) const;
    QColor sceneColor() const { return m_map.value(-1); }

private:
    TimelineColor();
    QMap<int, QColor> m_map;
};
