#pragma once

#include <QCoreApplication>
#include <QUrl>

class KVDocument;
class KVPlayerSource;

// Browser preview without a window: writes the page, style sheet, data file and player script of a
// project (or of its current scene) into "<base>_res/preview/", has the preview server serve the
// resource folder and gives the address the browser is pointed at. The editor's preview actions and
// "kavio preview" both go through it.
class KVPreviewer
{
    Q_DECLARE_TR_FUNCTIONS(KVPreviewer)

public:
    // The page's address, or an empty one when the files could not be written or the server could
    // not start (both reported). nPreferredPort is tried first, then any free port.
    static QUrl preview(KVPlayerSource &source, const QString &strResourceFolder, bool bCurrentSceneOnly,
                        quint16 nPreferredPort = 8080, QString *pPagePath = nullptr);
    // The same for an open document (the editor's preview actions): playback pauses and the custom
    // preloader is loaded when the project uses one.
    static QUrl previewDocument(KVDocument *pDocument, bool bCurrentSceneOnly);
    // http://127.0.0.1:<port>/<absolute path of the page>, as the preview server reads it.
    static QUrl pageUrl(quint16 nPort, const QString &strPagePath);
    static QString previewFolder(const QString &strResourceFolder);
};
