#include "catalogue/PathsData.h"
#include "cli/Commands.h"
#include "javadoc/CatalogueLookup.h"

namespace cli {

int runResolve(const QStringList& args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("resolve"));
    const PathsData pathsData;
    QString startAt;
    if (!javadoc::loadTxt(pathsData, args.first(), startAt))
        return 1;
    out(startAt + QLatin1Char('\n'));
    return 0;
}

}  // namespace cli
