// The JDK as oracle. A small Java program, compiled at test time with the
// javac of the very JDK our reader reads, prints getConstructors() and
// getMethods() for every class of java.base and java.desktop; our reader must
// print the same multiset of members for every class. And an image written by
// that JDK's jlink with zip compression must read like the installed one.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <deque>

#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/JImage.h"
#include "tests/support/JdkTools.h"
#include "tests/support/Reflection.h"

using namespace platform::classlib;
using namespace testing_classlib;
using test_support::jdkBinWith;
using test_support::runTool;

// JO_ORACLE_MODULES may name other modules ("a,b") for a wider check by hand.
TEST(Oracle, EveryClassOfJavaBaseAndJavaDesktopMatchesTheJvm)
{
    const QString bin = jdkBinWith("javac");
    if (bin.isEmpty())
        GTEST_SKIP() << "no JDK with javac found (" << ClassLibrary::system().warning() << ")";
    QTemporaryDir dir;
    const QString modules = qEnvironmentVariable("JO_ORACLE_MODULES", "java.base,java.desktop");
    const auto out = test_support::runJavaHelper(
        bin, dir.path(), {"tests/platform/classlib/Oracle.java"}, "Oracle", {"--all", modules});
    ASSERT_TRUE(out);
    std::deque<std::pair<std::string, Lines>> classes;  // stable addresses
    Lines* current = nullptr;
    for (const QByteArray& line : out->split('\n')) {
        if (line.startsWith("#CLASS "))
            current = &classes.emplace_back(line.mid(7).toStdString(), Lines {}).second;
        else if (line.startsWith("#ERROR "))
            current = nullptr;
        else if (!line.isEmpty() && current)
            current->push_back(line.toStdString());
    }
    EXPECT_GE(classes.size(), 5000u);
    std::string report;
    int differing = 0;
    for (auto& [name, expected] : classes) {
        Lines actual, missing, extra;
        try {
            actual = members(ClassLibrary::system(), name);
        } catch (const std::exception& e) {
            extra.push_back(std::string("error: ") + e.what());
        }
        std::sort(expected.begin(), expected.end());
        std::sort(actual.begin(), actual.end());
        std::set_difference(
            expected.begin(), expected.end(), actual.begin(), actual.end(), std::back_inserter(missing));
        std::set_difference(actual.begin(), actual.end(), expected.begin(), expected.end(), std::back_inserter(extra));
        if ((missing.empty() && extra.empty()) || ++differing > 12)
            continue;
        report += "\n== " + name + "\n";
        for (size_t i = 0; i < missing.size() + extra.size() && i < 12; ++i)
            report +=
                i < missing.size() ? "  missing: " + missing[i] + "\n" : "  extra: " + extra[i - missing.size()] + "\n";
    }
    EXPECT_EQ(differing, 0) << report;
}

// jlink writes images with zip-compressed resources (--compress=2): ours
// must read them exactly like the installed JDK.
TEST(Oracle, ZipCompressedImageWrittenByJlink)
{
    const QString bin = jdkBinWith("jlink");
    if (bin.isEmpty() || !QFileInfo::exists(bin + "../jmods/java.base.jmod"))
        GTEST_SKIP() << "no jlink with jmods in the installed JDK";
    QTemporaryDir dir;
    ASSERT_TRUE(runTool(bin + "jlink",
        {"--module-path", bin + "../jmods", "--add-modules", "java.base", "--compress=2", "--output",
            dir.path() + "/j"}));
    std::string error, modules = dir.path().toStdString() + "/j/lib/modules";
    auto image = JImage::open(modules, error);
    ASSERT_TRUE(image) << error;
    std::vector<std::unique_ptr<ClassSource>> sources;
    sources.push_back(std::make_unique<JImageSource>(modules, std::move(image)));
    ClassLibrary zipped(std::move(sources));
    for (const char* name : {"java.lang.String", "java.util.HashMap", "java.lang.StringBuilder", "java.util.List"})
        EXPECT_EQ(members(zipped, name), members(ClassLibrary::system(), name)) << name;
}
