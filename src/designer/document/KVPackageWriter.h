#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class IKVProgress;

// Writes a package: one ZIP file with a project, its resource files and its custom preloader
// (entries "kavio-studio.kavio", "kavio-studio_res/<file>", "kavio-studio_res/preloader/...").
// The package is written beside its destination under a temporary name and renamed into place only
// when every entry is complete, so a failed or cancelled write leaves neither a partial package nor
// a damaged previous one.
//
// Entries are deflated at the default level, except files whose format is compressed already
// (images, audio, video, web fonts, archives), which are stored: deflating them again costs most of
// the time of a package and gains nothing. Files are copied in blocks of 1 MiB; above 20 MiB of
// files the copy shows "Exporting package..." with "Abort".
class KVPackageWriter
{
    Q_DECLARE_TR_FUNCTIONS(KVPackageWriter)

public:
    explicit KVPackageWriter(IKVProgress *pProgress = nullptr);

    // An entry with the given bytes; strOpenError is reported when the entry cannot be created,
    // strWriteError when it is written short.
    void addData(const QString &strEntry, const QByteArray &data, const QString &strOpenError,
                 const QString &strWriteError);
    // An entry copied from a file; strReadError is reported when the file cannot be read,
    // strWriteError when the entry cannot be created or written. An entry name given twice keeps the
    // first.
    void addFile(const QString &strEntry, const QString &strPath, const QString &strReadError,
                 const QString &strWriteError);
    QStringList entryNames() const;

    // Writes the package; false (reported, except a cancel) when it cannot be written whole.
    bool write(const QString &strPackage);
    bool wasCanceled() const { return m_bCanceled; }

private:
    struct Entry
    {
        QString strName;
        QString strPath; // empty: the entry holds data
        QByteArray data;
        QString strReadError;
        QString strWriteError;
    };
    bool hasEntry(const QString &strName) const;

    IKVProgress *m_pProgress = nullptr;
    QList<Entry> m_entries;
    bool m_bCanceled = false;
};
