#include <gtest/gtest.h>

#include <QSet>
#include <stdexcept>

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

// Which entry sits where is the ordering rule's; the catalogue lookup's table
// reads many entries through their short names.
TEST(PathsData, TableFollowsTheOrderingRuleStrictlyAndNothingIsOutsideIt)
{
    const PathsData data;
    QSet<QString> packages;
    for (int i = 0; i < PathsData::kCount; ++i) {
        const QString& path = data.getString(i);
        EXPECT_TRUE(path.endsWith(QLatin1String(".html")) && !path.startsWith('/') && !path.contains('\\')) << i;
        packages.insert(packagePath(path));
        // Strictly ordered, so no name twice either.
        EXPECT_TRUE(i == 0 || orderedBefore(data.getString(i - 1), path)) << i << ": " << path.toStdString();
    }
    EXPECT_EQ(packages.size(), 59);
    for (int bad : {-1, PathsData::kCount, -2147483647 - 1, 2147483647})
        EXPECT_THROW(data.getString(bad), std::out_of_range) << bad;
}
