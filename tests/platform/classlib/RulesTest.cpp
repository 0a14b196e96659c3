// Reflection's rules on small class files assembled in the tests (no JDK
// needed): getMethods() merging, bridges, default and static interface
// methods, the printed form, binary names, the old Swing naming, and broken
// hierarchies. The installed JDK's classes are the oracle test's.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>

#include "platform/classlib/ClassLibrary.h"
#include "tests/support/ClassFileBuilder.h"

using namespace platform::classlib;
using namespace testing_classlib;

namespace {

using Lines = std::vector<std::string>;

const Lines kObjectMethods = {
    "public final native java.lang.Class java.lang.Object.getClass()",
    "public native int java.lang.Object.hashCode()",
    "public boolean java.lang.Object.equals(java.lang.Object)",
    "public java.lang.String java.lang.Object.toString()",
    "public final void java.lang.Object.wait(long) throws java.lang.InterruptedException",
};

Lines sorted(Lines v)
{
    return std::sort(v.begin(), v.end()), v;
}
Lines operator+(Lines a, const Lines& b)
{
    return a.insert(a.end(), b.begin(), b.end()), a;
}
bool has(const Lines& lines, const std::string& line)
{
    return std::count(lines.begin(), lines.end(), line) == 1;
}

template <typename Member> Lines lines(const std::vector<Member>& members)
{
    Lines out;
    for (const auto& m : members) out.push_back(m.toString().toStdString());
    return out;
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

    // The error reading the class's methods, or "not found: NAME", or "".
    std::string error(const std::string& name)
    {
        try {
            forName(name)->getMethods();
        } catch (const platform::ClassFormatError& e) {
            return e.what();
        } catch (const platform::ClassNotFoundException& e) {
            return std::string("not found: ") + e.what();
        }
        return "";
    }

    QTemporaryDir dir_;
    std::unique_ptr<ClassLibrary> library_;
};

}  // namespace

TEST_F(Rules, DefaultAndStaticInterfaceMethods)
{
    add(ifaceDef("p/I")
            .method(kPublic | kAbstract, "m", "()V")
            .method(kPublic, "d", "(I)Ljava/lang/String;")
            .method(kPublic | kStatic, "s", "([Ljava/lang/Object;)Ljava/util/List;")
            .method(kPrivate, "helper", "()V")
            .method(kPublic | kStatic, "<clinit>", "()V"));
    add(ifaceDef("p/J", {"p/I"}));
    add(classDef("p/C", "java/lang/Object", {"p/I"}).method(kPublic, "<init>", "()V").method(kPublic, "m", "()V"));
    add(classDef("p/D", "p/C"));
    add(ifaceDef("p/Empty"));

    EXPECT_EQ(methods("java.lang.Object"), kObjectMethods);
    EXPECT_EQ(constructors("java.lang.Object"), Lines {"public java.lang.Object()"});
    // Interfaces get none of Object's methods.
    EXPECT_TRUE(
        methods("p.Empty").empty() && constructors("p.Empty").empty() && methods("java.io.Serializable").empty());
    EXPECT_EQ(methods("p.I"),
        (Lines {"public abstract void p.I.m()", "public default java.lang.String p.I.d(int)",
            "public static java.util.List p.I.s(java.lang.Object[])"}));
    // Static interface methods are not inherited, by interfaces or classes.
    EXPECT_EQ(methods("p.J"), (Lines {"public abstract void p.I.m()", "public default java.lang.String p.I.d(int)"}));
    const Lines c =
        Lines {"public void p.C.m()"} + kObjectMethods + Lines {"public default java.lang.String p.I.d(int)"};
    EXPECT_EQ(methods("p.C"), c);
    EXPECT_EQ(sorted(methods("p.D")), sorted(c));
    EXPECT_TRUE(constructors("p.D").empty());
}

