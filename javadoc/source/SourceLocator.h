#pragma once
// Where a class's Java source is, beside where its class file came from: the
// JDK's src.zip (lib/src.zip with module folders, or src.zip at the top of a
// JDK 8), NAME-sources.jar beside a CLASSPATH jar NAME.jar or .java entries in
// the jar itself, or the .java file in a CLASSPATH folder. Archives stay open
// between calls, holding only their index.

#include <QString>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "platform/classlib/ClassLibrary.h"

struct zip;

namespace javadoc::source {

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
        ::zip* handle = nullptr;  // nullptr: it could not be opened; not tried again
    };
    // The archive at path, opened on first use; nullptr when it is none.
    ::zip* archive(const std::string& path);
    std::optional<QByteArray> readEntry(const std::string& archivePath, const std::string& entry);

    std::list<Archive> archives_;  // most recently used first
};

// Opens a file for reading only when it is a regular file: a FIFO, a device or
// a folder gives -1 at once instead of blocking or failing later.
int openRegularFile(const std::string& path);

// A whole regular file, or nothing (missing, not regular, larger than maxBytes).
std::optional<QByteArray> readRegularFile(const std::string& path, qsizetype maxBytes);

}  // namespace javadoc::source
