#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The ZIP bundle of an export, as ad networks take it: every exported file under its path relative
// to the export folder, so that the page lies at the root of the archive.
class KVExportArchive
{
    Q_DECLARE_TR_FUNCTIONS(KVExportArchive)

public:
    struct Entry
    {
        QString strName;       // path inside the archive
        qint64 nSize = 0;      // bytes once extracted
        qint64 nCompressed = 0; // bytes inside the archive
    };

    // Writes the files (relative to strFolder, in that order) into strZip, deflated. The archive is
    // written beside strZip and renamed into place when complete, so a failure (reported) leaves an
    // older archive as it was.
    static bool write(const QString &strFolder, const QStringList &files, const QString &strZip);

    // Lists the archive's entries; the contents of the ones whose names end with a suffix in
    // textSuffixes (lower case, e.g. ".html") go to *pTexts. False (reported) when the archive
    // cannot be read.
    static bool read(const QString &strZip, QList<Entry> &entries, const QStringList &textSuffixes = {},
                     QHash<QString, QByteArray> *pTexts = nullptr);

    // Whether a target path names an archive rather than a folder (ends with ".zip").
    static bool isArchivePath(const QString &strPath);
};
