#include <unordered_map>

#include "cli/Commands.h"
#include "lookup/ClassLookup.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/CtSym.h"
#include "platform/classlib/MemberSince.h"

namespace cli {

namespace {

using platform::classlib::MemberSince;

struct MembersOptions {
    bool since = false;
    int newSince = 0;  // --new-since's release; 0 when not given
    QString name;
};

std::optional<MembersOptions> parseOptions(QStringList args)
{
    MembersOptions options;
    while (args.size() > 1) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--since")) {
            options.since = true;
        } else if (option == QLatin1String("--new-since") && args.size() > 1) {
            options.newSince = platform::classlib::parseRelease(args.takeFirst().toStdString());
            if (options.newSince == 0)
                return std::nullopt;
        } else {
            return std::nullopt;
        }
    }
    // An option left without its class name is a mistake, not a class named "--since".
    if (args.size() != 1 || args.first() == QLatin1String("--since") || args.first() == QLatin1String("--new-since"))
        return std::nullopt;
    options.name = args.first();
    return options;
}

// Whether a member came after `release`: its first release is known (not
// "this or older") and later.
bool addedAfter(const MemberSince& m, int release)
{
    return m.since.release > release && !m.since.orOlder;
}

}  // namespace

// javaorvel-cli members [--since | --new-since N] NAME: the printed signatures
// that SEARCH collects for NAME (constructors first, then methods), one a
// line; with a since-version and a TAB before each, and only those added
// after release N.
int runMembers(const QStringList& args)
{
    const std::optional<MembersOptions> options = parseOptions(args);
    if (!options)
        return usageError(QStringLiteral("members"));
    int status = 0;
    const std::optional<lookup::LookupResult> r = lookUpForCli(options->name, status);
    if (!r)
        return status;
    const bool withSince = options->since || options->newSince != 0;
    std::unordered_map<std::string, MemberSince> since;
    if (withSince)
        for (MemberSince& m : platform::classlib::membersSince(
                 platform::classlib::ClassLibrary::system(), r->cl->getName().toStdString()))
            since.emplace(m.printed, std::move(m));
    QString text;
    for (const QString& line : r->n) {
        if (withSince) {
            const auto it = since.find(line.toStdString());
            const MemberSince member = it == since.end() ? MemberSince {} : it->second;
            if (options->newSince != 0 && !addedAfter(member, options->newSince))
                continue;
            text += QString::fromStdString(platform::classlib::formatSince(member.since, member.forRemoval));
            text += QLatin1Char('\t');
        }
        text += line;
        text += QLatin1Char('\n');
    }
    out(text);
    return 0;
}

}  // namespace cli
