#include "cli/Commands.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/classlib/ClassLibrary.h"

namespace cli {

namespace {

void printNode(const lookup::MemberNode& node, int level, QString& text)
{
    text += QString(2 * level, QLatin1Char(' '));
    text += QLatin1Char('"');
    text += node.text;  // trailing blanks are part of the node text
    text += QStringLiteral("\"\n");
    for (const lookup::MemberNode& child : node.children) printNode(child, level + 1, text);
}

}  // namespace

// tree NAME [SEARCH]: the member tree the window would show for NAME typed into
// the class field (as typed: blanks around it keep the "constructors" group
// from being found) and SEARCH in the search field.
int runTree(const QStringList& args)
{
    if (args.size() != 1 && args.size() != 2)
        return usageError(QStringLiteral("tree"));
    const QString& name = args.at(0);
    const QString search = args.size() == 2 ? args.at(1) : QString();

    int status = 0;
    const std::optional<lookup::LookupResult> result = lookUpForCli(name, status);
    if (!result)
        return status;
    QStringList classes;
    // A member class found through its binary form is grouped as if that had been typed.
    const QString field = result->binaryName.isEmpty() ? name : result->binaryName;
    lookup::SinceTable since;
    if (lookup::sinceFilterRelease(search) != 0)
        since = lookup::sinceTableOf(platform::classlib::ClassLibrary::system(), result->cl->getName());
    const lookup::MemberNode root = lookup::buildMemberTree(result->n, search, field, classes, &since);
    QString text;
    printNode(root, 0, text);
    out(text);
    return 0;
}

}  // namespace cli
