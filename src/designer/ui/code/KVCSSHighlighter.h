#pragma once

#include "KVSyntaxHighlighter.h"

// CSS: selectors, property names, values with their units and colours, strings, at-rules and
// block comments.
class KVCSSHighlighter : public KVSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit KVCSSHighlighter(QTextDocument *pDocument);
};
