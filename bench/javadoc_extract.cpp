// Extracting the last member of a 10 000-line (about 1 MB) javadoc 1.2 page,
// and of about 1 MB pages of each later javadoc generation, against the I/O
// floor: counting the same file's lines as wc -l does.
// The page is left in the build folder (docs_bench/java.util.Big.html) so
// that `wc -l` can be timed over the very same file.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <unistd.h>

#include "javadoc/Extractor.h"
#include "javadoc/PageText.h"

namespace {

const QString kRoot = QStringLiteral(JO_BINARY_DIR "/docs_bench");
const QString kPage = kRoot + QStringLiteral("/java.util.Big.html");

// Members of eight lines each: signature, description, labels, a rule.
void writePage()
{
    QDir().mkpath(kRoot);
    QFile file(kPage);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    QByteArray page = "<HTML><HEAD><TITLE>Big</TITLE></HEAD><BODY>\n"
                      "<A NAME=\"constructor_detail\"></A>\n"
                      "<TABLE><TR><TD><FONT SIZE=\"+2\"><B>Constructor Detail</B></FONT></TD></TR></TABLE>\n";
    int lines = 3;
    for (int member = 0; lines < 10000 - 8; ++member) {
        const QByteArray name = "member" + QByteArray::number(member);
        page += "<A NAME=\"" + name + "(int, java.lang.Object)\"><!-- --></A><H3>" + name + "</H3>\n";
        page += "<PRE>public void <B>" + name + "</B>(int&nbsp;index,\n";
        page += "                   java.lang.Object&nbsp;element)</PRE>\n";
        page += "<DL><DD>Does the work of " + name +
            " at the given index with the given element; see the class comment for what this means, "
            "and the package comment for the rules that all members share, including the ones on "
            "ranges.\n";
        page += "<DD><DL><DT><B>Parameters:</B><DD><CODE>index</CODE> - the position, from zero to size() - 1 "
                "inclusive, counted from the first element that the structure holds at the time of the "
                "call</DL>\n";
        page += "<DT><B>Throws:</B><DD><CODE>ArrayIndexOutOfBoundsException</CODE> - if the index is out of "
                "range, that is below zero or not below the current size of the structure</DL>\n";
        page += "</DD>\n<HR>\n";
        lines += 8;
    }
    page += "<A NAME=\"last(int, java.lang.Object)\"><!-- --></A><H3>last</H3>\n";
    page += "<PRE>public void <B>last</B>(int&nbsp;index,\n";
    page += "                   java.lang.Object&nbsp;element)</PRE>\n";
    page += "<DL><DD>The last member of the page.\n</DD>\n<HR>\n";
    file.write(page);
}

void BM_ExtractLastMember(benchmark::State& state)
{
    writePage();
    javadoc::DocRequest r;
    r.memberName = QStringLiteral("last");
    r.commaCount = 1;
    r.groupName = QStringLiteral("java.util.Big");
    r.nameText = r.groupName;
    r.name2 = r.groupName;
    r.docpath = kRoot;
    qint64 bytes = QFile(kPage).size();
    for (auto _ : state) {
        javadoc::DocResult result = javadoc::doit(r);
        if (result.text.isEmpty())
            state.SkipWithError("the last member was not found");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_ExtractLastMember)->Unit(benchmark::kMillisecond);

// The same size of page in the markup of each later javadoc: the last member
// of about 1 MB, below a few thousand others; every tenth shares its name with
// other types, so the reader compares their types on the way down.
enum Generation { Jdk13to7, Jdk8, Jdk9to15, Html5 };

QString laterPage(Generation g)
{
    const QString dir = kRoot + QStringLiteral("/gen") + QString::number(int(g));
    QDir().mkpath(dir + QStringLiteral("/p"));
    const QString path = dir + QStringLiteral("/p/Big.html");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return dir;
    auto anchor = [g](const QByteArray& name, const QByteArray& type) -> QByteArray {
        switch (g) {
        case Jdk13to7:
            return "<A NAME=\"" + name + "(int, " + type + ")\"><!-- --></A><H3>\n" + name + "</H3>\n<PRE>\n";
        case Jdk8:
            return "<a name=\"" + name + "-int-" + type +
                "-\">\n<!--   -->\n</a>\n<ul class=\"blockList\">\n<li>\n<h4>" + name + "</h4>\n<pre>";
        case Jdk9to15:
            return "<a id=\"" + name + "(int," + type + ")\">\n<!--   -->\n</a>\n<ul class=\"blockList\">\n<li>\n<h4>" +
                name + "</h4>\n<pre class=\"methodSignature\">";
        case Html5:
            return "<section class=\"detail\" id=\"" + name + "(int," + type + ")\">\n<h3>" + name +
                "</h3>\n<div class=\"member-signature\">";
        }
        return {};
    };
    const QByteArray sigEnd = g == Html5 ? "</div>\n" : "</pre>\n";
    const QByteArray blockEnd = g == Jdk13to7 ? "<HR>\n" : g == Html5 ? "</section>\n" : "</li>\n</ul>\n";
    QByteArray page = g == Html5
        ? "<!DOCTYPE HTML>\n<html><head><meta name=\"generator\" content=\"javadoc/ClassWriterImpl\">\n"
        : "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<HTML><HEAD>\n";
    page += "</head><body>\n";
    auto member = [&](const QByteArray& name, const QByteArray& type, const QByteArray& text) {
        page +=
            anchor(name, type) + "public void " + name + "(int&nbsp;index,\n        " + type + "&nbsp;value)" + sigEnd;
        page += "<div class=\"block\">" + text +
            "</div>\n<dl>\n<dt>Parameters:</dt>\n<dd><code>index</code> - "
            "the position, from zero to size() - 1 inclusive, counted from the first element</dd>\n"
            "<dt>Throws:</dt>\n<dd><code>IndexOutOfBoundsException</code> - if the index is out of range, that "
            "is below zero or not below the current size of the structure</dd>\n</dl>\n" +
            blockEnd;
    };
    for (int i = 0; page.size() < 1000000; ++i)
        member(i % 10 ? "set" + QByteArray::number(i) : QByteArray("put"), "p.Type" + QByteArray::number(i),
            "Puts a value at the given index, replacing what was there; see the class comment for what this means, "
            "and the package comment for the rules that all members share, including the ones on ranges.");
    member("put", "java.lang.String", "The last member of the page.");
    page += "</body></html>\n";
    file.write(page);
    return dir;
}

void BM_ExtractLaterGeneration(benchmark::State& state)
{
    javadoc::DocRequest r;
    r.memberName = QStringLiteral("put");
    r.commaCount = 1;
    r.paramTypes = QStringList {QStringLiteral("int"), QStringLiteral("String")};
    r.groupName = QStringLiteral("p.Big");
    r.nameText = r.name2 = r.groupName;
    r.docpath = laterPage(Generation(state.range(0)));
    for (auto _ : state) {
        javadoc::DocResult result = javadoc::doit(r);
        if (!result.text.contains(QStringLiteral("The last member")))
            state.SkipWithError("the last member was not found");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ExtractLaterGeneration)
    ->Unit(benchmark::kMillisecond)
    ->ArgName("generation")
    ->Arg(Jdk13to7)
    ->Arg(Jdk8)
    ->Arg(Jdk9to15)
    ->Arg(Html5);

// What wc -l does: read in 64 KB blocks, count the line ends.
void BM_CountLinesFloor(benchmark::State& state)
{
    writePage();
    const QByteArray path = QFile::encodeName(kPage);
    qint64 bytes = QFile(kPage).size();
    static char buf[64 * 1024];
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_RDONLY);
        long lines = 0;
        ssize_t got;
        while ((got = ::read(fd, buf, sizeof buf)) > 0)
            for (ssize_t i = 0; i < got; ++i) lines += buf[i] == '\n';
        ::close(fd);
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_CountLinesFloor)->Unit(benchmark::kMillisecond);

// A body line with links, as JDK 17's pages write SPECIFIED BY: its text
// alone (0, what a line without an href costs) and with its links (1).
void BM_LinkedLine(benchmark::State& state)
{
    const QString html =
        QStringLiteral("<dd><code><a href=\"Collection.html#add(E)\">add</a></code>&nbsp;in interface&nbsp;<code><a "
                       "href=\"Collection.html\" title=\"interface in java.util\">Collection</a>&lt;<a "
                       "href=\"Vector.html\" title=\"type parameter in Vector\">E</a>&gt;</code></dd>");
    for (auto _ : state) {
        std::vector<javadoc::DocLink> links;
        QString text = state.range(0) ? javadoc::plainTextWithLinks(html, links) : javadoc::plainText(html);
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(links);
    }
}
BENCHMARK(BM_LinkedLine)->ArgName("links")->Arg(0)->Arg(1);

// A selection's text and links from the installed JDK 17 documentation.
void BM_JdkPageMember(benchmark::State& state)
{
    const QString api = QStringLiteral("/usr/share/doc/openjdk-17-doc/api/java.base");
    javadoc::DocRequest r;
    r.memberName = QStringLiteral("add");
    r.groupName = r.nameText = r.name2 = QStringLiteral("java.util.Vector");
    r.docpath = api;
    r.paramTypes = QStringList {QStringLiteral("Object")};
    for (auto _ : state) {
        javadoc::DocResult result = javadoc::doit(r);
        if (result.text.isEmpty())
            state.SkipWithError("openjdk-17-doc is not installed");
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_JdkPageMember)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
