#pragma once

#include "KVResource.h"
#include "KVWebFontDescription.h"

#include <memory>

// A font: a font file imported from disk, or a family of the web-font library (then it carries the
// library's description of the family).
class KVFontResource : public KVResource
{
public:
    explicit KVFontResource(const QString &strName = QString(), const QString &strFileName = QString());
    ~KVFontResource() override;

    KVResource *clone() const override;
    void writeKindJson(QJsonObject &jo) const override;
    void readKindJson(const QJsonObject &jo) override;

    // Null for a font file imported from disk.
    const KVWebFontDescription *webFont() const { return m_pWebFont.get(); }
    void setWebFont(const KVWebFontDescription &font);
    void clearWebFont() { m_pWebFont.reset(); }

    // The family the font database gave for the file once registered (empty before).
    QString family() const { return m_strFamily; }
    void setFamily(const QString &strFamily) { m_strFamily = strFamily; }

protected:
    KVFontResource(const KVFontResource &other);

private:
    std::unique_ptr<KVWebFontDescription> m_pWebFont;
    QString m_strFamily;
};
