#pragma once

#include <QString>

// Project text on its way into an exported page, made safe for the place it is written to. Every
// writer of the page, the data file and the style sheet goes through these: a value from the
// project (a title, a file name, an address, an id) stays a value and never becomes markup or
// script.
class KVWebEscape
{
public:
    // Text between tags, or a quoted attribute value (double or single quotes): & < > " ' become
    // character references.
    static QString html(const QString &str);
    // The content of a JavaScript string in single or double quotes, which may sit in a page's
    // script element: backslashes, quotes, line ends, control characters, U+2028 and U+2029 and
    // the characters < > & are written as escapes.
    static QString jsString(const QString &str);
    // JSON text placed in a script element: "<", ">" and "&" (which JSON holds only inside
    // strings) become \u escapes, so that no "</script>" or "<!--" is ever seen by the page.
    static QString jsonInScript(const QString &strJson);
    // A relative address made of path parts: each part is percent-encoded ("/" stays).
    static QString urlPath(const QString &strPath);
    // An address the page may load a script or style sheet from: http, https, or a relative or
    // protocol-relative address. Anything else (javascript:, data:, file:) gives empty text.
    static QString safeUrl(const QString &strUrl);
};
