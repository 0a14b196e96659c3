// The since-version computation and its text forms, on a few lines of input.

#include <gtest/gtest.h>

#include "platform/classlib/CtSym.h"
#include "platform/classlib/SinceVersion.h"

using namespace platform::classlib;

TEST(SinceVersion, EachMemberTakesTheFirstReleaseThatHasIt)
{
    // 9 lacks the class altogether; c() went away in 10 and came back in 11.
    const std::vector<ReleaseMembers> history = {{7, {"a()", "c()"}}, {8, {"a()", "b(I)", "c()"}}, {9, {}},
        {10, {"a()", "b(I)", "d(Ljava/lang/String;)"}}, {11, {"a()", "b(I)", "c()", "d(Ljava/lang/String;)"}}};
    const auto since = sinceOfMembers(history);
    const struct {
        const char* key;
        int release;
        bool orOlder;
    } cases[] = {{"a()", 7, true}, {"b(I)", 8, false}, {"c()", 7, true}, {"d(Ljava/lang/String;)", 10, false}};
    EXPECT_EQ(since.size(), std::size(cases));
    for (const auto& c : cases) {
        ASSERT_TRUE(since.count(c.key)) << c.key;
        EXPECT_EQ(since.at(c.key).release, c.release) << c.key;
        EXPECT_EQ(since.at(c.key).orOlder, c.orOlder) << c.key;
    }
    EXPECT_TRUE(sinceOfMembers({}).empty());
}

TEST(SinceVersion, ColumnTextAndMemberKeys)
{
    const struct {
        Since since;
        bool forRemoval;
        const char* text;
    } columns[] = {{{9, false}, false, "9"}, {{7, true}, false, "\u22647"}, {{11, false}, true, "11!"},
        {{8, true}, true, "\u22648!"}, {{0, false}, false, "-"}};
    for (const auto& c : columns) EXPECT_EQ(formatSince(c.since, c.forRemoval), c.text);
    EXPECT_EQ(memberKey("<init>", "I[Ljava/lang/String;"), "<init>(I[Ljava/lang/String;)");
}

TEST(SinceVersion, ErasedTypeNamesToDescriptors)
{
    const struct {
        std::vector<std::string> types;
        bool ok;
        const char* descriptors;
    } cases[] = {{{}, true, ""}, {{"int", "long", "boolean"}, true, "IJZ"},
        {{"java.lang.String[]", "byte[][]"}, true, "[Ljava/lang/String;[[B"},
        {{"java.util.Map$Entry"}, true, "Ljava/util/Map$Entry;"}, {{"int[]x"}, false, ""}, {{""}, false, ""},
        {{"java..lang"}, false, ""}, {{"[]"}, false, ""}};
    for (const auto& c : cases) {
        std::string out;
        EXPECT_EQ(parameterDescriptors(c.types, out), c.ok) << c.descriptors;
        if (c.ok) {
            EXPECT_EQ(out, c.descriptors);
        }
    }
}

TEST(SinceVersion, ReleaseNumbersAndFolderLetters)
{
    const struct {
        const char* text;
        int release;
        char letter;
    } cases[] = {{"7", 7, '7'}, {"9", 9, '9'}, {"10", 10, 'A'}, {"17", 17, 'H'}, {"25", 25, 'P'}, {"35", 35, 'Z'},
        {"36", 36, 0}, {"6", 6, 0}, {"0", 0, 0}, {"abc", 0, 0}, {"", 0, 0}, {"-8", 0, 0}, {"8x", 0, 0}, {"1000", 0, 0},
        {" 8", 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(parseRelease(c.text), c.release) << c.text;
        EXPECT_EQ(releaseLetter(c.release), c.letter) << c.text;
        if (c.letter) {
            EXPECT_EQ(releaseOfLetter(c.letter), c.release);
        }
    }
    for (const char other : {'0', '6', 'a', 'h', '/', '-'}) EXPECT_EQ(releaseOfLetter(other), 0) << other;
}
