#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Packs a TrueType or OpenType font (one face of a collection) into a WOFF 1.0 file: the same
// tables, each compressed with Zopfli into a zlib stream when that makes it smaller, behind the
// WOFF header and table directory. A browser unpacks every table to the bytes it had in the font.
class KVWoffWriter
{
    Q_DECLARE_TR_FUNCTIONS(KVWoffWriter)

public:
    // nIterations: Zopfli's passes per table (its own default is 15).
    explicit KVWoffWriter(int nIterations = 15) : m_nIterations(nIterations) {}

    // The WOFF file of face nFace of sfnt (a single font, or a collection "ttcf"); empty with a
    // message in strError when the data is no font or the face is not there.
    // privateData goes into the file's private block, which browsers pass over.
    QByteArray convert(const QByteArray &sfnt, int nFace, QString &strError,
                       const QByteArray &privateData = QByteArray()) const;

    // The private block of a WOFF file (empty when it has none or is no WOFF file).
    static QByteArray privateData(const QByteArray &woff);

private:
    int m_nIterations;
};
