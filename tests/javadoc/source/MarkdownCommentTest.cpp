// Markdown documentation comments: which comment a declaration gets, and the
// lines their Markdown comes out as (what the page shows of the HTML).

#include <gtest/gtest.h>

#include "javadoc/source/CommentRenderer.h"
#include "javadoc/source/JavaSourceScanner.h"
#include "javadoc/source/MarkdownComment.h"

using namespace javadoc::source;

namespace {

// The lines a Markdown text shows, "|"-joined.
QString shownLines(const QString& markdown)
{
    return markupLines(renderInlineTags(markdownToMarkup(markdown))).join('|');
}

const SourceMember* firstMember(const SourceFile& file)
{
    return file.types.empty() || file.types.front().members.empty() ? nullptr : &file.types.front().members.front();
}

}  // namespace

TEST(MarkdownComment, TheDeclarationTakesTheNearestComment)
{
    const struct {
        const char* what;
        const char* before;  // placed before "void m() { }" in a class
        CommentSyntax syntax;
        const char* doc;  // "" for none
    } cases[] = {
        {"one run", "/// First.\n/// Second.\n", CommentSyntax::Markdown, "First.\nSecond."},
        {"common indentation", "  ///   a\n  ///     b\n  ///\n", CommentSyntax::Markdown, "a\n  b\n"},
        {"a blank line ends a run", "/// old\n\n/// new\n", CommentSyntax::Markdown, "new"},
        {"/// after /**", "/** html */\n/// md\n", CommentSyntax::Markdown, "md"},
        {"/** after ///", "/// md\n/** html */\n", CommentSyntax::Traditional, " html "},
        {"// is no doc comment", "// plain\n", CommentSyntax::Traditional, ""},
        {"/// after code on its line", "int x; /// trailing\n", CommentSyntax::Traditional, ""},
        {"//// is a doc line too", "//// four\n", CommentSyntax::Markdown, "/ four"},
    };
    for (const auto& c : cases) {
        const SourceFile file = scanJavaSource(QString("class A {\n") + c.before + "void m() { } }");
        const SourceMember* m = firstMember(file);
        ASSERT_NE(m, nullptr) << c.what;
        EXPECT_EQ(m->doc, QString(c.doc)) << c.what;
        EXPECT_EQ(m->hasDoc, *c.doc != 0) << c.what;
        if (m->hasDoc) {
            EXPECT_EQ(m->docSyntax, c.syntax) << c.what;
        }
    }
}

TEST(MarkdownComment, BlocksAndInlinesAsThePageShowsThem)
{
    const struct {
        const char* what;
        const char* markdown;
        const char* lines;
    } cases[] = {
        {"paragraphs", "First line\nsecond.\n\nNext paragraph.", "First line|second.|Next paragraph."},
        {"emphasis markers dropped", "*one* **two** _three_ __four__ snake_case a * b",
            "one two three four snake_case a * b"},
        {"code span keeps markup and braces", "Use `a<b && {@code x}` and ``x`y``.", "Use a<b && {@code x} and x`y."},
        {"code span across lines is one line", "A `long\ncode` span", "A long code span"},
        {"unclosed backtick is text", "a ` b", "a ` b"},
        {"bullet list", "Items:\n- one\n- two\n  more", "Items:|one|two|more"},
        {"ordered list", "1. first\n2) second", "first|second"},
        {"fenced code verbatim", "```java\nif (a < b) { *x* }\n```\nafter", "if (a < b) { *x* }|after"},
        {"indented code verbatim", "Text.\n\n    int _a_ = 1;\n\nEnd.", "Text.|int _a_ = 1;|End."},
        {"inline link shows its label", "See [the *guide*](https://x.org/g).", "See the guide."},
        {"autolink shows its address", "At <https://x.org/>.", "At https://x.org/."},
        {"reference to a class", "A [List] here", "A List here"},
        {"reference to a member", "Calls [java.util.List#add(Object)].", "Calls List.add(Object)."},
        {"reference to an own member", "Then [#size()].", "Then size()."},
        {"reference with an array type", "Like [String#valueOf(char\\[\\])].", "Like String.valueOf(char[])."},
        {"labelled reference", "The [size][List#size()] of it", "The size of it"},
        {"brackets that name nothing", "a[i] and [x, y]", "a[i] and [x, y]"},
        {"link definitions are not shown", "[x]: https://x.org\nText", "Text"},
        {"html passes through", "<b>bold</b> and <i>it</i>", "bold and it"},
        {"html block kept as written", "<table>\n<tr><td>*a*</td></tr>\n</table>", "*a*"},
        {"heading text", "## Title ##\nBody", "Title|Body"},
        {"setext heading", "Title\n=====\nBody", "Title|Body"},
        {"backslash escapes", "\\*not\\* \\[x\\]", "*not* [x]"},
        {"inline tags still work", "See {@link java.util.Map#get(Object)} and {@code <T>}.",
            "See Map.get(Object) and <T>."},
        {"quotation", "> quoted *text*", "quoted text"},
    };
    for (const auto& c : cases) EXPECT_EQ(shownLines(c.markdown), QString(c.lines)) << c.what;
}

// Openers that never close stay text, however many of them a comment holds.
TEST(MarkdownComment, UnclosedOpenersAreText)
{
    for (const char* unit : {"[<", "[a](", "{@x", "<a"}) {
        const QString text = QString(unit).repeated(20'000);
        EXPECT_EQ(shownLines(text), text) << unit;
    }
}

TEST(MarkdownComment, BlockTagsSplitOutsideCode)
{
    const CommentParts parts = splitMarkdownComment(
        "Main `text`.\n```\n@notATag\n```\n@param x the `x`\n  value\n@return *it*\n@see [List]\n@since 23");
    EXPECT_EQ(markupLines(parts.description).join('|'), "Main text.|@notATag");
    ASSERT_EQ(parts.tags.size(), 4u);
    EXPECT_EQ(firstWord(parts.tags[0].text).first, "x");
    EXPECT_EQ(markupLines(parts.tags[0].text).join('|'), "x the x|value");
    EXPECT_EQ(markupLines(parts.tags[1].text).join('|'), "it");
    EXPECT_EQ(markupLines(parts.tags[2].text).join('|'), "List");
    EXPECT_EQ(parts.find("since")->text, "23");
}
