#include "app/SearchNaming.h"

#include "javadoc/CatalogueLookup.h"
#include "platform/JavaText.h"

namespace app {

QString toClassLibraryNaming(const QString& documentationName)
{
    if (!documentationName.contains(QLatin1String("javax")))
        return documentationName;
    return QStringLiteral("com.sun.java") + documentationName.mid(5);
}

bool completeSearchName(const PathsData& pathsData, QString& fieldText, QString& startAt, QString& name2)
{
    if (!javadoc::loadTxt(pathsData, fieldText, startAt))
        return false;
    const QString s = toClassLibraryNaming(startAt);
    name2 = platform::javaTrim(s);
    fieldText = s;
    return true;
}

}  // namespace app
