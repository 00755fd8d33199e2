#include "KVExportArchive.h"

#include "Reporter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtDebug>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

#include <algorithm>
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
    QString strDetail = QStringLiteral("creating the archive");
    // QuaZip writes through this file, so that a failure to open it shows here and not as an
    // archive that silently stays empty.
    QFile file(strPart);
    QuaZip zip(&file);
    zip.setUtf8Enabled(true);
    bool bOk = zip.open(QuaZip::mdCreate) && file.isOpen();
    for (int i = 0; bOk && i < files.size(); ++i) {
        const QString strPath = strFolder + QLatin1Char('/') + files.at(i);
        strDetail = files.at(i);
        QFile in(strPath);
        zip.setZip64Enabled(QFileInfo(strPath).size() >= 0xffffffffLL);
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
        if (bOk)
            strDetail = QStringLiteral("closing the archive");
        zip.close();
        bOk = bOk && zip.getZipError() == ZIP_OK;
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
    QFile file(strZip);
    QuaZip zip(&file);
    if (!zip.open(QuaZip::mdUnzip) || !file.isOpen()) {
        Reporter::error(strFailure);
        return false;
    }
    bool bOk = true;
    for (bool bMore = zip.goToFirstFile(); bOk && bMore; bMore = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info)) {
            bOk = false;
            break;
        }
        if (info.name.endsWith(QLatin1Char('/'))) // a folder entry
            continue;
        entries.append({info.name, static_cast<qint64>(info.uncompressedSize), static_cast<qint64>(info.compressedSize)});
        const QString strLower = info.name.toLower();
        const bool bText = pTexts && std::any_of(textSuffixes.cbegin(), textSuffixes.cend(),
                                                 [&](const QString &s) { return strLower.endsWith(s); });
        if (!bText)
            continue;
        QuaZipFile in(&zip);
        if (!in.open(QIODevice::ReadOnly)) {
            bOk = false;
            break;
        }
        const QByteArray data = in.readAll();
        in.close();
        // A damaged entry reads short or fails its CRC at the close.
        bOk = in.getZipError() == UNZ_OK && data.size() == info.uncompressedSize;
        if (bOk)
            pTexts->insert(info.name, data);
    }
    bOk = bOk && zip.getZipError() == UNZ_OK;
    zip.close();
    if (!bOk) {
        Reporter::error(strFailure);
        return false;
    }
    return true;
}
