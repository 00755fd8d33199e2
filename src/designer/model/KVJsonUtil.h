#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// Tolerant readers of the project form and number formats of the player form, shared by the model
// classes. A missing key, or a value of the wrong JSON type, reads as the default the caller gives.
namespace KVJsonUtil {

// A number is read as an int when it is finite and inside the int range; a fraction is rounded to
// the nearest int. Anything else takes nDefault.
int readInt(const QJsonObject &jo, const QString &strKey, int nDefault);
int intFromJson(const QJsonValue &value, int nDefault);
double readDouble(const QJsonObject &jo, const QString &strKey, double dDefault);
bool readBool(const QJsonObject &jo, const QString &strKey, bool bDefault);
QString readString(const QJsonObject &jo, const QString &strKey, const QString &strDefault = QString());
// Empty when the key is missing or not an array.
QJsonArray readArray(const QJsonObject &jo, const QString &strKey);
QJsonObject readObject(const QJsonObject &jo, const QString &strKey);

// A fraction as the percent number of the player data (0.25 gives 25), without the binary noise of
// the multiplication (0.07 gives 7, not 7.000000000000001).
double times100(double dFraction);
// Shortest form with up to nDigits significant digits (with 6: "25", "12.5", "33.3333").
QString shortNumber(double d, int nDigits = 6);
// A left/top-like length: unit 1 (percent) gives the string "25%" for 0.25, any other unit the
// plain number of pixels.
QJsonValue playerPosition(double dValue, int nUnit);
// A width/height-like length: as playerPosition, and unit 2 (auto) gives the ratio times 100
// followed by "a" (1.5 gives "150a").
QJsonValue playerSize(double dValue, int nUnit);

// Qt's binary JSON form, which the clipboard and drag data of the editor keep (Qt marks it
// deprecated in favour of CBOR); reading validates the data.
QByteArray toBinary(const QJsonDocument &document);
QJsonDocument fromBinary(const QByteArray &data);

} // namespace KVJsonUtil
