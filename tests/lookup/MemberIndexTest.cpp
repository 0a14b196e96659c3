// The member index over a folder of built class files: what a query finds, in
// which order, and its file on disk surviving every kind of damage. Which
// methods it holds (public, declared, bridges, erased parameter types) is
// MemberIndexOracleTest's, over every exported class of the JDK.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "lookup/MemberIndex.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/QtPrinters.h"

namespace {

using namespace testing_classlib;
using lookup::MemberIndex;
using platform::classlib::ClassLibrary;

constexpr int kManyMethods = 60'000;

void writeClasses(const QString& root)
{
    ClassDef object = classDef("java/lang/Object", "");
    object.method(kPublic, "hashCode", "()I").method(kPublic, "toString", "()Ljava/lang/String;");
    ClassDef collectors = classDef("p/Collectors");
    collectors.method(kPublic | kStatic, "toUnmodifiableList", "()Ljava/util/List;")
        .method(kPublic | kStatic, "toList", "()Ljava/util/List;")
        .method(kPublic, "join", "([Ljava/lang/String;ILp/Outer$Inner;)V")
        .method(kPublic, "join", "(Ljava/lang/CharSequence;)V")
        .method(kPublic, "<init>", "()V");
    ClassDef helper = classDef("p/q/Help");  // a shorter name: ranks before p/Collectors
    helper.method(kPublic, "toList", "(I)Ljava/util/List;").method(kPublic, "tolist", "()V");
    ClassDef hidden = classDef("p/Hidden", "java/lang/Object", {}, 0x20);
    hidden.method(kPublic, "toList", "()V");
    ClassDef inner = classDef("p/Outer$Inner");
    inner.method(kPublic, "getKey", "()Ljava/lang/Object;");
    ClassDef sub = classDef("p/Sub", "p/Collectors");
    ClassDef big = classDef("p/Big");
    for (int i = 0; i < kManyMethods; ++i) big.method(kPublic | kAbstract, "m" + std::to_string(i), "()V");
    for (const ClassDef* c : {&object, &collectors, &helper, &hidden, &inner, &sub, &big})
        ASSERT_TRUE(writeBytes(root + "/" + QString::fromStdString(c->name) + ".class", buildClass(*c)));
}

class MemberIndexTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        writeClasses(dir_->path() + "/classes");
        std::vector<std::unique_ptr<platform::classlib::ClassSource>> sources;
        sources.push_back(
            std::make_unique<platform::classlib::FolderSource>((dir_->path() + "/classes").toStdString()));
        library_ = new ClassLibrary(std::move(sources));
        index_ = MemberIndex::build(*library_).release();
    }
    static void TearDownTestSuite()
    {
        delete index_;
        delete library_;
        delete dir_;
    }
    static QStringList find(const MemberIndex& index, const QString& query, size_t limit = 20)
    {
        QStringList out;
        for (const lookup::MethodHit& h : index.find(*library_, query, limit)) out << h.line();
        return out;
    }
    static QString cacheDir() { return dir_->path() + "/cache"; }

    static inline QTemporaryDir* dir_ = nullptr;
    static inline ClassLibrary* library_ = nullptr;
    static inline MemberIndex* index_ = nullptr;
};

