// Reflection's rules on small class files assembled in the tests (no JDK
// needed): getMethods() merging, bridges, default and static interface
// methods, the printed form, binary names, the old Swing naming, and broken
// hierarchies. Then a few golden facts of the installed JDK.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <fstream>

#include "ClassFileBuilder.h"
#include "platform/classlib/ClassLibrary.h"

using namespace platform::classlib;
using namespace testing_classlib;
using platform::ClassFormatError;
using platform::ClassNotFoundException;

namespace {

using Lines = std::vector<std::string>;

Lines sorted(Lines v)
{
    std::sort(v.begin(), v.end());
    return v;
}

class Rules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        root_ = dir_.path().toStdString();
        ClassSpec object;
        object.name = "java/lang/Object";
        object.super = "";
        object.method(kPublic, "<init>", "()V")
            .method(kPublic | kFinal | kNative, "getClass", "()Ljava/lang/Class;")
            .method(kPublic | kNative, "hashCode", "()I")
            .method(kPublic, "equals", "(Ljava/lang/Object;)Z")
            .method(kProtected | kNative, "clone", "()Ljava/lang/Object;", {"java/lang/CloneNotSupportedException"})
            .method(kPublic, "toString", "()Ljava/lang/String;")
            .method(kPublic | kFinal, "wait", "(J)V", {"java/lang/InterruptedException"})
            .method(kStatic, "<clinit>", "()V");
        add(object);
        for (const char* i : {"java/lang/Cloneable", "java/io/Serializable"}) {
            ClassSpec c;
            c.name = i;
            c.access = kPublic | kInterface | kAbstract;
            add(c);
        }
    }

    void add(const ClassSpec& spec) { ASSERT_TRUE(writeClass(root_, spec)); }

    void addRaw(const std::string& internalName, const std::vector<uint8_t>& bytes)
    {
        ASSERT_TRUE(writeBytes(QString::fromStdString(root_ + "/" + internalName + ".class"), bytes));
    }

    static ClassSpec iface(const std::string& name, std::vector<std::string> supers = {})
    {
        ClassSpec c;
        c.name = name;
        c.access = kPublic | kInterface | kAbstract;
        c.interfaces = std::move(supers);
        return c;
    }

    static ClassSpec cls(const std::string& name, const std::string& super = "java/lang/Object",
                         std::vector<std::string> interfaces = {})
    {
        ClassSpec c;
        c.name = name;
        c.super = super;
        c.interfaces = std::move(interfaces);
        return c;
    }

    ClassLibrary& library()
    {
        if (!library_) {
            std::vector<std::unique_ptr<ClassSource>> sources;
            sources.push_back(std::make_unique<FolderSource>(root_));
            library_ = std::make_unique<ClassLibrary>(std::move(sources));
        }
        return *library_;
    }

    Lines methods(const std::string& name)
    {
        Lines out;
        for (const auto& m : library().forName(QString::fromStdString(name))->getMethods())
            out.push_back(m.toString().toStdString());
        return out;
    }

    Lines constructors(const std::string& name)
    {
        Lines out;
        for (const auto& m : library().forName(QString::fromStdString(name))->getConstructors())
            out.push_back(m.toString().toStdString());
        return out;
    }

    std::string formatError(const std::string& name)
    {
        try {
            library().forName(QString::fromStdString(name))->getMethods();
        } catch (const ClassFormatError& e) {
            return e.what();
        } catch (const ClassNotFoundException& e) {
            return std::string("not found: ") + e.what();
        }
        return "no error";
    }

    bool notFound(const std::string& name)
    {
        try {
            library().forName(QString::fromStdString(name));
        } catch (const ClassNotFoundException&) {
            return true;
        }
        return false;
    }

    QTemporaryDir dir_;
    std::string root_;
    std::unique_ptr<ClassLibrary> library_;
};

const Lines kObjectMethods = {
    "public final native java.lang.Class java.lang.Object.getClass()",
    "public native int java.lang.Object.hashCode()",
    "public boolean java.lang.Object.equals(java.lang.Object)",
    "public java.lang.String java.lang.Object.toString()",
    "public final void java.lang.Object.wait(long) throws java.lang.InterruptedException",
};

}  // namespace

