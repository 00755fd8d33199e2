#include "KVSystemFontEmbedder.h"

#include "output/KVWebEscape.h"
#include "resources/KVSystemFonts.h"
#include "resources/KVWoffWriter.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QMutex>
#include <QSaveFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtDebug>

#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr qint64 kLargestFontFile = 134217728;
constexpr int kIterations = 15; // Zopfli's own default

// The faces packed in this process, by key.
QMutex g_cacheMutex;
QHash<QByteArray, QByteArray> g_cache;

// What a WOFF file holds: the face's data and index and how hard it was packed.
QByteArray faceKey(const QByteArray &data, int nFace)
{
    return "kavio-woff:" + QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex() + ':'
        + QByteArray::number(nFace) + ':' + QByteArray::number(kIterations);
}

// Packed faces outlive the process in the user's cache folder: packing one takes seconds, and the
// same few faces go into every export. A cached file counts only when it names the same key.
QString cacheFile(const QByteArray &key)
{
    const QString strFolder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (strFolder.isEmpty())
        return QString();
    return strFolder + QStringLiteral("/fonts/")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex()) + QStringLiteral(".woff");
}

QByteArray readPacked(const QString &strFile, const QByteArray &key)
{
    QFile file(strFile);
    if (strFile.isEmpty() || file.size() > kLargestFontFile || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray bytes = file.readAll();
    return KVWoffWriter::privateData(bytes) == key ? bytes : QByteArray();
}

void keepPacked(const QString &strFile, const QByteArray &woff)
{
    if (strFile.isEmpty() || !QDir().mkpath(QFileInfo(strFile).absolutePath()))
        return;
    QSaveFile out(strFile);
    if (out.open(QIODevice::WriteOnly) && out.write(woff) == woff.size())
        out.commit();
}

// Text inside a CSS string in single quotes.
QString cssString(const QString &str)
{
    QString strOut;
    for (const QChar c : str) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\'') || c == QLatin1Char('"'))
            strOut += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            strOut += QStringLiteral("\\%1 ").arg(c.unicode(), 0, 16);
        else
            strOut += c;
    }
    return strOut;
}

} // namespace

QString KVSystemFontEmbedder::firstFamily(const QString &strCssFamilies)
{
    QString strName;
    const QString str = strCssFamilies.trimmed();
    if (str.startsWith(QLatin1Char('\'')) || str.startsWith(QLatin1Char('"'))) {
        const QChar quote = str.at(0);
        for (int n = 1; n < str.size() && str.at(n) != quote; ++n) {
            if (str.at(n) == QLatin1Char('\\') && n + 1 < str.size())
                ++n;
            strName += str.at(n);
        }
    } else {
        strName = str.section(QLatin1Char(','), 0, 0).remove(QLatin1Char('"')).trimmed();
        static const QStringList generic{QStringLiteral("serif"), QStringLiteral("sans-serif"),
                                         QStringLiteral("monospace"), QStringLiteral("cursive"),
                                         QStringLiteral("fantasy"), QStringLiteral("system-ui")};
        if (generic.contains(strName, Qt::CaseInsensitive))
            return QString();
    }
    return strName.trimmed();
}

