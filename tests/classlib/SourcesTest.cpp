// Finding the class library (JAVA_HOME, the java on PATH, the default JDK;
// lib/modules or rt.jar) and the CLASSPATH entries (folders, jars, "dir/*"),
// with bad jars and bad images.

#include <gtest/gtest.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "ClassFileBuilder.h"
#include "JImageBuilder.h"
#include "platform/classlib/ClassLibrary.h"

using namespace platform::classlib;
using namespace testing_classlib;
using platform::ClassFormatError;
using platform::ClassNotFoundException;

namespace {

std::vector<uint8_t> classBytes(const std::string& name, const std::string& method,
                                const std::string& super = "java/lang/Object")
{
    ClassSpec c;
    c.name = name;
    c.super = super;
    c.method(kPublic, "<init>", "()V").method(kPublic, method, "()V");
    return buildClass(c);
}

std::vector<uint8_t> objectBytes()
{
    ClassSpec c;
    c.name = "java/lang/Object";
    c.super = "";
    c.method(kPublic, "<init>", "()V").method(kPublic, "toString", "()Ljava/lang/String;");
    return buildClass(c);
}

bool makeJar(const QString& path, const std::map<std::string, std::vector<uint8_t>>& entries, bool store = false,
             const char* password = nullptr)
{
    int err = 0;
    zip_t* z = zip_open(path.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z)
        return false;
    for (const auto& [name, bytes] : entries) {
        zip_source_t* src = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(z, name.c_str(), src, ZIP_FL_OVERWRITE);
        if (index < 0)
            return false;
        if (store)
            zip_set_file_compression(z, zip_uint64_t(index), ZIP_CM_STORE, 0);
        if (password && zip_file_set_encryption(z, zip_uint64_t(index), ZIP_EM_AES_256, password) != 0) {
            zip_discard(z);
            return false;
        }
    }
    return zip_close(z) == 0;
}

std::vector<uint8_t> readAll(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}

// A fake JDK 9+ home: lib/modules holding Object and p.Jdk.
void makeModulesJdk(const QString& home)
{
    JImageBuilder b;
    b.addClass("java.base", "java/lang/Object", objectBytes());
    b.addClass("m", "p/Jdk", classBytes("p/Jdk", "fromImage"));
    b.addClass("m", "p/Both", classBytes("p/Both", "fromImage"));
    ASSERT_TRUE(writeBytes(home + "/lib/modules", b.build()));
}

std::string firstMethod(ClassLibrary& lib, const char* name)
{
    return lib.forName(name)->getMethods().at(0).toString().toStdString();
}

bool notFound(ClassLibrary& lib, const char* name)
{
    try {
        lib.forName(name);
    } catch (const ClassNotFoundException&) {
        return true;
    }
    return false;
}

class Sources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString path(const QString& rel) const { return dir_.path() + "/" + rel; }
    std::string spath(const QString& rel) const { return path(rel).toStdString(); }

    ClassLibrary::Environment env() const
    {
        ClassLibrary::Environment e;
        e.path = spath("empty-bin");
        e.defaultJava = spath("no-default-java");
        return e;
    }

    QTemporaryDir dir_;
};

}  // namespace

TEST_F(Sources, JavaHomeWithLibModules)
{
    makeModulesJdk(path("jdk"));
    auto e = env();
    e.javaHome = spath("jdk");
    const auto lib = ClassLibrary::discover(e);
    EXPECT_EQ(lib->jdkHome(), spath("jdk"));
    EXPECT_EQ(lib->jdkLibrary(), spath("jdk/lib/modules"));
    EXPECT_EQ(lib->warning(), "");
    EXPECT_EQ(firstMethod(*lib, "p.Jdk"), "public void p.Jdk.fromImage()");
}

