#include <gtest/gtest.h>

#include "app/SearchNaming.h"
#include "catalogue/PathsData.h"
#include "tests/support/QtPrinters.h"

TEST(SearchNaming, CompletesAndRenamesSwingClasses)
{
    const PathsData data;
    struct Case {
        const char* typed;
        bool hit;
        const char* field;  // field text afterwards
        const char* name2;  // name2 afterwards (starts as "before")
    };
    const Case cases[] = {
        {"JTree", true, "com.sun.java.swing.JTree", "com.sun.java.swing.JTree"},
        {"Button", true, "java.awt.Button", "java.awt.Button"},
        {"AccessibleContext", true, "com.sun.java.accessibility.AccessibleContext",
            "com.sun.java.accessibility.AccessibleContext"},
        {"java.awt.Button", false, "java.awt.Button", "before"},
        {" Button", false, " Button", "before"},
        {"", false, "", "before"},
    };
    for (const Case& c : cases) {
        QString field = QString::fromLatin1(c.typed);
        QString startAt = "start";
        QString name2 = "before";
        EXPECT_EQ(app::completeSearchName(data, field, startAt, name2), c.hit) << c.typed;
        EXPECT_EQ(field, QString::fromLatin1(c.field)) << c.typed;
        EXPECT_EQ(name2, QString::fromLatin1(c.name2)) << c.typed;
    }
}

TEST(SearchNaming, JavaxAnywhereDropsTheFirstFiveCharacters)
{
    EXPECT_EQ(app::toClassLibraryNaming("javax.swing.JTree"), "com.sun.java.swing.JTree");
    EXPECT_EQ(app::toClassLibraryNaming("java.awt.Button"), "java.awt.Button");
    // The rule looks for "javax" anywhere but always cuts the first five characters.
    EXPECT_EQ(app::toClassLibraryNaming("org.javax.Foo"), "com.sun.javaavax.Foo");
}
