// The built javaorvel-cli run as a user runs it: exit status, standard output
// and standard error. What `members` collects is the rules and oracle tests',
// the no-JDK warning the sources test's; here is what the CLI makes of them.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/Version.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/QtPrinters.h"

namespace {

bool haveJdk()
{
    return !platform::classlib::ClassLibrary::system().jdkHome().empty();
}

struct CliRun {
    int status = -1;
    QString out, err;
};

CliRun cli(const QStringList& args, const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(JO_CLI), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(Cli, UsageVersionNotFoundAndBlankNames)
{
    const QString usage = "usage: javaorvel-cli members [--since | --new-since N] NAME\n";
    const struct {
        QStringList args;
        int status;
        QString out, err;
    } cases[] = {{{"--version"}, 0, "javaorvel-cli " JO_VERSION "\n", ""}, {{"members"}, 2, "", usage},
        {{"members", "a", "b"}, 2, "", usage}, {{"members", "--new-since", "x", "a"}, 2, "", usage},
        {{"members", "--since"}, 2, "", usage}, {{"members", "--until", "a"}, 2, "", usage},
        {{"members", " java.lang.Strng \t"}, 1, "Class not found : java.lang.Strng\n", ""},
        {{"members", "java.util.Map.Entryy"}, 1, "Class not found : java.util.Map.Entryy\n", ""},
        {{"members", "  \t\n "}, 0, "", ""}, {{"members", ""}, 0, "", ""}};
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(c.status == 2 || haveJdk() ? r.err : c.err, c.err);  // without a JDK, a warning there
    }
}

TEST(Cli, AnUnreadableClassIsOneLineOnStandardError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(testing_classlib::writeBytes(dir.path() + "/bad/Garbage.class", {0xCA, 0xFE, 0xBA, 0xBE, 0, 0}));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CLASSPATH", dir.path());
    const CliRun r = cli({"members", "bad.Garbage"}, env);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.startsWith("Cannot read class bad.Garbage: truncated class file")) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
}

// Names from class files reach a terminal or a script: a line feed in one
// must not forge another line, nor an ESC or CSI start a control sequence.
TEST(CliWithJdk, ControlCharactersInNamesAreNeverPrintedRaw)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    using namespace testing_classlib;
    QTemporaryDir dir;
    const auto write = [&](const QString& file, const std::string& name, const std::string& method) {
        ASSERT_TRUE(writeBytes(dir.path() + "/" + file, buildClass(classDef(name).method(kPublic, method, "()V"))));
    };
    write("p/Zorm\njava/lang/Zorx.class", "p/Zorm\njava/lang/Zorx", "m");
    write("p/Zor\u009bq.class", "p/Zor\xc2\x9bq", "m");
    write("p/Zorok.class", "p/Zorok", "m\x1b[2J\x7f");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CLASSPATH", dir.path());
    EXPECT_EQ(cli({"complete", "Zor"}, env).out, "p.Zorok\n");
    EXPECT_TRUE(cli({"members", "p.Zorok"}, env).out.startsWith("public void p.Zorok.m\\u001b[2J\\u007f()\n"));
}

TEST(CliWithJdk, MembersPrintsOneSignatureALine)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    const CliRun r = cli({"members", "java.lang.Object"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.count('\n'), 10);
    EXPECT_TRUE(r.out.startsWith("public java.lang.Object()\n") && r.out.endsWith('\n'));
}

