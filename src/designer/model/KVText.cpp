#include "KVText.h"

#include "model/KVBackground.h"
#include "model/KVElementType.h"
#include "model/KVTextProperty.h"

KVText::KVText() = default;

KVText::~KVText() = default;

int KVText::type() const
{
    return KVElementType::Text;
}

KVElement *KVText::clone() const
{
    return copyElementInto(new KVText);
}

void KVText::init()
{
    KVElement::init();
    setSizeW(200.0);
    setSizeH(50.0);
}

void KVText::initFilledBox()
{
    if (KVBackground *pFill = background())
        pFill->setFillStyle(KVBackground::SolidFill);
    setForeground(QColor(Qt::white));
}

void KVText::textStyle(QJsonArray &ja) const
{
    if (const KVTextProperty *pText = textProperty())
        pText->textStyleArray(ja);
}

KVTextProperty *KVText::textProperty(const KVLayoutKey &layout) const
{
    return qobject_cast<KVTextProperty *>(property(layout));
}

#define KV_TEXT_VALUE(Type, ParamType, getter, setter, neutral)                                    \
    Type KVText::getter(const KVLayoutKey &layout) const                                           \
    {                                                                                              \
        const KVTextProperty *pText = textProperty(layout);                                        \
        return pText ? pText->getter() : (neutral);                                                \
    }                                                                                              \
    void KVText::setter(ParamType value, const KVLayoutKey &layout)                                \
    {                                                                                              \
        if (KVTextProperty *pText = textProperty(layout))                                          \
            pText->setter(value);                                                                  \
    }

KV_TEXT_VALUE(QString, const QString &, innerHtml, setInnerHtml, QString())
KV_TEXT_VALUE(QString, const QString &, fontFamily, setFontFamily, QString())
KV_TEXT_VALUE(QColor, const QColor &, foreground, setForeground, QColor())
KV_TEXT_VALUE(QColor, const QColor &, highlight, setHighlight, QColor())
KV_TEXT_VALUE(int, int, fontSize, setFontSize, 0)
KV_TEXT_VALUE(int, int, textIndent, setTextIndent, 0)
KV_TEXT_VALUE(double, double, lineHeight, setLineHeight, 0.0)
KV_TEXT_VALUE(int, int, letterSpace, setLetterSpace, 0)
KV_TEXT_VALUE(int, int, wordSpace, setWordSpace, 0)
KV_TEXT_VALUE(bool, bool, isBold, setBold, false)
KV_TEXT_VALUE(bool, bool, isItalic, setItalic, false)
KV_TEXT_VALUE(bool, bool, isUnderline, setUnderline, false)
KV_TEXT_VALUE(bool, bool, isStrikeout, setStrikeout, false)
KV_TEXT_VALUE(int, int, alignH, setAlignH, 0)
KV_TEXT_VALUE(int, int, alignV, setAlignV, 0)

#undef KV_TEXT_VALUE
