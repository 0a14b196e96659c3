#include <gtest/gtest.h>

#include <QFile>

#include "lookup/MemberTree.h"
#include "tests/support/QtPrinters.h"

using lookup::buildMemberTree;
using lookup::MemberNode;

namespace {

// Deliberately not in sorted order.
const QStringList kObject = {
    "public final void java.lang.Object.wait(long) throws java.lang.InterruptedException",
    "public boolean java.lang.Object.equals(java.lang.Object)",
    "public java.lang.Object()",
    "public java.lang.String java.lang.Object.toString()",
};

// The tree as indented, quoted lines (the CLI's form).
QStringList build(const QStringList& sigs, const QString& search, const QString& name)
{
    QStringList classes;
    const MemberNode root = buildMemberTree(sigs, search, name, classes);
    QStringList out {'"' + root.text + '"'};
    for (const MemberNode& g : root.children) {
        out << "  \"" + g.text + '"';
        for (const MemberNode& l : g.children) out << "    \"" + l.text + '"';
    }
    return out;
}

QString group(const QString& name)
{
    return "  \"" + name + "         \"";
}
QString leaf(const QString& n, const QString& d)
{
    return "    \"" + n.leftJustified(18, QLatin1Char(' ')) + "  " + d + "         \"";
}

TEST(MemberTree, WorkedExamples)
{
    const QString M = "\"Methods\"", O = group("java.lang.Object"), toString = leaf("toString", "String toString()"),
                  wait = leaf("wait", "final void wait(long) throws InterruptedException");
    const QStringList objectTree = {M, "  \"constructors\"", leaf("Object", "Object()"), O,
        leaf("equals", "boolean equals(Object)"), toString, wait};
    const struct {
        QStringList sigs;
        QString search, name;
        QStringList tree;
    } cases[] = {
        {kObject, "(", "java.lang.Object", objectTree},  // no search text: the JTree reference's
        {kObject, "String", "java.lang.Object", {M, O, toString}},
        {kObject, "string", "java.lang.Object", {M}},
        // the search text is not trimmed: " wait" has a blank before the declaring class, not the name
        {kObject, "void ", "java.lang.Object", {M, O, wait}},
        // no group contains the name (blanks around it, or constructors only):
        // the trimmed name's qualifier is the constructors group
        {{kObject[2]}, "", " java.lang.Object", {M, "  \"constructors\"", leaf("Object", "Object()")}},
        {{"public p.MyException(java.lang.String)", "public p.MyException()"}, "", "p.MyException",
            {M, "  \"constructors\"", leaf("MyException", "MyException()"),
                leaf("MyException", "MyException(String)")}},
        {{"public p.MyException()", "public void q.Base.run()"}, "", "MyException",
            {M, group("p"), leaf("MyException", "MyException()"), group("q.Base"), leaf("run", "void run()")}},
        // "p.Q" names the class, but its package "p" is no group: nothing becomes "constructors"
        {{"public abstract java.lang.Object java.util.Map$Entry.getKey()", "public void p.Q.aVeryLongMethodName18(int)",
             "public void p.Q.exactly18CharsLong()", "public void p.Q.f(int)", "public void p.Q.f(long)"},
            "", "p.Q",
            {M, group("p.Q"), "    \"aVeryLongMethodName18  void aVeryLongMethodName18(int)         \"",
                "    \"exactly18CharsLong  void exactly18CharsLong()         \"", leaf("f", "void f(int)"),
                leaf("f", "void f(long)"), group("java.util.Map$Entry"),
                leaf("Map$getKey", "abstract Object Map$getKey()")}},
    };
    for (const auto& c : cases) EXPECT_EQ(build(c.sigs, c.search, c.name), c.tree) << c.search.toStdString();
}

TEST(MemberTree, ClassListHasOneEntryPerGroupAndKeepsStaleOnes)
{
    QStringList classes;
    buildMemberTree(kObject, "", "java.lang.Object", classes);
    EXPECT_EQ(classes.size(), 25);
    for (int i = 0; i < 25; ++i) classes[i] = QStringLiteral("old%1").arg(i);  // stale entries stay past the groups
    buildMemberTree(kObject, "", "java.lang.Object", classes);
    EXPECT_EQ(classes.mid(0, 3), (QStringList {"constructors", "java.lang.Object", "old2"}));

    QStringList n;  // more than 25 groups are all shown
    for (int i = 0; i < 40; ++i) n << QStringLiteral("public void p.C%1.m%2()").arg(i).arg(i, 2, 10, QLatin1Char('0'));
    buildMemberTree(n, "", "q.Nothing", classes);
    ASSERT_EQ(classes.size(), 40);
    EXPECT_EQ(classes[39], "p.C39");
}

TEST(MemberTree, JTreeAgainstJavaReference)
{
    // Signatures as JDK 17 reflection prints them; the expected trees were made by
    // a Java program following the same steps with java.util.Vector, the JDK's
    // StreamTokenizer and Double.toString.
    auto read = [](const char* file) {
        QFile f(QString::fromLatin1(JO_SOURCE_DIR "/tests/lookup/data/") + QLatin1String(file));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file;
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    const QStringList sigs = read("jtree_signatures.txt");
    ASSERT_EQ(sigs.size(), 447);
    EXPECT_EQ(build(sigs, "", "javax.swing.JTree"), read("jtree_tree.txt"));
    EXPECT_EQ(build(sigs, "get", "javax.swing.JTree"), read("jtree_tree_get.txt"));
}

}  // namespace

// Leaves built from member values carry them, and a group and leaf text name
// the same leaf whatever their padding.
TEST(MemberTree, LeavesCarryTheirMembers)
{
    const platform::Member ctor {"java.lang.Object", platform::MemberKind::Constructor, "Object", {}, kObject[2]};
    const platform::Member equals {
        "java.lang.Object", platform::MemberKind::Method, "equals", {"java.lang.Object"}, kObject[1]};
    QStringList classes;
    const MemberNode root = buildMemberTree({equals, ctor}, "", "java.lang.Object", classes);
    ASSERT_EQ(root.children.size(), 2u);  // "constructors", "java.lang.Object"
    EXPECT_EQ(root.children[0].children.at(0).member, ctor);
    EXPECT_EQ(root.children[1].children.at(0).member, equals);
    EXPECT_FALSE(root.children[0].member.has_value());

    const struct {
        QString group, leaf;
        std::optional<platform::Member> expected;
    } cases[] = {
        {"constructors", "Object  Object()", ctor}, {" java.lang.Object ", "equals boolean   equals(Object)", equals},
        {"java.lang.Object", "equals  boolean equals(int)", std::nullopt},
        {"constructors", "equals  boolean equals(Object)", std::nullopt},  // another group's leaf
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookup::leafMember(root, c.group, c.leaf), c.expected)
            << c.group.toStdString() << c.leaf.toStdString();
}
