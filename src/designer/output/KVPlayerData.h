#pragma once

#include "model/KVFontFace.h"
#include "output/KVPlayerSource.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>

class KVScene;
class KVSymbol;

// The data the player script plays: the document object (short keys, compact JSON), the data file
// that registers it with the player's global object, and the load script of the page. Built from a
// KVPlayerSource; building never fails.
class KVPlayerData
{
    Q_DECLARE_TR_FUNCTIONS(KVPlayerData)

public:
    struct Options
    {
        bool bPreview = false;
        bool bCurrentSceneOnly = false;
        // Data of a custom preloader: its handlers go under "pe", and its resource folder is the
        // preloader's.
        bool bPreloader = false;
    };

    // pSource must outlive this object.
    explicit KVPlayerData(const KVPlayerSource *pSource, const QString &strResourcePath = QString());

    // The document object. Building the export data of a project that embeds system fonts also
    // collects the font families (fontFamilies(), webFontFamilies()).
    QJsonObject build(const Options &options);
    QString buildText(const Options &options);
    // "var f = [];" and a declaration and table entry per user function of the symbol.
    QString functionsTable() const;
    // Writes the data file, UTF-8: "Cannot write data file." when it cannot be opened, "Error when
    // writing data file." when it is written short; false then.
    bool writeDataFile(const QString &strPath, bool bPreview, bool bCurrentSceneOnly);
    // The page's load script (that of a preloader document played on its own for such a source).
    // May make and keep a container id in the project's settings.
    QString loadScript(bool bPreview);

    // Faces of the system fonts the scenes use (collected by an export build with embedding on),
    // and their families.
    KVFontFaces fontFaces() const { return m_fontFaces; }
    QSet<QString> fontFamilies() const;
    // Families of the project's web-font resources ("Arial" for an unnamed one).
    QSet<QString> webFontFamilies() const { return m_webFontFamilies; }

    // ---- Pure pieces
    // The data file text around a document object, a scope-injection text and a functions table.
    static QString dataFileText(const QString &strPlayerData, const QString &strScopeInjection,
                                const QString &strFunctionsTable);
    // The loading indicator for the player: the six keys, "color" as "#rrggbb", "shape" by name.
    static QJsonObject loadingIndicatorJson(const KVLoadingIndicator &indicator);
    static QString compact(const QJsonObject &jo);
    // "k": scenes × 65536 + nRandom (0..255) × 256 + top-level elements of the first scene.
    static int documentKey(int nScenes, int nRandom, int nTopLevelElements);
    // [largest audio count, largest video count] over the scenes.
    static QJsonArray mediaCounts(const QList<KVScene *> &scenes);
    // The player data of a symbol stored as a resource: "b" (only with breakpoints), "e" (only
    // with handlers), "scenes", "dur", "align" and "af" (its autofit). The value a source's
    // symbolData gives for the resource once its symbol is loaded.
    static QJsonObject symbolResourceJson(KVSymbol &symbol);
    // The resource folder of the data relative to the page.
    static QString resourceFolder(const KVPlayerSource &source, const Options &options);

private:
    QList<KVScene *> writtenScenes(bool bCurrentSceneOnly) const;
    void collectFonts(const QList<KVScene *> &scenes);

    const KVPlayerSource *m_pSource;
    QString m_strResourcePath;
    KVFontFaces m_fontFaces;
    QSet<QString> m_webFontFamilies;
};
