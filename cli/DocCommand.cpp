#include "cli/Commands.h"
#include "javadoc/Extractor.h"
#include "javadoc/SelectionArgs.h"
#include "javadoc/source/SourceDocs.h"
#include "platform/JavaText.h"

#include <optional>

namespace cli {

int runDoc(const QStringList& args)
{
    const QString usage = QStringLiteral("doc");
    javadoc::DocRequest request;
    std::optional<QString> group, leaf, member, commas;
    bool unselected = false;
    bool noSource = false;

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
        if (i + 1 >= args.size())
            return usageError(usage);
        const QString& value = args.at(++i);
        if (opt == QLatin1String("--main"))
            request.docpath = value;
        else if (opt == QLatin1String("--swing"))
            request.docpath2 = value;
        else if (opt == QLatin1String("--name2"))
            request.name2 = value;
        else if (opt == QLatin1String("--field"))
            request.nameText = value;
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

    if (leaf) {
        // The same derivation as selecting that leaf under that group.
        const auto selection = javadoc::deriveSelection({QStringLiteral("Methods"), *group, *leaf});
        request.memberName = selection->memberName;
        request.commaCount = selection->commaCount;
        request.groupName = selection->groupName;
        request.paramTypes = selection->paramTypes;
    } else {
        if (!member || !commas)
            return usageError(usage);
        bool ok = false;
        request.commaCount = commas->toInt(&ok);
        if (!ok)
            return usageError(usage);
        request.memberName = *member;
        request.groupName = platform::javaTrim(*group);
    }
    request.selectionCount = unselected ? 0 : 1;
    QString text = javadoc::doit(request).text;
    if (text.isEmpty() && !noSource) {
        // As in the window: the class's Java source answers when no page does.
        text = javadoc::source::sourceDoc({request.memberName, request.commaCount, request.groupName, request.nameText,
            leaf ? platform::javaTrim(*leaf) : QString()});
    }
    out(text);
    return 0;
}

}  // namespace cli
