#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <stdexcept>
#include <vector>

#include "catalogue/PathsData.h"

namespace {

QString simpleName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1).chopped(5);
}
QString packagePath(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')));
}

// The lookup order: "_" names last; else by lower-cased simple name, code unit by
// code unit; equal names by package path.
bool orderedBefore(const QString& a, const QString& b)
{
    const QString na = simpleName(a), nb = simpleName(b);
    const bool ua = na.startsWith(QLatin1Char('_')), ub = nb.startsWith(QLatin1Char('_'));
    if (ua != ub)
        return ub;
    const int byName = QString::compare(na.toLower(), nb.toLower(), Qt::CaseSensitive);
    if (byName != 0)
        return byName < 0;
    return QString::compare(packagePath(a), packagePath(b), Qt::CaseSensitive) < 0;
}

}  // namespace

TEST(PathsData, KnownIndexes)
{
    const PathsData data;
    const std::vector<std::pair<int, const char*>> cases = {
        {0, "javax/swing/border/AbstractBorder.html"},
        {1, "javax/swing/AbstractButton.html"},
        {2, "java/util/AbstractCollection.html"},
        {127, "org/omg/CORBA/BAD_TYPECODE.html"},
        {128, "org/omg/CORBA/TypeCodePackage/BadKind.html"},
        {418, "java/sql/Date.html"},
        {419, "java/util/Date.html"},
        {843, "java/awt/List.html"},
        {844, "java/util/List.html"},
        {1518, "java/util/zip/ZipOutputStream.html"},
        {1519, "org/omg/CosNaming/_BindingIteratorImplBase.html"},
        {1520, "org/omg/CosNaming/_BindingIteratorStub.html"},
        {1521, "org/omg/CosNaming/_NamingContextImplBase.html"},
        {1522, "org/omg/CosNaming/_NamingContextStub.html"},
    };
    for (const auto& [index, path] : cases) EXPECT_EQ(data.getString(index), QString::fromLatin1(path)) << index;
}

TEST(PathsData, IndexesOutsideTheTableFail)
{
    const PathsData data;
    for (int bad : {-1, 1523, -2147483647 - 1, 2147483647}) EXPECT_THROW(data.getString(bad), std::out_of_range) << bad;
}

TEST(PathsData, TableFollowsTheOrderingRuleStrictly)
{
    const PathsData data;
    QSet<QString> seen;
    int packages = 0;
    QSet<QString> packageSet;
    for (int i = 0; i < PathsData::kCount; ++i) {
        const QString& path = data.getString(i);
        EXPECT_TRUE(path.endsWith(QLatin1String(".html"))) << path.toStdString();
        EXPECT_FALSE(path.startsWith(QLatin1Char('/')));
        EXPECT_FALSE(path.contains(QLatin1Char('\\')));
        EXPECT_FALSE(seen.contains(path)) << "duplicate " << path.toStdString();
        seen.insert(path);
        packageSet.insert(packagePath(path));
        if (i > 0) {
            EXPECT_TRUE(orderedBefore(data.getString(i - 1), path))
                << i << ": " << data.getString(i - 1).toStdString() << " / " << path.toStdString();
        }
    }
    packages = packageSet.size();
    EXPECT_EQ(packages, 59);
}
