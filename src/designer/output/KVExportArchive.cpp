#include "KVExportArchive.h"

#include "Reporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <quazipnewinfo.h>

#include <zlib.h>

#include <cstdio>

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
    bool bOk = true;
    {
        QuaZip zip(strPart);
        bOk = zip.open(QuaZip::mdCreate);
        for (int i = 0; bOk && i < files.size(); ++i) {
            const QString strPath = strFolder + QLatin1Char('/') + files.at(i);
            QFile in(strPath);
            QuaZipFile out(&zip);
            bOk = in.open(QIODevice::ReadOnly)
                && out.open(QIODevice::WriteOnly, QuaZipNewInfo(files.at(i), strPath), nullptr, 0, Z_DEFLATED,
                            Z_BEST_COMPRESSION);
            while (bOk && !in.atEnd()) {
                const QByteArray block = in.read(1 << 20);
                bOk = !block.isEmpty() && out.write(block) == block.size();
            }
            if (out.isOpen()) {
                out.close();
                bOk = bOk && out.getZipError() == ZIP_OK;
            }
        }
        if (zip.isOpen()) {
            zip.close();
            bOk = bOk && zip.getZipError() == ZIP_OK;
        }
    }
    if (bOk)
        bOk = std::rename(QFile::encodeName(strPart).constData(), QFile::encodeName(target.absoluteFilePath()).constData())
            == 0;
    if (!bOk) {
        QFile::remove(strPart);
        Reporter::error(strFailure);
    }
    return bOk;
}

bool KVExportArchive::read(const QString &strZip, QList<Entry> &entries, const QStringList &textSuffixes,
                           QHash<QString, QByteArray> *pTexts)
{
    entries.clear();
    QuaZip zip(strZip);
    if (!zip.open(QuaZip::mdUnzip)) {
        Reporter::error(tr("Cannot read the ZIP file %1.").arg(QDir::toNativeSeparators(strZip)));
        return false;
    }
    for (bool bMore = zip.goToFirstFile(); bMore; bMore = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            break;
        if (info.name.endsWith(QLatin1Char('/')))
            continue; // a folder entry
        entries.append({info.name, static_cast<qint64>(info.uncompressedSize), static_cast<qint64>(info.compressedSize)});
        if (!pTexts)
            continue;
        const QString strLower = info.name.toLower();
        for (const QString &strSuffix : textSuffixes) {
            if (!strLower.endsWith(strSuffix))
                continue;
            QuaZipFile file(&zip);
            if (file.open(QIODevice::ReadOnly))
                pTexts->insert(info.name, file.readAll());
            break;
        }
    }
    const bool bOk = zip.getZipError() == UNZ_OK;
    zip.close();
    if (!bOk)
        Reporter::error(tr("Cannot read the ZIP file %1.").arg(QDir::toNativeSeparators(strZip)));
    return bOk;
}
