// --release over a small made-up JDK: an rt.jar for its own release (17, by
// java.lang.Object's class-file version) and a ct.sym with stubs for 7 to 16.
// The since-versions (which read the stubs of every release), and every damaged
// ct.sym or unservable release as one warning line with the JDK's own classes
// kept. What the real JDK's ct.sym serves for a release is the oracle tests'.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>

#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/MemberSince.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/ZipBuilder.h"

using namespace platform::classlib;
using namespace testing_classlib;

namespace {

std::vector<uint8_t> objectClass(uint16_t major)
{
    ClassDef object = classDef("java/lang/Object", "").method(kPublic, "<init>", "()V");
    object.major = major;
    return buildClass(object);
}

// p.A: a() and its constructor always, b(int) from 9 on, c() in 17 only.
std::vector<uint8_t> classA(bool withB, bool withC)
{
    ClassDef a = classDef("p/A").method(kPublic, "<init>", "()V").method(kPublic, "a", "()V");
    if (withB)
        a.method(kPublic, "b", "(I)V");
    if (withC)
        a.method(kPublic, "c", "()V");
    return buildClass(a);
}

const std::map<std::string, std::vector<uint8_t>> kGoodCtSym = {
    {"789ABCDEFG/java.base/java/lang/Object.sig", objectClass(51)},
    {"78/java.base/p/A.sig", classA(false, false)},
    {"9ABCDEFG/java.base/p/A.sig", classA(true, false)},
    {"H/system-modules", {1, 2, 3}},
};

class FakeJdk : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(makeJar(
            home() + "/lib/rt.jar", {{"java/lang/Object.class", objectClass(61)}, {"p/A.class", classA(true, true)}}));
    }
    QString home() const { return dir.path(); }
    QString ctSym() const { return home() + "/lib/ct.sym"; }

    std::unique_ptr<ClassLibrary> open(const std::string& release)
    {
        ClassLibrary::Environment env;
        env.javaHome = env.defaultJava = home().toStdString();
        env.release = release;
        return ClassLibrary::discover(env);
    }

    static std::vector<std::string> methodsOfA(ClassLibrary& library)
    {
        std::vector<std::string> names;
        for (const auto& m : library.forName(QStringLiteral("p.A"))->getMethods())
            names.push_back(m.toString().section(QLatin1Char('('), 0, 0).section(QLatin1Char('.'), -1).toStdString());
        std::sort(names.begin(), names.end());
        return names;
    }

    QTemporaryDir dir;
};

}  // namespace

// The documentation's question; the since-versions themselves are the oracle tests'.
TEST_F(FakeJdk, SinceOfOneMemberByNameAndErasedParameterTypes)
{
    ASSERT_TRUE(makeJar(ctSym(), kGoodCtSym));
    auto library = open("");
    const auto b = sinceOfMember(*library, "p.A", "b", {"int"});
    ASSERT_TRUE(b);
    EXPECT_EQ(formatSince(b->since, b->forRemoval), "9");
    const auto a = sinceOfMember(*library, "p.A", "<init>", {});
    ASSERT_TRUE(a);
    EXPECT_EQ(formatSince(a->since, a->forRemoval), "\u22647");
    EXPECT_FALSE(sinceOfMember(*library, "p.A", "b", {"long"}));
    EXPECT_FALSE(sinceOfMember(*library, "p.Missing", "b", {"int"}));
}

