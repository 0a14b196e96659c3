// The line reader under the extractor: every kind of line end, also where it
// falls on the reader's internal block and window edges.

#include <gtest/gtest.h>

#include "platform/LineReader.h"
#include <QTemporaryDir>

#include "tests/support/Files.h"
#include "tests/support/QtPrinters.h"

TEST(LineReader, LineEndsAnywhereAndALineOverTheCapEndsTheReadingAsAFailure)
{
    const QByteArray a(1023, 'a'), b(65535, 'b'), c(70000, 'c'), cap(100, 'c');
    QByteArray numbered;  // many short "\r"-only lines
    QStringList numbers;
    for (int i = 0; i < 20000; ++i) {
        numbered += QByteArray::number(i) + '\r';
        numbers << QString::number(i);
    }
    const struct {
        QByteArray bytes;
        QStringList lines;
        int cap = 0;  // 0: the reader's own; else the lines end where the reading failed
    } cases[] = {
        {"x\ny\r\nz\rw", {"x", "y", "z", "w"}},
        {"\n\r\n\r\r", {"", "", "", ""}},
        {"last\n", {"last"}},
        {"", {}},
        {a + "\r" + a + "\n" + a, {a, a, a}},         // around the 1 KB search window
        {b + "\r\n" + b + "\r" + b, {b, b, b}},       // "\r\n" split over two blocks
        {c + "\r" + c + "\r" + c + "\r", {c, c, c}},  // "\r" only, lines longer than a block
        {numbered, numbers},
        {"a\n" + cap + "\n" + cap, {"a", cap, cap}, 100},  // exactly the cap passes
        {"a\n" + cap + "o\nb\n", {"a"}, 100},
        {"a\r\n" + cap + "o", {"a"}, 100},  // also without a line end
        {"a\n" + QByteArray(200000, 'x'), {"a"}, 100},
    };
    QTemporaryDir dir;
    for (const auto& t : cases) {
        ASSERT_TRUE(test_support::writeFile(dir.filePath("f"), t.bytes));
        platform::LineReader reader(dir.filePath("f"), t.cap ? t.cap : platform::LineReader::kMaxLineBytes);
        QStringList got;
        while (std::optional<QString> line = reader.readLine()) got << *line;
        EXPECT_TRUE(got == t.lines) << t.bytes.left(40).toStdString() << " gave " << got.size() << " lines";
        EXPECT_EQ(reader.failed() && reader.tooLong(), t.cap && t.lines.size() == 1);
    }
}
