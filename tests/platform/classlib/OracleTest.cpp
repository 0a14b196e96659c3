// The JVM as oracle: a small Java program, compiled at test time with the
// javac of the very JDK our reader reads, prints getConstructors() and
// getMethods() for a list of classes; our reader must print the same
// multiset of members for every class.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/classlib/ClassLibrary.h"

namespace {

using platform::classlib::ClassLibrary;
using Members = std::vector<std::string>;  // sorted: a multiset

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"CLASSPATH", "JAVA_TOOL_OPTIONS", "_JAVA_OPTIONS", "JDK_JAVA_OPTIONS"}) env.remove(name);
    p.setProcessEnvironment(env);
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(300000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

struct Comparison {
    std::string skip;       // why there is no JVM to ask
    std::string jvmErrors;  // classes the JVM could not list
    std::string report;     // the classes that differ
    size_t compared = 0;
};

// Runs Oracle.java with the reader's JDK and compares every class it prints with ours.
Comparison compareWithTheJvm(const QStringList& args)
{
    Comparison result;
    const std::string home = ClassLibrary::system().jdkHome();
    const QString bin = QString::fromStdString(home + "/bin/");
    if (home.empty() || !QFileInfo(bin + "javac").isExecutable()) {
        result.skip = home.empty() ? "no JDK found (" + ClassLibrary::system().warning() + ")" : home + " has no javac";
        return result;
    }
    QTemporaryDir dir;
    run(bin + "javac", {"-d", dir.path(), QStringLiteral(JO_SOURCE_DIR "/tests/platform/classlib/Oracle.java")});
    const QByteArray out =
        run(bin + "java", QStringList {"-Djava.awt.headless=true", "-cp", dir.path(), "Oracle"} + args);
    std::deque<std::pair<std::string, Members>> classes;  // stable addresses
    Members* current = nullptr;
    for (const QByteArray& line : out.split('\n')) {
        if (line.startsWith("#CLASS "))
            current = &classes.emplace_back(line.mid(7).toStdString(), Members {}).second;
        else if (line.startsWith("#ERROR "))
            result.jvmErrors += line.toStdString() + "\n", current = nullptr;
        else if (!line.isEmpty() && current)
            current->push_back(line.toStdString());
    }
    int differing = 0;
    for (auto& [name, expected] : classes) {
        std::sort(expected.begin(), expected.end());
        Members actual, missing, extra;
        try {
            const auto cls = ClassLibrary::system().forName(QString::fromStdString(name));
            for (const auto& c : cls->getConstructors()) actual.push_back(c.toString().toStdString());
            for (const auto& m : cls->getMethods()) actual.push_back(m.toString().toStdString());
        } catch (const std::exception& e) {
            extra.push_back(std::string("error: ") + e.what());
        }
        std::sort(actual.begin(), actual.end());
        std::set_difference(
            expected.begin(), expected.end(), actual.begin(), actual.end(), std::back_inserter(missing));
        std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(), std::back_inserter(extra));
        if ((missing.empty() && extra.empty()) || ++differing > 12)
            continue;
        result.report += "\n== " + name + "\n";
        for (size_t i = 0; i < missing.size() + extra.size() && i < 12; ++i)
            result.report +=
                i < missing.size() ? "  missing: " + missing[i] + "\n" : "  extra: " + extra[i - missing.size()] + "\n";
    }
    if (differing)
        result.report = std::to_string(differing) + " classes differ" + result.report;
    result.compared = classes.size();
    return result;
}

TEST(Oracle, ChosenClassesOfJavaBaseAndJavaDesktopMatchTheJvm)
{
    const Comparison c =
        compareWithTheJvm({QStringLiteral("@" JO_SOURCE_DIR "/tests/platform/classlib/oracle_classes.txt")});
    if (!c.skip.empty())
        GTEST_SKIP() << "JVM oracle skipped: " << c.skip;
    EXPECT_EQ(c.jvmErrors, "");
    EXPECT_GE(c.compared, 300u);
    EXPECT_EQ(c.report, "");
}

// Every class of the two modules, non-public ones included (about 12,000).
// JO_ORACLE_MODULES may name other modules ("a,b") for a wider check by hand.
TEST(Oracle, EveryClassOfJavaBaseAndJavaDesktopMatchesTheJvm)
{
    const QString modules = qEnvironmentVariable("JO_ORACLE_MODULES", QStringLiteral("java.base,java.desktop"));
    const Comparison c = compareWithTheJvm({"--all", modules});
    if (!c.skip.empty())
        GTEST_SKIP() << "JVM oracle skipped: " << c.skip;
    EXPECT_GE(c.compared, 5000u);
    EXPECT_EQ(c.report, "");
}

}  // namespace
