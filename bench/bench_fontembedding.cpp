// Embedding installed fonts in an export: the four faces of DejaVu Sans (about 700 KB each) packed
// into WOFF files with Zopfli's default 15 passes, as an export of a project set in that family
// does it. The time of the first export (every face packed, the user's font cache empty), of later exports in the same process
// (min and median of a few rounds) and of the next export by a new process over the last export's
// folder; then each WOFF file's size beside the one Debian's sfnt2woff-zopfli makes of the face.
#include "output/KVSystemFontEmbedder.h"
#include "resources/KVSystemFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// A text in each of the family's four faces.
const KVFontFaces g_faces{{QStringLiteral("'DejaVu Sans'"), false, false},
                          {QStringLiteral("'DejaVu Sans'"), true, false},
                          {QStringLiteral("'DejaVu Sans'"), false, true},
                          {QStringLiteral("'DejaVu Sans'"), true, true}};

// One export's font work into strFolder; its milliseconds.
qint64 embed(const QString &strFolder, const QString &strPrevious, QStringList &files)
{
    QString strRules;
    files.clear();
    QElapsedTimer timer;
    timer.start();
    KVSystemFontEmbedder::write(strFolder, QStringLiteral("resources"), strPrevious, g_faces, strRules, files);
    return timer.elapsed();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // An empty font cache, so that the first export packs every face.
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
    QStringList files;
    // "--again <folder>": a new process (the command-line tool's next export) with the fonts of the
    // last export in <folder>.
    if (argc == 3 && QByteArray(argv[1]) == "--again") {
        QTemporaryDir dir;
        std::printf("%lld\n", embed(dir.path(), QString::fromLocal8Bit(argv[2]), files));
        return files.isEmpty() ? 1 : 0;
    }
    const QString strFamily = QStringLiteral("DejaVu Sans");
    constexpr int kRounds = 3;
    QTemporaryDir dir;
    const qint64 nFirst = embed(dir.path(), QString(), files);
    if (files.isEmpty()) {
        std::fprintf(stderr, "%s is not installed\n", qPrintable(strFamily));
        return 1;
    }
    QList<qint64> times;
    QTemporaryDir later;
    for (int n = 0; n < kRounds; ++n)
        times << embed(later.path(), QString(), files);
    QProcess again;
    again.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--again"), dir.path()});
    again.waitForFinished(-1);
    const QByteArray againMs = again.readAllStandardOutput().trimmed();
    std::sort(times.begin(), times.end());
    qint64 nFaceBytes = 0;
    for (int nStyle = 0; nStyle < 4; ++nStyle) {
        KVSystemFonts::Face face;
        if (KVSystemFonts::findFace(strFamily, nStyle & 1, nStyle & 2, face))
            nFaceBytes += QFileInfo(face.strFile).size();
    }
    std::printf("%s: %lld faces, %lld bytes of fonts\n", qPrintable(strFamily), qlonglong(files.size()), nFaceBytes);
    std::printf("first export (every face packed): %lld ms\n", nFirst);
    std::printf("later exports in the same process: min %lld ms, median %lld ms (%d rounds)\n", times.first(),
                times.at(kRounds / 2), kRounds);
    std::printf("next export by a new process over the last export's folder: %s ms\n", againMs.constData());

    const QString strTool = QStandardPaths::findExecutable(QStringLiteral("sfnt2woff-zopfli"));
    std::printf("%-34s %10s %10s %10s %8s\n", "face", "font", "ours", "sfnt2woff", "ours/it");
    qint64 nOurs = 0;
    qint64 nTheirs = 0;
    for (int nStyle = 0; nStyle < 4; ++nStyle) {
        KVSystemFonts::Face face;
        if (!KVSystemFonts::findFace(strFamily, nStyle & 1, nStyle & 2, face))
            continue;
        const QString strOurs = dir.filePath(KVSystemFontEmbedder::fileName(strFamily, nStyle & 1, nStyle & 2));
        qint64 nTheirSize = -1;
        if (!strTool.isEmpty()) {
            // sfnt2woff-zopfli writes <name>.woff beside its input.
            const QString strCopy = dir.filePath(QStringLiteral("theirs.ttf"));
            QFile::remove(strCopy);
            QFile::copy(face.strFile, strCopy);
            QProcess::execute(strTool, {strCopy});
            nTheirSize = QFileInfo(dir.filePath(QStringLiteral("theirs.woff"))).size();
            QFile::remove(dir.filePath(QStringLiteral("theirs.woff")));
        }
        const qint64 nOurSize = QFileInfo(strOurs).size();
        nOurs += nOurSize;
        nTheirs += nTheirSize;
        std::printf("%-34s %10lld %10lld %10lld %8.4f\n", qPrintable(QFileInfo(face.strFile).fileName()),
                    QFileInfo(face.strFile).size(), nOurSize, nTheirSize,
                    nTheirSize > 0 ? double(nOurSize) / double(nTheirSize) : 0.0);
    }
    std::printf("%-34s %10lld %10lld %10lld %8.4f\n", "total", nFaceBytes, nOurs, nTheirs,
                nTheirs > 0 ? double(nOurs) / double(nTheirs) : 0.0);
    return 0;
}
