// Finding the class library (JAVA_HOME, the java on PATH, the default JDK;
// lib/modules or rt.jar) and the CLASSPATH entries (folders, jars, "dir/*"),
// with bad jars and bad images, special files, and a low file limit.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <map>
#include <sys/resource.h>
#include <sys/stat.h>

#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"
#include "tests/support/Files.h"
#include "tests/support/JImageBuilder.h"
#include "tests/support/Reflection.h"
#include "tests/support/ZipBuilder.h"

using namespace platform::classlib;
using namespace testing_classlib;

namespace {

std::vector<uint8_t> classBytes(
    const std::string& name, const std::string& method, const std::string& super = "java/lang/Object")
{
    return buildClass(classDef(name, super).method(kPublic, "<init>", "()V").method(kPublic, method, "()V"));
}

const std::vector<uint8_t> kObject = buildClass(classDef("java/lang/Object", "")
                                                    .method(kPublic, "<init>", "()V")
                                                    .method(kPublic, "toString", "()Ljava/lang/String;"));

std::string firstMethod(ClassLibrary& lib, const char* name)
{
    return lib.forName(name)->getMethods().at(0).toString().toStdString();
}

class Sources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& rel) const { return dir_.path() + "/" + rel; }
    std::string spath(const QString& rel) const { return path(rel).toStdString(); }

    // A fake JDK 9+ home: lib/modules holding Object, p.Jdk and p.Both.
    void makeModulesJdk(const QString& home)
    {
        JImageBuilder b;
        b.addClass("java.base", "java/lang/Object", kObject);
        b.addClass("m", "p/Jdk", classBytes("p/Jdk", "fromImage"));
        b.addClass("m", "p/Both", classBytes("p/Both", "fromImage"));
        ASSERT_TRUE(writeBytes(home + "/lib/modules", b.build()));
    }

    // JAVA_HOME, CLASSPATH, PATH and the default JDK under the test's folder ("" for unset or none).
    std::unique_ptr<ClassLibrary> discover(const QString& javaHome, const std::string& classPath = "",
        const QString& pathDir = "", const QString& defaultJava = "no-default-java")
    {
        ClassLibrary::Environment e;
        e.javaHome = javaHome.isEmpty() ? "" : spath(javaHome);
        e.path = pathDir.isEmpty() ? spath("empty-bin") : spath("nothing-here") + "::" + spath(pathDir);
        e.defaultJava = spath(defaultJava);
        e.classPath = classPath;
        e.classPathSet = !classPath.empty();
        return ClassLibrary::discover(e);
    }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(Sources, FindsTheJdkByJavaHomePathOrDefaultWithModulesOrRtJar)
{
    makeModulesJdk(path("jdk"));
    makeModulesJdk(path("real/jdk"));
    makeModulesJdk(path("default-java"));
    // bin/java -> alternatives/java -> real/jdk/bin/java
    ASSERT_TRUE(writeBytes(path("real/jdk/bin/java"), {'#', '!'}));
    QFile::setPermissions(path("real/jdk/bin/java"), QFile::ReadOwner | QFile::ExeOwner);
    QDir().mkpath(path("alternatives"));
    QDir().mkpath(path("bin"));
    ASSERT_TRUE(QFile::link(path("real/jdk/bin/java"), path("alternatives/java")));
    ASSERT_TRUE(QFile::link(path("alternatives/java"), path("bin/java")));
    for (const QString rtJar : {"jdk8/jre/lib/rt.jar", "jre8/lib/rt.jar"})
        ASSERT_TRUE(makeJar(
            path(rtJar), {{"java/lang/Object.class", kObject}, {"p/Jdk.class", classBytes("p/Jdk", "fromRtJar")}}));
    const struct {
        QString javaHome, path, defaultJava, home, library, method;
    } cases[] = {
        {"jdk", "", "no-default-java", "jdk", "jdk/lib/modules", "fromImage"},
        {"not-a-jdk", "bin", "no-default-java", "real/jdk", "real/jdk/lib/modules", "fromImage"},  // on past JAVA_HOME
        {"", "", "default-java", "default-java", "default-java/lib/modules", "fromImage"},
        {"jdk8", "", "no-default-java", "jdk8", "jdk8/jre/lib/rt.jar", "fromRtJar"},
        {"jre8", "", "no-default-java", "jre8", "jre8/lib/rt.jar", "fromRtJar"},
    };
    for (const auto& c : cases) {
        const auto lib = discover(c.javaHome, "", c.path, c.defaultJava);
        EXPECT_EQ(lib->jdkHome(), spath(c.home)) << c.home.toStdString();
        EXPECT_EQ(lib->jdkLibrary(), spath(c.library));
        EXPECT_EQ(lib->warning(),
            c.javaHome != "not-a-jdk" ? ""
                                      : "javaorvel: JAVA_HOME " + spath("not-a-jdk") +
                    " is not a JDK (it has no lib/modules or rt.jar); using " + spath("real/jdk") + " instead");
        EXPECT_EQ(firstMethod(*lib, "p.Jdk"), "public void p.Jdk." + c.method.toStdString() + "()");
        EXPECT_EQ(lib->notFoundExplanation(), "");
    }
    const auto none = discover("nothing");
    EXPECT_EQ(none->jdkHome(), "");
    EXPECT_NE(none->warning().find("no Java class library found"), std::string::npos);
    EXPECT_EQ(none->warning().find('\n'), std::string::npos);
    for (const char* name : {"java.lang.Object", "com.sun.java.swing.JTree"})
        EXPECT_EQ(readError(*none, name), std::string("not found: ") + name);
}

