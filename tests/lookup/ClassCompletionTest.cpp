// Completion, resolution and suggestions over the installed JDK and two
// fixture jars on CLASSPATH, compiled by the JDK's javac: a class named like a
// JDK class, a non-public class, a public member of a non-public class, a
// deprecated class beside a plain one of the same name, and the same name
// again in the second jar. Also the lookup of dotted member-class names.
// The module-info reader's damaged input is fuzz_class_index's.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "lookup/ClassCompletion.h"
#include "lookup/ClassLookup.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/Files.h"
#include "tests/support/JdkTools.h"
#include "tests/support/QtPrinters.h"

namespace {

using platform::classlib::ClassIndex;
using platform::classlib::ClassLibrary;

const std::pair<const char*, const char*> kSources[] = {
    {"zq/a/Optional.java", "package zq.a; public class Optional {}"},
    {"zq/a/ZqSolo.java", "package zq.a; public class ZqSolo { public static class Inner { public Inner() {} } }"},
    {"zq/a/ZqHidden.java", "package zq.a; class ZqHidden {}"},
    {"zq/a/ZqWrap.java", "package zq.a; class ZqWrap { public static class Pub {} }"},
    {"zq/a/ZqTwin.java", "package zq.a; @Deprecated public class ZqTwin {}"},
    {"zq/b/ZqTwin.java", "package zq.b; public class ZqTwin {}"},
    {"zq/c/ZqSolo.java", "package zq.c; public class ZqSolo {}"},  // the second jar: zq/c
    {"zq/c/ZqTwin.java", "package zq.c; public class ZqTwin {}"},
};

// The jars are made once per build folder and JDK, since ctest runs every test
// in a process of its own; other sources make another folder.
QString makeJars(const QString& bin, std::string& skip)
{
    QString key = bin;
    for (const auto& [path, source] : kSources) key += QString(path) + source;
    const QString base = JO_BINARY_DIR "/tests/lookup";
    const QString dir = base + "/completion-fixture-" + QString::number(qHash(key), 16);
    if (QFileInfo::exists(dir + "/two.jar"))
        return dir;
    QTemporaryDir work(base + "/completion-fixture-XXXXXX");
    const QString w = work.path();
    QStringList javac {"-d", w + "/classes", "-nowarn"};
    for (const auto& [path, source] : kSources) {
        if (!test_support::writeFile(w + "/src/" + path, source))
            return skip = "cannot write the fixture sources", QString();
        javac << w + "/src/" + path;
    }
    const QString classes = w + "/classes";
    using test_support::runTool;
    if (!runTool(bin + "javac", javac) ||
        !runTool(bin + "jar", {"cf", w + "/one.jar", "-C", classes, "zq/a", "-C", classes, "zq/b"}) ||
        !runTool(bin + "jar", {"cf", w + "/two.jar", "-C", classes, "zq/c"}))
        return skip = "javac or jar failed", QString();
    work.setAutoRemove(!QDir().rename(w, dir));  // another test process may have been first
    return dir;
}

struct Fixture {
    std::unique_ptr<ClassLibrary> library;
    std::unique_ptr<lookup::ClassCompletion> completion;
    std::string skip;
};

Fixture& fixture()
{
    static Fixture* f = [] {
        auto* fx = new Fixture;
        const QString bin = test_support::jdkBinWith("javac");
        if (bin.isEmpty()) {
            fx->skip = "no JDK with javac installed";
            return fx;
        }
        const QString d = makeJars(bin, fx->skip);
        if (d.isEmpty())
            return fx;
        ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
        env.classPathSet = true;
        env.classPath = (d + "/one.jar:" + d + "/two.jar").toStdString();
        fx->library = ClassLibrary::discover(env);
        fx->completion = std::make_unique<lookup::ClassCompletion>(ClassIndex::build(*fx->library));
        return fx;
    }();
    return *f;
}

class ClassCompletionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fixture().skip.empty())
            GTEST_SKIP() << fixture().skip;
    }
    const lookup::ClassCompletion& c() const { return *fixture().completion; }
    static QStringList names(const std::vector<lookup::ClassChoice>& choices)
    {
        QStringList out;
        for (const auto& choice : choices) out << choice.binaryName;
        return out;
    }
};

}  // namespace

TEST_F(ClassCompletionTest, ResolvePicksThePublicClassTheRankPrefers)
{
    const struct {
        QString text, expected;
    } cases[] = {
        {"Optional", "java.util.Optional"},  // the JDK before CLASSPATH (the JDK's own ranks: the oracle's)
        {"ZqSolo", "zq.a.ZqSolo"},           // CLASSPATH order
        {" ZqSolo\t", "zq.a.ZqSolo"},
        {"ZqSolo.Inner", "zq.a.ZqSolo$Inner"},
        {"ZqSolo$Inner", "zq.a.ZqSolo$Inner"},
        {"Map.Entry", "java.util.Map$Entry"},
        {"ZqTwin", "zq.b.ZqTwin"},  // not deprecated before deprecated
        {"ZqHidden", ""},
        {"ZqWrap.Pub", ""},  // public, but inside a class that is not
        {"zqsolo", ""},
        {"java.util.Optional", ""},  // qualified names are the lookup's own business
        {"...", ""},
        {".ZqSolo", ""},
        {"", ""},
        {QString(10000, 'x'), ""},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), ""},
    };
    for (const auto& t : cases) {
        EXPECT_EQ(c().resolve(t.text), t.expected) << t.text.left(40).toStdString();
        EXPECT_EQ(lookup::ClassCompletion::resolveOnce(*fixture().library, t.text), t.expected);  // the CLI's way
    }
}