// What the index completes and resolves is ClassCompletionTest's (the same
// completeOnce and resolveOnce); here the arguments, the catalogue and the output.
TEST(CliWithJdk, CompleteAndResolveFollowTheCatalogueThenTheIndex)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    const struct {
        QStringList args;
        int status;
        QString out;
    } cases[] = {
        {{"complete"}, 2, ""},
        {{"complete", "--limit", "-1", "Str"}, 2, ""},
        {{"complete", "a", "b"}, 2, ""},
        {{"complete", "--limit", "2", "Str"}, 0, "java.lang.String\njava.io.StringReader\n"},
        {{"complete", "Qqqqqqqq"}, 0, ""},
        {{"resolve", "Vector"}, 0, "java.util.Vector\n"},  // the catalogue
        {{"resolve", "Map$Entry"}, 0, "java.util.Map$Entry\n"},
        {{"resolve", "Qqqqqqqq"}, 1, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(cli({"complete", "--limit", "0", "Str"}).out.count('\n'),
        cli({"complete", "--limit", "999", "Str"}).out.count('\n'));
    EXPECT_TRUE(
        cli({"tree", "java.util.Map.Entry"}).out.startsWith("\"Methods\"\n  \"java.util.Map$Entry         \"\n"));
}

// What the member index finds is MemberIndexTest's and the oracle's; here the
// arguments, the line form, the exit status and the cache folder.
TEST(CliWithJdk, FindListsMethodsByNameAndKeepsItsIndexInTheCacheFolder)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    QTemporaryDir cache;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CACHE_HOME", cache.path());
    env.remove("CLASSPATH");
    const struct {
        QStringList args;
        int status;
        QString out;
    } cases[] = {
        {{"find"}, 2, ""},
        {{"find", "--limit", "x", "get"}, 2, ""},
        {{"find", "toUnmodifiableList"}, 0, "java.util.stream.Collectors.toUnmodifiableList()\n"},
        {{"find", "--limit", "1", "java.util.Map.Entry#comparingByValue"}, 0,
            "java.util.Map.Entry.comparingByValue()\n"},
        {{"find", "--limit", "1", "Arrays#asList"}, 0, "java.util.Arrays.asList(Object[])\n"},
        {{"find", "#"}, 0, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args, env);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, c.out) << c.args.join(' ').toStdString();
    }
    EXPECT_EQ(QDir(cache.path() + "/javaorvel").entryList({"members-*.bin"}).size(), 1);
    EXPECT_EQ(cli({"find", "get"}, env).out.count('\n'), 20);
    EXPECT_GT(cli({"find", "--limit", "0", "get"}, env).out.count('\n'), 1000);
}

// --project: the project's own class folder joins the library; the second run
// reads the cache (its mvn would fail); a folder that is no project is one
// line on standard error and the command goes on.
TEST(CliWithJdk, ProjectClassesAfterClasspathThenFromTheCache)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    QTemporaryDir dir;
    const QString proj = dir.path() + "/proj";
    ASSERT_TRUE(testing_classlib::writeBytes(proj + "/pom.xml", {'<', '/', '>'}));
    ASSERT_TRUE(testing_classlib::writeBytes(proj + "/target/classes/p/Q.class",
        testing_classlib::buildClass(testing_classlib::classDef("p/Q").method(0x0001, "<init>", "()V"))));
    const QString mvn = dir.path() + "/bin/mvn";
    const auto fakeMaven = [&](const char* body) {
        QFile f(mvn);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray("#!/bin/sh\n") + body + "\n");
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    QDir().mkpath(dir.path() + "/bin");
    fakeMaven("for a; do case \"$a\" in -Dmdep.outputFile=*) : > \"${a#-Dmdep.outputFile=}\";; esac; done");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", dir.path() + "/bin:" + env.value("PATH"));
    env.insert("XDG_CACHE_HOME", dir.path() + "/cache");
    env.remove("CLASSPATH");

    const CliRun first = cli({"--project", proj, "members", "p.Q"}, env);
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(first.out, "public p.Q()\n" + cli({"members", "java.lang.Object"}).out.section('\n', 1));
    fakeMaven("exit 1");
    EXPECT_EQ(cli({"--project", proj, "members", "p.Q"}, env).out, first.out);

    const CliRun none = cli({"--project", dir.path(), "members", "p.Q"}, env);
    EXPECT_EQ(none.out, "Class not found : p.Q\n");
    EXPECT_EQ(none.err,
        "javaorvel: project " + dir.path() +
            ": no pom.xml, build.gradle or build.gradle.kts there; going on with CLASSPATH only\n");
}

// roots: the configured root first, marked when its package list names the
// class's package; a library's root never answers for java.util.
TEST(CliWithJdk, RootsListsConfiguredThenFoundRoots)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    QTemporaryDir dir;
    ASSERT_TRUE(testing_classlib::writeBytes(
        dir.path() + "/main/package-list", {'j', 'a', 'v', 'a', '.', 'u', 't', 'i', 'l', '\n'}));
    ASSERT_TRUE(testing_classlib::writeBytes(dir.path() + "/lib/element-list", {'o', 'r', 'g', '\n'}));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("JAVAORVEL_DOC_PATH", dir.path() + "/lib");
    const CliRun r = cli({"roots", "--main", dir.path() + "/main", "--swing", dir.path() + "/swing", "Vector"}, env);
    EXPECT_EQ(r.status, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "doc + configured-main " + dir.path() + "/main");
    EXPECT_EQ(lines[1], "doc - configured-swing " + dir.path() + "/swing");
    EXPECT_TRUE(lines.contains("doc - doc-path " + dir.path() + "/lib")) << r.out.toStdString();
    // With the class's page there, that root is the one that answers.
    ASSERT_TRUE(testing_classlib::writeBytes(dir.path() + "/main/java/util/Vector.html", {'\n'}));
    EXPECT_TRUE(cli({"roots", "--main", dir.path() + "/main", "Vector"}, env).out.startsWith("doc = configured-main "));
    EXPECT_EQ(cli({"roots"}).status, 2);
}

