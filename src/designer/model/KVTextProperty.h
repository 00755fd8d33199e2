#pragma once

#include "model/KVElementProperty.h"

#include <QColor>

// The text of a text box, rectangle or shape at one layout: rich text (HTML) with its default font,
// size, colours, spacing, style switches and alignment. Alignments are Qt alignment flag values:
// horizontal 1 left, 2 right, 4 centre, 8 justify; vertical 32 top, 64 bottom, 128 centre.
class KVTextProperty : public KVElementProperty
{
    Q_OBJECT
    Q_PROPERTY(QString m_strInnerHtml READ innerHtml WRITE setInnerHtml)
    Q_PROPERTY(QColor m_clForeground READ foreground WRITE setForeground)
    Q_PROPERTY(QColor m_clHighlight READ highlight WRITE setHighlight)
    Q_PROPERTY(int m_nFontSize READ fontSize WRITE setFontSize)
    Q_PROPERTY(int m_nTextIndent READ textIndent WRITE setTextIndent)
    Q_PROPERTY(double m_dLineHeight READ lineHeight WRITE setLineHeight)
    Q_PROPERTY(int m_nLetterSpace READ letterSpace WRITE setLetterSpace)
    Q_PROPERTY(int m_nWordSpace READ wordSpace WRITE setWordSpace)

public:
    explicit KVTextProperty(QObject *pParent = nullptr);
    KVTextProperty(const KVTextProperty &other);
    ~KVTextProperty() override;

    static QColor defaultForeground(); // opaque RGB(67, 67, 67)
    static QColor defaultHighlight();  // transparent (ARGB 0)

    KVElementProperty *clone() const override;
    // Adds "text" with the text settings.
    void toJson(QJsonObject &jo) const override;
    // Adds "txt" (the text array) after the common keys.
    void toPlayerJson(QJsonArray &resetKeys, QJsonObject &jo, bool bForCanvas,
                      bool bResponsive) const override;
    void fromJson(const QJsonObject &jo, const IKVDocumentContext *pContext) override;
    // The text's own face, and the face of every run of the HTML (a run without a family of its
    // own is in the text's family; a bold or italic text makes every run bold or italic).
    void collectFonts(KVFontFaces &fonts) const override;

    // The "txt" array: [html, CSS family, size, [r,g,b,a], [r,g,b,a] highlight, "bold"/"normal",
    // italic, underline, strikeout, align H, align V, line height x 100, indent, word space,
    // letter space].
    void textStyleArray(QJsonArray &ja) const;

    // A family or family list as CSS: each name in single quotes with its quotes and backslashes
    // escaped (Arial gives 'Arial', Gill's Sans gives 'Gill\'s Sans'), quotes around a name taken
    // off first; generic families (serif, sans-serif, ...) stay keywords.
    static QString cssFontFamily(const QString &strFamily);

    QString innerHtml() const { return m_strInnerHtml; }
    void setInnerHtml(const QString &str) { m_strInnerHtml = str; }
    QString fontFamily() const { return m_strFontFamily; }
    void setFontFamily(const QString &str) { m_strFontFamily = str; }
    QColor foreground() const { return m_clForeground; }
    void setForeground(const QColor &cl);
    QColor highlight() const { return m_clHighlight; }
    void setHighlight(const QColor &cl);
    int fontSize() const { return m_nFontSize; }
    void setFontSize(int n) { m_nFontSize = n; }
    int textIndent() const { return m_nTextIndent; }
    void setTextIndent(int n) { m_nTextIndent = n; }
    double lineHeight() const { return m_dLineHeight; }
    void setLineHeight(double d) { m_dLineHeight = d; }
    int letterSpace() const { return m_nLetterSpace; }
    void setLetterSpace(int n) { m_nLetterSpace = n; }
    int wordSpace() const { return m_nWordSpace; }
    void setWordSpace(int n) { m_nWordSpace = n; }
    bool isBold() const { return m_bBold; }
    void setBold(bool b) { m_bBold = b; }
    bool isItalic() const { return m_bItalic; }
    void setItalic(bool b) { m_bItalic = b; }
    bool isUnderline() const { return m_bUnderline; }
    void setUnderline(bool b) { m_bUnderline = b; }
    bool isStrikeout() const { return m_bStrikeout; }
    void setStrikeout(bool b) { m_bStrikeout = b; }
    int alignH() const { return m_nAlignH; }
    void setAlignH(int n) { m_nAlignH = n; }
    int alignV() const { return m_nAlignV; }
    void setAlignV(int n) { m_nAlignV = n; }

private:
    QString m_strInnerHtml;
    QString m_strFontFamily;
    QColor m_clForeground;
    QColor m_clHighlight;
    int m_nFontSize = 18;
    int m_nTextIndent = 0;
    double m_dLineHeight = 1.2;
    int m_nLetterSpace = 0;
    int m_nWordSpace = 0;
    bool m_bBold = false;
    bool m_bItalic = false;
    bool m_bUnderline = false;
    bool m_bStrikeout = false;
    int m_nAlignH = 4;
    int m_nAlignV = 128;
};
