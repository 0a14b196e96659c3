#include "javadoc/source/SourceLocator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>

#include "javadoc/source/JavaSourceScanner.h"

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

int openRegularFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::optional<QByteArray> readRegularFile(const std::string& path, qsizetype maxBytes)
{
    const int fd = openRegularFile(path);
    if (fd < 0)
        return std::nullopt;
    struct stat st;
    if (fstat(fd, &st) != 0 || st.st_size > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.truncate(got);
    return bytes;
}

SourceLocator::~SourceLocator()
{
    for (Archive& a : archives_)
        if (a.handle)
            zip_discard(a.handle);
}

::zip* SourceLocator::archive(const std::string& path)
{
    for (auto it = archives_.begin(); it != archives_.end(); ++it) {
        if (it->path == path) {
            archives_.splice(archives_.begin(), archives_, it);
            return archives_.front().handle;
        }
    }
    Archive a;
    a.path = path;
    const int fd = openRegularFile(path);
    if (fd >= 0) {
        int code = 0;
        a.handle = zip_fdopen(fd, ZIP_RDONLY, &code);
        if (!a.handle)
            ::close(fd);  // zip_fdopen keeps the descriptor only when it succeeds
    }
    archives_.push_front(a);
    if (archives_.size() > kMaxOpenArchives) {
        if (archives_.back().handle)
            zip_discard(archives_.back().handle);
        archives_.pop_back();
    }
    return archives_.front().handle;
}

std::optional<QByteArray> SourceLocator::readEntry(const std::string& archivePath, const std::string& entry)
{
    ::zip* z = archive(archivePath);
    if (!z)
        return std::nullopt;
    const zip_int64_t index = zip_name_locate(z, entry.c_str(), 0);
    if (index < 0)
        return std::nullopt;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(z, zip_uint64_t(index), 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) ||
        st.size > zip_uint64_t(kMaxSourceBytes))
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(z, zip_uint64_t(index), 0);
    if (!file)
        return std::nullopt;
    QByteArray bytes(qsizetype(st.size), Qt::Uninitialized);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const zip_int64_t n = zip_fread(file, bytes.data() + got, zip_uint64_t(bytes.size() - got));
        if (n <= 0)
            break;
        got += qsizetype(n);
    }
    zip_fclose(file);
    if (got != bytes.size())
        return std::nullopt;  // a corrupt entry: no part of it is trusted
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
