#pragma once

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

// One family of the web-font library as its list service describes it: the family name, its
// category, the scripts it covers, its styles and the address of each style's font file.
class KVWebFontDescription
{
public:
    QString m_strFamily;
    QString m_strCategory;
    QStringList m_subsets;
    QStringList m_variants;
    QMap<QString, QString> m_files; // variant -> address of its font file

    // "family", "category", "subsets", "variants", "files"; missing keys read as empty.
    QJsonObject toJson() const;
    static KVWebFontDescription fromJson(const QJsonObject &jo);

    bool operator==(const KVWebFontDescription &other) const;
    bool operator!=(const KVWebFontDescription &other) const { return !(*this == other); }
};
