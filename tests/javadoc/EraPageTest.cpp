// The classic pages: the worked "scale" examples in both markups,
// the reading rules' edge cases, page choice and broken pages (arbitrary bytes
// as a page are the extractor fuzzer's).

#include <gtest/gtest.h>

#include "tests/support/PageFiles.h"

using namespace javadoc_test;

static const QStringList kHead = {"<HTML><BODY>", "<TABLE><TR><TD><B>Constructor Detail</B></TD></TR></TABLE>"};

TEST(EraPage, ScaleWorkedExamplesInBothMarkups)
{
    const struct {
        QStringList lines;
        QString expected;
    } markups[] = {
        {kHead +
                QStringList {"public void <B>scale</B>(int&nbsp;w,", "   int&nbsp;h)</PRE>", "<DL>",
                    "<DD>Scales the shape.", "<P>", "<DT><B>Parameters:</B><DD><CODE>w</CODE> - new width</DL>",
                    "</DD>", "<HR>", "public void <B>other</B>(int&nbsp;x)"},
            shown("public void scale(int w, int h)", "  Scales the shape.\n  .\n  PARAMETERS: w - new width\n")},
        {{"<html><body>", "<a name=\"constructors\"></a>", " public void scale(int w,", "int h)", "<dl>",
             "  <dd> Scales the shape.", "    <dt> <b>Parameters:</b>", "    <dd> w - new width", "  </dl></dd>",
             " public void other(int x)"},
            shown("public void scale(int w, int h)", "  Scales the shape.\n  \n  PARAMETERS:\n  w - new width\n")},
    };
    // (Both page layouts: PageChoice here, and the generations' folder pages.)
    for (const auto& markup : markups) {
        QTemporaryDir dir;
        writePage(dir.path(), "java.awt.Shape.html", markup.lines);
        EXPECT_EQ(textOf(dir.path(), "scale", 1, "java.awt.Shape"), markup.expected);
    }
}

TEST(EraPage, ReadingRules)
{
    const QString size = "public int <B>size</B>()", appendInt = "public StringBuffer <B>append</B>(int&nbsp;i)";
    const QString appended = shown("public StringBuffer append(int i)", "  Appends an int.\n");
    const struct {
        const char* what;
        QStringList body;
        QString member;
        int commas;
        QString expected;
    } cases[] = {
        {"overloads with equal comma counts give the first",
            {appendInt, "<DD>Appends an int.", "<HR>", "public StringBuffer <B>append</B>(String&nbsp;s)",
                "<DD>Appends a string.", "<HR>"},
            "append", 0, appended},
        {"a group node: the first public one-parameter member",
            {"public void <B>scale</B>(int&nbsp;w, int&nbsp;h)", "<DD>Scales.", "<HR>", appendInt,
                "<DD>Appends an int.", "<HR>"},
            "", 0, appended},
        {"<HR> on the member's own line", {size + "<HR>", "<DD>Size."}, "size", -1, ""},
        {"Overview pauses until an opening marker; an end marker ends a paused block",
            {size, "<DD>Gives the size.", "<DD>See the Overview page.", "<DD>Hidden.", "<DD>Back in the constructors.",
                "<DD>Shown again.", "All Packages", "<DD>Hidden.", "See Also", "<DD>constructors", "<DD>Never."},
            "size", -1, shown("public int size()", "  Gives the size.\n  Back in the constructors.\n  Shown again.\n")},
        {"the upper-case Method Detail heading",
            {size, "<DD>Gives the size.", "<B>Method Detail</B></FONT></TD>", "</TR>", "<DD>Never."}, "size", -1,
            shown("public int size()", "  Gives the size.\n  \n\n  Method Detail\n")},
        {"a label with text after it", {"public void <B>close</B>()", "<DD>Closes.", "<b>Throws:</b> IOException"},
            "close", -1, shown("public void close()", "  Closes.\n  \n  THROWS:\n   IOException\n")},
        {"a three-line signature joins only its first two",
            {"public void <B>m</B>(int&nbsp;a,", "int&nbsp;b,", "int&nbsp;c)", "<DD>Three.", "<HR>"}, "m", 2,
            shown("public void m(int a, int b,", "  int c)\n  Three.\n")},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        writePage(dir.path(), "p.Q.html", kHead + c.body);
        EXPECT_EQ(textOf(dir.path(), c.member, c.commas, "p.Q"), c.expected) << c.what;
    }
}

