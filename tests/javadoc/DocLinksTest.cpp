// Where a page's href points: the relative path against the page's place,
// the file name as a class, the anchor as a member in the target's spelling.

#include <gtest/gtest.h>

#include "javadoc/DocWriter.h"
#include "javadoc/LinkTarget.h"
#include "javadoc/PageText.h"
#include "tests/support/PageFiles.h"

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

namespace {

// The links on the text's first line, the signature, as "text target".
QStringList signatureLinks(const javadoc::DocResult& result)
{
    QStringList linked;
    const qsizetype lineEnd = result.text.indexOf('\n');
    for (const javadoc::DocLink& link : result.links)
        if (link.start < lineEnd)
            linked << result.text.mid(link.start, link.length) + " " + link.target;
    return linked;
}

}  // namespace

// The signature links the types and exceptions its page links; its text is
// the same as without them. A Swing class by its old name is read from the
// second root, its inherited members from their own class's page.
TEST(PageLinks, SignatureLinesOfTheInstalledJdk)
{
    const QString api = "/usr/share/doc/openjdk-17-jre-headless/api";
    if (!QDir(api + "/java.base").exists() || !QDir(api + "/java.desktop").exists())
        GTEST_SKIP() << "openjdk-17-doc is not installed";
    const char* jtree = "com.sun.java.swing.JTree";
    const struct {
        const char *name2, *group, *member;
        QStringList types;
        const char* signature;
        QStringList linked;
    } cases[] = {
        {"java.util.Vector", "java.util.Vector", "add", {"int", "Object"}, "public void add(int index, E element)",
            {"E java.util.Vector"}},
        {"java.util.Vector", "constructors", "Vector", {"int", "int"},
            "public Vector(int initialCapacity, int capacityIncrement)", {}},
        {"java.util.HashMap", "java.util.HashMap", "put", {"Object", "Object"}, "public V put(K key, V value)",
            {"V java.util.HashMap", "K java.util.HashMap", "V java.util.HashMap"}},
        {"java.lang.Object", "java.lang.Object", "wait", {"long"},
            "public final void wait(long timeoutMillis) throws InterruptedException",
            {"InterruptedException java.lang.InterruptedException"}},
        {"java.lang.Class", "java.lang.Class", "getMethods", {},
            "public Method[] getMethods() throws SecurityException",
            {"Method java.lang.reflect.Method", "SecurityException java.lang.SecurityException"}},
        {jtree, jtree, "getRowCount", {}, "public int getRowCount()", {}},
        {jtree, "constructors", "JTree", {}, "public JTree()", {}},
        {jtree, "java.awt.Container", "getComponentCount", {}, "public int getComponentCount()", {}},
    };
    for (const auto& c : cases) {
        javadoc::DocRequest r =
            javadoc_test::request(api + "/java.base", c.member, std::max(int(c.types.size()) - 1, 0), c.group);
        r.name2 = r.nameText = c.name2;
        r.docpath2 = api + "/java.desktop";
        r.paramTypes = c.types;
        const javadoc::DocResult result = javadoc::doit(r);
        const QStringList lines = result.text.split('\n');
        ASSERT_GE(lines.size(), 3) << c.group << c.member;
        EXPECT_EQ(lines[0] + '\n' + lines[1] + '\n', javadoc_test::shown(c.signature)) << c.group << c.member;
        EXPECT_FALSE(lines[2].trimmed().isEmpty()) << c.group << c.member;
        EXPECT_EQ(signatureLinks(result), c.linked) << c.group << c.member;
    }
}

// Older markup: a javadoc 6 signature over lines with a linked annotation
// before it (left out of the line, and so its link) and a linked exception;
// a javadoc 8 one whose type variables link their class.
TEST(PageLinks, SignatureLinesOfOlderGenerations)
{
    const QString head =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<HTML><HEAD></HEAD><BODY>\n";
    const struct {
        const char *group, *member;
        int commas;
        const char *body, *signature;
        QStringList linked;
    } cases[] = {
        {"java.lang.Object", "wait", 0,
            "<A NAME=\"wait(long)\"><!-- --></A><H3>\nwait</H3>\n<PRE>\n"
            "<A HREF=\"../../java/lang/Deprecated.html\" title=\"annotation in java.lang\">@Deprecated</A>\n"
            "public final void <B>wait</B>(long&nbsp;timeout)\n"
            "                throws <A "
            "HREF=\"../../java/lang/InterruptedException.html\">InterruptedException</A></PRE>\n"
            "<DL><DD>Causes the current thread to wait.</DL>\n<HR>\n",
            "public final void wait(long timeout) throws InterruptedException",
            {"InterruptedException java.lang.InterruptedException"}},
        {"java.util.HashMap", "put", 1,
            "<a name=\"put-K-V-\">\n<!--   -->\n</a>\n<ul class=\"blockList\">\n<li "
            "class=\"blockList\">\n<h4>put</h4>\n"
            "<pre>public&nbsp;<a href=\"../../java/util/HashMap.html\" title=\"type parameter in HashMap\">V</a>&nbsp;"
            "put(<a href=\"../../java/util/HashMap.html\" title=\"type parameter in HashMap\">K</a>&nbsp;key,\n"
            "             <a href=\"../../java/util/HashMap.html\">V</a>&nbsp;value)</pre>\n"
            "<div class=\"block\">Associates the value.</div>\n</li>\n</ul>\n",
            "public V put(K key, V value)", {"V java.util.HashMap", "K java.util.HashMap", "V java.util.HashMap"}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        QString relative = c.group;
        javadoc_test::writeFile(
            dir.path(), relative.replace('.', '/') + ".html", (head + c.body + "</BODY>\n").toUtf8());
        const javadoc::DocResult result = javadoc::doit(javadoc_test::request(dir.path(), c.member, c.commas, c.group));
        EXPECT_TRUE(result.text.startsWith(javadoc_test::shown(c.signature))) << result.text.toStdString();
        EXPECT_EQ(signatureLinks(result), c.linked) << c.member;
    }
}
