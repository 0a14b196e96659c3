// How the source fallback compares with the HTML pages, on the seeded sample
// of public classes of java.base and java.desktop (every tree leaf): the share
// of leaves whose source text names the member, and of those with an HTML
// extract, the share with the same first line and with near-equal words.
//
// usage: bench_javadoc_source_oracle [CLASSES] [SHOWN_MISSES]

#include <QElapsedTimer>
#include <cstdio>

#include "tests/support/SourceOracle.h"

int main(int argc, char** argv)
{
    const int classes = argc > 1 ? std::atoi(argv[1]) : 160;
    const int shown = argc > 2 ? std::atoi(argv[2]) : 40;
    int overloaded = 0, both90 = 0;
    int leaves = 0, named = 0, withHtml = 0, sameFirst = 0, near90 = 0, near80 = 0;
    QStringList firstMisses, textMisses, empty;
    QElapsedTimer timer;
    timer.start();
    const int walked = source_oracle::walkSample(classes, [&](const source_oracle::Leaf& l) {
        ++leaves;
        if (source_oracle::namesMember(l.source, l.args.memberName))
            ++named;
        else if (empty.size() < shown)
            empty << l.args.groupName + " | " + l.leafText + " | " + source_oracle::firstLine(l.source);
        if (l.html.isEmpty() || l.overloaded) {
            overloaded += l.overloaded && !l.html.isEmpty();
            return;
        }
        ++withHtml;
        if (source_oracle::firstLine(l.html) == source_oracle::firstLine(l.source))
            ++sameFirst;
        else if (firstMisses.size() < shown)
            firstMisses << source_oracle::firstLine(l.html) + "  <>  " + source_oracle::firstLine(l.source);
        const double s = source_oracle::similarity(l.html, l.source);
        both90 += s >= 0.9 && source_oracle::firstLine(l.html) == source_oracle::firstLine(l.source);
        near90 += s >= 0.9;
        near80 += s >= 0.8;
        if (s < 0.8 && textMisses.size() < shown)
            textMisses << QString::number(s, 'f', 2) + " " + l.args.groupName + " | " + l.leafText;
    });
    auto pct = [](int n, int of) { return of ? 100.0 * n / of : 0.0; };
    std::printf("%d classes, %d leaves, %.2f s\n", walked, leaves, timer.elapsed() / 1000.0);
    std::printf("source text names the member: %d (%.1f %%)\n", named, pct(named, leaves));
    std::printf("with an HTML extract: %d; same first line %d (%.1f %%); words >= 0.9: %d (%.1f %%); >= 0.8: %d "
                "(%.1f %%)\n",
        withHtml, sameFirst, pct(sameFirst, withHtml), near90, pct(near90, withHtml), near80, pct(near80, withHtml));
    std::printf("same first line and words >= 0.9: %d (%.1f %%)\n", both90, pct(both90, withHtml));
    std::printf("left out of the comparison: %d overloads that the page reader cannot tell apart\n", overloaded);
    for (const QString& m : empty) std::printf("  unnamed: %s\n", qPrintable(m));
    for (const QString& m : firstMisses) std::printf("  first: %s\n", qPrintable(m));
    for (const QString& m : textMisses) std::printf("  words: %s\n", qPrintable(m));
    return 0;
}
