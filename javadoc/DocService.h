#pragma once
// The one place that knows where a selected member's documentation comes
// from, and in which order: the configured documentation roots' class page
// (main root, or the Swing root for a Swing class), then any extra roots in
// the order given, then the Java source of the class. The window and the CLI
// both ask it; neither knows the order.
//
// The source reader lives in javadoc_source, which links this library; it is
// handed in through SourceReader so that this library never reads class
// files (see docs/ARCHITECTURE.md).

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "javadoc/DocLink.h"
#include "javadoc/DocSections.h"
#include "javadoc/SelectionArgs.h"
#include "platform/Member.h"

namespace javadoc {

// What one selection asks for.
struct DocSelection {
    // Derived from the node texts (deriveSelection): the era page reader
    // chooses its member by name and comma count, as it always did.
    SelectionArgs args;
    // The leaf's member as the lookup produced it; nothing for a group node,
    // or when the member could not be known (a CLI request for a class the
    // class library does not have).
    std::optional<platform::Member> member;
    // For a caller that can give the member only at a cost (the CLI looks its
    // class up): asked when member is nothing and a reader needs it; the pages
    // do not, the Java source does.
    std::function<std::optional<platform::Member>()> findMember;
    QString leafText;        // the leaf's trimmed text; "" when not known
    QString nameText;        // the class field's text
    QString name2;           // the last catalogue hit, in the class library's naming
    int selectionCount = 1;  // selected nodes in the member tree
};

struct DocRoots {
    QString main;   // main documentation root
    QString swing;  // Swing documentation root
    // Further roots, each read like the main one after the configured ones.
    QStringList extra;
};

enum class DocOrigin { Page, Source };

struct MemberDoc {
    QString text;  // never empty: signature line, rule, then the sections
    DocOrigin origin = DocOrigin::Page;
    // Spans of text that name a class or member, in text order.
    std::vector<DocLink> links;
    // Read by the era (javadoc 1.2 and before) reader, in that era's own shape.
    bool eraPage = false;
};

// The Java-source side of the documentation, as the service sees it.
class SourceReader {
public:
    virtual ~SourceReader() = default;
    // The member's text, or nothing when its class, source or declaration is not found.
    virtual std::optional<QString> document(const DocSelection& selection) = 0;
    // The same text with its links; a reader that finds none keeps this one.
    virtual std::optional<QString> documentWithLinks(const DocSelection& selection, std::vector<DocLink>& links)
    {
        links.clear();
        return document(selection);
    }
};

class DocService {
public:
    // sourceReader may be null: pages only. It must outlive the service.
    explicit DocService(DocRoots roots = {}, SourceReader* sourceReader = nullptr);

    const DocRoots& roots() const { return roots_; }
    void setRoots(DocRoots roots) { roots_ = std::move(roots); }
    // Given, a text in the writer's shape gets the class files' sections
    // (DocSections.h); an era page's text never does. Off by default, so that
    // a text is what its reader wrote. The reader must outlive the service.
    void setMemberFacts(MemberFactsReader* facts) { facts_ = facts; }

    // The first source in the order that documents the member; nothing when none does.
    std::optional<MemberDoc> document(const DocSelection& selection) const;

private:
    std::optional<MemberDoc> fromPages(const DocSelection& selection) const;
    std::optional<MemberDoc> fromPagesOrSource(const DocSelection& selection) const;
    void addSections(MemberDoc& doc, const platform::Member& member) const;

    DocRoots roots_;
    SourceReader* sourceReader_;
    MemberFactsReader* facts_ = nullptr;
};

}  // namespace javadoc
