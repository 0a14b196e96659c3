// Finding the documentation roots and source archives for a CLASSPATH of the
// installed jars (/usr/share/java/*, the first N by name) and the JDK; and
// one member's documentation from a -javadoc.jar read in place against the
// same page in a folder (target: within 2x), and from a jar never opened
// before (target: under 20 ms). The page is the JDK 17 ArrayList page.

#include <benchmark/benchmark.h>
#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "javadoc/Extractor.h"
#include "javadoc/PageSource.h"
#include "javadoc/source/RootFinder.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ZipWriter.h"

namespace {

std::vector<std::string> installedJars(size_t count)
{
    std::vector<std::string> jars;
    if (DIR* d = ::opendir("/usr/share/java")) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".jar") == 0)
                jars.push_back("/usr/share/java/" + name);
        }
        ::closedir(d);
    }
    std::sort(jars.begin(), jars.end());
    jars.resize(std::min(jars.size(), count));
    return jars;
}

void BM_FindRoots(benchmark::State& state)
{
    javadoc::source::RootEnvironment env;
    env.classPathEntries = installedJars(size_t(state.range(0)));
    env.jdkHome = platform::classlib::ClassLibrary::system().jdkHome();
    if (state.range(1) == 0)  // the jars alone, without the scan of the installed packages
        env.installedApiParents.clear();
    if (env.classPathEntries.size() < size_t(state.range(0)))
        state.SkipWithError("too few jars in /usr/share/java");
    size_t found = 0;
    for (auto _ : state) {
        javadoc::source::RootFinder finder(env);
        found = finder.documentation().size() + finder.sources().size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["roots"] = double(found);
}
BENCHMARK(BM_FindRoots)->Args({190, 1})->Args({190, 0})->ArgNames({"jars", "installed"})->Unit(benchmark::kMillisecond);

const char kPage[] = "/usr/share/doc/openjdk-17-jre-headless/api/java.base/java/util/ArrayList.html";

// A folder and jars holding the page as java/util/ArrayList.html.
struct PageFixture {
    QTemporaryDir dir;
    QByteArray jar;
    bool ok = false;
    PageFixture()
    {
        QFile page(QString::fromLatin1(kPage));
        if (!page.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = page.readAll();
        QDir(dir.path()).mkpath(QStringLiteral("folder/java/util"));
        QFile copy(dir.filePath(QStringLiteral("folder/java/util/ArrayList.html")));
        jar = test_support::buildZip({{"element-list", "java.util\n"}, {"java/util/ArrayList.html", bytes}}).bytes;
        ok = copy.open(QIODevice::WriteOnly) && copy.write(bytes) == bytes.size();
    }
    QString writeJar(int n) const
    {
        const QString path = dir.filePath(QStringLiteral("j%1-javadoc.jar").arg(n));
        QFile out(path);
        return out.open(QIODevice::WriteOnly) && out.write(jar) == jar.size() ? path : QString();
    }
};

javadoc::DocRequest addRequest(const QString& root)
{
    javadoc::DocRequest r;
    r.memberName = QStringLiteral("add");
    r.commaCount = 1;
    r.groupName = r.nameText = r.name2 = QStringLiteral("java.util.ArrayList");
    r.paramTypes = QStringList {QStringLiteral("int"), QStringLiteral("E")};
    r.docpath = r.docpath2 = root;
    return r;
}

// 0: the folder; 1: the jar, already open.
void BM_MemberPage(benchmark::State& state)
{
    static const PageFixture fixture;
    if (!fixture.ok)
        return state.SkipWithError("no JDK 17 documentation installed");
    const QString root =
        state.range(0) == 0 ? fixture.dir.filePath(QStringLiteral("folder")) : javadoc::jarRoot(fixture.writeJar(0));
    for (auto _ : state) {
        const javadoc::DocResult result = javadoc::doit(addRequest(root));
        if (result.text.isEmpty())
            return state.SkipWithError("no text");
        benchmark::DoNotOptimize(result.text.size());
    }
}
BENCHMARK(BM_MemberPage)->Arg(0)->Arg(1)->ArgName("jar")->Unit(benchmark::kMillisecond);

// A jar never opened before: its first member.
void BM_FirstMemberOfNewJar(benchmark::State& state)
{
    static const PageFixture fixture;
    if (!fixture.ok)
        return state.SkipWithError("no JDK 17 documentation installed");
    int n = 1;
    for (auto _ : state) {
        state.PauseTiming();
        const QString root = javadoc::jarRoot(fixture.writeJar(n++));
        state.ResumeTiming();
        benchmark::DoNotOptimize(javadoc::doit(addRequest(root)).text.size());
    }
}
BENCHMARK(BM_FirstMemberOfNewJar)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

BENCHMARK_MAIN();
