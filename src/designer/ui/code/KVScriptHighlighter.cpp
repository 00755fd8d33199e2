#include "KVScriptHighlighter.h"

// Strings and comments skip over the quoted text before them, so that "//" inside a string stays string.
static const char kBeforeComment[] = "^(?:[^\"'/]|\"(?:\\\\.|[^\"\\\\])*\"|'(?:\\\\.|[^'\\\\])*'|/(?!/))*";

KVScriptHighlighter::KVScriptHighlighter(QTextDocument *pDocument)
    : KVSyntaxHighlighter(pDocument)
{
    addRule(QStringLiteral("[A-Za-z_$][\\w$]*"), QStringLiteral("Identifier"));
    addRule(QStringLiteral("[-+*/%=<>!&|^~?:]"), QStringLiteral("Operator"));
    addRule(QStringLiteral("(?<![\\w$])(?:0[xX][0-9a-fA-F]+|\\d+\\.?\\d*(?:[eE][-+]?\\d+)?|\\.\\d+)"),
            QStringLiteral("Number"));
    addWords(builtInNames(), QStringLiteral("BuiltIn"));
    addWords(keywords(), QStringLiteral("Keyword"));
    addRule(QStringLiteral("\"(?:\\\\.|[^\"\\\\])*\"?|'(?:\\\\.|[^'\\\\])*'?"), QStringLiteral("String"));
    addRule(QString::fromLatin1(kBeforeComment) + QStringLiteral("(//.*)$"), QStringLiteral("Comment"));
    setBlockComment(QStringLiteral("/*"), QStringLiteral("*/"));
}

QStringList KVScriptHighlighter::keywords()
{
    return {"break", "case",       "catch",  "continue", "default", "delete", "do",   "else", "finally", "for",
            "function", "if",      "in",     "instanceof", "new",   "return", "switch", "this", "throw", "try",
            "typeof", "var",       "void",   "while",    "with",    "true",   "false", "null"};
}

QStringList KVScriptHighlighter::builtInNames()
{
    return {"Object", "prototype", "create", "defineProperty", "defineProperties", "getOwnPropertyDescriptor",
            "keys", "getOwnPropertyNames", "constructor", "__parent__", "__proto__", "__defineGetter__",
            "__defineSetter__", "eval", "hasOwnProperty", "isPrototypeOf", "__lookupGetter__", "__lookupSetter__",
            "__noSuchMethod__", "propertyIsEnumerable", "toSource", "toLocaleString", "toString", "unwatch",
            "valueOf", "watch", "Function", "arguments", "arity", "caller", "name", "apply", "bind", "call",
            "String", "fromCharCode", "charAt", "charCodeAt", "concat", "indexOf", "lastIndexOf", "localCompare",
            "match", "quote", "replace", "search", "slice", "split", "substr", "substring", "toLocaleLowerCase",
            "toLocaleUpperCase", "toLowerCase", "toUpperCase", "trim", "trimLeft", "trimRight", "Array", "isArray",
            "index", "input", "pop", "push", "reverse", "shift", "sort", "splice", "unshift", "join", "filter",
            "forEach", "every", "map", "some", "reduce", "reduceRight", "RegExp", "global", "ignoreCase",
            "lastIndex", "multiline", "source", "exec", "test", "JSON", "parse", "stringify", "decodeURI",
            "decodeURIComponent", "encodeURI", "encodeURIComponent", "isFinite", "isNaN", "parseFloat", "parseInt",
            "Infinity", "NaN", "undefined", "Math", "E", "LN2", "LN10", "LOG2E", "LOG10E", "PI", "SQRT1_2", "SQRT2",
            "abs", "acos", "asin", "atan", "atan2", "ceil", "cos", "exp", "floor", "log", "max", "min", "pow",
            "random", "round", "sin", "sqrt", "tan", "document", "window", "navigator", "userAgent"};
}
