// One member's documentation from the JDK's src.zip: JTable.getValueAt, from a
// 386 KB source, with the archive already open as in the window after its
// first selection (target: under 5 ms); and the whole CLI process answering
// from the sources against the same process answering from the HTML page
// (target: within 3 times). The links cost the class lookups of the comment's
// references on top.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QFileInfo>
#include <vector>

#include "javadoc/source/SourceDocs.h"
#include "javadoc/source/SourceLocator.h"
#include "platform/classlib/ClassLibrary.h"

extern char** environ;

namespace {

const javadoc::source::SourceRequest kGetValueAt {QStringLiteral("getValueAt"), 1,
    QStringLiteral("com.sun.java.swing.JTable"), QStringLiteral("com.sun.java.swing.JTable"),
    QStringLiteral("getValueAt          Object getValueAt(int,int)")};
const QString kApi = QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api");

void BM_SourceDoc_JTableGetValueAt(benchmark::State& state)
{
    auto& library = platform::classlib::ClassLibrary::system();
    javadoc::source::SourceDocs docs(library);
    if (docs.document(kGetValueAt).isEmpty()) {
        state.SkipWithError("no documentation for JTable.getValueAt: is openjdk-17-source installed?");
        return;
    }
    for (auto _ : state) {
        docs.dropParsedFiles();  // the archive stays open, the file is read and scanned again
        benchmark::DoNotOptimize(docs.document(kGetValueAt));
    }
}
BENCHMARK(BM_SourceDoc_JTableGetValueAt)->Unit(benchmark::kMillisecond);

// The same with the text's links, as the window asks for it: the comment's
// references and the signature's types resolved through the class library.
void BM_SourceDoc_JTableGetValueAtWithLinks(benchmark::State& state)
{
    javadoc::source::SourceDocs docs(platform::classlib::ClassLibrary::system());
    std::vector<javadoc::DocLink> links;
    if (docs.document(kGetValueAt, &links).isEmpty()) {
        state.SkipWithError("no documentation for JTable.getValueAt: is openjdk-17-source installed?");
        return;
    }
    for (auto _ : state) {
        docs.dropParsedFiles();
        links.clear();
        benchmark::DoNotOptimize(docs.document(kGetValueAt, &links));
    }
    state.counters["links"] = double(links.size());
}
BENCHMARK(BM_SourceDoc_JTableGetValueAtWithLinks)->Unit(benchmark::kMillisecond);

// Selections within one class whose comments link much (its source parsed
// once, as in the window): without the links (0) and with them (1), the
// difference being what the links cost a selection.
void BM_SourceDoc_StringSelections(benchmark::State& state)
{
    const char* const leaves[] = {"split  String[] split(String,int)", "matches  boolean matches(String)",
        "format  String format(String,Object[])", "compareTo  int compareTo(String)",
        "getBytes  byte[] getBytes(Charset)", "regionMatches  boolean regionMatches(boolean,int,String,int,int)",
        "replaceAll  String replaceAll(String,String)", "indexOf  int indexOf(int,int)"};
    const QString string = QStringLiteral("java.lang.String");
    javadoc::source::SourceDocs docs(platform::classlib::ClassLibrary::system());
    std::vector<javadoc::DocLink> links;
    size_t linkCount = 0;
    for (auto _ : state) {
        linkCount = 0;
        for (const char* leaf : leaves) {
            const QString text = QString::fromLatin1(leaf);
            const javadoc::source::SourceRequest request {
                text.section(QLatin1Char(' '), 0, 0), int(text.count(QLatin1Char(','))), string, string, text};
            links.clear();
            if (docs.document(request, state.range(0) ? &links : nullptr).isEmpty()) {
                state.SkipWithError("no documentation for String's members: is openjdk-17-source installed?");
                return;
            }
            linkCount += links.size();
        }
    }
    state.counters["selections"] = double(std::size(leaves));
    state.counters["links"] = double(linkCount);
}
BENCHMARK(BM_SourceDoc_StringSelections)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What an open src.zip holds in memory: its central directory (and, from the
// second lookup, a hash index over it), never the entries' contents.
void BM_OpenSrcZip(benchmark::State& state)
{
    const std::string path = platform::classlib::ClassLibrary::system().jdkHome() + "/lib/src.zip";
    qsizetype directory = 0, archive = QFileInfo(QString::fromStdString(path)).size();
    for (auto _ : state) {
        platform::ZipArchive::OpenError failure;
        auto zip = platform::ZipArchive::open(path, failure);
        if (!zip) {
            state.SkipWithError("no lib/src.zip: is openjdk-17-source installed?");
            return;
        }
        QByteArray bytes;
        std::string error;
        for (const char* entry : {"java.base/java/lang/Object.java", "java.desktop/javax/swing/JTable.java"}) {
            if (const auto found = zip->find(entry))  // the second lookup builds the index
                zip->read(*found, 1 << 20, bytes, error);
        }
        directory = qsizetype(zip->directoryBytes());
    }
    state.counters["archive_MB"] = double(archive) / (1 << 20);
    state.counters["directory_MB"] = double(directory) / (1 << 20);
}
BENCHMARK(BM_OpenSrcZip)->Unit(benchmark::kMillisecond);

int runCli(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    const std::string program = JO_BINARY_DIR "/javaorvel-cli";
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    int status = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0)
        waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    return status;
}

const std::vector<std::string> kLeaf {"doc", "--name2", "com.sun.java.swing.JTable", "--field",
    "com.sun.java.swing.JTable", "--group", "com.sun.java.swing.JTable", "--leaf",
    "getValueAt          Object getValueAt(int,int)"};

void BM_CliProcess_FromSources(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(runCli(kLeaf));
}
BENCHMARK(BM_CliProcess_FromSources)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliProcess_FromHtmlPage(benchmark::State& state)
{
    if (!QFileInfo(kApi + QStringLiteral("/java.desktop/javax/swing/JTable.html")).isFile()) {
        state.SkipWithError("openjdk-17-doc is not installed");
        return;
    }
    std::vector<std::string> args = kLeaf;
    for (const char* extra : {"--main", "/usr/share/doc/openjdk-17-jre-headless/api/java.base", "--swing",
             "/usr/share/doc/openjdk-17-jre-headless/api/java.desktop", "--no-source"})
        args.push_back(extra);
    for (auto _ : state) benchmark::DoNotOptimize(runCli(args));
}
BENCHMARK(BM_CliProcess_FromHtmlPage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
