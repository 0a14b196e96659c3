// Reflection's rules where the installed JDK has no example, on small class
// files assembled in the tests: binary names, the old Swing naming, broken
// hierarchies. The getMethods() merge (bridges, default and static interface
// methods, overrides) and the printed form are checked on every class of
// java.base and java.desktop against the JVM by the oracle test.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>

#include "tests/support/ClassFileBuilder.h"
#include "tests/support/Reflection.h"

using namespace platform::classlib;
using namespace testing_classlib;

namespace {

const Lines kObjectMethods = {
    "public final native java.lang.Class java.lang.Object.getClass()",
    "public native int java.lang.Object.hashCode()",
    "public boolean java.lang.Object.equals(java.lang.Object)",
    "public java.lang.String java.lang.Object.toString()",
    "public final void java.lang.Object.wait(long) throws java.lang.InterruptedException",
};

Lines operator+(Lines a, const Lines& b)
{
    return a.insert(a.end(), b.begin(), b.end()), a;
}

class Rules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        add(classDef("java/lang/Object", "")
                .method(kPublic, "<init>", "()V")
                .method(kPublic | kFinal | kNative, "getClass", "()Ljava/lang/Class;")
                .method(kPublic | kNative, "hashCode", "()I")
                .method(kPublic, "equals", "(Ljava/lang/Object;)Z")
                .method(kProtected | kNative, "clone", "()Ljava/lang/Object;", {"java/lang/CloneNotSupportedException"})
                .method(kPublic, "toString", "()Ljava/lang/String;")
                .method(kPublic | kFinal, "wait", "(J)V", {"java/lang/InterruptedException"})
                .method(kStatic, "<clinit>", "()V"));
        add(ifaceDef("java/lang/Cloneable"));
        add(ifaceDef("java/io/Serializable"));
        std::vector<std::unique_ptr<ClassSource>> sources;
        sources.push_back(std::make_unique<FolderSource>(dir_.path().toStdString()));
        library_ = std::make_unique<ClassLibrary>(std::move(sources));
    }

    void add(const ClassDef& c)
    {
        ASSERT_TRUE(writeBytes(dir_.path() + "/" + c.name.c_str() + ".class", buildClass(c)));
    }

    auto forName(const std::string& name) { return library_->forName(QString::fromStdString(name)); }
    Lines methods(const std::string& name) { return lines(forName(name)->getMethods()); }
    Lines constructors(const std::string& name) { return lines(forName(name)->getConstructors()); }

    std::string error(const std::string& name) { return readError(*library_, name); }

    QTemporaryDir dir_;
    std::unique_ptr<ClassLibrary> library_;
};

}  // namespace

TEST_F(Rules, BinaryNames)
{
    add(classDef("p/Outer$Inner"));
    add(classDef("p/Hidden", "java/lang/Object", {}, 0x20));
    EXPECT_EQ(error("p.Outer$Inner") + error("p.Hidden"), "");
    for (const std::string name : {"p.Outer.Inner", "p/Outer$Inner", "", " p.Hidden", "p..Hidden", ".p.Hidden",
             "p.Hidden.", "p.Missing", "int", "[Lp.Missing;", "[Lp/Hidden;", "[", "[Q", "[Lp.Hidden", "p.Hidden;"})
        EXPECT_EQ(error(name), "not found: " + name);
    // Array classes: Object's methods, no constructors.
    for (const char* name : {"[Lp.Hidden;", "[[I", "[Ljava.lang.Object;"}) {
        EXPECT_EQ(methods(name), kObjectMethods) << name;
        EXPECT_TRUE(constructors(name).empty());
        EXPECT_EQ(forName(name)->getName().toStdString(), name);
    }
}

TEST_F(Rules, OldSwingNaming)
{
    add(classDef("javax/swing/JBase")
            .method(kPublic, "<init>", "()V")
            .method(kPublic, "getUI", "()Ljavax/swing/plaf/UI;", {"javax/swing/Oops"})
            .method(kPublic, "other", "(Ljavaxx/Q;Ljava/lang/String;)Ljavax/Swing;"));
    add(ifaceDef("javax/swing/Able").method(kPublic | kStrict, "able", "([[Ljavax/swing/Able;)V"));
    add(classDef("javax/swing/JFoo", "javax/swing/JBase", {"javax/swing/Able"})
            .method(kPublic, "<init>", "(Ljavax/swing/JBase;)V", {"javax/swing/Oops"})
            .method(kPublic, "set", "(Ljavax/swing/JFoo;I)Ljavax/swing/JFoo;"));
    add(classDef("com/sun/java/swing/Real")
            .method(kPublic, "<init>", "()V")
            .method(kPublic, "x", "()Ljavax/swing/JFoo;"));

    EXPECT_EQ(forName("com.sun.java.swing.JFoo")->getName().toStdString(), "com.sun.java.swing.JFoo");
    EXPECT_EQ(constructors("com.sun.java.swing.JFoo"),
        Lines {"public com.sun.java.swing.JFoo(com.sun.java.swing.JBase) throws com.sun.java.swing.Oops"});
    // Every name beginning "javax." changes, and only those.
    EXPECT_EQ(methods("com.sun.java.swing.JFoo"),
        (Lines {"public com.sun.java.swing.JFoo com.sun.java.swing.JFoo.set(com.sun.java.swing.JFoo,int)",
            "public com.sun.java.swing.plaf.UI com.sun.java.swing.JBase.getUI() throws com.sun.java.swing.Oops",
            "public com.sun.java.Swing com.sun.java.swing.JBase.other(javaxx.Q,java.lang.String)"}) +
            kObjectMethods +
            Lines {"public default strictfp void com.sun.java.swing.Able.able(com.sun.java.swing.Able[][])"});
    // The modern name reads as itself, and so does a class that really exists under com.sun.java.
    EXPECT_EQ(methods("javax.swing.JFoo")[0], "public javax.swing.JFoo javax.swing.JFoo.set(javax.swing.JFoo,int)");
    EXPECT_EQ(forName("javax.swing.JFoo")->getName().toStdString(), "javax.swing.JFoo");
    EXPECT_EQ(methods("com.sun.java.swing.Real")[0], "public javax.swing.JFoo com.sun.java.swing.Real.x()");
    EXPECT_EQ(constructors("com.sun.java.swing.Real"), Lines {"public com.sun.java.swing.Real()"});
    // Neither name exists: not found, under the name asked for.
    EXPECT_EQ(error("com.sun.java.swing.Missing"), "not found: com.sun.java.swing.Missing");
}

