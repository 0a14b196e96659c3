#include <gtest/gtest.h>

#include "app/BrowseHistory.h"
#include "tests/support/QtPrinters.h"

namespace {

app::BrowseStep step(int i)
{
    return {QString::number(i), {}, {}, std::nullopt, 0};
}

// Steps recorded, then a walk of Back ('<'), Forward ('>') and a new step
// ('+', which drops the steps ahead): the class of each step reached, "-"
// where the walk hits an end.
TEST(BrowseHistoryTest, BackAndForwardWalkTheRecordedSteps)
{
    struct Case {
        int recorded;
        const char* walk;
        QStringList reached;
    };
    const Case cases[] = {
        {0, "<>", {"-", "-"}}, {1, "<>", {"-", "-"}}, {3, "<<<>>>", {"1", "0", "-", "1", "2", "-"}},
        {3, "<+><", {"1", "-", "1"}}, {150, "<", {"148"}},  // the oldest 50 are gone: 100 steps remain
    };
    for (const Case& c : cases) {
        app::BrowseHistory h;
        for (int i = 0; i < c.recorded; ++i) h.record(step(i));
        QStringList reached;
        for (const char* w = c.walk; *w; ++w) {
            if (*w == '+') {
                h.record(step(9));
                continue;
            }
            const auto s = *w == '<' ? h.back() : h.forward();
            reached << (s ? s->classText : QStringLiteral("-"));
        }
        EXPECT_EQ(reached, c.reached) << c.recorded << c.walk;
        EXPECT_LE(h.size(), app::BrowseHistory::kMaxSteps);
    }
}

TEST(BrowseHistoryTest, TargetsSplitIntoClassAndMember)
{
    using T = std::pair<const char*, app::BrowseTarget>;
    const T cases[] = {
        {"java.util.List", {"java.util.List", std::nullopt}},
        {"java.util.List#size", {"java.util.List", app::MemberRef {"size", std::nullopt}}},
        {"java.util.List#add(int, java.lang.Object)",
            {"java.util.List", app::MemberRef {"add", QStringList {"int", "java.lang.Object"}}}},
        {"java.util.List#size()", {"java.util.List", app::MemberRef {"size", QStringList {}}}},
        {"java.util.List#", {"java.util.List", std::nullopt}},
    };
    for (const auto& [text, want] : cases) {
        const app::BrowseTarget got = app::parseBrowseTarget(QString::fromLatin1(text));
        EXPECT_EQ(got.className, want.className) << text;
        EXPECT_EQ(got.member, want.member) << text;
    }
}

}  // namespace
