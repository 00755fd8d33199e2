#pragma once

#include <QColor>
#include <QJsonObject>
#include <QString>

// The look of a loading indicator: the built-in one of a project ("defaultLoadingIndicatorProps")
// and the one a custom preloader may show ("loadingIndicatorProps").
//
// Shapes: 0 "oval", 1 "spiral", 2 "square", 3 "rect", 4 "roundRect".
class KVLoadingIndicator
{
public:
    int m_nDiameter = 60;
    int m_nDensity = 9;
    double m_dRange = 1.0;
    int m_nSpeed = 1;
    QColor m_clColor = QColor(0x20, 0x90, 0xe6);
    int m_nShape = 0;

    bool operator==(const KVLoadingIndicator &other) const;
    bool operator!=(const KVLoadingIndicator &other) const { return !(*this == other); }

    // "diameter", "density", "range", "speed", "color" (the ARGB value as a signed int), "shape".
    QJsonObject toJson() const;
    // A key that is missing or of another type reads as 0 (a transparent colour), as files written
    // by every earlier version expect.
    static KVLoadingIndicator fromJson(const QJsonObject &jo);

    // The shape's name where it is written as text; "oval" for a code that names none.
    static QString shapeName(int nShape);
};
