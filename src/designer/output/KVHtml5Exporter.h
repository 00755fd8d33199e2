#pragma once

#include "model/KVFontFace.h"

#include "output/KVPlayerSource.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class IKVProgress;
class KVDocument;
class KVFileCopier;

// Writes a project as a static web site into a folder: the player script kvplayer.js, the page
// "<base>.html" and the style sheet "<base>.css" (from the project's own templates or the player
// folder's kvplayer.html and kvplayer.css), the data file "<base>.js" and the resource files under
// their exported names, with the custom preloader's resources in a folder of their own. Headless:
// the editor's export action, the command-line tool and the browser preview all use it.
//
// The export is written into a folder beside the target and moved into place only when complete:
// every failure is reported with its message and ends the export with false, leaving the target as
// it was.
class KVHtml5Exporter
{
    Q_DECLARE_TR_FUNCTIONS(KVHtml5Exporter)

public:
    // Writes the system-font files of the families (CSS family lists) into strFolder, which the
    // style sheet reaches as strUrlFolder (strPreviousFolder: the same folder of the export being
    // replaced), returns their @font-face rules through strRules and the names of the files written
    // through files; false (reported by the writer) on failure.
    using SystemFontWriter =
        std::function<bool(const QString &strFolder, const QString &strUrlFolder, const QString &strPreviousFolder,
                           const KVFontFaces &faces, QString &strRules, QStringList &files)>;

    // pSource must outlive the exporter; its settings may gain a container id.
    explicit KVHtml5Exporter(KVPlayerSource *pSource);
    ~KVHtml5Exporter();

    // The folder that holds "resources/" (the host's when not set).
    void setResourcePath(const QString &strPath) { m_strResourcePath = strPath; }
    // The player folder (by default "<resource path>/resources/canvas/player").
    void setPlayerFolder(const QString &strFolder) { m_strPlayerFolder = strFolder; }
    QString playerFolder() const;
    // Shows the progress of copies above 20 MiB (none when not set).
    void setProgress(IKVProgress *pProgress) { m_pProgress = pProgress; }
    // The installed fonts' writer (by default KVSystemFontEmbedder::write, for the editor and the
    // command-line tool alike).
    void setSystemFontWriter(const SystemFontWriter &writer) { m_systemFontWriter = writer; }
    // Only the current scene (the preview of the current scene).
    void setCurrentSceneOnly(bool b) { m_bCurrentSceneOnly = b; }
    // A browser preview: the page, data file, style sheet and player are written into a folder
    // inside the project's resource folder, and refer to the resources where they are ("..");
    // nothing is copied and no fonts are embedded.
    void setPreview(bool b) { m_bPreview = b; }

    // Exports into strFolder (created when missing; files of its own that the export does not
    // write stay). A target ending with ".zip" gets one ZIP file instead, the page at its root,
    // replacing an older one only when complete.
    bool exportTo(const QString &strFolder);

    // What the last export wrote: paths relative to the export folder, and their bytes.
    QStringList writtenFiles() const { return m_writtenFiles; }
    qint64 writtenBytes() const { return m_nWrittenBytes; }
    // The page's path; inside a ZIP export, its name in the archive.
    QString pagePath() const { return m_strPagePath; }
    // The ZIP written by the last export, or empty for a folder.
    QString archivePath() const { return m_strArchivePath; }
    bool wasCanceled() const { return m_bCanceled; }

    // The question after a successful export, titled "Export to HTML5": 0 Open, 1 Open Folder,
    // 2 Cancel.
    static int askToOpen();

    // The export of an editor document: pauses its playback, loads (or creates) its custom
    // preloader when the project uses one, and exports with the document's progress. The page's
    // path goes to *pPagePath on success.
    static bool exportDocument(KVDocument *pDocument, const QString &strFolder, QString *pPagePath = nullptr,
                               const QString &strResourcePath = QString());

private:
    bool exportFolder(const QString &strFolder);
    bool exportArchive(const QString &strZip);
    bool checkResourceFolder();
    bool copyPlayer();
    bool readTemplate(const QString &strOwn, const QString &strFileName, QString &strTemplate);
    bool writeText(const QString &strRelative, const QString &strText);
    bool writePage();
    bool writeDataFile();
    bool exportResources();
    bool embedSystemFonts(const QString &strTarget, QString &strRules);
    bool writeStyleSheet(const QString &strSystemFontRules);
    // The copies of one source's resources: target relative file -> absolute source file. False
    // (reported) when two resources would take the same name or a name leaves the folder.
    bool planCopies(const KVPlayerSource &source, const QString &strFolder, QList<QPair<QString, QString>> &copies);
    void noteWritten(const QString &strRelative);
    bool moveIntoPlace(const QString &strWork, const QString &strTarget, bool bFontsEmbedded);

    KVPlayerSource *m_pSource;
    QString m_strResourcePath;
    QString m_strPlayerFolder;
    IKVProgress *m_pProgress = nullptr;
    SystemFontWriter m_systemFontWriter;
    bool m_bCurrentSceneOnly = false;
    bool m_bPreview = false;

    QString m_strFolder;
    QString m_strPagePath;
    QString m_strArchivePath;
    QStringList m_writtenFiles;
    qint64 m_nWrittenBytes = 0;
    bool m_bCanceled = false;
    KVFontFaces m_fontFaces;
};
