#pragma once
// Class pages of javadoc 1.3 to 15: every member's detail block opens with a
// named anchor that spells its parameter types, and runs to the next anchor.
//   1.3-6   <A NAME="add(int, java.lang.Object)"> <H3> <PRE>signature</PRE> <DL><DD>... <HR>
//   7       <a name="add(int, E)"> <ul class="blockList"><li> <h4> <pre> <div class="block"> <dl>
//   8       <a name="add-int-E-">, otherwise as 7
//   9-13    <a id="add(int,E)"> (or name=), <pre class="methodSignature">
//   14-15   <section class="detail"><h3><a id="add(int,E)">, <div class="memberSignature">

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "javadoc/DocLink.h"

#include "javadoc/PageSource.h"

namespace javadoc {

struct AnchoredMember {
    QString memberName;  // "" takes the first member with the comma count
    int commaCount = 0;  // used when paramTypes is nothing
    std::optional<QStringList> paramTypes;
    QString simpleClassName;  // the page's own name, for "<init>" anchors
};

// The member's block in the HTML5 reader's shape: the signature joined into
// one line, the rule, the text with upper-case labels; nothing when the page
// names no member that fits (another overload is never shown instead).
// links, when given, gets the text's links, their targets the page's hrefs as
// written; it is left alone when there is no text.
std::optional<QString> extractAnchoredPage(
    const Page& page, const AnchoredMember& member, std::vector<DocLink>* links = nullptr);

}  // namespace javadoc
