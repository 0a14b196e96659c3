// The extractor's common exit: however a page is damaged, one member's text
// stays within the cap.

#include <gtest/gtest.h>

#include "tests/support/PageFiles.h"

using namespace javadoc_test;

TEST(Extractor, ASectionThatNeverClosesStopsAtTheCap)
{
    const QByteArray body = ("<div class=\"block\">" + QByteArray(90, 'w') + "</div>\n").repeated(30000);
    const QByteArray modern = "<meta name=\"generator\" content=\"javadoc/17\">\n"
                              "<section class=\"detail\" id=\"add(E)\">\n<div class=\"member-signature\">";
    const QByteArray era = "<A NAME=\"constructors\"></A>\npublic boolean <B>add</B>(E e)\n";
    const QByteArray halfCap = QByteArray(javadoc::kMaxDocChars / 2, 'l') + '\n';
    const struct {
        QByteArray page;
        bool found;
    } cases[] = {
        {modern + "public boolean add(E e)</div>\n" + body, true},
        {modern + body, false},  // a signature that never closes
        {era + body, true},      // 10000 lines of a block with no end
        {era + halfCap.repeated(3), true},
        {era + QByteArray(3 << 20, 'x'), false},  // a line over the reader's cap ends the page
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        writeFile(dir.filePath("java.util.Vector.html"), c.page);
        const QString text = textOf(dir.path(), "add", 0, "java.util.Vector");
        EXPECT_LE(text.size(), javadoc::kMaxDocChars);
        EXPECT_TRUE(text.isEmpty() || text.endsWith('\n'));
        EXPECT_TRUE(
            !c.found || (text.startsWith(shown("public boolean add(E e)")) && text.size() > javadoc::kMaxDocChars / 2));
    }
}

TEST(Extractor, CapKeepsWholeLinesUnlessOneIsLongerThanTheCap)
{
    const qsizetype cap = javadoc::kMaxDocChars;
    const QString head = "  public boolean add(E e)\n  ----\n";
    const struct {
        QString text;
        qsizetype kept;
    } cases[] = {
        {head + "short\n", head.size() + 6},
        {head + QString(cap / 2, 'a') + '\n' + QString(cap / 2, 'b') + '\n', head.size() + cap / 2 + 1},
        {head + QString(cap + 10, 'c') + '\n', cap},  // no cut could keep it whole: what fits stays
        {QString(cap + 10, 'd'), cap},
    };
    for (const auto& c : cases) {
        QString text = c.text;
        javadoc::capDocText(text);
        EXPECT_EQ(text.size(), c.kept);
        EXPECT_TRUE(text.endsWith('\n') && c.text.startsWith(text.chopped(1)));
    }
}

TEST(Extractor, ControlCharactersOfAPageAreShownAsEscapes)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("java.util.Vector.html"),
        "<A NAME=\"constructors\"></A>\npublic boolean <B>add</B>(E e)\n<DD>Adds \x1b]0;title\x07 \x1b[2J\xc2\x9b.\n");
    const QString text = textOf(dir.path(), "add", 0, "java.util.Vector");
    EXPECT_TRUE(text.contains("Adds \\u001b]0;title\\u0007 \\u001b[2J\\u009b.")) << text.toStdString();
}
