#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The resource kinds: their type codes, the file extensions each kind accepts, the file-dialog
// filters of the import dialogs and the sanitising rules for names.
class KVResourceType
{
    Q_DECLARE_TR_FUNCTIONS(KVResourceType)
public:
    enum Type {
        AnyImportable = -1, // every importable kind except fonts
        Image = 0,
        Audio = 1,
        Video = 2,
        Symbol = 3,
        Font = 4,
        Script = 5,
        StyleSheet = 6,
        HtmlPage = 7,
    };

    static bool isValid(int nType) { return nType >= Image && nType <= HtmlPage; }

    // Lower-case extensions of a kind; AnyImportable gives the union of images, audio, video,
    // symbols, scripts, style sheets and HTML pages.
    static QStringList suffixes(int nType);
    // Whether the extension (any case, without the dot) belongs to the kind.
    static bool acceptsSuffix(int nType, const QString &strSuffix);
    // The kind a file is imported as, judged by its extension; -1 when none accepts it. "svg" is an
    // image (fonts are only imported as fonts on purpose).
    static int typeOfFile(const QString &strFileName);

    // Filters of the import dialogs.
    static QString allKindsFilter();
    static QString codeFilter();
    static QString widgetSourceFilter();

    // A plain file name: each of / \ : * ? " < > | and each control character replaced by "_", and a
    // name made only of dots ("." or "..") made of as many "_".
    static QString sanitizedFileName(const QString &strName);
    // Other names: each of < > : " | ? * and line feed replaced by "_".
    static QString sanitizedName(const QString &strName);

    // The text naming the kind in the export dialog ("Image File", ...; "Misc File" otherwise).
    static QString fileKindText(int nType);
};
