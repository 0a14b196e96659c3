// The class files' sections: SINCE last where the text names no release, a
// bracket where it names another, DEPRECATED FOR REMOVAL where it is silent;
// only when asked, and never on an era page.

#include <gtest/gtest.h>

#include "javadoc/DocService.h"
#include "tests/support/PageFiles.h"

using namespace javadoc_test;

namespace {

const QString kBody = shown("public static List of()", "  Returns a list.\n");
QString part(const QString& label, const QString& line)
{
    return "  \n  " + label + ":\n  " + line + "\n";
}
const QString kRemoval =
    part("DEPRECATED FOR REMOVAL", "This member, or its class, is marked to be removed in a future release.");
const QString kSaid =
    kBody + "  Deprecated, for removal: This API element is subject to removal in a future version.\n";

class FixedFacts final : public javadoc::MemberFactsReader {
public:
    std::optional<javadoc::MemberFacts> facts(const platform::Member&) override { return ++asked, facts_; }
    int asked = 0;

private:
    javadoc::MemberFacts facts_ {9, false, false};
};

}  // namespace

TEST(DocSections, AddedWhereTheTextIsSilent)
{
    const QString see = part("SEE ALSO", "List");
    const struct {
        QString text;
        javadoc::MemberFacts facts;
        QString expected;
    } cases[] = {
        {kBody + part("SINCE", "9"), {9, false, false}, kBody + part("SINCE", "9")},
        {kBody, {9, false, false}, kBody + part("SINCE", "9")},
        {kBody, {7, true, false}, kBody + part("SINCE", "\u22647")},
        {kBody + part("SINCE", "1.2") + see, {9, false, false}, kBody + part("SINCE", "1.2 [class files: 9]") + see},
        {kBody + part("SINCE", "JDK1.2"), {7, true, false}, kBody + part("SINCE", "JDK1.2")},
        {kBody + part("SINCE", "1.8"), {8, false, false}, kBody + part("SINCE", "1.8")},
        {kBody + part("SINCE", "ages ago"), {9, false, false}, kBody + part("SINCE", "ages ago")},
        {kBody, {0, false, false}, kBody},  // not the JDK's class
        {kBody, {9, false, true}, kBody + kRemoval + part("SINCE", "9")},
        {kSaid, {0, false, true}, kSaid},
        {kBody + kRemoval, {0, false, true}, kBody + kRemoval},
    };
    for (const auto& c : cases) {
        QString text = c.text;
        std::vector<javadoc::DocLink> links {{text.lastIndexOf("List"), 4, "java.util.List"}};
        javadoc::addClassFileSections(text, links, c.facts);
        EXPECT_EQ(text, c.expected);
        EXPECT_EQ(text.mid(links[0].start, 4), "List") << "a link keeps its text";
    }
}

TEST(DocSections, OnlyWhenAskedAndNeverOnAnEraPage)
{
    QTemporaryDir era, modern;
    writePage(era.path(), "java.util.List.html",
        {"<TABLE><TR><TD><B>Constructor Detail</B></TD></TR></TABLE>", "public static List <B>of</B>()</PRE>",
            "<DD>Returns a list.", "<HR>"});
    writePage(modern.path(), "java.util.List.html",
        {"<meta name=\"generator\" content=\"javadoc/ClassWriterImpl\">", "<section class=\"detail\" id=\"of()\">",
            "<div class=\"member-signature\">public&nbsp;static List&nbsp;of()</div>",
            "<div class=\"block\">Returns a list.</div>", "</section>"});
    const platform::Member of {"java.util.List", platform::MemberKind::Method, "of", {}, "of()"};
    const struct {
        QString root;
        bool asked, known;  // known: the selection carries its member, else it is found at a cost
        QString expected;
    } cases[] = {{modern.path(), false, true, kBody}, {modern.path(), true, true, kBody + part("SINCE", "9")},
        {modern.path(), true, false, kBody + part("SINCE", "9")}, {era.path(), true, true, kBody}};
    for (const auto& c : cases) {
        FixedFacts facts;
        javadoc::DocService service({c.root, {}, {}});
        service.setMemberFacts(c.asked ? &facts : nullptr);
        javadoc::DocSelection selection {
            {"of", -1, "java.util.List", QStringList {}}, {}, {}, {}, "java.util.List", {}, 1};
        selection.member = c.known ? std::optional(of) : std::nullopt;
        selection.findMember = [&] { return std::optional(of); };
        EXPECT_EQ(service.document(selection).value_or(javadoc::MemberDoc {}).text, c.expected);
        EXPECT_EQ(facts.asked, c.expected != kBody);
    }
}
