// Today's javadoc: module-layout roots (element-list) and HTML5 member sections.

#include <gtest/gtest.h>

#include "tests/support/PageFiles.h"

using namespace javadoc_test;

static const QStringList kHead = {"<meta name=\"generator\" content=\"javadoc/ClassWriterImpl\">"};
static const QString kSig = "<div class=\"member-signature\"><span class=\"modifiers\">public</span>&nbsp;";
static const QStringList kVector = kHead +
    QStringList {"<section class=\"detail\" id=\"&lt;init&gt;(int)\">",
        kSig + "<span>Vector</span><wbr><span>(int&nbsp;n)</span></div>",
        "<div class=\"block\">Constructs an empty vector.</div>", "</section>",
        "<section class=\"detail\" id=\"&lt;init&gt;(int,int)\">", kSig + "Vector(int&nbsp;a, int&nbsp;b)</div>",
        "</section>", "<section class=\"detail\" id=\"size()\">", kSig + "int&nbsp;size()</div>",
        "<div class=\"block\">Returns the count &amp; more &lt;E&gt;.</div>", "<dl class=\"notes\">",
        "<dt>Returns:</dt>", "<dd>the count</dd>", "</dl></section>",
        "<section class=\"detail\" id=\"insertElementAt(E,int)\">",
        "<div class=\"member-signature\"><span class=\"annotations\">@Deprecated(since=\"9\")",
        "</span><span class=\"modifiers\">public</span>&nbsp;void&nbsp;insertElementAt(<a href=\"V\">E</a>&nbsp;obj,",
        " int&nbsp;index)</span></div>", "<div class=\"block\">Inserts the object.",
        " <p>With &quot;q&quot; and &#39;a&#39;.</div>", "</section>"};
static const QString kSize =
    shown("public int size()", "  Returns the count & more <E>.\n  \n  RETURNS:\n  the count\n");
static const QString kCtor = shown("public Vector(int n)", "  Constructs an empty vector.\n");

// api/element-list with two modules; java.util listed twice, the first wins.
struct ModuleDocs {
    QTemporaryDir dir;
    QString api = dir.path() + "/api";
    ModuleDocs()
    {
        writePage(api, "element-list",
            {"module:java.base", "java.lang", "java.util", "module:java.desktop", "java.awt", "javax.swing",
                "java.util"});
        writePage(api, "java.base/java/util/Vector.html", kVector);
        for (QString page : {"java.base/java/util/Map.Entry getKey", "java.desktop/java/awt/Button getLabel"}) {
            const QString id = page.section(' ', 1) + "()";
            const QStringList lines = {"<section class=\"detail\" id=\"" + id + "\">", kSig + "int " + id + "</div>"};
            writePage(api, page.section(' ', 0, 0) + ".html", kHead + lines);
        }
    }
};

TEST(ModernPage, MembersByDetailSection)
{
    ModuleDocs docs;
    const struct {
        QString member;
        int commas;
        QString group, expected;
    } cases[] = {
        {"size", -1, "java.util.Vector", kSize},
        {"insertElementAt", 1, "java.util.Vector",
            shown("public void insertElementAt(E obj, int index)", "  Inserts the object.\n  With \"q\" and 'a'.\n")},
        {"Vector", 0, "constructors", kCtor},
        {"", 0, "java.util.Vector", kCtor},   // a group node: the first section with one parameter
        {"size", 2, "java.util.Vector", ""},  // "size()" has no parameters: no throws clause explains it
        {"Vector", 3, "constructors", ""},    // no such count, and not the only constructor
    };
    for (const auto& c : cases) {
        javadoc::DocRequest r = request(docs.api + "/java.base", c.member, c.commas, c.group);
        r.nameText = "java.util.Vector";
        EXPECT_EQ(javadoc::doit(r).text, c.expected) << c.member.toStdString() << c.commas;
    }
}

TEST(ModernPage, ModuleLayoutRoots)
{
    ModuleDocs docs;
    auto first = [](const javadoc::DocRequest& r) { return javadoc::doit(r).text.section('\n', 0, 0); };
    EXPECT_EQ(textOf(docs.api, "size", -1, "java.util.Vector"), kSize);  // the api folder as the root
    // A module folder as the root; the page lives in another module.
    const QString base = docs.api + "/java.base";
    EXPECT_EQ(first(request(base, "getLabel", -1, "java.awt.Button")), "  public int getLabel()");
    // Nested classes are written with "$" by the class library and "." by javadoc.
    EXPECT_EQ(first(request(base + "/", "getKey", -1, "java.util.Map$Entry")), "  public int getKey()");
    // (a Swing class under the old naming by the second root: PageLinks over the installed JDK)
    // A constructors group that kept its package name: the class the constructor names.
    EXPECT_EQ(textOf(docs.api + "/java.desktop", "Vector", 0, "java.util"), kCtor);
    EXPECT_FALSE(javadoc::doit(request(docs.api, "x", -1, "org.example.Nope")).pageOpened);
}

TEST(ModernPage, ClassicPagesReadTheEraWay)
{
    // An era page at the first candidate wins over the module layout; a page with
    // the generator tag but no detail sections is read the era way too.
    ModuleDocs docs;
    const QStringList era = {"<a name=\"constructors\"></a>", " public int size()", "  <dd> Era text.", "</dl>"};
    writePage(docs.api, "java.util.Vector.html", era);
    writePage(docs.api, "p.Q.html", kHead + era);
    for (const char* page : {"java.util.Vector", "p.Q"})
        EXPECT_EQ(textOf(docs.api, "size", -1, page), shown("public int size()", "  Era text.\n")) << page;
}

TEST(ModernPage, BadInput)
{
    // element-list that is binary, or lists no module: no third candidate.
    for (const QByteArray& list : {QByteArray("\x00\xff\x01module\n\xfe", 10), QByteArray("java.util\n")}) {
        QTemporaryDir dir;
        writeFile(dir.path() + "/element-list", list);
        writePage(dir.path(), "java.base/java/util/Vector.html", kVector);
        EXPECT_FALSE(javadoc::doit(request(dir.path(), "size", -1, "java.util.Vector")).pageOpened);
    }
    const QString sig = "<div class=\"member-signature\">public int size(";
    const struct {
        QStringList body;
        int commas;
        QString expected;
    } pages[] = {
        {{"<section class=\"detail\" id=\"size()\">", sig + ")</div>", "<div>No end."}, -1,
            shown("public int size()", "  No end.\n")},
        {{"<section class=\"detail\" id=\"size((\">", "<section class=\"detail\" id=\"size)\">",
             "<section class=\"detail\" id=\"size(", "<section class=\"detail\" id=\"(\">",
             "<section class=\"detail\" id=\"size(int\">", sig + "int</div>"},
            0, shown("public int size(int")},
    };
    QTemporaryDir dir;
    for (const auto& p : pages) {
        writePage(dir.path(), "p.Q.html", kHead + p.body);
        EXPECT_EQ(textOf(dir.path(), "size", p.commas, "p.Q"), p.expected);
    }
}