TEST_F(Rules, LoopsMissingSupertypesAndUnreadableFilesAreOneLineErrors)
{
    for (const auto& [name, super] : std::vector<std::pair<std::string, std::string>> {{"A", "B"}, {"B", "A"},
             {"Self", "Self"}, {"UsesLoop", "A"}, {"Orphan", "Gone"}, {"Plain", "java/lang/Object"},
             {"ExtendsInterface", "Fine"}, {"ExtendsFinal", "Final"}, {"OnBroken", "Garbage"}})
        add(classDef("p/" + name, super.find('/') == std::string::npos ? "p/" + super : super));
    add(ifaceDef("p/I1", {"p/I2"}));
    add(ifaceDef("p/I2", {"p/I1"}));
    add(ifaceDef("p/Fine"));
    add(classDef("p/Lonely", "java/lang/Object", {"p/GoneI"}));
    add(classDef("p/ImplementsClass", "java/lang/Object", {"p/Plain"}));
    add(classDef("p/Final", "java/lang/Object", {}, kPublic | kFinal));
    auto truncated = buildClass(classDef("p/Truncated"));
    truncated.resize(truncated.size() / 2);
    const std::pair<const char*, std::vector<uint8_t>> raw[] = {
        {"Garbage", {'n', 'o', 't', ' ', 'a', ' ', 'c', 'l', 'a', 's', 's'}}, {"Truncated", truncated},
        {"WrongName", buildClass(classDef("p/Other"))}};
    for (const auto& [name, bytes] : raw) ASSERT_TRUE(writeBytes(dir_.path() + "/p/" + name + ".class", bytes));

    const std::pair<const char*, std::string> cases[] = {
        {"p.A", "class hierarchy loops through p.A"},
        {"p.Self", "class hierarchy loops through p.Self"},
        {"p.UsesLoop", "its class hierarchy loops through p.A"},
        {"p.I1", "class hierarchy loops through p.I1"},
        {"p.Orphan", "its supertype p.Gone was not found"},
        {"p.Lonely", "its supertype p.GoneI was not found"},
        {"p.ExtendsInterface", "its superclass p.Fine is an interface"},
        {"p.ImplementsClass", "it implements p.Plain, which is not an interface"},
        {"p.ExtendsFinal", "it extends the final class p.Final"},
        {"p.Garbage", "not a class file (bad magic number) (in "},
        {"p.Truncated", "truncated class file"},
        {"p.WrongName", "the class file holds p.Other"},
        {"p.OnBroken", "its supertype p.Garbage: not a class"},
    };
    for (const auto& [name, reason] : cases) {
        const std::string e = error(name);
        EXPECT_EQ(e.rfind("Cannot read class " + std::string(name) + ": " + reason, 0), 0u) << e;
        EXPECT_EQ(e.find('\n'), std::string::npos) << e;
    }
    EXPECT_EQ(methods("java.lang.Object"), kObjectMethods);  // the library stays usable
}

TEST_F(Rules, InheritedPublicMethodsOfAMadeUpHierarchy)
{
    // I: a default, a static, a default that J redeclares, a default Base also has.
    add(ifaceDef("q/I")
            .method(kPublic, "kept", "()V")
            .method(kPublic | kStatic, "util", "()V")
            .method(kPublic, "redeclared", "()V")
            .method(kPublic, "both", "()V"));
    add(ifaceDef("q/J", {"q/I"}).method(kPublic, "redeclared", "()V").method(kPublic | kStatic, "jutil", "()I"));
    add(classDef("q/Base").method(kPublic, "m", "()V").method(kPublic, "both", "()V").method(kPublic, "n", "(I)V"));
    add(classDef("q/Sub", "q/Base", {"q/J"}).method(kPublic, "m", "()V").method(kPublic, "n", "(J)V"));
    const struct {
        std::string cls;
        Lines declared;  // besides Object's
    } cases[] = {
        // Base.m is overridden; Base.n(int) is an overload and stays; I.redeclared
        // gives way to J's, I.both to the class's; the static methods of I and J stay theirs.
        {"q.Sub",
            {"public void q.Sub.m()", "public void q.Sub.n(long)", "public void q.Base.both()",
                "public void q.Base.n(int)", "public default void q.I.kept()", "public default void q.J.redeclared()"}},
        // An interface lists its own statics, and its superinterface's defaults but not its statics.
        {"q.J",
            {"public static int q.J.jutil()", "public default void q.J.redeclared()", "public default void q.I.both()",
                "public default void q.I.kept()"}},
    };
    for (const auto& c : cases) {
        Lines got = methods(c.cls), want = c.cls == "q.J" ? c.declared : c.declared + kObjectMethods;
        std::sort(got.begin(), got.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << c.cls;
    }
}
