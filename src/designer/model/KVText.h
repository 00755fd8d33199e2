#pragma once

#include "model/KVElement.h"

#include <QColor>

class KVTextProperty;

// A text box (type code 4). Its property objects are KVTextProperty; the text settings of the
// current layout are Qt properties named after the model members so that animations can drive them.
// Rectangles and shapes build on it.
class KVText : public KVElement
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
    KVText();
    ~KVText() override;

    int type() const override;
    KVElement *clone() const override;
    // The element defaults, then 200 x 50 pixels at the current layout.
    void init() override;

    // The "txt" array of the current layout for the canvas page's text editor; empty without a
    // text property there.
    void textStyle(QJsonArray &ja) const;

    // The layout's text property, null when the layout has none.
    KVTextProperty *textProperty(const KVLayoutKey &layout = KVLayoutKey::current()) const;

    QString innerHtml(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setInnerHtml(const QString &str, const KVLayoutKey &layout = KVLayoutKey::current());
    QString fontFamily(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setFontFamily(const QString &str, const KVLayoutKey &layout = KVLayoutKey::current());
    QColor foreground(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setForeground(const QColor &cl, const KVLayoutKey &layout = KVLayoutKey::current());
    QColor highlight(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setHighlight(const QColor &cl, const KVLayoutKey &layout = KVLayoutKey::current());
    int fontSize(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setFontSize(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int textIndent(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setTextIndent(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    double lineHeight(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setLineHeight(double d, const KVLayoutKey &layout = KVLayoutKey::current());
    int letterSpace(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setLetterSpace(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int wordSpace(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setWordSpace(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    bool isBold(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setBold(bool b, const KVLayoutKey &layout = KVLayoutKey::current());
    bool isItalic(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setItalic(bool b, const KVLayoutKey &layout = KVLayoutKey::current());
    bool isUnderline(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setUnderline(bool b, const KVLayoutKey &layout = KVLayoutKey::current());
    bool isStrikeout(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setStrikeout(bool b, const KVLayoutKey &layout = KVLayoutKey::current());
    int alignH(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setAlignH(int n, const KVLayoutKey &layout = KVLayoutKey::current());
    int alignV(const KVLayoutKey &layout = KVLayoutKey::current()) const;
    void setAlignV(int n, const KVLayoutKey &layout = KVLayoutKey::current());

protected:
    // Rectangles and shapes: solid fill and white text at the current layout.
    void initFilledBox();
};
