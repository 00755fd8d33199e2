#include "KVPackageReader.h"

#include "Reporter.h"
#include "resources/IKVProgress.h"
#include "resources/KVFileCopier.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>

namespace {
const QString kProjectEntry = QStringLiteral("kavio-studio.kavio");
const QString kResourcePrefix = QStringLiteral("kavio-studio_res/");
const QString kPreloaderPrefix = QStringLiteral("kavio-studio_res/preloader/");
const QString kPreloaderEntry = QStringLiteral("kavio-studio_res/preloader/preloader.kavio");
const QString kPreloaderResourcePrefix = QStringLiteral("kavio-studio_res/preloader/preloader_res/");

// The file name an entry directly in the folder prefix stands for; empty for anything else
// (sub-folders, folder entries, names that would climb out).
QString plainName(const QString &strEntry, const QString &strPrefix)
{
    if (!strEntry.startsWith(strPrefix))
        return QString();
    const QString strName = strEntry.mid(strPrefix.size());
    if (strName.isEmpty() || strName.contains(QLatin1Char('/')) || strName.contains(QLatin1Char('\\'))
        || strName == QLatin1String(".") || strName == QLatin1String(".."))
        return QString();
    return strName;
}

enum class Copy { Done, ReadFailed, WriteFailed, Canceled };

class Unpacker
{
public:
    Unpacker(QuaZip &zip, IKVProgress *pProgress, qint64 nTotal)
        : m_zip(zip)
        , m_pProgress(nTotal > KVFileCopier::ProgressThreshold ? pProgress : nullptr)
        , m_buffer(int(KVFileCopier::BlockSize), Qt::Uninitialized)
    {
        if (m_pProgress)
            m_pProgress->begin(KVPackageReader::tr("Extracting package..."), KVPackageReader::tr("Abort"), nTotal);
    }
    ~Unpacker()
    {
        if (m_pProgress)
            m_pProgress->end();
    }

    // Copies the current entry to a new file; the data is checked against the entry's checksum.
    Copy copy(const QString &strTarget)
    {
        QuaZipFile in(&m_zip);
        if (!in.open(QIODevice::ReadOnly))
            return Copy::ReadFailed;
        QFile out(strTarget);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return Copy::WriteFailed;
        for (;;) {
            const qint64 nRead = in.read(m_buffer.data(), m_buffer.size());
            if (nRead < 0)
                return Copy::ReadFailed;
            if (nRead == 0)
                break;
            if (out.write(m_buffer.constData(), nRead) != nRead)
                return Copy::WriteFailed;
            if (m_pProgress) {
                m_nDone += nRead;
                m_pProgress->setValue(m_nDone);
                if (m_pProgress->wasCanceled())
                    return Copy::Canceled;
            }
        }
        in.close();
        if (in.getZipError() != UNZ_OK)
            return Copy::ReadFailed;
        return out.flush() ? Copy::Done : Copy::WriteFailed;
    }

private:
    QuaZip &m_zip;
    IKVProgress *m_pProgress;
    QByteArray m_buffer;
    qint64 m_nDone = 0;
};

bool moveInto(const QString &strFrom, const QString &strTo)
{
    return std::rename(QFile::encodeName(strFrom).constData(), QFile::encodeName(strTo).constData()) == 0;
}
} // namespace

KVPackageReader::KVPackageReader(IKVProgress *pProgress)
    : m_pProgress(pProgress)
{
}

