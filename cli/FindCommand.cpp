#include "cli/Commands.h"
#include "lookup/MemberIndex.h"
#include "platform/classlib/ClassLibrary.h"

namespace cli {

// find [--limit N] QUERY: methods by name across every public class, or of one
// class ("Class#name"), one "qualified.Class.method(Type, Type)" a line.
int runFind(const QStringList& args)
{
    qsizetype limit = 20;
    QString query;
    bool haveQuery = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--limit") && i + 1 < args.size()) {
            bool ok = false;
            limit = args.at(++i).toLongLong(&ok);
            if (!ok || limit < 0)
                return usageError(QStringLiteral("find"));
        } else if (!haveQuery) {
            query = args.at(i);
            haveQuery = true;
        } else {
            return usageError(QStringLiteral("find"));
        }
    }
    if (!haveQuery)
        return usageError(QStringLiteral("find"));
    const QString warning = platform::classLibraryStartupWarning();
    if (!warning.isEmpty())
        err(warning + QLatin1Char('\n'));
    platform::classlib::ClassLibrary& library = platform::classlib::ClassLibrary::system();
    const std::unique_ptr<lookup::MemberIndex> index = lookup::MemberIndex::open(library);
    QString text;
    for (const lookup::MethodHit& hit : index->find(library, query, size_t(limit)))
        text += hit.line() + QLatin1Char('\n');
    out(text);
    return 0;
}

}  // namespace cli
