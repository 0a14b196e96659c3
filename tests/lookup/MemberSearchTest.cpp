// The match and rank rules of finding a method, without a class library; how
// a query splits into class and method is MemberIndexTest's.

#include <gtest/gtest.h>

#include "lookup/MemberSearch.h"

namespace {

using lookup::NameMatch;

TEST(MemberSearch, NamesMatchExactlyByPrefixOrByCapitals)
{
    const struct {
        const char* query;
        const char* name;
        NameMatch match;
    } cases[] = {
        {"toList", "toList", NameMatch::Exact},
        {"tolist", "toList", NameMatch::Prefix},  // letter case matters only for the exact tier
        {"TOU", "toUnmodifiableList", NameMatch::Prefix},
        {"tUL", "toUnmodifiableList", NameMatch::Capitals},
        {"tL", "toUnmodifiableList", NameMatch::Capitals},  // humps may be skipped
        {"TUL", "toUnmodifiableList", NameMatch::None},     // the first hump starts the name as typed
        {"uL", "toUnmodifiableList", NameMatch::None},
        {"tLU", "toUnmodifiableList", NameMatch::None},  // humps in order
        {"tul", "toUnmodifiableList", NameMatch::None},  // no capitals: a prefix or nothing
        {"", "toList", NameMatch::None},
        {"\xF0\x9D\x94", "\xF0\x9D\x94\x98", NameMatch::Prefix},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookup::NamePattern(c.query).match(c.name), c.match) << c.query << " / " << c.name;
}

TEST(MemberSearch, ClassesRankAsTheCompletionListRanksThem)
{
    // Each pair: the first ranks before the second, for the reason named.
    const struct {
        lookup::ClassRankKey before, after;
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

}  // namespace
