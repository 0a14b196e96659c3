#include "javadoc/DocService.h"

#include "javadoc/Extractor.h"

namespace javadoc {

namespace {

DocRequest pageRequest(const DocSelection& selection, const QString& main, const QString& swing)
{
    DocRequest request;
    request.memberName = selection.args.memberName;
    request.commaCount = selection.args.commaCount;
    request.groupName = selection.args.groupName;
    // The lookup's own parameter types when the leaf has its member; they
    // are the ones the leaf text spells.
    request.paramTypes =
        selection.member ? std::optional(platform::leafParameterTypes(*selection.member)) : selection.args.paramTypes;
    request.nameText = selection.nameText;
    request.name2 = selection.name2;
    request.docpath = main;
    request.docpath2 = swing;
    request.selectionCount = selection.selectionCount;
    return request;
}

std::optional<QString> nonEmpty(QString text)
{
    return text.isEmpty() ? std::nullopt : std::optional(std::move(text));
}

}  // namespace

DocService::DocService(DocRoots roots, SourceReader* sourceReader)
    : roots_(std::move(roots)), sourceReader_(sourceReader)
{ }

std::optional<QString> DocService::fromPages(const DocSelection& selection) const
{
    if (!roots_.main.isEmpty() || !roots_.swing.isEmpty()) {
        if (auto text = nonEmpty(doit(pageRequest(selection, roots_.main, roots_.swing)).text))
            return text;
    }
    for (const QString& root : roots_.extra) {
        if (root.isEmpty())
            continue;
        if (auto text = nonEmpty(doit(pageRequest(selection, root, root)).text))
            return text;
    }
    return std::nullopt;
}

std::optional<MemberDoc> DocService::document(const DocSelection& selection) const
{
    if (std::optional<QString> page = fromPages(selection))
        return MemberDoc {std::move(*page), DocOrigin::Page, {}};
    if (!sourceReader_)
        return std::nullopt;
    DocSelection withMember = selection;
    if (!withMember.member && withMember.findMember)
        withMember.member = withMember.findMember();
    if (std::optional<QString> source = sourceReader_->document(withMember); source && !source->isEmpty())
        return MemberDoc {std::move(*source), DocOrigin::Source, {}};
    return std::nullopt;
}

}  // namespace javadoc
