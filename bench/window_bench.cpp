// The main window constructed and shown, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "app/window/OrvelTree.h"

static void BM_WindowConstructAndShow(benchmark::State& state)
{
    for (auto _ : state) {
        auto* window = new orvel_tree();
        QApplication::processEvents();
        state.PauseTiming();
        window->exitProcess = [](int) {};
        delete window;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WindowConstructAndShow)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;  // no configuration file: the window starts with empty roots
    QDir::setCurrent(dir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
