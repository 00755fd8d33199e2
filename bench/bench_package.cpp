// Packages of a project with 200 MB of resources: writing one through the document against
// "zip -r -1" of the same files, and unpacking it through the package reader against "unzip" of the
// same package, in the same run. Most of the data is media (incompressible), a tenth is text;
// every entry is deflated. Prints the times and the ratios; each side takes the best of a few runs.
#include "document/KVDocument.h"
#include "document/KVPackageReader.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "Reporter.h"
#include "IReporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {
constexpr int kRuns = 2;

// Bytes that do not compress (as in a video or a photo).
QByteArray noiseBytes(qint64 nSize, quint32 nSeed)
{
    QByteArray data(int(nSize), Qt::Uninitialized);
    quint32 x = 2463534242u + nSeed;
    auto *p = reinterpret_cast<quint32 *>(data.data());
    for (qint64 i = 0; i < nSize / 4; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        p[i] = x;
    }
    return data;
}

// Text as a script or a drawing has it: repeated words with changing numbers.
QByteArray textBytes(qint64 nSize, int nSeed)
{
    QByteArray data;
    data.reserve(int(nSize) + 64);
    for (int i = 0; data.size() < nSize; ++i)
        data += "<path d=\"M" + QByteArray::number((i * 37 + nSeed) % 1000) + " " + QByteArray::number(i % 613)
            + " L" + QByteArray::number((i * 11) % 997) + "\" fill=\"#" + QByteArray::number(i % 4096, 16) + "\"/>\n";
    data.truncate(int(nSize));
    return data;
}

class QuietReporter : public IReporter
{
public:
    void report(Severity severity, const QString &, const QString &text) override
    {
        if (severity != Information)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    Button ask(const QString &, const QString &, int, Button defaultButton) override { return defaultButton; }
    int choose(const QString &, const QString &, const QStringList &, int defaultIndex) override { return defaultIndex; }
};

double bestOf(const std::function<bool()> &run)
{
    double dBest = 1e30;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return -1;
        dBest = qMin(dBest, timer.nsecsElapsed() / 1e6);
    }
    return dBest;
}

bool runTool(const QString &strProgram, const QStringList &args, const QString &strFolder)
{
    QProcess process;
    process.setWorkingDirectory(strFolder);
    process.start(strProgram, args);
    return process.waitForFinished(600000) && process.exitCode() == 0;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QuietReporter reporter;
    Reporter::setInstance(&reporter);
    QTemporaryDir dir;
    const QString strFolder = dir.path() + QStringLiteral("/show");
    const QString strFile = strFolder + QStringLiteral("/show.kavio");
    QDir().mkpath(strFolder);

    // 180 MB of media and 20 MB of text.
    qint64 nTotal = 0;
    {
        KVDocument doc;
        doc.setFileName(strFile);
        doc.create(1280, 720, 2, false);
        QList<QPair<QString, QByteArray>> files;
        for (int i = 0; i < 6; ++i)
            files.append({QStringLiteral("clip%1.mp4").arg(i), noiseBytes(20 * 1000 * 1000, quint32(i))});
        for (int i = 0; i < 20; ++i)
            files.append({QStringLiteral("photo%1.jpg").arg(i), noiseBytes(3 * 1000 * 1000, quint32(100 + i))});
        for (int i = 0; i < 10; ++i)
            files.append({QStringLiteral("drawing%1.svg").arg(i), textBytes(2 * 1000 * 1000, i)});
        for (const auto &f : files) {
            const QString strSource = dir.path() + QLatin1Char('/') + f.first;
            QFile source(strSource);
            if (!source.open(QIODevice::WriteOnly) || source.write(f.second) != f.second.size())
                return 1;
            source.close();
            KVResource *pResource = doc.resourceManager()->importFile(strSource);
            if (!pResource || !doc.resourceManager()->addResource(pResource))
                return 1;
            QFile::remove(strSource);
            nTotal += f.second.size();
        }
        if (!doc.save())
            return 1;
        doc.close();
    }

    KVDocument doc;
    if (!doc.load(strFile))
        return 1;
    const QString strPackage = dir.path() + QStringLiteral("/show.kaviopack");
    const QString strZip = dir.path() + QStringLiteral("/show.zip");
    const double dWrite = bestOf([&] { return doc.saveToPackage(strPackage); });
    const double dZip = bestOf([&] {
        QFile::remove(strZip);
        return runTool(QStringLiteral("zip"), {QStringLiteral("-r"), QStringLiteral("-1"), QStringLiteral("-q"), strZip,
                                               QStringLiteral("show.kavio"), QStringLiteral("show_res")},
                       strFolder);
    });

    const QString strOut = dir.path() + QStringLiteral("/out");
    int nRun = 0;
    const double dRead = bestOf([&] {
        const QString strTarget = strOut + QStringLiteral("/read%1/copy.kavio").arg(++nRun);
        QDir().mkpath(QFileInfo(strTarget).absolutePath());
        KVPackageReader reader;
        const bool bDone = reader.extract(strPackage, strTarget);
        QDir(QFileInfo(strTarget).absolutePath()).removeRecursively();
        return bDone;
    });
    const double dUnzip = bestOf([&] {
        const QString strTarget = strOut + QStringLiteral("/unzip%1").arg(++nRun);
        const bool bDone = runTool(QStringLiteral("unzip"), {QStringLiteral("-q"), strPackage, QStringLiteral("-d"), strTarget},
                                   dir.path());
        QDir(strTarget).removeRecursively();
        return bDone;
    });

    std::printf("resources: %.1f MB in 36 files (180 MB media, 20 MB text)\n", nTotal / 1e6);
    std::printf("package size %.1f MB, zip -1 size %.1f MB\n", QFileInfo(strPackage).size() / 1e6,
                QFileInfo(strZip).size() / 1e6);
    std::printf("write: package %.0f ms, zip -r -1 %.0f ms, ratio %.2f (target <= 1.30)\n", dWrite, dZip,
                dWrite / dZip);
    std::printf("read:  package %.0f ms, unzip %.0f ms, ratio %.2f (target <= 1.30)\n", dRead, dUnzip,
                dRead / dUnzip);
    doc.close();
    return (dWrite < 0 || dZip < 0 || dRead < 0 || dUnzip < 0) ? 1 : 0;
}
