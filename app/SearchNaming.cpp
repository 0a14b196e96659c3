#include "app/SearchNaming.h"

#include "javadoc/CatalogueLookup.h"
#include "lookup/ClassCompletion.h"
#include "platform/JavaText.h"
#include "platform/SwingNaming.h"

namespace app {

QString toClassLibraryNaming(const QString& documentationName)
{
    return documentationName.contains(QLatin1String("javax")) ? platform::toOldSwingRoot(documentationName)
                                                              : documentationName;
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

QString toOldSwingNaming(const QString& binaryName)
{
    for (const QLatin1String tree : {QLatin1String("javax.swing"), QLatin1String("javax.accessibility")}) {
        if (binaryName.startsWith(tree) &&
            (binaryName.size() == tree.size() || binaryName.at(tree.size()) == QLatin1Char('.')))
            return platform::toOldSwingRoot(binaryName);
    }
    return binaryName;
}

bool completeFromIndex(const lookup::ClassCompletion& completion, QString& fieldText, QString& name2)
{
    const QString hit = completion.resolve(fieldText);
    if (hit.isEmpty())
        return false;
    const QString s = toOldSwingNaming(hit);
    name2 = platform::javaTrim(s);
    fieldText = s;
    return true;
}

}  // namespace app
