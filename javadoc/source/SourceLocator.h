#pragma once
// Where a class's Java source is, beside where its class file came from: the
// JDK's src.zip (lib/src.zip with module folders, or src.zip at the top of a
// JDK 8), NAME-sources.jar beside a CLASSPATH jar NAME.jar or .java entries in
// the jar itself, or the .java file in a CLASSPATH folder. Archives stay open
// between calls (at most 16), holding only their central directories.

#include <QByteArray>
#include <QString>
#include <list>
#include <memory>
#include <optional>
#include <string>

#include "platform/RegularFile.h"
#include "platform/ZipArchive.h"
#include "platform/classlib/ClassLibrary.h"

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
        std::unique_ptr<platform::ZipArchive> zip;  // nullptr: it could not be opened; not tried again
    };
    // The archive at path, opened on first use; nullptr when it is none.
    platform::ZipArchive* archive(const std::string& path);
    std::optional<QByteArray> readEntry(const std::string& archivePath, const std::string& entry);

    std::list<Archive> archives_;  // most recently used first
};

using platform::readRegularFile;

}  // namespace javadoc::source
