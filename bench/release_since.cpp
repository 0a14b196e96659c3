// Since-versions of java.util.List's members from a fresh library: the JDK
// discovered, lib/ct.sym's central directory read, the class linked in every
// held release (target: under 50 ms); and a class looked up in release 8.

#include <benchmark/benchmark.h>

#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/MemberSince.h"

using platform::classlib::ClassLibrary;

namespace {

std::unique_ptr<ClassLibrary> fresh(const char* release)
{
    ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
    env.classPathSet = false;
    env.release = release;
    return ClassLibrary::discover(env);
}

void BM_SinceOfListCold(benchmark::State& state)
{
    if (fresh("")->releasesUpToThis().size() < 2) {
        state.SkipWithError("no JDK with a ct.sym");
        return;
    }
    for (auto _ : state) {
        auto library = fresh("");
        benchmark::DoNotOptimize(platform::classlib::membersSince(*library, "java.util.List"));
    }
}
BENCHMARK(BM_SinceOfListCold)->Unit(benchmark::kMillisecond);

void BM_Release8LookupCold(benchmark::State& state)
{
    if (fresh("8")->release() != 8) {
        state.SkipWithError("no JDK with release 8 in its ct.sym");
        return;
    }
    for (auto _ : state) {
        auto library = fresh("8");
        benchmark::DoNotOptimize(library->forName(QStringLiteral("javax.swing.JTable"))->getMethods());
    }
}
BENCHMARK(BM_Release8LookupCold)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
