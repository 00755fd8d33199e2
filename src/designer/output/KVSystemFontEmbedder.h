#pragma once

#include "model/KVFontFace.h"

#include <QCoreApplication>
#include <QSet>
#include <QString>
#include <QStringList>

// Puts the installed fonts that a project's text uses beside its exported page: each face the text
// is set in (regular, bold, italic or bold italic, as far as the family has it) as a WOFF file in
// the export's resource folder, declared by an @font-face rule for the style sheet. A family or face
// that cannot be found or converted is left out with a line in the log; the export goes on.
class KVSystemFontEmbedder
{
    Q_DECLARE_TR_FUNCTIONS(KVSystemFontEmbedder)

public:
    // Writes into strFolder (strUrlFolder is the same folder as the style sheet refers to it) the
    // faces given (the first name of each CSS family list counts), appends their rules to strRules
    // and the names of the files written to files. Zopfli takes seconds over a face: a face packed
    // before, in this process, in the user's cache or by the export whose fonts are in
    // strPreviousFolder, is taken as it is (each WOFF file names the face it holds in its private
    // block).
    static bool write(const QString &strFolder, const QString &strUrlFolder, const QString &strPreviousFolder,
                      const KVFontFaces &faces, QString &strRules, QStringList &files);

    // The first family name of a CSS family list, its quotes and escapes taken off; empty for a
    // generic family (serif, sans-serif, ...).
    static QString firstFamily(const QString &strCssFamilies);
    // "<family>[_bold][_italic].woff" in lower case, with the characters a file name cannot hold
    // replaced by "_".
    static QString fileName(const QString &strFamily, bool bBold, bool bItalic);
    // The @font-face rule of one face.
    static QString rule(const QString &strFamily, bool bBold, bool bItalic, const QString &strUrl);
    // Converts face nFace of the font file into a WOFF file at strTarget, or takes the WOFF file
    // strEarlier when it holds that face; false (logged) when it cannot.
    static bool convertSystemFont(const QString &strFontFile, int nFace, const QString &strTarget,
                                  const QString &strEarlier = QString());
};
