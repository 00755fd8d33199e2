#pragma once

#include <QJsonArray>
#include <QString>

// The transitions with which the player enters a scene, and their directions. The editor shows the
// names; the model stores the codes.
namespace KVSceneTransition {

enum Type {
    None = 0,
    Fade = 1,
    Push = 2,
    Wipe = 3,
    Cover = 4,
    Uncover = 5,
};
constexpr int TypeCount = 6;

enum Direction {
    NoDirection = -1,
    FromLeft = 0,
    FromTop = 1,
    FromRight = 2,
    FromBottom = 3,
    FromTopLeft = 4,
    FromTopRight = 5,
    FromBottomLeft = 6,
    FromBottomRight = 7,
};
constexpr int DirectionCount = 8;

// "None", "Fade", "Push", "Wipe", "Cover", "Uncover" (translated); empty for another code.
QString typeName(int nType);
// "From Left" ... "From Bottom Right" (translated); empty for another code, -1 included.
QString directionName(int nDirection);
// The untranslated names, for lookups and tests.
QString typeSourceName(int nType);
QString directionSourceName(int nDirection);

// Which settings the editor offers for a type: duration and easing for every type but None,
// direction for Push, Wipe, Cover and Uncover.
bool hasDuration(int nType);
bool hasEasing(int nType);
bool hasDirection(int nType);

// The player's "st" entry: [type, duration], then easing for Fade and easing and direction for
// Push. The player takes no easing or direction for the other types.
QJsonArray toPlayerArray(int nType, int nDuration, int nEasing, int nDirection);

} // namespace KVSceneTransition
