#pragma once

#include <QByteArray>
#include <QJsonDocument>

// Reads JSON text into a QJsonDocument, as QJsonDocument::fromJson does, for the files people send
// each other (projects, symbol files). An object that repeats a key keeps the last value, as there.
// Qt 5's parser loses the memory of the earlier value when that value is an object or an array, so
// every opening of such a file would leak it: a text that repeats a key is first read by
// nlohmann::json and handed to Qt as written again without the repetition.
class KVJsonReader
{
public:
    static QJsonDocument parse(const QByteArray &baText, QJsonParseError *pError);
    // Whether some object of a well-formed text holds a key twice (false for malformed text).
    static bool repeatsKey(const QByteArray &baText);
};
