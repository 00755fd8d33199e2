#include "KVTextProperty.h"

#include "model/KVColorJson.h"
#include "model/KVJsonUtil.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

using namespace KVJsonUtil;

namespace {

const QString kDefaultFamily = QStringLiteral("Arial");

// Property codes that gate the "txt" key.
constexpr std::initializer_list<int> kTextCodes = {61, 51, 25, 23, 24, 52, 53, 54, 55, 56, 57,
                                                   26, 27, 28, 29};

} // namespace

KVTextProperty::KVTextProperty(QObject *pParent)
    : KVElementProperty(pParent)
    , m_strFontFamily(kDefaultFamily)
    , m_clForeground(defaultForeground())
    , m_clHighlight(defaultHighlight())
{
}

KVTextProperty::KVTextProperty(const KVTextProperty &other) = default;

KVTextProperty::~KVTextProperty() = default;

QColor KVTextProperty::defaultForeground()
{
    return KVColorJson::normalized(QColor(67, 67, 67));
}

QColor KVTextProperty::defaultHighlight()
{
    return KVColorJson::fromArgbInt(0);
}

KVElementProperty *KVTextProperty::clone() const
{
    return new KVTextProperty(*this);
}

void KVTextProperty::setForeground(const QColor &cl)
{
    m_clForeground = KVColorJson::normalized(cl);
}

void KVTextProperty::setHighlight(const QColor &cl)
{
    m_clHighlight = KVColorJson::normalized(cl);
}

void KVTextProperty::toJson(QJsonObject &jo) const
{
    KVElementProperty::toJson(jo);
    QJsonObject joText;
    joText.insert(QStringLiteral("html"), m_strInnerHtml);
    joText.insert(QStringLiteral("fontFamily"), m_strFontFamily);
    joText.insert(QStringLiteral("fontSize"), m_nFontSize);
    joText.insert(QStringLiteral("wordSpace"), m_nWordSpace);
    joText.insert(QStringLiteral("letterSpace"), m_nLetterSpace);
    joText.insert(QStringLiteral("bold"), m_bBold);
    joText.insert(QStringLiteral("italic"), m_bItalic);
    joText.insert(QStringLiteral("underline"), m_bUnderline);
    joText.insert(QStringLiteral("strikeout"), m_bStrikeout);
    joText.insert(QStringLiteral("alignH"), m_nAlignH);
    joText.insert(QStringLiteral("alignV"), m_nAlignV);
    joText.insert(QStringLiteral("indent"), m_nTextIndent);
    joText.insert(QStringLiteral("lineHeight"), m_dLineHeight);
    joText.insert(QStringLiteral("color"), KVColorJson::toArgbInt(m_clForeground));
    joText.insert(QStringLiteral("highlightColor"), KVColorJson::toArgbInt(m_clHighlight));
    jo.insert(QStringLiteral("text"), joText);
}

void KVTextProperty::fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext)
{
    KVElementProperty::fromJson(jo, pContext);
    const QJsonObject joText = readObject(jo, QStringLiteral("text"));
    m_strInnerHtml = readString(joText, QStringLiteral("html"));
    m_strFontFamily = readString(joText, QStringLiteral("fontFamily"), kDefaultFamily);
    m_nFontSize = readInt(joText, QStringLiteral("fontSize"), 18);
    m_nWordSpace = readInt(joText, QStringLiteral("wordSpace"), 0);
    m_nLetterSpace = readInt(joText, QStringLiteral("letterSpace"), 0);
    m_bBold = readBool(joText, QStringLiteral("bold"), false);
    m_bItalic = readBool(joText, QStringLiteral("italic"), false);
    m_bUnderline = readBool(joText, QStringLiteral("underline"), false);
    m_bStrikeout = readBool(joText, QStringLiteral("strikeout"), false);
    m_nAlignH = readInt(joText, QStringLiteral("alignH"), 4);
    m_nAlignV = readInt(joText, QStringLiteral("alignV"), 128);
    m_nTextIndent = readInt(joText, QStringLiteral("indent"), 0);
    m_dLineHeight = readDouble(joText, QStringLiteral("lineHeight"), 1.2);
    m_clForeground = KVColorJson::readColor(joText, QStringLiteral("color"), defaultForeground());
    m_clHighlight = KVColorJson::readColor(joText, QStringLiteral("highlightColor"), defaultHighlight());
}

