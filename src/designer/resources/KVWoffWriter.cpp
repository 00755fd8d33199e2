#include "KVWoffWriter.h"

#include <QVector>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>

#include <zopfli/zopfli.h>

namespace {

quint32 read32(const QByteArray &data, qint64 nAt)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + nAt;
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

quint16 read16(const QByteArray &data, qint64 nAt)
{
    const auto *p = reinterpret_cast<const uchar *>(data.constData()) + nAt;
    return quint16((p[0] << 8) | p[1]);
}

void put32(QByteArray &data, qint64 nAt, quint32 n)
{
    data[int(nAt)] = char(n >> 24);
    data[int(nAt + 1)] = char(n >> 16);
    data[int(nAt + 2)] = char(n >> 8);
    data[int(nAt + 3)] = char(n);
}

void put16(QByteArray &data, qint64 nAt, quint16 n)
{
    data[int(nAt)] = char(n >> 8);
    data[int(nAt + 1)] = char(n);
}

quint32 padded(quint32 n)
{
    return (n + 3) & ~quint32(3);
}

struct Table
{
    quint32 nTag = 0;
    quint32 nChecksum = 0;
    quint32 nOffset = 0;
    quint32 nLength = 0;
    QByteArray stored; // compressed, or the table itself when compression does not pay
};

constexpr quint32 kCollectionTag = 0x74746366; // "ttcf"
constexpr int kHeaderSize = 44;
constexpr int kDirectoryEntrySize = 20;

} // namespace

QByteArray KVWoffWriter::privateData(const QByteArray &woff)
{
    if (woff.size() < kHeaderSize || read32(woff, 0) != 0x774F4646)
        return QByteArray();
    const quint32 nOffset = read32(woff, 36);
    const quint32 nLength = read32(woff, 40);
    if (nLength == 0 || qint64(nOffset) + nLength > woff.size())
        return QByteArray();
    return woff.mid(int(nOffset), int(nLength));
}

