// The WOFF files an export embeds: every face of two installed families is packed and then read
// back by two readers that are not ours (fontTools, and Debian's woff2sfnt-zopfli followed by
// fontTools), which must find each table of the original font, byte for byte. Data that is no font
// gives a message and no file.

#include "KVTestMain.h"

#include "resources/KVSystemFonts.h"
#include "resources/KVWoffWriter.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Compares every table of face argv[2] of font argv[1] with the tables of the WOFF file argv[3]
// and of the fonts argv[4:] rebuilt from it.
const char *const kCompareTables = R"PY(
import sys
from fontTools.ttLib import TTFont
original = TTFont(sys.argv[1], fontNumber=int(sys.argv[2]), lazy=True).reader
for n, path in enumerate(sys.argv[3:]):
    packed = TTFont(path, lazy=True).reader
    if sorted(original.keys()) != sorted(packed.keys()):
        sys.exit('%s: tables %s, expected %s' % (path, sorted(packed.keys()), sorted(original.keys())))
    for tag in original.keys():
        a, b = original[tag], packed[tag]
        if tag == 'head' and n > 0:
            # A rebuilt font sets the whole-font checksum in head for its own layout.
            a, b = a[:8] + a[12:], b[:8] + b[12:]
        if a != b:
            sys.exit('%s: table %s differs' % (path, tag))
    print(path, getattr(packed, 'flavor', None))
)PY";

// Debian's Python, where python3-fonttools lives (a python3 earlier on the path may lack it).
QString python()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                 : QStringLiteral("python3");
}

QByteArray readAll(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_WoffWriter : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void notAFont_data();
    void notAFont();
};

void tst_WoffWriter::roundTrip_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("face");
    for (const QString &strFamily : {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")}) {
        const QList<KVSystemFonts::Face> faces = KVSystemFonts::faces(strFamily);
        for (const KVSystemFonts::Face &face : faces)
            QTest::newRow(qPrintable(QFileInfo(face.strFile).fileName())) << face.strFile << face.nIndex;
        if (faces.isEmpty())
            QTest::newRow(qPrintable(strFamily)) << QString() << 0;
    }
}

void tst_WoffWriter::roundTrip()
{
    QFETCH(QString, file);
    QFETCH(int, face);
    if (file.isEmpty())
        QSKIP("the family is not installed (fonts-dejavu-core, fonts-liberation2)");
    const QString strDecoder = QStandardPaths::findExecutable(QStringLiteral("woff2sfnt-zopfli"));
    if (strDecoder.isEmpty() || QProcess::execute(python(), {"-c", "import fontTools"}) != 0)
        QSKIP("woff2sfnt-zopfli or python3-fonttools is not installed (scripts/install-deps)");
    QTemporaryDir dir;
    QString strError;
    // One Zopfli pass: the container is the same whatever the compression level.
    // With a private block, which the readers must pass over.
    const QByteArray woff = KVWoffWriter(1).convert(readAll(file), face, strError, "kavio-woff:test");
    QVERIFY2(!woff.isEmpty(), qPrintable(strError));
    QCOMPARE(woff.left(4), QByteArray("wOFF"));
    QCOMPARE(KVWoffWriter::privateData(woff), QByteArray("kavio-woff:test"));
    const QString strWoff = dir.filePath(QStringLiteral("face.woff"));
    const QString strSfnt = dir.filePath(QStringLiteral("face.ttf"));
    {
        QFile out(strWoff);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(woff) == woff.size());
    }
    QProcess decoder;
    decoder.setStandardOutputFile(strSfnt);
    decoder.start(strDecoder, {strWoff});
    QVERIFY(decoder.waitForFinished(60000));
    QCOMPARE(decoder.exitCode(), 0);

    QProcess compare;
    compare.start(python(), {"-c", kCompareTables, file, QString::number(face), strWoff, strSfnt});
    QVERIFY(compare.waitForFinished(120000));
    const QByteArray out = compare.readAllStandardOutput() + compare.readAllStandardError();
    QVERIFY2(compare.exitCode() == 0, out.constData());
    QVERIFY2(out.contains(" woff\n"), out.constData());
    // Compression paid: the WOFF file is smaller than the face.
    QVERIFY(woff.size() < QFileInfo(file).size());
}

void tst_WoffWriter::notAFont_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("face");
    QTest::addColumn<QString>("message");
    QByteArray header("\x00\x01\x00\x00\x00\x02\x00\x20\x00\x01\x00\x00", 12);
    QTest::newRow("empty") << QByteArray() << 0 << "The data is too short for a font.";
    QTest::newRow("text") << QByteArray("not a font, just some text") << 0
                          << "The data is no TrueType or OpenType font.";
    QTest::newRow("directory cut off") << header << 0 << "The font's table directory lies outside the file.";
    QByteArray table = header + QByteArray("glyf\0\0\0\0\0\0\0\x2c\0\0\x10\0", 16)
        + QByteArray("head\0\0\0\0\0\0\0\x2c\0\0\0\x04", 16) + QByteArray(4, 'x');
    QTest::newRow("table outside") << table << 0 << "A table of the font lies outside the file.";
    QTest::newRow("face of a single font") << table << 1 << "The font has no face 1.";
    QByteArray collection("ttcf\x00\x01\x00\x00\x00\x00\x00\x01\x00\x00\x00\x10", 16);
    QTest::newRow("face of a collection") << collection << 3 << "The font collection has no face 3.";
}

void tst_WoffWriter::notAFont()
{
    QFETCH(QByteArray, data);
    QFETCH(int, face);
    QFETCH(QString, message);
    QString strError;
    QVERIFY(KVWoffWriter(1).convert(data, face, strError).isEmpty());
    QCOMPARE(strError, message);
}

KAVIO_TEST_MAIN(tst_WoffWriter)
#include "tst_woffwriter.moc"
