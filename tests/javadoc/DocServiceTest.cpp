// The documentation service's order: the configured roots' page, then the
// extra roots' in turn, then the Java source; one "nothing" for no answer; a
// member that costs a lookup is found only when the source is read.

#include <gtest/gtest.h>

#include "javadoc/DocService.h"
#include "tests/support/PageFiles.h"

using namespace javadoc_test;

namespace {

class FixedSource final : public javadoc::SourceReader {
public:
    explicit FixedSource(std::optional<QString> text) : text_(std::move(text)) { }
    std::optional<QString> document(const javadoc::DocSelection&) override
    {
        ++asked;
        return text_;
    }
    int asked = 0;

private:
    std::optional<QString> text_;
};

}  // namespace

TEST(DocService, PagesOfTheRootsInOrderThenTheSource)
{
    QTemporaryDir withPage, withoutPage;
    writePage(withPage.path(), "java.awt.Shape.html",
        {"<HTML><BODY>", "<TABLE><TR><TD><B>Constructor Detail</B></TD></TR></TABLE>",
            "public void <B>scale</B>(int&nbsp;w, int&nbsp;h)</PRE>", "<DL>", "<DD>Scales the shape.", "</DD>",
            "<HR>"});
    const QString page = shown("public void scale(int w, int h)", "  Scales the shape.\n");
    const QString source = shown("public void scale(int w, int h)", "  From the source.\n");
    using javadoc::DocOrigin;
    const struct {
        const char* what;
        javadoc::DocRoots roots;
        std::optional<QString> sourceText;
        bool withSource;
        std::optional<QString> expected;
        DocOrigin origin;
        int sourceAsked;
    } cases[] = {
        {"main root's page", {withPage.path(), {}, {}}, source, true, page, DocOrigin::Page, 0},
        {"an extra root's page", {withoutPage.path(), {}, {withoutPage.path(), withPage.path()}}, source, true, page,
            DocOrigin::Page, 0},
        {"no page: the source", {withoutPage.path(), withoutPage.path(), {}}, source, true, source, DocOrigin::Source,
            1},
        {"no root: the source", {}, source, true, source, DocOrigin::Source, 1},
        {"neither", {withoutPage.path(), {}, {}}, std::nullopt, true, std::nullopt, DocOrigin::Page, 1},
        {"an empty source text is none", {}, QString(), true, std::nullopt, DocOrigin::Page, 1},
        {"pages only", {withoutPage.path(), {}, {}}, source, false, std::nullopt, DocOrigin::Page, 0},
    };
    for (const auto& c : cases) {
        FixedSource reader(c.sourceText);
        const javadoc::DocService service(c.roots, c.withSource ? &reader : nullptr);
        javadoc::DocSelection selection;
        selection.args = {"scale", 1, "java.awt.Shape", QStringList {"int", "int"}};
        selection.nameText = selection.name2 = "java.awt.Shape";
        int lookedUp = 0;  // a costly member is found only for the source
        selection.findMember = [&] { return ++lookedUp, std::optional<platform::Member>(); };
        const std::optional<javadoc::MemberDoc> doc = service.document(selection);
        ASSERT_EQ(doc.has_value(), c.expected.has_value()) << c.what;
        if (doc) {
            EXPECT_EQ(doc->text, *c.expected) << c.what;
            EXPECT_EQ(doc->origin, c.origin) << c.what;
        }
        EXPECT_EQ(reader.asked, c.sourceAsked) << c.what;
        EXPECT_EQ(lookedUp, c.sourceAsked) << c.what;
    }
}
