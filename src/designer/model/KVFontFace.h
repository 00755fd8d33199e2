#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// A face a text is set in: its CSS family list and whether it is bold and italic. An export embeds
// the installed faces its texts use, and only those.
struct KVFontFace
{
    QString strFamily;
    bool bBold = false;
    bool bItalic = false;

    bool operator==(const KVFontFace &other) const
    {
        return strFamily == other.strFamily && bBold == other.bBold && bItalic == other.bItalic;
    }
};

inline uint qHash(const KVFontFace &face, uint nSeed = 0)
{
    return qHash(face.strFamily, nSeed) ^ (face.bBold ? 0x9e3779b9u : 0u) ^ (face.bItalic ? 0x7f4a7c15u : 0u);
}

using KVFontFaces = QSet<KVFontFace>;
