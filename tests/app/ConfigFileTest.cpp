#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sys/resource.h>

#include "app/ConfigFile.h"
#include "tests/support/Files.h"
#include "tests/support/QtPrinters.h"

using test_support::readFile;
using test_support::writeFile;

TEST(ConfigFile, LoadsTwoLinesWithAnyLineEnd)
{
    struct Case {
        QByteArray bytes;
        bool ok;
        QString docpath, docpath2;
    };
    const Case cases[] = {
        {"P\nQ\n", true, "P", "Q"},
        {"P\rQ\r", true, "P", "Q"},  // (line ends, long lines and decoding are the line reader's)
        {"P\nQ", true, "P", "Q"},    // the last line may lack its end
        {"\n\n", true, "", ""},
        {"  P  \n\tQ \n", true, "  P  ", "\tQ "},  // blanks are part of the value
        {"P\nQ\nR\n", true, "P", "Q"},             // extra lines ignored
        {"P\n", false, "P", ""},                   // one line only: a failure, P kept
        {"P", false, "P", ""},
        {"", false, "", ""},
        {QByteArray("A\0B\nC\n", 6), true, QString::fromUtf8("A\0B", 3), "C"},
        {QByteArray(2 << 20, 'x') + "\nQ\n", false, "", ""},  // a line over 1 MiB is a read failure
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("JavaOrvel.cfg");
        writeFile(path, c.bytes);
        QString docpath, docpath2;
        EXPECT_EQ(app::loadConfig(path, docpath, docpath2), c.ok) << c.bytes.left(40).toStdString();
        EXPECT_EQ(docpath, c.docpath);
        EXPECT_EQ(docpath2, c.docpath2);
    }
}

TEST(ConfigFile, MissingFileIsSilentAndAFolderIsNeitherReadNorReplaced)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("JavaOrvel.cfg");
    QString docpath = "keep", docpath2 = "keep2";
    EXPECT_TRUE(app::loadConfig(path, docpath, docpath2));
    EXPECT_EQ(docpath + docpath2, "keepkeep2");

    ASSERT_TRUE(QDir(dir.path()).mkdir("JavaOrvel.cfg"));
    EXPECT_FALSE(app::loadConfig(path, docpath, docpath2));
    EXPECT_FALSE(app::saveConfig(path, "P", "Q"));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(ConfigFile, SaveWritesExactlyTwoLinesAndRoundTrips)
{
    struct Case {
        QString docpath, docpath2;
        QByteArray expected;
    };
    const Case cases[] = {
        {"", "", "\n\n"},
        {" D:\\apidocs ", "E:\\swing", " D:\\apidocs \nE:\\swing\n"},
        {QString::fromUtf8("/d\xc3\xa9j\xc3\xa0"), "", "/d\xc3\xa9j\xc3\xa0\n\n"},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("JavaOrvel.cfg");
        writeFile(path, "old1\nold2\nold3\n");  // a longer file is shortened by the save
        ASSERT_TRUE(app::saveConfig(path, c.docpath, c.docpath2));
        EXPECT_EQ(readFile(path), c.expected);
        QString p, q;
        EXPECT_TRUE(app::loadConfig(path, p, q));
        EXPECT_EQ(p, c.docpath);
        EXPECT_EQ(q, c.docpath2);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "a temporary file was left";
    }
}

TEST(ConfigFile, InterruptedSaveKeepsThePreviousFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("JavaOrvel.cfg");
    writeFile(path, "P\nQ\n");
    // A file size limit makes the write fail part-way, as a full disk would.
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit tiny = saved;
    tiny.rlim_cur = 3;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool ok = app::saveConfig(path, "a much longer root", "and another");
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(ok);
    EXPECT_EQ(readFile(path), "P\nQ\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
