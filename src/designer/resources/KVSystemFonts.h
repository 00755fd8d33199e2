#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The fonts installed on this machine, as fontconfig knows them.
class KVSystemFonts
{
public:
    // One face of a family: its file and its index in that file (a collection holds several).
    struct Face
    {
        QString strFile;
        int nIndex = 0;
        QString strFamily; // the family of the face found, which may be a metric alias's
        bool bBold = false;
        bool bItalic = false;
    };

    // The families of the installed fonts, sorted, each once.
    static QStringList families();

    // Every installed face whose family list names strFamily (a condensed or light face too),
    // ordered by file.
    static QList<Face> faces(const QString &strFamily);

    // The face of strFamily in the style (bold: weight 700, italic or oblique), or of a family
    // that fontconfig's configuration puts in its place (Liberation Sans for Arial), before any
    // generic fallback. False when the family is not installed; a face that exists only in
    // another style (no bold face of the family) gives false too, so that no browser's own
    // emboldening is replaced by a wrong face.
    static bool findFace(const QString &strFamily, bool bBold, bool bItalic, Face &face);
};
