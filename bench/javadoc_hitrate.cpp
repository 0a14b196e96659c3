// How often selecting a member of a real class shows its own documentation.
// Each class goes through the class lookup, the member tree, the selection's
// derivation and the extractor, leaf by leaf; a shown text counts as a hit only
// when its signature line names the member with the leaf's parameter types.
//
// Without arguments: a fixed, seeded sample of public classes of java.base and
// java.desktop against the JDK 17 pages that openjdk-17-doc installs; "era" is
// the page read the way the javadoc 1.2 pages are read (the two classic page
// candidates and the era reader only), "doit" is the extractor itself.
// With --lib LABEL API_DIR JAR (repeatable): every class page of a library's
// own javadoc, its jar on CLASSPATH.
//
// With --found: no root is given; each class's page is read from the first
// root found for it (javadoc/source/FoundRoots.h), as with no set-up.
//
// usage: bench_javadoc_hitrate [API_DIR [SAMPLE_SIZE]]
//        bench_javadoc_hitrate --lib LABEL API_DIR JAR [--lib ...] [--misses N] [--found]

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "javadoc/EraPage.h"
#include "javadoc/Extractor.h"
#include "javadoc/SelectionArgs.h"
#include "javadoc/source/FoundRoots.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/SignatureCheck.h"
#include "tests/support/SourceOracle.h"

