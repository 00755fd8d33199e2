#include "KVPackageWriter.h"

#include "Reporter.h"
#include "resources/IKVProgress.h"
#include "resources/KVFileCopier.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace {
// The progress opens only above the threshold; a cancel is seen after a block.
class PackageProgress
{
public:
    PackageProgress(IKVProgress *pProgress, qint64 nTotal)
        : m_pProgress(nTotal > KVFileCopier::ProgressThreshold ? pProgress : nullptr)
    {
        if (m_pProgress)
            m_pProgress->begin(KVPackageWriter::tr("Exporting package..."), KVPackageWriter::tr("Abort"), nTotal);
    }
    ~PackageProgress()
    {
        if (m_pProgress)
            m_pProgress->end();
    }
    // False when the user cancelled.
    bool advance(qint64 nBytes)
    {
        if (!m_pProgress)
            return true;
        m_nDone += nBytes;
        m_pProgress->setValue(m_nDone);
        return !m_pProgress->wasCanceled();
    }

private:
    IKVProgress *m_pProgress;
    qint64 m_nDone = 0;
};
} // namespace

KVPackageWriter::KVPackageWriter(IKVProgress *pProgress)
    : m_pProgress(pProgress)
{
}

bool KVPackageWriter::hasEntry(const QString &strName) const
{
    for (const Entry &e : m_entries) {
        if (e.strName == strName)
            return true;
    }
    return false;
}

void KVPackageWriter::addData(const QString &strEntry, const QByteArray &data, const QString &strOpenError,
                              const QString &strWriteError)
{
    if (!hasEntry(strEntry))
        m_entries.append({strEntry, QString(), data, strOpenError, strWriteError});
}

void KVPackageWriter::addFile(const QString &strEntry, const QString &strPath, const QString &strReadError,
                              const QString &strWriteError)
{
    if (!hasEntry(strEntry))
        m_entries.append({strEntry, strPath, QByteArray(), strReadError, strWriteError});
}

QStringList KVPackageWriter::entryNames() const
{
    QStringList names;
    for (const Entry &e : m_entries)
        names << e.strName;
    return names;
}

bool KVPackageWriter::write(const QString &strPackage)
{
    m_bCanceled = false;
    const QFileInfo target(strPackage);
    qint64 nTotal = 0;
    bool bLarge = false;
    for (const Entry &e : qAsConst(m_entries)) {
        const qint64 nSize = e.strPath.isEmpty() ? e.data.size() : QFileInfo(e.strPath).size();
        if (!e.strPath.isEmpty())
            nTotal += nSize;
        bLarge = bLarge || nSize >= 0xffffffffLL;
    }
    if (nTotal >= 0xffffffffLL)
        bLarge = true;

    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    if (!target.absoluteDir().exists() || !temp.open()) {
        Reporter::error(tr("Cannot create package file."));
        return false;
    }
    temp.close();
    // QuaZip writes through this file; when it did not open it (its functions were taken by
    // another library's of the same names), nothing would reach the package.
    QFile file(temp.fileName());
    QuaZip zip(&file);
    zip.setUtf8Enabled(true);
    zip.setZip64Enabled(bLarge);
    if (!zip.open(QuaZip::mdCreate) || !file.isOpen()) {
        Reporter::error(tr("Cannot create package file."));
        return false;
    }

    PackageProgress progress(m_pProgress, nTotal);
    QByteArray buffer;
    for (const Entry &e : qAsConst(m_entries)) {
        QFile source(e.strPath);
        if (!e.strPath.isEmpty() && !KVFileCopier::openRegularFile(source)) {
            zip.close();
            Reporter::error(e.strReadError);
            return false;
        }
        QuaZipNewInfo info = e.strPath.isEmpty() ? QuaZipNewInfo(e.strName) : QuaZipNewInfo(e.strName, e.strPath);
        QuaZipFile out(&zip);
        // Every entry deflated at the default level, as every reader of packages expects.
        if (!out.open(QIODevice::WriteOnly, info, nullptr, 0, Z_DEFLATED, Z_DEFAULT_COMPRESSION)) {
            zip.close();
            Reporter::error(e.strPath.isEmpty() ? e.strReadError : e.strWriteError);
            return false;
        }
        bool bWritten = true;
        if (e.strPath.isEmpty()) {
            bWritten = out.write(e.data) == e.data.size();
        } else {
            buffer.resize(int(KVFileCopier::BlockSize));
            while (bWritten) {
                const qint64 nRead = source.read(buffer.data(), buffer.size());
                if (nRead < 0) {
                    out.close();
                    zip.close();
                    Reporter::error(e.strReadError);
                    return false;
                }
                if (nRead == 0)
                    break;
                bWritten = out.write(buffer.constData(), nRead) == nRead;
                if (bWritten && !progress.advance(nRead)) {
                    out.close();
                    zip.close();
                    m_bCanceled = true;
                    return false;
                }
            }
        }
        out.close();
        if (!bWritten || out.getZipError() != ZIP_OK) {
            zip.close();
            Reporter::error(e.strWriteError);
            return false;
        }
    }
    zip.close();
    if (zip.getZipError() != ZIP_OK || QFileInfo(temp.fileName()).size() == 0) {
        Reporter::error(tr("Cannot create package file."));
        return false;
    }
    // The package takes its place at once, replacing a previous one.
    temp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                        | QFileDevice::ReadOther);
    if (std::rename(QFile::encodeName(temp.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData())
        != 0) {
        Reporter::error(tr("Cannot create package file."));
        return false;
    }
    temp.setAutoRemove(false);
    return true;
}
