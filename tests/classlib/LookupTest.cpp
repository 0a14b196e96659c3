// lookup::lookUpClass (what search() does before reDisplay) and the
// `javaorvel-cli members` subcommand, against the installed JDK, with a
// CLASSPATH of broken classes, and with no JDK at all.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "ClassFileBuilder.h"
#include "lookup/ClassLookup.h"
#include "platform/classlib/ClassLibrary.h"

using lookup::LookupResult;
using lookup::lookUpClass;
using Status = LookupResult::Status;

namespace {

bool haveJdk() { return !platform::classlib::ClassLibrary::system().jdkHome().empty(); }

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

TEST(LookUpClass, BlankNamesDoNothing)
{
    for (const QString& blank : QStringList{"", " ", "  \t\n ", QString(QChar(0x01)) + " "}) {
        const LookupResult r = lookUpClass(blank);
        EXPECT_EQ(r.status, Status::Blank);
        EXPECT_TRUE(r.n.isEmpty());
        EXPECT_FALSE(r.cl);
        EXPECT_TRUE(r.message.isEmpty());
    }
}

TEST(LookUpClass, NotFoundMessageHasTheTrimmedName)
{
    const LookupResult r = lookUpClass(QStringLiteral("  java.lang.Strng \t"));
    EXPECT_EQ(r.status, Status::NotFound);
    EXPECT_EQ(r.message, QStringLiteral("Class not found : java.lang.Strng"));
    EXPECT_TRUE(r.n.isEmpty());
    EXPECT_EQ(lookUpClass(QStringLiteral("String")).message, QStringLiteral("Class not found : String"));
    EXPECT_EQ(lookUpClass(QStringLiteral("java.util.Map.Entry")).status, Status::NotFound);
}

TEST(LookUpClass, ConstructorsFirstThenMethods)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    const LookupResult r = lookUpClass(QStringLiteral(" java.lang.String "));
    ASSERT_EQ(r.status, Status::Found);
    EXPECT_EQ(r.cl->getName(), QStringLiteral("java.lang.String"));
    ASSERT_EQ(size_t(r.n.size()), r.ctor.size() + r.m.size());
    for (size_t i = 0; i < r.ctor.size(); ++i)
        EXPECT_EQ(r.n[qsizetype(i)], r.ctor[i].toString());
    for (size_t i = 0; i < r.m.size(); ++i)
        EXPECT_EQ(r.n[qsizetype(r.ctor.size() + i)], r.m[i].toString());
    EXPECT_EQ(r.n.first(), QStringLiteral("public java.lang.String()"));
    EXPECT_TRUE(r.n.contains(QStringLiteral("public boolean java.lang.String.equals(java.lang.Object)")));
    EXPECT_TRUE(r.n.contains(QStringLiteral("public static java.lang.String java.lang.String.valueOf(char[],int,int)")));
    EXPECT_TRUE(r.n.contains(QStringLiteral("public java.lang.String(byte[],int)")));
    EXPECT_TRUE(
        r.n.contains(QStringLiteral("public final void java.lang.Object.wait(long) throws java.lang.InterruptedException")) ||
        r.n.contains(QStringLiteral(
            "public final native void java.lang.Object.wait(long) throws java.lang.InterruptedException")));
    for (const QString& s : r.n) {
        EXPECT_TRUE(s.startsWith(QStringLiteral("public "))) << s.toStdString();
        EXPECT_EQ(s.count(QLatin1Char('(')), 1) << s.toStdString();
    }

    const LookupResult serializable = lookUpClass(QStringLiteral("java.io.Serializable"));
    EXPECT_EQ(serializable.status, Status::Found);
    EXPECT_TRUE(serializable.n.isEmpty());
    const LookupResult math = lookUpClass(QStringLiteral("java.lang.Math"));
    EXPECT_TRUE(math.ctor.empty());
    EXPECT_EQ(size_t(math.n.size()), math.m.size());
}

TEST(MembersCommand, UsageAndNotFound)
{
    CliRun r = cli({"members"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, QStringLiteral("usage: javaorvel-cli members NAME\n"));
    r = cli({"members", "a", "b"});
    EXPECT_EQ(r.status, 2);
    r = cli({"members", " java.lang.Strng "});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringLiteral("Class not found : java.lang.Strng\n"));
    r = cli({"members", "   "});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QString());
}

TEST(MembersCommand, PrintsEverySignatureAndTheOldSwingNaming)
{
    if (!haveJdk())
        GTEST_SKIP() << "no JDK installed";
    CliRun r = cli({"members", "java.lang.Object"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, QString());
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 10);
    EXPECT_EQ(lines.first(), QStringLiteral("public java.lang.Object()"));
    EXPECT_TRUE(r.out.endsWith(QLatin1Char('\n')));

    r = cli({"members", "com.sun.java.swing.JTree"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("public com.sun.java.swing.JTree()\n")));
    EXPECT_FALSE(r.out.contains(QStringLiteral("javax.")));
    EXPECT_TRUE(r.out.contains(QStringLiteral(" com.sun.java.swing.JTree.getUI()")));
    EXPECT_EQ(cli({"members", "javax.swing.JTree"}).out,
              QString(r.out).replace(QStringLiteral("com.sun.java."), QStringLiteral("javax.")));
}

TEST(MembersCommand, UnreadableClassIsOneLineOnStandardError)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    ASSERT_TRUE(testing_classlib::writeBytes(root + "/bad/Garbage.class", {0xCA, 0xFE, 0xBA, 0xBE, 0, 0}));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CLASSPATH", root);
    const CliRun r = cli({"members", "bad.Garbage"}, env);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QString());
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Cannot read class bad.Garbage: truncated class file"))) << r.err.toStdString();
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(r.err.endsWith(QLatin1Char('\n')));
}

TEST(MembersCommand, NoJdkWarnsOnceAndFindsNothing)
{
    if (QFileInfo::exists(QStringLiteral("/usr/lib/jvm/default-java/lib/modules")))
        GTEST_SKIP() << "/usr/lib/jvm/default-java holds a JDK, so there is always one";
    QTemporaryDir dir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("JAVA_HOME", dir.path() + "/none");
    env.insert("PATH", dir.path());
    env.remove("CLASSPATH");
    const CliRun r = cli({"members", "java.lang.String"}, env);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, QStringLiteral("Class not found : java.lang.String\n"));
    EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("no Java class library found"))) << r.err.toStdString();
}
