// The member values the lookup gives for members whose printed form is easy to
// misread: an inner class's constructor, varargs, arrays, a bridge method, a
// class found under the old Swing naming.
#include <gtest/gtest.h>

#include "lookup/ClassLookup.h"
#include "platform/classlib/ClassLibrary.h"
#include "tests/support/QtPrinters.h"

TEST(MemberValue, LookupGivesBinaryNamesKindAndErasedParameters)
{
    using platform::MemberKind;
    const struct {
        QString lookedUp, printed;
        QString declaringClass;
        MemberKind kind;
        QString name;
        QStringList parameterTypes;
    } cases[] = {
        {"javax.swing.text.AbstractDocument$BranchElement",
            "public javax.swing.text.AbstractDocument$BranchElement(javax.swing.text.AbstractDocument,"
            "javax.swing.text.Element,javax.swing.text.AttributeSet)",
            "javax.swing.text.AbstractDocument$BranchElement", MemberKind::Constructor, "BranchElement",
            {"javax.swing.text.AbstractDocument", "javax.swing.text.Element", "javax.swing.text.AttributeSet"}},
        {"java.util.AbstractMap$SimpleEntry", "public java.util.AbstractMap$SimpleEntry(java.util.Map$Entry)",
            "java.util.AbstractMap$SimpleEntry", MemberKind::Constructor, "SimpleEntry", {"java.util.Map$Entry"}},
        {"java.lang.String",
            "public static java.lang.String java.lang.String.format(java.lang.String,java.lang.Object[])",
            "java.lang.String", MemberKind::Method, "format", {"java.lang.String", "java.lang.Object[]"}},
        {"java.lang.String", "public static java.lang.String java.lang.String.copyValueOf(char[],int,int)",
            "java.lang.String", MemberKind::Method, "copyValueOf", {"char[]", "int", "int"}},
        {"java.lang.String", "public int java.lang.String.compareTo(java.lang.Object)", "java.lang.String",
            MemberKind::Method, "compareTo", {"java.lang.Object"}},
        {"com.sun.java.swing.JTree", "public void com.sun.java.swing.JTree.setModel(com.sun.java.swing.tree.TreeModel)",
            "javax.swing.JTree", MemberKind::Method, "setModel", {"javax.swing.tree.TreeModel"}},
    };
    auto& library = platform::classlib::ClassLibrary::system();
    for (const auto& c : cases) {
        const lookup::LookupResult result = lookup::lookUpClass(library, c.lookedUp);
        ASSERT_EQ(result.status, lookup::LookupResult::Status::Found) << c.lookedUp.toStdString();
        ASSERT_EQ(result.members.size(), size_t(result.n.size()));
        const auto it = std::find_if(result.members.begin(), result.members.end(),
            [&](const platform::Member& m) { return m.printed == c.printed; });
        ASSERT_NE(it, result.members.end()) << c.printed.toStdString();
        EXPECT_EQ(it->declaringClass, c.declaringClass) << c.printed.toStdString();
        EXPECT_EQ(it->kind, c.kind) << c.printed.toStdString();
        EXPECT_EQ(it->name, c.name) << c.printed.toStdString();
        EXPECT_EQ(it->parameterTypes, c.parameterTypes) << c.printed.toStdString();
    }
}

// A class's member values are made on its first lookup and kept: a later
// lookup, and one under the old Swing naming, get the same values, each
// printed in the naming it asked for and beside its own member.
TEST(MemberValue, LaterLookupsShareTheValuesAndPrintTheirOwnNaming)
{
    auto& library = platform::classlib::ClassLibrary::system();
    const lookup::LookupResult first = lookup::lookUpClass(library, "javax.swing.JTree");
    const lookup::LookupResult again = lookup::lookUpClass(library, "javax.swing.JTree");
    const lookup::LookupResult old = lookup::lookUpClass(library, "com.sun.java.swing.JTree");
    ASSERT_EQ(first.status, lookup::LookupResult::Status::Found);
    ASSERT_EQ(old.status, lookup::LookupResult::Status::Found);
    EXPECT_EQ(again.members, first.members);
    ASSERT_EQ(old.members.size(), first.members.size());
    for (size_t i = 0; i < first.members.size(); ++i) {
        platform::Member renamed = old.members[i];
        const QString printed = first.members[i].printed;
        EXPECT_EQ(renamed.printed, QString(printed).replace("javax.", "com.sun.java."));
        const QString call = (renamed.kind == platform::MemberKind::Method ? "." : "") + renamed.name + "(";
        EXPECT_TRUE(printed.contains(call)) << printed.toStdString();
        renamed.printed = printed;
        EXPECT_EQ(renamed, first.members[i]) << printed.toStdString();
    }
}
