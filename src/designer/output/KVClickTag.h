#pragma once

#include <QString>

class KVSymbol;

// An ad network hands an ad its landing page in a page variable, "clickTag" unless the project
// names another. "Open Click Tag URL" actions read that variable; the exported page declares it
// with the URL the first such action falls back to, so that the network finds the line it
// replaces and the page still leads somewhere outside the network.
class KVClickTag
{
public:
    // Whether the project has an "Open Click Tag URL" action, and the URL of the first one: the
    // document's handlers, then each scene's with its elements, timelines and triggers.
    static bool firstAction(const KVSymbol *pSymbol, QString *pstrFallbackUrl = nullptr);
    // The head's script element declaring the variable with its fallback URL.
    static QString declaration(const QString &strName, const QString &strFallbackUrl);
};
