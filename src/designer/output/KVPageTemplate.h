#pragma once

#include <QString>
#include <QStringList>

class KVResourceManager;

// Fills the page and style-sheet templates of an exported (or previewed) project.
class KVPageTemplate
{
public:
    // What replaces the page's placeholders.
    struct Values
    {
        QString strTitle;
        QString strDescription;
        QString strKeywords;
        QString strAuthor;
        QStringList cssFiles; // addresses of the style sheets placed in the page's head
        QStringList jsFiles;  // addresses of the scripts placed there
        QString strLoadScript;
        QString strContainerId;
        int nViewportWidthMeta = -2;
        int nViewportHeightMeta = -3;
        QString strGoogleFonts;
    };

    // Replaces "{$title}", "{$description}", "{$keywords}", "{$author}", "{$playerURL}",
    // "{$cssFiles}", "{$jsFiles}", "{$loadDocumentScript}", "{$containerID}", "{$viewportWidth}",
    // "{$viewportHeight}" and "{$googleFonts}", every occurrence, case-sensitive, in one pass over
    // the template (a value is never searched for placeholders). The four texts of the project are
    // HTML-escaped, since they come from the user and enter the page as markup.
    static QString fillPage(const QString &strTemplate, const Values &values);
    // Replaces "{$systemFonts}".
    static QString fillStyleSheet(const QString &strTemplate, const QString &strSystemFontRules);

    // "<key>=%1, " for a viewport meta: -2 gives "device-width", -1 "device-height", any other value
    // the number itself, except -3, which gives no text at all.
    static QString viewportText(const QString &strKey, int nMeta);
    static QString cssLink(const QString &strHref);
    static QString scriptTag(const QString &strSrc);

    // The addresses of the head resources of one type (5 scripts, 6 style sheets) in include
    // order: a linked or external one's own address, else "<folder>/<file>" with the exported
    // file name (or, in a preview, the stored one).
    static QStringList headResourceUrls(const KVResourceManager *pManager, int nType, const QString &strFolder,
                                        bool bPreview);
    // A style-sheet link to the web-font service for the families, or nothing without any.
    static QString webFontLink(const QStringList &families);
};
