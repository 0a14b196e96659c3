#pragma once
// One member's documentation cut out of its class's installed javadoc page and
// turned into plain indented text.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "javadoc/DocLink.h"

namespace javadoc {

struct DocRequest {
    QString memberName;      // simple member name; a constructor's is the class's simple name
    int commaCount = 0;      // the capped comma count of the member's tree text
    QString groupName;       // trimmed group text: a qualified class name or "constructors"
    QString nameText;        // the class field's current text
    QString name2;           // the last catalogue hit, in the class library's naming
    QString docpath;         // main documentation root
    QString docpath2;        // Swing documentation root
    int selectionCount = 1;  // selected nodes in the member tree
    // The leaf's erased simple parameter types; pages that name their members'
    // types choose among overloads by them. Nothing: choose by the comma count.
    std::optional<QStringList> paramTypes = std::nullopt;
};

struct DocResult {
    QString text;                // "" when no page or no member was found
    bool pageOpened = false;     // a page file existed: the caller moves the focus to the class field
    std::vector<DocLink> links;  // the text's links to class pages, in text order
    bool eraPage = false;        // the era reader wrote the text, in its own shape
};

DocResult doit(const DocRequest& request);

// The most text one member's documentation may have. A real member's text is
// under 100 KB; a section that never closes would otherwise hand over the
// rest of the page, hundreds of megabytes for the window to lay out. Readers
// stop their section once the text reaches the cap, and capDocText cuts it
// back to the last whole line within it (a line longer than the cap is cut
// inside). The text has its control characters shown as escapes
// (platform::showControlChars) before it is cut, the same for every reader.
inline constexpr qsizetype kMaxDocChars = qsizetype(1) << 20;
void capDocText(QString& text);

}  // namespace javadoc