TEST_F(FakeJdk, AnUnservableReleaseOrDamagedCtSymIsOneLineAndTheJdksOwnRelease)
{
    enum class CtSymFile { Good, Missing, Truncated, Fifo, UnknownLettersOnly, Empty };
    const QString ctPath = home() + "/lib/ct.sym";
    const std::string held = "this JDK holds releases 7 to 17";
    const std::string onlyOwn = "this JDK holds release 17 only (" + ctPath.toStdString() + ": ";
    const struct {
        CtSymFile file;
        const char* release;
        std::string warning;  // after "javaorvel: --release R: "; "" for none
    } cases[] = {
        {CtSymFile::Good, "17", ""},  // its own release: the JDK's classes, not ct.sym's
        {CtSymFile::Good, "", ""},
        {CtSymFile::Good, "99", held},
        {CtSymFile::Good, "6", held},
        {CtSymFile::Good, "abc", held},  // (which texts are release numbers: SinceVersionTest)
        {CtSymFile::Missing, "8", onlyOwn + "No such file or directory)"},
        {CtSymFile::Missing, "17", ""},
        {CtSymFile::Truncated, "8", onlyOwn},
        {CtSymFile::Fifo, "8", onlyOwn + "not a regular file)"},
        {CtSymFile::UnknownLettersOnly, "8", onlyOwn + "holds no release's class stubs)"},
        {CtSymFile::Empty, "8", onlyOwn},
    };
    for (const auto& c : cases) {
        QFile::remove(ctPath);
        switch (c.file) {
        case CtSymFile::Good:
            ASSERT_TRUE(makeJar(ctPath, kGoodCtSym));
            break;
        case CtSymFile::Missing:
            break;
        case CtSymFile::Truncated: {
            ASSERT_TRUE(makeJar(ctPath, kGoodCtSym));
            QFile f(ctPath);
            ASSERT_TRUE(f.resize(f.size() / 2));
            break;
        }
        case CtSymFile::Fifo:
            ASSERT_EQ(mkfifo(ctPath.toUtf8().constData(), 0600), 0);
            break;
        case CtSymFile::UnknownLettersOnly:
            ASSERT_TRUE(makeJar(ctPath,
                {{"8x/java.base/p/A.sig", classA(false, false)}, {"a/java.base/p/A.sig", classA(false, false)}}));
            break;
        case CtSymFile::Empty:
            ASSERT_TRUE(test_support::writeFile(ctPath, {}));
            break;
        }
        auto library = open(c.release);
        const std::string label = std::string(c.release) + " / file kind " + std::to_string(int(c.file));
        EXPECT_EQ(library->release(), 17) << label;
        if (c.warning.empty()) {
            EXPECT_EQ(library->warning(), "") << label;
        } else {
            const std::string prefix = "javaorvel: --release " + std::string(c.release) + ": " + c.warning;
            EXPECT_EQ(library->warning().substr(0, prefix.size()), prefix) << label;
            EXPECT_TRUE(library->warning().find('\n') == std::string::npos) << library->warning();
            EXPECT_TRUE(library->warning().size() > 20 &&
                library->warning().substr(library->warning().size() - 20) == "; reading release 17")
                << library->warning();
        }
        EXPECT_EQ(methodsOfA(*library), (std::vector<std::string> {"a", "b", "c"})) << label;
    }
}

TEST_F(FakeJdk, AStubThatIsNoClassFileIsAnUnreadableClass)
{
    auto entries = kGoodCtSym;
    entries["8/java.base/p/Bad.sig"] = {0xCA, 0xFE, 0xBA, 0xBE, 0};
    entries["8/java.base/p/Wrong.sig"] = classA(false, false);  // holds p/A
    entries["8/java.base/p/Crc.sig"] = buildClass(classDef("p/Crc").method(kPublic, "zzMarker", "()V"));
    ASSERT_TRUE(makeJar(ctSym(), entries, true));
    // One byte of a stored stub changed: its CRC no longer matches.
    QByteArray bytes = test_support::readFile(ctSym());
    const qsizetype marker = bytes.indexOf("zzMarker");
    ASSERT_GT(marker, 0);
    bytes[marker] = 'Z';
    ASSERT_TRUE(test_support::writeFile(ctSym(), bytes));
    auto library = open("8");
    EXPECT_EQ(library->release(), 8);
    for (const char* name : {"p.Bad", "p.Wrong", "p.Crc"}) {
        try {
            library->forName(QString::fromLatin1(name));
            ADD_FAILURE() << name << " was read";
        } catch (const platform::ClassFormatError& e) {
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
        }
    }
    EXPECT_TRUE(membersSince(*library, "p.Bad").empty());
}
