// The JVM as oracle for the class index (ClassIndexOracle.java, compiled with
// the javac of the JDK the reader reads), in one test so that the JVM runs
// once: the index's public classes and their deprecation are the JVM's; every
// simple name the catalogue misses resolves to the class the rank rule picks
// among the JVM's classes; every class of java.base and java.desktop with
// public constructors gets a "constructors" group; every member-class page of
// the catalogue looks up like its binary name.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>

#include "catalogue/PathsData.h"
#include "javadoc/CatalogueLookup.h"
#include "lookup/ClassCompletion.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/JdkTools.h"

namespace {

using platform::classlib::ClassIndex;
using platform::classlib::ClassLibrary;

struct JvmClass {
    QString name, module;
    bool deprecated;
};

int moduleRank(const QString& module)
{
    return module == "java.base" ? 0 : module.startsWith("java.") ? 1 : 2;
}

bool rankLess(const JvmClass& a, const JvmClass& b)
{
    if (moduleRank(a.module) != moduleRank(b.module))
        return moduleRank(a.module) < moduleRank(b.module);
    if (a.deprecated != b.deprecated)
        return b.deprecated;
    return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
}

}  // namespace

TEST(ClassIndexOracle, TheIndexTheRankAndTheTreesAgreeWithTheJvm)
{
    const std::unique_ptr<ClassLibrary> library = test_support::jdkOnlyLibrary();
    const QString bin = test_support::jdkBinWith("javac");
    if (bin.isEmpty())
        GTEST_SKIP() << "no JDK with javac installed";
    QTemporaryDir dir;
    const auto out = test_support::runJavaHelper(
        bin, dir.path(), {"tests/platform/classlib/ClassIndexOracle.java"}, "ClassIndexOracle");
    ASSERT_TRUE(out);
    std::vector<JvmClass> jvm;
    for (const QByteArray& line : out->split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() == 3)
            jvm.push_back({QString::fromUtf8(f[0]), QString::fromUtf8(f[1]), f[2] == "1"});
    }
    ASSERT_GT(jvm.size(), 1000u);
    const lookup::ClassCompletion completion(ClassIndex::build(*library));
    QStringList differences;

    // Public classes and deprecation.
    const ClassIndex& index = completion.index();
    std::map<QString, bool> ours;
    for (uint32_t id = 0; id < index.size(); ++id) {
        const ClassIndex::Traits t = index.traits(id);
        const std::string_view name = index.internalName(id);
        if (t.isPublic)
            ours[QString::fromUtf8(name.data(), qsizetype(name.size())).replace('/', '.')] = t.deprecated;
    }
    for (const JvmClass& c : jvm) {
        const auto it = ours.find(c.name);
        if (it == ours.end() || it->second != c.deprecated)
            differences << (it == ours.end() ? "missing " : "deprecation differs: ") + c.name;
        if (it != ours.end())
            ours.erase(it);
    }
    for (const auto& [name, deprecated] : ours) differences << "not public for the JVM: " + name;

    // Every simple binary name the catalogue misses: the rank's pick.
    std::map<QString, JvmClass> best;
    for (const JvmClass& c : jvm) {
        const QString simple = c.name.mid(c.name.lastIndexOf('.') + 1);
        if (const auto it = best.find(simple); it == best.end() || rankLess(c, it->second))
            best.insert_or_assign(simple, c);
    }
    const PathsData catalogue;
    int resolved = 0;
    for (const auto& [simple, pick] : best) {
        QString startAt;
        if (javadoc::loadTxt(catalogue, simple, startAt))
            continue;
        ++resolved;
        if (const QString got = completion.resolve(simple); got != pick.name)
            differences << simple + ": " + got + " instead of " + pick.name;
    }
    EXPECT_GT(resolved, 3000);

    // The constructors group, for the classes of java.base and java.desktop.
    for (const JvmClass& c : jvm) {
        if (c.module != "java.base" && c.module != "java.desktop")
            continue;
        const lookup::LookupResult r = lookup::lookUpClass(*library, c.name);
        QStringList classes;
        const lookup::MemberNode root = lookup::buildMemberTree(r.n, QString(), c.name, classes);
        if (r.status != lookup::LookupResult::Status::Found ||
            (!r.ctor.empty() &&
                std::none_of(root.children.begin(), root.children.end(),
                    [](const lookup::MemberNode& g) { return g.text == "constructors"; })))
            differences << "no constructors group: " + c.name;
    }

    // The catalogue's member-class pages ("java/util/Map.Entry.html").
    int pages = 0;
    for (int i = 0; i < PathsData::kCount; ++i) {
        QString page = catalogue.getString(i);
        page.chop(5);
        const qsizetype slash = page.lastIndexOf('/');
        if (!page.mid(slash + 1).contains('.'))
            continue;
        const QString dotted = QString(page).replace('/', '.');
        const QString binary = page.left(slash + 1).replace('/', '.') + page.mid(slash + 1).replace('.', '$');
        const lookup::LookupResult expected = lookup::lookUpClass(*library, binary);
        if (expected.status != lookup::LookupResult::Status::Found)
            continue;  // gone since the catalogue was written
        ++pages;
        const lookup::LookupResult got = lookup::lookUpClass(*library, dotted);
        if (got.binaryName != binary || got.n != expected.n)
            differences << "dotted page differs: " + dotted;
    }
    EXPECT_GT(pages, 100);
    EXPECT_TRUE(differences.isEmpty()) << differences.size() << " differences:\n"
                                       << differences.mid(0, 20).join('\n').toStdString();
}
