#include "KVSystemFonts.h"

#include <QSet>

#include <fontconfig/fontconfig.h>

#include <algorithm>

namespace {

QString stringOf(FcPattern *pPattern, const char *pObject, int n = 0)
{
    FcChar8 *pValue = nullptr;
    if (FcPatternGetString(pPattern, pObject, n, &pValue) != FcResultMatch || !pValue)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char *>(pValue));
}

int intOf(FcPattern *pPattern, const char *pObject, int nDefault)
{
    int nValue = nDefault;
    if (FcPatternGetInteger(pPattern, pObject, 0, &nValue) != FcResultMatch)
        return nDefault;
    return nValue;
}

bool isGeneric(const QString &strFamily)
{
    static const QStringList generic{QStringLiteral("serif"),   QStringLiteral("sans-serif"),
                                     QStringLiteral("sans"),    QStringLiteral("monospace"),
                                     QStringLiteral("mono"),    QStringLiteral("cursive"),
                                     QStringLiteral("fantasy"), QStringLiteral("system-ui"),
                                     QStringLiteral("emoji"),   QStringLiteral("math")};
    return generic.contains(strFamily, Qt::CaseInsensitive);
}

// The weight and slant that the font file of a matched pattern declares.
void storedStyle(FcPattern *pMatch, int &nWeight, int &nSlant)
{
    nWeight = intOf(pMatch, FC_WEIGHT, FC_WEIGHT_REGULAR);
    nSlant = intOf(pMatch, FC_SLANT, FC_SLANT_ROMAN);
    FcChar8 *pFile = nullptr;
    if (FcPatternGetString(pMatch, FC_FILE, 0, &pFile) != FcResultMatch || !pFile)
        return;
    FcPattern *pPattern = FcPatternCreate();
    FcPatternAddString(pPattern, FC_FILE, pFile);
    FcPatternAddInteger(pPattern, FC_INDEX, intOf(pMatch, FC_INDEX, 0));
    FcObjectSet *pObjects = FcObjectSetBuild(FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet *pSet = FcFontList(nullptr, pPattern, pObjects);
    if (pSet && pSet->nfont > 0) {
        nWeight = intOf(pSet->fonts[0], FC_WEIGHT, nWeight);
        nSlant = intOf(pSet->fonts[0], FC_SLANT, nSlant);
    }
    if (pSet)
        FcFontSetDestroy(pSet);
    FcObjectSetDestroy(pObjects);
    FcPatternDestroy(pPattern);
}

} // namespace

QStringList KVSystemFonts::families()
{
    QStringList list;
    if (!FcInit())
        return list;
    FcPattern *pPattern = FcPatternCreate();
    FcObjectSet *pObjects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *pSet = FcFontList(nullptr, pPattern, pObjects);
    QSet<QString> seen;
    for (int i = 0; pSet && i < pSet->nfont; ++i) {
        // A face names its family in several languages; the first is the one it is known by.
        const QString strFamily = stringOf(pSet->fonts[i], FC_FAMILY);
        if (!strFamily.isEmpty() && !seen.contains(strFamily.toLower())) {
            seen.insert(strFamily.toLower());
            list << strFamily;
        }
    }
    if (pSet)
        FcFontSetDestroy(pSet);
    FcObjectSetDestroy(pObjects);
    FcPatternDestroy(pPattern);
    std::sort(list.begin(), list.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return list;
}

QList<KVSystemFonts::Face> KVSystemFonts::faces(const QString &strFamily)
{
    QList<Face> list;
    if (strFamily.trimmed().isEmpty() || !FcInit())
        return list;
    FcPattern *pPattern = FcPatternCreate();
    FcPatternAddString(pPattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(strFamily.toUtf8().constData()));
    FcObjectSet *pObjects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet *pSet = FcFontList(nullptr, pPattern, pObjects);
    for (int i = 0; pSet && i < pSet->nfont; ++i) {
        FcPattern *pFont = pSet->fonts[i];
        Face face;
        face.strFile = stringOf(pFont, FC_FILE);
        face.nIndex = intOf(pFont, FC_INDEX, 0) & 0xFFFF;
        face.strFamily = stringOf(pFont, FC_FAMILY);
        face.bBold = intOf(pFont, FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_DEMIBOLD;
        face.bItalic = intOf(pFont, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
        if (!face.strFile.isEmpty())
            list << face;
    }
    if (pSet)
        FcFontSetDestroy(pSet);
    FcObjectSetDestroy(pObjects);
    FcPatternDestroy(pPattern);
    std::sort(list.begin(), list.end(), [](const Face &a, const Face &b) {
        return a.strFile == b.strFile ? a.nIndex < b.nIndex : a.strFile < b.strFile;
    });
    return list;
}

bool KVSystemFonts::findFace(const QString &strFamily, bool bBold, bool bItalic, Face &face)
{
    if (strFamily.trimmed().isEmpty() || isGeneric(strFamily) || !FcInit())
        return false;
    FcPattern *pPattern = FcPatternCreate();
    FcPatternAddString(pPattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(strFamily.toUtf8().constData()));
    FcPatternAddInteger(pPattern, FC_WEIGHT, bBold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pPattern, FC_SLANT, bItalic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pPattern, FcMatchPattern);
    FcDefaultSubstitute(pPattern);
    // The families the configuration accepts in place of the one asked for: those listed before
    // the first generic family (metric aliases come there, the catch-all fonts after it).
    QStringList accepted;
    for (int n = 0;; ++n) {
        const QString strName = stringOf(pPattern, FC_FAMILY, n);
        if (strName.isEmpty() || isGeneric(strName))
            break;
        accepted << strName;
    }
    FcResult result = FcResultNoMatch;
    FcPattern *pMatch = FcFontMatch(nullptr, pPattern, &result);
    bool bFound = false;
    if (pMatch && result == FcResultMatch) {
        const QString strMatched = stringOf(pMatch, FC_FAMILY);
        // The face's own style: the match carries a bold or slant that the configuration makes up
        // for a face that lacks it (synthetic emboldening and slanting).
        int nWeight = FC_WEIGHT_REGULAR;
        int nSlant = FC_SLANT_ROMAN;
        storedStyle(pMatch, nWeight, nSlant);
        const bool bMatchedBold = nWeight >= FC_WEIGHT_DEMIBOLD;
        const bool bMatchedItalic = nSlant != FC_SLANT_ROMAN;
        if (accepted.contains(strMatched, Qt::CaseInsensitive) && bMatchedBold == bBold && bMatchedItalic == bItalic) {
            face.strFile = stringOf(pMatch, FC_FILE);
            face.nIndex = intOf(pMatch, FC_INDEX, 0) & 0xFFFF; // the high bits name a variable font's instance
            face.strFamily = strMatched;
            face.bBold = bMatchedBold;
            face.bItalic = bMatchedItalic;
            bFound = !face.strFile.isEmpty();
        }
    }
    if (pMatch)
        FcPatternDestroy(pMatch);
    FcPatternDestroy(pPattern);
    return bFound;
}
