#include "KVPreviewer.h"

#include "KVHtml5Exporter.h"
#include "KVHttpServer.h"
#include "KVPlayerSource.h"

#include "document/KVDocument.h"

#include "Reporter.h"

#include <QDir>
#include <QFileInfo>

QString KVPreviewer::previewFolder(const QString &strResourceFolder)
{
    return QDir(strResourceFolder).filePath(QStringLiteral("preview"));
}

QUrl KVPreviewer::pageUrl(quint16 nPort, const QString &strPagePath)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(nPort);
    // The server takes the path after the first "/" as the file's absolute path.
    url.setPath(QLatin1Char('/') + QDir::fromNativeSeparators(QFileInfo(strPagePath).absoluteFilePath()));
    return url;
}

QUrl KVPreviewer::previewDocument(KVDocument *pDocument, bool bCurrentSceneOnly)
{
    if (!pDocument)
        return QUrl();
    pDocument->pause();
    if (pDocument->settings().m_nLoaderType != 0)
        pDocument->loadPreloader();
    KVDocumentPlayerSource source(pDocument);
    const QUrl url = preview(source.source(), pDocument->resourceFolderPath(), bCurrentSceneOnly);
    // The preview's files belong to the document: they go when it closes, unless the project
    // refers to them.
    const QDir project(pDocument->projectFolderPath());
    const QDir folder(previewFolder(pDocument->resourceFolderPath()));
    for (const QString &strName : folder.entryList(QDir::Files))
        pDocument->addOwnedFile(project.relativeFilePath(folder.filePath(strName)));
    return url;
}

QUrl KVPreviewer::preview(KVPlayerSource &source, const QString &strResourceFolder, bool bCurrentSceneOnly,
                          quint16 nPreferredPort, QString *pPagePath)
{
    if (strResourceFolder.isEmpty() || !QDir().mkpath(previewFolder(strResourceFolder))) {
        Reporter::error(tr("Cannot write the preview into %1.").arg(previewFolder(strResourceFolder)));
        return QUrl();
    }
    KVHtml5Exporter exporter(&source);
    exporter.setPreview(true);
    exporter.setCurrentSceneOnly(bCurrentSceneOnly);
    if (!exporter.exportTo(previewFolder(strResourceFolder)))
        return QUrl();
    KVHttpServer *server = KVHttpServer::getInstance();
    if (!server->startListening(nPreferredPort))
        return QUrl();
    server->addRoot(strResourceFolder);
    if (pPagePath)
        *pPagePath = exporter.pagePath();
    return pageUrl(server->port(), exporter.pagePath());
}
