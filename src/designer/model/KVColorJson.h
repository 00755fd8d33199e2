#pragma once

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// Colour encodings of the stage model. The project file holds a colour as one number, the 32-bit
// ARGB value taken as a signed int (opaque black is -16777216, opaque white -1); the player data holds
// four ints red, green, blue, alpha, each 0..255.
namespace KVColorJson {

// The colour reduced to 8 bits per channel in RGB spec; model setters store colours this way so that
// equality means equal ARGB values.
QColor normalized(const QColor &cl);

qint32 toArgbInt(const QColor &cl);
QColor fromArgbInt(qint32 nArgb);

// Reads a colour number; a missing key, a value that is not a whole number, or one outside the
// signed and unsigned 32-bit range takes clDefault. An unsigned ARGB number (4294901760) reads as
// the same colour as its signed form (-65536).
QColor readColor(const QJsonObject &jo, const QString &strKey, const QColor &clDefault);
QColor colorFromJson(const QJsonValue &value, const QColor &clDefault);

// Appends red, green, blue, alpha to a player array.
void appendRgba(QJsonArray &ja, const QColor &cl);
QJsonArray rgbaArray(const QColor &cl);

} // namespace KVColorJson
