#include "catalogue/PathsData.h"
#include "cli/Commands.h"
#include "javadoc/CatalogueLookup.h"
#include "lookup/ClassCompletion.h"
#include "platform/classlib/ClassLibrary.h"

namespace cli {

// resolve TEXT: what SEARCH completes TEXT to, the catalogue first, then the
// class index (its binary name, "java.util.Map$Entry").
int runResolve(const QStringList& args)
{
    if (args.size() != 1)
        return usageError(QStringLiteral("resolve"));
    const PathsData pathsData;
    QString startAt;
    if (javadoc::loadTxt(pathsData, args.first(), startAt)) {
        out(startAt + QLatin1Char('\n'));
        return 0;
    }
    const QString hit = lookup::ClassCompletion::resolveOnce(platform::classlib::ClassLibrary::system(), args.first());
    if (hit.isEmpty())
        return 1;
    out(hit + QLatin1Char('\n'));
    return 0;
}

// complete [--limit N] PREFIX: the class field's completion list, qualified
// binary names one a line.
int runComplete(const QStringList& args)
{
    qsizetype limit = 20;
    QString prefix;
    bool havePrefix = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--limit") && i + 1 < args.size()) {
            bool ok = false;
            limit = args.at(++i).toLongLong(&ok);
            if (!ok || limit < 0)
                return usageError(QStringLiteral("complete"));
        } else if (!havePrefix) {
            prefix = args.at(i);
            havePrefix = true;
        } else {
            return usageError(QStringLiteral("complete"));
        }
    }
    if (!havePrefix)
        return usageError(QStringLiteral("complete"));
    QString text;
    for (const lookup::ClassChoice& c :
        lookup::ClassCompletion::completeOnce(platform::classlib::ClassLibrary::system(), prefix, size_t(limit)))
        text += c.binaryName + QLatin1Char('\n');
    out(text);
    return 0;
}

}  // namespace cli
