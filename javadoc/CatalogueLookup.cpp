#include "javadoc/CatalogueLookup.h"

#include <QStringMatcher>

#include "catalogue/PathsData.h"

namespace javadoc {

bool loadTxt(const PathsData& pathsData, const QString& text, QString& startAt)
{
    const QStringMatcher pattern(QLatin1Char('/') + text + QLatin1Char('.'));
    for (int i = 0; i < PathsData::kCount; ++i) {
        const QString& entry = pathsData.getString(i);
        if (pattern.indexIn(entry) < 0)
            continue;
        QString page = entry.size() > 5 ? entry.left(entry.size() - 5) : entry;
        page.replace(QLatin1Char('/'), QLatin1Char('.'));
        startAt = page;
        return true;
    }
    return false;
}

}  // namespace javadoc
