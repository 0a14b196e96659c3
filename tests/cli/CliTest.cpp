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
#include "tests/support/Files.h"
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

// The tests that read the installed JDK's classes.
class CliWithJdk : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!haveJdk())
            GTEST_SKIP() << "no JDK installed";
    }
};

}  // namespace

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
TEST_F(CliWithJdk, ControlCharactersInNamesAreNeverPrintedRaw)
{
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

// What the index completes and resolves is ClassCompletionTest's, what the
// member index finds MemberIndexTest's and the oracle's, what a release holds
// and since when the release tests'; here the arguments, the catalogue, the
// line forms, the exit status and the cache folder.
TEST_F(CliWithJdk, ArgumentsLineFormsAndExitStatus)
{
    QTemporaryDir cache;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CACHE_HOME", cache.path());
    env.remove("CLASSPATH");
    enum class Out { Exactly, Contains, Lacks };
    const QString usage = "usage: javaorvel-cli members [--since | --new-since N] NAME\n";
    const struct {
        QStringList args;
        int status;
        QString out;
        Out how = Out::Exactly;
        QString err = {};  // a usage error's message; any other run says nothing there
    } cases[] = {
        {{"--version"}, 0, "javaorvel-cli " JO_VERSION "\n"},
        {{"members"}, 2, "", Out::Exactly, usage},
        {{"members", "a", "b"}, 2, "", Out::Exactly, usage},
        {{"members", "--new-since", "x", "a"}, 2, "", Out::Exactly, usage},
        {{"members", "--since"}, 2, "", Out::Exactly, usage},
        {{"members", "--until", "a"}, 2, "", Out::Exactly, usage},
        {{"members", " java.lang.Strng \t"}, 1, "Class not found : java.lang.Strng\n"},
        {{"members", "java.util.Map.Entryy"}, 1, "Class not found : java.util.Map.Entryy\n"},
        {{"members", "  \t\n "}, 0, ""},
        {{"members", ""}, 0, ""},
        {{"members", "java.lang.Object"}, 0, "public java.lang.Object()\n", Out::Contains},
        {{"complete"}, 2, ""},
        {{"complete", "--limit", "-1", "Str"}, 2, ""},
        {{"complete", "a", "b"}, 2, ""},
        {{"complete", "--limit", "2", "Str"}, 0, "java.lang.String\njava.io.StringReader\n"},
        {{"complete", "Qqqqqqqq"}, 0, ""},
        {{"resolve", "Vector"}, 0, "java.util.Vector\n"},  // the catalogue
        {{"resolve", "Map$Entry"}, 0, "java.util.Map$Entry\n"},
        {{"resolve", "Qqqqqqqq"}, 1, ""},
        {{"tree", "java.util.Map.Entry"}, 0, "\"Methods\"\n  \"java.util.Map$Entry         \"\n", Out::Contains},
        {{"find"}, 2, ""},
        {{"find", "--limit", "x", "get"}, 2, ""},
        {{"find", "toUnmodifiableList"}, 0, "java.util.stream.Collectors.toUnmodifiableList()\n"},
        {{"find", "--limit", "1", "java.util.Map.Entry#comparingByValue"}, 0,
            "java.util.Map.Entry.comparingByValue()\n"},
        {{"find", "--limit", "1", "Arrays#asList"}, 0, "java.util.Arrays.asList(Object[])\n"},
        {{"find", "#"}, 0, ""},
        {{"roots"}, 2, ""},
        {{"members", "--since", "java.util.List"}, 0, "\n9\tpublic static java.util.List java.util.List.of()\n",
            Out::Contains},
        {{"members", "--new-since", "9", "java.util.List"}, 0, "copyOf(java.util.Collection)", Out::Contains},
        {{"members", "--new-since", "9", "java.util.List"}, 0, "List.of(", Out::Lacks},
        {{"--release", "8", "members", "java.util.Optional"}, 0, "isEmpty()", Out::Lacks},
        {{"--release", "8", "members", "java.lang.Module"}, 1, "Class not found : java.lang.Module\n"},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args, env);
        const std::string label = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, c.status) << label;
        EXPECT_EQ(r.err, c.status != 2 ? "" : c.err.isNull() ? r.err : c.err) << label;
        EXPECT_EQ(c.how == Out::Exactly ? r.out == c.out : r.out.contains(c.out) == (c.how == Out::Contains), true)
            << label << "\n"
            << r.out.left(400).toStdString();
    }
    EXPECT_EQ(QDir(cache.path() + "/javaorvel").entryList({"members-*.bin"}).size(), 1);
    EXPECT_EQ(cli({"find", "get"}, env).out.count('\n'), 20);
    EXPECT_GT(cli({"find", "--limit", "0", "get"}, env).out.count('\n'), 1000);
    EXPECT_EQ(cli({"complete", "--limit", "0", "Str"}).out.count('\n'),
        cli({"complete", "--limit", "999", "Str"}).out.count('\n'));
    // The warning of an unservable release (its wording is the release tests') goes to standard error alone.
    const CliRun unservable = cli({"--release", "99", "members", "java.util.Optional"});
    EXPECT_TRUE(unservable.err.startsWith("javaorvel: --release 99: this JDK holds releases "))
        << unservable.err.toStdString();
    EXPECT_EQ(unservable.out, cli({"members", "java.util.Optional"}).out);
}

// --project: the project's own class folder joins the library; the second run
// reads the cache (its mvn would fail); a folder that is no project is one
// line on standard error and the command goes on.
TEST_F(CliWithJdk, ProjectClassesAfterClasspathThenFromTheCache)
{
    QTemporaryDir dir;
    const QString proj = dir.path() + "/proj";
    ASSERT_TRUE(testing_classlib::writeBytes(proj + "/pom.xml", {'<', '/', '>'}));
    ASSERT_TRUE(testing_classlib::writeBytes(proj + "/target/classes/p/Q.class",
        testing_classlib::buildClass(testing_classlib::classDef("p/Q").method(0x0001, "<init>", "()V"))));
    const QString mvn = dir.path() + "/bin/mvn";
    const auto fakeMaven = [&](const char* body) {
        ASSERT_TRUE(test_support::writeFile(mvn, QByteArray("#!/bin/sh\n") + body + "\n"));
        QFile::setPermissions(mvn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
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
TEST_F(CliWithJdk, RootsListsConfiguredThenFoundRoots)
{
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
}
