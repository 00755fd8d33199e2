#pragma once

#include "KVSyntaxHighlighter.h"

// JavaScript: numbers, operators, identifiers, the language's keywords, the built-in names of the
// standard library and the browser, strings, and line and block comments.
class KVScriptHighlighter : public KVSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit KVScriptHighlighter(QTextDocument *pDocument);

    static QStringList keywords();
    static QStringList builtInNames();
    // Brackets the editor matches: "(){}[]".
    static QString brackets() { return QStringLiteral("(){}[]"); }
};
