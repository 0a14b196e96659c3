// The `javaorvel-cli members` subcommand, which prints what lookup::lookUpClass
// collects for SEARCH, against the installed JDK, with a CLASSPATH of broken
// classes, and with no JDK at all.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"

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

TEST(MembersCommand, UsageNotFoundAndBlankNames)
{
    const struct {
        QStringList args;
        int status;
        QString out, err;
    } cases[] = {
        {{"members"}, 2, "", "usage: javaorvel-cli members NAME\n"},
        {{"members", "a", "b"}, 2, "", "usage: javaorvel-cli members NAME\n"},
        {{"members", " java.lang.Strng \t"}, 1, "Class not found : java.lang.Strng\n", ""},
        {{"members", "String"}, 1, "Class not found : String\n", ""},
        {{"members", "java.util.Map.Entryy"}, 1, "Class not found : java.util.Map.Entryy\n", ""},
        {{"members", "  \t\n "}, 0, "", ""},
        {{"members", ""}, 0, "", ""},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(c.status == 2 || haveJdk() ? r.err : c.err, c.err);  // without a JDK, a warning there
    }
}

TEST(CompleteAndResolveCommands, FollowTheCatalogueThenTheIndex)
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
        {{"complete", "CoHaMa"}, 0, "java.util.concurrent.ConcurrentHashMap\n"},
        {{"complete", "--limit", "2", "Str"}, 0, "java.lang.String\njava.io.StringReader\n"},
        {{"complete", "Qqqqqqqq"}, 0, ""},
        {{"complete", "...."}, 0, ""},
        {{"resolve", "Vector"}, 0, "java.util.Vector\n"},  // the catalogue
        {{"resolve", "Optional"}, 0, "java.util.Optional\n"},
        {{"resolve", "Map$Entry"}, 0, "java.util.Map$Entry\n"},
        {{"resolve", "java.util.Optional"}, 1, ""},
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

TEST(MembersCommand, PrintsEverySignatureAndTheOldSwingNaming)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    CliRun r = cli({"members", "java.lang.Object"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(r.out.count(QLatin1Char('\n')), 10);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("public java.lang.Object()\n")) && r.out.endsWith(QLatin1Char('\n')));
    r = cli({"members", "com.sun.java.swing.JTree"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("public com.sun.java.swing.JTree()\n")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("javax.")));
    EXPECT_TRUE(r.out.contains(QStringLiteral(" com.sun.java.swing.JTree.getUI()")));
    EXPECT_EQ(cli({"members", "javax.swing.JTree"}).out,
        QString(r.out).replace(QStringLiteral("com.sun.java."), QStringLiteral("javax.")));
}

TEST(MembersCommand, UnreadableClassAndNoJdkAreOneLineOnStandardError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(testing_classlib::writeBytes(dir.path() + "/bad/Garbage.class", {0xCA, 0xFE, 0xBA, 0xBE, 0, 0}));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CLASSPATH", dir.path());
    CliRun r = cli({"members", "bad.Garbage"}, env);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QString());
    EXPECT_TRUE(r.err.startsWith("Cannot read class bad.Garbage: truncated class file")) << r.err.toStdString();
    EXPECT_TRUE(r.err.count(QLatin1Char('\n')) == 1 && r.err.endsWith(QLatin1Char('\n')));

    if (QFileInfo::exists(QStringLiteral("/usr/lib/jvm/default-java/lib/modules")))
        GTEST_SKIP() << "/usr/lib/jvm/default-java holds a JDK, so there is always one";
    env.insert("JAVA_HOME", dir.path() + "/none");
    env.insert("PATH", dir.path());
    env.remove("CLASSPATH");
    r = cli({"members", "java.lang.String"}, env);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringLiteral("Class not found : java.lang.String\n"));
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no Java class library found"))) << r.err.toStdString();
}
