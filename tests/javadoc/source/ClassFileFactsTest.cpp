// The class-file facts over the installed JDK 17: a member's first release
// and removal mark in the release read, and the sections they give the JDK's
// own pages (which name their releases and removals already).

#include <gtest/gtest.h>

#include <QFileInfo>

#include "javadoc/DocService.h"
#include "javadoc/source/ClassFileFacts.h"
#include "platform/classlib/ClassLibrary.h"

using platform::classlib::ClassLibrary;

namespace {

const char* const kJdk17 = "/usr/lib/jvm/java-17-openjdk-amd64";
const QString kApi = QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api/java.base");

std::unique_ptr<ClassLibrary> jdk17(const char* release)
{
    ClassLibrary::Environment env = ClassLibrary::Environment::fromProcess();
    env.javaHome = kJdk17;
    env.classPathSet = false;
    env.release = release;
    return ClassLibrary::discover(env);
}

platform::Member method(const char* cls, const char* name, QStringList parameters = {})
{
    return {cls, platform::MemberKind::Method, name, std::move(parameters), {}};
}

const platform::Member kListOf = method("java.util.List", "of");
const platform::Member kSuspend = method("java.lang.Thread", "suspend");

}  // namespace

TEST(ClassFileFacts, FirstReleaseAndRemovalInTheReleaseRead)
{
    if (!QFileInfo(QString::fromLatin1(kJdk17) + "/lib/ct.sym").isFile())
        GTEST_SKIP() << "no JDK 17 with its ct.sym";
    const platform::Member ctor {"java.util.ArrayList", platform::MemberKind::Constructor, "ArrayList", {"int"}, {}};
    const struct {
        const char* release;
        platform::Member member;
        std::optional<javadoc::MemberFacts> expected;
    } cases[] = {
        {"", kListOf, javadoc::MemberFacts {9, false, false}},
        {"", method("java.util.List", "of", {"java.lang.Object[]"}), javadoc::MemberFacts {9, false, false}},
        {"", method("java.util.List", "size"), javadoc::MemberFacts {7, true, false}},
        {"", ctor, javadoc::MemberFacts {7, true, false}},
        {"", kSuspend, javadoc::MemberFacts {7, true, true}},
        {"11", kSuspend, javadoc::MemberFacts {7, true, false}},  // marked for removal in 14
        {"8", kListOf, std::nullopt},
        {"", method("java.util.List", "of", {"no such type!"}), std::nullopt},
    };
    for (const auto& c : cases) {
        auto library = jdk17(c.release);
        const auto facts = javadoc::source::ClassFileFacts(*library).facts(c.member);
        ASSERT_EQ(facts.has_value(), c.expected.has_value()) << c.release << c.member.name.toStdString();
        if (facts) {
            EXPECT_EQ(facts->sinceRelease, c.expected->sinceRelease) << c.member.name.toStdString();
            EXPECT_EQ(facts->sinceOrOlder, c.expected->sinceOrOlder) << c.member.name.toStdString();
            EXPECT_EQ(facts->forRemoval, c.expected->forRemoval) << c.release << c.member.name.toStdString();
        }
    }
}

TEST(ClassFileFacts, TheJdksOwnPagesSayEachOnce)
{
    if (!QFileInfo(kApi + "/java/lang/Thread.html").isFile() || !QFileInfo(QString::fromLatin1(kJdk17)).isDir())
        GTEST_SKIP() << "openjdk-17-doc is not installed";
    auto library = jdk17("");
    javadoc::source::ClassFileFacts facts(*library);
    const struct {
        platform::Member member;
        const char* statement;
    } cases[] = {{kListOf, "  SINCE:\n  9\n"}, {kSuspend, "Deprecated, for removal"}, {kSuspend, "SINCE:"}};
    for (const auto& c : cases) {
        javadoc::DocService service({kApi, {}, {}});
        service.setMemberFacts(&facts);
        javadoc::DocSelection selection;
        selection.args = {c.member.name, -1, c.member.declaringClass, QStringList {}};
        selection.member = c.member;
        selection.nameText = selection.name2 = c.member.declaringClass;
        const QString text = service.document(selection).value_or(javadoc::MemberDoc {}).text;
        EXPECT_EQ(text.count(QLatin1String(c.statement)), 1) << text.toStdString();
        EXPECT_FALSE(text.contains("DEPRECATED FOR REMOVAL:")) << text.toStdString();
        EXPECT_FALSE(text.contains("[class files:")) << text.toStdString();
    }
}