TEST_F(MemberIndexTest, QueriesFindTheDeclaredPublicMethodsInOrder)
{
    const struct {
        QString query;
        size_t limit;
        QStringList expected;
    } cases[] = {
        {"toList", 20,
            {"p.q.Help.toList(int)", "p.Collectors.toList()", "p.q.Help.tolist()",
                "p.Collectors.toUnmodifiableList()"}},
        {"#toList", 1, {"p.q.Help.toList(int)"}},
        {"tUL", 20, {"p.Collectors.toUnmodifiableList()"}},
        {"tL", 20, {"p.q.Help.toList(int)", "p.Collectors.toList()", "p.Collectors.toUnmodifiableList()"}},
        {"to", 2, {"p.q.Help.toList(int)", "p.q.Help.tolist()"}},
        {"join", 20, {"p.Collectors.join(String[], int, Outer$Inner)", "p.Collectors.join(CharSequence)"}},
        {"m59999", 20, {"p.Big.m59999()"}},
        {"Collectors#toL", 20, {"p.Collectors.toList()", "p.Collectors.toUnmodifiableList()"}},
        {"p.Collectors.join", 20, {"p.Collectors.join(String[], int, Outer$Inner)", "p.Collectors.join(CharSequence)"}},
        {"Outer.Inner#", 0, {"p.Outer.Inner.getKey()", "java.lang.Object.hashCode()", "java.lang.Object.toString()"}},
        {"p.Outer$Inner#get", 0, {"p.Outer.Inner.getKey()"}},
        {"Sub#to", 0, {"p.Collectors.toList()", "java.lang.Object.toString()", "p.Collectors.toUnmodifiableList()"}},
        {"Hidden#toList", 0, {}},
        {"Big#m5999", 2, {"p.Big.m5999()", "p.Big.m59990()"}},
    };
    for (const auto& c : cases) EXPECT_EQ(find(*index_, c.query, c.limit), c.expected) << qPrintable(c.query);
    EXPECT_EQ(find(*index_, "m", 0).size(), size_t(kManyMethods));
    EXPECT_EQ(find(*index_, "Big#", 0).size(), size_t(kManyMethods + 2));
}

TEST_F(MemberIndexTest, HostileQueriesFindNothing)
{
    for (const QString& query : {QString(10'000, QLatin1Char('m')), QString(10'000, QLatin1Char('#')),
             QStringLiteral("#"), QStringLiteral("##"), QStringLiteral("."),
             QStringLiteral("Big#") + QString(5000, 'x'), QString::fromUtf8("\xF0\x9D\x94\x98"),
             QString::fromUtf8("Big#\xF0\x9D\x94\x98"), QString(QChar(0xD835)), QStringLiteral("\t\n ")})
        EXPECT_TRUE(find(*index_, query, 0).empty()) << qPrintable(query.left(20));
}

// The file on disk: written on the first open, read on the next; whatever is
// wrong with it, the index is built again and the answers stay the same.
TEST_F(MemberIndexTest, TheCacheIsReusedAndRebuiltWhenItCannotBeTrusted)
{
    const QString path = MemberIndex::cachePath(*library_, cacheDir());
    const QStringList expected = find(*index_, "to", 0);
    EXPECT_EQ(find(*MemberIndex::open(*library_, cacheDir()), "to", 0), expected);
    struct stat first, again;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &first), 0);
    EXPECT_EQ(find(*MemberIndex::open(*library_, cacheDir()), "to", 0), expected);
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &again), 0);
    EXPECT_EQ(first.st_ino, again.st_ino) << "a good cache is read, not written again";
    const QByteArray good = test_support::readFile(path);

    const struct {
        const char* what;
        std::function<void()> damage;
    } cases[] = {
        {"truncated", [&] { QFile::resize(path, good.size() / 2); }},
        {"empty", [&] { QFile::resize(path, 0); }},
        {"other version", [&] { test_support::writeFile(path, good.left(8) + QByteArray(4, '\x7f') + good.mid(12)); }},
        {"a byte flipped",
            [&] {
                QByteArray b = good;
                b[b.size() - 3] = char(b[b.size() - 3] ^ 0x20);
                test_support::writeFile(path, b);
            }},
        {"a FIFO",
            [&] {
                QFile::remove(path);
                ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            }},
    };
    for (const auto& c : cases) {
        c.damage();
        EXPECT_EQ(find(*MemberIndex::open(*library_, cacheDir()), "to", 0), expected) << c.what;
        EXPECT_EQ(test_support::readFile(path), good) << c.what << ": written again";
    }
    // A class added to a folder leaves the folder's own time alone.
    ClassDef added = classDef("p/q/Added");
    added.method(kPublic, "toAdded", "()V");
    ASSERT_TRUE(writeBytes(dir_->path() + "/classes/p/q/Added.class", buildClass(added)));
    EXPECT_EQ(find(*MemberIndex::open(*library_, cacheDir()), "toAdded"), QStringList {"p.q.Added.toAdded()"});
    QFile::remove(dir_->path() + "/classes/p/q/Added.class");
}

}  // namespace
