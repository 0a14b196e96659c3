// Lookups through the installed JDK's class library: a class with all its
// supertypes parsed from a cold cache (target: javax.swing.JTable under 2 ms),
// the same with the library discovered and lib/modules mapped anew, and warm.

#include <benchmark/benchmark.h>

#include "platform/classlib/ClassLibrary.h"

using platform::classlib::ClassLibrary;

namespace {

size_t lookUp(ClassLibrary& lib, const char* name)
{
    const auto cls = lib.forName(QString::fromLatin1(name));
    size_t chars = 0;
    for (const auto& c : cls->getConstructors()) chars += size_t(c.toString().size());
    for (const auto& m : cls->getMethods()) chars += size_t(m.toString().size());
    return chars;
}

bool haveJdk(benchmark::State& state)
{
    if (ClassLibrary::system().jdkHome().empty()) {
        state.SkipWithError("no JDK installed");
        return false;
    }
    return true;
}

// Cold cache: every class of the hierarchy parsed again, members merged and printed.
void BM_ColdLookup(benchmark::State& state, const char* name)
{
    if (!haveJdk(state))
        return;
    ClassLibrary& lib = ClassLibrary::system();
    for (auto _ : state) {
        lib.clearCache();
        benchmark::DoNotOptimize(lookUp(lib, name));
    }
}
BENCHMARK_CAPTURE(BM_ColdLookup, JTable, "javax.swing.JTable")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ColdLookup, String, "java.lang.String")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ColdLookup, OldSwingJTree, "com.sun.java.swing.JTree")->Unit(benchmark::kMicrosecond);

// As a fresh process would: discover the JDK, map lib/modules, look up.
void BM_DiscoverAndLookUpJTable(benchmark::State& state)
{
    if (!haveJdk(state))
        return;
    for (auto _ : state) {
        auto lib = ClassLibrary::discover(ClassLibrary::Environment::fromProcess());
        benchmark::DoNotOptimize(lookUp(*lib, "javax.swing.JTable"));
    }
}
BENCHMARK(BM_DiscoverAndLookUpJTable)->Unit(benchmark::kMicrosecond);

// Warm cache: only the printed forms are built.
void BM_WarmLookupJTable(benchmark::State& state)
{
    if (!haveJdk(state))
        return;
    ClassLibrary& lib = ClassLibrary::system();
    lookUp(lib, "javax.swing.JTable");
    for (auto _ : state) benchmark::DoNotOptimize(lookUp(lib, "javax.swing.JTable"));
}
BENCHMARK(BM_WarmLookupJTable)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