TEST_F(Rules, ObjectsOwnPublicMethodsInClassFileOrder)
{
    EXPECT_EQ(methods("java.lang.Object"), kObjectMethods);
    EXPECT_EQ(constructors("java.lang.Object"), Lines{"public java.lang.Object()"});
}

TEST_F(Rules, InterfacesGetNoObjectMethodsAndMayBeEmpty)
{
    add(iface("p/Empty"));
    EXPECT_TRUE(methods("p.Empty").empty());
    EXPECT_TRUE(constructors("p.Empty").empty());
    EXPECT_TRUE(methods("java.io.Serializable").empty());
}

TEST_F(Rules, DefaultAndStaticInterfaceMethods)
{
    add(iface("p/I")
            .method(kPublic | kAbstract, "m", "()V")
            .method(kPublic, "d", "(I)Ljava/lang/String;")
            .method(kPublic | kStatic, "s", "([Ljava/lang/Object;)Ljava/util/List;")
            .method(kPrivate, "helper", "()V")
            .method(kPublic | kStatic, "<clinit>", "()V"));
    add(iface("p/J", {"p/I"}));
    add(cls("p/C", "java/lang/Object", {"p/I"}).method(kPublic, "<init>", "()V").method(kPublic, "m", "()V"));
    add(cls("p/D", "p/C"));

    EXPECT_EQ(methods("p.I"), (Lines{
                                  "public abstract void p.I.m()",
                                  "public default java.lang.String p.I.d(int)",
                                  "public static java.util.List p.I.s(java.lang.Object[])",
                              }));
    // Static interface methods are not inherited, by interfaces or classes.
    EXPECT_EQ(methods("p.J"), (Lines{"public abstract void p.I.m()", "public default java.lang.String p.I.d(int)"}));
    Lines c = {"public void p.C.m()"};
    c.insert(c.end(), kObjectMethods.begin(), kObjectMethods.end());
    c.push_back("public default java.lang.String p.I.d(int)");
    EXPECT_EQ(methods("p.C"), c);
    EXPECT_EQ(sorted(methods("p.D")), sorted(c));
    EXPECT_TRUE(constructors("p.D").empty());
}

TEST_F(Rules, BridgesAndCovariantReturnsAllStay)
{
    add(cls("p/Base").method(kPublic, "get", "()Ljava/lang/Object;").method(kPublic, "size", "()I"));
    add(iface("p/Cmp").method(kPublic | kAbstract, "compareTo", "(Ljava/lang/Object;)I"));
    add(cls("p/Sub", "p/Base", {"p/Cmp"})
            .method(kPublic, "get", "()Ljava/lang/String;")
            .method(kPublic | kBridge | kSynthetic, "get", "()Ljava/lang/Object;")
            .method(kPublic, "compareTo", "(Lp/Sub;)I")
            .method(kPublic | kBridge | kSynthetic, "compareTo", "(Ljava/lang/Object;)I"));
    const Lines m = methods("p.Sub");
    const Lines expected = {
        "public java.lang.String p.Sub.get()",
        "public java.lang.Object p.Sub.get()",  // the bridge knocks out Base.get()
        "public int p.Sub.compareTo(p.Sub)",
        "public int p.Sub.compareTo(java.lang.Object)",  // the bridge beats Cmp's abstract one
        "public int p.Base.size()",
    };
    Lines head(m.begin(), m.begin() + 5);
    EXPECT_EQ(head, expected);
    EXPECT_EQ(m.size(), 5 + kObjectMethods.size());
    EXPECT_EQ(std::count(m.begin(), m.end(), "public java.lang.Object p.Base.get()"), 0);
}

