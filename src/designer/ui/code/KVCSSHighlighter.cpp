#include "KVCSSHighlighter.h"

KVCSSHighlighter::KVCSSHighlighter(QTextDocument *pDocument)
    : KVSyntaxHighlighter(pDocument)
{
    addRule(QStringLiteral("[.#]?[A-Za-z_][-\\w]*"), QStringLiteral("Identifier"));
    addRule(QStringLiteral("[{}:;,>+~*=()]"), QStringLiteral("Operator"));
    addRule(QStringLiteral("@[-\\w]+"), QStringLiteral("BuiltIn"));
    // A property name before its ":".
    addRule(QStringLiteral("(-?[A-Za-z][-\\w]*)\\s*:(?!:)"), QStringLiteral("Keyword"));
    addRule(QStringLiteral("(?<![-\\w])-?(?:\\d+\\.?\\d*|\\.\\d+)(?:%|[a-zA-Z]+)?|#[0-9a-fA-F]{3,8}(?![-\\w])"),
            QStringLiteral("Number"));
    addRule(QStringLiteral("\"(?:\\\\.|[^\"\\\\])*\"?|'(?:\\\\.|[^'\\\\])*'?"), QStringLiteral("String"));
    setBlockComment(QStringLiteral("/*"), QStringLiteral("*/"));
}