namespace {

// The releases this JDK holds, oldest first; empty without a ct.sym.
std::vector<int> heldReleases()
{
    return haveJdk() ? platform::classlib::ClassLibrary::system().releasesUpToThis() : std::vector<int>();
}

}  // namespace

TEST(CliWithJdk, ReleaseReadsThatReleasesClassesAndAnUnservableOneIsOneLine)
{
    const std::vector<int> held = heldReleases();
    if (held.size() < 2 || held.front() > 8)
        GTEST_SKIP() << "no JDK holding release 8";
    const QString own = QString::number(held.back());
    const QString without = cli({"members", "java.util.Optional"}).out;
    const QString holds = QString("this JDK holds releases %1 to %2; reading release %2\n").arg(held.front()).arg(own);
    const struct {
        QStringList args;
        QStringList present, absent;
        QString err;
    } cases[] = {
        {{"--release", "8", "members", "java.util.Optional"}, {"orElseThrow(java.util.function.Supplier)"},
            {"isEmpty()", "orElseThrow()", "stream()"}, ""},
        {{"--release", "10", "members", "java.util.Optional"}, {"orElseThrow()", "stream()"}, {"isEmpty()"}, ""},
        {{"--release", "11", "members", "java.util.Optional"}, {"isEmpty()"}, {}, ""},
        {{"--release", "8", "members", "java.lang.Module"}, {"Class not found : java.lang.Module"}, {}, ""},
        {{"--release", "8", "resolve", "Module"}, {}, {"java.lang.Module"}, ""},
        {{"--release", "99", "members", "java.util.Optional"}, {"isEmpty()"}, {}, "javaorvel: --release 99: " + holds},
        {{"--release", "abc", "complete", "Optio"}, {"java.util.Optional\n"}, {}, "javaorvel: --release abc: " + holds},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        const std::string label = c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.err) << label;
        for (const QString& text : c.present)
            EXPECT_TRUE(r.out.contains(text)) << label << " lacks " << text.toStdString();
        for (const QString& text : c.absent)
            EXPECT_FALSE(r.out.contains(text)) << label << " has " << text.toStdString();
    }
    EXPECT_EQ(cli({"--release", own, "members", "java.util.Optional"}).out, without);
}

TEST(CliWithJdk, SinceColumnsAndNewSince)
{
    const std::vector<int> held = heldReleases();
    if (held.size() < 2 || held.front() > 9 || held.back() < 11)
        GTEST_SKIP() << "no JDK holding releases 9 to 11";
    const QString oldest = QString::fromUtf8("\u2264") + QString::number(held.front());
    const CliRun since = cli({"members", "--since", "java.util.List"});
    EXPECT_EQ(since.status, 0);
    EXPECT_TRUE(since.out.contains("9\tpublic static java.util.List java.util.List.of()\n")) << since.out.toStdString();
    EXPECT_TRUE(since.out.contains("10\tpublic static java.util.List java.util.List.copyOf(java.util.Collection)\n"));
    EXPECT_TRUE(since.out.contains(oldest + "\tpublic abstract int java.util.List.size()\n"));
    EXPECT_EQ(since.out.count('\n'), cli({"members", "java.util.List"}).out.count('\n'));

    const CliRun added = cli({"members", "--new-since", "9", "java.util.List"});
    EXPECT_TRUE(added.out.contains("copyOf(java.util.Collection)")) << added.out.toStdString();
    EXPECT_FALSE(added.out.contains("List.of(")) << added.out.toStdString();
    for (const QString& line : added.out.split('\n', Qt::SkipEmptyParts))
        EXPECT_GT(line.section('\t', 0, 0).toInt(), 9) << line.toStdString();
}