TEST_F(Rules, ClassMethodBeatsInterfaceMethodAndSubtypeBeatsSupertype)
{
    add(iface("p/I").method(kPublic, "run", "()V").method(kPublic | kAbstract, "go", "()V"));
    add(iface("p/J", {"p/I"}).method(kPublic | kAbstract, "run", "()V"));
    add(iface("p/K").method(kPublic | kAbstract, "go", "()V"));
    add(cls("p/A").method(kPublic, "run", "()V"));
    add(cls("p/B", "p/A", {"p/I"}));
    add(cls("p/C", "java/lang/Object", {"p/I", "p/J"}));
    add(cls("p/X", "java/lang/Object", {"p/J", "p/K"}));
    // A's run() (a class's) beats I's default run().
    EXPECT_EQ(sorted(methods("p.B")), sorted([] {
                  Lines l = {"public void p.A.run()", "public abstract void p.I.go()"};
                  l.insert(l.end(), kObjectMethods.begin(), kObjectMethods.end());
                  return l;
              }()));
    // J's run() overrides I's, whichever order the interfaces come in.
    const Lines c = methods("p.C");
    EXPECT_EQ(std::count(c.begin(), c.end(), "public abstract void p.J.run()"), 1);
    EXPECT_EQ(std::count(c.begin(), c.end(), "public default void p.I.run()"), 0);
    // Unrelated interfaces: both go() stay.
    const Lines x = methods("p.X");
    EXPECT_EQ(std::count(x.begin(), x.end(), "public abstract void p.I.go()"), 1);
    EXPECT_EQ(std::count(x.begin(), x.end(), "public abstract void p.K.go()"), 1);
}

TEST_F(Rules, StaticClassMethodsAreInheritedFromSuperclasses)
{
    add(cls("p/A").method(kPublic | kStatic, "valueOf", "(Ljava/lang/String;)Lp/A;"));
    add(cls("p/B", "p/A"));
    const Lines b = methods("p.B");
    EXPECT_EQ(std::count(b.begin(), b.end(), "public static p.A p.A.valueOf(java.lang.String)"), 1);
}

TEST_F(Rules, PrintedForm)
{
    add(cls("p/Outer$Inner")
            .method(kPublic | kVarargs, "<init>", "(I[Ljava/lang/String;)V",
                    {"java/io/IOException", "java/lang/Exception"})
            .method(kProtected, "<init>", "()V")
            .method(kPrivate, "<init>", "(J)V")
            .method(kPublic | kFinal | kSynchronized | kStatic | kStrict, "all",
                    "([[I[Ljava/util/Map$Entry;BCDFJSZ)[[[D")
            .method(kPublic | kAbstract, "abs", "()V")
            .method(kPublic | kNative | kSynthetic | kBridge | kVarargs, "nat", "([Ljava/lang/Object;)Ljava/lang/Object;",
                    {"java/lang/Throwable"})
            .method(kProtected, "prot", "()V")
            .method(kPrivate, "priv", "()V"));
    add(iface("p/I").method(kPublic | kStrict, "d", "()V").method(kPublic | kSynchronized, "e", "()V"));
    EXPECT_EQ(constructors("p.Outer$Inner"),
              Lines{"public p.Outer$Inner(int,java.lang.String[]) throws java.io.IOException,java.lang.Exception"});
    const Lines m = methods("p.Outer$Inner");
    EXPECT_EQ(m[0],
              "public static final synchronized strictfp double[][][] p.Outer$Inner.all(int[][],java.util.Map$Entry[],"
              "byte,char,double,float,long,short,boolean)");
    EXPECT_EQ(m[1], "public abstract void p.Outer$Inner.abs()");
    EXPECT_EQ(m[2], "public native java.lang.Object p.Outer$Inner.nat(java.lang.Object[]) throws java.lang.Throwable");
    EXPECT_EQ(m.size(), 3 + kObjectMethods.size());
    EXPECT_EQ(methods("p.I"), (Lines{"public default strictfp void p.I.d()", "public default synchronized void p.I.e()"}));
}

TEST_F(Rules, BinaryNames)
{
    add(cls("p/Outer$Inner"));
    ClassSpec hidden = cls("p/Hidden");
    hidden.access = 0x20;
    add(hidden);
    EXPECT_FALSE(notFound("p.Outer$Inner"));
    EXPECT_FALSE(notFound("p.Hidden"));
    for (const char* name : {"p.Outer.Inner", "p/Outer$Inner", "", " p.Hidden", "p..Hidden", ".p.Hidden", "p.Hidden.",
                             "p.Missing", "int", "[Lp.Missing;", "[Lp/Hidden;", "[", "[Q", "[Lp.Hidden", "p.Hidden;"})
        EXPECT_TRUE(notFound(name)) << name;
    // Array classes: Object's methods, no constructors.
    for (const char* name : {"[Lp.Hidden;", "[[I", "[Ljava.lang.Object;"}) {
        EXPECT_EQ(methods(name), kObjectMethods) << name;
        EXPECT_TRUE(constructors(name).empty());
        EXPECT_EQ(library().forName(name)->getName().toStdString(), name);
    }
}

