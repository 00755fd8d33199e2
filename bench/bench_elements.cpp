// Writing and reading the element tree of a large stage: 5,000 elements of every text and shape
// kind (and groups), each with its base layout and three responsive layouts, in the project form
// and in both player forms; and naming a mass paste of same-named elements.
#include "model/KVAutoShape.h"
#include "model/KVBackground.h"
#include "model/KVBezierPath.h"
#include "model/KVBorder.h"
#include "model/KVElementContainer.h"
#include "model/KVElementFactory.h"
#include "model/KVElementProperty.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVShadow.h"
#include "model/KVText.h"

#include <benchmark/benchmark.h>

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace {

constexpr int kElementCount = 5000;
const KVLayoutKey kLayouts[] = {KVLayoutKey(1, 0), KVLayoutKey(2, 0), KVLayoutKey(1, 1)};

void dress(KVElement &element, int i)
{
    element.setName(QStringLiteral("E%1").arg(i));
    element.setPositionX(i % 700);
    element.setRotateZ(i % 30);
    element.border()->setStyle(KVBorder::Solid);
    element.shadow()->setStyle(i % 2 ? KVShadow::DropShadow : KVShadow::NoShadow);
    if (auto *pText = qobject_cast<KVText *>(&element))
        pText->setInnerHtml(QStringLiteral("<p>Item <b>%1</b></p>").arg(i));
    if (auto *pShape = qobject_cast<KVAutoShape *>(&element)) {
        pShape->setShapeType(13);
        pShape->setAdjustments({0.2, 0.7});
    }
    if (auto *pFree = qobject_cast<KVFreeFormShape *>(&element)) {
        KVBezierPath path;
        for (int k = 0; k < 4; ++k) {
            KVPathPoint point;
            point.x = point.x1 = point.x2 = k * 20;
            point.y = point.y1 = point.y2 = (k % 2) * 30;
            path.appendPoint(point);
        }
        pFree->freeFormProperty()->setPath(path);
    }
    // Three responsive layouts, each overriding a few properties.
    for (const KVLayoutKey &key : kLayouts) {
        element.addProperty(element.property(KVLayoutKey::base())->clone(), key);
        element.setOpacity(0.5 + key.nHLayoutId * 0.1, key);
        element.setInherited(14, false, key);
        element.setInherited(0, false, key);
        element.setInherited(50, false, key);
        element.setInherited(25, false, key);
    }
}

// Groups of ten: a group holding a text, a rectangle, an auto shape, a free-form shape and five
// more of the same kinds.
std::unique_ptr<KVElementContainer> buildStage()
{
    auto pStage = std::make_unique<KVElementContainer>();
    pStage->init();
    const int types[] = {4, 5, 9, 11};
    int nMade = 0;
    while (nMade < kElementCount) {
        KVElement *pGroup = KVElementFactory::createElement(6);
        dress(*pGroup, nMade++);
        for (int k = 0; k < 9 && nMade < kElementCount; ++k) {
            KVElement *pChild = KVElementFactory::createElement(types[k % 4]);
            dress(*pChild, nMade++);
            pGroup->insertChild(pChild, -1);
        }
        pStage->addElement(pGroup);
    }
    return pStage;
}

void setRate(benchmark::State &state, int nPerIteration)
{
    state.SetItemsProcessed(state.iterations() * nPerIteration);
    state.counters["elements/s"] =
        benchmark::Counter(double(state.iterations()) * nPerIteration, benchmark::Counter::kIsRate);
}

void BM_ProjectWrite(benchmark::State &state)
{
    auto pStage = buildStage();
    for (auto _ : state) {
        QJsonObject jo;
        pStage->toJson(jo);
        benchmark::DoNotOptimize(jo);
    }
    setRate(state, kElementCount);
}
BENCHMARK(BM_ProjectWrite)->Unit(benchmark::kMillisecond);

void BM_ProjectParse(benchmark::State &state)
{
    auto pStage = buildStage();
    QJsonObject jo;
    pStage->toJson(jo);
    for (auto _ : state) {
        KVElementContainer read;
        read.init();
        read.fromJson(jo);
        benchmark::DoNotOptimize(read.children().size());
    }
    setRate(state, kElementCount);
}
BENCHMARK(BM_ProjectParse)->Unit(benchmark::kMillisecond);

// From and to the text of the file, as saving and opening a project do.
void BM_ProjectFileRoundTrip(benchmark::State &state)
{
    auto pStage = buildStage();
    for (auto _ : state) {
        QJsonObject jo;
        pStage->toJson(jo);
        const QByteArray text = QJsonDocument(jo).toJson(QJsonDocument::Compact);
        KVElementContainer read;
        read.init();
        read.fromJson(QJsonDocument::fromJson(text).object());
        benchmark::DoNotOptimize(read.children().size());
    }
    setRate(state, kElementCount);
}
BENCHMARK(BM_ProjectFileRoundTrip)->Unit(benchmark::kMillisecond);

void BM_PlayerExport(benchmark::State &state)
{
    auto pStage = buildStage();
    for (auto _ : state) {
        QJsonObject jo;
        pStage->toPlayerJson(jo, false);
        benchmark::DoNotOptimize(QJsonDocument(jo).toJson(QJsonDocument::Compact));
    }
    setRate(state, kElementCount);
}
BENCHMARK(BM_PlayerExport)->Unit(benchmark::kMillisecond);

void BM_PlayerCanvas(benchmark::State &state)
{
    auto pStage = buildStage();
    pStage->setCurrentLayout(kLayouts[0]);
    for (auto _ : state) {
        QJsonObject jo;
        pStage->toPlayerJson(jo, true);
        benchmark::DoNotOptimize(QJsonDocument(jo).toJson(QJsonDocument::Compact));
    }
    setRate(state, kElementCount);
}
BENCHMARK(BM_PlayerCanvas)->Unit(benchmark::kMillisecond);

// The page reads the player data back from its text; this is the cost of that parse in Qt.
void BM_PlayerExportTextParse(benchmark::State &state)
{
    auto pStage = buildStage();
    QJsonObject jo;
    pStage->toPlayerJson(jo, false);
    const QByteArray text = QJsonDocument(jo).toJson(QJsonDocument::Compact);
    for (auto _ : state)
        benchmark::DoNotOptimize(QJsonDocument::fromJson(text).object().size());
    setRate(state, kElementCount);
}
BENCHMARK(BM_PlayerExportTextParse)->Unit(benchmark::kMillisecond);

// A paste of N elements that all carry the same name: each must get a distinct "Rect_<n>". The
// time per element stays flat as N grows.
void BM_MassPasteNames(benchmark::State &state)
{
    const int nCount = int(state.range(0));
    for (auto _ : state) {
        KVElementContainer stage;
        stage.init();
        for (int i = 0; i < nCount; ++i) {
            KVElement *pElement = KVElementFactory::createElement(5);
            pElement->setName(QStringLiteral("Rect"));
            stage.addElement(pElement);
        }
        benchmark::DoNotOptimize(stage.children().size());
    }
    setRate(state, nCount);
}
BENCHMARK(BM_MassPasteNames)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
