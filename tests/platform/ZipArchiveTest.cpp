// The zip reader over archives written here: round trips, then hostile
// archives, each of which must end in one line of reason and no crash, hang
// or large allocation.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <functional>

#include "platform/ZipArchive.h"
#include "tests/support/Files.h"
#include "tests/support/ZipWriter.h"

using platform::ZipArchive;
using namespace test_support;

namespace {

const QByteArray kText = QByteArray("public class A { }\n").repeated(200);

struct Opened {
    std::unique_ptr<ZipArchive> zip;
    std::string error;  // the open's reason, else the read's of "a.txt", else ""
    QByteArray bytes;
};

Opened openAndRead(const QString& path, uint64_t maxBytes = 1 << 20)
{
    Opened o;
    ZipArchive::OpenError failure;
    o.zip = ZipArchive::open(path.toStdString(), failure);
    if (!o.zip)
        o.error = failure.reason;
    else if (const auto entry = o.zip->find("a.txt"))
        o.zip->read(*entry, maxBytes, o.bytes, o.error);
    return o;
}

TEST(ZipArchive, HostileArchivesEndInOneLine)
{
    QTemporaryDir dir;
    const auto damaged = [](std::function<void(BuiltZip&)> damage, bool deflate = true,
                             const QByteArray& text = kText) {
        BuiltZip z = buildZip({{"a.txt", text, deflate}, {"b.txt", "bee", false}});
        damage(z);
        return z.bytes;
    };
    const auto central = [](BuiltZip& z, qsizetype field, quint32 v) { set32(z.bytes, z.directoryAt + field, v); };
    const auto end = [](BuiltZip& z, qsizetype field, quint32 v) { set32(z.bytes, z.endAt + field, v); };
    const struct {
        const char* name;
        QByteArray bytes;
        const char* error;
    } cases[] = {
        {"stored", damaged([](BuiltZip&) {}, false), ""},  // the deflated one: the rows below that read it
        {"empty entry", damaged([](BuiltZip&) {}, true, ""), ""},
        {"launcher script before the archive", "#!/bin/sh\nexec java -jar \"$0\"\n" + damaged([](BuiltZip&) {}), ""},
        {"comment after the end record", buildZip({{"a.txt", kText}}, QByteArray(60000, 'c')).bytes, ""},
        {"count lies", damaged([&](BuiltZip& z) { set32(z.bytes, z.endAt + kEndCount - 2, 0xFFFEFFFE); }), ""},
        {"empty file", "", "not a zip archive (too short)"},
        {"text", QByteArray("PK\3\4 not a zip").repeated(1000), "not a zip archive (no end record)"},
        {"directory larger than the file", damaged([&](BuiltZip& z) { end(z, kEndDirectorySize, 1 << 20); }),
            "central directory past its end record"},
        {"directory offset past the end", damaged([&](BuiltZip& z) { end(z, kEndDirectoryOffset, 0x7FFFFFFF); }),
            "central directory past its end record"},
        {"directory over the limit", damaged([&](BuiltZip& z) { end(z, kEndDirectorySize, 0x7FFFFFFF); }),
            "central directory too large"},
        {"ZIP64", damaged([&](BuiltZip& z) { end(z, kEndDirectoryOffset, 0xFFFFFFFF); }),
            "ZIP64 archive (not supported)"},
        {"broken directory", damaged([&](BuiltZip& z) { z.bytes[z.directoryAt] = 'X'; }),
            "bad central directory entry"},
        {"local header past the end", damaged([&](BuiltZip& z) { central(z, kCentralLocalHeader, 0x7FFFFFF0); }),
            "local header past the end of the file"},
        {"data past the end", damaged([&](BuiltZip& z) { central(z, kCentralCompressedSize, 0x7FFFFFF0); }),
            "entry data past the end of the file"},
        {"longer than recorded", damaged([&](BuiltZip& z) { central(z, kCentralSize, 100); }),
            "entry longer than its recorded size"},
        {"shorter than recorded", damaged([&](BuiltZip& z) { central(z, kCentralSize, 5000); }),
            "entry shorter than its recorded size"},
        {"stored sizes disagree", damaged([&](BuiltZip& z) { central(z, kCentralSize, 5000); }, false),
            "entry shorter than its recorded size"},
        {"CRC", damaged([&](BuiltZip& z) { central(z, kCentralCrc, 1); }), "CRC error"},
        {"bomb", damaged([](BuiltZip&) {}, true, QByteArray(8 << 20, '\0')), "entry too large"},
        {"method", damaged([&](BuiltZip& z) { z.bytes[z.directoryAt + kCentralMethod] = 12; }),
            "unsupported compression method 12"},
        {"encrypted", buildZip({{"a.txt", kText, true, 1}}).bytes, "entry is encrypted"},
        {"garbage deflate", damaged([&](BuiltZip& z) { z.bytes.replace(30 + 5, 40, QByteArray(40, '\xFF')); }),
            "bad deflated data"},
    };
    for (const auto& c : cases) {
        const QString path = dir.path() + "/" + c.name + ".zip";
        ASSERT_TRUE(writeFile(path, c.bytes));
        const Opened o = openAndRead(path);
        EXPECT_EQ(o.error, c.error) << c.name;
        if (!*c.error) {
            EXPECT_TRUE(o.bytes == kText || o.bytes.isEmpty()) << c.name;
        }
    }
}

TEST(ZipArchive, OddNamesAndManyEntriesAreFoundAsWritten)
{
    QTemporaryDir dir;
    const QByteArray longName(0xFFFF, 'n'), withNul("p/A\0B.class", 11);
    std::vector<ZipEntry> entries {
        {"../../etc/passwd", "up"}, {withNul, "nul"}, {longName, "long"}, {"dup", "first"}, {"dup", "second"}};
    for (int i = 0; i < 100000; ++i) entries.push_back({"many/" + QByteArray::number(i), {}, false});
    ASSERT_TRUE(writeFile(dir.path() + "/odd.zip", buildZip(entries).bytes));
    ZipArchive::OpenError failure;
    const auto zip = ZipArchive::open((dir.path() + "/odd.zip").toStdString(), failure);
    ASSERT_TRUE(zip) << failure.reason;
    EXPECT_EQ(zip->count(), entries.size());
    size_t many = 0;
    zip->forEachName("many/", [&](std::string_view, size_t) { ++many; });
    EXPECT_EQ(many, 100000u);
    // Twice over: the first lookups walk the directory, the later ones use the index.
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& [name, text] : std::vector<std::pair<QByteArray, QByteArray>> {
                 {"../../etc/passwd", "up"}, {withNul, "nul"}, {longName, "long"}, {"dup", "first"}}) {
            const auto entry = zip->find(std::string_view(name.constData(), size_t(name.size())));
            QByteArray bytes;
            std::string error;
            ASSERT_TRUE(entry && zip->read(*entry, 100, bytes, error)) << error;
            EXPECT_EQ(bytes, text);
        }
        EXPECT_FALSE(zip->find("p/A"));
        EXPECT_TRUE(zip->find("many/99999"));
    }
}

TEST(ZipArchive, SpecialAndSparseFilesAreRefusedCheaply)
{
    QTemporaryDir dir;
    const QString fifo = dir.path() + "/fifo.zip";
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo), 0600), 0);
    EXPECT_EQ(openAndRead(fifo).error, "not a regular file");
    EXPECT_EQ(openAndRead(dir.path() + "/missing.zip").error, "No such file or directory");
    // 64 MB of zeros (a hole) under an end record claiming all of it as directory.
    const QString sparse = dir.path() + "/sparse.zip";
    BuiltZip end = buildZip({});
    set32(end.bytes, kEndDirectorySize, (64 << 20) - 22);
    ASSERT_TRUE(writeFile(sparse, end.bytes));
    ASSERT_EQ(truncate(QFile::encodeName(sparse), 64 << 20), 0);
    QFile file(sparse);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.seek((64 << 20) - 22) && file.write(end.bytes) == 22);
    file.close();
    EXPECT_EQ(openAndRead(sparse).error, "bad central directory entry");
}

}  // namespace
