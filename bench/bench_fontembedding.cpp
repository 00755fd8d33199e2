// Embedding installed fonts in an export: the four faces of DejaVu Sans (about 700 KB each) packed
// into WOFF files with Zopfli's default 15 passes, as an export of a project set in that family
// does it; the time per export (min and median of a few rounds), then each WOFF file's size beside
// the one Debian's sfnt2woff-zopfli makes of the same face.
#include "output/KVSystemFontEmbedder.h"
#include "resources/KVSystemFonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString strFamily = QStringLiteral("DejaVu Sans");
    constexpr int kRounds = 3;
    QTemporaryDir dir;
    QList<qint64> times;
    QStringList files;
    for (int n = 0; n < kRounds; ++n) {
        QString strRules;
        files.clear();
        QElapsedTimer timer;
        timer.start();
        KVSystemFontEmbedder::write(dir.path(), QStringLiteral("resources"), {QStringLiteral("'DejaVu Sans'")},
                                    strRules, files);
        times << timer.elapsed();
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "%s is not installed\n", qPrintable(strFamily));
        return 1;
    }
    std::sort(times.begin(), times.end());
    qint64 nFaceBytes = 0;
    for (int nStyle = 0; nStyle < 4; ++nStyle) {
        KVSystemFonts::Face face;
        if (KVSystemFonts::findFace(strFamily, nStyle & 1, nStyle & 2, face))
            nFaceBytes += QFileInfo(face.strFile).size();
    }
    std::printf("%s: %lld faces, %lld bytes of fonts; per export: min %lld ms, median %lld ms (%d rounds)\n",
                qPrintable(strFamily), qlonglong(files.size()), nFaceBytes, times.first(), times.at(kRounds / 2),
                kRounds);

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
