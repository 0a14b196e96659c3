// The JVM as oracle: a small Java program, compiled at test time with the
// javac of the very JDK our reader reads, prints getConstructors() and
// getMethods() for a list of classes; our reader must print the same
// multiset of members for every class.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/classlib/ClassLibrary.h"

namespace {

using platform::classlib::ClassLibrary;

struct Jdk {
    QString home, javac, java;
};

// The JDK of the reader; the test is skipped only where there is none.
bool findJdk(Jdk& jdk, std::string& why)
{
    ClassLibrary& lib = ClassLibrary::system();
    if (lib.jdkHome().empty()) {
        why = "no JDK found (" + lib.warning() + ")";
        return false;
    }
    jdk.home = QString::fromStdString(lib.jdkHome());
    jdk.javac = jdk.home + "/bin/javac";
    jdk.java = jdk.home + "/bin/java";
    if (!QFileInfo(jdk.javac).isExecutable()) {
        why = "the Java runtime at " + lib.jdkHome() + " has no javac (not a JDK)";
        return false;
    }
    return true;
}

QByteArray run(const QString& program, const QStringList& args, int timeoutMs = 300000)
{
    QProcess p;
    p.setProgram(program);
    p.setArguments(args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("CLASSPATH");
    env.remove("JAVA_TOOL_OPTIONS");
    env.remove("_JAVA_OPTIONS");
    env.remove("JDK_JAVA_OPTIONS");
    p.setProcessEnvironment(env);
    p.start();
    EXPECT_TRUE(p.waitForStarted()) << program.toStdString();
    EXPECT_TRUE(p.waitForFinished(timeoutMs)) << program.toStdString();
    const QByteArray err = p.readAllStandardError();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << err.toStdString();
    return p.readAllStandardOutput();
}

using Members = std::vector<std::string>;  // sorted: a multiset

struct OracleOutput {
    std::map<std::string, Members> classes;
    std::vector<std::string> errors;
    std::vector<std::string> order;
};

OracleOutput runOracle(const Jdk& jdk, const QStringList& args)
{
    OracleOutput result;
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    run(jdk.javac, {"-d", dir.path(), QStringLiteral(JO_SOURCE_DIR "/tests/classlib/Oracle.java")});
    const QByteArray out = run(jdk.java, QStringList{"-Djava.awt.headless=true", "-cp", dir.path(), "Oracle"} + args);
    Members* current = nullptr;
    for (const QByteArray& line : out.split('\n')) {
        if (line.startsWith("#CLASS ")) {
            const std::string name = line.mid(7).toStdString();
            result.order.push_back(name);
            current = &result.classes[name];
        } else if (line.startsWith("#ERROR ")) {
            result.errors.push_back(line.toStdString());
            current = nullptr;
        } else if (!line.isEmpty() && current) {
            current->push_back(line.toStdString());
        }
    }
    for (auto& [name, members] : result.classes)
        std::sort(members.begin(), members.end());
    return result;
}

Members ours(const std::string& name, std::string& error)
{
    Members members;
    try {
        const auto cls = ClassLibrary::system().forName(QString::fromStdString(name));
        for (const auto& c : cls->getConstructors())
            members.push_back(c.toString().toStdString());
        for (const auto& m : cls->getMethods())
            members.push_back(m.toString().toStdString());
    } catch (const std::exception& e) {
        error = e.what();
    }
    std::sort(members.begin(), members.end());
    return members;
}

// Compares every class; returns the number that differ and describes the first few.
int compare(const OracleOutput& oracle, std::string& report)
{
    int differing = 0;
    for (const std::string& name : oracle.order) {
        const Members& expected = oracle.classes.at(name);
        std::string error;
        const Members actual = ours(name, error);
        if (actual == expected && error.empty())
            continue;
        if (++differing > 12)
            continue;
        report += "\n== " + name + (error.empty() ? "" : " (error: " + error + ")") + "\n";
        Members missing, extra;
        std::set_difference(expected.begin(), expected.end(), actual.begin(), actual.end(),
                            std::back_inserter(missing));
        std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(),
                            std::back_inserter(extra));
        int shown = 0;
        for (const auto& m : missing)
            if (shown++ < 8)
                report += "  missing: " + m + "\n";
        for (const auto& m : extra)
            if (shown++ < 16)
                report += "  extra:   " + m + "\n";
    }
    return differing;
}

TEST(Oracle, ChosenClassesOfJavaBaseAndJavaDesktopMatchTheJvm)
{
    Jdk jdk;
    std::string why;
    if (!findJdk(jdk, why))
        GTEST_SKIP() << "JVM oracle skipped: " << why;
    const OracleOutput oracle =
        runOracle(jdk, {QStringLiteral("@" JO_SOURCE_DIR "/tests/classlib/oracle_classes.txt")});
    EXPECT_TRUE(oracle.errors.empty()) << oracle.errors.front();
    ASSERT_GE(oracle.order.size(), 300u);
    std::string report;
    const int differing = compare(oracle, report);
    EXPECT_EQ(differing, 0) << report;
}

// Every class of the two modules, non-public ones included (about 12,000).
TEST(Oracle, EveryClassOfJavaBaseAndJavaDesktopMatchesTheJvm)
{
    Jdk jdk;
    std::string why;
    if (!findJdk(jdk, why))
        GTEST_SKIP() << "JVM oracle skipped: " << why;
    // JO_ORACLE_MODULES may name other modules ("a,b") for a wider check by hand.
    const QString modules = qEnvironmentVariable("JO_ORACLE_MODULES", QStringLiteral("java.base,java.desktop"));
    const OracleOutput oracle = runOracle(jdk, {"--all", modules});
    ASSERT_GE(oracle.order.size(), 5000u);
    std::string report;
    const int differing = compare(oracle, report);
    EXPECT_EQ(differing, 0) << differing << " classes differ" << report;
}

}  // namespace
