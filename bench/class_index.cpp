// The class index behind completion: ready for the first query (the JDK's
// lib/modules plus a jar of about 600 KB on CLASSPATH; target under 30 ms),
// one completion query (target under 1 ms), and the index's memory (target
// under 8 MB, reported as the counter "index_bytes").

#include <benchmark/benchmark.h>

#include <QFileInfo>

#include "lookup/ClassCompletion.h"
#include "platform/classlib/ClassIndex.h"
#include "platform/classlib/ClassLibrary.h"

using platform::classlib::ClassIndex;
using platform::classlib::ClassLibrary;

namespace {

// commons-lang3 (595 KB, 350 classes) when installed, else the JDK alone.
const char kJar[] = "/usr/share/java/commons-lang3.jar";

ClassLibrary& library()
{
    static std::unique_ptr<ClassLibrary> lib = [] {
        ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
        env.classPathSet = QFileInfo::exists(QString::fromLatin1(kJar));
        env.classPath = env.classPathSet ? kJar : "";
        return ClassLibrary::discover(env);
    }();
    return *lib;
}

bool haveJdk(benchmark::State& state)
{
    if (library().jdkHome().empty()) {
        state.SkipWithError("no JDK installed");
        return false;
    }
    return true;
}

void BM_IndexReady(benchmark::State& state)
{
    if (!haveJdk(state))
        return;
    size_t bytes = 0, classes = 0;
    for (auto _ : state) {
        auto index = ClassIndex::build(library());
        bytes = index->memoryBytes();
        classes = index->size();
        benchmark::DoNotOptimize(index);
    }
    state.counters["index_bytes"] = double(bytes);
    state.counters["classes"] = double(classes);
    state.counters["sources"] = double(library().sources().size());
}
BENCHMARK(BM_IndexReady)->Unit(benchmark::kMillisecond);

// Ready including both sorted views, as the window's background build leaves it.
void BM_IndexReadySorted(benchmark::State& state)
{
    if (!haveJdk(state))
        return;
    for (auto _ : state) {
        auto index = ClassIndex::build(library());
        index->byLowerInnerName();
        index->byLowerSimpleBinaryName();
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_IndexReadySorted)->Unit(benchmark::kMillisecond);

// A query as the completion list runs it: up to 12 rows. The first round reads
// the candidates' class files; the timed rounds find them remembered.
void BM_CompleteQuery(benchmark::State& state, const char* text)
{
    if (!haveJdk(state))
        return;
    static lookup::ClassCompletion completion(ClassIndex::build(library()));
    const QString typed = QString::fromLatin1(text);
    completion.complete(typed, 12);
    for (auto _ : state) benchmark::DoNotOptimize(completion.complete(typed, 12));
}
BENCHMARK_CAPTURE(BM_CompleteQuery, prefix_Str, "Str")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CompleteQuery, prefix_co, "co")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CompleteQuery, capitals_CoHaMa, "CoHaMa")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_CompleteQuery, capitals_HM, "HM")->Unit(benchmark::kMicrosecond);

// The first query on a fresh index whose sorted views the background build
// has made (as the window's is): every candidate's class file still unread.
void BM_FirstQuery(benchmark::State& state)
{
    if (!haveJdk(state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        lookup::ClassCompletion completion(ClassIndex::build(library()));
        completion.index().byLowerInnerName();
        state.ResumeTiming();
        benchmark::DoNotOptimize(completion.complete(QStringLiteral("Str"), 12));
    }
}
BENCHMARK(BM_FirstQuery)->Unit(benchmark::kMicrosecond);

// After a failed lookup: the suggestions scan every name for two edits.
void BM_Suggest(benchmark::State& state)
{
    if (!haveJdk(state))
        return;
    static lookup::ClassCompletion completion(ClassIndex::build(library()));
    for (auto _ : state) benchmark::DoNotOptimize(completion.suggest(QStringLiteral("java.util.Strng"), 8));
}
BENCHMARK(BM_Suggest)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
