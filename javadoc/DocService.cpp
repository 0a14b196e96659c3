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

std::optional<MemberDoc> nonEmpty(DocResult page)
{
    if (page.text.isEmpty())
        return std::nullopt;
    return MemberDoc {std::move(page.text), DocOrigin::Page, std::move(page.links), page.eraPage};
}

}  // namespace

DocService::DocService(DocRoots roots, SourceReader* sourceReader)
    : roots_(std::move(roots)), sourceReader_(sourceReader)
{ }

std::optional<MemberDoc> DocService::fromPages(const DocSelection& selection) const
{
    if (!roots_.main.isEmpty() || !roots_.swing.isEmpty()) {
        if (auto text = nonEmpty(doit(pageRequest(selection, roots_.main, roots_.swing))))
            return text;
    }
    for (const QString& root : roots_.extra) {
        if (root.isEmpty())
            continue;
        if (auto text = nonEmpty(doit(pageRequest(selection, root, root))))
            return text;
    }
    return std::nullopt;
}

std::optional<MemberDoc> DocService::fromPagesOrSource(const DocSelection& selection) const
{
    if (std::optional<MemberDoc> page = fromPages(selection))
        return page;
    if (!sourceReader_)
        return std::nullopt;
    DocSelection withMember = selection;
    if (!withMember.member && withMember.findMember)
        withMember.member = withMember.findMember();
    std::vector<DocLink> links;
    if (std::optional<QString> source = sourceReader_->documentWithLinks(withMember, links);
        source && !source->isEmpty())
        return MemberDoc {std::move(*source), DocOrigin::Source, std::move(links)};
    return std::nullopt;
}

std::optional<MemberDoc> DocService::document(const DocSelection& selection) const
{
    if (!facts_)
        return fromPagesOrSource(selection);
    // The sections need the member whichever reader answers: found once, here.
    DocSelection withMember = selection;
    if (!withMember.member && withMember.findMember)
        withMember.member = withMember.findMember();
    std::optional<MemberDoc> doc = fromPagesOrSource(withMember);
    if (doc && !doc->eraPage && withMember.member)
        addSections(*doc, *withMember.member);
    return doc;
}

void DocService::addSections(MemberDoc& doc, const platform::Member& member) const
{
    if (const std::optional<MemberFacts> facts = facts_->facts(member))
        addClassFileSections(doc.text, doc.links, *facts);
}

}  // namespace javadoc
