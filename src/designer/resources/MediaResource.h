#pragma once

#include "KVResource.h"

#include <QMap>
#include <QSize>

// An audio or video resource: one medium that may be stored in several formats, one file per
// format (the browser plays the first it can), plus the natural size of a video once known.
class MediaResource : public KVResource
{
public:
    explicit MediaResource(int nType, const QString &strName = QString(),
                           const QString &strFileName = QString());

    QStringList storedFiles() const override;
    KVResource *clone() const override;
    void writeKindJson(QJsonObject &jo) const override;
    void readKindJson(const QJsonObject &jo) override;

    // The files by format (the lower-case extension), in the resource folder.
    QMap<QString, QString> fileNames() const { return m_fileNames; }
    QStringList fileNameList() const { return m_fileNames.values(); }
    // Adds or replaces the file of its format; returns the file it replaced (empty if none). The
    // first file also becomes the resource's file name.
    QString setFormatFile(const QString &strFileName, const QString &strOriginalPath = QString());
    // Removes the file of a format; the resource's file name moves to another file when it was it.
    bool removeFormat(const QString &strFormat);
    bool hasFormat(const QString &strFormat) const { return m_fileNames.contains(strFormat.toLower()); }
    // Where each format's file was imported from.
    QMap<QString, QString> originalPaths() const { return m_originalPaths; }

    // Width and height of a video; 0 x 0 until known. A size is taken only when both are at least 1.
    QSize mediaSize() const { return m_mediaSize; }
    bool setMediaSize(const QSize &size);

    // How the medium is supplied; 0 for files in the resource folder.
    int resourceType() const { return m_nResourceType; }
    void setResourceType(int nResourceType) { m_nResourceType = nResourceType; }

    static QString formatOf(const QString &strFileName);

protected:
    MediaResource(const MediaResource &other) = default;

private:
    QMap<QString, QString> m_fileNames;
    QMap<QString, QString> m_originalPaths;
    QSize m_mediaSize = QSize(0, 0);
    int m_nResourceType = 0;
};