void KVTextProperty::toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                                  bool bResponsive) const
{
    KVElementProperty::toPlayerJson(resetKeys, jo, bForCanvas, bResponsive);
    if (isGatedIn(*this, bResponsive, kTextCodes)) {
        QJsonArray ja;
        textStyleArray(ja);
        jo.insert(QStringLiteral("txt"), ja);
    }
}

void KVTextProperty::textStyleArray(QJsonArray &ja) const
{
    ja.append(m_strInnerHtml);
    ja.append(cssFontFamily(m_strFontFamily));
    ja.append(m_nFontSize);
    ja.append(KVColorJson::rgbaArray(m_clForeground));
    ja.append(KVColorJson::rgbaArray(m_clHighlight));
    ja.append(m_bBold ? QStringLiteral("bold") : QStringLiteral("normal"));
    ja.append(m_bItalic);
    ja.append(m_bUnderline);
    ja.append(m_bStrikeout);
    ja.append(m_nAlignH);
    ja.append(m_nAlignV);
    ja.append(times100(m_dLineHeight));
    ja.append(m_nTextIndent);
    ja.append(m_nWordSpace);
    ja.append(m_nLetterSpace);
}

QString KVTextProperty::cssFontFamily(const QString &strFamily)
{
    // The names of the list, split at commas outside quotes. A name in quotes is taken without
    // them; an unquoted one is trimmed and may be a generic family keyword.
    struct Name
    {
        QString strText;
        bool bQuoted = false;
    };
    QList<Name> names;
    Name name;
    QChar quote;
    auto finish = [&]() {
        if (!name.bQuoted)
            name.strText = name.strText.trimmed();
        if (name.bQuoted || !name.strText.isEmpty())
            names << name;
        name = Name();
    };
    for (int n = 0; n < strFamily.size(); ++n) {
        const QChar c = strFamily.at(n);
        if (!quote.isNull()) {
            if (c == QLatin1Char('\\') && n + 1 < strFamily.size())
                name.strText += strFamily.at(++n);
            else if (c == quote)
                quote = QChar();
            else
                name.strText += c;
        } else if (c == QLatin1Char(',')) {
            finish();
        } else if ((c == QLatin1Char('"') || c == QLatin1Char('\'')) && !name.bQuoted
                   && name.strText.trimmed().isEmpty() && strFamily.indexOf(c, n + 1) > n) {
            quote = c;
            name.strText.clear();
            name.bQuoted = true;
        } else if (!name.bQuoted || !c.isSpace()) {
            name.strText += c;
        }
    }
    finish();
    // Generic families stay keywords; every other name becomes a string in single quotes with its
    // backslashes and single quotes escaped, so that the browser keeps names such as Gill's Sans.
    static const QStringList generic{QStringLiteral("serif"), QStringLiteral("sans-serif"),
                                     QStringLiteral("monospace"), QStringLiteral("cursive"),
                                     QStringLiteral("fantasy"), QStringLiteral("system-ui")};
    QStringList css;
    for (const Name &entry : qAsConst(names)) {
        if (!entry.bQuoted && generic.contains(entry.strText, Qt::CaseInsensitive)) {
            css << entry.strText;
            continue;
        }
        QString strEscaped = entry.strText;
        strEscaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
        css << QLatin1Char('\'') + strEscaped + QLatin1Char('\'');
    }
    return css.join(QLatin1String(", "));
}

void KVTextProperty::collectFonts(KVFontFaces &fonts) const
{
    const QString strOwn = cssFontFamily(m_strFontFamily);
    fonts.insert({strOwn, m_bBold, m_bItalic});
    if (m_strInnerHtml.isEmpty())
        return;
    QTextDocument document;
    document.setHtml(m_strInnerHtml);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QString strFamily = format.fontFamily();
            fonts.insert({strFamily.isEmpty() ? strOwn : strFamily,
                          m_bBold || format.fontWeight() >= QFont::DemiBold, m_bItalic || format.fontItalic()});
        }
    }
}
