#include "cli/Commands.h"
#include "lookup/ClassLookup.h"

namespace cli {

// javaorvel-cli members NAME: the printed signatures that SEARCH collects for
// NAME (constructors first, then methods), one a line.
int runMembers(const QStringList& args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("members"));
    const QString warning = platform::classLibraryStartupWarning();
    if (!warning.isEmpty())
        err(warning + QLatin1Char('\n'));
    const lookup::LookupResult r = lookup::lookUpClass(args.first());
    switch (r.status) {
    case lookup::LookupResult::Status::Blank:
        return 0;
    case lookup::LookupResult::Status::NotFound:
        out(r.message + QLatin1Char('\n'));
        return 1;
    case lookup::LookupResult::Status::Unreadable:
        err(r.message + QLatin1Char('\n'));
        return 1;
    case lookup::LookupResult::Status::Found:
        break;
    }
    QString text;
    for (const QString& line : r.n) {
        text += line;
        text += QLatin1Char('\n');
    }
    out(text);
    return 0;
}

}  // namespace cli
