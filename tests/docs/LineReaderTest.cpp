// The line reader under the extractor: every kind of line end, also where it
// falls on the reader's internal block and window edges.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "PageFiles.h"
#include "platform/LineReader.h"

namespace {

QStringList readAll(const QString& path)
{
    platform::LineReader reader(path);
    QStringList lines;
    while (std::optional<QString> line = reader.readLine())
        lines << *line;
    return lines;
}

TEST(LineReader, LineEndsAnywhere)
{
    const QByteArray a(1023, 'a'), b(65535, 'b'), c(70000, 'c');
    const struct {
        QByteArray bytes;
        QStringList lines;
    } cases[] = {
        {"x\ny\r\nz\rw", {"x", "y", "z", "w"}},
        {"\n\r\n\r\r", {"", "", "", ""}},
        {"last\n", {"last"}},
        {"", {}},
        {a + "\r" + a + "\n" + a, {a, a, a}},             // around the 1 KB search window
        {b + "\r\n" + b + "\r" + b, {b, b, b}},           // "\r\n" split over two blocks
        {c + "\r" + c + "\r" + c + "\r", {c, c, c}},      // "\r" only, lines longer than a block
    };
    QTemporaryDir dir;
    for (const auto& t : cases) {
        const QString path = docs_test::writeFile(dir.path(), "f", t.bytes);
        const QStringList got = readAll(path);
        ASSERT_EQ(got.size(), t.lines.size()) << t.bytes.left(40).toStdString();
        for (qsizetype i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i], t.lines[i]) << i;
    }
}

TEST(LineReader, ManyShortCrOnlyLines)
{
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += QByteArray::number(i) + '\r';
    QTemporaryDir dir;
    const QStringList got = readAll(docs_test::writeFile(dir.path(), "f", bytes));
    ASSERT_EQ(got.size(), 20000);
    EXPECT_EQ(got.first(), "0");
    EXPECT_EQ(got.last(), "19999");
}

}  // namespace
