// javac as oracle for --release: a helper compiled at test time asks javac's
// model of each release (JavacTask with --release N) which public
// constructors and methods a class declares, and which public members it has
// with their removal marks; our reading of the JDK's lib/ct.sym must agree.
// javac shows no bridge methods (ct.sym's stubs keep theirs, so ours are
// left out), and the helper gives an inner class's constructor its outer
// instance back, as class files have it.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <set>

#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/LoadedClass.h"
#include "platform/classlib/MemberSince.h"
#include "tests/support/JdkTools.h"

using namespace platform::classlib;
using test_support::jdkBinWith;

namespace {

// release -> class -> {"D" or "A"} -> keys ("A" keys may end in "!")
using Answers = std::map<int, std::map<std::string, std::map<char, std::set<std::string>>>>;

std::optional<Answers> askJavac(const QString& releases, const QStringList& classes)
{
    const QString bin = jdkBinWith("javac");
    QTemporaryDir dir;
    const auto out = test_support::runJavaHelper(bin, dir.path(), {"tests/platform/classlib/ReleaseOracle.java"},
        "ReleaseOracle", QStringList {releases} + classes);
    if (!out)
        return std::nullopt;
    Answers answers;
    int release = 0;
    std::map<char, std::set<std::string>>* current = nullptr;
    for (const QByteArray& line : out->split('\n')) {
        if (line.startsWith("#RELEASE "))
            release = line.mid(9).toInt();
        else if (line.startsWith("#CLASS "))
            current = &answers[release][line.mid(7).toStdString()];
        else if (line.startsWith("#MISSING "))
            current = nullptr;
        else if (current && line.size() > 2)
            (*current)[line[0]].insert(line.mid(2).toStdString());
    }
    return answers;
}

// Differences as lines "- key" (javac only) and "+ key" (ours only).
std::string difference(const std::set<std::string>& javac, const std::set<std::string>& ours)
{
    std::string text;
    for (const auto& k : javac)
        if (!ours.count(k))
            text += "  - " + k + "\n";
    for (const auto& k : ours)
        if (!javac.count(k))
            text += "  + " + k + "\n";
    return text;
}

}  // namespace

TEST(ReleaseOracle, DeclaredMembersOfEveryExportedJavaBaseClassMatchJavacIn8And11)
{
    if (jdkBinWith("javac").isEmpty() || test_support::jdkOnlyLibrary("8")->release() != 8)
        GTEST_SKIP() << "no JDK with javac and a ct.sym holding release 8";
    const auto answers = askJavac(QStringLiteral("8,11"), {"--exports", "java.base"});
    ASSERT_TRUE(answers);
    for (const int release : {8, 11}) {
        auto library = test_support::jdkOnlyLibrary(std::to_string(release));
        ASSERT_EQ(library->release(), release);
        const auto& classes = answers->at(release);
        EXPECT_GE(classes.size(), 900u) << release;
        std::string report;
        int differing = 0;
        for (const auto& [name, kinds] : classes) {
            std::string internalName = name;
            std::replace(internalName.begin(), internalName.end(), '.', '/');
            std::set<std::string> ours;
            if (const auto cls = library->linkedClass(internalName))
                for (const MethodInfo& m : cls->info.methods)
                    if (!(m.access & (ACC_BRIDGE | ACC_SYNTHETIC)))
                        ours.insert(memberKey(m.name, m.descriptor.substr(1, m.descriptor.find(')') - 1)));
            const auto declared = kinds.count('D') ? kinds.at('D') : std::set<std::string>();
            const std::string diff = difference(declared, ours);
            if (!diff.empty() && ++differing <= 12)
                report += name + "\n" + diff;
        }
        EXPECT_EQ(differing, 0) << "release " << release << ":\n" << report;
    }
}

TEST(ReleaseOracle, SinceVersionsAndRemovalMarksMatchJavacAcrossHeldReleases)
{
    if (jdkBinWith("javac").isEmpty())
        GTEST_SKIP() << "no JDK with javac";
    ClassLibrary& library = ClassLibrary::system();
    const std::vector<int> releases = library.releasesUpToThis();
    if (releases.size() < 2)
        GTEST_SKIP() << "the JDK holds no earlier release";
    QStringList releaseList;
    for (const int r : releases) releaseList << QString::number(r);
    const QStringList sample = {"java.util.Optional", "java.util.List", "java.lang.String", "java.lang.Thread",
        "java.util.HashMap", "java.lang.StringBuilder", "java.nio.ByteBuffer", "java.util.stream.Stream",
        "java.util.concurrent.CompletableFuture", "java.lang.Character", "java.io.InputStream", "java.lang.System",
        "java.lang.Runtime", "java.util.Map$Entry", "javax.swing.JTable", "java.lang.Process"};
    const auto answers = askJavac(releaseList.join(QLatin1Char(',')), sample);
    ASSERT_TRUE(answers);
    const int shown = releases.back();
    std::string report;
    for (const QString& qname : sample) {
        const std::string name = qname.toStdString();
        // The expected column: the first release whose javac lists the key,
        // "≤" for the oldest, "!" for the shown release's removal mark.
        std::map<std::string, std::string> expected;
        for (const std::string& marked : answers->at(shown).at(name).at('A')) {
            const bool removal = marked.back() == '!';
            const std::string key = removal ? marked.substr(0, marked.size() - 1) : marked;
            for (const int r : releases) {
                const auto& then = answers->at(r);
                const auto cls = then.find(name);
                if (cls == then.end() || !cls->second.count('A'))
                    continue;
                const auto& keys = cls->second.at('A');
                if (keys.count(key) || keys.count(key + "!")) {
                    expected[key] = formatSince(Since {r, r == releases.front()}, removal);
                    break;
                }
            }
        }
        // A bridge javac does not show (String.compareTo(Object)) is no difference.
        std::map<std::string, std::string> ours;
        std::set<std::string> bridges;
        for (const MemberSince& m : membersSince(library, name)) {
            ours[m.key] = formatSince(m.since, m.forRemoval);
            if (m.bridge)
                bridges.insert(m.key);
        }
        for (const auto& [key, column] : expected) {
            const auto it = ours.find(key);
            const std::string got = it == ours.end() ? "(missing)" : it->second;
            if (got != column)
                report += name + " " + key + ": javac " + column + ", ours " + got + "\n";
        }
        for (const auto& [key, column] : ours)
            if (!expected.count(key) && !bridges.count(key))
                report += name + " " + key + ": ours only, " + column + "\n";
    }
    EXPECT_EQ(report, "");
}