TEST_F(Rules, MergingBridgesAndOverrides)
{
    add(classDef("p/Base").method(kPublic, "get", "()Ljava/lang/Object;").method(kPublic, "size", "()I"));
    add(ifaceDef("p/Cmp").method(kPublic | kAbstract, "compareTo", "(Ljava/lang/Object;)I"));
    add(classDef("p/Sub", "p/Base", {"p/Cmp"})
            .method(kPublic, "get", "()Ljava/lang/String;")
            .method(kPublic | kBridge | kSynthetic, "get", "()Ljava/lang/Object;")
            .method(kPublic, "compareTo", "(Lp/Sub;)I")
            .method(kPublic | kBridge | kSynthetic, "compareTo", "(Ljava/lang/Object;)I"));
    add(ifaceDef("p/I").method(kPublic, "run", "()V").method(kPublic | kAbstract, "go", "()V"));
    add(ifaceDef("p/J", {"p/I"}).method(kPublic | kAbstract, "run", "()V"));
    add(ifaceDef("p/K").method(kPublic | kAbstract, "go", "()V"));
    add(classDef("p/A").method(kPublic, "run", "()V").method(kPublic | kStatic, "of", "(Ljava/lang/String;)Lp/A;"));
    add(classDef("p/B", "p/A", {"p/I"}));
    add(classDef("p/C", "java/lang/Object", {"p/I", "p/J"}));
    add(classDef("p/X", "java/lang/Object", {"p/J", "p/K"}));

    // Bridges stay: Sub's get() bridge knocks out Base.get(), its compareTo bridge beats Cmp's abstract one.
    EXPECT_EQ(methods("p.Sub"),
        (Lines {"public java.lang.String p.Sub.get()", "public java.lang.Object p.Sub.get()",
            "public int p.Sub.compareTo(p.Sub)", "public int p.Sub.compareTo(java.lang.Object)",
            "public int p.Base.size()"}) +
            kObjectMethods);
    // A's run() (a class's) beats I's default run(); static class methods are inherited.
    EXPECT_EQ(sorted(methods("p.B")),
        sorted(Lines {"public void p.A.run()", "public static p.A p.A.of(java.lang.String)",
                   "public abstract void p.I.go()"} +
            kObjectMethods));
    // J's run() overrides I's, whichever order the interfaces come in.
    const Lines c = methods("p.C");
    EXPECT_TRUE(has(c, "public abstract void p.J.run()") && !has(c, "public default void p.I.run()"));
    // Unrelated interfaces: both go() stay.
    const Lines x = methods("p.X");
    EXPECT_TRUE(has(x, "public abstract void p.I.go()") && has(x, "public abstract void p.K.go()"));
}

TEST_F(Rules, PrintedForm)
{
    add(classDef("p/Outer$Inner")
            .method(
                kPublic | kVarargs, "<init>", "(I[Ljava/lang/String;)V", {"java/io/IOException", "java/lang/Exception"})
            .method(kProtected, "<init>", "()V")
            .method(kPrivate, "<init>", "(J)V")
            .method(
                kPublic | kFinal | kSynchronized | kStatic | kStrict, "all", "([[I[Ljava/util/Map$Entry;BCDFJSZ)[[[D")
            .method(kPublic | kAbstract, "abs", "()V")
            .method(kPublic | kNative | kSynthetic | kBridge | kVarargs, "nat",
                "([Ljava/lang/Object;)Ljava/lang/Object;", {"java/lang/Throwable"})
            .method(kProtected, "prot", "()V")
            .method(kPrivate, "priv", "()V"));
    add(ifaceDef("p/I").method(kPublic | kStrict, "d", "()V").method(kPublic | kSynchronized, "e", "()V"));
    EXPECT_EQ(constructors("p.Outer$Inner"),
        Lines {"public p.Outer$Inner(int,java.lang.String[]) throws java.io.IOException,java.lang.Exception"});
    EXPECT_EQ(methods("p.Outer$Inner"),
        (Lines {"public static final synchronized strictfp double[][][] p.Outer$Inner.all(int[][],"
                "java.util.Map$Entry[],byte,char,double,float,long,short,boolean)",
            "public abstract void p.Outer$Inner.abs()",
            "public native java.lang.Object p.Outer$Inner.nat(java.lang.Object[]) throws java.lang.Throwable"}) +
            kObjectMethods);
    EXPECT_EQ(
        methods("p.I"), (Lines {"public default strictfp void p.I.d()", "public default synchronized void p.I.e()"}));
}

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
    add(ifaceDef("javax/swing/Able").method(kPublic, "able", "([[Ljavax/swing/Able;)V"));
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
            kObjectMethods + Lines {"public default void com.sun.java.swing.Able.able(com.sun.java.swing.Able[][])"});
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
    const auto start = std::chrono::steady_clock::now();
    for (const auto& [name, reason] : cases) {
        const std::string e = error(name);
        EXPECT_EQ(e.rfind("Cannot read class " + std::string(name) + ": " + reason, 0), 0u) << e;
        EXPECT_EQ(e.find('\n'), std::string::npos) << e;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(methods("java.lang.Object"), kObjectMethods);  // the library stays usable
}