TEST(EraPage, TenThousandPasses)
{
    // Joined lines count once: a continuation in the filler must not shift the limit.
    for (int memberLine : {10000, 10001}) {
        QStringList lines = kHead + QStringList {"filler,", "joined"};
        while (lines.size() < memberLine) lines << "filler";
        QTemporaryDir dir;
        writePage(dir.path(), "p.Q.html",
            lines << "public int <B>size</B>()"
                  << "<DD>Size."
                  << "<HR>");
        EXPECT_EQ(textOf(dir.path(), "size", -1, "p.Q"), memberLine == 10000 ? shown("public int size()") : "");
    }
}

TEST(EraPage, PageChoice)
{
    QTemporaryDir main, swing;
    const struct {
        const QTemporaryDir& root;
        const char *page, *text;
    } pages[] = {{main, "java.awt.Container", "main dotted"}, {main, "java/awt/Container", "main folders"},
        {swing, "java/awt/Container", "swing folders"}, {swing, "javax/swing/JTree", "swing JTree"},
        {main, "java.util.Vector", "vector"}, {main, "java.util.Edited", "edited"}};
    for (const auto& p : pages)
        writePage(p.root.path(), p.page + QString(".html"), kHead + QStringList {"public int <B>size</B>()", p.text});
    javadoc::DocRequest r = request(main.path(), "size", -1, "java.awt.Container");
    r.docpath2 = swing.path();
    auto run = [&] { return javadoc::doit(r).text.section('\n', 2, 2).mid(2); };
    EXPECT_EQ(run(), "main dotted");  // the first candidate wins
    r.name2 = "com.sun.java.swing.JTree";
    EXPECT_EQ(run(), "swing folders");  // inherited java.awt member of a Swing class
    r.groupName = "com.sun.java.swing.JTree";
    EXPECT_EQ(run(), "swing JTree");  // "com\sun\java" becomes "javax"
    r.name2 = "java.util.Vector";
    r.groupName = "constructors";
    r.nameText = "java.util.Edited";
    EXPECT_EQ(run(), "edited");  // the field's current text names the page
    r.selectionCount = 0;
    EXPECT_EQ(run(), "vector");  // nothing selected: name2 names the page
}

TEST(EraPage, MissingFolderAndBrokenPages)
{
    QTemporaryDir dir, bad;
    const javadoc::DocRequest r = request(dir.path(), "size", -1, "p.Q");
    EXPECT_FALSE(javadoc::doit(r).pageOpened);
    QDir(dir.path()).mkpath("p.Q.html");  // a folder where the page should be
    EXPECT_TRUE(javadoc::doit(r).pageOpened);
    EXPECT_EQ(javadoc::doit(r).text, "");
    const struct {
        QByteArray bytes;
        QString expected;
    } pages[] = {
        {"Constructor Detail public int <B>size</B>() <HR>" + QByteArray(200000, 'x'), ""},  // no line end
        {(kHead.join('\n') + "\npublic int <B>size</B>()\n<DD>bad ").toUtf8() + "\xff\xfe\xc3 bytes\n<HR>\n",
            shown("public int size()", "  bad \uFFFD\uFFFD\uFFFD bytes\n")},
    };
    for (const auto& p : pages) {
        writeFile(bad.path() + "/p.Q.html", p.bytes);
        const javadoc::DocResult result = javadoc::doit(request(bad.path(), "size", -1, "p.Q"));
        EXPECT_TRUE(result.pageOpened);
        EXPECT_EQ(result.text, p.expected);
    }
}
