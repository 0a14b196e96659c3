// The query, match and order rules of finding a method, without a class library.

#include <gtest/gtest.h>

#include "lookup/MemberSearch.h"

namespace {

using lookup::MemberQuery;
using lookup::NameMatch;
using Kind = MemberQuery::Kind;

TEST(MemberSearch, QueriesSplitIntoClassAndMethod)
{
    const struct {
        QString text;
        Kind kind;
        std::string className, methodName;
    } cases[] = {
        {"toUnmodifiableList", Kind::MethodName, "", "toUnmodifiableList"},
        {"  get\t", Kind::MethodName, "", "get"},
        {"#toList", Kind::MethodName, "", "toList"},
        {"Collectors#toL", Kind::ClassMethods, "Collectors", "toL"},
        {"Collectors.toL", Kind::ClassMethods, "Collectors", "toL"},
        {"java.util.Map.Entry#getKey", Kind::ClassMethods, "java.util.Map.Entry", "getKey"},
        {"java.util.Map.Entry.getKey", Kind::ClassMethods, "java.util.Map.Entry", "getKey"},
        {"Map.Entry#", Kind::ClassMethods, "Map.Entry", ""},
        {"Vector.", Kind::ClassMethods, "Vector", ""},
        {"#", Kind::Nothing, "", ""},
        {".", Kind::Nothing, "", ""},
        {"   ", Kind::Nothing, "", ""},
        {QString(MemberQuery::kMaxTextLength + 1, QLatin1Char('a')), Kind::Nothing, "", ""},
        {QString::fromUtf8("\xF0\x9D\x94\x98x"), Kind::MethodName, "", "\xF0\x9D\x94\x98x"},
    };
    for (const auto& c : cases) {
        const MemberQuery q = MemberQuery::parse(c.text);
        EXPECT_EQ(q.kind, c.kind) << qPrintable(c.text.left(40));
        EXPECT_EQ(q.className, c.className) << qPrintable(c.text.left(40));
        if (q.kind != Kind::Nothing) {
            EXPECT_EQ(q.methodName, c.methodName) << qPrintable(c.text.left(40));
        }
    }
}

TEST(MemberSearch, NamesMatchExactlyByPrefixOrByCapitals)
{
    const struct {
        const char* query;
        const char* name;
        NameMatch match;
    } cases[] = {
        {"toList", "toList", NameMatch::Exact},
        {"tolist", "toList", NameMatch::Prefix},  // letter case matters only for the exact tier
        {"toU", "toUnmodifiableList", NameMatch::Prefix},
        {"TOU", "toUnmodifiableList", NameMatch::Prefix},
        {"tUL", "toUnmodifiableList", NameMatch::Capitals},
        {"toUnL", "toUnmodifiableList", NameMatch::Capitals},
        {"tL", "toUnmodifiableList", NameMatch::Capitals},  // humps may be skipped
        {"tUL", "toURL", NameMatch::Capitals},
        {"TUL", "toUnmodifiableList", NameMatch::None},  // the first hump starts the name as typed
        {"uL", "toUnmodifiableList", NameMatch::None},
        {"tLU", "toUnmodifiableList", NameMatch::None},  // humps in order
        {"tul", "toUnmodifiableList", NameMatch::None},  // no capitals: a prefix or nothing
        {"toUnmodifiableListX", "toUnmodifiableList", NameMatch::None},
        {"", "toList", NameMatch::None},
        {"\xF0\x9D\x94\x98", "\xF0\x9D\x94\x98", NameMatch::Exact},
        {"\xF0\x9D\x94", "\xF0\x9D\x94\x98", NameMatch::Prefix},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookup::NamePattern(c.query).match(c.name), c.match) << c.query << " / " << c.name;
}

TEST(MemberSearch, ClassesRankAsTheCompletionListRanksThem)
{
    using K = lookup::ClassRankKey;
    // Each pair: the first ranks before the second, for the reason named.
    const struct {
        K before, after;
        const char* why;
    } cases[] = {
        {{0, 2, true, "z/VeryLongName$Deprecated"}, {1, 0, false, "a/B"}, "the JDK before CLASSPATH"},
        {{1, 0, false, "z/Z"}, {2, 0, false, "a/A"}, "CLASSPATH order"},
        {{0, 0, false, "java/util/Zebra"}, {0, 1, false, "java/sql/A"}, "java.base first"},
        {{0, 1, false, "java/awt/List"}, {0, 2, false, "jdk/A"}, "java.* before the rest"},
        {{0, 0, false, "java/util/SomeLongName"}, {0, 0, true, "java/util/A"}, "not deprecated first"},
        {{0, 0, false, "java/util/Map"}, {0, 0, false, "java/util/List1"}, "shorter name"},
        {{0, 0, false, "a/b$Cd"}, {0, 0, false, "a/b/Cd"}, "code units"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(lookup::ranksBefore(c.before, c.after)) << c.why;
        EXPECT_FALSE(lookup::ranksBefore(c.after, c.before)) << c.why;
    }
}

TEST(MemberSearch, AnswersGoByMatchThenClassThenNameThenDeclarationOrder)
{
    using P = lookup::MethodPlace;
    const struct {
        P before, after;
    } cases[] = {
        {{NameMatch::Exact, 9, "z", 9}, {NameMatch::Prefix, 0, "a", 0}},
        {{NameMatch::Prefix, 1, "zz", 9}, {NameMatch::Prefix, 2, "a", 0}},
        {{NameMatch::Capitals, 1, "toA", 9}, {NameMatch::Capitals, 1, "toB", 0}},
        {{NameMatch::Prefix, 1, "toA", 3}, {NameMatch::Prefix, 1, "toA", 4}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(lookup::placedBefore(c.before, c.after)) << c.before.name;
        EXPECT_FALSE(lookup::placedBefore(c.after, c.before)) << c.before.name;
    }
}

}  // namespace
