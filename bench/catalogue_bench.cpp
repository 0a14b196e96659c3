// The catalogue lookup: a miss, which scans every entry, and a hit.

#include <benchmark/benchmark.h>

#include "catalogue/PathsData.h"
#include "javadoc/CatalogueLookup.h"

static void BM_CatalogueLookup(benchmark::State& state, const char* text)
{
    const PathsData data;
    const QString typed = QString::fromLatin1(text);
    QString startAt;
    for (auto _ : state) benchmark::DoNotOptimize(javadoc::loadTxt(data, typed, startAt));
}
BENCHMARK_CAPTURE(BM_CatalogueLookup, miss, "NoSuchClassAnywhere")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CatalogueLookup, hit_Vector, "Vector")->Unit(benchmark::kMicrosecond);

static void BM_PathsDataConstruction(benchmark::State& state)
{
    for (auto _ : state) {
        PathsData data;
        benchmark::DoNotOptimize(&data);
    }
}
BENCHMARK(BM_PathsDataConstruction)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
