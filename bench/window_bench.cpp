// The main window constructed and shown, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include "app/window/CompletionPopup.h"

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

// A method query typed into the class field, from the key to the list shown,
// once the member index is open: the worker's round trip and the rows.
static void BM_MethodListQuery(benchmark::State& state, const char* query)
{
    QLineEdit field;
    app::CompletionPopup popup(&field, [] { return nullptr; });
    const auto ask = [&](const QString& text) {
        emit field.textEdited(text);
        QElapsedTimer clock;
        clock.start();
        while (popup.isWaiting() && clock.elapsed() < 120000) QApplication::processEvents();
    };
    ask(QStringLiteral("#toString"));  // opens (or builds) the member index, untimed
    const QString text = QString::fromLatin1(query);
    int rows = 0;
    for (auto _ : state) {
        ask(text);
        rows = popup.list()->count();
        popup.close();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK_CAPTURE(BM_MethodListQuery, by_name, "#toUnm")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MethodListQuery, in_class, "Collectors#toU")->Unit(benchmark::kMillisecond);

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
