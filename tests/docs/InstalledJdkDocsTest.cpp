// Against the JDK 17 documentation that Debian's openjdk-17-doc installs.

#include <gtest/gtest.h>

#include <QDir>

#include "PageFiles.h"
#include "docs/Extractor.h"
#include "docs/SelectionArgs.h"

namespace {

const QString kApi = "/usr/share/doc/openjdk-17-jre-headless/api";

class InstalledJdkDocs : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QDir(kApi + "/java.base").exists() || !QDir(kApi + "/java.desktop").exists())
            GTEST_SKIP() << "openjdk-17-doc is not installed (" << kApi.toStdString() << ")";
    }
};

TEST_F(InstalledJdkDocs, MembersStartWithTheirSignatureLine)
{
    const QString nine(9, ' ');
    const struct {
        const char* name2;
        const char* group;
        const char* leaf;
        const char* signature;
    } cases[] = {
        {"java.util.Vector", "java.util.Vector", "add                 boolean add(Object)",
         "  public boolean add(E e)"},
        {"java.util.Vector", "java.util.Vector", "size                int size()", "  public int size()"},
        {"java.util.Vector", "java.util.Vector",
         "insertElementAt     void insertElementAt(Object,int)",
         "  public void insertElementAt(E obj, int index)"},
        {"java.util.Vector", "constructors", "Vector              Vector(int,int)",
         "  public Vector(int initialCapacity, int capacityIncrement)"},
        {"java.util.Vector", "constructors", "Vector              Vector()", "  public Vector()"},
        {"com.sun.java.swing.JTree", "com.sun.java.swing.JTree", "getRowCount         int getRowCount()",
         "  public int getRowCount()"},
        {"com.sun.java.swing.JTree", "constructors", "JTree               JTree()", "  public JTree()"},
        {"com.sun.java.swing.JTree", "java.awt.Container", "getComponentCount   int getComponentCount()",
         "  public int getComponentCount()"},
        {"com.sun.java.swing.JTree", "java.lang.Object", "hashCode            int hashCode()",
         "  public int hashCode()"},
        {"java.awt.Button", "java.awt.Button", "getLabel            String getLabel()",
         "  public String getLabel()"},
    };
    for (const auto& c : cases) {
        const auto args = docs::deriveSelection({"Methods", QString(c.group) + nine, QString(c.leaf) + nine});
        ASSERT_TRUE(args);
        docs::DocRequest r;
        r.memberName = args->memberName;
        r.commaCount = args->commaCount;
        r.groupName = args->groupName;
        r.name2 = c.name2;
        r.nameText = c.name2;
        r.docpath = kApi + "/java.base";
        r.docpath2 = kApi + "/java.desktop";
        const docs::DocResult result = docs::doit(r);
        EXPECT_TRUE(result.pageOpened) << c.leaf;
        const QStringList lines = result.text.split('\n');
        ASSERT_GE(lines.size(), 3) << c.leaf;
        EXPECT_EQ(lines[0], c.signature) << c.leaf;
        EXPECT_EQ(lines[1], "  " + QString(121, '-')) << c.leaf;
        EXPECT_FALSE(lines[2].trimmed().isEmpty()) << c.leaf;
    }
}

}  // namespace
