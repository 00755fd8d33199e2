#pragma once

#include "KVSyntaxHighlighter.h"

// HTML: the known tag names as keywords, attribute names, quoted values, entities, and comments
// between "<!--" and "-->" over any number of lines.
class KVHtmlSyntaxHighlighter : public KVSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit KVHtmlSyntaxHighlighter(QTextDocument *pDocument);

    static QStringList tagNames(); // alphabetical
};
