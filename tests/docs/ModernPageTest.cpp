// Today's javadoc: module-layout roots (element-list) and HTML5 member sections.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PageFiles.h"
#include "docs/Extractor.h"

using docs_test::request;
using docs_test::rule;
using docs_test::writeFile;
using docs_test::writePage;

namespace {

const QStringList kHead = {
    "<!DOCTYPE HTML>",
    "<html lang=\"en\">",
    "<head>",
    "<title>Vector</title>",
    "<meta name=\"generator\" content=\"javadoc/ClassWriterImpl\">",
    "<meta name=\"keywords\" content=\"size()\">",
    "</head>",
    "<body class=\"class-declaration-page\">",
    "<li><a href=\"../../../index.html\">Overview</a></li>",
};

const QStringList kVectorBody = {
    "<section class=\"constructor-details\" id=\"constructor-detail\">",
    "<h2>Constructor Details</h2>",
    "<ul class=\"member-list\">",
    "<li>",
    "<section class=\"detail\" id=\"&lt;init&gt;(int)\">",
    "<h3>Vector</h3>",
    "<div class=\"member-signature\"><span class=\"modifiers\">public</span>&nbsp;<span "
    "class=\"element-name\">Vector</span><wbr><span class=\"parameters\">(int&nbsp;initialCapacity)</span></div>",
    "<div class=\"block\">Constructs an empty vector.</div>",
    "<dl class=\"notes\">",
    "<dt>Parameters:</dt>",
    "<dd><code>initialCapacity</code> - the initial capacity</dd>",
    "</dl>",
    "</section>",
    "</li>",
    "</ul>",
    "</section>",
    "<section class=\"detail\" id=\"&lt;init&gt;(int,int)\">",
    "<div class=\"member-signature\">public&nbsp;Vector(int&nbsp;a, int&nbsp;b)</div>",
    "</section>",
    "<section class=\"method-details\" id=\"method-detail\">",
    "<h2>Method Details</h2>",
    "<section class=\"detail\" id=\"elementCount\">",
    "<h3>elementCount</h3>",
    "</section>",
    "<section class=\"detail\" id=\"size()\">",
    "<h3>size</h3>",
    "<div class=\"member-signature\"><span class=\"modifiers\">public</span>&nbsp;<span "
    "class=\"return-type\">int</span>&nbsp;<span class=\"element-name\">size</span>()</div>",
    "<div class=\"block\">Returns the number of components &amp; more &lt;E&gt;.</div>",
    "<dl class=\"notes\">",
    "<dt>Returns:</dt>",
    "<dd>the number of components in this vector</dd>",
    "<dt>Since:</dt>",
    "<dd>1.2</dd>",
    "</dl>",
    "</section>",
    "<section class=\"detail\" id=\"insertElementAt(E,int)\">",
    "<h3 id=\"insertElementAt(java.lang.Object,int)\">insertElementAt</h3>",
    "<div class=\"member-signature\"><span class=\"annotations\">@Deprecated(since=\"9\")",
    "</span><span class=\"modifiers\">public</span>&nbsp;<span class=\"return-type\">void</span>&nbsp;<span "
    "class=\"element-name\">insertElementAt</span><wbr><span class=\"parameters\">(<a href=\"Vector.html\" "
    "title=\"type parameter in Vector\">E</a>&nbsp;obj,",
    " int&nbsp;index)</span></div>",
    "<div class=\"block\">Inserts the object.",
    " <p>Second line with &quot;quotes&quot; and &#39;apostrophes&#39;.</div>",
    "</section>",
    "</section>",
    "</body></html>",
};

QString sizeText()
{
    return "  public int size()\n" + rule()
        + "\n  Returns the number of components & more <E>.\n  \n  RETURNS:\n"
          "  the number of components in this vector\n  \n  SINCE:\n  1.2\n";
}

QString ctorText()
{
    return "  public Vector(int initialCapacity)\n" + rule()
        + "\n  Constructs an empty vector.\n  \n  PARAMETERS:\n  initialCapacity - the initial capacity\n";
}

QStringList memberPage(const QString& id, const QString& name)
{
    return kHead + QStringList{
        "<section class=\"detail\" id=\"" + id + "\">",
        "<div class=\"member-signature\"><span class=\"modifiers\">public</span>&nbsp;" + name + "()</div>",
        "<div class=\"block\">About " + name + ".</div>",
        "</section>",
    };
}

// api/element-list with two modules; java.util listed twice, the first wins.
struct ModuleDocs {
    QTemporaryDir dir;
    QString api;
    ModuleDocs()
    {
        api = dir.path() + "/api";
        writePage(api, "element-list",
                  {"module:java.base", "java.lang", "java.util", "module:java.desktop", "java.awt",
                   "javax.swing", "java.util"});
        writePage(api, "java.base/java/util/Vector.html", kHead + kVectorBody);
        writePage(api, "java.base/java/lang/Object.html", memberPage("hashCode()", "int hashCode"));
        writePage(api, "java.base/java/util/Map.Entry.html", memberPage("getKey()", "K getKey"));
        writePage(api, "java.desktop/javax/swing/JTree.html", memberPage("getRowCount()", "int getRowCount"));
        writePage(api, "java.desktop/java/awt/Button.html", memberPage("getLabel()", "String getLabel"));
    }
};

TEST(ModernPage, MembersByDetailSection)
{
    ModuleDocs docs;
    const QString base = docs.api + "/java.base";
    const struct {
        QString member;
        int commas;
        QString group;
        QString expected;
    } cases[] = {
        {"size", -1, "java.util.Vector", sizeText()},
        {"insertElementAt", 1, "java.util.Vector",
         "  public void insertElementAt(E obj, int index)\n" + rule()
             + "\n  Inserts the object.\n  Second line with \"quotes\" and 'apostrophes'.\n"},
        {"Vector", 0, "constructors", ctorText()},
        {"", 0, "java.util.Vector", ctorText()},  // a group node: the first section with one parameter
        {"size", 2, "java.util.Vector", ""},  // "size()" has no parameters: no throws clause explains it
        {"Vector", 3, "constructors", ""},            // no such count, and not the only constructor
        {"elementCount", 0, "java.util.Vector", ""},  // fields are not members here
    };
    for (const auto& c : cases) {
        docs::DocRequest r = request(base, c.member, c.commas, c.group);
        r.nameText = "java.util.Vector";
        const docs::DocResult result = docs::doit(r);
        EXPECT_TRUE(result.pageOpened) << c.member.toStdString();
        EXPECT_EQ(result.text, c.expected) << c.member.toStdString();
    }
}

TEST(ModernPage, ModuleLayoutRoots)
{
    ModuleDocs docs;
    auto first = [](const docs::DocResult& r) { return r.text.section('\n', 0, 0); };

    // The api folder itself as the root.
    EXPECT_EQ(docs::doit(request(docs.api, "size", -1, "java.util.Vector")).text, sizeText());
    // A module folder as the root; the page lives in another module.
    EXPECT_EQ(first(docs::doit(request(docs.api + "/java.base", "getLabel", -1, "java.awt.Button"))),
              "  public String getLabel()");
    // Nested classes are written with "$" by the class library and "." by javadoc.
    EXPECT_EQ(first(docs::doit(request(docs.api + "/java.base/", "getKey", -1, "java.util.Map$Entry"))),
              "  public K getKey()");

    // A Swing class under the old naming: its own page by the second candidate,
    // what it inherits from java.lang.Object through the element-list.
    docs::DocRequest r = request("", "getRowCount", -1, "com.sun.java.swing.JTree");
    r.docpath2 = docs.api + "/java.desktop";
    EXPECT_EQ(first(docs::doit(r)), "  public int getRowCount()");
    r.groupName = "java.lang.Object";
    r.memberName = "hashCode";
    EXPECT_EQ(first(docs::doit(r)), "  public int hashCode()");

    // A constructors group that kept its package name: the class the constructor names.
    docs::DocRequest pkg = request(docs.api + "/java.desktop", "Vector", 0, "java.util");
    EXPECT_EQ(docs::doit(pkg).text, ctorText());

    // Not listed anywhere: no page.
    const docs::DocResult missing = docs::doit(request(docs.api, "x", -1, "org.example.Nope"));
    EXPECT_FALSE(missing.pageOpened);
}

TEST(ModernPage, ClassicCandidatesComeFirst)
{
    ModuleDocs docs;
    // An era page at the first candidate wins over the module layout and is
    // read the era way.
    writePage(docs.api, "java.util.Vector.html",
              {"<a name=\"constructors\"></a>", " public int size()", "  <dd> Era text.", "</dl>"});
    EXPECT_EQ(docs::doit(request(docs.api, "size", -1, "java.util.Vector")).text,
              "  public int size()\n" + rule() + "\n  Era text.\n");
}

TEST(ModernPage, GeneratorTagWithoutDetailSectionsReadsTheEraWay)
{
    QTemporaryDir dir;
    writePage(dir.path(), "p.Q.html",
              kHead + QStringList{"<a name=\"constructors\"></a>", " public int size()", "  <dd> Era text.", "</dl>"});
    EXPECT_EQ(docs::doit(request(dir.path(), "size", -1, "p.Q")).text,
              "  public int size()\n" + rule() + "\n  Era text.\n");
}

TEST(ModernPage, BadInput)
{
    // element-list that is binary, or lists no module: no third candidate.
    for (const QByteArray& list : {QByteArray("\x00\xff\x01module\n\xfe", 10), QByteArray("java.util\n")}) {
        QTemporaryDir dir;
        writeFile(dir.path(), "element-list", list);
        writePage(dir.path(), "java.base/java/util/Vector.html", kHead + kVectorBody);
        EXPECT_FALSE(docs::doit(request(dir.path(), "size", -1, "java.util.Vector")).pageOpened);
    }

    QTemporaryDir dir;
    const struct {
        QStringList body;
        QString member;
        int commas;
        QString expected;
    } pages[] = {
        {{"<section class=\"detail\" id=\"size()\">",
          "<div class=\"member-signature\">public int size()</div>", "<div>No end."},
         "size", -1, "  public int size()\n" + rule() + "\n  No end.\n"},
        {{"<section class=\"detail\" id=\"size((\">", "<section class=\"detail\" id=\"size)\">",
          "<section class=\"detail\" id=\"size(", "<section class=\"detail\" id=\"(\">",
          "<section class=\"detail\" id=\"size(int\">",
          "<div class=\"member-signature\">public int size(int</div>", "</section>"},
         "size", 0, "  public int size(int\n" + rule() + "\n"},
        {{"<section class=\"detail\" id=\"size()\">", "<div class=\"member-signature\">public int size(",
          "</section>"},
         "size", -1, "  public int size(\n" + rule() + "\n"},
    };
    for (const auto& p : pages) {
        writePage(dir.path(), "p.Q.html", kHead + p.body);
        EXPECT_EQ(docs::doit(request(dir.path(), p.member, p.commas, "p.Q")).text, p.expected);
    }
}

}  // namespace
