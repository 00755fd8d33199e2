#include "KVFontSubsetter.h"

#include <QRegularExpression>

#include <hb-subset.h>
#include <hb.h>

#include <algorithm>

QVector<uint> KVFontSubsetter::baseCharacters()
{
    QVector<uint> characters;
    for (uint c = 0x20; c < 0x7f; ++c)
        characters << c;
    for (uint c = 0xa0; c <= 0xff; ++c)
        characters << c;
    for (uint c = 0x2010; c <= 0x2027; ++c)
        characters << c;
    for (uint c = 0x2030; c <= 0x203a; ++c)
        characters << c;
    characters << 0x20ac << 0x2122;
    return characters;
}

QVector<uint> KVFontSubsetter::charactersOf(const QString &strText)
{
    QVector<uint> characters = baseCharacters();
    for (const uint c : strText.toUcs4()) {
        if (c >= 0x20)
            characters << c;
    }
    // Text kept as markup may spell characters as references.
    static const QRegularExpression reference(QStringLiteral("&#(?:[xX]([0-9a-fA-F]{1,6})|([0-9]{1,7}));"));
    for (auto it = reference.globalMatch(strText); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        bool bOk = false;
        const uint c = match.capturedLength(1) ? match.captured(1).toUInt(&bOk, 16) : match.captured(2).toUInt(&bOk);
        if (bOk && c >= 0x20 && c <= 0x10ffff)
            characters << c;
    }
    std::sort(characters.begin(), characters.end());
    characters.erase(std::unique(characters.begin(), characters.end()), characters.end());
    return characters;
}

QByteArray KVFontSubsetter::subset(const QByteArray &data, int nFace, const QVector<uint> &characters, QString &strError)
{
    hb_blob_t *pBlob = hb_blob_create(data.constData(), uint(data.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t *pFace = hb_face_create(pBlob, uint(std::max(0, nFace)));
    hb_blob_destroy(pBlob);
    QByteArray result;
    if (hb_face_get_glyph_count(pFace) == 0) {
        strError = QStringLiteral("the file holds no face %1").arg(nFace);
    } else if (hb_subset_input_t *pInput = hb_subset_input_create_or_fail()) {
        hb_set_t *pCharacters = hb_subset_input_unicode_set(pInput);
        for (const uint c : characters)
            hb_set_add(pCharacters, c);
        if (hb_face_t *pSubset = hb_subset_or_fail(pFace, pInput)) {
            hb_blob_t *pOut = hb_face_reference_blob(pSubset);
            unsigned int nLength = 0;
            const char *pData = hb_blob_get_data(pOut, &nLength);
            result = QByteArray(pData, int(nLength));
            hb_blob_destroy(pOut);
            hb_face_destroy(pSubset);
        }
        hb_subset_input_destroy(pInput);
        if (result.isEmpty())
            strError = QStringLiteral("HarfBuzz could not cut the face down");
    } else {
        strError = QStringLiteral("out of memory");
    }
    hb_face_destroy(pFace);
    return result;
}
