#include <gtest/gtest.h>

#include <QFile>
#include <QTextStream>

#include "lookup/MemberTree.h"

using lookup::buildMemberTree;
using lookup::MemberNode;

namespace {

const QString kObject[] = {
    "public java.lang.Object()",
    "public boolean java.lang.Object.equals(java.lang.Object)",
    "public java.lang.String java.lang.Object.toString()",
    "public final void java.lang.Object.wait(long) throws java.lang.InterruptedException",
};

QStringList objectSigs()
{
    // deliberately not in sorted order
    return {kObject[3], kObject[1], kObject[0], kObject[2]};
}

// The tree as indented, quoted lines (the CLI's form).
QStringList lines(const MemberNode& root)
{
    QStringList out{'"' + root.text + '"'};
    for (const MemberNode& g : root.children) {
        out << "  \"" + g.text + '"';
        for (const MemberNode& l : g.children) out << "    \"" + l.text + '"';
    }
    return out;
}

QStringList build(const QStringList& n, const QString& search, const QString& name)
{
    QStringList classes;
    return lines(buildMemberTree(n, search, name, classes));
}

QString pad(const QString& name) { return name.leftJustified(18, QLatin1Char(' ')); }
QString leaf(const QString& name, const QString& display) { return "    \"" + pad(name) + "  " + display + "         \""; }

TEST(MemberTree, ObjectWorkedExample)
{
    QStringList classes;
    const MemberNode root = buildMemberTree(objectSigs(), "", "java.lang.Object", classes);
    EXPECT_EQ(lines(root), (QStringList{
                               "\"Methods\"",
                               "  \"constructors\"",
                               leaf("Object", "Object()"),
                               "  \"java.lang.Object         \"",
                               leaf("equals", "boolean equals(Object)"),
                               leaf("toString", "String toString()"),
                               leaf("wait", "final void wait(long) throws InterruptedException"),
                           }));
    ASSERT_EQ(classes.size(), 25);
    EXPECT_EQ(classes[0], "constructors");
    EXPECT_EQ(classes[1], "java.lang.Object");
}

TEST(MemberTree, SearchTexts)
{
    const QStringList all = build(objectSigs(), "", "java.lang.Object");
    EXPECT_EQ(build(objectSigs(), "(", "java.lang.Object"), all);
    EXPECT_EQ(build(objectSigs(), "String", "java.lang.Object"),
              (QStringList{"\"Methods\"", "  \"java.lang.Object         \"", leaf("toString", "String toString()")}));
    EXPECT_EQ(build(objectSigs(), "string", "java.lang.Object"), QStringList{"\"Methods\""});
    EXPECT_EQ(build(objectSigs(), "nothing has this", "java.lang.Object"), QStringList{"\"Methods\""});
    // the search text is not trimmed: " wait" has a blank before the declaring class, not the name
    EXPECT_EQ(build(objectSigs(), "void ", "java.lang.Object").size(), 3);
}

TEST(MemberTree, ClassFieldDecidesTheConstructorsGroup)
{
    // blanks around the name: nothing contains the untrimmed text, no "constructors"
    EXPECT_EQ(build(objectSigs(), "", " java.lang.Object")[1], "  \"java.lang         \"");
    // an exception with constructors only: no group names the class
    const QStringList ex = build({"public p.MyException(java.lang.String)", "public p.MyException()"}, "", "p.MyException");
    EXPECT_EQ(ex, (QStringList{"\"Methods\"", "  \"p         \"", leaf("MyException", "MyException()"),
                               leaf("MyException", "MyException(String)")}));
    // no public constructors: no package group at all
    EXPECT_EQ(build({"public static double java.lang.Math.abs(double)"}, "", "java.lang.Math"),
              (QStringList{"\"Methods\"", "  \"java.lang.Math         \"", leaf("abs", "static double abs(double)")}));
}

TEST(MemberTree, NestedClassesLongNamesAndOverloads)
{
    const QStringList t = build({"public abstract java.lang.Object java.util.Map$Entry.getKey()",
                                 "public void p.Q.aVeryLongMethodName18(int)", "public void p.Q.exactly18CharsLong()",
                                 "public void p.Q.f(int)", "public void p.Q.f(long)"},
                                "", "p.Q");
    // "p.Q" names the class, but its package "p" is no group: nothing becomes "constructors"
    EXPECT_EQ(t, (QStringList{
                     "\"Methods\"",
                     "  \"p.Q         \"",
                     "    \"aVeryLongMethodName18  void aVeryLongMethodName18(int)         \"",
                     "    \"exactly18CharsLong  void exactly18CharsLong()         \"",
                     leaf("f", "void f(int)"),
                     leaf("f", "void f(long)"),
                     "  \"java.util.Map$Entry         \"",
                     leaf("Map$getKey", "abstract Object Map$getKey()"),
                 }));
}

TEST(MemberTree, MoreThan25GroupsAreAllShown)
{
    QStringList n;
    for (int i = 0; i < 40; ++i) n << QStringLiteral("public void p.C%1.m%2()").arg(i).arg(i, 2, 10, QLatin1Char('0'));
    QStringList classes{"stale"};
    const MemberNode root = buildMemberTree(n, "", "q.Nothing", classes);
    ASSERT_EQ(root.children.size(), 40u);
    ASSERT_EQ(classes.size(), 40);
    EXPECT_EQ(classes[39], "p.C39");
    EXPECT_EQ(root.children[39].children[0].text, pad("m39") + "  void m39()         ");
}

TEST(MemberTree, StaleClassEntriesAreKeptPastTheCurrentGroups)
{
    QStringList classes;
    for (int i = 0; i < 25; ++i) classes << QStringLiteral("old%1").arg(i);
    buildMemberTree(objectSigs(), "", "java.lang.Object", classes);
    EXPECT_EQ(classes[1], "java.lang.Object");
    EXPECT_EQ(classes[2], "old2");
}

TEST(MemberTree, JTreeAgainstJavaReference)
{
    // Signatures as JDK 17 reflection prints them; the expected trees were made by
    // a Java program following the same steps with java.util.Vector, the JDK's
    // StreamTokenizer and Double.toString.
    auto read = [](const char* file) {
        QFile f(QString::fromLatin1(JO_SOURCE_DIR "/tests/lookup/data/") + QLatin1String(file));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file;
        QStringList out = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        if (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
        return out;
    };
    const QStringList sigs = read("jtree_signatures.txt");
    ASSERT_EQ(sigs.size(), 447);
    EXPECT_EQ(build(sigs, "", "javax.swing.JTree"), read("jtree_tree.txt"));
    EXPECT_EQ(build(sigs, "get", "javax.swing.JTree"), read("jtree_tree_get.txt"));
}

}  // namespace

namespace {

TEST(MemberTree, OddTextsNeitherCrashNorLoseMembers)
{
    // Texts the class library never prints; each still gives exactly one leaf.
    const QStringList odd = {"", "(", ")", "((", ".(", " (", "a.(", "x y(", ". .", "public", " ", "a b c",
                             QString::fromUtf8("public \u00e9.\u4e2d(\"x\")"), "public void a.b/c(int)",
                             "-", "public void p.C.$1(int)", "public void p.C.m(int) throws p.E'x"};
    QStringList classes;
    const MemberNode root = buildMemberTree(odd, "", "", classes);
    size_t leaves = 0;
    for (const MemberNode& g : root.children) leaves += g.children.size();
    EXPECT_EQ(leaves, size_t(odd.size()));
}

}  // namespace
