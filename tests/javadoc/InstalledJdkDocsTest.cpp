// Against the JDK 17 documentation that Debian's openjdk-17-doc installs.

#include <gtest/gtest.h>

#include "javadoc/SelectionArgs.h"
#include "tests/support/PageFiles.h"

TEST(InstalledJdkDocs, MembersStartWithTheirSignatureLine)
{
    const QString api = "/usr/share/doc/openjdk-17-jre-headless/api";
    if (!QDir(api + "/java.base").exists() || !QDir(api + "/java.desktop").exists())
        GTEST_SKIP() << "openjdk-17-doc is not installed";
    const char *vector = "java.util.Vector", *jtree = "com.sun.java.swing.JTree";  // JTree by the old naming
    const struct {
        const char *name2, *group, *leaf, *signature;
    } cases[] = {
        {vector, vector, "add  boolean add(Object)", "public boolean add(E e)"},
        {vector, vector, "size  int size()", "public int size()"},
        {vector, vector, "insertElementAt  void insertElementAt(Object,int)",
            "public void insertElementAt(E obj, int index)"},
        {vector, "constructors", "Vector  Vector(int,int)",
            "public Vector(int initialCapacity, int capacityIncrement)"},
        {vector, "constructors", "Vector  Vector()", "public Vector()"},
        {jtree, jtree, "getRowCount  int getRowCount()", "public int getRowCount()"},
        {jtree, "constructors", "JTree  JTree()", "public JTree()"},
        {jtree, "java.awt.Container", "getComponentCount  int getComponentCount()", "public int getComponentCount()"},
    };
    for (const auto& c : cases) {
        const auto args = javadoc::deriveSelection({"Methods", c.group, c.leaf});
        javadoc::DocRequest r =
            javadoc_test::request(api + "/java.base", args->memberName, args->commaCount, args->groupName);
        r.name2 = r.nameText = c.name2;
        r.docpath2 = api + "/java.desktop";
        const javadoc::DocResult result = javadoc::doit(r);
        EXPECT_TRUE(result.pageOpened) << c.leaf;
        const QStringList lines = result.text.split('\n');
        ASSERT_GE(lines.size(), 3) << c.leaf;
        EXPECT_EQ(lines[0] + '\n' + lines[1] + '\n', javadoc_test::shown(c.signature)) << c.leaf;
        EXPECT_FALSE(lines[2].trimmed().isEmpty()) << c.leaf;
    }
}
