// The class files' sections on a member's text: SINCE last where the text
// names no release, a bracket where it names another, DEPRECATED FOR REMOVAL
// where it says nothing of removal; only when asked, never on an era page.

#include <gtest/gtest.h>

#include "javadoc/DocService.h"
#include "tests/support/PageFiles.h"

using namespace javadoc_test;
using javadoc::MemberFacts;

namespace {

const QString kBody = shown("public static List of()", "  Returns a list.\n");
QString section(const QString& label, const QString& line)
{
    return "  \n  " + label + "\n  " + line + "\n";
}
const QString kRemovalLine = "This member, or its class, is marked to be removed in a future release.";

class FixedFacts final : public javadoc::MemberFactsReader {
public:
    explicit FixedFacts(MemberFacts facts) : facts_(facts) { }
    std::optional<MemberFacts> facts(const platform::Member& member) override
    {
        asked.push_back(member.name);
        return facts_;
    }
    QStringList asked;

private:
    MemberFacts facts_;
};

}  // namespace

TEST(DocSections, AddedWhereTheTextIsSilent)
{
    const QString since12 = kBody + section("SINCE:", "1.2");
    const QString removal = kBody +
        "  Deprecated, for removal: This API element is subject to removal in a future "
        "version.\n";
    const struct {
        const char* what;
        QString text;
        MemberFacts facts;
        QString expected;
    } cases[] = {
        {"own since agrees", kBody + section("SINCE:", "9"), {9, false, false}, kBody + section("SINCE:", "9")},
        {"no since", kBody, {9, false, false}, kBody + section("SINCE:", "9")},
        {"older than the oldest held", kBody, {7, true, false}, kBody + section("SINCE:", "\u22647")},
        {"own since differs", since12, {9, false, false}, kBody + section("SINCE:", "1.2 [class files: 9]")},
        {"own since older than the oldest held", since12, {7, true, false}, since12},
        {"own 1.8 is release 8", kBody + section("SINCE:", "1.8"), {8, false, false}, kBody + section("SINCE:", "1.8")},
        {"own since with no number", kBody + section("SINCE:", "ages ago"), {9, false, false},
            kBody + section("SINCE:", "ages ago")},
        {"not the JDK's class: no release", kBody, {0, false, false}, kBody},
        {"marked for removal", kBody, {9, false, true},
            kBody + section("DEPRECATED FOR REMOVAL:", kRemovalLine) + section("SINCE:", "9")},
        {"the text already says so", removal, {0, false, true}, removal},
        {"a section written before stays once", kBody + section("DEPRECATED FOR REMOVAL:", kRemovalLine),
            {0, false, true}, kBody + section("DEPRECATED FOR REMOVAL:", kRemovalLine)},
    };
    for (const auto& c : cases) {
        QString text = c.text;
        std::vector<javadoc::DocLink> links;
        javadoc::addClassFileSections(text, links, c.facts);
        EXPECT_EQ(text, c.expected) << c.what;
    }
}

TEST(DocSections, LinksAfterABracketMoveWithTheirText)
{
    const QString head = kBody + section("SINCE:", "1.2");
    QString text = head + section("SEE ALSO:", "List");
    const qsizetype before = 2, after = text.lastIndexOf("List");
    std::vector<javadoc::DocLink> links {{before, 6, "a"}, {after, 4, "b"}};
    javadoc::addClassFileSections(text, links, {9, false, false});
    EXPECT_EQ(text.mid(links[0].start, 6), "public");
    EXPECT_EQ(text.mid(links[1].start, 4), "List");
}

TEST(DocSections, ReleaseNamedBySinceText)
{
    const struct {
        QString text;
        std::optional<int> release;
    } cases[] = {{"9", 9}, {"1.8", 8}, {"JDK1.2", 2}, {"1.4.2", 4}, {"Java SE 11", 11}, {"1.0", 1}, {"1.", 1},
        {"none", std::nullopt}, {"", std::nullopt}, {"99999999999999", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(javadoc::releaseOfSinceText(c.text), c.release) << c.text.toStdString();
}

TEST(DocSections, OnlyWhenAskedAndNeverOnAnEraPage)
{
    QTemporaryDir era, modern;
    writePage(era.path(), "java.util.List.html",
        {"<HTML><BODY>", "<TABLE><TR><TD><B>Constructor Detail</B></TD></TR></TABLE>",
            "public static List <B>of</B>()</PRE>", "<DL>", "<DD>Returns a list.", "</DD>", "<HR>"});
    writePage(modern.path(), "java.util.List.html",
        {"<meta name=\"generator\" content=\"javadoc/ClassWriterImpl\">", "<section class=\"detail\" id=\"of()\">",
            "<div class=\"member-signature\"><span class=\"modifiers\">public</span>&nbsp;static List&nbsp;of()</div>",
            "<div class=\"block\">Returns a list.</div>", "</section>"});
    const platform::Member of {"java.util.List", platform::MemberKind::Method, "of", {}, "of()"};
    javadoc::DocSelection selection;
    selection.args = {"of", -1, "java.util.List", QStringList {}};
    selection.nameText = selection.name2 = "java.util.List";
    const QString eraText = javadoc::DocService({era.path(), {}, {}}).document(selection).value().text;
    const struct {
        const char* what;
        QString root;
        bool asked;
        bool known;  // the selection carries its member
        QString expected;
    } cases[] = {
        {"not asked", modern.path(), false, true, kBody},
        {"asked", modern.path(), true, true, kBody + section("SINCE:", "9")},
        {"asked, the member found at a cost", modern.path(), true, false, kBody + section("SINCE:", "9")},
        {"an era page stays as it is", era.path(), true, true, eraText},
    };
    for (const auto& c : cases) {
        FixedFacts facts({9, false, false});
        javadoc::DocService service({c.root, {}, {}});
        if (c.asked)
            service.setMemberFacts(&facts);
        javadoc::DocSelection asked = selection;
        if (c.known)
            asked.member = of;
        else
            asked.findMember = [&] { return std::optional(of); };
        const std::optional<javadoc::MemberDoc> doc = service.document(asked);
        ASSERT_TRUE(doc) << c.what;
        EXPECT_EQ(doc->text, c.expected) << c.what;
        EXPECT_EQ(facts.asked.size(), c.asked && c.root == modern.path() ? 1 : 0) << c.what;
    }
}
