// Control characters from class files, pages and sources, as printed.

#include <gtest/gtest.h>

#include "platform/ControlChars.h"
#include "tests/support/QtPrinters.h"

TEST(ControlChars, ShownAsEscapesButTabAndLineFeed)
{
    const struct {
        QString in, out;
    } cases[] = {
        {"plain text\tand a tab\n", "plain text\tand a tab\n"},
        {"\x1b]0;title\x07 \x1b[2J", "\\u001b]0;title\\u0007 \\u001b[2J"},
        {"a\u009b31mb\u0080\u009f\u00a0", "a\\u009b31mb\\u0080\\u009f\u00a0"},
        {QString("over\rwrite\x7f") + QChar(0) + "z", "over\\u000dwrite\\u007f\\u0000z"},
        {"\u00e9\u200b\U0001F600", "\u00e9\u200b\U0001F600"},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::showControlChars(c.in), c.out);
}
