// Where a page's href points: the relative path against the page's place,
// the file name as a class, the anchor as a member in the target's spelling.

#include <gtest/gtest.h>

#include "javadoc/DocWriter.h"
#include "javadoc/LinkTarget.h"
#include "javadoc/PageText.h"

TEST(LinkTarget, HrefsOfEveryLayoutAndAnchorSpelling)
{
    const javadoc::PagePlace vector {{"java", "util"}, "Vector"};
    const javadoc::PagePlace dotted {{}, "java.util.Vector"};
    const struct {
        const javadoc::PagePlace& page;
        const char *href, *target;  // "" for no link
    } cases[] = {
        {vector, "../../java/util/Collection.html#add(E)", "java.util.Collection#add(E)"},
        {vector, "Collection.html#addAll(int,java.util.Collection)", "java.util.Collection#addAll(int,Collection)"},
        {vector, "List.html#toArray-T:A-", "java.util.List#toArray(T[])"},
        {vector, "#%3Cinit%3E(int)", "java.util.Vector#<init>(int)"},
        {vector, "Vector.html#Vector-int-", "java.util.Vector#<init>(int)"},
        {vector, "Map.Entry.html", "java.util.Map$Entry"},
        {vector, "../lang/Integer.html#MAX_VALUE", "java.lang.Integer#MAX_VALUE"},
        {vector, "../../../java.sql/java/sql/Date.html", "java.sql.Date"},
        {vector, "AbstractList.html#method-summary", "java.util.AbstractList"},
        {dotted, "java.util.Hashtable.html#put(java.lang.Object, java.lang.Object)",
            "java.util.Hashtable#put(Object,Object)"},
        {vector, "package-summary.html", ""},
        {vector, "class-use/Vector.html", ""},
        {vector, "../../../../index.html", ""},
        {vector, "https://example.org/Vector.html", ""},
        {vector, "#type-param-E", ""},
    };
    for (const auto& c : cases) {
        const std::optional<QString> target = javadoc::hrefTarget(c.page, QString::fromUtf8(c.href));
        EXPECT_EQ(target.value_or(QString()), QString::fromUtf8(c.target)) << c.href;
    }
}

// The spans land on the anchors' text in the written text: after entities
// are decoded, the line trimmed and indented, and the lines before it.
TEST(LinkTarget, SpansCoverTheAnchorsTextInTheWrittenText)
{
    std::vector<javadoc::DocLink> spans;
    const QString html = "  &nbsp;<code><a href=\"A.html\">&lt;T&gt; a</a></code> &amp; <a href='#b()'>b</a>";
    const QString line = javadoc::plainTextWithLinks(html, spans);
    ASSERT_EQ(line, javadoc::plainText(html));
    javadoc::DocWriter writer;
    writer.signature(u"void m()");
    writer.line(line, spans);
    QStringList covered;
    for (const javadoc::DocLink& link : writer.links())
        covered << writer.text().mid(link.start, link.length) + " " + link.target;
    EXPECT_EQ(covered, QStringList({"<T> a A.html", "b #b()"}));
}