namespace {

// Every class page of a classic-layout tree: a folder per package, nested
// classes as "Outer.Inner.html".
QStringList libraryClasses(const QString& api)
{
    QStringList names;
    QDirIterator it(api, {"*.html"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = QDir(api).relativeFilePath(path);
        const QString base = QFileInfo(rel).completeBaseName();
        const QString dir = QFileInfo(rel).path();
        if (dir == "." || base.contains('-') || rel.contains("class-use/") || rel.contains("doc-files/") ||
            rel.contains("src-html/") || !QFileInfo::exists(QFileInfo(path).path() + "/package-summary.html"))
            continue;
        QString pkg = dir;
        pkg.replace('/', '.');
        QString nested = base;
        nested.replace('.', '$');
        names << pkg + "." + nested;
    }
    names.sort();
    return names;
}

// The two classic candidates and the era reader, nothing newer.
QString eraOnly(const javadoc::DocRequest& r)
{
    const QString cls = r.groupName == platform::kConstructorsGroup ? r.nameText : r.groupName;
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
    return QFileInfo(fs(path)).isFile() ? javadoc::extractEraPage(fs(path), r.memberName, r.commaCount) : QString();
}

// Whether the class's page has an anchor or section id for a member of this
// name at all; an empty text for a member the page leaves out is right.
bool pageNamesMember(const QString& root, const QString& cls, const QString& member)
{
    QString rel = cls;
    const qsizetype lastDot = rel.lastIndexOf('.');
    rel = rel.left(lastDot).replace('.', '/') + "/" + rel.mid(lastDot + 1).replace('$', '.') + ".html";
    QFile page(root + "/" + rel);
    if (!page.open(QIODevice::ReadOnly))
        return true;  // not found here: count it
    const QByteArray text = page.readAll();
    const QByteArray name = member.mid(std::max(member.lastIndexOf('.'), member.lastIndexOf('$')) + 1).toUtf8();
    for (const QByteArray& form : {"\"" + name + "(", "\"" + name + "-", QByteArray("\"&lt;init&gt;(")})
        if (text.contains(form))
            return true;
    return false;
}

struct Tally {
    int leaves = 0, hit = 0, loose = 0, empty = 0, other = 0, undocumented = 0;
    void add(javadoc_check::Verdict v)
    {
        ++leaves;
        switch (v) {
        case javadoc_check::Verdict::Hit:
            ++hit;
            break;
        case javadoc_check::Verdict::HitLoosely:
            ++loose;
            break;
        case javadoc_check::Verdict::Empty:
            ++empty;
            break;
        case javadoc_check::Verdict::Other:
            ++other;
            break;
        }
    }
};

void print(const QString& label, const Tally& t)
{
    auto pct = [&](int n) { return t.leaves ? 100.0 * n / t.leaves : 0.0; };
    const int documented = t.leaves - t.undocumented;
    std::printf("%-22s leaves with a page %5d  right member %5d (%5.1f %%; %5.1f %% of the %d the page names; %d by "
                "a type variable or bridge)  empty %4d (%4.1f %%)  another member %4d (%4.1f %%)\n",
        qPrintable(label), t.leaves, t.hit + t.loose, pct(t.hit + t.loose),
        documented ? 100.0 * (t.hit + t.loose) / documented : 0.0, documented, t.loose, t.empty, pct(t.empty), t.other,
        pct(t.other));
}

struct Walk {
    Tally era, doit;
    QStringList misses;
    int maxMisses = 40;
    int classes = 0, notFound = 0;
    bool foundRoots = false;  // each class's root as found with no set-up, not the one given
    int noRoot = 0;           // classes no found root names

    void run(const QStringList& docNames, const QString& main, const QString& swing, int limit = INT_MAX)
    {
        for (const QString& docName : docNames) {
            if (classes >= limit)
                break;
            // What SEARCH leaves in the class field and name2.
            const QString name = docName.startsWith("javax.") ? "com.sun.java" + docName.mid(5) : docName;
            const lookup::LookupResult found = lookup::lookUpClass(platform::classlib::ClassLibrary::system(), name);
            if (found.status != lookup::LookupResult::Status::Found) {
                ++notFound;
                continue;
            }
            QString classMain = main, classSwing = swing;
            if (foundRoots) {
                const QStringList roots = javadoc::source::foundDocRoots(name);
                if (roots.isEmpty()) {
                    ++noRoot;
                    continue;
                }
                classMain = classSwing = roots.first();
            }
            ++classes;
            QStringList groups;
            const lookup::MemberNode root = lookup::buildMemberTree(found.n, QString(), name, groups);
            for (const lookup::MemberNode& group : root.children) {
                for (const lookup::MemberNode& leaf : group.children) {
                    const auto args = javadoc::deriveSelection({root.text, group.text, leaf.text});
                    if (!args || !args->paramTypes)
                        continue;
                    javadoc::DocRequest r;
                    r.memberName = args->memberName;
                    r.commaCount = args->commaCount;
                    r.groupName = args->groupName;
                    r.paramTypes = args->paramTypes;
                    r.nameText = name;
                    r.name2 = name;
                    r.docpath = classMain;
                    r.docpath2 = classSwing;
                    const javadoc::DocResult result = javadoc::doit(r);
                    if (!result.pageOpened)
                        continue;  // javadoc left the class out: not counted
                    const auto verdict = javadoc_check::judge(result.text, r.memberName, *r.paramTypes);
                    const QString cls = r.groupName == platform::kConstructorsGroup ? name : r.groupName;
                    const bool named =
                        pageNamesMember(cls.startsWith("com.sun.java.swing") || cls.startsWith("javax.") ? swing : main,
                            cls, r.memberName);
                    doit.add(verdict);
                    era.add(javadoc_check::judge(eraOnly(r), r.memberName, *r.paramTypes));
                    if (!named) {
                        ++doit.undocumented;
                        ++era.undocumented;
                    }
                    if (verdict != javadoc_check::Verdict::Hit && verdict != javadoc_check::Verdict::HitLoosely &&
                        misses.size() < maxMisses)
                        misses << QString("%1 | %2 | %3 | %4")
                                      .arg(result.text.isEmpty()
                                              ? "empty"
                                              : "other: " + result.text.section('\n', 0, 0).trimmed(),
                                          r.groupName, leaf.text.trimmed(), name);
                }
            }
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);

    struct Lib {
        QString label, api, jar;
    };
    QList<Lib> libs;
    int maxMisses = 40;
    const bool found = args.contains("--found");
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--lib" && i + 3 < args.size()) {
            libs.append({args[i + 1], args[i + 2], args[i + 3]});
            i += 3;
        } else if (args[i] == "--misses" && i + 1 < args.size()) {
            maxMisses = args[++i].toInt();
        }
    }

    QElapsedTimer timer;
    timer.start();
    if (!libs.isEmpty()) {
        // The class library reads CLASSPATH on first use.
        QStringList jars;
        for (const Lib& lib : libs) jars << lib.jar;
        qputenv("CLASSPATH", jars.join(':').toLocal8Bit());
        for (const Lib& lib : libs) {
            Walk walk;
            walk.maxMisses = maxMisses;
            walk.foundRoots = found;
            walk.run(libraryClasses(lib.api), lib.api, QString());
            std::printf("%s: %d classes (%d not found by the lookup, %d with no root found)\n", qPrintable(lib.label),
                walk.classes, walk.notFound, walk.noRoot);
            print(lib.label + " era", walk.era);
            print(lib.label + " doit", walk.doit);
            for (const QString& m : walk.misses) std::printf("  miss: %s\n", qPrintable(m));
        }
        std::printf("%.2f s\n", timer.elapsed() / 1000.0);
        return 0;
    }

    const QString api = args.size() > 0 ? args[0] : QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api");
    const int sampleSize = args.size() > 1 ? args[1].toInt() : 160;
    QStringList pool =
        source_oracle::publicClassNames("java.base", api) + source_oracle::publicClassNames("java.desktop", api);
    if (pool.isEmpty()) {
        std::fprintf(stderr, "bench_javadoc_hitrate: no JDK documentation under %s\n", qPrintable(api));
        return 1;
    }
    std::mt19937 rng(20240607);
    std::shuffle(pool.begin(), pool.end(), rng);
    Walk walk;
    walk.maxMisses = maxMisses;
    walk.run(pool, api + "/java.base", api + "/java.desktop", sampleSize);
    std::printf("%d classes (%d not found by the lookup), %.2f s for both walks\n", walk.classes, walk.notFound,
        timer.elapsed() / 1000.0);
    print("JDK 17 era", walk.era);
    print("JDK 17 doit", walk.doit);
    for (const QString& m : walk.misses) std::printf("  miss: %s\n", qPrintable(m));
    return 0;
}
