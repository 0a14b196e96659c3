#pragma once
// The member block of a javadoc 1.1/1.2 page (dotted-name files or package
// folders; lower- or upper-case markup), cut out and turned into indented text.

#include <QString>

#include "javadoc/DocWriter.h"

namespace javadoc {

// Reads the page at fsPath (a file-system path) line by line and returns the
// member's text, or "" when the page cannot be read or the member is not found.
QString extractEraPage(const QString& fsPath, const QString& memberName, int commaCount);

// One page line as the era reader converts it (tags, "&nbsp;", trim, labels).
QString convertEraLine(QString line);

}  // namespace javadoc
