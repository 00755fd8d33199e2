#include "KVWebFontDescription.h"

#include "model/KVJsonUtil.h"

#include <QJsonArray>

namespace {

QStringList stringList(const QJsonArray &ja)
{
    QStringList list;
    for (const QJsonValue &value : ja) {
        if (value.isString())
            list.append(value.toString());
    }
    return list;
}

} // namespace

QJsonObject KVWebFontDescription::toJson() const
{
    QJsonObject jo;
    jo.insert(QStringLiteral("family"), m_strFamily);
    jo.insert(QStringLiteral("category"), m_strCategory);
    jo.insert(QStringLiteral("subsets"), QJsonArray::fromStringList(m_subsets));
    jo.insert(QStringLiteral("variants"), QJsonArray::fromStringList(m_variants));
    QJsonObject joFiles;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it)
        joFiles.insert(it.key(), it.value());
    jo.insert(QStringLiteral("files"), joFiles);
    return jo;
}

KVWebFontDescription KVWebFontDescription::fromJson(const QJsonObject &jo)
{
    using namespace KVJsonUtil;
    KVWebFontDescription font;
    font.m_strFamily = readString(jo, QStringLiteral("family"));
    font.m_strCategory = readString(jo, QStringLiteral("category"));
    font.m_subsets = stringList(readArray(jo, QStringLiteral("subsets")));
    font.m_variants = stringList(readArray(jo, QStringLiteral("variants")));
    const QJsonObject joFiles = readObject(jo, QStringLiteral("files"));
    for (auto it = joFiles.constBegin(); it != joFiles.constEnd(); ++it) {
        if (it.value().isString())
            font.m_files.insert(it.key(), it.value().toString());
    }
    return font;
}

bool KVWebFontDescription::operator==(const KVWebFontDescription &other) const
{
    return m_strFamily == other.m_strFamily && m_strCategory == other.m_strCategory
        && m_subsets == other.m_subsets && m_variants == other.m_variants
        && m_files == other.m_files;
}