QString KVSystemFontEmbedder::fileName(const QString &strFamily, bool bBold, bool bItalic)
{
    QString strName = strFamily;
    if (bBold)
        strName += QStringLiteral("_Bold");
    if (bItalic)
        strName += QStringLiteral("_Italic");
    for (QChar &c : strName) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20
            || QStringLiteral("*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    if (strName.startsWith(QLatin1Char('.')))
        strName.prepend(QLatin1Char('_'));
    return (strName + QStringLiteral(".woff")).toLower();
}

QString KVSystemFontEmbedder::rule(const QString &strFamily, bool bBold, bool bItalic, const QString &strUrl)
{
    QString strLocal = strFamily;
    if (bBold)
        strLocal += QStringLiteral(" Bold");
    if (bItalic)
        strLocal += QStringLiteral(" Italic");
    return QStringLiteral("@font-face{\n"
                          "    font-family: '%1';\n"
                          "    font-style: %2;\n"
                          "    font-weight: %3;\n"
                          "    src: local('%4'),\n"
                          "         url('%5');\n"
                          "}\n")
        .arg(cssString(strFamily), bItalic ? QStringLiteral("italic") : QStringLiteral("normal"),
             bBold ? QStringLiteral("700") : QStringLiteral("400"), cssString(strLocal), cssString(strUrl));
}

bool KVSystemFontEmbedder::convertSystemFont(const QString &strFontFile, int nFace, const QString &strTarget,
                                             const QString &strEarlier)
{
    QFile file(strFontFile);
    if (!file.open(QIODevice::ReadOnly)) {
        qInfo().noquote() << QStringLiteral("Could not open the font file %1").arg(strFontFile);
        return false;
    }
    if (file.size() > kLargestFontFile) {
        qInfo().noquote() << QStringLiteral("Font file %1 is too large").arg(strFontFile);
        return false;
    }
    const QByteArray data = file.readAll();
    if (data.size() != file.size()) {
        qInfo().noquote() << QStringLiteral("Error while reading font %1").arg(strFontFile);
        return false;
    }
    const QByteArray key = faceKey(data, nFace);
    QByteArray woff = readPacked(strEarlier, key);
    if (woff.isEmpty()) {
        QMutexLocker lock(&g_cacheMutex);
        woff = g_cache.value(key);
    }
    const QString strCached = cacheFile(key);
    if (woff.isEmpty())
        woff = readPacked(strCached, key);
    if (woff.isEmpty()) {
        QString strError;
        woff = KVWoffWriter(kIterations).convert(data, nFace, strError, key);
        if (woff.isEmpty()) {
            qInfo().noquote() << QStringLiteral("Error while converting font %1 %2").arg(strFontFile, strError);
            return false;
        }
        keepPacked(strCached, woff);
    }
    {
        QMutexLocker lock(&g_cacheMutex);
        g_cache.insert(key, woff);
    }
    QSaveFile out(strTarget);
    if (!out.open(QIODevice::WriteOnly)) {
        qInfo().noquote() << QStringLiteral("Could not open file %1 for writing font data").arg(strTarget);
        return false;
    }
    if (out.write(woff) != woff.size() || !out.commit()) {
        qInfo().noquote() << QStringLiteral("Error while writing font data to file %1").arg(strTarget);
        return false;
    }
    return true;
}

bool KVSystemFontEmbedder::write(const QString &strFolder, const QString &strUrlFolder,
                                 const QString &strPreviousFolder, const KVFontFaces &faces, QString &strRules,
                                 QStringList &files)
{
    // Each family with the styles its text uses: bit 0 bold, bit 1 italic.
    QStringList names;
    QHash<QString, int> styles;
    for (const KVFontFace &face : faces) {
        const QString strFamily = firstFamily(face.strFamily);
        if (strFamily.isEmpty())
            continue;
        if (!names.contains(strFamily, Qt::CaseInsensitive))
            names << strFamily;
        styles[strFamily.toLower()] |= 1 << ((face.bBold ? 1 : 0) | (face.bItalic ? 2 : 0));
    }
    // The same rules in the same order on every export of the same project.
    std::sort(names.begin(), names.end());
    struct Job
    {
        QString strFamily;
        bool bBold = false;
        bool bItalic = false;
        KVSystemFonts::Face face;
        QString strName;
        bool bWritten = false;
    };
    std::vector<Job> jobs;
    for (const QString &strFamily : qAsConst(names)) {
        bool bAny = false;
        const int nUsed = styles.value(strFamily.toLower());
        for (int nStyle = 0; nStyle < 4; ++nStyle) {
            if (!(nUsed & (1 << nStyle)))
                continue;
            Job job;
            job.strFamily = strFamily;
            job.bBold = nStyle & 1;
            job.bItalic = nStyle & 2;
            if (!KVSystemFonts::findFace(strFamily, job.bBold, job.bItalic, job.face))
                continue;
            bAny = true;
            job.strName = fileName(strFamily, job.bBold, job.bItalic);
            jobs.push_back(job);
        }
        if (!bAny)
            qInfo().noquote() << QStringLiteral("Font %1 not found").arg(strFamily);
    }
    if (jobs.empty())
        return true;
    QDir().mkpath(strFolder);
    // The faces are packed side by side (and each face's tables too).
    {
        std::atomic<size_t> nNext{0};
        const auto work = [&]() {
            for (size_t n = nNext++; n < jobs.size(); n = nNext++) {
                Job &job = jobs[n];
                job.bWritten = convertSystemFont(job.face.strFile, job.face.nIndex,
                                                 strFolder + QLatin1Char('/') + job.strName,
                                                 strPreviousFolder.isEmpty()
                                                     ? QString()
                                                     : strPreviousFolder + QLatin1Char('/') + job.strName);
            }
        };
        std::vector<std::thread> workers;
        const size_t nThreads = std::min<size_t>(jobs.size(), std::max(1u, std::thread::hardware_concurrency()));
        for (size_t i = 1; i < nThreads; ++i)
            workers.emplace_back(work);
        work();
        for (std::thread &worker : workers)
            worker.join();
    }
    for (const Job &job : jobs) {
        if (!job.bWritten)
            continue;
        files << job.strName;
        const QString strUrl =
            KVWebEscape::urlPath(strUrlFolder.isEmpty() ? job.strName : strUrlFolder + QLatin1Char('/') + job.strName);
        strRules += rule(job.strFamily, job.bBold, job.bItalic, strUrl);
    }
    return true;
}