TEST_F(ClassCompletionTest, CompletionRanksTiersThenClasses)
{
    // Within a tier: source order, then plain before deprecated.
    EXPECT_EQ(names(c().complete("ZqT", 0)), QStringList({"zq.b.ZqTwin", "zq.a.ZqTwin", "zq.c.ZqTwin"}));
    EXPECT_EQ(names(c().complete("zqs", 0)), QStringList({"zq.a.ZqSolo", "zq.c.ZqSolo"}));
    EXPECT_EQ(names(c().complete("ZqSolo.", 0)), QStringList({"zq.a.ZqSolo$Inner"}));
    EXPECT_EQ(names(c().complete("ZqH", 0)), QStringList());
    EXPECT_EQ(c().complete("Str", 5).size(), 5u);
    EXPECT_GT(c().complete("Str", 0).size(), 12u);

    const struct {
        QString text, first;
    } firsts[] = {
        {"HashMap", "java.util.HashMap"},                      // exact
        {"hashm", "java.util.HashMap"},                        // case-insensitive prefix
        {"CoHaMa", "java.util.concurrent.ConcurrentHashMap"},  // capitals
        {"Map.En", "java.util.Map$Entry"}, {"java.util.Map.En", "java.util.Map$Entry"},
        {"JAVA.UTIL.hashm", "java.util.HashMap"},
        {"StringBu", "java.lang.StringBuffer"},  // shorter qualified name first
    };
    for (const auto& t : firsts) {
        const auto got = c().complete(t.text, 3);
        ASSERT_FALSE(got.empty()) << t.text.toStdString();
        EXPECT_EQ(got.front().binaryName, t.first) << t.text.toStdString();
    }
    // A case-insensitive prefix ("HMAC...") before capitals; HashMap leads the capitals.
    const QStringList hm = names(c().complete("HM", 0));
    EXPECT_LT(hm.indexOf("javax.xml.crypto.dsig.spec.HMACParameterSpec"), hm.indexOf("java.util.HashMap"));
    EXPECT_EQ(c().complete("HashMap", 1).front().simpleName, "HashMap");
    EXPECT_EQ(c().complete("HashMap", 1).front().packageName, "java.util");
    EXPECT_EQ(c().complete("Map.En", 1).front().simpleName, "Map.Entry");
    for (const QString& bad : {QString(10000, 'S'), QString("...."), QString::fromUtf8("\xF0\x9F\x98\x80x")})
        EXPECT_TRUE(c().complete(bad, 12).empty());
    // The CLI's way, which reads only the classes of the first letter.
    for (const QString text : {"Str", "zqt", "CoHaMa", "HM", "Map.En", "zqsolo.", "x", "zq.a.Zq"})
        EXPECT_EQ(
            names(lookup::ClassCompletion::completeOnce(*fixture().library, text, 0)), names(c().complete(text, 0)))
            << text.toStdString();
}

TEST_F(ClassCompletionTest, SuggestionsAfterAFailedLookup)
{
    const struct {
        QString failed, first;
    } cases[] = {
        {"java.util.Stream", "java.util.stream.Stream"},  // same simple name, other package
        {"stringbuilder", "java.lang.StringBuilder"},     // other letter case
        {"Strng", "java.lang.String"},                    // one edit
        {"zq.x.ZqSollo", "zq.a.ZqSolo"},
    };
    for (const auto& t : cases) {
        const auto got = c().suggest(t.failed, 8);
        ASSERT_FALSE(got.empty()) << t.failed.toStdString();
        EXPECT_EQ(got.front().binaryName, t.first) << t.failed.toStdString();
        EXPECT_LE(got.size(), 8u);
    }
    EXPECT_TRUE(c().suggest("Qqqqqqqqqqqq", 8).empty());
    EXPECT_TRUE(c().suggest(QString(10000, 'a'), 8).empty());
}

// The catalogue's member-class pages (java.util.Map.Entry) are ClassIndexOracleTest's,
// the not-found message CliTest's; here CLASSPATH classes and names that fit nothing.
TEST_F(ClassCompletionTest, DottedMemberNamesAreLookedUpInTheirBinaryForm)
{
    ClassLibrary& lib = *fixture().library;
    const struct {
        QString typed, binary;
        lookup::LookupResult::Status status;
    } cases[] = {
        {" zq.a.ZqSolo.Inner ", "zq.a.ZqSolo$Inner", lookup::LookupResult::Status::Found},
        {"java.util.Map$Entry", "", lookup::LookupResult::Status::Found},  // found as written
        {"java.util.Map.Entry.", "", lookup::LookupResult::Status::NotFound},
        {"a.b.c.d.e.f.g.h.i.j.k", "", lookup::LookupResult::Status::NotFound},
        {QString(5000, '.'), "", lookup::LookupResult::Status::NotFound},
    };
    for (const auto& t : cases) {
        const lookup::LookupResult r = lookup::lookUpClass(lib, t.typed);
        EXPECT_EQ(r.status, t.status) << t.typed.left(40).toStdString();
        EXPECT_EQ(r.binaryName, t.binary) << t.typed.left(40).toStdString();
    }
}