TEST_F(Sources, ClassPathEntriesInOrderAfterTheJdk)
{
    makeModulesJdk(path("jdk"));
    ASSERT_TRUE(writeBytes(path("folder/p/Both.class"), classBytes("p/Both", "fromFolder")));
    ASSERT_TRUE(writeBytes(path("folder/p/First.class"), classBytes("p/First", "fromFolder")));
    ASSERT_TRUE(makeJar(path("a.jar"),
        {{"p/First.class", classBytes("p/First", "fromJar")},
            {"p/InJar.class", classBytes("p/InJar", "fromJar", "p/Jdk")},
            {"q/Deep.class", classBytes("q/Deep", "fromJar")}}));
    ASSERT_TRUE(makeJar(path("jars/z.jar"), {{"p/Wild.class", classBytes("p/Wild", "fromWildcard")}}));
    ASSERT_TRUE(QFile::link(path("a.jar"), path("jars/a-1.0.jar")));  // one jar reached three ways: searched once
    const auto lib = discover("jdk",
        spath("missing.jar") + ":" + spath("folder") + ":" + spath("a.jar") + ":" + spath("jars") +
            "/*:" + spath("a.jar"));
    EXPECT_EQ(lib->sources().size(), 5u);
    EXPECT_EQ(firstMethod(*lib, "p.Both"), "public void p.Both.fromImage()");  // the JDK first
    EXPECT_EQ(firstMethod(*lib, "p.First"), "public void p.First.fromFolder()");
    EXPECT_EQ(firstMethod(*lib, "p.InJar"), "public void p.InJar.fromJar()");
    EXPECT_EQ(firstMethod(*lib, "q.Deep"), "public void q.Deep.fromJar()");
    EXPECT_EQ(firstMethod(*lib, "p.Wild"), "public void p.Wild.fromWildcard()");
    EXPECT_EQ(lib->forName("p.InJar")->getMethods().at(1).toString().toStdString(), "public void p.Jdk.fromImage()");
    EXPECT_EQ(readError(*lib, "p.Nowhere"), "not found: p.Nowhere");
}