TEST_F(Rules, OldSwingNaming)
{
    add(cls("javax/swing/JBase")
            .method(kPublic, "<init>", "()V")
            .method(kPublic, "getUI", "()Ljavax/swing/plaf/UI;", {"javax/swing/Oops"})
            .method(kPublic, "other", "(Ljavaxx/Q;Ljava/lang/String;)Ljavax/Swing;"));
    add(iface("javax/swing/Able").method(kPublic, "able", "([[Ljavax/swing/Able;)V"));
    add(cls("javax/swing/JFoo", "javax/swing/JBase", {"javax/swing/Able"})
            .method(kPublic, "<init>", "(Ljavax/swing/JBase;)V", {"javax/swing/Oops"})
            .method(kPublic, "set", "(Ljavax/swing/JFoo;I)Ljavax/swing/JFoo;"));
    add(cls("com/sun/java/swing/Real").method(kPublic, "<init>", "()V").method(kPublic, "x", "()Ljavax/swing/JFoo;"));

    const auto old = library().forName("com.sun.java.swing.JFoo");
    EXPECT_EQ(old->getName().toStdString(), "com.sun.java.swing.JFoo");
    Lines all = constructors("com.sun.java.swing.JFoo");
    EXPECT_EQ(all, Lines{"public com.sun.java.swing.JFoo(com.sun.java.swing.JBase) throws com.sun.java.swing.Oops"});
    const Lines m = methods("com.sun.java.swing.JFoo");
    EXPECT_EQ(m[0], "public com.sun.java.swing.JFoo com.sun.java.swing.JFoo.set(com.sun.java.swing.JFoo,int)");
    EXPECT_EQ(m[1], "public com.sun.java.swing.plaf.UI com.sun.java.swing.JBase.getUI() throws com.sun.java.swing.Oops");
    // Every name beginning "javax." changes, and only those.
    EXPECT_EQ(m[2], "public com.sun.java.Swing com.sun.java.swing.JBase.other(javaxx.Q,java.lang.String)");
    EXPECT_EQ(m.back(), "public default void com.sun.java.swing.Able.able(com.sun.java.swing.Able[][])");
    for (const auto& line : m)
        EXPECT_EQ(line.find("javax."), std::string::npos) << line;

    // The modern name reads as itself.
    const Lines modern = methods("javax.swing.JFoo");
    EXPECT_EQ(modern[0], "public javax.swing.JFoo javax.swing.JFoo.set(javax.swing.JFoo,int)");
    EXPECT_EQ(library().forName("javax.swing.JFoo")->getName().toStdString(), "javax.swing.JFoo");
    // A class that really exists under com.sun.java is found as itself.
    EXPECT_EQ(methods("com.sun.java.swing.Real")[0], "public javax.swing.JFoo com.sun.java.swing.Real.x()");
    EXPECT_EQ(constructors("com.sun.java.swing.Real"), Lines{"public com.sun.java.swing.Real()"});
    // Neither name exists: not found, under the name asked for.
    try {
        library().forName("com.sun.java.swing.Missing");
        ADD_FAILURE();
    } catch (const ClassNotFoundException& e) {
        EXPECT_STREQ(e.what(), "com.sun.java.swing.Missing");
    }
}

