#pragma once

#include <QString>

// Element type codes, as stored under "type" in the project file and "k" in player data.
namespace KVElementType {
enum Type {
    Image = 0,
    Audio = 1,
    Video = 2,
    HTML_Widget = 3,
    Text = 4,
    Div = 5,
    Group = 6,
    Symbol = 7,
    Scene = 8,
    Shape = 9,
    Component = 10,
    Freeform = 11,
};
constexpr int First = Image;
constexpr int Last = Freeform;

bool isValid(int nType);
// "Image", "Audio", ... "Freeform"; empty for an unknown code.
QString name(int nType);
// The code for a name, or -1.
int fromName(const QString &strName);
} // namespace KVElementType
