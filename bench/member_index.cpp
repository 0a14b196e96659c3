// The member index behind `find`: built from the class files (the JDK alone,
// target under 1 s; the JDK with 190 jars), read back from its file on disk,
// one query (target under 5 ms), and its memory (target under 30 MB with the
// 190 jars, reported as the counter "index_bytes").

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <set>

#include "lookup/MemberIndex.h"
#include "platform/classlib/ClassLibrary.h"

using lookup::MemberIndex;
using platform::classlib::ClassLibrary;

namespace {

constexpr int kManyJars = 190;

// The first 190 distinct jars of /usr/share/java, by name.
std::string manyJars()
{
    std::set<QString> seen;
    QStringList jars;
    for (const QFileInfo& f :
        QDir(QStringLiteral("/usr/share/java")).entryInfoList({QStringLiteral("*.jar")}, QDir::Files, QDir::Name)) {
        if (jars.size() < kManyJars && seen.insert(f.canonicalFilePath()).second)
            jars << f.canonicalFilePath();
    }
    return jars.join(QLatin1Char(':')).toStdString();
}

ClassLibrary& library(bool withJars)
{
    static std::unique_ptr<ClassLibrary> libs[2];
    std::unique_ptr<ClassLibrary>& lib = libs[withJars];
    if (!lib) {
        ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
        env.classPathSet = withJars;
        env.classPath = withJars ? manyJars() : "";
        lib = ClassLibrary::discover(env);
    }
    return *lib;
}

bool haveJdk(benchmark::State& state)
{
    if (library(false).jdkHome().empty()) {
        state.SkipWithError("no JDK installed");
        return false;
    }
    return true;
}

void report(benchmark::State& state, ClassLibrary& lib, const MemberIndex& index)
{
    state.counters["index_bytes"] = double(index.memoryBytes());
    state.counters["classes"] = double(index.classCount());
    state.counters["methods"] = double(index.methodCount());
    state.counters["sources"] = double(lib.sources().size());
}

// The first run after a new JDK: nothing on disk, every class file read.
void BM_MemberIndexBuild(benchmark::State& state, bool withJars)
{
    if (!haveJdk(state))
        return;
    ClassLibrary& lib = library(withJars);
    std::unique_ptr<MemberIndex> index;
    for (auto _ : state) {
        lib.clearCache();
        index = MemberIndex::build(lib);
        benchmark::DoNotOptimize(index);
    }
    report(state, lib, *index);
}
BENCHMARK_CAPTURE(BM_MemberIndexBuild, jdk, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MemberIndexBuild, jdk_190_jars, true)->Unit(benchmark::kMillisecond)->Iterations(2);

// Every later run: the file checked against the sources and read back.
void BM_MemberIndexOpen(benchmark::State& state, bool withJars)
{
    if (!haveJdk(state))
        return;
    ClassLibrary& lib = library(withJars);
    QTemporaryDir dir;
    MemberIndex::open(lib, dir.path());
    std::unique_ptr<MemberIndex> index;
    for (auto _ : state) {
        index = MemberIndex::open(lib, dir.path());
        benchmark::DoNotOptimize(index);
    }
    report(state, lib, *index);
    state.counters["file_bytes"] = double(QFileInfo(MemberIndex::cachePath(lib, dir.path())).size());
}
BENCHMARK_CAPTURE(BM_MemberIndexOpen, jdk, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MemberIndexOpen, jdk_190_jars, true)->Unit(benchmark::kMillisecond);

// One query over the JDK and the 190 jars, as the CLI (20 lines) or the
// completion list asks it.
void BM_FindQuery(benchmark::State& state, const char* query)
{
    if (!haveJdk(state))
        return;
    ClassLibrary& lib = library(true);
    static const std::unique_ptr<MemberIndex> index = MemberIndex::build(lib);
    const QString text = QString::fromLatin1(query);
    size_t hits = 0;
    for (auto _ : state) {
        const auto found = index->find(lib, text, 20);
        hits = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["hits"] = double(hits);
}
BENCHMARK_CAPTURE(BM_FindQuery, exact, "toUnmodifiableList")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindQuery, capitals, "tUL")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindQuery, short_prefix, "get")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindQuery, one_letter, "s")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindQuery, class_methods, "Vector#add")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
