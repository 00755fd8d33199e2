#include "KVFontResource.h"

#include "KVResourceType.h"
#include "model/KVJsonUtil.h"

KVFontResource::KVFontResource(const QString &strName, const QString &strFileName)
    : KVResource(KVResourceType::Font, strName, strFileName)
{
}

KVFontResource::KVFontResource(const KVFontResource &other)
    : KVResource(other)
    , m_pWebFont(other.m_pWebFont ? std::make_unique<KVWebFontDescription>(*other.m_pWebFont) : nullptr)
    , m_strFamily(other.m_strFamily)
{
}

KVFontResource::~KVFontResource() = default;

KVResource *KVFontResource::clone() const
{
    return new KVFontResource(*this);
}

void KVFontResource::setWebFont(const KVWebFontDescription &font)
{
    m_pWebFont = std::make_unique<KVWebFontDescription>(font);
}

void KVFontResource::writeKindJson(QJsonObject &jo) const
{
    if (m_pWebFont)
        jo.insert(QStringLiteral("googlefont"), m_pWebFont->toJson());
}

void KVFontResource::readKindJson(const QJsonObject &jo)
{
    const QJsonValue value = jo.value(QStringLiteral("googlefont"));
    if (value.isObject())
        m_pWebFont = std::make_unique<KVWebFontDescription>(KVWebFontDescription::fromJson(value.toObject()));
    else
        m_pWebFont.reset();
}
