// The catalogue lookup: a hit near the front, and a miss, which scans every entry.

#include <benchmark/benchmark.h>

#include "catalogue/PathsData.h"
#include "docs/CatalogueLookup.h"

static void BM_CatalogueMiss(benchmark::State& state)
{
    const PathsData data;
    const QString text = QStringLiteral("NoSuchClassAnywhere");
    QString startAt;
    for (auto _ : state)
        benchmark::DoNotOptimize(docs::loadTxt(data, text, startAt));
}
BENCHMARK(BM_CatalogueMiss)->Unit(benchmark::kMicrosecond);

static void BM_CatalogueHitVector(benchmark::State& state)
{
    const PathsData data;
    const QString text = QStringLiteral("Vector");
    QString startAt;
    for (auto _ : state)
        benchmark::DoNotOptimize(docs::loadTxt(data, text, startAt));
}
BENCHMARK(BM_CatalogueHitVector)->Unit(benchmark::kMicrosecond);

static void BM_PathsDataConstruction(benchmark::State& state)
{
    for (auto _ : state) {
        PathsData data;
        benchmark::DoNotOptimize(&data);
    }
}
BENCHMARK(BM_PathsDataConstruction)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
