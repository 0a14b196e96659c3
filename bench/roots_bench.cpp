// Finding the documentation roots and source archives for a CLASSPATH of the
// installed jars (/usr/share/java/*, the first N by name) and the JDK.

#include <benchmark/benchmark.h>
#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include "javadoc/source/RootFinder.h"
#include "platform/classlib/ClassLibrary.h"

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

}  // namespace

BENCHMARK_MAIN();