TEST_F(Sources, BadImagesAndJars)
{
    ASSERT_TRUE(writeBytes(path("jdk/lib/modules"), std::vector<uint8_t>(64, 'x')));
    ASSERT_TRUE(writeBytes(path("cp/java/lang/Object.class"), kObject));
    const auto badImage = discover("jdk", spath("cp"));
    EXPECT_EQ(badImage->warning(),
        "javaorvel: JDK image " + spath("jdk/lib/modules") + " is damaged: not a jimage file (bad magic number)");
    EXPECT_EQ(readError(*badImage, "p.Jdk"), "not found: p.Jdk");
    EXPECT_EQ(firstMethod(*badImage, "java.lang.Object"), "public java.lang.String java.lang.Object.toString()");

    ASSERT_TRUE(makeJar(path("good.jar"), {{"p/A.class", classBytes("p/A", "a")}}, true));
    QFile good(path("good.jar"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    ASSERT_TRUE(writeBytes(path("truncated.jar"), {bytes.begin(), bytes.begin() + bytes.size() / 2}));
    ASSERT_TRUE(writeBytes(path("text.jar"), {'h', 'e', 'l', 'l', 'o'}));
    const QByteArray corrupt = QByteArray(bytes).replace("java/lang/Object", "Java/lang/Object");  // fails its CRC
    ASSERT_TRUE(writeBytes(path("corrupt.jar"), {corrupt.begin(), corrupt.end()}));
    const bool encrypted = makeJar(path("secret.jar"), {{"p/A.class", classBytes("p/A", "a")}}, false, "secret");
    for (const QString jar : {"truncated.jar", "text.jar", "nonexistent.jar", "corrupt.jar", "secret.jar"}) {
        const std::string e = readError(*discover("", spath("cp") + ":" + spath(jar)), "p.A");
        const std::string unreadable =
            "Cannot read class p.A: p/A.class in " + spath(jar) + ": ";  // the reader's reason
        if (jar == "corrupt.jar")
            EXPECT_EQ(e, unreadable + "CRC error");  // the reason itself, not a bare "No error"
        else if (jar == "secret.jar" && encrypted)
            EXPECT_EQ(e, unreadable + "entry is encrypted");
        else
            EXPECT_EQ(e, "not found: p.A") << jar.toStdString();
        EXPECT_EQ(e.find('\n'), std::string::npos) << e;
    }
}

TEST_F(Sources, SpecialFilesAreRefusedWithoutBlocking)
{
    // A FIFO would block every open until a writer came; /dev/zero never ends.
    // (The line reader's refusal is the window's closing test's, over the configuration file.)
    makeModulesJdk(path("jdk"));
    QDir().mkpath(path("cp/p"));
    for (const char* kind : {"fifo", "zero"}) {
        for (const QString file : {"cp/p/A.class", "special.jar", "modules"}) {
            QFile::remove(path(file));
            ASSERT_TRUE(kind[0] == 'f' ? mkfifo(QFile::encodeName(path(file)), 0600) == 0
                                       : QFile::link("/dev/zero", path(file)));
        }
        EXPECT_EQ(readError(*discover("jdk", spath("cp") + ":" + spath("special.jar")), "p.A"), "not found: p.A");
        std::string why;
        EXPECT_EQ(JImage::open(spath("modules"), why), nullptr);
        EXPECT_EQ(why, spath("modules") + ": not a regular file");
    }
}

TEST_F(Sources, EveryJarStaysSearchableUnderALowFileLimit)
{
    makeModulesJdk(path("jdk"));
    constexpr int kJars = 150;
    for (int i = 0; i < kJars; ++i) {
        const std::string name = "p/C" + std::to_string(i);
        ASSERT_TRUE(makeJar(path(QString("jars/j%1.jar").arg(i)), {{name + ".class", classBytes(name, "m")}}));
    }
    const auto lib = discover("jdk", spath("jars") + "/*");
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    for (const rlim_t limit : {rlim_t(1024), rlim_t(40)}) {  // fewer than the jars, then fewer than we keep open
        rlimit low = saved;
        low.rlim_cur = std::min(limit, saved.rlim_cur);
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &low), 0);
        lib->clearCache();
        for (int i = 0; i < 2 * kJars; ++i)
            EXPECT_EQ(readError(*lib, ("p.C" + std::to_string(i % kJars)).c_str()), "") << i << " under " << limit;
    }
    setrlimit(RLIMIT_NOFILE, &saved);
}

TEST_F(Sources, DamageIsReportedWithItsReason)
{
    JImageBuilder b;
    b.addClass("java.base", "java/lang/Object", kObject);
    const std::vector<uint8_t> image = b.build();
    ASSERT_TRUE(writeBytes(path("jdk/lib/modules"), {image.begin(), image.end() - 40}));
    // Checked only to explain a class that is not found, never at start-up.
    const auto lib = discover("jdk");
    EXPECT_EQ(lib->warning(), "");
    EXPECT_EQ(readError(*lib, "p.Missing"), "not found: p.Missing");
    EXPECT_EQ(lib->notFoundExplanation(),
        "javaorvel: JDK image " + spath("jdk/lib/modules") + " is damaged: the file has " +
            std::to_string(image.size() - 40) + " bytes but its resources reach to byte " +
            std::to_string(image.size()) + " (cut short?)");
}