TEST_F(Sources, JavaOnPathFollowedThroughItsLinks)
{
    makeModulesJdk(path("real/jdk"));
    QDir().mkpath(path("real/jdk/bin"));
    QFile java(path("real/jdk/bin/java"));
    ASSERT_TRUE(java.open(QIODevice::WriteOnly));
    java.write("#!/bin/sh\n");
    java.close();
    java.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    QDir().mkpath(path("alternatives"));
    QDir().mkpath(path("bin"));
    ASSERT_TRUE(QFile::link(path("real/jdk/bin/java"), path("alternatives/java")));
    ASSERT_TRUE(QFile::link(path("alternatives/java"), path("bin/java")));
    auto e = env();
    e.javaHome = spath("not-a-jdk");  // JAVA_HOME without a class library: go on
    e.path = spath("nothing-here") + "::" + spath("bin");
    const auto lib = ClassLibrary::discover(e);
    EXPECT_EQ(lib->jdkHome(), spath("real/jdk"));
    EXPECT_EQ(firstMethod(*lib, "p.Jdk"), "public void p.Jdk.fromImage()");
}

TEST_F(Sources, DefaultJavaLast)
{
    makeModulesJdk(path("default-java"));
    auto e = env();
    e.defaultJava = spath("default-java");
    const auto lib = ClassLibrary::discover(e);
    EXPECT_EQ(lib->jdkHome(), spath("default-java"));
}

TEST_F(Sources, Jdk8RtJar)
{
    for (const QString layout : {"jdk8/jre/lib/rt.jar", "jre8/lib/rt.jar"}) {
        QDir().mkpath(path(layout.section('/', 0, -2)));
        ASSERT_TRUE(makeJar(path(layout), {{"java/lang/Object.class", objectBytes()},
                                           {"p/Old.class", classBytes("p/Old", "fromRtJar")}}));
        auto e = env();
        e.javaHome = spath(layout.section('/', 0, 0));
        const auto lib = ClassLibrary::discover(e);
        EXPECT_EQ(lib->jdkHome(), e.javaHome);
        EXPECT_EQ(lib->warning(), "");
        EXPECT_EQ(firstMethod(*lib, "p.Old"), "public void p.Old.fromRtJar()");
    }
}

TEST_F(Sources, NoJdkAtAll)
{
    auto e = env();
    e.javaHome = spath("nothing");
    const auto lib = ClassLibrary::discover(e);
    EXPECT_EQ(lib->jdkHome(), "");
    EXPECT_NE(lib->warning(), "");
    EXPECT_EQ(lib->warning().find('\n'), std::string::npos);
    EXPECT_NE(lib->warning().find("no Java class library found"), std::string::npos);
    EXPECT_TRUE(notFound(*lib, "java.lang.Object"));
    EXPECT_TRUE(notFound(*lib, "java.lang.String"));
    EXPECT_TRUE(notFound(*lib, "com.sun.java.swing.JTree"));
}

