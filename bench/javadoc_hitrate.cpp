// How often selecting a member of a real class shows its documentation, on the
// JDK 17 pages that openjdk-17-doc installs: a fixed, seeded sample of public
// classes of java.base and java.desktop goes through the class lookup, the
// member tree, the selection's derivation and the extractor, leaf by leaf.
// "before" reads the page the way the javadoc 1.2 era pages are read (the two
// classic page candidates and the era reader only); "after" is doit itself.
//
// usage: bench_javadoc_hitrate [API_DIR] [SAMPLE_SIZE]

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <algorithm>
#include <cstdio>
#include <random>

#include "javadoc/EraPage.h"
#include "javadoc/Extractor.h"
#include "javadoc/SelectionArgs.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/classlib/ClassLibrary.h"

namespace {

QStringList publicClassNames(const QString& api, const QString& module)
{
    QStringList names;
    const QString moduleDir = api + "/" + module;
    QFile list(api + "/element-list");
    if (!list.open(QIODevice::ReadOnly))
        return names;
    QString current;
    for (const QByteArray& raw : list.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith("module:")) {
            current = line.mid(7);
            continue;
        }
        if (current != module || line.isEmpty())
            continue;
        QString folder = line;
        folder.replace('.', '/');
        const QStringList files = QDir(moduleDir + "/" + folder).entryList({"*.html"}, QDir::Files, QDir::Name);
        for (const QString& file : files) {
            const QString base = file.chopped(5);
            if (base.contains('-') || base.contains('.'))
                continue;  // package pages, and nested classes (left out of the sample)
            names << line + "." + base;
        }
    }
    return names;
}

QString tail(const QString& name)
{
    const qsizetype cut = std::max(name.lastIndexOf('.'), name.lastIndexOf('$'));
    return name.mid(cut + 1);
}

// The two classic candidates and the era reader, nothing newer.
QString eraOnly(const javadoc::DocRequest& r, bool& pageFound)
{
    const QString cls = r.groupName == "constructors" ? r.nameText : r.groupName;
    const bool swing = r.name2.contains("javax") || r.name2.contains("com.sun") || r.name2.contains("com\\sun");
    const QString root = swing ? r.docpath2 : r.docpath;
    QString path = root + "\\" + cls + ".html";
    auto fs = [](QString p) { return p.replace('\\', '/'); };
    if (!QFileInfo::exists(fs(path))) {
        QString folders = cls;
        folders.replace('.', '\\');
        path = root + "\\" + folders + ".html";
        const qsizetype sun = path.indexOf("com\\sun");
        if (sun >= 0)
            path.replace(sun, 12, "javax");
    }
    pageFound = QFileInfo(fs(path)).isFile();
    return pageFound ? javadoc::extractEraPage(fs(path), r.memberName, r.commaCount) : QString();
}

struct Tally {
    int named = 0, empty = 0, other = 0;
    QMap<QString, int> reasons;
    void add(const QString& text, const QString& member, const QString& reasonIfEmpty)
    {
        const QString first = text.section('\n', 0, 0);
        if (text.isEmpty()) {
            ++empty;
            ++reasons[reasonIfEmpty];
        } else if (first.contains(tail(member) + "(")) {
            ++named;
        } else {
            ++other;
        }
    }
};

void print(const char* label, const Tally& t, int leaves)
{
    auto pct = [&](int n) { return leaves ? 100.0 * n / leaves : 0.0; };
    std::printf("%-7s names the member %5d (%5.1f %%)  empty %5d (%5.1f %%)  another member %4d (%5.1f %%)\n", label,
        t.named, pct(t.named), t.empty, pct(t.empty), t.other, pct(t.other));
    for (auto it = t.reasons.cbegin(); it != t.reasons.cend(); ++it)
        std::printf("          empty: %-40s %5d\n", qPrintable(it.key()), it.value());
}

}  // namespace

int main(int argc, char** argv)
{
    const QString api =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api");
    const int sampleSize = argc > 2 ? std::atoi(argv[2]) : 160;
    QStringList pool = publicClassNames(api, "java.base") + publicClassNames(api, "java.desktop");
    if (pool.isEmpty()) {
        std::fprintf(stderr, "bench_javadoc_hitrate: no JDK documentation under %s\n", qPrintable(api));
        return 1;
    }
    std::mt19937 rng(20240607);
    std::shuffle(pool.begin(), pool.end(), rng);

    QElapsedTimer timer;
    timer.start();
    int classes = 0, leaves = 0, notFound = 0;
    Tally before, after;
    QStringList misses;
    for (const QString& docName : pool) {
        if (classes >= sampleSize)
            break;
        // What SEARCH leaves in the class field and name2.
        const QString name = docName.contains("javax") ? "com.sun.java" + docName.mid(5) : docName;
        const lookup::LookupResult found = lookup::lookUpClass(platform::classlib::ClassLibrary::system(), name);
        if (found.status != lookup::LookupResult::Status::Found) {
            ++notFound;
            continue;
        }
        ++classes;
        QStringList groups;
        const lookup::MemberNode root = lookup::buildMemberTree(found.n, QString(), name, groups);
        for (const lookup::MemberNode& group : root.children) {
            for (const lookup::MemberNode& leaf : group.children) {
                const auto args = javadoc::deriveSelection({root.text, group.text, leaf.text});
                if (!args)
                    continue;
                ++leaves;
                javadoc::DocRequest r;
                r.memberName = args->memberName;
                r.commaCount = args->commaCount;
                r.groupName = args->groupName;
                r.nameText = name;
                r.name2 = name;
                r.docpath = api + "/java.base";
                r.docpath2 = api + "/java.desktop";
                bool eraPage = false;
                before.add(eraOnly(r, eraPage), r.memberName, eraPage ? "member not found" : "no page");
                const javadoc::DocResult result = javadoc::doit(r);
                const int otherBefore = after.other, emptyBefore = after.empty;
                after.add(result.text, r.memberName, result.pageOpened ? "member not found" : "no page");
                if ((after.other != otherBefore || after.empty != emptyBefore) && misses.size() < 60)
                    misses << QString("%1 | %2 | %3 | %4")
                                  .arg(result.text.isEmpty() ? (result.pageOpened ? "not found" : "no page")
                                                             : "other: " + result.text.section('\n', 0, 0).trimmed(),
                                      r.groupName, leaf.text.trimmed(), name);
            }
        }
    }
    const double seconds = timer.elapsed() / 1000.0;
    std::printf("%d classes (%d not found by the lookup), %d leaves, %.2f s for both walks\n", classes, notFound,
        leaves, seconds);
    print("before", before, leaves);
    print("after", after, leaves);
    for (const QString& m : misses) std::printf("  miss: %s\n", qPrintable(m));
    return 0;
}
