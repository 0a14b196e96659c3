// What the class files' sections add to one selection: List.of from the
// JDK's own page, the service with and without its member facts, over a
// library that has already read List (warm), and over a fresh one each time
// (cold: the JDK found, ct.sym's releases opened). Target: the warm cost under
// a millisecond, so that a selection stays as quick as it was.

#include <benchmark/benchmark.h>

#include <QFileInfo>

#include "javadoc/DocService.h"
#include "javadoc/source/ClassFileFacts.h"
#include "platform/classlib/ClassLibrary.h"

using platform::classlib::ClassLibrary;

namespace {

const QString kApi = QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api/java.base");

std::unique_ptr<ClassLibrary> fresh()
{
    ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
    env.classPathSet = false;
    return ClassLibrary::discover(env);
}

javadoc::DocSelection listOf()
{
    javadoc::DocSelection selection;
    selection.args = {QStringLiteral("of"), -1, QStringLiteral("java.util.List"), QStringList {}};
    selection.member =
        platform::Member {QStringLiteral("java.util.List"), platform::MemberKind::Method, QStringLiteral("of"), {}, {}};
    selection.nameText = selection.name2 = QStringLiteral("java.util.List");
    return selection;
}

bool haveDocs(benchmark::State& state)
{
    if (QFileInfo(kApi + QStringLiteral("/java/util/List.html")).isFile())
        return true;
    state.SkipWithError("openjdk-17-doc is not installed");
    return false;
}

void BM_ListOfPage_NoSections(benchmark::State& state)
{
    if (!haveDocs(state))
        return;
    const javadoc::DocService service({kApi, {}, {}});
    const javadoc::DocSelection selection = listOf();
    for (auto _ : state) benchmark::DoNotOptimize(service.document(selection));
}
BENCHMARK(BM_ListOfPage_NoSections)->Unit(benchmark::kMicrosecond);

void BM_ListOfPage_WithSectionsWarm(benchmark::State& state)
{
    if (!haveDocs(state))
        return;
    auto library = fresh();
    javadoc::source::ClassFileFacts facts(*library);
    javadoc::DocService service({kApi, {}, {}});
    service.setMemberFacts(&facts);
    const javadoc::DocSelection selection = listOf();
    for (auto _ : state) benchmark::DoNotOptimize(service.document(selection));
}
BENCHMARK(BM_ListOfPage_WithSectionsWarm)->Unit(benchmark::kMicrosecond);

void BM_ListOfFacts_Cold(benchmark::State& state)
{
    const platform::Member of = *listOf().member;
    for (auto _ : state) {
        auto library = fresh();
        benchmark::DoNotOptimize(javadoc::source::ClassFileFacts(*library).facts(of));
    }
}
BENCHMARK(BM_ListOfFacts_Cold)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
