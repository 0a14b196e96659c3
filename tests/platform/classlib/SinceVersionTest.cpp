// The since-version text forms and release names, on a few lines of input.
// Which release a member first appears in is ReleaseTest's (a made-up
// ct.sym) and ReleaseOracleTest's (javac across the held releases).

#include <gtest/gtest.h>

#include "platform/classlib/CtSym.h"
#include "platform/classlib/SinceVersion.h"

using namespace platform::classlib;

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
