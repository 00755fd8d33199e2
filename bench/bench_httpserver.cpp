// The preview server on loopback: requests per second for a small file over one keep-alive
// connection, one request at a time and pipelined in batches, and the streaming rate of a large
// file. Server and client share the one thread and its event loop, as the browser preview does
// with the editor (the client's share of the work is in the figures).
#include "output/KVHttpServer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>

namespace {
struct Setup {
    QTemporaryDir dir;
    KVHttpServer server;
    QByteArray baSmallTarget;
    QByteArray baLargeTarget;
    static constexpr int SmallSize = 2048;
    static constexpr qint64 LargeSize = 32 * 1048576;

    Setup()
    {
        QDir().mkpath(dir.path() + "/root");
        writeFile(dir.path() + "/root/small.html", QByteArray(SmallSize, 's'));
        QFile large(dir.path() + "/root/large.bin");
        large.open(QIODevice::WriteOnly);
        const QByteArray baBlock(1048576, 'L');
        for (qint64 n = 0; n < LargeSize; n += baBlock.size())
            large.write(baBlock);
        large.close();
        server.listen(QHostAddress::LocalHost, 0);
        server.addRoot(dir.path() + "/root");
        baSmallTarget = QUrl::toPercentEncoding(dir.path() + "/root/small.html", "/");
        baLargeTarget = QUrl::toPercentEncoding(dir.path() + "/root/large.bin", "/");
    }

    static void writeFile(const QString &strPath, const QByteArray &baData)
    {
        QFile file(strPath);
        file.open(QIODevice::WriteOnly);
        file.write(baData);
    }
};

Setup *s_pSetup = nullptr; // made in main(), where the application object exists

Setup &setup()
{
    return *s_pSetup;
}

QByteArray request(const QByteArray &baTarget)
{
    return "GET " + baTarget + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(setup().server.port())
           + "\r\nUser-Agent: bench\r\n\r\n";
}

// Reads nCount complete responses off the socket, running the event loop meanwhile; returns the
// number of body bytes, or -1 when the connection failed.
qint64 readResponses(QTcpSocket &socket, QByteArray &baBuffer, int nCount)
{
    qint64 nBodyBytes = 0;
    while (nCount > 0) {
        const int nHeadEnd = baBuffer.indexOf("\r\n\r\n");
        if (nHeadEnd >= 0) {
            const int nField = baBuffer.indexOf("content-length: ");
            const int nLineEnd = baBuffer.indexOf("\r\n", nField);
            const qint64 nLength = baBuffer.mid(nField + 16, nLineEnd - nField - 16).toLongLong();
            if (baBuffer.size() - nHeadEnd - 4 >= nLength) {
                baBuffer.remove(0, int(nHeadEnd + 4 + nLength));
                nBodyBytes += nLength;
                --nCount;
                continue;
            }
        }
        if (socket.state() != QAbstractSocket::ConnectedState)
            return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        baBuffer += socket.readAll();
    }
    return nBodyBytes;
}

// Large bodies are counted as they arrive rather than gathered.
qint64 drainResponse(QTcpSocket &socket, qint64 nBodySize)
{
    QByteArray baHead;
    qint64 nBody = 0;
    while (nBody < nBodySize) {
        if (socket.state() != QAbstractSocket::ConnectedState)
            return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const QByteArray baData = socket.readAll();
        if (baHead.isEmpty() || !baHead.endsWith("\r\n\r\n")) {
            baHead += baData;
            const int nEnd = baHead.indexOf("\r\n\r\n");
            if (nEnd >= 0) {
                nBody += baHead.size() - nEnd - 4;
                baHead.truncate(nEnd + 4);
            }
        } else {
            nBody += baData.size();
        }
    }
    return nBody;
}

bool connectClient(QTcpSocket &socket)
{
    socket.connectToHost(QHostAddress::LocalHost, setup().server.port());
    return socket.waitForConnected(5000);
}

void BM_KeepAliveSmallFile(benchmark::State &state)
{
    QTcpSocket socket;
    if (!connectClient(socket)) {
        state.SkipWithError("cannot connect");
        return;
    }
    QByteArray baBuffer;
    const QByteArray baRequest = request(setup().baSmallTarget);
    for (auto _ : state) {
        socket.write(baRequest);
        if (readResponses(socket, baBuffer, 1) != Setup::SmallSize) {
            state.SkipWithError("bad response");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["requests/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KeepAliveSmallFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PipelinedSmallFile(benchmark::State &state)
{
    QTcpSocket socket;
    if (!connectClient(socket)) {
        state.SkipWithError("cannot connect");
        return;
    }
    const int nBatch = int(state.range(0));
    QByteArray baBatch;
    for (int i = 0; i < nBatch; ++i)
        baBatch += request(setup().baSmallTarget);
    QByteArray baBuffer;
    for (auto _ : state) {
        socket.write(baBatch);
        if (readResponses(socket, baBuffer, nBatch) != qint64(nBatch) * Setup::SmallSize) {
            state.SkipWithError("bad response");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * nBatch);
    state.counters["requests/s"] = benchmark::Counter(double(state.iterations() * nBatch), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PipelinedSmallFile)->Arg(16)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_LargeFileStream(benchmark::State &state)
{
    QTcpSocket socket;
    if (!connectClient(socket)) {
        state.SkipWithError("cannot connect");
        return;
    }
    const QByteArray baRequest = request(setup().baLargeTarget);
    for (auto _ : state) {
        socket.write(baRequest);
        if (drainResponse(socket, Setup::LargeSize) != Setup::LargeSize) {
            state.SkipWithError("bad response");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * Setup::LargeSize);
}
BENCHMARK(BM_LargeFileStream)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    s_pSetup = new Setup;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete s_pSetup;
    return 0;
}