TEST_F(Rules, SuperclassLoopsAndMissingSupertypesAreClearErrors)
{
    add(cls("p/A", "p/B"));
    add(cls("p/B", "p/A"));
    add(cls("p/Self", "p/Self"));
    add(cls("p/UsesLoop", "p/A"));
    add(iface("p/I1", {"p/I2"}));
    add(iface("p/I2", {"p/I1"}));
    add(cls("p/Orphan", "p/Gone"));
    add(cls("p/Lonely", "java/lang/Object", {"p/GoneI"}));
    add(iface("p/Fine"));
    add(cls("p/ExtendsInterface", "p/Fine"));
    add(cls("p/ImplementsClass", "java/lang/Object", {"p/Orphan2"}));
    add(cls("p/Orphan2"));
    ClassSpec fin = cls("p/Final");
    fin.access = kPublic | kFinal;
    add(fin);
    add(cls("p/ExtendsFinal", "p/Final"));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(formatError("p.A"), "Cannot read class p.A: class hierarchy loops through p.A");
    EXPECT_EQ(formatError("p.Self"), "Cannot read class p.Self: class hierarchy loops through p.Self");
    EXPECT_EQ(formatError("p.UsesLoop"), "Cannot read class p.UsesLoop: its class hierarchy loops through p.A");
    EXPECT_EQ(formatError("p.I1"), "Cannot read class p.I1: class hierarchy loops through p.I1");
    EXPECT_EQ(formatError("p.Orphan"), "Cannot read class p.Orphan: its supertype p.Gone was not found");
    EXPECT_EQ(formatError("p.Lonely"), "Cannot read class p.Lonely: its supertype p.GoneI was not found");
    EXPECT_EQ(formatError("p.ExtendsInterface"),
              "Cannot read class p.ExtendsInterface: its superclass p.Fine is an interface");
    EXPECT_EQ(formatError("p.ImplementsClass"),
              "Cannot read class p.ImplementsClass: it implements p.Orphan2, which is not an interface");
    EXPECT_EQ(formatError("p.ExtendsFinal"), "Cannot read class p.ExtendsFinal: it extends the final class p.Final");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // The library stays usable.
    EXPECT_EQ(methods("java.lang.Object"), kObjectMethods);
}

TEST_F(Rules, UnreadableClassFilesAreOneLineErrorsNamingTheClass)
{
    addRaw("p/Garbage", {'n', 'o', 't', '\n', 'a', ' ', 'c', 'l', 'a', 's', 's'});
    auto truncated = buildClass(cls("p/Truncated"));
    truncated.resize(truncated.size() / 2);
    addRaw("p/Truncated", truncated);
    addRaw("p/WrongName", buildClass(cls("p/Other")));
    add(cls("p/OnBroken", "p/Garbage"));
    const std::string garbage = formatError("p.Garbage");
    EXPECT_EQ(garbage.rfind("Cannot read class p.Garbage: not a class file (bad magic number) (in ", 0), 0u) << garbage;
    EXPECT_EQ(formatError("p.Truncated").rfind("Cannot read class p.Truncated: truncated class file", 0), 0u);
    EXPECT_EQ(formatError("p.WrongName").rfind("Cannot read class p.WrongName: the class file holds p.Other", 0), 0u);
    EXPECT_EQ(formatError("p.OnBroken").rfind("Cannot read class p.OnBroken: its supertype p.Garbage: not a class", 0),
              0u);
    for (const char* name : {"p.Garbage", "p.Truncated", "p.WrongName", "p.OnBroken"})
        EXPECT_EQ(formatError(name).find('\n'), std::string::npos);
}

TEST_F(Rules, ParsedClassesAreCachedAndTheCacheCanBeCleared)
{
    add(cls("p/A").method(kPublic, "a", "()V"));
    const Lines first = methods("p.A");
    QFile::remove(QString::fromStdString(root_ + "/p/A.class"));
    EXPECT_EQ(methods("p.A"), first);  // from the cache
    library().clearCache();
    EXPECT_TRUE(notFound("p.A"));
}

