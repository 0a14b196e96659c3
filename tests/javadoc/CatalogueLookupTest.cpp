#include <gtest/gtest.h>

#include "catalogue/PathsData.h"
#include "javadoc/CatalogueLookup.h"

TEST(LoadTxt, ResolvesShortNamesInCatalogueOrder)
{
    const PathsData data;
    struct Case {
        const char* text;
        const char* expected;  // nullptr: no match
    };
    const Case cases[] = {
        {"Vector", "java.util.Vector"},
        {"JTree", "javax.swing.JTree"},
        {"Date", "java.sql.Date"},
        {"List", "java.awt.List"},
        {"Map", "java.util.Map"},
        {"Map.Entry", "java.util.Map.Entry"},
        {"Attributes", "java.util.jar.Attributes"},
        {"TextLine", "java.awt.font.TextLine.TextLineMetrics"},
        {"util/Vector", "java.util.Vector"},
        {"_NamingContextStub", "org.omg.CosNaming._NamingContextStub"},
        {"Entry", nullptr},
        {"java.util.Vector", nullptr},
        {" Vector", nullptr},
        {"Vector ", nullptr},
        {"vector", nullptr},
        {"", nullptr},
        {"Vec\xF0\x9F\x98\x80tor", nullptr},
    };
    for (const Case& c : cases) {
        QString startAt = QStringLiteral("previous");
        const bool hit = javadoc::loadTxt(data, QString::fromUtf8(c.text), startAt);
        EXPECT_EQ(hit, c.expected != nullptr) << c.text;
        EXPECT_EQ(startAt, c.expected ? QString::fromLatin1(c.expected) : QStringLiteral("previous")) << c.text;
    }
    QString startAt;
    EXPECT_FALSE(javadoc::loadTxt(data, QString(10000, QLatin1Char('V')), startAt));
}
