#include "canvas/KVResourceSchemeHandler.h"

#include "document/KVProjectPaths.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>

#include "ResourceUrlScheme.h"

KVResourceSchemeHandler::KVResourceSchemeHandler(const FolderProvider &folder, QObject *pParent)
    : QWebEngineUrlSchemeHandler(pParent), m_folder(folder)
{
}

QByteArray KVResourceSchemeHandler::schemeName()
{
    return QByteArrayLiteral("resource");
}

void KVResourceSchemeHandler::registerScheme()
{
    registerResourceUrlScheme();
}

QString KVResourceSchemeHandler::filePathFor(const QUrl &url, const QString &strFolder)
{
    if (strFolder.isEmpty())
        return QString();
    // "resource://logo.png" and "resource:logo.png" both name logo.png of the folder.
    QString strName = QUrl::fromPercentEncoding(
        url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveQuery | QUrl::RemoveFragment));
    while (strName.startsWith(QLatin1Char('/')))
        strName.remove(0, 1);
    if (strName.isEmpty())
        return QString();
    const QDir folder(strFolder);
    const QString strPath = QDir::cleanPath(folder.absoluteFilePath(strName));
    const QString strRoot = QDir::cleanPath(folder.absolutePath()) + QLatin1Char('/');
    if (!strPath.startsWith(strRoot))
        return QString();
    // A link in the folder that leads out of it shows nothing.
    if (QFileInfo(strPath).isFile())
        return KVProjectPaths::isInFolder(strPath, strFolder) ? strPath : QString();
    // An address read as a host name comes lower-cased; find the file whatever its case.
    const QFileInfo info(strPath);
    const QDir dir(info.absolutePath());
    for (const QString &strEntry : dir.entryList(QDir::Files)) {
        if (strEntry.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
            const QString strFound = dir.absoluteFilePath(strEntry);
            return KVProjectPaths::isInFolder(strFound, strFolder) ? strFound : QString();
        }
    }
    return QString();
}

void KVResourceSchemeHandler::requestStarted(QWebEngineUrlRequestJob *pJob)
{
    const QString strPath = filePathFor(pJob->requestUrl(), m_folder ? m_folder() : QString());
    if (strPath.isEmpty()) {
        pJob->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto *pFile = new QFile(strPath, pJob);
    if (!pFile->open(QIODevice::ReadOnly)) {
        pJob->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QByteArray mime = QMimeDatabase().mimeTypeForFile(strPath).name().toUtf8();
    pJob->reply(mime, pFile);
}