TEST_F(Rules, FlightRecorderEventsAsTheJvmInstrumentsThem)
{
    add(cls("jdk/internal/event/Event").method(kPublic, "commit", "()V").method(kPublic, "begin", "()V"));
    add(cls("jdk/internal/event/SomeEvent", "jdk/internal/event/Event"));
    ClassSpec abstractEvent = cls("jdk/internal/event/AbstractEvent", "jdk/internal/event/Event");
    abstractEvent.access = kPublic | kAbstract;
    add(abstractEvent);
    const Lines m = methods("jdk.internal.event.SomeEvent");
    EXPECT_EQ(std::count(m.begin(), m.end(), "public void jdk.internal.event.SomeEvent.commit()"), 1);
    EXPECT_EQ(std::count(m.begin(), m.end(), "public boolean jdk.internal.event.SomeEvent.shouldCommit()"), 1);
    EXPECT_EQ(std::count(m.begin(), m.end(), "public void jdk.internal.event.Event.commit()"), 0);
    const Lines a = methods("jdk.internal.event.AbstractEvent");
    EXPECT_EQ(std::count(a.begin(), a.end(), "public void jdk.internal.event.Event.commit()"), 1);
}

// Golden facts of the installed JDK 17 (the notes' counts).
TEST(InstalledJdk, GoldenCounts)
{
    ClassLibrary& lib = ClassLibrary::system();
    if (lib.jdkHome().empty())
        GTEST_SKIP() << "no JDK installed";
    std::ifstream release(lib.jdkHome() + "/release");
    const std::string text((std::istreambuf_iterator<char>(release)), std::istreambuf_iterator<char>());
    if (text.find("JAVA_VERSION=\"17") == std::string::npos)
        GTEST_SKIP() << "the counts are JDK 17's";
    const struct {
        const char* name;
        size_t ctors, methods;
    } golden[] = {
        {"java.lang.String", 15, 90}, {"java.util.Vector", 4, 58}, {"javax.swing.JTree", 7, 440},
        {"java.lang.Object", 1, 9},   {"java.lang.Math", 0, 91},   {"java.util.List", 0, 46},
        {"java.util.ArrayList", 3, 43}, {"java.io.Serializable", 0, 0},
    };
    for (const auto& g : golden) {
        const auto c = lib.forName(g.name);
        EXPECT_EQ(c->getConstructors().size(), g.ctors) << g.name;
        EXPECT_EQ(c->getMethods().size(), g.methods) << g.name;
    }
    auto count = [&](const char* cls, const std::string& prefix, const std::string& suffix) {
        int n = 0;
        for (const auto& m : lib.forName(cls)->getMethods()) {
            const std::string s = m.toString().toStdString();
            n += s.find(suffix) != std::string::npos && s.rfind(prefix, 0) == 0;
        }
        return n;
    };
    EXPECT_EQ(count("java.lang.StringBuilder", "public ", " java.lang.StringBuilder.append(char)"), 3);
    EXPECT_EQ(count("java.lang.StringBuilder", "public java.lang.Appendable ",
                    " java.lang.StringBuilder.append(char) throws java.io.IOException"),
              1);
    EXPECT_EQ(count("javax.swing.JTree", "public ", ".getUI()"), 2);
    EXPECT_EQ(count("java.util.concurrent.ConcurrentHashMap", "public ", ".keySet()"), 2);
    EXPECT_EQ(count("java.util.Collection", "public default java.lang.Object[] ",
                    "java.util.Collection.toArray(java.util.function.IntFunction)"),
              1);
    EXPECT_EQ(count("java.lang.String", "public int ", "java.lang.String.compareTo(java.lang.Object)"), 1);
    const std::string mapOf20 = "public static java.util.Map java.util.Map.of(" + [] {
        std::string p;
        for (int i = 0; i < 20; ++i)
            p += i ? ",java.lang.Object" : "java.lang.Object";
        return p;
    }() + ")";
    EXPECT_EQ(count("java.util.Map", mapOf20, ""), 1);
    EXPECT_EQ(lib.forName("com.sun.java.swing.plaf.gtk.GTKLookAndFeel")->getName().toStdString(),
              "com.sun.java.swing.plaf.gtk.GTKLookAndFeel");
    const auto tree = lib.forName("com.sun.java.swing.JTree");
    EXPECT_EQ(tree->getMethods().size(), 440u);
    for (const auto& m : tree->getMethods())
        EXPECT_FALSE(m.toString().contains("javax.")) << m.toString().toStdString();
    EXPECT_EQ(tree->getConstructors()[0].toString().toStdString(), "public com.sun.java.swing.JTree()");
}
