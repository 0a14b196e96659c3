#include "javadoc/source/SourceLocator.h"

#include "javadoc/source/JavaSourceScanner.h"
#include "javadoc/source/RootFinder.h"
#include "platform/RegularFile.h"

namespace javadoc::source {

namespace {

// Archives kept open at once: the JDK's src.zip and a few libraries' jars.
constexpr size_t kMaxOpenArchives = 16;

std::string parentOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

QString decodeSource(const QByteArray& bytes)
{
    return translateUnicodeEscapes(QString::fromUtf8(bytes));
}

}  // namespace

SourceLocator::~SourceLocator() = default;

platform::ZipArchive* SourceLocator::archive(const std::string& path)
{
    for (auto it = archives_.begin(); it != archives_.end(); ++it) {
        if (it->path == path) {
            archives_.splice(archives_.begin(), archives_, it);
            return archives_.front().zip.get();
        }
    }
    platform::ZipArchive::OpenError failure;  // no sources there: the documentation says nothing
    archives_.push_front(Archive {path, platform::ZipArchive::open(path, failure)});
    if (archives_.size() > kMaxOpenArchives)
        archives_.pop_back();
    return archives_.front().zip.get();
}

std::optional<QByteArray> SourceLocator::readEntry(const std::string& archivePath, const std::string& entry)
{
    platform::ZipArchive* zip = archive(archivePath);
    const std::optional<platform::ZipArchive::Entry> found = zip ? zip->find(entry) : std::nullopt;
    QByteArray bytes;
    std::string damage;  // a corrupt or oversized source is no source
    if (!found || !zip->read(*found, kMaxSourceBytes, bytes, damage))
        return std::nullopt;
    return bytes;
}

std::optional<QString> SourceLocator::topLevelSource(const platform::classlib::ClassLibrary::Origin& origin,
    const std::string& jdkHome, const std::string& topInternalName)
{
    using Kind = platform::classlib::ClassLibrary::Origin::Kind;
    const std::string file = topInternalName + ".java";
    std::optional<QByteArray> bytes;
    switch (origin.kind) {
    case Kind::None:
        return std::nullopt;
    case Kind::JdkImage:
        if (!origin.module.empty())
            bytes = readEntry(jdkHome + "/lib/src.zip", origin.module + "/" + file);
        if (!bytes)
            bytes = readEntry(jdkHome + "/src.zip", file);
        break;
    case Kind::JdkJar:
        // JDK 8: src.zip at the JDK's top; rt.jar may sit in jre/lib below it.
        bytes = readEntry(jdkHome + "/src.zip", file);
        if (!bytes)
            bytes = readEntry(parentOf(jdkHome) + "/src.zip", file);
        break;
    case Kind::Jar: {
        std::string base = origin.location;
        if (base.size() > 4 && (base.ends_with(".jar") || base.ends_with(".JAR") || base.ends_with(".zip")))
            base.resize(base.size() - 4);
        bytes = readEntry(base + "-sources.jar", file);
        // A Gradle cache keeps the sources jar in a sibling folder.
        for (const std::string& sources : archivesBeside(origin.location, "-sources.jar"))
            if (!bytes)
                bytes = readEntry(sources, file);
        if (!bytes)
            bytes = readEntry(origin.location, file);
        break;
    }
    case Kind::Folder:
        bytes = readRegularFile(origin.location + "/" + file, kMaxSourceBytes);
        break;
    }
    if (!bytes)
        return std::nullopt;
    return decodeSource(*bytes);
}

}  // namespace javadoc::source