bool KVPackageReader::extract(const QString &strPackage, const QString &strProjectFile)
{
    m_created.clear();
    m_bCanceled = false;
    if (!QFileInfo(strPackage).isFile()) {
        Reporter::error(tr("The package file doesn't exist."));
        return false;
    }
    const QFileInfo project(strProjectFile);
    const QString strName = project.completeBaseName();
    const QString strFolder = project.absolutePath();
    const QString strResources = strFolder + QLatin1Char('/') + strName + QStringLiteral("_res");
    const bool bResourcesThere = QFileInfo::exists(strResources);
    if (bResourcesThere && !QDir(strResources).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        Reporter::error(tr("Cannot create folder to extract resource files."));
        return false;
    }

    // Read through this file, so that a QuaZip whose functions another library took cannot read
    // something else.
    QFile file(strPackage);
    QuaZip zip(&file);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdUnzip) || !file.isOpen()) {
        Reporter::error(tr("Cannot open package file."));
        return false;
    }
    // What the package holds that a project takes.
    QSet<QString> resources, preloaderResources;
    bool bProject = false, bPreloaderFolder = false, bPreloader = false;
    qint64 nTotal = 0;
    const QList<QuaZipFileInfo64> infos = zip.getFileInfoList64();
    for (const QuaZipFileInfo64 &info : infos) {
        const QString &strEntry = info.name;
        bool bTaken = true;
        if (strEntry == kProjectEntry) {
            bProject = true;
        } else if (strEntry == kPreloaderEntry) {
            bPreloader = true;
        } else if (!plainName(strEntry, kResourcePrefix).isEmpty()) {
            resources << strEntry;
        } else if (!plainName(strEntry, kPreloaderResourcePrefix).isEmpty()) {
            preloaderResources << strEntry;
        } else {
            bTaken = false;
        }
        if (strEntry.startsWith(kPreloaderPrefix))
            bPreloaderFolder = true;
        if (bTaken)
            nTotal += qint64(info.uncompressedSize);
    }
    if (!bProject) {
        Reporter::error(tr("Cannot read project data."));
        return false;
    }

    // Unpacked beside the project, so that moving it into place is a rename.
    QTemporaryDir staging(strFolder + QStringLiteral("/.") + strName + QStringLiteral(".import-XXXXXX"));
    const QString strStagedResources = staging.path() + QLatin1Char('/') + strName + QStringLiteral("_res");
    if (!staging.isValid() || !QDir().mkpath(strStagedResources)) {
        Reporter::error(tr("Cannot write project data."));
        return false;
    }
    Unpacker unpacker(zip, m_pProgress, nTotal);
    auto fail = [this](Copy result, const QString &strReadError, const QString &strWriteError) {
        if (result == Copy::Canceled)
            m_bCanceled = true;
        else
            Reporter::error(result == Copy::WriteFailed ? strWriteError : strReadError);
        return false;
    };
    const QString strStagedProject = staging.path() + QLatin1Char('/') + strName + QStringLiteral(".kavio");
    const QString strPreloader = strStagedResources + QStringLiteral("/preloader");
    const QString strPreloaderResources = strPreloader + QStringLiteral("/preloader_res");
    if (bPreloaderFolder) {
        if (!QDir().mkpath(strPreloader)
            || (!preloaderResources.isEmpty() && !QDir().mkpath(strPreloaderResources))) {
            Reporter::error(tr("Cannot extract preloader resources."));
            return false;
        }
        if (!bPreloader)
            Reporter::warning(tr("No preloader manifest."));
    }
    // One pass over the package in its own order.
    for (bool bMore = zip.goToFirstFile(); bMore; bMore = zip.goToNextFile()) {
        const QString strEntry = zip.getCurrentFileName();
        Copy result = Copy::Done;
        if (strEntry == kProjectEntry) {
            result = unpacker.copy(strStagedProject);
            if (result != Copy::Done)
                return fail(result, tr("Cannot read project data."), tr("Cannot write project data."));
        } else if (strEntry == kPreloaderEntry) {
            result = unpacker.copy(strPreloader + QStringLiteral("/preloader.kavio"));
            if (result != Copy::Done)
                return fail(result, tr("Cannot write preloader file."), tr("Cannot write preloader file."));
        } else {
            QString strTarget;
            if (resources.contains(strEntry))
                strTarget = strStagedResources + QLatin1Char('/') + plainName(strEntry, kResourcePrefix);
            else if (preloaderResources.contains(strEntry))
                strTarget = strPreloaderResources + QLatin1Char('/') + plainName(strEntry, kPreloaderResourcePrefix);
            if (strTarget.isEmpty())
                continue;
            result = unpacker.copy(strTarget);
            if (result != Copy::Done)
                return fail(result, tr("Cannot read project resources."), tr("Cannot read project resources."));
        }
    }
    if (zip.getZipError() != UNZ_OK) {
        Reporter::error(tr("Cannot open package file."));
        return false;
    }
    zip.close();

    // Into place: the resource folder first, the project file last.
    if ((bResourcesThere && !QDir().rmdir(strResources)) || !moveInto(strStagedResources, strResources)) {
        Reporter::error(tr("Cannot create folder to extract resource files."));
        return false;
    }
    if (!moveInto(strStagedProject, strProjectFile)) {
        QDir(strResources).removeRecursively();
        Reporter::error(tr("Cannot write project data."));
        return false;
    }
    m_created << strProjectFile << strResources;
    return true;
}

void KVPackageReader::takeBack()
{
    for (const QString &strPath : qAsConst(m_created)) {
        if (QFileInfo(strPath).isDir())
            QDir(strPath).removeRecursively();
        else
            QFile::remove(strPath);
    }
    m_created.clear();
}
