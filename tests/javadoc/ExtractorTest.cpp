// The extractor's common exit: however a page is damaged, one member's text
// stays within the cap.

#include <gtest/gtest.h>

#include "tests/support/PageFiles.h"

using namespace javadoc_test;

TEST(Extractor, ASectionThatNeverClosesStopsAtTheCap)
{
    const QByteArray line = "<div class=\"block\">" + QByteArray(90, 'w') + "</div>\n";
    QByteArray body;
    for (int i = 0; i < 30000; ++i) body += line;  // about 3 MB
    const QByteArray modern = "<meta name=\"generator\" content=\"javadoc/17\">\n"
                              "<section class=\"detail\" id=\"add(E)\">\n"
                              "<div class=\"member-signature\">public boolean add(E e)</div>\n";
    const QByteArray era = "<A NAME=\"constructors\"></A>\n<B>Method Detail</B>\npublic boolean <B>add</B>(E e)\n";
    const QByteArray longLine(javadoc::kMaxDocChars / 2, 'l');
    const struct {
        QByteArray page;
        QString signature;  // "" when nothing is to be found
    } cases[] = {
        {modern + body, "public boolean add(E e)"},
        {modern + "<div class=\"member-signature\">" + body, ""},  // a signature that never closes
        {era + body, "public boolean add(E e)"},                   // 10000 lines of a block with no end
        {era + longLine + '\n' + longLine + '\n' + longLine + '\n', "public boolean add(E e)"},
        {era + QByteArray(3 << 20, 'x'), ""},  // a line over the reader's cap ends the page
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        writeFile(dir.path(), "java.util.Vector.html", c.page);
        const QString text = textOf(dir.path(), "add", 0, "java.util.Vector");
        EXPECT_LE(text.size(), javadoc::kMaxDocChars);
        EXPECT_TRUE(text.isEmpty() || text.endsWith('\n'));
        if (c.signature.isEmpty())
            continue;
        EXPECT_TRUE(text.startsWith(shown(c.signature))) << text.left(300).toStdString();
        EXPECT_GT(text.size(), javadoc::kMaxDocChars / 2);
    }
}
