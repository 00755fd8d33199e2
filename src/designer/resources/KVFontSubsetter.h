#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Cuts an installed font down to the characters a page shows (HarfBuzz's subsetter): the glyphs
// of those characters and whatever they are built from or become through the layout tables, so
// that an embedded face weighs kilobytes instead of the whole font's hundreds.
class KVFontSubsetter
{
public:
    // The characters every embedded face keeps whatever the text: printable ASCII, Latin-1's
    // letters and signs, the common punctuation and the euro sign, so that a text changed by the
    // page's own script still shows in the face most of the time.
    static QVector<uint> baseCharacters();
    // The code points of strText (its numeric character references decoded too) together with
    // baseCharacters(), sorted and without repeats.
    static QVector<uint> charactersOf(const QString &strText);

    // Face nFace of the font file data (a TrueType or OpenType file, or a collection), keeping the
    // characters given; an empty array and strError when the data is no font or HarfBuzz fails.
    static QByteArray subset(const QByteArray &data, int nFace, const QVector<uint> &characters, QString &strError);
};
