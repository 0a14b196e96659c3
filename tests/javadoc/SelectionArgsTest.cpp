#include <gtest/gtest.h>

#include "javadoc/SelectionArgs.h"
#include "tests/support/PageFiles.h"

TEST(CommaCount, CappedAfterTheParenthesis)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"void m(a,b,c,d,e,f,g,h)", 6},     // eight parameters: the search stops after six
        {"a,b (x)", 0},                     // commas before the "(" do not count
        {"void m(int,int) throws A,B", 2},  // the throws list counts too
        {"Object m() throws A,B", -1},      // "()" anywhere wins
    };
    for (const auto& c : cases) EXPECT_EQ(javadoc::commaCount(c.text), c.expected) << c.text;
}

TEST(DeriveSelection, FromNodeTexts)
{
    const QString nine(9, ' ');
    const struct {
        QStringList path;
        QString member;
        int commas;
        QString group;
    } cases[] = {
        {{"Methods", "java.util.Vector" + nine, "size      int size()" + nine}, "size", -1, "java.util.Vector"},
        {{"Methods", "constructors", "String              String(byte[],int)" + nine}, "String", 1, "constructors"},
        {{"Methods", "java.util.Vector" + nine}, "", 0, "java.util.Vector"},  // a group node
        {{"Methods", " \t g \n", "\tnoBlank"}, "", 0, "g"},
    };
    for (const auto& c : cases) {
        const auto args = javadoc::deriveSelection(c.path);
        ASSERT_TRUE(args.has_value()) << c.path.join('|').toStdString();
        EXPECT_EQ(args->memberName, c.member);
        EXPECT_EQ(args->commaCount, c.commas);
        EXPECT_EQ(args->groupName, c.group);
    }
    EXPECT_FALSE(javadoc::deriveSelection({"Methods"}).has_value());  // the root alone
    EXPECT_EQ(javadoc::deriveSelection(cases[1].path)->paramTypes, QStringList({"byte[]", "int"}));
    EXPECT_EQ(javadoc::deriveSelection(cases[0].path)->paramTypes, QStringList());
    EXPECT_FALSE(javadoc::deriveSelection(cases[2].path)->paramTypes.has_value());  // a group node
    EXPECT_EQ(javadoc::parameterTypes("void m(Map$Entry, int) throws A,B"), QStringList({"Map$Entry", "int"}));
    EXPECT_FALSE(javadoc::parameterTypes("void m(int").has_value());
    EXPECT_FALSE(javadoc::deriveSelection({}).has_value());
}
