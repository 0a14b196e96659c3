// The classic pages: the worked "scale" examples in both markups and layouts,
// and the reading rules' edge cases, on pages written by the tests.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "PageFiles.h"
#include "docs/Extractor.h"

using docs_test::request;
using docs_test::rule;
using docs_test::writeFile;
using docs_test::writePage;

namespace {

const QStringList kUpperHead = {
    "<HTML>",
    "<HEAD><TITLE>Page</TITLE></HEAD>",
    "<BODY>",
    "<A NAME=\"constructor_detail\"><!-- --></A>",
    "<TABLE><TR><TD><FONT SIZE=\"+2\"><B>Constructor Detail</B></FONT></TD></TR></TABLE>",
};

const QStringList kUpperScale = {
    "public void <B>scale</B>(int&nbsp;w,",
    "   int&nbsp;h)</PRE>",
    "<DL>",
    "<DD>Scales the shape.",
    "<P>",
    "<DT><B>Parameters:</B><DD><CODE>w</CODE> - new width</DL>",
    "</DD>",
    "<HR>",
    "public void <B>other</B>(int&nbsp;x)",
};

const QStringList kLowerScale = {
    "<html><body>",
    "<a name=\"constructors\"></a>",
    " public void scale(int w,",
    "int h)",
    "<dl>",
    "  <dd> Scales the shape.",
    "    <dt> <b>Parameters:</b>",
    "    <dd> w - new width",
    "  </dl></dd>",
    " public void other(int x)",
};

QString upperScaleResult()
{
    return "  public void scale(int w, int h)\n" + rule()
        + "\n  Scales the shape.\n  .\n  PARAMETERS: w - new width\n";
}

QString lowerScaleResult()
{
    return "  public void scale(int w, int h)\n" + rule()
        + "\n  Scales the shape.\n  \n  PARAMETERS:\n  w - new width\n";
}

TEST(EraPage, ScaleWorkedExamplesInBothMarkupsAndLayouts)
{
    const struct {
        QStringList lines;
        QString expected;
    } markups[] = {{kUpperHead + kUpperScale, upperScaleResult()},
                   {kLowerScale, lowerScaleResult()}};
    for (const auto& markup : markups) {
        for (const char* layout : {"java.awt.Shape.html", "java/awt/Shape.html"}) {
            QTemporaryDir dir;
            writePage(dir.path(), layout, markup.lines);
            const docs::DocResult r = docs::doit(request(dir.path(), "scale", 1, "java.awt.Shape"));
            EXPECT_TRUE(r.pageOpened) << layout;
            EXPECT_EQ(r.text, markup.expected) << layout;
        }
    }
}

TEST(EraPage, ReadingRules)
{
    const struct {
        const char* what;
        QStringList body;
        QString member;
        int commas;
        QString expected;
    } cases[] = {
        {"overloads with equal comma counts give the first",
         {"public StringBuffer <B>append</B>(int&nbsp;i)", "<DD>Appends an int.", "<HR>",
          "public StringBuffer <B>append</B>(String&nbsp;s)", "<DD>Appends a string.", "<HR>"},
         "append", 0, "  public StringBuffer append(int i)\n" + rule() + "\n  Appends an int.\n"},
        {"a group node: the first public one-parameter member",
         {"public void <B>scale</B>(int&nbsp;w, int&nbsp;h)", "<DD>Scales.", "<HR>",
          "public StringBuffer <B>append</B>(int&nbsp;i)", "<DD>Appends an int.", "<HR>"},
         "", 0, "  public StringBuffer append(int i)\n" + rule() + "\n  Appends an int.\n"},
        {"<HR> on the member's own line", {"public int <B>size</B>()<HR>", "<DD>Size."}, "size", -1, ""},
        {"</TR> on the member's own line", {"public int <B>size</B>()</TR>", "<DD>Size."}, "size", -1, ""},
        {"Overview pauses until an opening marker",
         {"public int <B>size</B>()", "<DD>Gives the size.", "<DD>See the Overview page.",
          "<DD>Hidden line.", "<DD>Back in the constructors.", "<DD>Shown again.", "<HR>",
          "<DD>Never."},
         "size", -1,
         "  public int size()\n" + rule() + "\n  Gives the size.\n  Back in the constructors.\n  Shown again.\n"},
        {"an end marker ends a paused block",
         {"public int <B>size</B>()", "<DD>One.", "All Packages", "<DD>Hidden.", "See Also", "<DD>constructors"},
         "size", -1, "  public int size()\n" + rule() + "\n  One.\n"},
        {"the upper-case Method Detail heading",
         {"public int <B>size</B>()", "<DD>Gives the size.", "<B>Method Detail</B></FONT></TD>",
          "</TR>", "<DD>Never."},
         "size", -1, "  public int size()\n" + rule() + "\n  Gives the size.\n  \n\n  Method Detail\n"},
        {"a label with text after it",
         {"public void <B>close</B>()", "<DD>Closes.", "<b>Throws:</b> IOException", "<HR>"},
         "close", -1, "  public void close()\n" + rule() + "\n  Closes.\n  \n  THROWS:\n   IOException\n"},
        {"labels alone and inside a line",
         {"public int <B>size</B>()", "Returns:", "see Specified by: and Overrides: here", "<HR>"},
         "size", -1,
         "  public int size()\n" + rule() + "\n  \n  RETURNS:\n  see SPECIFIED BY: and OVERRIDES: here\n"},
        {"a signature over four lines joins only one",
         {"public void <B>m</B>(int&nbsp;a,", "int&nbsp;b,", "int&nbsp;c,", "int&nbsp;d)", "<DD>Four.", "<HR>"},
         "m", 3, ""},
        {"short lines after short lines are dropped",
         {"public int <B>size</B>()", "<P>", "ab", "xy", "<DD>Long enough.", "ab", "<HR>"},
         "size", -1, "  public int size()\n" + rule() + "\n  Long enough.\n  ab\n"},
        {"member name with pattern characters",
         {"public int <B>a.*+</B>()", "<DD>Odd.", "<HR>"}, "a.*+", -1,
         "  public int a.*+()\n" + rule() + "\n  Odd.\n"},
        {"name must stand after public",
         {"size( public int x)", "<DD>No.", "<HR>", "public int <B>size</B>()", "<DD>Yes.", "<HR>"},
         "size", -1, "  public int size()\n" + rule() + "\n  Yes.\n"},
        {"more than 25 tags leave the rest",
         {"public int <B>size</B>()",
          "<i></i><i></i><i></i><i></i><i></i><i></i><i></i><i></i><i></i><i></i><i></i><i></i><i></i>x",
          "<HR>"},
         "size", -1, "  public int size()\n" + rule() + "\n  </i>x\n"},
        {"unclosed tag", {"public int <B>size</B>()", "a <b text", "<HR>"}, "size", -1,
         "  public int size()\n" + rule() + "\n  a <b text\n"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        writePage(dir.path(), "p.Q.html", kUpperHead + c.body);
        const docs::DocResult r = docs::doit(request(dir.path(), c.member, c.commas, "p.Q"));
        EXPECT_TRUE(r.pageOpened) << c.what;
        EXPECT_EQ(r.text, c.expected) << c.what;
    }
}

TEST(EraPage, TenThousandPasses)
{
    // Joined lines count once: a continuation in the filler must not shift the limit.
    for (int memberLine : {10000, 10001}) {
        QStringList lines = kUpperHead;
        lines << "filler," << "joined";
        while (lines.size() < memberLine)
            lines << "filler";
        lines << "public int <B>size</B>()" << "<DD>Size." << "<HR>";
        QTemporaryDir dir;
        writePage(dir.path(), "p.Q.html", lines);
        const QString text = docs::doit(request(dir.path(), "size", -1, "p.Q")).text;
        // lines.size() - 1 passes precede the member line (the joined pair is one).
        if (memberLine == 10000)
            EXPECT_EQ(text, "  public int size()\n" + rule() + "\n");
        else
            EXPECT_EQ(text, "");
    }
}

TEST(EraPage, PageChoice)
{
    QTemporaryDir main, swing;
    const QStringList body = {"public int <B>size</B>()", "<DD>TEXT", "<HR>"};
    auto page = [&](const QString& root, const QString& rel, const char* text) {
        QStringList lines = kUpperHead + body;
        lines[lines.size() - 2] = QString("<DD>") + text;
        writePage(root, rel, lines);
    };
    page(main.path(), "java.awt.Container.html", "main dotted");
    page(main.path(), "java/awt/Container.html", "main folders");
    page(swing.path(), "java/awt/Container.html", "swing folders");
    page(swing.path(), "javax/swing/JTree.html", "swing JTree");
    page(main.path(), "java.util.Vector.html", "vector");
    page(main.path(), "java.util.Edited.html", "edited");

    auto run = [&](docs::DocRequest r) {
        r.docpath = main.path();
        r.docpath2 = swing.path();
        const QString text = docs::doit(r).text;
        const qsizetype at = text.lastIndexOf("\n  ");
        return at < 0 ? text : text.mid(at + 3).chopped(1);
    };
    docs::DocRequest r = request(main.path(), "size", -1, "java.awt.Container");
    EXPECT_EQ(run(r), "main dotted");  // the first candidate wins
    r.name2 = "com.sun.java.swing.JTree";
    EXPECT_EQ(run(r), "swing folders");  // inherited java.awt member of a Swing class
    r.groupName = "com.sun.java.swing.JTree";
    EXPECT_EQ(run(r), "swing JTree");  // "com\sun\java" becomes "javax"
    r.name2 = "java.util.Vector";
    r.groupName = "constructors";
    r.nameText = "java.util.Edited";
    EXPECT_EQ(run(r), "edited");  // the field's current text names the page
    r.selectionCount = 0;
    EXPECT_EQ(run(r), "vector");  // nothing selected: name2 names the page
    r.docpath += "/";
    EXPECT_EQ(run(r), "vector");  // a trailing separator on the root
}

TEST(EraPage, MissingFolderAndBrokenPages)
{
    QTemporaryDir dir;
    docs::DocRequest r = request(dir.path(), "size", -1, "p.Q");
    docs::DocResult none = docs::doit(r);
    EXPECT_FALSE(none.pageOpened);
    EXPECT_EQ(none.text, "");

    QDir(dir.path()).mkpath("p.Q.html");  // a folder where the page should be
    docs::DocResult folder = docs::doit(r);
    EXPECT_TRUE(folder.pageOpened);
    EXPECT_EQ(folder.text, "");

    QTemporaryDir bad;
    r.docpath = bad.path();
    QByteArray binary;
    for (unsigned i = 0; i < 300000; ++i)
        binary.append(char((i * 7919u) % 256u));
    const QByteArray noLineEnd = "Constructor Detail public int <B>size</B>() <HR>" + QByteArray(200000, 'x');
    const QByteArray invalidUtf8 = (kUpperHead.join('\n') + "\npublic int <B>size</B>()\n").toUtf8()
        + "<DD>bad \xff\xfe\xc3 bytes\n<HR>\n";
    const struct {
        QByteArray bytes;
        QString expected;
    } pages[] = {
        {binary, ""},
        {noLineEnd, ""},
        {QByteArray(), ""},
        {invalidUtf8, "  public int size()\n" + rule() + "\n  bad \uFFFD\uFFFD\uFFFD bytes\n"},
    };
    for (const auto& p : pages) {
        writeFile(bad.path(), "p.Q.html", p.bytes);
        const docs::DocResult result = docs::doit(r);
        EXPECT_TRUE(result.pageOpened);
        EXPECT_EQ(result.text, p.expected);
    }
}

}  // namespace
