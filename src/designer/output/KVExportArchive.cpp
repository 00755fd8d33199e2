#include "KVExportArchive.h"

#include "Reporter.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtDebug>

// The system's minizip, the one the web engine already loads: a second copy of its functions in the
// process (as QuaZip carries) would bind to the engine's and fail.
#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <algorithm>
#include <cstdio>

namespace {

zip_fileinfo entryInfo(const QString &strPath)
{
    zip_fileinfo info{};
    const QDateTime modified = QFileInfo(strPath).lastModified();
    info.tmz_date.tm_year = static_cast<uInt>(qMax(1980, modified.date().year()));
    info.tmz_date.tm_mon = static_cast<uInt>(modified.date().month() - 1);
    info.tmz_date.tm_mday = static_cast<uInt>(modified.date().day());
    info.tmz_date.tm_hour = static_cast<uInt>(modified.time().hour());
    info.tmz_date.tm_min = static_cast<uInt>(modified.time().minute());
    info.tmz_date.tm_sec = static_cast<uInt>(modified.time().second());
    return info;
}

} // namespace

bool KVExportArchive::isArchivePath(const QString &strPath)
{
    return strPath.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive);
}

bool KVExportArchive::write(const QString &strFolder, const QStringList &files, const QString &strZip)
{
    const QFileInfo target(strZip);
    const QString strFailure = tr("Cannot write the ZIP file %1.").arg(QDir::toNativeSeparators(target.absoluteFilePath()));
    if (target.isDir() || !QDir().mkpath(target.absolutePath())) {
        Reporter::error(strFailure);
        return false;
    }
    const QString strPart = QStringLiteral("%1/.%2.part-%3")
                                .arg(target.absolutePath(), target.fileName())
                                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    QString strDetail = QStringLiteral("creating the archive");
    zipFile zip = zipOpen64(QFile::encodeName(strPart).constData(), APPEND_STATUS_CREATE);
    bool bOk = zip != nullptr;
    for (int i = 0; bOk && i < files.size(); ++i) {
        const QString strPath = strFolder + QLatin1Char('/') + files.at(i);
        strDetail = files.at(i);
        QFile in(strPath);
        const zip_fileinfo info = entryInfo(strPath);
        // Names are stored as UTF-8 (general purpose flag bit 11).
        bOk = in.open(QIODevice::ReadOnly)
            && zipOpenNewFileInZip4_64(zip, files.at(i).toUtf8().constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                                       Z_DEFLATED, Z_BEST_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                       Z_DEFAULT_STRATEGY, nullptr, 0, 0, 1 << 11, in.size() >= 0xffffffffLL)
                == ZIP_OK;
        if (!bOk)
            break;
        while (bOk && !in.atEnd()) {
            const QByteArray block = in.read(1 << 20);
            bOk = !block.isEmpty()
                && zipWriteInFileInZip(zip, block.constData(), static_cast<unsigned>(block.size())) == ZIP_OK;
        }
        bOk = zipCloseFileInZip(zip) == ZIP_OK && bOk;
    }
    if (zip) {
        if (bOk)
            strDetail = QStringLiteral("closing the archive");
        bOk = zipClose(zip, nullptr) == ZIP_OK && bOk;
    }
    if (bOk) {
        strDetail = QStringLiteral("moving the archive into place");
        bOk = std::rename(QFile::encodeName(strPart).constData(), QFile::encodeName(target.absoluteFilePath()).constData())
            == 0;
    }
    if (!bOk) {
        qInfo().noquote() << "Export: cannot pack" << strFolder << "into" << strZip << "at" << strDetail;
        QFile::remove(strPart);
        Reporter::error(strFailure);
    }
    return bOk;
}

bool KVExportArchive::read(const QString &strZip, QList<Entry> &entries, const QStringList &textSuffixes,
                           QHash<QString, QByteArray> *pTexts)
{
    entries.clear();
    const QString strFailure = tr("Cannot read the ZIP file %1.").arg(QDir::toNativeSeparators(strZip));
    unzFile zip = unzOpen64(QFile::encodeName(strZip).constData());
    if (!zip) {
        Reporter::error(strFailure);
        return false;
    }
    int nStatus = unzGoToFirstFile(zip);
    while (nStatus == UNZ_OK) {
        unz_file_info64 info;
        char szName[4096];
        nStatus = unzGetCurrentFileInfo64(zip, &info, szName, sizeof szName, nullptr, 0, nullptr, 0);
        if (nStatus != UNZ_OK)
            break;
        const QString strName = (info.flag & (1 << 11)) ? QString::fromUtf8(szName) : QString::fromLatin1(szName);
        if (!strName.endsWith(QLatin1Char('/'))) { // not a folder entry
            entries.append({strName, static_cast<qint64>(info.uncompressed_size),
                            static_cast<qint64>(info.compressed_size)});
            const QString strLower = strName.toLower();
            const bool bText = pTexts && std::any_of(textSuffixes.cbegin(), textSuffixes.cend(),
                                                     [&](const QString &s) { return strLower.endsWith(s); });
            if (bText && unzOpenCurrentFile(zip) == UNZ_OK) {
                QByteArray data;
                char buffer[65536];
                int nRead = 0;
                while ((nRead = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0)
                    data.append(buffer, nRead);
                // A damaged entry reads short or fails its CRC at the close.
                if (unzCloseCurrentFile(zip) != UNZ_OK || nRead < 0) {
                    nStatus = UNZ_CRCERROR;
                    break;
                }
                pTexts->insert(strName, data);
            }
        }
        nStatus = unzGoToNextFile(zip);
    }
    unzClose(zip);
    if (nStatus != UNZ_END_OF_LIST_OF_FILE) {
        Reporter::error(strFailure);
        return false;
    }
    return true;
}
