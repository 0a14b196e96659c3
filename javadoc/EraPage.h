#pragma once
// The member block of a javadoc 1.1/1.2 page (dotted-name files or package
// folders; lower- or upper-case markup), cut out and turned into indented text.

#include <QString>
#include <optional>

#include "javadoc/DocWriter.h"
#include "javadoc/PageSource.h"

namespace javadoc {

// Reads the page line by line and returns the member's text, or nothing when
// the member is not found.
std::optional<QString> extractEraPage(const Page& page, const QString& memberName, int commaCount);

// The same over the page at fsPath (a file-system path); "" when the page
// cannot be read or the member is not found.
QString extractEraPage(const QString& fsPath, const QString& memberName, int commaCount);

// One page line as the era reader converts it (tags, "&nbsp;", trim, labels).
QString convertEraLine(QString line);

}  // namespace javadoc
