#include <gtest/gtest.h>

#include "PageFiles.h"
#include "docs/SelectionArgs.h"

namespace {

TEST(CommaCount, CappedSearchAndEmptyList)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"boolean add(Object)", 0},
        {"void insertElementAt(Object,int)", 1},
        {"int size()", -1},
        {"no parenthesis, but commas, here", 0},
        {"void m(a,b,c,d,e,f,g,h)", 6},  // eight parameters: the search stops after six
        {"void m(a,b,c,d,e,f,g)", 6},
        {"void m(a,b,c,d,e,f)", 5},
        {"a,b (x)", 0},                  // commas before the "(" do not count
        {"void m(int,int) throws A,B", 2},  // the throws list counts too
        {"Object m() throws A,B", -1},   // "()" anywhere wins
        {"x (,,)()", -1},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(docs::commaCount(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(DeriveSelection, FromNodeTexts)
{
    const QString nine(9, QLatin1Char(' '));
    const struct {
        QStringList path;
        QString member;
        int commas;
        QString group;
    } cases[] = {
        {{"Methods", "java.util.Vector" + nine, "size                int size()" + nine},
         "size", -1, "java.util.Vector"},
        {{"Methods", "constructors", "String              String(byte[],int)" + nine},
         "String", 1, "constructors"},
        {{"Methods", "java.util.Vector" + nine, "add                 boolean add(Object)" + nine},
         "add", 0, "java.util.Vector"},
        {{"Methods", "java.util.Vector" + nine}, "", 0, "java.util.Vector"},  // a group node
        {{"Methods", "x.Y", "aVeryLongMemberNameIndeed  void aVeryLongMemberNameIndeed(a,b,c,d,e,f,g,h)"},
         "aVeryLongMemberNameIndeed", 6, "x.Y"},
        {{"Methods", " \t g \n", "\tnoBlank"}, "", 0, "g"},
    };
    for (const auto& c : cases) {
        const auto args = docs::deriveSelection(c.path);
        ASSERT_TRUE(args.has_value()) << c.path.join('|').toStdString();
        EXPECT_EQ(args->memberName, c.member);
        EXPECT_EQ(args->commaCount, c.commas);
        EXPECT_EQ(args->groupName, c.group);
    }
}

TEST(DeriveSelection, NothingForTheRootAlone)
{
    EXPECT_FALSE(docs::deriveSelection({"Methods"}).has_value());
    EXPECT_FALSE(docs::deriveSelection({}).has_value());
}

}  // namespace
