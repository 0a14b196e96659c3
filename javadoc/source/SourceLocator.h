#pragma once
// Where a class's Java source is, beside where its class file came from: the
// JDK's src.zip (lib/src.zip with module folders, or src.zip at the top of a
// JDK 8), NAME-sources.jar beside a CLASSPATH jar NAME.jar or .java entries in
// the jar itself, or the .java file in a CLASSPATH folder. Archives stay open
// between calls, holding only their index.

#include <QByteArray>
#include <QString>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/RegularFile.h"
#include "platform/classlib/ClassLibrary.h"

namespace javadoc::source {

// A zip archive's central directory, read once and kept as the index of the
// open archive; entries are read (stored or deflated) one at a time.
class ZipIndex {
public:
    ~ZipIndex();
    ZipIndex(const ZipIndex&) = delete;
    ZipIndex& operator=(const ZipIndex&) = delete;

    // nullptr when the file is no regular file or no zip archive this reader
    // can read (a ZIP64 archive, a central directory over 64 MB).
    static std::unique_ptr<ZipIndex> open(const std::string& path);

    // The entry's bytes; nothing when it is missing, larger than maxBytes or corrupt.
    std::optional<QByteArray> read(const std::string& name, qsizetype maxBytes) const;

    // The central directory kept (the index's table adds about 40 bytes an entry once built).
    qsizetype directoryBytes() const { return directory_.size(); }

    struct Entry {
        quint32 crc;
        quint32 compressedSize;
        quint32 size;
        quint32 localHeader;
        quint16 method;
    };

private:
    ZipIndex() = default;
    std::optional<Entry> find(const std::string& name) const;

    int fd_ = -1;
    quint64 fileSize_ = 0;
    QByteArray directory_;  // the central directory; the names below point into it
    mutable std::unordered_map<std::string_view, Entry> entries_;  // built on the second lookup
    mutable int lookups_ = 0;
};

class SourceLocator {
public:
    // Larger sources are not read (the JDK's largest is about 1 MB).
    static constexpr qsizetype kMaxSourceBytes = 16 << 20;

    SourceLocator() = default;
    ~SourceLocator();
    SourceLocator(const SourceLocator&) = delete;
    SourceLocator& operator=(const SourceLocator&) = delete;

    // The text of the file that declares a top-level class ("java/util/Vector"),
    // decoded as UTF-8 with \uXXXX escapes translated; nothing when there is none.
    std::optional<QString> topLevelSource(const platform::classlib::ClassLibrary::Origin& origin,
        const std::string& jdkHome, const std::string& topInternalName);

    // How many archives are open now (for tests).
    size_t openArchives() const { return archives_.size(); }

private:
    struct Archive {
        std::string path;
        std::unique_ptr<ZipIndex> index;  // nullptr: it could not be opened; not tried again
    };
    // The archive at path, opened on first use; nullptr when it is none.
    const ZipIndex* archive(const std::string& path);
    std::optional<QByteArray> readEntry(const std::string& archivePath, const std::string& entry);

    std::list<Archive> archives_;  // most recently used first
};

using platform::readRegularFile;

}  // namespace javadoc::source
