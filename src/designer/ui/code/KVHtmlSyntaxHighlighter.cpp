#include "KVHtmlSyntaxHighlighter.h"

KVHtmlSyntaxHighlighter::KVHtmlSyntaxHighlighter(QTextDocument *pDocument)
    : KVSyntaxHighlighter(pDocument)
{
    addRule(QStringLiteral("</?|/?>|="), QStringLiteral("Operator"));
    // An attribute name inside a tag, before its "=".
    addRule(QStringLiteral("\\s([A-Za-z_:][-\\w:.]*)\\s*="), QStringLiteral("Identifier"));
    addRule(QStringLiteral("&#?\\w+;"), QStringLiteral("Number"));
    QStringList escaped;
    for (const QString &strTag : tagNames())
        escaped.append(strTag);
    addRule(QStringLiteral("</?(%1)(?![-\\w])").arg(escaped.join(QLatin1Char('|'))), QStringLiteral("Keyword"),
            QRegularExpression::CaseInsensitiveOption);
    addRule(QStringLiteral("(?<==)\\s*(\"[^\"]*\"?|'[^']*'?)"), QStringLiteral("String"));
    setBlockComment(QStringLiteral("<!--"), QStringLiteral("-->"));
}

QStringList KVHtmlSyntaxHighlighter::tagNames()
{
    return {"a", "abbr", "acronym", "address", "applet", "area", "article", "aside", "audio", "b", "base",
            "basefont", "bdi", "bdo", "big", "blockquote", "body", "br", "button", "canvas", "caption", "center",
            "cite", "code", "col", "colgroup", "data", "datalist", "dd", "del", "details", "dfn", "dialog", "dir",
            "div", "dl", "dt", "em", "embed", "fieldset", "figcaption", "figure", "font", "footer", "form", "frame",
            "frameset", "h1", "h2", "h3", "h4", "h5", "h6", "head", "header", "hr", "html", "i", "iframe", "img",
            "input", "ins", "kbd", "label", "legend", "li", "link", "main", "map", "mark", "menu", "menuitem",
            "meta", "meter", "nav", "noframes", "noscript", "object", "ol", "optgroup", "option", "output", "p",
            "param", "picture", "pre", "progress", "q", "rp", "rt", "ruby", "s", "samp", "script", "section",
            "select", "small", "source", "span", "strike", "strong", "style", "sub", "summary", "sup", "svg",
            "table", "tbody", "td", "template", "textarea", "tfoot", "th", "thead", "time", "title", "tr", "track",
            "tt", "u", "ul", "var", "video", "wbr"};
}
