// The built javaorvel-cli run as a user runs it: exit status, standard output
// and standard error. What `members` collects is the rules and oracle tests',
// the no-JDK warning the sources test's; here is what the CLI makes of them.

#include <gtest/gtest.h>

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