QByteArray KVWoffWriter::convert(const QByteArray &sfnt, int nFace, QString &strError,
                                 const QByteArray &privateData) const
{
    const qint64 nSize = sfnt.size();
    if (nSize < 12) {
        strError = tr("The data is too short for a font.");
        return {};
    }
    qint64 nDirectory = 0;
    if (read32(sfnt, 0) == kCollectionTag) {
        const quint32 nFaces = nSize >= 16 ? read32(sfnt, 8) : 0;
        if (nFace < 0 || quint32(nFace) >= nFaces || 12 + 4 * qint64(nFaces) > nSize) {
            strError = tr("The font collection has no face %1.").arg(nFace);
            return {};
        }
        nDirectory = read32(sfnt, 12 + 4 * nFace);
    } else if (nFace != 0) {
        strError = tr("The font has no face %1.").arg(nFace);
        return {};
    }
    if (nDirectory + 12 > nSize) {
        strError = tr("The font's table directory lies outside the file.");
        return {};
    }
    const quint32 nFlavor = read32(sfnt, nDirectory);
    if (nFlavor != 0x00010000 && nFlavor != 0x4F54544F /* OTTO */ && nFlavor != 0x74727565 /* true */) {
        strError = tr("The data is no TrueType or OpenType font.");
        return {};
    }
    const int nTables = read16(sfnt, nDirectory + 4);
    if (nTables == 0 || nDirectory + 12 + 16 * qint64(nTables) > nSize) {
        strError = tr("The font's table directory lies outside the file.");
        return {};
    }
    QVector<Table> tables(nTables);
    for (int i = 0; i < nTables; ++i) {
        const qint64 nEntry = nDirectory + 12 + 16 * i;
        Table &t = tables[i];
        t.nTag = read32(sfnt, nEntry);
        t.nChecksum = read32(sfnt, nEntry + 4);
        t.nOffset = read32(sfnt, nEntry + 8);
        t.nLength = read32(sfnt, nEntry + 12);
        if (qint64(t.nOffset) + t.nLength > nSize) {
            strError = tr("A table of the font lies outside the file.");
            return {};
        }
    }
    // The directory is sorted by tag; each table is compressed on its own, the big ones (glyphs,
    // outlines) spread over the processor's cores.
    std::sort(tables.begin(), tables.end(), [](const Table &a, const Table &b) { return a.nTag < b.nTag; });
    for (int i = 1; i < nTables; ++i) {
        if (tables.at(i).nTag == tables.at(i - 1).nTag) {
            strError = tr("The font names a table twice.");
            return {};
        }
    }
    const auto compress = [this, &sfnt](Table &t) {
        ZopfliOptions options;
        ZopfliInitOptions(&options);
        options.numiterations = m_nIterations;
        unsigned char *pOut = nullptr;
        size_t nOut = 0;
        ZopfliCompress(&options, ZOPFLI_FORMAT_ZLIB, reinterpret_cast<const unsigned char *>(sfnt.constData()) + t.nOffset,
                       t.nLength, &pOut, &nOut);
        if (pOut && nOut < t.nLength)
            t.stored = QByteArray(reinterpret_cast<const char *>(pOut), int(nOut));
        else
            t.stored = sfnt.mid(int(t.nOffset), int(t.nLength));
        std::free(pOut);
    };
    QVector<int> order(nTables);
    for (int i = 0; i < nTables; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&tables](int a, int b) { return tables.at(a).nLength > tables.at(b).nLength; });
    const int nThreads = int(std::max(1u, std::min(4u, std::thread::hardware_concurrency())));
    {
        // Largest tables first, each worker taking the next one left.
        std::atomic<int> nNext{0};
        const auto work = [&]() {
            for (int n = nNext++; n < nTables; n = nNext++)
                compress(tables[order.at(n)]);
        };
        std::vector<std::thread> workers;
        for (int i = 1; i < nThreads; ++i)
            workers.emplace_back(work);
        work();
        for (std::thread &worker : workers)
            worker.join();
    }

    quint32 nSfntSize = 12 + 16 * quint32(nTables);
    quint32 nTotal = kHeaderSize + kDirectoryEntrySize * quint32(nTables);
    for (const Table &t : qAsConst(tables)) {
        nSfntSize += padded(t.nLength);
        nTotal = padded(nTotal) + quint32(t.stored.size());
    }
    // The private block, when there is one, follows the tables on a 4-byte boundary and ends the
    // file unpadded.
    const quint32 nPrivate = privateData.isEmpty() ? 0 : padded(nTotal);
    const quint32 nLength = privateData.isEmpty() ? padded(nTotal) : nPrivate + quint32(privateData.size());
    QByteArray woff(int(nLength), '\0');
    put32(woff, 0, 0x774F4646); // "wOFF"
    put32(woff, 4, nFlavor);
    put32(woff, 8, nLength);
    if (nPrivate) {
        put32(woff, 36, nPrivate);
        put32(woff, 40, quint32(privateData.size()));
        std::copy(privateData.constBegin(), privateData.constEnd(), woff.begin() + nPrivate);
    }
    put16(woff, 12, quint16(nTables));
    put32(woff, 16, nSfntSize);
    put16(woff, 20, 1); // version of the font file: 1.0
    quint32 nAt = kHeaderSize + kDirectoryEntrySize * quint32(nTables);
    for (int i = 0; i < nTables; ++i) {
        const Table &t = tables.at(i);
        nAt = padded(nAt);
        const qint64 nEntry = kHeaderSize + kDirectoryEntrySize * i;
        put32(woff, nEntry, t.nTag);
        put32(woff, nEntry + 4, nAt);
        put32(woff, nEntry + 8, quint32(t.stored.size()));
        put32(woff, nEntry + 12, t.nLength);
        put32(woff, nEntry + 16, t.nChecksum);
        std::copy(t.stored.constBegin(), t.stored.constEnd(), woff.begin() + nAt);
        nAt += quint32(t.stored.size());
    }
    return woff;
}
