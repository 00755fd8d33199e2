#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class IKVProgress;

// Unpacks a package (see KVPackageWriter) as a new project "<folder>/<name>.kavio" with its
// resource folder "<name>_res" (the package's resource files, and the custom preloader in
// "<name>_res/preloader"). Everything is unpacked into a hidden folder beside the project first and
// moved into place only when complete, so a damaged package or a cancel leaves the folder as it was.
// Only plain file names are taken from the package: an entry cannot write outside the project.
// Above 20 MiB of package the unpacking shows "Extracting package..." with "Abort".
class KVPackageReader
{
    Q_DECLARE_TR_FUNCTIONS(KVPackageReader)

public:
    explicit KVPackageReader(IKVProgress *pProgress = nullptr);

    // Unpacks strPackage as the project strProjectFile. False (reported, except a cancel) when it
    // cannot; nothing is left behind then.
    bool extract(const QString &strPackage, const QString &strProjectFile);
    bool wasCanceled() const { return m_bCanceled; }
    // The project file and resource folder the last extract() put in place.
    QStringList createdPaths() const { return m_created; }
    // Removes them again (the project could not be opened after all).
    void takeBack();

private:
    IKVProgress *m_pProgress = nullptr;
    QStringList m_created;
    bool m_bCanceled = false;
};
