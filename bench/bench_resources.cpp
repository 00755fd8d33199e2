// The resource manager under the load a large project puts on it: image sizes asked by every fill
// with an image while the player data is written (cached after the first read), the project-form
// list of 2,000 resources written and read back, the player list, and a unique file name among
// many files of the same name.
#include "model/IKVDocumentContext.h"
#include "resources/KVOtherResource.h"
#include "resources/KVResource.h"
#include "resources/KVResourceManager.h"
#include "resources/KVResourceType.h"
#include "resources/MediaResource.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace {

constexpr int kResourceCount = 2000;

class BenchContext : public IKVDocumentContext
{
public:
    BenchContext()
    {
        QDir().mkpath(resourceFolderPath());
    }
    QString projectFolderPath() const override { return m_dir.path(); }
    QString resourceFolderPath() const override { return m_dir.path() + QStringLiteral("/bench_res"); }

private:
    QTemporaryDir m_dir;
};

void fill(KVResourceManager &manager)
{
    for (int i = 0; i < kResourceCount; ++i) {
        const QString strName = QStringLiteral("r%1").arg(i);
        switch (i % 4) {
        case 0:
            manager.addResource(new KVResource(KVResourceType::Image, strName, strName + QStringLiteral(".png")));
            break;
        case 1: {
            auto *pMedia = new MediaResource(KVResourceType::Video, strName, strName + QStringLiteral(".mp4"));
            pMedia->setFormatFile(strName + QStringLiteral(".webm"));
            pMedia->setMediaSize(QSize(640, 360));
            manager.addResource(pMedia);
            break;
        }
        case 2:
            manager.addResource(new KVOtherResource(KVResourceType::Script, strName, strName + QStringLiteral(".js")));
            break;
        default:
            manager.addResource(new KVOtherResource(KVResourceType::StyleSheet, strName, strName + QStringLiteral(".css")));
            break;
        }
    }
}

void BM_ImageSizeCached(benchmark::State &state)
{
    BenchContext context;
    KVResourceManager manager(&context);
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.save(context.resourceFolderPath() + QStringLiteral("/big.png"));
    auto *pImage = new KVResource(KVResourceType::Image, QStringLiteral("big"), QStringLiteral("big.png"));
    manager.addResource(pImage);
    const int nId = pImage->id();
    manager.imageSize(nId);
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.imageSize(nId));
    state.counters["reads"] = manager.imageSizeReadCount();
}
BENCHMARK(BM_ImageSizeCached);

void BM_ImageSizeUncached(benchmark::State &state)
{
    BenchContext context;
    QImage image(1920, 1080, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.save(context.resourceFolderPath() + QStringLiteral("/big.png"));
    for (auto _ : state) {
        KVResourceManager manager(&context);
        auto *pImage = new KVResource(KVResourceType::Image, QStringLiteral("big"), QStringLiteral("big.png"));
        manager.addResource(pImage);
        benchmark::DoNotOptimize(manager.imageSize(pImage->id()));
    }
}
BENCHMARK(BM_ImageSizeUncached);

void BM_ProjectListWrite(benchmark::State &state)
{
    KVResourceManager manager;
    fill(manager);
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.toJson());
    state.SetItemsProcessed(state.iterations() * kResourceCount);
}
BENCHMARK(BM_ProjectListWrite);

void BM_ProjectListRead(benchmark::State &state)
{
    KVResourceManager source;
    fill(source);
    const QJsonArray ja = source.toJson();
    KVResourceManager manager;
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.fromJson(ja, 3));
    state.SetItemsProcessed(state.iterations() * kResourceCount);
}
BENCHMARK(BM_ProjectListRead);

void BM_PlayerListExport(benchmark::State &state)
{
    KVResourceManager manager;
    fill(manager);
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.toPlayerJson(false));
    state.SetItemsProcessed(state.iterations() * kResourceCount);
}
BENCHMARK(BM_PlayerListExport);

void BM_UniqueFileNameAmongNamesakes(benchmark::State &state)
{
    BenchContext context;
    KVResourceManager manager(&context);
    for (int i = 0; i < 200; ++i) {
        const QString strFile = i ? QStringLiteral("logo_%1.png").arg(i) : QStringLiteral("logo.png");
        manager.addResource(new KVResource(KVResourceType::Image, strFile, strFile));
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(manager.uniqueFileName(QStringLiteral("logo.png")));
}
BENCHMARK(BM_UniqueFileNameAmongNamesakes);

} // namespace

BENCHMARK_MAIN();
