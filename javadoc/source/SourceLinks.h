#pragma once
// The links of a member's text read from its source: the references of
// {@link}, {@linkplain} and @see, the exceptions under THROWS and the types of
// the signature, resolved in the file that wrote them (TypeResolver) and
// spelled as the pages' links are (DocLink.h).

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

#include "javadoc/DocLink.h"
#include "javadoc/source/TypeResolver.h"

namespace javadoc::source {

// The target of a method or constructor ("<init>") of a class: the class that
// declares it (the class or a supertype) and its parameter types as declared.
// `types` are the reference's simple names, nothing when it gives no list.
// Nothing when no such member is found.
using MemberLookup = std::function<std::optional<QString>(
    const QString& binaryClass, const QString& name, const std::optional<QStringList>& types)>;

class SourceLinks {
public:
    SourceLinks(TypeResolver types, QString selfBinary, MemberLookup members);

    // "#add(Object)", "List#add(int, Object)", "Map.Entry", "#MAX_VALUE" →
    // "java.util.List#add(int,E)" and the like; an anchor's "<" HREF as the
    // page beside the class's would read it; nothing for what names no class.
    std::optional<QString> target(const QString& reference) const;

    // The class names in a type's text ("Map.Entry<K, ? extends V>[]"), as
    // spans at `offset` on. A type variable links where `typeVariables` says
    // (the pages link a class's own to the class, a method's nowhere: "").
    std::vector<DocLink> typeSpans(
        QStringView text, qsizetype offset, const QHash<QString, QString>& typeVariables) const;

    // A class name as written ("IOException") → its binary name, "" when unknown.
    QString resolveClass(const QString& written) const { return types_.resolve(written); }

private:
    TypeResolver types_;
    QString self_;
    MemberLookup members_;
};

// One line of the text, and the spans on it that carry a link's reference
// (by its index in the order the references were rendered).
struct MarkedLine {
    QString text;
    std::vector<DocLink> spans;  // target: the reference's index, in decimal
};

// markupLines(markup) for markup rendered with link marks: the same lines,
// the marks taken out and kept as spans. Nothing when the marks would change
// a line (an entity split by one, a mark inside a tag) or their number is not
// refCount: the caller then writes the lines without links.
std::optional<std::vector<MarkedLine>> markedLines(const QString& markup, qsizetype refCount);

// The markup with its own <a href> anchors made link marks, their hrefs
// inserted into refs (as "<" HREF) in the order of the marks.
QString markAnchors(const QString& markup, QStringList& refs);

// Whether a text holds a link mark of its own: its links are then not marked.
bool hasLinkMarks(QStringView text);

}  // namespace javadoc::source
