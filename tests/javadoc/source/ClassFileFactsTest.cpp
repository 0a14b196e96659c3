// A member's first release and removal mark in the release read, from the
// installed JDK 17's class files and its lib/ct.sym.

#include <gtest/gtest.h>

#include <QFileInfo>

#include "javadoc/source/ClassFileFacts.h"
#include "platform/classlib/ClassLibrary.h"

using platform::classlib::ClassLibrary;

TEST(ClassFileFacts, FirstReleaseAndRemovalInTheReleaseRead)
{
    const char* const jdk17 = "/usr/lib/jvm/java-17-openjdk-amd64";
    if (!QFileInfo(QString::fromLatin1(jdk17) + "/lib/ct.sym").isFile())
        GTEST_SKIP() << "no JDK 17 with its ct.sym";
    using K = platform::MemberKind;
    const struct {
        const char* release;
        platform::Member member;
        std::optional<std::tuple<int, bool, bool>> expected;  // release, or older, for removal
    } cases[] = {
        {"", {"java.util.List", K::Method, "of", {"java.lang.Object[]"}, {}}, std::tuple(9, false, false)},
        {"", {"java.util.ArrayList", K::Constructor, "ArrayList", {"int"}, {}}, std::tuple(7, true, false)},
        {"", {"java.lang.Thread", K::Method, "suspend", {}, {}}, std::tuple(7, true, true)},
        {"11", {"java.lang.Thread", K::Method, "suspend", {}, {}}, std::tuple(7, true, false)},  // marked in 14
        {"8", {"java.util.List", K::Method, "of", {}, {}}, std::nullopt},
    };
    for (const auto& c : cases) {
        ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
        env.javaHome = jdk17;
        env.classPathSet = false;
        env.release = c.release;
        const auto facts = javadoc::source::ClassFileFacts(*ClassLibrary::discover(env)).facts(c.member);
        const auto got = facts ? std::optional(std::tuple(facts->sinceRelease, facts->sinceOrOlder, facts->forRemoval))
                               : std::nullopt;
        EXPECT_EQ(got, c.expected) << c.release << ' ' << c.member.name.toStdString();
    }
}
