#pragma once
// Today's javadoc (JDK 9 and later): documentation split into one folder per
// module, and HTML5 class pages whose members sit in <section class="detail">.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "javadoc/DocLink.h"
#include "javadoc/PageSource.h"

namespace javadoc {

// The page of a dotted class name by the package list of the root or of its
// parent: an "element-list" whose "module:" lines say which module folder holds
// the package, or a list without modules (element-list or javadoc 8's
// "package-list") whose packages are folders of the root itself, which finds
// nested classes ("Map$Entry" is "Map.Entry.html"). Returns the file-system
// path of an existing page.
// A page name that is itself a listed package is the group of a class's
// constructors that kept its package name; the page is then the one of the
// class the constructor memberName names.
std::optional<QString> modulePageCandidate(
    const QString& fsRoot, const QString& pageName, const QString& memberName = QString());

struct ModernMember {
    QString memberName;  // "" takes the first detail section with the comma count
    int commaCount = 0;
    QString simpleClassName;                // a constructor's section may be named "<init>" instead
    std::optional<QStringList> paramTypes;  // the leaf's; nothing chooses by the comma count
};

// The member's text in the same shape as the era reader's, or nothing when no
// detail section of the page is the member's.
// links, when given, gets the text's links, their targets the page's hrefs as
// written; it is left alone when there is no text.
std::optional<QString> extractModernPage(
    const Page& page, const ModernMember& member, std::vector<DocLink>* links = nullptr);

}  // namespace javadoc
