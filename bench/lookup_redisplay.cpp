// The member tree for javax.swing.JTree (about 450 members): building the node
// texts, then the whole reDisplay with the widget made and painted once, from a
// fixed signature list and from a real class lookup.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>

#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "lookup/widgets/MemberTreeView.h"
#include "platform/classlib/ClassLibrary.h"

namespace {

QStringList jtreeSignatures()
{
    QFile f(QStringLiteral(JO_SOURCE_DIR "/tests/lookup/data/jtree_signatures.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void BM_BuildMemberTree_JTree(benchmark::State& state)
{
    const QStringList n = jtreeSignatures();
    QStringList classes;
    for (auto _ : state) benchmark::DoNotOptimize(lookup::buildMemberTree(n, QString(), "javax.swing.JTree", classes));
    state.counters["members"] = double(n.size());
}
BENCHMARK(BM_BuildMemberTree_JTree)->Unit(benchmark::kMicrosecond);

// reDisplay as the window runs it: the nodes, a new tree widget with its painter
// and images, laid out in the member pane's size and painted once.
template <typename Members> void reDisplay(const Members& n, QStringList& classes)
{
    lookup::MemberTreeView view(lookup::buildMemberTree(n, QString(), "javax.swing.JTree", classes));
    view.resize(475, 260);
    QPixmap target(475, 260);
    view.render(&target);
    benchmark::DoNotOptimize(target);
}

void BM_ReDisplay_JTree_Widget(benchmark::State& state)
{
    const QStringList n = jtreeSignatures();
    QStringList classes;
    for (auto _ : state) reDisplay(n, classes);
}
BENCHMARK(BM_ReDisplay_JTree_Widget)->Unit(benchmark::kMicrosecond);

// The same with the class looked up each time (classes are cached by the
// class library after the first lookup, as a second SEARCH would find them).
void BM_SearchAndReDisplay_JTree(benchmark::State& state)
{
    QStringList classes;
    for (auto _ : state) {
        const lookup::LookupResult r =
            lookup::lookUpClass(platform::classlib::ClassLibrary::system(), QStringLiteral("javax.swing.JTree"));
        if (r.status != lookup::LookupResult::Status::Found) {
            state.SkipWithError("javax.swing.JTree not found in the class library");
            return;
        }
        reDisplay(r.members, classes);  // as the window does: each leaf carries its member
    }
}
BENCHMARK(BM_SearchAndReDisplay_JTree)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QDir::setCurrent(QStringLiteral(JO_SOURCE_DIR "/assets"));  // pf.gif and the handles
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
