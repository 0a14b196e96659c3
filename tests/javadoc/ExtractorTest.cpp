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
