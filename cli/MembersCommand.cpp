#include "cli/Commands.h"
#include "lookup/ClassLookup.h"

namespace cli {

// javaorvel-cli members NAME: the printed signatures that SEARCH collects for
// NAME (constructors first, then methods), one a line.
int runMembers(const QStringList& args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("members"));
    int status = 0;
    const std::optional<lookup::LookupResult> r = lookUpForCli(args.first(), status);
    if (!r)
        return status;
    QString text;
    for (const QString& line : r->n) {
        text += line;
        text += QLatin1Char('\n');
    }
    out(text);
    return 0;
}

}  // namespace cli
