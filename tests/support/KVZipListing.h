#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The entries of a ZIP file as Python's zipfile reads them, after its own CRC test: one line per
// entry in archive order, made by the Python expression strLine over the entry `i` and the file `z`
// (for example "i.filename"). Empty when Python refuses the file.
inline QStringList kvZipListing(const QString &strZip, const QString &strLine)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import hashlib, sys, zipfile\n"
                                 "z = zipfile.ZipFile(sys.argv[1])\n"
                                 "assert z.testzip() is None\n"
                                 "for i in z.infolist(): print(%1)\n").arg(strLine),
                  strZip});
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0)
        return QStringList();
    return QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