TEST_F(Sources, BadLibModulesIsAWarningAndNotFound)
{
    QDir().mkpath(path("jdk/lib"));
    QFile f(path("jdk/lib/modules"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(64, 'x'));
    f.close();
    QDir().mkpath(path("cp"));
    ASSERT_TRUE(writeBytes(path("cp/java/lang/Object.class"), objectBytes()));
    auto e = env();
    e.javaHome = spath("jdk");
    e.classPath = spath("cp");
    e.classPathSet = true;
    const auto lib = ClassLibrary::discover(e);
    EXPECT_EQ(lib->warning(),
              "javaorvel: cannot read the Java class library " + spath("jdk/lib/modules") +
                  ": not a jimage file (bad magic number)");
    EXPECT_TRUE(notFound(*lib, "p.Jdk"));
    EXPECT_EQ(firstMethod(*lib, "java.lang.Object"), "public java.lang.String java.lang.Object.toString()");
}

TEST_F(Sources, ClassPathEntriesInOrderAfterTheJdk)
{
    makeModulesJdk(path("jdk"));
    ASSERT_TRUE(writeBytes(path("folder/p/Both.class"), classBytes("p/Both", "fromFolder")));
    ASSERT_TRUE(writeBytes(path("folder/p/First.class"), classBytes("p/First", "fromFolder")));
    ASSERT_TRUE(makeJar(path("a.jar"), {{"p/First.class", classBytes("p/First", "fromJar")},
                                        {"p/InJar.class", classBytes("p/InJar", "fromJar", "p/Jdk")},
                                        {"q/Deep.class", classBytes("q/Deep", "fromJar")}}));
    QDir().mkpath(path("jars"));
    ASSERT_TRUE(makeJar(path("jars/z.jar"), {{"p/Wild.class", classBytes("p/Wild", "fromWildcard")}}));
    auto e = env();
    e.javaHome = spath("jdk");
    e.classPath = spath("missing.jar") + ":" + spath("folder") + ":" + spath("a.jar") + ":" + spath("jars") + "/*";
    e.classPathSet = true;
    const auto lib = ClassLibrary::discover(e);
    EXPECT_EQ(firstMethod(*lib, "p.Both"), "public void p.Both.fromImage()");  // the JDK first
    EXPECT_EQ(firstMethod(*lib, "p.First"), "public void p.First.fromFolder()");
    EXPECT_EQ(firstMethod(*lib, "p.InJar"), "public void p.InJar.fromJar()");
    EXPECT_EQ(firstMethod(*lib, "q.Deep"), "public void q.Deep.fromJar()");
    EXPECT_EQ(firstMethod(*lib, "p.Wild"), "public void p.Wild.fromWildcard()");
    const auto methods = lib->forName("p.InJar")->getMethods();
    EXPECT_EQ(methods.at(1).toString().toStdString(), "public void p.Jdk.fromImage()");
    EXPECT_TRUE(notFound(*lib, "p.Nowhere"));
}

TEST_F(Sources, TruncatedCorruptAndNonZipJars)
{
    ASSERT_TRUE(writeBytes(path("cp/java/lang/Object.class"), objectBytes()));
    ASSERT_TRUE(makeJar(path("good.jar"), {{"p/A.class", classBytes("p/A", "a")}}, true));
    auto good = readAll(path("good.jar"));
    // Truncated: the central directory is gone.
    ASSERT_TRUE(writeBytes(path("truncated.jar"), std::vector<uint8_t>(good.begin(), good.begin() + long(good.size() / 2))));
    ASSERT_TRUE(writeBytes(path("text.jar"), {'h', 'e', 'l', 'l', 'o'}));
    // A damaged stored entry: the CRC check fails.
    auto corrupt = good;
    const std::string marker = "java/lang/Object";  // inside the stored class bytes
    const auto it = std::search(corrupt.begin(), corrupt.end(), marker.begin(), marker.end());
    ASSERT_NE(it, corrupt.end());
    *it = 'J';
    ASSERT_TRUE(writeBytes(path("corrupt.jar"), corrupt));
    for (const char* jar : {"truncated.jar", "text.jar", "nonexistent.jar"}) {
        auto e = env();
        e.classPath = spath("cp") + ":" + spath(jar);
        e.classPathSet = true;
        const auto lib = ClassLibrary::discover(e);
        EXPECT_TRUE(notFound(*lib, "p.A")) << jar;
    }
    auto e = env();
    e.classPath = spath("cp") + ":" + spath("corrupt.jar");
    e.classPathSet = true;
    const auto lib = ClassLibrary::discover(e);
    try {
        lib->forName("p.A");
        ADD_FAILURE() << "no error";
    } catch (const ClassFormatError& err) {
        const std::string what = err.what();
        EXPECT_EQ(what.rfind("Cannot read class p.A: p/A.class in " + spath("corrupt.jar") + ": ", 0), 0u) << what;
    }
}

TEST_F(Sources, EncryptedJarEntryIsAnErrorNotACrash)
{
    ASSERT_TRUE(writeBytes(path("cp/java/lang/Object.class"), objectBytes()));
    if (!makeJar(path("secret.jar"), {{"p/A.class", classBytes("p/A", "a")}}, false, "secret"))
        GTEST_SKIP() << "this libzip cannot write encrypted entries";
    auto e = env();
    e.classPath = spath("cp") + ":" + spath("secret.jar");
    e.classPathSet = true;
    const auto lib = ClassLibrary::discover(e);
    try {
        lib->forName("p.A");
        ADD_FAILURE() << "no error";
    } catch (const ClassFormatError& err) {
        const std::string what = err.what();
        EXPECT_EQ(what.rfind("Cannot read class p.A: p/A.class in " + spath("secret.jar") + ": ", 0), 0u) << what;
        EXPECT_EQ(what.find('\n'), std::string::npos);
    }
}
