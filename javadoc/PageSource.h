#pragma once
// Where a page's lines come from: a file, or an entry of a javadoc jar read
// in place. A page inside a jar is named JAR!/ENTRY ("lib-javadoc.jar!/org/
// x/Y.html"), so a root that is a jar is JAR! and the readers build page
// paths under it exactly as under a folder. The jars stay open between
// selections (a few, least recently used dropped), the last pages read stay
// in memory: the readers open one page several times for one member.

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "platform/LineReader.h"

namespace javadoc {

// The root naming the pages of a javadoc jar.
QString jarRoot(const QString& jarPath);

// The page's lines: from the jar entry when the path names one, else from the
// file. A missing, damaged or oversized page reads as a reader that is not open.
std::unique_ptr<platform::LineReader> openPage(const QString& fsPath);

// Whether the path names a regular file or an entry of a readable jar.
bool pageExists(const QString& fsPath);

// One entry of a jar through the open-jar cache, at most maxBytes; nothing
// when the jar or the entry cannot be read.
std::optional<QByteArray> readJarEntry(const std::string& jarPath, const std::string& entry, qsizetype maxBytes);

}  // namespace javadoc
