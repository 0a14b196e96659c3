#include "cli/Commands.h"
#include "javadoc/DocService.h"
#include "javadoc/SelectionArgs.h"
#include "javadoc/source/ClassFileFacts.h"
#include "javadoc/source/FoundRoots.h"
#include "javadoc/source/SourceDocs.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/JavaText.h"
#include "platform/classlib/ClassLibrary.h"

#include <optional>

namespace cli {

namespace {

// The leaf's member as the window's tree would carry it: the class the field
// names (the group's when there is no field) looked up and its tree built.
std::optional<platform::Member> memberOfLeaf(const QString& group, const QString& leaf, const QString& field)
{
    const QString className = platform::javaTrim(field).isEmpty() ? group : field;
    const lookup::LookupResult result = lookup::lookUpClass(platform::classlib::ClassLibrary::system(), className);
    if (result.status != lookup::LookupResult::Status::Found)
        return std::nullopt;
    QStringList classes;
    return lookup::leafMember(lookup::buildMemberTree(result.members, QString(), field, classes), group, leaf);
}

// One line a link: the text it covers, a tab, its target.
QString linkLines(const javadoc::MemberDoc& doc)
{
    QString lines;
    for (const javadoc::DocLink& link : doc.links)
        lines += doc.text.mid(link.start, link.length) + QLatin1Char('\t') + link.target + QLatin1Char('\n');
    return lines;
}

}  // namespace

int runDoc(const QStringList& args)
{
    const QString usage = QStringLiteral("doc");
    javadoc::DocRoots roots;
    QString field, name2;
    std::optional<QString> group, leaf, member, commas;
    bool unselected = false;
    bool noSource = false;
    bool links = false;

    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& opt = args.at(i);
        if (opt == QLatin1String("--unselected")) {
            unselected = true;
            continue;
        }
        if (opt == QLatin1String("--no-source")) {
            noSource = true;
            continue;
        }
        if (opt == QLatin1String("--links")) {
            links = true;
            continue;
        }
        if (i + 1 >= args.size())
            return usageError(usage);
        const QString& value = args.at(++i);
        if (opt == QLatin1String("--main"))
            roots.main = value;
        else if (opt == QLatin1String("--swing"))
            roots.swing = value;
        else if (opt == QLatin1String("--name2"))
            name2 = value;
        else if (opt == QLatin1String("--field"))
            field = value;
        else if (opt == QLatin1String("--group"))
            group = value;
        else if (opt == QLatin1String("--leaf"))
            leaf = value;
        else if (opt == QLatin1String("--member"))
            member = value;
        else if (opt == QLatin1String("--commas"))
            commas = value;
        else
            return usageError(usage);
    }
    if (!group || leaf.has_value() == (member.has_value() || commas.has_value()))
        return usageError(usage);

    javadoc::DocSelection selection;
    if (leaf) {
        // The same derivation as selecting that leaf under that group.
        selection.args = *javadoc::deriveSelection({QStringLiteral("Methods"), *group, *leaf});
        selection.leafText = platform::javaTrim(*leaf);
        // Looked up only when the Java source is read: a page answers without it.
        selection.findMember = [group = *group, leafText = *leaf, field] {
            return memberOfLeaf(group, leafText, field);
        };
    } else {
        if (!member || !commas)
            return usageError(usage);
        bool ok = false;
        selection.args.commaCount = commas->toInt(&ok);
        if (!ok)
            return usageError(usage);
        selection.args.memberName = *member;
        selection.args.groupName = platform::javaTrim(*group);
    }
    selection.nameText = field;
    selection.name2 = name2;
    selection.selectionCount = unselected ? 0 : 1;
    // As in the window: the roots' page, the roots found for the class, else
    // (unless refused) the class's Java source.
    roots.extra = javadoc::source::foundDocRoots(javadoc::source::selectedClass(selection));
    javadoc::DocService service(roots, noSource ? nullptr : &javadoc::source::systemSourceReader());
    // The class files' SINCE and DEPRECATED FOR REMOVAL sections, in --release's view.
    service.setMemberFacts(&javadoc::source::systemMemberFacts());
    const std::optional<javadoc::MemberDoc> doc = service.document(selection);
    const QString text = doc ? doc->text : QString();
    out(links && doc ? linkLines(*doc) : text);
    return 0;
}

}  // namespace cli
