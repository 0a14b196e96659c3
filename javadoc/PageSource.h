#pragma once
// Where a page's lines come from: a file, or an entry of a javadoc jar read
// in place. A page inside a jar is named JAR!/ENTRY ("lib-javadoc.jar!/org/
// x/Y.html"), so a root that is a jar is JAR! and the readers build page
// paths under it exactly as under a folder. The jars stay open between
// selections (a few, least recently used dropped), the last pages read stay
// in memory. One selection reads its page once (Page) and hands the same
// bytes to the generation look and to every reader it tries.

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

// A class page read once. A selection may try several readers on one page
// (the generation look, then one reader or two, then perhaps the era one);
// each gets its lines from the same bytes rather than opening the file again.
// A page too large to hold (over any real one) is read from the file by each
// reader instead, as a stream, so that it still reads as it did.
class Page {
public:
    explicit Page(QString fsPath);

    const QString& path() const { return path_; }
    // A fresh reader over the page's lines, from the first.
    std::unique_ptr<platform::LineReader> lines() const;

private:
    QString path_;
    std::optional<QByteArray> bytes_;
};

// Whether the path names a regular file or an entry of a readable jar.
bool pageExists(const QString& fsPath);

// One entry of a jar through the open-jar cache, at most maxBytes; nothing
// when the jar or the entry cannot be read.
std::optional<QByteArray> readJarEntry(const std::string& jarPath, const std::string& entry, qsizetype maxBytes);

}  // namespace javadoc
