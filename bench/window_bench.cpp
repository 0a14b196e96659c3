// The main window constructed and shown, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/BrowseHistory.h"
#include "app/window/CompletionPopup.h"
#include "app/window/OrvelTree.h"
#include "lookup/ClassIndexProvider.h"

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

// SEARCH typed and clicked, against a link followed from the documentation
// (to a class; to a member, whose leaf is selected and its text shown): the
// link's extra cost over SEARCH is the member's selection and documentation.
enum class Open { Search, ClassLink, MemberLink };

static void BM_OpenCollection(benchmark::State& state, Open how)
{
    auto* window = new orvel_tree();
    window->exitProcess = [](int) {};
    while (!lookup::ClassIndexProvider::system().isReady()) QApplication::processEvents();
    QPushButton* searchButton = nullptr;
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == QLatin1String("SEARCH"))
            searchButton = b;
    const app::BrowseTarget member = app::parseBrowseTarget(QStringLiteral("java.util.Collection#add(E)"));
    for (auto _ : state) {
        if (how == Open::Search) {
            window->classField()->setText(QStringLiteral("java.util.Collection"));
            searchButton->click();
        } else {
            window->openTarget(member.className, how == Open::MemberLink ? member.member : std::nullopt);
        }
        QApplication::processEvents();
    }
    delete window;
    QApplication::processEvents();
}
BENCHMARK_CAPTURE(BM_OpenCollection, search, Open::Search)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenCollection, class_link, Open::ClassLink)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenCollection, member_link, Open::MemberLink)->Unit(benchmark::kMillisecond);

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
