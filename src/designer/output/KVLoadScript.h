#pragma once

#include <QString>

// The few lines of the exported page that start the player: they open the project's data file in
// the page's container, with the project's loading indicator or its custom preloader shown while
// it loads. Pure text: the caller gathers the values.
class KVLoadScript
{
public:
    // What the project's load script needs.
    struct Project
    {
        QString strDataFile;     // "<base>.js"
        QString strContainerId;
        bool bAutoplay = true;
        int nAlign = 0;
        bool bAutofit = false;
        bool bPlayControl = false; // a pause/play button on the page
        QString strClickTag;       // the click-tag variable, when not "clickTag"
        int nLoaderType = 0;
        // Loader type 0: the loading indicator's player data (a JSON object text).
        QString strLoadingIndicator;
        // Other loader types: whether there is a custom preloader, then its parts.
        bool bHasPreloader = false;
        QString strPreloaderData;      // its player data (JSON text)
        QString strScopeInjection;     // may be empty
        QString strPreloaderFunctions; // its functions table
        bool bPreloaderUsesIndicator = false;
        QString strPreloaderIndicator; // its loading indicator's player data
    };

    // The project's load script.
    static QString forProject(const Project &project);
    // The load script of a custom preloader played on its own.
    static QString forPreloader(const QString &strDataFile, const QString &strContainerId, bool bAutoplay,
                                int nAlign, bool bAutofit);

    // The data file name as a quoted script string's content holding its address.
    static QString escapeFileName(const QString &strFileName);
    // The player's centring from a stage align value: 4 "horizontal", 128 "vertical", 132 "both",
    // anything else "none".
    static QString centerName(int nAlign);
    // "false" when the document plays at once, "true" when it waits.
    static QString pausedText(bool bAutoplay) { return bAutoplay ? QStringLiteral("false") : QStringLiteral("true"); }
    // ", autofit: true" or nothing.
    static QString fitText(bool bAutofit) { return bAutofit ? QStringLiteral(", autofit: true") : QString(); }
    // Makes script text safe inside the page's script element: "</" becomes "<\/", which means the
    // same in every place a script can hold it.
    static QString escapeForPage(const QString &strScript);
};
